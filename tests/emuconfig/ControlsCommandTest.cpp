// `vtcli controls`: show, set and restore through each emulator's own reader and writer, the
// emulator folder, and the requests it refuses without writing anything.
#include "tools/vtcli/ControlsCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

struct Controls : ::testing::Test {
  void SetUp() override {
    for (const char* name : {"gens.cfg", "meka.inp", "zsnesw.cfg"}) f.PutFixture(name);
    f.Put("gest.cfg", test::GestFile(64, 700));
  }
  int Run(std::vector<std::string> args, bool withFolder = true) {
    if (withFolder) args.insert(args.end(), {"--folder", f.dir.path().string()});
    std::ostringstream o, e;
    int rc = cli::RunControls(*store, args, o, e);
    out = o.str();
    err = e.str();
    return rc;
  }
  bool Shows(const std::vector<std::string>& args, const std::string& line) {
    return Run(args) == 0 && out.find(line + "\n") != std::string::npos;
  }

  test::EmulatorFolder f;
  std::unique_ptr<SettingsStore> store = OpenFileSettings(f.dir.File("registry.txt"));
  std::string out, err;
};

// Each emulator's slots in its reader's order; a set writes through its writer only what it
// names, and show then reads it back with its name.
TEST_F(Controls, ShowAndSetGoThroughEachEmulatorsReaderAndWriter) {
  ASSERT_EQ(Run({"show", "gens"}), 0) << err;
  EXPECT_EQ(out,
            "SlotUp\t200\tUp\nSlotDown\t208\tDown\nSlotLeft\t203\tLeft\nSlotRight\t205\tRight\n"
            "SlotStart\t28\tEnter\nSlotA\t30\tA\nSlotB\t31\tS\nSlotC\t32\tD\n");
  const std::string gens = f.Get("gens.cfg");
  ASSERT_EQ(Run({"set", "gens", "SlotUp=0x1001", "SlotC=44"}), 0) << err;
  EXPECT_EQ(f.Get("gens.cfg"),
            test::Replace(test::Replace(gens, "P1.Up=200", "P1.Up=4097"), "P1.C=32", "P1.C=44"));
  struct Case {
    std::string emulator, player, set, shown;
  } cases[] = {
      {"gens", "1", "SlotUp=0x1001", "SlotUp\t4097\tJf01"},
      {"zsnes", "2", "SlotLeft=415", "SlotLeft\t415\tJ9f"},
      {"meka", "2", "SlotPause=57", "SlotPause\t57\tSpace"},
      {"meka", "1", "SlotJoyUp=272", "SlotJoyUp\t272\tjoy_button 0"},
      {"gest", "1", "SlotJoyA=2", "SlotJoyA\t2\tJ2"},
      {"nester", "2", "SlotB=0x2E", "SlotB\t1\t46\t0\t0\tC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.emulator + " " + c.set);
    ASSERT_EQ(Run({"set", c.emulator, "--player", c.player, c.set}), 0) << err;
    EXPECT_TRUE(Shows({"show", c.emulator, "--player", c.player}, c.shown)) << out;
  }
  EXPECT_NE(f.Get("meka.inp").find("player_start_pause  = key Space\r\n"), std::string::npos);
  EXPECT_TRUE(Shows({"show", "nester"}, "SlotB\t1\t44\t0\t0\tZ")) << "player 1 keeps its own";
}

TEST_F(Controls, FolderComesFromVtPathUnlessGiven) {
  EXPECT_EQ(Run({"show", "zsnes"}, false), 1);  // no VT_PATH: "\zsnesw.cfg" at the root
  ASSERT_TRUE(store->CreateKey(Hive::Machine, "Software\\Vintara"));
  ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString,
                              f.dir.path().string()));
  ASSERT_EQ(Run({"show", "zsnes"}, false), 0) << err;
  EXPECT_EQ(out.substr(0, out.find('\n') + 1), "SlotRight\t205\tRight\n");
}

TEST_F(Controls, BadRequestsExitTwoAndWriteNothing) {
  const std::string zsnes = f.Get("zsnesw.cfg"), meka = f.Get("meka.inp");
  const std::vector<std::vector<std::string>> bad = {
      {"set", "zsnes", "SlotUp=200", "SlotBogus=3"},
      {"set", "zsnes", "SlotC=30"},  // not a SNES slot
      {"set", "zsnes", "SlotUp=0"},     {"set", "zsnes", "SlotUp=-1"},
      {"set", "zsnes", "SlotUp=abc"},
      {"set", "zsnes", "SlotUp=0x"},    {"set", "zsnes", "SlotUp=99999999999"},
      {"set", "zsnes", "SlotUp=270"},   {"set", "zsnes", "SlotUp=420"},  // no joystick input
      {"set", "meka", "SlotJoyUp=30"},  {"set", "meka", "SlotUp=272"},   {"set", "zsnes"},
      {"set", "nester", "SlotB=0x1010"},  // joystick codes need a device
      {"set", "zsnes", "--player", "3", "SlotUp=1"}, {"show", "snes9x"}, {"show"},
      {"list", "zsnes"}, {"show", "gest", "--player", "2"}, {"show", "zsnes", "--player"},
      {"show", "zsnes", "SlotUp=1"}};
  for (const auto& args : bad) {
    EXPECT_EQ(Run(args), 2) << args.size() << " " << args.back();
    EXPECT_FALSE(err.empty());
    EXPECT_TRUE(out.empty());
  }
  EXPECT_EQ(f.Get("zsnesw.cfg"), zsnes);
  EXPECT_EQ(f.Get("meka.inp"), meka);
  std::remove(f.Path("gens.cfg").c_str());
  EXPECT_EQ(Run({"show", "gens"}), 1);
  EXPECT_NE(err.find("gens.cfg"), std::string::npos);
}

// The first change of each configuration keeps its original (a file beside it, nester's values
// in the client's key), later changes leave that copy alone, and restore puts it back.
TEST_F(Controls, TheOriginalIsKeptOnceAndRestorePutsItBack) {
  const std::pair<const char*, const char*> files[] = {
      {"gens", "gens.cfg"}, {"meka", "meka.inp"}, {"zsnes", "zsnesw.cfg"}, {"gest", "gest.cfg"}};
  for (const auto& [emulator, file] : files) {
    SCOPED_TRACE(emulator);
    const std::string original = f.Get(file), copy = std::string(file) + ".vintara-original";
    EXPECT_EQ(Run({"restore", emulator}), 1) << "nothing kept yet";
    ASSERT_EQ(Run({"set", emulator, "SlotUp=17"}), 0) << err;
    EXPECT_EQ(f.Get(copy), original);
    ASSERT_EQ(Run({"set", emulator, "SlotUp=18"}), 0) << err;
    EXPECT_EQ(f.Get(copy), original) << "the copy is taken once";
    ASSERT_EQ(Run({"restore", emulator}), 0) << err;
    EXPECT_EQ(f.Get(file), original);
  }
  // nester: the values of both players as they were before the first write.
  ASSERT_EQ(Run({"show", "nester"}), 0);  // first use: the defaults are created
  ASSERT_EQ(Run({"set", "nester", "SlotUp=17"}), 0) << err;
  ASSERT_EQ(Run({"set", "nester", "--player", "2", "SlotB=18"}), 0) << err;
  ASSERT_EQ(Run({"restore", "nester"}), 0) << err;
  EXPECT_TRUE(Shows({"show", "nester"}, "SlotUp\t1\t200\t0\t0\tUp"));
  EXPECT_TRUE(Shows({"show", "nester", "--player", "2"}, "SlotB\t1\t44\t0\t0\tZ"));
}

}  // namespace
}  // namespace vt
