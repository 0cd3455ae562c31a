#include "input/ControllerConfig.h"

#include <cstdint>
#include <string>

#include "input/KeyNames.h"

namespace vt {
namespace {

// ZSNES's element order, which is also the order of the ScanKey list.
constexpr BindingSlot kSnesOrder[] = {SlotRight, SlotLeft, SlotDown, SlotUp, SlotStart, SlotSelect,
                                      SlotB,     SlotY,    SlotA,    SlotX,  SlotL,     SlotR};

struct GenesisSlot {
  BindingSlot slot;
  int valueText;
};
constexpr GenesisSlot kGenesisSlots[] = {{SlotUp, 0},    {SlotDown, 1}, {SlotLeft, 2}, {SlotRight, 3},
                                         {SlotStart, 5}, {SlotA, 7},    {SlotB, 8},    {SlotC, 9}};

constexpr BindingSlot kNesOrder[kNesButtonCount] = {SlotUp,    SlotDown,  SlotLeft, SlotRight,
                                                    SlotSelect, SlotStart, SlotA,    SlotB};

constexpr BindingSlot kGameBoyKeys[] = {SlotUp, SlotDown, SlotLeft, SlotRight, SlotSelect,
                                        SlotStart, SlotA, SlotAutoA, SlotB, SlotAutoB};
constexpr BindingSlot kGameBoyJoy[] = {SlotJoySelect, SlotJoyStart, SlotJoyA,
                                       SlotJoyB,      SlotJoyAutoA, SlotJoyAutoB};

constexpr BindingSlot kMasterSystem[] = {SlotUp,     SlotDown,       SlotLeft,       SlotRight,
                                         SlotButton1, SlotButton2,   SlotPause,      SlotJoyUp,
                                         SlotJoyDown, SlotJoyLeft,   SlotJoyRight,   SlotJoyButton1,
                                         SlotJoyButton2, SlotJoyPause};

}  // namespace

void ControllerConfig::SetEmulatorFolder(std::string folder) {
  emulatorFolder = std::move(folder);
  zsnesPath = emulatorFolder + "\\zsnesw.cfg";
  gensPath = emulatorFolder + "\\gens.cfg";
  gestPath = emulatorFolder + "\\gest.cfg";
  mekaPath = emulatorFolder + "\\meka.inp";
}

void ControllerConfig::RefreshSnesNames() {
  scanKeyList.clear();
  for (BindingSlot slot : kSnesOrder) {
    DisplayName(slot) = KeyDisplayName(Code(slot));
    if (!scanKeyList.empty()) scanKeyList += ", ";
    scanKeyList += std::to_string(Code(slot));
  }
}

void ControllerConfig::RefreshGenesisNames() {
  for (const GenesisSlot& g : kGenesisSlots) valueTexts[g.valueText] = std::to_string(Code(g.slot));
  for (const GenesisSlot& g : kGenesisSlots) DisplayName(g.slot) = KeyDisplayName(Code(g.slot));
}

void ControllerConfig::RefreshNesNames() {
  for (int i = 0; i < kNesButtonCount; ++i) DisplayName(kNesOrder[i]) = NesterBindingName(nesRecords[i]);
}

void ControllerConfig::RefreshGameBoyNames() {
  for (BindingSlot slot : kGameBoyKeys) DisplayName(slot) = KeyDisplayName(Code(slot));
  // Joystick slots hold a button number; +256 makes KeyDisplayName show it as "J" and the number.
  for (BindingSlot slot : kGameBoyJoy) {
    std::int64_t code = std::int64_t{Code(slot)} + 256;
    DisplayName(slot) = KeyDisplayName(code > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(code));
  }
}

void ControllerConfig::RefreshMasterSystemNames() {
  for (BindingSlot slot : kMasterSystem) DisplayName(slot) = MekaKeyName(Code(slot));
}

}  // namespace vt
