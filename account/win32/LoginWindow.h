// The login window: a keyed skinned dialog over LoginLogic, which holds its behaviour. The
// window translates its controls' events into calls on the logic and shows what the logic asks
// for: lamps, the Login button, the connecting notice and the notices of refused logins. It is
// the host of the session's boxes while it runs (task-modal while it is not on screen, as for
// an automatic login).
#pragma once

#include <windows.h>

#include <string>

#include "account/LoginLogic.h"
#include "account/win32/Notices.h"
#include "platform/win32/Handles.h"
#include "skin/win32/SkinnedDialog.h"

namespace vt {

class LoginWindow : public skin::SkinnedDialog, private LoginSurface {
public:
  LoginWindow(SettingsStore& settings, HWND owner = nullptr);
  ~LoginWindow() override;

  void Setup(std::string& passwordDest, std::string& usernameDest, ServerSession& session) {
    logic_.Setup(passwordDest, usernameDest, session);
  }
  void SetSuppressAutoLogin() { logic_.SetSuppressAutoLogin(); }
  LoginExit Run() { return logic_.Run(); }

  const LoginLogic& logic() const { return logic_; }
  // The modeless connecting notice while a login runs (tests look at it).
  const Notice& connecting() const { return connecting_; }

protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;
  void OnCancel() override;

private:
  // LoginSurface
  int ShowModal() override;
  void EndWindow(int result) override { End(result); }
  void EnableLogin(bool on) override;
  void ShowLamps(bool saveOn, bool autoOn) override;
  void ShowConnecting() override;
  void CloseConnecting() override;
  void DropQueuedInput() override;
  void ShowNotice(LoginNotice notice) override;
  bool ShiftHeld() override;

  HWND owner_;
  LoginLogic logic_;
  win::Font editFont_;
  Notice connecting_;
  bool filling_ = false;
};

}  // namespace vt
