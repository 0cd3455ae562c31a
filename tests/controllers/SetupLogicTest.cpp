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
#include "resources/resource.h"
#include "tests/emuconfig/EmuconfigTestSupport.h"
#include "tests/support/ScriptedInput.h"

namespace vt {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// A press: down when its prompt shows, up when the user is next idle (unless held) or at the
// wait after it, or at a message.
struct Press {
  std::function<void()> down, up;
  bool held = false;
};

class RecordingSurface : public SetupSurface {
public:
  WindowHandle Owner() override { return reinterpret_cast<WindowHandle>(0x5E7); }
  void SetFieldText(int id, const std::string& text) override {
    texts[id] = text;
    if (!text.starts_with("Push ") || !text.ends_with("(15)")) return;  // not a new prompt
    Log("prompt " + std::to_string(id) + " " + text);
    if (presses.empty()) return;
    current = presses.front();
    presses.pop_front();
    if (current.down) current.down();
  }
  void EnableButton(int id, bool on) override { Log((on ? "enable " : "disable ") + std::to_string(id)); }
  void ShowLamps(int player) override { log.push_back("lamps " + std::to_string(player)); }
  void Pause(std::chrono::milliseconds d) override {
    Log("pause " + std::to_string(d.count()));
    Release();
  }
  void Idle() override {
    now += std::chrono::milliseconds(250);
    if (!current.held) Release();
    if (onIdle) onIdle();
  }
  void DropInput() override { Log("drop"); }
  std::chrono::steady_clock::time_point Now() override { return now; }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    Log(caption + ": " + text);
    Release();
    if (duringBox) std::exchange(duringBox, nullptr)();
  }
  void OpenPage(const std::string& address) override { log.push_back("page " + address); }
  void EndWindow(int result) override { log.push_back("end " + std::to_string(result)); }

  void Log(const std::string& entry) {
    log.push_back(entry + (logic && logic->config().input.IsOpen() ? " (open)" : ""));
  }
  void Release() {
    if (current.up) current.up();
    current = {};
  }

  SetupLogic* logic = nullptr;
  std::deque<Press> presses;
  Press current;
  std::function<void()> onIdle, duringBox;
  std::chrono::steady_clock::time_point now;
  std::vector<std::string> log;
  std::map<int, std::string> texts;
};

class SetupLogicTest : public ::testing::Test {
public:  // to the table rows too
  SetupLogicTest() {
    settings = OpenFileSettings(registryDir.File("registry.txt"));
    settings->CreateKey(Hive::Machine, "Software\\Vintara");
    settings->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, folder.dir.path().string());
    joystick = &input.Attach(ScriptedInput::TestGuid(7));  // before any capture enumerates
  }
  SetupLogic& Make(Console console) {
    logic = std::make_unique<SetupLogic>(Layout(console), surface, *settings, "web.example:8011", input);
    surface.logic = logic.get();
    surface.log.clear();
    return *logic;
  }
  Press Key(std::uint8_t code, bool held = false) {
    return {[this, code] { input.Keyboard().Press(code); }, [this, code] { input.Keyboard().Release(code); }, held};
  }
  Press Button(int n) {
    return {[this, n] { joystick->SetButton(n, 0x80); }, [this, n] { joystick->SetButton(n, 0); }};
  }
  void CaptureWith(Press press, int field) {
    surface.presses.push_back(std::move(press));
    logic->CaptureField(field);
  }
  std::int32_t CodeOf(int field) { return logic->config().Code(logic->layout().Field(field)->slot); }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> out;
    for (const std::string& e : surface.log)
      if (e.starts_with("prompt ")) out.push_back(e);
    return out;
  }

  ScriptedInput input;  // outlives the devices the configuration holds
  test::TempDir registryDir;
  test::EmulatorFolder folder;
  std::unique_ptr<SettingsStore> settings;
  RecordingSurface surface;
  std::unique_ptr<SetupLogic> logic;
  ScriptedDevice* joystick = nullptr;
};

// Every Set All of every window prompts its fields in its order with their Set All prompts, and
// stores what each press gives (a joystick column's buttons, a keyboard column's keys).
TEST_F(SetupLogicTest, EverySetAllCapturesItsFieldsInItsOrder) {
  for (Console console : {Console::GBCC, Console::GENC, Console::NESC, Console::SMSC, Console::SNESC}) {
    for (const SetAllButton& button : Layout(console).setAlls) {
      SCOPED_TRACE(std::string(Layout(console).className) + " " + std::to_string(button.id));
      SetupLogic& l = Make(console);
      const DeviceRule rule = l.layout().Field(button.order[0])->rule;
      const bool joy = rule == DeviceRule::GameBoyJoystick || rule == DeviceRule::MasterSystemJoystick;
      std::vector<std::string> want;
      for (std::size_t i = 0; i < button.order.size(); ++i) {
        surface.presses.push_back(joy ? Button(static_cast<int>(i)) : Key(static_cast<std::uint8_t>(0x10 + i)));
        want.push_back("prompt " + std::to_string(button.order[i]) + " " +
                       std::string(l.layout().Field(button.order[i])->setAllPrompt) + " (15) (open)");
      }
      l.SetAll(button.id);
      EXPECT_EQ(Prompts(), want);
      const int first = rule == DeviceRule::GameBoyJoystick ? 0 : rule == DeviceRule::MasterSystemJoystick ? 272 : 0x10;
      for (std::size_t i = 0; i < button.order.size(); ++i) EXPECT_EQ(CodeOf(button.order[i]), first + int(i));
    }
  }
  // A few rows of the layouts themselves.
  EXPECT_THAT(Prompts(), ElementsAre(StartsWith("prompt 1060 Push Up"), StartsWith("prompt 1061 Push Down"),
                                     StartsWith("prompt 1062 Push Left"), StartsWith("prompt 1063 Push Right"),
                                     "prompt 1064 Push Select (15) (open)", "prompt 1065 Push Start (15) (open)",
                                     "prompt 1066 Push A (15) (open)", "prompt 1067 Push B (15) (open)",
                                     "prompt 1040 Push X (15) (open)", "prompt 1069 Push Y (15) (open)",
                                     "prompt 1070 Push L (15) (open)", "prompt 1071 Push R (15) (open)"));
  EXPECT_EQ(Layout(Console::GBCC).SetAll(IDC_GBCC_SET_ALL_JOYSTICK)->order.size(), 6u);
  EXPECT_EQ(Layout(Console::SMSC).Field(IDC_SMSC_BUTTON1)->setAllPrompt, "Push Button 1");
}

// One field: prompt, devices open, OK disabled, the rule, the wait, the names, the keys let go,
// devices closed, queued input dropped, OK enabled. Every device rule, accepted and refused.
TEST_F(SetupLogicTest, AFieldCaptureFollowsItsDeviceRule) {
  const struct Case {
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
    logic->config().Code(logic->layout().Field(c.field)->slot) = 99;
    CaptureWith(c.joystick ? Button(c.input) : Key(static_cast<std::uint8_t>(c.input)), c.field);
    std::vector<std::string> want = {"prompt " + std::to_string(c.field) + " " + c.prompt + " (15)", "disable 1 (open)"};
    if (!c.message.empty()) want.insert(want.end(), {"drop (open)", "Error: " + c.message + " (open)"});
    want.insert(want.end(), {"pause 500 (open)", "drop", "enable 1"});
    EXPECT_EQ(surface.log, want);
    EXPECT_EQ(CodeOf(c.field), c.stored < 0 ? 99 : c.stored);
    EXPECT_EQ(surface.texts[c.field], logic->config().DisplayName(logic->layout().Field(c.field)->slot));
    EXPECT_EQ(logic->config().systemAlias, "") << "input closed";
  }
  CaptureWith(Button(2), IDC_SETUP_A);  // the NES window's A field: nester's "A" record
  EXPECT_EQ(logic->config().nesRecords[6], (NesterBinding{ScriptedInput::TestGuid(7), kNesterJoystickButton, 0, 50, 0}));
}

TEST_F(SetupLogicTest, ASetAllRefusedAtItsThirdFieldKeepsTheFirstTwo) {
  Make(Console::SMSC);
  for (BindingSlot s : {SlotUp, SlotDown, SlotLeft, SlotRight}) logic->config().Code(s) = 90 + s;
  surface.presses = {Key(0x11), Key(0x1F), Button(0)};
  logic->SetAll(IDC_SMSC_SET_ALL_KEYBOARD);
  EXPECT_THAT(surface.log, ElementsAre("disable 1091 (open)", "disable 1 (open)", "prompt 1060 Push Up (15) (open)",
                                       "pause 500 (open)", "prompt 1061 Push Down (15) (open)", "pause 500 (open)",
                                       "prompt 1062 Push Left (15) (open)", "drop (open)",
                                       std::string("Error: ") + kUseTheKeyboard + " (open)", "drop", "enable 1091",
                                       "enable 1"));
  EXPECT_EQ(logic->config().Code(SlotUp), 0x11);
  EXPECT_EQ(logic->config().Code(SlotDown), 0x1F);
  EXPECT_EQ(logic->config().Code(SlotLeft), 92);
  EXPECT_EQ(logic->config().Code(SlotRight), 93);
  for (const SetupField& f : logic->layout().fields) EXPECT_EQ(surface.texts[f.id], logic->config().DisplayName(f.slot));
}

// The ways out of a capture and of a Set All: nothing more is bound (a Set All keeps the fields
// before), the devices are closed, the window stays open and its files untouched.
TEST_F(SetupLogicTest, EveryWayOutLeavesTheFieldAndTheFilesAsTheyWere) {
  folder.PutFixture("gens.cfg");
  folder.PutFixture("zsnesw.cfg");
  const struct Way {
    const char* name;
    std::function<void(SetupLogicTest&)> act;  // when the field's prompt shows
    int seconds;  // how long it takes on the window's clock: at once, or at the time limit
  } ways[] = {
      {"Cancel clicked", [](auto& t) { t.surface.onIdle = [&t] { t.logic->Cancel(); }; }, 0},
      {"Escape held, then let go", [](auto& t) { t.input.Keyboard().Press(kEscapeScanCode); }, 1 + 5},
      {"nothing for fifteen seconds", [](auto&) {}, 15},
      {"the pad unplugged, the keyboard failing", [](auto& t) {
         t.joystick->Unplug();
         t.input.Keyboard().Unplug(); }, 0},
  };
  for (const Way& way : ways) {
    for (Console console : {Console::GENC, Console::NESC, Console::SNESC}) {
      for (bool setAll : {false, true}) {
        SCOPED_TRACE(std::string(way.name) + " " + std::string(Layout(console).className) + (setAll ? " Set All" : ""));
        SetupLogic& l = Make(console);
        l.Start();
        const auto codes = l.config().bindingCodes;
        const auto records = l.config().nesRecords;
        const std::string gens = folder.Get("gens.cfg"), zsnes = folder.Get("zsnesw.cfg");
        if (setAll) surface.presses.push_back(Key(0x10));
        surface.presses.push_back({[&] { way.act(*this); }, nullptr});
        const auto start = surface.now;
        setAll ? l.SetAll(IDC_SETUP_SET_ALL) : l.CaptureField(IDC_SETUP_UP);
        EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(surface.now - start).count(), way.seconds);
        surface.onIdle = nullptr;
        input.Keyboard().Release(kEscapeScanCode);
        input.Keyboard().results = {};
        joystick->results = {};
        EXPECT_EQ(Prompts().size(), setAll ? 2u : 1u);
        EXPECT_EQ(input.LiveDevices(), 0);
        EXPECT_EQ(surface.log.back(), "enable " + std::to_string(setAll ? IDC_SETUP_SET_ALL : IDC_SETUP_OK));
        for (int slot = 0; slot < kBindingSlotCount; ++slot)
          if (!setAll || slot != SlotUp) EXPECT_EQ(l.config().bindingCodes[slot], codes[slot]) << slot;
        for (int i = setAll ? 1 : 0; i < kNesButtonCount; ++i) EXPECT_EQ(l.config().nesRecords[i], records[i]) << i;
        for (const SetupField& f : l.layout().fields) EXPECT_FALSE(surface.texts[f.id].starts_with("Push")) << f.id;
        EXPECT_EQ(folder.Get("gens.cfg"), gens);
        EXPECT_EQ(folder.Get("zsnesw.cfg"), zsnes);
      }
    }
  }
}

// The prompt counts the seconds left; Escape tapped binds Escape like any key.
TEST_F(SetupLogicTest, ThePromptCountsDownAndEscapeTappedIsBound) {
  Make(Console::SNESC);
  std::vector<std::string> shown;
  surface.onIdle = [&] { shown.push_back(surface.texts[IDC_SETUP_UP]); };
  CaptureWith(Key(kEscapeScanCode), IDC_SETUP_UP);
  EXPECT_EQ(CodeOf(IDC_SETUP_UP), kEscapeScanCode);
  surface.onIdle = nullptr;
  surface.presses.push_back({});
  shown.clear();
  surface.onIdle = [&] { shown.push_back(surface.texts[IDC_SETUP_DOWN]); };
  logic->CaptureField(IDC_SETUP_DOWN);
  ASSERT_EQ(shown.size(), 60u);
  EXPECT_EQ(shown[0], "Push Down (15)");
  EXPECT_EQ(shown[4], "Push Down (14)");
  EXPECT_EQ(shown[59], "Push Down (1)");
}

// A duplicate within a column is stored but marked on both fields, until one of them changes;
// the same number in the keyboard and the joystick column is no duplicate.
TEST_F(SetupLogicTest, AnInputBoundTwiceIsMarkedUntilOneOfTheTwoChanges) {
  const struct Case {
    Console console;
    int first, second;
    std::function<Press(SetupLogicTest&)> press;
    bool marked;
  } cases[] = {
      {Console::GENC, IDC_SETUP_UP, IDC_GENC_C, [](auto& t) { return t.Key(0x2E); }, true},
      {Console::NESC, IDC_SETUP_A, IDC_SETUP_B, [](auto& t) { return t.Button(4); }, true},
      {Console::NESC, IDC_SETUP_UP, IDC_SETUP_DOWN, [](auto& t) { return t.Key(0x10); }, true},
      {Console::GBCC, IDC_SETUP_START, IDC_GBCC_JOY_START, [](auto& t) { return t.Key(0x05); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(Layout(c.console).className) + " " + std::to_string(c.second));
    Make(c.console);
    CaptureWith(c.press(*this), c.first);
    CaptureWith(c.console == Console::GBCC ? Button(5) : c.press(*this), c.second);  // GBCC stores button 5
    for (int id : {c.first, c.second}) {
      EXPECT_EQ(logic->AlsoBound(id), c.marked) << id;
      const std::string name = logic->config().DisplayName(logic->layout().Field(id)->slot);
      EXPECT_EQ(surface.texts[id], c.marked ? name + std::string(kAlsoBoundMark) : name);
    }
    CaptureWith(Key(0x2F), c.first);
    EXPECT_FALSE(logic->AlsoBound(c.first));
    EXPECT_FALSE(logic->AlsoBound(c.second));
  }
}

// A box shown during a capture runs a message loop: clicks on the window then start nothing
// (no second capture on the same devices, no switch, no save), and Cancel leaves the capture.
TEST_F(SetupLogicTest, CommandsDuringACapturesBoxDoNothing) {
  folder.PutFixture("meka.inp");
  for (bool inputBox : {true, false}) {
    SCOPED_TRACE(inputBox ? "the input layer's box" : "Invalid Selection");
    SetupLogic& l = Make(Console::SMSC);
    l.Start();
    const std::string meka = folder.Get("meka.inp");
    input.ClearLog();
    if (inputBox) input.Keyboard().results.cooperativeLevel.Next({dierr::Generic});
    surface.duringBox = [&] {
      l.CaptureField(IDC_SMSC_DOWN);
      l.SetAll(IDC_SMSC_SET_ALL_JOYSTICK);
      l.SwitchPlayer(2);
      l.Ok();
      l.Advanced();
      l.Cancel();
    };
    CaptureWith(Button(0), IDC_SMSC_UP);
    const auto calls = input.Log();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Create"), 1);
    EXPECT_EQ(l.player(), 1);
    EXPECT_THAT(surface.log, ::testing::Each(::testing::Not(::testing::AnyOf(StartsWith("end"), StartsWith("page")))));
    EXPECT_EQ(Prompts().size(), 1u);
    EXPECT_EQ(folder.Get("meka.inp"), meka);
    surface.Release();
    l.Cancel();
    EXPECT_EQ(surface.log.back(), "end 2") << "Cancel ends the window once the capture is over";
  }
}

// A switch saves the player left; OK then saves the current one, Cancel nothing more.
TEST_F(SetupLogicTest, PlayersSwitchSaveWhatIsLeftAndOkOrCancelEndTheWindow) {
  folder.PutFixture("gens.cfg");
  const std::string original = folder.Get("gens.cfg");
  const std::string firstSaved = test::Replace(original, "P1.Up=200", "P1.Up=16");
  for (bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    folder.Put("gens.cfg", original);
    SetupLogic& l = Make(Console::GENC);
    l.Start();
    EXPECT_EQ(l.config().Code(SlotUp), 200);
    surface.log.clear();
    l.SwitchPlayer(1);  // the current player's lamp: nothing read, nothing written
    EXPECT_TRUE(surface.log.empty());
    CaptureWith(Key(0x10), IDC_SETUP_UP);
    l.SwitchPlayer(2);
    EXPECT_EQ(folder.Get("gens.cfg"), firstSaved);
    EXPECT_EQ(l.config().Code(SlotUp), 4097) << "player 2 read";
    CaptureWith(Key(0x11), IDC_SETUP_UP);
    ok ? l.Ok() : l.Cancel();
    EXPECT_EQ(folder.Get("gens.cfg"), ok ? test::Replace(firstSaved, "P2.Up=4097", "P2.Up=17") : firstSaved);
    EXPECT_EQ(surface.log.back(), ok ? "end 1" : "end 2");
    EXPECT_TRUE(folder.OnlyFileIs("gens.cfg"));
  }
}

// After OK each configuration differs from what it was in the captured binding only.
TEST_F(SetupLogicTest, OkWritesEachEmulatorsOwnFormatAndNothingElse) {
  folder.PutFixture("zsnesw.cfg");
  folder.PutFixture("meka.inp");
  const std::string gest = test::GestFile(100, 4000);
  folder.Put("gest.cfg", gest);
  Make(Console::SNESC).Start();
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  logic->Ok();
  EXPECT_EQ(folder.Get("zsnesw.cfg"), test::Replace(test::Fixture("zsnesw.cfg"), "ScanKey1 = 205, 203, 208, 200,",
                                                    "ScanKey1 = 205, 203, 208, 16,"));
  Make(Console::SMSC).Start();
  CaptureWith(Key(0x10), IDC_SMSC_UP);
  logic->Ok();
  EXPECT_EQ(folder.Get("meka.inp"),
            test::Replace(test::Fixture("meka.inp"), "player_up           = key Up", "player_up           = key Q"));
  Make(Console::GBCC).Start();
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  CaptureWith(Button(3), IDC_GBCC_JOY_A);
  logic->Ok();
  std::string expected = gest;
  expected[148] = 0x10;     // Up
  expected[100 + 341] = 3;  // joystick A: button 3
  expected.resize(kGestBufferBytes, '\0');
  EXPECT_EQ(folder.Get("gest.cfg"), expected);
  Make(Console::NESC).Start();  // first use: every key created with the defaults
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  logic->Ok();
  std::string key;
  ASSERT_TRUE(settings->QueryValue(Hive::User, NesterKeyPath(1, 0), "Key", key));
  EXPECT_EQ(key, "\x10") << "nester keeps one byte";
  ASSERT_TRUE(settings->QueryValue(Hive::User, NesterKeyPath(2, 0), "Key", key));
  EXPECT_EQ(key, "\xC8") << "player 2 keeps its default";
}

TEST_F(SetupLogicTest, ASaveThatFailsSaysWhyAndKeepsTheWindowAndItsCaptures) {
  // The player's block cannot be found: the writer leaves the file alone.
  const std::string player1 = "P1.Up=200\nP1.Down=208\nP1.Left=203\nP1.Right=205\nP1.Start=28\nP1.A=30\nP1.B=31\nP1.C=32\n";
  folder.Put("gens.cfg", player1);
  SetupLogic& l = Make(Console::GENC);
  l.Start();
  folder.Put("gens.cfg", "P1.Up=200\n");  // changed behind the window's back
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  surface.log.clear();
  l.Ok();
  EXPECT_THAT(surface.log, ElementsAre("Error: The controller settings were not saved: " + l.config().gensPath +
                                       " could not be written (it does not hold the settings where Gens keeps "
                                       "them, or it cannot be replaced).\n\nCheck it and press OK again, or press "
                                       "Close to leave without saving."));
  EXPECT_EQ(folder.Get("gens.cfg"), "P1.Up=200\n");
  surface.log.clear();
  l.SwitchPlayer(2);  // the same failure on a switch: the player stays, so do the captures
  EXPECT_THAT(surface.log, ElementsAre("lamps 2", StartsWith("Error: The controller settings were not saved"), "lamps 1"));
  EXPECT_EQ(l.config().Code(SlotUp), 0x10);
  folder.Put("gens.cfg", player1);
  l.Ok();
  EXPECT_EQ(surface.log.back(), "end 1");
  EXPECT_EQ(folder.Get("gens.cfg"), test::Replace(player1, "P1.Up=200", "P1.Up=16"));
}

// A player whose reader failed is never written; it does not hold the switch to the other one.
TEST_F(SetupLogicTest, APlayerWhoseReaderFailedIsNeverWritten) {
  const std::string player2 = "P2.Up=200\nP2.Down=208\nP2.Left=203\nP2.Right=205\nP2.Start=28\nP2.A=30\nP2.B=31\nP2.C=32\n";
  folder.Put("gens.cfg", "P1.Up=200\n" + player2);
  SetupLogic& l = Make(Console::GENC);
  l.Start();
  l.Ok();
  EXPECT_THAT(surface.log, ElementsAre(HasSubstr(l.config().gensPath + " could not be read, and saving would replace")));
  surface.log.clear();
  l.SwitchPlayer(2);
  EXPECT_THAT(surface.log, ElementsAre("lamps 2", HasSubstr("could not be read, and saving")));
  EXPECT_EQ(surface.texts[IDC_SETUP_UP], "Up") << "player 2 read";
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  surface.log.clear();
  l.Ok();
  EXPECT_THAT(surface.log, ElementsAre("end 1"));
  EXPECT_EQ(folder.Get("gens.cfg"), "P1.Up=200\n" + test::Replace(player2, "P2.Up=200", "P2.Up=16"));
}

TEST_F(SetupLogicTest, AdvancedOpensTheConsolesHelpPageAndSetupHelpFindsTheWindow) {
  const struct {
    const char* alias;
    const char* window;
    const char* page;
  } cases[] = {{"SNES", "SNESC", "SNES_HELP.php"}, {"GEN", "GENC", "GEN_HELP.php"}, {"NES", "NESC", "NES_HELP.php"},
               {"2600", "A26C", "2600_HELP.php"},  {"GBC", "GBCC", "GBC_HELP.php"}, {"SMS", "SMSC", "SMS_HELP.php"},
               {"SGG", "SMSC", "SMS_HELP.php"},    {"COL", "SMSC", "SMS_HELP.php"}};
  for (const auto& c : cases) {
    const ConsoleLayout* layout = LayoutForSystem(c.alias);
    ASSERT_NE(layout, nullptr) << c.alias;
    EXPECT_EQ(layout->className, c.window);
    SetupLogic l(*layout, surface, *settings, "web.example:8011", input);
    surface.log.clear();
    l.Advanced();
    EXPECT_THAT(surface.log, ElementsAre(std::string("page http://web.example:8011/") + c.page));
  }
  for (const char* other : {"", "nes", "GB", "SMS ", "XYZ"}) EXPECT_EQ(LayoutForSystem(other), nullptr) << other;
  EXPECT_EQ(LayoutForSystem("COL")->captureAlias, "SMS");
}

}  // namespace
}  // namespace vt
