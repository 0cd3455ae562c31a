// Gens's "gens.cfg": the eight "Pn.Key=value" lines of one player.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "input/ControllerConfig.h"

namespace vt {

// Fills the player's eight value texts, codes and display names; false (config untouched) when
// the player is not 1 or 2 or any of the eight keys is missing.
bool ReadGensBindings(std::string_view text, int player, ControllerConfig& config);
// The text with the player's block (first "Pn.Up" to the end of the first "Pn.C" line) rewritten
// from the value texts; nullopt when the block cannot be found whole.
std::optional<std::string> WriteGensBindings(std::string_view text, int player, const ControllerConfig& config);

bool LoadGensConfig(ControllerConfig& config, int player);
bool SaveGensConfig(const ControllerConfig& config, int player);

}  // namespace vt
