// The mark of a row from its copies, its full-account copies and the account's tier.
#include "browser/AvailabilityMark.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(AvailabilityMark, AvailableWithFreeCopiesElsePreferredWhenOnlyFullAccountsHaveSome) {
  const struct {
    const char* copies;
    int32_t full;
    const char* tier;
    std::string_view mark;
  } cases[] = {
      {"3", 0, "False", kMarkAvailable},      {"3", 0, "True", kMarkAvailable},
      {" +2x", 5, "", kMarkAvailable},        {"0", 5, "True", kMarkUnavailable},
      {"0", 1, "False", kMarkPreferred},      {"0", 0, "False", kMarkUnavailable},
      {"-2", 4, "False", kMarkPreferred},     {"-2", 4, "True", kMarkUnavailable},
      {"copies", 1, "False", kMarkPreferred}, {"", 0, "False", kMarkUnavailable},
      {"0", 1, "", kMarkPreferred},           {"0", 1, "true", kMarkPreferred},
      {"0", -1, "maybe", kMarkUnavailable},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AvailabilityMark(c.copies, c.full, c.tier), c.mark)
        << '"' << c.copies << "\" " << c.full << " \"" << c.tier << '"';
}

}  // namespace
}  // namespace vt
