#include "skin/SkinGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vt::skin {
namespace {

// A 32-bit top-down image drawn from rows of characters: 'K' is the key, anything else grey.
struct Image32 {
  std::vector<std::uint8_t> bytes;
  PixelView view;
  explicit Image32(const std::vector<std::string>& rows) {
    for (const auto& row : rows)
      for (char c : row) {
        const std::uint8_t grey = 90, red = c == 'K' ? 255 : grey, green = c == 'K' ? 0 : grey;
        bytes.insert(bytes.end(), {red, green, red, 0});
      }
    view = {bytes.data(), bytes.size(), static_cast<int>(rows[0].size()),
            static_cast<int>(rows.size()), static_cast<std::ptrdiff_t>(rows[0].size() * 4)};
  }
};

std::vector<Rect> Runs(const PixelView& v) {
  const auto runs = KeyedRuns(v);
  EXPECT_TRUE(runs.has_value());
  return runs.value_or(std::vector<Rect>{});
}

TEST(KeyedRuns, EachRowGivesTheRunsBetweenItsKeyPixels) {
  const std::pair<std::vector<std::string>, std::vector<Rect>> cases[] = {
      // Pixels 0, 1 and 7 are the key: two runs, the second ending at the right edge.
      {{"KK.....K..", "KK.....K.."}, {{2, 0, 7, 1}, {8, 0, 10, 1}, {2, 1, 7, 2}, {8, 1, 10, 2}}},
      {{"KKKK", "K..K", "...."}, {{1, 1, 3, 2}, {0, 2, 4, 3}}},  // an all-key row stays outside
      {{"...", "..."}, {{0, 0, 3, 1}, {0, 1, 3, 2}}},
      {{"KK", "KK"}, {}},
  };
  for (const auto& [rows, runs] : cases) EXPECT_EQ(Runs(Image32(rows).view), runs) << rows[0];
  // Only the exact key colour is cut: blue 254 and green 1 are face.
  Image32 near({"KKK"});
  near.bytes[4] = 254;
  near.bytes[9] = 1;
  EXPECT_EQ(Runs(near.view), (std::vector<Rect>{{1, 0, 3, 1}}));
}

TEST(KeyedRuns, BottomUpPaddedTwentyFourBitRowsReadTopFirst) {
  // Stored bottom row first, 3 pixels of 3 bytes padded to 12 bytes per row.
  const std::vector<std::uint8_t> bytes = {255, 0, 255, 255, 0, 255, 9,   9, 9,   0xEE, 0xEE, 0xEE,
                                           9,   9, 9,   255, 0, 255, 255, 0, 255, 0xEE, 0xEE, 0xEE};
  const PixelView v{bytes.data(), bytes.size(), 3, 2, 12, true, PixelFormat::Bgr24};
  EXPECT_EQ(PixelAt(v, 0, 0), (Rgb{9, 9, 9}));
  EXPECT_EQ(Runs(v), (std::vector<Rect>{{0, 0, 1, 1}, {2, 1, 3, 2}}));
}

TEST(KeyedRuns, ViewsThatDoNotFitTheirBufferAreRefused) {
  const Image32 img({"....", "...."});
  const auto with = [&](auto change) {
    PixelView v = img.view;
    change(v);
    return KeyedRuns(v).has_value();
  };
  EXPECT_FALSE(with([](PixelView& v) { v.size -= 1; }));  // last pixel missing
  EXPECT_FALSE(with([](PixelView& v) { v.stride = 15; }));  // narrower than a row
  EXPECT_FALSE(with([](PixelView& v) { v.height = 1 << 30; }));
  EXPECT_FALSE(with([](PixelView& v) { v.width = 0; }));
  EXPECT_FALSE(with([](PixelView& v) { v.data = nullptr; }));
  // Exact: the last row needs no padding.
  EXPECT_TRUE(with([](PixelView& v) { v.stride = 16, v.size = 16 + 16; }));
}

TEST(CentreOnScreen, HalvesAreRoundedDown) {
  EXPECT_EQ(CentreOnScreen(1024, 768, 500, 600), (Point{262, 84}));
  EXPECT_EQ(CentreOnScreen(1025, 769, 275, 151), (Point{375, 309}));
}

}  // namespace
}  // namespace vt::skin
