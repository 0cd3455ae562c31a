// SetSystem and the decimal reading rule.
#include <gtest/gtest.h>

#include "text/Decimal.h"
#include "service/SystemTable.h"

namespace vt {
namespace {

TEST(SystemTable, RowsByExactAlias) {
  struct Row {
    const char* alias;
    const char* scheme;
    bool full;
    bool quoted;
  };
  const Row rows[] = {{"NES", "VTNES://", false, false}, {"SNES", "zsnes://", true, false},
                      {"2600", "VTA26://", false, true}, {"GEN", "VTGEN://", true, false},
                      {"GBC", "VTGBC://", true, false},  {"SMS", "VTSMS://", true, false},
                      {"SGG", "VTSMS://", true, false},  {"COL", "VTSMS://", false, false},
                      {"gen", "VTNES://", false, false}, {"NES ", "VTNES://", false, false},
                      {"", "VTNES://", false, false},    {"XYZ", "VTNES://", false, false}};
  for (const Row& r : rows) {
    const SystemRow& got = LookUpSystem(r.alias);
    EXPECT_EQ(got.scheme, r.scheme) << r.alias;
    EXPECT_EQ(got.needsFullAccount, r.full) << r.alias;
    EXPECT_EQ(got.quoteAddress, r.quoted) << r.alias;
  }
  EXPECT_EQ(QueryAliasText("GBC"), "GB' OR Alias='GBC");
  EXPECT_EQ(QueryAliasText("GB"), "GB");
  EXPECT_EQ(QueryAliasText("gbc"), "gbc");
}

TEST(DecimalRule, LeadingNumberOfAText) {
  EXPECT_EQ(ReadDecimal("3"), 3);
  EXPECT_EQ(ReadDecimal("10"), 10);
  EXPECT_EQ(ReadDecimal(" \t\n+42abc"), 42);
  EXPECT_EQ(ReadDecimal("-2"), -2);
  EXPECT_EQ(ReadDecimal("- 2"), 0);
  EXPECT_EQ(ReadDecimal("+-2"), 0);
  EXPECT_EQ(ReadDecimal(""), 0);
  EXPECT_EQ(ReadDecimal("abc"), 0);
  EXPECT_EQ(ReadDecimal("007"), 7);
  EXPECT_EQ(ReadDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ReadDecimal("2147483648"), 2147483647);
  EXPECT_EQ(ReadDecimal("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ReadDecimal("-99999999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(ReadDecimal(std::string(5000, '9')), 2147483647);
  EXPECT_EQ(ReadDecimal("-"), 0);
  EXPECT_EQ(ReadDecimal(std::string("1\0" "2", 3)), 1);
}

}  // namespace
}  // namespace vt
