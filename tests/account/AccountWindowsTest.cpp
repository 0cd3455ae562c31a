// The account windows as real windows under Wine: what only a live window shows.
// The login window, over a session and the file settings store: its geometry, the edits' font,
// the lamps and buttons on screen, the change rule through real edits, Signup and the close
// command. (The connecting notice while a login blocks: the silent-login end-to-end run; the
// saved texts in the edits: the start-up's.) The notices: size, region, centring, background, the
// images and actions of their buttons. (The waiting notices on screen while the thread blocks,
// and the reminder's No Thanks that waits: the browser's and the start-up's end-to-end runs.)
#include "account/win32/LoginWindow.h"
#include "account/win32/Notices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "service/ServerSession.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/WineWindows.h"

namespace vt {
namespace {

// Whether Login is enabled, and what it and the two lamps show on the screen.
void ExpectShown(HWND dlg, bool login, bool saveLit, bool autoLit) {
  EXPECT_EQ(IsWindowEnabled(GetDlgItem(dlg, IDC_LOGIN_LOGIN)) != FALSE, login);
  for (auto [id, image] :
       {std::pair{IDC_LOGIN_LOGIN, login ? IDB_LOGIN_NORMAL : IDB_LOGIN_DISABLED},
        {IDC_LOGIN_SAVE_SETTINGS, saveLit ? IDB_LAMP_ON : IDB_LAMP_OFF},
        {IDC_LOGIN_AUTO_LOGIN, autoLit ? IDB_LAMP_ON : IDB_LAMP_OFF}})
    EXPECT_TRUE(test::ScreenShows(GetDlgItem(dlg, id), image)) << id;
}

TEST(LoginWindow, OpeningLampsChangeRuleSignupAndCancel) {
  test::TempDir dir;
  auto store = OpenFileSettings(dir.File("registry.txt"));
  ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
  for (auto [name, bytes] : {std::pair{"SAVE", "TRUE"},
                             {"AUTOLOGIN", "FALSE"},
                             {"Username", "alice"},
                             {"Password", "wonderland"}})
    store->SetValue(Hive::Machine, kVintaraKey, name, kTypeNone, bytes);
  test::RecordingHost host;  // nothing here expects a message of the session
  test::HttpPeer web{"4.05"};
  ServerSession session(ServiceEndpoints{"127.0.0.1", 1, web.hostPort()});
  std::string passwordDest, usernameDest;
  LoginWindow window(*store);
  window.SetHost(host);
  window.Setup(passwordDest, usernameDest, session);
  bool ran = false;
  test::WhenTrue(
      [&] { return window.Hwnd() && IsWindowVisible(window.Hwnd()); },
      [&] {
        ran = true;
        HWND dlg = window.Hwnd();
        EXPECT_EQ(test::SkinGeometryFaults(dlg, 275, 150, true), "");
        LOGFONTA font{};
        const LRESULT edits = SendDlgItemMessageA(dlg, IDC_LOGIN_USERNAME, WM_GETFONT, 0, 0);
        GetObjectA(reinterpret_cast<HFONT>(edits), sizeof font, &font);
        EXPECT_EQ(font.lfFaceName + std::to_string(font.lfHeight), "Arial20");
        ExpectShown(dlg, true, true, false);

        // The change rule: both texts are needed once the user edits.
        SetDlgItemTextA(dlg, IDC_LOGIN_PASSWORD, "");
        ExpectShown(dlg, false, true, false);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(web.requests().size(), 0u) << "Enter attempted a login while Login is disabled";
        SetDlgItemTextA(dlg, IDC_LOGIN_PASSWORD, "x");

        // Auto Login lights; Save Settings off puts both out.
        SendDlgItemMessageA(dlg, IDC_LOGIN_AUTO_LOGIN, BM_CLICK, 0, 0);
        ExpectShown(dlg, true, true, true);
        SendDlgItemMessageA(dlg, IDC_LOGIN_SAVE_SETTINGS, BM_CLICK, 0, 0);
        ExpectShown(dlg, true, false, false);

        SendDlgItemMessageA(dlg, IDC_LOGIN_SIGNUP, BM_CLICK, 0, 0);
        EXPECT_EQ(host.pages,
                  (std::vector<std::string>{"http://" + web.hostPort() + "/signup.php"}));
        // The close command is Cancel (the window ends, and with it the program), and releases the
        // background first.
        SendMessageA(dlg, WM_CLOSE, 0, 0);
        EXPECT_EQ(window.Image(), nullptr);
      });
  EXPECT_EQ(window.Run(), LoginExit::Left);
  EXPECT_TRUE(ran);
  EXPECT_EQ(usernameDest, "");
  EXPECT_TRUE(host.messages.empty());
}

const std::string kWeb = "www.example.test:8011";

// Each notice's background, its buttons' images (their states: the bitmap button's tests) and
// what they open.
TEST(Notices, EachShowsItsBackgroundAndButtonsAndActs) {
  test::RecordingHost host;
  const std::string account = "http://" + kWeb + "/accountinfo.php";
  struct Button {
    int id, image;
    bool shown = true;
  };
  const Button ok{IDC_NOTICE_OK, IDB_OK_NORMAL}, close{IDC_NOTICE_OK, IDB_CLOSE_NORMAL},
      upgrade{IDC_NOTICE_OK, IDB_UPGRADE_NORMAL}, cancel{IDC_NOTICE_CANCEL, IDB_CLOSE_NORMAL},
      noThanks{IDC_NOTICE_CANCEL, IDB_NO_THANKS_NORMAL},
      more{IDC_NOTICE_UPGRADE_ACCOUNT, IDB_UPGRADE_NORMAL},
      noMore{IDC_NOTICE_UPGRADE_ACCOUNT, IDB_UPGRADE_NORMAL, false};
  const std::string index = "http://" + kWeb + "/index.php?vt=accountinfo";
  using enum NoticeKind;
  const struct {
    NoticeKind kind;
    int background, height;
    bool keyed;
    std::vector<Button> buttons;
    std::vector<std::string> pages;  // after a click on Upgrade Account if it shows, then on OK
  } cases[] = {
      {ConnectionError, IDB_CONNECTION_ERROR_NOTICE, 150, false, {ok}, {}},
      {BadLogin, IDB_BAD_LOGIN_NOTICE, 150, true, {close}, {}},
      {UserInUse, IDB_USER_IN_USE_NOTICE, 150, true, {close}, {}},
      {CloseClients, IDB_CLOSE_CLIENTS_NOTICE, 150, true, {close}, {}},
      {GameInUseFull, IDB_GAME_IN_USE_FULL, 250, true, {close, noMore}, {}},
      // Upgrade Account opens the page and leaves the notice open.
      {GameInUseFree, IDB_GAME_IN_USE_FREE, 250, true, {close, more}, {account}},
      {FullAccountOnly, IDB_FULL_ACCOUNT_ONLY_NOTICE, 150, true, {upgrade, cancel}, {index}},
      {LightAccount, IDB_LIGHT_ACCOUNT_NOTICE, 250, false, {upgrade, noThanks}, {account}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    host.pages.clear();
    Notice notice(c.kind, host, kWeb);
    test::RunModalWith(notice, [&](HWND w) {
      EXPECT_EQ(test::SkinGeometryFaults(w, 275, c.height, c.keyed), "");
      EXPECT_TRUE(test::ScreenShows(w, c.background, 3000)) << "its background";
      for (const Button& b : c.buttons) {
        HWND button = GetDlgItem(w, b.id);
        EXPECT_EQ(IsWindowVisible(button) != FALSE, b.shown) << b.id;
        EXPECT_TRUE(!b.shown || test::ScreenShows(button, b.image)) << b.id;
      }
      if (HWND up = GetDlgItem(w, IDC_NOTICE_UPGRADE_ACCOUNT); up && IsWindowVisible(up)) {
        SendMessageA(up, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(w)) << "the notice stays open";
      }
      PostMessageA(GetDlgItem(w, IDC_NOTICE_OK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(host.pages, c.pages);
  }
}

}  // namespace
}  // namespace vt
