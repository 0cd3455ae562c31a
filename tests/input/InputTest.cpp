// The input layer against scripted DirectInput. Opening, reading and closing the devices: what
// they are left in, the failure at each step with its message box, and the state a capture reads
// afterwards. Captures: each family's numbering, axes judged from where they rest, the
// precedence of inputs and the NES records.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "input/KeyNames.h"
#include "tests/support/ScriptedInput.h"

namespace vt {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class InputDevicesTest : public ::testing::Test, public InputRig {};
using Message = std::string;  // "CAPTION: TEXT"

const Message kInitKeyboardFailed = "Error: InitKeyboard Failed";
const Message kJoystickLevel = "Error: Failed to set joystick coop level";
Message DiError(const char* name) { return std::string("DI Error: ") + name; }
std::int32_t Snes(InputDevices& devices) { return CaptureInput(devices, CaptureFamily::Snes); }

// What an opening leaves: every device formatted for what it is and acquired, non-exclusive in
// the background, each axis object (absolute or relative) on the range -10000 to 10000 with a
// dead zone of half of it, no other object touched. What a closing leaves: every device
// unacquired before its release, the interface released, the GUID table kept.
TEST_F(InputDevicesTest, AnOpeningLeavesEveryDeviceReadyAndAClosingNothingHeld) {
  Attach(0xA1).objects = {ScriptedDevice::AxisType(Axis::X), 0x000C,
                          ScriptedDevice::AxisType(Axis::Y, kObjectRelativeAxis)};
  Attach(0xB2).objects = {};
  Open();
  ScriptedDevice* all[] = {&input.Keyboard(), joysticks[0], joysticks[1]};
  for (const ScriptedDevice* d : all) {
    SCOPED_TRACE(d->name);
    EXPECT_TRUE(d->formatted && d->acquired);
    EXPECT_EQ(d->level, 0x2u | 0x8u) << "DISCL_NONEXCLUSIVE | DISCL_BACKGROUND";
  }
  using Setting = std::pair<const std::uint32_t, std::array<std::int32_t, 3>>;
  EXPECT_THAT(joysticks[0]->axisSettings, ElementsAre(Setting{0x002, {-10000, 10000, 5000}},
                                                      Setting{0x101, {-10000, 10000, 5000}}));
  EXPECT_THAT(joysticks[1]->axisSettings, IsEmpty());
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_FALSE(InputDevices(devices).IsOpen()) << "a copy is closed";
  Open();  // opening again closes what was open
  EXPECT_EQ(input.LiveDevices(), 3);
  devices.Close();
  EXPECT_EQ(input.LiveDevices(), 0);
  EXPECT_EQ(input.Log().back(), "interface.Release");
  for (const ScriptedDevice* d : all) EXPECT_FALSE(d->releasedAcquired) << d->name;
  EXPECT_FALSE(devices.JoystickPresent(0));
  EXPECT_EQ(devices.JoystickGuid(1), ScriptedInput::TestGuid(0xB2));
}

// Each step of the opening that fails: its message (or none), the devices still held, the
// controllers present, and how far the axis set-up went.
TEST_F(InputDevicesTest, EachFailedStepOfTheOpeningSaysWhatItMustAndTheOpeningGoesOn) {
  enum Who { Interface = -3, Enumeration = -2, Keys = -1 };  // or a controller's number
  using R = ScriptedDevice::Results;
  const auto range = &R::setRange, zone = &R::setDeadZone, level = &R::cooperativeLevel,
             format = &R::dataFormat, objects = &R::enumObjects, make = &R::create;
  constexpr HResult bad = dierr::InvalidParam, fail = dierr::Generic;
  struct Failure {
    int who;
    ScriptedResult R::*step;
    HResult result;
  };
  // clang-format off
  const struct Case {
    const char* name;
    int pads;
    std::vector<Failure> failures;
    std::vector<Message> messages;
    int live, present;  // devices held, present flags
    std::size_t ranges;  // SetRange calls
  } cases[] = {
      {"an axis range: silent", 1, {{0, range, bad}}, {}, 2, 1, 1},
      {"dead zones: named or not", 3,
       {{0, zone, dierr::ObjectNotFound}, {1, zone, dierr::Unsupported}, {2, zone, fail}},
       {DiError("DIERR_OBJECTNOTFOUND"), DiError("DIERR_UNSUPPORTED")}, 4, 3, 3},
      {"the keyboard's creation", 1, {{Keys, make, fail}}, {kInitKeyboardFailed}, 1, 1, 8},
      {"the keyboard's data format", 0, {{Keys, format, bad}},
       {kInitKeyboardFailed, DiError("DIERR_INVALIDPARAM")}, 1, 0, 0},
      {"the keyboard's level and acquire", 0,
       {{Keys, level, bad}, {Keys, &R::acquire, dierr::OtherAppHasPrio}},
       {"Error: Failed to set keyboard coop level", DiError("DIERR_OTHERAPPHASPRIO")}, 1, 0, 0},
      {"two joysticks' levels", 3, {{0, level, fail}, {2, level, fail}},
       {kJoystickLevel, kJoystickLevel}, 4, 3, 24},
      {"the enumeration, without a joystick", 0, {{Enumeration, {}, fail}}, {kInitKeyboardFailed},
       1, 0, 0},
      {"the first joystick's objects only", 2, {{0, objects, bad}}, {}, 3, 2, 8},
      {"the last joystick's objects", 2, {{1, objects, bad}}, {kInitKeyboardFailed}, 3, 2, 8},
      {"the last joystick's data format", 2, {{0, format, bad}, {1, format, bad}},
       {kInitKeyboardFailed}, 3, 2, 16},
      {"a joystick's creation stops the enumeration", 3, {{1, make, fail}}, {}, 2, 1, 8},
      {"seven controllers: five are kept", 7, {}, {}, 6, 5, 40},
      {"the interface", 1, {{Interface, {}, fail}}, {kInitKeyboardFailed}, 0, 0, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InputRig t;
    for (int i = 0; i < c.pads; ++i) t.Attach(static_cast<std::uint8_t>(i + 1));
    for (const Failure& f : c.failures)
      (f.who == Interface ? t.input.create
       : f.who == Enumeration
           ? t.input.enumDevices
           : (f.who == Keys ? t.input.Keyboard() : *t.joysticks[f.who]).results.*f.step)
          .Always(f.result);
    t.Open();
    EXPECT_EQ(t.messages, c.messages);
    EXPECT_EQ(t.input.LiveDevices(), c.live);
    int present = 0;
    for (int i = 0; i < kMaxJoysticks; ++i) present += t.devices.JoystickPresent(i);
    EXPECT_EQ(present, c.present);
    EXPECT_EQ(t.LogOf("joystick", ".SetRange").size(), c.ranges);
  }
  // A failed creation keeps its GUID; a relative axis gets both properties a second time, and
  // then a failed range is named and ends the device's objects.
  InputRig t;
  t.Attach(1).objects = {ScriptedDevice::AxisType(Axis::X, kObjectRelativeAxis),
                         ScriptedDevice::AxisType(Axis::Y)};
  t.Attach(2).results.create.Always(fail);
  t.joysticks[0]->results.setRange.Next({dierr::Ok, dierr::NotInitialized});
  t.Open();
  EXPECT_EQ(t.devices.JoystickGuid(1), ScriptedInput::TestGuid(2));
  EXPECT_EQ(t.messages, std::vector<Message>{DiError("DIERR_NOTINITIALIZED")});
  EXPECT_EQ(t.LogOf("joystick", ".SetRange").size(), 2u);
}

// Reading joysticks: input lost is acquired again (but not forever) before the read; a failed
// read keeps the last state within one capture only; a pad unplugged, or whose reads keep
// failing, drops out without a message and the capture goes on with the others.
TEST_F(InputDevicesTest, JoystickReadsSurviveLostInputAndUnpluggedPadsDropOut) {
  auto& pad = Attach(1);
  auto& other = Attach(2);
  pad.results.acquire.Next({dierr::InputLost, dierr::InputLost});
  Open();
  EXPECT_EQ(LogOf("joystick0.Acquire").size(), 3u);
  input.ClearLog();
  pad.results.poll.Next({dierr::InputLost});
  pad.results.acquire.Next({dierr::InputLost});
  pad.SetButton(3, 0x80);
  EXPECT_EQ(Snes(devices), 256 + 16 + 3);
  EXPECT_THAT(LogOf("joystick0"), ElementsAre("joystick0.Poll", "joystick0.Acquire",
                                              "joystick0.Acquire", "joystick0.GetDeviceState 272"));
  pad.SetButton(3, 0);
  pad.results.read.Next({dierr::InputLost});
  EXPECT_FALSE(devices.PollJoystick(0));
  EXPECT_EQ(devices.Joystick(0).rgbButtons[3], 0x80) << "kept from the last good read";
  pad.results.acquire.Always(dierr::InputLost);  // and never stops, which must not hang the opening
  Open();  // the next capture's first read fails: it must not see the button pressed last time
  EXPECT_EQ(Snes(devices), 0);
  for (bool unplugged : {true, false}) {
    SCOPED_TRACE(unplugged ? "unplugged" : "reads failing");
    pad.results = {};
    Open();
    unplugged ? pad.Unplug() : pad.results.read.Always(dierr::Generic);
    other.SetButton(1, 0x80);
    for (int poll = 0; poll < 3; ++poll) {  // an unplugged pad goes at once, failing reads at 3
      EXPECT_EQ(Snes(devices), 256 + 32 + 16 + 1);
      EXPECT_EQ(devices.JoystickPresent(0), !unplugged && poll < 2) << poll;
    }
    EXPECT_EQ(input.LiveDevices(), 2) << "the keyboard and the other pad";
    input.ClearLog();
    Snes(devices);
    EXPECT_THAT(LogOf("joystick0"), IsEmpty());
    other.SetButton(1, 0);
  }
  EXPECT_THAT(messages, IsEmpty());
}

// A keyboard read failure is named at each poll (when it has a published name) and re-acquires;
// three in a row leave the keyboard out of this capture, and the next capture opens afresh.
TEST_F(InputDevicesTest, KeyboardReadFailuresAreNamedAndThreeInARowLeaveTheKeyboardOut) {
  Open();
  input.Keyboard().Press(0x1C);
  KeyboardState keys;
  input.Keyboard().results.read.Next(
      {dierr::NotAcquired, dierr::Ok, dierr::Pending, dierr::OtherAppHasPrio, dierr::InputLost});
  for (int i = 0; i < 5; ++i) devices.ReadKeyboardState(keys);
  EXPECT_THAT(messages, ElementsAre(DiError("DIERR_NOTACQUIRED"), DiError("E_PENDING"),
                                    DiError("DIERR_INPUTLOST")));
  EXPECT_EQ(LogOf("keyboard.Acquire").size(), 4u) << "opening, then each failure but the third";
  messages.clear();
  devices.ReadKeyboardState(keys);
  EXPECT_EQ(keys[0x1C], 0);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(WaitForCode(devices, Snes).end, WaitEnd::NoDevices);
  Open();
  devices.ReadKeyboardState(keys);
  EXPECT_EQ(keys[0x1C], 0x80);
}

// A box runs a message loop, in which the window may close the devices (a capture started by a
// click during the box): whatever was under way must not touch them, say their other messages,
// or go on waiting on devices that are gone.
TEST_F(InputDevicesTest, DevicesClosedWhileABoxShowsEndTheCaptureWithoutACode) {
  const std::function<void(InputRig&)> failures[] = {
      [](auto& t) {
        t.input.Keyboard().results.create.Next({dierr::Generic});
        t.Attach(1).results.cooperativeLevel.Next({dierr::Generic});
      },
      [](auto& t) { t.input.Keyboard().results.read.Next({dierr::InputLost}); },
  };
  for (const auto& failure : failures) {
    InputRig t;
    failure(t);
    t.host.duringBox = [&t] {  // what the user does while a box shows
      t.host.duringBox = nullptr;
      t.devices.Open(nullptr);
      t.devices.Close();
    };
    t.Open();
    const WaitResult got = WaitForCode(t.devices, Snes);
    EXPECT_TRUE(got.end == WaitEnd::NoDevices && got.code == 0);
    EXPECT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(t.input.LiveDevices(), 0);
  }
}

using CaptureTest = InputDevicesTest;

struct AxisCode {
  Axis axis;
  int sign;
  std::int32_t code;  // on joystick 0
};
struct Family {
  const char* name;
  CaptureFamily family;
  std::vector<AxisCode> axes;
  std::int32_t perJoystick, buttons, button0;
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
  static std::vector<AxisCode> snes = {
      {X, +1, 256},       {X, -1, 257},       {Y, +1, 258},       {Y, -1, 259},      {Z, +1, 260},
      {Z, -1, 261},       {Ry, +1, 262},      {Ry, -1, 263},      {Rz, -1, 264},     {Rz, +1, 265},
      {Slider0, +1, 266}, {Slider0, -1, 267}, {Slider1, +1, 268}, {Slider1, -1, 269}};
  static std::vector<AxisCode> sms = snes;  // lRz positive first
  sms[8].sign = +1, sms[9].sign = -1;
  using enum CaptureFamily;
  // clang-format off
  static const std::vector<Family> families = {
      {"Snes", Snes, snes, 32, 16, 272, true},
      {"Genesis", Genesis, {{Y, -1, 0x1001}, {Y, +1, 0x1002}, {X, -1, 0x1003}, {X, +1, 0x1004}},
       256, 32, 0x1010, false},
      {"GameBoy", GameBoy, {{Y, -1, 257}, {Y, +1, 257}, {X, -1, 257}, {X, +1, 257}},
       0, 32, 257, false},
      {"MasterSystem", MasterSystem, sms, 0, 16, 272, true},
      {"Nes", Nes, {{X, +1, 0x1001}, {X, -1, 0x1002}, {Y, +1, 0x1003}, {Y, -1, 0x1004},
                    {Z, +1, 0x1005}, {Z, -1, 0x1006}},
       256, 128, 0x1010, false}};
  // clang-format on
  return families;
}

class FamilyCapture : public CaptureTest, public ::testing::WithParamInterface<Family> {
protected:
  // A NES capture also writes what it found into nester's record.
  std::int32_t CaptureOnce() { return CaptureInput(devices, GetParam().family, &record); }
  NesterBinding record;
};

// A centred pad: every axis direction, button and joystick gives the family's code; lRx and the
// point of view give nothing; the later test that holds wins, and a button beats every axis.
TEST_P(FamilyCapture, ACentredPadGivesTheFamilysCodes) {
  const Family& family = GetParam();
  OpenWith(kMaxJoysticks);
  EXPECT_EQ(CaptureOnce(), 0);
  for (int j = 0; j < kMaxJoysticks; ++j) {
    ScriptedDevice& pad = *joysticks[j];
    for (int a = 0; a < kAxisCount; ++a) {
      for (int sign : {+1, -1}) {
        SCOPED_TRACE(::testing::Message() << "joystick " << j << " axis " << a << " sign " << sign);
        pad.Push(static_cast<Axis>(a), 2000 * sign);  // just past the dead zone
        EXPECT_EQ(CaptureOnce(), family.AxisCodeOf(static_cast<Axis>(a), sign, j));
        pad.Push(static_cast<Axis>(a), 0);
        EXPECT_EQ(CaptureOnce(), 0);
      }
    }
    for (int n : {0, 15, 16, 31, 127}) {
      SCOPED_TRACE(::testing::Message() << "joystick " << j << " button " << n);
      const std::int32_t code =
          n < family.buttons ? family.button0 + family.perJoystick * j + n : 0;
      pad.SetButton(n, 0x80);
      EXPECT_EQ(CaptureOnce(), code);
      pad.SetButton(n, 0x01);  // non-zero without bit 0x80
      EXPECT_EQ(CaptureOnce(), family.highBitOnly ? 0 : code);
      pad.SetButton(n, 0);
    }
  }
  const AxisCode &first = family.axes.front(), &last = family.axes.back();
  joysticks[0]->Push(first.axis, 10000 * first.sign);
  joysticks[0]->Push(last.axis, 10000 * last.sign);
  EXPECT_EQ(CaptureOnce(), last.code);
  joysticks[0]->SetButton(1, 0x80);
  EXPECT_EQ(CaptureOnce(), family.button0 + 1);
  EXPECT_THAT(messages, IsEmpty());
}

// Pads users own whose axes do not rest centred. The rest is the first read and stays: a trigger
// passes the centre on every pull (DirectInput reads 0 over the middle half of its travel), and
// neither a half pull nor a let-go through the centre ever binds its resting direction; a
// button still binds. The devices stay open, as in a Set All: an axis just bound counts again
// only once back where it rested. A stick held as the capture begins counts in the direction
// held once it has stayed centred for a second.
TEST_P(FamilyCapture, AxesCountFromWhereTheyRest) {
  const Family& family = GetParam();
  using enum Axis;
  enum Expect { None, Away, Rest };  // the code of the direction away from the rest, or toward
  struct Read {
    int at;  // in units of the resting value: -1 the other end, 0 the centre, 1 the rest
    Expect expect;
    int afterMs = 0;  // the clock moves before the read
  };
  const std::vector<Read> trigger = {
      {0, None}, {1, None},                              // a half pull, let go
      {0, None}, {-1, Away},     {-1, None}, {0, None},  // a full pull binds; held, it is locked
      {1, None}, {0, None},      {1, None},              // back at rest; a half pull, let go
      {0, None}, {0, None, 900}, {1, None},              // held half way a while, let go
      {0, None}, {-1, Away}};                            // unlocked back at rest
  const std::vector<Read> heldStick = {
      {0, None}, {1, None},                       // let go, pushed again at once
      {0, None}, {0, None, 600}, {0, None, 400},  // centred for a second
      {1, Rest}, {0, None},      {-1, Away}};
  const struct Pad {
    const char* name;
    std::vector<std::pair<Axis, int>> rest;
    const std::vector<Read>& reads;
  } pads[] = {{"triggers at their ends", {{Z, -10000}, {Rz, -10000}, {Slider0, 10000}}, trigger},
              {"a stick resting off-centre", {{X, 4000}, {Y, -4000}}, trigger},
              {"a stick held as the capture begins", {{X, 10000}, {Y, 10000}}, heldStick}};
  ScriptedDevice& pad = Attach(0x20);
  for (const Pad& p : pads) {
    SCOPED_TRACE(p.name);
    for (const auto& [axis, at] : p.rest) {
      for (int a = 0; a < kAxisCount; ++a) pad.Push(static_cast<Axis>(a), 0);
      for (const auto& [other, rest] : p.rest) pad.Push(other, rest);
      Open();
      EXPECT_EQ(CaptureOnce(), 0);
      const int sign = at > 0 ? 1 : -1;
      for (std::size_t r = 0; r < p.reads.size(); ++r) {
        const Read& read = p.reads[r];
        now += std::chrono::milliseconds(read.afterMs);
        pad.Push(axis, read.at * at);
        const std::int32_t want = read.expect == Away   ? family.AxisCodeOf(axis, -sign)
                                  : read.expect == Rest ? family.AxisCodeOf(axis, sign)
                                                        : 0;
        EXPECT_EQ(CaptureOnce(), want) << "axis " << static_cast<int>(axis) << " read " << r;
      }
      pad.Push(axis, at);
      pad.SetButton(5, 0x80);
      EXPECT_EQ(CaptureOnce(), family.button0 + 5) << "the next field takes a button";
      EXPECT_EQ(record.DeviceType,
                family.family == CaptureFamily::Nes ? kNesterJoystickButton : 0u);
      pad.SetButton(5, 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyCapture, ::testing::ValuesIn(Families()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureTest, KeysBeforeJoysticksAndTheFirstJoystickWithAResultWins) {
  OpenWith(4);
  input.Keyboard().Press(0xD0);
  input.Keyboard().Press(0xCB);
  joysticks[1]->SetButton(0, 0x80);
  joysticks[2]->SetButton(0, 0x80);
  input.ClearLog();
  EXPECT_EQ(CaptureInput(devices, CaptureFamily::Snes), 0xCB) << "the lower scan code";
  EXPECT_THAT(LogOf("joystick"), IsEmpty());
  input.Keyboard().Release(0xCB);
  input.Keyboard().Release(0xD0);
  input.Keyboard().Press(0x00);  // a stray bit at scan code 0 is no key and hides no joystick
  input.ClearLog();
  EXPECT_EQ(CaptureInput(devices, CaptureFamily::Genesis), 0x1110);
  EXPECT_THAT(LogOf("joystick"), ElementsAre("joystick0.Poll", "joystick0.GetDeviceState 272",
                                             "joystick1.Poll", "joystick1.GetDeviceState 272"));
}

// Each capture writes its device's fields of the record and leaves the others as they were: only
// the keyboard sets Key, only an axis sets JAxisPositive; the last test that holds wins. A record
// is named by its device.
TEST_F(CaptureTest, NesRecordsTakeWhatEachCaptureFound) {
  OpenWith(2);
  NesterBinding up;
  auto capture = [&] { return CaptureInput(devices, CaptureFamily::Nes, &up); };
  EXPECT_EQ(capture(), 0);
  EXPECT_EQ(up, NesterBinding{}) << "nothing pressed changes nothing";
  input.Keyboard().Press(0x2D);
  EXPECT_EQ(capture(), 0x2D);
  input.Keyboard().Release(0x2D);
  joysticks[0]->Push(Axis::X, 10000);
  joysticks[0]->Push(Axis::Y, -10000);
  EXPECT_EQ(capture(), 0x1004);
  EXPECT_EQ(up, (NesterBinding{ScriptedInput::TestGuid(0x10), 3, 0, 4, 0x2D}));
  joysticks[0]->Push(Axis::X, 0);
  joysticks[0]->Push(Axis::Y, 0);
  joysticks[1]->Push(Axis::Z, 10000);
  joysticks[1]->SetButton(2, 1);
  EXPECT_EQ(capture(), 0x1112);
  EXPECT_EQ(up, (NesterBinding{ScriptedInput::TestGuid(0x11), 2, 1, 50, 0x2D})) << "a button wins";
  // The names of records no capture gives (the keys' are the readers' tests').
  EXPECT_EQ(NesterBindingName(NesterBinding{{}, kNesterJoystickAxis, 1, 4, 0}), "J5");
  EXPECT_EQ(NesterBindingName(NesterBinding{{}, 7, 0, 0, 0}), "Unknown");
}

}  // namespace
}  // namespace vt
