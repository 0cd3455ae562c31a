// The plain modal message box of the lower layers.
#pragma once

#include <string>

namespace vt {

// caption nullptr: the platform's default caption. Windows: MessageBoxA with no owner and an OK
// button. Elsewhere: one line "CAPTION: TEXT" on standard error, default caption "VTBrowser".
void ShowMessageBox(const std::string& text, const char* caption);

// The line the non-window builds print for a message box.
std::string MessageBoxLine(const std::string& text, const char* caption);

}  // namespace vt
