// The title patterns vtservice matches: the letter ranges and search texts the client sends, the
// ERE features a user may type, what is refused, and shapes that would make a backtracking
// engine explode. (Its data file: the round trip's and the sample data's runs.)
#include <gtest/gtest.h>

#include <string>

#include "tools/vtservice/TitlePattern.h"

namespace vt::service {
namespace {

constexpr int kRefused = -1;

TEST(TitlePattern, MatchesWithoutCaseOrIsRefused) {
  const std::string as(200, 'a');
  // clang-format off
  const struct {
    std::string pattern, title;
    int matches;  // 1, 0, or kRefused
  } cases[] = {
      // Letter ranges: the first byte counts, in either case; "^[0-z]" spans digits to letters.
      {"^[a-b]", "beta Run", 1}, {"^[A-B]", "bubble", 1}, {"^[a-b]", " Alpha", 0},
      {"^[0-9]", "3 Pawns", 1}, {"^[0-z]", "[Bracketed]", 1}, {"^[0-z]", "'Round", 0},
      {"", "Anything", 1},
      // What a user may type.
      {"^(amber|coral) ", "Coral Reef", 1}, {"^(amber|coral) ", "Coralie", 0},
      {"rally$", "Rally Cross", 0}, {"^b.b", "Bob", 1}, {"^zo+m$", "Zm", 0},
      {"^colou?r$", "Color", 1}, {"^a{2,3}$", "aaaa", 0}, {"^x{3}$", "XXX", 1},
      {"[^a-z ]", "Abc Def", 0}, {"[]]", "a]b", 1}, {"[[:punct:]]", "Hey!", 1},
      {"\\.\\.\\.", "And Then", 0}, {"a{", "A{", 1}, {"(|x)y", "y", 1},
      // The classic exponential-backtracking shapes run linearly.
      {"(a*)*b", as, 0}, {"(a|a)*b", as, 0}, {"^(a|aa)+c", as, 0},
      // Refused: malformed, unsupported, or bounds that multiply past the program limit.
      {"[a-", "", kRefused}, {"(()", "", kRefused}, {"a)", "", kRefused}, {"*a", "", kRefused},
      {"x|*", "", kRefused}, {"a{3,2}", "", kRefused}, {"[z-a]", "", kRefused},
      {"[[=a=]]", "", kRefused}, {"(a)\\1", "", kRefused}, {"((a{255}){255}){255}", "", kRefused},
      {std::string(65, '(') + std::string(65, ')'), "", kRefused},
      {std::string(60, '(') + "a" + std::string(60, ')'), "A", 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    const auto p = TitlePattern::Compile(c.pattern);
    EXPECT_EQ(p ? p->Matches(c.title) : kRefused, c.matches) << c.pattern << " on " << c.title;
  }
}

}  // namespace
}  // namespace vt::service
