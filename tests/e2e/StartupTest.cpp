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
  // Whether the client shows a window of the kind now.
  static bool Shows(Client& client, Kind kind) {
    for (HWND h : client.Windows())
      if (Classify(h) == kind) return true;
    return false;
  }
  // Waits for a window of the kind; the login window must not come first.
  static HWND AwaitWithoutLogin(Client& client, Kind kind) {
    EXPECT_TRUE(client.started());
    bool sawLogin = false;
    HWND h = client.WaitWindow([&](HWND w) {
      const Kind k = Classify(w);
      sawLogin = sawLogin || k == Kind::Login;
      return k == kind;
    });
    EXPECT_NE(h, nullptr) << "no " << KindName(kind) << " appeared";
    EXPECT_FALSE(sawLogin) << "the login window was shown";
    return h;
  }
};

TEST_F(Startup, SavedAutoLoginLogsInWithoutTheWindow) {
  PrepareAutoLogin("demo");
  Client client;
  HWND browser = AwaitWithoutLogin(client, Kind::Browser);
  ASSERT_NE(browser, nullptr);
  // The server holds the client's session: a second login as the same user is refused.
  RawLogin other;
  EXPECT_EQ(other.Login("demo", "demo"), "Username in use login again to clear.");
  EXPECT_EQ(VintaraValue("SAVE"), "TRUE") << "a successful automatic login keeps the settings";
  Click(browser, IDC_BROWSER_CLOSE);
  EXPECT_EQ(client.WaitExit(), 0u);
}

TEST_F(Startup, FailedAutoLoginClearsTheSavedLoginAndEnds) {
  PrepareAutoLogin("demo", {{"Password", Padded("wrong")}});
  Client client;
  HWND notice = AwaitWithoutLogin(client, Kind::BadLogin);
  ASSERT_NE(notice, nullptr);
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

TEST_F(Startup, UserInUseIsClearedByTheSecondLogin) {
  PrepareVintaraKey(web, {});
  RawLogin stale;
  ASSERT_EQ(stale.Login("demo", "demo"), "ok");
  Client client;
  HWND login = LogInThroughWindow(client, "demo", "demo");
  ASSERT_NE(login, nullptr);
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

TEST_F(Startup, OutOfDateClientEndsAfterTheUpdateMessage) {
  PrepareVintaraKey(web, {});
  Client client;
  HWND login = LogInThroughWindow(client, "demo", "demo");
  ASSERT_NE(login, nullptr);
  HWND box = Await(client, Kind::MessageBox);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Text(box), "Error");
  EXPECT_NE(MessageBoxText(box).find("Visit Vintara to update your client."), std::string::npos)
      << MessageBoxText(box);
  EXPECT_TRUE(client.Running()) << "the program ends only when the message is closed";
  EXPECT_FALSE(Shows(client, Kind::ConnectionError));
  Click(box, IDOK);
  EXPECT_EQ(client.WaitExit(), 0u);
}

}  // namespace
}  // namespace vt::e2e
