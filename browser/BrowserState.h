// What the browser keeps between runs: the system, the pattern and the start counter, as three
// untyped per-user values of Software\Vintara (the user's key, then the machine key's).
#pragma once

#include <cstddef>
#include <cstdint>

#include <string>

#include "platform/SettingsStore.h"

namespace vt {

inline constexpr size_t kSavedSystemBuffer = 20;
inline constexpr size_t kSavedSearchBuffer = 255;
inline constexpr const char* kDefaultSystem = "NES";
inline constexpr const char* kDefaultFilter = "^[a-b]";

// "SYSTEM", "SEARCH" (the characters, no terminator) and "COUNT" (the low byte of startCount),
// type 0, in that order, through one opening of the user's key; nothing on a client whose machine
// key is missing.
void SaveBrowserState(SettingsStore& settings, const std::string& system,
                      const std::string& pattern, std::int32_t startCount);

// Reads the three values and applies them: the saved system or "NES", the saved pattern or
// "^[a-b]", the low byte of startCount from COUNT (the rest of it untouched). A value that does
// not fit its buffer with a terminating zero counts as absent.
void RestoreBrowserState(SettingsStore& settings, std::string& system, std::string& pattern,
                         std::int32_t& startCount);

}  // namespace vt
