#include "emuconfig/GensConfig.h"

#include <gtest/gtest.h>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

using test::Replace;

const std::string kWorkedExample =
    "P1.Up=200\r\nP1.Down=208\r\nP1.Left=203\r\nP1.Right=205\r\n"
    "P1.Start=28\r\nP1.A=30\r\nP1.B=31\r\nP1.C=32\r\n";

TEST(GensConfig, WorkedExampleGivesCodesAndNamesAndTheSameText) {
  ControllerConfig c;
  ASSERT_TRUE(ReadGensBindings(kWorkedExample, 1, c));
  const BindingSlot slots[] = {SlotUp,    SlotDown, SlotLeft, SlotRight,
                               SlotStart, SlotA,    SlotB,    SlotC};
  const int codes[] = {200, 208, 203, 205, 28, 30, 31, 32};
  const char* names[] = {"Up", "Down", "Left", "Right", "Enter", "A", "S", "D"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(c.Code(slots[i]), codes[i]);
    EXPECT_EQ(c.DisplayName(slots[i]), names[i]);
  }
  EXPECT_EQ(c.valueTexts[9], "32");
  EXPECT_EQ(WriteGensBindings(kWorkedExample, 1, c), kWorkedExample);
}

TEST(GensConfig, CapturedBindingsRewriteOnlyTheirPlayersBlock) {
  test::EmulatorFolder f;
  f.PutFixture("gens.cfg");
  std::string expected = f.Get("gens.cfg");
  ASSERT_TRUE(LoadGensConfig(f.config, 1));
  EXPECT_EQ(f.config.Code(SlotUp), 200);
  f.config.Code(SlotUp) = 0x1001;
  f.config.RefreshGenesisNames();
  EXPECT_EQ(f.config.DisplayName(SlotUp), "Jf01");
  ASSERT_TRUE(SaveGensConfig(f.config, 1));
  expected = Replace(expected, "P1.Up=200", "P1.Up=4097");
  EXPECT_EQ(f.Get("gens.cfg"), expected);

  ASSERT_TRUE(LoadGensConfig(f.config, 2));
  EXPECT_EQ(f.config.DisplayName(SlotC), "Jf13");
  f.config.Code(SlotC) = 44;
  f.config.RefreshGenesisNames();
  ASSERT_TRUE(SaveGensConfig(f.config, 2));
  EXPECT_EQ(f.Get("gens.cfg"), Replace(expected, "P2.C=4115", "P2.C=44"));
  EXPECT_TRUE(LoadGensConfig(f.config, 1));
  EXPECT_EQ(f.config.Code(SlotUp), 4097);
  EXPECT_FALSE(LoadGensConfig(f.config, 3));
}

TEST(GensConfig, TextWithoutTheWholeBlockLeavesFileAndBindingsAsTheyWere) {
  test::EmulatorFolder f;
  const std::string noC = kWorkedExample.substr(0, kWorkedExample.find("P1.C"));
  const std::string cFirst = "P1.C=32\r\n" + noC;
  for (const std::string& text : {noC, cFirst, std::string("P1.Up"), std::string()}) {
    f.Put("gens.cfg", text);
    f.config.Code(SlotUp) = 77;
    f.config.valueTexts[0] = "77";
    EXPECT_EQ(LoadGensConfig(f.config, 1), text == cFirst);
    EXPECT_EQ(f.config.Code(SlotUp), text == cFirst ? 200 : 77);
    EXPECT_FALSE(SaveGensConfig(f.config, 1));
    EXPECT_EQ(f.Get("gens.cfg"), text);
    EXPECT_TRUE(f.OnlyFileIs("gens.cfg"));
  }
}

TEST(GensConfig, BareLineFeedsLongValuesAndOversizedFilesKeepEveryByte) {
  std::string bare = kWorkedExample;
  for (std::size_t at; (at = bare.find("\r\n")) != std::string::npos;) bare.erase(at, 1);
  std::string longValue = kWorkedExample;
  longValue.insert(longValue.find("208") + 3, std::string(5000, '7'));
  // The C line as the last bytes, without a line end.
  const std::string unterminated = kWorkedExample.substr(0, kWorkedExample.size() - 2);
  for (const std::string& text : {bare, longValue, unterminated}) {
    ControllerConfig c;
    ASSERT_TRUE(ReadGensBindings(text, 1, c));
    EXPECT_EQ(c.valueTexts[9], "32");
    EXPECT_EQ(WriteGensBindings(text, 1, c), text);
  }
  ControllerConfig c;
  ASSERT_TRUE(ReadGensBindings(longValue, 1, c));
  EXPECT_EQ(c.Code(SlotDown), INT32_MAX);

  // Well past the emulator's 10240-byte buffer; nothing after it may be lost.
  const std::string tail = "[Extra]\r\n" + std::string(12000, 'z') + "\r\n";
  const std::string big = test::Fixture("gens.cfg") + tail;
  ASSERT_TRUE(ReadGensBindings(big, 1, c));
  c.Code(SlotA) = 45;
  c.RefreshGenesisNames();
  EXPECT_EQ(WriteGensBindings(big, 1, c), Replace(big, "P1.A=30\r\n", "P1.A=45\r\n"));
}

// The writer replaces the block whole and the reader takes each key's first line, so a block
// that is not exactly the eight lines the reader takes is left alone: rewriting it would lose a
// line or write a binding the reader never sees.
TEST(GensConfig, ABlockTheReaderDoesNotTakeWholeIsLeftAlone) {
  const std::string swapped = Replace(Replace(kWorkedExample, "P1.Down=208", "P1.Left=203"),
                                      "P1.Left=203\r\nP1.Right", "P1.Down=208\r\nP1.Right");
  for (const std::string& text : {Replace(kWorkedExample, "P1.Left=", "P1.Turbo=1\r\nP1.Left="),
                                  "P1.Right=99\r\n" + kWorkedExample, swapped}) {
    ControllerConfig config;
    ReadGensBindings(text, 1, config);
    EXPECT_FALSE(WriteGensBindings(text, 1, config)) << text;
  }
  // A key name inside another line is no key, and a stray CR before the line end is no value.
  const std::string head = "Note=P1.C and P1.Up\r\nP1.Config=1\r\n";
  const std::string text = head + Replace(kWorkedExample, "203\r\n", "203\r\r\n");
  ControllerConfig config;
  ASSERT_TRUE(ReadGensBindings(text, 1, config));
  EXPECT_EQ(config.valueTexts[2], "203");
  config.Code(SlotC) = 45;
  config.RefreshGenesisNames();
  EXPECT_EQ(WriteGensBindings(text, 1, config),
            head + Replace(kWorkedExample, "P1.C=32", "P1.C=45"));
}

}  // namespace
}  // namespace vt
