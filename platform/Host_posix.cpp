#include <cstdio>

#include "platform/Host.h"
#include "platform/Process.h"

namespace vt {

void WindowHost::ShowMessage(const std::string& text, const char* caption) {
  const std::string line = MessageBoxLine(text, caption) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void WindowHost::OpenPage(const std::string& address) { StartProgram("xdg-open " + address); }

}  // namespace vt
