// What every emulator's configuration file gets from the one way they are read and replaced: a
// missing file is never created, unchanged bindings save the same bytes, a temporary file left
// behind is taken over, and a write that fails half-way keeps the old file (as it keeps the
// settings file where that is the system's store).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/EmulatorFolder.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
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
  ASSERT_TRUE(folder.settings->CreateKey(Hive::Machine, "Software\\Vintara"));
  BlockedWrites blocked(folder.Path("gens.cfg.tmp"));
  EXPECT_FALSE(folder.Save(Gens()));
  EXPECT_EQ(folder.Get("gens.cfg"), changed);
#ifndef _WIN32  // the settings file is the system's store here, the registry on Windows
  const std::string settings = folder.Get("registry.txt"), value(3000, 'a');
  EXPECT_FALSE(folder.settings->SetValue(Hive::Machine, "Software\\Vintara", "SEARCH", 0, value));
  EXPECT_EQ(folder.Get("registry.txt"), settings);
#endif
}

}  // namespace
}  // namespace vt
