// The fixture every end-to-end suite starts from.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/TcpSocket.h"
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
  // The rows the service itself answers the user for a query, asked byte by byte as the game
  // protocol goes, not through the client's session, and marked as the user is told: free copies
  // "Available"; none, on a full account "UnAvailable"; none on a free account, "Preferred" when
  // full accounts have some, else "UnAvailable". Their keys by title in `keys`. Asked while the
  // client is not logged in as the same user: a second login drops the first one's session.
  std::vector<std::string> ServiceRows(const std::string& user, const std::string& alias,
                                       const std::string& pattern) {
    StartSocketLibrary(0x0202);
    TcpSocket s;
    const bool connected = s.Create() &&
                           s.Connect(ResolveIpv4("127.0.0.1").address, kGameServerPort) &&
                           s.SetReceiveTimeout(10000);
    auto exchange = [&s](const std::string& bytes) {
      char reply[1024];
      const long n = s.Send(bytes) ? s.Receive(reply, sizeof reply) : -1;
      return std::string(reply, n > 0 ? static_cast<size_t>(n) : 0);
    };
    const std::string nul(1, '\0');
    exchange(user);
    const bool signedIn = exchange(user) != "" && exchange(std::string(64, '\0')) == "ok";
    const bool full = exchange("qp" + nul) == "True";
    exchange("qr" + nul), exchange(alias + nul), exchange(pattern + nul);
    std::string answer(5, '\0');
    EXPECT_TRUE(connected && signedIn && s.Send("ok" + nul) && s.ReceiveExactly(answer.data(), 5))
        << alias << " " << pattern;
    const long count = std::strtol(answer.c_str(), nullptr, 10);
    for (char c[4096]; std::count(answer.begin() + 5, answer.end(), '\0') < count;) {
      const long n = s.Receive(c, sizeof c);
      if (n <= 0) break;
      answer.append(c, static_cast<size_t>(n));
    }
    std::vector<std::string> rows;
    std::istringstream records(answer.substr(5));
    for (std::string record; std::getline(records, record, '\0');) {
      std::istringstream fields(record);
      std::string title, key, copies, fullCopies;
      std::getline(fields, title, '\n'), std::getline(fields, key, '\n');
      std::getline(fields, copies, '\n'), std::getline(fields, fullCopies, '\n');
      const char* mark = std::atoi(copies.c_str()) > 0                ? "Available"
                         : !full && std::atoi(fullCopies.c_str()) > 0 ? "Preferred"
                                                                      : "UnAvailable";
      rows.push_back(title + "|" + mark);
      keys[title] = key;
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
