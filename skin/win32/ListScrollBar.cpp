#include "skin/win32/ListScrollBar.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/win32/Handles.h"
#include "resources/resource.h"
#include "skin/win32/GameList.h"
#include "skin/win32/OffscreenDC.h"
#include "skin/win32/SkinImages.h"

namespace vt::skin {
namespace {

constexpr char kClassName[] = "VtListScrollBar";

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  win::Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.get());
}

}  // namespace

ListScrollBar::ListScrollBar(BarOrientation orientation, GameList& list)
    : list_(list), logic_(orientation, *this) {}

ListScrollBar::~ListScrollBar() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool ListScrollBar::Create(HWND parent) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, kClassName, &wc)) {
    // No double-click style: two quick presses on an arrow are two presses.
    wc.lpfnWndProc = &ListScrollBar::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return false;
  }
  hwnd_ =
      CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)), instance, this);
  return hwnd_ != nullptr;
}

int ListScrollBar::SystemBar() const {
  return logic_.Orientation() == BarOrientation::Vertical ? SB_VERT : SB_HORZ;
}

int ListScrollBar::Length() {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return logic_.Orientation() == BarOrientation::Vertical ? r.bottom : r.right;
}

int ListScrollBar::Position() { return list_.ScrollPosition(SystemBar()); }
int ListScrollBar::Limit() { return list_.ScrollLimitOf(SystemBar()); }

void ListScrollBar::Scroll(ScrollCommand command) {
  const UINT msg = logic_.Orientation() == BarOrientation::Vertical ? WM_VSCROLL : WM_HSCROLL;
  SendMessageA(list_.Hwnd(), msg, MAKEWPARAM(static_cast<int>(command), 0), 0);
}

void ListScrollBar::ScrollBy(int delta) {
  if (logic_.Orientation() == BarOrientation::Horizontal) {
    ListView_Scroll(list_.Hwnd(), delta, 0);
    return;
  }
  RECT row{};
  if (!ListView_GetItemRect(list_.Hwnd(), 0, &row, LVIR_BOUNDS)) return;
  ListView_Scroll(list_.Hwnd(), 0, delta * (row.bottom - row.top));
}

void ListScrollBar::StartTimer(int id, int milliseconds) {
  SetTimer(hwnd_, id, milliseconds, nullptr);
}
void ListScrollBar::StopTimer(int id) { KillTimer(hwnd_, id); }
void ListScrollBar::Capture() { SetCapture(hwnd_); }

void ListScrollBar::ReleaseCapture() {
  releasing_ = true;
  ::ReleaseCapture();
  releasing_ = false;
}

void ListScrollBar::Repaint() { InvalidateRect(hwnd_, nullptr, FALSE); }

LRESULT CALLBACK ListScrollBar::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<ListScrollBar*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
  const LRESULT result = self->Handle(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

LRESULT ListScrollBar::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      logic_.ButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_LBUTTONUP:
      logic_.ButtonUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_MOUSEMOVE:
      logic_.PointerMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_CAPTURECHANGED:
      if (!releasing_) logic_.CaptureLost();
      break;
    case WM_TIMER:
      logic_.Timer(static_cast<int>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 0;  // the paint covers every pixel
    case WM_PAINT:
      PaintClientOffscreen(hwnd_, [this](HDC dc, const RECT& r) { Paint(dc, r.right, r.bottom); });
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

void ListVScrollBar::Paint(HDC dc, int w, int h) {
  FillSolid(dc, RECT{0, 0, w, h}, RGB(74, 82, 107));
  GameList& list = List();
  DrawBitmap(dc, list.SkinImage(IDB_VSCROLL_TOP_CAP), 0, 0, 12, 11);
  DrawBitmap(dc, list.SkinImage(IDB_VSCROLL_UP), 0, 11, 12, 26);
  StretchBitmap(dc, list.SkinImage(IDB_VSCROLL_TRACK), 0, 37, 12, h - 37);
  DrawBitmap(dc, list.SkinImage(IDB_VSCROLL_DOWN), 0, h - 37, 12, 26);
  DrawBitmap(dc, list.SkinImage(IDB_VSCROLL_BOTTOM_CAP), 1, h - 11, 11, 11);
  if (Limit() != 0)
    DrawBitmap(dc, list.SkinImage(IDB_VSCROLL_THUMB), 0, Logic().ThumbStart(), 12, 26);
}

void ListHScrollBar::Paint(HDC dc, int w, int h) {
  FillSolid(dc, RECT{0, 0, w, h}, kSkinBlue);
  StretchBitmap(dc, List().SkinImage(IDB_HSCROLL_TRACK), 0, 0, w, 12);
  if (Limit() != 0) {
    // The skin has no image for this thumb: a grey-blue block framed in the selection's grey.
    const int left = Logic().ThumbStart();
    FillSolid(dc, RECT{left, 0, left + kThumbLength, 12}, RGB(229, 229, 229));
    FillSolid(dc, RECT{left + 1, 1, left + kThumbLength - 1, 11}, RGB(115, 123, 165));
  }
}

}  // namespace vt::skin
