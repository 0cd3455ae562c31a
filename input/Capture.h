// Capture of one binding: what counts as a press, in which order inputs are looked at, and how
// each console family numbers what was pressed (the numbering its emulator stores).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>

#include "input/CaptureFamily.h"
#include "input/InputDevices.h"
#include "input/NesterBinding.h"

namespace vt {

// The lowest pressed scan code (bit 0x80 of its byte), or 0.
std::int32_t FirstPressedKey(const KeyboardState& keys);

// What one joystick gave: the family's code (0 for nothing) and the axis whose test gave it, or
// -1 when a button did.
struct JoystickResult {
  std::int32_t code = 0;
  int axis = -1;
};
// The family's code for joystick `index` in `state`: axis tests in ascending order of d, then the
// buttons from 0; the last test that holds wins. An axis test holds when the axis is past the
// dead zone in the test's direction, the axis did not rest past it in that same direction, and
// it is not locked (`rest`; without one, every axis rests centred). With `record`, the NES
// family also writes each test that holds into it.
JoystickResult EvaluateJoystick(CaptureFamily family, int index, const JoystickState& state,
                                const DeviceGuid& guid, const JoystickRest* rest,
                                NesterBinding* record = nullptr);

// One look at the devices: the keyboard once, then joysticks 0 to 4 until one yields a code; 0
// when nothing is pressed. The first read of a joystick after the opening is its rest; an axis
// that gives the code is locked until it is back in the zone it rested in. For the NES family,
// each test that holds writes its device's fields into `record` (nester's record of the button,
// whose other fields keep their values).
std::int32_t CaptureInput(InputDevices& devices, CaptureFamily family,
                          NesterBinding* record = nullptr);

// The longest pause between two captures while a device that must be polled is held: a press
// lasts far longer, so each one is still seen within 10 ms.
inline constexpr std::chrono::microseconds kCapturePollInterval{8000};
// A capture that sees nothing for this long ends without a binding.
inline constexpr std::chrono::milliseconds kCaptureTimeLimit{15000};
// Escape pressed and let go binds Escape like any key; held this long it leaves the capture.
inline constexpr std::chrono::milliseconds kEscapeHoldToLeave{1000};
inline constexpr std::int32_t kEscapeScanCode = 0x01;

using CaptureCall = std::function<std::int32_t(InputDevices&)>;
using CaptureClock = std::function<std::chrono::steady_clock::time_point()>;

enum class WaitEnd { Code, NoDevices, Left, TimedOut };
struct WaitResult {
  std::int32_t code = 0;  // non-zero only when `end` is Code
  WaitEnd end = WaitEnd::NoDevices;
};

struct WaitOptions {
  std::chrono::milliseconds limit = kCaptureTimeLimit;
  CaptureClock now = std::chrono::steady_clock::now;
  // Called between polls with the time left; returns false when the user left the capture.
  std::function<bool(std::chrono::milliseconds left)> idle;
};

// Calls `capture` until it returns a code, pausing between calls until a device signals input or
// the poll interval passes. Ends without a code when the open devices can never deliver an input
// (the interface or every device failed, or they were closed meanwhile), when `idle` says the
// user left, when Escape is held, or at the time limit.
WaitResult WaitForCode(InputDevices& devices, const CaptureCall& capture,
                       const WaitOptions& options = {});

}  // namespace vt
