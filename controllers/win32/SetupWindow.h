// The controller set-up windows: one skinned dialog over SetupLogic, dressed by the console's
// layout. The six classes of the product are this window with their layouts.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "account/AccountShell.h"
#include "controllers/SetupLogic.h"
#include "platform/win32/Handles.h"
#include "skin/win32/BitmapButton.h"
#include "skin/win32/SkinnedDialog.h"

namespace vt {

class SetupWindow : public skin::SkinnedDialog, private SetupSurface {
public:
  SetupWindow(const ConsoleLayout& layout, SettingsStore& settings, AccountShell& shell,
              std::string webHost, InputBackend& input = PlatformInputBackend());
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
  void ShowMessage(const std::string& text, const std::string& caption) override { Report(text, caption); }
  void OpenPage(const std::string& address) override { shell_.OpenPage(address); }
  void EndWindow(int result) override { End(result); }

  skin::BitmapButton* AttachButton(int id, int normal, int pressed, int disabled);

  AccountShell& shell_;
  SetupLogic logic_;
  std::function<void(std::chrono::milliseconds)> pause_;
  std::vector<std::unique_ptr<skin::BitmapButton>> buttons_;
  skin::BitmapButton* lamp1_ = nullptr;
  skin::BitmapButton* lamp2_ = nullptr;
  win::Font fieldFont_, smallFont_;
};

// The product's six windows by name, each the set-up window over its console's layout.
template <Console C>
struct ConsoleSetupWindow : SetupWindow {
  ConsoleSetupWindow(SettingsStore& s, AccountShell& sh, std::string web) : SetupWindow(Layout(C), s, sh, std::move(web)) {}
};
using A26C = ConsoleSetupWindow<Console::A26C>;
using GBCC = ConsoleSetupWindow<Console::GBCC>;
using GENC = ConsoleSetupWindow<Console::GENC>;
using NESC = ConsoleSetupWindow<Console::NESC>;
using SMSC = ConsoleSetupWindow<Console::SMSC>;
using SNESC = ConsoleSetupWindow<Console::SNESC>;

}  // namespace vt
