// What every Wine window test needs: images made in memory, the message pump, a modal window run
// with test code on its own loop, geometry in dialog units, and what a window and the screen show.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Dialog.h"

namespace vt::test {

// A DIB section w x h of 24 or 32 bits, filled by `colour`.
inline HBITMAP MakeImage(int w, int h, int bpp,
                         const std::function<COLORREF(int x, int y)>& colour) {
  BITMAPINFO bi{};
  // Bottom-up (a positive height), as bitmap files are.
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  const int stride = ((w * bpp + 31) / 32) * 4;
  auto* base = static_cast<unsigned char*>(bits);
  for (int y = 0; y < h; ++y) {
    unsigned char* row = base + static_cast<size_t>(h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) {
      const COLORREF c = colour(x, y);
      unsigned char* p = row + x * (bpp / 8);
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
    }
  }
  GdiFlush();
  return bmp;
}

inline HBITMAP SolidImage(int w, int h, COLORREF colour) {
  return MakeImage(w, h, 24, [colour](int, int) { return colour; });
}

inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps messages until `done` or the time-out; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    Pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// Each thread timer's condition and action.
inline std::map<UINT_PTR, std::pair<std::function<bool()>, std::function<void()>>> g_waiters;

inline void CALLBACK OnWaiterTick(HWND, UINT, UINT_PTR id, DWORD) {
  const auto it = g_waiters.find(id);
  if (it == g_waiters.end() || !it->second.first()) return;
  KillTimer(nullptr, id);
  const auto action = std::move(it->second.second);
  g_waiters.erase(it);
  action();
}

// Once `condition` holds (checked every 10 ms from a thread timer, so also inside a modal
// loop), runs `action` once.
inline void WhenTrue(std::function<bool()> condition, std::function<void()> action) {
  g_waiters[SetTimer(nullptr, 0, 10, &OnWaiterTick)] = {std::move(condition), std::move(action)};
}

// Runs the dialog modally; `body` runs on the UI thread (from a timer of the dialog's own
// modal loop) once the window is visible. Returns what the run returned.
inline INT_PTR RunModalWith(win::Dialog& dialog, std::function<void(HWND)> body,
                            HWND owner = nullptr) {
  // After the run the waiter only removes itself: the dialog may be gone by then.
  auto running = std::make_shared<bool>(true);
  WhenTrue(
      [&dialog, running] { return !*running || (dialog.Hwnd() && IsWindowVisible(dialog.Hwnd())); },
      [&dialog, running, body = std::move(body)] {
        if (*running) body(dialog.Hwnd());
      });
  const INT_PTR r = dialog.RunModal(owner);
  *running = false;
  return r;
}

// A template rectangle in the window's dialog units, in pixels.
inline RECT DialogRect(HWND dialog, int x, int y, int w, int h) {
  RECT r{x, y, x + w, y + h};
  MapDialogRect(dialog, &r);
  return r;
}

// A child's rectangle in its parent's client coordinates.
inline RECT ChildRect(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// What is wrong ("" when nothing) with a skinned window's size, its centred place on the screen
// and its region: keyed (the corners cut) or the whole rectangle.
inline std::string SkinGeometryFaults(HWND window, int w, int h, bool keyed) {
  std::string faults;
  RECT wr{};
  GetWindowRect(window, &wr);
  const int width = wr.right - wr.left, height = wr.bottom - wr.top;
  if (width != w || height != h)
    faults += "size " + std::to_string(width) + " x " + std::to_string(height) + "; ";
  if (wr.left != GetSystemMetrics(SM_CXSCREEN) / 2 - w / 2 ||
      wr.top != GetSystemMetrics(SM_CYSCREEN) / 2 - h / 2)
    faults += "not centred; ";
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(window, rgn);
  RECT box{};
  GetRgnBox(rgn, &box);
  const RECT whole{0, 0, w, h};
  if (keyed && (kind != COMPLEXREGION || PtInRegion(rgn, 0, 0) || PtInRegion(rgn, w - 1, h - 1)))
    faults += "corners not cut; ";
  if (!keyed && (kind != SIMPLEREGION || !EqualRect(&box, &whole)))
    faults += "region not the whole rectangle; ";
  if (!PtInRegion(rgn, w / 2, h / 2)) faults += "centre outside the region; ";
  DeleteObject(rgn);
  return faults;
}

// The pixels of a rectangle of a device context, row by row.
inline std::vector<COLORREF> ReadPixels(HDC source, int x, int y, int w, int h) {
  HDC mem = CreateCompatibleDC(source);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, source, x, y, SRCCOPY);
  GdiFlush();
  std::vector<COLORREF> out(static_cast<size_t>(w) * h);
  const auto* p = static_cast<const unsigned char*>(bits);
  for (size_t i = 0; i < out.size(); ++i) out[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  return out;
}

// What the window's client area shows, row by row.
struct Capture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int Count(COLORREF c, const RECT& r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) == c) ++n;
    return n;
  }
};
inline Capture CaptureClient(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  if (r.right <= 0 || r.bottom <= 0) return {};
  HDC dc = GetDC(hwnd);
  Capture cap{r.right, r.bottom, ReadPixels(dc, 0, 0, r.right, r.bottom)};
  ReleaseDC(hwnd, dc);
  return cap;
}

// The pixels of a screen rectangle as the display shows them (from any thread).
inline std::vector<COLORREF> CaptureScreen(const RECT& r) {
  HDC screen = GetDC(nullptr);
  auto out = ReadPixels(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
  ReleaseDC(nullptr, screen);
  return out;
}

// The pixels of a bitmap resource of the program.
inline std::vector<COLORREF> BitmapPixels(int resourceId, SIZE* size = nullptr) {
  HBITMAP image = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
  BITMAP info{};
  if (!image || !GetObjectA(image, sizeof info, &info)) return {};
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, image);
  auto out = ReadPixels(mem, 0, 0, info.bmWidth, info.bmHeight);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(image);
  if (size) *size = SIZE{info.bmWidth, info.bmHeight};
  return out;
}

// Counts positions where two captures differ by more than a small tolerance per channel.
inline int CountDifferent(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  if (a.size() != b.size()) return static_cast<int>(a.size() > b.size() ? a.size() : b.size());
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const int dr = std::abs(GetRValue(a[i]) - GetRValue(b[i]));
    const int dg = std::abs(GetGValue(a[i]) - GetGValue(b[i]));
    const int db = std::abs(GetBValue(a[i]) - GetBValue(b[i]));
    if (dr > 8 || dg > 8 || db > 8) ++n;
  }
  return n;
}

// Whether the screen comes to show the bitmap resource at the window's place (pumping messages
// meanwhile); an image smaller than the window is looked for at its top left corner.
inline bool ScreenShows(HWND window, int resourceId, DWORD timeoutMs = 5000) {
  SIZE size{};
  const std::vector<COLORREF> image = BitmapPixels(resourceId, &size);
  if (image.empty()) return false;
  RECT r{};
  GetWindowRect(window, &r);
  r.right = std::min<LONG>(r.right, r.left + size.cx);
  r.bottom = std::min<LONG>(r.bottom, r.top + size.cy);
  return PumpUntil([&] { return CountDifferent(CaptureScreen(r), image) == 0; }, timeoutMs);
}

// A visible dialog of this process other than the ones given (a notice or message box that
// came up), or null.
inline HWND VisibleDialog(std::initializer_list<HWND> except = {}) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
       w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w) &&
        std::find(except.begin(), except.end(), w) == except.end())
      return w;
  }
  return nullptr;
}

}  // namespace vt::test
