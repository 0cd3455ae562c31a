// The About box as a real window: the dialog font's metrics that every template relies on, its
// caption, icon and texts, and every way its modal run ends.
#include "browser/win32/AboutBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/account/WineNoticeSupport.h"

namespace vt {
namespace {

std::string ItemText(HWND dlg, int id, HWND after = nullptr) {
  HWND item = after ? GetWindow(after, GW_HWNDNEXT) : GetDlgItem(dlg, id);
  char text[64] = {};
  GetWindowTextA(item, text, sizeof text);
  return text;
}

TEST(AboutBox, ShowsTheProgramInTheWindowsDialogMetricsAndEndsThreeWays) {
  const struct {
    const char* way;
    std::function<void(HWND)> leave;
    INT_PTR result;
  } ways[] = {
      {"OK", [](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); }, IDOK},
      // Keys reach the focused control; the dialog manager turns Escape into Cancel.
      {"Escape", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }, IDCANCEL},
      {"close box", [](HWND dlg) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
  };
  for (const auto& w : ways) {
    AboutBox about;
    EXPECT_EQ(test::RunModalWith(about, [&](HWND dlg) {
      // Windows' units of 8-point "MS Sans Serif": 4 x 8 units are 6 x 13 pixels.
      const RECT units = test::DialogRect(dlg, 0, 0, 4, 8);
      EXPECT_EQ(units.right * 100 + units.bottom, 6 * 100 + 13);
      RECT client{};
      GetClientRect(dlg, &client);
      EXPECT_EQ(client.right * 1000 + client.bottom, MulDiv(235, 6, 4) * 1000 + MulDiv(55, 13, 8));
      char caption[64] = {};
      GetWindowTextA(dlg, caption, sizeof caption);
      EXPECT_STREQ(caption, "About VTBrowser");
      HWND icon = GetWindow(dlg, GW_CHILD);
      EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "the icon control holds no icon";
      EXPECT_EQ(ItemText(dlg, 0, icon), "VTBrowser Version 1.0");
      EXPECT_EQ(ItemText(dlg, IDOK), "OK");
      w.leave(dlg);
    }), w.result) << w.way;
  }
}

}  // namespace
}  // namespace vt
