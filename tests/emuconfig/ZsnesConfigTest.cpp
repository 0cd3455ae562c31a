#include "emuconfig/ZsnesConfig.h"

#include <gtest/gtest.h>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

const std::string kKeys1 = "ScanKey1 = 205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18";

TEST(ZsnesConfig, WorkedExampleGivesTwelveCodesAndNamesAndTheSameText) {
  const std::string original = test::Fixture("zsnesw.cfg");
  ControllerConfig c;
  ASSERT_TRUE(ReadZsnesBindings(original, 1, c));
  const BindingSlot slots[] = {SlotRight, SlotLeft, SlotDown, SlotUp, SlotStart, SlotSelect,
                               SlotB,     SlotY,    SlotA,    SlotX,  SlotL,     SlotR};
  const int codes[] = {205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18};
  const char* names[] = {"Right", "Left", "Down", "Up", "Enter", "R Shift",
                         "X",     "Z",    "C",    "A",  "Q",     "E"};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(c.Code(slots[i]), codes[i]) << i;
    EXPECT_EQ(c.DisplayName(slots[i]), names[i]) << i;
  }
  EXPECT_EQ(c.scanKeyList, kKeys1.substr(11));
  EXPECT_EQ(c.valueTexts[14], "18");
  EXPECT_EQ(WriteZsnesBindings(original, 1, c), original);
}

TEST(ZsnesConfig, JoystickCaptureForPlayerTwoChangesOnlyItsLine) {
  test::EmulatorFolder f;
  f.PutFixture("zsnesw.cfg");
  const std::string original = f.Get("zsnesw.cfg");
  ASSERT_TRUE(LoadZsnesConfig(f.config, 2));
  EXPECT_EQ(f.config.Code(SlotUp), 23);
  f.config.Code(SlotA) = 256 + 16 + 2;
  f.config.RefreshSnesNames();
  EXPECT_EQ(f.config.DisplayName(SlotA), "J12");
  ASSERT_TRUE(SaveZsnesConfig(f.config, 2));
  EXPECT_EQ(f.Get("zsnesw.cfg"), test::Replace(original, "34, 35, 48, 49,", "34, 35, 274, 49,"));
  ASSERT_TRUE(LoadZsnesConfig(f.config, 1));
  EXPECT_EQ(f.config.Code(SlotA), 46);
}

TEST(ZsnesConfig, MalformedLinesLeaveFileAndBindingsAsTheyWere) {
  test::EmulatorFolder f;
  const std::string elevenThenTwelve = "ScanKey1 = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11\r\n"
                                       "ScanKey2 = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12\r\n";
  f.config.Code(SlotR) = 99;
  EXPECT_FALSE(ReadZsnesBindings(elevenThenTwelve, 1, f.config));
  EXPECT_EQ(f.config.Code(SlotR), 99);
  // The next line's commas do not count for this one.
  EXPECT_TRUE(ReadZsnesBindings(elevenThenTwelve, 2, f.config));
  EXPECT_EQ(f.config.Code(SlotR), 12);
  // Other spacing around "=" puts the eleventh character inside the numbers: neither read nor
  // spliced.
  const std::string twelve = " 205, 203, 208, 200, 28, 54, 45, 44, 46, 30, 16, 18\r\n";
  for (const std::string& text : std::vector<std::string>{
           "ScanKey1 =", "ScanKey1\r\n =" + twelve, "; no keys here\r\n",
           "ScanKey1=" + twelve.substr(1),
           "ScanKey1  = " + twelve, "; ScanKey1 holds player 1's keys\r\nScanKey1 =" + twelve}) {
    SCOPED_TRACE(text);
    f.Put("zsnesw.cfg", text);
    f.config.Code(SlotR) = 99;
    f.config.scanKeyList = "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12";
    EXPECT_FALSE(LoadZsnesConfig(f.config, 1));
    EXPECT_EQ(f.config.Code(SlotR), 99);
    EXPECT_FALSE(SaveZsnesConfig(f.config, 1));
    EXPECT_EQ(f.Get("zsnesw.cfg"), text);
  }
}

TEST(ZsnesConfig, BareLineFeedsLongElementsAndOversizedFiles) {
  ControllerConfig c;
  const std::string bare = "a\n" + kKeys1 + "\nb\n";
  ASSERT_TRUE(ReadZsnesBindings(bare, 1, c));
  EXPECT_EQ(c.Code(SlotR), 18);  // no digit lost to a missing CR
  EXPECT_EQ(WriteZsnesBindings(bare, 1, c), bare);

  const std::string noSpaces = "ScanKey1 = 205,203,208,200,28,54,45,44,46,30,16,18\r\n";
  ASSERT_TRUE(ReadZsnesBindings(noSpaces, 1, c));
  EXPECT_EQ(c.Code(SlotLeft), 203);
  EXPECT_EQ(WriteZsnesBindings(noSpaces, 1, c), kKeys1 + "\r\n");

  const std::string wide = "ScanKey1 = 123456789012, -4, 3, 4, 5, 6, 7, 8, 9, 10, 11, 4000000000";
  ASSERT_TRUE(ReadZsnesBindings(wide, 1, c));
  EXPECT_EQ(c.Code(SlotRight), INT32_MAX);
  EXPECT_EQ(c.Code(SlotLeft), -4);
  EXPECT_EQ(c.Code(SlotR), INT32_MAX);
  EXPECT_EQ(c.valueTexts[3], "123456789012");

  const std::string big =
      std::string(11000, ';') + "\r\n" + test::Fixture("zsnesw.cfg") + std::string(3000, 'q');
  ASSERT_TRUE(ReadZsnesBindings(big, 1, c));
  EXPECT_EQ(WriteZsnesBindings(big, 1, c), big);
}

}  // namespace
}  // namespace vt
