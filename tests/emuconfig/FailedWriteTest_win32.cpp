// A write that cannot complete must leave the old configuration exactly as it was. Here the
// temporary file beside the target cannot be created, because a folder of that name is in the way.
#include <gtest/gtest.h>

#include <filesystem>

#include "emuconfig/GensConfig.h"
#include "emuconfig/GestConfig.h"
#include "emuconfig/MekaConfig.h"
#include "emuconfig/ZsnesConfig.h"
#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

TEST(FailedWrite, EveryWriterKeepsTheOldFileWhenItsTemporaryFileCannotBeMade) {
  test::EmulatorFolder f;
  f.PutFixture("gens.cfg");
  f.PutFixture("meka.inp");
  f.PutFixture("zsnesw.cfg");
  f.Put("gest.cfg", test::GestFile(120, 600));
  ASSERT_TRUE(LoadGensConfig(f.config, 1));
  ASSERT_TRUE(LoadMekaConfig(f.config, 1));
  ASSERT_TRUE(LoadZsnesConfig(f.config, 1));
  ASSERT_TRUE(LoadGestConfig(f.config));
  f.config.Code(SlotUp) = 0x11;
  f.config.RefreshGenesisNames();
  f.config.RefreshMasterSystemNames();
  f.config.RefreshSnesNames();
  const char* files[] = {"gens.cfg", "meka.inp", "zsnesw.cfg", "gest.cfg"};
  std::string before[4];
  for (int i = 0; i < 4; ++i) {
    before[i] = f.Get(files[i]);
    std::filesystem::create_directory(f.Path(std::string(files[i]) + ".tmp"));
  }
  EXPECT_FALSE(SaveGensConfig(f.config, 1));
  EXPECT_FALSE(SaveMekaConfig(f.config, 1));
  EXPECT_FALSE(SaveZsnesConfig(f.config, 1));
  EXPECT_FALSE(SaveGestConfig(f.config));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.Get(files[i]), before[i]) << files[i];

  // With the way clear the same saves go through.
  for (const char* name : files) std::filesystem::remove(f.Path(std::string(name) + ".tmp"));
  EXPECT_TRUE(SaveGensConfig(f.config, 1));
  EXPECT_NE(f.Get("gens.cfg"), before[0]);
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(f.dir.path()))
    count += entry.path().extension() != ".vintara-original";
  EXPECT_EQ(count, 4u);  // no temporary file left behind (the kept originals aside)
}

}  // namespace
}  // namespace vt
