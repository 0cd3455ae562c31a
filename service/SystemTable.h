// The eight consoles the game server knows, by alias.
#pragma once

#include <string>
#include <string_view>

namespace vt {

struct SystemRow {
  std::string_view alias;
  std::string_view scheme;   // beginning of the launch address
  bool needsFullAccount;     // only full accounts may launch its games
  bool quoteAddress;         // the launch address goes in double quotes on the command line
  std::string_view console;  // the console's name as a person knows it
};

// Exact, case-sensitive lookup; any other alias (the empty one included) gets the fallback row
// ("VTNES://", no full account, no quotes) with its alias field empty.
const SystemRow& LookUpSystem(std::string_view alias);

// The alias text the catalogue query sends for a system: the server files Game Boy Color games
// under two aliases and is asked for both.
std::string QueryAliasText(const std::string& system);

// The console's name for messages: the row's name, or the alias itself for an unknown one.
std::string ConsoleName(const std::string& alias);

}  // namespace vt
