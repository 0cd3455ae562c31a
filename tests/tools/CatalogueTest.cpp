// The data file: what a valid file yields, that every fault is refused with its line, and the
// alias-text parser. What the sample data gives the user is the end-to-end browser runs'.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempDir.h"
#include "tools/vtservice/Catalogue.h"

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

}  // namespace
}  // namespace vt::service
