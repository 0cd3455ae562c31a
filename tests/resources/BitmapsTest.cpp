// The painter's bitmaps against the product's table of images: every number at its size and
// colour depth, keyed skins cut to a rounded outline, button colours by role, and the resource
// script naming every one of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

struct Expected {
  int width, height, bits;
};

// The product's images. Sizes and depths are the ones the window descriptions give; where they
// give none (login buttons, No Thanks, depth of most images) the value is the one recorded in
// resources/MANIFEST.md.
std::map<int, Expected> ExpectedBitmaps() {
  std::map<int, Expected> t;
  for (int n = 148; n <= 177; ++n) t[n] = {69, 29, 24};  // letter ranges
  for (int n : {179, 180, 181, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193, 194, 195, 240,
                241, 242, 243, 244, 245, 246, 247, 257, 258, 259})
    t[n] = {93, 34, 24};
  for (int n : {196, 197, 198, 199, 200, 201, 202, 203, 267, 268, 278, 279, 285, 286, 290, 291})
    t[n] = {80, 29, 24};  // systems
  for (int n : {204, 205, 206, 207}) t[n] = {30, 30, 24};
  t[265] = t[266] = {116, 31, 24};
  for (int n : {139, 140, 145, 143, 144, 225, 226}) t[n] = {78, 26, 24};  // login buttons
  t[146] = t[147] = {22, 23, 24};
  t[213] = {500, 600, 24};
  for (int n : {220, 261, 262, 217, 219, 223, 224, 221}) t[n] = {275, 150, 24};
  for (int n : {214, 215, 273}) t[n] = {275, 250, 24};
  t[255] = {275, 200, 24};
  for (int n : {253, 249, 251, 239}) t[n] = {400, 350, 16};
  t[277] = {500, 400, 24};
  t[289] = {400, 400, 24};
  t[227] = t[231] = {12, 11, 24};
  t[228] = t[230] = t[232] = {12, 26, 24};
  t[229] = {12, 1, 24};
  t[233] = {1, 20, 24};
  t[234] = t[235] = {2, 20, 24};
  t[236] = {1, 12, 24};
  return t;
}

const std::set<int> kKeyedSkins = {220, 217, 223, 224, 214, 215, 221};

struct Rgb {
  int r, g, b;
  bool IsKey() const { return r == 255 && g == 0 && b == 255; }
};

uint32_t Le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + i]);
  return v;
}

// A decoded BI_RGB bitmap file of 16 or 24 bits. Channels of 16-bit images are widened by
// repeating their top bits, as the skin compares them.
struct Bitmap {
  int width = 0, height = 0, bits = 0;
  std::vector<Rgb> px;
  Rgb At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
    return px[static_cast<size_t>(y) * width + x];
  }
};

::testing::AssertionResult Decode(const std::string& file, Bitmap& out) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M')
    return ::testing::AssertionFailure() << "not a bitmap file";
  uint32_t offset = Le(file, 10, 4);
  if (Le(file, 2, 4) != file.size()) return ::testing::AssertionFailure() << "file size field";
  if (Le(file, 14, 4) != 40) return ::testing::AssertionFailure() << "info header size";
  int32_t w = static_cast<int32_t>(Le(file, 18, 4)), h = static_cast<int32_t>(Le(file, 22, 4));
  if (w <= 0 || h <= 0) return ::testing::AssertionFailure() << "not a bottom-up image";
  if (Le(file, 26, 2) != 1) return ::testing::AssertionFailure() << "planes";
  int bits = static_cast<int>(Le(file, 28, 2));
  if (Le(file, 30, 4) != 0) return ::testing::AssertionFailure() << "compressed";
  if (bits != 16 && bits != 24) return ::testing::AssertionFailure() << bits << " bits";
  size_t stride = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
  if (offset + stride * h != file.size())
    return ::testing::AssertionFailure() << "pixel data does not match the header";
  out.width = w;
  out.height = h;
  out.bits = bits;
  out.px.resize(static_cast<size_t>(w) * h);
  for (int row = 0; row < h; ++row) {
    size_t base = offset + stride * (h - 1 - row);
    for (int x = 0; x < w; ++x) {
      Rgb& p = out.px[static_cast<size_t>(row) * w + x];
      if (bits == 24) {
        p = {static_cast<uint8_t>(file[base + 3 * x + 2]), static_cast<uint8_t>(file[base + 3 * x + 1]),
             static_cast<uint8_t>(file[base + 3 * x])};
      } else {
        uint32_t v = Le(file, base + 2 * x, 2);
        auto widen = [](uint32_t c) { return static_cast<int>((c << 3) | (c >> 2)); };
        p = {widen((v >> 10) & 31), widen((v >> 5) & 31), widen(v & 31)};
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// The real painter with its arguments; its exit status.
int Paint(const std::string& arguments) {
  return std::system((std::string("\"") + VT_PAINTER_PATH + "\" " + arguments).c_str());
}

std::string SourceFile(const std::string& name) {
  return vt::test::ReadFileBytes(std::string(VT_SOURCE_DIR) + "/" + name);
}

// Runs the real painter once for the whole suite.
class PaintedBitmaps : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    dir_ = new vt::test::TempDir();
    status_ = Paint("bitmaps \"" + dir_->path().string() + "\"");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(status_, 0) << "the painter failed"; }

  static Bitmap Load(int number) {
    Bitmap b;
    std::string bytes = vt::test::ReadFileBytes(dir_->File("bitmap" + std::to_string(number) + ".bmp"));
    EXPECT_TRUE(Decode(bytes, b)) << "bitmap " << number;
    return b;
  }

  static vt::test::TempDir* dir_;
  static int status_;
};
vt::test::TempDir* PaintedBitmaps::dir_ = nullptr;
int PaintedBitmaps::status_ = -1;

TEST_F(PaintedBitmaps, EveryBitmapHasItsSizeAndDepthAndNoOtherIsPainted) {
  const auto expected = ExpectedBitmaps();
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir_->path()))
    files.insert(entry.path().filename().string());
  std::set<std::string> wanted;
  for (const auto& [number, e] : expected) {
    wanted.insert("bitmap" + std::to_string(number) + ".bmp");
    Bitmap b = Load(number);
    EXPECT_EQ(b.width, e.width) << "bitmap " << number;
    EXPECT_EQ(b.height, e.height) << "bitmap " << number;
    EXPECT_EQ(b.bits, e.bits) << "bitmap " << number;
  }
  EXPECT_EQ(files, wanted);
}

TEST_F(PaintedBitmaps, PaintingIsDeterministic) {
  vt::test::TempDir again;
  ASSERT_EQ(Paint("bitmaps \"" + again.path().string() + "\""), 0);
  for (const auto& [number, e] : ExpectedBitmaps()) {
    std::string name = "bitmap" + std::to_string(number) + ".bmp";
    EXPECT_TRUE(vt::test::ReadFileBytes(dir_->File(name)) == vt::test::ReadFileBytes(again.File(name)))
        << name << " differs between two runs";
  }
}

TEST_F(PaintedBitmaps, PainterRefusesAMissingFolderAndUnknownCommands) {
  EXPECT_NE(Paint("bitmaps \"" + dir_->File("no/such/folder") + "\" 2>/dev/null"), 0);
  EXPECT_NE(Paint("paint 2>/dev/null"), 0);
}

// The window of a keyed skin is the shape the key leaves: one run of face pixels per row, key
// at every corner, wider key margins towards the top and bottom edges than in the middle.
TEST_F(PaintedBitmaps, KeyedSkinsAreKeyColourOutsideARoundedOutline) {
  for (int number : kKeyedSkins) {
    SCOPED_TRACE("bitmap " + std::to_string(number));
    Bitmap b = Load(number);
    ASSERT_GT(b.width, 0);
    const int w = b.width, h = b.height;
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
      EXPECT_TRUE(b.At(x, y).IsKey()) << "corner " << x << "," << y;
    std::vector<int> margin(h);
    for (int y = 0; y < h; ++y) {
      int runs = 0, left = -1;
      for (int x = 0; x < w; ++x) {
        bool face = !b.At(x, y).IsKey();
        if (face && (x == 0 || b.At(x - 1, y).IsKey())) ++runs;
        if (face && left < 0) left = x;
      }
      ASSERT_EQ(runs, 1) << "row " << y << " is not one run of face pixels";
      margin[y] = left;
      int right = w - 1;
      while (b.At(right, y).IsKey()) --right;
      EXPECT_LE(std::abs((w - 1 - right) - left), 1) << "row " << y << " is not symmetric";
    }
    EXPECT_EQ(margin[h / 2], 0) << "the middle rows reach both edges";
    EXPECT_GT(margin[0], 5) << "the top corners are rounded";
    EXPECT_GT(margin[h - 1], 5) << "the bottom corners are rounded";
    for (int y = 1; y <= h / 2; ++y) EXPECT_LE(margin[y], margin[y - 1]) << "row " << y;
    for (int y = h / 2 + 1; y < h; ++y) EXPECT_GE(margin[y], margin[y - 1]) << "row " << y;
  }
}

TEST_F(PaintedBitmaps, RectangularSkinsCarryNoKeyColour) {
  for (int number : {213, 261, 262, 219, 273, 255, 253, 277, 249, 251, 289, 239}) {
    Bitmap b = Load(number);
    int keyed = 0;
    for (const Rgb& p : b.px) keyed += p.IsKey();
    EXPECT_EQ(keyed, 0) << "bitmap " << number;
  }
}

// Colour of a button's body just above its label.
Rgb BodyColour(const Bitmap& b) { return b.At(b.width / 2, 6); }
bool IsGrey(Rgb p) { return std::abs(p.r - p.g) < 20 && std::abs(p.g - p.b) < 24 && std::abs(p.r - p.b) < 24; }
bool IsBlue(Rgb p) { return p.b > p.r + 60 && p.b > p.g + 40; }
bool IsGreen(Rgb p) { return p.g > p.r + 40 && p.g > p.b + 40; }

TEST_F(PaintedBitmaps, ButtonsAreBluePillsGreenUpgradeAndGreyWhenDisabled) {
  for (int number : {148, 149, 177, 181, 179, 185, 184, 197, 290, 265, 241, 259, 243, 247, 139, 143, 226})
    EXPECT_TRUE(IsBlue(BodyColour(Load(number)))) << "bitmap " << number;
  for (int number : {192, 191}) EXPECT_TRUE(IsGreen(BodyColour(Load(number)))) << "bitmap " << number;
  for (int number : {180, 188, 194, 244, 246, 258, 145}) {
    Rgb p = BodyColour(Load(number));
    EXPECT_TRUE(IsGrey(p)) << "bitmap " << number << " " << p.r << "," << p.g << "," << p.b;
  }
  // A pressed image differs from its normal one, and the pill leaves the corners to the face.
  for (auto [normal, pressed] : {std::pair{148, 149}, {181, 179}, {197, 196}, {204, 207}}) {
    Bitmap a = Load(normal), b = Load(pressed);
    EXPECT_TRUE(BodyColour(a).b != BodyColour(b).b || BodyColour(a).g != BodyColour(b).g) << normal;
    EXPECT_EQ(a.At(0, 0).r, b.At(0, 0).r);
    EXPECT_FALSE(IsBlue(a.At(0, 0)) && a.At(0, 0).b > 150) << "corner of " << normal << " is painted";
  }
}

TEST_F(PaintedBitmaps, LitLampIsBrightGreenAndDarkLampIsDark) {
  Bitmap lit = Load(146), dark = Load(147);
  Rgb a = lit.At(11, 13), b = dark.At(11, 13);
  EXPECT_TRUE(IsGreen(a)) << a.r << "," << a.g << "," << a.b;
  EXPECT_GT(a.g, b.g + 80);
  EXPECT_LE(b.r + b.g + b.b, 200);
}

// Text boxes and set-up fields lie on the boxes painted for them: every pixel of the control's
// rectangle, as the dialog manager places it with the 6 x 13 base units the painter designs
// for (position and size each converted on its own), is the box's blue, and the pixels just
// outside are its frame. The rectangles come from the resource script itself.
TEST_F(PaintedBitmaps, TextBoxesAndFieldsOfTheScriptLieExactlyOnTheirPaintedBoxes) {
  const std::string script = SourceFile("resources/VTBrowser.rc");
  const std::map<std::string, int> backgrounds = {
      {"IDD_BROWSER", 213}, {"IDD_LOGIN", 220}, {"IDD_GBCC", 277}, {"IDD_GENC", 249},
      {"IDD_NESC", 251},    {"IDD_SMSC", 289},  {"IDD_SNESC", 239}};
  auto mapX = [](int du) { return (du * 6 + 2) / 4; };
  auto mapY = [](int du) { return (du * 13 + 4) / 8; };
  std::regex block(R"((IDD_\w+) DIALOGEX[^\n]*\n([\s\S]*?)\nEND)");
  std::regex box(R"((?:EDITTEXT|CTEXT\s+"")\s*,?\s*(\w+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+))");
  int checked = 0;
  for (std::sregex_iterator it(script.begin(), script.end(), block), end; it != end; ++it) {
    auto found = backgrounds.find((*it)[1]);
    if (found == backgrounds.end()) continue;
    const Bitmap b = Load(found->second);
    const std::string body = (*it)[2];
    for (std::sregex_iterator f(body.begin(), body.end(), box); f != end; ++f) {
      SCOPED_TRACE(std::string((*it)[1]) + " " + std::string((*f)[1]));
      const int x = mapX(std::stoi((*f)[2])), y = mapY(std::stoi((*f)[3]));
      const int right = x + mapX(std::stoi((*f)[4])), bottom = y + mapY(std::stoi((*f)[5]));
      const Rgb blue = b.At(x, y);
      EXPECT_LT(std::abs(blue.r - 34) + std::abs(blue.g - 80) + std::abs(blue.b - 163), 16);
      int inside = 0, frame = 0;
      for (int py = y; py < bottom; ++py)
        for (int px = x; px < right; ++px) {
          const Rgb p = b.At(px, py);
          inside += p.r != blue.r || p.g != blue.g || p.b != blue.b;
        }
      auto boxAt = [&](int px, int py) { return b.At(px, py).b == blue.b && b.At(px, py).r == blue.r; };
      for (int px = x - 1; px <= right; ++px) frame += boxAt(px, y - 1) + boxAt(px, bottom);
      for (int py = y - 1; py <= bottom; ++py) frame += boxAt(x - 1, py) + boxAt(right, py);
      EXPECT_EQ(inside, 0) << "pixels of the control's rectangle that are not its box";
      EXPECT_EQ(frame, 0) << "pixels around the control that are still its box";
      ++checked;
    }
  }
  // 2 text boxes of the login window, the search box, 16 + 8 + 8 + 14 + 12 set-up fields.
  EXPECT_EQ(checked, 61);
}

// resource.h names, the script's BITMAP statements use the names, the files are by number.
TEST(ResourceScript, IncludesEveryBitmapByItsNumber) {
  const std::string header = SourceFile("resources/resource.h"), script = SourceFile("resources/VTBrowser.rc");
  std::map<std::string, int> names;
  std::regex define(R"(#define\s+(IDB_\w+)\s+(\d+))");
  for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
    names[(*it)[1]] = std::stoi((*it)[2]);
  std::set<int> included;
  std::regex bitmap(R"((IDB_\w+)\s+BITMAP\s+\"bitmap(\d+)\.bmp\")");
  for (std::sregex_iterator it(script.begin(), script.end(), bitmap), end; it != end; ++it) {
    std::string name = (*it)[1];
    ASSERT_TRUE(names.count(name)) << name << " is not defined";
    EXPECT_EQ(names[name], std::stoi((*it)[2])) << name << " names another number's file";
    EXPECT_TRUE(included.insert(names[name]).second) << name << " twice";
  }
  std::set<int> expected;
  for (const auto& [number, e] : ExpectedBitmaps()) expected.insert(number);
  EXPECT_EQ(included, expected);
}

}  // namespace
