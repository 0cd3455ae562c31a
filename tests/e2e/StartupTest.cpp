// The client's start-up end to end, driven by window messages and by real keys.
#include <string_view>
#include <utility>

#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

class Startup : public ServiceCase {
protected:
  // Waits for a window of the kind; the login window must not come first.
  static HWND AwaitWithoutLogin(Client& client, Kind kind) {
    bool sawLogin = false;
    client.WaitWindow([&](HWND w) {
      sawLogin = sawLogin || Classify(w) == Kind::Login;
      return Classify(w) == kind;
    });
    EXPECT_FALSE(sawLogin) << "the login window was shown";
    return Await(client, kind, 0);
  }
  // The login window, shown first, filled with "demo" and the password; not yet logged in.
  HWND AwaitFilledLogin(Client& client, const std::string& password) {
    HWND login = client.WaitWindow([](HWND w) { return Classify(w) != Kind::Other; });
    EXPECT_EQ(Classify(login), Kind::Login);
    EXPECT_EQ(EditText(GetDlgItem(login, IDC_LOGIN_USERNAME)), "demo");
    EXPECT_EQ(EditText(GetDlgItem(login, IDC_LOGIN_PASSWORD)), password);
    EXPECT_TRUE(Session("demo").signedIn) << "the client logged in before Login";
    return Await(client, Kind::Login, 0);
  }
  // The four values of the saved login, and whether a sealed password is saved.
  static std::vector<std::string> Saved() {
    return {UserValue("SAVE"), UserValue("AUTOLOGIN"), UserValue("Username"), UserValue("Password"),
            UserValue("ProtectedPassword").empty() ? "" : "sealed"};
  }
  const std::vector<std::string> kSavedDemo = {"TRUE", "TRUE", Padded("demo"),
                                               std::string(20, '\0'), "sealed"};
};

// Save Settings and Auto Login keep the password only sealed for this Windows user, in that
// user's key, and nothing in the machine key; the next start logs in with it, and Shift held at
// the start shows the filled window instead. A password sealed on another machine (the prefix's
// machine identity changed since) does not open: the window asks for it, the saved login stays.
TEST_F(Startup, TheSealedPasswordLogsInAutomaticallyOnlyOnItsMachineAndShiftShowsTheWindow) {
  PrepareVintaraKey(web, {});
  {
    Client client;
    HWND login = Await(client, Kind::Login);
    Click(login, IDC_LOGIN_SAVE_SETTINGS);
    Click(login, IDC_LOGIN_AUTO_LOGIN);
    LogIn(login, "demo", "demo");
    CloseAndEnd(client, Await(client, Kind::Browser));
  }
  EXPECT_EQ(Saved(), kSavedDemo);
  for (std::string_view name : kUserValues)
    EXPECT_EQ(VintaraValue(std::string(name)), "<missing>") << name;
  DWORD type = 0;
  const std::string sealed = UserValue("ProtectedPassword", &type);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(sealed.find("demo"), std::string::npos);
  {
    Client client;
    HWND browser = AwaitWithoutLogin(client, Kind::Browser);
    EXPECT_TRUE(Session("demo").InUse()) << "the client logged in with the sealed password";
    // Held while this client ends and the next starts: once the window with the X focus has
    // seen it, every Wine program sees it held.
    Key("KEYDOWN", "shift", browser);
    ASSERT_TRUE(WaitUntil([] { return GetAsyncKeyState(VK_SHIFT) < 0; }));
    CloseAndEnd(client, browser);
  }
  {
    Client client;
    HWND login = AwaitFilledLogin(client, "demo");
    Key("KEYUP", "shift");
    Click(login, IDC_LOGIN_LOGIN);
    CloseAndEnd(client, Await(client, Kind::Browser));
  }
  // The machine identity set to another's and back; the one it was.
  auto setMachine = [key = "Software\\Microsoft\\Cryptography"](const std::string& guid) {
    const std::string was = RegistryValue(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY, "MachineGuid");
    SetRegistryValue(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY, "MachineGuid", guid, REG_SZ);
    return was;
  };
  const std::string resealed = UserValue("ProtectedPassword");
  const std::string machine = setMachine(std::string("0badc0de-0000-4000-8000-000000000000", 37));
  ASSERT_NE(machine, "<missing>");
  Client client;
  HWND login = AwaitFilledLogin(client, "");
  setMachine(machine);
  ClickToEnd(client, login, IDC_LOGIN_CANCEL);
  EXPECT_EQ(Saved(), kSavedDemo);
  EXPECT_EQ(UserValue("ProtectedPassword"), resealed);
}

// An earlier client's saved login and browser state, in the machine key alone, log in and query
// first; the plain password moves into the user's key, sealed, and leaves the machine key.
TEST_F(Startup, AnEarlierClientsLoginInTheMachineKeyLogsInAndMovesToTheUsersKey) {
  const auto rows = ServiceRows("demo", "GEN", "^[c-d]");
  PrepareAutoLogin("demo", {{"SYSTEM", "GEN"}, {"SEARCH", "^[c-d]"}}, true);
  Client client;
  HWND browser = AwaitWithoutLogin(client, Kind::Browser);
  ASSERT_TRUE(AwaitRows(GetDlgItem(browser, IDC_BROWSER_LIST), rows));
  EXPECT_TRUE(Session("demo").InUse()) << "logged in with the earlier client's password";
  EXPECT_EQ(VintaraValue("Password"), std::string(20, '\0'));
  EXPECT_EQ(Saved(), kSavedDemo);
  CloseAndEnd(client, browser);
}

// A second click on Login while the first login runs is dropped: one refused login, one notice.
TEST_F(Startup, ASecondLoginClickDuringTheConnectionStartsNoSecondLogin) {
  PrepareVintaraKey(web, {});
  Client client;
  HWND login = Await(client, Kind::Login);
  SetText(login, IDC_LOGIN_USERNAME, "demo");
  SetText(login, IDC_LOGIN_PASSWORD, "wrong");
  // Both real clicks are queued before the first is handled, as its login waits for the server.
  HWND button = GetDlgItem(login, IDC_LOGIN_LOGIN);
  for (int i = 0; i < 2; ++i) {
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  Click(Await(client, Kind::BadLogin), IDC_NOTICE_OK);
  EXPECT_TRUE(
      WaitUntil([&] { return IsWindowEnabled(login) && client.Windows().size() == 1; }, 10000))
      << "a second login's notice came";
  ClickToEnd(client, login, IDC_LOGIN_CANCEL);
}

// A failed automatic login ends after its notice; a plain saved password is sealed, and the
// saved login is forgotten, as raw bytes, only when the server refused the credentials.
TEST_F(Startup, AFailedAutoLoginForgetsTheLoginOnlyForRefusedCredentials) {
  PrepareAutoLogin("demo");
  {
    const auto other = Session("demo");
    ASSERT_TRUE(other.signedIn);
    Client client;
    ClickToEnd(client, AwaitWithoutLogin(client, Kind::UserInUse), IDC_NOTICE_OK);
  }
  EXPECT_EQ(Saved(), kSavedDemo);

  PrepareAutoLogin("demo", {{"Password", Padded("wrong")}});
  Client client;
  HWND notice = AwaitWithoutLogin(client, Kind::BadLogin);
  EXPECT_EQ(UserValue("SAVE"), "TRUE") << "cleared only after the notice";
  ClickToEnd(client, notice, IDC_NOTICE_OK);
  for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"SAVE", "FALSE"},
                                    {"AUTOLOGIN", "FALSE"},
                                    {"Username", std::string(20, '\0')},
                                    {"Password", std::string(20, '\0')}}) {
    DWORD type = 99;
    EXPECT_EQ(UserValue(name, &type), bytes) << name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_NONE)) << name;
  }
  EXPECT_EQ(UserValue("ProtectedPassword"), "");
}

// The update message of an automatic login ends the program; the saved login stays.
TEST_F(Startup, OutOfDateClientEndsAfterTheUpdateMessageKeepingTheSavedLogin) {
  PrepareAutoLogin("demo");
  Client client;
  HWND box = AwaitWithoutLogin(client, Kind::MessageBox);
  EXPECT_EQ(Text(box), "Error");
  EXPECT_NE(MessageBoxText(box).find("Visit Vintara to update your client."), std::string::npos)
      << MessageBoxText(box);
  EXPECT_TRUE(client.Running()) << "the program ends only when the message is closed";
  ClickToEnd(client, box, IDOK);
  EXPECT_EQ(Saved(), kSavedDemo);
}

}  // namespace
}  // namespace vt::e2e
