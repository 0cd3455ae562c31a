#include "account/LoginLogic.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vt {

namespace {

constexpr const char* kValueSave = "SAVE";
constexpr const char* kValueAutoLogin = "AUTOLOGIN";
constexpr const char* kValueUsername = "Username";
constexpr const char* kValuePassword = "Password";

// Reads one value into its fixed, zeroed buffer the way the registry does: a value longer than
// the buffer is not read at all; `length` becomes the value's length either way.
template <size_t N>
void ReadSaved(SettingsStore& settings, const char* name, std::array<char, N>& buffer,
               uint32_t& length) {
  buffer.fill(0);
  length = static_cast<uint32_t>(N);
  std::string bytes;
  if (!settings.QueryValue(Hive::Machine, kVintaraKey, name, bytes)) return;
  length = static_cast<uint32_t>(bytes.size());
  if (bytes.size() > N) return;
  std::memcpy(buffer.data(), bytes.data(), bytes.size());
}

// A saved text: the buffer's bytes up to the first NUL, all of them when there is none.
template <size_t N>
std::string SavedText(const std::array<char, N>& buffer) {
  const auto end = std::find(buffer.begin(), buffer.end(), '\0');
  return std::string(buffer.begin(), end);
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
  ReadSaved(settings_, kValueSave, savedSave_, readLengths_[0]);
  ReadSaved(settings_, kValueAutoLogin, savedAutoLogin_, readLengths_[1]);
  ReadSaved(settings_, kValueUsername, savedUsername_, readLengths_[2]);
  ReadSaved(settings_, kValuePassword, savedPassword_, readLengths_[3]);
}

int LoginLogic::Run() {
  if (SavedText(savedSave_) == "TRUE") {
    saveSettings_ = true;
    autoLogin_ = SavedText(savedAutoLogin_) == "TRUE";
    username_ = SavedText(savedUsername_);
    password_ = SavedText(savedPassword_);
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
