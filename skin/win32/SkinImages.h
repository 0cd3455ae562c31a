// Bitmaps of the skin: loading by resource number, drawing, and the keyed window region.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "skin/SkinGeometry.h"

namespace vt::skin {

// Loads a bitmap resource by number; returns an owned bitmap or nullptr. Windows load from
// the program's resources; tests pass images made in memory.
using BitmapLoader = std::function<HBITMAP(int resourceId)>;

// LoadBitmapA from the given module (the program when null).
BitmapLoader ResourceBitmapLoader(HINSTANCE instance = nullptr);
// The same image as a DIB section, which keeps the file's own pixel format (16-bit stays
// 16-bit), so the keyed region can be read from the decoded pixels.
BitmapLoader ResourceDibLoader(HINSTANCE instance = nullptr);

inline constexpr COLORREF kSkinBlue = RGB(34, 80, 163);
inline constexpr COLORREF kSkinText = RGB(255, 255, 255);

SIZE BitmapSize(HBITMAP bitmap);

// Copies w x h pixels of `bitmap` from (srcX, srcY) to (x, y) of `dc`. False when nothing
// could be drawn (no bitmap).
bool DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, int srcX = 0, int srcY = 0);
// Stretches the whole bitmap over the rectangle.
bool StretchBitmap(HDC dc, HBITMAP bitmap, int x, int y, int w, int h);

// The one-pixel-high runs of non-key pixels of the bitmap, read from its decoded pixels in
// one pass; nothing when the pixels cannot be read.
std::optional<std::vector<Rect>> KeyedRunsOf(HBITMAP bitmap);
// One region from the runs, created in one call (empty for no runs).
HRGN RegionFromRuns(const std::vector<Rect>& runs, int width, int height);

// An Arial font of the skin: only the height set (a cell height in pixels).
HFONT CreateSkinFont(int height);

}  // namespace vt::skin
