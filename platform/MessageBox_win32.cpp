#include <windows.h>

#include "platform/MessageBox.h"

namespace vt {

namespace {
// The active window of this thread, else its topmost visible, enabled window that takes
// activation (a waiting notice does not); null when there is none.
HWND WindowInFront() {
  HWND active = GetActiveWindow();
  if (active && IsWindowVisible(active) && IsWindowEnabled(active)) return active;
  const DWORD thread = GetCurrentThreadId();
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    const bool ours = GetWindowThreadProcessId(w, nullptr) == thread;
    if (ours && IsWindowVisible(w) && IsWindowEnabled(w) &&
        !(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_NOACTIVATE))
      return w;
  }
  return nullptr;
}
}  // namespace

void ShowMessageBox(const std::string& text, const char* caption, void* owner) {
  HWND parent = owner ? static_cast<HWND>(owner) : WindowInFront();
  MessageBoxA(parent, text.c_str(), caption, MB_OK | (parent ? 0 : MB_TASKMODAL));
}

}  // namespace vt
