// What every emulator's configuration file gets from the one way they are read and replaced: a
// missing file is never created, unchanged bindings save the same bytes with no temporary file
// left, a write that fails half-way keeps the old file, and a save killed at any moment leaves
// the old or the new bytes, never a mixture.
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

// An emulator folder holding every format's sample file.
struct SampleFolder : test::EmulatorFolder {
  SampleFolder() {
    for (const char* name : {"gens.cfg", "meka.inp", "zsnesw.cfg"}) PutFixture(name);
    Put("gest.cfg", test::GestFile(120, kGestBufferBytes));  // a shorter one grows to this
  }
};

TEST(ConfigFile, AMissingFileIsNotMadeAndUnchangedBindingsSaveTheSameBytes) {
  for (const Format& f : kFormats) {
    SCOPED_TRACE(f.file);
    test::EmulatorFolder empty;
    EXPECT_FALSE(f.load(empty.config));
    EXPECT_FALSE(f.save(empty.config));
    EXPECT_FALSE(std::filesystem::exists(empty.Path(f.file)));
    SampleFolder folder;
    const std::string original = folder.Get(f.file);
    ASSERT_TRUE(f.load(folder.config));
    ASSERT_TRUE(f.save(folder.config));
    EXPECT_EQ(folder.Get(f.file), original);
  }
}

#ifdef _WIN32
// The temporary file beside each target cannot be made: a folder of its name is in the way.
struct BlockedWrites {
  explicit BlockedWrites(const test::EmulatorFolder& f) : folder(f) {
    for (const Format& format : kFormats)
      std::filesystem::create_directory(f.Path(std::string(format.file) + ".tmp"));
  }
  ~BlockedWrites() {
    for (const Format& format : kFormats)
      std::filesystem::remove(folder.Path(std::string(format.file) + ".tmp"));
  }
  const test::EmulatorFolder& folder;
};
#else
// Writes stop at 200 bytes, as on a full disk.
struct BlockedWrites {
  explicit BlockedWrites(const test::EmulatorFolder&) {
    getrlimit(RLIMIT_FSIZE, &saved);
    oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 200;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~BlockedWrites() {
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
  }
  rlimit saved{};
  void (*oldHandler)(int) = nullptr;
};
#endif

TEST(ConfigFile, AWriteThatCannotCompleteKeepsTheOldFile) {
  SampleFolder f;
  for (const Format& format : kFormats) ASSERT_TRUE(format.load(f.config)) << format.file;
  f.config.Code(SlotUp) = 0x11;
  f.config.RefreshGenesisNames();
  f.config.RefreshMasterSystemNames();
  f.config.RefreshSnesNames();
  {
    BlockedWrites blocked(f);
    for (const Format& format : kFormats) {
      const std::string before = f.Get(format.file);
      EXPECT_FALSE(format.save(f.config)) << format.file;
      EXPECT_EQ(f.Get(format.file), before) << format.file;
    }
  }
  // With the way clear the same saves go through and leave no temporary file.
  for (const Format& format : kFormats) {
    const std::string before = f.Get(format.file);
    EXPECT_TRUE(format.save(f.config)) << format.file;
    EXPECT_NE(f.Get(format.file), before) << format.file;
  }
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(f.dir.path()))
    count += entry.path().extension() != ".vintara-original";
  EXPECT_EQ(count, 4u);
}

#ifndef _WIN32
// A process saving the Gens file and the settings file in a loop, killed at a random moment,
// many times over: each file is always exactly one of the versions that were saved, and the
// temporary file a kill may leave is taken over by the next save.
TEST(ConfigFile, AKilledSaveLeavesTheOldOrTheNewBytes) {
  test::EmulatorFolder f;
  f.PutFixture("gens.cfg");
  ASSERT_TRUE(LoadGensConfig(f.config, 1));
  auto store = OpenFileSettings(f.Path("registry.txt"));
  const std::string key = "Software\\Vintara";
  ASSERT_TRUE(store->CreateKey(Hive::Machine, key));
  std::vector<ControllerConfig> configs(2, f.config);
  const std::string values[] = {std::string(3000, 'a'), std::string(5000, 'b')};
  std::vector<std::string> gens = {f.Get("gens.cfg")}, settings = {f.Get("registry.txt")};
  auto save = [&](unsigned i) {
    SaveGensConfig(configs[i], 1);
    store->SetValue(Hive::Machine, key, "SEARCH", kTypeNone, values[i]);
  };
  for (unsigned i : {0u, 1u}) {
    configs[i].Code(SlotUp) = 0x10 + static_cast<int>(i);
    configs[i].RefreshGenesisNames();
    save(i);
    gens.push_back(f.Get("gens.cfg"));
    settings.push_back(f.Get("registry.txt"));
  }
  auto isOneOf = [](const std::vector<std::string>& versions, const std::string& now) {
    return std::find(versions.begin(), versions.end(), now) != versions.end();
  };
  std::mt19937 random(20261207);
  for (int round = 0; round < 150; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
      for (unsigned i = 0;; ++i) save(i % 2);
    usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(random));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(isOneOf(gens, f.Get("gens.cfg"))) << "round " << round;
    ASSERT_TRUE(isOneOf(settings, f.Get("registry.txt"))) << "round " << round;
  }
  save(0);
  save(1);
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(f.dir.path()))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  const std::vector<std::string> files = {"gens.cfg", "gens.cfg.vintara-original", "registry.txt"};
  EXPECT_EQ(left, files);
}
#endif

}  // namespace
}  // namespace vt
