// The ten session and account notices: skinned windows whose message is painted into their
// background bitmap, with bitmap buttons. The two waiting notices are modeless and shown
// around a blocking call; the others are run modally and destroyed on the spot.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "account/AccountShell.h"
#include "skin/win32/BitmapButton.h"
#include "skin/win32/SkinnedDialog.h"

namespace vt {

// One bitmap button of a notice: identifier and images (0: no image).
struct NoticeButton {
  int id = 0;
  int normal = 0, pressed = 0, disabled = 0;
};

class Notice : public skin::SkinnedDialog {
public:
  Notice(int templateId, int background, skin::SkinRegion region,
         std::vector<NoticeButton> buttons, bool activates = true);

  skin::BitmapButton* Button(int id);

protected:
  // Binds every button, loads its images and sizes it to them, in the order of the table.
  bool OnInit() override;

private:
  std::vector<NoticeButton> table_;
  std::vector<std::unique_ptr<skin::BitmapButton>> buttons_;
};

// A waiting notice: a visible modeless window without buttons that never takes activation or
// the focus. Open shows and paints it before returning, because the call it announces blocks
// the thread and nothing repaints meanwhile.
class WaitingNotice : public Notice {
public:
  WaitingNotice(int templateId, int background);
  bool Open(HWND owner = nullptr);
  void Close();

protected:
  bool OnInit() override;
};

class ConnectingNotice : public WaitingNotice {
public:
  ConnectingNotice();
};

class LoadingNotice : public WaitingNotice {
public:
  LoadingNotice();
};

class ConnectionErrorNotice : public Notice {
public:
  ConnectionErrorNotice();
};

class BadLoginNotice : public Notice {
public:
  BadLoginNotice();
};

class UserInUseNotice : public Notice {
public:
  UserInUseNotice();
};

class CloseClientsNotice : public Notice {
public:
  CloseClientsNotice();
};

// No copy of the game is free: bitmap 214 and only CLOSE for a full account, 215 and an
// Upgrade Account button that leaves the notice open for any other tier.
class GameInUseNotice : public Notice {
public:
  GameInUseNotice(AccountShell& shell, std::string webHost);
  // full := tier is exactly "True". Call before the run.
  void SetAccountTier(const std::string& tier) { full_ = tier == "True"; }
  bool full() const { return full_; }

protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

private:
  AccountShell& shell_;
  std::string webHost_;
  bool full_ = false;
};

// A notice whose button 1 opens a page of the web host, then closes the notice with OK.
class AccountPageNotice : public Notice {
public:
  AccountPageNotice(int templateId, int background, skin::SkinRegion region,
                    std::vector<NoticeButton> buttons, AccountShell& shell, std::string webHost,
                    std::string_view page);

protected:
  void OnOK() override;

private:
  AccountShell& shell_;
  std::string webHost_;
  std::string_view page_;
};

// Upgrade opens "/index.php?vt=accountinfo", then closes.
class FullAccountOnlyNotice : public AccountPageNotice {
public:
  FullAccountOnlyNotice(AccountShell& shell, std::string webHost);
};

// Upgrade opens "/accountinfo.php", then closes.
class LightAccountNotice : public AccountPageNotice {
public:
  LightAccountNotice(AccountShell& shell, std::string webHost);
};

// Upgrade opens "/accountinfo.php" and closes at once; "No Thanks" is disabled until the first
// event of timer 1, 5 seconds after the opening.
class UpgradeReminder : public AccountPageNotice {
public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kDelayMs = 5000;

  UpgradeReminder(AccountShell& shell, std::string webHost);

protected:
  bool OnInit() override;
  bool OnTimer(UINT_PTR id) override;
  // Escape and the close command are "No Thanks" by other means: refused while it is disabled.
  void OnCancel() override;
};

}  // namespace vt
