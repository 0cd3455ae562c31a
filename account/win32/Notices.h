// The ten session and account notices: skinned windows whose message is painted into their
// background bitmap, with bitmap buttons. One Notice, dressed by its row of the notices' table
// (template, background, region, buttons, the page its OK opens and its few behaviours). The
// two waiting notices are modeless and shown around a blocking call; the others are run
// modally and destroyed on the spot.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Host.h"
#include "skin/win32/SkinnedDialog.h"

namespace vt {

// The game-in-use notice comes in its two forms: full accounts get bitmap 214 and no Upgrade
// Account button, every other tier bitmap 215 with it.
enum class NoticeKind {
  Connecting,
  Loading,
  ConnectionError,
  BadLogin,
  UserInUse,
  CloseClients,
  GameInUseFull,
  GameInUseFree,
  FullAccountOnly,
  LightAccount,
  UpgradeReminder,
};

class Notice : public skin::SkinnedDialog {
public:
  // "No Thanks" of the upgrade reminder comes on with the first event of this timer.
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kDelayMs = 5000;

  // host: the host of the window that shows the notice, which also opens its pages on webHost.
  Notice(NoticeKind kind, Host& host, std::string webHost = {});

  // A waiting notice: shown without taking activation or the focus, and painted before this
  // returns, because the call it announces blocks the thread and nothing repaints meanwhile.
  bool Open(HWND owner = nullptr);
  void Close();

protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;
  void OnCancel() override;
  bool OnTimer(UINT_PTR id) override;

private:
  NoticeKind kind_;
  std::string webHost_;
};

}  // namespace vt
