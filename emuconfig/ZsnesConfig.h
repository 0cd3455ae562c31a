// ZSNES's "zsnesw.cfg": one "ScanKeyn = " line of twelve comma-separated codes per player.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "input/ControllerConfig.h"

namespace vt {

// Fills the twelve codes, value texts, display names and the ScanKey list; false (config
// untouched) when the player's word is missing, is not followed by " = ", or its line has fewer
// than eleven commas.
bool ReadZsnesBindings(std::string_view text, int player, ControllerConfig& config);
// The text with the value of the player's line replaced by the ScanKey list; nullopt when the
// word is missing or not followed by " = ".
std::optional<std::string> WriteZsnesBindings(std::string_view text, int player, const ControllerConfig& config);

bool LoadZsnesConfig(ControllerConfig& config, int player);
bool SaveZsnesConfig(const ControllerConfig& config, int player);

}  // namespace vt
