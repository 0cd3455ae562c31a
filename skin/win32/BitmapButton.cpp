#include "skin/win32/BitmapButton.h"

namespace vt::skin {

BitmapButton::BitmapButton(BitmapLoader loader) : loader_(std::move(loader)) {}

void BitmapButton::OnAttached() {
  // Only an owner-drawn button asks its window to draw it.
  if ((GetWindowLongPtrA(Hwnd(), GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW)
    SendMessageA(Hwnd(), BM_SETSTYLE, BS_OWNERDRAW, FALSE);
}

bool BitmapButton::LoadImages(int normal, int pressed, int focused, int disabled) {
  for (auto& image : images_) image.reset();
  images_[static_cast<int>(ButtonSlot::Normal)].reset(loader_(normal));
  if (!Image(ButtonSlot::Normal)) return false;
  bool ok = true;
  const std::pair<ButtonSlot, int> others[] = {{ButtonSlot::Pressed, pressed},
                                               {ButtonSlot::Focused, focused},
                                               {ButtonSlot::Disabled, disabled}};
  for (auto [slot, id] : others) {
    if (id == 0) continue;
    images_[static_cast<int>(slot)].reset(loader_(id));
    if (!Image(slot)) ok = false;
  }
  return ok;
}

void BitmapButton::SizeToContent() {
  const SIZE size = BitmapSize(Image(ButtonSlot::Normal));
  if (!Hwnd() || size.cx <= 0 || size.cy <= 0) return;
  SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void BitmapButton::Draw(const DRAWITEMSTRUCT& item) const {
  const ButtonState state{.pressed = (item.itemState & ODS_SELECTED) != 0,
                          .focused = (item.itemState & ODS_FOCUS) != 0,
                          .disabled = (item.itemState & ODS_DISABLED) != 0};
  const ButtonSlots slots{.pressed = Image(ButtonSlot::Pressed) != nullptr,
                          .focused = Image(ButtonSlot::Focused) != nullptr,
                          .disabled = Image(ButtonSlot::Disabled) != nullptr};
  const RECT& r = item.rcItem;
  const ButtonSlot shown = ChooseButtonImage(state, slots);
  DrawBitmap(item.hDC, Image(shown), r.left, r.top, r.right - r.left, r.bottom - r.top);
  // Keyboard users must see where the focus is: a button without a focused image of its own
  // gets the platform's focus rectangle inside its edge, once its window shows focus marks (the
  // keyboard moved the focus), as the platform's own buttons do.
  const LRESULT ui = SendMessageA(GetParent(item.hwndItem), WM_QUERYUISTATE, 0, 0);
  const bool cues = !(item.itemState & ODS_NOFOCUSRECT) && !(ui & UISF_HIDEFOCUS);
  if (state.focused && shown != ButtonSlot::Focused && cues) {
    RECT mark = r;
    InflateRect(&mark, -4, -4);
    DrawFocusRect(item.hDC, &mark);
  }
}

bool BitmapButton::OnReflect(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  if (msg != WM_DRAWITEM) return false;
  Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
  result = TRUE;
  return true;
}

}  // namespace vt::skin
