// What every Wine window test needs: images made in memory, the message pump, a modal window run
// with test code on its own loop, clicks, and what a window and the screen show.
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

// A 24-bit DIB section w x h, bottom-up as bitmap files are, filled by `colour`.
inline HBITMAP MakeImage(int w, int h, const std::function<COLORREF(int x, int y)>& colour) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  const int stride = ((w * 3 + 3) / 4) * 4;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = colour(x, y);
      auto* p = static_cast<unsigned char*>(bits) + static_cast<size_t>(h - 1 - y) * stride + x * 3;
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
    }
  GdiFlush();
  return bmp;
}

inline HBITMAP SolidImage(int w, int h, COLORREF colour) {
  return MakeImage(w, h, [colour](int, int) { return colour; });
}

// Runs what is queued until nothing is left (what a message posts on the way included); keys
// through the dialog manager of `dialog`, if given, as a dialog's own loop does.
inline void Pump(HWND dialog = nullptr) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog && IsDialogMessageA(dialog, &msg)) continue;
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
inline INT_PTR RunModalWith(win::Dialog& dialog, std::function<void(HWND)> body) {
  // After the run the waiter only removes itself: the dialog may be gone by then.
  auto running = std::make_shared<bool>(true);
  WhenTrue(
      [&dialog, running] { return !*running || (dialog.Hwnd() && IsWindowVisible(dialog.Hwnd())); },
      [&dialog, running, body = std::move(body)] {
        if (*running) body(dialog.Hwnd());
      });
  const INT_PTR r = dialog.RunModal();
  *running = false;
  return r;
}

// A window's rectangle in its parent's client coordinates (a top-level window's on the screen).
inline RECT Place(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The command a click on the dialog's control sends (a set-up field's is STN_CLICKED).
inline void Click(HWND dialog, int id, int code = BN_CLICKED) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
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
  HRGN rgn = CreateRectRgn(0, 0, 0, 0), whole = CreateRectRgn(0, 0, w, h);
  const int kind = GetWindowRgn(window, rgn);
  if (keyed && (kind != COMPLEXREGION || PtInRegion(rgn, 0, 0) || PtInRegion(rgn, w - 1, h - 1)))
    faults += "corners not cut; ";
  if (!keyed && !EqualRgn(rgn, whole)) faults += "region not the whole rectangle; ";
  if (!PtInRegion(rgn, w / 2, h / 2)) faults += "centre outside the region; ";
  DeleteObject(rgn);
  DeleteObject(whole);
  return faults;
}

// What a device context, a window or an image shows, row by row.
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
  int Count(COLORREF c) const { return Count(c, {0, 0, width, height}); }
};

inline Capture ReadPixels(HDC source, int x, int y, int w, int h) {
  HDC mem = CreateCompatibleDC(source);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, source, x, y, SRCCOPY);
  GdiFlush();
  Capture out{w, h, std::vector<COLORREF>(static_cast<size_t>(w) * h)};
  const auto* p = static_cast<const unsigned char*>(bits);
  for (size_t i = 0; i < out.pixels.size(); ++i)
    out.pixels[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  return out;
}

// A screen rectangle as the display shows it (from any thread).
inline Capture CaptureScreen(const RECT& r) {
  HDC screen = GetDC(nullptr);
  Capture out = ReadPixels(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
  ReleaseDC(nullptr, screen);
  return out;
}

// What the screen shows of the window's client area.
inline Capture CaptureClient(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return CaptureScreen(r);
}

// A bitmap resource of the program.
inline Capture BitmapPixels(int resourceId) {
  HBITMAP image = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
  BITMAP info{};
  if (!image || !GetObjectA(image, sizeof info, &info)) return {};
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, image);
  Capture out = ReadPixels(mem, 0, 0, info.bmWidth, info.bmHeight);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(image);
  return out;
}

// Whether the screen comes to show the bitmap resource (within a small tolerance per channel)
// wherever the window's own face shows: inside its region if it has one, outside its visible
// children. An image smaller than the window is looked for at its top left corner. Messages are
// pumped meanwhile; from another thread, the window's thread paints.
inline bool ScreenShows(HWND window, int resourceId, DWORD timeoutMs = 5000) {
  const Capture image = BitmapPixels(resourceId);
  RECT r{};
  GetWindowRect(window, &r);
  r.right = std::min<LONG>(r.right, r.left + image.width);
  r.bottom = std::min<LONG>(r.bottom, r.top + image.height);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const bool whole = GetWindowRgn(window, region) == ERROR;
  std::vector<RECT> children;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsWindowVisible(c)) children.push_back(Place(c));
  const auto face = [&](POINT p) {
    return (whole || PtInRegion(region, p.x, p.y)) &&
           std::none_of(children.begin(), children.end(),
                        [&](const RECT& c) { return PtInRect(&c, p); });
  };
  const auto alike = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 8 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 8 && std::abs(GetBValue(a) - GetBValue(b)) <= 8;
  };
  const bool shows = PumpUntil(
      [&] {
        const Capture screen = CaptureScreen(r);
        if (image.pixels.empty() || screen.pixels.size() != image.pixels.size()) return false;
        for (int y = 0; y < image.height; ++y)
          for (int x = 0; x < image.width; ++x)
            if (face({x, y}) && !alike(screen.At(x, y), image.At(x, y))) return false;
        return true;
      },
      timeoutMs);
  DeleteObject(region);
  return shows;
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
