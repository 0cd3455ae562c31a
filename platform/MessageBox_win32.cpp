#include <windows.h>

#include "platform/MessageBox.h"

namespace vt {

void ShowMessageBox(const std::string& text, const char* caption) {
  MessageBoxA(nullptr, text.c_str(), caption, MB_OK);
}

}  // namespace vt
