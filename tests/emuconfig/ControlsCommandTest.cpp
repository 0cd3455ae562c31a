#include "tools/vtcli/ControlsCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/emuconfig/EmuconfigTestSupport.h"

namespace vt {
namespace {

struct Controls : ::testing::Test {
  test::EmulatorFolder f;
  std::unique_ptr<SettingsStore> store = OpenFileSettings(f.dir.File("registry.txt"));
  std::string out, err;

  int Run(std::vector<std::string> args, bool withFolder = true) {
    if (withFolder) {
      args.push_back("--folder");
      args.push_back(f.dir.path().string());
    }
    std::ostringstream o, e;
    int rc = cli::RunControls(*store, args, o, e);
    out = o.str();
    err = e.str();
    return rc;
  }
};

TEST_F(Controls, ShowPrintsEachSlotInReaderOrder) {
  f.PutFixture("gens.cfg");
  ASSERT_EQ(Run({"show", "gens"}), 0) << err;
  EXPECT_EQ(out,
            "SlotUp\t200\tUp\nSlotDown\t208\tDown\nSlotLeft\t203\tLeft\nSlotRight\t205\tRight\n"
            "SlotStart\t28\tEnter\nSlotA\t30\tA\nSlotB\t31\tS\nSlotC\t32\tD\n");
  f.PutFixture("zsnesw.cfg");
  ASSERT_EQ(Run({"show", "zsnes", "--player", "2"}), 0) << err;
  EXPECT_EQ(out.substr(0, out.find('\n', out.find('\n') + 1) + 1), "SlotRight\t38\tL\nSlotLeft\t36\tJ\n");
  f.PutFixture("meka.inp");
  ASSERT_EQ(Run({"show", "meka", "--player", "2"}), 0) << err;
  EXPECT_EQ(out.substr(0, out.find('\n') + 1), "SlotPause\t28\tEnter\n");
  EXPECT_NE(out.find("SlotJoyPause\t283\tjoy_button 11\n"), std::string::npos);
}

TEST_F(Controls, FolderComesFromVtPathUnlessGiven) {
  f.PutFixture("zsnesw.cfg");
  EXPECT_EQ(Run({"show", "zsnes"}, false), 1);  // no VT_PATH: "\zsnesw.cfg" at the root
  ASSERT_TRUE(store->CreateKey(Hive::Machine, "Software\\Vintara"));
  ASSERT_TRUE(store->SetValue(Hive::Machine, "Software\\Vintara", "VT_PATH", kTypeString, f.dir.path().string()));
  ASSERT_EQ(Run({"show", "zsnes"}, false), 0) << err;
  EXPECT_EQ(out.substr(0, out.find('\n') + 1), "SlotRight\t205\tRight\n");
}

TEST_F(Controls, SetWritesThroughTheEmulatorsWriter) {
  f.PutFixture("gens.cfg");
  const std::string original = f.Get("gens.cfg");
  ASSERT_EQ(Run({"set", "gens", "SlotUp=0x1001", "SlotC=44"}), 0) << err;
  std::string expected = original;
  expected.replace(expected.find("P1.Up=200"), 9, "P1.Up=4097");
  expected.replace(expected.find("P1.C=32"), 7, "P1.C=44");
  EXPECT_EQ(f.Get("gens.cfg"), expected);
  ASSERT_EQ(Run({"show", "gens"}), 0);
  EXPECT_EQ(out.substr(0, out.find('\n') + 1), "SlotUp\t4097\tJf01\n");

  f.PutFixture("meka.inp");
  ASSERT_EQ(Run({"set", "meka", "--player", "2", "SlotPause=57", "SlotJoyUp=272"}), 0) << err;
  EXPECT_NE(f.Get("meka.inp").find("player_start_pause  = key Space\r\n"), std::string::npos);
  ASSERT_EQ(Run({"show", "meka"}), 0);
  EXPECT_NE(out.find("SlotPause\t57\tSpace\n"), std::string::npos);

  f.Put("gest.cfg", test::GestFile(64, 700));
  ASSERT_EQ(Run({"set", "gest", "SlotJoyA=2", "SlotUp=200"}), 0) << err;
  const std::string gest = f.Get("gest.cfg");
  EXPECT_EQ(gest.size(), 10240u);
  EXPECT_EQ(gest[64 + 341], 2);
  EXPECT_EQ(static_cast<unsigned char>(gest[64 + 48]), 200);
  ASSERT_EQ(Run({"show", "gest"}), 0);
  EXPECT_NE(out.find("SlotJoyA\t2\tJ2\n"), std::string::npos);
}

TEST_F(Controls, NesterShowsRecordsAndSetMakesKeyboardRecords) {
  ASSERT_EQ(Run({"show", "nester", "--player", "2"}), 0) << err;
  EXPECT_EQ(out.substr(0, out.find('\n') + 1), "SlotUp\t1\t200\t0\t0\tUp\n");
  EXPECT_NE(out.find("SlotB\t1\t44\t0\t0\tZ\n"), std::string::npos);
  ASSERT_EQ(Run({"set", "nester", "--player", "2", "SlotB=0x2E"}), 0) << err;
  ASSERT_EQ(Run({"show", "nester", "--player", "2"}), 0);
  EXPECT_NE(out.find("SlotB\t1\t46\t0\t0\tC\n"), std::string::npos);
  ASSERT_EQ(Run({"show", "nester"}), 0);
  EXPECT_NE(out.find("SlotB\t1\t44\t0\t0\tZ\n"), std::string::npos);
  EXPECT_EQ(Run({"set", "nester", "SlotB=0x1010"}), 2);  // joystick codes need a device
}

TEST_F(Controls, BadRequestsExitTwoAndWriteNothing) {
  f.PutFixture("zsnesw.cfg");
  f.PutFixture("meka.inp");
  const std::string zsnes = f.Get("zsnesw.cfg"), meka = f.Get("meka.inp");
  const std::vector<std::vector<std::string>> bad = {
      {"set", "zsnes", "SlotUp=200", "SlotBogus=3"}, {"set", "zsnes", "SlotC=30"},  // not a SNES slot
      {"set", "zsnes", "SlotUp=0"},                  {"set", "zsnes", "SlotUp=-1"},
      {"set", "zsnes", "SlotUp=abc"},                {"set", "zsnes", "SlotUp=0x"},
      {"set", "zsnes", "SlotUp=99999999999"},        {"set", "zsnes", "SlotUp=270"},  // offset 14 is no input
      {"set", "zsnes", "SlotUp=420"},                {"set", "meka", "SlotJoyUp=30"},
      {"set", "meka", "SlotUp=272"},                 {"set", "zsnes"},
      {"set", "zsnes", "--player", "3", "SlotUp=1"}, {"show", "snes9x"},
      {"show"},                                      {"list", "zsnes"},
      {"show", "gest", "--player", "2"},             {"show", "zsnes", "--player"},
      {"show", "zsnes", "SlotUp=1"}};
  for (const auto& args : bad) {
    EXPECT_EQ(Run(args), 2) << args.size() << " " << args.back();
    EXPECT_FALSE(err.empty());
    EXPECT_TRUE(out.empty());
  }
  EXPECT_EQ(f.Get("zsnesw.cfg"), zsnes);
  EXPECT_EQ(f.Get("meka.inp"), meka);
  EXPECT_EQ(Run({"show", "gens"}), 1);  // no gens.cfg in the folder
  EXPECT_NE(err.find("gens.cfg"), std::string::npos);
  EXPECT_EQ(Run({"set", "zsnes", "SlotUp=415"}), 0) << err;
  EXPECT_NE(f.Get("zsnesw.cfg").find("ScanKey1 = 205, 203, 208, 415,"), std::string::npos);
}

// The first change of each configuration keeps its original beside it, later changes leave that
// copy alone, and restore puts it back.
TEST_F(Controls, TheOriginalIsKeptOnceAndRestorePutsItBack) {
  struct Case {
    const char* emulator;
    const char* file;
    std::vector<std::string> first, second;
  } cases[] = {
      {"gens", "gens.cfg", {"SlotUp=17"}, {"SlotUp=18"}},
      {"meka", "meka.inp", {"SlotUp=17"}, {"SlotDown=18"}},
      {"zsnes", "zsnesw.cfg", {"SlotUp=17"}, {"SlotUp=18"}},
      {"gest", "gest.cfg", {"SlotUp=17"}, {"SlotJoyA=3"}},
  };
  f.PutFixture("gens.cfg");
  f.PutFixture("meka.inp");
  f.PutFixture("zsnesw.cfg");
  f.Put("gest.cfg", test::GestFile(64, 700));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.emulator);
    const std::string original = f.Get(c.file);
    const std::string copy = std::string(c.file) + ".vintara-original";
    EXPECT_EQ(Run({"restore", c.emulator}), 1) << "nothing kept yet";
    std::vector<std::string> set = {"set", c.emulator};
    set.insert(set.end(), c.first.begin(), c.first.end());
    ASSERT_EQ(Run(set), 0) << err;
    EXPECT_EQ(f.Get(copy), original);
    set = {"set", c.emulator};
    set.insert(set.end(), c.second.begin(), c.second.end());
    ASSERT_EQ(Run(set), 0) << err;
    EXPECT_EQ(f.Get(copy), original) << "the copy is taken once";
    EXPECT_NE(f.Get(c.file), original);
    ASSERT_EQ(Run({"restore", c.emulator}), 0) << err;
    EXPECT_EQ(f.Get(c.file), original);
  }
  // nester: the values of both players as they were before the first write.
  ASSERT_EQ(Run({"show", "nester"}), 0);  // first use: the defaults are created
  ASSERT_EQ(Run({"set", "nester", "SlotUp=17"}), 0) << err;
  ASSERT_EQ(Run({"set", "nester", "--player", "2", "SlotB=18"}), 0) << err;
  ASSERT_EQ(Run({"restore", "nester"}), 0) << err;
  ASSERT_EQ(Run({"show", "nester"}), 0);
  EXPECT_EQ(out.substr(0, out.find('\n') + 1), "SlotUp\t1\t200\t0\t0\tUp\n");
  ASSERT_EQ(Run({"show", "nester", "--player", "2"}), 0);
  EXPECT_NE(out.find("SlotB\t1\t44\t0\t0\tZ\n"), std::string::npos);
}

}  // namespace
}  // namespace vt
