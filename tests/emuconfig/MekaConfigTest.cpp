#include "emuconfig/MekaConfig.h"

#include <gtest/gtest.h>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

using test::EmulatorFolder;
using test::Replace;

TEST(MekaConfig, PlayerOneLoadsKeyboardAndJoypadAndSavesIdentically) {
  EmulatorFolder f;
  f.PutFixture("meka.inp");
  const std::string original = f.Get("meka.inp");
  ASSERT_TRUE(LoadMekaConfig(f.config, 1));
  EXPECT_EQ(f.config.Code(SlotUp), 0xC8);
  EXPECT_EQ(f.config.Code(SlotButton1), 0x1D);
  EXPECT_EQ(f.config.DisplayName(SlotButton1), "Left Ctrl");
  EXPECT_EQ(f.config.Code(SlotPause), 0x1C);
  EXPECT_EQ(f.config.Code(SlotJoyUp), 259);
  EXPECT_EQ(f.config.Code(SlotJoyRight), 256);
  EXPECT_EQ(f.config.Code(SlotJoyPause), 281);
  EXPECT_EQ(f.config.DisplayName(SlotJoyUp), "joy stick 0 axis 1 dir 0");
  ASSERT_TRUE(SaveMekaConfig(f.config, 1));
  // Unchanged bindings give the file back byte for byte, the joypad's own reset line included.
  EXPECT_EQ(f.Get("meka.inp"), original);
  EXPECT_TRUE(f.OnlyFileIs("meka.inp"));
}

TEST(MekaConfig, LinesThatAreNotBindingsStayWhereTheyAreAndMissingBindingsAreAdded) {
  const std::string text =
      "[Keyboard 1]\r\nplayer_up           = key Up\r\n; a comment\r\nplayer_down         = key Down\r\n"
      "player_left         = key Left\r\nplayer_right        = key Right\r\nplayer_button1      = key A\r\n"
      "player_button2      = key B\r\nplayer_start_pause  = key Enter\r\nplayer_reset        = key Backspace\r\n"
      "[Keyboard 2]\r\nplayer_up           = key I\r\n[Joypad 1]\r\nplayer              = 1\r\n"
      "player_up           = joy_button 1\r\nplayer_down         = joy_button 2\r\nplayer_left         = joy_button 3\r\n"
      "player_right        = joy_button 4\r\nplayer_button1      = joy_button 5\r\nplayer_button2      = joy_button 6\r\n"
      "player_reset        = joy_button 8\r\n[Joypad 2]\r\n";
  ControllerConfig c;
  ASSERT_TRUE(ReadMekaBindings(text + "player_up = joy_button 9\r\n", 1, c)) << "seven joy values from here on";
  c.Code(SlotJoyPause) = 256 + 16 + 7;
  c.RefreshMasterSystemNames();
  auto out = WriteMekaBindings(text, 1, c);
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, Replace(text, "player_button2      = joy_button 6\r\n",
                          "player_button2      = joy_button 6\r\nplayer_start_pause  = joy_button 7\r\n"));
}

TEST(MekaConfig, PlayerOneEditsWriteMekaNames) {
  EmulatorFolder f;
  f.PutFixture("meka.inp");
  ASSERT_TRUE(LoadMekaConfig(f.config, 1));
  f.config.Code(SlotUp) = 0x1D;
  f.config.Code(SlotDown) = 0x47;    // keypad 7
  f.config.Code(SlotLeft) = 0x2B;    // no MEKA name
  f.config.Code(SlotJoyDown) = 259;
  f.config.RefreshMasterSystemNames();
  ASSERT_TRUE(SaveMekaConfig(f.config, 1));
  const std::string saved = f.Get("meka.inp");
  EXPECT_NE(saved.find("\r\nplayer_up           = key Left Ctrl\r\nplayer_down         = key 7\r\n"
                       "player_left         = key 2b\r\n"),
            std::string::npos);
  EXPECT_NE(saved.find("player_down         = joy stick 0 axis 1 dir 0\r\n"), std::string::npos);
  ControllerConfig back(f.dir.path().string());
  ASSERT_TRUE(LoadMekaConfig(back, 1));
  EXPECT_EQ(back.Code(SlotUp), 0x1D);
  EXPECT_EQ(back.Code(SlotDown), 0x08);  // the main-row 7
  EXPECT_EQ(back.Code(SlotLeft), 0);
  EXPECT_EQ(back.Code(SlotJoyDown), 259);
  EXPECT_EQ(back.Code(SlotRight), 0xCD);
  // Player 2's sections are untouched.
  const std::string original = test::Fixture("meka.inp");
  std::size_t k2 = original.find("[Keyboard 2]"), j1 = original.find("[Joypad 1]");
  EXPECT_NE(saved.find(original.substr(k2, j1 - k2)), std::string::npos);
  EXPECT_EQ(saved.substr(saved.find("[Joypad 2]")), original.substr(original.find("[Joypad 2]")));
}

TEST(MekaConfig, PlayerTwoUsesKeyboardOnesPauseAndItsOwnSections) {
  EmulatorFolder f;
  f.PutFixture("meka.inp");
  const std::string original = f.Get("meka.inp");
  ASSERT_TRUE(LoadMekaConfig(f.config, 2));
  EXPECT_EQ(f.config.Code(SlotPause), 0x1C);
  EXPECT_EQ(f.config.Code(SlotUp), 0x17);      // I
  EXPECT_EQ(f.config.Code(SlotButton2), 0x23); // H
  EXPECT_EQ(f.config.Code(SlotJoyButton1), 274);
  EXPECT_EQ(f.config.Code(SlotJoyPause), 283);
  ASSERT_TRUE(SaveMekaConfig(f.config, 2));
  EXPECT_EQ(f.Get("meka.inp"), original);

  f.config.Code(SlotPause) = 0x39;
  f.config.Code(SlotLeft) = 0xCB;
  f.config.Code(SlotJoyUp) = 272;
  f.config.RefreshMasterSystemNames();
  ASSERT_TRUE(SaveMekaConfig(f.config, 2));
  std::string expected = Replace(original, "player_start_pause  = key Enter", "player_start_pause  = key Space");
  expected = Replace(expected, "player_left         = key J", "player_left         = key Left");
  std::size_t joy2 = expected.find("[Joypad 2]");
  expected.replace(expected.find("joy stick 0 axis 1 dir 0", joy2), 24, "joy_button 0");
  EXPECT_EQ(f.Get("meka.inp"), expected);
  ControllerConfig p1(f.dir.path().string());
  ASSERT_TRUE(LoadMekaConfig(p1, 1));
  EXPECT_EQ(p1.Code(SlotPause), 0x39);
  EXPECT_EQ(p1.Code(SlotLeft), 0xCB);
  EXPECT_EQ(p1.Code(SlotJoyUp), 259);
}

TEST(MekaConfig, MissingOrDisorderedWordsLeaveFileAndBindingsAsTheyWere) {
  EmulatorFolder f;
  EXPECT_FALSE(LoadMekaConfig(f.config, 1));
  EXPECT_FALSE(SaveMekaConfig(f.config, 2));
  EXPECT_FALSE(std::filesystem::exists(f.Path("meka.inp")));
  const std::string original = test::Fixture("meka.inp");
  struct Case {
    std::string word;
    std::string replacement;
  };
  const Case cases[] = {{"[Keyboard 1]", "[Keyboard 9]"}, {"[Keyboard 2]", "[Keyboard X]"},
                        {"[Joypad 1]", "[Joypad X]"},     {"[Joypad 2]", "[Joypad X]"},
                        {"[Mouse 1]", "[Mouse X]"},       {"player_reset        = key", "player_rest         = key"}};
  for (const Case& c : cases) {
    const std::string broken = Replace(original, c.word, c.replacement);
    for (int player : {1, 2}) {
      // Player 1's writer does not look for "[Keyboard 2]" or "[Mouse 1]".
      if (player == 1 && (c.word == "[Keyboard 2]" || c.word == "[Mouse 1]")) continue;
      f.Put("meka.inp", broken);
      EXPECT_FALSE(SaveMekaConfig(f.config, player)) << c.word << player;
      EXPECT_EQ(f.Get("meka.inp"), broken) << c.word << player;
      EXPECT_TRUE(f.OnlyFileIs("meka.inp"));
    }
  }
  // Sections swapped: the reset line now stands after "[Joypad 1]".
  std::string swapped = original;
  std::size_t k1 = swapped.find("[Keyboard 1]"), j1 = swapped.find("[Joypad 1]"), j2 = swapped.find("[Joypad 2]");
  swapped = swapped.substr(0, k1) + swapped.substr(j1, j2 - j1) + swapped.substr(k1, j1 - k1) + swapped.substr(j2);
  EXPECT_FALSE(WriteMekaBindings(swapped, 1, f.config));
  ControllerConfig c;
  c.Code(SlotUp) = -5;
  EXPECT_FALSE(ReadMekaBindings(Replace(original, "[Joypad 1]", "[Joypad X]"), 1, c));
  EXPECT_FALSE(ReadMekaBindings(original.substr(0, original.find("player_start_pause  = joy_button 11")), 2, c));
  EXPECT_FALSE(ReadMekaBindings(original, 3, c));
  EXPECT_EQ(c.Code(SlotUp), -5);
}

TEST(MekaConfig, BareLineFeedsAndOversizedFilesLoseNothing) {
  std::string bare = test::Fixture("meka.inp");
  for (std::size_t at; (at = bare.find("\r\n")) != std::string::npos;) bare.erase(at, 1);
  ControllerConfig c;
  ASSERT_TRUE(ReadMekaBindings(bare, 1, c));
  EXPECT_EQ(c.Code(SlotRight), 0xCD);  // "Right" keeps its last letter
  EXPECT_EQ(c.Code(SlotJoyPause), 281);
  auto out = WriteMekaBindings(bare, 1, c);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->find('\r'), std::string::npos);
  EXPECT_EQ(*out, bare);

  std::string big = test::Fixture("meka.inp") + std::string(7000, '-') + "\r\n";
  ASSERT_TRUE(ReadMekaBindings(big, 2, c));
  out = WriteMekaBindings(big, 2, c);
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, big);
}

// The reader takes values by position and the writer by key word; where the two would not
// agree the file is left alone, since the bindings read would come back under other buttons.
TEST(MekaConfig, SectionsTheReaderTakesOtherwiseAreLeftAlone) {
  const std::string original = test::Fixture("meka.inp");
  const std::string keyboard1 = original.substr(original.find("[Keyboard 1]"), original.find("[Keyboard 2]") - original.find("[Keyboard 1]"));
  struct Case {
    const char* what;
    std::string text;
    int player;
  };
  const Case refused[] = {
      {"lines out of order", Replace(Replace(original, "player_down         = key Down", "player_left         = key Down"),
                                     "player_left         = key Left", "player_down         = key Left"), 1},
      {"a binding line twice", Replace(original, "player_button1      = joy_button 0\r\n",
                                       "player_button1      = joy_button 0\r\nplayer_button1      = joy_button 0\r\n"), 1},
      {"a comment holding the marker", Replace(original, "player_down         = key K", "; key X\r\nplayer_down         = key K"), 2},
      {"a section twice", Replace(original, "[Keyboard 1]", keyboard1.substr(0, keyboard1.find("player_reset")) + "[Keyboard 1]"), 1},
      // Pause is read from the next section's "type = joypad": nothing a line could hold.
      // Left is read from the right line, which holds no joystick text, so left stays as it is,
      // without the "joy" the reader looks for.
      {"a line the reader passes over", Replace(Replace(original, "player_left         = joy stick 0 axis 0 dir 0",
                                                        "player_left         = jxy stick 0 axis 0 dir 0"),
                                                "axis 0 dir 1", "axis 0 dirx1"), 1},
      {"a lacking line with nothing to write", Replace(original, "player_start_pause  = joy_button 9\r\nplayer_reset        = joy_button 8\r\n", ""), 1},
  };
  for (const Case& c : refused) {
    ControllerConfig config;
    ReadMekaBindings(c.text, c.player, config);
    EXPECT_FALSE(WriteMekaBindings(c.text, c.player, config)) << c.what;
  }
}

}  // namespace
}  // namespace vt
