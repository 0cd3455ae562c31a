#include "skin/ButtonImage.h"

#include <gtest/gtest.h>

namespace vt::skin {
namespace {

// First match wins: pressed, focused, disabled, each only with its image; else normal.
TEST(ChooseButtonImage, FirstStateWithAnImageWins) {
  using S = ButtonSlot;
  const ButtonSlots launch{.pressed = true, .disabled = true}, all{true, true, true};
  const struct {
    ButtonState state;
    ButtonSlots slots;
    ButtonSlot shown;
  } cases[] = {
      {{}, all, S::Normal},
      {{.pressed = true, .focused = true, .disabled = true}, all, S::Pressed},
      {{.focused = true, .disabled = true}, all, S::Focused},
      {{.disabled = true}, all, S::Disabled},
      // The Launch button: no focused image, so focus alone shows the normal one.
      {{.focused = true}, launch, S::Normal},
      {{.pressed = true, .focused = true}, launch, S::Pressed},
      {{.focused = true, .disabled = true}, launch, S::Disabled},
      {{.disabled = true}, {.pressed = true}, S::Normal},
      {{.pressed = true, .disabled = true}, {.disabled = true}, S::Disabled},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseButtonImage(c.state, c.slots), c.shown)
        << c.state.pressed << c.state.focused << c.state.disabled << " with " << c.slots.pressed
        << c.slots.focused << c.slots.disabled;
}

}  // namespace
}  // namespace vt::skin
