// Opening, reading and closing the devices against scripted DirectInput: what they are left in,
// the failure at each step with its message box, and the state a capture reads afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/ScriptedInput.h"

namespace vt {
namespace {

class InputDevicesTest : public ::testing::Test, public InputRig {};
using Message = InputRig::Message;

using ::testing::ElementsAre;
using ::testing::IsEmpty;

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
  EXPECT_TRUE(devices.JoystickPresent(1));
  EXPECT_FALSE(devices.JoystickPresent(2));
  EXPECT_FALSE(InputDevices(devices).IsOpen()) << "a copy is closed";
  Open();  // opening again closes what was open
  EXPECT_EQ(input.LiveDevices(), 3);
  devices.Close();
  EXPECT_EQ(input.LiveDevices(), 0);
  EXPECT_FALSE(input.InterfaceLive());
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
    for (const Failure& f : c.failures) {
      ScriptedDevice* device = f.who == Keys ? &t.input.Keyboard()
                               : f.who >= 0  ? t.joysticks[f.who]
                                             : nullptr;
      (device               ? device->results.*f.step
       : f.who == Interface ? t.input.create
                            : t.input.enumDevices)
          .Always(f.result);
    }
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
    for (int poll = 0; poll < 3; ++poll) EXPECT_EQ(Snes(devices), 256 + 32 + 16 + 1);
    EXPECT_FALSE(devices.JoystickPresent(0));
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
    t.duringBox = [&t] {
      t.duringBox = nullptr;
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

}  // namespace
}  // namespace vt
