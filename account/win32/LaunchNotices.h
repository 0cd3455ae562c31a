// The notices that refuse a launch, owned by the window that launches (the browser), which
// shows them for its launch's refusals.
#pragma once

#include <windows.h>

#include <string>

#include "account/AccountShell.h"

namespace vt {

class LaunchNotices {
public:
  // owner: the window the modal notices belong to (may be null).
  LaunchNotices(AccountShell& shell, std::string webHost, HWND owner = nullptr)
      : shell_(shell), webHost_(std::move(webHost)), owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  // No copy free: fullAccountForm without the Upgrade Account button.
  void ShowGameInUseNotice(bool fullAccountForm);
  void ShowLightAccountNotice();
  void ShowFullAccountOnlyNotice();

private:
  AccountShell& shell_;
  std::string webHost_;
  HWND owner_;
};

}  // namespace vt
