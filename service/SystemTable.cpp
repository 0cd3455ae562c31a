#include "service/SystemTable.h"

namespace vt {

namespace {
constexpr SystemRow kRows[] = {
    {"NES", "VTNES://", false, false, "NES"},
    {"SNES", "zsnes://", true, false, "SNES"},
    {"2600", "VTA26://", false, true, "Atari 2600"},
    {"GEN", "VTGEN://", true, false, "Genesis"},
    {"GBC", "VTGBC://", true, false, "Game Boy"},
    {"SMS", "VTSMS://", true, false, "Master System"},
    {"SGG", "VTSMS://", true, false, "Game Gear"},
    {"COL", "VTSMS://", false, false, "ColecoVision"},
};
constexpr SystemRow kOther = {"", "VTNES://", false, false, ""};
}  // namespace

const SystemRow& LookUpSystem(std::string_view alias) {
  for (const SystemRow& row : kRows)
    if (row.alias == alias) return row;
  return kOther;
}

std::string QueryAliasText(const std::string& system) {
  return system == "GBC" ? "GB' OR Alias='GBC" : system;
}

std::string ConsoleName(const std::string& alias) {
  const SystemRow& row = LookUpSystem(alias);
  return row.console.empty() ? "\"" + alias + "\"" : std::string(row.console);
}

}  // namespace vt
