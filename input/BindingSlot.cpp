#include "input/BindingSlot.h"

#include <array>

namespace vt {
namespace {

struct SlotInfo {
  const char* name;
  int displayEntry;
};

constexpr std::array<SlotInfo, kBindingSlotCount> kSlots = {{
    {"SlotUp", 0},          {"SlotDown", 1},        {"SlotLeft", 2},        {"SlotRight", 3},
    {"SlotSelect", 4},      {"SlotStart", 5},       {"SlotPause", 6},       {"SlotA", 7},
    {"SlotAutoA", 8},       {"SlotB", 9},           {"SlotAutoB", 10},      {"SlotC", 11},
    {"SlotX", 12},          {"SlotY", 13},          {"", 14},               {"SlotL", 15},
    {"SlotR", 16},          {"SlotButton1", 17},    {"SlotButton2", 18},    {"SlotJoyUp", 25},
    {"SlotJoyDown", 26},    {"SlotJoyLeft", 27},    {"SlotJoyRight", 28},   {"SlotJoySelect", 19},
    {"SlotJoyStart", 20},   {"SlotJoyPause", 31},   {"SlotJoyA", 21},       {"SlotJoyAutoA", 22},
    {"SlotJoyB", 23},       {"SlotJoyAutoB", 24},   {"SlotJoyButton1", 29}, {"SlotJoyButton2", 30},
}};

}  // namespace

int DisplayEntry(BindingSlot slot) {
  // Out-of-range values map to the unused entry rather than past the array.
  if (slot < 0 || slot >= kBindingSlotCount) return 14;
  return kSlots[slot].displayEntry;
}

std::string_view BindingSlotName(BindingSlot slot) {
  if (slot < 0 || slot >= kBindingSlotCount) return {};
  return kSlots[slot].name;
}

std::optional<BindingSlot> FindBindingSlot(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (int i = 0; i < kBindingSlotCount; ++i) {
    if (name == kSlots[i].name) return static_cast<BindingSlot>(i);
  }
  return std::nullopt;
}

}  // namespace vt
