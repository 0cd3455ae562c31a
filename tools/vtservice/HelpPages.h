// The controls help page of each console's emulator, as the set-up windows' Advanced
// button opens them.
#pragma once

#include <span>
#include <string_view>

namespace vt::service {

struct HelpPage {
  std::string_view file;  // path below the web root, e.g. "NES_HELP.php"
  std::string_view title;
  std::string_view body;  // HTML
};

std::span<const HelpPage> HelpPages();

}  // namespace vt::service
