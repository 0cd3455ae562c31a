// The skinned window under Wine: its place, size, region, styles, painting, colours and image
// releases, with backgrounds made in memory.
#include "skin/win32/SkinnedDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/skin/SkinTestIds.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/WineWindows.h"

namespace vt::skin {
namespace {

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
    SetHost(host);
  }
  int loads = 0, lastId = 0;
  vt::test::RecordingHost host;

protected:
  bool OnInit() override { return false; }  // no default focus, which would activate it
};

HBITMAP Solid(int w, int h) { return test::SolidImage(w, h, RGB(10, 20, 30)); }

// Centred on the primary screen when it first appears, at its image's size; after that the window
// stays where the user put it, through any size change and a minimise and restore. Placing it
// never activates it.
TEST(SkinnedDialog, IsCentredOnceAtItsImageSizeAndKeepsItsPlaceAfterwards) {
  TestSkin dlg({.background = 4242}, [] { return Solid(201, 123); });
  ASSERT_TRUE(dlg.CreateModeless());
  HWND h = dlg.Hwnd();
  EXPECT_EQ(dlg.lastId, 4242);
  EXPECT_EQ(test::SkinGeometryFaults(h, 201, 123, false), "");
  EXPECT_NE(GetActiveWindow(), h) << "placing it activated it";
  SetWindowPos(h, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // what a drag does
  SetWindowPos(h, nullptr, 10, 20, 50, 40, SWP_NOZORDER);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  ShowWindow(h, SW_MINIMIZE);
  ShowWindow(h, SW_RESTORE);
  test::Pump();
  RECT kept{};
  GetWindowRect(h, &kept);
  EXPECT_EQ(std::vector<LONG>({kept.left, kept.top, kept.right, kept.bottom}),
            std::vector<LONG>({10, 20, 10 + 201, 20 + 123}));
  EXPECT_EQ(dlg.loads, 1) << "the image is loaded once";
  EXPECT_TRUE(dlg.host.messages.empty());
}

// A window whose owner is hidden (the login window and its notices before the browser shows)
// gets a task bar button of its own; a waiting notice never takes activation.
TEST(SkinnedDialog, TaskBarButtonWhileTheOwnerIsHiddenAndNoActivationForWaitingWindows) {
  TestSkin owner({.background = 1}, [] { return Solid(40, 30); });
  ASSERT_TRUE(owner.CreateModeless());
  const struct {
    bool ownerShown, activates;
    LONG_PTR ex;
  } cases[] = {{false, true, WS_EX_APPWINDOW}, {true, true, 0}, {false, false, WS_EX_NOACTIVATE}};
  for (const auto& c : cases) {
    ShowWindow(owner.Hwnd(), c.ownerShown ? SW_SHOWNOACTIVATE : SW_HIDE);
    TestSkin dlg({.background = 1, .activates = c.activates}, [] { return Solid(40, 30); });
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
    TestSkin dlg({.background = 1, .drag = drag}, [] { return Solid(160, 96); });
    ASSERT_TRUE(dlg.CreateModeless());
    RECT wr{};
    GetWindowRect(dlg.Hwnd(), &wr);
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
    TestSkin dlg({.background = 1, .controlColours = c.colours, .closeReleasesImage = c.releases},
                 [] { return test::SolidImage(200, 120, RGB(0, 0, 0)); });
    ASSERT_TRUE(dlg.CreateModeless());
    ShowWindow(dlg.Hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(dlg.Hwnd());
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

}  // namespace
}  // namespace vt::skin
