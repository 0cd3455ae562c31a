// The ten notices as real windows under Wine: size, region, centring, buttons and their
// actions, the reminder's delay, and the waiting notices on screen while the thread blocks.
#include "account/win32/Notices.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "resources/resource.h"
#include "tests/account/WineNoticeSupport.h"

namespace vt {
namespace {

using test::DialogRect;
using test::RecordingAccountShell;
using test::RunModalWith;

const std::string kWeb = "www.example.test:8011";

struct ButtonCase {
  int id;
  int x, y;    // template position, dialog units
  int normal;  // its size is the button's size
  int pressed;
  int disabled = 0;  // 0: none, the normal image stays
  bool visible = true;
  int shown = 0;  // the image it shows when not the normal one
};

// A button that ends the run, what the run returns and the pages opened; `first`, if any, is
// clicked before and opens the pages while the notice stays.
struct Exit {
  int button;
  INT_PTR result;
  std::vector<std::string> pages;
  int first = 0;
};

struct NoticeCase {
  const char* name;
  std::function<std::unique_ptr<Notice>(AccountShell&)> make;
  int width, height;
  bool keyed;
  std::vector<ButtonCase> buttons;
  std::vector<Exit> exits;  // each in a run of its own
};

template <typename T>
std::function<std::unique_ptr<Notice>(AccountShell&)> Plain() {
  return [](AccountShell&) { return std::make_unique<T>(); };
}
template <typename T>
std::function<std::unique_ptr<Notice>(AccountShell&)> WithShell() {
  return [](AccountShell& s) { return std::make_unique<T>(s, kWeb); };
}

std::vector<NoticeCase> ModalNotices() {
  auto gameInUse = [](const char* tier) {
    return [tier](AccountShell& s) {
      auto n = std::make_unique<GameInUseNotice>(s, kWeb);
      n->SetAccountTier(tier);
      return std::unique_ptr<Notice>(std::move(n));
    };
  };
  const std::string account = "http://" + kWeb + "/accountinfo.php";
  return {
      {"ConnectionErrorNotice", Plain<ConnectionErrorNotice>(), 275, 150, false,
       {{1, 63, 69, IDB_OK_NORMAL, IDB_OK_PRESSED}}, {{1, IDOK, {}}}},
      {"BadLoginNotice", Plain<BadLoginNotice>(), 275, 150, true,
       {{1, 67, 69, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED}}, {{1, IDOK, {}}}},
      {"UserInUseNotice", Plain<UserInUseNotice>(), 275, 150, true,
       {{1, 63, 69, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED}}, {{1, IDOK, {}}}},
      {"CloseClientsNotice", Plain<CloseClientsNotice>(), 275, 150, true,
       {{1, 67, 69, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED}}, {{1, IDOK, {}}}},
      {"GameInUseNotice full", gameInUse("True"), 275, 250, true,
       {{1, 109, 127, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED},
        {1034, 7, 127, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED, 0, false}}, {{1, IDOK, {}}}},
      {"GameInUseNotice free", gameInUse("False"), 275, 250, true,
       {{1, 109, 127, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED},
        {1034, 7, 127, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED}},
       {{1, IDOK, {}}, {1, IDOK, {account}, IDC_NOTICE_UPGRADE_ACCOUNT}}},
      {"GameInUseNotice other tier", gameInUse("true"), 275, 250, true,
       {{1, 109, 127, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED},
        {1034, 7, 127, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED}}, {{1, IDOK, {}}}},
      {"FullAccountOnlyNotice", WithShell<FullAccountOnlyNotice>(), 275, 150, true,
       {{1, 7, 69, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED},
        {2, 112, 69, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_LOGIN_DISABLED}},
       {{1, IDOK, {"http://" + kWeb + "/index.php?vt=accountinfo"}}, {2, IDCANCEL, {}}}},
      {"LightAccountNotice", WithShell<LightAccountNotice>(), 275, 250, false,
       {{1, 9, 128, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED},
        {2, 114, 128, IDB_NO_THANKS_NORMAL, IDB_NO_THANKS_PRESSED, IDB_NO_THANKS_DISABLED}},
       {{1, IDOK, {account}}, {2, IDCANCEL, {}}}},
      {"UpgradeReminder", WithShell<UpgradeReminder>(), 275, 200, false,
       {{1, 9, 97, IDB_UPGRADE_NORMAL, IDB_UPGRADE_PRESSED},
        {2, 111, 97, IDB_NO_THANKS_NORMAL, IDB_NO_THANKS_PRESSED, IDB_NO_THANKS_DISABLED, true,
         IDB_NO_THANKS_DISABLED}},
       {{1, IDOK, {account}}}},
  };
}

TEST(Notices, EachHasItsSizeRegionCentringButtonsAndActions) {
  for (const NoticeCase& c : ModalNotices())
    for (const Exit& exit : c.exits) {
      SCOPED_TRACE(std::string(c.name) + ", clicks " + std::to_string(exit.first) + ", " + std::to_string(exit.button));
      RecordingAccountShell shell;
      std::unique_ptr<Notice> notice = c.make(shell);
      const INT_PTR r = RunModalWith(*notice, [&](HWND dlg) {
        EXPECT_EQ(test::SkinGeometryFaults(dlg, c.width, c.height, c.keyed), "");
        for (const ButtonCase& b : c.buttons) {
          SCOPED_TRACE("button " + std::to_string(b.id));
          HWND button = GetDlgItem(dlg, b.id);
          ASSERT_NE(button, nullptr);
          EXPECT_EQ(IsWindowVisible(button) != FALSE, b.visible);
          const RECT at = test::ChildRect(button);
          const RECT tmpl = DialogRect(dlg, b.x, b.y, 1, 1);
          EXPECT_EQ(at.left, tmpl.left);
          EXPECT_EQ(at.top, tmpl.top);
          const SIZE image = test::ImageSize(b.normal);
          EXPECT_EQ(at.right - at.left, image.cx) << "sized to its normal image";
          EXPECT_EQ(at.bottom - at.top, image.cy);
          if (!b.visible) continue;
          // The display catches up with the window's painting when the loop next runs. An
          // image smaller than the button (the Login button's disabled image on a CLOSE button)
          // covers the button's top left corner.
          EXPECT_TRUE(test::ScreenShows(button, b.shown ? b.shown : b.normal)) << "its image";
          if (b.shown) continue;
          SendMessageA(button, BM_SETSTATE, TRUE, 0);
          EXPECT_TRUE(test::ScreenShows(button, b.pressed)) << "pressed image";
          SendMessageA(button, BM_SETSTATE, FALSE, 0);
          EnableWindow(button, FALSE);
          EXPECT_TRUE(test::ScreenShows(button, b.disabled ? b.disabled : b.normal)) << "disabled image";
          EnableWindow(button, TRUE);
          EXPECT_TRUE(test::ScreenShows(button, b.normal));
        }
        if (exit.first) {
          SendMessageA(GetDlgItem(dlg, exit.first), BM_CLICK, 0, 0);
          EXPECT_EQ(shell.pages, exit.pages);
          EXPECT_TRUE(IsWindowVisible(dlg)) << "the notice stays open";
        }
        PostMessageA(GetDlgItem(dlg, exit.button), BM_CLICK, 0, 0);
      });
      EXPECT_EQ(r, exit.result);
      EXPECT_EQ(shell.pages, exit.pages);
    }
}

TEST(Notices, GameInUseHoldsTheBitmapOfTheTier) {
  const std::vector<COLORREF> full = test::BitmapPixels(IDB_GAME_IN_USE_FULL),
                              free = test::BitmapPixels(IDB_GAME_IN_USE_FREE);
  ASSERT_GT(test::CountDifferent(full, free), 100) << "the two bitmaps must differ";
  for (const char* tier : {"True", "False"}) {
    SCOPED_TRACE(tier);
    RecordingAccountShell shell;
    GameInUseNotice notice(shell, kWeb);
    notice.SetAccountTier(tier);
    RunModalWith(notice, [&](HWND dlg) {
      EXPECT_EQ(test::CountDifferent(test::ImagePixels(notice.Image()), std::string(tier) == "True" ? full : free), 0);
      EndDialog(dlg, IDOK);
    });
  }
}

TEST(Notices, ReminderRefusesNoThanksForFiveSecondsThenAcceptsIt) {
  RecordingAccountShell shell;
  UpgradeReminder reminder(shell, kWeb);
  DWORD opened = 0, enabled = 0;
  const INT_PTR r = RunModalWith(reminder, [&](HWND dlg) {
    opened = GetTickCount();
    HWND noThanks = GetDlgItem(dlg, IDC_NOTICE_CANCEL);
    EXPECT_FALSE(IsWindowEnabled(noThanks));
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
  EXPECT_TRUE(shell.pages.empty());
}

// Each waiting notice is opened, then this thread blocks the way a login or a query does while
// another thread reads what the screen shows at the notice's place; twice, as around every query.
TEST(Notices, WaitingNoticesAreRectangularCentredButtonlessAndOnScreenWhileTheThreadBlocks) {
  ConnectingNotice connecting;
  LoadingNotice loading;
  for (auto [notice, background] : {std::pair<WaitingNotice*, int>{&connecting, IDB_CONNECTING_NOTICE},
                                    std::pair<WaitingNotice*, int>{&loading, IDB_LOADING_NOTICE}})
    for (int shown = 1; shown <= 2; ++shown) {
      SCOPED_TRACE("template " + std::to_string(notice->TemplateId()) + ", shown " + std::to_string(shown));
      ASSERT_TRUE(notice->Open());
      EXPECT_EQ(test::SkinGeometryFaults(notice->Hwnd(), 275, 150, false), "");
      EXPECT_EQ(GetWindow(notice->Hwnd(), GW_CHILD), nullptr);
      EXPECT_TRUE(IsWindowVisible(notice->Hwnd()));
      RECT at{};
      GetWindowRect(notice->Hwnd(), &at);
      std::vector<COLORREF> seen;
      std::thread observer([&] { seen = test::CaptureScreen(at); });
      observer.join();  // no message is processed meanwhile
      EXPECT_EQ(test::CountDifferent(seen, test::BitmapPixels(background)), 0);
      notice->Close();
      EXPECT_EQ(notice->Hwnd(), nullptr);
    }
}

}  // namespace
}  // namespace vt
