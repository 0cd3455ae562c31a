// The decimal rule: the leading number of a text, saturating at the 32-bit ends.
#include "text/Decimal.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace vt {
namespace {

TEST(ReadDecimal, TakesTheLeadingNumberAndSaturates) {
  const int32_t kMax = 2147483647, kMin = -kMax - 1;
  // clang-format off
  const std::pair<std::string, int32_t> cases[] = {
      {"10", 10}, {" \t\n+42abc", 42}, {"-2", -2}, {"- 2", 0}, {"+-2", 0}, {"", 0}, {"-", 0},
      {"abc", 0}, {"007", 7}, {std::string("1\0" "2", 3), 1}, {"2147483647", kMax},
      {"2147483648", kMax}, {std::string(5000, '9'), kMax}, {"-2147483648", kMin},
      {"-99999999999999999999999", kMin}};
  // clang-format on
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadDecimal(text), value) << text;
}

}  // namespace
}  // namespace vt
