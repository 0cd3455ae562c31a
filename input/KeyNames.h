// Names of binding codes in the three dialects: the set-up windows' display names, MEKA's written
// names and MEKA's parsing names (which name the keypad keys apart). Pure functions over one table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "input/NesterBinding.h"

namespace vt {

std::string KeyDisplayName(std::int32_t code);
std::string MekaKeyName(std::int32_t code);
// Whether MEKA's file can name the key: any other is written as its code in hexadecimal, which
// MEKA reads as another key or none.
bool MekaNamesKey(std::int32_t code);
// Exact, case-sensitive; the lowest scan code wins, so "/" is 0x35 and "Enter" 0x1C.
// 0: no key has that name.
std::int32_t MekaKeyCode(std::string_view text);
// A text that names neither a joystick button nor an axis direction gives 0.
std::int32_t MekaJoyCode(std::string_view text);
std::string NesterBindingName(NesterBinding binding);

}  // namespace vt
