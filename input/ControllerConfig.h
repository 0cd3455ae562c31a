// The bindings of one controller set-up window: codes, the texts shown for them, nester's records
// and the emulator folder. Each emulator's description (emuconfig/Emulator.h) fills and stores it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "input/BindingSlot.h"
#include "input/NesterBinding.h"

namespace vt {

inline constexpr int kNesButtonCount = 8;
// nester's buttons in the order of the NES records; each button's word is its slot's (ButtonWord).
inline constexpr std::array<BindingSlot, kNesButtonCount> kNesButtons = {
    SlotUp, SlotDown, SlotLeft, SlotRight, SlotSelect, SlotStart, SlotA, SlotB};

// The index of a NES button's slot among nester's records; -1 for any other slot.
inline int NesRecordIndex(BindingSlot slot) {
  for (int i = 0; i < kNesButtonCount; ++i)
    if (kNesButtons[i] == slot) return i;
  return -1;
}

class ControllerConfig {
public:
  // An empty folder gives paths relative to the drive root ("\gens.cfg"), as the emulators'
  // own lookup would; the folder is used as given, a trailing backslash included.
  explicit ControllerConfig(std::string folder = {}) : emulatorFolder(std::move(folder)) {}

  std::int32_t& Code(BindingSlot slot) { return bindingCodes[slot]; }
  std::int32_t Code(BindingSlot slot) const { return bindingCodes[slot]; }
  std::string& DisplayName(BindingSlot slot) { return displayNames[DisplayEntry(slot)]; }
  const std::string& DisplayName(BindingSlot slot) const {
    return displayNames[DisplayEntry(slot)];
  }
  std::string& ValueText(BindingSlot slot) { return valueTexts[ValueTextEntry(slot)]; }
  const std::string& ValueText(BindingSlot slot) const { return valueTexts[ValueTextEntry(slot)]; }

  std::string scanKeyList;  // ZSNES: twelve decimal codes joined by ", "
  std::array<std::int32_t, kBindingSlotCount> bindingCodes{};
  // Text of a binding as a text configuration stores it, indexed by ValueTextEntry.
  std::array<std::string, kValueTextCount> valueTexts;
  std::array<std::string, kDisplayEntryCount> displayNames;  // indexed by DisplayEntry
  std::array<NesterBinding, kNesButtonCount> nesRecords{};   // in kNesButtons order
  std::string emulatorFolder;
};

}  // namespace vt
