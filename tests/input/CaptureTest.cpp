// Captures against scripted devices: each family's numbering, axes judged from their rest, the
// precedence of inputs, the NES records, and the wait for one binding with its ways out.
#include "tests/input/InputFixture.h"

namespace vt::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint8_t kDown = 0x80;

struct AxisCode {
  Axis axis;
  int sign;
  std::int32_t code;  // on joystick 0
};
struct Family {
  const char* name;
  const char* alias;  // null: the NES capture
  std::vector<AxisCode> axes;
  std::int32_t perJoystick;
  int buttons;
  std::int32_t button0;
  bool highBitOnly;
  std::int32_t AxisCodeOf(Axis axis, int sign, int joystick = 0) const {
    for (const AxisCode& a : axes)
      if (a.axis == axis && a.sign == sign) return a.code + perJoystick * joystick;
    return 0;
  }
};
void PrintTo(const Family& family, std::ostream* out) { *out << family.name; }

// The codes each family's emulator stores, as the capture's own description numbers them.
const std::vector<Family>& Families() {
  using enum Axis;
  static const std::vector<Family> families = {
      {"Snes", "SNES",
       {{X, +1, 256}, {X, -1, 257}, {Y, +1, 258}, {Y, -1, 259}, {Z, +1, 260}, {Z, -1, 261}, {Ry, +1, 262},
        {Ry, -1, 263}, {Rz, -1, 264}, {Rz, +1, 265}, {Slider0, +1, 266}, {Slider0, -1, 267}, {Slider1, +1, 268},
        {Slider1, -1, 269}},
       32, 16, 272, true},
      {"Genesis", "GEN", {{Y, -1, 0x1001}, {Y, +1, 0x1002}, {X, -1, 0x1003}, {X, +1, 0x1004}}, 256, 32, 0x1010, false},
      {"GameBoy", "GBC", {{Y, -1, 257}, {Y, +1, 257}, {X, -1, 257}, {X, +1, 257}}, 0, 32, 257, false},
      {"MasterSystem", "SMS",
       {{X, +1, 256}, {X, -1, 257}, {Y, +1, 258}, {Y, -1, 259}, {Z, +1, 260}, {Z, -1, 261}, {Ry, +1, 262},
        {Ry, -1, 263}, {Rz, +1, 264}, {Rz, -1, 265}, {Slider0, +1, 266}, {Slider0, -1, 267}, {Slider1, +1, 268},
        {Slider1, -1, 269}},
       0, 16, 272, true},
      {"Nes", nullptr,
       {{X, +1, 0x1001}, {X, -1, 0x1002}, {Y, +1, 0x1003}, {Y, -1, 0x1004}, {Z, +1, 0x1005}, {Z, -1, 0x1006}},
       256, 128, 0x1010, false},
  };
  return families;
}

class FamilyCapture : public InputFixture, public ::testing::WithParamInterface<Family> {
protected:
  std::int32_t CaptureOnce() {
    if (!GetParam().alias) return CaptureNesButton(config, "A");
    config.systemAlias = GetParam().alias;
    return CaptureBinding(config);
  }
};

// A centred pad: every axis direction, button and joystick gives the family's code; a stick
// inside the dead zone, lRx and the point of view give nothing; the later test that holds wins.
TEST_P(FamilyCapture, ACentredPadGivesTheFamilysCodes) {
  const Family& family = GetParam();
  OpenWith(kMaxJoysticks);
  EXPECT_EQ(CaptureOnce(), 0);
  for (int j = 0; j < kMaxJoysticks; ++j) {
    ScriptedDevice& pad = *joysticks[j];
    for (int a = 0; a < kAxisCount; ++a) {
      for (int sign : {+1, -1}) {
        const Axis axis = static_cast<Axis>(a);
        pad.Push(axis, 450 * sign);  // inside the dead zone
        EXPECT_EQ(CaptureOnce(), 0);
        pad.Push(axis, 600 * sign);
        EXPECT_EQ(CaptureOnce(), family.AxisCodeOf(axis, sign, j)) << "joystick " << j << " axis " << a << " " << sign;
        pad.Push(axis, 0);
        EXPECT_EQ(CaptureOnce(), 0);
      }
    }
    for (int n : {0, 15, 16, 31, 127}) {
      const std::int32_t code = n < family.buttons ? family.button0 + family.perJoystick * j + n : 0;
      pad.SetButton(n, kDown);
      EXPECT_EQ(CaptureOnce(), code) << "joystick " << j << " button " << n;
      pad.SetButton(n, 0x01);  // non-zero without bit 0x80
      EXPECT_EQ(CaptureOnce(), family.highBitOnly ? 0 : code) << "joystick " << j << " button " << n;
      pad.SetButton(n, 0);
    }
  }
  for (std::size_t first = 0; first + 1 < family.axes.size(); ++first) {
    const AxisCode& a = family.axes[first];
    const AxisCode& b = family.axes.back();
    if (a.axis == b.axis) continue;
    joysticks[4]->Push(a.axis, 1000 * a.sign);
    joysticks[4]->Push(b.axis, 1000 * b.sign);
    EXPECT_EQ(CaptureOnce(), b.code + family.perJoystick * 4) << first;
    joysticks[4]->SetButton(1, kDown);  // a button beats every axis
    EXPECT_EQ(CaptureOnce(), family.button0 + family.perJoystick * 4 + 1);
    joysticks[4]->SetButton(1, 0);
    joysticks[4]->Push(a.axis, 0);
    joysticks[4]->Push(b.axis, 0);
    EXPECT_EQ(CaptureOnce(), 0);
  }
  EXPECT_THAT(messages, IsEmpty());
}

// Pads users own whose axes do not rest centred: a resting axis is never a press, a pressed
// button still is, and the axis pulled to its other end binds that direction.
TEST_P(FamilyCapture, AxesCountFromWhereTheyRest) {
  const Family& family = GetParam();
  const struct Pad {
    const char* name;
    std::vector<std::pair<Axis, int>> rest;  // permille
    bool letGo;  // a stick held as the capture begins counts once let go
  } pads[] = {{"triggers at their ends", {{Axis::Z, -1000}, {Axis::Rz, -1000}, {Axis::Slider0, 1000}}, false},
              {"a stick resting off-centre", {{Axis::X, 700}, {Axis::Y, -700}}, false},
              {"a stick held as the capture begins", {{Axis::X, 1000}, {Axis::Y, 1000}}, true}};
  ScriptedDevice& pad = input.Attach(ScriptedInput::TestGuid(0x20));
  for (const Pad& p : pads) {
    SCOPED_TRACE(p.name);
    for (int a = 0; a < kAxisCount; ++a) pad.Push(static_cast<Axis>(a), 0);
    for (const auto& [axis, at] : p.rest) pad.Push(axis, at);
    Open();
    EXPECT_EQ(CaptureOnce(), 0);
    pad.SetButton(5, kDown);
    EXPECT_EQ(CaptureOnce(), family.button0 + 5);
    if (!family.alias) EXPECT_EQ(config.nesRecords[6].DeviceType, kNesterJoystickButton) << "a resting axis wrote it";
    pad.SetButton(5, 0);
    for (const auto& [axis, at] : p.rest) {
      const int sign = at > 0 ? 1 : -1;
      pad.Push(axis, -at);
      EXPECT_EQ(CaptureOnce(), family.AxisCodeOf(axis, -sign)) << static_cast<int>(axis);
      pad.Push(axis, at);
      EXPECT_EQ(CaptureOnce(), 0) << "back at rest";
      if (!p.letGo) continue;
      pad.Push(axis, 0);
      EXPECT_EQ(CaptureOnce(), 0);
      pad.Push(axis, at);
      EXPECT_EQ(CaptureOnce(), family.AxisCodeOf(axis, sign));
      pad.Push(axis, 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyCapture, ::testing::ValuesIn(Families()),
                         [](const auto& info) { return std::string(info.param.name); });

class CaptureTest : public InputFixture {
protected:
  std::int32_t Capture(const char* alias) {
    config.systemAlias = alias;
    return CaptureBinding(config);
  }
};

// In a Set All the devices stay open: an axis that gave a binding counts again only after it has
// come back to where it rested, so one pull does not bind two fields in a row.
TEST_F(CaptureTest, AnAxisJustBoundWaitsUntilItIsBackAtRest) {
  OpenWith(1);
  joysticks[0]->Push(Axis::Z, -1000);  // a trigger at rest
  EXPECT_EQ(Capture("SNES"), 0);
  joysticks[0]->Push(Axis::Z, 1000);
  EXPECT_EQ(Capture("SNES"), 260);
  config.input.ForgetRests();  // the next field
  EXPECT_EQ(Capture("SNES"), 0) << "still pulled";
  joysticks[0]->Push(Axis::Z, 0);
  EXPECT_EQ(Capture("SNES"), 0) << "on its way back";
  joysticks[0]->Push(Axis::Z, -1000);
  EXPECT_EQ(Capture("SNES"), 0) << "at rest";
  joysticks[0]->Push(Axis::Z, 1000);
  EXPECT_EQ(Capture("SNES"), 260) << "pulled again";
}

TEST_F(CaptureTest, KeysBeforeJoysticksAndTheFirstJoystickWithAResultWins) {
  OpenWith(4);
  input.Keyboard().Press(0xD0);
  input.Keyboard().Press(0xCB);
  joysticks[1]->SetButton(0, kDown);
  joysticks[2]->SetButton(0, kDown);
  input.ClearLog();
  EXPECT_EQ(Capture("SNES"), 0xCB) << "the lower scan code";
  EXPECT_THAT(LogOf("joystick"), IsEmpty());
  input.Keyboard().Release(0xCB);
  input.Keyboard().Release(0xD0);
  input.Keyboard().Press(0x00);  // a stray bit at scan code 0 is no key and hides no joystick
  input.ClearLog();
  EXPECT_EQ(Capture("GEN"), 0x1110);
  EXPECT_THAT(LogOf("joystick"), ElementsAre("joystick0.Poll", "joystick0.GetDeviceState 272", "joystick1.Poll",
                                             "joystick1.GetDeviceState 272"));
  input.ClearLog();
  for (const char* alias : {"2600", "NES", "", "snes", "COL"}) EXPECT_EQ(Capture(alias), 255) << alias;
  for (const char* button : {"up", "Turbo", "", "A "}) EXPECT_EQ(CaptureNesButton(config, button), 255) << button;
  EXPECT_THAT(input.Log(), IsEmpty());
}

// Each capture writes its device's fields of the record and leaves the others as they were: only
// the keyboard sets Key, only an axis sets JAxisPositive; the last test that holds wins.
TEST_F(CaptureTest, NesRecordsTakeWhatEachCaptureFound) {
  OpenWith(2);
  const NesterBinding& up = config.nesRecords[0];
  const DeviceGuid first = ScriptedInput::TestGuid(0x10), second = ScriptedInput::TestGuid(0x11);
  EXPECT_EQ(CaptureNesButton(config, "Up"), 0);
  EXPECT_EQ(up, NesterBinding{}) << "nothing pressed changes nothing";
  input.Keyboard().Press(0x2D);
  EXPECT_EQ(CaptureNesButton(config, "Up"), 0x2D);
  EXPECT_EQ(up, (NesterBinding{kGuidSysKeyboard, 1, 0, 0, 0x2D}));
  input.Keyboard().Release(0x2D);
  joysticks[0]->Push(Axis::X, 1000);
  joysticks[0]->Push(Axis::Y, -1000);
  EXPECT_EQ(CaptureNesButton(config, "Up"), 0x1004);
  EXPECT_EQ(up, (NesterBinding{first, 3, 0, 4, 0x2D}));
  joysticks[0]->Push(Axis::X, 0);
  joysticks[0]->Push(Axis::Y, 0);
  joysticks[1]->Push(Axis::Z, 1000);
  joysticks[1]->SetButton(2, 1);
  EXPECT_EQ(CaptureNesButton(config, "Up"), 0x1112);
  EXPECT_EQ(up, (NesterBinding{second, 2, 1, 50, 0x2D})) << "the button wins, the axis's direction stays";
  joysticks[1]->SetButton(2, 0);
  joysticks[1]->Push(Axis::Z, 0);
  joysticks[0]->SetButton(7, kDown);
  EXPECT_EQ(CaptureNesButton(config, "B"), 0x1017);
  EXPECT_EQ(config.nesRecords[7], (NesterBinding{first, 2, 0, 55, 0}));
}

// The ways a wait ends, on a clock that moves a quarter of a second per poll.
TEST_F(CaptureTest, TheWaitEndsWithACodeOrAWayOut) {
  OpenWith(1);
  config.systemAlias = "SMS";
  const auto t0 = std::chrono::steady_clock::time_point{};
  struct Case {
    const char* name;
    std::function<void(int poll)> user;  // before each poll
    bool stays = true;                   // idle's answer
    WaitResult expected;
  } cases[] = {
      {"a button at the third poll", [&](int n) { joysticks[0]->SetButton(2, n == 3 ? kDown : 0); }, true, {274, WaitEnd::Code}},
      {"Escape tapped", [&](int n) { n == 1 ? input.Keyboard().Press(1) : input.Keyboard().Release(1); }, true, {1, WaitEnd::Code}},
      {"Escape held a second", [&](int) { input.Keyboard().Press(1); }, true, {0, WaitEnd::Left}},
      {"Escape let go for another key", [&](int n) { input.Keyboard().Release(1); input.Keyboard().Press(n < 2 ? 1 : 0x1C); }, true, {0x1C, WaitEnd::Code}},
      {"Cancel clicked", [&](int) {}, false, {0, WaitEnd::Left}},
      {"nothing for the whole time", [&](int) {}, true, {0, WaitEnd::TimedOut}},
      {"the pad unplugged and no keyboard", [&](int n) { if (n == 2) { joysticks[0]->Unplug(); input.Keyboard().Unplug(); } }, true, {0, WaitEnd::NoDevices}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    int polls = 0;
    std::vector<int> secondsLeft;
    WaitOptions options;
    options.now = [&] { return t0 + std::chrono::milliseconds(250 * polls); };
    options.idle = [&](std::chrono::milliseconds left) {
      secondsLeft.push_back(static_cast<int>(left.count() / 1000));
      return c.stays;
    };
    const WaitResult got = WaitForCode(config, [&](ControllerConfig& cc) {
      c.user(++polls);
      return CaptureBinding(cc);
    }, options);
    EXPECT_EQ(got.code, c.expected.code);
    EXPECT_EQ(got.end, c.expected.end);
    if (c.expected.end == WaitEnd::TimedOut) {
      EXPECT_EQ(polls, 60);
      EXPECT_EQ(secondsLeft.front(), 14);
    }
    input.Keyboard().Release(1);
    input.Keyboard().Release(0x1C);
    joysticks[0]->SetButton(2, 0);
  }
}

// While a pad must be polled the wait wakes often enough to see every press within 10 ms; when
// every device signals, only a missed signal would need the longer bound.
TEST_F(CaptureTest, PolledPadsAreReadEveryEightMillisecondsAndSignallingOnesWakeTheWait) {
  for (bool signals : {false, true}) {
    input.SetSignals(signals);
    OpenWith(1);
    input.ClearLog();
    int polls = 0;
    const WaitResult got = WaitForCode(config, [&](ControllerConfig& c) {
      if (++polls == 3) input.Keyboard().Press(0x10);
      return CaptureSnesBinding(c);
    });
    EXPECT_EQ(got.code, 0x10);
    const std::string wait = signals ? "WaitForInput 20000" : "WaitForInput 8000";
    EXPECT_THAT(LogOf("WaitForInput"), ElementsAre(wait, wait));
    input.Keyboard().Release(0x10);
  }
}

}  // namespace
}  // namespace vt::test
