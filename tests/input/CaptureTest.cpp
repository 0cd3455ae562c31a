// Captures against scripted devices: each family's numbering, the precedence of inputs, the NES
// records, and the wait for one binding.
#include <algorithm>

#include "tests/input/InputFixture.h"

namespace vt::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr std::uint8_t kDown = 0x80;

class CaptureTest : public InputFixture {
protected:
  // Five joysticks attached, devices open.
  void OpenWithJoysticks(int count = kMaxJoysticks) {
    for (int i = 0; i < count; ++i) joysticks.push_back(&input.Attach(ScriptedInput::TestGuid(static_cast<std::uint8_t>(0x10 + i))));
    Open();
  }
  std::int32_t Capture(const char* alias) {
    config.systemAlias = alias;
    return CaptureBinding(config);
  }
  std::vector<ScriptedJoystick*> joysticks;
};

// The numbering each family's emulator stores.
struct AxisExpectation {
  Axis axis;
  int sign;
  std::int32_t code;  // on joystick 0
};
struct FamilyExpectation {
  const char* name;
  const char* alias;  // null: the NES capture
  std::vector<AxisExpectation> axes;
  std::int32_t perJoystick;
  int buttons;
  std::int32_t button0;
  bool highBitOnly;
};

void PrintTo(const FamilyExpectation& family, std::ostream* out) { *out << family.name; }

const std::vector<FamilyExpectation>& Families() {
  static const std::vector<FamilyExpectation> families = {
      {"Snes", "SNES",
       {{Axis::X, +1, 256}, {Axis::X, -1, 257}, {Axis::Y, +1, 258}, {Axis::Y, -1, 259}, {Axis::Z, +1, 260},
        {Axis::Z, -1, 261}, {Axis::Ry, +1, 262}, {Axis::Ry, -1, 263}, {Axis::Rz, -1, 264}, {Axis::Rz, +1, 265},
        {Axis::Slider0, +1, 266}, {Axis::Slider0, -1, 267}, {Axis::Slider1, +1, 268}, {Axis::Slider1, -1, 269}},
       32, 16, 272, true},
      {"Genesis", "GEN",
       {{Axis::Y, -1, 0x1001}, {Axis::Y, +1, 0x1002}, {Axis::X, -1, 0x1003}, {Axis::X, +1, 0x1004}},
       256, 32, 0x1010, false},
      {"GameBoy", "GBC", {{Axis::Y, -1, 257}, {Axis::Y, +1, 257}, {Axis::X, -1, 257}, {Axis::X, +1, 257}}, 0, 32,
       257, false},
      {"MasterSystem", "SMS",
       {{Axis::X, +1, 256}, {Axis::X, -1, 257}, {Axis::Y, +1, 258}, {Axis::Y, -1, 259}, {Axis::Z, +1, 260},
        {Axis::Z, -1, 261}, {Axis::Ry, +1, 262}, {Axis::Ry, -1, 263}, {Axis::Rz, +1, 264}, {Axis::Rz, -1, 265},
        {Axis::Slider0, +1, 266}, {Axis::Slider0, -1, 267}, {Axis::Slider1, +1, 268}, {Axis::Slider1, -1, 269}},
       0, 16, 272, true},
      {"Nes", nullptr,
       {{Axis::X, +1, 0x1001}, {Axis::X, -1, 0x1002}, {Axis::Y, +1, 0x1003}, {Axis::Y, -1, 0x1004},
        {Axis::Z, +1, 0x1005}, {Axis::Z, -1, 0x1006}},
       256, 128, 0x1010, false},
  };
  return families;
}

class FamilyNumbering : public CaptureTest, public ::testing::WithParamInterface<FamilyExpectation> {
protected:
  std::int32_t CaptureOnce() {
    const auto& family = GetParam();
    if (!family.alias) return CaptureNesButton(config, "A");
    return Capture(family.alias);
  }
};

TEST_P(FamilyNumbering, EveryAxisDirectionOnEveryJoystick) {
  const auto& family = GetParam();
  OpenWithJoysticks();
  for (int j = 0; j < kMaxJoysticks; ++j) {
    for (int a = 0; a < kAxisCount; ++a) {
      for (int sign : {+1, -1}) {
        const Axis axis = static_cast<Axis>(a);
        std::int32_t expected = 0;
        for (const auto& e : family.axes)
          if (e.axis == axis && e.sign == sign) expected = e.code + family.perJoystick * j;
        joysticks[j]->Push(axis, 1000 * sign);
        EXPECT_EQ(CaptureOnce(), expected) << "joystick " << j << " axis " << a << " sign " << sign;
        joysticks[j]->Push(axis, 0);
      }
    }
  }
  EXPECT_THAT(messages, IsEmpty());
}

TEST_P(FamilyNumbering, ButtonsOnEveryJoystickAndWhatCountsAsDown) {
  const auto& family = GetParam();
  OpenWithJoysticks();
  for (int j = 0; j < kMaxJoysticks; ++j) {
    for (int n : {0, 1, 7, 15, 16, 31, 32, 100, 127}) {
      const std::int32_t expected = n < family.buttons ? family.button0 + family.perJoystick * j + n : 0;
      joysticks[j]->SetButton(n, kDown);
      EXPECT_EQ(CaptureOnce(), expected) << "joystick " << j << " button " << n;
      joysticks[j]->SetButton(n, 0x01);  // non-zero without bit 0x80
      EXPECT_EQ(CaptureOnce(), family.highBitOnly ? 0 : expected) << "joystick " << j << " button " << n;
      joysticks[j]->SetButton(n, 0);
    }
  }
}

TEST_P(FamilyNumbering, RestingAndHalfwayStickAndUnusedFieldsGiveNothing) {
  OpenWithJoysticks(1);
  auto& joystick = *joysticks[0];
  EXPECT_EQ(CaptureOnce(), 0);
  for (int a = 0; a < kAxisCount; ++a) joystick.Push(static_cast<Axis>(a), 50);   // slightly off-centre
  EXPECT_EQ(CaptureOnce(), 0);
  for (int a = 0; a < kAxisCount; ++a) joystick.Push(static_cast<Axis>(a), -450);  // 45 %: inside the dead zone
  EXPECT_EQ(CaptureOnce(), 0);
  for (int a = 0; a < kAxisCount; ++a) joystick.Push(static_cast<Axis>(a), 0);
  joystick.Push(Axis::Rx, 1000);  // no family looks at lRx or the point of view
  joystick.SetPov(0, 9000);
  EXPECT_EQ(CaptureOnce(), 0);
  joystick.Push(Axis::X, 600);
  EXPECT_NE(CaptureOnce(), 0);
}

TEST_P(FamilyNumbering, WhenSeveralAxesHoldTheLaterTestWins) {
  const auto& family = GetParam();
  OpenWithJoysticks();
  for (int j : {0, 4}) {
    for (std::size_t first = 0; first < family.axes.size(); ++first) {
      for (std::size_t later = first + 1; later < family.axes.size(); ++later) {
        const auto& a = family.axes[first];
        const auto& b = family.axes[later];
        if (a.axis == b.axis) continue;
        joysticks[j]->Push(a.axis, 1000 * a.sign);
        joysticks[j]->Push(b.axis, 1000 * b.sign);
        EXPECT_EQ(CaptureOnce(), b.code + family.perJoystick * j)
            << "joystick " << j << " tests " << first << " and " << later;
        joysticks[j]->Push(a.axis, 0);
        joysticks[j]->Push(b.axis, 0);
      }
    }
  }
}

TEST_P(FamilyNumbering, KeyboardGivesTheScanCode) {
  OpenWithJoysticks(1);
  input.Keyboard().Press(0xCB);
  joysticks[0]->SetButton(0, kDown);
  EXPECT_EQ(CaptureOnce(), 0xCB);
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyNumbering, ::testing::ValuesIn(Families()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureTest, LowerScanCodeWinsJoysticksAreNotReadThenAndScanCodeZeroIsNoKey) {
  OpenWithJoysticks(2);
  input.Keyboard().Press(0xD0);
  input.Keyboard().Press(0xCB);
  joysticks[0]->SetButton(3, kDown);
  input.ClearLog();
  EXPECT_EQ(Capture("SNES"), 0xCB);
  EXPECT_THAT(LogOf("joystick"), IsEmpty());
  input.Keyboard().Release(0xCB);
  EXPECT_EQ(Capture("GEN"), 0xD0);
  input.Keyboard().Release(0xD0);
  input.Keyboard().Press(0x00);  // a stray bit at scan code 0 is no key and hides no joystick
  EXPECT_EQ(Capture("SMS"), 272 + 3);
}

TEST_F(CaptureTest, ButtonBeatsAxisAndHigherButtonBeatsLower) {
  OpenWithJoysticks(2);
  // SNES, joystick 1, button 3: 256 + 32 + 16 + 3; with lX pushed right as well: still 307.
  joysticks[1]->SetButton(3, kDown);
  EXPECT_EQ(Capture("SNES"), 307);
  joysticks[1]->Push(Axis::X, 1000);
  EXPECT_EQ(Capture("SNES"), 307);
  joysticks[1]->SetButton(9, kDown);
  EXPECT_EQ(Capture("SNES"), 313);
  joysticks[1]->SetButton(3, 0);
  joysticks[1]->SetButton(9, 0);
  joysticks[1]->Push(Axis::Y, -1000);  // later axis test holds too: last one wins
  EXPECT_EQ(Capture("SNES"), 256 + 32 + 3);
}

TEST_F(CaptureTest, FirstJoystickWithAResultWinsAndLaterOnesAreNotPolled) {
  OpenWithJoysticks(4);
  joysticks[1]->SetButton(0, kDown);
  joysticks[2]->SetButton(0, kDown);
  input.ClearLog();
  EXPECT_EQ(Capture("GEN"), 0x1110);
  EXPECT_THAT(LogOf("joystick"), ElementsAre("joystick0.Poll", "joystick0.GetDeviceState 272", "joystick1.Poll",
                                             "joystick1.GetDeviceState 272"));
}

TEST_F(CaptureTest, UnknownAliasOrButtonGives255WithoutReadingADevice) {
  OpenWithJoysticks(1);
  input.Keyboard().Press(0x2D);
  input.ClearLog();
  for (const char* alias : {"2600", "NES", "", "snes", "COL"}) EXPECT_EQ(Capture(alias), 255) << alias;
  for (const char* button : {"up", "Turbo", "", "A "}) EXPECT_EQ(CaptureNesButton(config, button), 255) << button;
  EXPECT_THAT(input.Log(), IsEmpty());
  for (const auto& record : config.nesRecords) EXPECT_EQ(record, NesterBinding{});
}

TEST_F(CaptureTest, KeyboardReadFailureIsShownAndTheCaptureGoesOnToJoysticks) {
  OpenWithJoysticks(1);
  input.Keyboard().results.read.Always(dierr::NotAcquired);
  joysticks[0]->SetButton(4, kDown);
  EXPECT_EQ(Capture("SMS"), 276);
  EXPECT_EQ(Capture("SMS"), 276);
  EXPECT_THAT(messages, ElementsAre(Message{"DIERR_NOTACQUIRED", "DI Error"}, Message{"DIERR_NOTACQUIRED", "DI Error"}));
}

// Each capture writes its device's fields of the record and leaves the others as they were: only
// the keyboard sets Key, only an axis sets JAxisPositive.
TEST_F(CaptureTest, NesRecordAfterKeyboardAxisAndButtonCaptures) {
  OpenWithJoysticks(2);
  const NesterBinding& up = config.nesRecords[0];
  const DeviceGuid first = ScriptedInput::TestGuid(0x10), second = ScriptedInput::TestGuid(0x11);

  input.Keyboard().Press(0x2D);
  EXPECT_EQ(CaptureNesButton(config, "Up"), 0x2D);
  EXPECT_EQ(up, (NesterBinding{kGuidSysKeyboard, 1, 0, 0, 0x2D}));
  input.Keyboard().Release(0x2D);

  joysticks[0]->Push(Axis::Y, -1000);
  EXPECT_EQ(CaptureNesButton(config, "Up"), 0x1004);
  EXPECT_EQ(up, (NesterBinding{first, 3, 0, 4, 0x2D}));
  joysticks[0]->Push(Axis::Y, 0);

  // lZ positive and button 2 held: the button wins, the axis's direction stays.
  joysticks[1]->Push(Axis::Z, 1000);
  joysticks[1]->SetButton(2, 1);
  EXPECT_EQ(CaptureNesButton(config, "Up"), 0x1112);
  EXPECT_EQ(up, (NesterBinding{second, 2, 1, 50, 0x2D}));
  joysticks[1]->Push(Axis::Z, 0);
  joysticks[1]->SetButton(2, 0);

  input.Keyboard().Press(0x1C);
  EXPECT_EQ(CaptureNesButton(config, "Up"), 0x1C);
  EXPECT_EQ(up, (NesterBinding{kGuidSysKeyboard, 1, 1, 50, 0x1C}));
}

TEST_F(CaptureTest, NesRecordTakesTheLastAxisTestThatHolds) {
  OpenWithJoysticks(1);
  const NesterBinding& left = config.nesRecords[2];
  joysticks[0]->Push(Axis::X, 1000);
  joysticks[0]->Push(Axis::Y, -1000);
  EXPECT_EQ(CaptureNesButton(config, "Left"), 0x1004);
  EXPECT_EQ(left, (NesterBinding{ScriptedInput::TestGuid(0x10), 3, 0, 4, 0}));
  joysticks[0]->Push(Axis::Y, 0);
  joysticks[0]->Push(Axis::X, -1000);
  joysticks[0]->Push(Axis::Z, 1000);
  EXPECT_EQ(CaptureNesButton(config, "Left"), 0x1005);
  EXPECT_EQ(left, (NesterBinding{ScriptedInput::TestGuid(0x10), 3, 1, 8, 0}));
}

TEST_F(CaptureTest, NesButtonsSelectTheirRecordsAndNothingPressedChangesNothing) {
  OpenWithJoysticks(1);
  const NesterBinding before = config.nesRecords[4];
  EXPECT_EQ(CaptureNesButton(config, "Select"), 0);
  EXPECT_EQ(config.nesRecords[4], before);
  const char* names[kNesButtonCount] = {"Up", "Down", "Left", "Right", "Select", "Start", "A", "B"};
  for (int i = 0; i < kNesButtonCount; ++i) {
    joysticks[0]->SetButton(i, kDown);
    EXPECT_EQ(CaptureNesButton(config, names[i]), 0x1010 + i);
    joysticks[0]->SetButton(i, 0);
    EXPECT_EQ(config.nesRecords[i].JOffset, 48u + i) << names[i];
    for (int k = i + 1; k < kNesButtonCount; ++k) EXPECT_EQ(config.nesRecords[k].DeviceType, 0u);
  }
}

// The wait polls until an input arrives, pausing in between.
TEST_F(CaptureTest, WaitPausesAMillisecondWhileAnyDeviceMustBePolledAndLongerOnlyWhenAllSignal) {
  OpenWithJoysticks(1);
  config.systemAlias = "SMS";
  int calls = 0;
  auto waitUntilThirdCall = [&] {
    calls = 0;
    input.ClearLog();
    return WaitForCode(config, [&](ControllerConfig& c) {
      if (++calls == 3) input.Keyboard().Press(0x10);
      return CaptureBinding(c);
    });
  };
  EXPECT_EQ(waitUntilThirdCall(), 0x10);
  EXPECT_EQ(calls, 3);
  EXPECT_THAT(LogOf("WaitForInput"), ElementsAre("WaitForInput 1000", "WaitForInput 1000"));
  input.Keyboard().Release(0x10);

  input.SetNotifies(true);
  EXPECT_EQ(waitUntilThirdCall(), 0x10);
  EXPECT_EQ(calls, 3);
  EXPECT_THAT(LogOf("WaitForInput"), ElementsAre("WaitForInput 20000", "WaitForInput 20000"));
}

TEST_F(CaptureTest, CaptureOneStoresWhileDevicesAreOpenThenCloses) {
  input.Attach(ScriptedInput::TestGuid(1));
  input.Keyboard().Press(0x39);
  config.systemAlias = "SNES";
  std::vector<std::string> steps;
  const std::int32_t code = CaptureOne(config, window, CaptureBinding, [&](std::int32_t captured) {
    config.Code(SlotA) = captured;
    config.RefreshSnesNames();
    steps.push_back("store " + std::to_string(captured) + (config.input.IsOpen() ? " open" : " closed") + " " +
                    config.DisplayName(SlotA));
  });
  EXPECT_EQ(code, 0x39);
  EXPECT_THAT(steps, ElementsAre("store 57 open Space"));
  EXPECT_FALSE(config.input.IsOpen());
  EXPECT_EQ(config.systemAlias, "");
  EXPECT_EQ(input.LiveDevices(), 0);
}

TEST_F(CaptureTest, CaptureOneWithNoDevicesEndsAndStoresNothing) {
  input.create.Always(dierr::Generic);
  config.systemAlias = "GEN";
  bool stored = false;
  EXPECT_EQ(CaptureOne(config, window, CaptureBinding, [&](std::int32_t) { stored = true; }), 0);
  EXPECT_FALSE(stored);
  EXPECT_EQ(config.systemAlias, "");
}

}  // namespace
}  // namespace vt::test
