#include "account/win32/Notices.h"

#include "resources/resource.h"

namespace vt {

using skin::SkinRegion;

Notice::Notice(int templateId, int background, SkinRegion region,
               std::vector<NoticeButton> buttons, bool activates)
    : SkinnedDialog(templateId, skin::SkinOptions{.background = background,
                                                  .region = region,
                                                  .activates = activates}),
      table_(std::move(buttons)) {}

skin::BitmapButton* Notice::Button(int id) {
  for (size_t i = 0; i < table_.size(); ++i)
    if (table_[i].id == id && i < buttons_.size()) return buttons_[i].get();
  return nullptr;
}

bool Notice::OnInit() {
  buttons_.clear();
  for (const NoticeButton& b : table_) {
    auto button = std::make_unique<skin::BitmapButton>();
    if (Attach(*button, b.id)) {
      button->LoadImages(b.normal, b.pressed, 0, b.disabled);
      button->SizeToContent();
    }
    buttons_.push_back(std::move(button));
  }
  return true;
}

WaitingNotice::WaitingNotice(int templateId, int background)
    : Notice(templateId, background, SkinRegion::Rectangular, {}, false) {}

bool WaitingNotice::OnInit() {
  Notice::OnInit();
  return false;  // no default focus
}

bool WaitingNotice::Open(HWND owner) {
  if (!Hwnd() && !CreateModeless(owner)) return false;
  ShowWindow(Hwnd(), SW_SHOWNA);
  // Paint now: the caller blocks next and no message will be processed until it returns.
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  // Some window systems (Wine's X11 driver among them) hand a window's painted surface to the
  // display only when the thread next waits for messages; a wait of zero time does that
  // without taking any message off the queue.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  return true;
}

void WaitingNotice::Close() { End(0); }

ConnectingNotice::ConnectingNotice()
    : WaitingNotice(IDD_CONNECTING_NOTICE, IDB_CONNECTING_NOTICE) {}

LoadingNotice::LoadingNotice() : WaitingNotice(IDD_LOADING_NOTICE, IDB_LOADING_NOTICE) {}

ConnectionErrorNotice::ConnectionErrorNotice()
    : Notice(IDD_CONNECTION_ERROR_NOTICE, IDB_CONNECTION_ERROR_NOTICE, SkinRegion::Rectangular,
             {{IDC_NOTICE_OK, IDB_OK_NORMAL, IDB_OK_PRESSED, 0}}) {}

BadLoginNotice::BadLoginNotice()
    : Notice(IDD_BAD_LOGIN_NOTICE, IDB_BAD_LOGIN_NOTICE, SkinRegion::Keyed,
             {{IDC_NOTICE_OK, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, 0}}) {}

UserInUseNotice::UserInUseNotice()
    : Notice(IDD_USER_IN_USE_NOTICE, IDB_USER_IN_USE_NOTICE, SkinRegion::Keyed,
             {{IDC_NOTICE_OK, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED}}) {}

CloseClientsNotice::CloseClientsNotice()
    : Notice(IDD_CLOSE_CLIENTS_NOTICE, IDB_CLOSE_CLIENTS_NOTICE, SkinRegion::Keyed,
             {{IDC_NOTICE_OK, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED}}) {}

GameInUseNotice::GameInUseNotice(AccountShell& shell, std::string webHost)
    : Notice(IDD_GAME_IN_USE_NOTICE, IDB_GAME_IN_USE_FREE, SkinRegion::Keyed,
             {{IDC_NOTICE_OK, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, 0},
              {IDC_NOTICE_UPGRADE_ACCOUNT, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0}}),
      shell_(shell),
      webHost_(std::move(webHost)) {
  // The background follows the tier, which is set after construction.
  SetImageLoader([this, load = skin::ResourceDibLoader()](int) {
    return load(full_ ? IDB_GAME_IN_USE_FULL : IDB_GAME_IN_USE_FREE);
  });
}

bool GameInUseNotice::OnInit() {
  ShowWindow(Item(IDC_NOTICE_UPGRADE_ACCOUNT), full_ ? SW_HIDE : SW_SHOW);
  return Notice::OnInit();
}

bool GameInUseNotice::OnCommand(int id, int code, HWND control) {
  if (id == IDC_NOTICE_UPGRADE_ACCOUNT && code == BN_CLICKED) {
    UpgradeToFullAccount(shell_, webHost_);  // the notice stays until CLOSE
    return true;
  }
  return Notice::OnCommand(id, code, control);
}

AccountPageNotice::AccountPageNotice(int templateId, int background, SkinRegion region,
                                     std::vector<NoticeButton> buttons, AccountShell& shell,
                                     std::string webHost, std::string_view page)
    : Notice(templateId, background, region, std::move(buttons)),
      shell_(shell),
      webHost_(std::move(webHost)),
      page_(page) {}

void AccountPageNotice::OnOK() {
  shell_.OpenPage(WebPageAddress(webHost_, page_));
  End(IDOK);
}

FullAccountOnlyNotice::FullAccountOnlyNotice(AccountShell& shell, std::string webHost)
    : AccountPageNotice(
          IDD_FULL_ACCOUNT_ONLY_NOTICE, IDB_FULL_ACCOUNT_ONLY_NOTICE, SkinRegion::Keyed,
          {{IDC_NOTICE_OK, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0},
           {IDC_NOTICE_CANCEL, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED}},
          shell, std::move(webHost), kFullAccountPage) {}

LightAccountNotice::LightAccountNotice(AccountShell& shell, std::string webHost)
    : AccountPageNotice(
          IDD_LIGHT_ACCOUNT_NOTICE, IDB_LIGHT_ACCOUNT_NOTICE, SkinRegion::Rectangular,
          {{IDC_NOTICE_OK, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0},
           {IDC_NOTICE_CANCEL, IDB_NO_THANKS_NORMAL, IDB_NO_THANKS_PRESSED,
            IDB_NO_THANKS_DISABLED}},
          shell, std::move(webHost), kAccountInfoPage) {}

UpgradeReminder::UpgradeReminder(AccountShell& shell, std::string webHost)
    : AccountPageNotice(
          IDD_UPGRADE_REMINDER, IDB_UPGRADE_REMINDER, SkinRegion::Rectangular,
          {{IDC_NOTICE_OK, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0},
           {IDC_NOTICE_CANCEL, IDB_NO_THANKS_NORMAL, IDB_NO_THANKS_PRESSED,
            IDB_NO_THANKS_DISABLED}},
          shell, std::move(webHost), kAccountInfoPage) {}

bool UpgradeReminder::OnInit() {
  AccountPageNotice::OnInit();
  EnableWindow(Item(IDC_NOTICE_CANCEL), FALSE);
  SetTimer(Hwnd(), kTimerId, kDelayMs, nullptr);
  return true;
}

bool UpgradeReminder::OnTimer(UINT_PTR id) {
  if (id != kTimerId) return false;
  KillTimer(Hwnd(), kTimerId);
  EnableWindow(Item(IDC_NOTICE_CANCEL), TRUE);
  return true;
}

void UpgradeReminder::OnCancel() {
  if (IsWindowEnabled(Item(IDC_NOTICE_CANCEL))) End(IDCANCEL);
}

}  // namespace vt
