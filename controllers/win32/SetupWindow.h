// The controller set-up windows: one skinned dialog over SetupLogic, dressed by the console's
// layout. The six classes of the product are this window with their layouts. The window is the
// host of its boxes (its own, the input layer's, the configurations') and of the help page.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controllers/SetupLogic.h"
#include "platform/win32/Handles.h"
#include "skin/win32/SkinnedDialog.h"

namespace vt {

class SetupWindow : public skin::SkinnedDialog, private SetupSurface {
public:
  SetupWindow(const ConsoleLayout& layout, SettingsStore& settings, std::string webHost,
              InputBackend& input = PlatformInputBackend());
  ~SetupWindow() override;

  SetupLogic& logic() { return logic_; }
  // Tests: the wait after a stored code (by default it keeps the window painted).
  void SetPause(std::function<void(std::chrono::milliseconds)> pause) { pause_ = std::move(pause); }

protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;
  void OnCancel() override;

private:
  // SetupSurface
  WindowHandle Owner() override { return Hwnd(); }
  void SetFieldText(int id, const std::string& text) override;
  void EnableButton(int id, bool on) override;
  void ShowLamps(int currentPlayer) override;
  void Pause(std::chrono::milliseconds duration) override { pause_(duration); }
  void Idle() override;
  void DropInput() override;
  void EndWindow(int result) override { End(result); }

  SetupLogic logic_;
  std::function<void(std::chrono::milliseconds)> pause_;
  win::Font fieldFont_, smallFont_;
};

}  // namespace vt
