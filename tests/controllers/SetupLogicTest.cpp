// The set-up windows' behaviour with scripted keyboard and joysticks, real configuration files
// in a temporary emulator folder and the real settings file; only the window is recorded.
#include "controllers/SetupLogic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "resources/resource.h"
#include "tests/support/EmulatorFolder.h"
#include "tests/support/ScriptedInput.h"

namespace vt {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Ms = std::chrono::milliseconds;
using Sec = std::chrono::seconds;

std::string Id(int n) { return std::to_string(n); }

// The window: what it shows and does, in order, marked " (open)" while the devices are open. A
// press goes down when its prompt shows, and up when the capture idles, pauses or shows a box;
// the window's clock moves a quarter of a second each time the capture idles.
class RecordingSurface : public SetupSurface {
public:
  struct Press {
    std::function<void()> down, up;
    bool key = false;
  };
  WindowHandle Owner() override { return nullptr; }
  void SetFieldText(int id, const std::string& text) override {
    texts[id] = text;
    if (text.starts_with("Push ")) shown.push_back(text);
    if (!text.starts_with("Push ") || !text.ends_with("(15)")) return;  // not a new prompt
    Log("prompt " + Id(id) + " " + text);
    prompts.push_back(text);
    if (presses.empty()) return;
    current = presses.front();
    presses.pop_front();
    if (current.down) current.down();
  }
  void EnableButton(int id, bool on) override { Log((on ? "enable " : "disable ") + Id(id)); }
  void ShowLamps(int player) override { Log("lamps " + Id(player)); }
  void Pause(Ms d) override { Log("pause " + std::to_string(d.count())), Release(); }
  void Idle() override {
    now += Ms(250), Release();
    if (onIdle) onIdle();
  }
  void DropInput() override { Log("drop"); }
  std::chrono::steady_clock::time_point Now() override { return now; }
  // A box of the host ("CAPTION: TEXT") shows.
  void Box(const std::string& message) {
    Log(message + (current.key ? " over a key still down" : "")), Release();
    if (duringBox) std::exchange(duringBox, nullptr)();
  }
  void EndWindow(int result) override { Log("end " + Id(result)); }
  void Log(const std::string& e) { log.push_back(e + (open() ? " (open)" : "")); }
  void Release() {
    if (current.up) current.up();
    current = {};
  }

  std::function<bool()> open;
  std::deque<Press> presses;
  Press current;
  std::function<void()> onIdle, duringBox;
  std::chrono::steady_clock::time_point now;
  std::vector<std::string> log, prompts;  // prompts: as each capture first shows it
  std::vector<std::string> shown;         // every prompt and countdown, in order
  std::map<int, std::string> texts;
};

class SetupLogicTest : public ::testing::Test {
public:  // to the table rows too
  using Press = RecordingSurface::Press;
  SetupLogicTest() {
    settings->CreateKey(Hive::Machine, "Software\\Vintara");
    settings->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString,
                       folder.dir.path().string());
    surface.open = [this] { return logic && logic->devices().IsOpen(); };
    host.duringBox = [this] { surface.Box(host.messages.back()); };
  }
  SetupLogic& Make(Console console) {
    logic =
        std::make_unique<SetupLogic>(Layout(console), surface, host, *settings, "web.test", input);
    surface.log.clear(), surface.prompts.clear(), surface.shown.clear();
    return *logic;
  }
  Press Key(std::uint8_t code) {
    auto& keys = input.Keyboard();
    return {[&keys, code] { keys.Press(code); }, [&keys, code] { keys.Release(code); }, true};
  }
  Press Button(int n) {
    return {[this, n] { pad.SetButton(n, 0x80); }, [this, n] { pad.SetButton(n, 0); }};
  }
  void CaptureWith(Press press, int field) {
    surface.presses.push_back(std::move(press));
    logic->CaptureField(field);
  }
  BindingSlot Slot(int id) { return logic->layout().Field(id)->slot; }
  std::int32_t& CodeOf(int id) { return logic->config().Code(Slot(id)); }
  std::string NameOf(int id) { return logic->config().DisplayName(Slot(id)); }

  ScriptedInput input;  // outlives the devices the configuration holds
  ScriptedDevice& pad = input.Attach(ScriptedInput::TestGuid(7));
  test::EmulatorFolder folder;
  SettingsStore* settings = folder.settings.get();
  RecordingSurface surface;
  test::RecordingHost host;
  std::unique_ptr<SetupLogic> logic;
};

// Every Set All of every window prompts its fields in its order with their Set All prompts, and
// stores what each press gives (a joystick column's buttons, a keyboard column's keys).
TEST_F(SetupLogicTest, EverySetAllCapturesItsFieldsInItsOrder) {
  using enum Console;
  using Names = std::vector<std::string>;
  const Names pad = {"Up", "Down", "Left", "Right", "Select", "Start", "A", "B"};
  const Names sms = {"Up", "Down", "Left", "Right", "Button 1", "Button 2", "Pause"};
  auto with = [](Names a, Names b) { return a.insert(a.end(), b.begin(), b.end()), a; };
  const struct {
    Console console;
    int setAll;
    bool joystick;
    Names buttons;  // "Push " each, in the order the user is asked
  } orders[] = {
      {GBCC, IDC_GBCC_SET_ALL_KEYBOARD, false, with(pad, {"Auto A", "Auto B"})},
      {GBCC, IDC_GBCC_SET_ALL_JOYSTICK, true, {"Select", "Start", "A", "B", "Auto A", "Auto B"}},
      {GENC, IDC_SETUP_SET_ALL, false, {"Up", "Down", "Left", "Right", "Start", "A", "B", "C"}},
      {NESC, IDC_SETUP_SET_ALL, false, pad},
      {SMSC, IDC_SMSC_SET_ALL_KEYBOARD, false, sms},
      {SMSC, IDC_SMSC_SET_ALL_JOYSTICK, true, sms},
      {SNESC, IDC_SETUP_SET_ALL, false, with(pad, {"X", "Y", "L", "R"})},
  };
  for (const auto& o : orders) {
    SCOPED_TRACE(o.setAll);
    SetupLogic& l = Make(o.console);
    std::vector<std::string> want;
    for (const std::string& button : o.buttons) {
      const auto i = static_cast<std::uint8_t>(want.size());
      surface.presses.push_back(o.joystick ? Button(i) : Key(0x10 + i));
      want.push_back("Push " + button + " (15)");
    }
    l.SetAll(o.setAll);
    EXPECT_EQ(surface.prompts, want);
    int code = o.console == SMSC && o.joystick ? 272 : o.joystick ? 0 : 0x10;
    for (int id : l.layout().SetAll(o.setAll)->order) EXPECT_EQ(CodeOf(id), code++);
  }
  EXPECT_TRUE(LayoutForSystem("SGG") == &Layout(SMSC) && LayoutForSystem("COL") == &Layout(SMSC));
  EXPECT_EQ(LayoutForSystem("nes"), nullptr);
  SetupLogic atari(*LayoutForSystem("2600"), surface, host, *settings, "web.test", input);
  surface.log.clear();
  atari.Advanced(), atari.Ok();  // the Atari window has no OK: Enter does nothing
  EXPECT_TRUE(surface.log.empty());
  EXPECT_THAT(host.pages, ElementsAre("http://web.test/2600_HELP.php"));
}

// One field: prompt, devices open, OK disabled, the rule (a refusal once the keys are up and the
// queued input dropped), the wait, the names, devices closed, input dropped, OK enabled.
TEST_F(SetupLogicTest, AFieldCaptureFollowsItsDeviceRule) {
  // A key's scan code or a button's number, and what is stored or the refusal (nothing
  // changes). (What a field of each column stores is every Set All's.)
  using enum Console;
  const char* const useTheKeyboard = "Invalid Selection, Please Use The Keyboard.";
  const char* const useAJoystick = "Invalid Selection, Please Use A Joystick Or Gamepad.";
  const char* const noName = "Invalid Selection, MEKA Has No Name For That Key.";
  const struct {
    Console console;
    int field;
    const char* prompt;
    bool joystick;
    int input;
    int stored;
    const char* refusal;
  } cases[] = {
      {GBCC, IDC_SETUP_UP, "Push Up", true, 0, 0, useTheKeyboard},
      {GBCC, IDC_GBCC_JOY_A, "Push A", false, 0x2D, 0, useAJoystick},
      {SMSC, IDC_SMSC_JOY_BUTTON1, "Push Button 1", false, 0x1D, 0, useAJoystick},
      // MEKA's file has no name for Escape: written, it would read back as the 1 key.
      {SMSC, IDC_SMSC_UP, "Push Up", false, 0x01, 0, noName},
      {SMSC, IDC_SMSC_DOWN, "Push Down", false, 0x47, 0x47, nullptr},  // keypad 7, MEKA's "7"
      {GENC, IDC_GENC_C, "Push C", true, 2, 0x1012, nullptr},
      {SNESC, IDC_SNESC_X, "Push X", true, 4, 256 + 16 + 4, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    Make(c.console);
    CodeOf(c.field) = 99;
    CaptureWith(c.joystick ? Button(c.input) : Key(static_cast<std::uint8_t>(c.input)), c.field);
    std::vector<std::string> want = {"prompt " + Id(c.field) + " " + c.prompt + " (15)",
                                     "disable 1 (open)"};
    if (c.refusal)
      want.insert(want.end(), {"drop (open)", "Error: " + std::string(c.refusal) + " (open)"});
    want.insert(want.end(), {"pause 500 (open)", "drop", "enable 1"});
    EXPECT_EQ(surface.log, want);
    EXPECT_EQ(CodeOf(c.field), c.refusal ? 99 : c.stored);
    EXPECT_EQ(surface.texts[c.field], NameOf(c.field));
  }
  Make(Console::NESC);
  CaptureWith(Button(2), IDC_SETUP_A);  // the NES window's A field: nester's "A" record
  const NesterBinding button = {ScriptedInput::TestGuid(7), 2, 0, 50, 0};
  EXPECT_EQ(logic->config().nesRecords[6], button);
  // A Set All refused at its third field ends there, keeping the first two.
  Make(Console::SMSC);
  surface.presses = {Key(0x11), Key(0x1F), Button(0)};
  logic->SetAll(IDC_SMSC_SET_ALL_KEYBOARD);
  EXPECT_EQ(surface.prompts.size(), 3u);
  EXPECT_EQ(CodeOf(IDC_SMSC_DOWN) + CodeOf(IDC_SMSC_LEFT), 0x1F);
  EXPECT_THAT(surface.log, ::testing::Contains(HasSubstr(useTheKeyboard)));
  EXPECT_EQ(surface.log.back(), "enable 1");
}

// The ways out of a capture and of a Set All: nothing more is bound (a Set All keeps the fields
// before), at once or at the time limit on the window's clock; the devices are closed and the
// window stays open.
TEST_F(SetupLogicTest, EveryWayOutLeavesTheFieldAsItWas) {
  // What the user does when the field's prompt shows, and when the capture ends on its clock.
  const struct {
    const char* name;
    std::function<void(SetupLogicTest&)> act;
    int s;
  } ways[] = {
      {"Cancel clicked", [](auto& t) { t.surface.onIdle = [&t] { t.logic->Cancel(); }; }, 0},
      {"Escape held, then let go", [](auto& t) { t.input.Keyboard().Press(kEscapeScanCode); }, 6},
      {"nothing for fifteen seconds", [](auto&) {}, 15},
      {"the pad unplugged, the keyboard failing",
       [](auto& t) { t.pad.Unplug(), t.input.Keyboard().Unplug(); }, 0},
  };
  for (const auto& way : ways) {
    for (bool setAll : {false, true}) {
      SCOPED_TRACE(std::string(way.name) + (setAll ? " in a Set All" : ""));
      SetupLogic& l = Make(Console::NESC);
      l.Start();
      ControllerConfig before = l.config();
      if (setAll) surface.presses.push_back(Key(0x10));
      surface.presses.push_back({[&] { way.act(*this); }, nullptr});
      const auto start = surface.now;
      setAll ? l.SetAll(IDC_SETUP_SET_ALL) : l.CaptureField(IDC_SETUP_UP);
      EXPECT_EQ(std::chrono::duration_cast<Sec>(surface.now - start).count(), way.s);
      if (way.s == 15 && !setAll) {  // the prompt counts the seconds down
        ASSERT_EQ(surface.shown.size(), 15u);
        EXPECT_EQ(surface.shown[0] + surface.shown[1] + surface.shown[14],
                  "Push Up (15)Push Up (14)Push Up (1)");
      }
      surface.onIdle = nullptr;
      input.Keyboard().Release(kEscapeScanCode);
      input.Keyboard().results = pad.results = {};
      EXPECT_EQ(surface.prompts.size(), setAll ? 2u : 1u);
      EXPECT_EQ(input.LiveDevices(), 0);
      EXPECT_EQ(surface.log.back(), "enable " + std::to_string(setAll ? 1068 : 1));
      if (setAll) before.Code(SlotUp) = CodeOf(IDC_SETUP_UP);
      if (setAll) before.nesRecords[0] = l.config().nesRecords[0];
      EXPECT_EQ(l.config().bindingCodes, before.bindingCodes);
      EXPECT_EQ(l.config().nesRecords, before.nesRecords);
      for (const SetupField& f : l.layout().fields)
        EXPECT_FALSE(surface.texts[f.id].starts_with("Push"));
    }
  }
}

// A duplicate within a column is stored but marked on both fields until one of them changes;
// the same number in the keyboard and the joystick column is no duplicate.
TEST_F(SetupLogicTest, AnInputBoundTwiceIsMarkedUntilOneOfTheTwoChanges) {
  const struct {
    Console console;
    int first, second;
    bool joystick, marked;
  } cases[] = {{Console::NESC, IDC_SETUP_UP, IDC_SETUP_DOWN, false, true},
               {Console::GBCC, IDC_SETUP_START, IDC_GBCC_JOY_START, true, false}};
  for (const auto& c : cases) {
    Make(c.console);
    CaptureWith(c.joystick && c.marked ? Button(5) : Key(0x05), c.first);
    CaptureWith(c.joystick ? Button(5) : Key(0x05), c.second);
    for (int id : {c.first, c.second})
      EXPECT_EQ(surface.texts[id], NameOf(id) + (c.marked ? " (twice)" : ""));
    CaptureWith(Key(0x2F), c.first);
    EXPECT_EQ(surface.texts[c.second], NameOf(c.second));
  }
}

// A switch saves the player left; OK then saves the current one, Cancel nothing more. A save
// that fails says why and keeps the window, the player and the captures; a player whose reader
// failed is never written, and does not hold the switch to the other one.
TEST_F(SetupLogicTest, SwitchOkAndCancelSaveWhatTheyMustAndNothingThatWasNotRead) {
  const std::string gens = test::Fixture("gens.cfg");
  const std::string noPlayer1 = test::Replace(gens, "P1.Down", "P1.Dn");  // cannot be read
  folder.Put("gens.cfg", gens);
  Make(Console::GENC).Start();
  logic->SwitchPlayer(1);  // the current player's lamp: nothing read, nothing written
  EXPECT_TRUE(surface.log.empty());
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  logic->SwitchPlayer(2);
  const std::string saved = test::Replace(gens, "P1.Up=200", "P1.Up=16");
  EXPECT_EQ(folder.Get("gens.cfg"), saved);
  CaptureWith(Key(0x11), IDC_SETUP_UP);
  logic->Cancel();  // (the recorded window does not really end)
  EXPECT_EQ(folder.Get("gens.cfg"), saved);
  EXPECT_EQ(surface.log.back(), "end 2");
  logic->Ok();
  EXPECT_EQ(folder.Get("gens.cfg"), test::Replace(saved, "P2.Up=4097", "P2.Up=17"));
  EXPECT_EQ(surface.log.back(), "end 1");
  folder.Put("gens.cfg", gens);
  Make(Console::GENC).Start();
  folder.Put("gens.cfg", noPlayer1);  // changed behind the window's back
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  surface.log.clear();
  logic->Ok();
  logic->SwitchPlayer(2);
  EXPECT_THAT(surface.log, ElementsAre(HasSubstr("(it does not hold the settings"), "lamps 2",
                                       HasSubstr("not saved"), "lamps 1"));
  EXPECT_EQ(CodeOf(IDC_SETUP_UP), 0x10) << "the player and the captures stay";
  Make(Console::GENC).Start();  // player 1 cannot be read now
  logic->Ok();
  logic->SwitchPlayer(2);
  const std::string notRead =
      "Error: The controller settings were not saved: " + folder.dir.path().string() +
      "\\gens.cfg could not be read, and saving would replace the settings in it with empty "
      "ones.\n\nCheck it, then close this window and open it again.";
  EXPECT_THAT(surface.log, ElementsAre(notRead, "lamps 2", HasSubstr("could not be read")));
  CaptureWith(Key(0x10), IDC_SETUP_UP);
  logic->Ok();
  EXPECT_EQ(surface.log.back(), "end 1");
  EXPECT_EQ(folder.Get("gens.cfg"), test::Replace(noPlayer1, "P2.Up=4097", "P2.Up=16"));
  folder.Put("gens.cfg", test::Replace(gens, "P2.Down", "P2.Dn"));  // player 2 cannot be read
  Make(Console::GENC).Start();
  logic->SwitchPlayer(2);
  EXPECT_EQ(surface.texts[IDC_SETUP_UP], "") << "player 1's name under player 2's lamp";
  EXPECT_EQ(CodeOf(IDC_SETUP_UP), 0);
}

}  // namespace
}  // namespace vt
