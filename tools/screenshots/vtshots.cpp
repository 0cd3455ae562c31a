// vtshots: shows every window template of the client, one at a time, dressed in its skin, so
// that tools/screenshots/screenshots.sh can photograph it. For each window it prints
//   READY <name> <left> <top> <width> <height>
// once the window has painted, then waits for a line on standard input before the next one.
// Windows are shown the plain way (background bitmap, region, owner-drawn images); the
// behaviour of the real windows lives in their own classes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

struct ButtonImages {
  int id, normal, pressed, disabled;
};

struct Shot {
  const char* name;
  int dialog;
  int background;  // 0: the plain About box
  bool keyed;
  std::vector<ButtonImages> buttons;
  std::vector<int> show;  // controls shown (id) or hidden (-id) against the template
};

const COLORREF kSkinBlue = RGB(34, 80, 163);
const std::vector<ButtonImages> kSetupCommon = {
    {IDC_SETUP_OK, IDB_OK_NORMAL, IDB_OK_PRESSED, IDB_OK_DISABLED},
    {IDC_SETUP_CANCEL, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, 0},
    {IDC_SETUP_ADVANCED, IDB_ADVANCED_NORMAL, IDB_ADVANCED_PRESSED, 0},
    {IDC_SETUP_PLAYER1, IDB_LAMP_ON, IDB_LAMP_OFF, 0},
    {IDC_SETUP_PLAYER2, IDB_LAMP_OFF, IDB_LAMP_ON, 0}};

std::vector<ButtonImages> Setup(std::vector<ButtonImages> setAll) {
  std::vector<ButtonImages> all = kSetupCommon;
  for (auto& b : setAll) all.push_back(b);
  return all;
}

std::vector<Shot> Shots() {
  ButtonImages close1{IDC_NOTICE_OK, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, 0};
  ButtonImages setAll{IDC_SETUP_SET_ALL, IDB_SET_ALL_NORMAL, IDB_SET_ALL_PRESSED, IDB_SET_ALL_DISABLED};
  return {
      {"about", IDD_ABOUTBOX, 0, false, {}, {}},
      {"browser", IDD_BROWSER, IDB_BROWSER_BACKGROUND, false,
       {{IDC_BROWSER_RANGE_0_9, 148, 149, 0}, {IDC_BROWSER_RANGE_A_B, 150, 151, 0},
        {IDC_BROWSER_RANGE_C_D, 153, 152, 0}, {IDC_BROWSER_RANGE_E_F, 155, 154, 0},
        {IDC_BROWSER_RANGE_G_H, 157, 156, 0}, {IDC_BROWSER_RANGE_I_J, 159, 158, 0},
        {IDC_BROWSER_RANGE_K_L, 161, 160, 0}, {IDC_BROWSER_RANGE_M_N, 163, 162, 0},
        {IDC_BROWSER_RANGE_O_P, 165, 164, 0}, {IDC_BROWSER_RANGE_Q_R, 167, 166, 0},
        {IDC_BROWSER_RANGE_S_T, 169, 168, 0}, {IDC_BROWSER_RANGE_U_V, 171, 170, 0},
        {IDC_BROWSER_RANGE_W_X, 173, 172, 0}, {IDC_BROWSER_RANGE_Y_Z, 175, 174, 0},
        {IDC_BROWSER_RANGE_ALL, 177, 176, 0}, {IDC_BROWSER_CLOSE, 185, 184, 0},
        {IDC_BROWSER_LAUNCH, 181, 179, 180}, {IDC_BROWSER_GAME_INFO, 187, 186, 188},
        {IDC_BROWSER_SETUP_HELP, 190, 189, 0}, {IDC_BROWSER_UPGRADE_NOW, 192, 191, 0},
        {IDC_BROWSER_SEARCH, 195, 193, 194}, {IDC_BROWSER_NES, 197, 196, 0},
        {IDC_BROWSER_SNES, 199, 198, 0}, {IDC_BROWSER_ATARI, 201, 200, 0},
        {IDC_BROWSER_GENESIS, 203, 202, 0}, {IDC_BROWSER_GAMEBOY, 268, 267, 0},
        {IDC_BROWSER_COLECO, 290, 291, 0}, {IDC_BROWSER_SMS, 279, 278, 0},
        {IDC_BROWSER_GAMEGEAR, 286, 285, 0}, {IDC_BROWSER_QUIT, 204, 207, 0},
        {IDC_BROWSER_MINIMISE, 205, 206, 0}, {IDC_BROWSER_CHANGE_USER, 265, 266, 0}},
       {IDC_BROWSER_UPGRADE_NOW}},
      {"login", IDD_LOGIN, IDB_LOGIN_BACKGROUND, true,
       {{IDC_LOGIN_LOGIN, 139, 140, 145}, {IDC_LOGIN_CANCEL, 143, 144, 0},
        {IDC_LOGIN_SIGNUP, 226, 225, 0}, {IDC_LOGIN_SAVE_SETTINGS, 146, 147, 0},
        {IDC_LOGIN_AUTO_LOGIN, 147, 146, 0}},
       {}},
      {"connecting", IDD_CONNECTING_NOTICE, 261, false, {}, {}},
      {"connection-error", IDD_CONNECTION_ERROR_NOTICE, 262, false,
       {{IDC_NOTICE_OK, IDB_OK_NORMAL, IDB_OK_PRESSED, 0}}, {}},
      {"bad-login", IDD_BAD_LOGIN_NOTICE, 217, true, {close1}, {}},
      {"loading", IDD_LOADING_NOTICE, 219, false, {}, {}},
      {"user-in-use", IDD_USER_IN_USE_NOTICE, 223, true, {{IDC_NOTICE_OK, 185, 184, 145}}, {}},
      {"close-clients", IDD_CLOSE_CLIENTS_NOTICE, 224, true, {{IDC_NOTICE_OK, 185, 184, 145}}, {}},
      {"game-in-use-full", IDD_GAME_IN_USE_NOTICE, 214, true, {close1}, {-IDC_NOTICE_UPGRADE_ACCOUNT}},
      {"game-in-use-free", IDD_GAME_IN_USE_NOTICE, 215, true,
       {close1, {IDC_NOTICE_UPGRADE_ACCOUNT, 192, 191, 0}}, {}},
      {"full-account-only", IDD_FULL_ACCOUNT_ONLY_NOTICE, 221, true,
       {{IDC_NOTICE_OK, 192, 191, 0}, {IDC_NOTICE_CANCEL, 185, 184, 145}}, {}},
      {"light-account", IDD_LIGHT_ACCOUNT_NOTICE, 273, false,
       {{IDC_NOTICE_OK, 192, 191, 0}, {IDC_NOTICE_CANCEL, 259, 257, 258}}, {}},
      {"upgrade-reminder", IDD_UPGRADE_REMINDER, 255, false,
       {{IDC_NOTICE_OK, 192, 191, 0}, {IDC_NOTICE_CANCEL, 259, 257, 258}}, {}},
      {"setup-a26c", IDD_A26C, 253, false,
       {{IDC_SETUP_CANCEL, 185, 184, 0}, {IDC_SETUP_ADVANCED, 243, 242, 0}}, {}},
      {"setup-gbcc", IDD_GBCC, 277, false,
       {{IDC_SETUP_OK, 241, 240, 244}, {IDC_SETUP_CANCEL, 185, 184, 0},
        {IDC_SETUP_ADVANCED, 243, 242, 0}, {IDC_GBCC_SET_ALL_KEYBOARD, 247, 245, 246},
        {IDC_GBCC_SET_ALL_JOYSTICK, 247, 245, 246}},
       {}},
      {"setup-genc", IDD_GENC, 249, false, Setup({setAll}), {}},
      {"setup-nesc", IDD_NESC, 251, false, Setup({setAll}), {}},
      {"setup-smsc", IDD_SMSC, 289, false,
       Setup({{IDC_SMSC_SET_ALL_KEYBOARD, 247, 245, 246}, {IDC_SMSC_SET_ALL_JOYSTICK, 247, 245, 246}}),
       {}},
      {"setup-snesc", IDD_SNESC, 239, false, Setup({setAll}), {}},
  };
}

struct State {
  const Shot* shot;
  HBITMAP background = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  std::vector<HBITMAP> images;  // loaded per button: normal, pressed, disabled
};
State* g_state = nullptr;

HBITMAP Load(int number) {
  return number ? LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(number)) : nullptr;
}

SIZE BitmapSize(HBITMAP b) {
  BITMAP bm{};
  GetObjectA(b, sizeof bm, &bm);
  return {bm.bmWidth, bm.bmHeight};
}

// Region of the pixels that are not the key colour, one rectangle per run.
HRGN KeyedRegion(HBITMAP bitmap) {
  SIZE s = BitmapSize(bitmap);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = s.cx;
  info.bmiHeader.biHeight = -s.cy;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> px(static_cast<size_t>(s.cx) * s.cy);
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, s.cy, px.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (int y = 0; y < s.cy; ++y)
    for (int x = 0; x < s.cx;) {
      auto key = [&](int i) { return (px[static_cast<size_t>(y) * s.cx + i] & 0xFFFFFF) == 0xFF00FF; };
      while (x < s.cx && key(x)) ++x;
      int start = x;
      while (x < s.cx && !key(x)) ++x;
      if (x > start) {
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        CombineRgn(region, region, run, RGN_OR);
        DeleteObject(run);
      }
    }
  return region;
}

void Dress(HWND hwnd, State& st) {
  const Shot& shot = *st.shot;
  if (!shot.background) return;
  st.background = Load(shot.background);
  SIZE s = BitmapSize(st.background);
  int x = (GetSystemMetrics(SM_CXSCREEN) / 2) - (s.cx / 2);
  int y = (GetSystemMetrics(SM_CYSCREEN) / 2) - (s.cy / 2);
  SetWindowPos(hwnd, HWND_TOP, x, y, s.cx, s.cy, 0);
  if (shot.keyed) SetWindowRgn(hwnd, KeyedRegion(st.background), TRUE);
  for (const ButtonImages& b : shot.buttons) {
    HBITMAP normal = Load(b.normal);
    st.images.insert(st.images.end(), {normal, Load(b.pressed), Load(b.disabled)});
    SIZE bs = BitmapSize(normal);
    SetWindowPos(GetDlgItem(hwnd, b.id), nullptr, 0, 0, bs.cx, bs.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  }
  for (int id : shot.show) ShowWindow(GetDlgItem(hwnd, id < 0 ? -id : id), id < 0 ? SW_HIDE : SW_SHOW);
  st.brush = CreateSolidBrush(kSkinBlue);
  LOGFONTA lf{};
  lf.lfHeight = 20;
  lstrcpyA(lf.lfFaceName, "Arial");
  st.font = CreateFontIndirectA(&lf);
  // Sample contents, so that the picture shows fields and boxes as a user sees them.
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(st.font), TRUE);
      SetWindowTextA(child, "Left Ctrl");
    } else if (lstrcmpiA(cls, "Edit") == 0) {
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(st.font), TRUE);
      SetWindowTextA(child, GetDlgCtrlID(child) == IDC_LOGIN_PASSWORD ? "secret" : "player one");
    }
  }
  HWND list = GetDlgItem(hwnd, IDC_BROWSER_LIST);
  if (list) {
    ListView_SetBkColor(list, kSkinBlue);
    ListView_SetTextBkColor(list, kSkinBlue);
    ListView_SetTextColor(list, RGB(255, 255, 255));
    RECT rc;
    GetClientRect(list, &rc);
    int u = (rc.right - rc.left) / 6;
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = LVCFMT_LEFT;
    col.cx = 5 * u - 24;
    col.pszText = const_cast<char*>("Title");
    ListView_InsertColumn(list, 0, &col);
    col.fmt = LVCFMT_RIGHT;
    col.cx = u + 20;
    col.pszText = const_cast<char*>("Available");
    ListView_InsertColumn(list, 1, &col);
    const char* rows[][2] = {{"Adventure Quest", "Available"}, {"Block Breaker", "UnAvailable"},
                             {"Castle Runner", "Preferred"}, {"Dungeon Dash", "Available"}};
    for (int i = 0; i < 4; ++i) {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = const_cast<char*>(rows[i][0]);
      ListView_InsertItem(list, &item);
      ListView_SetItemText(list, i, 1, const_cast<char*>(rows[i][1]));
    }
    LOGFONTA lf16{};
    lf16.lfHeight = 16;
    lstrcpyA(lf16.lfFaceName, "Arial");
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectA(&lf16)), TRUE);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
}

INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  State* st = g_state;
  switch (msg) {
    case WM_INITDIALOG:
      Dress(hwnd, *st);
      return TRUE;
    case WM_ERASEBKGND:
      if (st && st->background) {
        HDC mem = CreateCompatibleDC(reinterpret_cast<HDC>(wp));
        HGDIOBJ old = SelectObject(mem, st->background);
        SIZE s = BitmapSize(st->background);
        BitBlt(reinterpret_cast<HDC>(wp), 0, 0, s.cx, s.cy, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      return FALSE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORMSGBOX:
      if (st && st->brush) {
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
        SetBkColor(reinterpret_cast<HDC>(wp), kSkinBlue);
        return reinterpret_cast<INT_PTR>(st->brush);
      }
      return FALSE;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      const auto& buttons = st->shot->buttons;
      for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].id != static_cast<int>(item->CtlID)) continue;
        HBITMAP image = st->images[3 * i];
        if ((item->itemState & ODS_SELECTED) && st->images[3 * i + 1]) image = st->images[3 * i + 1];
        else if ((item->itemState & ODS_DISABLED) && st->images[3 * i + 2]) image = st->images[3 * i + 2];
        HDC mem = CreateCompatibleDC(item->hDC);
        HGDIOBJ old = SelectObject(mem, image);
        BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right - item->rcItem.left,
               item->rcItem.bottom - item->rcItem.top, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
      }
      return TRUE;
    }
  }
  return FALSE;
}

// Lets every pending paint run, then waits until the window has been idle for a moment so
// that Wine has pushed its window surface to the X server.
void Settle() {
  for (int idle = 0; idle < 4;) {
    MSG m;
    bool any = false;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
      any = true;
    }
    idle = any ? 0 : idle + 1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 60, QS_ALLINPUT);
  }
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  for (const Shot& shot : Shots()) {
    State st;
    st.shot = &shot;
    g_state = &st;
    HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(shot.dialog), nullptr,
                                   Proc, 0);
    if (!hwnd) {
      std::printf("FAILED %s\n", shot.name);
      std::fflush(stdout);
      continue;
    }
    SetWindowTextA(hwnd, (std::string("vtshots ") + shot.name).c_str());
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    Settle();
    RECT r;
    GetWindowRect(hwnd, &r);
    std::printf("READY %s %ld %ld %ld %ld\n", shot.name, r.left, r.top, r.right - r.left,
                r.bottom - r.top);
    std::fflush(stdout);
    char line[64];
    if (!std::fgets(line, sizeof line, stdin)) {}
    DestroyWindow(hwnd);
    for (HBITMAP b : st.images)
      if (b) DeleteObject(b);
    if (st.background) DeleteObject(st.background);
    if (st.brush) DeleteObject(st.brush);
    if (st.font) DeleteObject(st.font);
    g_state = nullptr;
  }
  std::printf("DONE\n");
  std::fflush(stdout);
  return 0;
}
