// The browser window under Wine with real windows against a scripted game server, a web host on
// loopback and a settings file: what only a live window shows (its place, colours, focus, the
// list's own selection and scroll bars, notices and boxes over it); the boxes and pages, the
// login step and the emulator start are recorded.
#include "browser/win32/BrowserWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "resources/resource.h"
#include "tests/support/SessionFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WineWindows.h"

namespace vt {
namespace {

using namespace test;

class BrowserWindowTest : public SessionTest {
protected:
  void SetUp() override {
    settings = OpenFileSettings(dir.File("registry.txt"));
    ASSERT_TRUE(settings->CreateKey(Hive::Machine, kVintaraKey));
    nester = dir.File("nester.exe");
    std::fclose(std::fopen(nester.c_str(), "wb"));
    settings->SetValue(Hive::Machine, kVintaraKey, "NES_PATH", kTypeNone, nester);
    ScriptGoodLogin(peer, "u", "p", "False");
    ScriptQuery(peer, "NES", "^[a-b]",
                {Record("Alpha", "k-alpha", "2", "0"), Record("Beta", "k-beta", "1", "0"),
                 Record("Gamma", "k-gamma", "0", "0")});
  }
  void TearDown() override {
    EXPECT_EQ(ui.messages, std::vector<std::string>{}) << "no message box was due";
    MSG msg;  // a quit leaves its WM_QUIT for the next modal loop of this thread
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
  }
  // Runs the window on a session pointed at the peer and the web host (or another), with the body
  // on its loop; the window ends after the body, also when an assertion left the body early. The
  // login step, the emulator start, and the boxes and pages (unless they are to show) are recorded.
  void Run(std::function<void(HWND)> body, const std::string& webHost = "",
           bool showBoxes = false) {
    session = MakeSession(10000, 0, webHost);  // past the seconds a test holds a query back
    window = std::make_unique<BrowserWindow>(*session, *settings);
    if (!showBoxes) window->SetHost(ui);
    window->SetLoginStep([](BrowserWindow& w, bool) {
      w.logic().userName = "u";
      w.logic().password = "p";
      const LoginResult login = w.session().Login("u", "p", w);
      return login == LoginResult::SignedIn    ? LoginExit::SignedIn
             : login == LoginResult::OutOfDate ? LoginExit::OutOfDate
                                               : LoginExit::Left;
    });
    window->SetRandomSource([] { return 0; });
    window->SetProgramStarter([this](const std::string& line) {
      started.push_back(line);
      return win::KernelHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr));  // a game running
    });
    RunModalWith(*window, [&](HWND dlg) {
      body(dlg);
      window->End(IDCANCEL);
    });
  }

  // The pointer's messages for a click (or a double-click) at a point of the list, in order.
  static void PostClick(HWND list, POINT at, bool twice) {
    const LPARAM lp = MAKELPARAM(at.x, at.y);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, lp);
    PostMessageA(list, WM_LBUTTONUP, 0, lp);
    if (!twice) return;
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, lp);
    PostMessageA(list, WM_LBUTTONUP, 0, lp);
  }
  static POINT RowPoint(HWND list, int row) {
    RECT r{};
    ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
    return {r.left + 20, (r.top + r.bottom) / 2};
  }
  static void Key(HWND target, UINT msg, WPARAM key) {
    PostMessageA(target, msg, key, 1);
    Pump(GetParent(target));
  }
  static bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
  }

  TempDir dir;
  std::unique_ptr<SettingsStore> settings;
  std::string nester;
  std::unique_ptr<ServerSession> session;
  std::unique_ptr<BrowserWindow> window;
  std::vector<std::string> started;
};

// (The title, the Upgrade Now! button, the rows' texts and marks: the end-to-end runs.)
TEST_F(BrowserWindowTest, OpensCentredWithItsRowsAndColoursAndNothingSelectedAndMinimises) {
  Run([&](HWND dlg) {
    EXPECT_EQ(SkinGeometryFaults(dlg, 500, 600, false), "");
    HWND list = GetDlgItem(dlg, IDC_BROWSER_LIST);
    RECT client{};
    GetClientRect(list, &client);
    // Both columns show whole, the longest mark fits its column, and a title has the most room.
    const int title = ListView_GetColumnWidth(list, 0), mark = ListView_GetColumnWidth(list, 1);
    EXPECT_LE(title + mark, client.right);
    EXPECT_LT(ListView_GetStringWidth(list, "UnAvailable"), mark);
    EXPECT_GT(title, 3 * mark);
    EXPECT_FALSE(Enabled(dlg, IDC_BROWSER_LAUNCH) || Enabled(dlg, IDC_BROWSER_GAME_INFO));
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(ListView_GetItemCount(list), 3);
    // Minimise leaves the connection open (the place kept across a restore: the skinned
    // window's own test).
    Click(dlg, IDC_BROWSER_MINIMISE);
    EXPECT_TRUE(IsIconic(dlg) && session->connected());
  });
}

// What Launch and Enter start is the row the list highlights: moved by keys and type-ahead, gone
// after a click on empty space or a refresh; the focused button shows a mark.
TEST_F(BrowserWindowTest, KeysTypeAheadAndClicksSelectWhatLaunches) {
  ScriptGoodLogin(peer.NextConnection(), "u", "p", "False");
  ScriptQuery(peer, "NES", "^[c-d]", {Record("Contra", "k-contra", "1", "0")});
  Run([&](HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_BROWSER_LIST);
    Key(list, WM_KEYDOWN, VK_END);
    EXPECT_TRUE(Enabled(dlg, IDC_BROWSER_LAUNCH) && Enabled(dlg, IDC_BROWSER_GAME_INFO));
    Click(dlg, IDC_BROWSER_GAME_INFO);
    EXPECT_EQ(ui.pages, std::vector<std::string>{"http://" + web.hostPort() +
                                                 "/gameinfo.php?gameinfo=k-gamma"});
    Key(list, WM_CHAR, 'b');  // type-ahead
    EXPECT_EQ(window->logic().selection(), 1u);
    // The focused button shows a mark over its image; the list's focus takes it away again.
    HWND launch = GetDlgItem(dlg, IDC_BROWSER_LAUNCH);
    SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(launch), TRUE);
    Pump(dlg);
    EXPECT_FALSE(ScreenShows(launch, IDB_LAUNCH_NORMAL, 0)) << "no focus mark";
    SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    Pump(dlg);
    EXPECT_TRUE(ScreenShows(launch, IDB_LAUNCH_NORMAL, 0));
    Key(list, WM_KEYDOWN, VK_RETURN);
    ASSERT_EQ(started,
              std::vector<std::string>{nester + " VTNES://u:p@" + web.hostPort() + "/k-beta"});
    ShowWindow(dlg, SW_RESTORE);
    // A double-click on empty space below the rows clears the highlight and launches nothing.
    PostClick(list, {40, RowPoint(list, 2).y + 60}, true);
    Pump(dlg);
    EXPECT_EQ(started.size(), 1u);
    EXPECT_FALSE(Enabled(dlg, IDC_BROWSER_LAUNCH));
    PostClick(list, RowPoint(list, 0), false);
    Pump(dlg);
    EXPECT_TRUE(Enabled(dlg, IDC_BROWSER_LAUNCH));
    Click(dlg, IDC_BROWSER_RANGE_C_D);  // new rows: nothing is highlighted, Launch is off
    EXPECT_EQ(ListView_GetItemCount(list), 1) << "the new rows";
    EXPECT_FALSE(Enabled(dlg, IDC_BROWSER_LAUNCH) || Enabled(dlg, IDC_BROWSER_GAME_INFO));
    Key(list, WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(started.size(), 1u);
  });
}

// While a query blocks the thread: the loading notice is on the screen without taking activation
// from the browser, and a double-click made meanwhile is dropped, not run on the new rows.
TEST_F(BrowserWindowTest, WhileAQueryBlocksTheNoticeShowsAndInputIsDropped) {
  ScriptQueryHead(peer, "NES", "^[c-d]").Pause(4000);  // room to paint on a busy machine
  peer.Send(CountField("1") + Record("Contra", "k-contra", "1", "0"));
  bool shown = false;
  HWND active = nullptr;
  LONG_PTR noticeStyle = 0;
  Run([&](HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_BROWSER_LIST);
    const POINT row = RowPoint(list, 0);  // asked now: the blocked thread answers no message
    std::thread impatient([&, list, row] {
      PumpUntil(
          [&] { return window->loading().Hwnd() && IsWindowVisible(window->loading().Hwnd()); },
          5000);
      HWND notice = window->loading().Hwnd();
      shown = ScreenShows(notice, IDB_LOADING_NOTICE, 3000);
      noticeStyle = GetWindowLongPtrA(notice, GWL_EXSTYLE);
      active = GetForegroundWindow();
      PostClick(list, row, true);
    });
    Click(dlg, IDC_BROWSER_RANGE_C_D);
    impatient.join();
    Pump(dlg);
    EXPECT_EQ(ListView_GetItemCount(list), 1) << "the new rows";
    EXPECT_TRUE(started.empty()) << "the queued double-click launched";
    EXPECT_FALSE(Enabled(dlg, IDC_BROWSER_LAUNCH));
    EXPECT_EQ(active, dlg) << "the notice took activation";
  });
  EXPECT_TRUE(shown) << "the loading notice was not on screen";
  EXPECT_TRUE(noticeStyle & WS_EX_NOACTIVATE);
}

// A box of the layers below is owned by the window in front, which it disables meanwhile, so
// that no click runs a second command inside the first: task-modal before the browser shows.
TEST_F(BrowserWindowTest, ALowerLayerBoxDisablesTheWindowBehindIt) {
  ScriptGoodLogin(peer.NextConnection(), "u", "p", "False");
  ScriptQuery(peer, "SNES", "^[a-b]", {});
  const std::string webHost = HttpPeer("4.05").hostPort();  // a web host that is gone
  // Every box that comes (the version check's, at each login): its owner and the browser's
  // state. The waiter outlives the case: it looks only while `live`.
  std::vector<std::string> seen;
  HWND last = nullptr;  // gone by the next box
  const auto live = std::make_shared<bool>(true);
  std::function<void()> arm = [&] {
    const auto boxUp = [&, live] { return *live && VisibleDialog({window->Hwnd(), last}); };
    WhenTrue(boxUp, [&] {
      HWND browser = window->Hwnd(), box = last = VisibleDialog({browser, last});
      HWND owner = GetWindow(box, GW_OWNER);
      seen.push_back(!owner ? "unowned" : owner == browser ? "owned" : "other owner");
      seen.push_back(IsWindowEnabled(browser) ? "enabled" : "disabled");
      arm();
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
  };
  arm();  // the start-up login's version check: task-modal, the hidden browser disabled too
  Run(
      [&](HWND dlg) {
        session->Disconnect();
        Click(dlg, IDC_BROWSER_SNES);  // logs in again: the version check's box
      },
      webHost, true);
  *live = false;
  EXPECT_EQ(seen, (std::vector<std::string>{"unowned", "disabled", "owned", "disabled"}));
  peer.Finish();
  EXPECT_EQ(peer.Received(1), GoodLoginBytes("u", "p") + QueryBytes("SNES", "^[a-b]"));
}

}  // namespace
}  // namespace vt
