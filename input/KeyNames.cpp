#include "input/KeyNames.h"

#include <array>
#include <cstdio>

#include "text/Decimal.h"

namespace vt {
namespace {

struct KeyName {
  const char* display;  // null: the scan code has no name
  const char* meka;
  const char* mekaParse;
};

using KeyTable = std::array<KeyName, 256>;

constexpr KeyTable MakeKeyTable() {
  KeyTable t{};
  struct Same {
    int code;
    const char* name;
  };
  constexpr Same same[] = {
      {0x02, "1"},         {0x03, "2"},       {0x04, "3"},    {0x05, "4"},     {0x06, "5"},
      {0x07, "6"},         {0x08, "7"},       {0x09, "8"},    {0x0A, "9"},     {0x0B, "0"},
      {0x0C, "-"},         {0x0D, "="},       {0x0F, "Tab"},  {0x10, "Q"},     {0x11, "W"},
      {0x12, "E"},         {0x13, "R"},       {0x14, "T"},    {0x15, "Y"},     {0x16, "U"},
      {0x17, "I"},         {0x18, "O"},       {0x19, "P"},    {0x1A, "["},     {0x1B, "]"},
      {0x1C, "Enter"},     {0x1E, "A"},       {0x1F, "S"},    {0x20, "D"},     {0x21, "F"},
      {0x22, "G"},         {0x23, "H"},       {0x24, "J"},    {0x25, "K"},     {0x26, "L"},
      {0x27, ";"},         {0x28, "'"},       {0x29, "`"},    {0x2C, "Z"},     {0x2D, "X"},
      {0x2E, "C"},         {0x2F, "V"},       {0x30, "B"},    {0x31, "N"},     {0x32, "M"},
      {0x33, ","},         {0x34, "."},       {0x35, "/"},    {0x39, "Space"}, {0x3A, "Caps"},
      {0x3B, "F1"},        {0x3C, "F2"},      {0x3D, "F3"},   {0x3E, "F4"},    {0x3F, "F5"},
      {0x40, "F6"},        {0x41, "F7"},      {0x42, "F8"},   {0x43, "F9"},    {0x44, "F10"},
      {0x45, "Num Lock"},  {0x57, "F11"},     {0x58, "F12"},  {0xB5, "/"},     {0xC7, "Home"},
      {0xC8, "Up"},        {0xC9, "Page Up"}, {0xCB, "Left"}, {0xCD, "Right"}, {0xD0, "Down"},
      {0xD1, "Page Down"}, {0xD2, "Insert"},  {0xD3, "Del"},
  };
  for (const Same& s : same) t[s.code] = {s.name, s.name, s.name};
  t[0x0E] = {"Back Space", "Backspace", "Backspace"};
  t[0x1D] = {"L Ctrl", "Left Ctrl", "Left Ctrl"};
  t[0x2A] = {"L Shift", "Left Shift", "Left Shift"};
  t[0x36] = {"R Shift", "Right Shift", "Right Shift"};
  t[0x38] = {"L Alt", "Left Alt", "Left Alt"};
  t[0x47] = {"7", "7", "7 (Pad)"};
  t[0x48] = {"8", "8", "8 (Pad)"};
  t[0x49] = {"9", "9", "9 (Pad)"};
  t[0x4B] = {"4", "4", "4 (Pad)"};
  t[0x4C] = {"5", "5", "5 (Pad)"};
  t[0x4D] = {"6", "6", "6 (Pad)"};
  t[0x4E] = {"+", "+", "Plus (Pad)"};
  t[0x4F] = {"1", "1", "1 (Pad)"};
  t[0x50] = {"2", "2", "2 (Pad)"};
  t[0x51] = {"3", "3", "3 (Pad)"};
  t[0x9C] = {"Enter", "Enter", "Enter (Pad)"};
  t[0x9D] = {"R Ctrl", "Right Ctrl", "Right Ctrl"};
  t[0xB8] = {"R Alt", "Right Alt", "Right Alt"};
  return t;
}

constexpr KeyTable kKeys = MakeKeyTable();

std::string Format(const char* format, unsigned a, unsigned b = 0) {
  char buf[48];
  std::snprintf(buf, sizeof buf, format, a, b);
  return buf;
}

const KeyName* Lookup(std::int32_t code) {
  if (code < 0 || code > 255 || kKeys[code].display == nullptr) return nullptr;
  return &kKeys[code];
}

// The decimal number that follows `word` in `text`, if the word is there.
bool NumberAfter(std::string_view text, std::string_view word, std::size_t from,
                 std::int64_t& value, std::size_t& end) {
  std::size_t at = text.find(word, from);
  if (at == std::string_view::npos) return false;
  end = at + word.size();
  value = ReadDecimal(text.substr(end));
  return true;
}

std::int32_t Clamp(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

}  // namespace

std::string KeyDisplayName(std::int32_t code) {
  if (code >= 256) return Format("J%x", static_cast<unsigned>(code - 256));
  if (const KeyName* k = Lookup(code)) return k->display;
  return Format("%x", static_cast<unsigned>(code));
}

std::string MekaKeyName(std::int32_t code) {
  if (code >= 256 && code <= 271) {
    return Format("joy stick 0 axis %u dir %u", static_cast<unsigned>((code - 256) / 2),
                  code % 2 == 0 ? 1u : 0u);
  }
  if (code >= 272) return Format("joy_button %u", static_cast<unsigned>(code - 272));
  if (const KeyName* k = Lookup(code)) return k->meka;
  return Format("%x", static_cast<unsigned>(code));
}

bool MekaNamesKey(std::int32_t code) { return Lookup(code) != nullptr; }

std::int32_t MekaKeyCode(std::string_view text) {
  for (int code = 0; code < 256; ++code) {
    if (kKeys[code].mekaParse != nullptr && text == kKeys[code].mekaParse) return code;
  }
  return 0;
}

std::int32_t MekaJoyCode(std::string_view text) {
  std::int64_t n = 0;
  std::size_t end = 0;
  if (NumberAfter(text, "joy_button", 0, n, end)) return Clamp(272 + n);
  std::int64_t axis = 0, dir = 0;
  if (!NumberAfter(text, "axis ", 0, axis, end) || !NumberAfter(text, "dir ", end, dir, end))
    return 0;
  return Clamp(256 + 2 * axis + (dir == 0 ? 1 : 0));
}

std::string NesterBindingName(NesterBinding binding) {
  switch (binding.DeviceType) {
    case kNesterKeyboard:
      return KeyDisplayName(static_cast<std::int32_t>(binding.Key));
    case kNesterJoystickButton:
      return Format("J%x", binding.JOffset);
    case kNesterJoystickAxis:
      return Format("J%x", binding.JOffset + binding.JAxisPositive);
    default:
      return "Unknown";
  }
}

}  // namespace vt
