// Capture of one binding: what counts as a press, in which order inputs are looked at, and how
// each console family numbers what was pressed (the numbering its emulator stores).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>

#include "input/ControllerConfig.h"
#include "input/InputDevices.h"

namespace vt {

enum class CaptureFamily { Snes, Genesis, GameBoy, MasterSystem, Nes };

// The lowest pressed scan code (bit 0x80 of its byte), or 0.
std::int32_t FirstPressedKey(const KeyboardState& keys);
// The family's code for joystick `index` in `state`: axis tests in ascending order of d, then the
// buttons from 0; the last test that holds wins. 0 when nothing holds. With `record`, the NES
// family also writes each test that holds into it.
std::int32_t EvaluateJoystick(CaptureFamily family, int index, const JoystickState& state, const DeviceGuid& guid,
                              NesterBinding* record = nullptr);

void OpenInput(ControllerConfig& config, WindowHandle window);
// Also empties the system alias, so a window sets it again before every capture.
void CloseInput(ControllerConfig& config);

// One call each: the keyboard once, then joysticks 0 to 4 until one yields a code; 0 when nothing
// is pressed.
std::int32_t CaptureSnesBinding(ControllerConfig& config);
std::int32_t CaptureGenesisBinding(ControllerConfig& config);
std::int32_t CaptureGameBoyBinding(ControllerConfig& config);
std::int32_t CaptureMasterSystemBinding(ControllerConfig& config);
std::int32_t CaptureNesBinding(ControllerConfig& config, NesterBinding& record);

// By the system alias ("SNES", "GEN", "GBC", "SMS"); any other alias gives 255 at once.
std::int32_t CaptureBinding(ControllerConfig& config);
// By nester's button name ("Up" ... "B", exact); any other name gives 255 at once.
std::int32_t CaptureNesButton(ControllerConfig& config, std::string_view button);

// The longest pause between two captures while waiting: short enough that a press is seen within
// about a millisecond, long enough that an idle wait costs next to nothing.
inline constexpr std::chrono::microseconds kCapturePollInterval{1000};

using CaptureCall = std::function<std::int32_t(ControllerConfig&)>;

// Calls `capture` until it returns a code, pausing between calls until a device signals input or
// the poll interval passes. Returns 0 when the open devices can never deliver an input (the
// interface or every device failed), so the window can end the capture.
std::int32_t WaitForCode(ControllerConfig& config, const CaptureCall& capture);

// A window's whole capture of one binding, in the window's order: open the devices, wait for a
// code, hand it to `store` (which stores it and refreshes the names) while the devices are still
// open, close. The window sets the system alias before.
std::int32_t CaptureOne(ControllerConfig& config, WindowHandle window, const CaptureCall& capture,
                        const std::function<void(std::int32_t code)>& store);

}  // namespace vt
