// The login window as a real window under Wine, over a real session on loopback and the file
// settings store: the opening, the change rule, the lamps, Signup, Cancel and the close
// command, and the connecting notice on screen while the login blocks.
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

using test::RecordingAccountShell;

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
  void Save(const std::string& name, const std::string& bytes) {
    store->SetValue(Hive::Machine, kVintaraKey, name, kTypeNone, bytes);
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
  static void Repaint(HWND dlg) {
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
  }
  // After a repaint, whether each lamp comes to show the lit (or the dark) image on screen.
  static void ExpectLamps(HWND dlg, bool saveLit, bool autoLit) {
    Repaint(dlg);
    EXPECT_TRUE(test::ScreenShows(GetDlgItem(dlg, IDC_LOGIN_SAVE_SETTINGS), saveLit ? IDB_LAMP_ON : IDB_LAMP_OFF))
        << "Save Settings should be " << (saveLit ? "lit" : "dark");
    EXPECT_TRUE(test::ScreenShows(GetDlgItem(dlg, IDC_LOGIN_AUTO_LOGIN), autoLit ? IDB_LAMP_ON : IDB_LAMP_OFF))
        << "Auto Login should be " << (autoLit ? "lit" : "dark");
  }
  static void LogIn(HWND dlg, const char* user, const char* password) {
    SetDlgItemTextA(dlg, IDC_LOGIN_USERNAME, user);
    SetDlgItemTextA(dlg, IDC_LOGIN_PASSWORD, password);
    PostMessageA(GetDlgItem(dlg, IDC_LOGIN_LOGIN), BM_CLICK, 0, 0);
  }
  // Once the connecting notice is gone: back in the login window with one failure counted.
  static void EndWhenBackAfterOneFailure(LoginWindow& w) {
    test::WhenTrue([&w] { return w.connecting().Hwnd() == nullptr; }, [&w] {
      EXPECT_EQ(w.logic().failedAttempts(), 1);
      EXPECT_TRUE(IsWindowVisible(w.Hwnd()));
      EndDialog(w.Hwnd(), IDCANCEL);
    });
  }

  // A game server on loopback (`port`) for the session of Make(port).
  void Listen() {
    listener = test::ListenLoopback(0, &port);
    ASSERT_NE(listener, test::kNoSocket);
  }
  // The server's side of one refused login: it asks for the password and answers it with
  // `reply`. `onUserName` runs when the user name has come, i.e. while the login call blocks
  // the window's thread.
  void Serve(const std::string& reply, std::function<void(const std::string&)> onUserName = {}) {
    server = std::thread([this, reply, onUserName] {
      test::RawSocket c = test::AcceptOne(listener);
      char buffer[64];
      const long n = test::RecvSome(c, buffer, sizeof buffer);
      if (onUserName) onUserName(std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0));
      test::SendAll(c, "user?");
      test::RecvSome(c, buffer, sizeof buffer);
      test::SendAll(c, reply);
      test::WaitReadable(c, 20000);  // until the client closes
      test::CloseSocket(c);
    });
  }
  void StopServing() {
    session->Disconnect();
    server.join();
    test::CloseSocket(listener);
  }

  test::TempDir dir;
  std::unique_ptr<SettingsStore> store;
  SessionUi ui;
  RecordingAccountShell shell;
  test::HttpPeer web{"4.05"};
  std::unique_ptr<ServerSession> session;
  std::string passwordDest, usernameDest;
  test::RawSocket listener = test::kNoSocket;
  uint16_t port = 0;
  std::thread server;
};

TEST_F(LoginWindowTest, OpeningLampsChangeRuleSignupAndCancel) {
  Save("SAVE", "TRUE");
  Save("AUTOLOGIN", "FALSE");
  Save("Username", "alice");
  Save("Password", "wonderland");
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
    EXPECT_EQ(GetBkColor(dc), RGB(34, 80, 163));
    LOGBRUSH lb{};
    GetObjectA(brush, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(34, 80, 163));
    ReleaseDC(GetDlgItem(dlg, IDC_LOGIN_USERNAME), dc);
    ExpectLamps(dlg, true, false);

    // The change rule: both texts are needed once the user edits.
    SetDlgItemTextA(dlg, IDC_LOGIN_PASSWORD, "");
    EXPECT_FALSE(LoginEnabled(dlg));
    SetDlgItemTextA(dlg, IDC_LOGIN_PASSWORD, "x");
    EXPECT_TRUE(LoginEnabled(dlg));

    // Auto Login lights; Save Settings off puts both out.
    SendDlgItemMessageA(dlg, IDC_LOGIN_AUTO_LOGIN, BM_CLICK, 0, 0);
    ExpectLamps(dlg, true, true);
    SendDlgItemMessageA(dlg, IDC_LOGIN_SAVE_SETTINGS, BM_CLICK, 0, 0);
    ExpectLamps(dlg, false, false);
    // While Save Settings is off, Auto Login stays dark.
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

TEST_F(LoginWindowTest, AnEmptyWindowRefusesEnterAndHasItsControlsInPlaceWithTheirImages) {
  auto window = Make();
  RunWith(*window, [&](HWND dlg) {
    EXPECT_FALSE(LoginEnabled(dlg));
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(web.requests().size(), 0u) << "Enter attempted a login while Login is disabled";
    struct Button {
      int id, x, y, normal, pressed;
    };
    for (const Button& b : {Button{IDC_LOGIN_LOGIN, 7, 71, IDB_LOGIN_NORMAL, IDB_LOGIN_PRESSED},
                            Button{IDC_LOGIN_CANCEL, 123, 71, IDB_CANCEL_NORMAL, IDB_CANCEL_PRESSED},
                            Button{IDC_LOGIN_SIGNUP, 66, 71, IDB_SIGNUP_NORMAL, IDB_SIGNUP_PRESSED},
                            Button{IDC_LOGIN_SAVE_SETTINGS, 7, 54, IDB_LAMP_OFF, IDB_LAMP_ON},
                            Button{IDC_LOGIN_AUTO_LOGIN, 103, 55, IDB_LAMP_OFF, IDB_LAMP_ON}}) {
      SCOPED_TRACE("button " + std::to_string(b.id));
      HWND button = GetDlgItem(dlg, b.id);
      const RECT at = test::ChildRect(button);
      const RECT tmpl = test::DialogRect(dlg, b.x, b.y, 1, 1);
      EXPECT_EQ(at.left, tmpl.left);
      EXPECT_EQ(at.top, tmpl.top);
      const SIZE image = test::ImageSize(b.normal);
      EXPECT_EQ(at.right - at.left, image.cx) << "sized to its normal image";
      EXPECT_EQ(at.bottom - at.top, image.cy);
      auto shows = [&](int id) {
        Repaint(dlg);
        return test::ScreenShows(button, id);
      };
      if (b.id == IDC_LOGIN_LOGIN) {
        EXPECT_TRUE(shows(IDB_LOGIN_DISABLED)) << "an empty window's Login is disabled";
        EnableWindow(button, TRUE);
      }
      EXPECT_TRUE(shows(b.normal));
      SendMessageA(button, BM_SETSTATE, TRUE, 0);
      EXPECT_TRUE(shows(b.pressed)) << "pressed image";
      SendMessageA(button, BM_SETSTATE, FALSE, 0);
    }
    EndDialog(dlg, IDCANCEL);
  });
}

// The connecting notice is on the screen while the login blocks the window's thread; the
// refusal then brings its notice, whose OK leads back to the login window.
TEST_F(LoginWindowTest, ConnectingNoticeIsOnScreenWhileTheLoginBlocks) {
  ASSERT_NO_FATAL_FAILURE(Listen());
  auto window = Make(port);
  std::vector<COLORREF> seen;
  RECT noticeAt{};
  std::string received;
  Serve("Incorrect Username or Password", [&](const std::string& userName) {
    received = userName;
    GetWindowRect(window->connecting().Hwnd(), &noticeAt);
    seen = test::CaptureScreen(noticeAt);
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
      EndWhenBackAfterOneFailure(*window);
    });
    LogIn(dlg, "alice", "nope");
  });
  StopServing();
  EXPECT_EQ(received, "alice");
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(noticeAt.right - noticeAt.left, 275);
  EXPECT_EQ(test::CountDifferent(seen, test::BitmapPixels(IDB_CONNECTING_NOTICE)), 0)
      << "the connecting notice was not on screen";
}

}  // namespace
}  // namespace vt
