// vtcli's host: the core's message boxes become "CAPTION: TEXT" lines on standard error, on
// every platform; vtcli opens no page.
#pragma once

#include <ostream>
#include <string>

#include "platform/Host.h"

namespace vt::cli {

class StreamHost final : public Host {
public:
  explicit StreamHost(std::ostream& err) : err_(err) {}
  void ShowMessage(const std::string& text, const char* caption) override {
    err_ << MessageBoxLine(text, caption) << "\n";
    err_.flush();
  }
  void OpenPage(const std::string&) override {}

private:
  std::ostream& err_;
};

}  // namespace vt::cli
