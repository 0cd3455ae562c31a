// The browser end to end: the real VTBrowser.exe under Wine against vtservice and its sample
// catalogue, with emustub as every emulator, driven by window messages the way clicks and
// typing arrive. Expected rows come from the service's own answers. Waits are for conditions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "service/LaunchGame.h"
#include "tests/e2e/E2eClient.h"
#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

class Browser : public ServiceCase {
protected:
  void SetUp() override {
    ServiceCase::SetUp();
    log = TempPath("emustub.log");
    std::remove(log.c_str());
    // The client passes its environment on to the emulators it starts.
    SetEnvironmentVariableA("VT_EMUSTUB_LOG", log.c_str());
    SetEnvironmentVariableA("VT_EMUSTUB_EXIT", "1");
  }
  void TearDown() override {
    ServiceCase::TearDown();
    std::remove(log.c_str());
  }
  // The command lines emustub recorded, once there are `count` of them (or after the time-out).
  std::vector<std::string> Launches(size_t count = 0) const {
    std::vector<std::string> lines;
    WaitUntil([&] {
      lines.clear();
      std::istringstream text(ReadWholeFile(log));
      for (std::string line; std::getline(text, line);)
        lines.push_back(line.substr(0, line.find('\r')));
      return lines.size() >= count;
    });
    return lines;
  }
  std::string Line(const std::string& scheme, const std::string& user, const std::string& title) {
    return WindowsPath(VT_E2E_EMUSTUB) + " " + scheme + user + ":" + user + "@" + web + "/" +
           keys[title];
  }
  void AwaitBrowser(Client& client) {
    browser = Await(client, Kind::Browser);
    ASSERT_NE(browser, nullptr);
    list = GetDlgItem(browser, IDC_BROWSER_LIST);
  }
  void CloseAndEnd(Client& client) {
    ShowWindow(browser, SW_RESTORE);
    Click(browser, IDC_BROWSER_CLOSE);
    EXPECT_EQ(client.WaitExit(), 0u);
  }

  std::string log;
  HWND browser = nullptr, list = nullptr;
};

// The marks as fixed data once; a saved search the server refuses falls back to the letter
// range A-B at start, shown in the box, with no error, and is not saved again.
TEST_F(Browser, FreeAndFullAccountsSeeTheirRowsAndARefusedSavedSearchFallsBack) {
  const std::vector<std::string> free = {
      "Aurora Chase|Available",    "Axel's Derby|Available",       "Bubble Bowling|Preferred",
      "Bubble in Space|Available", "Bubble Party '95|UnAvailable", "Bubble Racer|Available"};
  for (const auto& [user, rows] :
       {std::pair{"demo", free}, {"player", ServiceRows("player", "NES", "^[a-b]")}}) {
    SCOPED_TRACE(user);
    PrepareAutoLogin(user, {{"SEARCH", "[oops"}});
    Client client;
    ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
    EXPECT_EQ(ListRows(list), rows);
    EXPECT_EQ(EditText(GetDlgItem(browser, IDC_BROWSER_SEARCH_BOX)), "[oops");
    EXPECT_EQ(IsWindowVisible(GetDlgItem(browser, IDC_BROWSER_UPGRADE_NOW)) != FALSE,
              std::string(user) == "demo");
    EXPECT_EQ(Text(browser), "Vintara");
    EXPECT_EQ(client.Windows().size(), 1u) << "a notice or box came with the browser";
    CloseAndEnd(client);
    EXPECT_EQ(VintaraValue("SEARCH"), "^[a-b]");
  }
}

TEST_F(Browser, ConsolesRangesAndSearchShowTheirRowsAndCloseSavesThem) {
  const auto snesAB = ServiceRows("demo", "SNES", "^[a-b]"),
             snesCD = ServiceRows("demo", "SNES", "^[c-d]"),
             bowled = ServiceRows("demo", "SNES", "bowling"),
             nesBowled = ServiceRows("demo", "NES", "bowling");
  PrepareAutoLogin("demo");
  {
    Client client;
    ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
    Click(browser, IDC_BROWSER_SNES);
    ASSERT_TRUE(AwaitRows(list, snesAB));
    Click(browser, IDC_BROWSER_RANGE_C_D);
    ASSERT_TRUE(AwaitRows(list, snesCD));
    SetText(browser, IDC_BROWSER_SEARCH_BOX, "bowling");
    Click(browser, IDC_BROWSER_SEARCH);
    ASSERT_TRUE(AwaitRows(list, bowled));
    CloseAndEnd(client);
  }
  EXPECT_EQ(VintaraValue("SYSTEM") + "|" + VintaraValue("SEARCH"), "SNES|bowling");
  {
    // The next start queries the saved system and search; the box starts empty.
    Client client;
    ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
    EXPECT_EQ(ListRows(list), bowled);
    EXPECT_EQ(EditText(GetDlgItem(browser, IDC_BROWSER_SEARCH_BOX)), "");
    // The quit button leaves the saved state as it was.
    Click(browser, IDC_BROWSER_NES);
    ASSERT_TRUE(AwaitRows(list, nesBowled));
    Click(browser, IDC_BROWSER_QUIT);
    EXPECT_EQ(client.WaitExit(), 0u);
  }
  EXPECT_EQ(VintaraValue("SYSTEM") + "|" + VintaraValue("SEARCH"), "SNES|bowling");
}

TEST_F(Browser, AFreeAccountWithCountTenSeesTheReminderAndCloseSavesZero) {
  PrepareAutoLogin("demo", {{"COUNT", "\x0A"}});
  Client client;
  HWND reminder = Await(client, Kind::UpgradeReminder);
  ASSERT_NE(reminder, nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(reminder, IDC_NOTICE_CANCEL))) << "No Thanks waits 5 s";
  WaitUntil([&] { return IsWindowEnabled(GetDlgItem(reminder, IDC_NOTICE_CANCEL)) != FALSE; });
  Click(reminder, IDC_NOTICE_CANCEL);
  ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
  CloseAndEnd(client);
  EXPECT_EQ(VintaraValue("COUNT"), std::string(1, '\0'));
}

TEST_F(Browser, LaunchStartsTheEmulatorWithItsAddressAfterDisconnecting) {
  ServiceRows("player", "NES", "^[a-b]");
  const auto atari = ServiceRows("player", "2600", "^[a-b]");
  const size_t row =
      std::find_if(atari.begin(), atari.end(), [](auto& r) { return r.ends_with("|Available"); }) -
      atari.begin();
  ASSERT_LT(row, atari.size());
  PrepareAutoLogin("player", {{"NES_PATH", WindowsPath(VT_E2E_EMUSTUB)},
                              {"2600_PATH", WindowsPath(VT_E2E_EMUSTUB)}});
  Client client;
  ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
  ClickRow(list, 1);
  Click(browser, IDC_BROWSER_LAUNCH);
  EXPECT_EQ(Launches(1), std::vector<std::string>{Line("VTNES://", "player", "Axel's Derby")});
  {
    // The session is gone by the time the emulator runs: the same user logs in at once.
    RawLogin other;
    EXPECT_EQ(other.Login("player", "player"), "ok");
  }
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(browser) != FALSE; }))
      << "the browser minimises after the start";
  EXPECT_EQ(VintaraValue("SYSTEM") + VintaraValue("SEARCH") + VintaraValue("COUNT"),
            std::string("NES^[a-b]\0", 10));
  // An Atari 2600 game by a double-click: the address in double quotes.
  ShowWindow(browser, SW_RESTORE);
  Click(browser, IDC_BROWSER_ATARI);
  ASSERT_TRUE(AwaitRows(list, atari));
  ClickRow(list, static_cast<int>(row), true);
  const std::string title = atari[row].substr(0, atari[row].find('|'));
  const std::string quoted = Line("VTA26://", "player", title);
  const size_t blank = quoted.find(' ');
  EXPECT_EQ(Launches(2).at(1),
            quoted.substr(0, blank + 1) + "\"" + quoted.substr(blank + 1) + "\"");
  EXPECT_EQ(VintaraValue("SYSTEM"), "2600");
  CloseAndEnd(client);
}

// The login window of Change User; its Cancel ends the program, after saving what Close saves.
TEST_F(Browser, ChangeUserShowsTheLoginWindowAndItsCancelSavesTheState) {
  const auto rows = ServiceRows("demo", "NES", "^[a-b]"),
             snes = ServiceRows("player", "SNES", "^[a-b]");
  PrepareAutoLogin("demo", {{"NES_PATH", WindowsPath(VT_E2E_EMUSTUB)}});
  Client client;
  ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
  Click(browser, IDC_BROWSER_CHANGE_USER);
  HWND login = LogInThroughWindow(client, "player", "player");
  ASSERT_NE(login, nullptr) << "shown although automatic login is saved";
  ASSERT_TRUE(client.WaitGone(login));
  EXPECT_EQ(ListRows(list), rows) << "the rows stay the old user's";
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(browser, IDC_BROWSER_UPGRADE_NOW)))
      << "as start-up set it";
  ClickRow(list, 0);
  Click(browser, IDC_BROWSER_LAUNCH);
  EXPECT_EQ(Launches(1), std::vector<std::string>{Line("VTNES://", "player", "Aurora Chase")});
  ShowWindow(browser, SW_RESTORE);
  Click(browser, IDC_BROWSER_SNES);
  ASSERT_TRUE(AwaitRows(list, snes));
  Click(browser, IDC_BROWSER_CHANGE_USER);
  login = Await(client, Kind::Login);
  ASSERT_NE(login, nullptr);
  Click(login, IDC_LOGIN_CANCEL);
  EXPECT_EQ(client.WaitExit(), 0u);
  EXPECT_EQ(VintaraValue("SYSTEM"), "SNES");
}

// The refusals: a free account's SNES game gets its notice and the session stays; a system
// without an emulator gets its message. Neither starts anything nor minimises the window.
TEST_F(Browser, RefusedLaunchesKeepTheWindowAndTheConnection) {
  const auto rows = ServiceRows("demo", "SNES", "^[a-b]");
  const int row = static_cast<int>(
      std::find_if(rows.begin(), rows.end(), [](auto& r) { return r.ends_with("|Available"); }) -
      rows.begin());
  PrepareAutoLogin("demo", {{"SNES_PATH", WindowsPath(VT_E2E_EMUSTUB)}});
  Client client;
  ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
  ClickRow(list, 0);  // NES has no emulator
  Click(browser, IDC_BROWSER_LAUNCH);
  HWND box = Await(client, Kind::MessageBox);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Text(box), "VTBrowser");
  EXPECT_EQ(MessageBoxText(box), LaunchFailureText(LaunchOutcome::EmulatorNotSet, "NES", ""));
  Click(box, IDOK);
  ASSERT_TRUE(client.WaitGone(box));
  Click(browser, IDC_BROWSER_SNES);
  ASSERT_TRUE(AwaitRows(list, rows));
  ClickRow(list, row);
  Click(browser, IDC_BROWSER_LAUNCH);
  HWND notice = Await(client, Kind::FullAccountOnly);
  ASSERT_NE(notice, nullptr);
  RawLogin other;
  EXPECT_EQ(other.Login("demo", "demo"), "Username in use login again to clear.")
      << "the client keeps its connection";
  Click(notice, IDC_NOTICE_CANCEL);
  ASSERT_TRUE(client.WaitGone(notice));
  EXPECT_TRUE(IsWindowVisible(browser) && !IsIconic(browser));
  EXPECT_TRUE(Launches().empty());
  CloseAndEnd(client);
}

// The server drops the session (here: the same user logging in elsewhere, as after an idle time
// or a restart): the next command logs in again and shows its rows, without a notice.
TEST_F(Browser, ASessionTheServerDroppedIsLoggedInAgainSilently) {
  const auto snes = ServiceRows("demo", "SNES", "^[a-b]");
  PrepareAutoLogin("demo");
  Client client;
  ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
  RawLogin elsewhere;
  ASSERT_EQ(elsewhere.Login("demo", "demo"), "Username in use login again to clear.");
  Click(browser, IDC_BROWSER_SNES);
  EXPECT_TRUE(AwaitRows(list, snes));
  EXPECT_EQ(client.Windows().size(), 1u) << "a notice came";
  CloseAndEnd(client);
}

}  // namespace
}  // namespace vt::e2e
