// MEKA's "meka.inp": the keyboard and joypad sections of players 1 and 2.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "input/ControllerConfig.h"

namespace vt {

// Fills the player's fourteen codes and the Master System names; false (config untouched) when
// a section or one of the binding values cannot be found.
bool ReadMekaBindings(std::string_view text, int player, ControllerConfig& config);
// The text with the player's binding lines rewritten from the display names; nullopt when the
// words that bound the replaced stretches are missing or out of order.
std::optional<std::string> WriteMekaBindings(std::string_view text, int player, const ControllerConfig& config);

bool LoadMekaConfig(ControllerConfig& config, int player);
bool SaveMekaConfig(const ControllerConfig& config, int player);

}  // namespace vt
