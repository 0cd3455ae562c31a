// One emulator configuration as a read-patch-write round trip (the format is chosen by the
// build: VT_FUZZ_EMULATOR is its vtcli word): whatever the file holds, reading never leaves its
// text; what the writer makes from the bindings it read, it reads back as the same bindings, and
// writing those again changes nothing. New bindings from the input are written and read back too.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "emuconfig/Emulator.h"
#include "fuzz/FuzzCheck.h"
#include "input/KeyNames.h"

namespace {

using vt::ControllerConfig;

const auto& kFormat = dynamic_cast<const vt::FileEmulator&>(*vt::FindEmulator(VT_FUZZ_EMULATOR));
const bool kMeka = &kFormat == &vt::Meka();

// A code the format stores in the slot, or none: a small or a larger offset from where the
// families number their inputs (keys and Game Boy buttons from 0, joystick codes from 256 and
// from 0x1000), the first of the three that the format's own rule takes.
std::optional<std::int32_t> StoredCode(FuzzedDataProvider& in, vt::BindingSlot slot) {
  static constexpr std::int32_t kBases[] = {0, 256, 0x1000}, kSpans[] = {0x1F, 0xFF, 0x4FF};
  const std::int32_t offset = in.ConsumeIntegralInRange(0, kSpans[in.ConsumeIntegralInRange(0, 2)]);
  const int first = in.ConsumeIntegralInRange(0, 2);
  for (int i = 0; i < 3; ++i) {
    const std::int32_t code = kBases[(first + i) % 3] + offset;
    if (kFormat.Fits(slot, code)) return code;
  }
  return std::nullopt;
}

// Bindings no read has touched: a failed read must leave them so, and slots a format does not
// hold stay so through every round.
ControllerConfig Untouched() {
  ControllerConfig c;
  c.scanKeyList = c.valueTexts[0] = c.displayNames[0] = "kept";
  c.bindingCodes.fill(-5);
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int player = in.ConsumeIntegralInRange(1, 2);
  std::vector<std::pair<vt::BindingSlot, std::int32_t>> edits;
  const int count = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < count; ++i) {
    const auto slot = vt::BindingSlot(in.ConsumeIntegralInRange(0, vt::kBindingSlotCount - 1));
    if (const auto code = StoredCode(in, slot)) edits.emplace_back(slot, *code);
  }
  const std::string text = in.ConsumeRemainingBytesAsString();

  // A read that fails changes nothing: no half-loaded bindings.
  ControllerConfig read = Untouched();
  if (!kFormat.Read(text, player, read)) {
    FUZZ_CHECK(read.bindingCodes == Untouched().bindingCodes);
    FUZZ_CHECK(read.scanKeyList + read.valueTexts[0] + read.displayNames[0] == "keptkeptkept");
    return 0;
  }
  const std::optional<std::string> same = kFormat.Write(text, player, read);
  if (!same) return 0;
  // Gest's file is a fixed buffer at least; everything else grows or shrinks with the bindings.
  if (&kFormat == &vt::Gest())
    FUZZ_CHECK(same->size() == std::max(text.size(), vt::kGestBufferBytes));
  // Every other format gives back exactly what it read, and writing that again changes nothing.
  // MEKA writes some keys under another key's name (the keypad's 7 as "7", its + as "+", which
  // reads as no key, and no key as "0", the main row's 0), so there the file settles after at
  // most two more rounds.
  std::string settled = *same;
  ControllerConfig again = Untouched();
  FUZZ_CHECK(kFormat.Read(settled, player, again));
  if (!kMeka) FUZZ_CHECK(read.bindingCodes == again.bindingCodes);
  for (int round = 0;; ++round) {
    const std::optional<std::string> next = kFormat.Write(settled, player, again);
    FUZZ_CHECK(next.has_value());
    ControllerConfig reread = Untouched();
    FUZZ_CHECK(kFormat.Read(*next, player, reread));
    if (*next == settled) {
      FUZZ_CHECK(again.bindingCodes == reread.bindingCodes);
      break;
    }
    FUZZ_CHECK(kMeka && round < 2);
    settled = *next;
    again = reread;
  }

  // New bindings of the slots this format keeps for the player go in and come back out.
  ControllerConfig edited = again;
  const std::span<const vt::BindingSlot> kept = kFormat.Slots(player);
  std::vector<vt::BindingSlot> applied;
  for (auto [slot, code] : edits) {
    if (std::find(kept.begin(), kept.end(), slot) == kept.end()) continue;
    // MEKA names some keys alike (the keypad's 7 is "7"): not every code comes back.
    const bool named = vt::MekaKeyCode(vt::MekaKeyName(code)) == code;
    if (kMeka && !vt::IsJoystickSlot(slot) && !named) continue;
    kFormat.Bind(edited, slot, code);
    applied.push_back(slot);
  }
  kFormat.RefreshNames(edited);
  const std::optional<std::string> changed = kFormat.Write(settled, player, edited);
  FUZZ_CHECK(changed.has_value());
  ControllerConfig back = Untouched();
  FUZZ_CHECK(kFormat.Read(*changed, player, back));
  for (vt::BindingSlot slot : applied) FUZZ_CHECK(back.Code(slot) == edited.Code(slot));
  return 0;
}
