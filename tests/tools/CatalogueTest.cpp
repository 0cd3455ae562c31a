// The data file: what a valid file yields, and that every fault is refused with its line. What the
// sample data gives the user is the end-to-end browser runs'; loading a file, the round trip's.
#include <gtest/gtest.h>

#include <string>

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
      {std::string("game|NES|K|1|1|A\0B\n", 19), "line 1"},
      {longTitle + "\n", "line 1"},
  };
  for (const auto& [text, where] : cases) {
    std::string error;
    EXPECT_FALSE(Catalogue::Parse(text, &error)) << text;
    EXPECT_NE(error.find(where), std::string::npos) << text << " -> " << error;
  }
  EXPECT_TRUE(Catalogue::Parse(longTitle.substr(0, longTitle.size() - 1), nullptr));
}

}  // namespace
}  // namespace vt::service
