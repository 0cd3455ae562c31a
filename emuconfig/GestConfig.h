// Gest's "gest.cfg": six text lines, then binary settings with the sixteen binding bytes at fixed
// distances from the end of the sixth line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "input/ControllerConfig.h"

namespace vt {

inline constexpr std::size_t kGestBufferBytes = 10240;

// Fills the sixteen codes and the Game Boy names; false (config untouched) when the first 2048
// bytes hold fewer than six line feeds. Bytes past the end of a short file read as 0, as the
// writer would pad them.
bool ReadGestBindings(std::string_view bytes, ControllerConfig& config);
// The bytes padded to 10240 with zeros (a longer file keeps its extra bytes) and patched; nullopt
// when the six lines are not there.
std::optional<std::string> WriteGestBindings(std::string_view bytes, const ControllerConfig& config);

bool LoadGestConfig(ControllerConfig& config);
bool SaveGestConfig(const ControllerConfig& config);

}  // namespace vt
