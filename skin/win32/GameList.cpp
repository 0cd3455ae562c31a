#include "skin/win32/GameList.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "skin/ListBarLogic.h"
#include "skin/win32/OffscreenDC.h"

namespace vt::skin {
namespace {

constexpr UINT_PTR kSubclassId = 0x564C;  // "VL"
constexpr int kImages[] = {IDB_VSCROLL_TOP_CAP, IDB_VSCROLL_UP,       IDB_VSCROLL_TRACK,
                           IDB_VSCROLL_DOWN,    IDB_VSCROLL_BOTTOM_CAP, IDB_VSCROLL_THUMB,
                           IDB_HEADER_FILL,     IDB_HEADER_LEFT_EDGE, IDB_HEADER_RIGHT_EDGE,
                           IDB_HSCROLL_TRACK};

}  // namespace

GameList::GameList(BitmapLoader loader) : loader_(std::move(loader)), vbar_(*this), hbar_(*this) {}

GameList::~GameList() { Detach(); }

void GameList::Detach() {
  header_.Detach();
  if (subclassed_) RemoveWindowSubclass(subclassed_, &GameList::Proc, kSubclassId);
  subclassed_ = nullptr;
}

void GameList::OnAttached() {
  for (int id : kImages)
    if (!images_.count(id) && loader_) images_[id].reset(loader_(id));
  header_.Attach(ListView_GetHeader(Hwnd()), *this);
  if (SetWindowSubclass(Hwnd(), &GameList::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    subclassed_ = Hwnd();
}

HBITMAP GameList::SkinImage(int id) const {
  auto it = images_.find(id);
  return it == images_.end() ? nullptr : it->second.get();
}

int GameList::ScrollPosition(int bar) const {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS;
  if (!FlatSB_GetScrollInfo(Hwnd(), bar, &si)) return 0;
  return si.nPos;
}

int GameList::ScrollLimitOf(int bar) const {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  if (!FlatSB_GetScrollInfo(Hwnd(), bar, &si)) return 0;
  return ScrollLimit(si.nMax, si.nPage);
}

void GameList::InitList() {
  HWND list = Hwnd();
  InitializeFlatSB(list);
  FlatSB_EnableScrollBar(list, SB_BOTH, ESB_DISABLE_BOTH);
  // Where flat scroll bars are not available the list's own bars are hidden at every frame
  // calculation (see Handle); make one happen now.
  SetWindowPos(list, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  HWND parent = GetParent(list);
  vbar_.Create(parent);
  hbar_.Create(parent);
  LayoutBars();
}

void GameList::LayoutBars() {
  HWND list = Hwnd();
  RECT r{};
  GetWindowRect(list, &r);
  MapWindowPoints(nullptr, GetParent(list), reinterpret_cast<POINT*>(&r), 2);
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (vbar_.Hwnd()) SetWindowPos(vbar_.Hwnd(), nullptr, r.right, r.top, 12, r.bottom + 12 - r.top, flags);
  if (hbar_.Hwnd()) SetWindowPos(hbar_.Hwnd(), nullptr, r.left, r.bottom, r.right + 1 - r.left, 12, flags);
  hbar_.UpdateBar();
  vbar_.UpdateBar();
}

void GameList::UpdateBars() {
  vbar_.UpdateBar();
  hbar_.UpdateBar();
}

LRESULT GameList::CustomDraw(NMLVCUSTOMDRAW& draw) {
  HWND list = Hwnd();
  const int item = static_cast<int>(draw.nmcd.dwItemSpec);
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      itemWasSelected_ = (ListView_GetItemState(list, item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
      if (itemWasSelected_) {
        draw.clrText = kSelectedText;
        draw.clrTextBk = kSelectedBackground;
        // The list must not paint its own highlight over ours; the state comes back at
        // post-paint. Some list implementations read the highlight from the draw state.
        draw.nmcd.uItemState &= ~CDIS_SELECTED;
        ListView_SetItemState(list, item, 0, LVIS_SELECTED);
      }
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
      if (itemWasSelected_) ListView_SetItemState(list, item, LVIS_SELECTED, LVIS_SELECTED);
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

bool GameList::OnReflect(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  if (msg != WM_NOTIFY) return false;
  auto* header = reinterpret_cast<NMHDR*>(lp);
  if (header->hwndFrom != Hwnd() || header->code != NM_CUSTOMDRAW) return false;
  const LRESULT answer = CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
  // A dialog answers notifications through its message result.
  SetWindowLongPtrA(GetParent(Hwnd()), DWLP_MSGRESULT, answer);
  result = TRUE;
  return true;
}

void GameList::Paint() {
  HWND list = Hwnd();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(list, &ps);
  RECT client{};
  GetClientRect(list, &client);
  {
    OffscreenDC off(dc, client);
    // The header keeps its own painting.
    if (HWND header = ListView_GetHeader(list); header && IsWindowVisible(header)) {
      RECT hr{};
      GetWindowRect(header, &hr);
      MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&hr), 2);
      ExcludeClipRect(dc, hr.left, hr.top, hr.right, hr.bottom);
    }
    RECT clip{};
    GetClipBox(off.get(), &clip);
    win::Brush blue(CreateSolidBrush(kSkinBlue));
    FillRect(off.get(), &clip, blue.get());
    ListView_SetTextBkColor(list, kSkinBlue);
    UpdateBars();
    DefSubclassProc(list, WM_PAINT, reinterpret_cast<WPARAM>(off.get()), 0);
  }
  EndPaint(list, &ps);
}

LRESULT CALLBACK GameList::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  return reinterpret_cast<GameList*>(data)->Handle(msg, wp, lp);
}

LRESULT GameList::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  HWND list = Hwnd();
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      UpdateBars();
      return 0;  // nothing erased: the paint covers everything
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_KEYUP:
      UpdateBars();
      break;
    case WM_NCCALCSIZE: {
      UpdateWindow(list);
      // The platform's own bars never take room or paint; their range and position stay.
      const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
      if (style & (WS_VSCROLL | WS_HSCROLL))
        SetWindowLongPtrA(list, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
      break;
    }
    case WM_NCDESTROY: {
      const LRESULT r = DefSubclassProc(list, msg, wp, lp);
      Detach();
      return r;
    }
    default:
      break;
  }
  return DefSubclassProc(list, msg, wp, lp);
}

}  // namespace vt::skin
