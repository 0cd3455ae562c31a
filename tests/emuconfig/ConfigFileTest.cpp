// What every emulator's configuration file gets from the one way they are read and replaced: a
// missing file is never created, unchanged bindings save the same bytes, a temporary file left
// behind is taken over, a write that fails half-way keeps the old file, and a save killed at any
// moment leaves the old or the new bytes, never a mixture.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "emuconfig/GensConfig.h"
#include "emuconfig/GestConfig.h"
#include "emuconfig/MekaConfig.h"
#include "emuconfig/ZsnesConfig.h"
#include "tests/emuconfig/EmuconfigTestSupport.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <random>
#include <vector>

#include "platform/SettingsStore.h"
#endif

namespace vt {
namespace {

const struct Format {
  const char* file;
  bool (*load)(ControllerConfig&);
  bool (*save)(const ControllerConfig&);
} kFormats[] = {
    {"gens.cfg", [](ControllerConfig& c) { return LoadGensConfig(c, 2); },
     [](const ControllerConfig& c) { return SaveGensConfig(c, 2); }},
    {"meka.inp", [](ControllerConfig& c) { return LoadMekaConfig(c, 2); },
     [](const ControllerConfig& c) { return SaveMekaConfig(c, 2); }},
    {"zsnesw.cfg", [](ControllerConfig& c) { return LoadZsnesConfig(c, 2); },
     [](const ControllerConfig& c) { return SaveZsnesConfig(c, 2); }},
    {"gest.cfg", LoadGestConfig, SaveGestConfig},
};

#ifdef _WIN32
// The temporary file beside the target cannot be made: a folder of its name is in the way.
struct BlockedWrites {
  explicit BlockedWrites(std::string temp) : temp(std::move(temp)) {
    std::filesystem::create_directory(this->temp);
  }
  ~BlockedWrites() { std::filesystem::remove(temp); }
  std::string temp;
};
#else
// Writes stop at 200 bytes, as on a full disk.
struct BlockedWrites {
  explicit BlockedWrites(const std::string&) : handler(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 200;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~BlockedWrites() {
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
  }
  void (*handler)(int);
  rlimit saved{};
};
#endif

TEST(ConfigFile, EachFormatKeepsItsBytesUnlessAWholeNewFileReplacesThem) {
  for (const Format& f : kFormats) {
    SCOPED_TRACE(f.file);
    const std::string temp = std::string(f.file) + ".tmp";
    test::EmulatorFolder folder;
    EXPECT_FALSE(f.load(folder.config));
    EXPECT_FALSE(f.save(folder.config));
    EXPECT_FALSE(std::filesystem::exists(folder.Path(f.file)));
    // Gest's file grows to its buffer, so the sample is that long already.
    folder.Put(f.file, f.file == std::string("gest.cfg") ? test::GestFile(120, kGestBufferBytes)
                                                         : test::Fixture(f.file));
    const std::string original = folder.Get(f.file);
    ASSERT_TRUE(f.load(folder.config));
    ASSERT_TRUE(f.save(folder.config));
    EXPECT_EQ(folder.Get(f.file), original);
    folder.config.Code(SlotUp) = 0x11;
    folder.config.RefreshGenesisNames();
    folder.config.RefreshMasterSystemNames();
    folder.config.RefreshSnesNames();
    {
      BlockedWrites blocked(folder.Path(temp));
      EXPECT_FALSE(f.save(folder.config));
      EXPECT_EQ(folder.Get(f.file), original);
    }
    folder.Put(temp, "left by a save that was killed");
    EXPECT_TRUE(f.save(folder.config));
    EXPECT_NE(folder.Get(f.file), original);
    EXPECT_TRUE(folder.OnlyFileIs(f.file));
  }
}

#ifndef _WIN32
// A process saving the Gens file and the settings file in a loop, killed at a random moment,
// many times over: each file is always exactly one of the versions that were saved.
TEST(ConfigFile, AKilledSaveLeavesTheOldOrTheNewBytes) {
  test::EmulatorFolder f;
  f.PutFixture("gens.cfg");
  ASSERT_TRUE(LoadGensConfig(f.config, 1));
  auto store = OpenFileSettings(f.Path("registry.txt"));
  ASSERT_TRUE(store->CreateKey(Hive::Machine, "Software\\Vintara"));
  std::vector<ControllerConfig> configs(2, f.config);
  std::vector<std::string> gens = {f.Get("gens.cfg")}, settings = {f.Get("registry.txt")};
  auto save = [&](unsigned i) {
    SaveGensConfig(configs[i], 1);
    store->SetValue(Hive::Machine, "Software\\Vintara", "SEARCH", kTypeNone,
                    std::string(3000 + 2000 * i, 'a'));
  };
  for (unsigned i : {0u, 1u}) {
    configs[i].Code(SlotUp) = 0x10 + static_cast<int>(i);
    configs[i].RefreshGenesisNames();
    save(i);
    gens.push_back(f.Get("gens.cfg"));
    settings.push_back(f.Get("registry.txt"));
  }
  std::mt19937 random(20261207);
  for (int round = 0; round < 150; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
      for (unsigned i = 0;; ++i) save(i % 2);
    usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(random));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_NE(std::find(gens.begin(), gens.end(), f.Get("gens.cfg")), gens.end()) << round;
    ASSERT_NE(std::find(settings.begin(), settings.end(), f.Get("registry.txt")), settings.end())
        << round;
  }
}
#endif

}  // namespace
}  // namespace vt
