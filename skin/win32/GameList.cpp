#include "skin/win32/GameList.h"

#include <commctrl.h>

#include <algorithm>

#include "resources/resource.h"
#include "skin/ListBarLogic.h"
#include "skin/win32/OffscreenDC.h"

namespace vt::skin {
namespace {

constexpr int kImages[] = {IDB_VSCROLL_TOP_CAP, IDB_VSCROLL_UP,         IDB_VSCROLL_TRACK,
                           IDB_VSCROLL_DOWN,    IDB_VSCROLL_BOTTOM_CAP, IDB_VSCROLL_THUMB,
                           IDB_HEADER_FILL,     IDB_HEADER_LEFT_EDGE,   IDB_HEADER_RIGHT_EDGE,
                           IDB_HSCROLL_TRACK};

}  // namespace

GameList::GameList(BitmapLoader loader) : loader_(std::move(loader)), vbar_(*this), hbar_(*this) {}

GameList::~GameList() { header_.Detach(); }

void GameList::OnAttached() {
  for (int id : kImages)
    if (!images_.count(id) && loader_) images_[id].reset(loader_(id));
  header_.Attach(ListView_GetHeader(Hwnd()), *this);
  Hook(Hwnd());
}

HBITMAP GameList::SkinImage(int id) const {
  auto it = images_.find(id);
  return it == images_.end() ? nullptr : it->second.get();
}

// The scroll state is read from the list's own layout, not from any scroll bar: the list's
// bars are hidden (flat bars disabled, or stripped at every frame calculation), and whether the
// scroll-bar calls still report the state then differs between list implementations. Rows
// scroll vertically, so the vertical position is the top row; the header moves left with the
// columns, so the horizontal position is how far it sits left of the client area.
int GameList::ScrollPosition(int bar) const {
  HWND list = Hwnd();
  if (bar == SB_VERT) return ListView_GetTopIndex(list);
  HWND header = ListView_GetHeader(list);
  if (!header) return 0;
  RECT hr{};
  GetWindowRect(header, &hr);
  MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&hr), 2);
  return hr.left < 0 ? -hr.left : 0;
}

// The greatest position: rows beyond one page, or column width beyond the client width (the
// scroll range's maximum minus the page plus one, as the list sets its range).
int GameList::ScrollLimitOf(int bar) const {
  HWND list = Hwnd();
  if (bar == SB_VERT) {
    const int rows = ListView_GetItemCount(list);
    const int page = ListView_GetCountPerPage(list);
    return rows > page ? rows - page : 0;
  }
  HWND header = ListView_GetHeader(list);
  const int columns = header ? Header_GetItemCount(header) : 0;
  if (columns <= 0) return 0;
  RECT last{};
  Header_GetItemRect(header, columns - 1, &last);
  RECT client{};
  GetClientRect(list, &client);
  return last.right > client.right ? last.right - client.right : 0;
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
  if (vbar_.Hwnd())
    SetWindowPos(vbar_.Hwnd(), nullptr, r.right, r.top, 12, r.bottom + 12 - r.top, flags);
  if (hbar_.Hwnd())
    SetWindowPos(hbar_.Hwnd(), nullptr, r.left, r.bottom, r.right + 1 - r.left, 12, flags);
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
        painting_ = true;
        ListView_SetItemState(list, item, 0, LVIS_SELECTED);
        painting_ = false;
      }
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
      if (itemWasSelected_) {
        painting_ = true;
        ListView_SetItemState(list, item, LVIS_SELECTED, LVIS_SELECTED);
        painting_ = false;
      }
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void GameList::SetRows(std::vector<Row> rows) {
  HWND list = Hwnd();
  ListView_SetItemCountEx(list, 0, 0);  // drops the selection and the old texts' rows
  rows_ = std::move(rows);
  ListView_SetItemCountEx(list, static_cast<int>(rows_.size()), 0);
}

const char* GameList::TextOf(int row, int column) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return "";
  const char* text = column == 0 ? rows_[row].title.c_str() : rows_[row].mark;
  return text ? text : "";
}

void GameList::GiveTexts(NMHDR& header) {
  if (header.code == LVN_GETDISPINFOA) {
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    lstrcpynA(item.pszText, TextOf(item.iItem, item.iSubItem), item.cchTextMax);
  } else {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    // The texts are in the program's code page, like every text of the client.
    if (!MultiByteToWideChar(CP_ACP, 0, TextOf(item.iItem, item.iSubItem), -1, item.pszText,
                             item.cchTextMax))
      item.pszText[item.cchTextMax - 1] = L'\0';
  }
}

int GameList::FindRow(const NMHDR& header) const {
  // The ANSI and wide forms differ only in the text's type; the list sends the parent's form.
  std::string typed;
  int start = 0;
  if (header.code == LVN_ODFINDITEMA) {
    const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
    typed = find.lvfi.psz;
    start = find.iStart;
  } else {
    const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
    char text[256] = {};
    WideCharToMultiByte(CP_ACP, 0, find.lvfi.psz, -1, text, sizeof text - 1, nullptr, nullptr);
    typed = text;
    start = find.iStart;
  }
  const int n = static_cast<int>(rows_.size());
  if (typed.empty() || n == 0) return -1;
  if (start < 0 || start >= n) start = 0;
  for (int k = 0; k < n; ++k) {
    const int row = (start + k) % n;
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, rows_[row].title.c_str(),
                       static_cast<int>(std::min(typed.size(), rows_[row].title.size())),
                       typed.c_str(), static_cast<int>(typed.size())) == CSTR_EQUAL)
      return row;
  }
  return -1;
}

bool GameList::OnReflect(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  if (msg != WM_NOTIFY) return false;
  auto* header = reinterpret_cast<NMHDR*>(lp);
  if (header->hwndFrom != Hwnd()) return false;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      result = CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
      return true;
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW:
      GiveTexts(*header);
      result = 0;
      return true;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
      result = FindRow(*header);
      return true;
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED:
      result = 0;
      return painting_;  // only the paint's own changes stop here
    default:
      return false;
  }
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
    Default(WM_PAINT, reinterpret_cast<WPARAM>(off.get()), 0);
  }
  EndPaint(list, &ps);
}

LRESULT GameList::OnHookedMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace vt::skin
