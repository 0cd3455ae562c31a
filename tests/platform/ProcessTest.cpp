// The folder a program starts in, found from the command line as Windows finds the program. (The
// start itself: the round trip's launch on POSIX, the end-to-end launches under Wine.)
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace vt {
namespace {

TEST(ProgramFolder, IsTheFolderOfTheFileTheLineStarts) {
  test::TempDir dir;
  const std::string emu = dir.File("Emu Dir"), sep = emu.substr(dir.path().string().size(), 1);
  std::filesystem::create_directories(emu + sep + "sub");
  test::WriteFileBytes(emu + sep + "nester.exe", "MZ");
  test::WriteFileBytes(emu + sep + "stella", "MZ");
  const std::string nester = emu + sep + "nester.exe";
  const std::pair<std::string, std::string> cases[] = {
      {nester + " VTNES://u:p@h/k", emu},               // blanks in the folder: the first file
      {"\"" + nester + "\" -x VTNES://u:p@h/k", emu},   // quoted, then options
      {emu + sep + "nester VTNES://u:p@h/k", emu},      // ".exe" added, as the start does
      {emu + sep + "stella \"VTA26://u:p@h/k\"", emu},  // a program without an extension
      {emu + sep + "sub VTNES://u:p@h/k", ""},          // a folder is no program
      {emu + sep + "missing.exe VTNES://u:p@h/k", ""},  // no file: started as before
      {"\"" + emu + sep + "missing.exe\" x", ""},
      {"nester.exe VTNES://u:p@h/k", ""},  // a bare name on the search path
      {" VTNES://u:p@h/k", ""},            // no path at all
      {"", ""},
  };
  for (const auto& [line, folder] : cases) EXPECT_EQ(ProgramFolder(line), folder) << line;
}

}  // namespace
}  // namespace vt
