// Which pixels a keyed skin keeps is shown live by the skinned window's test and by the painted
// skins' outlines; here, what no live image can show: views that do not fit their buffer. (The
// centring's rounding: every skinned window's place on the 1024 x 768 screen, odd sizes too.)
#include "skin/SkinGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vt::skin {
namespace {

TEST(KeyedRuns, ViewsThatDoNotFitTheirBufferAreRefused) {
  const std::vector<std::uint8_t> bytes(4 * 4 * 2, 90);  // 4 x 2 grey pixels of 32 bits
  const auto fits = [&](auto change) {
    PixelView v{bytes.data(), bytes.size(), 4, 2, 16};
    change(v);
    return KeyedRuns(v).has_value();
  };
  EXPECT_TRUE(fits([](PixelView&) {}));
  EXPECT_FALSE(fits([](PixelView& v) { v.size -= 1; }));    // last pixel missing
  EXPECT_FALSE(fits([](PixelView& v) { v.stride = 15; }));  // narrower than a row
  EXPECT_FALSE(fits([](PixelView& v) { v.stride = 17; }));  // the last row would overrun
  EXPECT_FALSE(fits([](PixelView& v) { v.height = 1 << 30; }));
  EXPECT_FALSE(fits([](PixelView& v) { v.width = 0; }));
  EXPECT_FALSE(fits([](PixelView& v) { v.data = nullptr; }));
  EXPECT_FALSE(fits([](PixelView& v) { v.format = PixelFormat::Bgr24, v.stride = 11; }));
  EXPECT_TRUE(fits([](PixelView& v) { v.format = PixelFormat::Bgr24, v.stride = 12; }));
}

}  // namespace
}  // namespace vt::skin
