// An off-screen drawing surface for one rectangle of a target: everything is drawn into it in
// the target's coordinates and copied to the target in one go when it closes.
#pragma once

#include <windows.h>

namespace vt::skin {

class OffscreenDC {
public:
  OffscreenDC(HDC target, const RECT& rect);
  ~OffscreenDC();  // copies to the target and releases the surface
  OffscreenDC(const OffscreenDC&) = delete;
  OffscreenDC& operator=(const OffscreenDC&) = delete;

  // The surface, or the target itself when no surface could be made (drawing still shows).
  HDC get() const { return dc_ ? dc_ : target_; }

private:
  HDC target_;
  RECT rect_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// Answers a paint request by drawing the whole client area off-screen: `paint(dc, client)`
// draws into the surface, which reaches the window in one copy.
template <typename Paint>
void PaintClientOffscreen(HWND hwnd, Paint&& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  {
    OffscreenDC off(dc, client);
    paint(off.get(), client);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace vt::skin
