// Every skinned window's dialog template, created for real: its frame and its font, whose base
// units the painted backgrounds are laid out for, and each control's kind and styles as the
// created window shows them. Where the fields and text boxes lie is held against their painted
// boxes by the bitmaps' test; the windows take their sizes from their backgrounds.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"

namespace {

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST(DialogTemplates, EachCreatesItsFrameFontAndKindsOfControls) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  // Every template of the program but the About box, the platform's own kind of window.
  std::vector<int> templates;
  for (int id = 1; id <= 0xFFFF; ++id)
    if (id != IDD_ABOUTBOX && FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_DIALOG))
      templates.push_back(id);
  EXPECT_EQ(templates.size(), 18u) << "the browser, the login window, ten notices, six set-ups";
  // The controls that start disabled or hidden; every other starts enabled and shown.
  const std::set<std::pair<int, int>> disabled = {{IDD_BROWSER, IDC_BROWSER_LAUNCH},
                                                  {IDD_BROWSER, IDC_BROWSER_GAME_INFO},
                                                  {IDD_BROWSER, IDC_BROWSER_SEARCH},
                                                  {IDD_LOGIN, IDC_LOGIN_LOGIN}},
                                      hidden = {{IDD_BROWSER, IDC_BROWSER_UPGRADE_NOW}};
  for (const int t : templates) {
    SCOPED_TRACE(t);
    HWND dialog =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(t), nullptr, &PlainProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT client{}, window{}, cell{0, 0, 4, 8};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    MapDialogRect(dialog, &cell);
    EXPECT_EQ(window.right - window.left, client.right) << "the window has a frame";
    EXPECT_EQ(window.bottom - window.top, client.bottom) << "the window has a frame";
    // 8-point "MS Sans Serif" at 96 DPI: the 6 x 13 base units of the backgrounds.
    EXPECT_EQ(cell.right * 100 + cell.bottom, 6 * 100 + 13) << "base units of the template's font";

    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(c);
      SCOPED_TRACE("control " + std::to_string(id));
      const LONG_PTR style = GetWindowLongPtrA(c, GWL_STYLE);
      char cls[64] = {};
      GetClassNameA(c, cls, sizeof cls);
      const std::string kind = CharLowerA(cls);
      if (kind == "button") {
        EXPECT_EQ(style & BS_TYPEMASK, static_cast<LONG_PTR>(BS_OWNERDRAW));
      } else if (kind == "edit") {
        EXPECT_EQ(style & (ES_AUTOHSCROLL | ES_MULTILINE | ES_PASSWORD),
                  ES_AUTOHSCROLL | (id == IDC_LOGIN_PASSWORD ? ES_PASSWORD : 0));
      } else if (kind == "static") {
        EXPECT_TRUE(style & SS_NOTIFY) << "a set-up field reports clicks";
      } else {
        EXPECT_STRCASEEQ(cls, WC_LISTVIEWA);
        // One row at a time, always shown, texts asked of the owner, never sorted.
        EXPECT_EQ(style & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA |
                           LVS_SORTASCENDING | LVS_SORTDESCENDING),
                  LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA);
      }
      EXPECT_EQ((style & WS_DISABLED) != 0, disabled.count({t, id}) == 1);
      EXPECT_EQ((style & WS_VISIBLE) != 0, hidden.count({t, id}) == 0);
      RECT r{};
      GetWindowRect(c, &r);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
          << "outside the window";
    }
    DestroyWindow(dialog);
  }
}

}  // namespace
