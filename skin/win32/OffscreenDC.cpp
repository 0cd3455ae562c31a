#include "skin/win32/OffscreenDC.h"

namespace vt::skin {

OffscreenDC::OffscreenDC(HDC target, const RECT& rect) : target_(target), rect_(rect) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  dc_ = CreateCompatibleDC(target);
  bitmap_ = dc_ ? CreateCompatibleBitmap(target, w, h) : nullptr;
  if (!bitmap_) {
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    return;
  }
  previous_ = SelectObject(dc_, bitmap_);
  // Callers draw in the target's coordinates.
  SetWindowOrgEx(dc_, rect.left, rect.top, nullptr);
}

OffscreenDC::~OffscreenDC() {
  if (!dc_) return;
  BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, dc_,
         rect_.left, rect_.top, SRCCOPY);
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

}  // namespace vt::skin
