#include "account/LoginLogic.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace vt {

namespace {

constexpr const char* kValueSave = "SAVE";
constexpr const char* kValueAutoLogin = "AUTOLOGIN";
constexpr const char* kValueUsername = "Username";
constexpr const char* kValuePassword = "Password";
// The password sealed by the store's protector, beside "Password", which then holds zeros.
constexpr const char* kValueSealedPassword = "ProtectedPassword";

// A saved value as its fixed buffer holds it: the login's texts are zero-padded to the buffer,
// so one that fills it has no terminator and is taken whole.
std::string ReadSaved(SettingsStore& settings, const char* name, size_t bufferSize) {
  return ReadClientText(settings, name, bufferSize, FullBuffer::Text).value_or(std::string());
}

// The first 20 bytes of the text, NUL-padded to 20.
std::string Padded(const std::string& text, size_t size) {
  std::string out = text.substr(0, size);
  out.resize(size, '\0');
  return out;
}

// A saved text as its fixed buffer gives it back: up to the first NUL, at most `size` bytes.
std::string FixedText(std::string bytes, size_t size) {
  bytes.resize(std::min({bytes.find('\0'), size, bytes.size()}));
  return bytes;
}

}  // namespace

LoginNotice ChooseLoginNotice(LoginResult refused) {
  switch (refused) {
    case LoginResult::UserInUse:
      return LoginNotice::UserInUse;
    case LoginResult::BadCredentials:
      return LoginNotice::BadLogin;
    case LoginResult::ConnectionFailed:
      return LoginNotice::ConnectionError;
    default:
      return LoginNotice::ServerReply;
  }
}

LoginLogic::LoginLogic(LoginSurface& surface, Host& host, SettingsStore& settings)
    : surface_(surface), host_(host), settings_(settings) {}

void LoginLogic::Setup(std::string& passwordDest, std::string& usernameDest,
                       ServerSession& session) {
  passwordDest_ = &passwordDest;
  usernameDest_ = &usernameDest;
  session_ = &session;
  savedSave_ = ReadSaved(settings_, kValueSave, kSavedFlagSize);
  savedAutoLogin_ = ReadSaved(settings_, kValueAutoLogin, kSavedFlagSize);
  savedUsername_ = ReadSaved(settings_, kValueUsername, kSavedTextSize);
  savedPassword_ = ReadSavedPassword();
}

std::string LoginLogic::ReadSavedPassword() {
  // The plain password and its sealed form are written together: both come from the key that
  // answers for "Password".
  std::string plain, sealed;
  const std::optional<Hive> from = QueryClientValue(settings_, kValuePassword, plain);
  plain = plain.size() > kSavedTextSize ? std::string() : FixedText(plain, kSavedTextSize);
  if (from)
    settings_.QueryValue(*from, kVintaraKey, kValueSealedPassword, sealed);
  else
    QueryClientValue(settings_, kValueSealedPassword, sealed);
  SecretProtector* protector = settings_.Protector();
  if (plain.empty()) {
    if (!protector || sealed.empty()) {
      // The machine key's login without its password: an earlier client's, whose password
      // another Windows user of this machine took into their own key. Nothing to log in with.
      passwordLost_ = from == Hive::Machine;
      return plain;
    }
    // Sealed for another user, on another machine, or damaged: no saved password, and the
    // window asks for it instead of logging in automatically without one.
    const std::optional<std::string> password = protector->Unseal(sealed);
    passwordLost_ = !password;
    return FixedText(password.value_or(std::string()), kSavedTextSize);
  }
  // This client writes only zeros beside a sealed password, so a plain one was saved later, by
  // an earlier client: it wins, and goes into the user's key with the rest of the login (sealed
  // where the store seals). The machine key's copy is then zeroed where this run may write there
  // (an administrator's); where it may not, it stays, unused.
  if ((protector || from == Hive::Machine) &&
      WriteLogin(savedSave_ == "TRUE", savedAutoLogin_ == "TRUE", savedUsername_, plain, true) &&
      from == Hive::Machine)
    settings_.SetValue(Hive::Machine, kVintaraKey, kValuePassword, kTypeNone,
                       std::string(kSavedTextSize, '\0'));
  return plain;
}

LoginExit LoginLogic::Run() {
  // Without Setup there is no session to log in with: that ends the program like any other
  // way the login cannot succeed.
  if (!session_) return LoginExit::Left;
  if (savedSave_ == "TRUE") {
    saveSettings_ = true;
    autoLogin_ = savedAutoLogin_ == "TRUE";
    username_ = savedUsername_;
    password_ = savedPassword_;
  } else {
    saveSettings_ = autoLogin_ = false;
  }
  if (autoLogin_ && !suppressAutoLogin_ && !passwordLost_ && !surface_.ShiftHeld()) {
    const LoginResult result = LoginOnce();
    if (result == LoginResult::SignedIn) return LoginExit::SignedIn;
    // Only a refusal of the credentials themselves forgets them: a network that is down, a
    // session still open elsewhere or a server with its own message leave them for next time.
    // An out-of-date client has said so and keeps them for the updated one.
    if (result == LoginResult::OutOfDate) return LoginExit::OutOfDate;
    if (ShowRefusal(result) == LoginNotice::BadLogin) {
      saveSettings_ = false;
      SaveSettings();
    }
    return LoginExit::Left;
  }
  if (surface_.ShowModal() == kLoginOk) return LoginExit::SignedIn;
  return outOfDate_ ? LoginExit::OutOfDate : LoginExit::Left;
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
  host_.OpenPage(
      WebPageAddress(session_ ? session_->endpoints().webHost : std::string(), kSignupPage));
}

void LoginLogic::PressLogin() {
  // The credentials are saved (or cleared) before the server has seen them.
  SaveSettings();
  const LoginResult result = LoginOnce();
  if (result == LoginResult::SignedIn) {
    surface_.EndWindow(kLoginOk);
    return;
  }
  // The third refusal, whatever its kind, ends the program after its notice; an out-of-date
  // client ends it after the update message.
  outOfDate_ = result == LoginResult::OutOfDate;
  const bool last = outOfDate_ || (ShowRefusal(result), ++failedAttempts_ > 2);
  surface_.CloseConnecting();
  if (last) PressCancel();
}

void LoginLogic::PressCancel() { surface_.EndWindow(0); }

void LoginLogic::SaveSettings() {
  WriteLogin(saveSettings_, autoLogin_, username_, password_, false);
}

bool LoginLogic::WriteLogin(bool save, bool autoLogin, const std::string& username,
                            const std::string& password, bool allOrNothing) {
  const std::string zeros(kSavedTextSize, '\0');
  const std::string user = save ? Padded(username, kSavedTextSize) : zeros;
  std::string plain = save ? Padded(password, kSavedTextSize) : zeros;
  std::vector<NamedValue> values = {
      {kValueSave, kTypeNone, save ? "TRUE" : "FALSE"},
      {kValueAutoLogin, kTypeNone, save && autoLogin ? "TRUE" : "FALSE"},
      {kValueUsername, kTypeNone, user}};
  // With a protector the password goes only sealed (one that cannot be sealed is not saved),
  // and in place before "Password" is zeroed.
  std::string sealed;
  if (SecretProtector* protector = settings_.Protector()) {
    const std::string text = FixedText(plain, kSavedTextSize);
    if (!text.empty()) {
      std::optional<std::string> seal = protector->Seal(text);
      if (!seal && allOrNothing) return false;
      sealed = seal.value_or(std::string());
    }
    values.push_back({kValueSealedPassword, kTypeBinary, sealed});
    plain = zeros;
  }
  values.push_back({kValuePassword, kTypeNone, plain});
  return WriteClientValues(settings_, values);
}

LoginResult LoginLogic::LoginOnce() {
  surface_.ShowConnecting();
  const LoginResult result = session_->Login(username_, password_, host_);
  surface_.DropQueuedInput();
  if (result == LoginResult::SignedIn) {
    *passwordDest_ = password_;
    *usernameDest_ = username_;
    surface_.CloseConnecting();
  }
  return result;
}

LoginNotice LoginLogic::ShowRefusal(LoginResult refused) {
  const LoginNotice notice = ChooseLoginNotice(refused);
  if (notice == LoginNotice::ServerReply)
    session_->ShowReply(host_);
  else
    surface_.ShowNotice(notice);
  return notice;
}

}  // namespace vt
