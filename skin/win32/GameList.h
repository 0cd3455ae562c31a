// The browser's list control in the skin's colours: its own selection colours through custom
// draw, a header painted from images, two scroll bars of its own instead of the platform's,
// and double-buffered painting.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Dialog.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowHook.h"
#include "skin/win32/GameListHeader.h"
#include "skin/win32/ListScrollBar.h"
#include "skin/win32/SkinImages.h"

namespace vt::skin {

inline constexpr COLORREF kSelectedText = RGB(229, 229, 229);
inline constexpr COLORREF kSelectedBackground = RGB(115, 123, 165);

class GameList : public win::Control, private win::WindowHook {
public:
  explicit GameList(BitmapLoader loader = ResourceBitmapLoader());
  ~GameList() override;

  // The rows: a title and a mark each (marks are texts that outlive the list). The list asks for
  // the texts as it paints, so replacing ten thousand rows is one count change; the view goes
  // back to the top and no row stays selected.
  struct Row {
    std::string title;
    const char* mark;
  };
  void SetRows(std::vector<Row> rows);

  // Hides the platform's scroll bars, creates the list's own beside it and lays them out.
  void InitList();
  // Vertical bar right of the list, horizontal bar below it, without reordering.
  void LayoutBars();

  ListVScrollBar& VerticalBar() { return vbar_; }
  ListHScrollBar& HorizontalBar() { return hbar_; }
  GameListHeader& Header() { return header_; }

  // The skin image by resource number (scroll-bar and header pieces), or nullptr.
  HBITMAP SkinImage(int id) const;
  // Scroll position and limit of SB_VERT (rows) or SB_HORZ (pixels).
  int ScrollPosition(int bar) const;
  int ScrollLimitOf(int bar) const;

  bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  void OnAttached() override;

private:
  LRESULT OnHookedMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint();
  void UpdateBars();
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
  void GiveTexts(NMHDR& header);
  // Type-ahead: the first row from the list's start row on whose title begins with the typed
  // text, ignoring case, wrapping round; -1 when none does.
  int FindRow(const NMHDR& header) const;
  const char* TextOf(int row, int column) const;  // "" beyond the rows

  BitmapLoader loader_;
  std::map<int, win::Bitmap> images_;
  GameListHeader header_;
  ListVScrollBar vbar_;
  ListHScrollBar hbar_;
  std::vector<Row> rows_;
  // Carries an item's selection from its pre-paint to its post-paint.
  bool itemWasSelected_ = false;
  // While custom draw takes an item's selection away and gives it back: those are no changes
  // of the selection for the list's window.
  bool painting_ = false;
};

}  // namespace vt::skin
