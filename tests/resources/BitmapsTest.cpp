// The painter's bitmaps against the resource script: one file for each BITMAP statement, named
// by its number, painted the same twice, keyed only where a skin's corners are rounded off; text
// boxes and fields of the resource script on their painted boxes. (Sizes show where the images
// are used: each skinned window and button takes its image's.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "skin/SkinGeometry.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

const std::set<int> kKeyedSkins = {220, 217, 223, 224, 214, 215, 221};

// A BI_RGB bitmap file of 16 or 24 bits, its pixels read as the skin reads them. A move keeps
// the file's bytes where the view points; a copy would not.
struct Bitmap {
  Bitmap(std::string bytes) : file(std::move(bytes)) {}
  Bitmap(Bitmap&&) = default;
  std::string file;
  skin::PixelView view;
  skin::Rgb At(int x, int y) const { return skin::PixelAt(view, x, y); }
  bool IsKey(int x, int y) const { return At(x, y) == skin::kTransparentKey; }
};

std::uint32_t Le(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
  return v;
}

::testing::AssertionResult Decode(Bitmap& b) {
  const std::string& f = b.file;
  if (f.size() < 54 || f.compare(0, 2, "BM") != 0 || Le(f, 2, 4) != f.size())
    return ::testing::AssertionFailure() << "not a bitmap file of its own size";
  const int w = static_cast<std::int32_t>(Le(f, 18, 4));
  const int h = static_cast<std::int32_t>(Le(f, 22, 4));
  const int bits = static_cast<int>(Le(f, 28, 2));
  const std::uint32_t offset = Le(f, 10, 4);
  if (Le(f, 14, 4) != 40 || Le(f, 26, 2) != 1 || Le(f, 30, 4) != 0 || (bits != 16 && bits != 24))
    return ::testing::AssertionFailure() << "not an uncompressed 16 or 24-bit info header";
  const std::size_t stride = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
  if (w <= 0 || h <= 0 || offset + stride * h != f.size())
    return ::testing::AssertionFailure() << "not bottom-up, or pixels that do not fit";
  b.view = {reinterpret_cast<const std::uint8_t*>(f.data()) + offset,
            stride * h,
            w,
            h,
            static_cast<std::ptrdiff_t>(stride),
            true,
            bits == 24 ? skin::PixelFormat::Bgr24 : skin::PixelFormat::Masked16,
            0x7C00,
            0x03E0,
            0x001F};
  return ::testing::AssertionSuccess();
}

// The real painter with its arguments; its exit status.
int Paint(const std::string& arguments) {
  return std::system((std::string("\"") + VT_PAINTER_PATH + "\" " + arguments).c_str());
}

std::string SourceFile(const std::string& name) {
  return test::ReadFileBytes(std::string(VT_SOURCE_DIR) + "/" + name);
}

// Runs the real painter once for the whole suite.
class PaintedBitmaps : public ::testing::Test {
protected:
  static void SetUpTestSuite() { status_ = Paint("bitmaps \"" + dir_.path().string() + "\""); }
  void SetUp() override { ASSERT_EQ(status_, 0) << "the painter failed"; }

  static Bitmap Load(int number) {
    Bitmap b(test::ReadFileBytes(dir_.File("bitmap" + std::to_string(number) + ".bmp")));
    EXPECT_TRUE(Decode(b)) << "bitmap " << number;
    return b;
  }

  static inline test::TempDir dir_;
  static inline int status_ = -1;
};

// Each BITMAP statement names its image by the resource.h name of the number in its file name.
TEST_F(PaintedBitmaps, EveryBitmapOfTheScriptIsPaintedTheSameTwiceAndKeyedOnlyIfRounded) {
  test::TempDir again;
  ASSERT_EQ(Paint("bitmaps \"" + again.path().string() + "\""), 0);
  std::set<std::string> files, wanted;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    files.insert(entry.path().filename().string());
  const std::string header = SourceFile("resources/resource.h");
  const std::string script = SourceFile("resources/WindowResources.rc");
  const std::regex statement(R"re((IDB_\w+) BITMAP "(bitmap(\d+)\.bmp)")re");
  for (std::sregex_iterator it(script.begin(), script.end(), statement), end; it != end; ++it) {
    const std::string name = (*it)[2];
    const int number = std::stoi((*it)[3]);
    wanted.insert(name);
    EXPECT_TRUE(std::regex_search(header, std::regex("#define\\s+" + (*it)[1].str() + "\\s+" +
                                                     std::to_string(number) + "\\s")))
        << name;
    const Bitmap b = Load(number);
    const int w = b.view.width, h = b.view.height;
    EXPECT_TRUE(b.file == test::ReadFileBytes(again.File(name))) << name << " differs";
    // One run of face per row: the whole row, but where a keyed skin's rounded corners are key.
    const bool keyed = kKeyedSkins.count(number) == 1;
    const auto runs = skin::KeyedRuns(b.view).value_or(std::vector<skin::Rect>{});
    EXPECT_EQ(runs.size(), static_cast<size_t>(h)) << name << ": not one run per row";
    EXPECT_EQ(b.IsKey(0, 0) && b.IsKey(w - 1, h - 1), keyed) << name << ": corners";
    for (const skin::Rect& r : runs)
      EXPECT_TRUE(keyed || r.right - r.left == w) << name << ": key pixels in row " << r.top;
  }
  EXPECT_EQ(files, wanted);
}

// Text boxes and set-up fields lie on the boxes painted for them: every pixel of the control's
// rectangle, as the dialog manager places it with the 6 x 13 base units the painter designs
// for (position and size each converted on its own), is the box's blue, and the pixels just
// outside are its frame. The rectangles come from the resource script itself.
TEST_F(PaintedBitmaps, TextBoxesAndFieldsOfTheScriptLieExactlyOnTheirPaintedBoxes) {
  const std::string script = SourceFile("resources/WindowResources.rc");
  const std::map<std::string, int> backgrounds = {
      {"IDD_BROWSER", 213}, {"IDD_LOGIN", 220}, {"IDD_GBCC", 277}, {"IDD_GENC", 249},
      {"IDD_NESC", 251},    {"IDD_SMSC", 289},  {"IDD_SNESC", 239}};
  auto mapX = [](const std::string& du) { return (std::stoi(du) * 6 + 2) / 4; };
  auto mapY = [](const std::string& du) { return (std::stoi(du) * 13 + 4) / 8; };
  const std::regex block(R"((IDD_\w+) DIALOGEX[^\n]*\n([\s\S]*?)\nEND)");
  const std::regex box(
      R"((?:EDITTEXT|CTEXT\s+"")\s*,?\s*(\w+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+))");
  int checked = 0;
  for (std::sregex_iterator it(script.begin(), script.end(), block), end; it != end; ++it) {
    const auto found = backgrounds.find((*it)[1]);
    if (found == backgrounds.end()) continue;
    const Bitmap b = Load(found->second);
    const std::string body = (*it)[2];
    for (std::sregex_iterator f(body.begin(), body.end(), box); f != end; ++f, ++checked) {
      SCOPED_TRACE(std::string((*it)[1]) + " " + std::string((*f)[1]));
      const int x = mapX((*f)[2]), y = mapY((*f)[3]);
      const int right = x + mapX((*f)[4]), bottom = y + mapY((*f)[5]);
      const skin::Rgb blue = b.At(x, y);
      EXPECT_LT(std::abs(blue.r - 34) + std::abs(blue.g - 80) + std::abs(blue.b - 163), 16);
      auto onBox = [&](int px, int py) {
        const bool inside = px >= 0 && py >= 0 && px < b.view.width && py < b.view.height;
        return inside && b.At(px, py) == blue;
      };
      int inside = 0, frame = 0;
      for (int py = y; py < bottom; ++py)
        for (int px = x; px < right; ++px) inside += !onBox(px, py);
      for (int px = x - 1; px <= right; ++px) frame += onBox(px, y - 1) + onBox(px, bottom);
      for (int py = y - 1; py <= bottom; ++py) frame += onBox(x - 1, py) + onBox(right, py);
      EXPECT_EQ(inside, 0) << "pixels of the control's rectangle that are not its box";
      EXPECT_EQ(frame, 0) << "pixels around the control that are still its box";
    }
  }
  // 2 text boxes of the login window, the search box, 16 + 8 + 8 + 14 + 12 set-up fields.
  EXPECT_EQ(checked, 61);
}

}  // namespace
}  // namespace vt
