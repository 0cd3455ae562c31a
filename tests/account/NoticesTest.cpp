// The notices as real windows under Wine: size, region, centring, background, the images and
// actions of their buttons. (The waiting notices on screen while the thread blocks, and the
// reminder's No Thanks that waits: the browser's and the start-up's end-to-end runs.)
#include "account/win32/Notices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/WineWindows.h"

namespace vt {
namespace {

const std::string kWeb = "www.example.test:8011";

// Whether the screen comes to show the bitmap at the window's place, wherever the window's own
// face shows: inside its region and outside its visible controls.
bool FaceShows(HWND w, int resourceId) {
  SIZE size{};
  const std::vector<COLORREF> image = test::BitmapPixels(resourceId, &size);
  RECT r{};
  GetWindowRect(w, &r);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(w, region);
  std::vector<RECT> controls;
  for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsWindowVisible(c)) controls.push_back(test::ChildRect(c));
  std::vector<COLORREF> face = image;
  const bool shows = test::PumpUntil(
      [&] {
        const std::vector<COLORREF> screen =
            test::CaptureScreen({r.left, r.top, r.left + size.cx, r.top + size.cy});
        for (int i = 0; i < size.cx * size.cy && screen.size() == image.size(); ++i) {
          const POINT p{i % size.cx, i / size.cx};
          const bool covered = std::any_of(controls.begin(), controls.end(),
                                           [&](const RECT& c) { return PtInRect(&c, p); });
          face[i] = PtInRegion(region, p.x, p.y) && !covered ? screen[i] : image[i];
        }
        return test::CountDifferent(face, image) == 0;
      },
      3000);
  DeleteObject(region);
  return shows;
}

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
      upgrade{IDC_NOTICE_OK, IDB_UPGRADE_NORMAL};
  const struct {
    NoticeKind kind;
    int background, height;
    bool keyed;
    std::vector<Button> buttons;
    std::vector<std::string> pages;  // after a click on Upgrade Account if it shows, then on OK
  } cases[] = {
      {NoticeKind::ConnectionError, IDB_CONNECTION_ERROR_NOTICE, 150, false, {ok}, {}},
      {NoticeKind::BadLogin, IDB_BAD_LOGIN_NOTICE, 150, true, {close}, {}},
      {NoticeKind::UserInUse, IDB_USER_IN_USE_NOTICE, 150, true, {close}, {}},
      {NoticeKind::CloseClients, IDB_CLOSE_CLIENTS_NOTICE, 150, true, {close}, {}},
      {NoticeKind::GameInUseFull,
       IDB_GAME_IN_USE_FULL,
       250,
       true,
       {close, {IDC_NOTICE_UPGRADE_ACCOUNT, IDB_UPGRADE_NORMAL, false}},
       {}},
      // Upgrade Account opens the page and leaves the notice open.
      {NoticeKind::GameInUseFree,
       IDB_GAME_IN_USE_FREE,
       250,
       true,
       {close, {IDC_NOTICE_UPGRADE_ACCOUNT, IDB_UPGRADE_NORMAL}},
       {account}},
      {NoticeKind::FullAccountOnly,
       IDB_FULL_ACCOUNT_ONLY_NOTICE,
       150,
       true,
       {upgrade, {IDC_NOTICE_CANCEL, IDB_CLOSE_NORMAL}},
       {"http://" + kWeb + "/index.php?vt=accountinfo"}},
      {NoticeKind::LightAccount,
       IDB_LIGHT_ACCOUNT_NOTICE,
       250,
       false,
       {upgrade, {IDC_NOTICE_CANCEL, IDB_NO_THANKS_NORMAL}},
       {account}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    host.pages.clear();
    Notice notice(c.kind, host, kWeb);
    test::RunModalWith(notice, [&](HWND w) {
      EXPECT_EQ(test::SkinGeometryFaults(w, 275, c.height, c.keyed), "");
      EXPECT_TRUE(FaceShows(w, c.background)) << "its background";
      for (const Button& b : c.buttons) {
        HWND button = GetDlgItem(w, b.id);
        EXPECT_EQ(IsWindowVisible(button) != FALSE, b.shown) << b.id;
        EXPECT_TRUE(!b.shown || test::ScreenShows(button, b.image)) << b.id;
      }
      if (HWND more = GetDlgItem(w, IDC_NOTICE_UPGRADE_ACCOUNT); more && IsWindowVisible(more)) {
        SendMessageA(more, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(w)) << "the notice stays open";
      }
      PostMessageA(GetDlgItem(w, IDC_NOTICE_OK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(host.pages, c.pages);
  }
}

}  // namespace
}  // namespace vt
