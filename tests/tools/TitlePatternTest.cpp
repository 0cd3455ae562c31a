// Title patterns: the letter ranges and search texts the client sends, the ERE features a user
// may type, what is refused, and shapes that would make a backtracking engine explode.
#include <gtest/gtest.h>

#include <string>

#include "tools/vtservice/TitlePattern.h"

namespace vt::service {
namespace {

constexpr int kRefused = -1;

TEST(TitlePattern, MatchesWithoutCaseOrIsRefused) {
  const std::string as(200, 'a');
  const struct {
    std::string pattern, title;
    int matches;  // 1, 0, or kRefused
  } cases[] = {
      // Letter ranges: the first byte counts, in either case.
      {"^[a-b]", "Alpha Squadron", 1}, {"^[a-b]", "beta Run", 1}, {"^[A-B]", "bubble", 1},
      {"^[a-b]", "Cobalt", 0}, {"^[a-b]", " Alpha", 0}, {"^[0-9]", "3 Pawns", 1},
      {"^[0-9]", "Pawns 3", 0}, {"^[y-z]", "Zephyr", 1},
      // "^[0-z]" spans digits, capitals, some punctuation and small letters.
      {"^[0-z]", "9 Lives", 1}, {"^[0-z]", "[Bracketed]", 1}, {"^[0-z]", "'Round", 0},
      {"^[0-z]", "", 0}, {"", "", 1}, {"", "Anything", 1},
      // What a user may type.
      {"^(amber|coral) ", "Coral Reef", 1}, {"^(amber|coral) ", "Coralie", 0},
      {"rally$", "Bob's Rally", 1}, {"rally$", "Rally Cross", 0}, {"^b.b", "Bob", 1},
      {"^zo+m$", "Zooom", 1}, {"^zo+m$", "Zm", 0}, {"^colou?r$", "Color", 1},
      {"^a{2,3}$", "aAa", 1}, {"^a{2,3}$", "aaaa", 0}, {"^a{2,}$", "aaaaa", 1},
      {"^x{3}$", "XXX", 1}, {"[^a-z ]", "Abc 1", 1}, {"[^a-z ]", "Abc Def", 0},
      {"[]]", "a]b", 1}, {"[a-]", "x-y", 1}, {"^[[:digit:]]+ ", "1,000 Marbles", 0},
      {"^[[:digit:],]+ ", "1,000 Marbles", 1}, {"[[:punct:]]", "Hey!", 1},
      {"\\.\\.\\.", "...And Then", 1}, {"\\.\\.\\.", "And Then", 0},
      {"a{", "A{", 1},  // a brace that opens no bound is a literal
      {"(|x)y", "y", 1},
      // The classic exponential-backtracking shapes run linearly.
      {"(a*)*b", "aaab", 1}, {"(a*)*b", as, 0}, {"(a|a)*b", as, 0}, {"(a+)+$b", as, 0},
      {"^(a|aa)+c", as, 0},
      // Refused: malformed, unsupported, or bounds that multiply past the program limit.
      {"[a-", "", kRefused}, {"(", "", kRefused}, {"(()", "", kRefused}, {")", "", kRefused},
      {"a)", "", kRefused}, {"*a", "", kRefused}, {"+", "", kRefused}, {"?x", "", kRefused},
      {"x|*", "", kRefused}, {"{2}", "", kRefused}, {"a{256}", "", kRefused},
      {"a{3,2}", "", kRefused}, {"a{2", "", kRefused}, {"[z-a]", "", kRefused},
      {"[[:nope:]]", "", kRefused}, {"[[=a=]]", "", kRefused}, {"\\", "", kRefused},
      {"(a)\\1", "", kRefused}, {"a{1,999}", "", kRefused},
      {"((a{255}){255}){255}", "", kRefused},
      {std::string(65, '(') + std::string(65, ')'), "", kRefused},
      {std::string(60, '(') + "a" + std::string(60, ')'), "A", 1},
      {std::string(1023, 'a'), as, 0},
  };
  for (const auto& c : cases) {
    const auto p = TitlePattern::Compile(c.pattern);
    EXPECT_EQ(p ? p->Matches(c.title) : kRefused, c.matches) << c.pattern << " on " << c.title;
  }
}

}  // namespace
}  // namespace vt::service
