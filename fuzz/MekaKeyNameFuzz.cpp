// MEKA's key and joystick texts: any text reads as a code without leaving it, and names and
// codes settle after one round (MEKA writes some keys under another key's name: the keypad's 7
// is "7", which reads as the main row's 7).
#include <string>

#include "fuzz/FuzzCheck.h"
#include "input/KeyNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::int32_t key = vt::MekaKeyCode(text);
  FUZZ_CHECK(key >= 0 && key <= 255);
  if (key != 0) {
    // The keypad's + is written "+", which MEKA reads as no key: a round may end at none.
    const std::int32_t settled = vt::MekaKeyCode(vt::MekaKeyName(key));
    FUZZ_CHECK(settled == 0 || vt::MekaKeyCode(vt::MekaKeyName(settled)) == settled);
  }
  const std::int32_t joy = vt::MekaJoyCode(text);
  if (joy != 0) {
    const std::int32_t settled = vt::MekaJoyCode(vt::MekaKeyName(joy));
    FUZZ_CHECK(vt::MekaJoyCode(vt::MekaKeyName(settled)) == settled);
  }
  return 0;
}
