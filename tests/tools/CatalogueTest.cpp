// What the service parses. The data file: what a valid file yields (the sample data: the
// end-to-end runs; loading a file: the round trip).
// Title patterns: the letter ranges and search texts the client sends, the ERE features a user
// may type, what is refused, and shapes that would make a backtracking engine explode.
#include <gtest/gtest.h>

#include <string>

#include "tools/vtservice/Catalogue.h"
#include "tools/vtservice/TitlePattern.h"

namespace vt::service {
namespace {

TEST(CatalogueFile, ParsesAccountsAndGamesWithTitlesKeptWhole) {
  std::string error;
  auto cat = Catalogue::Parse(
      "# comment\r\n\naccount|full|ann|pa|ss\r\ngame|SNES|S-1|0|7|Pipes | Valves: 2\n", &error);
  ASSERT_TRUE(cat) << error;
  const Account* ann = cat->FindAccount("ann");
  ASSERT_TRUE(ann);
  EXPECT_EQ(ann->password, "pa|ss");
  EXPECT_TRUE(ann->full);
  const Game* g = cat->FindGame("S-1");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->alias + "/" + g->title, "SNES/Pipes | Valves: 2");
  EXPECT_EQ(g->freeCopies * 100 + g->fullCopies, 7);
}

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
