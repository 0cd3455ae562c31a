// Title patterns: the letter ranges and search texts the client sends, the ERE features a
// user may type, what is rejected, and that no input breaks the engine.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "tools/vtservice/TitlePattern.h"

namespace vt::service {
namespace {

bool Match(const char* pattern, const char* title) {
  auto p = TitlePattern::Compile(pattern);
  EXPECT_TRUE(p) << pattern;
  return p && p->Matches(title);
}

TEST(TitlePattern, LetterRangesMatchTheFirstCharacterInEitherCase) {
  EXPECT_TRUE(Match("^[a-b]", "Alpha Squadron"));
  EXPECT_TRUE(Match("^[a-b]", "beta Run"));
  EXPECT_TRUE(Match("^[A-B]", "bubble"));
  EXPECT_FALSE(Match("^[a-b]", "Cobalt"));
  EXPECT_FALSE(Match("^[a-b]", " Alpha"));  // anchored: the first byte counts
  EXPECT_TRUE(Match("^[0-9]", "3 Pawns"));
  EXPECT_FALSE(Match("^[0-9]", "Pawns 3"));
  EXPECT_TRUE(Match("^[y-z]", "Zephyr"));
  // "^[0-z]" spans digits, capitals, some punctuation and small letters.
  EXPECT_TRUE(Match("^[0-z]", "9 Lives"));
  EXPECT_TRUE(Match("^[0-z]", "eXtreme"));
  EXPECT_TRUE(Match("^[0-z]", "[Bracketed]"));
  EXPECT_FALSE(Match("^[0-z]", "'Round the Bend"));
  EXPECT_FALSE(Match("^[0-z]", ""));
}

// Plain search texts match where a case-blind search finds them: the fuzz target's invariant.
TEST(TitlePattern, EmptySearchTextMatchesEverything) {
  EXPECT_TRUE(Match("", "Anything"));
  EXPECT_TRUE(Match("", ""));
}

TEST(TitlePattern, ExtendedSyntax) {
  EXPECT_TRUE(Match("^(amber|coral) ", "Coral Reef"));
  EXPECT_FALSE(Match("^(amber|coral) ", "Coralie"));
  EXPECT_TRUE(Match("rally$", "Bob's Rally"));
  EXPECT_FALSE(Match("rally$", "Rally Cross"));
  EXPECT_TRUE(Match("^b.b", "Bob"));
  EXPECT_TRUE(Match("^zo+m$", "Zooom"));
  EXPECT_FALSE(Match("^zo+m$", "Zm"));
  EXPECT_TRUE(Match("^colou?r$", "Color"));
  EXPECT_TRUE(Match("^a{2,3}$", "aAa"));
  EXPECT_FALSE(Match("^a{2,3}$", "aaaa"));
  EXPECT_TRUE(Match("^a{2,}$", "aaaaa"));
  EXPECT_TRUE(Match("^x{3}$", "XXX"));
  EXPECT_TRUE(Match("[^a-z ]", "Abc 1"));
  EXPECT_FALSE(Match("[^a-z ]", "Abc Def"));
  EXPECT_TRUE(Match("[]]", "a]b"));
  EXPECT_TRUE(Match("[a-]", "x-y"));
  EXPECT_FALSE(Match("^[[:digit:]]+ ", "1,000 Marbles"));
  EXPECT_TRUE(Match("^[[:digit:],]+ ", "1,000 Marbles"));
  EXPECT_TRUE(Match("[[:punct:]]", "Hey!"));
  EXPECT_TRUE(Match("\\.\\.\\.", "...And Then"));
  EXPECT_FALSE(Match("\\.\\.\\.", "And Then"));
  EXPECT_TRUE(Match("a{", "A{"));  // a brace that opens no bound is a literal
  EXPECT_TRUE(Match("(a*)*b", "aaab"));
  EXPECT_TRUE(Match("(|x)y", "y"));
}

TEST(TitlePattern, RejectsWhatItCannotMatchSafely) {
  for (const char* bad : {"[a-", "(", "(()", ")", "a)", "*a", "+", "?x", "x|*", "{2}", "a{256}", "a{3,2}", "a{2",
                          "[z-a]", "[[:nope:]]", "[[=a=]]", "\\", "(a)\\1", "a{1,999}"}) {
    EXPECT_FALSE(TitlePattern::Compile(bad)) << bad;
  }
  EXPECT_TRUE(TitlePattern::Compile(std::string(1023, 'a')));  // longer ones: the fuzz target
  EXPECT_FALSE(TitlePattern::Compile(std::string(65, '(') + std::string(65, ')')));
  EXPECT_TRUE(TitlePattern::Compile(std::string(60, '(') + "a" + std::string(60, ')')));
}

TEST(TitlePattern, PatternsThatWouldExplodeAreRejectedOrRunLinearly) {
  // Nested bounds would multiply to millions of states: rejected at the program limit.
  EXPECT_FALSE(TitlePattern::Compile("((a{255}){255}){255}"));
  // The classic exponential-backtracking shapes are answered by the linear simulation.
  std::string title(200, 'a');
  for (const char* p : {"(a*)*b", "(a|a)*b", "(a+)+$b", "^(a|aa)+c"}) {
    auto pattern = TitlePattern::Compile(p);
    ASSERT_TRUE(pattern) << p;
    EXPECT_FALSE(pattern->Matches(title)) << p;
  }
}

}  // namespace
}  // namespace vt::service
