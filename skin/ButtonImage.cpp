#include "skin/ButtonImage.h"

namespace vt::skin {

ButtonSlot ChooseButtonImage(ButtonState state, ButtonSlots slots) {
  if (state.pressed && slots.pressed) return ButtonSlot::Pressed;
  if (state.focused && slots.focused) return ButtonSlot::Focused;
  if (state.disabled && slots.disabled) return ButtonSlot::Disabled;
  return ButtonSlot::Normal;
}

}  // namespace vt::skin
