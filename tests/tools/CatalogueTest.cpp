// The data file: what a valid file yields, that every fault is refused with its line, the
// alias-text parser, and that the sample data covers what the client shows.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "tests/support/TempDir.h"
#include "tools/vtservice/Catalogue.h"
#include "tools/vtservice/TitlePattern.h"

namespace vt::service {
namespace {

TEST(CatalogueFile, ParsesAccountsAndGamesWithTitlesKeptWhole) {
  std::string error;
  auto cat = Catalogue::Parse("# comment\r\n\naccount|full|ann|pa|ss\r\ngame|SNES|S-1|0|7|Pipes | Valves: 2\n", &error);
  ASSERT_TRUE(cat) << error;
  const Account* ann = cat->FindAccount("ann");
  ASSERT_TRUE(ann);
  EXPECT_EQ(ann->password, "pa|ss");
  EXPECT_TRUE(ann->full);
  const Game* g = cat->FindGame("S-1");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->alias, "SNES");
  EXPECT_EQ(g->title, "Pipes | Valves: 2");
  EXPECT_EQ(g->freeCopies, 0);
  EXPECT_EQ(g->fullCopies, 7);
  EXPECT_FALSE(cat->FindAccount("Ann"));
}

TEST(CatalogueFile, RefusesEveryFaultNamingItsLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"account|gold|a|b\n", "line 1"},
      {"\naccount|free|a\n", "line 2"},
      {"account|free||b\n", "line 1"},
      {"account|free|a|b\naccount|full|a|c\n", "line 2"},
      {"game|NES|K|1|1\n", "line 1"},
      {"game|N-S|K|1|1|T\n", "line 1"},
      {"game|NES|K K|1|1|T\n", "line 1"},
      {"game|NES|K|-1|1|T\n", "line 1"},
      {"game|NES|K|10000|1|T\n", "line 1"},
      {"game|NES|K|1|x|T\n", "line 1"},
      {"game|NES|K|1|1|\n", "line 1"},
      {"game|NES|K|1|1|Tab\there\n", "line 1"},
      {"game|NES|K|1|1|A\ngame|GB|K|1|1|B\n", "line 2"},
      {"games|NES|K|1|1|T\n", "line 1"},
      {"junk\n", "line 1"},
  };
  for (const auto& [text, where] : cases) {
    std::string error;
    EXPECT_FALSE(Catalogue::Parse(text, &error)) << text;
    EXPECT_NE(error.find(where), std::string::npos) << text << " -> " << error;
  }
  std::string withNul("game|NES|K|1|1|A\0B\n", 19);
  EXPECT_FALSE(Catalogue::Parse(withNul, nullptr));
  EXPECT_FALSE(Catalogue::Parse("game|NES|K|1|1|" + std::string(Catalogue::kMaxTitle + 1, 't') + "\n", nullptr));
  EXPECT_TRUE(Catalogue::Parse("game|NES|K|1|1|" + std::string(Catalogue::kMaxTitle, 't') + "\n", nullptr));
}

TEST(CatalogueFile, LoadReportsAMissingFileAndReadsARealOne) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(Catalogue::Load(dir.File("absent.txt"), &error));
  EXPECT_NE(error.find("absent.txt"), std::string::npos);
  test::WriteFileBytes(dir.File("data.txt"), "account|free|a|b\ngame|COL|C1|1|1|Hop\ngame|COL|C2|1|1");
  EXPECT_FALSE(Catalogue::Load(dir.File("data.txt"), &error));  // truncated last line
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  test::WriteFileBytes(dir.File("data.txt"), "account|free|a|b\ngame|COL|C1|1|1|Hop");
  auto cat = Catalogue::Load(dir.File("data.txt"), &error);
  ASSERT_TRUE(cat) << error;
  EXPECT_EQ(cat->games().size(), 1u);
}

TEST(AliasText, OneAliasOrSeveralJoinedTheClientsWay) {
  EXPECT_EQ(ParseAliasText("NES"), (std::vector<std::string>{"NES"}));
  EXPECT_EQ(ParseAliasText("GB' OR Alias='GBC"), (std::vector<std::string>{"GB", "GBC"}));
  EXPECT_EQ(ParseAliasText("2600' OR Alias='COL' OR Alias='SGG"), (std::vector<std::string>{"2600", "COL", "SGG"}));
  for (const char* bad : {"", "GB'", "GB' OR Alias='", "' OR Alias='GBC", "NES; DROP", "NES' OR '1'='1",
                          "GB' or Alias='GBC", "GB'  OR Alias='GBC"}) {
    EXPECT_FALSE(ParseAliasText(bad)) << bad;
  }
}

class SampleData : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    auto cat = Catalogue::Load(VT_SAMPLE_DATA, &error);
    ASSERT_TRUE(cat) << error;
    cat_ = std::move(*cat);
  }
  std::vector<const Game*> Select(const std::string& alias, const std::string& pattern) const {
    return cat_.Select({alias}, *TitlePattern::Compile(pattern));
  }
  Catalogue cat_;
};

TEST_F(SampleData, HasTheFirstTryAccountsAndEveryTier) {
  const Account* demo = cat_.FindAccount("demo");
  ASSERT_TRUE(demo);
  EXPECT_EQ(demo->password, "demo");
  EXPECT_FALSE(demo->full);
  const Account* player = cat_.FindAccount("player");
  ASSERT_TRUE(player);
  EXPECT_EQ(player->password, "player");
  EXPECT_TRUE(player->full);
  int free = 0, full = 0;
  for (const Account& a : cat_.accounts()) (a.full ? full : free)++;
  EXPECT_GE(free, 2);
  EXPECT_GE(full, 2);
}

TEST_F(SampleData, EveryAliasHasGamesInEveryLetterRangeAndDigits) {
  EXPECT_GE(cat_.games().size(), 300u);
  const char* ranges[] = {"^[0-9]", "^[a-b]", "^[c-d]", "^[e-f]", "^[g-h]", "^[i-j]", "^[k-l]", "^[m-n]",
                          "^[o-p]", "^[q-r]", "^[s-t]", "^[u-v]", "^[w-x]", "^[y-z]"};
  for (const char* alias : {"NES", "SNES", "2600", "GEN", "GB", "GBC", "SMS", "SGG", "COL"}) {
    for (const char* range : ranges) EXPECT_FALSE(Select(alias, range).empty()) << alias << " " << range;
  }
}

TEST_F(SampleData, TitlesIncludeBlanksApostrophesAndOtherCharacters) {
  bool apostrophe = false, nonLetterStart = false, lowerStart = false;
  for (const Game& g : cat_.games()) {
    apostrophe |= g.title.find('\'') != std::string::npos;
    unsigned char first = static_cast<unsigned char>(g.title[0]);
    nonLetterStart |= !std::isalnum(first);
    lowerStart |= std::islower(first) != 0;
  }
  EXPECT_TRUE(apostrophe);
  EXPECT_TRUE(nonLetterStart);
  EXPECT_TRUE(lowerStart);
}

TEST_F(SampleData, AFreeAccountSeesAllThreeMarksOnEveryConsole) {
  for (const char* alias : {"NES", "SNES", "2600", "GEN", "GB", "GBC", "SMS", "SGG", "COL"}) {
    std::set<std::string> marks;
    for (const Game* g : Select(alias, "")) {
      // The browser's rule for an account that is not full.
      marks.insert(g->freeCopies > 0 ? "Available" : g->fullCopies > 0 ? "Preferred" : "UnAvailable");
      EXPECT_LE(g->freeCopies, g->fullCopies) << g->key;  // free copies are a share of all
    }
    EXPECT_EQ(marks.size(), 3u) << alias;
  }
}

}  // namespace
}  // namespace vt::service
