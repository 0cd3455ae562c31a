#include "skin/SkinGeometry.h"

#include <bit>

namespace vt::skin {
namespace {

int BytesPerPixel(PixelFormat f) {
  switch (f) {
    case PixelFormat::Bgr24:
      return 3;
    case PixelFormat::Masked16:
      return 2;
    case PixelFormat::Masked32:
      return 4;
  }
  return 4;
}

// Widens the channel that a mask selects to 8 bits by repeating its bits from the top. The
// mask's shape is worked out once per image, not per pixel.
struct Channel {
  explicit Channel(std::uint32_t m)
      : mask(m), shift(m ? std::countr_zero(m) : 0), bits(std::popcount(m)) {}
  std::uint8_t operator()(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    const std::uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<std::uint8_t>(value >> (bits - 8));
    std::uint32_t wide = 0;
    int filled = 0;
    while (filled < 8) {
      wide = (wide << bits) | value;
      filled += bits;
    }
    return static_cast<std::uint8_t>(wide >> (filled - 8));
  }
  std::uint32_t mask;
  int shift, bits;
};

struct Decoder {
  explicit Decoder(const PixelView& v) : red(v.redMask), green(v.greenMask), blue(v.blueMask) {}
  Rgb operator()(const PixelView& v, const std::uint8_t* p) const {
    switch (v.format) {
      case PixelFormat::Bgr24:
        return Rgb{p[2], p[1], p[0]};
      case PixelFormat::Masked16: {
        const std::uint32_t px = p[0] | (std::uint32_t{p[1]} << 8);
        return Rgb{red(px), green(px), blue(px)};
      }
      case PixelFormat::Masked32: {
        const std::uint32_t px = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
                                 (std::uint32_t{p[3]} << 24);
        return Rgb{red(px), green(px), blue(px)};
      }
    }
    return Rgb{};
  }
  Channel red, green, blue;
};

const std::uint8_t* Row(const PixelView& v, int y) {
  const int stored = v.bottomUp ? v.height - 1 - y : y;
  return v.data + static_cast<std::ptrdiff_t>(stored) * v.stride;
}

}  // namespace

bool IsValid(const PixelView& v) {
  if (!v.data || v.width <= 0 || v.height <= 0) return false;
  const auto rowBytes = static_cast<std::ptrdiff_t>(v.width) * BytesPerPixel(v.format);
  if (v.stride < rowBytes) return false;
  // The last row needs only its pixels, not its padding.
  const auto needed = static_cast<unsigned long long>(v.stride) * (v.height - 1) +
                      static_cast<unsigned long long>(rowBytes);
  return needed <= v.size;
}

Rgb PixelAt(const PixelView& v, int x, int y) {
  return Decoder(v)(v, Row(v, y) + static_cast<std::ptrdiff_t>(x) * BytesPerPixel(v.format));
}

std::optional<std::vector<Rect>> KeyedRuns(const PixelView& v, Rgb key) {
  if (!IsValid(v)) return std::nullopt;
  std::vector<Rect> runs;
  const Decoder decode(v);
  const int bpp = BytesPerPixel(v.format);
  for (int y = 0; y < v.height; ++y) {
    const std::uint8_t* row = Row(v, y);
    auto isKey = [&](int x) {
      return decode(v, row + static_cast<std::ptrdiff_t>(x) * bpp) == key;
    };
    int x = 0;
    while (x < v.width) {
      while (x < v.width && isKey(x)) ++x;
      if (x == v.width) break;
      const int start = x;
      while (x < v.width && !isKey(x)) ++x;
      runs.push_back(Rect{start, y, x, y + 1});
    }
  }
  return runs;
}

Point CentreOnScreen(int screenWidth, int screenHeight, int width, int height) {
  return Point{screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

}  // namespace vt::skin
