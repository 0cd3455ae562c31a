// Input the user gave while the thread was blocked (a login, a query, a capture, starting a
// program) waits in the queue; run afterwards, it would act on whatever the window shows by
// then: a second login, other rows, a second emulator from an impatient double-click.
#pragma once

#include <windows.h>

#include <utility>

namespace vt::win {

// Removes the keyboard and mouse messages (client area and frame) queued for the window and its
// children; a null window: for every window of the thread.
inline void DropQueuedInput(HWND hwnd) {
  MSG msg;
  for (auto [first, last] : {std::pair<UINT, UINT>{WM_KEYFIRST, WM_KEYLAST},
                             {WM_MOUSEFIRST, WM_MOUSELAST},
                             {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}})
    while (PeekMessageA(&msg, hwnd, first, last, PM_REMOVE)) {}
}

}  // namespace vt::win
