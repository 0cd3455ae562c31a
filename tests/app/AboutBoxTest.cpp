// The About box as a real window: template geometry through the dialog's own font metrics,
// its texts and controls, and every way the modal run ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "resources/resource.h"

namespace {

// Runs `body` on the UI thread once the modal About box is up, from a thread timer that the
// dialog's own modal loop dispatches; returns what RunModal returned.
std::function<void(HWND)> g_body;
UINT_PTR g_timer = 0;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND dlg = FindWindowA("#32770", "About VTBrowser");
  if (!dlg || !IsWindowVisible(dlg)) return;
  KillTimer(nullptr, g_timer);
  auto body = std::move(g_body);
  body(dlg);
}

INT_PTR RunAboutWith(std::function<void(HWND)> body) {
  g_body = std::move(body);
  g_timer = SetTimer(nullptr, 0, 10, &OnTick);
  vt::AboutBox about;
  return about.RunModal(nullptr);
}

struct Child {
  HWND hwnd;
  int id;
  std::string cls, text;
  LONG style;
  RECT rect;  // in the dialog's client coordinates
};

std::vector<Child> Children(HWND dlg) {
  std::vector<Child> out;
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    Child ch{c, GetDlgCtrlID(c), {}, {}, static_cast<LONG>(GetWindowLongPtrA(c, GWL_STYLE)), {}};
    char buf[256];
    GetClassNameA(c, buf, sizeof buf);
    ch.cls = buf;
    GetWindowTextA(c, buf, sizeof buf);
    ch.text = buf;
    GetWindowRect(c, &ch.rect);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&ch.rect), 2);
    out.push_back(ch);
  }
  return out;
}

RECT Dlu(HWND dlg, int x, int y, int w, int h) {
  RECT r{x, y, x + w, y + h};
  MapDialogRect(dlg, &r);
  return r;
}

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
  EXPECT_EQ(actual.left, expected.left) << what;
  EXPECT_EQ(actual.top, expected.top) << what;
  EXPECT_EQ(actual.right, expected.right) << what;
  EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

TEST(AboutBox, UsesTheWindowsDialogMetricsOfEightPointMsSansSerif) {
  RunAboutWith([](HWND dlg) {
    RECT units = Dlu(dlg, 0, 0, 4, 8);
    EXPECT_EQ(units.right, 6);
    EXPECT_EQ(units.bottom, 13);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, MulDiv(235, 6, 4));  // 353 px: the platform rounds
    EXPECT_EQ(client.bottom, MulDiv(55, 13, 8));  // 89 px
    EndDialog(dlg, IDOK);
  });
}

TEST(AboutBox, HasCaptionTextsAndControlsOfTheTemplate) {
  RunAboutWith([](HWND dlg) {
    char caption[64];
    GetWindowTextA(dlg, caption, sizeof caption);
    EXPECT_STREQ(caption, "About VTBrowser");
    LONG style = static_cast<LONG>(GetWindowLongPtrA(dlg, GWL_STYLE));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(GetWindowLongPtrA(dlg, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    std::vector<Child> kids = Children(dlg);
    ASSERT_EQ(kids.size(), 4u);

    const Child& icon = kids[0];
    EXPECT_EQ(icon.cls, "Static");
    EXPECT_EQ(icon.id, 0xFFFF);
    EXPECT_EQ(icon.style & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(SendMessageA(icon.hwnd, STM_GETICON, 0, 0), 0) << "icon control holds no icon";
    // An icon static sizes itself to its icon; its origin is the template's.
    RECT iconAt = Dlu(dlg, 11, 17, 20, 20);
    EXPECT_EQ(icon.rect.left, iconAt.left);
    EXPECT_EQ(icon.rect.top, iconAt.top);

    const Child& name = kids[1];
    EXPECT_EQ(name.cls, "Static");
    EXPECT_EQ(name.id, 0xFFFF);
    EXPECT_EQ(name.text, "VTBrowser Version 1.0");
    EXPECT_TRUE(name.style & SS_NOPREFIX);
    ExpectRect(name.rect, Dlu(dlg, 40, 10, 119, 8), "version text");

    const Child& second = kids[2];
    EXPECT_EQ(second.cls, "Static");
    EXPECT_EQ(second.id, 0xFFFF);
    EXPECT_FALSE(second.text.empty());
    ExpectRect(second.rect, Dlu(dlg, 40, 25, 119, 8), "second line");

    const Child& ok = kids[3];
    EXPECT_EQ(ok.cls, "Button");
    EXPECT_EQ(ok.id, IDOK);
    EXPECT_EQ(ok.text, "OK");
    EXPECT_EQ(ok.style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    ExpectRect(ok.rect, Dlu(dlg, 178, 7, 50, 14), "OK button");
    EndDialog(dlg, IDOK);
  });
}

TEST(AboutBox, OkButtonEndsTheRun) {
  INT_PTR r = RunAboutWith([](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); });
  EXPECT_EQ(r, IDOK);
}

TEST(AboutBox, EscapeEndsTheRun) {
  INT_PTR r = RunAboutWith([](HWND dlg) {
    // Keyboard input reaches the focused control; the dialog manager turns Escape into Cancel.
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  });
  EXPECT_EQ(r, IDCANCEL);
}

TEST(AboutBox, CloseBoxEndsTheRun) {
  INT_PTR r = RunAboutWith([](HWND dlg) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_EQ(r, IDCANCEL);
}

}  // namespace
