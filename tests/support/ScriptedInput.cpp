#include "tests/support/ScriptedInput.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

namespace vt {

namespace {

constexpr HResult kDeviceNotRegistered = static_cast<HResult>(0x80040154u);  // DIERR_DEVICENOTREG
constexpr std::uint32_t kPushButton = 0x0C;                                   // DIDFT_BUTTON

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

// What DirectInput reports for a physical position, given the axis's range and dead zone: the
// centre inside the dead zone, then the rest of the travel stretched over the half-range.
std::int32_t ReportedAxis(int permille, std::int32_t minimum, std::int32_t maximum, std::uint32_t deadZone) {
  const double centre = (static_cast<double>(minimum) + maximum) / 2.0;
  const double half = (static_cast<double>(maximum) - minimum) / 2.0;
  const double magnitude = std::fabs(static_cast<double>(permille)) * 10.0;  // 0..10000
  if (deadZone >= 10000 || magnitude <= deadZone) return static_cast<std::int32_t>(std::floor(centre));
  const double beyond = (magnitude - deadZone) / (10000.0 - deadZone);
  const double value = centre + (permille < 0 ? -1.0 : 1.0) * beyond * half;
  return static_cast<std::int32_t>(std::lround(value));
}

}  // namespace

HResult ScriptedResult::Take() {
  if (queued_.empty()) return then_;
  HResult result = queued_.front();
  queued_.pop_front();
  return result;
}

// --- devices ---------------------------------------------------------------------------------

class ScriptedDevice final : public InputDevice {
public:
  ScriptedDevice(ScriptedInput& input, ScriptedKeyboard* keyboard, ScriptedJoystick* joystick)
      : input_(input), keyboard_(keyboard), joystick_(joystick) {
    name_ = keyboard ? std::string("keyboard") : "joystick" + std::to_string(joystick->number_);
  }
  ~ScriptedDevice() override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".Release");
    --input_.liveDevices_;
  }

  HResult SetDataFormat(DataFormat format) override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".SetDataFormat " + (format == DataFormat::Keyboard ? "keyboard" : "joystick2"));
    HResult result = Results().dataFormat.Take();
    if (result >= 0) {
      const bool fits = keyboard_ ? format == DataFormat::Keyboard : format == DataFormat::Joystick2;
      if (!fits) return dierr::InvalidParam;
      format_ = true;
    }
    return result;
  }

  HResult EnumObjects(const std::function<bool(std::uint32_t)>& object) override {
    std::vector<std::uint32_t> objects;
    HResult result;
    {
      std::lock_guard lock(input_.mutex_);
      input_.Record(name_ + ".EnumObjects");
      result = Results().enumObjects.Take();
      if (result < 0) return result;
      if (joystick_) objects = joystick_->objects;
    }
    for (std::uint32_t type : objects)
      if (!object(type)) break;
    return result;
  }

  HResult SetRange(std::uint32_t type, std::int32_t minimum, std::int32_t maximum) override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".SetRange " + Hex(type) + " " + std::to_string(minimum) + " " + std::to_string(maximum));
    HResult result = Results().setRange.Take();
    if (result < 0) return result;
    auto* setting = Setting(type);
    if (!setting) return dierr::ObjectNotFound;
    setting->minimum = minimum;
    setting->maximum = maximum;
    return result;
  }

  HResult SetDeadZone(std::uint32_t type, std::uint32_t deadZone) override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".SetDeadZone " + Hex(type) + " " + std::to_string(deadZone));
    HResult result = Results().setDeadZone.Take();
    if (result < 0) return result;
    auto* setting = Setting(type);
    if (!setting) return dierr::ObjectNotFound;
    if (deadZone > 10000) return dierr::InvalidParam;
    setting->deadZone = deadZone;
    return result;
  }

  HResult SetCooperativeLevel(WindowHandle window, std::uint32_t flags) override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".SetCooperativeLevel " + std::to_string(flags));
    input_.lastWindow_ = window;
    return Results().cooperativeLevel.Take();
  }

  HResult Acquire() override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".Acquire");
    HResult result = Results().acquire.Take();
    if (result < 0) return result;
    if (!format_) return dierr::InvalidParam;  // DirectInput acquires only a formatted device
    acquired_ = true;
    return result;
  }

  HResult Unacquire() override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".Unacquire");
    const bool was = acquired_;
    acquired_ = false;
    return was ? dierr::Ok : 1;  // DI_NOEFFECT
  }

  HResult Poll() override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".Poll");
    if (!acquired_) return dierr::NotAcquired;
    HResult result = Results().poll.Take();
    if (result == dierr::InputLost) acquired_ = false;
    return result;
  }

  HResult GetDeviceState(std::span<std::uint8_t> state) override {
    std::lock_guard lock(input_.mutex_);
    input_.Record(name_ + ".GetDeviceState " + std::to_string(state.size()));
    const std::size_t expected = keyboard_ ? kKeyboardStateBytes : sizeof(JoystickState);
    if (state.size() != expected) return dierr::InvalidParam;
    if (!acquired_) return dierr::NotAcquired;
    HResult result = Results().read.Take();
    if (result < 0) return result;
    if (keyboard_) {
      std::memcpy(state.data(), keyboard_->keys_.data(), kKeyboardStateBytes);
      return result;
    }
    JoystickState joy;
    std::int32_t* axes[kScriptedAxisCount] = {&joy.lX,  &joy.lY,  &joy.lZ,          &joy.lRx,
                                              &joy.lRy, &joy.lRz, &joy.rglSlider[0], &joy.rglSlider[1]};
    for (int a = 0; a < kScriptedAxisCount; ++a) {
      const auto& s = joystick_->settings_[a];
      *axes[a] = ReportedAxis(joystick_->position_[a], s.minimum, s.maximum, s.deadZone);
    }
    std::memcpy(joy.rgdwPOV, joystick_->pov_.data(), sizeof joy.rgdwPOV);
    std::memcpy(joy.rgbButtons, joystick_->buttons_.data(), sizeof joy.rgbButtons);
    std::memcpy(state.data(), &joy, sizeof joy);
    return result;
  }

  bool SignalsInput() const override {
    std::lock_guard lock(input_.mutex_);
    return input_.notifies_;
  }

private:
  ScriptedDeviceResults& Results() { return keyboard_ ? keyboard_->results : joystick_->results; }

  ScriptedJoystick::AxisSetting* Setting(std::uint32_t type) {
    if (!joystick_) return nullptr;
    bool known = false;
    for (std::uint32_t object : joystick_->objects) known |= object == type;
    const std::uint32_t instance = (type >> 8) & 0xFFFF;
    if (!known || !(type & (kObjectRelativeAxis | kObjectAbsoluteAxis)) || instance >= kScriptedAxisCount)
      return nullptr;
    return &joystick_->settings_[instance];
  }

  ScriptedInput& input_;
  ScriptedKeyboard* keyboard_;
  ScriptedJoystick* joystick_;
  std::string name_;
  bool format_ = false;
  bool acquired_ = false;
};

class ScriptedSystem final : public InputSystem {
public:
  explicit ScriptedSystem(ScriptedInput& input) : input_(input) {}
  ~ScriptedSystem() override {
    std::lock_guard lock(input_.mutex_);
    input_.Record("interface.Release");
    input_.interfaceAlive_ = false;
  }

  HResult CreateDevice(const DeviceGuid& instance, std::unique_ptr<InputDevice>& device) override {
    std::lock_guard lock(input_.mutex_);
    if (instance == kGuidSysKeyboard) {
      input_.Record("CreateDevice keyboard");
      HResult result = input_.keyboard_.results.create.Take();
      if (result < 0) return result;
      device = std::make_unique<ScriptedDevice>(input_, &input_.keyboard_, nullptr);
      ++input_.liveDevices_;
      return result;
    }
    for (auto& joystick : input_.joysticks_) {
      if (joystick.guid_ != instance) continue;
      input_.Record("CreateDevice joystick" + std::to_string(joystick.number_));
      HResult result = joystick.results.create.Take();
      if (result < 0) return result;
      device = std::make_unique<ScriptedDevice>(input_, nullptr, &joystick);
      ++input_.liveDevices_;
      return result;
    }
    input_.Record("CreateDevice unknown");
    return kDeviceNotRegistered;
  }

  HResult EnumGameControllers(const std::function<bool(const DeviceGuid&)>& controller) override {
    std::vector<DeviceGuid> attached;
    HResult result;
    {
      std::lock_guard lock(input_.mutex_);
      input_.Record("EnumDevices");
      result = input_.enumDevices.Take();
      if (result < 0) return result;
      for (const auto& joystick : input_.joysticks_) attached.push_back(joystick.guid_);
    }
    for (const auto& guid : attached)
      if (!controller(guid)) break;
    return result;
  }

  void WaitForInput(std::chrono::microseconds atMost) override {
    std::unique_lock lock(input_.mutex_);
    input_.Record("WaitForInput " + std::to_string(atMost.count()));
    if (input_.notifies_) {
      // An auto-reset event: set by any change, cleared by the wait that sees it.
      input_.changed_.wait_for(lock, atMost, [&] { return input_.changes_ != seen_; });
      seen_ = input_.changes_;
      return;
    }
    lock.unlock();
    std::this_thread::sleep_for(atMost);
  }

private:
  ScriptedInput& input_;
  std::uint64_t seen_ = 0;
};

// --- script ----------------------------------------------------------------------------------

void ScriptedKeyboard::Press(std::uint8_t scanCode) {
  std::lock_guard lock(input_.mutex_);
  keys_[scanCode] = 0x80;
  input_.Changed();
}

void ScriptedKeyboard::Release(std::uint8_t scanCode) {
  std::lock_guard lock(input_.mutex_);
  keys_[scanCode] = 0;
  input_.Changed();
}

ScriptedJoystick::ScriptedJoystick(ScriptedInput& input, const DeviceGuid& guid, int number)
    : input_(input), guid_(guid), number_(number) {
  for (int a = 0; a < kScriptedAxisCount; ++a) objects.push_back(AxisType(static_cast<Axis>(a)));
  for (std::uint32_t b = 0; b < 32; ++b) objects.push_back((b << 8) | kPushButton);
}

std::uint32_t ScriptedJoystick::AxisType(Axis axis, std::uint32_t kind) {
  return (static_cast<std::uint32_t>(axis) << 8) | kind;
}

void ScriptedJoystick::MakeRelative(Axis axis) {
  for (auto& object : objects)
    if (object == AxisType(axis)) object = AxisType(axis, kObjectRelativeAxis);
}

void ScriptedJoystick::Push(Axis axis, int permille) {
  std::lock_guard lock(input_.mutex_);
  position_[static_cast<int>(axis)] = permille < -1000 ? -1000 : permille > 1000 ? 1000 : permille;
  input_.Changed();
}

void ScriptedJoystick::SetButton(int button, std::uint8_t value) {
  std::lock_guard lock(input_.mutex_);
  buttons_.at(static_cast<std::size_t>(button)) = value;
  input_.Changed();
}

void ScriptedJoystick::SetPov(int index, std::uint32_t value) {
  std::lock_guard lock(input_.mutex_);
  pov_.at(static_cast<std::size_t>(index)) = value;
  input_.Changed();
}

ScriptedInput::ScriptedInput() : keyboard_(*this) {}

ScriptedInput::~ScriptedInput() = default;

ScriptedJoystick& ScriptedInput::Attach(const DeviceGuid& instance) {
  std::lock_guard lock(mutex_);
  const int number = static_cast<int>(joysticks_.size());
  joysticks_.push_back(ScriptedJoystick(*this, instance, number));
  return joysticks_.back();
}

DeviceGuid ScriptedInput::TestGuid(std::uint8_t seed) {
  DeviceGuid guid;
  guid.fill(seed);
  return guid;
}

void ScriptedInput::SetNotifies(bool notifies) {
  std::lock_guard lock(mutex_);
  notifies_ = notifies;
}

std::vector<std::string> ScriptedInput::Log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

void ScriptedInput::ClearLog() {
  std::lock_guard lock(mutex_);
  log_.clear();
}

int ScriptedInput::LiveDevices() const {
  std::lock_guard lock(mutex_);
  return liveDevices_;
}

bool ScriptedInput::InterfaceAlive() const {
  std::lock_guard lock(mutex_);
  return interfaceAlive_;
}

void* ScriptedInput::LastModuleInstance() const {
  std::lock_guard lock(mutex_);
  return lastModuleInstance_;
}

WindowHandle ScriptedInput::LastWindow() const {
  std::lock_guard lock(mutex_);
  return lastWindow_;
}

HResult ScriptedInput::Create(void* instance, std::unique_ptr<InputSystem>& system) {
  std::lock_guard lock(mutex_);
  Record("Create");
  lastModuleInstance_ = instance;
  HResult result = create.Take();
  if (result < 0) return result;
  system = std::make_unique<ScriptedSystem>(*this);
  interfaceAlive_ = true;
  return result;
}

void ScriptedInput::Record(std::string entry) { log_.push_back(std::move(entry)); }

void ScriptedInput::Changed() {
  ++changes_;
  changed_.notify_all();
}

}  // namespace vt
