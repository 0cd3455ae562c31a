#include "account/win32/Notices.h"

#include <string_view>
#include <vector>

#include "resources/resource.h"
#include "service/Endpoints.h"

namespace vt {

namespace {

using skin::ButtonRow;
using skin::SkinRegion;

struct NoticeRow {
  NoticeKind kind;
  int templateId, background;
  SkinRegion region;
  std::vector<ButtonRow> buttons;
  // What OK opens on the web host before the notice closes; empty: OK only closes.
  std::string_view page;
  // Modeless around a blocking call: it only informs, so it never takes activation.
  bool waiting = false;
  // Upgrade Account shows and opens the account page; the notice stays until CLOSE.
  bool upgradeStays = false;
  // "No Thanks" (and Escape, and the close command) only once the timer came.
  bool noThanksWaits = false;
};

constexpr ButtonRow kOk{IDC_NOTICE_OK, IDB_OK_NORMAL, IDB_OK_PRESSED};
constexpr ButtonRow kClose{IDC_NOTICE_OK, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED};
constexpr ButtonRow kCloseGreyed{IDC_NOTICE_OK, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED,
                                 IDB_LOGIN_DISABLED};
constexpr ButtonRow kUpgrade{IDC_NOTICE_OK, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED};
constexpr ButtonRow kUpgradeAccount{IDC_NOTICE_UPGRADE_ACCOUNT, IDB_UPGRADE_NORMAL,
                                    IDB_UPGRADE_PRESSED};
constexpr ButtonRow kNoThanks{IDC_NOTICE_CANCEL, IDB_NO_THANKS_NORMAL, IDB_NO_THANKS_PRESSED,
                              IDB_NO_THANKS_DISABLED};

const NoticeRow& RowOf(NoticeKind kind) {
  static const NoticeRow kRows[] = {
      {NoticeKind::Connecting,
       IDD_CONNECTING_NOTICE,
       IDB_CONNECTING_NOTICE,
       SkinRegion::Rectangular,
       {},
       {},
       true},
      {NoticeKind::Loading,
       IDD_LOADING_NOTICE,
       IDB_LOADING_NOTICE,
       SkinRegion::Rectangular,
       {},
       {},
       true},
      {NoticeKind::ConnectionError,
       IDD_CONNECTION_ERROR_NOTICE,
       IDB_CONNECTION_ERROR_NOTICE,
       SkinRegion::Rectangular,
       {kOk},
       {}},
      {NoticeKind::BadLogin,
       IDD_BAD_LOGIN_NOTICE,
       IDB_BAD_LOGIN_NOTICE,
       SkinRegion::Keyed,
       {kClose},
       {}},
      {NoticeKind::UserInUse,
       IDD_USER_IN_USE_NOTICE,
       IDB_USER_IN_USE_NOTICE,
       SkinRegion::Keyed,
       {kCloseGreyed},
       {}},
      {NoticeKind::CloseClients,
       IDD_CLOSE_CLIENTS_NOTICE,
       IDB_CLOSE_CLIENTS_NOTICE,
       SkinRegion::Keyed,
       {kCloseGreyed},
       {}},
      {NoticeKind::GameInUseFull,
       IDD_GAME_IN_USE_NOTICE,
       IDB_GAME_IN_USE_FULL,
       SkinRegion::Keyed,
       {kClose, kUpgradeAccount},
       {}},
      {NoticeKind::GameInUseFree,
       IDD_GAME_IN_USE_NOTICE,
       IDB_GAME_IN_USE_FREE,
       SkinRegion::Keyed,
       {kClose, kUpgradeAccount},
       {},
       false,
       true},
      {NoticeKind::FullAccountOnly,
       IDD_FULL_ACCOUNT_ONLY_NOTICE,
       IDB_FULL_ACCOUNT_ONLY_NOTICE,
       SkinRegion::Keyed,
       {kUpgrade, {IDC_NOTICE_CANCEL, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED}},
       kFullAccountPage},
      {NoticeKind::LightAccount,
       IDD_LIGHT_ACCOUNT_NOTICE,
       IDB_LIGHT_ACCOUNT_NOTICE,
       SkinRegion::Rectangular,
       {kUpgrade, kNoThanks},
       kAccountInfoPage},
      {NoticeKind::UpgradeReminder,
       IDD_UPGRADE_REMINDER,
       IDB_UPGRADE_REMINDER,
       SkinRegion::Rectangular,
       {kUpgrade, kNoThanks},
       kAccountInfoPage,
       false,
       false,
       true},
  };
  for (const NoticeRow& row : kRows)
    if (row.kind == kind) return row;
  return kRows[0];
}

}  // namespace

Notice::Notice(NoticeKind kind, Host& host, std::string webHost)
    : SkinnedDialog(RowOf(kind).templateId, skin::SkinOptions{.background = RowOf(kind).background,
                                                              .region = RowOf(kind).region,
                                                              .activates = !RowOf(kind).waiting}),
      kind_(kind),
      webHost_(std::move(webHost)) {
  SetHost(host);
}

bool Notice::OnInit() {
  const NoticeRow& row = RowOf(kind_);
  if (HWND more = Item(IDC_NOTICE_UPGRADE_ACCOUNT))
    ShowWindow(more, row.upgradeStays ? SW_SHOW : SW_HIDE);
  AttachButtons(row.buttons);
  if (row.noThanksWaits) {
    EnableWindow(Item(IDC_NOTICE_CANCEL), FALSE);
    SetTimer(Hwnd(), kTimerId, kDelayMs, nullptr);
  }
  return !row.waiting;  // a waiting notice takes no default focus
}

bool Notice::Open(HWND owner) {
  if (!Hwnd() && !CreateModeless(owner)) return false;
  ShowWindow(Hwnd(), SW_SHOWNA);
  // Paint now: the caller blocks next and no message will be processed until it returns.
  RedrawWindow(Hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  // Some window systems (Wine's X11 driver among them) hand a window's painted surface to the
  // display only when the thread next waits for messages; a wait of zero time does that
  // without taking any message off the queue.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  return true;
}

void Notice::Close() { End(0); }

bool Notice::OnCommand(int id, int code, HWND control) {
  if (id == IDC_NOTICE_UPGRADE_ACCOUNT && code == BN_CLICKED && RowOf(kind_).upgradeStays) {
    OpenPage(WebPageAddress(webHost_, kAccountInfoPage));
    return true;
  }
  return SkinnedDialog::OnCommand(id, code, control);
}

void Notice::OnOK() {
  const std::string_view page = RowOf(kind_).page;
  if (!page.empty()) OpenPage(WebPageAddress(webHost_, page));
  End(IDOK);
}

void Notice::OnCancel() {
  if (RowOf(kind_).noThanksWaits && !IsWindowEnabled(Item(IDC_NOTICE_CANCEL))) return;
  End(IDCANCEL);
}

bool Notice::OnTimer(UINT_PTR id) {
  if (id != kTimerId || !RowOf(kind_).noThanksWaits) return false;
  KillTimer(Hwnd(), kTimerId);
  EnableWindow(Item(IDC_NOTICE_CANCEL), TRUE);
  return true;
}

}  // namespace vt
