#include "tests/support/ScriptedInput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace vt {

namespace {

constexpr HResult kDeviceNotRegistered = static_cast<HResult>(0x80040154u);  // DIERR_DEVICENOTREG

// What DirectInput reports for a physical position, given the axis's range and dead zone: the
// centre inside the dead zone, then the rest of the travel stretched over the half-range.
std::int32_t ReportedAxis(int permille, std::int32_t minimum, std::int32_t maximum, std::uint32_t deadZone) {
  const double centre = (static_cast<double>(minimum) + maximum) / 2.0;
  const double half = (static_cast<double>(maximum) - minimum) / 2.0;
  const double magnitude = std::fabs(static_cast<double>(permille)) * 10.0;  // 0..10000
  if (deadZone >= 10000 || magnitude <= deadZone) return static_cast<std::int32_t>(std::floor(centre));
  const double beyond = (magnitude - deadZone) / (10000.0 - deadZone);
  return static_cast<std::int32_t>(std::lround(centre + (permille < 0 ? -1.0 : 1.0) * beyond * half));
}

}  // namespace

HResult ScriptedResult::Take() {
  if (queued_.empty()) return then_;
  HResult result = queued_.front();
  queued_.pop_front();
  return result;
}

// The IDirectInputDevice8 the input layer holds, over the test's ScriptedDevice.
class ScriptedDirectInputDevice final : public InputDevice {
public:
  explicit ScriptedDirectInputDevice(ScriptedDevice& d) : d_(d), in_(d.input_) {}
  ~ScriptedDirectInputDevice() override {
    std::lock_guard lock(in_.mutex_);
    Log(".Release");
    --in_.liveDevices_;
  }

  HResult SetDataFormat(DataFormat format) override {
    std::lock_guard lock(in_.mutex_);
    Log(format == DataFormat::Keyboard ? ".SetDataFormat keyboard" : ".SetDataFormat joystick2");
    const HResult result = d_.results.dataFormat.Take();
    if (result < 0) return result;
    if ((format == DataFormat::Keyboard) != Keyboard()) return dierr::InvalidParam;
    format_ = true;
    return result;
  }
  HResult EnumObjects(const std::function<bool(std::uint32_t)>& object) override {
    std::vector<std::uint32_t> objects;
    HResult result;
    {
      std::lock_guard lock(in_.mutex_);
      Log(".EnumObjects");
      result = d_.results.enumObjects.Take();
      if (result < 0) return result;
      objects = d_.objects;
    }
    for (std::uint32_t type : objects)
      if (!object(type)) break;
    return result;
  }
  HResult SetRange(std::uint32_t type, std::int32_t minimum, std::int32_t maximum) override {
    std::lock_guard lock(in_.mutex_);
    Log(".SetRange " + Hex(type) + " " + std::to_string(minimum) + " " + std::to_string(maximum));
    const HResult result = d_.results.setRange.Take();
    auto* setting = Setting(type);
    if (result < 0 || !setting) return result < 0 ? result : dierr::ObjectNotFound;
    setting->minimum = minimum;
    setting->maximum = maximum;
    return result;
  }
  HResult SetDeadZone(std::uint32_t type, std::uint32_t deadZone) override {
    std::lock_guard lock(in_.mutex_);
    Log(".SetDeadZone " + Hex(type) + " " + std::to_string(deadZone));
    const HResult result = d_.results.setDeadZone.Take();
    auto* setting = Setting(type);
    if (result < 0 || !setting) return result < 0 ? result : dierr::ObjectNotFound;
    if (deadZone > 10000) return dierr::InvalidParam;
    setting->deadZone = deadZone;
    return result;
  }
  HResult SetCooperativeLevel(WindowHandle window, std::uint32_t flags) override {
    std::lock_guard lock(in_.mutex_);
    Log(".SetCooperativeLevel " + std::to_string(flags));
    in_.lastWindow_ = window;
    return d_.results.cooperativeLevel.Take();
  }
  HResult Acquire() override {
    std::lock_guard lock(in_.mutex_);
    Log(".Acquire");
    const HResult result = d_.results.acquire.Take();
    if (result < 0) return result;
    if (!format_) return dierr::InvalidParam;  // DirectInput acquires only a formatted device
    acquired_ = true;
    return result;
  }
  HResult Unacquire() override {
    std::lock_guard lock(in_.mutex_);
    Log(".Unacquire");
    return std::exchange(acquired_, false) ? dierr::Ok : 1;  // DI_NOEFFECT
  }
  HResult Poll() override {
    std::lock_guard lock(in_.mutex_);
    Log(".Poll");
    if (!acquired_) return dierr::NotAcquired;
    const HResult result = d_.results.poll.Take();
    if (result == dierr::InputLost) acquired_ = false;
    return result;
  }
  HResult GetDeviceState(std::span<std::uint8_t> state) override {
    std::lock_guard lock(in_.mutex_);
    Log(".GetDeviceState " + std::to_string(state.size()));
    if (state.size() != (Keyboard() ? kKeyboardStateBytes : sizeof(JoystickState))) return dierr::InvalidParam;
    if (!acquired_) return dierr::NotAcquired;
    const HResult result = d_.results.read.Take();
    if (result < 0) return result;
    if (Keyboard()) {
      std::memcpy(state.data(), d_.keys_.data(), kKeyboardStateBytes);
      return result;
    }
    JoystickState joy;
    std::int32_t* axes[kAxisCount] = {&joy.lX,  &joy.lY,  &joy.lZ,          &joy.lRx,
                                      &joy.lRy, &joy.lRz, &joy.rglSlider[0], &joy.rglSlider[1]};
    for (int a = 0; a < kAxisCount; ++a) {
      const auto& s = d_.settings_[a];
      *axes[a] = ReportedAxis(d_.position_[a], s.minimum, s.maximum, s.deadZone);
    }
    std::memset(joy.rgdwPOV, 0xFF, sizeof joy.rgdwPOV);  // centred
    std::memcpy(joy.rgbButtons, d_.buttons_.data(), sizeof joy.rgbButtons);
    std::memcpy(state.data(), &joy, sizeof joy);
    return result;
  }
  bool SignalsInput() const override {
    std::lock_guard lock(in_.mutex_);
    return d_.signals_;
  }

private:
  static std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
  }
  bool Keyboard() const { return &d_ == &in_.devices_.front(); }
  void Log(const std::string& what) { in_.Record(d_.name_ + what); }
  ScriptedDevice::AxisSetting* Setting(std::uint32_t type) {
    bool known = false;
    for (std::uint32_t object : d_.objects) known |= object == type;
    const std::uint32_t instance = (type >> 8) & 0xFFFF;
    if (!known || !(type & (kObjectRelativeAxis | kObjectAbsoluteAxis)) || instance >= kAxisCount) return nullptr;
    return &d_.settings_[instance];
  }

  ScriptedDevice& d_;
  ScriptedInput& in_;
  bool format_ = false;
  bool acquired_ = false;
};

class ScriptedSystem final : public InputSystem {
public:
  explicit ScriptedSystem(ScriptedInput& input) : in_(input) {}
  ~ScriptedSystem() override {
    std::lock_guard lock(in_.mutex_);
    in_.Record("interface.Release");
  }

  HResult CreateDevice(const DeviceGuid& instance, std::unique_ptr<InputDevice>& device) override {
    std::lock_guard lock(in_.mutex_);
    for (auto& d : in_.devices_) {
      if (d.guid_ != instance) continue;
      in_.Record("CreateDevice " + d.name_);
      const HResult result = d.results.create.Take();
      if (result < 0) return result;
      device = std::make_unique<ScriptedDirectInputDevice>(d);
      ++in_.liveDevices_;
      return result;
    }
    in_.Record("CreateDevice unknown");
    return kDeviceNotRegistered;
  }

  HResult EnumGameControllers(const std::function<bool(const DeviceGuid&)>& controller) override {
    std::vector<DeviceGuid> attached;
    HResult result;
    {
      std::lock_guard lock(in_.mutex_);
      in_.Record("EnumDevices");
      result = in_.enumDevices.Take();
      if (result < 0) return result;
      for (auto d = in_.devices_.begin() + 1; d != in_.devices_.end(); ++d) attached.push_back(d->guid_);
    }
    for (const auto& guid : attached)
      if (!controller(guid)) break;
    return result;
  }

  // An auto-reset event that the signalling devices set on every change.
  void WaitForInput(std::chrono::microseconds atMost) override {
    std::unique_lock lock(in_.mutex_);
    in_.Record("WaitForInput " + std::to_string(atMost.count()));
    in_.changed_.wait_for(lock, atMost, [&] { return in_.changes_ != seen_; });
    seen_ = in_.changes_;
  }

private:
  ScriptedInput& in_;
  std::uint64_t seen_ = 0;
};

ScriptedDevice::ScriptedDevice(ScriptedInput& input, std::string name, const DeviceGuid& guid)
    : input_(input), name_(std::move(name)), guid_(guid), signals_(input.signals_) {
  for (int a = 0; a < kAxisCount; ++a) objects.push_back(AxisType(static_cast<Axis>(a)));
  for (std::uint32_t b = 0; b < 32; ++b) objects.push_back((b << 8) | 0x0C);  // DIDFT_PSHBUTTON
}

std::uint32_t ScriptedDevice::AxisType(Axis axis, std::uint32_t kind) {
  return (static_cast<std::uint32_t>(axis) << 8) | kind;
}

// Every change of the state: a signalling device wakes the wait.
template <typename F>
void ScriptedDevice::Change(F&& change) {
  std::lock_guard lock(input_.mutex_);
  change();
  if (signals_) ++input_.changes_;
  input_.changed_.notify_all();
}

void ScriptedDevice::Key(std::uint8_t scanCode, std::uint8_t value) {
  Change([&] { keys_[scanCode] = value; });
}
void ScriptedDevice::Push(Axis axis, int permille) {
  Change([&] { position_[static_cast<int>(axis)] = std::max(-1000, std::min(1000, permille)); });
}
void ScriptedDevice::SetButton(int button, std::uint8_t value) {
  Change([&] { buttons_.at(static_cast<std::size_t>(button)) = value; });
}

void ScriptedDevice::SetSignals(bool signals) {
  std::lock_guard lock(input_.mutex_);
  signals_ = signals;
}

void ScriptedDevice::Unplug() {
  std::lock_guard lock(input_.mutex_);
  results.poll.Always(dierr::InputLost);
  results.read.Always(dierr::InputLost);
  results.acquire.Always(dierr::Unplugged);
}

ScriptedInput::ScriptedInput() { devices_.push_back(ScriptedDevice(*this, "keyboard", kGuidSysKeyboard)); }

ScriptedInput::~ScriptedInput() = default;

ScriptedDevice& ScriptedInput::Attach(const DeviceGuid& instance) {
  std::lock_guard lock(mutex_);
  devices_.push_back(ScriptedDevice(*this, "joystick" + std::to_string(devices_.size() - 1), instance));
  return devices_.back();
}

DeviceGuid ScriptedInput::TestGuid(std::uint8_t seed) {
  DeviceGuid guid;
  guid.fill(seed);
  return guid;
}

void ScriptedInput::SetSignals(bool signals) {
  std::lock_guard lock(mutex_);
  signals_ = signals;
  for (auto& d : devices_) d.signals_ = signals;
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

WindowHandle ScriptedInput::LastWindow() const {
  std::lock_guard lock(mutex_);
  return lastWindow_;
}

HResult ScriptedInput::Create(void*, std::unique_ptr<InputSystem>& system) {
  std::lock_guard lock(mutex_);
  Record("Create");
  const HResult result = create.Take();
  if (result < 0) return result;
  system = std::make_unique<ScriptedSystem>(*this);
  return result;
}

}  // namespace vt
