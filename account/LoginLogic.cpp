#include "account/LoginLogic.h"

#include <string_view>

namespace vt {

namespace {

constexpr const char* kValueSave = "SAVE";
constexpr const char* kValueAutoLogin = "AUTOLOGIN";
constexpr const char* kValueUsername = "Username";
constexpr const char* kValuePassword = "Password";

// A saved value as its fixed buffer holds it: the login's texts are zero-padded to the buffer,
// so one that fills it has no terminator and is taken whole.
std::string ReadSaved(SettingsStore& settings, const char* name, size_t bufferSize) {
  return ReadFixedText(settings, Hive::Machine, kVintaraKey, name, bufferSize, FullBuffer::Text)
      .value_or(std::string());
}

// The first 20 bytes of the text, NUL-padded to 20.
std::string Padded(const std::string& text, size_t size) {
  std::string out = text.substr(0, size);
  out.resize(size, '\0');
  return out;
}

}  // namespace

LoginNotice ChooseLoginNotice(bool userInUse, bool badCredentials, bool connectFailed) {
  if (userInUse) return LoginNotice::UserInUse;
  if (badCredentials) return LoginNotice::BadLogin;
  if (connectFailed) return LoginNotice::ConnectionError;
  return LoginNotice::ServerReply;
}

std::string WebPageAddress(const std::string& webHost, std::string_view page) {
  return "http://" + webHost + std::string(page);
}

void UpgradeToFullAccount(AccountShell& shell, const std::string& webHost) {
  shell.OpenPage(WebPageAddress(webHost, kAccountInfoPage));
}

LoginLogic::LoginLogic(LoginSurface& surface, AccountShell& shell, SettingsStore& settings)
    : surface_(surface), shell_(shell), settings_(settings) {}

void LoginLogic::Setup(std::string& passwordDest, std::string& usernameDest,
                       ServerSession& session) {
  passwordDest_ = &passwordDest;
  usernameDest_ = &usernameDest;
  session_ = &session;
  if (!settings_.KeyExists(Hive::Machine, kVintaraKey)) return;
  savedSave_ = ReadSaved(settings_, kValueSave, kSavedFlagSize);
  savedAutoLogin_ = ReadSaved(settings_, kValueAutoLogin, kSavedFlagSize);
  savedUsername_ = ReadSaved(settings_, kValueUsername, kSavedTextSize);
  savedPassword_ = ReadSaved(settings_, kValuePassword, kSavedTextSize);
}

int LoginLogic::Run() {
  // Without Setup there is no session to log in with: that ends the program like any other
  // way the login cannot succeed.
  if (!session_) {
    EndProgram();
    return 0;
  }
  if (savedSave_ == "TRUE") {
    saveSettings_ = true;
    autoLogin_ = savedAutoLogin_ == "TRUE";
    username_ = savedUsername_;
    password_ = savedPassword_;
  } else {
    saveSettings_ = autoLogin_ = false;
  }
  if (autoLogin_ && !suppressAutoLogin_) {
    if (LoginOnce()) return kLoginOk;
    ShowRefusal();
    saveSettings_ = false;
    SaveSettings();
    EndProgram();
    return 0;
  }
  return surface_.ShowModal();
}

LoginLogic::Opening LoginLogic::Open() const {
  Opening o;
  o.username = username_;
  o.password = password_;
  o.loginEnabled = !(username_.empty() && password_.empty());
  o.saveOn = saveSettings_;
  o.autoOn = autoLogin_;
  return o;
}

void LoginLogic::TextsChanged(std::string username, std::string password) {
  username_ = std::move(username);
  password_ = std::move(password);
  surface_.EnableLogin(!username_.empty() && !password_.empty());
}

void LoginLogic::PressSaveSettings() {
  if (saveSettings_) {
    saveSettings_ = false;
    autoLogin_ = false;
  } else {
    saveSettings_ = true;
  }
  surface_.ShowLamps(saveSettings_, autoLogin_);
  SaveSettings();
}

void LoginLogic::PressAutoLogin() {
  if (!saveSettings_) return;
  autoLogin_ = !autoLogin_;
  surface_.ShowLamps(saveSettings_, autoLogin_);
}

void LoginLogic::PressSignup() {
  shell_.OpenPage(WebPageAddress(session_ ? session_->endpoints().webHost : std::string(),
                                 kSignupPage));
}

void LoginLogic::PressLogin() {
  // The credentials are saved (or cleared) before the server has seen them.
  SaveSettings();
  if (LoginOnce()) {
    surface_.EndWindow(kLoginOk);
    return;
  }
  ShowRefusal();
  if (++failedAttempts_ > 2) {
    EndProgram();
    return;
  }
  surface_.CloseConnecting();
}

void LoginLogic::PressCancel() { EndProgram(); }

void LoginLogic::SaveSettings() {
  if (!settings_.KeyExists(Hive::Machine, kVintaraKey)) return;
  auto set = [this](const char* name, std::string_view bytes) {
    settings_.SetValue(Hive::Machine, kVintaraKey, name, kTypeNone, bytes);
  };
  if (saveSettings_) {
    set(kValueSave, "TRUE");
    set(kValueAutoLogin, autoLogin_ ? "TRUE" : "FALSE");
    set(kValueUsername, Padded(username_, kSavedTextSize));
    set(kValuePassword, Padded(password_, kSavedTextSize));
  } else {
    set(kValueSave, "FALSE");
    set(kValueAutoLogin, "FALSE");
    set(kValueUsername, std::string(kSavedTextSize, '\0'));
    set(kValuePassword, std::string(kSavedTextSize, '\0'));
  }
}

bool LoginLogic::LoginOnce() {
  if (!session_) return false;
  surface_.ShowConnecting();
  const bool ok = session_->Login(username_, password_);
  if (ok) {
    *passwordDest_ = password_;
    *usernameDest_ = username_;
    surface_.CloseConnecting();
  }
  return ok;
}

void LoginLogic::ShowRefusal() {
  const LoginNotice notice = ChooseLoginNotice(session_->userInUse, session_->badCredentials,
                                               session_->connectFailed);
  if (notice == LoginNotice::ServerReply)
    session_->ShowReply();
  else
    surface_.ShowNotice(notice);
}

void LoginLogic::EndProgram() {
  ended_ = true;
  shell_.EndProgram(0);
}

}  // namespace vt
