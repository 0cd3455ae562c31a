// The login window's behaviour without the window: saved credentials and their byte layout
// (the password sealed by the store's protector where it has one), the lamps, the Login button
// rule, the attempts and the notice each failure gets, automatic login and the way past it, and
// every way out of it that ends the program. LoginWindow (win32/) draws it; host tests drive it
// through a fake surface.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Host.h"
#include "platform/SettingsStore.h"
#include "service/ServerSession.h"

namespace vt {

// The notice for a refused login: the server's own text (ServerReply) for every result without
// a notice of its own.
enum class LoginNotice { UserInUse, BadLogin, ConnectionError, ServerReply };
LoginNotice ChooseLoginNotice(LoginResult refused);

// How a run of the login window ended.
enum class LoginExit {
  SignedIn,
  Left,       // Cancel, the close command, a third failure, a failed automatic login
  OutOfDate,  // the client is out of date and has said so
};

// What the logic needs of the window it runs in.
class LoginSurface {
public:
  virtual ~LoginSurface() = default;
  // Shows the window modally; the window reports its events to the logic until EndWindow.
  // Returns the window's result (kLoginOk after a successful login).
  virtual int ShowModal() = 0;
  virtual void EndWindow(int result) = 0;
  virtual void EnableLogin(bool on) = 0;
  virtual void ShowLamps(bool saveOn, bool autoOn) = 0;
  // The modeless connecting notice: visible and painted when this returns, since the login
  // that follows blocks the thread; closed again after it.
  virtual void ShowConnecting() = 0;
  virtual void CloseConnecting() = 0;
  // The login has returned: input given while it blocked the thread (a second Login click,
  // Enter) is dropped, so that it cannot start another login inside the notice that follows.
  virtual void DropQueuedInput() = 0;
  // One modal notice of a refused login (ServerReply is the session's own message box and
  // never comes here).
  virtual void ShowNotice(LoginNotice notice) = 0;
  // Whether the user holds Shift down now: the way past a saved automatic login.
  virtual bool ShiftHeld() = 0;
};

inline constexpr int kLoginOk = 1;  // the window's result after a successful login

class LoginLogic {
public:
  static constexpr size_t kSavedFlagSize = 6;
  static constexpr size_t kSavedTextSize = 20;

  // The host shows the session's boxes and the sign-up page.
  LoginLogic(LoginSurface& surface, Host& host, SettingsStore& settings);

  // Remembers where a successful login leaves the credentials and the session to log in
  // with, then reads the four saved values (the user's key first, then the machine key). A
  // plain password saved by an earlier client moves into the user's key there and then, sealed
  // where the store seals, and the machine key's copy is zeroed where it may be written.
  void Setup(std::string& passwordDest, std::string& usernameDest, ServerSession& session);
  void SetSuppressAutoLogin() { suppressAutoLogin_ = true; }
  LoginExit Run();

  // The window's opening: what the edits, the Login button and the lamps show.
  struct Opening {
    std::string username, password;
    bool loginEnabled = false, saveOn = false, autoOn = false;
  };
  Opening Open() const;
  // Either edit changed: both texts read back from the edits.
  void TextsChanged(std::string username, std::string password);
  void PressSaveSettings();
  void PressAutoLogin();
  void PressSignup();
  void PressLogin();
  // Cancel and the system's close command: the window ends, nothing is saved.
  void PressCancel();

  void SaveSettings();

  bool saveSettings() const { return saveSettings_; }
  bool autoLogin() const { return autoLogin_; }
  int failedAttempts() const { return failedAttempts_; }
  const std::string& username() const { return username_; }
  const std::string& password() const { return password_; }

private:
  // The connecting notice around Login; stores the credentials on success.
  LoginResult LoginOnce();
  LoginNotice ShowRefusal(LoginResult refused);
  std::string ReadSavedPassword();
  // The saved login's values into the user's key; false when nothing was written, which
  // `allOrNothing` also asks for a password that cannot be sealed.
  bool WriteLogin(bool save, bool autoLogin, const std::string& username,
                  const std::string& password, bool allOrNothing);

  LoginSurface& surface_;
  Host& host_;
  SettingsStore& settings_;
  ServerSession* session_ = nullptr;
  std::string* passwordDest_ = nullptr;
  std::string* usernameDest_ = nullptr;

  // The four saved values as read at Setup.
  std::string savedSave_, savedAutoLogin_, savedUsername_, savedPassword_;
  bool suppressAutoLogin_ = false;
  bool passwordLost_ = false;  // a sealed password that does not open here
  bool outOfDate_ = false;     // a login found the client out of date
  int failedAttempts_ = 0;
  std::string password_;
  std::string username_;
  bool saveSettings_ = false;
  bool autoLogin_ = false;
};

}  // namespace vt
