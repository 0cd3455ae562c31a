#include "input/Capture.h"

#include <array>
#include <utility>

namespace vt {

namespace {

struct AxisTest {
  Axis axis;
  bool positive;
};

// Axis tests in ascending order of d; d is the position in the list plus `firstD`.
constexpr std::array<AxisTest, 14> kSnesAxes = {{{Axis::X, true},        {Axis::X, false},
                                                  {Axis::Y, true},        {Axis::Y, false},
                                                  {Axis::Z, true},        {Axis::Z, false},
                                                  {Axis::Ry, true},       {Axis::Ry, false},
                                                  {Axis::Rz, false},      {Axis::Rz, true},
                                                  {Axis::Slider0, true},  {Axis::Slider0, false},
                                                  {Axis::Slider1, true},  {Axis::Slider1, false}}};
// The same as SNES except that lRz comes positive first (d = 8).
constexpr std::array<AxisTest, 14> RzPositiveFirst(std::array<AxisTest, 14> axes) {
  std::swap(axes[8], axes[9]);
  return axes;
}
constexpr std::array<AxisTest, 14> kMasterSystemAxes = RzPositiveFirst(kSnesAxes);
constexpr std::array<AxisTest, 4> kGenesisAxes = {{{Axis::Y, false}, {Axis::Y, true}, {Axis::X, false}, {Axis::X, true}}};
constexpr std::array<AxisTest, 4> kGameBoyAxes = kGenesisAxes;  // every direction gives 257
constexpr std::array<AxisTest, 6> kNesAxes = {
    {{Axis::X, true}, {Axis::X, false}, {Axis::Y, true}, {Axis::Y, false}, {Axis::Z, true}, {Axis::Z, false}}};

struct FamilyRule {
  const AxisTest* axes;
  int axisCount;
  int firstD;
  std::int32_t base;          // code of d = 0 for joystick 0
  std::int32_t perJoystick;   // added per joystick number
  bool sameCodeForAxes;       // Game Boy: every axis test gives `base`
  int buttons;
  std::int32_t buttonBase;    // code of button 0 for joystick 0
  bool highBitButtons;        // bit 0x80 (SNES, Master System) or any non-zero byte
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
    case Axis::Y: return 4;
    case Axis::Z: return 8;
    default: return 0;
  }
}

std::int32_t Capture(ControllerConfig& config, CaptureFamily family, NesterBinding* record) {
  KeyboardState keys;
  config.input.ReadKeyboardState(keys);
  if (std::int32_t key = FirstPressedKey(keys)) {
    if (record) {
      record->DeviceGUID = kGuidSysKeyboard;
      record->DeviceType = kNesterKeyboard;
      record->Key = static_cast<std::uint32_t>(key);
    }
    return key;
  }
  for (int i = 0; i < kMaxJoysticks; ++i) {
    config.input.PollJoystick(i);
    if (!config.input.JoystickPresent(i)) continue;
    if (std::int32_t code = EvaluateJoystick(family, i, config.input.Joystick(i), config.input.JoystickGuid(i), record))
      return code;
  }
  return 0;
}

}  // namespace

std::int32_t FirstPressedKey(const KeyboardState& keys) {
  // Scan code 0 is no key; a stray bit there must not hide every joystick.
  for (int code = 1; code < static_cast<int>(keys.size()); ++code)
    if (keys[code] & 0x80) return code;
  return 0;
}

std::int32_t EvaluateJoystick(CaptureFamily family, int index, const JoystickState& state, const DeviceGuid& guid,
                              NesterBinding* record) {
  const FamilyRule rule = Rule(family);
  const bool nesRecord = record && family == CaptureFamily::Nes;
  const std::int32_t joystick = rule.perJoystick * index;
  std::int32_t code = 0;
  for (int t = 0; t < rule.axisCount; ++t) {
    const AxisTest& test = rule.axes[t];
    const std::int32_t value = AxisValue(state, test.axis);
    if (test.positive ? value <= 0 : value >= 0) continue;
    code = rule.sameCodeForAxes ? rule.base : rule.base + joystick + rule.firstD + t;
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
    if (nesRecord) {
      record->DeviceGUID = guid;
      record->DeviceType = kNesterJoystickButton;
      record->JOffset = 48 + static_cast<std::uint32_t>(n);
    }
  }
  return code;
}

void OpenInput(ControllerConfig& config, WindowHandle window) { config.input.Open(window); }

void CloseInput(ControllerConfig& config) {
  config.input.Close();
  config.systemAlias.clear();
}

std::int32_t CaptureSnesBinding(ControllerConfig& config) { return Capture(config, CaptureFamily::Snes, nullptr); }
std::int32_t CaptureGenesisBinding(ControllerConfig& config) {
  return Capture(config, CaptureFamily::Genesis, nullptr);
}
std::int32_t CaptureGameBoyBinding(ControllerConfig& config) {
  return Capture(config, CaptureFamily::GameBoy, nullptr);
}
std::int32_t CaptureMasterSystemBinding(ControllerConfig& config) {
  return Capture(config, CaptureFamily::MasterSystem, nullptr);
}
std::int32_t CaptureNesBinding(ControllerConfig& config, NesterBinding& record) {
  return Capture(config, CaptureFamily::Nes, &record);
}

std::int32_t CaptureBinding(ControllerConfig& config) {
  const std::string& alias = config.systemAlias;
  if (alias == "SNES") return CaptureSnesBinding(config);
  if (alias == "GEN") return CaptureGenesisBinding(config);
  if (alias == "GBC") return CaptureGameBoyBinding(config);
  if (alias == "SMS") return CaptureMasterSystemBinding(config);
  return 255;
}

std::int32_t CaptureNesButton(ControllerConfig& config, std::string_view button) {
  static constexpr std::string_view kButtons[kNesButtonCount] = {"Up",     "Down",  "Left", "Right",
                                                                 "Select", "Start", "A",    "B"};
  for (int i = 0; i < kNesButtonCount; ++i)
    if (button == kButtons[i]) return CaptureNesBinding(config, config.nesRecords[i]);
  return 255;
}

std::int32_t WaitForCode(ControllerConfig& config, const CaptureCall& capture) {
  for (;;) {
    if (std::int32_t code = capture(config)) return code;
    if (!config.input.HasDevices()) return 0;
    config.input.WaitForInput(kCapturePollInterval);
  }
}

std::int32_t CaptureOne(ControllerConfig& config, WindowHandle window, const CaptureCall& capture,
                        const std::function<void(std::int32_t)>& store) {
  OpenInput(config, window);
  const std::int32_t code = WaitForCode(config, capture);
  if (code != 0 && store) store(code);
  CloseInput(config);
  return code;
}

}  // namespace vt
