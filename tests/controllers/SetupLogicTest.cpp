// The set-up windows' behaviour with scripted keyboard and joysticks, real configuration files
// in a temporary emulator folder and the real settings file; only the window is recorded.
#include "controllers/SetupLogic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "emuconfig/GestConfig.h"
#include "emuconfig/NesterConfig.h"
#include "tests/support/ScriptedInput.h"
#include "resources/resource.h"
#include "tests/emuconfig/EmuconfigTestSupport.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// What a press is made of: down when the prompt shows, up at the wait after it (or at the
// rejection's message).
struct Press {
  std::function<void()> down, up;
};

class RecordingSurface : public SetupSurface {
public:
  WindowHandle Owner() override { return reinterpret_cast<WindowHandle>(0x5E7); }
  void SetFieldText(int id, const std::string& text) override {
    texts[id] = text;
    if (text.rfind("Push ", 0) != 0) return;
    log.push_back("prompt " + std::to_string(id) + " " + text + (open() ? " (open)" : ""));
    if (presses.empty()) return;
    current = presses.front();
    presses.pop_front();
    current.down();
  }
  void EnableButton(int id, bool on) override {
    log.push_back((on ? "enable " : "disable ") + std::to_string(id) + (open() ? " (open)" : ""));
  }
  void ShowLamps(int player) override { log.push_back("lamps " + std::to_string(player)); }
  void Pause(std::chrono::milliseconds d) override {
    log.push_back("pause " + std::to_string(d.count()));
    Release();
  }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    log.push_back(caption + ": " + text);
    Release();
  }
  void OpenPage(const std::string& address) override { log.push_back("page " + address); }
  void EndWindow(int result) override { log.push_back("end " + std::to_string(result)); }

  void Release() {
    if (current.up) current.up();
    current = {};
  }
  bool open() const { return logic && logic->config().input.IsOpen(); }

  SetupLogic* logic = nullptr;
  std::deque<Press> presses;
  Press current;
  std::vector<std::string> log;
  std::map<int, std::string> texts;
};

class SetupLogicTest : public ::testing::Test {
protected:
  SetupLogicTest() {
    settings = OpenFileSettings(registryDir.File("registry.txt"));
    settings->CreateKey(Hive::Machine, "Software\\Vintara");
    settings->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, folder.dir.path().string());
    // Attached before any capture opens the devices, so that every enumeration finds it.
    joystick = &input.Attach(ScriptedInput::TestGuid(7));
  }

  SetupLogic& Make(Console console) {
    logic = std::make_unique<SetupLogic>(Layout(console), surface, *settings, "web.example:8011");
    logic->config().input = InputDevices(input, [this](const std::string& text, const std::string& caption) {
      surface.log.push_back("input " + caption + ": " + text);
    });
    surface.logic = logic.get();
    return *logic;
  }
  Press Key(std::uint8_t code) {
    return {[this, code] { input.Keyboard().Press(code); }, [this, code] { input.Keyboard().Release(code); }};
  }
  Press Button(int n) {
    return {[this, n] { Joystick().SetButton(n, 0x80); }, [this, n] { Joystick().SetButton(n, 0); }};
  }
  ScriptedJoystick& Joystick() { return *joystick; }
  void CaptureWith(Press press, int field) {
    surface.presses.push_back(std::move(press));
    logic->CaptureField(field);
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> out;
    for (const std::string& e : surface.log)
      if (e.rfind("prompt ", 0) == 0) out.push_back(e);
    return out;
  }

  ScriptedInput input;  // outlives the devices the configuration holds
  test::TempDir registryDir;
  test::EmulatorFolder folder;
  std::unique_ptr<SettingsStore> settings;
  RecordingSurface surface;
  std::unique_ptr<SetupLogic> logic;
  ScriptedJoystick* joystick = nullptr;
};

// Every Set All button's order and prompts, captured from the keyboard or the joystick.
TEST_F(SetupLogicTest, SetAllCapturesEachWindowsFieldsInTheirOrderWithTheirPrompts) {
  struct Case {
    Console console;
    int setAll;
    bool joystick;  // pressing button i, else key 0x10 + i
    int firstCode;  // what the first press stores; each later one stores one more
    std::vector<std::string> prompts;
  } cases[] = {
      {Console::GENC, IDC_SETUP_SET_ALL, false, 0x10,
       {"1060 Push Up", "1061 Push Down", "1062 Push Left", "1063 Push Right", "1065 Push Start",
        "1066 Push A", "1067 Push B", "1073 Push C"}},
      {Console::NESC, IDC_SETUP_SET_ALL, false, 0x10,
       {"1060 Push Up", "1061 Push Down", "1062 Push Left", "1063 Push Right", "1064 Push Select",
        "1065 Push Start", "1066 Push A", "1067 Push B"}},
      {Console::SNESC, IDC_SETUP_SET_ALL, false, 0x10,
       {"1060 Push Up", "1061 Push Down", "1062 Push Left", "1063 Push Right", "1064 Push Select",
        "1065 Push Start", "1066 Push A", "1067 Push B", "1040 Push X", "1069 Push Y", "1070 Push L",
        "1071 Push R"}},
      {Console::GBCC, IDC_GBCC_SET_ALL_KEYBOARD, false, 0x10,
       {"1060 Push Up", "1061 Push Down", "1062 Push Left", "1063 Push Right", "1064 Push Select",
        "1065 Push Start", "1066 Push A", "1067 Push B", "1069 Push Auto A", "1070 Push Auto B"}},
      {Console::SMSC, IDC_SMSC_SET_ALL_KEYBOARD, false, 0x10,
       {"1060 Push Up", "1061 Push Down", "1062 Push Left", "1063 Push Right", "1084 Push Button 1",
        "1085 Push Button 2", "1086 Push Pause"}},
      // Game Boy joystick fields store the button number: code minus 257.
      {Console::GBCC, IDC_GBCC_SET_ALL_JOYSTICK, true, 0,
       {"1077 Push Select", "1078 Push Start", "1079 Push A", "1080 Push B", "1081 Push Auto A",
        "1082 Push Auto B"}},
      // Master System joystick fields store the code unchanged (buttons from 272).
      {Console::SMSC, IDC_SMSC_SET_ALL_JOYSTICK, true, 272,
       {"1064 Push Up", "1065 Push Down", "1066 Push Left", "1067 Push Right", "1087 Push Button 1",
        "1088 Push Button 2", "1089 Push Pause"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(Layout(c.console).className) + " " + std::to_string(c.setAll));
    SetupLogic& l = Make(c.console);
    surface.log.clear();
    for (size_t i = 0; i < c.prompts.size(); ++i)
      surface.presses.push_back(c.joystick ? Button(static_cast<int>(i)) : Key(static_cast<std::uint8_t>(0x10 + i)));
    l.SetAll(c.setAll);
    std::vector<std::string> want;
    for (const std::string& p : c.prompts) want.push_back("prompt " + p + " (open)");
    EXPECT_EQ(Prompts(), want);
    for (size_t i = 0; i < c.prompts.size(); ++i) {
      const int id = std::stoi(c.prompts[i]);
      EXPECT_EQ(l.config().Code(l.layout().Field(id)->slot), c.firstCode + static_cast<int>(i)) << id;
    }
  }
}

// One field: prompt, devices open, OK disabled, the rule, the wait, the names, devices closed,
// OK enabled. Every device rule, accepted and refused.
TEST_F(SetupLogicTest, AFieldCaptureFollowsItsDeviceRule) {
  struct Case {
    Console console;
    int field;
    bool joystick;
    int input;  // scan code or button number
    std::string prompt;
    std::int32_t stored;  // -1: refused, the binding unchanged
    std::string message;
  } cases[] = {
      {Console::GBCC, IDC_SETUP_UP, false, 0x2D, "Push Up", 0x2D, ""},
      {Console::GBCC, IDC_SETUP_UP, true, 0, "Push Up", -1, kUseTheKeyboard},
      {Console::GBCC, IDC_GBCC_JOY_A, true, 0, "Push A", 0, ""},
      {Console::GBCC, IDC_GBCC_JOY_A, true, 3, "Push A", 3, ""},
      {Console::GBCC, IDC_GBCC_JOY_A, false, 0x2D, "Push A", -1, kUseAJoystick},
      {Console::SMSC, IDC_SMSC_BUTTON1, false, 0x1D, "Push Button1", 0x1D, ""},
      {Console::SMSC, IDC_SMSC_BUTTON1, true, 1, "Push Button1", -1, kUseTheKeyboard},
      {Console::SMSC, IDC_SMSC_JOY_BUTTON1, true, 1, "Push Button 1", 273, ""},
      {Console::SMSC, IDC_SMSC_JOY_BUTTON1, false, 0x1D, "Push Button 1", -1, kUseAJoystick},
      {Console::GENC, IDC_GENC_C, true, 2, "Push C", 0x1012, ""},
      {Console::GENC, IDC_GENC_C, false, 0x2E, "Push C", 0x2E, ""},
      {Console::SNESC, IDC_SNESC_X, true, 4, "Push X", 256 + 16 + 4, ""},
      {Console::NESC, IDC_SETUP_B, false, 0x2C, "Push B", 0x2C, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(Layout(c.console).className) + " " + std::to_string(c.field));
    Make(c.console);
    const BindingSlot slot = logic->layout().Field(c.field)->slot;
    logic->config().Code(slot) = 99;
    surface.log.clear();
    CaptureWith(c.joystick ? Button(c.input) : Key(static_cast<std::uint8_t>(c.input)), c.field);
    std::vector<std::string> want = {"prompt " + std::to_string(c.field) + " " + c.prompt, "disable 1 (open)"};
    if (!c.message.empty()) want.push_back("Error: " + c.message);
    want.push_back("pause 500");
    want.push_back("enable 1");
    EXPECT_EQ(surface.log, want);
    EXPECT_EQ(logic->config().Code(slot), c.stored < 0 ? 99 : c.stored);
    EXPECT_EQ(surface.texts[c.field], logic->config().DisplayName(slot)) << "the prompt gives way to the name";
    EXPECT_EQ(logic->config().systemAlias, "") << "input closed";
  }
}

TEST_F(SetupLogicTest, TheNesCaptureRecordsTheButtonForNester) {
  Make(Console::NESC);
  CaptureWith(Button(2), IDC_SETUP_A);
  // The "A" record: the joystick's button at its offset in the joystick state.
  EXPECT_EQ(logic->config().nesRecords[6],
            (NesterBinding{ScriptedInput::TestGuid(7), kNesterJoystickButton, 0, 48u + 2u, 0}));
}

TEST_F(SetupLogicTest, ASetAllRefusedAtItsThirdFieldKeepsTheFirstTwo) {
  Make(Console::SMSC);
  for (BindingSlot s : {SlotUp, SlotDown, SlotLeft, SlotRight}) logic->config().Code(s) = 99;
  surface.presses = {Key(0x11), Key(0x1F), Button(0)};
  logic->SetAll(IDC_SMSC_SET_ALL_KEYBOARD);
  EXPECT_THAT(surface.log,
              ElementsAre("disable 1091 (open)", "disable 1 (open)", "prompt 1060 Push Up (open)", "pause 500",
                          "prompt 1061 Push Down (open)", "pause 500", "prompt 1062 Push Left (open)",
                          std::string("Error: ") + kUseTheKeyboard, "enable 1091", "enable 1"));
  EXPECT_EQ(logic->config().Code(SlotUp), 0x11);
  EXPECT_EQ(logic->config().Code(SlotDown), 0x1F);
  EXPECT_EQ(logic->config().Code(SlotLeft), 99);
  EXPECT_EQ(logic->config().Code(SlotRight), 99);
  for (const SetupField& f : logic->layout().fields)
    EXPECT_EQ(surface.texts[f.id], logic->config().DisplayName(f.slot)) << f.id;
}

TEST_F(SetupLogicTest, WithoutAnyDeviceACaptureEndsAfterTheInputMessage) {
  Make(Console::GENC);
  input.create.Next({dierr::Generic});
  logic->config().Code(SlotUp) = 99;
  logic->CaptureField(IDC_SETUP_UP);
  EXPECT_THAT(surface.log, ElementsAre("prompt 1060 Push Up", "input Error: InitKeyboard Failed", "disable 1",
                                       "enable 1"));
  EXPECT_EQ(logic->config().Code(SlotUp), 99);
  surface.log.clear();
  input.create.Next({dierr::Generic});
  logic->SetAll(IDC_SETUP_SET_ALL);
  EXPECT_THAT(surface.log, ElementsAre("input Error: InitKeyboard Failed", "disable 1068",
                                       "prompt 1060 Push Up", "enable 1068"));
}

class SetupFiles : public SetupLogicTest {};

// A switch saves the player left; OK then saves the current one, Cancel nothing more.
TEST_F(SetupFiles, PlayersSwitchSaveWhatIsLeftAndOkOrCancelEndTheWindow) {
  folder.PutFixture("gens.cfg");
  const std::string original = folder.Get("gens.cfg");
  const std::string firstSaved = test::Replace(original, "P1.Up=200", "P1.Up=16");
  for (bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    folder.Put("gens.cfg", original);
    SetupLogic& l = Make(Console::GENC);
    l.Start();
    EXPECT_EQ(surface.texts[IDC_SETUP_UP], l.config().DisplayName(SlotUp));
    EXPECT_EQ(l.config().Code(SlotUp), 200);
    surface.log.clear();
    l.SwitchPlayer(1);  // the current player's lamp: nothing read, nothing written
    EXPECT_TRUE(surface.log.empty());
    CaptureWith(Key(0x10), IDC_SETUP_UP);
    l.SwitchPlayer(2);
    EXPECT_EQ(l.player(), 2);
    EXPECT_EQ(folder.Get("gens.cfg"), firstSaved);
    EXPECT_EQ(l.config().Code(SlotUp), 4097) << "player 2 read";
    CaptureWith(Key(0x11), IDC_SETUP_UP);
    ok ? l.Ok() : l.Cancel();
    EXPECT_EQ(folder.Get("gens.cfg"), ok ? test::Replace(firstSaved, "P2.Up=4097", "P2.Up=17") : firstSaved);
    EXPECT_EQ(surface.log.back(), ok ? "end 1" : "end 2");
    EXPECT_TRUE(folder.OnlyFileIs("gens.cfg"));
  }
}

// After OK each file differs from what it was in the captured binding only.
TEST_F(SetupFiles, OkWritesEachEmulatorsOwnFormatAndNothingElse) {
  folder.PutFixture("zsnesw.cfg");
  folder.PutFixture("meka.inp");
  const std::string gest = test::GestFile(100, 4000);
  folder.Put("gest.cfg", gest);
  struct Case {
    Console console;
    const char* file;
    std::string expected;
  } cases[] = {
      {Console::SNESC, "zsnesw.cfg",
       test::Replace(test::Fixture("zsnesw.cfg"), "ScanKey1 = 205, 203, 208, 200,", "ScanKey1 = 205, 203, 208, 16,")},
      {Console::SMSC, "meka.inp", test::Replace(test::Fixture("meka.inp"), "player_up           = key Up", "player_up           = key Q")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SetupLogic& l = Make(c.console);
    l.Start();
    CaptureWith(Key(0x10), IDC_SETUP_UP);
    l.Ok();
    EXPECT_EQ(folder.Get(c.file), c.expected);
  }
  SetupLogic& gb = Make(Console::GBCC);
  gb.Start();
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  CaptureWith(Button(3), IDC_GBCC_JOY_A);
  gb.Ok();
  std::string expected = gest;
  expected[148] = 0x10;     // Up
  expected[100 + 341] = 3;  // joystick A: button 3
  expected.resize(kGestBufferBytes, '\0');
  EXPECT_EQ(folder.Get("gest.cfg"), expected);
}

TEST_F(SetupFiles, OkWritesNestersRegistryKeysOfThePlayer) {
  SetupLogic& l = Make(Console::NESC);
  l.Start();  // first use: every key created with the defaults
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  l.Ok();
  std::string key;
  ASSERT_TRUE(settings->QueryValue(Hive::User, NesterKeyPath(1, 0), "Key", key));
  EXPECT_EQ(key, "\x10") << "nester keeps one byte";
  ASSERT_TRUE(settings->QueryValue(Hive::User, NesterKeyPath(2, 0), "Key", key));
  EXPECT_EQ(key, "\xC8") << "player 2 keeps its default";
}

TEST_F(SetupFiles, ASaveThatFailsSaysWhyAndKeepsTheWindowAndItsCaptures) {
  // The player's block cannot be found: the writer leaves the file alone.
  folder.Put("gens.cfg", "P1.Up=200\nP1.Down=208\nP1.Left=203\nP1.Right=205\nP1.Start=28\nP1.A=30\nP1.B=31\nP1.C=32\n");
  const std::string original = folder.Get("gens.cfg");
  SetupLogic& l = Make(Console::GENC);
  l.Start();
  folder.Put("gens.cfg", "P1.Up=200\n");  // changed behind the window's back
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  surface.log.clear();
  l.Ok();
  ASSERT_EQ(surface.log.size(), 1u) << "no end";
  EXPECT_EQ(surface.log[0], "Error: The controller settings were not saved: " + l.config().gensPath +
                                " could not be written (it does not hold the settings where Gens keeps them, "
                                "or it cannot be replaced).\n\nCheck it and press OK again, or press Close to "
                                "leave without saving.");
  EXPECT_EQ(folder.Get("gens.cfg"), "P1.Up=200\n");
  // The same failure on a switch: the player stays, so do the captures.
  surface.log.clear();
  l.SwitchPlayer(2);
  EXPECT_EQ(l.player(), 1);
  EXPECT_THAT(surface.log, ElementsAre("lamps 2", ::testing::StartsWith("Error: The controller settings were not saved"),
                                       "lamps 1"));
  EXPECT_EQ(l.config().Code(SlotUp), 0x10);
  // Put right, OK saves and closes.
  folder.Put("gens.cfg", original);
  surface.log.clear();
  l.Ok();
  EXPECT_EQ(surface.log.back(), "end 1");
  EXPECT_EQ(folder.Get("gens.cfg"), test::Replace(original, "P1.Up=200", "P1.Up=16"));
}

TEST_F(SetupFiles, AWindowWhoseReaderFailedNeverWritesTheFile) {
  folder.Put("zsnesw.cfg", "ScanKey1 = 205\n");  // too few numbers to read
  SetupLogic& l = Make(Console::SNESC);
  l.Start();
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  surface.log.clear();
  l.Ok();
  const std::string unread = "Error: The controller settings were not saved: " + l.config().zsnesPath +
                             " could not be read, and saving would replace the settings in it with empty "
                             "ones.\n\nCheck it, then close this window and open it again.";
  EXPECT_THAT(surface.log, ElementsAre(unread));
  EXPECT_EQ(folder.Get("zsnesw.cfg"), "ScanKey1 = 205\n");
  // A missing file says so too.
  SetupLogic& g = Make(Console::GBCC);
  g.Start();
  surface.log.clear();
  g.Ok();
  EXPECT_THAT(surface.log, ElementsAre(::testing::HasSubstr("could not be read, and saving")));
}

// Player 1 unreadable must not keep the user from player 2: the switch says player 1 is not
// saved and goes on; player 2 reads, captures and saves as usual, player 1's lines untouched.
TEST_F(SetupFiles, APlayerWhoseReaderFailedDoesNotHoldTheSwitch) {
  const std::string player2 = "P2.Up=200\nP2.Down=208\nP2.Left=203\nP2.Right=205\nP2.Start=28\nP2.A=30\nP2.B=31\nP2.C=32\n";
  folder.Put("gens.cfg", "P1.Up=200\n" + player2);
  SetupLogic& l = Make(Console::GENC);
  l.Start();
  surface.log.clear();
  l.SwitchPlayer(2);
  EXPECT_EQ(l.player(), 2);
  ASSERT_THAT(surface.log, ElementsAre("lamps 2", ::testing::HasSubstr("could not be read, and saving")));
  EXPECT_EQ(surface.texts[IDC_SETUP_UP], "Up") << "player 2 read";
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  surface.log.clear();
  l.Ok();
  EXPECT_THAT(surface.log, ElementsAre("end 1"));
  EXPECT_EQ(folder.Get("gens.cfg"), "P1.Up=200\n" + test::Replace(player2, "P2.Up=200", "P2.Up=16"));
}

TEST_F(SetupLogicTest, AdvancedOpensTheConsolesHelpPageAndSetupHelpFindsTheWindow) {
  struct Case {
    const char* alias;
    const char* window;
    const char* page;
  } cases[] = {{"SNES", "SNESC", "SNES_HELP.php"}, {"GEN", "GENC", "GEN_HELP.php"},
               {"NES", "NESC", "NES_HELP.php"},    {"2600", "A26C", "2600_HELP.php"},
               {"GBC", "GBCC", "GBC_HELP.php"},    {"SMS", "SMSC", "SMS_HELP.php"},
               {"SGG", "SMSC", "SMS_HELP.php"},    {"COL", "SMSC", "SMS_HELP.php"}};
  for (const Case& c : cases) {
    const ConsoleLayout* layout = LayoutForSystem(c.alias);
    ASSERT_NE(layout, nullptr) << c.alias;
    EXPECT_EQ(layout->className, c.window);
    SetupLogic l(*layout, surface, *settings, "web.example:8011");
    surface.log.clear();
    l.Advanced();
    EXPECT_THAT(surface.log, ElementsAre(std::string("page http://web.example:8011/") + c.page));
  }
  for (const char* other : {"", "nes", "GB", "SMS ", "XYZ"}) EXPECT_EQ(LayoutForSystem(other), nullptr) << other;
  EXPECT_EQ(LayoutForSystem("SGG")->captureAlias, "SMS");
  EXPECT_EQ(LayoutForSystem("COL")->captureAlias, "SMS");
}

}  // namespace
}  // namespace vt
