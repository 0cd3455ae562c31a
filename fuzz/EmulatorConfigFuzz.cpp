// One emulator configuration as a read-patch-write round trip (the format is chosen by the
// build: VT_FUZZ_FORMAT 1 gens, 2 meka, 3 zsnes, 4 gest): whatever the file holds, reading
// never leaves its text; what the writer makes from the bindings it read, it reads back as the
// same bindings, and writing those again changes nothing. New bindings from the input are
// written and read back too.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <optional>
#include <string>

#include "controllers/ConsoleLayouts.h"
#include "emuconfig/GensConfig.h"
#include "emuconfig/GestConfig.h"
#include "emuconfig/MekaConfig.h"
#include "emuconfig/ZsnesConfig.h"
#include "fuzz/FuzzCheck.h"
#include "input/KeyNames.h"

namespace {

using vt::ControllerConfig;

// The format under test: its reader, writer, name refresh and emulator.
const struct Format {
  bool (*read)(std::string_view, int, ControllerConfig&);
  std::optional<std::string> (*write)(std::string_view, int, const ControllerConfig&);
  void (ControllerConfig::*refresh)();
  vt::Emulator emulator;
} kFormats[] = {
    {vt::ReadGensBindings, vt::WriteGensBindings, &ControllerConfig::RefreshGenesisNames,
     vt::Emulator::Gens},
    {vt::ReadMekaBindings, vt::WriteMekaBindings, &ControllerConfig::RefreshMasterSystemNames,
     vt::Emulator::Meka},
    {vt::ReadZsnesBindings, vt::WriteZsnesBindings, &ControllerConfig::RefreshSnesNames,
     vt::Emulator::Zsnes},
    {[](std::string_view t, int, ControllerConfig& c) { return vt::ReadGestBindings(t, c); },
     [](std::string_view t, int, const ControllerConfig& c) { return vt::WriteGestBindings(t, c); },
     &ControllerConfig::RefreshGameBoyNames, vt::Emulator::Gest},
};
const Format& kFormat = kFormats[VT_FUZZ_FORMAT - 1];
const auto Read = kFormat.read;
const auto Write = kFormat.write;

// A code the format stores: keys everywhere, the family's joystick codes where it has them.
std::int32_t StorableCode(FuzzedDataProvider& in, vt::BindingSlot slot) {
  // The Master System window takes only joystick codes in joystick fields.
  if (VT_FUZZ_FORMAT == 2 && slot >= vt::SlotJoyUp) return in.ConsumeIntegralInRange(256, 287);
  const int pick = in.ConsumeIntegralInRange(0, 3);
  const std::int32_t key = in.ConsumeIntegralInRange(1, 255);
  if (pick != 0) return key;
  switch (VT_FUZZ_FORMAT) {
    case 1: return 0x1010 + 256 * in.ConsumeIntegralInRange(0, 4) + in.ConsumeIntegralInRange(0, 31);
    case 2: return key;
    case 3: return 256 + 32 * in.ConsumeIntegralInRange(0, 4) + in.ConsumeIntegralInRange(16, 31);
    default: return slot >= vt::SlotJoyUp ? in.ConsumeIntegralInRange(0, 31) : key;
  }
}

// Bindings no read has touched: a failed read must leave them so, and slots a format does not
// hold stay so through every round.
ControllerConfig Untouched() {
  ControllerConfig c;
  c.scanKeyList = "kept";
  c.bindingCodes.fill(-5);
  return c;
}

bool SameCodes(const ControllerConfig& a, const ControllerConfig& b) {
  return a.bindingCodes == b.bindingCodes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int player = in.ConsumeIntegralInRange(1, 2);
  std::vector<std::pair<vt::BindingSlot, std::int32_t>> edits;
  const int count = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < count; ++i) {
    const auto slot = vt::BindingSlot(in.ConsumeIntegralInRange(0, vt::kBindingSlotCount - 1));
    edits.emplace_back(slot, StorableCode(in, slot));
  }
  const std::string text = in.ConsumeRemainingBytesAsString();

  // A read that fails changes nothing: no half-loaded bindings.
  ControllerConfig read = Untouched();
  if (!Read(text, player, read)) {
    const ControllerConfig untouched = Untouched();
    FUZZ_CHECK(read.scanKeyList == untouched.scanKeyList && SameCodes(read, untouched));
    return 0;
  }
  const std::optional<std::string> same = Write(text, player, read);
  if (!same) return 0;
  // Gest's file is a fixed buffer at least; everything else grows or shrinks with the bindings.
  if (VT_FUZZ_FORMAT == 4) FUZZ_CHECK(same->size() == std::max(text.size(), vt::kGestBufferBytes));
  // Every other format gives back exactly what it read, and writing that again changes nothing.
  // MEKA writes some keys under another key's name (the keypad's 7 as "7", its + as "+", which
  // reads as no key, and no key as "0", the main row's 0), so there the file settles after at
  // most two more rounds.
  std::string settled = *same;
  ControllerConfig again = Untouched();
  FUZZ_CHECK(Read(settled, player, again));
  if (VT_FUZZ_FORMAT != 2) FUZZ_CHECK(SameCodes(read, again));
  for (int round = 0;; ++round) {
    const std::optional<std::string> next = Write(settled, player, again);
    FUZZ_CHECK(next.has_value());
    ControllerConfig reread = Untouched();
    FUZZ_CHECK(Read(*next, player, reread));
    if (*next == settled) {
      FUZZ_CHECK(SameCodes(again, reread));
      break;
    }
    FUZZ_CHECK(VT_FUZZ_FORMAT == 2 && round < 2);
    settled = *next;
    again = reread;
  }

  // New bindings of the slots this format keeps for the player go in and come back out.
  ControllerConfig edited = again;
  const std::vector<vt::BindingSlot> kept = vt::EmulatorSlots(kFormat.emulator, player);
  std::vector<vt::BindingSlot> applied;
  for (auto [slot, code] : edits) {
    if (std::find(kept.begin(), kept.end(), slot) == kept.end()) continue;
    // MEKA names some keys alike (the keypad's 7 is "7"): not every code comes back.
    const bool named = vt::MekaKeyCode(vt::MekaKeyName(code)) == code;
    if (VT_FUZZ_FORMAT == 2 && slot < vt::SlotJoyUp && !named) continue;
    edited.Code(slot) = code;
    applied.push_back(slot);
  }
  (edited.*kFormat.refresh)();
  const std::optional<std::string> changed = Write(settled, player, edited);
  FUZZ_CHECK(changed.has_value());
  ControllerConfig back = Untouched();
  FUZZ_CHECK(Read(*changed, player, back));
  for (vt::BindingSlot slot : applied) FUZZ_CHECK(back.Code(slot) == edited.Code(slot));
  return 0;
}
