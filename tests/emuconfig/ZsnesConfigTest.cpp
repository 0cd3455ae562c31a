#include "emuconfig/ZsnesConfig.h"

#include <gtest/gtest.h>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

using test::EmulatorFolder;

TEST(ZsnesConfig, WorkedExampleLoadsTwelveBindingsAndSavesIdentically) {
  EmulatorFolder f;
  f.PutFixture("zsnesw.cfg");
  const std::string original = f.Get("zsnesw.cfg");
  ASSERT_TRUE(LoadZsnesConfig(f.config, 1));
  const BindingSlot slots[] = {SlotRight, SlotLeft, SlotDown, SlotUp, SlotStart, SlotSelect,
                               SlotB,     SlotY,    SlotA,    SlotX,  SlotL,     SlotR};
  const int codes[] = {205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18};
  const char* names[] = {"Right", "Left", "Down", "Up", "Enter", "R Shift", "X", "Z", "C", "A", "Q", "E"};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(f.config.Code(slots[i]), codes[i]) << i;
    EXPECT_EQ(f.config.DisplayName(slots[i]), names[i]) << i;
  }
  EXPECT_EQ(f.config.scanKeyList, "205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18");
  EXPECT_EQ(f.config.valueTexts[14], "18");
  ASSERT_TRUE(SaveZsnesConfig(f.config, 1));
  EXPECT_EQ(f.Get("zsnesw.cfg"), original);
  EXPECT_TRUE(f.OnlyFileIs("zsnesw.cfg"));
}

TEST(ZsnesConfig, JoystickCaptureForPlayerTwoChangesOnlyItsLine) {
  EmulatorFolder f;
  f.PutFixture("zsnesw.cfg");
  const std::string original = f.Get("zsnesw.cfg");
  ASSERT_TRUE(LoadZsnesConfig(f.config, 2));
  EXPECT_EQ(f.config.Code(SlotUp), 23);
  f.config.Code(SlotA) = 256 + 16 + 2;
  f.config.RefreshSnesNames();
  EXPECT_EQ(f.config.DisplayName(SlotA), "J12");
  ASSERT_TRUE(SaveZsnesConfig(f.config, 2));
  std::string expected = original;
  const std::string before = "ScanKey2 = 38, 36, 37, 23, 25, 24, 34, 35, 48, 49, 18, 19";
  expected.replace(expected.find(before), before.size(), "ScanKey2 = 38, 36, 37, 23, 25, 24, 34, 35, 274, 49, 18, 19");
  EXPECT_EQ(f.Get("zsnesw.cfg"), expected);
  ControllerConfig p1(f.dir.path().string());
  ASSERT_TRUE(LoadZsnesConfig(p1, 1));
  EXPECT_EQ(p1.Code(SlotA), 46);
}

TEST(ZsnesConfig, MalformedLinesLeaveFileAndBindingsAsTheyWere) {
  EmulatorFolder f;
  EXPECT_FALSE(LoadZsnesConfig(f.config, 1));
  EXPECT_FALSE(SaveZsnesConfig(f.config, 1));
  EXPECT_FALSE(std::filesystem::exists(f.Path("zsnesw.cfg")));
  const std::string tenCommas = "ScanKey1 = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11\r\nScanKey2 = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12\r\n";
  ControllerConfig c;
  c.Code(SlotR) = 99;
  EXPECT_FALSE(ReadZsnesBindings(tenCommas, 1, c));
  EXPECT_EQ(c.Code(SlotR), 99);
  EXPECT_FALSE(ReadZsnesBindings("ScanKey1 =", 1, c));
  EXPECT_FALSE(ReadZsnesBindings("ScanKey1\r\n = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12", 1, c));
  EXPECT_FALSE(WriteZsnesBindings("ScanKey1 =", 1, c));
  EXPECT_FALSE(WriteZsnesBindings("; no keys here\r\n", 2, c));
  EXPECT_EQ(c.Code(SlotR), 99);
  // The next line's commas do not count for this one.
  EXPECT_TRUE(ReadZsnesBindings(tenCommas, 2, c));
  EXPECT_EQ(c.Code(SlotR), 12);

  // Other spacing around "=" puts the eleventh character inside the numbers: neither read nor
  // spliced, and the file on disk stays as it was.
  for (const std::string line : {"ScanKey1=205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18\r\n",
                                 "ScanKey1  =  205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18\r\n",
                                 "; ScanKey1 holds player 1's keys\r\nScanKey1 = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12\r\n"}) {
    ControllerConfig d(f.dir.path().string());
    d.Code(SlotR) = 99;
    EXPECT_FALSE(ReadZsnesBindings(line, 1, d)) << line;
    EXPECT_EQ(d.Code(SlotR), 99);
    d.scanKeyList = "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12";
    EXPECT_FALSE(WriteZsnesBindings(line, 1, d)) << line;
    f.Put("zsnesw.cfg", line);
    EXPECT_FALSE(SaveZsnesConfig(d, 1));
    EXPECT_EQ(f.Get("zsnesw.cfg"), line);
  }
}

TEST(ZsnesConfig, BareLineFeedsLongElementsAndOversizedFiles) {
  ControllerConfig c;
  const std::string bare = "a\nScanKey1 = 205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18\nb\n";
  ASSERT_TRUE(ReadZsnesBindings(bare, 1, c));
  EXPECT_EQ(c.Code(SlotR), 18);  // no digit lost to a missing CR
  EXPECT_EQ(WriteZsnesBindings(bare, 1, c), bare);

  const std::string noSpaces = "ScanKey1 = 205,203,208,200,28,54,45,44,46,30,16,18\r\n";
  ASSERT_TRUE(ReadZsnesBindings(noSpaces, 1, c));
  EXPECT_EQ(c.Code(SlotLeft), 203);
  EXPECT_EQ(*WriteZsnesBindings(noSpaces, 1, c), "ScanKey1 = 205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18\r\n");

  const std::string wide = "ScanKey1 = 123456789012, -4, 3, 4, 5, 6, 7, 8, 9, 10, 11, 4000000000";
  ASSERT_TRUE(ReadZsnesBindings(wide, 1, c));
  EXPECT_EQ(c.Code(SlotRight), INT32_MAX);
  EXPECT_EQ(c.Code(SlotLeft), -4);
  EXPECT_EQ(c.Code(SlotR), INT32_MAX);
  EXPECT_EQ(c.valueTexts[3], "123456789012");

  std::string big = std::string(11000, ';') + "\r\n" + test::Fixture("zsnesw.cfg") + std::string(3000, 'q');
  ASSERT_TRUE(ReadZsnesBindings(big, 1, c));
  EXPECT_EQ(WriteZsnesBindings(big, 1, c), big);
}

}  // namespace
}  // namespace vt
