// The one way numbers are read from texts: leading white space, an optional sign, decimal digits
// up to the first other character; no digits give 0. Values beyond 32 bits saturate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vt {

std::int32_t ReadDecimal(std::string_view text);

}  // namespace vt
