#include "skin/ButtonImage.h"

#include <gtest/gtest.h>

namespace vt::skin {
namespace {

TEST(ChooseButtonImage, LaunchButtonShowsPressedNormalAndDisabledImages) {
  const ButtonSlots launch{.pressed = true, .focused = false, .disabled = true};
  EXPECT_EQ(ChooseButtonImage({}, launch), ButtonSlot::Normal);
  EXPECT_EQ(ChooseButtonImage({.pressed = true}, launch), ButtonSlot::Pressed);
  EXPECT_EQ(ChooseButtonImage({.disabled = true}, launch), ButtonSlot::Disabled);
  // No focused image: focus alone shows the normal image.
  EXPECT_EQ(ChooseButtonImage({.focused = true}, launch), ButtonSlot::Normal);
  EXPECT_EQ(ChooseButtonImage({.pressed = true, .focused = true}, launch), ButtonSlot::Pressed);
}

TEST(ChooseButtonImage, FirstMatchWinsOverEveryStateCombination) {
  for (int s = 0; s < 8; ++s)
    for (int p = 0; p < 8; ++p) {
      const ButtonState state{.pressed = (s & 1) != 0, .focused = (s & 2) != 0, .disabled = (s & 4) != 0};
      const ButtonSlots slots{.pressed = (p & 1) != 0, .focused = (p & 2) != 0, .disabled = (p & 4) != 0};
      const ButtonSlot got = ChooseButtonImage(state, slots);
      const bool pressedRule = state.pressed && slots.pressed;
      const bool focusedRule = state.focused && slots.focused;
      const bool disabledRule = state.disabled && slots.disabled;
      // The chosen rule matches and no earlier rule would have.
      switch (got) {
        case ButtonSlot::Pressed: EXPECT_TRUE(pressedRule); break;
        case ButtonSlot::Focused: EXPECT_TRUE(focusedRule && !pressedRule); break;
        case ButtonSlot::Disabled: EXPECT_TRUE(disabledRule && !pressedRule && !focusedRule); break;
        case ButtonSlot::Normal: EXPECT_FALSE(pressedRule || focusedRule || disabledRule); break;
      }
    }
}

TEST(ChooseButtonImage, DisabledButtonWithoutDisabledImageShowsNormal) {
  EXPECT_EQ(ChooseButtonImage({.disabled = true}, {.pressed = true}), ButtonSlot::Normal);
  EXPECT_EQ(ChooseButtonImage({.focused = true, .disabled = true}, {.focused = true, .disabled = true}),
            ButtonSlot::Focused);
}

}  // namespace
}  // namespace vt::skin
