// The browser end to end: the real VTBrowser.exe under Wine against vtservice and its sample
// catalogue, with emustub as every emulator, driven by window messages the way clicks and
// typing arrive. Waits are for conditions, never fixed sleeps.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
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

  static std::string Emustub() { return WindowsPath(VT_E2E_EMUSTUB); }

  // The command lines emustub recorded so far.
  std::vector<std::string> LaunchLog() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadWholeFile(log));
    for (std::string line; std::getline(text, line); lines.push_back(line))
      if (!line.empty() && line.back() == '\r') line.pop_back();
    return lines;
  }
  // The log's lines once there are `count` of them (or what there is after the time-out).
  std::vector<std::string> AwaitLaunches(size_t count) const {
    WaitUntil([&] { return LaunchLog().size() >= count; });
    return LaunchLog();
  }
  static int FirstRowMarked(const std::vector<std::string>& rows, const std::string& mark) {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].size() > mark.size() && rows[i].compare(rows[i].size() - mark.size(), mark.size(), mark) == 0)
        return static_cast<int>(i);
    return -1;
  }
  // The client's browser window and its list, once they are up.
  void AwaitBrowser(Client& client) {
    browser = Await(client, Kind::Browser);
    ASSERT_NE(browser, nullptr);
    list = GetDlgItem(browser, IDC_BROWSER_LIST);
  }
  void CloseAndEnd(Client& client) {
    Click(browser, IDC_BROWSER_CLOSE);
    EXPECT_EQ(client.WaitExit(), 0u);
  }

  std::string log;
  HWND browser = nullptr, list = nullptr;
};

TEST_F(Browser, FreeAndFullAccountsSeeTheSampleRowsWithTheirMarks) {
  const std::vector<std::string> free = {"Aurora Chase|Available",  "Axel's Derby|Available",
                                         "Bubble Bowling|Preferred", "Bubble in Space|Available",
                                         "Bubble Party '95|UnAvailable", "Bubble Racer|Available"};
  EXPECT_EQ(SampleRows("NES", "^[a-b]", false), free);
  for (const auto& [user, full] : {std::pair{"demo", false}, {"player", true}}) {
    SCOPED_TRACE(user);
    PrepareAutoLogin(user);
    Client client;
    ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
    EXPECT_EQ(ListRows(list), SampleRows("NES", "^[a-b]", full));
    EXPECT_EQ(IsWindowVisible(GetDlgItem(browser, IDC_BROWSER_UPGRADE_NOW)) != FALSE, !full);
    EXPECT_EQ(Text(browser), "Vintara");
    CloseAndEnd(client);
  }
}

TEST_F(Browser, ConsolesRangesAndSearchShowTheirRowsAndCloseSavesThem) {
  PrepareAutoLogin("demo");
  {
    Client client;
    ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
    Click(browser, IDC_BROWSER_SNES);
    ASSERT_TRUE(AwaitRows(list, SampleRows("SNES", "^[a-b]", false)));
    Click(browser, IDC_BROWSER_RANGE_C_D);
    ASSERT_TRUE(AwaitRows(list, SampleRows("SNES", "^[c-d]", false)));
    SetText(browser, IDC_BROWSER_SEARCH_BOX, "bowling");
    Click(browser, IDC_BROWSER_SEARCH);
    const std::vector<std::string> bowled = SampleRows("SNES", "bowling", false);
    ASSERT_FALSE(bowled.empty());
    ASSERT_TRUE(AwaitRows(list, bowled));
    CloseAndEnd(client);
  }
  EXPECT_EQ(VintaraValue("SYSTEM"), "SNES");
  EXPECT_EQ(VintaraValue("SEARCH"), "bowling");
  {
    // The next start queries the saved system and search; the box starts empty.
    Client client;
    ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
    EXPECT_EQ(ListRows(list), SampleRows("SNES", "bowling", false));
    EXPECT_EQ(Text(GetDlgItem(browser, IDC_BROWSER_SEARCH_BOX)), "");
    // The quit button leaves the saved state as it was.
    Click(browser, IDC_BROWSER_NES);
    ASSERT_TRUE(AwaitRows(list, SampleRows("NES", "bowling", false)));
    Click(browser, IDC_BROWSER_QUIT);
    EXPECT_EQ(client.WaitExit(), 0u);
  }
  EXPECT_EQ(VintaraValue("SYSTEM"), "SNES");
  EXPECT_EQ(VintaraValue("SEARCH"), "bowling");
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
  PrepareAutoLogin("player", {{"NES_PATH", Emustub()}, {"2600_PATH", Emustub()}});
  Client client;
  ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
  ClickRow(list, 1);
  Click(browser, IDC_BROWSER_LAUNCH);
  std::vector<std::string> lines = AwaitLaunches(1);
  {
    // The session is gone by the time the emulator runs: the same user logs in at once.
    RawLogin other;
    EXPECT_EQ(other.Login("player", "player"), "ok");
  }
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], Emustub() + " VTNES://player:player@" + web + "/" + SampleKey("NES", "Axel's Derby"));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(browser) != FALSE; })) << "the browser minimises after the start";
  EXPECT_EQ(VintaraValue("SYSTEM"), "NES");
  EXPECT_EQ(VintaraValue("SEARCH"), "^[a-b]");
  EXPECT_EQ(VintaraValue("COUNT"), std::string(1, '\0'));

  // An Atari 2600 game: the address in double quotes.
  ShowWindow(browser, SW_RESTORE);
  Click(browser, IDC_BROWSER_ATARI);
  const std::vector<std::string> rows = SampleRows("2600", "^[a-b]", true);
  ASSERT_TRUE(AwaitRows(list, rows));
  const int row = FirstRowMarked(rows, "|Available");
  ASSERT_GE(row, 0);
  ClickRow(list, row, true);  // a double-click launches
  lines = AwaitLaunches(2);
  ASSERT_EQ(lines.size(), 2u);
  const std::string title = rows[row].substr(0, rows[row].find('|'));
  EXPECT_EQ(lines[1], Emustub() + " \"VTA26://player:player@" + web + "/" + SampleKey("2600", title) + "\"");
  EXPECT_EQ(VintaraValue("SYSTEM"), "2600");
  ShowWindow(browser, SW_RESTORE);
  CloseAndEnd(client);
}

TEST_F(Browser, ChangeUserShowsTheLoginWindowAndTheNextLaunchCarriesTheNewUser) {
  PrepareAutoLogin("demo", {{"NES_PATH", Emustub()}});
  Client client;
  ASSERT_NO_FATAL_FAILURE(AwaitBrowser(client));
  Click(browser, IDC_BROWSER_CHANGE_USER);
  HWND login = LogInThroughWindow(client, "player", "player");
  ASSERT_NE(login, nullptr) << "shown although automatic login is saved";
  ASSERT_TRUE(client.WaitGone(login));
  EXPECT_EQ(ListRows(list), SampleRows("NES", "^[a-b]", false)) << "the rows stay the old user's";
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(browser, IDC_BROWSER_UPGRADE_NOW))) << "as start-up set it";
  ClickRow(list, 0);
  Click(browser, IDC_BROWSER_LAUNCH);
  const std::vector<std::string> lines = AwaitLaunches(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], Emustub() + " VTNES://player:player@" + web + "/" + SampleKey("NES", "Aurora Chase"));
  ShowWindow(browser, SW_RESTORE);
  CloseAndEnd(client);
}

// The refusals: a free account's SNES game gets its notice and the session stays; a system
// without an emulator gets its message. Neither starts anything nor minimises the window.
TEST_F(Browser, RefusedLaunchesKeepTheWindowAndTheConnection) {
  PrepareAutoLogin("demo", {{"SNES_PATH", Emustub()}});
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
  const std::vector<std::string> rows = SampleRows("SNES", "^[a-b]", false);
  ASSERT_TRUE(AwaitRows(list, rows));
  const int row = FirstRowMarked(rows, "|Available");
  ASSERT_GE(row, 0);
  ClickRow(list, row);
  Click(browser, IDC_BROWSER_LAUNCH);
  HWND notice = Await(client, Kind::FullAccountOnly);
  ASSERT_NE(notice, nullptr);
  RawLogin other;
  EXPECT_EQ(other.Login("demo", "demo"), "Username in use login again to clear.")
      << "the client keeps its connection";
  Click(notice, IDC_NOTICE_CANCEL);
  ASSERT_TRUE(client.WaitGone(notice));
  EXPECT_FALSE(IsIconic(browser));
  EXPECT_TRUE(IsWindowVisible(browser));
  EXPECT_TRUE(LaunchLog().empty());
  CloseAndEnd(client);
}

}  // namespace
}  // namespace vt::e2e
