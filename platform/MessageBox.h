// The plain modal message box of the lower layers.
#pragma once

#include <functional>
#include <string>

namespace vt {

// The one shape of a plain message box that the layers below the windows report through:
// text, caption. Windows pass one that shows a box owned by them; tests record.
using MessageFn = std::function<void(const std::string& text, const std::string& caption)>;

// caption nullptr: the platform's default caption. Windows: MessageBoxA with an OK button, owned
// by `owner` (a window handle) or, without one, by the window in front of this thread, so that
// the window behind is disabled while the box shows; task-modal while the thread has no window
// on screen (before the first one, or while only a waiting notice shows). Elsewhere: one line
// "CAPTION: TEXT" on standard error, default caption "VTBrowser".
void ShowMessageBox(const std::string& text, const char* caption, void* owner = nullptr);

// The line the non-window builds print for a message box.
std::string MessageBoxLine(const std::string& text, const char* caption);

}  // namespace vt
