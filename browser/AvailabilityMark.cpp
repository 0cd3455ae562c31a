#include "browser/AvailabilityMark.h"

#include "text/Decimal.h"

namespace vt {

std::string_view AvailabilityMark(std::string_view availableCopies, std::int32_t fullAccountCopies,
                                  std::string_view fullAccount) {
  if (ReadDecimal(availableCopies) > 0) return kMarkAvailable;
  if (fullAccount == "True") return kMarkUnavailable;
  if (fullAccountCopies > 0) return kMarkPreferred;
  return kMarkUnavailable;
}

}  // namespace vt
