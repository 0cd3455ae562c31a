// The browser window under Wine with real windows: its layout and start state, the list's rows
// and scroll bars, and every command, against a scripted game server, a web host on loopback
// and a settings file; only the shell, the login step and the emulator start are recorded.
#include "browser/win32/BrowserWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "resources/resource.h"
#include "service/Endpoints.h"
#include "tests/account/WineNoticeSupport.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/LoopbackSocket.h"
#include "tests/support/ScriptedPeer.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

std::string Z(const std::string& text) { return text + std::string(1, '\0'); }
std::string CountField(size_t n) {
  std::string f = std::to_string(n);
  f.resize(5, '\0');
  return f;
}
std::string Record(const std::string& title, const std::string& key, const std::string& copies,
                   const std::string& full) {
  return Z(title + "\n" + key + "\n" + copies + "\n" + full);
}

class NoUi : public ServiceUi {
public:
  void ShowMessage(const std::string&, const char*) override {}
  void EndProgram(int) override {}
};

class BrowserWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    settings = OpenFileSettings(dir.File("registry.txt"));
    ASSERT_TRUE(settings->CreateKey(Hive::Machine, kVintaraKey));
  }
  void TearDown() override {
    EXPECT_EQ(messages, std::vector<std::string>{}) << "no message box was due";
    // A quit leaves its WM_QUIT for the next modal loop of this thread.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  void ScriptLogin(const std::string& tier) {
    peer.Expect("u").Send("user?").Expect("p").Send("ok").Expect(64).Send("ok").Expect(3).Send(tier);
  }
  void ScriptQuery(const std::string& alias, const std::string& pattern,
                   const std::vector<std::string>& records) {
    peer.Expect(Z("qr")).Send("1").Expect(Z(alias)).Send("2").Expect(Z(pattern)).Send("3");
    std::string all = CountField(records.size());
    for (const std::string& r : records) all += r;
    peer.Expect(Z("ok")).Send(all);
  }
  void ScriptStart() {
    ScriptLogin("False");
    ScriptQuery("NES", "^[a-b]",
                {Record("Alpha", "k-alpha", "2", "0"), Record("Beta", "k-beta", "0", "3"),
                 Record("Gamma", "k-gamma", "0", "0")});
  }

  // The window on a session pointed at the peer (started here) and the web host.
  BrowserWindow& Make(uint16_t port = 0) {
    if (port == 0) {
      peer.Start();
      port = peer.port();
    }
    ServiceEndpoints e;
    e.gameServer = "127.0.0.1";
    e.gamePort = port;
    e.webHost = web.hostPort();
    e.receiveTimeoutMs = 5000;
    session = std::make_unique<ServerSession>(ui, e);
    return Open();
  }
  // A new window on the current session; the login step, the emulator start and the message
  // box are recorded.
  BrowserWindow& Open() {
    window = std::make_unique<BrowserWindow>(*session, *settings, shell);
    window->SetLoginStep([this](BrowserWindow& w, bool suppressAutoLogin) {
      logins.push_back(suppressAutoLogin);
      w.logic().userName = "u";
      w.logic().password = "p";
      return w.session().Login("u", "p");
    });
    window->SetRandomSource([] { return 0; });
    window->SetProgramStarter([this](const std::string& line) {
      started.push_back(line);
      return true;
    });
    window->SetMessageReporter([this](const std::string& text, const std::string& caption) {
      messages.push_back(caption + ": " + text);
    });
    return *window;
  }
  INT_PTR Run(std::function<void(HWND)> body) { return test::RunModalWith(*window, std::move(body)); }

  std::string Value(const std::string& name) {
    std::string bytes;
    if (!settings->QueryValue(Hive::Machine, kVintaraKey, name, bytes)) return "<missing>";
    return bytes;
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    HWND list = window->list().Hwnd();
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
      char title[256] = {}, mark[64] = {};
      ListView_GetItemText(list, i, 0, title, sizeof title);
      ListView_GetItemText(list, i, 1, mark, sizeof mark);
      rows.push_back(std::string(title) + "|" + mark);
    }
    return rows;
  }
  // A left click on row i, as the pointer makes it.
  void ClickRow(int i, bool twice = false) {
    HWND list = window->list().Hwnd();
    RECT r{};
    ListView_GetItemRect(list, i, &r, LVIR_BOUNDS);
    const LPARAM at = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
    // Posted in the pointer's order; the release reports the click.
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    if (twice) {
      PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageA(list, WM_LBUTTONUP, 0, at);
    }
    DrainQueue();
  }
  static void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  void Key(HWND target, UINT vk) {
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
  }
  static void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  static void Clicked(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
  static int DefaultId(HWND dialog) { return LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)); }

  test::TempDir dir;
  std::unique_ptr<SettingsStore> settings;
  test::ScriptedPeer peer;
  test::HttpPeer web{"current: 4.05"};
  NoUi ui;
  test::RecordingAccountShell shell;
  std::unique_ptr<ServerSession> session;
  std::unique_ptr<BrowserWindow> window;
  std::vector<bool> logins;
  std::vector<std::string> started, messages;
};

struct ControlAt {
  int id;
  const char* kind;
  int x, y, w, h;   // dialog units
  int imageW, imageH;  // the button's normal image; 0 for the list and the box
  bool enabled;
};

// Every control of a free account's window, all of them visible.
std::vector<ControlAt> Controls() {
  std::vector<ControlAt> all = {
      {IDC_BROWSER_LIST, "SysListView32", 7, 69, 264, 237, 0, 0, true},
      {IDC_BROWSER_SEARCH_BOX, "Edit", 7, 326, 206, 13, 0, 0, true},
      {IDC_BROWSER_CLOSE, "Button", 261, 345, 50, 14, 93, 34, true},
      {IDC_BROWSER_LAUNCH, "Button", 13, 345, 50, 14, 93, 34, false},
      {IDC_BROWSER_GAME_INFO, "Button", 75, 345, 50, 14, 93, 34, false},
      {IDC_BROWSER_SETUP_HELP, "Button", 137, 345, 50, 14, 93, 34, true},
      {IDC_BROWSER_UPGRADE_NOW, "Button", 198, 345, 50, 14, 93, 34, true},
      {IDC_BROWSER_SEARCH, "Button", 219, 322, 50, 14, 93, 34, false},
      {IDC_BROWSER_NES, "Button", 78, 48, 50, 14, 80, 29, true},
      {IDC_BROWSER_SNES, "Button", 141, 48, 50, 14, 80, 29, true},
      {IDC_BROWSER_ATARI, "Button", 15, 24, 50, 14, 80, 29, true},
      {IDC_BROWSER_GENESIS, "Button", 141, 24, 50, 14, 80, 29, true},
      {IDC_BROWSER_GAMEBOY, "Button", 204, 48, 50, 14, 80, 29, true},
      {IDC_BROWSER_COLECO, "Button", 15, 48, 50, 14, 80, 29, true},
      {IDC_BROWSER_SMS, "Button", 78, 24, 50, 14, 80, 29, true},
      {IDC_BROWSER_GAMEGEAR, "Button", 204, 24, 50, 14, 80, 29, true},
      {IDC_BROWSER_QUIT, "Button", 304, 4, 15, 14, 30, 30, true},
      {IDC_BROWSER_MINIMISE, "Button", 284, 4, 15, 14, 30, 30, true},
      {IDC_BROWSER_CHANGE_USER, "Button", 207, 5, 50, 14, 116, 31, true},
  };
  // The fifteen letter ranges, top to bottom in one column at x 287, 16 units apart from y 76.
  const int ranges[] = {IDC_BROWSER_RANGE_0_9, IDC_BROWSER_RANGE_A_B, IDC_BROWSER_RANGE_C_D,
                        IDC_BROWSER_RANGE_E_F, IDC_BROWSER_RANGE_G_H, IDC_BROWSER_RANGE_I_J,
                        IDC_BROWSER_RANGE_K_L, IDC_BROWSER_RANGE_M_N, IDC_BROWSER_RANGE_O_P,
                        IDC_BROWSER_RANGE_Q_R, IDC_BROWSER_RANGE_S_T, IDC_BROWSER_RANGE_U_V,
                        IDC_BROWSER_RANGE_W_X, IDC_BROWSER_RANGE_Y_Z, IDC_BROWSER_RANGE_ALL};
  for (int i = 0; i < 15; ++i) all.push_back({ranges[i], "Button", 287, 76 + 16 * i, 50, 14, 69, 29, true});
  return all;
}

TEST_F(BrowserWindowTest, OpensCentredWithEveryControlInPlaceAndTheRowsFilled) {
  ScriptStart();
  Make();
  Run([&](HWND dlg) {
    RECT wr{};
    GetWindowRect(dlg, &wr);
    EXPECT_EQ(wr.right - wr.left, 500);
    EXPECT_EQ(wr.bottom - wr.top, 600);
    EXPECT_EQ(wr.left, (GetSystemMetrics(SM_CXSCREEN) - 500) / 2);
    EXPECT_EQ(wr.top, (GetSystemMetrics(SM_CYSCREEN) - 600) / 2);
    char title[32] = {};
    GetWindowTextA(dlg, title, sizeof title);
    EXPECT_STREQ(title, "Vintara");
    for (const ControlAt& c : Controls()) {
      HWND h = GetDlgItem(dlg, c.id);
      ASSERT_NE(h, nullptr) << c.id;
      char cls[32] = {};
      GetClassNameA(h, cls, sizeof cls);
      EXPECT_STREQ(cls, c.kind) << c.id;
      const RECT want = test::DialogRect(dlg, c.x, c.y, c.w, c.h);
      const RECT got = test::ChildRect(h);
      EXPECT_EQ(got.left, want.left) << c.id;
      EXPECT_EQ(got.top, want.top) << c.id;
      EXPECT_EQ(got.right - got.left, c.imageW ? c.imageW : want.right - want.left) << c.id;
      EXPECT_EQ(got.bottom - got.top, c.imageH ? c.imageH : want.bottom - want.top) << c.id;
      EXPECT_TRUE(IsWindowVisible(h)) << c.id;
      EXPECT_EQ(IsWindowEnabled(h) != FALSE, c.enabled) << c.id;
    }
    // The columns from u = client width / 6, the list's colours and fonts.
    HWND list = GetDlgItem(dlg, IDC_BROWSER_LIST);
    RECT client{};
    GetClientRect(list, &client);
    const int u = client.right / 6;
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 5 * u - 24);
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), u + 20);
    EXPECT_EQ(client.right, test::ChildRect(list).right - test::ChildRect(list).left)
        << "no platform scroll bar takes room";
    EXPECT_EQ(ListView_GetBkColor(list), RGB(34, 80, 163));
    EXPECT_EQ(ListView_GetTextColor(list), RGB(255, 255, 255));
    for (auto [id, height] : {std::pair{IDC_BROWSER_LIST, 16}, {IDC_BROWSER_SEARCH_BOX, 20}}) {
      LOGFONTA font{};
      GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(dlg, id, WM_GETFONT, 0, 0)), sizeof font, &font);
      EXPECT_EQ(font.lfHeight, height);
      EXPECT_STREQ(font.lfFaceName, "Arial");
    }
    // The search box is skin blue on screen.
    RECT box{};
    GetWindowRect(GetDlgItem(dlg, IDC_BROWSER_SEARCH_BOX), &box);
    const std::vector<COLORREF> pixels = test::CaptureScreen(box);
    EXPECT_EQ(pixels.at(pixels.size() / 2 + 100), RGB(34, 80, 163));
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Alpha|Available", "Beta|Preferred", "Gamma|UnAvailable"}));
    window->End(IDCANCEL);
  });
  EXPECT_EQ(logins, std::vector<bool>{false});
}

TEST_F(BrowserWindowTest, EnterLaunchesAfterASelectionAndSearchesAfterATypedSearch) {
  ScriptStart();
  ScriptQuery("NES", "b", {Record("Beta", "k-beta", "1", "0")});
  const std::string nester = dir.File("nester.exe");
  { FILE* f = std::fopen(nester.c_str(), "wb"); std::fclose(f); }
  settings->SetValue(Hive::Machine, kVintaraKey, "NES_PATH", kTypeNone, nester);
  Make();
  Run([&](HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_BROWSER_LIST);
    ClickRow(2);
    EXPECT_EQ(session->selectedIndex, 2u);
    EXPECT_TRUE(Enabled(dlg, IDC_BROWSER_LAUNCH));
    EXPECT_TRUE(Enabled(dlg, IDC_BROWSER_GAME_INFO));
    EXPECT_EQ(DefaultId(dlg), IDC_BROWSER_LAUNCH);
    // Arrow keys move the highlight, not the selection the commands use.
    SendMessageA(list, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(session->selectedIndex, 2u);
    // Typing in the box makes Search the default; emptying it disables Search.
    HWND box = GetDlgItem(dlg, IDC_BROWSER_SEARCH_BOX);
    SetWindowTextA(box, "b");
    EXPECT_TRUE(Enabled(dlg, IDC_BROWSER_SEARCH));
    EXPECT_EQ(DefaultId(dlg), IDC_BROWSER_SEARCH);
    SetWindowTextA(box, "");
    EXPECT_FALSE(Enabled(dlg, IDC_BROWSER_SEARCH));
    SetWindowTextA(box, "b");
    Key(box, VK_RETURN);
    test::WhenTrue([&, list] { return ListView_GetItemCount(list) == 1; }, [&, dlg, list] {
      EXPECT_EQ(session->filter, "b");
      EXPECT_TRUE(Enabled(dlg, IDC_BROWSER_LAUNCH)) << "a refresh does not disable the commands";
      ClickRow(0);
      EXPECT_EQ(DefaultId(dlg), IDC_BROWSER_LAUNCH);
      Key(list, VK_RETURN);
      test::WhenTrue([&] { return !started.empty(); }, [&, dlg] {
        EXPECT_TRUE(IsIconic(dlg));
        EXPECT_FALSE(session->connected);
        window->End(IDCANCEL);
      });
    });
  });
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], nester + " VTNES://u:p@" + web.hostPort() + "/k-beta");
}

TEST_F(BrowserWindowTest, PagesMinimiseAndAboutLeaveTheConnectionOpen) {
  ScriptStart();
  Make();
  bool aboutSeen = false;
  Run([&](HWND dlg) {
    ClickRow(1);
    Clicked(dlg, IDC_BROWSER_GAME_INFO);
    Clicked(dlg, IDC_BROWSER_UPGRADE_NOW);
    Click(dlg, IDC_BROWSER_MINIMISE);
    test::WhenTrue([dlg] { return IsIconic(dlg) != FALSE; }, [&, dlg] {
      EXPECT_TRUE(session->connected);
      ShowWindow(dlg, SW_RESTORE);
      // The About item of the system menu.
      HMENU menu = GetSystemMenu(dlg, FALSE);
      char text[64] = {};
      GetMenuStringA(menu, IDM_ABOUTBOX, text, sizeof text, MF_BYCOMMAND);
      EXPECT_STREQ(text, "&About VTBrowser...");
      test::WhenTrue([] { return FindWindowA("#32770", "About VTBrowser") != nullptr; }, [&] {
        aboutSeen = true;
        PostMessageA(FindWindowA("#32770", "About VTBrowser"), WM_COMMAND, IDOK, 0);
        test::WhenTrue([] { return FindWindowA("#32770", "About VTBrowser") == nullptr; },
                       [&] { window->End(IDCANCEL); });
      });
      PostMessageA(dlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    });
  });
  EXPECT_TRUE(aboutSeen);
  EXPECT_EQ(shell.pages, (std::vector<std::string>{
                             "http://" + web.hostPort() + "/gameinfo.php?gameinfo=k-beta",
                             "http://" + web.hostPort() + "/accountinfo.php"}));
}

// How each way out of the window treats the saved state and the connection.
TEST_F(BrowserWindowTest, CloseAndEscapeSaveAndDisconnectQuitSavesNothing) {
  struct Way {
    const char* name;
    std::function<void(HWND)> leave;
    bool saves, releasesImage;
  } ways[] = {
      {"Close", [](HWND d) { Click(d, IDC_BROWSER_CLOSE); }, true, false},
      {"Escape", [this](HWND d) { Key(GetDlgItem(d, IDC_BROWSER_LIST), VK_ESCAPE); }, true, false},
      {"close request", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, true, true},
      {"Quit", [](HWND d) { Click(d, IDC_BROWSER_QUIT); }, false, true},
  };
  for (size_t i = 0; i < std::size(ways); ++i) {
    if (i > 0) peer.NextConnection();
    ScriptLogin("False");
    ScriptQuery("GEN", "^[a-b]", {});
    ScriptQuery("SNES", "^[a-b]", {});
  }
  Make();
  for (const Way& way : ways) {
    settings->SetValue(Hive::Machine, kVintaraKey, "SYSTEM", kTypeNone, "GEN");
    Open();
    session->Disconnect();
    Run([&](HWND dlg) {
      Click(dlg, IDC_BROWSER_SNES);
      test::WhenTrue([&] { return session->system == "SNES" && !window->loading().Hwnd(); },
                     [&, dlg] { way.leave(dlg); });
    });
    TearDown();
    EXPECT_EQ(Value("SYSTEM"), way.saves ? "SNES" : "GEN") << way.name;
    EXPECT_EQ(window->Image() == nullptr, way.releasesImage) << way.name << ": the background's release";
    window.reset();
    EXPECT_FALSE(session->connected) << way.name << ": the window's end disconnects";
  }
}

TEST_F(BrowserWindowTest, TenThousandRowsScrollWithTheListsOwnBars) {
  ScriptLogin("True");
  std::vector<std::string> records;
  for (int i = 0; i < 10000; ++i) records.push_back(Record("Game " + std::to_string(i), "k", "1", "1"));
  ScriptQuery("NES", "^[a-b]", records);
  Make();
  Run([&](HWND dlg) {
    HWND list = window->list().Hwnd();
    ASSERT_EQ(ListView_GetItemCount(list), 10000);
    EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    HWND bar = window->list().VerticalBar().Hwnd();
    RECT br{};
    GetClientRect(bar, &br);
    const int page = ListView_GetCountPerPage(list);
    EXPECT_EQ(window->list().ScrollLimitOf(SB_VERT), 10000 - page);
    const int thumb = window->list().VerticalBar().Logic().ThumbStart();
    // Dragging the thumb to the bottom shows the last rows; the thumb follows.
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, thumb + 13));
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, br.bottom));
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(6, br.bottom));
    EXPECT_EQ(ListView_GetTopIndex(list), 10000 - page);
    EXPECT_EQ(window->list().VerticalBar().Logic().ThumbStart(), br.bottom - 62);
    window->End(IDCANCEL);
  });
}

// The loading notice is on the screen while the query blocks the window's thread.
TEST_F(BrowserWindowTest, TheLoadingNoticeIsOnScreenWhileTheQueryBlocks) {
  uint16_t port = 0;
  test::RawSocket listener = test::ListenLoopback(0, &port);
  ASSERT_NE(listener, test::kNoSocket);
  Make(port);
  std::vector<COLORREF> seen;
  std::thread server([&] {
    test::RawSocket c = test::AcceptOne(listener);
    char buffer[128];
    auto answer = [&](const std::string& reply) {
      test::RecvSome(c, buffer, sizeof buffer);
      test::SendAll(c, reply);
    };
    for (const char* reply : {"user?", "ok", "ok", "False", "1", "2", "3"}) answer(reply);
    test::RecvSome(c, buffer, sizeof buffer);  // "ok": the client now waits for the count
    for (int i = 0; i < 500 && !window->loading().Hwnd(); ++i) Sleep(10);
    RECT at{};
    GetWindowRect(window->loading().Hwnd(), &at);
    seen = test::CaptureScreen(at);
    test::SendAll(c, CountField(0));
    test::WaitReadable(c, 20000);
    test::CloseSocket(c);
  });
  Run([&](HWND) { window->End(IDCANCEL); });
  window.reset();
  server.join();
  test::CloseSocket(listener);
  EXPECT_EQ(test::CountDifferent(seen, test::BitmapPixels(IDB_LOADING_NOTICE)), 0)
      << "the loading notice was not on screen";
}

}  // namespace
}  // namespace vt
