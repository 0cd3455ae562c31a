// Opening, reading and closing the devices against scripted DirectInput: the order of the calls,
// the failure at each step with its message box, and the state a capture reads afterwards.
#include "tests/input/InputFixture.h"

namespace vt::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

const Message kInitKeyboardFailed{"InitKeyboard Failed", "Error"};
Message DiError(const char* name) { return {name, "DI Error"}; }

using InputDevicesTest = InputFixture;

TEST_F(InputDevicesTest, OpenSetsUpTheKeyboardThenEachControllerInEnumerationOrder) {
  Attach(0xA1).objects = {ScriptedDevice::AxisType(Axis::X), 0x000C,
                          ScriptedDevice::AxisType(Axis::Y, kObjectRelativeAxis)};
  Attach(0xB2).objects = {};
  Open();
  EXPECT_THAT(input.Log(),
              ElementsAre("Create", "CreateDevice keyboard", "keyboard.SetDataFormat keyboard", "EnumDevices",
                          "CreateDevice joystick0", "CreateDevice joystick1", "joystick0.EnumObjects",
                          "joystick0.SetRange 0x2 -10000 10000", "joystick0.SetDeadZone 0x2 5000",
                          "joystick0.SetRange 0x101 -10000 10000", "joystick0.SetDeadZone 0x101 5000",
                          "joystick0.SetRange 0x101 -10000 10000", "joystick0.SetDeadZone 0x101 5000",
                          "joystick1.EnumObjects", "joystick0.SetDataFormat joystick2",
                          "joystick1.SetDataFormat joystick2", "keyboard.SetCooperativeLevel 10", "keyboard.Acquire",
                          "joystick0.SetCooperativeLevel 10", "joystick1.SetCooperativeLevel 10", "joystick0.Acquire",
                          "joystick1.Acquire"));
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_EQ(input.LastWindow(), window);
  EXPECT_EQ(config.input.JoystickGuid(0), ScriptedInput::TestGuid(0xA1));
  EXPECT_EQ(config.input.JoystickGuid(1), ScriptedInput::TestGuid(0xB2));
  EXPECT_TRUE(config.input.JoystickPresent(1));
  EXPECT_FALSE(config.input.JoystickPresent(2));
  input.Keyboard().Press(0x2D);
  KeyboardState keys;
  config.input.ReadKeyboardState(keys);
  EXPECT_EQ(keys[0x2D], 0x80);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 0), 255);
}

// Each step of the opening that fails: its message (or none), and what the capture still has.
TEST_F(InputDevicesTest, EachFailedStepOfTheOpeningSaysWhatItMustAndTheOpeningGoesOn) {
  const struct Case {
    const char* name;
    std::function<void(InputRig&)> script;
    std::vector<Message> messages;
    std::function<void(InputRig&)> check;
  } cases[] = {
      {"an axis range: silent, the device's set-up stops", [](auto& t) { t.Attach(1).results.setRange.Next({dierr::InvalidParam}); }, {},
       [](auto& t) { EXPECT_THAT(t.LogOf("joystick0.SetRange"), ElementsAre("joystick0.SetRange 0x2 -10000 10000")); }},
      {"a dead zone: its name, or silence without one", [](auto& t) {
         t.Attach(1).results.setDeadZone.Always(dierr::ObjectNotFound);
         t.Attach(2).results.setDeadZone.Always(dierr::Generic); }, {DiError("DIERR_OBJECTNOTFOUND")},
       [](auto& t) { EXPECT_EQ(t.LogOf("joystick0.SetDeadZone").size(), 1u); EXPECT_TRUE(t.config.input.JoystickPresent(0)); }},
      {"a relative axis's second range", [](auto& t) {
         auto& j = t.Attach(1);
         j.objects = {ScriptedDevice::AxisType(Axis::X, kObjectRelativeAxis), ScriptedDevice::AxisType(Axis::Y)};
         j.results.setRange.Next({dierr::Ok, dierr::NotInitialized}); }, {DiError("DIERR_NOTINITIALIZED")},
       [](auto& t) { EXPECT_THAT(t.LogOf("joystick0.SetRange 0x102"), IsEmpty()); }},
      {"the keyboard's creation", [](auto& t) { t.input.Keyboard().results.create.Always(dierr::Generic); t.Attach(1); }, {kInitKeyboardFailed},
       [](auto& t) { EXPECT_THAT(t.LogOf("keyboard"), IsEmpty()); EXPECT_TRUE(t.config.input.HasDevices()); }},
      {"the keyboard's data format", [](auto& t) { t.input.Keyboard().results.dataFormat.Always(dierr::InvalidParam); },
       {kInitKeyboardFailed, DiError("DIERR_INVALIDPARAM")}, [](auto& t) { EXPECT_FALSE(t.config.input.HasDevices()); }},
      {"the keyboard's level and acquire", [](auto& t) {
         t.input.Keyboard().results.cooperativeLevel.Always(dierr::InvalidParam);
         t.input.Keyboard().results.acquire.Always(dierr::OtherAppHasPrio); },
       {{"Failed to set keyboard coop level", "Error"}, DiError("DIERR_OTHERAPPHASPRIO")}, nullptr},
      {"two joysticks' levels", [](auto& t) {
         t.Attach(1).results.cooperativeLevel.Always(dierr::Generic);
         t.Attach(2);
         t.Attach(3).results.cooperativeLevel.Always(dierr::Generic); },
       {{"Failed to set joystick coop level", "Error"}, {"Failed to set joystick coop level", "Error"}}, nullptr},
      {"the enumeration, without a joystick", [](auto& t) { t.input.enumDevices.Always(dierr::Generic); }, {kInitKeyboardFailed}, nullptr},
      {"the first joystick's objects only", [](auto& t) {
         t.Attach(1).results.enumObjects.Always(dierr::InvalidParam);
         t.Attach(2); }, {}, nullptr},
      {"the last joystick's objects", [](auto& t) {
         t.Attach(1);
         t.Attach(2).results.enumObjects.Always(dierr::InvalidParam); }, {kInitKeyboardFailed}, nullptr},
      {"the last joystick's data format", [](auto& t) {
         t.Attach(1).results.dataFormat.Always(dierr::InvalidParam);
         t.Attach(2).results.dataFormat.Always(dierr::InvalidParam); }, {kInitKeyboardFailed}, nullptr},
      {"a joystick's creation: the enumeration stops, its GUID is kept", [](auto& t) {
         t.Attach(1);
         t.Attach(2).results.create.Always(dierr::Generic);
         t.Attach(3); }, {},
       [](auto& t) {
         EXPECT_FALSE(t.config.input.JoystickPresent(1));
         EXPECT_EQ(t.config.input.JoystickGuid(1), ScriptedInput::TestGuid(2));
         EXPECT_THAT(t.LogOf("CreateDevice joystick2"), IsEmpty());
         EXPECT_EQ(t.input.LiveDevices(), 2); }},
      {"seven controllers: five are kept", [](auto& t) { for (std::uint8_t g = 1; g <= 7; ++g) t.Attach(g); }, {},
       [](auto& t) {
         EXPECT_TRUE(t.config.input.JoystickPresent(4));
         EXPECT_EQ(t.config.input.JoystickGuid(4), ScriptedInput::TestGuid(5));
         EXPECT_THAT(t.input.Log(), Not(Contains("CreateDevice joystick5"))); }},
      {"the interface: no device at all", [](auto& t) { t.input.create.Always(dierr::Generic); }, {kInitKeyboardFailed},
       [](auto& t) {
         EXPECT_THAT(t.input.Log(), ElementsAre("Create"));
         EXPECT_EQ(WaitForCode(t.config, CaptureSnesBinding).end, WaitEnd::NoDevices); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InputRig t;
    c.script(t);
    t.Open();
    EXPECT_EQ(t.messages, c.messages);
    if (c.check) c.check(t);
  }
}

// DirectInput's published error values, written out here so that a wrong constant shows up as a
// missing or wrong name; each step names only its own.
TEST_F(InputDevicesTest, PublishedErrorValuesShowTheirNames) {
  enum Step { KeyboardRead, KeyboardAcquire, AxisSetUp };
  const struct {
    Step step;
    std::uint32_t value;
    const char* name;  // null: not named at this step
  } cases[] = {
      {KeyboardRead, 0x8007001Eu, "DIERR_INPUTLOST"},          {KeyboardRead, 0x80070057u, "DIERR_INVALIDPARAM"},
      {KeyboardRead, 0x8007000Cu, "DIERR_NOTACQUIRED"},        {KeyboardRead, 0x80070015u, "DIERR_NOTINITIALIZED"},
      {KeyboardRead, 0x8000000Au, "E_PENDING"},                {KeyboardRead, 0x80070005u, nullptr},
      {KeyboardAcquire, 0x80070005u, "DIERR_OTHERAPPHASPRIO"}, {KeyboardAcquire, 0x80070015u, "DIERR_NOTINITIALIZED"},
      {KeyboardAcquire, 0x80070057u, "DIERR_INVALIDPARAM"},    {KeyboardAcquire, 0x8007000Cu, nullptr},
      {AxisSetUp, 0x80070057u, "DIERR_INVALIDPARAM"},          {AxisSetUp, 0x80070015u, "DIERR_NOTINITIALIZED"},
      {AxisSetUp, 0x80070002u, "DIERR_OBJECTNOTFOUND"},        {AxisSetUp, 0x80004001u, "DIERR_UNSUPPORTED"},
  };
  auto& joystick = Attach(1);
  Open();
  KeyboardState keys;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "step " << c.step << " value " << std::hex << c.value);
    messages.clear();
    const HResult value = static_cast<HResult>(c.value);
    if (c.step == KeyboardRead) {
      input.Keyboard().results.read.Next({value});
      config.input.ReadKeyboardState(keys);
      config.input.ReadKeyboardState(keys);  // a good read between failures
    } else {
      (c.step == KeyboardAcquire ? input.Keyboard().results.acquire : joystick.results.setDeadZone).Next({value});
      Open();
    }
    EXPECT_EQ(messages, (c.name ? std::vector<Message>{DiError(c.name)} : std::vector<Message>()));
  }
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
  EXPECT_EQ(CaptureSnesBinding(config), 256 + 16 + 3);
  EXPECT_THAT(LogOf("joystick0"), ElementsAre("joystick0.Poll", "joystick0.Acquire", "joystick0.Acquire",
                                              "joystick0.GetDeviceState 272"));
  pad.SetButton(3, 0);
  pad.results.read.Next({dierr::InputLost});
  EXPECT_FALSE(config.input.PollJoystick(0));
  EXPECT_EQ(config.input.Joystick(0).rgbButtons[3], 0x80) << "kept from the last good read";
  pad.results.acquire.Always(dierr::InputLost);
  Open();  // the next capture's first read fails: it must not see the button pressed last time
  EXPECT_EQ(CaptureSnesBinding(config), 0);
  EXPECT_LT(LogOf("joystick0.Acquire").size(), 1000u);
  for (bool unplugged : {true, false}) {
    SCOPED_TRACE(unplugged ? "unplugged" : "reads failing");
    pad.results = {};
    Open();
    unplugged ? pad.Unplug() : pad.results.read.Always(dierr::Generic);
    other.SetButton(1, 0x80);
    for (int poll = 0; poll < 3; ++poll) EXPECT_EQ(CaptureSnesBinding(config), 256 + 32 + 16 + 1);
    EXPECT_FALSE(config.input.JoystickPresent(0));
    EXPECT_EQ(input.LiveDevices(), 2) << "the keyboard and the other pad";
    input.ClearLog();
    CaptureSnesBinding(config);
    EXPECT_THAT(LogOf("joystick0"), IsEmpty());
    other.SetButton(1, 0);
  }
  EXPECT_THAT(messages, IsEmpty());
}

// A keyboard read failure is named at each poll and re-acquires; three in a row leave the
// keyboard out of this capture (nothing left to wait for), and the next capture opens afresh.
TEST_F(InputDevicesTest, KeyboardReadFailuresAreNamedAndThreeInARowLeaveTheKeyboardOut) {
  Open();
  input.Keyboard().Press(0x1C);
  KeyboardState keys;
  input.Keyboard().results.read.Next({dierr::NotAcquired, dierr::Ok, dierr::Pending, dierr::Generic, dierr::InputLost});
  for (int i = 0; i < 5; ++i) config.input.ReadKeyboardState(keys);
  EXPECT_THAT(messages, ElementsAre(DiError("DIERR_NOTACQUIRED"), DiError("E_PENDING"), DiError("DIERR_INPUTLOST")));
  EXPECT_EQ(LogOf("keyboard.Acquire").size(), 4u) << "the opening, then after every failure but the third in a row";
  messages.clear();
  config.input.ReadKeyboardState(keys);
  EXPECT_EQ(keys[0x1C], 0);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(WaitForCode(config, CaptureSnesBinding).end, WaitEnd::NoDevices);
  Open();
  config.input.ReadKeyboardState(keys);
  EXPECT_EQ(keys[0x1C], 0x80);
}

// A box runs a message loop, in which the window may close the devices (a capture started by a
// click during the box): whatever was under way must not touch them, say their other messages,
// or go on waiting and read a capture alias that is gone.
TEST_F(InputDevicesTest, DevicesClosedWhileABoxShowsEndTheCaptureWithoutACode) {
  const std::function<void(InputRig&)> steps[] = {
      [](auto& t) {
        t.input.Keyboard().results.create.Next({dierr::Generic});
        t.Attach(1).results.cooperativeLevel.Next({dierr::Generic});
      },
      [](auto& t) {
        t.input.Keyboard().results.cooperativeLevel.Next({dierr::Generic});
        t.input.Keyboard().results.acquire.Next({dierr::OtherAppHasPrio});
      },
      [](auto& t) { t.input.Keyboard().results.read.Next({dierr::InputLost}); },
  };
  for (const auto& step : steps) {
    InputRig t;
    step(t);
    t.duringBox = [&t] {
      t.duringBox = nullptr;
      OpenInput(t.config, t.window);
      CloseInput(t.config);
    };
    t.config.systemAlias = "SNES";
    t.Open();
    const WaitResult got = WaitForCode(t.config, CaptureBinding);
    EXPECT_EQ(got.end, WaitEnd::NoDevices);
    EXPECT_EQ(got.code, 0);
    EXPECT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(t.input.LiveDevices(), 0);
  }
}

TEST_F(InputDevicesTest, CloseReleasesInOrderAndCopiesAreClosed) {
  Attach(1);
  Attach(2);
  Open();
  Open();  // reopening closes what was open
  EXPECT_EQ(input.LiveDevices(), 3);
  config.systemAlias = "GEN";
  {
    ControllerConfig copy = config;
    EXPECT_FALSE(copy.input.IsOpen());
    EXPECT_EQ(copy.input.JoystickGuid(1), ScriptedInput::TestGuid(2));
  }
  input.ClearLog();
  CloseInput(config);
  EXPECT_THAT(input.Log(), ElementsAre("keyboard.Unacquire", "joystick0.Unacquire", "joystick1.Unacquire",
                                       "keyboard.Release", "joystick0.Release", "joystick1.Release",
                                       "interface.Release"));
  EXPECT_EQ(config.systemAlias, "");
  EXPECT_FALSE(config.input.JoystickPresent(0));
  EXPECT_EQ(config.input.JoystickGuid(1), ScriptedInput::TestGuid(2)) << "the table stays";
  Open();
  {
    ControllerConfig moved = std::move(config);
    EXPECT_TRUE(moved.input.IsOpen());
  }
  EXPECT_EQ(input.LiveDevices(), 0);
}

}  // namespace
}  // namespace vt::test
