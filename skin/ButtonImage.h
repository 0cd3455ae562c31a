// Which of a bitmap button's four images shows for the platform's button state.
#pragma once

namespace vt::skin {

enum class ButtonSlot { Normal, Pressed, Focused, Disabled };

struct ButtonState {
  bool pressed = false;
  bool focused = false;
  bool disabled = false;
};

// Which optional slots hold an image; the normal slot is always expected.
struct ButtonSlots {
  bool pressed = false;
  bool focused = false;
  bool disabled = false;
};

// First match wins: pressed, then focused, then disabled, each only when its slot has an
// image; otherwise normal.
ButtonSlot ChooseButtonImage(ButtonState state, ButtonSlots slots);

}  // namespace vt::skin
