// The login window as a real window under Wine, over a real session on loopback and the file
// settings store: what only a live window shows (the opening, the edits' font and colours, the
// lamps and buttons on screen, the change rule through real edits, Signup, Cancel and the close
// command) and the connecting notice on screen while the login blocks.
#include "account/win32/LoginWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "resources/resource.h"
#include "service/ServerSession.h"
#include "tests/account/WineNoticeSupport.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/LoopbackSocket.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

// The session's messages go nowhere: no case here expects one.
class SessionUi : public ServiceUi {
public:
  void ShowMessage(const std::string&, const char*) override {}
  void EndProgram(int) override {}
};

class LoginWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    store = OpenFileSettings(dir.File("registry.txt"));
    ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
  }
  std::unique_ptr<LoginWindow> Make(uint16_t gamePort = 1) {
    ServiceEndpoints e;
    e.gameServer = "127.0.0.1";
    e.gamePort = gamePort;
    e.webHost = web.hostPort();
    e.receiveTimeoutMs = 10000;
    session = std::make_unique<ServerSession>(ui, e);
    auto w = std::make_unique<LoginWindow>(shell, *store);
    w->Setup(passwordDest, usernameDest, *session);
    return w;
  }
  // Runs the window; `body` runs once it is on screen.
  static void RunWith(LoginWindow& w, std::function<void(HWND)> body) {
    bool ran = false;
    test::WhenTrue([&w] { return w.Hwnd() && IsWindowVisible(w.Hwnd()); }, [&] {
      ran = true;
      body(w.Hwnd());
    });
    w.Run();
    EXPECT_TRUE(ran);
  }
  static std::string EditText(HWND dlg, int id) {
    char buffer[64] = {};
    GetDlgItemTextA(dlg, id, buffer, sizeof buffer);
    return buffer;
  }
  static bool LoginEnabled(HWND dlg) { return IsWindowEnabled(GetDlgItem(dlg, IDC_LOGIN_LOGIN)) != FALSE; }
  // Whether the control comes to show the image on screen after a repaint.
  static bool Shows(HWND dlg, int id, int image) {
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    return test::ScreenShows(GetDlgItem(dlg, id), image);
  }
  static void ExpectLamps(HWND dlg, bool saveLit, bool autoLit) {
    EXPECT_TRUE(Shows(dlg, IDC_LOGIN_SAVE_SETTINGS, saveLit ? IDB_LAMP_ON : IDB_LAMP_OFF)) << "Save Settings";
    EXPECT_TRUE(Shows(dlg, IDC_LOGIN_AUTO_LOGIN, autoLit ? IDB_LAMP_ON : IDB_LAMP_OFF)) << "Auto Login";
  }

  test::TempDir dir;
  std::unique_ptr<SettingsStore> store;
  SessionUi ui;
  test::RecordingAccountShell shell;
  test::HttpPeer web{"4.05"};
  std::unique_ptr<ServerSession> session;
  std::string passwordDest, usernameDest;
};

TEST_F(LoginWindowTest, OpeningLampsChangeRuleSignupAndCancel) {
  for (auto [name, bytes] : {std::pair{"SAVE", "TRUE"}, {"AUTOLOGIN", "FALSE"}, {"Username", "alice"},
                             {"Password", "wonderland"}})
    store->SetValue(Hive::Machine, kVintaraKey, name, kTypeNone, bytes);
  auto window = Make();
  RunWith(*window, [&](HWND dlg) {
    EXPECT_EQ(test::SkinGeometryFaults(dlg, 275, 150, true), "");
    EXPECT_EQ(EditText(dlg, IDC_LOGIN_USERNAME), "alice");
    EXPECT_EQ(EditText(dlg, IDC_LOGIN_PASSWORD), "wonderland");
    EXPECT_TRUE(LoginEnabled(dlg));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(dlg, IDC_LOGIN_USERNAME, WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 20);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    // The edits draw white on skin blue.
    HDC dc = GetDC(GetDlgItem(dlg, IDC_LOGIN_USERNAME));
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
        dlg, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_LOGIN_USERNAME))));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
    LOGBRUSH lb{};
    GetObjectA(brush, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(34, 80, 163));
    ReleaseDC(GetDlgItem(dlg, IDC_LOGIN_USERNAME), dc);
    ExpectLamps(dlg, true, false);

    // The change rule: both texts are needed once the user edits.
    SetDlgItemTextA(dlg, IDC_LOGIN_PASSWORD, "");
    EXPECT_FALSE(LoginEnabled(dlg));
    EXPECT_TRUE(Shows(dlg, IDC_LOGIN_LOGIN, IDB_LOGIN_DISABLED));
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(web.requests().size(), 0u) << "Enter attempted a login while Login is disabled";
    SetDlgItemTextA(dlg, IDC_LOGIN_PASSWORD, "x");
    EXPECT_TRUE(LoginEnabled(dlg));
    EXPECT_TRUE(Shows(dlg, IDC_LOGIN_LOGIN, IDB_LOGIN_NORMAL));
    SendDlgItemMessageA(dlg, IDC_LOGIN_LOGIN, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(Shows(dlg, IDC_LOGIN_LOGIN, IDB_LOGIN_PRESSED));
    SendDlgItemMessageA(dlg, IDC_LOGIN_LOGIN, BM_SETSTATE, FALSE, 0);

    // Auto Login lights; Save Settings off puts both out; then Auto Login stays dark.
    SendDlgItemMessageA(dlg, IDC_LOGIN_AUTO_LOGIN, BM_CLICK, 0, 0);
    ExpectLamps(dlg, true, true);
    SendDlgItemMessageA(dlg, IDC_LOGIN_SAVE_SETTINGS, BM_CLICK, 0, 0);
    ExpectLamps(dlg, false, false);
    SendDlgItemMessageA(dlg, IDC_LOGIN_AUTO_LOGIN, BM_CLICK, 0, 0);
    ExpectLamps(dlg, false, false);

    SendDlgItemMessageA(dlg, IDC_LOGIN_SIGNUP, BM_CLICK, 0, 0);
    EXPECT_EQ(shell.pages, (std::vector<std::string>{"http://" + web.hostPort() + "/signup.php"}));
    SendDlgItemMessageA(dlg, IDC_LOGIN_CANCEL, BM_CLICK, 0, 0);
    EXPECT_EQ(shell.endCodes, (std::vector<int>{0}));
    // The close command ends the program too, and releases the background first.
    SendMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_EQ(shell.endCodes, (std::vector<int>{0, 0}));
    EXPECT_EQ(window->Image(), nullptr);
    // The test's shell returned instead of ending the process; end the run here.
    EndDialog(dlg, IDCANCEL);
  });
  EXPECT_EQ(usernameDest, "");
}

// The connecting notice is on the screen while the login blocks the window's thread; the
// refusal then brings its notice, whose OK leads back to the login window.
TEST_F(LoginWindowTest, ConnectingNoticeIsOnScreenWhileTheLoginBlocks) {
  uint16_t port = 0;
  test::RawSocket listener = test::ListenLoopback(0, &port);
  ASSERT_NE(listener, test::kNoSocket);
  auto window = Make(port);
  std::vector<COLORREF> seen;
  RECT noticeAt{};
  std::string received;
  // The server's side: the user name comes while the login blocks the window; it is refused.
  std::thread server([&] {
    test::RawSocket c = test::AcceptOne(listener);
    char buffer[64];
    const long n = test::RecvSome(c, buffer, sizeof buffer);
    received.assign(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    GetWindowRect(window->connecting().Hwnd(), &noticeAt);
    seen = test::CaptureScreen(noticeAt);
    test::SendAll(c, "user?");
    test::RecvSome(c, buffer, sizeof buffer);
    test::SendAll(c, "Incorrect Username or Password");
    test::WaitReadable(c, 20000);  // until the client closes
    test::CloseSocket(c);
  });
  int notices = 0;
  auto notice = [&]() -> HWND {
    HWND n = test::VisibleDialog({window->Hwnd(), window->connecting().Hwnd()});
    return n && GetDlgItem(n, IDC_NOTICE_OK) ? n : nullptr;
  };
  RunWith(*window, [&](HWND dlg) {
    test::WhenTrue([&] { return notice() != nullptr; }, [&] {
      ++notices;
      PostMessageA(GetDlgItem(notice(), IDC_NOTICE_OK), BM_CLICK, 0, 0);
      // Once the connecting notice is gone: back in the login window with one failure counted.
      test::WhenTrue([&] { return window->connecting().Hwnd() == nullptr; }, [&] {
        EXPECT_EQ(window->logic().failedAttempts(), 1);
        EXPECT_TRUE(IsWindowVisible(window->Hwnd()));
        EndDialog(window->Hwnd(), IDCANCEL);
      });
    });
    SetDlgItemTextA(dlg, IDC_LOGIN_USERNAME, "alice");
    SetDlgItemTextA(dlg, IDC_LOGIN_PASSWORD, "nope");
    PostMessageA(GetDlgItem(dlg, IDC_LOGIN_LOGIN), BM_CLICK, 0, 0);
  });
  session->Disconnect();
  server.join();
  test::CloseSocket(listener);
  EXPECT_EQ(received, "alice");
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(noticeAt.right - noticeAt.left, 275);
  EXPECT_EQ(test::CountDifferent(seen, test::BitmapPixels(IDB_CONNECTING_NOTICE)), 0)
      << "the connecting notice was not on screen";
}

}  // namespace
}  // namespace vt
