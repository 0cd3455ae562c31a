// The login window as a real window under Wine, over a session and the file settings store:
// what only a live window shows (its geometry, the edits' font, the lamps and buttons on screen,
// the change rule through real edits, Signup and the close command). The connecting notice while
// a login blocks: the silent-login end-to-end run; the saved texts in the edits: the start-up's.
#include "account/win32/LoginWindow.h"

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

bool LoginEnabled(HWND dlg) { return IsWindowEnabled(GetDlgItem(dlg, IDC_LOGIN_LOGIN)) != FALSE; }
// Whether the control comes to show the image on screen after a repaint.
bool Shows(HWND dlg, int id, int image) {
  RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  return test::ScreenShows(GetDlgItem(dlg, id), image);
}
void ExpectLamps(HWND dlg, bool saveLit, bool autoLit) {
  EXPECT_TRUE(Shows(dlg, IDC_LOGIN_SAVE_SETTINGS, saveLit ? IDB_LAMP_ON : IDB_LAMP_OFF))
      << "Save Settings";
  EXPECT_TRUE(Shows(dlg, IDC_LOGIN_AUTO_LOGIN, autoLit ? IDB_LAMP_ON : IDB_LAMP_OFF))
      << "Auto Login";
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
        EXPECT_TRUE(LoginEnabled(dlg));
        LOGFONTA font{};
        const LRESULT edits = SendDlgItemMessageA(dlg, IDC_LOGIN_USERNAME, WM_GETFONT, 0, 0);
        GetObjectA(reinterpret_cast<HFONT>(edits), sizeof font, &font);
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

}  // namespace
}  // namespace vt
