// The one stand-in for the Host of the windows, the session and vtcli in every test, fuzz target,
// benchmark and tool: it shows nothing and records each box ("CAPTION: TEXT", "(default)" for
// the platform's caption) and each page opened.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace vt::test {

class RecordingHost final : public Host {
public:
  void ShowMessage(const std::string& text, const char* caption) override {
    messages.push_back(std::string(caption ? caption : "(default)") + ": " + text);
    if (log) log->push_back("message " + messages.back());
    if (duringBox) duringBox();
  }
  void OpenPage(const std::string& address) override {
    pages.push_back(address);
    if (log) log->push_back("page " + address);
  }

  std::vector<std::string> messages, pages;
  // Also every box and page, in order with the test's own entries.
  std::vector<std::string>* log = nullptr;
  // What the user does while a box shows (its message loop runs).
  std::function<void()> duringBox;
};

}  // namespace vt::test
