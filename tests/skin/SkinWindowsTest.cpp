// The skin's windows and controls live under Wine, with images made in memory. The skinned
// window: its place, size, region, styles, colours and image releases. The game list: its own
// bars beside it instead of the platform's, bars and header painted from the skin images, an arrow
// that scrolls once on a click and repeats while held, and the selected row in the skin's colours.
// A bitmap button: which images it loads and the size it takes (each state's image on the screen
// is the notices' test; the focus mark over an image, the browser window's).
#include "skin/win32/BitmapButton.h"
#include "skin/win32/GameList.h"
#include "skin/win32/SkinnedDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/skin/SkinTestIds.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/WineWindows.h"

namespace vt::skin {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

HBITMAP Plain() { return test::SolidImage(201, 123, RGB(10, 20, 30)); }

// A test window whose background is made in memory.
class TestSkin : public SkinnedDialog {
public:
  TestSkin(const SkinOptions& options, std::function<HBITMAP()> make = Plain)
      : SkinnedDialog(IDD_TEST_SKINNED, options) {
    SetImageLoader([this, make](int) {
      ++loads;
      return make();
    });
    SetHost(host);
  }
  int loads = 0;
  vt::test::RecordingHost host;

protected:
  bool OnInit() override { return false; }  // no default focus, which would activate it
};

// Centred on the primary screen when it first appears, at its image's size; after that the window
// stays where the user put it, through any size change and a minimise and restore. Placing it
// never activates it.
TEST(SkinnedDialog, IsCentredOnceAtItsImageSizeAndKeepsItsPlaceAfterwards) {
  TestSkin dlg({.background = 4242});
  ASSERT_TRUE(dlg.CreateModeless());
  HWND h = dlg.Hwnd();
  EXPECT_EQ(test::SkinGeometryFaults(h, 201, 123, false), "");
  EXPECT_NE(GetActiveWindow(), h) << "placing it activated it";
  SetWindowPos(h, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // what a drag does
  SetWindowPos(h, nullptr, 10, 20, 50, 40, SWP_NOZORDER);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  ShowWindow(h, SW_MINIMIZE);
  ShowWindow(h, SW_RESTORE);
  test::Pump();
  const RECT kept = test::Place(h);
  EXPECT_EQ(std::vector<LONG>({kept.left, kept.top, kept.right, kept.bottom}),
            std::vector<LONG>({10, 20, 10 + 201, 20 + 123}));
  EXPECT_EQ(dlg.loads, 1) << "the image is loaded once";
  EXPECT_TRUE(dlg.host.messages.empty());
}

// A window whose owner is hidden (the login window and its notices before the browser shows)
// gets a task bar button of its own; a waiting notice never takes activation.
TEST(SkinnedDialog, TaskBarButtonWhileTheOwnerIsHiddenAndNoActivationForWaitingWindows) {
  TestSkin owner({.background = 1});
  ASSERT_TRUE(owner.CreateModeless());
  const struct {
    bool ownerShown, activates;
    LONG_PTR ex;
  } cases[] = {{false, true, WS_EX_APPWINDOW}, {true, true, 0}, {false, false, WS_EX_NOACTIVATE}};
  for (const auto& c : cases) {
    ShowWindow(owner.Hwnd(), c.ownerShown ? SW_SHOWNOACTIVATE : SW_HIDE);
    TestSkin dlg({.background = 1, .activates = c.activates});
    ASSERT_TRUE(dlg.CreateModeless(owner.Hwnd()));
    EXPECT_EQ(GetWindowLongPtrA(dlg.Hwnd(), GWL_EXSTYLE) & (WS_EX_APPWINDOW | WS_EX_NOACTIVATE),
              c.ex)
        << c.ownerShown << c.activates;
  }
}

// The keyed region holds exactly the pixels that are not the key, for a 24-bit image as the
// painted skins are, with rows padded to four bytes; the image is not symmetric, so a region
// upside down shows too.
TEST(SkinnedDialog, KeyedRegionHoldsExactlyThePixelsThatAreNotTheKey) {
  constexpr int kW = 121, kH = 90;
  // A rounded outline of magenta around a patterned face, with an all-key top row and a hole.
  const auto colour = [](int x, int y) {
    const int r = 12, cx = std::clamp(x, r, kW - 1 - r), cy = std::clamp(y, r, kH - 1 - r);
    if (y == 0 || (x - cx) * (x - cx) + (y - cy) * (y - cy) > r * r) return kKey;
    if (x >= 40 && x < 44 && y >= 30 && y < 33) return kKey;
    return RGB((x * 3) & 0xFF, (y * 5) & 0xFF, 100);
  };
  TestSkin dlg({.background = 1, .region = SkinRegion::Keyed},
               [&] { return test::MakeImage(kW, kH, colour); });
  ASSERT_TRUE(dlg.CreateModeless());
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(dlg.Hwnd(), region);
  int wrong = 0;
  for (int y = -1; y <= kH; ++y)
    for (int x = -1; x <= kW; ++x) {
      const bool face = x >= 0 && y >= 0 && x < kW && y < kH && colour(x, y) != kKey;
      wrong += (PtInRegion(region, x, y) != FALSE) != face;
    }
  DeleteObject(region);
  EXPECT_EQ(wrong, 0) << "pixels the region gets wrong";
}

// A press on the face starts the platform's move only for windows that drag. (What the face
// paints: the notices' test compares it with their backgrounds on the screen.)
TEST(SkinnedDialog, APressOnTheFaceMovesOnlyAWindowThatDrags) {
  for (bool drag : {true, false}) {
    TestSkin dlg({.background = 1, .drag = drag});
    ASSERT_TRUE(dlg.CreateModeless());
    const RECT wr = test::Place(dlg.Hwnd());
    SendMessageA(dlg.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 60));
    MSG msg{};
    ASSERT_EQ(
        PeekMessageA(&msg, dlg.Hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) != FALSE,
        drag);
    if (drag) {
      EXPECT_EQ(std::pair(msg.wParam, msg.lParam),
                std::pair(WPARAM{HTCAPTION}, MAKELPARAM(wr.left + 70, wr.top + 60)));
    }
  }
}

// Text controls get the skin's blue only for the kinds given; the brush lives as long as the
// window; closing releases the image only for windows marked so.
TEST(SkinnedDialog, ColoursTheKindsGivenAndReleasesItsImageWhenMarkedSo) {
  const struct {
    unsigned colours;
    bool editBlue, staticBlue, releases;
  } cases[] = {{kNoControlColours, false, false, true},
               {kMessageBoxColours | kTextBoxColours, true, false, false},
               {kMessageBoxColours | kTextBoxColours | kStaticTextColours, true, true, false}};
  for (const auto& c : cases) {
    TestSkin dlg({.background = 1, .controlColours = c.colours, .closeReleasesImage = c.releases});
    ASSERT_TRUE(dlg.CreateModeless());
    ShowWindow(dlg.Hwnd(), SW_SHOWNOACTIVATE);
    test::Pump();
    for (auto [id, blue] :
         {std::pair{IDC_TEST_EDIT, c.editBlue}, std::pair{IDC_TEST_STATIC, c.staticBlue}}) {
      const auto cap = test::CaptureClient(dlg.Item(id));
      const int blues = cap.Count(kSkinBlue);
      EXPECT_EQ(blues > cap.width * cap.height / 2, blue) << id << " colours " << c.colours;
      EXPECT_TRUE(blue || blues == 0);
    }
    EXPECT_EQ(dlg.ControlBrush() != nullptr, c.colours != kNoControlColours);
    SendMessageA(dlg.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dlg.Hwnd(), nullptr) << "close became Cancel";
    EXPECT_EQ(dlg.Image() == nullptr, c.releases);
    EXPECT_EQ(dlg.ControlBrush(), nullptr);
  }
}

// Each skin piece in its own colour, at its own size.
const std::map<int, std::tuple<int, int, COLORREF>> kPieces{
    {IDB_VSCROLL_TOP_CAP, {12, 11, RGB(10, 0, 0)}},
    {IDB_VSCROLL_UP, {12, 26, RGB(20, 0, 0)}},
    {IDB_VSCROLL_TRACK, {12, 1, RGB(30, 0, 0)}},
    {IDB_VSCROLL_DOWN, {12, 26, RGB(40, 0, 0)}},
    {IDB_VSCROLL_BOTTOM_CAP, {12, 11, RGB(50, 0, 0)}},
    {IDB_VSCROLL_THUMB, {12, 26, RGB(60, 0, 0)}},
    {IDB_HEADER_FILL, {1, 20, RGB(0, 70, 0)}},
    {IDB_HEADER_LEFT_EDGE, {2, 20, RGB(0, 80, 0)}},
    {IDB_HEADER_RIGHT_EDGE, {2, 20, RGB(0, 90, 0)}},
    {IDB_HSCROLL_TRACK, {1, 12, RGB(0, 99, 0)}}};

COLORREF Piece(int id) { return std::get<2>(kPieces.at(id)); }

// The list's images are the pieces above; the button's, 1..4, 93 x 34 (the browser's big
// buttons); any other number fails.
class ControlsWindow : public win::Dialog {
public:
  ControlsWindow()
      : win::Dialog(IDD_TEST_CONTROLS),
        list([](int id) -> HBITMAP {
          const auto it = kPieces.find(id);
          if (it == kPieces.end()) return nullptr;
          const auto [w, h, c] = it->second;
          return test::SolidImage(w, h, c);
        }),
        button([this](int id) -> HBITMAP {
          asked.push_back(id);
          return id >= 1 && id <= 4 ? test::SolidImage(93, 34, RGB(id, 0, 0)) : nullptr;
        }) {}
  GameList list;
  std::vector<int> asked;
  BitmapButton button;

protected:
  // Two columns, for the header's edges between them.
  bool OnInit() override {
    Attach(list, IDC_TEST_LIST);
    Attach(button, IDC_TEST_BUTTON);
    list.InitList();
    for (auto [width, text] : {std::pair{100, "Title"}, {60, "Available"}}) {
      LVCOLUMNA col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH, col.cx = width, col.pszText = const_cast<char*>(text);
      SendMessageA(list.Hwnd(), LVM_INSERTCOLUMNA, 9, reinterpret_cast<LPARAM>(&col));  // last
    }
    return true;
  }
};

class SkinControls : public ::testing::Test {
protected:
  // The window with `rows` rows, shown.
  void Open(int rows = 0) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    ASSERT_TRUE(w.CreateModeless());
    std::vector<GameList::Row> all;
    for (int i = 0; i < rows; ++i) all.push_back({"Game " + std::to_string(i), "Available"});
    w.list.SetRows(std::move(all));
    ShowWindow(w.Hwnd(), SW_SHOW);
    test::Pump();
  }
  int Top() const { return ListView_GetTopIndex(w.list.Hwnd()); }

  ControlsWindow w;
};

TEST_F(SkinControls, GameListsOwnBarsBesideItPaintFromTheSkinImagesAndScrollIt) {
  ASSERT_NO_FATAL_FAILURE(Open(80));
  HWND l = w.list.Hwnd(), v = w.list.VerticalBar().Hwnd(), h = w.list.HorizontalBar().Hwnd();
  ASSERT_TRUE(v && h);
  const RECT lr = test::Place(l), vr = test::Place(v), hr = test::Place(h);
  // Right of the list and below it, from its edges, meeting in the corner without a gap.
  EXPECT_EQ(std::vector<LONG>({vr.left, vr.top, hr.left, hr.top, vr.bottom}),
            std::vector<LONG>({lr.right, lr.top, lr.left, lr.bottom, hr.bottom}));
  EXPECT_GE(hr.right, vr.left);
  // No platform bar shows, yet the list keeps the scroll range the bars read.
  RECT cr{};
  GetClientRect(l, &cr);
  EXPECT_LT((lr.right - lr.left) - cr.right, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_LT((lr.bottom - lr.top) - cr.bottom, GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(w.list.ScrollLimitOf(SB_VERT), 80 - ListView_GetCountPerPage(l));

  // Top to bottom, the thumb at the top of the track.
  const auto bar = test::CaptureClient(v);
  const int H = bar.height;
  for (auto [y, piece] : {std::pair{5, IDB_VSCROLL_TOP_CAP},
                          {20, IDB_VSCROLL_UP},
                          {36 + 13, IDB_VSCROLL_THUMB},
                          {100, IDB_VSCROLL_TRACK},
                          {H - 20, IDB_VSCROLL_DOWN},
                          {H - 5, IDB_VSCROLL_BOTTOM_CAP}})
    EXPECT_EQ(bar.At(5, y), Piece(piece)) << "y " << y;
  const auto hbar = test::CaptureClient(h);
  EXPECT_EQ(hbar.At(hbar.width / 2, 6), Piece(IDB_HSCROLL_TRACK)) << "no thumb: columns fit";

  HWND header = ListView_GetHeader(l);
  const auto cap = test::CaptureClient(header);
  RECT r0{}, r1{};
  Header_GetItemRect(header, 0, &r0);
  Header_GetItemRect(header, 1, &r1);
  EXPECT_EQ(cap.At(r0.left, 10), Piece(IDB_HEADER_LEFT_EDGE));
  EXPECT_EQ(cap.At(r0.right - 2, 10), Piece(IDB_HEADER_RIGHT_EDGE));
  EXPECT_EQ(cap.At(r1.left + 1, 10), Piece(IDB_HEADER_FILL));
  // The heading in dark text near the column's top left, over the fill.
  int dark = 0;
  for (int y = 2; y < 16; ++y)
    for (int x = r0.left + 2; x < r0.left + 40; ++x)
      dark += GetRValue(cap.At(x, y)) < 40 && GetGValue(cap.At(x, y)) < 40;
  EXPECT_GT(dark, 5);

  // The down arrow scrolls one row on a quick click, and repeats while held (the repeat's delays
  // are the bar logic's test).
  const LPARAM down = MAKELPARAM(5, H - 20);
  ASSERT_EQ(Top(), 0);
  SendMessageA(v, WM_LBUTTONDOWN, MK_LBUTTON, down);
  EXPECT_EQ(GetCapture(), v);
  SendMessageA(v, WM_LBUTTONUP, 0, down);
  EXPECT_EQ(Top(), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(v, WM_LBUTTONDOWN, MK_LBUTTON, down);
  EXPECT_EQ(Top(), 1) << "nothing scrolls at the press";
  ASSERT_TRUE(test::PumpUntil([&] { return Top() >= 4; }));
  const int held = Top();
  SendMessageA(v, WM_LBUTTONUP, 0, down);
  EXPECT_EQ(Top(), held + 1) << "one more line at the release";
  EXPECT_GT(w.list.VerticalBar().Logic().ThumbStart(), 36) << "the thumb followed the list";

  // Rows that fit: no thumb.
  w.list.SetRows({{"Only", "Available"}});
  test::Pump();
  EXPECT_EQ(w.list.ScrollLimitOf(SB_VERT), 0);
  const auto fits = test::CaptureClient(v);
  EXPECT_EQ(fits.Count(Piece(IDB_VSCROLL_THUMB)), 0);
}

TEST_F(SkinControls, GameListsSelectedRowIsGreyOnGreyBlueEvenUnfocusedAndStaysSelected) {
  ASSERT_NO_FATAL_FAILURE(Open(10));
  HWND l = w.list.Hwnd();
  ListView_SetItemState(l, 1, LVIS_SELECTED, LVIS_SELECTED);
  SetFocus(w.Item(IDC_TEST_OTHER));
  InvalidateRect(l, nullptr, TRUE);
  test::Pump();
  const auto cap = test::CaptureClient(l);
  RECT row1{}, row0{};
  ListView_GetItemRect(l, 1, &row1, LVIR_BOUNDS);
  ListView_GetItemRect(l, 0, &row0, LVIR_BOUNDS);
  row1.right = std::min<LONG>(row1.right, cap.width);
  row0.right = std::min<LONG>(row0.right, cap.width);
  const int area = (row1.right - row1.left) * (row1.bottom - row1.top);
  // The label cells take the selection's colours, not the platform's own highlight, focused or
  // not; the other rows keep the list's.
  EXPECT_GT(cap.Count(kSelectedBackground, row1), area / 5);
  EXPECT_EQ(cap.Count(GetSysColor(COLOR_HIGHLIGHT), row1), 0);
  EXPECT_EQ(cap.Count(GetSysColor(COLOR_3DFACE), row1), 0);
  EXPECT_GT(cap.Count(kSelectedText, row1), 0);
  EXPECT_EQ(cap.Count(kSelectedBackground, row0), 0);
  EXPECT_EQ(ListView_GetItemState(l, 1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
  // Taking the selection away and back during the paint leaves nothing to repaint.
  EXPECT_FALSE(GetUpdateRect(l, nullptr, FALSE));
}

// Slots of number 0 are not loaded; a missing normal image stops the loading and releases the
// old images, any other missing one does not. The button takes its image's size in place (its
// place in the tab order kept), or keeps the size it has without one.
TEST_F(SkinControls, BitmapButtonLoadsEachSlotAskedForAndTakesTheImageSizeInPlace) {
  ASSERT_NO_FATAL_FAILURE(Open());
  HWND b = w.Item(IDC_TEST_BUTTON);
  EXPECT_TRUE(w.button.LoadImages(1, 2, 0, 4));
  EXPECT_EQ(w.asked, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(w.button.Image(ButtonSlot::Focused), nullptr);
  RECT tmpl{10, 140, 60, 154};  // the template's place, in dialog units
  MapDialogRect(w.Hwnd(), &tmpl);
  HWND before = GetWindow(b, GW_HWNDPREV), after = GetWindow(b, GW_HWNDNEXT);
  w.button.SizeToContent();
  const RECT sized = test::Place(b), want{tmpl.left, tmpl.top, tmpl.left + 93, tmpl.top + 34};
  EXPECT_TRUE(EqualRect(&sized, &want));
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), before);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), after);
  w.asked.clear();
  EXPECT_FALSE(w.button.LoadImages(1, 9, 0, 4));
  EXPECT_EQ(w.asked, (std::vector<int>{1, 9, 4})) << "later slots still load";
  EXPECT_NE(w.button.Image(ButtonSlot::Disabled), nullptr);
  w.asked.clear();
  EXPECT_FALSE(w.button.LoadImages(9, 2, 3, 4));
  EXPECT_EQ(w.asked, (std::vector<int>{9}));
  EXPECT_EQ(w.button.Image(ButtonSlot::Pressed), nullptr) << "the old images were released";
  SetWindowPos(b, nullptr, 0, 0, 40, 20, SWP_NOMOVE | SWP_NOZORDER);
  w.button.SizeToContent();
  EXPECT_EQ(test::Place(b).right - test::Place(b).left, 40);
}

}  // namespace
}  // namespace vt::skin
