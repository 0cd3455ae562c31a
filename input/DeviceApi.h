// The DirectInput 8 operations the input layer relies on, behind an interface of its own so that
// the same opening, reading and capture logic runs on DirectInput and on scripted devices.
// Results are DirectInput's HRESULT values; negative means failure.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "input/NesterBinding.h"  // DeviceGuid, kGuidSysKeyboard

namespace vt {

using HResult = std::int32_t;

namespace dierr {
inline constexpr HResult Ok = 0;
inline constexpr HResult InputLost = static_cast<HResult>(0x8007001Eu);
inline constexpr HResult InvalidParam = static_cast<HResult>(0x80070057u);
inline constexpr HResult NotAcquired = static_cast<HResult>(0x8007000Cu);
inline constexpr HResult NotInitialized = static_cast<HResult>(0x80070015u);
inline constexpr HResult Pending = static_cast<HResult>(0x8000000Au);  // E_PENDING
inline constexpr HResult OtherAppHasPrio = static_cast<HResult>(0x80070005u);
inline constexpr HResult ObjectNotFound = static_cast<HResult>(0x80070002u);
inline constexpr HResult Unsupported = static_cast<HResult>(0x80004001u);
inline constexpr HResult Generic = static_cast<HResult>(0x80004005u);  // E_FAIL
inline constexpr HResult Unplugged = static_cast<HResult>(0x80040209u);
}  // namespace dierr

// The published name of a DirectInput error ("DIERR_INPUTLOST", "E_PENDING", ...), or null.
const char* DirectInputErrorName(HResult result);

// DirectInput's DIJOYSTATE2, byte for byte (272 bytes, buttons 48 bytes from the start), so that
// offsets in it are the ones nester stores.
struct JoystickState {
  std::int32_t lX = 0, lY = 0, lZ = 0, lRx = 0, lRy = 0, lRz = 0;
  std::int32_t rglSlider[2] = {};
  std::uint32_t rgdwPOV[4] = {};
  std::uint8_t rgbButtons[128] = {};
  std::int32_t lVX = 0, lVY = 0, lVZ = 0, lVRx = 0, lVRy = 0, lVRz = 0;
  std::int32_t rglVSlider[2] = {};
  std::int32_t lAX = 0, lAY = 0, lAZ = 0, lARx = 0, lARy = 0, lARz = 0;
  std::int32_t rglASlider[2] = {};
  std::int32_t lFX = 0, lFY = 0, lFZ = 0, lFRx = 0, lFRy = 0, lFRz = 0;
  std::int32_t rglFSlider[2] = {};
};
static_assert(sizeof(JoystickState) == 272);
static_assert(offsetof(JoystickState, rgbButtons) == 48);

// The axes of a JoystickState in record order (the sliders last).
enum class Axis { X, Y, Z, Rx, Ry, Rz, Slider0, Slider1 };
inline constexpr int kAxisCount = 8;
std::int32_t AxisValue(const JoystickState& state, Axis axis);

inline constexpr std::size_t kKeyboardStateBytes = 256;
inline constexpr int kMaxJoysticks = 5;

// Object type word bits (DIDFT_RELAXIS, DIDFT_ABSAXIS).
inline constexpr std::uint32_t kObjectRelativeAxis = 1;
inline constexpr std::uint32_t kObjectAbsoluteAxis = 2;
// DISCL_NONEXCLUSIVE (2) | DISCL_BACKGROUND (8). Not 6, which is non-exclusive foreground: a
// foreground keyboard is unacquired whenever the set-up window loses activation, and as nothing
// acquires it again, every later read of the capture would fail with a message box.
inline constexpr std::uint32_t kCooperativeNonExclusiveBackground = 10;

enum class DataFormat { Keyboard, Joystick2 };  // c_dfDIKeyboard, c_dfDIJoystick2

// Opaque window handle (an HWND on Windows).
using WindowHandle = void*;

// IDirectInputDevice8. Destroying the object releases the device.
class InputDevice {
public:
  virtual ~InputDevice() = default;
  virtual HResult SetDataFormat(DataFormat format) = 0;
  // Calls `object` with each object's type word while it returns true.
  virtual HResult EnumObjects(const std::function<bool(std::uint32_t type)>& object) = 0;
  virtual HResult SetRange(std::uint32_t objectType, std::int32_t minimum,
                           std::int32_t maximum) = 0;
  virtual HResult SetDeadZone(std::uint32_t objectType, std::uint32_t deadZone) = 0;
  virtual HResult SetCooperativeLevel(WindowHandle window, std::uint32_t flags) = 0;
  virtual HResult Acquire() = 0;
  virtual HResult Unacquire() = 0;
  virtual HResult Poll() = 0;
  // 256 bytes for a keyboard, sizeof(JoystickState) for a joystick.
  virtual HResult GetDeviceState(std::span<std::uint8_t> state) = 0;
  // True when the device wakes InputSystem::WaitForInput by itself on every change of its state
  // (event notification, and not a device that only reports when polled).
  virtual bool SignalsInput() const = 0;
};

// IDirectInput8. Destroying the object releases the interface.
class InputSystem {
public:
  virtual ~InputSystem() = default;
  virtual HResult CreateDevice(const DeviceGuid& instance,
                               std::unique_ptr<InputDevice>& device) = 0;
  // Attached game controllers, in the system's order, while `controller` returns true.
  virtual HResult EnumGameControllers(
      const std::function<bool(const DeviceGuid& instance)>& controller) = 0;
  // Blocks until a device may have new input or `atMost` has passed. Polled devices never signal,
  // so callers keep `atMost` short.
  virtual void WaitForInput(std::chrono::microseconds atMost) = 0;
};

// DirectInput8Create and the module instance it is given.
class InputBackend {
public:
  virtual ~InputBackend() = default;
  virtual void* ModuleInstance() = 0;
  virtual HResult Create(void* moduleInstance, std::unique_ptr<InputSystem>& system) = 0;
};

// DirectInput on Windows; elsewhere a backend that has no devices (creation fails).
InputBackend& PlatformInputBackend();

}  // namespace vt
