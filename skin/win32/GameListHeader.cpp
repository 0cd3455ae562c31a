#include "skin/win32/GameListHeader.h"

#include <commctrl.h>

#include "platform/win32/Handles.h"
#include "resources/resource.h"
#include "skin/win32/GameList.h"
#include "skin/win32/OffscreenDC.h"
#include "skin/win32/SkinImages.h"

namespace vt::skin {
bool GameListHeader::Attach(HWND header, GameList& list) {
  Detach();
  if (!Hook(header)) return false;
  list_ = &list;
  return true;
}

void GameListHeader::Detach() { Unhook(); }

LRESULT GameListHeader::OnHookedMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 0;  // the paint covers everything
    case WM_PAINT:
      PaintClientOffscreen(Hwnd(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void GameListHeader::Paint(HDC dc, const RECT& client) {
  win::Brush blue(CreateSolidBrush(kSkinBlue));
  FillRect(dc, &client, blue.get());
  HBITMAP fill = list_->SkinImage(IDB_HEADER_FILL);
  HBITMAP leftEdge = list_->SkinImage(IDB_HEADER_LEFT_EDGE);
  HBITMAP rightEdge = list_->SkinImage(IDB_HEADER_RIGHT_EDGE);
  StretchBitmap(dc, fill, 2, 0, client.right - client.left, 20);

  const int count = Header_GetItemCount(Hwnd());
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
    item.pszText = text;
    item.cchTextMax = 255;
    if (!SendMessageA(Hwnd(), HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item))) continue;
    RECT r{};
    Header_GetItemRect(Hwnd(), i, &r);
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
