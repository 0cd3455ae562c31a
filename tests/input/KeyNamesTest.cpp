#include "input/KeyNames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>


namespace vt {
namespace {

TEST(KeyNames, DisplayNamesOfKeysAndJoystickCodes) {
  EXPECT_EQ(KeyDisplayName(0x1C), "Enter");
  EXPECT_EQ(KeyDisplayName(0x9C), "Enter");
  EXPECT_EQ(KeyDisplayName(0x1D), "L Ctrl");
  EXPECT_EQ(KeyDisplayName(0x0E), "Back Space");
  EXPECT_EQ(KeyDisplayName(0xB8), "R Alt");
  EXPECT_EQ(KeyDisplayName(0x47), "7");
  EXPECT_EQ(KeyDisplayName(0xD3), "Del");
  EXPECT_EQ(KeyDisplayName(0x2B), "2b");
  EXPECT_EQ(KeyDisplayName(0x01), "1");
  EXPECT_EQ(KeyDisplayName(0), "0");
  EXPECT_EQ(KeyDisplayName(256), "J0");
  EXPECT_EQ(KeyDisplayName(272), "J10");
  EXPECT_EQ(KeyDisplayName(0x1001), "Jf01");
  EXPECT_EQ(KeyDisplayName(-1), "ffffffff");
  EXPECT_EQ(KeyDisplayName(INT32_MAX), "J7ffffeff");
}

TEST(KeyNames, TableNamesExactly91ScanCodes) {
  int named = 0, differing = 0;
  for (int code = 0; code < 256; ++code) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", code);
    // Hex texts are lower case and no name equals its own code's hex text.
    if (KeyDisplayName(code) == hex) continue;
    ++named;
    if (KeyDisplayName(code) != MekaKeyName(code) || MekaKeyCode(MekaKeyName(code)) != code) ++differing;
  }
  EXPECT_EQ(named, 91);
  // The 18 that differ, plus 0xB5 "/" which parses as 0x35.
  EXPECT_EQ(differing, 19);
  for (int code : {0x00, 0x01, 0x2B, 0x37, 0x46, 0x4A, 0x52, 0x53}) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", code);
    EXPECT_EQ(MekaKeyName(code), hex) << code;
  }
}

TEST(KeyNames, MekaNamesOfKeysAxesAndButtons) {
  EXPECT_EQ(MekaKeyName(0x1D), "Left Ctrl");
  EXPECT_EQ(MekaKeyName(0x0E), "Backspace");
  EXPECT_EQ(MekaKeyName(0x47), "7");
  EXPECT_EQ(MekaKeyName(0x9D), "Right Ctrl");
  EXPECT_EQ(MekaKeyName(0x2B), "2b");
  EXPECT_EQ(MekaKeyName(256), "joy stick 0 axis 0 dir 1");
  EXPECT_EQ(MekaKeyName(259), "joy stick 0 axis 1 dir 0");
  EXPECT_EQ(MekaKeyName(271), "joy stick 0 axis 7 dir 0");
  EXPECT_EQ(MekaKeyName(272), "joy_button 0");
  EXPECT_EQ(MekaKeyName(287), "joy_button 15");
}

TEST(KeyNames, MekaKeyCodeSearchesAscendingAndCaseSensitively) {
  EXPECT_EQ(MekaKeyCode("/"), 0x35);
  EXPECT_EQ(MekaKeyCode("Enter"), 0x1C);
  EXPECT_EQ(MekaKeyCode("Enter (Pad)"), 0x9C);
  EXPECT_EQ(MekaKeyCode("7"), 0x08);
  EXPECT_EQ(MekaKeyCode("7 (Pad)"), 0x47);
  EXPECT_EQ(MekaKeyCode("Plus (Pad)"), 0x4E);
  EXPECT_EQ(MekaKeyCode("Left Ctrl"), 0x1D);
  EXPECT_EQ(MekaKeyCode("left ctrl"), 0);
  EXPECT_EQ(MekaKeyCode("L Ctrl"), 0);
  EXPECT_EQ(MekaKeyCode("Up"), 0xC8);
  EXPECT_EQ(MekaKeyCode("2b"), 0);
  EXPECT_EQ(MekaKeyCode(""), 0);
  EXPECT_EQ(MekaKeyCode(std::string_view("Up\0", 3)), 0);
  // 0xB5 is never returned: its name is also 0x35's.
  std::set<int> reached;
  for (int code = 0; code < 256; ++code) reached.insert(MekaKeyCode(MekaKeyName(code)));
  EXPECT_EQ(reached.count(0xB5), 0u);
  EXPECT_EQ(reached.count(0x35), 1u);
}

TEST(KeyNames, MekaJoyCodeInvertsMekaKeyNameForEveryJoystickCode) {
  for (int code = 256; code <= 287; ++code) EXPECT_EQ(MekaJoyCode(MekaKeyName(code)), code) << code;
  EXPECT_EQ(MekaJoyCode("joy_button 12"), 284);
  EXPECT_EQ(MekaJoyCode("joy stick 0 axis 1 dir 0"), 259);
  EXPECT_EQ(MekaJoyCode("joy stick 0 axis 0 dir 1"), 256);
}

TEST(KeyNames, MekaJoyCodeOfForeignTextsStaysInRange) {
  EXPECT_EQ(MekaJoyCode(""), 0);
  EXPECT_EQ(MekaJoyCode("key Up"), 0);
  EXPECT_EQ(MekaJoyCode("joy stick 0 axis 3"), 0);  // no "dir "
  EXPECT_EQ(MekaJoyCode("dir 1 axis 2"), 0);        // "dir " only before "axis "
  EXPECT_EQ(MekaJoyCode("joy_button"), 272);
  EXPECT_EQ(MekaJoyCode("joy_button 99999999999999999999"), INT32_MAX);
  EXPECT_EQ(MekaJoyCode("joy_button -99999999999999999999"), INT32_MIN + 272);
  EXPECT_EQ(MekaJoyCode("axis 99999999999 dir 0"), INT32_MAX);
  EXPECT_EQ(MekaJoyCode("axis -99999999999 dir 0"), INT32_MIN);
}

TEST(KeyNames, NesterRecordNames) {
  NesterBinding keyboard = NesterKeyboardBinding(0x2D);
  EXPECT_EQ(NesterBindingName(keyboard), "X");
  NesterBinding button{};
  button.DeviceType = kNesterJoystickButton;
  button.JOffset = 48;
  EXPECT_EQ(NesterBindingName(button), "J30");
  button.JOffset = 53;
  EXPECT_EQ(NesterBindingName(button), "J35");
  NesterBinding axis{};
  axis.DeviceType = kNesterJoystickAxis;
  axis.JOffset = 0;
  axis.JAxisPositive = 1;
  EXPECT_EQ(NesterBindingName(axis), "J1");
  axis.JOffset = 4;
  axis.JAxisPositive = 0;
  EXPECT_EQ(NesterBindingName(axis), "J4");
  NesterBinding none{};
  EXPECT_EQ(NesterBindingName(none), "Unknown");
  none.DeviceType = 7;
  EXPECT_EQ(NesterBindingName(none), "Unknown");
}

}  // namespace
}  // namespace vt
