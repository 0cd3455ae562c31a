// The About box as a real window: the dialog font's metrics that every template relies on, its
// caption, icon and texts. (Its ways out are the dialog layer's OK and Cancel, which every
// notice's test ends through.)
#include "browser/win32/AboutBox.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/WineWindows.h"

namespace vt {
namespace {

std::string TextOf(HWND item) {
  char text[64] = {};
  GetWindowTextA(item, text, sizeof text);
  return text;
}

TEST(AboutBox, ShowsTheProgramInTheWindowsDialogMetrics) {
  AboutBox about;
  EXPECT_EQ(
      test::RunModalWith(about,
                         [&](HWND dlg) {
                           // Windows' units of 8-point "MS Sans Serif": 4 x 8 units are 6 x 13
                           // pixels.
                           const RECT units = test::DialogRect(dlg, 0, 0, 4, 8);
                           EXPECT_EQ(std::pair(units.right, units.bottom), std::pair(6L, 13L));
                           RECT client{};
                           GetClientRect(dlg, &client);
                           EXPECT_EQ(std::pair(client.right, client.bottom),
                                     std::pair(LONG{MulDiv(235, 6, 4)}, LONG{MulDiv(55, 13, 8)}));
                           EXPECT_EQ(TextOf(dlg), "About VTBrowser");
                           HWND icon = GetWindow(dlg, GW_CHILD);
                           EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0)
                               << "the icon control holds no icon";
                           EXPECT_EQ(TextOf(GetWindow(icon, GW_HWNDNEXT)), "VTBrowser Version 1.0");
                           EXPECT_EQ(TextOf(GetDlgItem(dlg, IDOK)), "OK");
                           PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
                         }),
      IDOK);
}

}  // namespace
}  // namespace vt
