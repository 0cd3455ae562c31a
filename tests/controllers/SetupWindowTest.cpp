// The set-up window under Wine, for what only a live window shows: it stays painted while a
// capture waits and a click on Close ends the capture, the input layer's box is owned by it, a
// field bound twice is coloured, the fields' fonts and the lamps. Scripted devices, pressed and
// looked at from another thread while the window's thread is in the capture.
#include "controllers/win32/SetupWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "resources/resource.h"
#include "tests/account/WineNoticeSupport.h"
#include "tests/emuconfig/EmuconfigTestSupport.h"
#include "tests/support/ScriptedInput.h"

namespace vt {
namespace {

class SetupWindowTest : public ::testing::Test {
protected:
  SetupWindowTest() {
    settings = OpenFileSettings(registryDir.File("registry.txt"));
    settings->CreateKey(Hive::Machine, "Software\\Vintara");
    settings->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, folder.dir.path().string());
    for (const char* name : {"gens.cfg", "meka.inp"}) folder.PutFixture(name);
    input.SetSignals(true);
  }
  std::unique_ptr<SetupWindow> Make(Console console) {
    auto w = std::make_unique<SetupWindow>(Layout(console), *settings, shell, "www.example.test", input);
    w->SetPause([](std::chrono::milliseconds) {});
    return w;
  }
  static void Click(HWND dlg, int id, int code = BN_CLICKED) {
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
  }
  // A window's text read without a message to its thread, which may be in a capture.
  static std::string Text(HWND h) {
    wchar_t text[64] = {};
    InternalGetWindowText(h, text, 64);
    std::string out;
    for (const wchar_t* c = text; *c; ++c) out += static_cast<char>(*c);
    return out;
  }
  static RECT ScreenRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
  }
  static bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500; ++i, Sleep(10))
      if (done()) return true;
    return done();
  }

  ScriptedInput input;
  test::TempDir registryDir;
  test::EmulatorFolder folder;
  std::unique_ptr<SettingsStore> settings;
  test::RecordingAccountShell shell;
};

// While the capture waits, a field uncovered is painted again with its prompt, the window
// answers at once, and a click on Close ends the capture (well before its time limit) with the
// field as it was and the window still open.
TEST_F(SetupWindowTest, ACaptureKeepsTheWindowAliveAndCloseEndsIt) {
  auto w = Make(Console::GENC);
  std::atomic<bool> answered{false}, repainted{false}, ended{false};
  test::RunModalWith(*w, [&](HWND dlg) {
    HWND field = GetDlgItem(dlg, IDC_GENC_C);
    const std::string name = Text(field);
    std::thread user([&] {
      ASSERT_TRUE(WaitFor([&] { return Text(field).starts_with("Push C"); }));
      WaitFor([&] { return !IsWindowEnabled(GetDlgItem(dlg, IDC_SETUP_OK)); });
      // Covered by a black window, then uncovered: only a window that paints shows its field again.
      const RECT r = ScreenRect(field);
      auto share = [&](COLORREF colour) {
        const auto pixels = test::CaptureScreen(r);
        return 100 * std::count(pixels.begin(), pixels.end(), colour) / static_cast<long>(pixels.size());
      };
      HWND cover = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
      test::PumpUntil([&] { return share(RGB(0, 0, 0)) > 90; });
      DestroyWindow(cover);
      repainted = WaitFor([&] { return share(RGB(34, 80, 163)) > 50 && Text(field).starts_with("Push C"); });
      DWORD_PTR result = 0;
      answered = SendMessageTimeoutA(dlg, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
      HWND close = GetDlgItem(dlg, IDC_SETUP_CANCEL);
      PostMessageA(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      PostMessageA(close, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      ended = WaitFor([&] { return Text(field) == name; });  // 5 s at most, the limit is 15
    });
    Click(dlg, IDC_GENC_C, STN_CLICKED);
    user.join();
    EXPECT_TRUE(IsWindowVisible(dlg)) << "Close ended the capture, not the window";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_SETUP_OK)));
    EXPECT_EQ(input.LiveDevices(), 0);
    w->End(IDCANCEL);
  });
  EXPECT_TRUE(repainted);
  EXPECT_TRUE(answered);
  EXPECT_TRUE(ended);
}

// The input layer's box is the window's: the window is disabled behind it, and a field clicked
// meanwhile starts no second capture on the same devices.
TEST_F(SetupWindowTest, TheInputLayersBoxDisablesTheWindowAndStartsNothing) {
  auto w = Make(Console::SMSC);
  input.Keyboard().results.create.Next({dierr::Generic});
  std::atomic<bool> owned{false}, disabled{false};
  test::RunModalWith(*w, [&](HWND dlg) {
    std::thread user([&] {
      HWND box = nullptr;
      ASSERT_TRUE(WaitFor([&] { return (box = test::VisibleDialog({dlg})) != nullptr; }));
      owned = GetWindow(box, GW_OWNER) == dlg;
      disabled = !IsWindowEnabled(dlg);
      // Handled by the box's message loop, and returning once handled.
      Click(dlg, IDC_SMSC_DOWN, STN_CLICKED);
      Click(dlg, IDC_SMSC_SET_ALL_KEYBOARD);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    Click(dlg, IDC_SMSC_UP, STN_CLICKED);  // no device left to wait for: the capture ends
    user.join();
    const auto log = input.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Create"), 1);
    EXPECT_FALSE(w->logic().Capturing());
    w->End(IDCANCEL);
  });
  EXPECT_TRUE(owned);
  EXPECT_TRUE(disabled);
}

// The fields' fonts (20 pixels, 14 in the joystick column), a field bound twice in the skin's
// amber, and the lamps swapped by a switch.
TEST_F(SetupWindowTest, FontsMarksAndLampsOnScreen) {
  auto w = Make(Console::SMSC);
  test::RunModalWith(*w, [&](HWND dlg) {
    for (auto [id, height] : {std::pair{IDC_SMSC_UP, 20}, std::pair{IDC_SMSC_JOY_UP, 14}}) {
      LOGFONTA font{};
      GetObjectA(reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(dlg, id), WM_GETFONT, 0, 0)), sizeof font, &font);
      EXPECT_EQ(font.lfHeight, height);
      EXPECT_STREQ(font.lfFaceName, "Arial");
    }
    ControllerConfig& c = w->logic().config();
    c.Code(SlotUp) = c.Code(SlotPause) = 0x10;
    c.RefreshMasterSystemNames();
    w->logic().DisplayRefresh();
    auto amber = [&](int id) {
      const auto pixels = test::CaptureScreen(ScreenRect(GetDlgItem(dlg, id)));
      return std::count(pixels.begin(), pixels.end(), RGB(255, 200, 0));
    };
    EXPECT_TRUE(test::PumpUntil([&] { return amber(IDC_SMSC_UP) > 10 && amber(IDC_SMSC_PAUSE) > 10; }));
    EXPECT_EQ(amber(IDC_SMSC_DOWN), 0);
    HWND lamp1 = GetDlgItem(dlg, IDC_SETUP_PLAYER1), lamp2 = GetDlgItem(dlg, IDC_SETUP_PLAYER2);
    EXPECT_TRUE(test::ScreenShows(lamp1, IDB_LAMP_ON));
    EXPECT_TRUE(test::ScreenShows(lamp2, IDB_LAMP_OFF));
    Click(dlg, IDC_SETUP_PLAYER2);
    EXPECT_TRUE(test::ScreenShows(lamp1, IDB_LAMP_OFF));
    EXPECT_TRUE(test::ScreenShows(lamp2, IDB_LAMP_ON));
    w->End(IDCANCEL);
  });
}

// The Atari window has no OK: Enter does not end it, its Advanced opens the help page.
TEST_F(SetupWindowTest, TheAtariWindowHasOnlyAdvancedAndCancel) {
  auto w = Make(Console::A26C);
  const INT_PTR result = test::RunModalWith(*w, [&](HWND dlg) {
    Click(dlg, IDC_SETUP_ADVANCED);
    PostMessageA(dlg, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(GetDlgItem(dlg, IDC_SETUP_CANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(result, kSetupCancel);
  EXPECT_EQ(shell.pages, std::vector<std::string>{"http://www.example.test/2600_HELP.php"});
}

}  // namespace
}  // namespace vt
