#include "account/win32/LoginWindow.h"

#include "platform/win32/Input.h"
#include "resources/resource.h"

namespace vt {

namespace {

skin::SkinOptions LoginSkin() {
  return skin::SkinOptions{.background = IDB_LOGIN_BACKGROUND,
                           .region = skin::SkinRegion::Keyed,
                           .drag = true,
                           .controlColours = skin::kMessageBoxColours | skin::kTextBoxColours,
                           .closeReleasesImage = true};
}

}  // namespace

LoginWindow::LoginWindow(SettingsStore& settings, HWND owner)
    : SkinnedDialog(IDD_LOGIN, LoginSkin()),
      owner_(owner),
      logic_(*this, *this, settings),
      connecting_(NoticeKind::Connecting, *this) {}

LoginWindow::~LoginWindow() = default;

int LoginWindow::ShowModal() { return static_cast<int>(RunModal(owner_)); }

bool LoginWindow::OnInit() {
  const LoginLogic::Opening o = logic_.Open();
  const skin::ButtonRow buttons[] = {
      {IDC_LOGIN_LOGIN, IDB_LOGIN_NORMAL, IDB_LOGIN_PRESSED, IDB_LOGIN_DISABLED},
      {IDC_LOGIN_CANCEL, IDB_CANCEL_NORMAL, IDB_CANCEL_PRESSED},
      {IDC_LOGIN_SIGNUP, IDB_SIGNUP_NORMAL, IDB_SIGNUP_PRESSED},
      skin::LampRow(IDC_LOGIN_SAVE_SETTINGS, o.saveOn),
      skin::LampRow(IDC_LOGIN_AUTO_LOGIN, o.autoOn)};
  AttachButtons(buttons);

  editFont_.reset(skin::CreateSkinFont(20));
  for (int id : {IDC_LOGIN_USERNAME, IDC_LOGIN_PASSWORD})
    SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(editFont_.get()), TRUE);

  // Filling the edits is not an edit: the change rule does not run for it.
  filling_ = true;
  SetDlgItemTextA(Hwnd(), IDC_LOGIN_USERNAME, o.username.c_str());
  SetDlgItemTextA(Hwnd(), IDC_LOGIN_PASSWORD, o.password.c_str());
  filling_ = false;
  EnableLogin(o.loginEnabled);
  return true;
}

bool LoginWindow::OnCommand(int id, int code, HWND control) {
  if ((id == IDC_LOGIN_USERNAME || id == IDC_LOGIN_PASSWORD) && code == EN_CHANGE) {
    if (!filling_) logic_.TextsChanged(ItemText(IDC_LOGIN_USERNAME), ItemText(IDC_LOGIN_PASSWORD));
    return true;
  }
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_LOGIN_SAVE_SETTINGS:
        logic_.PressSaveSettings();
        return true;
      case IDC_LOGIN_AUTO_LOGIN:
        logic_.PressAutoLogin();
        return true;
      case IDC_LOGIN_SIGNUP:
        logic_.PressSignup();
        return true;
      default:
        break;
    }
  }
  return SkinnedDialog::OnCommand(id, code, control);
}

void LoginWindow::OnOK() {
  // Enter reaches here even while the Login button is disabled.
  if (IsWindowEnabled(Item(IDC_LOGIN_LOGIN))) logic_.PressLogin();
}

void LoginWindow::OnCancel() { logic_.PressCancel(); }

void LoginWindow::EnableLogin(bool on) { EnableWindow(Item(IDC_LOGIN_LOGIN), on ? TRUE : FALSE); }

void LoginWindow::ShowLamps(bool saveOn, bool autoOn) {
  ShowLamp(IDC_LOGIN_SAVE_SETTINGS, saveOn);
  ShowLamp(IDC_LOGIN_AUTO_LOGIN, autoOn);
}

void LoginWindow::ShowConnecting() { connecting_.Open(Hwnd()); }

void LoginWindow::CloseConnecting() { connecting_.Close(); }

// Without the window (an automatic login) there is nothing the user could have clicked.
void LoginWindow::DropQueuedInput() {
  if (Hwnd()) win::DropQueuedInput(Hwnd());
}

// The key's state now, not as this thread's queue last saw it: no window of the client has had
// the keyboard yet when the login step begins.
bool LoginWindow::ShiftHeld() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

void LoginWindow::ShowNotice(LoginNotice notice) {
  const NoticeKind kinds[] = {NoticeKind::UserInUse, NoticeKind::BadLogin,
                              NoticeKind::ConnectionError};
  if (notice == LoginNotice::ServerReply) return;  // the session's own message box
  Notice(kinds[static_cast<int>(notice)], *this).RunModal(Hwnd() ? Hwnd() : owner_);
}

}  // namespace vt
