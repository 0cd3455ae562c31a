#include <cstdio>

#include "platform/MessageBox.h"

namespace vt {

void ShowMessageBox(const std::string& text, const char* caption, void*) {
  std::string line = MessageBoxLine(text, caption) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace vt
