// The login window as a real window under Wine, over a session and the file settings store:
// what only a live window shows (its geometry, the edits' font, the lamps and buttons on screen,
// the change rule through real edits, Signup and the close command). The connecting notice while
// a login blocks: the silent-login end-to-end run; the saved texts in the edits: the start-up's.
#include "account/win32/LoginWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "service/ServerSession.h"
#include "tests/support/WineWindows.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

class LoginWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    store = OpenFileSettings(dir.File("registry.txt"));
    ASSERT_TRUE(store->CreateKey(Hive::Machine, kVintaraKey));
  }
  std::unique_ptr<LoginWindow> Make() {
    session = std::make_unique<ServerSession>(ServiceEndpoints{"127.0.0.1", 1, web.hostPort()});
    auto w = std::make_unique<LoginWindow>(*store);
    w->SetHost(host);
    w->Setup(passwordDest, usernameDest, *session);
    return w;
  }
  // Runs the window; `body` runs once it is on screen.
  static Next RunWith(LoginWindow& w, std::function<void(HWND)> body) {
    bool ran = false;
    test::WhenTrue([&w] { return w.Hwnd() && IsWindowVisible(w.Hwnd()); }, [&] {
      ran = true;
      body(w.Hwnd());
    });
    const Next next = w.Run();
    EXPECT_TRUE(ran);
    return next;
  }
  static bool LoginEnabled(HWND dlg) { return IsWindowEnabled(GetDlgItem(dlg, IDC_LOGIN_LOGIN)) != FALSE; }
  // Whether the control comes to show the image on screen after a repaint.
  static bool Shows(HWND dlg, int id, int image) {
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    return test::ScreenShows(GetDlgItem(dlg, id), image);
  }
  static void ExpectLamps(HWND dlg, bool saveLit, bool autoLit) {
    EXPECT_TRUE(Shows(dlg, IDC_LOGIN_SAVE_SETTINGS, saveLit ? IDB_LAMP_ON : IDB_LAMP_OFF))
        << "Save Settings";
    EXPECT_TRUE(Shows(dlg, IDC_LOGIN_AUTO_LOGIN, autoLit ? IDB_LAMP_ON : IDB_LAMP_OFF))
        << "Auto Login";
  }

  test::TempDir dir;
  std::unique_ptr<SettingsStore> store;
  test::RecordingHost host;  // no case here expects a message of the session
  test::HttpPeer web{"4.05"};
  std::unique_ptr<ServerSession> session;
  std::string passwordDest, usernameDest;
};

TEST_F(LoginWindowTest, OpeningLampsChangeRuleSignupAndCancel) {
  for (auto [name, bytes] : {std::pair{"SAVE", "TRUE"}, {"AUTOLOGIN", "FALSE"},
                             {"Username", "alice"}, {"Password", "wonderland"}})
    store->SetValue(Hive::Machine, kVintaraKey, name, kTypeNone, bytes);
  auto window = Make();
  const Next next = RunWith(*window, [&](HWND dlg) {
    EXPECT_EQ(test::SkinGeometryFaults(dlg, 275, 150, true), "");
    EXPECT_TRUE(LoginEnabled(dlg));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(dlg, IDC_LOGIN_USERNAME, WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfFaceName + std::to_string(font.lfHeight), "Arial20");
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

    // Auto Login lights; Save Settings off puts both out.
    SendDlgItemMessageA(dlg, IDC_LOGIN_AUTO_LOGIN, BM_CLICK, 0, 0);
    ExpectLamps(dlg, true, true);
    SendDlgItemMessageA(dlg, IDC_LOGIN_SAVE_SETTINGS, BM_CLICK, 0, 0);
    ExpectLamps(dlg, false, false);

    SendDlgItemMessageA(dlg, IDC_LOGIN_SIGNUP, BM_CLICK, 0, 0);
    EXPECT_EQ(host.pages, (std::vector<std::string>{"http://" + web.hostPort() + "/signup.php"}));
    // The close command is Cancel (the window ends, and with it the program), and releases the
    // background first.
    SendMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_EQ(window->Image(), nullptr);
  });
  EXPECT_EQ(next, Next::EndProgram);
  EXPECT_EQ(usernameDest, "");
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vt
