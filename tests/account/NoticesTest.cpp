// The notices as real windows under Wine: size, region, centring, background, the images and
// actions of their buttons. (The waiting notices on screen while the thread blocks, and the
// reminder's No Thanks that waits: the browser's and the start-up's end-to-end runs.)
#include "account/win32/Notices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/WineWindows.h"

namespace vt {
namespace {

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
