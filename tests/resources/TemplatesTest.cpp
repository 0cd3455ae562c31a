// Every skinned window's dialog template, created for real: its size, font and frame, and each
// control's kind, styles and rectangle as the created window shows them, through the dialog's
// own units (MapDialogRect).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

enum class Kind {
  Button,    // owner-drawn push button (a BitmapButton)
  Edit,      // single-line text box, scrolls horizontally
  Password,  // the same, characters masked
  Field,     // static text that reports clicks
  List,      // report-view list
};

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
  const char* font;
  std::vector<Control> controls;
};

constexpr const char* kSans = "MS Sans Serif";

Control Btn(int id, int x, int y, int w = 50, int h = 14, unsigned flags = kNone,
            const char* text = nullptr) {
  return {id, Kind::Button, x, y, w, h, flags, text};
}
Control Field(int id, int x, int y, int w, int h) { return {id, Kind::Field, x, y, w, h}; }

std::vector<Template> AllTemplates() {
  std::vector<Template> t;
  t.push_back({IDD_BROWSER, "browser", 344, 366, kSans,
               {{IDC_BROWSER_LIST, Kind::List, 7, 69, 264, 237},
                {IDC_BROWSER_SEARCH_BOX, Kind::Edit, 7, 326, 206, 13},
                Btn(1024, 287, 76, 50, 14, kNone, "0-9"), Btn(1005, 287, 92, 50, 14, kNone, "A-B"),
                Btn(1006, 287, 108, 50, 14, kNone, "C-D"), Btn(1007, 287, 124, 50, 14, kNone, "E-F"),
                Btn(1008, 287, 140, 50, 14, kNone, "G-H"), Btn(1009, 287, 156, 50, 14, kNone, "I-J"),
                Btn(1010, 287, 172, 50, 14, kNone, "K-L"), Btn(1011, 287, 188, 50, 14, kNone, "M-N"),
                Btn(1012, 287, 204, 50, 14, kNone, "O-P"), Btn(1013, 287, 220, 50, 14, kNone, "Q-R"),
                Btn(1014, 287, 236, 50, 14, kNone, "S-T"), Btn(1015, 287, 252, 50, 14, kNone, "U-V"),
                Btn(1016, 287, 268, 50, 14, kNone, "W-X"), Btn(1017, 287, 284, 50, 14, kNone, "Y-Z"),
                Btn(1025, 287, 300, 50, 14, kNone, "ALL"), Btn(2, 261, 345, 50, 14, kNone, "Close"),
                Btn(1, 13, 345, 50, 14, kDisabled, "Launch"),
                Btn(1023, 75, 345, 50, 14, kDisabled, "Game Info"),
                Btn(1035, 137, 345, 50, 14, kNone, "Setup Help"),
                Btn(1038, 198, 345, 50, 14, kHidden, "Upgrade Now!"),
                Btn(1033, 219, 322, 50, 14, kDisabled, "Search"),
                Btn(1001, 78, 48, 50, 14, kNone, "NES"), Btn(1002, 141, 48, 50, 14, kNone, "SNES"),
                Btn(1003, 15, 24, 50, 14, kNone, "Atari 2600"),
                Btn(1004, 141, 24, 50, 14, kNone, "Genesis"),
                Btn(1019, 204, 48, 50, 14, kNone, "Gameboy"),
                Btn(1022, 15, 48, 50, 14, kNone, "Colecovision"),
                Btn(1020, 78, 24, 50, 14, kNone, "SMS"), Btn(1021, 204, 24, 50, 14, kNone, "Gamegear"),
                Btn(1040, 304, 4, 15, 14, kNone, "Button1"), Btn(1041, 284, 4, 15, 14, kNone, "Button1"),
                Btn(1018, 207, 5, 50, 14, kNone, "Change User")}});
  t.push_back({IDD_LOGIN, "login", 181, 92, kSans,
               {{1000, Kind::Edit, 63, 22, 83, 12}, {1001, Kind::Password, 63, 39, 83, 12},
                Btn(1, 7, 71, 50, 14, kDisabled), Btn(2, 123, 71), Btn(1041, 66, 71),
                Btn(1039, 7, 54, 22, 10), Btn(1040, 103, 55, 22, 10)}});

  t.push_back({IDD_CONNECTING_NOTICE, "connecting", 186, 49, kSans, {}});
  t.push_back({IDD_CONNECTION_ERROR_NOTICE, "connection error", 186, 90, kSans, {Btn(1, 63, 69)}});
  t.push_back({IDD_BAD_LOGIN_NOTICE, "bad login", 186, 90, kSans, {Btn(1, 67, 69)}});
  t.push_back({IDD_LOADING_NOTICE, "loading", 186, 51, kSans, {}});
  t.push_back({IDD_USER_IN_USE_NOTICE, "user in use", 186, 90, kSans, {Btn(1, 63, 69)}});
  t.push_back({IDD_CLOSE_CLIENTS_NOTICE, "close clients", 186, 90, kSans, {Btn(1, 67, 69)}});
  t.push_back({IDD_GAME_IN_USE_NOTICE, "game in use", 186, 148, kSans,
               {Btn(1, 109, 127), Btn(1034, 7, 127, 61, 14)}});
  t.push_back({IDD_FULL_ACCOUNT_ONLY_NOTICE, "full account only", 186, 90, kSans,
               {Btn(1, 7, 69), Btn(2, 112, 69)}});
  t.push_back({IDD_LIGHT_ACCOUNT_NOTICE, "light account", 172, 149, kSans,
               {Btn(1, 9, 128, 61, 14), Btn(2, 114, 128)}});
  t.push_back({IDD_UPGRADE_REMINDER, "upgrade reminder", 208, 120, kSans,
               {Btn(1, 9, 97), Btn(2, 111, 97)}});

  t.push_back({IDD_A26C, "A26C", 255, 207, kSans, {Btn(1042, 129, 186), Btn(2, 196, 186)}});

  std::vector<Control> gbcc;
  const int gbKeys[][3] = {{1060, 70, 45},  {1061, 70, 59},  {1062, 70, 73},  {1063, 70, 88},
                           {1064, 70, 102}, {1065, 70, 116}, {1066, 70, 131}, {1067, 70, 145},
                           {1069, 70, 160}, {1070, 70, 174}, {1077, 211, 102}, {1078, 211, 117},
                           {1079, 211, 131}, {1080, 211, 145}, {1081, 211, 160}, {1082, 211, 174}};
  for (const auto& f : gbKeys) gbcc.push_back(Field(f[0], f[1], f[2], 70, 13));
  for (Control c : {Btn(1083, 73, 190), Btn(1084, 219, 190), Btn(1, 12, 220), Btn(1042, 149, 220),
                    Btn(2, 259, 220)})
    gbcc.push_back(c);
  t.push_back({IDD_GBCC, "GBCC", 329, 242, kSans, gbcc});

  auto twoColumns = [](const std::vector<std::vector<int>>& fields, std::vector<Control> buttons) {
    std::vector<Control> out;
    for (const auto& f : fields) out.push_back(Field(f[0], f[1], f[2], 70, 14));
    out.insert(out.end(), buttons.begin(), buttons.end());
    return out;
  };
  t.push_back({IDD_GENC, "GENC", 268, 207, kSans,
               twoColumns({{1060, 57, 39}, {1061, 57, 57}, {1062, 57, 75}, {1063, 57, 93},
                           {1065, 57, 111}, {1066, 148, 39}, {1067, 148, 57}, {1073, 148, 75}},
                          {Btn(1068, 71, 186), Btn(1075, 19, 158, 22, 10), Btn(1076, 112, 159, 22, 10),
                           Btn(1, 8, 186), Btn(1042, 134, 186), Btn(2, 197, 186)})});
  t.push_back({IDD_NESC, "NESC", 266, 208, kSans,
               twoColumns({{1060, 57, 39}, {1061, 57, 57}, {1062, 57, 75}, {1063, 57, 93},
                           {1064, 57, 111}, {1065, 57, 129}, {1066, 148, 39}, {1067, 148, 57}},
                          {Btn(1068, 70, 187), Btn(1075, 17, 158, 22, 10), Btn(1076, 110, 159, 22, 10),
                           Btn(1, 7, 187), Btn(1042, 133, 187), Btn(2, 196, 187)})});
  t.push_back({IDD_SNESC, "SNESC", 268, 206, kSans,
               twoColumns({{1060, 57, 39}, {1061, 57, 57}, {1062, 57, 75}, {1063, 57, 93},
                           {1064, 57, 111}, {1065, 57, 129}, {1066, 148, 39}, {1067, 148, 57},
                           {1040, 148, 75}, {1069, 148, 93}, {1070, 148, 111}, {1071, 148, 129}},
                          {Btn(1068, 70, 187), Btn(1075, 19, 158, 22, 10), Btn(1076, 112, 159, 22, 10),
                           Btn(1, 9, 187), Btn(1042, 131, 187), Btn(2, 192, 187)})});

  std::vector<Control> smsc;
  const int smsFields[][3] = {{1060, 75, 43},  {1061, 75, 57},  {1062, 75, 71},  {1063, 75, 85},
                              {1084, 75, 99},  {1085, 75, 113}, {1086, 75, 127}, {1064, 162, 43},
                              {1065, 162, 57}, {1066, 162, 71}, {1067, 162, 85}, {1087, 162, 99},
                              {1088, 162, 113}, {1089, 162, 127}};
  for (const auto& f : smsFields) smsc.push_back(Field(f[0], f[1], f[2], 70, 13));
  for (Control c : {Btn(1091, 77, 142), Btn(1090, 165, 142), Btn(1075, 55, 194, 22, 10),
                    Btn(1076, 181, 194, 22, 10), Btn(1, 7, 219), Btn(1042, 106, 219), Btn(2, 196, 219)})
    smsc.push_back(c);
  t.push_back({IDD_SMSC, "SMSC", 253, 240, "Microsoft Sans Serif", smsc});
  return t;
}

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// The dialog manager converts a control's position and its size each on its own, so the far
// edge is the mapped corner plus the mapped size (not the mapped far corner).
RECT Dlu(HWND dialog, int x, int y, int w, int h) {
  RECT r{x, y, w, h};
  MapDialogRect(dialog, &r);
  return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

class DialogTemplates : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
};

TEST_F(DialogTemplates, EachCreatesItsFrameFontControlsKindsStylesAndRectangles) {
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
    // The template's font as the dialog manager made it: the face named, 8 points at 96 DPI.
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, t.font);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, 96, 72));

    // The backgrounds are painted for the base units of 8-point MS Sans Serif at 96 DPI.
    const RECT cell = Dlu(dialog, 0, 0, 4, 8);
    EXPECT_EQ(cell.right, 6) << "average character width of the template's font";
    EXPECT_EQ(cell.bottom, 13) << "character height of the template's font";

    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    EXPECT_EQ(children.size(), t.controls.size());

    for (const Control& c : t.controls) {
      SCOPED_TRACE("control " + std::to_string(c.id));
      HWND hwnd = GetDlgItem(dialog, c.id);
      ASSERT_NE(hwnd, nullptr);
      const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
      const std::string cls = ClassOf(hwnd);
      switch (c.kind) {
        case Kind::Button:
          EXPECT_STRCASEEQ(cls.c_str(), "Button");
          EXPECT_EQ(style & BS_TYPEMASK, static_cast<LONG_PTR>(BS_OWNERDRAW));
          break;
        case Kind::Edit:
        case Kind::Password:
          EXPECT_STRCASEEQ(cls.c_str(), "Edit");
          EXPECT_TRUE(style & ES_AUTOHSCROLL);
          EXPECT_FALSE(style & ES_MULTILINE);
          EXPECT_EQ((style & ES_PASSWORD) != 0, c.kind == Kind::Password);
          break;
        case Kind::Field:
          EXPECT_STRCASEEQ(cls.c_str(), "Static");
          EXPECT_TRUE(style & SS_NOTIFY) << "a field reports clicks";
          break;
        case Kind::List:
          EXPECT_STRCASEEQ(cls.c_str(), WC_LISTVIEWA);
          EXPECT_EQ(style & LVS_TYPEMASK, static_cast<LONG_PTR>(LVS_REPORT));
          EXPECT_TRUE(style & LVS_SINGLESEL);
          EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
          EXPECT_TRUE(style & LVS_OWNERDATA) << "the list asks its owner for the row texts";
          EXPECT_EQ(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING), LONG_PTR{0});
          break;
      }
      EXPECT_TRUE(style & WS_CHILD);
      EXPECT_EQ((style & WS_DISABLED) != 0, (c.flags & kDisabled) != 0);
      EXPECT_EQ((style & WS_VISIBLE) != 0, (c.flags & kHidden) == 0);
      if (c.text) {
        char text[64] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        EXPECT_STREQ(text, c.text);
      }
      RECT r{};
      GetWindowRect(hwnd, &r);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
      const RECT want = Dlu(dialog, c.x, c.y, c.w, c.h);
      EXPECT_EQ(r.left, want.left);
      EXPECT_EQ(r.top, want.top);
      EXPECT_EQ(r.right, want.right);
      EXPECT_EQ(r.bottom, want.bottom);
    }
    DestroyWindow(dialog);
  }
}

}  // namespace
