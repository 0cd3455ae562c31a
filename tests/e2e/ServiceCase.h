// The fixture every end-to-end suite starts from.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "browser/AvailabilityMark.h"
#include "service/ServerSession.h"
#include "tests/e2e/E2eClient.h"
#include "tests/support/RecordingHost.h"

namespace vt::e2e {

// The base of every end-to-end suite: the web host of the vtservice the test command started
// (without it the cases prove nothing, so that fails them), and the client's key cleared after.
class ServiceCase : public ::testing::Test {
protected:
  void SetUp() override {
    std::string why;
    web = WebHost(&why);
    ASSERT_FALSE(web.empty()) << why;
  }
  void TearDown() override { ClearVintaraKey(); }
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
  // Waits for a window of the kind; fails the case when it does not come.
  static HWND Await(Client& client, Kind kind, DWORD timeoutMs = 60000) {
    HWND h = client.WaitWindow([kind](HWND w) { return Classify(w) == kind; }, timeoutMs);
    EXPECT_NE(h, nullptr) << "no " << KindName(kind) << " appeared";
    return h;
  }
  // Waits for the login window and logs in through it; the window, or null when none came.
  static HWND LogInThroughWindow(Client& client, const std::string& user,
                                 const std::string& password) {
    HWND login = Await(client, Kind::Login);
    if (login) LogIn(login, user, password);
    return login;
  }
  // Waits until the list shows the rows; fails the case when it does not come to.
  static bool AwaitRows(HWND list, const std::vector<std::string>& rows) {
    if (WaitUntil([&] { return ListRows(list) == rows; })) return true;
    ADD_FAILURE() << "the list shows " << ListRows(list).size() << " rows, not the " << rows.size()
                  << " expected";
    return false;
  }
  // The rows the service itself answers the user for a query, marked as the list marks them for
  // the user's tier; their keys by title in `keys`. Asked while the client is not logged in as
  // the same user: a second login drops the first one's session.
  std::vector<std::string> ServiceRows(const std::string& user, const std::string& alias,
                                       const std::string& pattern) {
    test::RecordingHost host;
    ServerSession s(ServiceEndpoints{"127.0.0.1", kGameServerPort, web, 10000});
    s.SetSystem(alias);
    s.filter = pattern;
    EXPECT_TRUE(s.Login(user, user, host) && s.QueryGames()) << alias << " " << pattern;
    std::vector<std::string> rows;
    for (uint32_t i = 0; i < s.gameCount; ++i) {
      rows.push_back(s.titles[i] + "|" +
                     std::string(AvailabilityMark(s.availableCopies[i], s.fullAccountCopies[i],
                                                  s.fullAccount)));
      keys[s.titles[i]] = s.gameKeys[i];
    }
    EXPECT_FALSE(rows.empty()) << alias << " " << pattern;
    return rows;
  }

  std::string web;
  std::map<std::string, std::string> keys;
};

}  // namespace vt::e2e
