// DirectInput 8 behind the device interface.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstring>

#include "input/InputDevices.h"

namespace vt {

namespace {

static_assert(sizeof(DIJOYSTATE2) == sizeof(JoystickState));
static_assert(offsetof(DIJOYSTATE2, rgbButtons) == offsetof(JoystickState, rgbButtons));
static_assert(sizeof(GUID) == sizeof(DeviceGuid));
// The portable layer and the scripted devices use their own copies of these values.
static_assert(dierr::InputLost == DIERR_INPUTLOST && dierr::InvalidParam == DIERR_INVALIDPARAM &&
              dierr::NotAcquired == DIERR_NOTACQUIRED &&
              dierr::NotInitialized == DIERR_NOTINITIALIZED && dierr::Pending == E_PENDING &&
              dierr::OtherAppHasPrio == DIERR_OTHERAPPHASPRIO &&
              dierr::ObjectNotFound == DIERR_OBJECTNOTFOUND &&
              dierr::Unsupported == DIERR_UNSUPPORTED &&
              dierr::Unplugged == static_cast<HResult>(DIERR_UNPLUGGED));
static_assert(kObjectRelativeAxis == DIDFT_RELAXIS && kObjectAbsoluteAxis == DIDFT_ABSAXIS);
static_assert(kCooperativeNonExclusiveBackground == (DISCL_NONEXCLUSIVE | DISCL_BACKGROUND));

GUID ToGuid(const DeviceGuid& bytes) {
  GUID guid;
  std::memcpy(&guid, bytes.data(), sizeof guid);
  return guid;
}

DeviceGuid FromGuid(const GUID& guid) {
  DeviceGuid bytes;
  std::memcpy(bytes.data(), &guid, sizeof guid);
  return bytes;
}

template <typename T>
void ReleaseCom(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

class DirectInputDevice final : public InputDevice {
public:
  explicit DirectInputDevice(IDirectInputDevice8A* device) : device_(device) {}
  ~DirectInputDevice() override {
    if (event_) device_->SetEventNotification(nullptr);
    ReleaseCom(device_);
  }
  DirectInputDevice(const DirectInputDevice&) = delete;
  DirectInputDevice& operator=(const DirectInputDevice&) = delete;

  // Wakes the capture's wait on input; allowed only before the device is acquired. A device that
  // must be polled sets the event only when polled, so it does not count as signalling.
  void NotifyThrough(HANDLE event) {
    if (FAILED(device_->SetEventNotification(event))) return;
    event_ = event;
    DIDEVCAPS caps{};
    caps.dwSize = sizeof caps;
    signals_ = SUCCEEDED(device_->GetCapabilities(&caps)) && !(caps.dwFlags & DIDC_POLLEDDEVICE);
  }
  bool SignalsInput() const override { return signals_; }

  HResult SetDataFormat(DataFormat format) override {
    return device_->SetDataFormat(format == DataFormat::Keyboard ? &c_dfDIKeyboard
                                                                 : &c_dfDIJoystick2);
  }

  HResult EnumObjects(const std::function<bool(std::uint32_t)>& object) override {
    return device_->EnumObjects(
        &ObjectCallback, const_cast<std::function<bool(std::uint32_t)>*>(&object), DIDFT_ALL);
  }

  HResult SetRange(std::uint32_t type, std::int32_t minimum, std::int32_t maximum) override {
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof range;
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = type;
    range.diph.dwHow = DIPH_BYID;
    range.lMin = minimum;
    range.lMax = maximum;
    return device_->SetProperty(DIPROP_RANGE, &range.diph);
  }

  HResult SetDeadZone(std::uint32_t type, std::uint32_t deadZone) override {
    DIPROPDWORD value{};
    value.diph.dwSize = sizeof value;
    value.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    value.diph.dwObj = type;
    value.diph.dwHow = DIPH_BYID;
    value.dwData = deadZone;
    return device_->SetProperty(DIPROP_DEADZONE, &value.diph);
  }

  HResult SetCooperativeLevel(WindowHandle window, std::uint32_t flags) override {
    return device_->SetCooperativeLevel(static_cast<HWND>(window), flags);
  }
  HResult Acquire() override { return device_->Acquire(); }
  HResult Unacquire() override { return device_->Unacquire(); }
  HResult Poll() override { return device_->Poll(); }
  HResult GetDeviceState(std::span<std::uint8_t> state) override {
    return device_->GetDeviceState(static_cast<DWORD>(state.size()), state.data());
  }

private:
  static BOOL CALLBACK ObjectCallback(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
    auto& callback = *static_cast<std::function<bool(std::uint32_t)>*>(context);
    return callback(object->dwType) ? DIENUM_CONTINUE : DIENUM_STOP;
  }

  IDirectInputDevice8A* device_;
  HANDLE event_ = nullptr;
  bool signals_ = false;
};

class DirectInputSystem final : public InputSystem {
public:
  explicit DirectInputSystem(IDirectInput8A* input)
      : input_(input), event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    // Waits of a millisecond need the finer system timer; held only while input is open.
    timerPeriod_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  }
  ~DirectInputSystem() override {
    ReleaseCom(input_);
    if (event_) CloseHandle(event_);
    if (timerPeriod_) timeEndPeriod(1);
  }
  DirectInputSystem(const DirectInputSystem&) = delete;
  DirectInputSystem& operator=(const DirectInputSystem&) = delete;

  HResult CreateDevice(const DeviceGuid& instance, std::unique_ptr<InputDevice>& device) override {
    IDirectInputDevice8A* created = nullptr;
    const GUID guid = ToGuid(instance);
    HRESULT result = input_->CreateDevice(guid, &created, nullptr);
    if (FAILED(result) || !created) return FAILED(result) ? result : E_FAIL;
    auto wrapped = std::make_unique<DirectInputDevice>(created);
    if (event_) wrapped->NotifyThrough(event_);
    device = std::move(wrapped);
    return result;
  }

  HResult EnumGameControllers(const std::function<bool(const DeviceGuid&)>& controller) override {
    return input_->EnumDevices(DI8DEVCLASS_GAMECTRL, &DeviceCallback,
                               const_cast<std::function<bool(const DeviceGuid&)>*>(&controller),
                               DIEDFL_ATTACHEDONLY);
  }

  void WaitForInput(std::chrono::microseconds atMost) override {
    const DWORD ms = static_cast<DWORD>((atMost.count() + 999) / 1000);
    if (!event_) {
      Sleep(ms);
      return;
    }
    // Under Wine the window system's input reaches DirectInput only while the thread looks at
    // its messages, and the window answers its messages between two waits: so wait for the event
    // or for a new message. GetQueueStatus marks what is queued as seen, so only new messages
    // end the wait early.
    GetQueueStatus(QS_ALLINPUT);
    MsgWaitForMultipleObjects(1, &event_, FALSE, ms, QS_ALLINPUT);
  }

private:
  static BOOL CALLBACK DeviceCallback(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
    auto& callback = *static_cast<std::function<bool(const DeviceGuid&)>*>(context);
    return callback(FromGuid(instance->guidInstance)) ? DIENUM_CONTINUE : DIENUM_STOP;
  }

  IDirectInput8A* input_;
  HANDLE event_;
  bool timerPeriod_ = false;
};

class DirectInputBackend final : public InputBackend {
public:
  void* ModuleInstance() override { return GetModuleHandleA(nullptr); }
  HResult Create(void* moduleInstance, std::unique_ptr<InputSystem>& system) override {
    IDirectInput8A* input = nullptr;
    HRESULT result =
        DirectInput8Create(static_cast<HINSTANCE>(moduleInstance), 0x0800, IID_IDirectInput8A,
                           reinterpret_cast<void**>(&input), nullptr);
    if (FAILED(result) || !input) return FAILED(result) ? result : E_FAIL;
    system = std::make_unique<DirectInputSystem>(input);
    return result;
  }
};

}  // namespace

InputBackend& PlatformInputBackend() {
  static DirectInputBackend backend;  // stateless: each capture creates its own interface
  return backend;
}

}  // namespace vt
