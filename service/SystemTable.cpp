#include "service/SystemTable.h"

namespace vt {

namespace {
constexpr SystemRow kRows[] = {
    {"NES", "VTNES://", false, false},  {"SNES", "zsnes://", true, false},
    {"2600", "VTA26://", false, true},  {"GEN", "VTGEN://", true, false},
    {"GBC", "VTGBC://", true, false},   {"SMS", "VTSMS://", true, false},
    {"SGG", "VTSMS://", true, false},   {"COL", "VTSMS://", false, false},
};
constexpr SystemRow kOther = {"", "VTNES://", false, false};
}  // namespace

const SystemRow& LookUpSystem(std::string_view alias) {
  for (const SystemRow& row : kRows)
    if (row.alias == alias) return row;
  return kOther;
}

std::string QueryAliasText(const std::string& system) {
  return system == "GBC" ? "GB' OR Alias='GBC" : system;
}

}  // namespace vt
