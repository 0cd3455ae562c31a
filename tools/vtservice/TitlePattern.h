// Title patterns of the catalogue query: POSIX extended regular expressions, matched
// case-insensitively anywhere in a title, the way the service's catalogue has always matched
// them ("^[a-b]" finds "Alpha" and "beta").
//
// Patterns come straight from clients, so the engine is our own: a parser with fixed limits
// and a Thompson-style simulation whose cost is linear in the title length and bounded by the
// program size. No pattern can recurse deeply, backtrack exponentially or grow memory without
// bound; a pattern outside the supported language is simply invalid.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt::service {

class TitlePattern {
public:
  // Longest pattern text accepted, and the largest program a pattern may compile to.
  static constexpr std::size_t kMaxPatternBytes = 1023;
  static constexpr std::size_t kMaxProgram = 2000;

  // Supported: literals, ".", "^", "$", bracket expressions with ranges, negation and the
  // classes [:alpha:] [:digit:] [:alnum:] [:upper:] [:lower:] [:space:] [:punct:] [:xdigit:],
  // "*", "+", "?", bounds "{m}", "{m,}", "{m,n}" (up to 255), "|", groups, and "\" before any
  // character but a digit (back-references are not supported). nullopt means invalid.
  static std::optional<TitlePattern> Compile(std::string_view pattern);

  bool Matches(std::string_view title) const;

private:
  enum class Op : std::uint8_t { Char, Any, Class, Split, Jmp, Bol, Eol, Match };
  struct Inst {
    Op op;
    std::uint8_t ch = 0;
    std::uint32_t x = 0;  // Class index, or jump target
    std::uint32_t y = 0;  // second Split target
  };
  friend class PatternCompiler;

  std::vector<Inst> program_;
  std::vector<std::bitset<256>> classes_;
};

}  // namespace vt::service
