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

class InputDevicesTest : public InputFixture {};

TEST_F(InputDevicesTest, OpenWithoutControllersSetsUpTheKeyboardOnly) {
  Open();
  EXPECT_THAT(input.Log(), ElementsAre("Create", "CreateDevice keyboard", "keyboard.SetDataFormat keyboard",
                                       "EnumDevices", "keyboard.SetCooperativeLevel 10", "keyboard.Acquire"));
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_EQ(input.LastModuleInstance(), input.moduleInstance);
  EXPECT_EQ(input.LastWindow(), window);
  for (int i = 0; i < kMaxJoysticks; ++i) EXPECT_FALSE(config.input.JoystickPresent(i));

  input.Keyboard().Press(0x2D);
  KeyboardState keys;
  config.input.ReadKeyboardState(keys);
  EXPECT_EQ(keys[0x2D], 0x80);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 0), 255);
}

TEST_F(InputDevicesTest, ControllersTakeEntriesInEnumerationOrderWithTheirGuids) {
  input.Attach(ScriptedInput::TestGuid(0xA1));
  input.Attach(ScriptedInput::TestGuid(0xB2));
  Open();
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_TRUE(config.input.JoystickPresent(0));
  EXPECT_TRUE(config.input.JoystickPresent(1));
  EXPECT_FALSE(config.input.JoystickPresent(2));
  EXPECT_EQ(config.input.JoystickGuid(0), ScriptedInput::TestGuid(0xA1));
  EXPECT_EQ(config.input.JoystickGuid(1), ScriptedInput::TestGuid(0xB2));
  // Set-up runs per joystick in entry order: objects, then formats, then levels, then acquires.
  EXPECT_THAT(LogOf("joystick"),
              Contains("joystick0.SetCooperativeLevel 10"));
  const auto log = input.Log();
  auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
  EXPECT_LT(at("joystick0.EnumObjects"), at("joystick1.EnumObjects"));
  EXPECT_LT(at("joystick1.EnumObjects"), at("joystick0.SetDataFormat joystick2"));
  EXPECT_LT(at("joystick1.SetDataFormat joystick2"), at("keyboard.SetCooperativeLevel 10"));
  EXPECT_LT(at("keyboard.Acquire"), at("joystick0.SetCooperativeLevel 10"));
  EXPECT_LT(at("joystick1.SetCooperativeLevel 10"), at("joystick0.Acquire"));
}

TEST_F(InputDevicesTest, AxesGetRangeAndDeadZoneAndRelativeAxesASecondTime) {
  auto& joystick = input.Attach(ScriptedInput::TestGuid(1));
  joystick.objects = {ScriptedJoystick::AxisType(Axis::X), 0x000C,
                      ScriptedJoystick::AxisType(Axis::Y, kObjectRelativeAxis)};
  Open();
  EXPECT_THAT(LogOf("joystick0.Set"),
              ElementsAre("joystick0.SetRange 0x2 -10000 10000", "joystick0.SetDeadZone 0x2 5000",
                          "joystick0.SetRange 0x101 -10000 10000", "joystick0.SetDeadZone 0x101 5000",
                          "joystick0.SetRange 0x101 -10000 10000", "joystick0.SetDeadZone 0x101 5000",
                          "joystick0.SetDataFormat joystick2", "joystick0.SetCooperativeLevel 10"));
}

TEST_F(InputDevicesTest, AxisReadsZeroUntilPushedBeyondHalfItsTravel) {
  auto& joystick = input.Attach(ScriptedInput::TestGuid(1));
  Open();
  auto read = [&](Axis axis, int permille) {
    joystick.Push(axis, permille);
    config.input.PollJoystick(0);
    return AxisValue(config.input.Joystick(0), axis);
  };
  EXPECT_EQ(read(Axis::X, 0), 0);
  EXPECT_EQ(read(Axis::X, 400), 0);
  EXPECT_EQ(read(Axis::X, -500), 0);
  EXPECT_GT(read(Axis::X, 600), 0);
  EXPECT_LT(read(Axis::X, -600), 0);
  EXPECT_EQ(read(Axis::Slider1, 1000), 10000);
  EXPECT_EQ(read(Axis::Rz, -1000), -10000);
}

TEST_F(InputDevicesTest, FailedRangeStopsTheDeviceSilentlyAndLeavesItsDefaultRange) {
  auto& joystick = input.Attach(ScriptedInput::TestGuid(1));
  joystick.results.setRange.Next({dierr::InvalidParam});
  Open();
  EXPECT_THAT(LogOf("joystick0.Set"), ElementsAre("joystick0.SetRange 0x2 -10000 10000",
                                                  "joystick0.SetDataFormat joystick2",
                                                  "joystick0.SetCooperativeLevel 10"));
  EXPECT_THAT(messages, IsEmpty());
  // Unconfigured, a centred stick reads DirectInput's default mid-range, not 0.
  config.input.PollJoystick(0);
  EXPECT_GT(config.input.Joystick(0).lX, 0);
}

TEST_F(InputDevicesTest, FailedDeadZoneShowsTheErrorNameAndStopsTheDevice) {
  auto& first = input.Attach(ScriptedInput::TestGuid(1));
  auto& second = input.Attach(ScriptedInput::TestGuid(2));
  first.results.setDeadZone.Always(dierr::ObjectNotFound);
  second.results.setDeadZone.Always(dierr::Generic);  // no published name: silent
  Open();
  EXPECT_THAT(messages, ElementsAre(Message{"DIERR_OBJECTNOTFOUND", "DI Error"}));
  EXPECT_EQ(LogOf("joystick0.SetDeadZone").size(), 1u);
  EXPECT_EQ(LogOf("joystick1.SetDeadZone").size(), 1u);
  // A joystick whose set-up failed stays and is still polled.
  EXPECT_TRUE(config.input.JoystickPresent(0));
  config.input.PollJoystick(0);
  EXPECT_THAT(LogOf("joystick0.GetDeviceState"), ElementsAre("joystick0.GetDeviceState 272"));
}

TEST_F(InputDevicesTest, RelativeAxisSecondPassReportsAFailedRange) {
  auto& joystick = input.Attach(ScriptedInput::TestGuid(1));
  joystick.objects = {ScriptedJoystick::AxisType(Axis::X, kObjectRelativeAxis), ScriptedJoystick::AxisType(Axis::Y)};
  joystick.results.setRange.Next({dierr::Ok, dierr::NotInitialized});
  Open();
  EXPECT_THAT(messages, ElementsAre(Message{"DIERR_NOTINITIALIZED", "DI Error"}));
  EXPECT_THAT(LogOf("joystick0.SetRange 0x102"), IsEmpty());  // the enumeration stopped
}

TEST_F(InputDevicesTest, KeyboardThatCannotBeCreatedIsReportedAndSkipped) {
  input.Keyboard().results.create.Always(dierr::Generic);
  input.Attach(ScriptedInput::TestGuid(1));
  Open();
  EXPECT_THAT(messages, ElementsAre(kInitKeyboardFailed));
  EXPECT_THAT(LogOf("keyboard"), IsEmpty());
  EXPECT_TRUE(config.input.JoystickPresent(0));
  EXPECT_TRUE(config.input.HasDevices());
  KeyboardState keys;
  keys.fill(0xFF);
  config.input.ReadKeyboardState(keys);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 0), 256);
}

TEST_F(InputDevicesTest, KeyboardWithoutDataFormatIsKeptAndItsAcquireFailureNamed) {
  input.Keyboard().results.dataFormat.Always(dierr::InvalidParam);
  Open();
  // The device stays; DirectInput then refuses to acquire an unformatted device.
  EXPECT_THAT(messages, ElementsAre(kInitKeyboardFailed, Message{"DIERR_INVALIDPARAM", "DI Error"}));
  EXPECT_THAT(LogOf("keyboard.SetCooperativeLevel"), ElementsAre("keyboard.SetCooperativeLevel 10"));
}

TEST_F(InputDevicesTest, KeyboardCooperativeLevelAndAcquireFailures) {
  input.Keyboard().results.cooperativeLevel.Always(dierr::InvalidParam);
  input.Keyboard().results.acquire.Always(dierr::OtherAppHasPrio);
  Open();
  EXPECT_THAT(messages, ElementsAre(Message{"Failed to set keyboard coop level", "Error"},
                                    Message{"DIERR_OTHERAPPHASPRIO", "DI Error"}));
}

TEST_F(InputDevicesTest, JoystickCooperativeLevelFailureIsShownOncePerJoystick) {
  input.Attach(ScriptedInput::TestGuid(1)).results.cooperativeLevel.Always(dierr::Generic);
  input.Attach(ScriptedInput::TestGuid(2));
  input.Attach(ScriptedInput::TestGuid(3)).results.cooperativeLevel.Always(dierr::Generic);
  Open();
  const Message coop{"Failed to set joystick coop level", "Error"};
  EXPECT_THAT(messages, ElementsAre(coop, coop));
}

TEST_F(InputDevicesTest, JoystickAcquireIsRepeatedWhileInputIsLostButNotForever) {
  auto& joystick = input.Attach(ScriptedInput::TestGuid(1));
  joystick.results.acquire.Next({dierr::InputLost, dierr::InputLost});
  Open();
  EXPECT_EQ(LogOf("joystick0.Acquire").size(), 3u);
  joystick.SetButton(2, 0x80);
  config.input.PollJoystick(0);
  EXPECT_EQ(config.input.Joystick(0).rgbButtons[2], 0x80);
  // A device that stays lost: the open returns, and as nothing is read the record keeps its zeroes.
  CloseInput(config);
  input.ClearLog();
  joystick.results.acquire.Always(dierr::InputLost);
  Open();
  config.input.PollJoystick(0);
  EXPECT_EQ(config.input.Joystick(0).rgbButtons[2], 0);
  EXPECT_LT(LogOf("joystick0.Acquire").size(), 1000u);
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(InputDevicesTest, PollThatLosesInputReacquiresBeforeReading) {
  auto& joystick = input.Attach(ScriptedInput::TestGuid(1));
  Open();
  input.ClearLog();
  joystick.results.poll.Next({dierr::InputLost});
  joystick.results.acquire.Next({dierr::InputLost});
  joystick.Push(Axis::Y, -1000);
  config.input.PollJoystick(0);
  EXPECT_THAT(input.Log(), ElementsAre("joystick0.Poll", "joystick0.Acquire", "joystick0.Acquire",
                                       "joystick0.GetDeviceState 272"));
  EXPECT_EQ(config.input.Joystick(0).lY, -10000);
}

// A failed read keeps the state of the last good one, but only within one capture.
TEST_F(InputDevicesTest, FailedJoystickReadKeepsTheLastStateUntilTheNextCapture) {
  auto& joystick = input.Attach(ScriptedInput::TestGuid(1));
  Open();
  joystick.SetButton(3, 0x80);
  EXPECT_EQ(CaptureSnesBinding(config), 256 + 16 + 3);
  joystick.SetButton(3, 0);
  joystick.results.read.Next({dierr::InputLost});
  config.input.PollJoystick(0);
  EXPECT_EQ(config.input.Joystick(0).rgbButtons[3], 0x80);
  EXPECT_THAT(messages, IsEmpty());
  CloseInput(config);
  // The next capture's first read fails: it must not see the button pressed last time.
  joystick.results.read.Next({dierr::Generic});
  Open();
  EXPECT_EQ(CaptureSnesBinding(config), 0);
}

TEST_F(InputDevicesTest, FailedCreationStopsTheEnumerationButItsGuidIsCopied) {
  input.Attach(ScriptedInput::TestGuid(1));
  input.Attach(ScriptedInput::TestGuid(2)).results.create.Always(dierr::Generic);
  input.Attach(ScriptedInput::TestGuid(3));
  Open();
  EXPECT_TRUE(config.input.JoystickPresent(0));
  EXPECT_FALSE(config.input.JoystickPresent(1));
  EXPECT_FALSE(config.input.JoystickPresent(2));
  EXPECT_EQ(config.input.JoystickGuid(1), ScriptedInput::TestGuid(2));
  EXPECT_THAT(LogOf("CreateDevice joystick2"), IsEmpty());
  EXPECT_EQ(input.LiveDevices(), 2);  // keyboard and joystick 0
  // A capture skips the entry without a device.
  EXPECT_EQ(CaptureSnesBinding(config), 0);
  EXPECT_THAT(LogOf("joystick1."), IsEmpty());
}

TEST_F(InputDevicesTest, OnlyFiveControllersAreEverStored) {
  for (std::uint8_t g = 1; g <= 7; ++g) input.Attach(ScriptedInput::TestGuid(g));
  Open();
  for (int i = 0; i < kMaxJoysticks; ++i) {
    EXPECT_TRUE(config.input.JoystickPresent(i));
    EXPECT_EQ(config.input.JoystickGuid(i), ScriptedInput::TestGuid(static_cast<std::uint8_t>(i + 1)));
  }
  EXPECT_THAT(input.Log(), Not(Contains("CreateDevice joystick5")));
  EXPECT_EQ(input.LiveDevices(), 6);
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(InputDevicesTest, JoystickStepFailuresShowTheKeyboardMessage) {
  input.enumDevices.Always(dierr::Generic);  // counts only with no joystick
  Open();
  EXPECT_THAT(messages, ElementsAre(kInitKeyboardFailed));
  CloseInput(config);
  messages.clear();

  input.enumDevices.Always(dierr::Ok);
  input.Attach(ScriptedInput::TestGuid(1));
  input.Attach(ScriptedInput::TestGuid(2)).results.enumObjects.Always(dierr::InvalidParam);
  Open();
  EXPECT_THAT(messages, ElementsAre(kInitKeyboardFailed));
  CloseInput(config);
  messages.clear();

  input.Attach(ScriptedInput::TestGuid(3)).results.dataFormat.Always(dierr::InvalidParam);
  Open();  // enumeration of the last joystick fine, its data format not
  EXPECT_THAT(messages, ElementsAre(kInitKeyboardFailed));
}

TEST_F(InputDevicesTest, OnlyTheLastJoystickDecidesWhetherTheJoystickStepFailed) {
  input.Attach(ScriptedInput::TestGuid(1)).results.enumObjects.Always(dierr::InvalidParam);
  auto& second = input.Attach(ScriptedInput::TestGuid(2));
  Open();
  EXPECT_THAT(messages, IsEmpty());
  CloseInput(config);

  input.Attach(ScriptedInput::TestGuid(3)).results.dataFormat.Always(dierr::InvalidParam);
  second.results.dataFormat.Always(dierr::InvalidParam);
  input.Attach(ScriptedInput::TestGuid(4));
  Open();
  EXPECT_THAT(messages, IsEmpty());  // an unformatted joystick's failed acquire is silent too
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
  auto& joystick = input.Attach(ScriptedInput::TestGuid(1));
  Open();
  KeyboardState keys;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "step " << c.step << " value " << std::hex << c.value);
    messages.clear();
    const HResult value = static_cast<HResult>(c.value);
    if (c.step == KeyboardRead) {
      input.Keyboard().results.read.Next({value});
      config.input.ReadKeyboardState(keys);
    } else {
      (c.step == KeyboardAcquire ? input.Keyboard().results.acquire : joystick.results.setDeadZone).Next({value});
      Open();
    }
    EXPECT_EQ(messages, (c.name ? std::vector<Message>{Message{c.name, "DI Error"}} : std::vector<Message>()));
    if (c.step == KeyboardRead) config.input.ReadKeyboardState(keys);  // a good read between failures
  }
}

TEST_F(InputDevicesTest, NoInterfaceMeansNoDevicesAndSaysSo) {
  input.create.Always(dierr::Generic);
  input.Keyboard().Press(0x1E);
  input.Attach(ScriptedInput::TestGuid(1)).SetButton(0, 0x80);
  Open();
  EXPECT_FALSE(config.input.IsOpen());
  EXPECT_FALSE(config.input.HasDevices());
  EXPECT_THAT(input.Log(), ElementsAre("Create"));
  EXPECT_THAT(messages, ElementsAre(kInitKeyboardFailed));
  config.systemAlias = "SNES";
  EXPECT_EQ(CaptureBinding(config), 0);
  EXPECT_EQ(WaitForCode(config, CaptureBinding), 0);  // ends instead of waiting forever
}

TEST_F(InputDevicesTest, KeyboardReadFailuresAreNamedAndThreeInARowLeaveTheKeyboardOut) {
  Open();
  input.Keyboard().Press(0x1C);
  KeyboardState keys;
  // A failure is named and re-acquires; a good read starts the count again.
  input.Keyboard().results.read.Next({dierr::NotAcquired, dierr::Ok, dierr::Pending, dierr::Generic, dierr::InputLost});
  for (int i = 0; i < 5; ++i) config.input.ReadKeyboardState(keys);
  EXPECT_THAT(messages, ElementsAre(Message{"DIERR_NOTACQUIRED", "DI Error"}, Message{"E_PENDING", "DI Error"},
                                    Message{"DIERR_INPUTLOST", "DI Error"}));
  EXPECT_EQ(LogOf("keyboard.Acquire").size(), 4u) << "the opening, then after every failure but the third in a row";
  // Out of this capture: no more reads, no more messages, and nothing left to wait for.
  messages.clear();
  config.input.ReadKeyboardState(keys);
  EXPECT_EQ(keys[0x1C], 0);
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(config.input.HasDevices());
  EXPECT_EQ(WaitForCode(config, CaptureSnesBinding), 0) << "the capture ends instead of waiting forever";
  // The next capture opens afresh.
  Open();
  config.input.ReadKeyboardState(keys);
  EXPECT_EQ(keys[0x1C], 0x80);
}

TEST_F(InputDevicesTest, AKeyboardThatCannotBeFormattedOrAcquiredIsNoDeviceToWaitFor) {
  for (ScriptedResult* step : {&input.Keyboard().results.dataFormat, &input.Keyboard().results.acquire}) {
    step->Next({dierr::Generic});
    Open();
    EXPECT_FALSE(config.input.HasDevices());
    messages.clear();
    EXPECT_EQ(WaitForCode(config, CaptureSnesBinding), 0);
    EXPECT_TRUE(messages.empty()) << "no message at every poll";
  }
}

TEST_F(InputDevicesTest, ReopenAndCloseReleaseInOrderAndEveryOpenEnumeratesAfresh) {
  input.Attach(ScriptedInput::TestGuid(1));
  input.Attach(ScriptedInput::TestGuid(2));
  Open();
  Open();  // reopening closes what was open
  EXPECT_EQ(input.LiveDevices(), 3);
  config.systemAlias = "GEN";
  input.ClearLog();
  CloseInput(config);
  EXPECT_THAT(input.Log(), ElementsAre("keyboard.Unacquire", "joystick0.Unacquire", "joystick1.Unacquire",
                                       "keyboard.Release", "joystick0.Release", "joystick1.Release",
                                       "interface.Release"));
  EXPECT_EQ(config.systemAlias, "");
  for (int i = 0; i < kMaxJoysticks; ++i) EXPECT_FALSE(config.input.JoystickPresent(i));
  EXPECT_FALSE(config.input.IsOpen());
  EXPECT_EQ(input.LiveDevices(), 0);
  EXPECT_EQ(config.input.JoystickGuid(1), ScriptedInput::TestGuid(2));  // the table stays
  input.Attach(ScriptedInput::TestGuid(3));
  Open();
  EXPECT_TRUE(config.input.JoystickPresent(2));
}

TEST_F(InputDevicesTest, CopiesAreClosedAndDestructionReleasesEverything) {
  input.Attach(ScriptedInput::TestGuid(9));
  Open();
  {
    ControllerConfig copy = config;
    EXPECT_FALSE(copy.input.IsOpen());
    EXPECT_EQ(copy.input.JoystickGuid(0), ScriptedInput::TestGuid(9));
  }
  EXPECT_TRUE(config.input.IsOpen());
  EXPECT_EQ(input.LiveDevices(), 2);
  {
    ControllerConfig moved = std::move(config);
    EXPECT_TRUE(moved.input.IsOpen());
  }
  EXPECT_EQ(input.LiveDevices(), 0);
  EXPECT_FALSE(input.InterfaceAlive());
}

}  // namespace
}  // namespace vt::test
