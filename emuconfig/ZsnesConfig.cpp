#include "emuconfig/ZsnesConfig.h"

#include <array>

#include "emuconfig/ConfigFile.h"
#include "emuconfig/ConfigText.h"
#include "text/Decimal.h"

namespace vt {
namespace {

using namespace configtext;

struct Element {
  BindingSlot slot;
  int valueText;
};

constexpr std::array<Element, 12> kElements = {{{SlotRight, 3},
                                                {SlotLeft, 2},
                                                {SlotDown, 1},
                                                {SlotUp, 0},
                                                {SlotStart, 5},
                                                {SlotSelect, 4},
                                                {SlotB, 8},
                                                {SlotY, 11},
                                                {SlotA, 7},
                                                {SlotX, 10},
                                                {SlotL, 13},
                                                {SlotR, 14}}};

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

}  // namespace

bool ReadZsnesBindings(std::string_view text, int player, ControllerConfig& config) {
  std::size_t start = ValueStart(text, player);
  if (start == npos) return false;
  std::string_view value = LineValue(text, start);
  std::array<std::string_view, 12> elements;
  std::size_t pos = 0;
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    std::size_t comma = value.find(',', pos);
    if (comma == npos) return false;
    elements[i] = value.substr(pos, comma - pos);
    pos = comma + 1;
    while (pos < value.size() && IsBlank(value[pos])) ++pos;
  }
  elements.back() = value.substr(pos);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    config.valueTexts[kElements[i].valueText] = std::string(elements[i]);
    config.Code(kElements[i].slot) = ReadDecimal(elements[i]);
  }
  config.RefreshSnesNames();
  return true;
}

std::optional<std::string> WriteZsnesBindings(std::string_view text, int player, const ControllerConfig& config) {
  std::size_t start = ValueStart(text, player);
  if (start == npos) return std::nullopt;
  std::string out(text.substr(0, start));
  out += config.scanKeyList;
  out += text.substr(LineContentEnd(text, start));
  return out;
}

bool LoadZsnesConfig(ControllerConfig& config, int player) {
  std::string text;
  return ReadConfigFile(config.zsnesPath, text) && ReadZsnesBindings(text, player, config);
}

bool SaveZsnesConfig(const ControllerConfig& config, int player) {
  return PatchConfigFile(config.zsnesPath, [&](std::string_view text) { return WriteZsnesBindings(text, player, config); });
}

}  // namespace vt
