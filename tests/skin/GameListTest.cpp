#include "skin/win32/GameList.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "resources/resource.h"
#include "tests/skin/SkinTestIds.h"
#include "tests/skin/WineWindows.h"

namespace vt::skin {
namespace {

// Each skin piece in its own colour, at its own size.
const std::map<int, std::tuple<int, int, COLORREF>> kPieces{
    {IDB_VSCROLL_TOP_CAP, {12, 11, RGB(10, 0, 0)}},  {IDB_VSCROLL_UP, {12, 26, RGB(20, 0, 0)}},
    {IDB_VSCROLL_TRACK, {12, 1, RGB(30, 0, 0)}},     {IDB_VSCROLL_DOWN, {12, 26, RGB(40, 0, 0)}},
    {IDB_VSCROLL_BOTTOM_CAP, {12, 11, RGB(50, 0, 0)}}, {IDB_VSCROLL_THUMB, {12, 26, RGB(60, 0, 0)}},
    {IDB_HEADER_FILL, {1, 20, RGB(0, 70, 0)}},       {IDB_HEADER_LEFT_EDGE, {2, 20, RGB(0, 80, 0)}},
    {IDB_HEADER_RIGHT_EDGE, {2, 20, RGB(0, 90, 0)}}, {IDB_HSCROLL_TRACK, {1, 12, RGB(0, 100, 0)}}};

COLORREF Piece(int id) { return std::get<2>(kPieces.at(id)); }

class ListWindow : public win::Dialog {
public:
  ListWindow()
      : win::Dialog(IDD_TEST_LIST), list([](int id) -> HBITMAP {
          auto it = kPieces.find(id);
          if (it == kPieces.end()) return nullptr;
          auto [w, h, c] = it->second;
          return test::SolidImage(w, h, c);
        }) {}
  GameList list;
  HWND List() const { return Item(IDC_TEST_LIST); }

  void Fill(int rows) {
    HWND l = List();
    for (int i = 0; i < rows; ++i) {
      std::string title = "Game " + std::to_string(i);
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = title.data();
      SendMessageA(l, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      char mark[] = "Available";
      item.iSubItem = 1;
      item.pszText = mark;
      SendMessageA(l, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    }
  }

protected:
  bool OnInit() override {
    Attach(list, IDC_TEST_LIST);
    list.InitList();
    HWND l = List();
    ListView_SetBkColor(l, kSkinBlue);
    ListView_SetTextColor(l, RGB(255, 255, 255));
    RECT c{};
    GetClientRect(l, &c);
    const int u = c.right / 6;
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    char title[] = "Title", avail[] = "Available";
    col.fmt = LVCFMT_LEFT, col.cx = 5 * u - 24, col.pszText = title;
    SendMessageA(l, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    col.fmt = LVCFMT_RIGHT, col.cx = u + 20, col.pszText = avail;
    SendMessageA(l, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&col));
    font.reset(CreateSkinFont(16));
    SendMessageA(l, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    return true;
  }

private:
  win::Font font;
};

class GameListTest : public ::testing::Test {
protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
  }
  // The window with `rows` rows, not yet shown.
  void Open(int rows) {
    ASSERT_TRUE(w.CreateModeless());
    w.Fill(rows);
  }
  void Show() {
    ShowWindow(w.Hwnd(), SW_SHOW);
    UpdateWindow(w.Hwnd());
    test::Pump();
  }
  int Top() const { return ListView_GetTopIndex(w.List()); }
  static RECT ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  ListWindow w;
};

TEST_F(GameListTest, BarsAreSiblingsBesideTheListAndNoPlatformBarShows) {
  ASSERT_NO_FATAL_FAILURE(Open(80));
  w.list.LayoutBars();
  Show();
  HWND l = w.List(), v = w.list.VerticalBar().Hwnd(), h = w.list.HorizontalBar().Hwnd();
  ASSERT_TRUE(v && h);
  EXPECT_EQ(GetParent(v), w.Hwnd());
  EXPECT_EQ(GetDlgCtrlID(v), 0xFFFF);
  EXPECT_EQ(GetDlgCtrlID(h), 0xFFFF);
  const RECT lr = ChildRect(l), vr = ChildRect(v), hr = ChildRect(h);
  const RECT wantV{lr.right, lr.top, lr.right + 12, lr.bottom + 12};
  const RECT wantH{lr.left, lr.bottom, lr.right + 1, lr.bottom + 12};
  EXPECT_TRUE(EqualRect(&vr, &wantV));
  EXPECT_TRUE(EqualRect(&hr, &wantH));

  EXPECT_EQ(GetWindowLongPtrA(l, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
  RECT wr{}, cr{};
  GetWindowRect(l, &wr);
  GetClientRect(l, &cr);
  EXPECT_LT((wr.right - wr.left) - cr.right, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_LT((wr.bottom - wr.top) - cr.bottom, GetSystemMetrics(SM_CYHSCROLL));
  // The list still keeps a scroll range that the bars read.
  EXPECT_GT(w.list.ScrollLimitOf(SB_VERT), 0);
}

TEST_F(GameListTest, SelectedRowIsGreyOnGreyBlueEvenUnfocusedAndStaysSelected) {
  ASSERT_NO_FATAL_FAILURE(Open(10));
  ListView_SetItemState(w.List(), 1, LVIS_SELECTED, LVIS_SELECTED);
  Show();
  SetFocus(w.Item(IDC_TEST_OTHER));
  InvalidateRect(w.List(), nullptr, TRUE);
  UpdateWindow(w.List());
  test::Pump();
  const auto cap = test::CaptureClient(w.List());
  RECT row1{}, row0{};
  ListView_GetItemRect(w.List(), 1, &row1, LVIR_BOUNDS);
  ListView_GetItemRect(w.List(), 0, &row0, LVIR_BOUNDS);
  row1.right = std::min<LONG>(row1.right, cap.width);
  row0.right = std::min<LONG>(row0.right, cap.width);
  const int area = (row1.right - row1.left) * (row1.bottom - row1.top);
  // The label cells take the selection's colours; the rest of the row stays skin blue.
  EXPECT_EQ(cap.At(row1.left + 4, (row1.top + row1.bottom) / 2), kSelectedBackground);
  EXPECT_GT(cap.Count(kSelectedBackground, row1), area / 5);
  // Not the platform's own highlight, focused or not.
  EXPECT_EQ(cap.Count(GetSysColor(COLOR_HIGHLIGHT), row1), 0);
  EXPECT_EQ(cap.Count(GetSysColor(COLOR_3DFACE), row1), 0);
  EXPECT_GT(cap.Count(kSelectedText, row1), 0);
  EXPECT_EQ(cap.Count(kSelectedBackground, row0), 0);
  EXPECT_GT(cap.Count(kSkinBlue, row0), area / 2);
  EXPECT_GT(cap.Count(RGB(255, 255, 255), row0), 0);
  EXPECT_EQ(ListView_GetItemState(w.List(), 1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(ListView_GetSelectedCount(w.List()), 1u);
  // Taking the selection away and back during the paint leaves nothing to repaint.
  EXPECT_FALSE(GetUpdateRect(w.List(), nullptr, FALSE));
}

TEST_F(GameListTest, DownArrowScrollsOneRowOnAQuickClickAndRepeatsWhenHeld) {
  ASSERT_NO_FATAL_FAILURE(Open(80));
  Show();
  HWND v = w.list.VerticalBar().Hwnd();
  RECT vc{};
  GetClientRect(v, &vc);
  const LPARAM down = MAKELPARAM(5, vc.bottom - 20);
  ASSERT_EQ(Top(), 0);

  SendMessageA(v, WM_LBUTTONDOWN, MK_LBUTTON, down);
  EXPECT_EQ(GetCapture(), v);
  SendMessageA(v, WM_LBUTTONUP, 0, down);
  EXPECT_EQ(Top(), 1);
  EXPECT_EQ(GetCapture(), nullptr);

  const DWORD pressed = GetTickCount();
  SendMessageA(v, WM_LBUTTONDOWN, MK_LBUTTON, down);
  EXPECT_EQ(Top(), 1) << "nothing scrolls at the press";
  DWORD first = 0;
  ASSERT_TRUE(test::PumpUntil([&] {
    if (!first && Top() > 1) first = GetTickCount();
    return Top() >= 4;
  }));
  // Timers never fire early; the tick counter may be a few milliseconds coarse.
  EXPECT_GE(first - pressed, 250u - 20u);
  const int held = Top();
  SendMessageA(v, WM_LBUTTONUP, 0, down);
  EXPECT_EQ(Top(), held + 1) << "one more line at the release";
  // The thumb followed the list.
  EXPECT_GT(w.list.VerticalBar().Logic().ThumbStart(), 36);
}

TEST_F(GameListTest, BarsAndHeaderPaintFromTheSkinImages) {
  ASSERT_NO_FATAL_FAILURE(Open(80));
  Show();
  HWND v = w.list.VerticalBar().Hwnd();
  auto bar = test::CaptureClient(v);
  const int H = bar.height;
  EXPECT_EQ(bar.width, 12);
  // Top to bottom, the thumb at the top of the track.
  for (auto [y, piece] : {std::pair{5, IDB_VSCROLL_TOP_CAP}, {20, IDB_VSCROLL_UP}, {36 + 13, IDB_VSCROLL_THUMB},
                          {100, IDB_VSCROLL_TRACK}, {H - 20, IDB_VSCROLL_DOWN}, {H - 5, IDB_VSCROLL_BOTTOM_CAP}})
    EXPECT_EQ(bar.At(5, y), Piece(piece)) << "y " << y;

  auto hbar = test::CaptureClient(w.list.HorizontalBar().Hwnd());
  EXPECT_EQ(hbar.At(hbar.width / 2, 6), Piece(IDB_HSCROLL_TRACK)) << "no thumb: columns fit";

  HWND header = ListView_GetHeader(w.List());
  auto cap = test::CaptureClient(header);
  RECT r0{}, r1{};
  Header_GetItemRect(header, 0, &r0);
  Header_GetItemRect(header, 1, &r1);
  EXPECT_EQ(cap.At(r0.left, 10), Piece(IDB_HEADER_LEFT_EDGE));
  // The next column's left edge, drawn later, covers the last pixel of this one's right edge.
  EXPECT_EQ(cap.At(r0.right - 2, 10), Piece(IDB_HEADER_RIGHT_EDGE));
  EXPECT_EQ(cap.At(r1.left - 1, 10), Piece(IDB_HEADER_LEFT_EDGE));
  EXPECT_EQ(cap.At(r1.left + 1, 10), Piece(IDB_HEADER_FILL));
  EXPECT_EQ(cap.At((r0.left + r0.right) / 2, 19), Piece(IDB_HEADER_FILL));
  // The heading is drawn in dark text near the column's top left, over the fill.
  int dark = 0;
  for (int y = 2; y < 16; ++y)
    for (int x = r0.left + 2; x < r0.left + 40; ++x)
      if (GetRValue(cap.At(x, y)) < 40 && GetGValue(cap.At(x, y)) < 40) ++dark;
  EXPECT_GT(dark, 5);
}

TEST_F(GameListTest, ListThatFitsShowsNoThumb) {
  ASSERT_NO_FATAL_FAILURE(Open(3));
  Show();
  EXPECT_EQ(w.list.ScrollLimitOf(SB_VERT), 0);
  auto bar = test::CaptureClient(w.list.VerticalBar().Hwnd());
  EXPECT_EQ(bar.Count(Piece(IDB_VSCROLL_THUMB), RECT{0, 0, bar.width, bar.height}), 0);
}

}  // namespace
}  // namespace vt::skin
