// What every Wine window test needs: images made in memory, the message pump, a modal window run
// with test code on its own loop, geometry in dialog units, and what a window and the screen show.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/win32/Dialog.h"

namespace vt::test {

// A DIB section w x h of 24 or 32 bits, filled by `colour`.
HBITMAP MakeImage(int w, int h, int bpp, const std::function<COLORREF(int x, int y)>& colour);
HBITMAP SolidImage(int w, int h, COLORREF colour);

void Pump();
// Pumps messages until `done` or the time-out; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Runs the dialog modally; `body` runs on the UI thread (from a timer of the dialog's own
// modal loop) once the window is visible. Returns what the run returned.
INT_PTR RunModalWith(win::Dialog& dialog, std::function<void(HWND)> body, HWND owner = nullptr);

// Once `condition` holds (checked every 10 ms from a thread timer, so also inside a modal
// loop), runs `action` once.
void WhenTrue(std::function<bool()> condition, std::function<void()> action);

// A template rectangle in the window's dialog units, in pixels.
RECT DialogRect(HWND dialog, int x, int y, int w, int h);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// What is wrong ("" when nothing) with a skinned window's size, its centred place on the screen
// and its region: keyed (the corners cut) or the whole rectangle.
std::string SkinGeometryFaults(HWND window, int w, int h, bool keyed);
// The rectangles of a region, in its own order.
std::vector<RECT> RegionRects(HRGN region);

// What the window's client area shows, row by row.
struct Capture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int Count(COLORREF c, const RECT& r) const;
};
Capture CaptureClient(HWND hwnd);
// The pixels of a screen rectangle as the display shows them (from any thread).
std::vector<COLORREF> CaptureScreen(const RECT& r);
// The pixels of a bitmap resource of the program.
std::vector<COLORREF> BitmapPixels(int resourceId, SIZE* size = nullptr);
// Whether the screen comes to show the bitmap resource at the window's place (pumping messages
// meanwhile); an image smaller than the window is looked for at its top left corner.
bool ScreenShows(HWND window, int resourceId, DWORD timeoutMs = 5000);
// Counts positions where two captures differ by more than a small tolerance per channel.
int CountDifferent(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b);

// A visible dialog of this process other than the ones given (a notice or message box that
// came up), or null.
HWND VisibleDialog(std::initializer_list<HWND> except = {});

}  // namespace vt::test
