// The data file: what a valid file yields, that every fault is refused with its line, the
// alias-text parser, and that the sample data covers what the client shows.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "tests/support/TempDir.h"
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
  EXPECT_FALSE(cat->FindAccount("Ann"));
  const Game* g = cat->FindGame("S-1");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->alias + "/" + g->title, "SNES/Pipes | Valves: 2");
  EXPECT_EQ(g->freeCopies * 100 + g->fullCopies, 7);
}

TEST(CatalogueFile, RefusesEveryFaultNamingItsLine) {
  const std::string longTitle = "game|NES|K|1|1|" + std::string(Catalogue::kMaxTitle + 1, 't');
  const std::pair<std::string, const char*> cases[] = {
      {"account|gold|a|b\n", "line 1"}, {"\naccount|free|a\n", "line 2"},
      {"account|free||b\n", "line 1"}, {"account|free|a|b\naccount|full|a|c\n", "line 2"},
      {"game|NES|K|1|1\n", "line 1"}, {"game|N-S|K|1|1|T\n", "line 1"},
      {"game|NES|K K|1|1|T\n", "line 1"}, {"game|NES|K|-1|1|T\n", "line 1"},
      {"game|NES|K|10000|1|T\n", "line 1"}, {"game|NES|K|1|x|T\n", "line 1"},
      {"game|NES|K|1|1|\n", "line 1"}, {"game|NES|K|1|1|Tab\there\n", "line 1"},
      {"game|NES|K|1|1|A\ngame|GB|K|1|1|B\n", "line 2"}, {"games|NES|K|1|1|T\n", "line 1"},
      {"junk\n", "line 1"}, {std::string("game|NES|K|1|1|A\0B\n", 19), "line 1"},
      {longTitle + "\n", "line 1"},
  };
  for (const auto& [text, where] : cases) {
    std::string error;
    EXPECT_FALSE(Catalogue::Parse(text, &error)) << text;
    EXPECT_NE(error.find(where), std::string::npos) << text << " -> " << error;
  }
  EXPECT_TRUE(Catalogue::Parse(longTitle.substr(0, longTitle.size() - 1), nullptr));
}

TEST(CatalogueFile, LoadNamesAMissingFileAndReadsALastLineWithoutItsEnd) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(Catalogue::Load(dir.File("absent.txt"), &error));
  EXPECT_NE(error.find("absent.txt"), std::string::npos);
  const std::string text = "account|free|a|b\ngame|COL|C1|1|1|Hop";
  test::WriteFileBytes(dir.File("data.txt"), text + "\ngame|COL|C2|1|1");
  EXPECT_FALSE(Catalogue::Load(dir.File("data.txt"), &error));
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  test::WriteFileBytes(dir.File("data.txt"), text);
  auto cat = Catalogue::Load(dir.File("data.txt"), &error);
  ASSERT_TRUE(cat) << error;
  EXPECT_EQ(cat->games().size(), 1u);
}

TEST(AliasText, OneAliasOrSeveralJoinedTheClientsWay) {
  using Aliases = std::vector<std::string>;
  EXPECT_EQ(ParseAliasText("NES"), Aliases{"NES"});
  EXPECT_EQ(ParseAliasText("GB' OR Alias='GBC"), (Aliases{"GB", "GBC"}));
  EXPECT_EQ(ParseAliasText("2600' OR Alias='COL' OR Alias='SGG"), (Aliases{"2600", "COL", "SGG"}));
  for (const char* bad : {"", "GB'", "GB' OR Alias='", "' OR Alias='GBC", "NES; DROP",
                          "NES' OR '1'='1", "GB' or Alias='GBC", "GB'  OR Alias='GBC"})
    EXPECT_FALSE(ParseAliasText(bad)) << bad;
}

// The sample data lets a first-time user try both tiers, every console and letter range, and see
// all three marks and titles that are not plain words.
TEST(SampleData, CoversEveryTierConsoleRangeAndMark) {
  std::string error;
  const auto cat = Catalogue::Load(VT_SAMPLE_DATA, &error);
  ASSERT_TRUE(cat) << error;
  for (const auto& [user, full] : {std::pair{"demo", false}, {"player", true}}) {
    const Account* a = cat->FindAccount(user);
    ASSERT_TRUE(a) << user;
    EXPECT_EQ(a->password, user);
    EXPECT_EQ(a->full, full);
  }
  bool apostrophe = false, nonLetterStart = false, lowerStart = false;
  for (const Game& g : cat->games()) {
    apostrophe |= g.title.find('\'') != std::string::npos;
    nonLetterStart |= !std::isalnum(static_cast<unsigned char>(g.title[0]));
    lowerStart |= std::islower(static_cast<unsigned char>(g.title[0])) != 0;
    EXPECT_LE(g.freeCopies, g.fullCopies) << g.key;  // free copies are a share of all
  }
  EXPECT_TRUE(apostrophe && nonLetterStart && lowerStart);
  for (const char* alias : {"NES", "SNES", "2600", "GEN", "GB", "GBC", "SMS", "SGG", "COL"}) {
    for (const char* range : {"^[0-9]", "^[a-b]", "^[c-d]", "^[e-f]", "^[g-h]", "^[i-j]", "^[k-l]",
                              "^[m-n]", "^[o-p]", "^[q-r]", "^[s-t]", "^[u-v]", "^[w-x]", "^[y-z]"})
      EXPECT_FALSE(cat->Select({alias}, *TitlePattern::Compile(range)).empty()) << alias << range;
    int free = 0, fullOnly = 0, none = 0;
    for (const Game* g : cat->Select({alias}, *TitlePattern::Compile(""))) {
      free += g->freeCopies > 0;
      fullOnly += g->freeCopies == 0 && g->fullCopies > 0;
      none += g->fullCopies == 0;
    }
    EXPECT_TRUE(free && fullOnly && none) << alias;
  }
}

}  // namespace
}  // namespace vt::service
