// The fixture every end-to-end suite starts from.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "browser/AvailabilityMark.h"
#include "resources/resource.h"
#include "service/ServerSession.h"
#include "tests/e2e/E2eClient.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"

namespace vt::e2e {

// The web host of the vtservice the test command started (without it the cases prove nothing,
// so that fails them), emustub's log for the emulators the client starts, and the client's key
// cleared after.
class ServiceCase : public ::testing::Test {
protected:
  void SetUp() override {
    std::string why;
    web = WebHost(&why);
    ASSERT_FALSE(web.empty()) << why;
    // The client passes its environment on to the emulators it starts.
    SetEnvironmentVariableA("VT_EMUSTUB_LOG", log.c_str());
    SetEnvironmentVariableA("VT_EMUSTUB_EXIT", "1");
  }
  void TearDown() override {
    ClearVintaraKey();
    for (const std::string& file : {log, log + ".folders"}) std::remove(file.c_str());
  }
  // The key with a saved automatic login as the user (whose password in the sample accounts is
  // the user name), then the raw values given, which win.
  void PrepareAutoLogin(const std::string& user,
                        const std::map<std::string, std::string>& values = {}) {
    std::map<std::string, std::string> all = {{"SAVE", "TRUE"},
                                              {"AUTOLOGIN", "TRUE"},
                                              {"Username", Padded(user)},
                                              {"Password", Padded(user)}};
    for (const auto& [name, bytes] : values) all[name] = bytes;
    PrepareVintaraKey(web, all);
  }
  // Waits for a window of the kind; one that does not come ends the case as a failure (gtest
  // reports the exception).
  static HWND Await(Client& client, Kind kind, DWORD timeoutMs = 60000) {
    if (HWND h = client.WaitWindow([kind](HWND w) { return Classify(w) == kind; }, timeoutMs))
      return h;
    throw std::runtime_error(std::string("no ") + KindName(kind) + " appeared");
  }
  // Waits for the login window and logs in through it as a sample user; the window.
  static HWND LogInThroughWindow(Client& client, const std::string& user) {
    HWND login = Await(client, Kind::Login);
    LogIn(login, user, user);
    return login;
  }
  // Waits until the list shows the rows; fails the case when it does not come to.
  static bool AwaitRows(HWND list, const std::vector<std::string>& rows) {
    if (WaitUntil([&] { return ListRows(list) == rows; })) return true;
    ADD_FAILURE() << "the list shows " << ListRows(list).size() << " rows, not the " << rows.size()
                  << " expected";
    return false;
  }
  static void CloseAndEnd(Client& client, HWND browser) {
    ShowWindow(browser, SW_RESTORE);
    Click(browser, IDC_BROWSER_CLOSE);
    EXPECT_EQ(client.WaitExit(), 0u);
  }
  // The lines of a text file, once there are `count` of them (or after the time-out).
  static std::vector<std::string> Lines(const std::string& path, size_t count = 0) {
    std::vector<std::string> lines;
    WaitUntil([&] {
      lines.clear();
      std::istringstream text(ReadWholeFile(path));
      for (std::string line; std::getline(text, line);)
        lines.push_back(line.substr(0, line.find('\r')));
      return lines.size() >= count;
    });
    return lines;
  }
  // A login as `user` from elsewhere, through the client's session code, lasting as long as the
  // session: SignedIn, or UserInUse when the server refused it for another session.
  struct OtherLogin {
    std::unique_ptr<ServerSession> session;
    LoginResult result;
  };
  OtherLogin Session(const std::string& user) {
    auto s =
        std::make_unique<ServerSession>(ServiceEndpoints{"127.0.0.1", kGameServerPort, web, 10000});
    const LoginResult result = s->Login(user, user, host_);
    return {std::move(s), result};
  }
  // The rows the service itself answers the user for a query, marked as the list marks them for
  // the user's tier; their keys by title in `keys`. Asked while the client is not logged in as
  // the same user: a second login drops the first one's session.
  std::vector<std::string> ServiceRows(const std::string& user, const std::string& alias,
                                       const std::string& pattern) {
    const OtherLogin login = Session(user);
    Catalogue games;
    EXPECT_TRUE(login.result == LoginResult::SignedIn &&
                login.session->QueryGames(alias, pattern, games) == QueryResult::Ok)
        << alias << " " << pattern;
    std::vector<std::string> rows;
    for (const Game& game : games) {
      rows.emplace_back(game.title + "|")
          .append(AvailabilityMark(game.copies, game.fullCopies, login.session->tier()));
      keys[game.title] = game.key;
    }
    EXPECT_FALSE(rows.empty()) << alias << " " << pattern;
    return rows;
  }

  std::string web, log = TempPath("emustub.log");
  std::map<std::string, std::string> keys;

private:
  test::RecordingHost host_;
};

}  // namespace vt::e2e
