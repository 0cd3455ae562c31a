// The fixture every end-to-end suite starts from, over the helpers of E2eClient.h.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "platform/TcpSocket.h"
#include "service/Endpoints.h"
#include "tests/e2e/E2eClient.h"
#include "tests/support/TempDir.h"

namespace vt::e2e {

// vtservice's web host (a case fails without it), emustub's log, and the client's keys cleared.
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
  // A saved automatic login as a sample user (password = user name) under the values given.
  void PrepareAutoLogin(const std::string& user, std::map<std::string, std::string> values = {},
                        bool earlierClient = false) {
    values.insert({{"SAVE", "TRUE"},
                   {"AUTOLOGIN", "TRUE"},
                   {"Username", Padded(user)},
                   {"Password", Padded(user)}});
    PrepareVintaraKey(web, values, earlierClient);
  }
  // Waits for a window of the kind; one that does not come ends the case as a failure.
  static HWND Await(Client& client, Kind kind, DWORD timeoutMs = 60000) {
    if (HWND h = client.WaitWindow([kind](HWND w) { return Classify(w) == kind; }, timeoutMs))
      return h;
    throw std::runtime_error(std::string("no ") + KindName(kind) + " appeared");
  }
  void AwaitBrowser(Client& client) {
    list = GetDlgItem(browser = Await(client, Kind::Browser), IDC_BROWSER_LIST);
  }
  // Whether the list comes to show the rows.
  static bool AwaitRows(HWND list, const std::vector<std::string>& rows) {
    return WaitUntil([&] { return ListRows(list) == rows; });
  }
  // A button of the window clicked, and the program's end awaited.
  static void ClickToEnd(Client& client, HWND window, int id) {
    Click(window, id);
    EXPECT_EQ(client.WaitExit(), 0u);
  }
  static void CloseAndEnd(Client& client, HWND browser) {
    ShowWindow(browser, SW_RESTORE);
    ClickToEnd(client, browser, IDC_BROWSER_CLOSE);
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
  // A login as a sample user from elsewhere, byte by byte as the game protocol goes, lasting as
  // long as its socket: signed in, or refused as the user is in use (which drops that session).
  struct OtherLogin {
    TcpSocket socket;
    std::string answer;  // the server's to the password: "ok", or why it refuses the login
    bool signedIn = false;
    // Refused because the client holds a session as the same user.
    bool InUse() const { return answer == "Username in use login again to clear."; }
    std::string Exchange(const std::string& bytes) {
      char reply[1024];
      const long n = socket.Send(bytes) ? socket.Receive(reply, sizeof reply) : -1;
      return std::string(reply, n > 0 ? static_cast<size_t>(n) : 0);
    }
  };
  static OtherLogin Session(const std::string& user) {
    StartSocketLibrary(0x0202);
    OtherLogin s;
    if (s.socket.Create() && s.socket.Connect(ResolveIpv4("127.0.0.1").address, kGameServerPort) &&
        s.socket.SetReceiveTimeout(10000) && s.Exchange(user) == "ok")
      s.answer = s.Exchange(user);
    s.signedIn = s.answer == "ok" && s.Exchange(std::string(64, '\0')) == "ok";
    return s;
  }
  // The rows the service answers the user for a query, asked byte by byte, marked as the user is
  // told: free copies "Available"; none, "Preferred" on a free account when full accounts have
  // some, else "UnAvailable". Asked while the client is not logged in as the user (it would drop).
  std::vector<std::string> ServiceRows(const std::string& user, const std::string& alias,
                                       const std::string& pattern) {
    OtherLogin s = Session(user);
    const std::string nul(1, '\0');
    const bool full = s.Exchange("qp" + nul) == "True";
    s.Exchange("qr" + nul), s.Exchange(alias + nul), s.Exchange(pattern + nul);
    // The 5-byte count field, then as many records, each ending in a zero byte.
    std::string answer = s.Exchange("ok" + nul);
    EXPECT_TRUE(s.signedIn && answer.size() >= 5) << alias << " " << pattern;
    answer.resize(std::max<size_t>(answer.size(), 5));
    const long count = std::strtol(answer.c_str(), nullptr, 10);
    for (std::string more = "-";
         !more.empty() && std::count(answer.begin() + 5, answer.end(), '\0') < count;)
      answer += more = s.Exchange("");
    std::vector<std::string> rows;
    std::istringstream records(answer.substr(5));
    for (std::string record; std::getline(records, record, '\0');) {
      std::istringstream fields(record);
      std::string title, key;
      int copies = 0, fullCopies = 0;
      std::getline(std::getline(fields, title), key) >> copies >> fullCopies;
      rows.push_back(title + (copies > 0                ? "|Available"
                              : !full && fullCopies > 0 ? "|Preferred"
                                                        : "|UnAvailable"));
    }
    EXPECT_FALSE(rows.empty()) << alias << " " << pattern;
    return rows;
  }

  std::string web, log = TempPath("emustub.log");
  HWND browser = nullptr, list = nullptr;
};

}  // namespace vt::e2e
