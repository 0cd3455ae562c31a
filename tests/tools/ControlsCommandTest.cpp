// `vtcli controls` over each of the five emulators' own configuration: what show lists, what a
// set writes, the original kept at the first change and put back by restore, and the requests it
// refuses without writing anything. (The folder from VT_PATH is the emulator locations' test's.)
#include "tools/vtcli/ControlsCommand.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "tests/support/EmulatorFolder.h"

namespace vt {
namespace {

struct Controls : ::testing::Test {
  void SetUp() override {
    for (const char* name : {"gens.cfg", "meka.inp", "zsnesw.cfg", "gest.cfg"}) f.PutFixture(name);
  }
  int Run(std::vector<std::string> args) {
    args.insert(args.end(), {"--folder", f.dir.path().string()});
    std::ostringstream o, e;
    const int rc = cli::RunControls(*f.settings, args, o, e);
    out = o.str();
    err = e.str();
    return rc;
  }
  // A file of the folder, or the "Key" value of one of nester's keys.
  std::string Bytes(const std::string& where) {
    std::string key;
    if (!where.starts_with("Software\\")) return f.Get(where);
    EXPECT_TRUE(f.settings->QueryValue(Hive::User, where, "Key", key)) << where;
    return key;
  }

  test::EmulatorFolder f;
  std::string out, err;
};

// Each emulator lists its slots in its reader's order with what is stored and its name; a set
// changes just the bytes of the binding it names, the first change keeps the original once, and
// restore puts it back.
TEST_F(Controls, EachEmulatorShowsSetsAndRestoresItsOwnConfiguration) {
  const struct {
    // again: a second change (for Gens, the last joystick's last button).
    std::string emulator, player, shown, set, again, where, from, to, line;
  } cases[] = {
      {"nester", "2",
       "SlotUp\t1\t200\t0\t0\tUp\nSlotDown\t1\t208\t0\t0\tDown\nSlotLeft\t1\t203\t0\t0\tLeft\n"
       "SlotRight\t1\t205\t0\t0\tRight\nSlotSelect\t1\t30\t0\t0\tA\nSlotStart\t1\t31\t0\t0\tS\n"
       "SlotA\t1\t45\t0\t0\tX\nSlotB\t1\t44\t0\t0\tZ\n",
       "SlotB=0x2E", "SlotB=44", "Software\\nester\\NES\\Input\\Controller2\\B", "\x2C", "\x2E",
       "SlotB\t1\t46\t0\t0\tC"},
      {"gens", "1",
       "SlotUp\t200\tUp\nSlotDown\t208\tDown\nSlotLeft\t203\tLeft\nSlotRight\t205\tRight\n"
       "SlotStart\t28\tEnter\nSlotA\t30\tA\nSlotB\t31\tS\nSlotC\t32\tD\n",
       "SlotUp=0x1001", "SlotUp=0x142F", "gens.cfg", "P1.Up=200", "P1.Up=4097",
       "SlotUp\t4097\tJf01"},
      {"meka", "1",
       "SlotUp\t200\tUp\nSlotDown\t208\tDown\nSlotLeft\t203\tLeft\nSlotRight\t205\tRight\n"
       "SlotButton1\t29\tLeft Ctrl\nSlotButton2\t56\tLeft Alt\nSlotPause\t28\tEnter\n"
       "SlotJoyUp\t259\tjoy stick 0 axis 1 dir 0\nSlotJoyDown\t258\tjoy stick 0 axis 1 dir 1\n"
       "SlotJoyLeft\t257\tjoy stick 0 axis 0 dir 0\nSlotJoyRight\t256\tjoy stick 0 axis 0 dir 1\n"
       "SlotJoyButton1\t272\tjoy_button 0\nSlotJoyButton2\t273\tjoy_button 1\n"
       "SlotJoyPause\t281\tjoy_button 9\n",
       "SlotJoyUp=272", "SlotJoyUp=259", "meka.inp", "= joy stick 0 axis 1 dir 0", "= joy_button 0",
       "SlotJoyUp\t272\tjoy_button 0"},
      {"zsnes", "2",
       "SlotRight\t38\tL\nSlotLeft\t36\tJ\nSlotDown\t37\tK\nSlotUp\t23\tI\nSlotStart\t25\tP\n"
       "SlotSelect\t24\tO\nSlotB\t34\tG\nSlotY\t35\tH\nSlotA\t48\tB\nSlotX\t49\tN\nSlotL\t18\tE\n"
       "SlotR\t19\tR\n",
       "SlotLeft=415", "SlotLeft=36", "zsnesw.cfg", "ScanKey2 = 38, 36,", "ScanKey2 = 38, 415,",
       "SlotLeft\t415\tJ9f"},
      // The joystick column holds button numbers.
      {"gest", "1",
       "SlotA\t45\tX\nSlotB\t44\tZ\nSlotStart\t28\tEnter\nSlotSelect\t54\tR Shift\n"
       "SlotAutoA\t30\tA\nSlotAutoB\t31\tS\nSlotUp\t200\tUp\nSlotDown\t208\tDown\n"
       "SlotLeft\t203\tLeft\nSlotRight\t205\tRight\nSlotJoyA\t0\tJ0\nSlotJoyB\t1\tJ1\n"
       "SlotJoyStart\t9\tJ9\nSlotJoySelect\t8\tJ8\nSlotJoyAutoA\t2\tJ2\nSlotJoyAutoB\t31\tJ1f\n",
       "SlotJoyA=2", "SlotJoyA=0", "gest.cfg", std::string(1, '\0'), "\x02", "SlotJoyA\t2\tJ2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.emulator + " " + c.set);
    auto run = [&](std::vector<std::string> args) {
      args.insert(args.end(), {"--player", c.player});
      return Run(args);
    };
    EXPECT_EQ(Run({"restore", c.emulator}), 1);      // nothing kept yet
    ASSERT_EQ(run({"show", c.emulator}), 0) << err;  // nester's first use writes its defaults
    EXPECT_EQ(out, c.shown);
    const std::string before = Bytes(c.where);
    ASSERT_EQ(run({"set", c.emulator, c.set}), 0) << err;
    EXPECT_EQ(Bytes(c.where), test::Replace(before, c.from, c.to));
    ASSERT_EQ(run({"show", c.emulator}), 0) << err;
    EXPECT_NE(out.find(c.line + "\n"), std::string::npos) << out;
    // A second change leaves the kept copy as it was: restore gives the bytes before the first.
    ASSERT_EQ(run({"set", c.emulator, c.again}), 0) << err;
    ASSERT_EQ(Run({"restore", c.emulator}), 0) << err;
    const std::string file = f.dir.path().string() + "\\" + c.where;
    EXPECT_EQ(
        out,
        "restored " + (c.emulator == "nester" ? "nester's bindings of both players" : file) + "\n");
    EXPECT_EQ(Bytes(c.where), before);
  }
}

TEST_F(Controls, BadRequestsExitTwoAndWriteNothing) {
  const std::string zsnes = f.Get("zsnesw.cfg"), meka = f.Get("meka.inp");
  // A good change before a bad one, a slot the emulator lacks, codes that are no number or that
  // the emulator cannot store (zsnes no joystick, nester none without a device), and bad words.
  for (const char* request :
       {"set zsnes SlotUp=200 SlotBogus=3", "set zsnes SlotC=30", "set zsnes SlotUp=abc",
        "set zsnes SlotUp=99999999999", "set zsnes SlotUp=420", "set gens SlotUp=0x1005",
        "set meka SlotJoyUp=30", "set gest SlotJoyA=32", "set zsnes", "set nester SlotB=0x1010",
        "set zsnes --player 3 SlotUp=1", "show snes9x", "list zsnes", "show gest --player 2",
        "show zsnes --player", "show zsnes SlotUp=1", "set meka SlotUp=272",
        "set zsnes SlotUp=270"}) {
    std::istringstream words(request);
    EXPECT_EQ(Run({std::istream_iterator<std::string>(words), {}}), 2) << request;
    EXPECT_FALSE(err.empty());
    EXPECT_TRUE(out.empty());
  }
  EXPECT_EQ(f.Get("zsnesw.cfg"), zsnes);
  EXPECT_EQ(f.Get("meka.inp"), meka);
  std::remove(f.Path("gens.cfg").c_str());
  EXPECT_EQ(Run({"show", "gens"}), 1);
  EXPECT_NE(err.find("gens.cfg"), std::string::npos);
}

}  // namespace
}  // namespace vt
