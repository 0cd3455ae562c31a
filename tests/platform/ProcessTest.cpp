// Starting a program: the folder it starts in, found from the command line as Windows finds the
// program, and (on POSIX, where the start can be watched from here) the start itself.
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vt {
namespace {

TEST(ProgramFolder, IsTheFolderOfTheFileTheLineStarts) {
  test::TempDir dir;
  const std::string emu = dir.File("Emu Dir"), sep = emu.substr(dir.path().string().size(), 1);
  std::filesystem::create_directories(emu + sep + "sub");
  test::WriteFileBytes(emu + sep + "nester.exe", "MZ");
  test::WriteFileBytes(emu + sep + "stella", "MZ");
  const std::string nester = emu + sep + "nester.exe";
  struct Case {
    std::string line, folder;
  } cases[] = {
      {nester + " VTNES://u:p@h/k", emu},                 // blanks in the folder: the first file
      {"\"" + nester + "\" -x VTNES://u:p@h/k", emu},     // quoted, then options
      {emu + sep + "nester VTNES://u:p@h/k", emu},        // ".exe" added, as the start does
      {emu + sep + "stella \"VTA26://u:p@h/k\"", emu},    // a program without an extension
      {emu + sep + "sub VTNES://u:p@h/k", ""},            // a folder is no program
      {emu + sep + "missing.exe VTNES://u:p@h/k", ""},    // no file: started as before
      {"\"" + emu + sep + "missing.exe\" x", ""},
      {"nester.exe VTNES://u:p@h/k", ""},                 // a bare name on the search path
      {" VTNES://u:p@h/k", ""},                           // no path at all
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramFolder(c.line), c.folder) << c.line;
}

#ifndef _WIN32
// The program named at the start of the line runs in its folder, with the rest split as Windows
// would split it; a missing program starts nothing.
TEST(StartProgram, RunsTheProgramInItsFolderWithWindowsStyleArguments) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.File("emu"));
  const std::string script = dir.File("emu/emu.sh"), log = dir.File("args.txt");
  test::WriteFileBytes(
      script,
      "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '[%s]' \"$a\"; done; } > " + log + "\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  ASSERT_TRUE(StartProgram(script + " \"VTA26://a b:p@h/k\" second"));
  int status = 0;
  ASSERT_GT(::waitpid(-1, &status, 0), 0);  // the child it started
  EXPECT_EQ(test::ReadFileBytes(log), dir.File("emu") + "\n[VTA26://a b:p@h/k][second]");

  EXPECT_FALSE(StartProgram(" VTNES://u:p@h/k"));
  EXPECT_FALSE(StartProgram("/no/such/emulator VTNES://u:p@h/k"));
  EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);  // no child exists
}
#endif

}  // namespace
}  // namespace vt
