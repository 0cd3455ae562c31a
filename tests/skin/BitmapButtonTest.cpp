// A bitmap button in a live window: which images it loads and the size it takes. (Each state's
// image on the screen is the notices' test; the focus mark over an image, the browser window's.)
#include "skin/win32/BitmapButton.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/skin/SkinTestIds.h"
#include "tests/support/WineWindows.h"

namespace vt::skin {
namespace {

// Images 1..4, 93 x 34 (the browser's big buttons); any other number fails.
class ButtonWindow : public win::Dialog {
public:
  ButtonWindow()
      : win::Dialog(IDD_TEST_BUTTONS), button([this](int id) -> HBITMAP {
          asked.push_back(id);
          return id >= 1 && id <= 4 ? test::SolidImage(93, 34, RGB(id, 0, 0)) : nullptr;
        }) {}
  std::vector<int> asked;
  BitmapButton button;

protected:
  bool OnInit() override {
    Attach(button, IDC_TEST_BUTTON);
    return true;
  }
};

// Slots of number 0 are not loaded; a missing normal image stops the loading and releases the
// old images, any other missing one does not. The button takes its image's size in place (its
// place in the tab order kept), or keeps the size it has without one.
TEST(BitmapButton, LoadsEachSlotAskedForAndTakesTheImageSizeInPlace) {
  ButtonWindow w;
  ASSERT_TRUE(w.CreateModeless());
  HWND b = w.Item(IDC_TEST_BUTTON);
  EXPECT_TRUE(w.button.LoadImages(1, 2, 0, 4));
  EXPECT_EQ(w.asked, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(w.button.Image(ButtonSlot::Focused), nullptr);
  RECT tmpl{10, 10, 60, 24};  // the template's place, in dialog units
  MapDialogRect(w.Hwnd(), &tmpl);
  HWND before = GetWindow(b, GW_HWNDPREV), after = GetWindow(b, GW_HWNDNEXT);
  w.button.SizeToContent();
  const RECT sized = test::ChildRect(b), want{tmpl.left, tmpl.top, tmpl.left + 93, tmpl.top + 34};
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
  EXPECT_EQ(test::ChildRect(b).right - test::ChildRect(b).left, 40);
}

}  // namespace
}  // namespace vt::skin
