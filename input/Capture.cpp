#include "input/Capture.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace vt {

namespace {

struct AxisTest {
  Axis axis;
  bool positive;
};

// Axis tests in ascending order of d; d is the position in the list plus `firstD`.
constexpr std::array<AxisTest, 14> kSnesAxes = {{{Axis::X, true},
                                                 {Axis::X, false},
                                                 {Axis::Y, true},
                                                 {Axis::Y, false},
                                                 {Axis::Z, true},
                                                 {Axis::Z, false},
                                                 {Axis::Ry, true},
                                                 {Axis::Ry, false},
                                                 {Axis::Rz, false},
                                                 {Axis::Rz, true},
                                                 {Axis::Slider0, true},
                                                 {Axis::Slider0, false},
                                                 {Axis::Slider1, true},
                                                 {Axis::Slider1, false}}};
// The same as SNES except that lRz comes positive first (d = 8).
constexpr std::array<AxisTest, 14> RzPositiveFirst(std::array<AxisTest, 14> axes) {
  std::swap(axes[8], axes[9]);
  return axes;
}
constexpr std::array<AxisTest, 14> kMasterSystemAxes = RzPositiveFirst(kSnesAxes);
constexpr std::array<AxisTest, 4> kGenesisAxes = {
    {{Axis::Y, false}, {Axis::Y, true}, {Axis::X, false}, {Axis::X, true}}};
constexpr std::array<AxisTest, 4> kGameBoyAxes = kGenesisAxes;  // every direction gives 257
constexpr std::array<AxisTest, 6> kNesAxes = {{{Axis::X, true},
                                               {Axis::X, false},
                                               {Axis::Y, true},
                                               {Axis::Y, false},
                                               {Axis::Z, true},
                                               {Axis::Z, false}}};

struct FamilyRule {
  const AxisTest* axes;
  int axisCount;
  int firstD;
  std::int32_t base;         // code of d = 0 for joystick 0
  std::int32_t perJoystick;  // added per joystick number
  bool sameCodeForAxes;      // Game Boy: every axis test gives `base`
  int buttons;
  std::int32_t buttonBase;  // code of button 0 for joystick 0
  bool highBitButtons;      // bit 0x80 (SNES, Master System) or any non-zero byte
};

FamilyRule Rule(CaptureFamily family) {
  switch (family) {
    case CaptureFamily::Snes:
      return {kSnesAxes.data(), 14, 0, 256, 32, false, 16, 256 + 16, true};
    case CaptureFamily::Genesis:
      return {kGenesisAxes.data(), 4, 1, 0x1000, 256, false, 32, 0x1000 + 0x10, false};
    case CaptureFamily::GameBoy:
      return {kGameBoyAxes.data(), 4, 0, 257, 0, true, 32, 257, false};
    case CaptureFamily::MasterSystem:
      return {kMasterSystemAxes.data(), 14, 0, 256, 0, false, 16, 272, true};
    case CaptureFamily::Nes:
      break;
  }
  return {kNesAxes.data(), 6, 1, 0x1000, 256, false, 128, 0x1000 + 0x10, false};
}

std::uint32_t NesAxisOffset(Axis axis) {
  switch (axis) {
    case Axis::Y:
      return 4;
    case Axis::Z:
      return 8;
    default:
      return 0;
  }
}

// The first fresh read after the opening is the joystick's rest, and it stays: a trigger resting
// at one end passes the centre on every pull (the dead zone spans the middle half of its travel),
// so a rest that followed the centre would give the trigger's resting direction to the next
// capture. Only an axis that stays centred for kHeldAxisSettle, a stick held as the capture began
// and let go, rests centred from then on. A locked axis counts again once back in its rest's zone.
void NoteRest(JoystickRest& rest, const JoystickState& state,
              std::chrono::steady_clock::time_point now) {
  for (int a = 0; a < kAxisCount; ++a) {
    const auto zone = static_cast<std::int8_t>(AxisZone(AxisValue(state, static_cast<Axis>(a))));
    if (!rest.known) {
      rest.zone[a] = zone;
      continue;
    }
    auto& since = rest.centredSince[a];
    if (rest.zone[a] == 0 || zone != 0) {
      since.reset();
    } else if (!since) {
      since = now;
    } else if (now - *since >= kHeldAxisSettle) {
      rest.zone[a] = 0;
      since.reset();
    }
    if (rest.locked[a]) rest.locked[a] = zone != rest.zone[a];
  }
  rest.known = true;
}

}  // namespace

std::int32_t CaptureInput(InputDevices& devices, CaptureFamily family, NesterBinding* record) {
  KeyboardState keys;
  devices.ReadKeyboardState(keys);
  if (family != CaptureFamily::Nes) record = nullptr;
  if (std::int32_t key = FirstPressedKey(keys)) {
    if (record) {
      record->DeviceGUID = kGuidSysKeyboard;
      record->DeviceType = kNesterKeyboard;
      record->Key = static_cast<std::uint32_t>(key);
    }
    return key;
  }
  // Until a joystick has been read once, none of its axes can be told from its rest.
  static const JoystickRest kUnknown = [] {
    JoystickRest r;
    r.locked.fill(true);
    return r;
  }();
  for (int i = 0; i < kMaxJoysticks; ++i) {
    const bool fresh = devices.PollJoystick(i);
    if (!devices.JoystickPresent(i)) continue;
    JoystickRest& rest = devices.Rest(i);
    if (fresh) NoteRest(rest, devices.Joystick(i), devices.Now());
    const JoystickResult result =
        EvaluateJoystick(family, i, devices.Joystick(i), devices.JoystickGuid(i),
                         rest.known ? &rest : &kUnknown, record);
    if (result.code == 0) continue;
    if (result.axis >= 0) rest.locked[result.axis] = true;
    return result.code;
  }
  return 0;
}

std::int32_t FirstPressedKey(const KeyboardState& keys) {
  // Scan code 0 is no key; a stray bit there must not hide every joystick.
  for (int code = 1; code < static_cast<int>(keys.size()); ++code)
    if (keys[code] & 0x80) return code;
  return 0;
}

JoystickResult EvaluateJoystick(CaptureFamily family, int index, const JoystickState& state,
                                const DeviceGuid& guid, const JoystickRest* rest,
                                NesterBinding* record) {
  const FamilyRule rule = Rule(family);
  const bool nesRecord = record && family == CaptureFamily::Nes;
  const std::int32_t joystick = rule.perJoystick * index;
  JoystickResult result;
  std::int32_t& code = result.code;
  for (int t = 0; t < rule.axisCount; ++t) {
    const AxisTest& test = rule.axes[t];
    const int axis = static_cast<int>(test.axis);
    const int direction = test.positive ? 1 : -1;
    if (AxisZone(AxisValue(state, test.axis)) != direction) continue;
    // A trigger resting at one end, or a stick held as the capture began, is no press there.
    if (rest && (rest->locked[axis] || rest->zone[axis] == direction)) continue;
    code = rule.sameCodeForAxes ? rule.base : rule.base + joystick + rule.firstD + t;
    result.axis = axis;
    if (nesRecord) {
      record->DeviceGUID = guid;
      record->DeviceType = kNesterJoystickAxis;
      record->JAxisPositive = test.positive ? 1 : 0;
      record->JOffset = NesAxisOffset(test.axis);
    }
  }
  for (int n = 0; n < rule.buttons; ++n) {
    const std::uint8_t byte = state.rgbButtons[n];
    if (rule.highBitButtons ? (byte & 0x80) == 0 : byte == 0) continue;
    code = rule.buttonBase + joystick + n;
    result.axis = -1;
    if (nesRecord) {
      record->DeviceGUID = guid;
      record->DeviceType = kNesterJoystickButton;
      record->JOffset = 48 + static_cast<std::uint32_t>(n);
    }
  }
  return result;
}

WaitResult WaitForCode(InputDevices& devices, const CaptureCall& capture,
                       const WaitOptions& options) {
  using std::chrono::milliseconds;
  const auto start = options.now();
  std::optional<std::chrono::steady_clock::time_point> escapeSince;
  for (;;) {
    if (!devices.HasDevices()) return {0, WaitEnd::NoDevices};
    const std::int32_t code = capture(devices);
    const auto now = options.now();
    if (code == kEscapeScanCode) {
      if (!escapeSince) escapeSince = now;
      if (now - *escapeSince >= kEscapeHoldToLeave) return {0, WaitEnd::Left};
    } else if (escapeSince) {
      // Escape let go: a tap binds Escape, unless something else came meanwhile (what a NES
      // record now holds).
      return {code ? code : kEscapeScanCode, WaitEnd::Code};
    } else if (code) {
      return {code, WaitEnd::Code};
    }
    const auto elapsed = std::chrono::duration_cast<milliseconds>(now - start);
    if (!escapeSince && elapsed >= options.limit) return {0, WaitEnd::TimedOut};
    if (options.idle && !options.idle(std::max(options.limit - elapsed, milliseconds(0))))
      return {0, WaitEnd::Left};
    devices.WaitForInput(kCapturePollInterval);
  }
}

}  // namespace vt
