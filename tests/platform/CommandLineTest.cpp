// Splitting a command line as Windows does, and starting a program from one.
#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace vt {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, ProgramRunsToTheFirstBlank) {
  EXPECT_EQ(SplitCommandLine("C:\\emu\\nester.exe VTNES://u:p@h/k"),
            (Args{"C:\\emu\\nester.exe", "VTNES://u:p@h/k"}));
  EXPECT_EQ(SplitCommandLine("C:\\Program Files\\x.exe arg"),
            (Args{"C:\\Program", "Files\\x.exe", "arg"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\x.exe\" arg"),
            (Args{"C:\\Program Files\\x.exe", "arg"}));
  // A missing emulator path leaves the line starting with the blank: no program at all.
  EXPECT_EQ(SplitCommandLine(" VTNES://u:p@h/k"), (Args{"", "VTNES://u:p@h/k"}));
  EXPECT_EQ(SplitCommandLine(""), (Args{""}));
}

TEST(SplitCommandLine, QuotedLaunchAddressStaysOneArgument) {
  EXPECT_EQ(SplitCommandLine("/emu/stella \"VTA26://a b:p@ss@h/k\""),
            (Args{"/emu/stella", "VTA26://a b:p@ss@h/k"}));
  EXPECT_EQ(SplitCommandLine("p   a\t\tb  "), (Args{"p", "a", "b"}));
  EXPECT_EQ(SplitCommandLine("p x\"y z\"w"), (Args{"p", "xy zw"}));
  EXPECT_EQ(SplitCommandLine("p \"unterminated quote"), (Args{"p", "unterminated quote"}));
  EXPECT_EQ(SplitCommandLine("\"unterminated program"), (Args{"unterminated program"}));
}

TEST(SplitCommandLine, BackslashesBeforeQuotes) {
  EXPECT_EQ(SplitCommandLine("p a\\\\b"), (Args{"p", "a\\\\b"}));      // literal
  EXPECT_EQ(SplitCommandLine("p a\\\"b"), (Args{"p", "a\"b"}));        // 1 -> literal quote
  EXPECT_EQ(SplitCommandLine("p \"a\\\\\" b"), (Args{"p", "a\\", "b"}));  // 2 -> 1, quote ends
  EXPECT_EQ(SplitCommandLine("p \"a\"\"b\""), (Args{"p", "a\"b"}));    // doubled quote inside
  EXPECT_EQ(SplitCommandLine("p a\\"), (Args{"p", "a\\"}));
}

}  // namespace
}  // namespace vt
