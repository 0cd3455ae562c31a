// The notices as real windows under Wine: size, region, centring, background, the images and
// actions of their buttons, and the reminder's delay. (The waiting notices on screen while the
// thread blocks: the browser window's and the login window's tests.)
#include "account/win32/Notices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/WineWindows.h"
#include "tests/support/RecordingHost.h"

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

struct Button {
  int id, normal, pressed, disabled;  // disabled 0: the normal image stays
  bool shown = true;
};

TEST(Notices, EachShowsItsBackgroundAndButtonsAndActs) {
  test::RecordingHost host;
  const std::string account = "http://" + kWeb + "/accountinfo.php";
  const Button ok{1, IDB_OK_NORMAL, IDB_OK_PRESSED, 0},
      close{1, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, 0},
      closeLogin{1, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED},
      upgrade{1, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0},
      noThanks{2, IDB_NO_THANKS_NORMAL, IDB_NO_THANKS_PRESSED, IDB_NO_THANKS_DISABLED};
  const struct {
    NoticeKind kind;
    int background, height;
    bool keyed;
    std::vector<Button> buttons;
    std::vector<std::string> pages;  // after a click on 1034 if it shows, then on button 1
  } cases[] = {
      {NoticeKind::ConnectionError, IDB_CONNECTION_ERROR_NOTICE, 150, false, {ok}, {}},
      {NoticeKind::BadLogin, IDB_BAD_LOGIN_NOTICE, 150, true, {close}, {}},
      {NoticeKind::UserInUse, IDB_USER_IN_USE_NOTICE, 150, true, {closeLogin}, {}},
      {NoticeKind::CloseClients, IDB_CLOSE_CLIENTS_NOTICE, 150, true, {closeLogin}, {}},
      {NoticeKind::GameInUseFull, IDB_GAME_IN_USE_FULL, 250, true,
       {close, {IDC_NOTICE_UPGRADE_ACCOUNT, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0, false}},
       {}},
      // Upgrade Account opens the page and leaves the notice open.
      {NoticeKind::GameInUseFree, IDB_GAME_IN_USE_FREE, 250, true,
       {close, {IDC_NOTICE_UPGRADE_ACCOUNT, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0}},
       {account}},
      {NoticeKind::FullAccountOnly, IDB_FULL_ACCOUNT_ONLY_NOTICE, 150, true,
       {upgrade, {2, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED}},
       {"http://" + kWeb + "/index.php?vt=accountinfo"}},
      {NoticeKind::LightAccount, IDB_LIGHT_ACCOUNT_NOTICE, 250, false, {upgrade, noThanks},
       {account}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    host.pages.clear();
    bool seen = false;
    test::WhenTrue([] { return test::VisibleDialog() != nullptr; },
                   [&] {
                     HWND w = test::VisibleDialog();
                     seen = true;
                     EXPECT_EQ(test::SkinGeometryFaults(w, 275, c.height, c.keyed), "");
                     EXPECT_TRUE(FaceShows(w, c.background)) << "its background";
                     for (const Button& b : c.buttons) {
                       SCOPED_TRACE("button " + std::to_string(b.id));
                       HWND button = GetDlgItem(w, b.id);
                       ASSERT_EQ(IsWindowVisible(button) != FALSE, b.shown);
                       const RECT at = test::ChildRect(button);
                       const SIZE image = test::ImageSize(b.normal);
                       EXPECT_EQ(std::pair(at.right - at.left, at.bottom - at.top),
                                 std::pair(image.cx, image.cy));
                       if (!b.shown) continue;
                       EXPECT_TRUE(test::ScreenShows(button, b.normal)) << "its image";
                       SendMessageA(button, BM_SETSTATE, TRUE, 0);
                       EXPECT_TRUE(test::ScreenShows(button, b.pressed)) << "pressed image";
                       SendMessageA(button, BM_SETSTATE, FALSE, 0);
                       EnableWindow(button, FALSE);
                       // An image smaller than the button (the Login button's on a CLOSE button)
                       // covers its top left corner.
                       EXPECT_TRUE(test::ScreenShows(button, b.disabled ? b.disabled : b.normal))
                           << "disabled image";
                       EnableWindow(button, TRUE);
                     }
                     if (HWND more = GetDlgItem(w, IDC_NOTICE_UPGRADE_ACCOUNT);
                         more && IsWindowVisible(more)) {
                       SendMessageA(more, BM_CLICK, 0, 0);
                       EXPECT_TRUE(IsWindowVisible(w)) << "the notice stays open";
                     }
                     PostMessageA(GetDlgItem(w, IDC_NOTICE_OK), BM_CLICK, 0, 0);
                   });
    Notice(c.kind, host, kWeb).RunModal();
    EXPECT_TRUE(seen);
    EXPECT_EQ(host.pages, c.pages);
  }
}

TEST(Notices, ReminderRefusesNoThanksForFiveSecondsThenAcceptsIt) {
  test::RecordingHost host;
  Notice reminder(NoticeKind::UpgradeReminder, host, kWeb);
  DWORD opened = 0, enabled = 0;
  const INT_PTR r = test::RunModalWith(reminder, [&](HWND dlg) {
    opened = GetTickCount();
    EXPECT_EQ(test::SkinGeometryFaults(dlg, 275, 200, false), "");
    HWND noThanks = GetDlgItem(dlg, IDC_NOTICE_CANCEL);
    EXPECT_FALSE(IsWindowEnabled(noThanks));
    EXPECT_TRUE(test::ScreenShows(noThanks, IDB_NO_THANKS_DISABLED));
    // A click that got through, Escape and the close command are all refused for now.
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_NOTICE_CANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(noThanks));
    SendMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(dlg));
    test::WhenTrue([noThanks] { return IsWindowEnabled(noThanks) != FALSE; },
                   [&, noThanks] {
                     enabled = GetTickCount();
                     PostMessageA(noThanks, BM_CLICK, 0, 0);
                   });
  });
  EXPECT_EQ(r, IDCANCEL);
  EXPECT_GE(enabled - opened, 4900u) << "No Thanks came on after " << enabled - opened << " ms";
  EXPECT_TRUE(host.pages.empty());
  Notice again(NoticeKind::UpgradeReminder, host, kWeb);  // Upgrade works at once
  EXPECT_EQ(test::RunModalWith(
                again, [](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); }),
            IDOK);
  EXPECT_EQ(host.pages, std::vector<std::string>{"http://" + kWeb + "/accountinfo.php"});
}

}  // namespace
}  // namespace vt
