#include "tests/skin/WineWindows.h"

#include "platform/win32/Handles.h"

namespace vt::skin::test {

HBITMAP MakeImage(int w, int h, int bpp, const std::function<COLORREF(int, int)>& colour, bool rgb565) {
  struct {
    BITMAPINFOHEADER h;
    DWORD masks[3];
  } bi{};
  bi.h.biSize = sizeof bi.h;
  bi.h.biWidth = w;
  bi.h.biHeight = h;  // bottom-up, as bitmap files are
  bi.h.biPlanes = 1;
  bi.h.biBitCount = static_cast<WORD>(bpp);
  bi.h.biCompression = (bpp == 16 && rgb565) ? BI_BITFIELDS : BI_RGB;
  bi.masks[0] = 0xF800, bi.masks[1] = 0x07E0, bi.masks[2] = 0x001F;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  const int stride = ((w * bpp + 31) / 32) * 4;
  auto* base = static_cast<unsigned char*>(bits);
  for (int y = 0; y < h; ++y) {
    unsigned char* row = base + static_cast<size_t>(h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) {
      const COLORREF c = colour(x, y);
      const unsigned r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      if (bpp == 16) {
        const unsigned px = rgb565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)
                                   : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        row[x * 2] = static_cast<unsigned char>(px), row[x * 2 + 1] = static_cast<unsigned char>(px >> 8);
      } else {
        unsigned char* p = row + x * (bpp / 8);
        p[0] = static_cast<unsigned char>(b), p[1] = static_cast<unsigned char>(g), p[2] = static_cast<unsigned char>(r);
        if (bpp == 32) p[3] = 0;
      }
    }
  }
  GdiFlush();
  return bmp;
}

HBITMAP SolidImage(int w, int h, COLORREF colour) {
  return MakeImage(w, h, 24, [colour](int, int) { return colour; });
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
  return true;
}

int Capture::Count(COLORREF c, const RECT& r) const {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (At(x, y) == c) ++n;
  return n;
}

Capture CaptureClient(HWND hwnd) {
  Capture cap;
  RECT r{};
  GetClientRect(hwnd, &r);
  cap.width = r.right;
  cap.height = r.bottom;
  if (cap.width <= 0 || cap.height <= 0) return cap;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = cap.width;
  bi.bmiHeader.biHeight = -cap.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  win::Bitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::MemoryDc mem(CreateCompatibleDC(nullptr));
  {
    win::SelectScope select(mem.get(), bmp.get());
    win::WindowDc dc(hwnd);
    BitBlt(mem.get(), 0, 0, cap.width, cap.height, dc.get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const auto* px = static_cast<const DWORD*>(bits);
  cap.pixels.resize(static_cast<size_t>(cap.width) * cap.height);
  for (size_t i = 0; i < cap.pixels.size(); ++i) {
    const DWORD v = px[i];
    cap.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  return cap;
}

std::vector<RECT> RegionRects(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<unsigned char> buf(size);
  if (!size || GetRegionData(region, size, reinterpret_cast<RGNDATA*>(buf.data())) != size) return {};
  const auto* data = reinterpret_cast<const RGNDATA*>(buf.data());
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

}  // namespace vt::skin::test
