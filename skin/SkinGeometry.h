// Portable geometry of a skinned window: where it sits on the screen and which pixels of its
// background image belong to it. No window system here, so all of it is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vt::skin {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pixels outside a keyed window have exactly this colour.
inline constexpr Rgb kTransparentKey{255, 0, 255};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Decoded pixels of an image as a bitmap stores them: rows of `stride` bytes, bottom row first
// when `bottomUp`. Bgr24 is blue, green, red bytes; Masked16 and Masked32 are little-endian
// words whose channels the three masks select (a 16-bit BI_RGB image is 0x7C00/0x03E0/0x001F).
enum class PixelFormat { Bgr24, Masked16, Masked32 };

struct PixelView {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;  // bytes available at data
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // bytes per row, at least width * bytes per pixel
  bool bottomUp = false;
  PixelFormat format = PixelFormat::Masked32;
  std::uint32_t redMask = 0x00FF0000, greenMask = 0x0000FF00, blueMask = 0x000000FF;
};

// True when every row the view describes lies inside its buffer.
bool IsValid(const PixelView& view);

// The pixel's colour after conversion to 24-bit colour: a channel narrower than 8 bits is
// widened by repeating its top bits (5-bit 31 becomes 255). The view must be valid and (x, y)
// inside it.
Rgb PixelAt(const PixelView& view, int x, int y);

// The keyed region as one-pixel-high rectangles, one per run of non-key pixels, rows from top
// to bottom and runs from left to right. Empty when every pixel is the key; nothing when the
// view does not fit its buffer.
std::optional<std::vector<Rect>> KeyedRuns(const PixelView& view, Rgb key = kTransparentKey);

// Top-left corner that centres a w x h window on a screen, each half rounded down.
Point CentreOnScreen(int screenWidth, int screenHeight, int width, int height);

}  // namespace vt::skin
