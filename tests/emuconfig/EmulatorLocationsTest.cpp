#include "emuconfig/EmulatorLocations.h"

#include <gtest/gtest.h>

#include "tests/support/EmulatorFolder.h"

namespace vt {
namespace {

TEST(EmulatorLocations, FolderComesFromVtPathAsStored) {
  test::TempDir dir;
  auto store = OpenFileSettings(dir.File("registry.txt"));
  const std::string key = "Software\\Vintara";
  auto folder = [&](std::uint32_t type, const std::string& value) {
    EXPECT_TRUE(store->SetValue(Hive::Machine, key, "VT_PATH", type, value));
    return LookUpEmulatorFolder(*store);
  };
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
  ASSERT_TRUE(store->CreateKey(Hive::Machine, key));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
  const std::string emu = folder(kTypeString, std::string("C:\\Games\\Emu\0", 13));
  EXPECT_EQ(Gens().Location(emu, 2), "C:\\Games\\Emu\\gens.cfg");
  // No type check, no terminator needed, a trailing backslash kept.
  EXPECT_EQ(Zsnes().Location(folder(kTypeNone, "D:\\Emu\\"), 1), "D:\\Emu\\\\zsnesw.cfg");
  EXPECT_EQ(folder(kTypeString, std::string(255, 'p')), std::string(255, 'p'));
  // No room for the terminator in the 256-byte buffer: not a folder name.
  EXPECT_EQ(folder(kTypeString, std::string(256, 'p')), "");
  // The user hive is not looked at.
  ASSERT_TRUE(store->CreateKey(Hive::User, key));
  ASSERT_TRUE(store->SetValue(Hive::User, key, "VT_PATH", kTypeString, "E:\\x"));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
}

}  // namespace
}  // namespace vt
