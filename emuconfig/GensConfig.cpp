// Gens's "gens.cfg": the eight "Pn.Key=value" lines of one player, keys named as the slots are.
#include <array>

#include "emuconfig/ConfigText.h"
#include "emuconfig/Emulator.h"
#include "input/KeyNames.h"
#include "text/Decimal.h"

namespace vt {
namespace {

using namespace configtext;

// File order; the writer relies on it.
constexpr std::array<BindingSlot, 8> kSlots = {SlotUp,    SlotDown, SlotLeft, SlotRight,
                                               SlotStart, SlotA,    SlotB,    SlotC};

std::string KeyName(int player, BindingSlot slot) {
  std::string name = "P";
  name += static_cast<char>('0' + player);  // player is 1 or 2
  name += '.';
  name += ButtonWord(slot);
  return name;
}

// A key where it stands as a key: at the start of a line and followed by its "=", so that "P1.C"
// is neither found inside another line nor in "P1.Config", and a value always starts after "=".
std::size_t FindKey(std::string_view text, std::string_view name) {
  for (std::size_t at = FindLine(text, name); at != npos; at = FindLine(text, name, at + 1))
    if (at + name.size() < text.size() && text[at + name.size()] == '=') return at;
  return npos;
}

class GensFormat final : public FileEmulator {
public:
  GensFormat() : FileEmulator("gens", "Gens", 2, "gens.cfg") {}

  std::span<const BindingSlot> Slots(int) const override { return kSlots; }

  // Axis directions 1 to 4, buttons 0x10 + 0 to 31.
  bool Fits(BindingSlot, std::int64_t code) const override {
    return IsKeyCode(code) || JoystickNumbering{0x1000, 256, 1, 4, 0x10, 0x2F}.Holds(code);
  }

  // The Genesis names; the value texts become the codes in decimal.
  void RefreshNames(ControllerConfig& config) const override {
    for (BindingSlot slot : kSlots) {
      config.ValueText(slot) = std::to_string(config.Code(slot));
      config.DisplayName(slot) = KeyDisplayName(config.Code(slot));
    }
  }

  bool Read(std::string_view text, int player, ControllerConfig& config) const override {
    if (player != 1 && player != 2) return false;
    std::array<std::string_view, kSlots.size()> values;
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
      const std::string name = KeyName(player, kSlots[i]);
      const std::size_t at = FindKey(text, name);
      if (at == npos) return false;
      values[i] = LineValue(text, at + name.size() + 1);  // one past the key name: after "="
    }
    // The texts as they stand, so that an unchanged binding is written back unchanged.
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
      config.ValueText(kSlots[i]) = std::string(values[i]);
      config.Code(kSlots[i]) = ReadDecimal(values[i]);
      config.DisplayName(kSlots[i]) = KeyDisplayName(config.Code(kSlots[i]));
    }
    return true;
  }

  // The player's block, from the first "Pn.Up" to the end of the first "Pn.C" line, rewritten
  // from the value texts.
  std::optional<std::string> Write(std::string_view text, int player,
                                   const ControllerConfig& config) const override {
    if (player != 1 && player != 2) return std::nullopt;
    // The block is replaced whole, so it must be the eight key lines in order, each the one the
    // reader takes: any other line in it would be lost, and a key read elsewhere would not change.
    const std::size_t up = FindKey(text, KeyName(player, kSlots.front()));
    std::size_t line = up;
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
      if (line == npos || line != FindKey(text, KeyName(player, kSlots[i]))) return std::nullopt;
      if (i + 1 < kSlots.size()) {
        const std::size_t lf = text.find('\n', line);
        line = lf == npos ? npos : lf + 1;
      }
    }
    // The tail begins with the C line's own line end, so the file keeps its line-end style.
    const std::size_t tail = LineContentEnd(text, line);
    const bool bare = tail < text.size() ? text[tail] == '\n'
                                         : Find(text, "\r\n") == npos && Find(text, "\n") != npos;
    const std::string_view eol = bare ? "\n" : "\r\n";

    std::string out(text.substr(0, up));
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
      out += KeyName(player, kSlots[i]);
      out += '=';
      out += config.ValueText(kSlots[i]);
      if (i + 1 < kSlots.size()) out += eol;
    }
    out += text.substr(tail);
    return out;
  }
};

}  // namespace

const FileEmulator& Gens() {
  static const GensFormat kFormat;
  return kFormat;
}

}  // namespace vt
