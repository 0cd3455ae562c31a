// A write that fails half-way (here: the file-size limit, as a full disk would) must leave the old
// configuration exactly as it was and no temporary file behind; one killed half-way leaves the
// old or the new file, never a mixture.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <random>
#include <vector>

#include "emuconfig/GensConfig.h"
#include "emuconfig/GestConfig.h"
#include "emuconfig/MekaConfig.h"
#include "emuconfig/ZsnesConfig.h"
#include "platform/SettingsStore.h"
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()), {}), 4) << "no temporary file left";
  // Without the limit the same saves go through.
  EXPECT_TRUE(SaveGensConfig(f.config, 1));
  EXPECT_NE(f.Get("gens.cfg"), before[0]);
}

// A process saving in a loop, killed at a random moment, many times over: the file is always
// exactly one of the versions that were saved, and the temporary file a kill may leave is taken
// over by the next save.
template <typename Save>
void KillWhileSaving(test::EmulatorFolder& f, const std::string& name, const std::vector<std::string>& versions,
                     Save save, int rounds) {
  std::mt19937 random(20261207);
  for (int round = 0; round < rounds; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (unsigned i = 0;; ++i) save(i % 2);
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(random));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string now = f.Get(name);
    ASSERT_NE(std::find(versions.begin(), versions.end(), now), versions.end())
        << "round " << round << ": a mixture of " << now.size() << " bytes";
    for (const auto& entry : std::filesystem::directory_iterator(f.dir.path())) {
      const std::string file = entry.path().filename().string();
      // The file, its kept original, and at most the one temporary file of either.
      ASSERT_TRUE(file == name || file == name + ".tmp" || file == name + ".vintara-original" ||
                  file == name + ".vintara-original.tmp")
          << "round " << round << ": " << file;
    }
  }
  // The next saves take over a temporary file a kill left behind (one of the two changes the file).
  save(0);
  save(1);
  EXPECT_TRUE(f.OnlyFileIs(name));
}

TEST(KilledSave, AConfigurationIsAlwaysTheOldOrTheNewBytes) {
  test::EmulatorFolder f;
  f.PutFixture("gens.cfg");
  const std::string original = f.Get("gens.cfg");
  ASSERT_TRUE(LoadGensConfig(f.config, 1));
  std::vector<ControllerConfig> configs(2, f.config);
  configs[0].Code(SlotUp) = 0x10;
  configs[1].Code(SlotUp) = 0x11;
  std::vector<std::string> versions = {original};
  for (ControllerConfig& c : configs) {
    c.RefreshGenesisNames();
    versions.push_back(*WriteGensBindings(original, 1, c));
  }
  KillWhileSaving(f, "gens.cfg", versions, [&](unsigned i) { SaveGensConfig(configs[i], 1); }, 150);
}

TEST(KilledSave, TheSettingsFileIsAlwaysTheOldOrTheNewBytes) {
  test::EmulatorFolder f;
  const std::string path = f.Path("registry.txt");
  auto store = OpenFileSettings(path);
  ASSERT_TRUE(store->CreateKey(Hive::Machine, "Software\\Vintara"));
  ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "SYSTEM", kTypeNone, "NES"));
  std::vector<std::string> versions = {f.Get("registry.txt")};
  const std::string values[] = {std::string(3000, 'a'), std::string(5000, 'b')};
  for (const std::string& v : values) {
    ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "SEARCH", kTypeNone, v));
    versions.push_back(f.Get("registry.txt"));
  }
  KillWhileSaving(f, "registry.txt", versions,
                  [&](unsigned i) { store->SetValue(Hive::Machine, "Software\\Vintara", "SEARCH", kTypeNone, values[i]); },
                  150);
}

}  // namespace
}  // namespace vt
