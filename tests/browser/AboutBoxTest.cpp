// The About box as a real window: template geometry through the dialog's own font metrics,
// its texts and controls, and every way the modal run ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "browser/win32/AboutBox.h"
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

TEST(AboutBox, HasTheTemplatesCaptionTextsAndControlsInEightPointMsSansSerifMetrics) {
  RunAboutWith([](HWND dlg) {
    // The Windows dialog units of the font: 4 x 8 units are 6 x 13 pixels.
    const RECT units = Dlu(dlg, 0, 0, 4, 8);
    EXPECT_EQ(units.right, 6);
    EXPECT_EQ(units.bottom, 13);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, MulDiv(235, 6, 4));  // 353 px: the platform rounds
    EXPECT_EQ(client.bottom, MulDiv(55, 13, 8));  // 89 px

    char caption[64];
    GetWindowTextA(dlg, caption, sizeof caption);
    EXPECT_STREQ(caption, "About VTBrowser");
    LONG style = static_cast<LONG>(GetWindowLongPtrA(dlg, GWL_STYLE));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(GetWindowLongPtrA(dlg, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    const struct {
      const char* cls;
      int id;
      int x, y, w, h;  // dialog units
    } want[] = {{"Static", 0xFFFF, 11, 17, 20, 20},  // the icon
                {"Static", 0xFFFF, 40, 10, 119, 8},  // the version text
                {"Static", 0xFFFF, 40, 25, 119, 8},  // the second line
                {"Button", IDOK, 178, 7, 50, 14}};
    const std::vector<Child> kids = Children(dlg);
    ASSERT_EQ(kids.size(), std::size(want));
    for (size_t i = 0; i < kids.size(); ++i) {
      SCOPED_TRACE("child " + std::to_string(i));
      EXPECT_EQ(kids[i].cls, want[i].cls);
      EXPECT_EQ(kids[i].id, want[i].id);
      const RECT at = Dlu(dlg, want[i].x, want[i].y, want[i].w, want[i].h);
      EXPECT_EQ(kids[i].rect.left, at.left);
      EXPECT_EQ(kids[i].rect.top, at.top);
      if (i == 0) continue;  // an icon static sizes itself to its icon
      EXPECT_EQ(kids[i].rect.right, at.right);
      EXPECT_EQ(kids[i].rect.bottom, at.bottom);
    }
    EXPECT_EQ(kids[0].style & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(SendMessageA(kids[0].hwnd, STM_GETICON, 0, 0), 0) << "icon control holds no icon";
    EXPECT_EQ(kids[1].text, "VTBrowser Version 1.0");
    EXPECT_TRUE(kids[1].style & SS_NOPREFIX);
    EXPECT_FALSE(kids[2].text.empty());
    EXPECT_EQ(kids[3].text, "OK");
    EXPECT_EQ(kids[3].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EndDialog(dlg, IDOK);
  });
}

TEST(AboutBox, OkEscapeAndTheCloseBoxEndTheRun) {
  const struct {
    const char* way;
    void (*leave)(HWND);
    INT_PTR result;
  } ways[] = {
      {"OK", [](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); }, IDOK},
      // Keyboard input reaches the focused control; the dialog manager turns Escape into Cancel.
      {"Escape",
       [](HWND) {
         HWND focus = GetFocus();
         ASSERT_NE(focus, nullptr);
         PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
         PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
       },
       IDCANCEL},
      {"close box", [](HWND dlg) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
  };
  for (const auto& w : ways) EXPECT_EQ(RunAboutWith(w.leave), w.result) << w.way;
}

}  // namespace
