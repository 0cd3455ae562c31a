#include "skin/SkinGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vt::skin {
namespace {

// A 32-bit top-down image drawn from rows of characters: 'K' is the key, anything else grey.
struct Image32 {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bytes;
  PixelView View() const {
    PixelView v;
    v.data = bytes.data();
    v.size = bytes.size();
    v.width = width;
    v.height = height;
    v.stride = width * 4;
    v.format = PixelFormat::Masked32;
    return v;
  }
};

Image32 FromRows(const std::vector<std::string>& rows) {
  Image32 img;
  img.height = static_cast<int>(rows.size());
  img.width = static_cast<int>(rows[0].size());
  for (const auto& row : rows)
    for (char c : row) {
      const bool key = c == 'K';
      img.bytes.insert(img.bytes.end(), {std::uint8_t(key ? 255 : 90), std::uint8_t(key ? 0 : 90),
                                         std::uint8_t(key ? 255 : 90), 0});
    }
  return img;
}

std::vector<Rect> Runs(const PixelView& v) {
  auto runs = KeyedRuns(v);
  EXPECT_TRUE(runs.has_value());
  return runs.value_or(std::vector<Rect>{});
}

TEST(KeyedRuns, EachRowGivesTheRunsBetweenItsKeyPixels) {
  const std::pair<std::vector<std::string>, std::vector<Rect>> cases[] = {
      // Pixels 0, 1 and 7 are the key: two runs, the second ending at the right edge.
      {{"KK.....K..", "KK.....K.."}, {{2, 0, 7, 1}, {8, 0, 10, 1}, {2, 1, 7, 2}, {8, 1, 10, 2}}},
      {{"KKKK", "K..K", "...."}, {{1, 1, 3, 2}, {0, 2, 4, 3}}},  // an all-key first row stays outside
      {{"...", "...", "..."}, {{0, 0, 3, 1}, {0, 1, 3, 2}, {0, 2, 3, 3}}},
      {{"KK", "KK"}, {}},
  };
  for (const auto& [rows, runs] : cases) EXPECT_EQ(Runs(FromRows(rows).View()), runs) << rows[0];
}

TEST(KeyedRuns, OnlyExactKeyColourIsCut) {
  Image32 img = FromRows({"KKK"});
  img.bytes[4 + 0] = 254;  // pixel 1: blue 254
  img.bytes[8 + 1] = 1;    // pixel 2: green 1
  EXPECT_EQ(Runs(img.View()), (std::vector<Rect>{{1, 0, 3, 1}}));
}

TEST(KeyedRuns, SixteenBitFullMagentaCountsAsKey) {
  // 555: magenta 0x7C1F widens to 255,0,255; 0x7C1E (blue 30 -> 247) does not.
  const std::uint16_t row[] = {0x7C1F, 0x7C1E, 0x7C1F, 0x0000};
  std::vector<std::uint8_t> bytes;
  for (auto px : row) bytes.insert(bytes.end(), {std::uint8_t(px & 0xFF), std::uint8_t(px >> 8)});
  PixelView v;
  v.data = bytes.data();
  v.size = bytes.size();
  v.width = 4;
  v.height = 1;
  v.stride = 8;
  v.format = PixelFormat::Masked16;
  v.redMask = 0x7C00;
  v.greenMask = 0x03E0;
  v.blueMask = 0x001F;
  EXPECT_EQ(PixelAt(v, 0, 0), (Rgb{255, 0, 255}));
  EXPECT_EQ(PixelAt(v, 1, 0), (Rgb{255, 0, 247}));
  EXPECT_EQ(Runs(v), (std::vector<Rect>{{1, 0, 2, 1}, {3, 0, 4, 1}}));

  // 565: magenta 0xF81F, and a 6-bit green of 32 widens to 130.
  const std::uint16_t row565[] = {0xF81F, 0x0400};
  bytes.clear();
  for (auto px : row565) bytes.insert(bytes.end(), {std::uint8_t(px & 0xFF), std::uint8_t(px >> 8)});
  v.data = bytes.data();
  v.size = bytes.size();
  v.width = 2;
  v.stride = 4;
  v.redMask = 0xF800;
  v.greenMask = 0x07E0;
  v.blueMask = 0x001F;
  EXPECT_EQ(PixelAt(v, 0, 0), (Rgb{255, 0, 255}));
  EXPECT_EQ(PixelAt(v, 1, 0), (Rgb{0, 130, 0}));
  EXPECT_EQ(Runs(v), (std::vector<Rect>{{1, 0, 2, 1}}));
}

TEST(KeyedRuns, BottomUpPaddedTwentyFourBitRowsReadTopFirst) {
  // Stored bottom row first, 3 pixels of 3 bytes padded to 12 bytes per row.
  const std::uint8_t key[] = {255, 0, 255}, grey[] = {9, 9, 9}, pad[] = {0xEE, 0xEE, 0xEE};
  std::vector<std::uint8_t> bytes;
  auto put = [&](const std::uint8_t* p) { bytes.insert(bytes.end(), p, p + 3); };
  put(key), put(key), put(grey), put(pad);  // bottom row (y = 1): ..X
  put(grey), put(key), put(key), put(pad);  // top row (y = 0): X..
  PixelView v;
  v.data = bytes.data();
  v.size = bytes.size();
  v.width = 3;
  v.height = 2;
  v.stride = 12;
  v.bottomUp = true;
  v.format = PixelFormat::Bgr24;
  EXPECT_EQ(PixelAt(v, 0, 0), (Rgb{9, 9, 9}));
  EXPECT_EQ(Runs(v), (std::vector<Rect>{{0, 0, 1, 1}, {2, 1, 3, 2}}));
}

TEST(KeyedRuns, RunsCoverExactlyTheNonKeyPixelsOfAnyImage) {
  std::mt19937 rng(1234);
  for (int trial = 0; trial < 20; ++trial) {
    const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 20);
    std::vector<std::string> rows(h, std::string(w, '.'));
    for (auto& r : rows)
      for (auto& c : r) c = (rng() % 3 == 0) ? 'K' : '.';
    const Image32 img = FromRows(rows);
    std::vector<std::string> covered(h, std::string(w, 'K'));
    const auto runs = Runs(img.View());
    for (size_t i = 0; i < runs.size(); ++i) {
      const Rect& r = runs[i];
      ASSERT_EQ(r.bottom, r.top + 1);
      ASSERT_LT(r.left, r.right);
      for (int x = r.left; x < r.right; ++x) {
        ASSERT_EQ(covered[r.top][x], 'K') << "pixel covered twice";
        covered[r.top][x] = '.';
      }
      // Runs are maximal: the next run on the same row does not touch this one.
      if (i + 1 < runs.size() && runs[i + 1].top == r.top) {
        ASSERT_GT(runs[i + 1].left, r.right);
      }
    }
    EXPECT_EQ(covered, rows);
  }
}

TEST(KeyedRuns, ViewsThatDoNotFitTheirBufferAreRefused) {
  const Image32 img = FromRows({"....", "...."});
  PixelView v = img.View();
  v.size -= 1;  // last pixel missing
  EXPECT_FALSE(KeyedRuns(v).has_value());
  v = img.View();
  v.stride = 15;  // narrower than a row
  EXPECT_FALSE(KeyedRuns(v).has_value());
  v = img.View();
  v.height = 1 << 30;
  EXPECT_FALSE(KeyedRuns(v).has_value());
  v = img.View();
  v.width = 0;
  EXPECT_FALSE(KeyedRuns(v).has_value());
  v = img.View();
  v.data = nullptr;
  EXPECT_FALSE(KeyedRuns(v).has_value());
  v = img.View();
  v.stride = 16;
  v.size = 16 + 16;  // exact: the last row needs no padding
  EXPECT_TRUE(KeyedRuns(v).has_value());
}

TEST(CentreOnScreen, HalvesAreRoundedDown) {
  EXPECT_EQ(CentreOnScreen(1024, 768, 500, 600), (Point{262, 84}));
  EXPECT_EQ(CentreOnScreen(1024, 768, 275, 150).x, 375);
  EXPECT_EQ(CentreOnScreen(1025, 769, 275, 151), (Point{375, 309}));
}

}  // namespace
}  // namespace vt::skin
