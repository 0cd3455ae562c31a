// The notices that refuse a launch, for the window that launches (the browser): it derives
// from this and adds the emulator start and its own state.
#pragma once

#include <windows.h>

#include <string>

#include "account/AccountShell.h"
#include "service/LaunchHost.h"

namespace vt {

class NoticeLaunchHost : public LaunchHost {
public:
  // owner: the window the modal notices belong to (may be null).
  NoticeLaunchHost(AccountShell& shell, std::string webHost, HWND owner = nullptr)
      : shell_(shell), webHost_(std::move(webHost)), owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  void ShowGameInUseNotice(bool fullAccountForm) override;
  void ShowLightAccountNotice() override;
  void ShowFullAccountOnlyNotice() override;

private:
  AccountShell& shell_;
  std::string webHost_;
  HWND owner_;
};

}  // namespace vt
