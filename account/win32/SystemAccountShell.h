// The account windows' shell on Windows: ShellExecuteA's default action and process exit.
#pragma once

#include "account/AccountShell.h"

namespace vt {

class SystemAccountShell : public AccountShell {
public:
  // No verb, no parameters, show command 0; the result is not examined.
  void OpenPage(const std::string& address) override;
  [[noreturn]] void EndProgram(int code) override;
};

}  // namespace vt
