// Splitting a command line the way Windows starts a program from one.
#pragma once

#include <string>
#include <vector>

namespace vt {

// The program path runs to the first blank or tab, or, when the line begins with a double quote,
// to the closing quote (quotes removed). The rest is split into arguments by the C runtime's
// rules: blanks separate outside quotes, quotes group, 2n backslashes before a quote give n and
// the quote toggles, 2n+1 give n and a literal quote, other backslashes are literal.
std::vector<std::string> SplitCommandLine(const std::string& line);

}  // namespace vt
