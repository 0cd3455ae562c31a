// MEKA's key and joystick texts: any text reads as a code without leaving it, and a code read
// from a text names a text that reads as the same code again.
#include <string>

#include "fuzz/FuzzCheck.h"
#include "input/KeyNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::int32_t key = vt::MekaKeyCode(text);
  FUZZ_CHECK(key >= 0 && key <= 255);
  if (key != 0) FUZZ_CHECK(vt::MekaKeyCode(vt::MekaKeyName(key)) == key);
  const std::int32_t joy = vt::MekaJoyCode(text);
  if (joy != 0) FUZZ_CHECK(vt::MekaJoyCode(vt::MekaKeyName(joy)) == joy);
  return 0;
}
