// A bitmap button in a live window: which images it loads, the size it takes, the image it
// shows in each state, and a click reported on release.
#include "skin/win32/BitmapButton.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/skin/SkinTestIds.h"
#include "tests/support/WineWindows.h"

namespace vt::skin {
namespace {

// Images 1..4, 93 x 34 (the browser's big buttons), each in its colour inside a one-pixel frame
// of another, which shows that the image's top-left lands at the corner; any other number fails.
const COLORREF kColours[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(120, 120, 120)};
const COLORREF kNormal = kColours[0], kPressed = kColours[1], kFocused = kColours[2],
               kDisabled = kColours[3], kFrame = RGB(1, 1, 1);

class ButtonWindow : public win::Dialog {
public:
  ButtonWindow()
      : win::Dialog(IDD_TEST_BUTTONS), button([this](int id) -> HBITMAP {
          asked.push_back(id);
          if (id < 1 || id > 4) return nullptr;
          const COLORREF c = kColours[id - 1];
          return test::MakeImage(93, 34, 24, [c](int x, int y) { return x && y ? c : kFrame; });
        }) {}
  std::vector<int> asked;
  BitmapButton button;
  int clicks = 0;

protected:
  bool OnInit() override {
    Attach(button, IDC_TEST_BUTTON);
    return true;
  }
  bool OnCommand(int id, int code, HWND) override {
    clicks += id == IDC_TEST_BUTTON && code == BN_CLICKED;
    return true;
  }
};

class BitmapButtonTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(w.CreateModeless());
    b = w.Item(IDC_TEST_BUTTON);
  }
  // What the button shows, repainted.
  test::Capture Shown() {
    InvalidateRect(b, nullptr, FALSE);
    UpdateWindow(b);
    test::Pump();
    return test::CaptureClient(b);
  }
  COLORREF Centre() {
    const auto cap = Shown();
    return cap.At(cap.width / 2, cap.height / 2);
  }
  RECT Rect() const {
    RECT r{};
    GetWindowRect(b, &r);
    MapWindowPoints(nullptr, w.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  ButtonWindow w;
  HWND b = nullptr;
};

TEST_F(BitmapButtonTest, LoadsEachSlotAskedForAndStopsOnlyAtAMissingNormalImage) {
  EXPECT_TRUE(w.button.LoadImages(1, 2, 0, 4));
  EXPECT_EQ(w.asked, (std::vector<int>{1, 2, 4})) << "slots of number 0 are not loaded";
  EXPECT_EQ(w.button.Image(ButtonSlot::Focused), nullptr);
  w.asked.clear();
  EXPECT_FALSE(w.button.LoadImages(9, 2, 3, 4));
  EXPECT_EQ(w.asked, (std::vector<int>{9}));
  EXPECT_EQ(w.button.Image(ButtonSlot::Pressed), nullptr) << "the old images were released";
  w.asked.clear();
  EXPECT_FALSE(w.button.LoadImages(1, 9, 0, 4));
  EXPECT_EQ(w.asked, (std::vector<int>{1, 9, 4})) << "later slots still load";
  EXPECT_NE(w.button.Image(ButtonSlot::Disabled), nullptr);
}

TEST_F(BitmapButtonTest, TakesTheImageSizeInPlaceOrKeepsTheTemplateSizeWithoutOne) {
  RECT tmpl{10, 10, 60, 24};
  MapDialogRect(w.Hwnd(), &tmpl);
  HWND before = GetWindow(b, GW_HWNDPREV), after = GetWindow(b, GW_HWNDNEXT);
  w.button.LoadImages(1, 2);
  w.button.SizeToContent();
  const RECT sized = Rect(), want{tmpl.left, tmpl.top, tmpl.left + 93, tmpl.top + 34};
  EXPECT_TRUE(EqualRect(&sized, &want));
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), before);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), after);
  w.button.LoadImages(9);
  SetWindowPos(b, nullptr, 0, 0, 40, 20, SWP_NOMOVE | SWP_NOZORDER);
  w.button.SizeToContent();
  EXPECT_EQ(Rect().right - Rect().left, 40);
}

TEST_F(BitmapButtonTest, ShowsTheImageOfItsStateAndNothingElse) {
  w.button.LoadImages(1, 2, 3, 4);
  w.button.SizeToContent();
  SetFocus(w.Item(IDC_TEST_OTHER));
  EXPECT_EQ(Centre(), kNormal);
  SetFocus(b);
  EXPECT_EQ(Centre(), kFocused);
  SetFocus(w.Item(IDC_TEST_OTHER));
  EnableWindow(b, FALSE);
  EXPECT_EQ(Centre(), kDisabled);
  // The Launch button: normal, pressed and disabled images, no focused one.
  w.button.LoadImages(1, 2, 0, 4);
  EXPECT_EQ(Centre(), kDisabled);
  EnableWindow(b, TRUE);
  SetFocus(b);
  // Focused without a focused image: the normal image with the focus mark 4 pixels inside its
  // edge (this plain dialog shows focus marks), no text.
  const auto cap = Shown();
  ASSERT_EQ(cap.width, 93);
  int wrong = 0, marked = 0;
  for (int y = 0; y < cap.height; ++y)
    for (int x = 0; x < cap.width; ++x) {
      const bool ring = x >= 4 && x < cap.width - 4 && y >= 4 && y < cap.height - 4 &&
                        (x == 4 || x == cap.width - 5 || y == 4 || y == cap.height - 5);
      (ring ? marked : wrong) += cap.At(x, y) != (x && y ? kNormal : kFrame);
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(marked, 0);
  // Pressed until the release, which reports the click.
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(Centre(), kPressed);
  EXPECT_EQ(w.clicks, 0);
  SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  test::Pump();
  EXPECT_EQ(w.clicks, 1);
  EXPECT_EQ(Centre(), kNormal);
}

}  // namespace
}  // namespace vt::skin
