// The service's title patterns, straight from clients: any pattern compiles or is refused
// within its limits, any title is matched in time linear in its length, and a pattern of plain
// letters, digits, blanks and apostrophes matches exactly where a case-blind search finds it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "tools/vtservice/TitlePattern.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string pattern = in.ConsumeRandomLengthString(1100);
  const std::string title = in.ConsumeRemainingBytesAsString();
  const auto compiled = vt::service::TitlePattern::Compile(pattern);
  if (pattern.size() > vt::service::TitlePattern::kMaxPatternBytes) FUZZ_CHECK(!compiled);
  if (!compiled) return 0;
  const bool matches = compiled->Matches(title);
  auto plain = [](unsigned char c) { return std::isalnum(c) || c == ' ' || c == '\''; };
  if (!pattern.empty() && std::all_of(pattern.begin(), pattern.end(), plain)) {
    auto lower = [](std::string s) {
      for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return s;
    };
    FUZZ_CHECK(matches == (lower(title).find(lower(pattern)) != std::string::npos));
  }
  return 0;
}
