// The six set-up windows under Wine with real windows: size and place, buttons sized to their
// images, the fields' fonts and stored names, the lamps before and after a switch, and OK
// disabled while a capture waits (scripted devices, pressed from another thread).
#include "controllers/win32/SetupWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/ScriptedInput.h"
#include "resources/resource.h"
#include "tests/account/WineNoticeSupport.h"
#include "tests/emuconfig/EmuconfigTestSupport.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

class SetupWindowTest : public ::testing::Test {
protected:
  SetupWindowTest() {
    settings = OpenFileSettings(registryDir.File("registry.txt"));
    settings->CreateKey(Hive::Machine, "Software\\Vintara");
    settings->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, folder.dir.path().string());
    for (const char* name : {"gens.cfg", "meka.inp", "zsnesw.cfg"}) folder.PutFixture(name);
    folder.Put("gest.cfg", test::GestFile(100, 4000));
  }
  std::unique_ptr<SetupWindow> Make(Console console) {
    auto w = std::make_unique<SetupWindow>(Layout(console), *settings, shell, "www.example.test");
    w->logic().config().input = InputDevices(input, [](const std::string&, const std::string&) {});
    w->SetPause([](std::chrono::milliseconds) {});
    w->SetMessageReporter([this](const std::string& text, const std::string&) { messages.push_back(text); });
    return w;
  }
  // The notice a control sends its window when clicked.
  static void Clicked(HWND dlg, int id, int code = BN_CLICKED) {
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
  }
  static std::string Text(HWND h) {
    char text[256] = {};
    GetWindowTextA(h, text, sizeof text);
    return text;
  }

  ScriptedInput input;
  test::TempDir registryDir;
  test::EmulatorFolder folder;
  std::unique_ptr<SettingsStore> settings;
  test::RecordingAccountShell shell;
  std::vector<std::string> messages;
};

TEST_F(SetupWindowTest, EachWindowTakesItsBackgroundDressesItsButtonsAndShowsTheStoredNames) {
  const std::pair<Console, SIZE> windows[] = {
      {Console::A26C, {400, 350}}, {Console::GBCC, {500, 400}}, {Console::GENC, {400, 350}},
      {Console::NESC, {400, 350}}, {Console::SMSC, {400, 400}}, {Console::SNESC, {400, 350}}};
  for (const auto& [console, size] : windows) {
    auto w = Make(console);
    const ConsoleLayout& layout = Layout(console);
    SCOPED_TRACE(std::string(layout.className));
    test::RunModalWith(*w, [&](HWND dlg) {
      RECT r{};
      GetWindowRect(dlg, &r);
      EXPECT_EQ(r.right - r.left, size.cx);
      EXPECT_EQ(r.bottom - r.top, size.cy);
      EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2);
      EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2);
      struct Button {
        int id, image;
      };
      std::vector<Button> buttons = {{IDC_SETUP_CANCEL, IDB_CLOSE_NORMAL}, {IDC_SETUP_ADVANCED, IDB_ADVANCED_NORMAL}};
      if (!layout.fields.empty()) buttons.push_back({IDC_SETUP_OK, IDB_OK_NORMAL});
      for (const SetAllButton& b : layout.setAlls) buttons.push_back({b.id, IDB_SET_ALL_NORMAL});
      if (layout.players) {
        buttons.push_back({IDC_SETUP_PLAYER1, IDB_LAMP_ON});
        buttons.push_back({IDC_SETUP_PLAYER2, IDB_LAMP_OFF});
      }
      for (const Button& b : buttons) {
        const RECT c = test::ChildRect(GetDlgItem(dlg, b.id));
        const SIZE image = test::ImageSize(b.image);
        EXPECT_EQ(c.right - c.left, image.cx) << b.id;
        EXPECT_EQ(c.bottom - c.top, image.cy) << b.id;
      }
      for (const SetupField& f : layout.fields) {
        HWND field = GetDlgItem(dlg, f.id);
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(field, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, f.smallFont ? 14 : 20) << f.id;
        EXPECT_STREQ(font.lfFaceName, "Arial");
        EXPECT_EQ(Text(field), w->logic().config().DisplayName(f.slot)) << f.id;
      }
      w->End(IDCANCEL);
    });
  }
}

TEST_F(SetupWindowTest, TheLampsSwapOnASwitch) {
  auto w = Make(Console::SNESC);
  test::RunModalWith(*w, [&](HWND dlg) {
    HWND lamp1 = GetDlgItem(dlg, IDC_SETUP_PLAYER1), lamp2 = GetDlgItem(dlg, IDC_SETUP_PLAYER2);
    EXPECT_TRUE(test::ScreenShows(lamp1, IDB_LAMP_ON));
    EXPECT_TRUE(test::ScreenShows(lamp2, IDB_LAMP_OFF));
    Clicked(dlg, IDC_SETUP_PLAYER2);
    EXPECT_EQ(w->logic().player(), 2);
    EXPECT_TRUE(test::ScreenShows(lamp1, IDB_LAMP_OFF));
    EXPECT_TRUE(test::ScreenShows(lamp2, IDB_LAMP_ON));
    EXPECT_EQ(Text(GetDlgItem(dlg, IDC_SETUP_UP)), "I") << "player 2's Up from the file";
    w->End(IDCANCEL);
  });
}

TEST_F(SetupWindowTest, OkIsDisabledWhileACaptureWaitsAndTheFieldShowsItsPrompt) {
  auto w = Make(Console::GENC);
  std::atomic<bool> sawDisabled{false};
  std::string promptSeen;
  test::RunModalWith(*w, [&](HWND dlg) {
    HWND field = GetDlgItem(dlg, IDC_GENC_C);
    // The capture blocks this thread; another one looks at the window and then presses a key.
    std::thread user([&] {
      for (int i = 0; i < 500 && IsWindowEnabled(GetDlgItem(dlg, IDC_SETUP_OK)); ++i) Sleep(10);
      sawDisabled = !IsWindowEnabled(GetDlgItem(dlg, IDC_SETUP_OK));
      // The window's thread is blocked in the capture: read the text without a message to it.
      wchar_t text[64] = {};
      InternalGetWindowText(field, text, 64);
      for (const wchar_t* c = text; *c; ++c) promptSeen += static_cast<char>(*c);
      input.Keyboard().Press(0x2E);
    });
    Clicked(dlg, IDC_GENC_C, STN_CLICKED);
    user.join();
    input.Keyboard().Release(0x2E);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_SETUP_OK)));
    EXPECT_EQ(Text(field), "C");
    // OK saves player 1 and closes.
    PostMessageA(GetDlgItem(dlg, IDC_SETUP_OK), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(sawDisabled);
  EXPECT_EQ(promptSeen, "Push C");
  EXPECT_NE(folder.Get("gens.cfg").find("P1.C=46\r\n"), std::string::npos);
}

TEST_F(SetupWindowTest, AdvancedOpensTheHelpPageAndTheAtariWindowHasOnlyItsTwoButtons) {
  auto w = Make(Console::A26C);
  const INT_PTR result = test::RunModalWith(*w, [&](HWND dlg) {
    EXPECT_EQ(GetDlgItem(dlg, IDC_SETUP_OK), nullptr);
    Clicked(dlg, IDC_SETUP_ADVANCED);
    PostMessageA(dlg, WM_KEYDOWN, VK_RETURN, 0);  // Enter: no OK to run
    PostMessageA(GetDlgItem(dlg, IDC_SETUP_CANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(result, kSetupCancel) << "Enter ended the window";
  EXPECT_EQ(shell.pages, std::vector<std::string>{"http://www.example.test/2600_HELP.php"});
}

}  // namespace
}  // namespace vt
