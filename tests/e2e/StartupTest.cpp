// The client's start-up end to end: the real VTBrowser.exe under Wine against vtservice,
// driven by window messages the way the user's clicks and typing arrive.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/E2eClient.h"
#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

class Startup : public ServiceCase {
protected:
  // The kinds of the client's visible windows now.
  std::vector<Kind> Kinds(Client& client) {
    std::vector<Kind> kinds;
    for (HWND h : client.Windows()) kinds.push_back(Classify(h));
    return kinds;
  }
  bool Shows(Client& client, Kind kind) {
    for (Kind k : Kinds(client))
      if (k == kind) return true;
    return false;
  }

  void Login(HWND window, const std::string& user, const std::string& password) {
    SetText(window, IDC_LOGIN_USERNAME, user);
    SetText(window, IDC_LOGIN_PASSWORD, password);
    Click(window, IDC_LOGIN_LOGIN);
  }
};

TEST_F(Startup, SavedAutoLoginLogsInWithoutTheWindow) {
  PrepareVintaraKey(web, {{"SAVE", "TRUE"}, {"AUTOLOGIN", "TRUE"},
                          {"Username", std::string("demo") + std::string(16, '\0')},
                          {"Password", std::string("demo") + std::string(16, '\0')}});
  Client client;
  ASSERT_TRUE(client.started());
  bool sawLogin = false;
  HWND browser = client.WaitWindow([&](HWND w) {
    const Kind k = Classify(w);
    sawLogin = sawLogin || k == Kind::Login;
    return k == Kind::Browser;
  });
  ASSERT_NE(browser, nullptr) << "the client did not get past the login";
  EXPECT_FALSE(sawLogin) << "the login window was shown";
  // The server holds the client's session: a second login as the same user is refused.
  RawLogin other;
  EXPECT_EQ(other.Login("demo", "demo"), "Username in use login again to clear.");
  EXPECT_EQ(VintaraValue("SAVE"), "TRUE") << "a successful automatic login keeps the settings";
  Click(browser, IDC_BROWSER_CLOSE);
  EXPECT_EQ(client.WaitExit(), 0u);
}

TEST_F(Startup, FailedAutoLoginClearsTheSavedLoginAndEnds) {
  PrepareVintaraKey(web, {{"SAVE", "TRUE"}, {"AUTOLOGIN", "TRUE"},
                          {"Username", std::string("demo") + std::string(16, '\0')},
                          {"Password", std::string("wrong") + std::string(15, '\0')}});
  Client client;
  ASSERT_TRUE(client.started());
  bool sawLogin = false;
  HWND notice = client.WaitWindow([&](HWND w) {
    const Kind k = Classify(w);
    sawLogin = sawLogin || k == Kind::Login;
    return k == Kind::BadLogin;
  });
  ASSERT_NE(notice, nullptr) << "no bad login notice appeared";
  EXPECT_FALSE(sawLogin) << "the login window was shown";
  EXPECT_EQ(VintaraValue("SAVE"), "TRUE") << "cleared only after the notice";
  Click(notice, IDC_NOTICE_OK);
  EXPECT_EQ(client.WaitExit(), 0u);
  // All four values cleared, as raw bytes without a type.
  for (const auto& [name, bytes] :
       {std::pair<std::string, std::string>{"SAVE", "FALSE"}, {"AUTOLOGIN", "FALSE"},
        {"Username", std::string(20, '\0')}, {"Password", std::string(20, '\0')}}) {
    SCOPED_TRACE(name);
    DWORD type = 99;
    EXPECT_EQ(VintaraValue(name, &type), bytes);
    EXPECT_EQ(type, static_cast<DWORD>(REG_NONE));
  }
}

TEST_F(Startup, ThreeBadLoginsEndTheProgramAfterThreeNotices) {
  PrepareVintaraKey(web, {});
  Client client;
  HWND login = Await(client, Kind::Login);
  ASSERT_NE(login, nullptr);
  for (int attempt = 1; attempt <= 3; ++attempt) {
    SCOPED_TRACE("attempt " + std::to_string(attempt));
    Login(login, "demo", "wrong");
    HWND notice = Await(client, Kind::BadLogin);
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(Shows(client, Kind::Login));
    Click(notice, IDC_NOTICE_OK);
    ASSERT_TRUE(client.WaitGone(notice));
    if (attempt < 3) {
      EXPECT_TRUE(client.Running());
      EXPECT_NE(client.WaitWindow([login](HWND w) { return w == login; }), nullptr)
          << "the window stays open for another try";
    }
  }
  EXPECT_EQ(client.WaitExit(), 0u);
  EXPECT_EQ(VintaraValue("SAVE"), "FALSE") << "each Login saved the lamp's state first";
}

TEST_F(Startup, UserInUseIsClearedByTheSecondLogin) {
  PrepareVintaraKey(web, {});
  RawLogin stale;
  ASSERT_EQ(stale.Login("demo", "demo"), "ok");
  Client client;
  HWND login = Await(client, Kind::Login);
  ASSERT_NE(login, nullptr);
  Login(login, "demo", "demo");
  HWND notice = Await(client, Kind::UserInUse);
  ASSERT_NE(notice, nullptr);
  Click(notice, IDC_NOTICE_OK);
  ASSERT_TRUE(client.WaitGone(notice));
  Click(login, IDC_LOGIN_LOGIN);  // the same texts, the same connection
  HWND browser = Await(client, Kind::Browser);
  ASSERT_NE(browser, nullptr);
  EXPECT_FALSE(Shows(client, Kind::Login));
  Click(browser, IDC_BROWSER_CLOSE);
  EXPECT_EQ(client.WaitExit(), 0u);
}

TEST_F(Startup, NoGameServerGivesTheConnectionErrorNotice) {
  PrepareVintaraKey(web, {});
  Client client;
  HWND login = Await(client, Kind::Login);
  ASSERT_NE(login, nullptr);
  Login(login, "demo", "demo");
  HWND notice = Await(client, Kind::ConnectionError);
  ASSERT_NE(notice, nullptr);
  Click(notice, IDC_NOTICE_OK);
  ASSERT_TRUE(client.WaitGone(notice));
  EXPECT_TRUE(client.Running());
  // Cancel ends the program without saving anything.
  Click(login, IDC_LOGIN_CANCEL);
  EXPECT_EQ(client.WaitExit(), 0u);
  EXPECT_EQ(VintaraValue("Username"), std::string(20, '\0')) << "only Login's own save";
}

TEST_F(Startup, OutOfDateClientEndsAfterTheUpdateMessage) {
  PrepareVintaraKey(web, {});
  Client client;
  HWND login = Await(client, Kind::Login);
  ASSERT_NE(login, nullptr);
  Login(login, "demo", "demo");
  HWND box = Await(client, Kind::MessageBox);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Text(box), "Error");
  EXPECT_NE(MessageBoxText(box).find("Visit Vintara to update your client."), std::string::npos)
      << MessageBoxText(box);
  EXPECT_TRUE(client.Running()) << "the program ends only when the message is closed";
  Click(box, IDOK);
  EXPECT_EQ(client.WaitExit(), 0u);
  EXPECT_FALSE(Shows(client, Kind::ConnectionError));
}

}  // namespace
}  // namespace vt::e2e
