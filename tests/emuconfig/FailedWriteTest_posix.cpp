// A write that fails half-way (here: the file-size limit, as a full disk would) must leave the old
// configuration exactly as it was and no temporary file behind.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include "emuconfig/GensConfig.h"
#include "emuconfig/GestConfig.h"
#include "emuconfig/MekaConfig.h"
#include "emuconfig/ZsnesConfig.h"
#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }

private:
  rlimit saved_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST(FailedWrite, EveryWriterKeepsTheOldFile) {
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
  for (int i = 0; i < 4; ++i) before[i] = f.Get(files[i]);
  {
    FileSizeLimit limit(200);
    EXPECT_FALSE(SaveGensConfig(f.config, 1));
    EXPECT_FALSE(SaveMekaConfig(f.config, 1));
    EXPECT_FALSE(SaveZsnesConfig(f.config, 1));
    EXPECT_FALSE(SaveGestConfig(f.config));
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.Get(files[i]), before[i]) << files[i];
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(f.dir.path())) {
    (void)entry;
    ++count;
  }
  EXPECT_EQ(count, 4u);
  // Without the limit the same saves go through.
  EXPECT_TRUE(SaveGensConfig(f.config, 1));
  EXPECT_NE(f.Get("gens.cfg"), before[0]);
}

}  // namespace
}  // namespace vt
