// Owning wrappers for the Win32 handles the windows use. Each closes its handle exactly once,
// on every path; none is copyable, all are movable.
#pragma once

#include <windows.h>

#include <utility>

namespace vt::win {

template <typename H, typename Traits>
class UniqueHandle {
public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  void reset(H h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, Traits::Invalid()); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }

private:
  H h_ = Traits::Invalid();
};

struct GdiObjectTraits {
  static HGDIOBJ Invalid() { return nullptr; }
  static void Close(HGDIOBJ h) { DeleteObject(h); }
};
template <typename T>
struct GdiTraits {
  static T Invalid() { return nullptr; }
  static void Close(T h) { DeleteObject(h); }
};
struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};
struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};
struct KernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};

using Bitmap = UniqueHandle<HBITMAP, GdiTraits<HBITMAP>>;
using Brush = UniqueHandle<HBRUSH, GdiTraits<HBRUSH>>;
using Font = UniqueHandle<HFONT, GdiTraits<HFONT>>;
using Region = UniqueHandle<HRGN, GdiTraits<HRGN>>;
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
// Only for icons created by CreateIcon*/CopyImage; shared icons from LoadIcon must not be
// destroyed.
using Icon = UniqueHandle<HICON, IconTraits>;
using RegKey = UniqueHandle<HKEY, RegKeyTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

// A DC obtained with GetDC, given back with ReleaseDC.
class WindowDc {
public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint/EndPaint pair.
class PaintDc {
public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& info() const { return ps_; }

private:
  HWND hwnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
};

// Selects an object into a DC for the scope and restores the previous one.
class SelectScope {
public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// Non-owning view of a window.
class Window {
public:
  Window() = default;
  Window(HWND h) : h_(h) {}  // NOLINT: implicit on purpose, it is only a view
  HWND get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  HWND Item(int id) const { return GetDlgItem(h_, id); }
  void Show(int cmd) const { ShowWindow(h_, cmd); }
  void Enable(bool on) const { EnableWindow(h_, on ? TRUE : FALSE); }
  RECT ClientRect() const {
    RECT r{};
    GetClientRect(h_, &r);
    return r;
  }
  RECT WindowRect() const {
    RECT r{};
    GetWindowRect(h_, &r);
    return r;
  }

private:
  HWND h_ = nullptr;
};

}  // namespace vt::win
