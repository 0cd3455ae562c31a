#include "account/win32/SystemAccountShell.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/Process.h"

namespace vt {

void SystemAccountShell::OpenPage(const std::string& address) {
  ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, 0);
}

void SystemAccountShell::EndProgram(int code) { EndProcess(code); }

}  // namespace vt
