#include "input/BindingSlot.h"

#include <array>

namespace vt {
namespace {

constexpr int kNoValueText = kValueTextCount - 1;

struct SlotInfo {
  const char* name;
  int displayEntry;
  int valueText = kNoValueText;
};

constexpr std::array<SlotInfo, kBindingSlotCount> kSlots = {{
    {"SlotUp", 0, 0},       {"SlotDown", 1, 1},     {"SlotLeft", 2, 2},
    {"SlotRight", 3, 3},    {"SlotSelect", 4, 4},   {"SlotStart", 5, 5},
    {"SlotPause", 6},       {"SlotA", 7, 7},        {"SlotAutoA", 8},
    {"SlotB", 9, 8},        {"SlotAutoB", 10},      {"SlotC", 11, 9},
    {"SlotX", 12, 10},      {"SlotY", 13, 11},      {"", 14},
    {"SlotL", 15, 13},      {"SlotR", 16, 14},      {"SlotButton1", 17},
    {"SlotButton2", 18},    {"SlotJoyUp", 25},      {"SlotJoyDown", 26},
    {"SlotJoyLeft", 27},    {"SlotJoyRight", 28},   {"SlotJoySelect", 19},
    {"SlotJoyStart", 20},   {"SlotJoyPause", 31},   {"SlotJoyA", 21},
    {"SlotJoyAutoA", 22},   {"SlotJoyB", 23},       {"SlotJoyAutoB", 24},
    {"SlotJoyButton1", 29}, {"SlotJoyButton2", 30},
}};

bool InRange(BindingSlot slot) { return slot >= 0 && slot < kBindingSlotCount; }

}  // namespace

int DisplayEntry(BindingSlot slot) {
  // Out-of-range values map to the unused entry rather than past the array.
  return InRange(slot) ? kSlots[slot].displayEntry : 14;
}

int ValueTextEntry(BindingSlot slot) {
  return InRange(slot) ? kSlots[slot].valueText : kNoValueText;
}

std::string_view BindingSlotName(BindingSlot slot) {
  return InRange(slot) ? kSlots[slot].name : std::string_view();
}

std::string_view ButtonWord(BindingSlot slot) {
  const std::string_view name = BindingSlotName(slot);
  return name.empty() ? name : name.substr(4);
}

std::optional<BindingSlot> FindBindingSlot(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (int i = 0; i < kBindingSlotCount; ++i) {
    if (name == kSlots[i].name) return static_cast<BindingSlot>(i);
  }
  return std::nullopt;
}

}  // namespace vt
