#include "skin/win32/SkinnedDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skin/SkinTestIds.h"
#include "tests/skin/WineWindows.h"

namespace vt::skin {
namespace {

using test::CaptureClient;
using test::MakeImage;

constexpr COLORREF kKey = RGB(255, 0, 255);

// A test window whose background is made in memory.
class TestSkin : public SkinnedDialog {
public:
  TestSkin(const SkinOptions& options, std::function<HBITMAP()> make)
      : SkinnedDialog(IDD_TEST_SKINNED, options) {
    SetImageLoader([this, make](int id) {
      ++loads;
      lastId = id;
      return make();
    });
    SetMessageReporter([this](const std::string& text, const std::string& caption) {
      messages.push_back(text + "|" + caption);
    });
  }
  int loads = 0, lastId = 0;
  std::vector<std::string> messages;
};

// A rounded outline of magenta around a patterned face, with an all-key top row and a hole.
COLORREF RoundedFace(int x, int y, int w, int h) {
  if (y == 0) return kKey;
  const int r = 12;
  const int cx = x < r ? r : (x >= w - r ? w - 1 - r : x);
  const int cy = y < r ? r : (y >= h - r ? h - 1 - r : y);
  if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > r * r) return kKey;
  if (x >= 40 && x < 44 && y >= 30 && y < 33) return kKey;
  return RGB((x * 3) & 0xFF, (y * 5) & 0xFF, 100);
}

// The region as the platform's pixel-by-pixel scan defines it: GetPixel and rectangle unions.
HRGN ScanRegion(HBITMAP image) {
  const SIZE s = BitmapSize(image);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, image);
  HRGN all = CreateRectRgn(0, 0, 0, 0);
  for (int y = 0; y < s.cy; ++y)
    for (int x = 0; x < s.cx;) {
      while (x < s.cx && GetPixel(mem, x, y) == kKey) ++x;
      if (x >= s.cx) break;
      const int start = x;
      while (x < s.cx && GetPixel(mem, x, y) != kKey) ++x;
      HRGN run = CreateRectRgn(start, y, x, y + 1);
      CombineRgn(all, all, run, RGN_OR);
      DeleteObject(run);
    }
  SelectObject(mem, old);
  DeleteDC(mem);
  return all;
}

HRGN WindowRegion(HWND hwnd) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(hwnd, rgn), ERROR);
  return rgn;
}

TEST(SkinnedDialog, TakesImageSizeAndRectangleSitsCentredAndReCentresOnlyOnASizeChange) {
  TestSkin dlg({.background = 4242}, [] { return test::SolidImage(201, 123, RGB(10, 20, 30)); });
  ASSERT_TRUE(dlg.CreateModeless());
  EXPECT_EQ(dlg.lastId, 4242);
  HWND h = dlg.Hwnd();
  RECT centred{};
  GetWindowRect(h, &centred);
  EXPECT_EQ(centred.right - centred.left, 201);
  EXPECT_EQ(centred.bottom - centred.top, 123);
  EXPECT_EQ(centred.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 100);
  EXPECT_EQ(centred.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 61);
  win::Region rgn(WindowRegion(h));
  win::Region expected(CreateRectRgn(0, 0, 201, 123));
  EXPECT_TRUE(EqualRgn(rgn.get(), expected.get()));
  EXPECT_EQ(dlg.loads, 1) << "the image is loaded once, also across the nested size change";
  EXPECT_TRUE(dlg.messages.empty());

  // A move (what a drag does) keeps the window where it was put.
  SetWindowPos(h, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  test::Pump();
  RECT moved{};
  GetWindowRect(h, &moved);
  EXPECT_EQ(moved.left, 10);
  EXPECT_EQ(moved.top, 20);

  // Any size change re-applies the skin: image size, centred again.
  SetWindowPos(h, nullptr, 10, 20, 50, 40, SWP_NOZORDER);
  RECT resized{};
  GetWindowRect(h, &resized);
  EXPECT_TRUE(EqualRect(&resized, &centred));
  EXPECT_EQ(dlg.loads, 1);
}

TEST(SkinnedDialog, KeyedRegionHasExactlyTheScannedRectangles) {
  for (int bpp : {24, 32}) {
    SCOPED_TRACE(std::to_string(bpp) + " bits");
    auto image = [bpp] { return MakeImage(120, 90, bpp, [](int x, int y) { return RoundedFace(x, y, 120, 90); }); };
    HBITMAP oracleImage = image();
    win::Region oracle(ScanRegion(oracleImage));
    DeleteObject(oracleImage);
    TestSkin dlg({.background = 1, .region = SkinRegion::Keyed}, image);
    ASSERT_TRUE(dlg.CreateModeless());
    win::Region rgn(WindowRegion(dlg.Hwnd()));
    // The same rectangles in the same order: the same region, built as the platform builds it.
    const auto got = test::RegionRects(rgn.get()), want = test::RegionRects(oracle.get());
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(EqualRect(&got[i], &want[i])) << i;
    EXPECT_FALSE(PtInRegion(rgn.get(), 60, 0)) << "all-key first row is outside";
    EXPECT_FALSE(PtInRegion(rgn.get(), 41, 31)) << "hole";
    EXPECT_TRUE(PtInRegion(rgn.get(), 60, 45));
  }
}

TEST(SkinnedDialog, SixteenBitFullMagentaIsOutsideTheKeyedRegion) {
  for (bool rgb565 : {false, true}) {
    // Magenta outside a 30 x 20 block at (5, 4); near-magenta inside stays part of the window.
    auto face = [](int x, int y) {
      if (x >= 5 && x < 35 && y >= 4 && y < 24) return x == 5 ? RGB(255, 0, 240) : RGB(0, 99, 0);
      return kKey;
    };
    TestSkin dlg({.background = 1, .region = SkinRegion::Keyed},
                 [&] { return MakeImage(40, 30, 16, face, rgb565); });
    ASSERT_TRUE(dlg.CreateModeless());
    win::Region rgn(WindowRegion(dlg.Hwnd()));
    win::Region expected(CreateRectRgn(5, 4, 35, 24));
    EXPECT_TRUE(EqualRgn(rgn.get(), expected.get())) << rgb565;
  }
}

TEST(SkinnedDialog, PressOnTheFaceStartsThePlatformMoveOnlyWhenDragging) {
  for (bool drag : {true, false}) {
    TestSkin dlg({.background = 1, .drag = drag}, [] { return test::SolidImage(100, 80, RGB(9, 9, 9)); });
    ASSERT_TRUE(dlg.CreateModeless());
    RECT wr{};
    GetWindowRect(dlg.Hwnd(), &wr);
    SendMessageA(dlg.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 60));
    MSG msg{};
    const bool posted = PeekMessageA(&msg, dlg.Hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE);
    EXPECT_EQ(posted, drag);
    if (posted) {
      EXPECT_EQ(msg.wParam, static_cast<WPARAM>(HTCAPTION));
      EXPECT_EQ(static_cast<short>(LOWORD(msg.lParam)), wr.left + 70);
      EXPECT_EQ(static_cast<short>(HIWORD(msg.lParam)), wr.top + 60);
    }
  }
}

TEST(SkinnedDialog, PaintsItsImagePixelForPixel) {
  auto face = [](int x, int y) { return RGB((x * 7) & 0xFF, (y * 11) & 0xFF, (x + y) & 0xFF); };
  TestSkin dlg({.background = 1}, [&] { return MakeImage(160, 96, 24, face); });
  ASSERT_TRUE(dlg.CreateModeless());
  // Hide the controls so that only the window's own painting shows.
  ShowWindow(dlg.Item(IDC_TEST_EDIT), SW_HIDE);
  ShowWindow(dlg.Item(IDC_TEST_STATIC), SW_HIDE);
  ShowWindow(dlg.Hwnd(), SW_SHOW);
  UpdateWindow(dlg.Hwnd());
  test::Pump();
  const auto cap = CaptureClient(dlg.Hwnd());
  ASSERT_EQ(cap.width, 160);
  ASSERT_EQ(cap.height, 96);
  int wrong = 0;
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 160; ++x)
      if (cap.At(x, y) != face(x, y)) ++wrong;
  EXPECT_EQ(wrong, 0);
}

TEST(SkinnedDialog, ImageThatCannotLoadIsReportedAtEverySizeChangeAndLeavesTheTemplate) {
  TestSkin dlg({.background = 77}, [] { return HBITMAP{}; });
  ASSERT_TRUE(dlg.CreateModeless());
  ASSERT_EQ(dlg.messages.size(), 1u);
  EXPECT_EQ(dlg.messages[0], "Error loading bitmap|" + SkinnedDialog::ProgramName());
  EXPECT_EQ(SkinnedDialog::ProgramName(), "skin_win32_test");
  RECT client{}, tmpl{0, 0, 100, 60};
  GetClientRect(dlg.Hwnd(), &client);
  MapDialogRect(dlg.Hwnd(), &tmpl);
  EXPECT_EQ(client.right, tmpl.right);
  EXPECT_EQ(client.bottom, tmpl.bottom);
  SetWindowPos(dlg.Hwnd(), nullptr, 0, 0, 90, 70, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(dlg.messages.size(), 2u);
  EXPECT_EQ(dlg.loads, 2) << "tries again at the next size change";
}

TEST(SkinnedDialog, TextControlsGetSkinColoursOnlyForTheKindsGiven) {
  struct Case {
    unsigned colours;
    bool editBlue, staticBlue;
  } cases[] = {{kNoControlColours, false, false},
               {kMessageBoxColours | kTextBoxColours, true, false},
               {kMessageBoxColours | kTextBoxColours | kStaticTextColours, true, true}};
  for (const Case& c : cases) {
    TestSkin dlg({.background = 1, .controlColours = c.colours},
                 [] { return test::SolidImage(200, 120, RGB(0, 0, 0)); });
    ASSERT_TRUE(dlg.CreateModeless());
    ShowWindow(dlg.Hwnd(), SW_SHOW);
    UpdateWindow(dlg.Hwnd());
    test::Pump();
    for (auto [id, blue] : {std::pair{IDC_TEST_EDIT, c.editBlue}, std::pair{IDC_TEST_STATIC, c.staticBlue}}) {
      const auto cap = CaptureClient(dlg.Item(id));
      const RECT all{0, 0, cap.width, cap.height};
      const int blues = cap.Count(kSkinBlue, all);
      if (blue)
        EXPECT_GT(blues, cap.width * cap.height / 2) << id << " colours " << c.colours;
      else
        EXPECT_EQ(blues, 0) << id << " colours " << c.colours;
    }
    // The brush is the window's and lives until the window is gone.
    EXPECT_EQ(dlg.ControlBrush() != nullptr, c.colours != kNoControlColours);
    DestroyWindow(dlg.Hwnd());
    EXPECT_EQ(dlg.ControlBrush(), nullptr);
  }
}

TEST(SkinnedDialog, CloseReleasesTheImageOnlyForWindowsMarkedSo) {
  for (bool releases : {true, false}) {
    TestSkin dlg({.background = 1, .closeReleasesImage = releases},
                 [] { return test::SolidImage(50, 50, RGB(5, 5, 5)); });
    ASSERT_TRUE(dlg.CreateModeless());
    ASSERT_NE(dlg.Image(), nullptr);
    SendMessageA(dlg.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dlg.Hwnd(), nullptr) << "close became Cancel";
    EXPECT_EQ(dlg.Image() == nullptr, releases);
  }
}

}  // namespace
}  // namespace vt::skin
