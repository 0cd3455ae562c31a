#include "skin/win32/GameListHeader.h"

#include <commctrl.h>

#include "platform/win32/Handles.h"
#include "resources/resource.h"
#include "skin/win32/GameList.h"
#include "skin/win32/OffscreenDC.h"
#include "skin/win32/SkinImages.h"

namespace vt::skin {
namespace {
constexpr UINT_PTR kSubclassId = 0x5648;  // "VH"
}

GameListHeader::~GameListHeader() { Detach(); }

bool GameListHeader::Attach(HWND header, GameList& list) {
  Detach();
  if (!header || !SetWindowSubclass(header, &GameListHeader::Proc, kSubclassId,
                                    reinterpret_cast<DWORD_PTR>(this)))
    return false;
  hwnd_ = header;
  list_ = &list;
  return true;
}

void GameListHeader::Detach() {
  if (hwnd_) RemoveWindowSubclass(hwnd_, &GameListHeader::Proc, kSubclassId);
  hwnd_ = nullptr;
}

LRESULT CALLBACK GameListHeader::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR data) {
  auto* self = reinterpret_cast<GameListHeader*>(data);
  switch (msg) {
    case WM_ERASEBKGND:
      return 0;  // the paint covers everything
    case WM_PAINT:
      PaintClientOffscreen(hwnd, [self](HDC dc, const RECT& client) { self->Paint(dc, client); });
      return 0;
    case WM_NCDESTROY:
      self->Detach();
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void GameListHeader::Paint(HDC dc, const RECT& client) {
  win::Brush blue(CreateSolidBrush(kSkinBlue));
  FillRect(dc, &client, blue.get());
  HBITMAP fill = list_->SkinImage(IDB_HEADER_FILL);
  HBITMAP leftEdge = list_->SkinImage(IDB_HEADER_LEFT_EDGE);
  HBITMAP rightEdge = list_->SkinImage(IDB_HEADER_RIGHT_EDGE);
  StretchBitmap(dc, fill, 2, 0, client.right - client.left, 20);

  const int count = Header_GetItemCount(hwnd_);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
    item.pszText = text;
    item.cchTextMax = 255;
    if (!SendMessageA(hwnd_, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item))) continue;
    RECT r{};
    Header_GetItemRect(hwnd_, i, &r);
    if (item.iOrder == 0) {
      DrawBitmap(dc, leftEdge, r.left, r.top, 2, 20);
    } else {
      DrawBitmap(dc, leftEdge, r.left - 1, r.top, 2, 20);
      DrawBitmap(dc, fill, r.left + 1, r.top, 1, 20);
    }
    DrawBitmap(dc, rightEdge, r.right - 2, 0, 2, 20);

    // The column's own format is ignored: every heading sits at the left and top.
    win::Font font(CreateSkinFont(12));
    win::SelectScope select(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    RECT textRect{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    DrawTextA(dc, text, -1, &textRect,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT | DT_TOP);
  }
}

}  // namespace vt::skin
