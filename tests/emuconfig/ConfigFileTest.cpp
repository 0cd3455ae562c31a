// What every emulator's configuration file gets from the one way they are read and replaced: a
// missing file is never created, unchanged bindings save the same bytes, a temporary file left
// behind is taken over, a write that fails half-way keeps the old file, and a save killed at any
// moment leaves the old or the new bytes, never a mixture.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

#endif

namespace vt {
namespace {

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

// Every format is saved the one way, so one of them shows the rest: a file that is not there is
// not made, and one whose text the format cannot write into is left as it is.
TEST(ConfigFile, TheBytesStayUnlessAWholeNewFileReplacesThem) {
  test::EmulatorFolder folder;
  EXPECT_FALSE(folder.Load(Gens()));
  EXPECT_EQ(Gens().Save(*folder.settings, folder.config, 1, folder.host).text,
            "there is no such file, or it cannot be read");
  EXPECT_FALSE(std::filesystem::exists(folder.Path("gens.cfg")));
  folder.Put("gens.cfg", "P1.Up=200\r\n");
  EXPECT_FALSE(folder.Save(Gens()));
  EXPECT_EQ(folder.Get("gens.cfg"), "P1.Up=200\r\n");
  EXPECT_TRUE(folder.OnlyFileIs("gens.cfg"));
  folder.PutFixture("gens.cfg");
  const std::string original = folder.Get("gens.cfg");
  ASSERT_TRUE(folder.Load(Gens()));
  ASSERT_TRUE(folder.Save(Gens()));
  EXPECT_EQ(folder.Get("gens.cfg"), original);
  EXPECT_TRUE(folder.OnlyFileIs("gens.cfg"));  // nothing changed: no original kept either
  folder.Put("gens.cfg.tmp", "left by a save that was killed");
  folder.config.Code(SlotUp) = 0x11;
  Gens().RefreshNames(folder.config);
  ASSERT_TRUE(folder.Save(Gens()));
  const std::string changed = test::Replace(original, "P1.Up=200", "P1.Up=17");
  EXPECT_EQ(folder.Get("gens.cfg"), changed);
  EXPECT_TRUE(folder.OnlyFileIs("gens.cfg"));
  folder.config.Code(SlotUp) = 0x12;
  Gens().RefreshNames(folder.config);
  BlockedWrites blocked(folder.Path("gens.cfg.tmp"));
  EXPECT_FALSE(folder.Save(Gens()));
  EXPECT_EQ(folder.Get("gens.cfg"), changed);
}

#ifndef _WIN32
// A process saving the Gens file and the settings file in a loop, killed at a random moment,
// many times over: each file is always exactly one of the versions that were saved.
TEST(ConfigFile, AKilledSaveLeavesTheOldOrTheNewBytes) {
  test::EmulatorFolder f;
  f.PutFixture("gens.cfg");
  ASSERT_TRUE(f.Load(Gens()));
  auto& store = f.settings;
  ASSERT_TRUE(store->CreateKey(Hive::Machine, "Software\\Vintara"));
  std::vector<ControllerConfig> configs(2, f.config);
  std::vector<std::string> gens = {f.Get("gens.cfg")}, settings = {f.Get("registry.txt")};
  auto save = [&](unsigned i) {
    Gens().Save(*store, configs[i], 1, f.host);
    store->SetValue(Hive::Machine, "Software\\Vintara", "SEARCH", kTypeNone,
                    std::string(3000 + 2000 * i, 'a'));
  };
  for (unsigned i : {0u, 1u}) {
    configs[i].Code(SlotUp) = 0x10 + static_cast<int>(i);
    Gens().RefreshNames(configs[i]);
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
