// The set-up window under Wine, for what only a live window shows. Scripted devices; another
// thread looks and clicks while the window's thread is in a capture.
#include "controllers/win32/SetupWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "resources/resource.h"
#include "tests/support/EmulatorFolder.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/WineWindows.h"

namespace vt {
namespace {

using test::Click;
using test::PumpUntil;

// A window's text read without a message to its thread, which may be in a capture.
std::string Text(HWND h) {
  wchar_t text[64] = {};
  InternalGetWindowText(h, text, 64);
  return std::string(text, text + wcslen(text));
}
constexpr COLORREF kBlue = RGB(34, 80, 163);  // behind the fields
// The share of a window's client area on the screen, in hundredths of a percent, in the colour.
long Share(HWND h, COLORREF colour) {
  const test::Capture pixels = test::CaptureClient(h);
  return 10000L * pixels.Count(colour) / long(pixels.pixels.size());
}

// The input layer's box is the window's: the window is disabled behind it, and a field clicked
// meanwhile (handled in the box's loop) starts no second capture on the same devices. While a
// capture waits, a field covered and uncovered is painted again, the window answers, and a click
// on Close ends the capture (well before its limit) with the field as it was and the window open;
// meanwhile the prompt counts the seconds left.
TEST(SetupWindow, ItsBoxesAreItsOwnAndAWaitingCaptureKeepsItAlive) {
  ScriptedInput input;
  test::EmulatorFolder folder;
  SettingsStore* settings = folder.settings.get();
  settings->CreateKey(Hive::Machine, "Software\\Vintara");
  settings->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString,
                     folder.dir.path().string());
  folder.PutFixture("meka.inp");
  input.Keyboard().signals = true;
  std::atomic<bool> owned{false}, disabled{false}, repainted{false}, answered{false}, ended{false};
  SetupWindow w(Layout(Console::SMSC), *settings, "web.test", input);
  w.SetPause([](std::chrono::milliseconds) {});
  test::RunModalWith(w, [&](HWND dlg) {
    HWND field = GetDlgItem(dlg, IDC_SMSC_PAUSE);
    const std::string name = Text(field);
    std::thread user([&] {
      ASSERT_TRUE(PumpUntil([&] { return !IsWindowEnabled(GetDlgItem(dlg, IDC_SETUP_OK)); }));
      RECT r{};
      GetWindowRect(field, &r);
      const DWORD style = WS_POPUP | WS_VISIBLE | SS_BLACKRECT;
      HWND cover = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, {}, {}, {}, {});
      PumpUntil([&] { return Share(field, kBlue) < 1000; });  // covered
      DestroyWindow(cover);
      const std::string shown = Text(field);
      repainted = PumpUntil([&] { return Share(field, kBlue) > 5000; }) &&
                  PumpUntil([&] { return Text(field) != shown; });  // a second less
      DWORD_PTR result = 0;
      answered = SendMessageTimeoutA(dlg, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
      PostMessageA(GetDlgItem(dlg, IDC_SETUP_CANCEL), WM_LBUTTONDOWN, 0, 0);
      ended = PumpUntil([&] { return Text(field) == name; });  // 5 s at most
    });
    Click(dlg, IDC_SMSC_PAUSE, STN_CLICKED);
    user.join();
    EXPECT_TRUE(IsWindowVisible(dlg) && IsWindowEnabled(GetDlgItem(dlg, IDC_SETUP_OK)));
    EXPECT_EQ(input.LiveDevices(), 0);

    input.Keyboard().results.create.Next({dierr::Generic});
    std::thread boxUser([&] {
      HWND box = nullptr;
      ASSERT_TRUE(PumpUntil([&] { return (box = test::VisibleDialog({dlg})) != nullptr; }));
      owned = GetWindow(box, GW_OWNER) == dlg;
      disabled = !IsWindowEnabled(dlg);
      Click(dlg, IDC_SMSC_DOWN, STN_CLICKED);
      Click(dlg, IDC_SMSC_SET_ALL_KEYBOARD);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    Click(dlg, IDC_SMSC_UP, STN_CLICKED);  // then no device is left to wait for
    boxUser.join();
    const auto log = input.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Create"), 2) << "one for each capture";
    w.End(IDCANCEL);
  });
  EXPECT_TRUE(owned && disabled) << owned << disabled;
  EXPECT_TRUE(repainted && answered && ended) << repainted << answered << ended;
}

}  // namespace
}  // namespace vt
