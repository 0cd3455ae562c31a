// Support for the skin's window tests: images made in memory, the message pump, and captures
// of what a window shows.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace vt::skin::test {

// A DIB section w x h of 16, 24 or 32 bits (16: 555, or 565 with `rgb565`), filled by `colour`.
HBITMAP MakeImage(int w, int h, int bpp, const std::function<COLORREF(int x, int y)>& colour,
                  bool rgb565 = false);
HBITMAP SolidImage(int w, int h, COLORREF colour);

void Pump();
// Pumps messages until `done` or `timeoutMs` pass; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// What the window's client area shows, row by row, as COLORREFs.
struct Capture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int Count(COLORREF c, const RECT& r) const;
};
Capture CaptureClient(HWND hwnd);

// The rectangles of a region, in its own order.
std::vector<RECT> RegionRects(HRGN region);

}  // namespace vt::skin::test
