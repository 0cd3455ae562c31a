#include "emuconfig/GensConfig.h"

#include <array>

#include "emuconfig/ConfigFile.h"
#include "emuconfig/ConfigText.h"
#include "text/Decimal.h"
#include "input/KeyNames.h"

namespace vt {
namespace {

using namespace configtext;

struct GensKey {
  const char* name;
  BindingSlot slot;
  int valueText;
};

// File order; the writer relies on it.
constexpr std::array<GensKey, 8> kKeys = {{{"Up", SlotUp, 0},
                                           {"Down", SlotDown, 1},
                                           {"Left", SlotLeft, 2},
                                           {"Right", SlotRight, 3},
                                           {"Start", SlotStart, 5},
                                           {"A", SlotA, 7},
                                           {"B", SlotB, 8},
                                           {"C", SlotC, 9}}};

std::string KeyName(int player, const GensKey& key) {
  std::string name = "P";
  name += static_cast<char>('0' + player);  // player is 1 or 2
  name += '.';
  name += key.name;
  return name;
}

// A key where it stands as a key: at the start of a line and followed by its "=", so that "P1.C"
// is neither found inside another line nor in "P1.Config", and a value always starts after "=".
std::size_t FindKey(std::string_view text, std::string_view name) {
  for (std::size_t at = FindLine(text, name); at != npos; at = FindLine(text, name, at + 1))
    if (at + name.size() < text.size() && text[at + name.size()] == '=') return at;
  return npos;
}

}  // namespace

bool ReadGensBindings(std::string_view text, int player, ControllerConfig& config) {
  if (player != 1 && player != 2) return false;
  std::array<std::string_view, 8> values;
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    std::string name = KeyName(player, kKeys[i]);
    std::size_t at = FindKey(text, name);
    // The value starts one past the key name, after the "=".
    if (at == npos) return false;
    values[i] = LineValue(text, at + name.size() + 1);
  }
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    config.valueTexts[kKeys[i].valueText] = std::string(values[i]);
    config.Code(kKeys[i].slot) = ReadDecimal(values[i]);
    config.DisplayName(kKeys[i].slot) = KeyDisplayName(config.Code(kKeys[i].slot));
  }
  return true;
}

std::optional<std::string> WriteGensBindings(std::string_view text, int player, const ControllerConfig& config) {
  if (player != 1 && player != 2) return std::nullopt;
  // The block is replaced whole, so it must be the eight key lines in order, each the one the
  // reader takes: any other line in it would be lost, and a key read elsewhere would not change.
  const std::size_t up = FindKey(text, KeyName(player, kKeys.front()));
  std::size_t line = up;
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    if (line == npos || line != FindKey(text, KeyName(player, kKeys[i]))) return std::nullopt;
    if (i + 1 < kKeys.size()) line = text.find('\n', line) == npos ? npos : text.find('\n', line) + 1;
  }
  // The tail begins with the C line's own line end, so the file keeps its line-end style.
  const std::size_t tail = LineContentEnd(text, line);
  std::string_view eol = "\r\n";
  if (tail < text.size() ? text[tail] == '\n' : Find(text, "\r\n") == npos && Find(text, "\n") != npos) eol = "\n";

  std::string out(text.substr(0, up));
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    out += KeyName(player, kKeys[i]);
    out += '=';
    out += config.valueTexts[kKeys[i].valueText];
    if (i + 1 < kKeys.size()) out += eol;
  }
  out += text.substr(tail);
  return out;
}

bool LoadGensConfig(ControllerConfig& config, int player) {
  std::string text;
  return ReadConfigFile(config.gensPath, text) && ReadGensBindings(text, player, config);
}

bool SaveGensConfig(const ControllerConfig& config, int player) {
  return PatchConfigFile(config.gensPath, [&](std::string_view text) { return WriteGensBindings(text, player, config); });
}

}  // namespace vt
