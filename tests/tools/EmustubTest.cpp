// emustub, the stand-in emulator, run on the host: the line it records and the console and game
// it reads from the address. (Under Wine the end-to-end launches read its records.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"
#include "tests/tools/ChildProcess.h"
#include "tools/emustub/LaunchLine.h"

namespace vt::emustub {
namespace {

// The arguments as one line and the current folder, beside the program without the variable;
// credentials holding ":", "@" or "/" do not hide the game's key.
TEST(EmustubProgram, RecordsItsArgumentsAndFolderAndNamesTheConsoleAndGame) {
  test::TempDir dir;
  const std::string copy = dir.File("emustub"), log = dir.File("emustub.log");
  std::filesystem::copy_file(VT_EMUSTUB_EXE, copy);
  const std::pair<const char*, const char*> runs[] = {
      {"VTA26://carol:c@r:ol/1@127.0.0.1:8011/A260001", "Atari 2600, game A260001"},
      {"VTNES://a b:c@h/NES0001", "NES, game NES0001"},
      {"VTXYZ://nohost", "unknown console, game "}};
  for (const auto& [address, says] : runs) {
    test::ChildProcess p({copy, address}, {"VT_EMUSTUB_LOG="});
    EXPECT_EQ(p.Wait(), 0) << p.Stderr();
    EXPECT_EQ(p.RestOfStdout(), std::string("emustub: ") + says + "\n");
  }
  EXPECT_EQ(test::ReadFileBytes(log), copy + " VTA26://carol:c@r:ol/1@127.0.0.1:8011/A260001\n" +
                                          copy + " \"VTNES://a b:c@h/NES0001\"\n" + copy +
                                          " VTXYZ://nohost\n");
  const std::string here = std::filesystem::current_path().string() + "\n";
  EXPECT_EQ(test::ReadFileBytes(log + ".folders"), here + here + here);
}

}  // namespace
}  // namespace vt::emustub
