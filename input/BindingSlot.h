// The 32 binding slots of a controller set-up window and where each one's display name lives.
#pragma once

#include <optional>
#include <string_view>

namespace vt {

// The index of a binding code in ControllerConfig. The values are stored positions: keep them.
enum BindingSlot : int {
  SlotUp = 0,
  SlotDown = 1,
  SlotLeft = 2,
  SlotRight = 3,
  SlotSelect = 4,
  SlotStart = 5,
  SlotPause = 6,
  SlotA = 7,
  SlotAutoA = 8,
  SlotB = 9,
  SlotAutoB = 10,
  SlotC = 11,
  SlotX = 12,
  SlotY = 13,
  // 14 is not used by any window.
  SlotL = 15,
  SlotR = 16,
  SlotButton1 = 17,
  SlotButton2 = 18,
  SlotJoyUp = 19,
  SlotJoyDown = 20,
  SlotJoyLeft = 21,
  SlotJoyRight = 22,
  SlotJoySelect = 23,
  SlotJoyStart = 24,
  SlotJoyPause = 25,
  SlotJoyA = 26,
  SlotJoyAutoA = 27,
  SlotJoyB = 28,
  SlotJoyAutoB = 29,
  SlotJoyButton1 = 30,
  SlotJoyButton2 = 31,
};

inline constexpr int kBindingSlotCount = 32;
inline constexpr int kDisplayEntryCount = 32;
inline constexpr int kValueTextCount = 24;

// Index of the slot's display name; the joystick slots do not keep their own order there.
int DisplayEntry(BindingSlot slot);
// Index of the slot's value text: Up 0, Down 1, Left 2, Right 3, Select 4, Start 5, A 7, B 8,
// C 9, X 10, Y 11, L 13, R 14; the unused entry 23 for a slot no text configuration holds.
int ValueTextEntry(BindingSlot slot);

// The joystick column of the Game Boy and Master System windows.
constexpr bool IsJoystickSlot(BindingSlot slot) { return slot >= SlotJoyUp; }

// "SlotUp" and so on; empty for the unused index 14 and anything out of range.
std::string_view BindingSlotName(BindingSlot slot);

// The name without "Slot" ("Up", "JoyA"): the button's word, as nester and Gens name their keys.
std::string_view ButtonWord(BindingSlot slot);

// Exact, case-sensitive lookup of a name given by BindingSlotName.
std::optional<BindingSlot> FindBindingSlot(std::string_view name);

}  // namespace vt
