#include "platform/MessageBox.h"

namespace vt {

std::string MessageBoxLine(const std::string& text, const char* caption) {
  return std::string(caption ? caption : "VTBrowser") + ": " + text;
}

}  // namespace vt
