// Scripted DirectInput for tests and benchmarks: a keyboard and any number of attached game
// controllers whose states, instance GUIDs and failures a test sets step by step. Devices behave
// like DirectInput's: reads need an acquired device with its data format, axes report through the
// range and dead zone that were set on them, and every call is logged in order.
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

struct ScriptedDeviceResults {
  ScriptedResult create, dataFormat, enumObjects, setRange, setDeadZone, cooperativeLevel, acquire, poll, read;
};

inline constexpr int kScriptedAxisCount = kAxisCount;

class ScriptedInput;

class ScriptedKeyboard {
public:
  ScriptedDeviceResults results;
  void Press(std::uint8_t scanCode);
  void Release(std::uint8_t scanCode);

private:
  friend class ScriptedInput;
  friend class ScriptedDevice;
  explicit ScriptedKeyboard(ScriptedInput& input) : input_(input) {}
  ScriptedInput& input_;
  std::array<std::uint8_t, kKeyboardStateBytes> keys_{};
};

class ScriptedJoystick {
public:
  ScriptedDeviceResults results;
  // The device's objects by type word. By default: the eight axes as absolute axes (instance n
  // for Axis n) and 32 push buttons.
  std::vector<std::uint32_t> objects;

  static std::uint32_t AxisType(Axis axis, std::uint32_t kind = kObjectAbsoluteAxis);
  void MakeRelative(Axis axis);

  // Physical position of an axis in thousandths of its travel from the centre, -1000 to 1000.
  void Push(Axis axis, int permille);
  // Raw button byte as the device reports it (0x80 is "down" for DirectInput).
  void SetButton(int button, std::uint8_t value);
  void SetPov(int index, std::uint32_t value);
  const DeviceGuid& Guid() const { return guid_; }

private:
  friend class ScriptedInput;
  friend class ScriptedDevice;
  friend class ScriptedSystem;
  ScriptedJoystick(ScriptedInput& input, const DeviceGuid& guid, int number);
  struct AxisSetting {
    std::int32_t minimum = 0, maximum = 65535;  // DirectInput's default range
    std::uint32_t deadZone = 0;
  };
  ScriptedInput& input_;
  DeviceGuid guid_;
  int number_;
  std::array<int, kScriptedAxisCount> position_{};
  std::array<AxisSetting, kScriptedAxisCount> settings_{};
  std::array<std::uint8_t, 128> buttons_{};
  std::array<std::uint32_t, 4> pov_{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
};

class ScriptedInput : public InputBackend {
public:
  ScriptedInput();
  ~ScriptedInput() override;
  ScriptedInput(const ScriptedInput&) = delete;
  ScriptedInput& operator=(const ScriptedInput&) = delete;

  ScriptedResult create;  // DirectInput8Create
  ScriptedResult enumDevices;
  void* moduleInstance = reinterpret_cast<void*>(0x400000);

  ScriptedKeyboard& Keyboard() { return keyboard_; }
  // Attaches a controller after the ones already attached; the enumeration reports them in order.
  ScriptedJoystick& Attach(const DeviceGuid& instance);
  // A GUID that tells joysticks apart: every byte is `seed`.
  static DeviceGuid TestGuid(std::uint8_t seed);

  // With notification on, WaitForInput returns as soon as a state changes (as DirectInput's event
  // notification does); off, it always waits the whole time, like a device that must be polled.
  void SetNotifies(bool notifies);

  std::vector<std::string> Log() const;
  void ClearLog();
  int LiveDevices() const;
  bool InterfaceAlive() const;
  void* LastModuleInstance() const;
  WindowHandle LastWindow() const;

  void* ModuleInstance() override { return moduleInstance; }
  HResult Create(void* moduleInstance, std::unique_ptr<InputSystem>& system) override;

private:
  friend class ScriptedKeyboard;
  friend class ScriptedJoystick;
  friend class ScriptedDevice;
  friend class ScriptedSystem;
  void Record(std::string entry);  // caller holds mutex_
  void Changed();                  // caller holds mutex_

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t changes_ = 0;
  bool notifies_ = false;
  std::vector<std::string> log_;
  int liveDevices_ = 0;
  bool interfaceAlive_ = false;
  void* lastModuleInstance_ = nullptr;
  WindowHandle lastWindow_ = nullptr;
  ScriptedKeyboard keyboard_;
  std::deque<ScriptedJoystick> joysticks_;
};

}  // namespace vt
