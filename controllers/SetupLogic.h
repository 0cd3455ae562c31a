// A controller set-up window's behaviour without the window: the start, the display refresh,
// the capture of one field and of a Set All sequence in the exact order the window shows them,
// the device rules and what they store, the ways out of a capture, the player switch, OK,
// Cancel and Advanced. One logic for the six windows; what differs is the ConsoleLayout.
// SetupWindow (win32/) draws it; host tests drive it with scripted devices and real files.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controllers/ConsoleLayouts.h"
#include "input/Capture.h"
#include "input/ControllerConfig.h"
#include "platform/Host.h"
#include "platform/SettingsStore.h"

namespace vt {

class SetupSurface {
public:
  virtual ~SetupSurface() = default;
  // The window that owns the input devices during a capture.
  virtual WindowHandle Owner() = 0;
  virtual void SetFieldText(int id, const std::string& text) = 0;
  virtual void EnableButton(int id, bool on) = 0;
  // Both lamps' images for the current player (lit / dark), and the window repainted.
  virtual void ShowLamps(int currentPlayer) = 0;
  // The wait after a stored code (500 ms), the window painted meanwhile and its input dropped.
  virtual void Pause(std::chrono::milliseconds duration) = 0;
  // Between two polls of a waiting capture: paints, answers the system and drops the keyboard
  // and mouse input meant for the window, except that a click on Cancel calls Cancel.
  virtual void Idle() = 0;
  // Removes the keyboard and mouse input queued for the window.
  virtual void DropInput() = 0;
  virtual std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }
  virtual void EndWindow(int result) = 0;
};

inline constexpr int kSetupOk = 1;
inline constexpr int kSetupCancel = 2;
inline constexpr std::chrono::milliseconds kStoredCodePause{500};
// After a capture, the window waits this long at most for the keys to be let go, so that neither
// the key captured nor its repeats act on the window.
inline constexpr std::chrono::milliseconds kKeysUpWait{5000};
// After the name of a field whose input another field of its column also has.
inline constexpr std::string_view kAlsoBoundMark = " (twice)";

class SetupLogic {
public:
  // The configuration's emulator folder comes from the settings store (VT_PATH), always. The
  // host (the window's) shows the boxes of the window, the input layer and the configurations,
  // and opens the help page.
  SetupLogic(const ConsoleLayout& layout, SetupSurface& surface, Host& host,
             SettingsStore& settings, std::string webHost,
             InputBackend& input = PlatformInputBackend());

  const ConsoleLayout& layout() const { return layout_; }
  ControllerConfig& config() { return config_; }
  const InputDevices& devices() const { return devices_; }
  int player() const { return player_; }
  // While a capture or a Set All runs (a message box it shows runs a message loop), the other
  // commands do nothing and Cancel leaves the capture instead of the window.
  bool Capturing() const { return capturing_; }
  // Whether another field of the field's column has the same input.
  bool AlsoBound(int fieldId) const;

  // Reads player 1 (or the only player) and shows the names.
  void Start();
  void DisplayRefresh();
  void CaptureField(int fieldId);
  void SetAll(int setAllId);
  // A click on a player's lamp (1 or 2).
  void SwitchPlayer(int player);
  // Saves the current player and closes; a save that did not happen keeps the window open.
  void Ok();
  void Cancel();
  void Advanced();

private:
  // Waits for the field's input; `record` is what the capture wrote over the field's record.
  WaitResult WaitForInput(const SetupField& field, std::string_view prompt, NesterBinding& record);
  void WaitForKeysUp();
  void EndCapture();
  // Whether the field's device rule takes the code; a refusal shows the rule's message.
  bool Accepts(const SetupField& field, std::int32_t code);
  void Store(const SetupField& field, std::int32_t code, const NesterBinding& record);
  void RefreshNames();
  bool Load(int player);
  bool Save(int player);

  const ConsoleLayout& layout_;
  SetupSurface& surface_;
  Host& host_;
  SettingsStore& settings_;
  std::string webHost_;
  ControllerConfig config_;
  // The keyboard and joysticks of one capture (or one Set All), open only while it runs.
  InputDevices devices_;
  int player_ = 1;
  // Whether each player's bindings were read: a player whose reader failed is never written,
  // or the configuration would get the empty values that stand in for what was not read.
  std::array<bool, 3> loaded_{};
  bool capturing_ = false;
  bool leaving_ = false;
  std::vector<int> alsoBound_;
};

// A prompt with the seconds its capture has left.
std::string CountdownText(std::string_view prompt, int seconds);

// The messages of a field's device rule.
inline constexpr const char* kUseTheKeyboard = "Invalid Selection, Please Use The Keyboard.";
inline constexpr const char* kUseAJoystick = "Invalid Selection, Please Use A Joystick Or Gamepad.";
inline constexpr const char* kKeyWithoutAName = "Invalid Selection, MEKA Has No Name For That Key.";

}  // namespace vt
