// The service's title patterns, straight from clients: any pattern compiles or is refused
// within its limits, and any title is matched in time linear in its length.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/FuzzCheck.h"
#include "tools/vtservice/TitlePattern.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string pattern = in.ConsumeRandomLengthString(1100);
  const std::string title = in.ConsumeRemainingBytesAsString();
  const auto compiled = vt::service::TitlePattern::Compile(pattern);
  if (pattern.size() > vt::service::TitlePattern::kMaxPatternBytes) FUZZ_CHECK(!compiled);
  if (compiled) compiled->Matches(title);
  return 0;
}
