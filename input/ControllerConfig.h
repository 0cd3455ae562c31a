// The bindings of one controller set-up window: codes, the texts shown for them, nester's records
// and the emulator configuration paths. The readers and writers of emuconfig/ fill and store it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "input/BindingSlot.h"
#include "input/InputDevices.h"
#include "input/NesterBinding.h"

namespace vt {

inline constexpr int kNesButtonCount = 8;

class ControllerConfig {
public:
  // An empty folder gives paths relative to the drive root ("\gens.cfg"), as the emulators'
  // own lookup would; the folder is used as given, a trailing backslash included.
  ControllerConfig() { SetEmulatorFolder(std::string()); }
  explicit ControllerConfig(std::string emulatorFolder) { SetEmulatorFolder(std::move(emulatorFolder)); }

  void SetEmulatorFolder(std::string folder);

  std::int32_t& Code(BindingSlot slot) { return bindingCodes[slot]; }
  std::int32_t Code(BindingSlot slot) const { return bindingCodes[slot]; }
  std::string& DisplayName(BindingSlot slot) { return displayNames[DisplayEntry(slot)]; }
  const std::string& DisplayName(BindingSlot slot) const { return displayNames[DisplayEntry(slot)]; }

  // Each recomputes the display names of one console family after a capture or a load.
  void RefreshSnesNames();          // also rebuilds scanKeyList
  void RefreshGenesisNames();       // also rewrites the eight value texts as decimal codes
  void RefreshNesNames();
  void RefreshGameBoyNames();
  void RefreshMasterSystemNames();  // MEKA texts, which the MEKA writer stores as they are

  // --- binding members ---
  std::string systemAlias;  // "SNES", "GEN", "GBC", "SMS", "NES" while a capture runs
  std::string scanKeyList;  // ZSNES: twelve decimal codes joined by ", "
  std::array<std::int32_t, kBindingSlotCount> bindingCodes{};
  // Text of a binding as a text configuration stores it. Entries: 0 Up, 1 Down, 2 Left, 3 Right,
  // 4 Select, 5 Start, 7 A, 8 B, 9 C, 10 X, 11 Y, 13 L, 14 R.
  std::array<std::string, kValueTextCount> valueTexts;
  std::array<std::string, kDisplayEntryCount> displayNames;  // indexed by DisplayEntry
  // nester's Up, Down, Left, Right, Select, Start, A, B.
  std::array<NesterBinding, kNesButtonCount> nesRecords{};

  // --- emulator locations ---
  std::string emulatorFolder;
  std::string zsnesPath;
  std::string gensPath;
  std::string gestPath;
  std::string mekaPath;

  // --- device members (input devices and capture) ---
  // Added by the device layer; keep the members above in this order.
  // The keyboard and joysticks of one capture, open only while it runs (Capture.h).
  InputDevices input;
};

}  // namespace vt
