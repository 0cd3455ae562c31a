// The browser of the real VTBrowser.exe; expected rows come from the service's own answers.
#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

using Browser = ServiceCase;

// The marks as fixed data once. A free account's tenth start shows the upgrade reminder first,
// and Close saves the count started again; a full account is never counted. A saved search the
// server refuses falls back to A-B, shown in the box, with no error, and is not saved again.
TEST_F(Browser, EachAccountSeesItsRowsAndReminderAndARefusedSavedSearchFallsBack) {
  const std::vector<std::string> free = {
      "Aurora Chase|Available",    "Axel's Derby|Available",       "Bubble Bowling|Preferred",
      "Bubble in Space|Available", "Bubble Party '95|UnAvailable", "Bubble Racer|Available"};
  for (const auto& [user, rows] :
       {std::pair{"demo", free}, {"player", ServiceRows("player", "NES", "^[a-b]")}}) {
    SCOPED_TRACE(user);
    const bool demo = std::string(user) == "demo";
    PrepareAutoLogin(user, {{"SEARCH", "[oops"}, {"COUNT", "\x0A"}});
    Client client;
    if (demo) {
      HWND reminder = Await(client, Kind::UpgradeReminder);
      HWND noThanks = GetDlgItem(reminder, IDC_NOTICE_CANCEL);
      EXPECT_FALSE(IsWindowEnabled(noThanks)) << "No Thanks waits 5 s";
      WaitUntil([&] { return IsWindowEnabled(noThanks) != FALSE; });
      Click(reminder, IDC_NOTICE_CANCEL);
    }
    AwaitBrowser(client);
    EXPECT_EQ(ListRows(list), rows);
    EXPECT_EQ(EditText(GetDlgItem(browser, IDC_BROWSER_SEARCH_BOX)), "[oops");
    EXPECT_EQ(IsWindowVisible(GetDlgItem(browser, IDC_BROWSER_UPGRADE_NOW)) != FALSE, demo);
    EXPECT_EQ(Text(browser), "Vintara");
    EXPECT_EQ(client.Windows().size(), 1u) << "a notice or box came with the browser";
    CloseAndEnd(client, browser);
    EXPECT_EQ(UserValue("SEARCH"), "^[a-b]");
    EXPECT_EQ(UserValue("COUNT"), demo ? std::string(1, '\0') : "\x0A");
  }
}

// The next start queries the saved system and search, with the box empty; Quit leaves the saved
// state as it was. A session the server dropped (here for a login elsewhere) is logged in again
// by the next command, without a notice.
TEST_F(Browser, ConsolesRangesAndSearchShowTheirRowsCloseSavesThemAndADroppedSessionComesBack) {
  const auto snesAB = ServiceRows("demo", "SNES", "^[a-b]"),
             snesCD = ServiceRows("demo", "SNES", "^[c-d]"),
             bowled = ServiceRows("demo", "SNES", "bowling"),
             nesBowled = ServiceRows("demo", "NES", "bowling");
  PrepareAutoLogin("demo");
  {
    Client client;
    AwaitBrowser(client);
    Click(browser, IDC_BROWSER_SNES);
    ASSERT_TRUE(AwaitRows(list, snesAB));
    Click(browser, IDC_BROWSER_RANGE_C_D);
    ASSERT_TRUE(AwaitRows(list, snesCD));
    SetText(browser, IDC_BROWSER_SEARCH_BOX, "bowling");
    Click(browser, IDC_BROWSER_SEARCH);
    ASSERT_TRUE(AwaitRows(list, bowled));
    CloseAndEnd(client, browser);
  }
  EXPECT_EQ(UserValue("SYSTEM") + "|" + UserValue("SEARCH"), "SNES|bowling");
  Client client;
  AwaitBrowser(client);
  EXPECT_EQ(ListRows(list), bowled);
  EXPECT_EQ(EditText(GetDlgItem(browser, IDC_BROWSER_SEARCH_BOX)), "");
  ASSERT_TRUE(Session("demo").InUse());
  Click(browser, IDC_BROWSER_NES);
  ASSERT_TRUE(AwaitRows(list, nesBowled));
  EXPECT_EQ(client.Windows().size(), 1u) << "a notice came";
  ClickToEnd(client, browser, IDC_BROWSER_QUIT);
  EXPECT_EQ(UserValue("SYSTEM") + "|" + UserValue("SEARCH"), "SNES|bowling");
}

// A system without an emulator gets its message; a free account's SNES game gets its notice
// and the session stays; neither starts anything nor minimises the window. After Change User
// launches carry the new credentials, the rows staying the old user's; its Cancel saves and ends.
TEST_F(Browser, RefusedLaunchesKeepTheWindowAndChangeUserLaunchesAsTheNewUser) {
  const auto rows = ServiceRows("demo", "SNES", "^[a-b]"),
             nes = ServiceRows("player", "NES", "^[a-b]");
  const int row =
      static_cast<int>(std::ranges::find(rows, "Alpine Tower|Available") - rows.begin());
  PrepareAutoLogin("demo", {{"SNES_PATH", WindowsPath(VT_E2E_EMUSTUB)}});
  Client client;
  AwaitBrowser(client);
  ClickRow(list, 0);  // NES has no emulator
  Click(browser, IDC_BROWSER_LAUNCH);
  HWND box = Await(client, Kind::MessageBox);
  EXPECT_EQ(Text(box), "VTBrowser");
  EXPECT_EQ(MessageBoxText(box),
            "The NES emulator cannot be started: NES_PATH under HKEY_LOCAL_MACHINE\\Software\\"
            "Vintara, which names its program, is missing or empty.\n\n"
            "Run the Vintara installer again to set it.");
  Click(box, IDOK);
  ASSERT_TRUE(client.WaitGone(box));
  Click(browser, IDC_BROWSER_SNES);
  ASSERT_TRUE(AwaitRows(list, rows));
  ClickRow(list, row);
  Click(browser, IDC_BROWSER_LAUNCH);
  HWND notice = Await(client, Kind::FullAccountOnly);
  EXPECT_TRUE(Session("demo").InUse()) << "the client keeps its connection";
  Click(notice, IDC_NOTICE_CANCEL);
  ASSERT_TRUE(client.WaitGone(notice));
  EXPECT_TRUE(IsWindowVisible(browser) && !IsIconic(browser));
  EXPECT_TRUE(Lines(log).empty());

  Click(browser, IDC_BROWSER_CHANGE_USER);
  ASSERT_TRUE(client.WaitGone(LogIn(Await(client, Kind::Login), "player", "player")));
  EXPECT_EQ(ListRows(list), rows) << "the rows stay the old user's";
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(browser, IDC_BROWSER_UPGRADE_NOW)))
      << "as start-up set it";
  ClickRow(list, row);
  Click(browser, IDC_BROWSER_LAUNCH);
  EXPECT_EQ(Lines(log, 1), std::vector<std::string>{WindowsPath(VT_E2E_EMUSTUB) +
                                                    " zsnes://player:player@" + web + "/SNES0004"});
  ShowWindow(browser, SW_RESTORE);
  Click(browser, IDC_BROWSER_NES);
  ASSERT_TRUE(AwaitRows(list, nes));
  Click(browser, IDC_BROWSER_CHANGE_USER);
  ClickToEnd(client, Await(client, Kind::Login), IDC_LOGIN_CANCEL);
  EXPECT_EQ(UserValue("SYSTEM"), "NES");
}

}  // namespace
}  // namespace vt::e2e
