// The rules by which the client reads a number from a text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vt {

// Skips leading white space, takes an optional '+' or '-', then the decimal digits up to the
// first other byte; no digits give 0. Values beyond the 32-bit range saturate at its ends.
int32_t ReadDecimal(std::string_view text);

// A number of a command line (a port, an index): decimal digits only, at most `max`; nullopt for
// anything else (empty, a sign, a blank, too large).
std::optional<uint64_t> ReadDigits(std::string_view text, uint64_t max);

}  // namespace vt
