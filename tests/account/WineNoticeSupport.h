// Helpers of the account windows' Wine tests: running a modal window with test code on its
// own modal loop, geometry in dialog units, and what the screen shows.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/win32/Dialog.h"

namespace vt::test {

// Runs the dialog modally; `body` runs on the UI thread (from a timer of the dialog's own
// modal loop) once the window is visible. Returns what the run returned.
INT_PTR RunModalWith(win::Dialog& dialog, std::function<void(HWND)> body, HWND owner = nullptr);

// Once `condition` holds (checked every 10 ms from a thread timer, so also inside a modal
// loop), runs `action` once.
void WhenTrue(std::function<bool()> condition, std::function<void()> action);

// Pumps messages until `done` or the time-out; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// A template rectangle in the window's dialog units, in pixels.
RECT DialogRect(HWND dialog, int x, int y, int w, int h);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// What is wrong ("" when nothing) with a skinned window's size, its centred place on the screen
// and its region: keyed (the corners cut) or the whole rectangle.
std::string SkinGeometryFaults(HWND window, int w, int h, bool keyed);

// The pixels of a screen rectangle as the display shows them (from any thread).
std::vector<COLORREF> CaptureScreen(const RECT& r);
// The pixels of a bitmap, and of a bitmap resource of the program.
std::vector<COLORREF> ImagePixels(HBITMAP image, SIZE* size = nullptr);
std::vector<COLORREF> BitmapPixels(int resourceId, SIZE* size = nullptr);
SIZE ImageSize(int resourceId);
// Whether the screen comes to show the bitmap resource at the window's place (pumping messages
// meanwhile); an image smaller than the window is looked for at its top left corner.
bool ScreenShows(HWND window, int resourceId, DWORD timeoutMs = 5000);

// Counts positions where two captures differ by more than a small tolerance per channel.
int CountDifferent(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b);

// A visible dialog of this process other than the ones given (a notice or message box that
// came up), or null.
HWND VisibleDialog(std::initializer_list<HWND> except = {});

}  // namespace vt::test
