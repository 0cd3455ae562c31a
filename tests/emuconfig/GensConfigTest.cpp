#include "emuconfig/GensConfig.h"

#include <gtest/gtest.h>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

using test::EmulatorFolder;
using test::Replace;

const std::string kWorkedExample =
    "P1.Up=200\r\nP1.Down=208\r\nP1.Left=203\r\nP1.Right=205\r\n"
    "P1.Start=28\r\nP1.A=30\r\nP1.B=31\r\nP1.C=32\r\n";

TEST(GensConfig, WorkedExampleLoadsCodesAndNamesAndSavesIdentically) {
  EmulatorFolder f;
  f.Put("gens.cfg", kWorkedExample);
  ASSERT_TRUE(LoadGensConfig(f.config, 1));
  const BindingSlot slots[] = {SlotUp, SlotDown, SlotLeft, SlotRight, SlotStart, SlotA, SlotB, SlotC};
  const int codes[] = {200, 208, 203, 205, 28, 30, 31, 32};
  const char* names[] = {"Up", "Down", "Left", "Right", "Enter", "A", "S", "D"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(f.config.Code(slots[i]), codes[i]);
    EXPECT_EQ(f.config.DisplayName(slots[i]), names[i]);
  }
  EXPECT_EQ(f.config.valueTexts[9], "32");
  ASSERT_TRUE(SaveGensConfig(f.config, 1));
  EXPECT_EQ(f.Get("gens.cfg"), kWorkedExample);
  EXPECT_TRUE(f.OnlyFileIs("gens.cfg"));
}

TEST(GensConfig, FullFileRoundTripsForBothPlayers) {
  EmulatorFolder f;
  f.PutFixture("gens.cfg");
  const std::string original = f.Get("gens.cfg");
  for (int player : {1, 2}) {
    ASSERT_TRUE(LoadGensConfig(f.config, player));
    ASSERT_TRUE(SaveGensConfig(f.config, player));
    EXPECT_EQ(f.Get("gens.cfg"), original) << player;
  }
  EXPECT_EQ(f.config.Code(SlotUp), 4097);
  EXPECT_EQ(f.config.DisplayName(SlotC), "Jf13");
}

TEST(GensConfig, CapturedJoystickUpRewritesOnlyThatPlayersBlock) {
  EmulatorFolder f;
  f.PutFixture("gens.cfg");
  const std::string original = f.Get("gens.cfg");
  ASSERT_TRUE(LoadGensConfig(f.config, 1));
  f.config.Code(SlotUp) = 0x1001;
  f.config.RefreshGenesisNames();
  EXPECT_EQ(f.config.DisplayName(SlotUp), "Jf01");
  ASSERT_TRUE(SaveGensConfig(f.config, 1));
  std::string expected = original;
  expected.replace(expected.find("P1.Up=200"), 9, "P1.Up=4097");
  EXPECT_EQ(f.Get("gens.cfg"), expected);

  ASSERT_TRUE(LoadGensConfig(f.config, 2));
  f.config.Code(SlotC) = 44;
  f.config.RefreshGenesisNames();
  ASSERT_TRUE(SaveGensConfig(f.config, 2));
  expected.replace(expected.find("P2.C=4115"), 9, "P2.C=44");
  EXPECT_EQ(f.Get("gens.cfg"), expected);
  ControllerConfig again(f.dir.path().string());
  ASSERT_TRUE(LoadGensConfig(again, 1));
  EXPECT_EQ(again.Code(SlotUp), 4097);
}

TEST(GensConfig, MissingTextLeavesFileAndBindingsAsTheyWere) {
  EmulatorFolder f;
  EXPECT_FALSE(LoadGensConfig(f.config, 1));
  EXPECT_FALSE(SaveGensConfig(f.config, 1));
  EXPECT_FALSE(std::filesystem::exists(f.Path("gens.cfg")));

  const std::string noC = "[Input]\r\nP1.Up=200\r\nP1.Down=208\r\nP1.Left=203\r\nP1.Right=205\r\nP1.Start=28\r\nP1.A=30\r\nP1.B=31\r\n";
  const std::string cFirst = "P1.C=32\r\nP1.Up=200\r\nP1.Down=208\r\nP1.Left=203\r\nP1.Right=205\r\nP1.Start=28\r\nP1.A=30\r\nP1.B=31\r\n";
  for (const std::string& text : {noC, cFirst, std::string("P1.Up"), std::string()}) {
    f.Put("gens.cfg", text);
    f.config.Code(SlotUp) = 77;
    f.config.valueTexts[0] = "77";
    if (text != cFirst) {
      EXPECT_FALSE(LoadGensConfig(f.config, 1));
    }
    EXPECT_FALSE(SaveGensConfig(f.config, 1));
    EXPECT_EQ(f.Get("gens.cfg"), text);
    EXPECT_TRUE(f.OnlyFileIs("gens.cfg"));
  }
  EXPECT_FALSE(LoadGensConfig(f.config, 3));
}

TEST(GensConfig, BareLineFeedsLongValuesAndOversizedFilesKeepEveryByte) {
  std::string bare = kWorkedExample;
  for (std::size_t at; (at = bare.find("\r\n")) != std::string::npos;) bare.erase(at, 1);
  ControllerConfig c;
  ASSERT_TRUE(ReadGensBindings(bare, 1, c));
  EXPECT_EQ(c.Code(SlotC), 32);
  EXPECT_EQ(c.valueTexts[9], "32");
  EXPECT_EQ(WriteGensBindings(bare, 1, c), bare);

  std::string longValue = kWorkedExample;
  longValue.insert(longValue.find("208") + 3, std::string(5000, '7'));
  ASSERT_TRUE(ReadGensBindings(longValue, 1, c));
  EXPECT_EQ(c.Code(SlotDown), INT32_MAX);
  EXPECT_EQ(WriteGensBindings(longValue, 1, c), longValue);

  // Well past the emulator's 10240-byte buffer; nothing after it may be lost.
  std::string big = test::Fixture("gens.cfg") + "[Extra]\r\n" + std::string(12000, 'z') + "\r\n";
  ASSERT_TRUE(ReadGensBindings(big, 1, c));
  c.Code(SlotA) = 45;
  c.RefreshGenesisNames();
  auto out = WriteGensBindings(big, 1, c);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->size(), big.size());
  EXPECT_EQ(out->substr(out->size() - 12002), big.substr(big.size() - 12002));
  EXPECT_NE(out->find("P1.A=45\r\nP1.B=31\r\n"), std::string::npos);

  // The C line as the last bytes, without a line end.
  std::string unterminated = kWorkedExample.substr(0, kWorkedExample.size() - 2);
  ASSERT_TRUE(ReadGensBindings(unterminated, 1, c));
  EXPECT_EQ(WriteGensBindings(unterminated, 1, c), unterminated);
}

// The writer replaces the block whole and the reader takes each key's first line, so a block
// that is not exactly the eight lines the reader takes is left alone: rewriting it would lose a
// line or write a binding the reader never sees.
TEST(GensConfig, ABlockTheReaderDoesNotTakeWholeIsLeftAlone) {
  struct Case {
    const char* what;
    std::string text;
  };
  const Case refused[] = {
      {"a line inside the block", Replace(kWorkedExample, "P1.Left=", "P1.Turbo=1\r\nP1.Left=")},
      {"a key read before the block", "P1.Right=99\r\n" + kWorkedExample},
      {"keys out of order", Replace(Replace(kWorkedExample, "P1.Down=208", "P1.Left=203"), "P1.Left=203\r\nP1.Right", "P1.Down=208\r\nP1.Right")},
  };
  for (const Case& c : refused) {
    ControllerConfig config;
    ReadGensBindings(c.text, 1, config);
    EXPECT_FALSE(WriteGensBindings(c.text, 1, config)) << c.what;
  }

  // A key name inside another line is no key, and a stray CR before the line end is no value.
  const std::string text = "Note=P1.C and P1.Up\r\nP1.Config=1\r\n" + Replace(kWorkedExample, "203\r\n", "203\r\r\n");
  ControllerConfig config;
  ASSERT_TRUE(ReadGensBindings(text, 1, config));
  EXPECT_EQ(config.valueTexts[2], "203");
  config.Code(SlotC) = 45;
  config.RefreshGenesisNames();
  EXPECT_EQ(WriteGensBindings(text, 1, config),
            "Note=P1.C and P1.Up\r\nP1.Config=1\r\n" + Replace(kWorkedExample, "P1.C=32", "P1.C=45"));
}

}  // namespace
}  // namespace vt
