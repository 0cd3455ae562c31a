// StartProgram on POSIX: the program named at the start of the line runs with the rest split as
// Windows would split it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>

#include "platform/Process.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

TEST(StartProgram, RunsTheProgramWithWindowsStyleArguments) {
  test::TempDir dir;
  const std::string script = dir.File("emu.sh");
  const std::string log = dir.File("args.txt");
  test::WriteFileBytes(script, "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > " +
                                   log + "\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  ASSERT_TRUE(StartProgram(script + " \"VTA26://a b:p@h/k\" second"));
  int status = 0;
  ASSERT_GT(::waitpid(-1, &status, 0), 0);  // the child it started
  EXPECT_EQ(test::ReadFileBytes(log), "[VTA26://a b:p@h/k][second]");
}

TEST(StartProgram, MissingProgramFailsWithoutStartingAnything) {
  EXPECT_FALSE(StartProgram(" VTNES://u:p@h/k"));
  EXPECT_FALSE(StartProgram("/no/such/emulator VTNES://u:p@h/k"));
  int status = 0;
  EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);  // no child exists
}

}  // namespace
}  // namespace vt
