// Splitting a command line as Windows does (the POSIX start of a launch line).
#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace vt {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, ProgramToTheFirstBlankThenTheRuntimesQuotingRules) {
  const std::pair<std::string, Args> cases[] = {
      {"C:\\emu\\nester.exe VTNES://u:p@h/k", {"C:\\emu\\nester.exe", "VTNES://u:p@h/k"}},
      {"C:\\Program Files\\x.exe arg", {"C:\\Program", "Files\\x.exe", "arg"}},
      {"\"C:\\Program Files\\x.exe\" arg", {"C:\\Program Files\\x.exe", "arg"}},
      // A missing emulator path leaves the line starting with the blank: no program at all.
      {" VTNES://u:p@h/k", {"", "VTNES://u:p@h/k"}},
      {"", {""}},
      {"/emu/stella \"VTA26://a b:p@ss@h/k\"", {"/emu/stella", "VTA26://a b:p@ss@h/k"}},
      {"p   a\t\tb  ", {"p", "a", "b"}},
      {"p x\"y z\"w", {"p", "xy zw"}},
      {"p \"unterminated quote", {"p", "unterminated quote"}},
      {"\"unterminated program", {"unterminated program"}},
      {"p a\\\\b", {"p", "a\\\\b"}},        // backslashes not before a quote are literal
      {"p a\\\"b", {"p", "a\"b"}},          // 1 -> a literal quote
      {"p \"a\\\\\" b", {"p", "a\\", "b"}},  // 2 -> 1, and the quote ends
      {"p \"a\"\"b\"", {"p", "a\"b"}},      // a doubled quote inside
      {"p a\\", {"p", "a\\"}},
  };
  for (const auto& [line, args] : cases) EXPECT_EQ(SplitCommandLine(line), args) << line;
}

}  // namespace
}  // namespace vt
