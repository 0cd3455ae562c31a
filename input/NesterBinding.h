// nester's record of one NES button binding, as its registry values hold it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vt {

using DeviceGuid = std::array<std::uint8_t, 16>;

// DirectInput's GUID_SysKeyboard {6F1D2B61-D5A0-11CF-BFC7-444553540000}, in memory order.
inline constexpr DeviceGuid kGuidSysKeyboard = {0x61, 0x2B, 0x1D, 0x6F, 0xA0, 0xD5, 0xCF, 0x11,
                                                0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00};

enum : std::uint32_t {
  kNesterKeyboard = 1,
  kNesterJoystickButton = 2,
  kNesterJoystickAxis = 3,
};

// Field names are nester's registry value names.
struct NesterBinding {
  DeviceGuid DeviceGUID{};
  std::uint32_t DeviceType = 0;
  std::uint32_t JAxisPositive = 0;
  std::uint32_t JOffset = 0;
  std::uint32_t Key = 0;

  bool operator==(const NesterBinding&) const = default;
};

NesterBinding NesterKeyboardBinding(std::uint32_t scanCode);

}  // namespace vt
