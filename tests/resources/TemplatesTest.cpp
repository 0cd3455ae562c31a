// Every skinned window's dialog template, created for real: its size, font and frame, and each
// control's kind, styles and rectangle as the created window shows them, through the dialog's
// own units (MapDialogRect).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

enum class Kind { Button, Edit, Password, Field, List };
enum Flags : unsigned { kNone = 0, kDisabled = 1, kHidden = 2 };

struct Control {
  int id;
  Kind kind;
  int x, y, w, h;
  unsigned flags = kNone;
  const char* text = nullptr;  // template text, where the window's description gives it
};

struct Template {
  int id;
  const char* name;
  int w, h;
  std::vector<Control> controls;
  const char* font = "MS Sans Serif";
};

// An owner-drawn push button, by default of the usual 50 x 14.
Control Btn(int id, int x, int y, int w = 50, int h = 14, unsigned flags = kNone,
            const char* text = nullptr) {
  return {id, Kind::Button, x, y, w, h, flags, text};
}
Control Btn(int id, int x, int y, const char* text, unsigned flags = kNone) {
  return Btn(id, x, y, 50, 14, flags, text);
}
// Set-up fields 70 wide: each {id, x, y}.
std::vector<Control> Fields(int h, std::initializer_list<std::array<int, 3>> fields,
                            std::initializer_list<Control> buttons) {
  std::vector<Control> out;
  for (const auto& f : fields) out.push_back({f[0], Kind::Field, f[1], f[2], 70, h});
  out.insert(out.end(), buttons);
  return out;
}

std::vector<Template> AllTemplates() {
  std::vector<Control> browser = {{IDC_BROWSER_LIST, Kind::List, 7, 69, 264, 237},
                                  {IDC_BROWSER_SEARCH_BOX, Kind::Edit, 7, 326, 206, 13}};
  const char* ranges[] = {"0-9", "A-B", "C-D", "E-F", "G-H", "I-J", "K-L", "M-N",
                          "O-P", "Q-R", "S-T", "U-V", "W-X", "Y-Z", "ALL"};
  for (int i = 0; i < 15; ++i)
    browser.push_back(Btn(i == 0 ? 1024 : i == 14 ? 1025 : 1004 + i, 287, 76 + 16 * i, ranges[i]));
  browser.insert(browser.end(),
                 {Btn(2, 261, 345, "Close"), Btn(1, 13, 345, "Launch", kDisabled),
                  Btn(1023, 75, 345, "Game Info", kDisabled), Btn(1035, 137, 345, "Setup Help"),
                  Btn(1038, 198, 345, "Upgrade Now!", kHidden),
                  Btn(1033, 219, 322, "Search", kDisabled), Btn(1001, 78, 48, "NES"),
                  Btn(1002, 141, 48, "SNES"), Btn(1003, 15, 24, "Atari 2600"),
                  Btn(1004, 141, 24, "Genesis"), Btn(1019, 204, 48, "Gameboy"),
                  Btn(1022, 15, 48, "Colecovision"), Btn(1020, 78, 24, "SMS"),
                  Btn(1021, 204, 24, "Gamegear"), Btn(1040, 304, 4, 15, 14, kNone, "Button1"),
                  Btn(1041, 284, 4, 15, 14, kNone, "Button1"), Btn(1018, 207, 5, "Change User")});
  const Control players[] = {Btn(1075, 19, 158, 22, 10), Btn(1076, 112, 159, 22, 10)};
  return {
      {IDD_BROWSER, "browser", 344, 366, browser},
      {IDD_LOGIN, "login", 181, 92,
       {{1000, Kind::Edit, 63, 22, 83, 12}, {1001, Kind::Password, 63, 39, 83, 12},
        Btn(1, 7, 71, 50, 14, kDisabled), Btn(2, 123, 71), Btn(1041, 66, 71),
        Btn(1039, 7, 54, 22, 10), Btn(1040, 103, 55, 22, 10)}},
      {IDD_CONNECTING_NOTICE, "connecting", 186, 49, {}},
      {IDD_CONNECTION_ERROR_NOTICE, "connection error", 186, 90, {Btn(1, 63, 69)}},
      {IDD_BAD_LOGIN_NOTICE, "bad login", 186, 90, {Btn(1, 67, 69)}},
      {IDD_LOADING_NOTICE, "loading", 186, 51, {}},
      {IDD_USER_IN_USE_NOTICE, "user in use", 186, 90, {Btn(1, 63, 69)}},
      {IDD_CLOSE_CLIENTS_NOTICE, "close clients", 186, 90, {Btn(1, 67, 69)}},
      {IDD_GAME_IN_USE_NOTICE, "game in use", 186, 148, {Btn(1, 109, 127), Btn(1034, 7, 127, 61)}},
      {IDD_FULL_ACCOUNT_ONLY_NOTICE, "full account", 186, 90, {Btn(1, 7, 69), Btn(2, 112, 69)}},
      {IDD_LIGHT_ACCOUNT_NOTICE, "light account", 172, 149, {Btn(1, 9, 128, 61), Btn(2, 114, 128)}},
      {IDD_UPGRADE_REMINDER, "upgrade reminder", 208, 120, {Btn(1, 9, 97), Btn(2, 111, 97)}},
      {IDD_A26C, "A26C", 255, 207, {Btn(1042, 129, 186), Btn(2, 196, 186)}},
      {IDD_GBCC, "GBCC", 329, 242,
       Fields(13, {{1060, 70, 45}, {1061, 70, 59}, {1062, 70, 73}, {1063, 70, 88}, {1064, 70, 102},
                   {1065, 70, 116}, {1066, 70, 131}, {1067, 70, 145}, {1069, 70, 160},
                   {1070, 70, 174}, {1077, 211, 102}, {1078, 211, 117}, {1079, 211, 131},
                   {1080, 211, 145}, {1081, 211, 160}, {1082, 211, 174}},
              {Btn(1083, 73, 190), Btn(1084, 219, 190), Btn(1, 12, 220), Btn(1042, 149, 220),
               Btn(2, 259, 220)})},
      {IDD_GENC, "GENC", 268, 207,
       Fields(14, {{1060, 57, 39}, {1061, 57, 57}, {1062, 57, 75}, {1063, 57, 93}, {1065, 57, 111},
                   {1066, 148, 39}, {1067, 148, 57}, {1073, 148, 75}},
              {Btn(1068, 71, 186), players[0], players[1], Btn(1, 8, 186), Btn(1042, 134, 186),
               Btn(2, 197, 186)})},
      {IDD_NESC, "NESC", 266, 208,
       Fields(14, {{1060, 57, 39}, {1061, 57, 57}, {1062, 57, 75}, {1063, 57, 93}, {1064, 57, 111},
                   {1065, 57, 129}, {1066, 148, 39}, {1067, 148, 57}},
              {Btn(1068, 70, 187), Btn(1075, 17, 158, 22, 10), Btn(1076, 110, 159, 22, 10),
               Btn(1, 7, 187), Btn(1042, 133, 187), Btn(2, 196, 187)})},
      {IDD_SNESC, "SNESC", 268, 206,
       Fields(14, {{1060, 57, 39}, {1061, 57, 57}, {1062, 57, 75}, {1063, 57, 93}, {1064, 57, 111},
                   {1065, 57, 129}, {1066, 148, 39}, {1067, 148, 57}, {1040, 148, 75},
                   {1069, 148, 93}, {1070, 148, 111}, {1071, 148, 129}},
              {Btn(1068, 70, 187), players[0], players[1], Btn(1, 9, 187), Btn(1042, 131, 187),
               Btn(2, 192, 187)})},
      {IDD_SMSC, "SMSC", 253, 240,
       Fields(13, {{1060, 75, 43}, {1061, 75, 57}, {1062, 75, 71}, {1063, 75, 85}, {1084, 75, 99},
                   {1085, 75, 113}, {1086, 75, 127}, {1064, 162, 43}, {1065, 162, 57},
                   {1066, 162, 71}, {1067, 162, 85}, {1087, 162, 99}, {1088, 162, 113},
                   {1089, 162, 127}},
              {Btn(1091, 77, 142), Btn(1090, 165, 142), Btn(1075, 55, 194, 22, 10),
               Btn(1076, 181, 194, 22, 10), Btn(1, 7, 219), Btn(1042, 106, 219), Btn(2, 196, 219)}),
       "Microsoft Sans Serif"},
  };
}

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// The dialog manager converts a control's position and its size each on its own, so the far
// edge is the mapped corner plus the mapped size (not the mapped far corner).
RECT Dlu(HWND dialog, int x, int y, int w, int h) {
  RECT r{x, y, w, h};
  MapDialogRect(dialog, &r);
  return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

TEST(DialogTemplates, EachCreatesItsFrameFontControlsKindsStylesAndRectangles) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  for (const Template& t : AllTemplates()) {
    SCOPED_TRACE(t.name);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(t.id), nullptr,
                                     &PlainProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT client{}, window{};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    const RECT size = Dlu(dialog, 0, 0, t.w, t.h);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    EXPECT_EQ(window.right - window.left, client.right) << "the window has a frame";
    EXPECT_EQ(window.bottom - window.top, client.bottom) << "the window has a frame";
    const LONG_PTR frame = GetWindowLongPtrA(dialog, GWL_STYLE);
    EXPECT_TRUE(frame & WS_POPUP);
    EXPECT_EQ(frame & (WS_CAPTION | WS_THICKFRAME | DS_MODALFRAME), 0);
    // The template's font as the dialog manager made it: the face named, 8 points at 96 DPI,
    // whose base units of 6 x 13 the backgrounds are painted for.
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, t.font);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, 96, 72));
    const RECT cell = Dlu(dialog, 0, 0, 4, 8);
    EXPECT_EQ(cell.right * 100 + cell.bottom, 6 * 100 + 13) << "base units of the template's font";

    int children = 0;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, static_cast<int>(t.controls.size()));
    for (const Control& c : t.controls) {
      SCOPED_TRACE("control " + std::to_string(c.id));
      HWND hwnd = GetDlgItem(dialog, c.id);
      ASSERT_NE(hwnd, nullptr);
      const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
      char cls[64] = {}, text[64] = {};
      GetClassNameA(hwnd, cls, sizeof cls);
      GetWindowTextA(hwnd, text, sizeof text);
      switch (c.kind) {
        case Kind::Button:
          EXPECT_STRCASEEQ(cls, "Button");
          EXPECT_EQ(style & BS_TYPEMASK, static_cast<LONG_PTR>(BS_OWNERDRAW));
          break;
        case Kind::Edit:
        case Kind::Password:
          EXPECT_STRCASEEQ(cls, "Edit");
          EXPECT_EQ(style & (ES_AUTOHSCROLL | ES_MULTILINE | ES_PASSWORD),
                    ES_AUTOHSCROLL | (c.kind == Kind::Password ? ES_PASSWORD : 0));
          break;
        case Kind::Field:
          EXPECT_STRCASEEQ(cls, "Static");
          EXPECT_TRUE(style & SS_NOTIFY) << "a field reports clicks";
          break;
        case Kind::List:
          EXPECT_STRCASEEQ(cls, WC_LISTVIEWA);
          // One row at a time, always shown, texts asked of the owner, never sorted.
          EXPECT_EQ(style & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA |
                             LVS_SORTASCENDING | LVS_SORTDESCENDING),
                    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA);
          break;
      }
      EXPECT_TRUE(style & WS_CHILD);
      EXPECT_EQ((style & WS_DISABLED) != 0, (c.flags & kDisabled) != 0);
      EXPECT_EQ((style & WS_VISIBLE) != 0, (c.flags & kHidden) == 0);
      if (c.text) {
        EXPECT_STREQ(text, c.text);
      }
      RECT r{};
      GetWindowRect(hwnd, &r);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
      const RECT want = Dlu(dialog, c.x, c.y, c.w, c.h);
      EXPECT_TRUE(EqualRect(&r, &want)) << r.left << "," << r.top << " to " << r.right << ","
                                        << r.bottom;
    }
    DestroyWindow(dialog);
  }
}

}  // namespace
