// The one rule by which the client reads a number from a text.
#pragma once

#include <cstdint>
#include <string_view>

namespace vt {

// Skips leading white space, takes an optional '+' or '-', then the decimal digits up to the
// first other byte; no digits give 0. Values beyond the 32-bit range saturate at its ends.
int32_t ReadDecimal(std::string_view text);

}  // namespace vt
