#include "emuconfig/MekaConfig.h"

#include <gtest/gtest.h>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

using test::Replace;

// One binding line as MEKA writes it: the key padded to twenty columns, then "= " and the value.
std::string L(const std::string& name, const std::string& value) {
  std::string key = "player_" + name;
  key.resize(20, ' ');
  return key + "= " + value + "\r\n";
}

const std::string kSample = test::Fixture("meka.inp");

TEST(MekaConfig, PlayerOneReadsKeyboardAndJoypadAndWritesTheSameText) {
  ControllerConfig c;
  ASSERT_TRUE(ReadMekaBindings(kSample, 1, c));
  const std::pair<BindingSlot, int> codes[] = {
      {SlotUp, 0xC8},     {SlotButton1, 0x1D},   {SlotPause, 0x1C},
      {SlotJoyUp, 259},   {SlotJoyRight, 256},   {SlotJoyPause, 281}};
  for (auto [slot, code] : codes) EXPECT_EQ(c.Code(slot), code) << slot;
  EXPECT_EQ(c.DisplayName(SlotButton1), "Left Ctrl");
  EXPECT_EQ(c.DisplayName(SlotJoyUp), "joy stick 0 axis 1 dir 0");
  // Unchanged bindings give the file back byte for byte, the joypad's own reset line included.
  EXPECT_EQ(WriteMekaBindings(kSample, 1, c), kSample);
}

TEST(MekaConfig, LinesThatAreNotBindingsStayWhereTheyAreAndMissingBindingsAreAdded) {
  const std::string text =
      "[Keyboard 1]\r\n" + L("up", "key Up") + "; a comment\r\n" + L("down", "key Down") +
      L("left", "key Left") + L("right", "key Right") + L("button1", "key A") +
      L("button2", "key B") + L("start_pause", "key Enter") + L("reset", "key Backspace") +
      "[Keyboard 2]\r\n" + L("up", "key I") + "[Joypad 1]\r\nplayer              = 1\r\n" +
      L("up", "joy_button 1") + L("down", "joy_button 2") + L("left", "joy_button 3") +
      L("right", "joy_button 4") + L("button1", "joy_button 5") + L("button2", "joy_button 6") +
      L("reset", "joy_button 8") + "[Joypad 2]\r\n";
  ControllerConfig c;
  // Seven joystick values from here on.
  ASSERT_TRUE(ReadMekaBindings(text + L("up", "joy_button 9"), 1, c));
  c.Code(SlotJoyPause) = 256 + 16 + 7;
  c.RefreshMasterSystemNames();
  EXPECT_EQ(WriteMekaBindings(text, 1, c),
            Replace(text, L("button2", "joy_button 6"),
                    L("button2", "joy_button 6") + L("start_pause", "joy_button 7")));
}

TEST(MekaConfig, PlayerOneEditsWriteMekaNamesAndLeavePlayerTwosSections) {
  test::EmulatorFolder f;
  f.PutFixture("meka.inp");
  ASSERT_TRUE(LoadMekaConfig(f.config, 1));
  f.config.Code(SlotUp) = 0x1D;
  f.config.Code(SlotDown) = 0x47;  // keypad 7
  f.config.Code(SlotLeft) = 0x2B;  // no MEKA name
  f.config.Code(SlotJoyDown) = 259;
  f.config.RefreshMasterSystemNames();
  ASSERT_TRUE(SaveMekaConfig(f.config, 1));
  std::string expected =
      Replace(kSample, L("up", "key Up") + L("down", "key Down") + L("left", "key Left"),
              L("up", "key Left Ctrl") + L("down", "key 7") + L("left", "key 2b"));
  expected = Replace(expected, "axis 1 dir 1", "axis 1 dir 0");
  EXPECT_EQ(f.Get("meka.inp"), expected);
  ASSERT_TRUE(LoadMekaConfig(f.config, 1));
  const std::pair<BindingSlot, int> back[] = {
      {SlotUp, 0x1D}, {SlotDown, 0x08} /* the main-row 7 */, {SlotLeft, 0},
      {SlotJoyDown, 259}, {SlotRight, 0xCD}};
  for (auto [slot, code] : back) EXPECT_EQ(f.config.Code(slot), code) << slot;
}

TEST(MekaConfig, PlayerTwoUsesKeyboardOnesPauseAndItsOwnSections) {
  test::EmulatorFolder f;
  f.PutFixture("meka.inp");
  ASSERT_TRUE(LoadMekaConfig(f.config, 2));
  const std::pair<BindingSlot, int> codes[] = {{SlotPause, 0x1C},       {SlotUp, 0x17} /* I */,
                                               {SlotButton2, 0x23} /* H */, {SlotJoyButton1, 274},
                                               {SlotJoyPause, 283}};
  for (auto [slot, code] : codes) EXPECT_EQ(f.config.Code(slot), code) << slot;
  f.config.Code(SlotPause) = 0x39;
  f.config.Code(SlotLeft) = 0xCB;
  f.config.Code(SlotJoyUp) = 272;
  f.config.RefreshMasterSystemNames();
  ASSERT_TRUE(SaveMekaConfig(f.config, 2));
  std::string expected = Replace(kSample, "= key Enter", "= key Space");
  expected = Replace(expected, L("left", "key J"), L("left", "key Left"));
  const std::size_t joy2 = expected.find("[Joypad 2]");
  expected.replace(expected.find("joy stick 0 axis 1 dir 0", joy2), 24, "joy_button 0");
  EXPECT_EQ(f.Get("meka.inp"), expected);
  ASSERT_TRUE(LoadMekaConfig(f.config, 1));
  EXPECT_EQ(f.config.Code(SlotPause), 0x39);
  EXPECT_EQ(f.config.Code(SlotJoyUp), 259);
}

TEST(MekaConfig, MissingOrDisorderedWordsLeaveFileAndBindingsAsTheyWere) {
  test::EmulatorFolder f;
  const std::pair<std::string, std::string> cases[] = {
      {"[Keyboard 1]", "[Keyboard 9]"}, {"[Keyboard 2]", "[Keyboard X]"},
      {"[Joypad 1]", "[Joypad X]"},     {"[Joypad 2]", "[Joypad X]"},
      {"[Mouse 1]", "[Mouse X]"},       {"player_reset        = key", "player_rest         = key"}};
  for (const auto& [word, replacement] : cases) {
    const std::string broken = Replace(kSample, word, replacement);
    for (int player : {1, 2}) {
      // Player 1's writer does not look for "[Keyboard 2]" or "[Mouse 1]".
      if (player == 1 && (word == "[Keyboard 2]" || word == "[Mouse 1]")) continue;
      f.Put("meka.inp", broken);
      EXPECT_FALSE(SaveMekaConfig(f.config, player)) << word << player;
      EXPECT_EQ(f.Get("meka.inp"), broken) << word << player;
      EXPECT_TRUE(f.OnlyFileIs("meka.inp"));
    }
  }
  // Sections swapped: the reset line now stands after "[Joypad 1]".
  const std::size_t k1 = kSample.find("[Keyboard 1]"), j1 = kSample.find("[Joypad 1]"),
                    j2 = kSample.find("[Joypad 2]");
  const std::string swapped = kSample.substr(0, k1) + kSample.substr(j1, j2 - j1) +
                              kSample.substr(k1, j1 - k1) + kSample.substr(j2);
  EXPECT_FALSE(WriteMekaBindings(swapped, 1, f.config));
  ControllerConfig c;
  c.Code(SlotUp) = -5;
  EXPECT_FALSE(ReadMekaBindings(Replace(kSample, "[Joypad 1]", "[Joypad X]"), 1, c));
  const std::string cut = kSample.substr(0, kSample.find(L("start_pause", "joy_button 11")));
  EXPECT_FALSE(ReadMekaBindings(cut, 2, c));
  EXPECT_FALSE(ReadMekaBindings(kSample, 3, c));
  EXPECT_EQ(c.Code(SlotUp), -5);
}

TEST(MekaConfig, BareLineFeedsAndOversizedFilesLoseNothing) {
  std::string bare = kSample;
  for (std::size_t at; (at = bare.find("\r\n")) != std::string::npos;) bare.erase(at, 1);
  ControllerConfig c;
  ASSERT_TRUE(ReadMekaBindings(bare, 1, c));
  EXPECT_EQ(c.Code(SlotRight), 0xCD);  // "Right" keeps its last letter
  EXPECT_EQ(c.Code(SlotJoyPause), 281);
  EXPECT_EQ(WriteMekaBindings(bare, 1, c), bare);
  const std::string big = kSample + std::string(7000, '-') + "\r\n";
  ASSERT_TRUE(ReadMekaBindings(big, 2, c));
  EXPECT_EQ(WriteMekaBindings(big, 2, c), big);
}

// The reader takes values by position and the writer by key word; where the two would not
// agree the file is left alone, since the bindings read would come back under other buttons.
TEST(MekaConfig, SectionsTheReaderTakesOtherwiseAreLeftAlone) {
  const std::string keyboard1 = kSample.substr(kSample.find("[Keyboard 1]"));
  const std::pair<std::string, int> refused[] = {
      // Lines out of order.
      {Replace(Replace(kSample, L("down", "key Down"), L("left", "key Down")),
               L("left", "key Left"), L("down", "key Left")), 1},
      // A binding line twice.
      {Replace(kSample, L("button1", "joy_button 0"), L("button1", "joy_button 0") +
                                                     L("button1", "joy_button 0")), 1},
      // A comment holding the marker.
      {Replace(kSample, L("down", "key K"), "; key X\r\n" + L("down", "key K")), 2},
      // A section twice.
      {Replace(kSample, "[Keyboard 1]",
               keyboard1.substr(0, keyboard1.find("player_reset")) + "[Keyboard 1]"), 1},
      // A line the reader passes over: pause is read from the next section's "type = joypad",
      // nothing a line could hold; left from the right line, which holds no joystick text.
      {Replace(Replace(kSample, "= joy stick 0 axis 0 dir 0", "= jxy stick 0 axis 0 dir 0"),
               "axis 0 dir 1", "axis 0 dirx1"), 1},
      // A lacking line with nothing to write.
      {Replace(kSample, L("start_pause", "joy_button 9") + L("reset", "joy_button 8"), ""), 1},
  };
  for (const auto& [text, player] : refused) {
    ControllerConfig config;
    ReadMekaBindings(text, player, config);
    EXPECT_FALSE(WriteMekaBindings(text, player, config)) << text;
  }
}

}  // namespace
}  // namespace vt
