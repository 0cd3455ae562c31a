// ZSNES's "zsnesw.cfg": one "ScanKeyn = " line of twelve comma-separated codes per player.
#include <array>

#include "emuconfig/ConfigText.h"
#include "emuconfig/Emulator.h"
#include "input/KeyNames.h"
#include "text/Decimal.h"

namespace vt {
namespace {

using namespace configtext;

// ZSNES's element order, which is also the order of the ScanKey list.
constexpr std::array<BindingSlot, 12> kSlots = {SlotRight, SlotLeft,   SlotDown, SlotUp,
                                                SlotStart, SlotSelect, SlotB,    SlotY,
                                                SlotA,     SlotX,      SlotL,    SlotR};

// "ScanKeyn" and " = " are 11 characters.
constexpr std::string_view kSeparator = " = ";
constexpr std::size_t kValueOffset = 8 + kSeparator.size();

// Start of the player's value, or npos when the word is missing or not followed by " = ": the
// value is found by its fixed distance from the word, so any other spacing would splice the new
// list into the middle of the old numbers.
std::size_t ValueStart(std::string_view text, int player) {
  if (player != 1 && player != 2) return npos;
  std::size_t word = Find(text, player == 1 ? "ScanKey1" : "ScanKey2");
  if (word == npos || word + kValueOffset > text.size()) return npos;
  if (text.substr(word + 8, kSeparator.size()) != kSeparator) return npos;
  return word + kValueOffset;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

class ZsnesFormat final : public FileEmulator {
public:
  ZsnesFormat() : FileEmulator("zsnes", "ZSNES", 2, "zsnesw.cfg") {}

  std::span<const BindingSlot> Slots(int) const override { return kSlots; }

  // Axis directions 0 to 13, buttons 16 + 0 to 15.
  bool Fits(BindingSlot, std::int64_t code) const override {
    return IsKeyCode(code) || JoystickNumbering{256, 32, 0, 13, 16, 31}.Holds(code);
  }

  // The SNES names; the ScanKey list is rebuilt from the codes.
  void RefreshNames(ControllerConfig& config) const override {
    config.scanKeyList.clear();
    for (BindingSlot slot : kSlots) {
      config.DisplayName(slot) = KeyDisplayName(config.Code(slot));
      if (!config.scanKeyList.empty()) config.scanKeyList += ", ";
      config.scanKeyList += std::to_string(config.Code(slot));
    }
  }

  // False when the player's word is missing, is not followed by " = ", or its line has fewer
  // than eleven commas.
  bool Read(std::string_view text, int player, ControllerConfig& config) const override {
    const std::size_t start = ValueStart(text, player);
    if (start == npos) return false;
    const std::string_view value = LineValue(text, start);
    std::array<std::string_view, kSlots.size()> elements;
    std::size_t pos = 0;
    for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
      const std::size_t comma = value.find(',', pos);
      if (comma == npos) return false;
      elements[i] = value.substr(pos, comma - pos);
      pos = comma + 1;
      while (pos < value.size() && IsBlank(value[pos])) ++pos;
    }
    elements.back() = value.substr(pos);
    for (std::size_t i = 0; i < elements.size(); ++i) {
      config.ValueText(kSlots[i]) = std::string(elements[i]);
      config.Code(kSlots[i]) = ReadDecimal(elements[i]);
    }
    RefreshNames(config);
    return true;
  }

  // The player's value replaced by the ScanKey list.
  std::optional<std::string> Write(std::string_view text, int player,
                                   const ControllerConfig& config) const override {
    const std::size_t start = ValueStart(text, player);
    if (start == npos) return std::nullopt;
    std::string out(text.substr(0, start));
    out += config.scanKeyList;
    out += text.substr(LineContentEnd(text, start));
    return out;
  }
};

}  // namespace

const FileEmulator& Zsnes() {
  static const ZsnesFormat kFormat;
  return kFormat;
}

}  // namespace vt
