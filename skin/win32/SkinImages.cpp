#include "skin/win32/SkinImages.h"

#include <cstring>

#include "platform/win32/Handles.h"

namespace vt::skin {
namespace {

HINSTANCE OrProgram(HINSTANCE instance) { return instance ? instance : GetModuleHandleA(nullptr); }

}  // namespace

BitmapLoader ResourceBitmapLoader(HINSTANCE instance) {
  instance = OrProgram(instance);
  return [instance](int id) { return LoadBitmapA(instance, MAKEINTRESOURCEA(id)); };
}

BitmapLoader ResourceDibLoader(HINSTANCE instance) {
  instance = OrProgram(instance);
  return [instance](int id) {
    return static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  };
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight};
}

bool DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, int srcX, int srcY) {
  if (!bitmap) return false;
  win::MemoryDc mem(CreateCompatibleDC(dc));
  if (!mem) return false;
  win::SelectScope select(mem.get(), bitmap);
  return BitBlt(dc, x, y, w, h, mem.get(), srcX, srcY, SRCCOPY) != FALSE;
}

bool StretchBitmap(HDC dc, HBITMAP bitmap, int x, int y, int w, int h) {
  if (!bitmap) return false;
  const SIZE size = BitmapSize(bitmap);
  win::MemoryDc mem(CreateCompatibleDC(dc));
  if (!mem) return false;
  win::SelectScope select(mem.get(), bitmap);
  SetStretchBltMode(dc, COLORONCOLOR);
  return StretchBlt(dc, x, y, w, h, mem.get(), 0, 0, size.cx, size.cy, SRCCOPY) != FALSE;
}

std::optional<std::vector<Rect>> KeyedRunsOf(HBITMAP bitmap) {
  if (!bitmap) return std::nullopt;
  DIBSECTION ds{};
  if (GetObjectA(bitmap, sizeof ds, &ds) == sizeof ds && ds.dsBm.bmBits &&
      (ds.dsBm.bmBitsPixel == 16 || ds.dsBm.bmBitsPixel == 24 || ds.dsBm.bmBitsPixel == 32)) {
    // A DIB section: read its own pixels in their own format.
    GdiFlush();
    PixelView v;
    v.data = static_cast<const std::uint8_t*>(ds.dsBm.bmBits);
    v.width = ds.dsBm.bmWidth;
    v.height = ds.dsBm.bmHeight;
    v.stride = ds.dsBm.bmWidthBytes;
    v.size = static_cast<std::size_t>(v.stride) * static_cast<std::size_t>(v.height);
    v.bottomUp = ds.dsBmih.biHeight > 0;
    const bool fields = ds.dsBmih.biCompression == BI_BITFIELDS;
    switch (ds.dsBm.bmBitsPixel) {
      case 16:
        v.format = PixelFormat::Masked16;
        v.redMask = fields ? ds.dsBitfields[0] : 0x7C00;
        v.greenMask = fields ? ds.dsBitfields[1] : 0x03E0;
        v.blueMask = fields ? ds.dsBitfields[2] : 0x001F;
        break;
      case 24:
        v.format = PixelFormat::Bgr24;
        break;
      default:
        v.format = PixelFormat::Masked32;
        if (fields) {
          v.redMask = ds.dsBitfields[0];
          v.greenMask = ds.dsBitfields[1];
          v.blueMask = ds.dsBitfields[2];
        }
        break;
    }
    return KeyedRuns(v);
  }
  // Any other bitmap: have GDI decode it to 32-bit colour once, then scan that.
  const SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return std::nullopt;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size.cx;
  bi.bmiHeader.biHeight = -size.cy;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size.cx) * size.cy * 4);
  win::WindowDc screen(nullptr);
  if (GetDIBits(screen.get(), bitmap, 0, size.cy, pixels.data(), &bi, DIB_RGB_COLORS) != size.cy)
    return std::nullopt;
  PixelView v;
  v.data = pixels.data();
  v.size = pixels.size();
  v.width = size.cx;
  v.height = size.cy;
  v.stride = size.cx * 4;
  v.format = PixelFormat::Masked32;
  return KeyedRuns(v);
}

HRGN RegionFromRuns(const std::vector<Rect>& runs, int width, int height) {
  std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(runs.size());
  data->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  data->rdh.rcBound = RECT{0, 0, width, height};
  auto* rects = reinterpret_cast<RECT*>(buffer.data() + sizeof(RGNDATAHEADER));
  for (std::size_t i = 0; i < runs.size(); ++i)
    rects[i] = RECT{runs[i].left, runs[i].top, runs[i].right, runs[i].bottom};
  return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

HFONT CreateSkinFont(int height) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  std::strcpy(lf.lfFaceName, "Arial");
  return CreateFontIndirectA(&lf);
}

}  // namespace vt::skin
