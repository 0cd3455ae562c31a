#include "emuconfig/GestConfig.h"

#include <gtest/gtest.h>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

using test::EmulatorFolder;
using test::GestFile;

TEST(GestConfig, BindingsSitAtTheirOffsetsFromTheSixthLine) {
  EmulatorFolder f;
  std::string file = GestFile(100, 4000);
  ASSERT_EQ(file.rfind('\n', 200), 99u);
  file[112] = 0x2D;           // A: X
  file[148] = char(0xC8);     // Up: Up arrow
  file[100 + 341] = 2;        // joystick A: button 2
  file[461] = 31;             // joystick Auto B
  f.Put("gest.cfg", file);
  ASSERT_TRUE(LoadGestConfig(f.config));
  EXPECT_EQ(f.config.Code(SlotA), 0x2D);
  EXPECT_EQ(f.config.DisplayName(SlotA), "X");
  EXPECT_EQ(f.config.Code(SlotUp), 0xC8);
  EXPECT_EQ(f.config.DisplayName(SlotUp), "Up");
  EXPECT_EQ(f.config.DisplayName(SlotJoyA), "J2");
  EXPECT_EQ(f.config.DisplayName(SlotJoyAutoB), "J1f");

  f.config.Code(SlotB) = 0x2C;
  f.config.Code(SlotJoyStart) = 9;
  ASSERT_TRUE(SaveGestConfig(f.config));
  std::string saved = f.Get("gest.cfg");
  ASSERT_EQ(saved.size(), kGestBufferBytes);
  std::string expected = file;
  expected[116] = 0x2C;
  expected[449] = 9;
  EXPECT_EQ(saved.substr(0, 4000), expected);
  EXPECT_EQ(saved.substr(4000), std::string(kGestBufferBytes - 4000, '\0'));
  EXPECT_TRUE(f.OnlyFileIs("gest.cfg"));
}

TEST(GestConfig, LongFileKeepsItsBytesBeyondTheBuffer) {
  EmulatorFolder f;
  const std::string file = GestFile(300, 15000);
  f.Put("gest.cfg", file);
  ASSERT_TRUE(LoadGestConfig(f.config));
  ASSERT_TRUE(SaveGestConfig(f.config));
  EXPECT_EQ(f.Get("gest.cfg"), file);
  f.config.Code(SlotRight) = 0xCD;
  ASSERT_TRUE(SaveGestConfig(f.config));
  std::string expected = file;
  expected[360] = char(0xCD);
  EXPECT_EQ(f.Get("gest.cfg"), expected);
}

TEST(GestConfig, FewerThanSixLinesInTheFirst2048BytesIsLeftAlone) {
  EmulatorFolder f;
  EXPECT_FALSE(LoadGestConfig(f.config));
  EXPECT_FALSE(SaveGestConfig(f.config));
  EXPECT_FALSE(std::filesystem::exists(f.Path("gest.cfg")));
  std::string five = "1\n2\n3\n4\n5\n" + std::string(3000, 'x') + "\n";
  f.Put("gest.cfg", five);
  f.config.Code(SlotA) = 77;
  EXPECT_FALSE(LoadGestConfig(f.config));
  EXPECT_EQ(f.config.Code(SlotA), 77);
  EXPECT_TRUE(f.config.DisplayName(SlotA).empty());
  EXPECT_FALSE(SaveGestConfig(f.config));
  EXPECT_EQ(f.Get("gest.cfg"), five);

  // The sixth line ends exactly at byte 2047: still found.
  std::string edge = GestFile(2048, 2048);
  ControllerConfig c;
  ASSERT_TRUE(ReadGestBindings(edge, c));  // every binding lies past the end: read as 0
  EXPECT_EQ(c.Code(SlotJoyAutoB), 0);
  auto out = WriteGestBindings(edge, c);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->size(), kGestBufferBytes);
  EXPECT_FALSE(ReadGestBindings(GestFile(2049, 2100), c));
}

}  // namespace
}  // namespace vt
