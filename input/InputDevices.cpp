#include "input/InputDevices.h"

#include <cstring>
#include <utility>

namespace vt {

namespace {

constexpr char kInitKeyboardFailed[] = "InitKeyboard Failed";
constexpr char kErrorCaption[] = "Error";
constexpr char kDiErrorCaption[] = "DI Error";
constexpr std::int32_t kAxisMinimum = -10000;
constexpr std::int32_t kAxisMaximum = 10000;
constexpr std::uint32_t kAxisDeadZone = 5000;
// A device that reports "input lost" on every re-acquire would otherwise hold the window forever;
// after this many attempts the read of this poll is given up and the next poll tries again.
constexpr int kMaxReacquireAttempts = 64;
// A keyboard whose reads keep failing would show a message box at every poll of a capture that
// can then never end; after this many failed reads in a row it is left out of the capture.
constexpr int kMaxKeyboardReadFailures = 3;
// The same for a joystick, which then drops out silently: it has most likely been unplugged.
constexpr int kMaxJoystickReadFailures = 3;

bool Failed(HResult result) { return result < 0; }

}  // namespace

const char* DirectInputErrorName(HResult result) {
  switch (result) {
    case dierr::InputLost:
      return "DIERR_INPUTLOST";
    case dierr::InvalidParam:
      return "DIERR_INVALIDPARAM";
    case dierr::NotAcquired:
      return "DIERR_NOTACQUIRED";
    case dierr::NotInitialized:
      return "DIERR_NOTINITIALIZED";
    case dierr::Pending:
      return "E_PENDING";
    case dierr::OtherAppHasPrio:
      return "DIERR_OTHERAPPHASPRIO";
    case dierr::ObjectNotFound:
      return "DIERR_OBJECTNOTFOUND";
    case dierr::Unsupported:
      return "DIERR_UNSUPPORTED";
    default:
      return nullptr;
  }
}

std::int32_t AxisValue(const JoystickState& state, Axis axis) {
  switch (axis) {
    case Axis::X:
      return state.lX;
    case Axis::Y:
      return state.lY;
    case Axis::Z:
      return state.lZ;
    case Axis::Rx:
      return state.lRx;
    case Axis::Ry:
      return state.lRy;
    case Axis::Rz:
      return state.lRz;
    case Axis::Slider0:
      return state.rglSlider[0];
    case Axis::Slider1:
      return state.rglSlider[1];
  }
  return 0;
}

InputDevices::InputDevices() : InputDevices(PlatformInputBackend(), DesktopHost()) {}

InputDevices::InputDevices(InputBackend& backend, Host& host) : backend_(&backend), host_(&host) {}

InputDevices::~InputDevices() { Close(); }

InputDevices::InputDevices(const InputDevices& other)
    : backend_(other.backend_), host_(other.host_), guids_(other.guids_), clock_(other.clock_) {}

InputDevices& InputDevices::operator=(const InputDevices& other) {
  if (this != &other) {
    Close();
    backend_ = other.backend_;
    host_ = other.host_;
    guids_ = other.guids_;
    clock_ = other.clock_;
  }
  return *this;
}

InputDevices::InputDevices(InputDevices&& other) noexcept
    : backend_(other.backend_),
      host_(other.host_),
      moduleInstance_(other.moduleInstance_),
      system_(std::move(other.system_)),
      keyboard_(std::move(other.keyboard_)),
      keyboardUsable_(std::exchange(other.keyboardUsable_, false)),
      keyboardFailures_(other.keyboardFailures_),
      joysticks_(std::move(other.joysticks_)),
      joystickFailures_(other.joystickFailures_),
      states_(other.states_),
      guids_(other.guids_),
      present_(std::exchange(other.present_, {})),
      rests_(other.rests_),
      clock_(other.clock_) {}

InputDevices& InputDevices::operator=(InputDevices&& other) noexcept {
  if (this != &other) {
    Close();
    backend_ = other.backend_;
    host_ = other.host_;
    moduleInstance_ = other.moduleInstance_;
    system_ = std::move(other.system_);
    keyboard_ = std::move(other.keyboard_);
    keyboardUsable_ = std::exchange(other.keyboardUsable_, false);
    keyboardFailures_ = other.keyboardFailures_;
    joysticks_ = std::move(other.joysticks_);
    joystickFailures_ = other.joystickFailures_;
    states_ = other.states_;
    guids_ = other.guids_;
    present_ = std::exchange(other.present_, {});
    rests_ = other.rests_;
    clock_ = other.clock_;
  }
  return *this;
}

bool InputDevices::HasDevices() const {
  if (keyboardUsable_) return true;
  for (const auto& joystick : joysticks_)
    if (joystick) return true;
  return false;
}

void InputDevices::Say(const char* text, const char* caption) {
  pending_.emplace_back(text, caption);
}

void InputDevices::SayErrorName(HResult result, std::initializer_list<HResult> named) {
  for (HResult name : named) {
    if (name == result) return Say(DirectInputErrorName(result), kDiErrorCaption);
  }
}

void InputDevices::ShowPending() {
  const auto shown = std::exchange(pending_, {});
  const std::uint64_t opening = opening_;
  for (const auto& [text, caption] : shown) {
    // Closed (or opened anew) while a box was up: what is left concerns devices that are gone.
    if (opening_ != opening) return;
    host_->ShowMessage(text, caption.c_str());
  }
}

HResult InputDevices::AcquireUntilNotLost(InputDevice& device) {
  HResult result = device.Acquire();
  for (int attempt = 1; result == dierr::InputLost && attempt < kMaxReacquireAttempts; ++attempt)
    result = device.Acquire();
  return result;
}

void InputDevices::Open(WindowHandle window) {
  Close();
  ++opening_;
  moduleInstance_ = backend_->ModuleInstance();
  if (Failed(backend_->Create(moduleInstance_, system_)) || !system_) {
    // Without the interface no device can exist; say so with the keyboard's own message once.
    system_.reset();
    Say(kInitKeyboardFailed, kErrorCaption);
    return ShowPending();
  }

  std::unique_ptr<InputDevice> keyboard;
  HResult result = system_->CreateDevice(kGuidSysKeyboard, keyboard);
  bool formatted = false;
  if (Failed(result) || !keyboard) {
    keyboard.reset();
    Say(kInitKeyboardFailed, kErrorCaption);
  } else if (Failed(keyboard->SetDataFormat(DataFormat::Keyboard))) {
    Say(kInitKeyboardFailed, kErrorCaption);
  } else {
    formatted = true;
  }
  keyboard_ = std::move(keyboard);

  OpenJoysticks();

  // A keyboard that could not be created has no level to set and nothing to acquire.
  if (keyboard_) {
    if (Failed(keyboard_->SetCooperativeLevel(window, kCooperativeNonExclusiveBackground)))
      Say("Failed to set keyboard coop level", kErrorCaption);
    result = keyboard_->Acquire();
    if (Failed(result))
      SayErrorName(result, {dierr::OtherAppHasPrio, dierr::NotInitialized, dierr::InvalidParam});
    // Only a keyboard that can be read counts as a device to wait for.
    keyboardUsable_ = formatted && !Failed(result);
    keyboardFailures_ = 0;
  }

  for (auto& joystick : joysticks_) {
    if (joystick &&
        Failed(joystick->SetCooperativeLevel(window, kCooperativeNonExclusiveBackground)))
      Say("Failed to set joystick coop level", kErrorCaption);
  }
  for (auto& joystick : joysticks_)
    if (joystick) AcquireUntilNotLost(*joystick);
  ShowPending();
}

void InputDevices::OpenJoysticks() {
  int count = 0;
  HResult lastEnumeration = system_->EnumGameControllers([&](const DeviceGuid& instance) {
    // Five entries: the sixth and later controllers are not stored.
    if (count >= kMaxJoysticks) return false;
    std::unique_ptr<InputDevice> device;
    HResult created = system_->CreateDevice(instance, device);
    guids_[count] = instance;  // copied even when the creation failed
    if (Failed(created) || !device) return false;
    joysticks_[count] = std::move(device);
    ++count;
    return true;
  });
  for (int i = 0; i < count; ++i) present_[i] = 1;

  bool anyHeld = false;
  for (auto& joystick : joysticks_) {
    if (!joystick) continue;
    anyHeld = true;
    lastEnumeration =
        joystick->EnumObjects([&](std::uint32_t type) { return SetUpAxisObject(*joystick, type); });
  }
  HResult lastFormat = dierr::Ok;
  for (auto& joystick : joysticks_)
    if (joystick) lastFormat = joystick->SetDataFormat(DataFormat::Joystick2);

  if (Failed(lastEnumeration) || (anyHeld && Failed(lastFormat)))
    Say(kInitKeyboardFailed, kErrorCaption);
}

bool InputDevices::SetUpAxisObject(InputDevice& joystick, std::uint32_t type) {
  if ((type & (kObjectRelativeAxis | kObjectAbsoluteAxis)) == 0) return true;
  const std::initializer_list<HResult> named = {dierr::InvalidParam, dierr::NotInitialized,
                                                dierr::ObjectNotFound, dierr::Unsupported};
  if (Failed(joystick.SetRange(type, kAxisMinimum, kAxisMaximum))) return false;
  HResult result = joystick.SetDeadZone(type, kAxisDeadZone);
  if (Failed(result)) {
    SayErrorName(result, named);
    return false;
  }
  // Relative axes get both properties a second time, and here a failed range is reported too.
  if (type & kObjectRelativeAxis) {
    result = joystick.SetRange(type, kAxisMinimum, kAxisMaximum);
    if (!Failed(result)) result = joystick.SetDeadZone(type, kAxisDeadZone);
    if (Failed(result)) {
      SayErrorName(result, named);
      return false;
    }
  }
  return true;
}

void InputDevices::ReadKeyboardState(KeyboardState& state) {
  state.fill(0);
  if (!keyboard_ || !keyboardUsable_) return;
  HResult result = keyboard_->GetDeviceState(state);
  if (!Failed(result)) {
    keyboardFailures_ = 0;
    return;
  }
  state.fill(0);
  SayErrorName(result, {dierr::InputLost, dierr::InvalidParam, dierr::NotAcquired,
                        dierr::NotInitialized, dierr::Pending});
  if (++keyboardFailures_ >= kMaxKeyboardReadFailures)
    keyboardUsable_ = false;
  else
    keyboard_->Acquire();  // a keyboard that lost its acquisition reads again once re-acquired
  ShowPending();
}

bool InputDevices::PollJoystick(int index) {
  if (index < 0 || index >= kMaxJoysticks || !joysticks_[index]) return false;
  InputDevice& joystick = *joysticks_[index];
  HResult result = joystick.Poll();
  if (result == dierr::InputLost) result = AcquireUntilNotLost(joystick);
  if (result != dierr::Unplugged) {
    // A failed read is not reported; the record keeps what it held.
    JoystickState fresh = states_[index];
    std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(&fresh), sizeof fresh);
    result = joystick.GetDeviceState(bytes);
    if (!Failed(result)) {
      states_[index] = fresh;
      joystickFailures_[index] = 0;
      return true;
    }
  }
  if (result == dierr::Unplugged || ++joystickFailures_[index] >= kMaxJoystickReadFailures)
    DropJoystick(index);
  return false;
}

void InputDevices::DropJoystick(int index) {
  joysticks_[index]->Unacquire();
  joysticks_[index].reset();
  present_[index] = 0;
  states_[index] = JoystickState{};
  rests_[index] = JoystickRest{};
}

bool InputDevices::AllDevicesSignal() const {
  if (keyboardUsable_ && !keyboard_->SignalsInput()) return false;
  for (const auto& joystick : joysticks_)
    if (joystick && !joystick->SignalsInput()) return false;
  return HasDevices();
}

void InputDevices::WaitForInput(std::chrono::microseconds pollInterval) {
  if (!system_) return;
  system_->WaitForInput(AllDevicesSignal() ? std::chrono::microseconds(kSignalledInputWait)
                                           : pollInterval);
}

void InputDevices::Close() {
  ++opening_;
  pending_.clear();
  if (keyboard_) keyboard_->Unacquire();
  for (auto& joystick : joysticks_)
    if (joystick) joystick->Unacquire();
  keyboard_.reset();
  keyboardUsable_ = false;
  for (auto& joystick : joysticks_) joystick.reset();
  system_.reset();
  present_.fill(0);
  // The next capture starts from nothing pressed: a state kept from this one would give the
  // button pressed last time to a capture whose first read fails.
  states_.fill(JoystickState{});
  rests_.fill(JoystickRest{});
  joystickFailures_.fill(0);
}

}  // namespace vt
