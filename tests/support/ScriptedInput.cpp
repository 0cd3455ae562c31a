#include "tests/support/ScriptedInput.h"

#include <cstring>
#include <utility>

namespace vt {

// The IDirectInputDevice8 the input layer holds, over the test's ScriptedDevice. Every call logs
// itself and takes its scripted result under the lock.
class ScriptedDirectInputDevice final : public InputDevice {
public:
  explicit ScriptedDirectInputDevice(ScriptedDevice& d) : d_(d), in_(d.input) {
    d_.axisSettings.clear();
  }
  ~ScriptedDirectInputDevice() override {
    const auto lock = Enter("Release");
    d_.releasedAcquired = d_.releasedAcquired || d_.acquired;
    d_.acquired = d_.formatted = false;
    --in_.liveDevices_;
  }

  HResult SetDataFormat(DataFormat format) override {
    const bool keyboard = format == DataFormat::Keyboard;
    const auto lock = Enter(keyboard ? "SetDataFormat keyboard" : "SetDataFormat joystick2");
    const HResult r = d_.results.dataFormat.Take();
    if (r >= 0 && keyboard != Keyboard()) return dierr::InvalidParam;
    d_.formatted = d_.formatted || r >= 0;
    return r;
  }
  HResult EnumObjects(const std::function<bool(std::uint32_t)>& object) override {
    const auto lock = Enter("EnumObjects");
    const HResult r = d_.results.enumObjects.Take();
    for (std::uint32_t type : d_.objects)
      if (r < 0 || !object(type)) break;
    return r;
  }
  HResult SetRange(std::uint32_t type, std::int32_t min, std::int32_t max) override {
    const auto lock = Enter("SetRange " + std::to_string(type) + " " + std::to_string(min) + " " +
                            std::to_string(max));
    const HResult r = d_.results.setRange.Take();
    if (r >= 0) d_.axisSettings[type][0] = min, d_.axisSettings[type][1] = max;
    return r;
  }
  HResult SetDeadZone(std::uint32_t type, std::uint32_t deadZone) override {
    const auto lock = Enter("SetDeadZone " + std::to_string(type) + " " + std::to_string(deadZone));
    const HResult r = d_.results.setDeadZone.Take();
    if (r >= 0) d_.axisSettings[type][2] = static_cast<std::int32_t>(deadZone);
    return r;
  }
  HResult SetCooperativeLevel(WindowHandle, std::uint32_t flags) override {
    const auto lock = Enter("SetCooperativeLevel " + std::to_string(flags));
    const HResult r = d_.results.cooperativeLevel.Take();
    if (r >= 0) d_.level = flags;
    return r;
  }
  HResult Acquire() override {
    const auto lock = Enter("Acquire");
    const HResult r = d_.results.acquire.Take();
    if (r >= 0 && !d_.formatted) return dierr::InvalidParam;  // a data format comes first
    d_.acquired = d_.acquired || r >= 0;
    return r;
  }
  HResult Unacquire() override {
    const auto lock = Enter("Unacquire");
    return std::exchange(d_.acquired, false) ? 0 : 1;
  }
  HResult Poll() override {
    const auto lock = Enter("Poll");
    const HResult r = d_.acquired ? d_.results.poll.Take() : dierr::NotAcquired;
    d_.acquired = d_.acquired && r != dierr::InputLost;
    return r;
  }
  HResult GetDeviceState(std::span<std::uint8_t> state) override {
    const auto lock = Enter("GetDeviceState " + std::to_string(state.size()));
    const std::size_t size = Keyboard() ? kKeyboardStateBytes : sizeof(JoystickState);
    if (state.size() != size) return dierr::InvalidParam;
    const HResult r = d_.acquired ? d_.results.read.Take() : dierr::NotAcquired;
    if (r < 0) return r;
    JoystickState joy;
    std::int32_t* axes[kAxisCount] = {&joy.lX,  &joy.lY,  &joy.lZ,           &joy.lRx,
                                      &joy.lRy, &joy.lRz, &joy.rglSlider[0], &joy.rglSlider[1]};
    for (int a = 0; a < kAxisCount; ++a) *axes[a] = d_.axes[a];
    std::memset(joy.rgdwPOV, 0xFF, sizeof joy.rgdwPOV);  // centred
    std::memcpy(joy.rgbButtons, d_.buttons.data(), sizeof joy.rgbButtons);
    std::memcpy(state.data(), Keyboard() ? static_cast<const void*>(d_.keys.data()) : &joy, size);
    return r;
  }
  bool SignalsInput() const override {
    return in_.Locked([&] { return d_.signals; });
  }

private:
  std::unique_lock<std::recursive_mutex> Enter(const std::string& call) {
    return in_.Enter(d_.name + "." + call);
  }
  bool Keyboard() const { return &d_ == &in_.devices_.front(); }

  ScriptedDevice& d_;
  ScriptedInput& in_;
};

class ScriptedSystem final : public InputSystem {
public:
  explicit ScriptedSystem(ScriptedInput& input) : in_(input) {}
  ~ScriptedSystem() override { in_.Enter("interface.Release"); }

  HResult CreateDevice(const DeviceGuid& instance, std::unique_ptr<InputDevice>& device) override {
    std::lock_guard lock(in_.mutex_);
    for (auto& d : in_.devices_) {
      if (d.guid != instance) continue;
      const auto entered = in_.Enter("CreateDevice " + d.name);
      const HResult r = d.results.create.Take();
      if (r >= 0) device = std::make_unique<ScriptedDirectInputDevice>(d), ++in_.liveDevices_;
      return r;
    }
    return static_cast<HResult>(0x80040154u);  // DIERR_DEVICENOTREG
  }
  HResult EnumGameControllers(const std::function<bool(const DeviceGuid&)>& controller) override {
    const auto lock = in_.Enter("EnumDevices");
    const HResult r = in_.enumDevices.Take();
    for (std::size_t i = 1; r >= 0 && i < in_.devices_.size(); ++i)
      if (!controller(in_.devices_[i].guid)) break;
    return r;
  }
  // An auto-reset event that the signalling devices set on every change.
  void WaitForInput(std::chrono::microseconds atMost) override {
    auto lock = in_.Enter("WaitForInput " + std::to_string(atMost.count()));
    in_.changed_.wait_for(lock, atMost, [&] { return in_.changes_ != seen_; });
    seen_ = in_.changes_;
  }

private:
  ScriptedInput& in_;
  std::uint64_t seen_ = 0;
};

ScriptedDevice::ScriptedDevice(ScriptedInput& in, std::string id, const DeviceGuid& instance)
    : input(in), name(std::move(id)), guid(instance) {
  for (int a = 0; a < kAxisCount; ++a) objects.push_back(AxisType(static_cast<Axis>(a)));
  for (std::uint32_t b = 0; b < 32; ++b) objects.push_back((b << 8) | 0x0C);  // DIDFT_PSHBUTTON
}

void ScriptedDevice::Unplug() {
  std::lock_guard lock(input.mutex_);
  results.poll.Always(dierr::InputLost);
  results.read.Always(dierr::InputLost);
  results.acquire.Always(dierr::Unplugged);
}

ScriptedDevice& ScriptedInput::Attach(const DeviceGuid& instance) {
  std::lock_guard lock(mutex_);
  return devices_.emplace_back(*this, "joystick" + std::to_string(devices_.size() - 1), instance);
}

HResult ScriptedInput::Create(void*, std::unique_ptr<InputSystem>& system) {
  const auto lock = Enter("Create");
  const HResult r = create.Take();
  if (r >= 0) system = std::make_unique<ScriptedSystem>(*this);
  return r;
}

}  // namespace vt
