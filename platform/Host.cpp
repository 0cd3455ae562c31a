#include "platform/Host.h"

namespace vt {

Host& DesktopHost() {
  static WindowHost host;
  return host;
}

std::string MessageBoxLine(const std::string& text, const char* caption) {
  return std::string(caption ? caption : "VTBrowser") + ": " + text;
}

}  // namespace vt
