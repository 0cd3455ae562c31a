#include "input/ControllerConfig.h"

#include <gtest/gtest.h>

#include <set>

namespace vt {
namespace {

TEST(BindingSlot, NamesAndDisplayEntriesFormAOneToOneTable) {
  std::set<int> entries;
  for (int i = 0; i < kBindingSlotCount; ++i) {
    auto slot = static_cast<BindingSlot>(i);
    entries.insert(DisplayEntry(slot));
    if (i == 14) {
      EXPECT_TRUE(BindingSlotName(slot).empty());
      continue;
    }
    auto found = FindBindingSlot(BindingSlotName(slot));
    ASSERT_TRUE(found.has_value()) << i;
    EXPECT_EQ(*found, slot);
  }
  EXPECT_EQ(entries.size(), 32u);
  EXPECT_EQ(DisplayEntry(SlotJoyUp), 25);
  EXPECT_EQ(DisplayEntry(SlotJoySelect), 19);
  EXPECT_EQ(DisplayEntry(SlotJoyPause), 31);
  EXPECT_EQ(DisplayEntry(SlotJoyButton2), 30);
  EXPECT_FALSE(FindBindingSlot("").has_value());
  EXPECT_FALSE(FindBindingSlot("slotup").has_value());
  EXPECT_FALSE(FindBindingSlot("SlotUp ").has_value());
  EXPECT_EQ(DisplayEntry(static_cast<BindingSlot>(99)), 14);
  EXPECT_TRUE(BindingSlotName(static_cast<BindingSlot>(-1)).empty());
}

TEST(NesterBindingRecord, EncodesAs32LittleEndianBytesAndBack) {
  NesterBinding b{};
  for (int i = 0; i < 16; ++i) b.DeviceGUID[i] = static_cast<std::uint8_t>(0xA0 + i);
  b.DeviceType = 3;
  b.JAxisPositive = 1;
  b.JOffset = 0x01020304;
  b.Key = 0x2D;
  std::string bytes = EncodeNesterBinding(b);
  ASSERT_EQ(bytes.size(), 32u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xA0);
  EXPECT_EQ(bytes.substr(16, 4), std::string("\x03\0\0\0", 4));
  EXPECT_EQ(bytes.substr(20, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(bytes.substr(24, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(bytes.substr(28, 4), std::string("\x2D\0\0\0", 4));
  EXPECT_EQ(DecodeNesterBinding(bytes), b);
  EXPECT_FALSE(DecodeNesterBinding(bytes.substr(0, 31)).has_value());
  EXPECT_FALSE(DecodeNesterBinding(bytes + "x").has_value());
  EXPECT_FALSE(DecodeNesterBinding("").has_value());
}

TEST(ControllerConfigModel, StartsEmptyWithPathsBesideTheFolder) {
  ControllerConfig none;
  EXPECT_EQ(none.mekaPath, "\\meka.inp");
  EXPECT_EQ(none.zsnesPath, "\\zsnesw.cfg");
  EXPECT_TRUE(none.systemAlias.empty());
  for (std::int32_t c : none.bindingCodes) EXPECT_EQ(c, 0);
  for (const auto& n : none.displayNames) EXPECT_TRUE(n.empty());
  for (const auto& r : none.nesRecords) EXPECT_EQ(r, NesterBinding{});

  ControllerConfig games("C:\\Games\\Emu");
  EXPECT_EQ(games.gensPath, "C:\\Games\\Emu\\gens.cfg");
  EXPECT_EQ(games.gestPath, "C:\\Games\\Emu\\gest.cfg");
  ControllerConfig trailing("C:\\Games\\Emu\\");
  EXPECT_EQ(trailing.mekaPath, "C:\\Games\\Emu\\\\meka.inp");
}

TEST(ControllerConfigModel, SnesRefreshNamesTwelveSlotsAndBuildsTheScanKeyList) {
  ControllerConfig c;
  const std::pair<BindingSlot, int> codes[] = {{SlotRight, 205}, {SlotLeft, 203}, {SlotDown, 208},
                                               {SlotUp, 200},    {SlotStart, 28}, {SlotSelect, 54},
                                               {SlotB, 45},      {SlotY, 44},     {SlotA, 274},
                                               {SlotX, 30},      {SlotL, 16},     {SlotR, 18}};
  for (auto [slot, code] : codes) c.Code(slot) = code;
  c.Code(SlotC) = 0x2D;  // not a SNES slot: must keep its empty name
  c.RefreshSnesNames();
  EXPECT_EQ(c.scanKeyList, "205, 203, 208, 200, 28, 54, 45, 44, 274, 30, 16, 18");
  EXPECT_EQ(c.DisplayName(SlotSelect), "R Shift");
  EXPECT_EQ(c.DisplayName(SlotA), "J12");
  EXPECT_EQ(c.DisplayName(SlotR), "E");
  EXPECT_TRUE(c.DisplayName(SlotC).empty());
}

TEST(ControllerConfigModel, GenesisRefreshRewritesValueTextsOfItsEightSlots) {
  ControllerConfig c;
  c.valueTexts[4] = "keep";
  c.Code(SlotUp) = 4097;
  c.Code(SlotStart) = 28;
  c.Code(SlotC) = 32;
  c.RefreshGenesisNames();
  EXPECT_EQ(c.valueTexts[0], "4097");
  EXPECT_EQ(c.valueTexts[1], "0");
  EXPECT_EQ(c.valueTexts[5], "28");
  EXPECT_EQ(c.valueTexts[9], "32");
  EXPECT_EQ(c.valueTexts[4], "keep");
  EXPECT_EQ(c.DisplayName(SlotUp), "Jf01");
  EXPECT_EQ(c.DisplayName(SlotStart), "Enter");
  EXPECT_EQ(c.DisplayName(SlotC), "D");
  EXPECT_TRUE(c.DisplayName(SlotSelect).empty());
}

TEST(ControllerConfigModel, GameBoyJoystickSlotsShowTheirButtonNumber) {
  ControllerConfig c;
  c.Code(SlotUp) = 0xC8;
  c.Code(SlotAutoB) = 0x2C;
  c.Code(SlotJoyA) = 2;
  c.Code(SlotJoyAutoB) = 31;
  c.Code(SlotJoyStart) = INT32_MAX;  // a hostile stored value must not overflow
  c.RefreshGameBoyNames();
  EXPECT_EQ(c.DisplayName(SlotUp), "Up");
  EXPECT_EQ(c.DisplayName(SlotAutoB), "Z");
  EXPECT_EQ(c.DisplayName(SlotJoyA), "J2");
  EXPECT_EQ(c.DisplayName(SlotJoyAutoB), "J1f");
  EXPECT_EQ(c.DisplayName(SlotJoySelect), "J0");
  EXPECT_EQ(c.displayNames[21], "J2");
}

TEST(ControllerConfigModel, NesAndMasterSystemRefreshes) {
  ControllerConfig c;
  c.nesRecords[5] = NesterKeyboardBinding(0x1F);
  c.nesRecords[7].DeviceType = kNesterJoystickButton;
  c.nesRecords[7].JOffset = 53;
  c.RefreshNesNames();
  EXPECT_EQ(c.DisplayName(SlotStart), "S");
  EXPECT_EQ(c.DisplayName(SlotB), "J35");
  EXPECT_EQ(c.DisplayName(SlotUp), "Unknown");

  ControllerConfig m;
  m.Code(SlotUp) = 0x1D;
  m.Code(SlotPause) = 0x47;
  m.Code(SlotJoyUp) = 259;
  m.Code(SlotJoyPause) = 281;
  m.RefreshMasterSystemNames();
  EXPECT_EQ(m.DisplayName(SlotUp), "Left Ctrl");
  EXPECT_EQ(m.DisplayName(SlotPause), "7");
  EXPECT_EQ(m.displayNames[25], "joy stick 0 axis 1 dir 0");
  EXPECT_EQ(m.displayNames[31], "joy_button 9");
  EXPECT_EQ(m.DisplayName(SlotJoyDown), "0");
}

}  // namespace
}  // namespace vt
