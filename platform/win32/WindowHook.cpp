#include "platform/win32/WindowHook.h"

namespace vt::win {

bool WindowHook::Hook(HWND hwnd) {
  if (!hwnd || hwnd_ || GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0) return false;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowHook::Proc)));
  if (!original_) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return false;
  }
  hwnd_ = hwnd;
  return true;
}

void WindowHook::Unhook() {
  if (!hwnd_) return;
  if (IsWindow(hwnd_) &&
      GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowHook::Proc)) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }
  hwnd_ = nullptr;
}

LRESULT WindowHook::Default(UINT msg, WPARAM wp, LPARAM lp) {
  return CallWindowProcW(original_, hwnd_, msg, wp, lp);
}

LRESULT CALLBACK WindowHook::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<WindowHook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    // The last message: the control's own procedure ends its life, then nothing points here.
    const WNDPROC original = self->original_;
    self->Unhook();
    return CallWindowProcW(original, hwnd, msg, wp, lp);
  }
  return self->OnHookedMessage(msg, wp, lp);
}

}  // namespace vt::win
