#include "emuconfig/GestConfig.h"

#include <gtest/gtest.h>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

TEST(GestConfig, BindingsSitAtTheirOffsetsFromTheSixthLineAndTheFileGrowsToTheBuffer) {
  test::EmulatorFolder f;
  std::string file = test::GestFile(100, 4000);
  ASSERT_EQ(file.rfind('\n', 200), 99u);
  file[112] = 0x2D;        // A: X
  file[148] = char(0xC8);  // Up: Up arrow
  file[100 + 341] = 2;     // joystick A: button 2
  file[461] = 31;          // joystick Auto B
  f.Put("gest.cfg", file);
  ASSERT_TRUE(LoadGestConfig(f.config));
  EXPECT_EQ(f.config.Code(SlotA), 0x2D);
  EXPECT_EQ(f.config.Code(SlotUp), 0xC8);
  for (auto [slot, name] : {std::pair{SlotA, "X"}, {SlotUp, "Up"}, {SlotJoyA, "J2"},
                            {SlotJoyAutoB, "J1f"}})
    EXPECT_EQ(f.config.DisplayName(slot), name);
  f.config.Code(SlotB) = 0x2C;
  f.config.Code(SlotJoyStart) = 9;
  ASSERT_TRUE(SaveGestConfig(f.config));
  file[116] = 0x2C;
  file[449] = 9;
  EXPECT_EQ(f.Get("gest.cfg"), file + std::string(kGestBufferBytes - 4000, '\0'));
}

TEST(GestConfig, LongFileKeepsItsBytesBeyondTheBuffer) {
  const std::string file = test::GestFile(300, 15000);
  ControllerConfig c;
  ASSERT_TRUE(ReadGestBindings(file, c));
  EXPECT_EQ(WriteGestBindings(file, c), file);
  c.Code(SlotRight) = 0xCD;
  std::string expected = file;
  expected[360] = char(0xCD);
  EXPECT_EQ(WriteGestBindings(file, c), expected);
}

TEST(GestConfig, SixLinesMustEndWithinTheFirst2048Bytes) {
  test::EmulatorFolder f;
  const std::string five = "1\n2\n3\n4\n5\n" + std::string(3000, 'x') + "\n";
  f.Put("gest.cfg", five);
  f.config.Code(SlotA) = 77;
  EXPECT_FALSE(LoadGestConfig(f.config));
  EXPECT_EQ(f.config.Code(SlotA), 77);
  EXPECT_TRUE(f.config.DisplayName(SlotA).empty());
  EXPECT_FALSE(SaveGestConfig(f.config));
  EXPECT_EQ(f.Get("gest.cfg"), five);
  // The sixth line ends exactly at byte 2047: still found, every binding past the end reads 0.
  ControllerConfig c;
  ASSERT_TRUE(ReadGestBindings(test::GestFile(2048, 2048), c));
  EXPECT_EQ(c.Code(SlotJoyAutoB), 0);
  const auto out = WriteGestBindings(test::GestFile(2048, 2048), c);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->size(), kGestBufferBytes);
  EXPECT_FALSE(ReadGestBindings(test::GestFile(2049, 2100), c));
}

}  // namespace
}  // namespace vt
