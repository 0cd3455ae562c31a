// The availability column of a game row: whether this account can play the game now.
#pragma once

#include <cstdint>
#include <string_view>

namespace vt {

inline constexpr std::string_view kMarkAvailable = "Available";
inline constexpr std::string_view kMarkUnavailable = "UnAvailable";
inline constexpr std::string_view kMarkPreferred = "Preferred";

// One of the three marks (each a literal, so its data() ends with a zero). "Available" when the
// copies text starts with a number above 0; otherwise "UnAvailable" for a full account ("True"
// exactly), "Preferred" when copies are free for full accounts only, else "UnAvailable".
std::string_view AvailabilityMark(std::string_view availableCopies, std::int32_t fullAccountCopies,
                                  std::string_view fullAccount);

}  // namespace vt
