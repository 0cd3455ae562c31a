#include "emuconfig/EmulatorLocations.h"

#include <gtest/gtest.h>

#include "input/ControllerConfig.h"
#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

TEST(EmulatorLocations, FolderComesFromVtPathAsStored) {
  test::TempDir dir;
  auto store = OpenFileSettings(dir.File("registry.txt"));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
  EXPECT_EQ(ControllerConfig(LookUpEmulatorFolder(*store)).mekaPath, "\\meka.inp");

  ASSERT_TRUE(store->CreateKey(Hive::Machine, "Software\\Vintara"));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
  ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, std::string("C:\\Games\\Emu\0", 13)));
  EXPECT_EQ(ControllerConfig(LookUpEmulatorFolder(*store)).gensPath, "C:\\Games\\Emu\\gens.cfg");
  // No type check, no terminator needed, a trailing backslash kept.
  ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeNone, "D:\\Emu\\"));
  EXPECT_EQ(ControllerConfig(LookUpEmulatorFolder(*store)).zsnesPath, "D:\\Emu\\\\zsnesw.cfg");
  ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, std::string(255, 'p')));
  EXPECT_EQ(LookUpEmulatorFolder(*store), std::string(255, 'p'));
  // No room for the terminator in the 256-byte buffer: not a folder name.
  ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, std::string(256, 'p')));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
  ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, std::string(257, 'p')));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
  // The user hive is not looked at.
  ASSERT_TRUE(store->CreateKey(Hive::User, "Software\\Vintara"));
  ASSERT_TRUE(store->SetValue(Hive::User, "Software\\Vintara", "VT_PATH", kTypeString, "E:\\x"));
  EXPECT_EQ(LookUpEmulatorFolder(*store), "");
}

}  // namespace
}  // namespace vt
