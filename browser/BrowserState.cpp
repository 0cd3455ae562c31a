#include "browser/BrowserState.h"

#include <string>

#include "service/Endpoints.h"

namespace vt {

void SaveBrowserState(SettingsStore& settings, const std::string& system,
                      const std::string& pattern, std::int32_t startCount) {
  const char count = static_cast<char>(static_cast<std::uint32_t>(startCount) & 0xFF);
  const NamedValue values[] = {{"SYSTEM", kTypeNone, system},
                               {"SEARCH", kTypeNone, pattern},
                               {"COUNT", kTypeNone, std::string_view(&count, 1)}};
  WriteClientValues(settings, values);  // results are not examined
}

void RestoreBrowserState(SettingsStore& settings, std::string& system, std::string& pattern,
                         std::int32_t& startCount) {
  auto text = [&settings](const char* name, size_t buffer) {
    return ReadClientText(settings, name, buffer, FullBuffer::Absent).value_or(std::string());
  };
  const std::string savedSystem = text("SYSTEM", kSavedSystemBuffer);
  const std::string search = text("SEARCH", kSavedSearchBuffer);
  // One byte into the low byte of the counter; an empty value changes nothing.
  if (auto count = ReadClientBytes(settings, "COUNT", 1); count && !count->empty())
    startCount = static_cast<std::int32_t>((static_cast<std::uint32_t>(startCount) & ~0xFFu) |
                                           static_cast<unsigned char>((*count)[0]));
  system = savedSystem.empty() ? std::string(kDefaultSystem) : savedSystem;
  pattern = search.empty() ? std::string(kDefaultFilter) : search;
}

}  // namespace vt
