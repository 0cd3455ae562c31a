#include "skin/win32/BitmapButton.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "tests/skin/SkinTestIds.h"
#include "tests/skin/WineWindows.h"

namespace vt::skin {
namespace {

constexpr COLORREF kNormal = RGB(200, 0, 0), kPressed = RGB(0, 200, 0), kFocused = RGB(0, 0, 200),
                   kDisabled = RGB(120, 120, 120);

// Images 1..4 in four colours, 93 x 34 (the browser's big buttons); any other number fails.
struct Images {
  std::vector<int> asked;
  BitmapLoader Loader() {
    return [this](int id) -> HBITMAP {
      asked.push_back(id);
      static const std::map<int, COLORREF> colours{{1, kNormal}, {2, kPressed}, {3, kFocused}, {4, kDisabled}};
      auto it = colours.find(id);
      if (it == colours.end()) return nullptr;
      // A one-pixel frame of another colour shows that the image's top-left lands at the corner.
      const COLORREF c = it->second;
      return test::MakeImage(93, 34, 24, [c](int x, int y) { return x == 0 || y == 0 ? RGB(1, 1, 1) : c; });
    };
  }
};

class ButtonWindow : public win::Dialog {
public:
  explicit ButtonWindow(BitmapLoader loader) : win::Dialog(IDD_TEST_BUTTONS), button(std::move(loader)) {}
  BitmapButton button;
  int clicks = 0;

protected:
  bool OnInit() override {
    Attach(button, IDC_TEST_BUTTON);
    return true;
  }
  bool OnCommand(int id, int code, HWND) override {
    if (id == IDC_TEST_BUTTON && code == BN_CLICKED) ++clicks;
    return true;
  }
};

COLORREF Centre(HWND button) {
  InvalidateRect(button, nullptr, FALSE);
  UpdateWindow(button);
  test::Pump();
  const auto cap = test::CaptureClient(button);
  return cap.At(cap.width / 2, cap.height / 2);
}

TEST(BitmapButton, LoadImagesFollowsItsResultRules) {
  Images images;
  BitmapButton b(images.Loader());
  EXPECT_TRUE(b.LoadImages(1, 2, 0, 4));
  EXPECT_EQ(images.asked, (std::vector<int>{1, 2, 4})) << "slots of number 0 are not loaded";
  EXPECT_EQ(b.Image(ButtonSlot::Focused), nullptr);

  images.asked.clear();
  EXPECT_FALSE(b.LoadImages(9, 2, 3, 4));
  EXPECT_EQ(images.asked, (std::vector<int>{9})) << "a failed normal image stops at once";
  EXPECT_EQ(b.Image(ButtonSlot::Pressed), nullptr) << "the old images were released";

  images.asked.clear();
  EXPECT_FALSE(b.LoadImages(1, 9, 0, 4));
  EXPECT_EQ(images.asked, (std::vector<int>{1, 9, 4})) << "later slots still load";
  EXPECT_NE(b.Image(ButtonSlot::Normal), nullptr);
  EXPECT_NE(b.Image(ButtonSlot::Disabled), nullptr);
}

TEST(BitmapButton, SizeToContentTakesTheImageSizeWithoutMovingOrReordering) {
  Images images;
  ButtonWindow w(images.Loader());
  ASSERT_TRUE(w.CreateModeless());
  HWND b = w.Item(IDC_TEST_BUTTON);
  RECT tmpl{10, 10, 60, 24};
  MapDialogRect(w.Hwnd(), &tmpl);
  HWND before = GetWindow(b, GW_HWNDPREV), after = GetWindow(b, GW_HWNDNEXT);
  w.button.LoadImages(1, 2);
  w.button.SizeToContent();
  RECT r{};
  GetWindowRect(b, &r);
  MapWindowPoints(nullptr, w.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.right - r.left, 93);
  EXPECT_EQ(r.bottom - r.top, 34);
  EXPECT_EQ(r.left, tmpl.left);
  EXPECT_EQ(r.top, tmpl.top);
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), before);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), after);

  // Without a normal image the button keeps its template size.
  w.button.LoadImages(9);
  SetWindowPos(b, nullptr, 0, 0, 40, 20, SWP_NOMOVE | SWP_NOZORDER);
  w.button.SizeToContent();
  GetWindowRect(b, &r);
  EXPECT_EQ(r.right - r.left, 40);
}

TEST(BitmapButton, DrawsTheFirstMatchingImageAndNothingElse) {
  Images images;
  ButtonWindow w(images.Loader());
  ASSERT_TRUE(w.CreateModeless());
  HWND b = w.Item(IDC_TEST_BUTTON);
  w.button.LoadImages(1, 2, 3, 4);
  w.button.SizeToContent();
  SetFocus(w.Item(IDC_TEST_OTHER));
  EXPECT_EQ(Centre(b), kNormal);

  SetFocus(b);
  EXPECT_EQ(Centre(b), kFocused);
  SetFocus(w.Item(IDC_TEST_OTHER));
  EnableWindow(b, FALSE);
  EXPECT_EQ(Centre(b), kDisabled);

  // The Launch case: normal, pressed and disabled images, no focused one.
  w.button.LoadImages(1, 2, 0, 4);
  EXPECT_EQ(Centre(b), kDisabled);
  EnableWindow(b, TRUE);
  SetFocus(b);
  // Focused without a focused image: exactly the normal image, no focus rectangle or text.
  InvalidateRect(b, nullptr, FALSE);
  UpdateWindow(b);
  const auto cap = test::CaptureClient(b);
  ASSERT_EQ(cap.width, 93);
  int wrong = 0;
  for (int y = 0; y < cap.height; ++y)
    for (int x = 0; x < cap.width; ++x)
      if (cap.At(x, y) != (x == 0 || y == 0 ? RGB(1, 1, 1) : kNormal)) ++wrong;
  EXPECT_EQ(wrong, 0);
}

TEST(BitmapButton, ClickIsReportedToTheWindowOnRelease) {
  Images images;
  ButtonWindow w(images.Loader());
  ASSERT_TRUE(w.CreateModeless());
  HWND b = w.Item(IDC_TEST_BUTTON);
  w.button.LoadImages(1, 2);
  w.button.SizeToContent();
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(Centre(b), kPressed);
  EXPECT_EQ(w.clicks, 0);
  SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  test::Pump();
  EXPECT_EQ(w.clicks, 1);
  EXPECT_EQ(Centre(b), kNormal);
}

}  // namespace
}  // namespace vt::skin
