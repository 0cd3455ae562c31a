#include "account/win32/LoginWindow.h"

#include <vector>

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

void ShowLamp(skin::BitmapButton& lamp, bool on) {
  if (!lamp.Hwnd()) return;
  lamp.LoadImages(on ? IDB_LAMP_ON : IDB_LAMP_OFF, on ? IDB_LAMP_OFF : IDB_LAMP_ON);
  InvalidateRect(lamp.Hwnd(), nullptr, FALSE);
}

}  // namespace

LoginWindow::LoginWindow(AccountShell& shell, SettingsStore& settings, HWND owner)
    : SkinnedDialog(IDD_LOGIN, LoginSkin()), owner_(owner), logic_(*this, shell, settings) {}

LoginWindow::~LoginWindow() = default;

int LoginWindow::ShowModal() { return static_cast<int>(RunModal(owner_)); }

bool LoginWindow::OnInit() {
  Attach(autoLamp_, IDC_LOGIN_AUTO_LOGIN);
  Attach(signup_, IDC_LOGIN_SIGNUP);
  Attach(saveLamp_, IDC_LOGIN_SAVE_SETTINGS);
  Attach(cancel_, IDC_LOGIN_CANCEL);
  Attach(login_, IDC_LOGIN_LOGIN);
  login_.LoadImages(IDB_LOGIN_NORMAL, IDB_LOGIN_PRESSED, 0, IDB_LOGIN_DISABLED);
  cancel_.LoadImages(IDB_CANCEL_NORMAL, IDB_CANCEL_PRESSED);
  signup_.LoadImages(IDB_SIGNUP_NORMAL, IDB_SIGNUP_PRESSED);
  for (skin::BitmapButton* b : {&login_, &cancel_, &signup_}) b->SizeToContent();

  const LoginLogic::Opening o = logic_.Open();
  ShowLamps(o.saveOn, o.autoOn);
  saveLamp_.SizeToContent();
  autoLamp_.SizeToContent();

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

std::string LoginWindow::EditText(int id) const {
  HWND edit = Item(id);
  const int n = GetWindowTextLengthA(edit);
  std::vector<char> text(static_cast<size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(edit, text.data(), n + 1);
  return std::string(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

bool LoginWindow::OnCommand(int id, int code, HWND control) {
  if ((id == IDC_LOGIN_USERNAME || id == IDC_LOGIN_PASSWORD) && code == EN_CHANGE) {
    if (!filling_) logic_.TextsChanged(EditText(IDC_LOGIN_USERNAME), EditText(IDC_LOGIN_PASSWORD));
    return true;
  }
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_LOGIN_SAVE_SETTINGS: logic_.PressSaveSettings(); return true;
      case IDC_LOGIN_AUTO_LOGIN: logic_.PressAutoLogin(); return true;
      case IDC_LOGIN_SIGNUP: logic_.PressSignup(); return true;
      default: break;
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
  ShowLamp(saveLamp_, saveOn);
  ShowLamp(autoLamp_, autoOn);
}

void LoginWindow::ShowConnecting() { connecting_.Open(Hwnd()); }

void LoginWindow::CloseConnecting() { connecting_.Close(); }

// The key's state now, not as this thread's queue last saw it: no window of the client has had
// the keyboard yet when the login step begins.
bool LoginWindow::ShiftHeld() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

void LoginWindow::ShowNotice(LoginNotice notice) {
  HWND owner = Hwnd() ? Hwnd() : owner_;
  switch (notice) {
    case LoginNotice::UserInUse: UserInUseNotice().RunModal(owner); break;
    case LoginNotice::BadLogin: BadLoginNotice().RunModal(owner); break;
    case LoginNotice::ConnectionError: ConnectionErrorNotice().RunModal(owner); break;
    case LoginNotice::ServerReply: break;  // the session's own message box
  }
}

}  // namespace vt
