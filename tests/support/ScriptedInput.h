// Scripted DirectInput for tests and benchmarks: a keyboard and any number of attached game
// controllers whose states, instance GUIDs and failures a test sets step by step. Devices behave
// like DirectInput's: reads need an acquired device with its data format, axes report through the
// range and dead zone set on them, a device that signals input wakes the wait on each change
// (one that must be polled never does), and every call is logged in order.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "input/DeviceApi.h"

namespace vt {

// The results one operation gives: queued ones first, then `then` for every later call.
class ScriptedResult {
public:
  void Always(HResult result) { queued_.clear(); then_ = result; }
  void Next(std::initializer_list<HResult> results) { queued_.insert(queued_.end(), results); }
  HResult Take();

private:
  std::deque<HResult> queued_;
  HResult then_ = dierr::Ok;
};

class ScriptedInput;

// The keyboard or one game controller, as the test handles it.
class ScriptedDevice {
public:
  struct Results {
    ScriptedResult create, dataFormat, enumObjects, setRange, setDeadZone, cooperativeLevel, acquire, poll, read;
  } results;
  // A controller's objects by type word; by default the eight axes as absolute axes (instance n
  // for Axis n) and 32 push buttons.
  std::vector<std::uint32_t> objects;

  static std::uint32_t AxisType(Axis axis, std::uint32_t kind = kObjectAbsoluteAxis);
  void Press(std::uint8_t scanCode) { Key(scanCode, 0x80); }
  void Release(std::uint8_t scanCode) { Key(scanCode, 0); }
  // Physical position of an axis in thousandths of its travel from the centre, -1000 to 1000.
  void Push(Axis axis, int permille);
  // Raw button byte as the device reports it (0x80 is "down" for DirectInput).
  void SetButton(int button, std::uint8_t value);
  void SetSignals(bool signals);
  // Reads fail as input lost, and acquiring again says it is unplugged.
  void Unplug();
  const DeviceGuid& Guid() const { return guid_; }

private:
  friend class ScriptedInput;
  friend class ScriptedDirectInputDevice;
  friend class ScriptedSystem;
  ScriptedDevice(ScriptedInput& input, std::string name, const DeviceGuid& guid);
  void Key(std::uint8_t scanCode, std::uint8_t value);
  template <typename F>
  void Change(F&& change);
  struct AxisSetting {
    std::int32_t minimum = 0, maximum = 65535;  // DirectInput's default range
    std::uint32_t deadZone = 0;
  };
  ScriptedInput& input_;
  std::string name_;
  DeviceGuid guid_;
  bool signals_ = false;
  std::array<std::uint8_t, kKeyboardStateBytes> keys_{};
  std::array<int, kAxisCount> position_{};
  std::array<AxisSetting, kAxisCount> settings_{};
  std::array<std::uint8_t, 128> buttons_{};
};

class ScriptedInput : public InputBackend {
public:
  ScriptedInput();
  ~ScriptedInput() override;

  ScriptedResult create;  // DirectInput8Create
  ScriptedResult enumDevices;
  void* moduleInstance = reinterpret_cast<void*>(0x400000);

  ScriptedDevice& Keyboard() { return devices_.front(); }
  // Attaches a controller after the ones already attached; the enumeration reports them in order.
  ScriptedDevice& Attach(const DeviceGuid& instance);
  // A GUID that tells joysticks apart: every byte is `seed`.
  static DeviceGuid TestGuid(std::uint8_t seed);
  // Every device, attached or to come, signals its input (or must be polled).
  void SetSignals(bool signals);

  std::vector<std::string> Log() const;
  void ClearLog();
  int LiveDevices() const;
  WindowHandle LastWindow() const;

  void* ModuleInstance() override { return moduleInstance; }
  HResult Create(void* moduleInstance, std::unique_ptr<InputSystem>& system) override;

private:
  friend class ScriptedDevice;
  friend class ScriptedDirectInputDevice;
  friend class ScriptedSystem;
  void Record(std::string entry) { log_.push_back(std::move(entry)); }  // caller holds mutex_

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t changes_ = 0;  // of signalling devices
  bool signals_ = false;
  std::vector<std::string> log_;
  int liveDevices_ = 0;
  void* lastModuleInstance_ = nullptr;
  WindowHandle lastWindow_ = nullptr;
  std::deque<ScriptedDevice> devices_;  // the keyboard first
};

}  // namespace vt
