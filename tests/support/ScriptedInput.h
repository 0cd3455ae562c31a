// Scripted DirectInput for tests and benchmarks: a keyboard and game controllers whose states and
// failures a test sets step by step. Reads need an acquired device with its data format, a
// device that signals input wakes the wait on each change (one that must be polled never does),
// and every call is logged in order.
#pragma once

#include <array>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "input/Capture.h"
#include "tests/support/RecordingHost.h"

namespace vt {

// The results one operation gives: queued ones first, then `then` for every later call.
struct ScriptedResult {
  void Always(HResult result) { queued.clear(), then = result; }
  void Next(std::initializer_list<HResult> results) { queued.insert(queued.end(), results); }
  HResult Take() {
    const HResult result = queued.empty() ? then : queued.front();
    if (!queued.empty()) queued.pop_front();
    return result;
  }
  std::deque<HResult> queued;
  HResult then = dierr::Ok;
};

class ScriptedInput;

// The keyboard or one game controller. A controller's objects (type words) are by default the
// eight axes as absolute axes (instance n for Axis n) and 32 push buttons.
struct ScriptedDevice {
  ScriptedDevice(ScriptedInput& input, std::string name, const DeviceGuid& guid);
  static std::uint32_t AxisType(Axis axis, std::uint32_t kind = kObjectAbsoluteAxis) {
    return (static_cast<std::uint32_t>(axis) << 8) | kind;
  }
  void Press(std::uint8_t scanCode) { Set(keys[scanCode], 0x80); }
  void Release(std::uint8_t scanCode) { Set(keys[scanCode], 0); }
  // As DirectInput reports it through the range and dead zone the input layer sets: -10000 to
  // 10000, 0 within half the travel from the centre. A button is down with bit 0x80.
  void Push(Axis axis, std::int32_t value) { Set(axes[int(axis)], value); }
  void SetButton(int button, std::uint8_t value) { Set(buttons.at(button), value); }
  // Reads fail as input lost, and acquiring again says it is unplugged.
  void Unplug();
  // Every change of the state: a signalling device wakes the wait.
  template <typename T>
  void Set(T& field, int value);

  struct Results {
    ScriptedResult create, dataFormat, enumObjects, setRange, setDeadZone, cooperativeLevel;
    ScriptedResult acquire, poll, read;
  } results;
  std::vector<std::uint32_t> objects;
  bool signals = false;  // set before the devices are opened
  ScriptedInput& input;
  std::string name;
  DeviceGuid guid;
  std::array<std::uint8_t, kKeyboardStateBytes> keys{};
  std::array<std::int32_t, kAxisCount> axes{};
  std::array<std::uint8_t, 128> buttons{};

  // What the input layer left the device in (while a device object of it lives): its data
  // format, its cooperative level, acquired or not, each axis object's range and dead zone;
  // and whether a device object was ever released while still acquired.
  bool formatted = false, acquired = false, releasedAcquired = false;
  std::uint32_t level = 0;
  std::map<std::uint32_t, std::array<std::int32_t, 3>> axisSettings;  // min, max, dead zone
};

class ScriptedInput : public InputBackend {
public:
  ScriptedInput() { devices_.emplace_back(*this, "keyboard", kGuidSysKeyboard); }

  ScriptedResult create;  // DirectInput8Create
  ScriptedResult enumDevices;

  ScriptedDevice& Keyboard() { return devices_.front(); }
  ScriptedDevice& Attach(const DeviceGuid& instance);  // enumerated after the ones before
  static DeviceGuid TestGuid(std::uint8_t seed) {      // every byte is `seed`
    DeviceGuid guid;
    return guid.fill(seed), guid;
  }
  std::vector<std::string> Log() const {
    return Locked([&] { return log_; });
  }
  void ClearLog() {
    Locked([&] { return log_.clear(), 0; });
  }
  int LiveDevices() const {
    return Locked([&] { return liveDevices_; });
  }

  void* ModuleInstance() override { return nullptr; }
  HResult Create(void* moduleInstance, std::unique_ptr<InputSystem>& system) override;

private:
  friend struct ScriptedDevice;
  friend class ScriptedDirectInputDevice;
  friend class ScriptedSystem;
  // Locks for one call of the input layer, which it logs.
  std::unique_lock<std::recursive_mutex> Enter(std::string call) {
    std::unique_lock lock(mutex_);
    log_.push_back(std::move(call));
    return lock;
  }
  template <typename F>
  std::invoke_result_t<F> Locked(F f) const {
    std::lock_guard lock(mutex_);
    return f();
  }

  // Recursive: an enumeration calls back into the system under the lock.
  mutable std::recursive_mutex mutex_;
  std::condition_variable_any changed_;
  std::uint64_t changes_ = 0;  // of signalling devices
  std::vector<std::string> log_;
  int liveDevices_ = 0;
  std::deque<ScriptedDevice> devices_;  // the keyboard first
};

template <typename T>
void ScriptedDevice::Set(T& field, int value) {
  std::lock_guard lock(input.mutex_);
  field = static_cast<T>(value);
  if (signals) ++input.changes_;
  input.changed_.notify_all();
}

// Input devices over scripted ones whose message boxes are recorded, on a clock the test moves.
struct InputRig {
  InputRig() {
    devices.SetClock([this] { return now; });
  }
  void Open() { devices.Open(nullptr); }
  ScriptedDevice& Attach(std::uint8_t seed) {
    return *joysticks.emplace_back(&input.Attach(ScriptedInput::TestGuid(seed)));
  }
  // Attaches `count` controllers with the GUIDs 0x10, 0x11, ... and opens.
  void OpenWith(int count) {
    for (int i = 0; i < count; ++i) Attach(static_cast<std::uint8_t>(0x10 + i));
    Open();
  }
  // The log entries that begin with `prefix` and hold `part`.
  std::vector<std::string> LogOf(const std::string& prefix, const std::string& part = "") const {
    std::vector<std::string> out;
    for (const auto& e : input.Log())
      if (e.starts_with(prefix) && e.find(part) != e.npos) out.push_back(e);
    return out;
  }

  ScriptedInput input;  // outlives the devices opened on it
  test::RecordingHost host;
  std::vector<std::string>& messages = host.messages;  // "CAPTION: TEXT"
  InputDevices devices{input, host};
  std::vector<ScriptedDevice*> joysticks;
  std::chrono::steady_clock::time_point now;  // the devices' clock, moved by the test
};

}  // namespace vt
