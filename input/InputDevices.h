// The keyboard and up to five game controllers of one capture: opened just before a set-up window
// waits for one binding and closed right after, so every capture sees a fresh enumeration.
// Failures are shown as message boxes through the sink and opening goes on with the next step.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "input/DeviceApi.h"
#include "platform/Host.h"

namespace vt {

// The longest wait when every device wakes the wait on input: only a safety net for a missed
// signal, so a press is still seen at once.
inline constexpr std::chrono::milliseconds kSignalledInputWait{20};

using KeyboardState = std::array<std::uint8_t, kKeyboardStateBytes>;

// Where an axis value lies: -1 past the dead zone at the negative end, 0 inside it, 1 past it at
// the positive end.
inline int AxisZone(std::int32_t value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

// An axis that rested past the dead zone when the devices opened, read inside it without a break
// for this long, is a stick let go, and rests centred from then on. A trigger resting at one end
// crosses the centre in a fraction of a second on every pull and let-go, so it keeps its rest.
inline constexpr std::chrono::milliseconds kHeldAxisSettle{1000};

using InputClock = std::function<std::chrono::steady_clock::time_point()>;

// How each axis of a joystick rested when its devices were opened (the first read, which does
// not move but for a held stick let go), and which axes a capture of the same opening (a Set
// All) bound and must see back at rest before they count again.
struct JoystickRest {
  bool known = false;
  std::array<std::int8_t, kAxisCount> zone{};
  std::array<bool, kAxisCount> locked{};
  // Since when an axis resting past the dead zone has read inside it, without a break.
  std::array<std::optional<std::chrono::steady_clock::time_point>, kAxisCount> centredSince{};
};

class InputDevices {
public:
  InputDevices();  // the platform's devices and message boxes
  // The host shows the boxes of failed devices.
  InputDevices(InputBackend& backend, Host& host);
  ~InputDevices();

  // A copy is closed: devices belong to one capture of one window. The instance GUIDs of the
  // last enumeration come along, as nester records refer to them.
  InputDevices(const InputDevices& other);
  InputDevices& operator=(const InputDevices& other);
  InputDevices(InputDevices&&) noexcept;
  InputDevices& operator=(InputDevices&&) noexcept;

  void Open(WindowHandle window);
  // Unacquires and releases every device, then the interface; clears the present flags.
  void Close();

  // False when the interface could not be created: nothing will ever be pressed.
  bool IsOpen() const { return system_ != nullptr; }
  // True when a keyboard that can be read or a joystick is held, so waiting for an input can end.
  bool HasDevices() const;

  // Zeroes `state` and reads the keyboard into it; after a failure it holds no pressed key.
  void ReadKeyboardState(KeyboardState& state);
  // Refreshes joystick state i when entry i holds a device; true when the state was read now.
  // A joystick whose reads keep failing, or that cannot be acquired again (unplugged), is
  // released and drops out of the capture without a message.
  bool PollJoystick(int index);
  bool JoystickPresent(int index) const { return present_[index] != 0; }
  const JoystickState& Joystick(int index) const { return states_[index]; }
  const DeviceGuid& JoystickGuid(int index) const { return guids_[index]; }
  JoystickRest& Rest(int index) { return rests_[index]; }
  // The clock the rests are judged by; the steady clock unless a test or a window sets one.
  std::chrono::steady_clock::time_point Now() const { return clock_(); }
  void SetClock(InputClock clock) { clock_ = std::move(clock); }

  // Returns when a device may have new input, or after `pollInterval` at the latest. When every
  // held device signals its input by itself, the wait is bounded by kSignalledInputWait instead.
  void WaitForInput(std::chrono::microseconds pollInterval);
  bool AllDevicesSignal() const;

private:
  void OpenJoysticks();
  bool SetUpAxisObject(InputDevice& joystick, std::uint32_t type);
  void Say(const char* text, const char* caption);
  void SayErrorName(HResult result, std::initializer_list<HResult> named);
  void ShowPending();
  HResult AcquireUntilNotLost(InputDevice& device);
  void DropJoystick(int index);

  InputBackend* backend_;
  Host* host_;
  void* moduleInstance_ = nullptr;
  std::unique_ptr<InputSystem> system_;
  std::unique_ptr<InputDevice> keyboard_;
  bool keyboardUsable_ = false;  // created, formatted and acquired, and not given up on
  int keyboardFailures_ = 0;     // failed reads in a row
  std::array<std::unique_ptr<InputDevice>, kMaxJoysticks> joysticks_;
  std::array<int, kMaxJoysticks> joystickFailures_{};
  std::array<JoystickState, kMaxJoysticks> states_{};
  std::array<DeviceGuid, kMaxJoysticks> guids_{};
  std::array<std::uint8_t, kMaxJoysticks> present_{};
  std::array<JoystickRest, kMaxJoysticks> rests_{};
  InputClock clock_ = std::chrono::steady_clock::now;
  // Messages are shown once the step that found them is over: a box runs a message loop, in
  // which the window may close these devices, and no device call may be under way then.
  std::vector<std::pair<std::string, std::string>> pending_;
  std::uint64_t opening_ = 0;  // changes at every Open and Close
};

}  // namespace vt
