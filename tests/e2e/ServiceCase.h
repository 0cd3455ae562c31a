// The fixture every end-to-end suite starts from.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/e2e/E2eClient.h"

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
  void PrepareAutoLogin(const std::string& user, const std::map<std::string, std::string>& values = {}) {
    std::map<std::string, std::string> all = {
        {"SAVE", "TRUE"}, {"AUTOLOGIN", "TRUE"}, {"Username", Padded(user)}, {"Password", Padded(user)}};
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
  static HWND LogInThroughWindow(Client& client, const std::string& user, const std::string& password) {
    HWND login = Await(client, Kind::Login);
    if (login) LogIn(login, user, password);
    return login;
  }
  // Waits until the list shows the rows; fails the case when it does not come to.
  static bool AwaitRows(HWND list, const std::vector<std::string>& rows) {
    if (WaitUntil([&] { return ListRows(list) == rows; })) return true;
    ADD_FAILURE() << "the list shows " << ListRows(list).size() << " rows, not the " << rows.size() << " expected";
    return false;
  }

  std::string web;
};

}  // namespace vt::e2e
