// The service's data file: any text loads or is refused with a reason, never half-way.
#include <string>

#include "fuzz/FuzzCheck.h"
#include "tools/vtservice/Catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const auto catalogue = vt::service::Catalogue::Parse(
      std::string_view(reinterpret_cast<const char*>(data), size), &error);
  FUZZ_CHECK(catalogue.has_value() || !error.empty());
  return 0;
}
