// The catalogue query against the scripted game server: the exchange, record splitting, the
// error mark, failures in each phase and how each is told, count edge cases, and exact
// consumption of the socket.
#include "tests/support/SessionFixture.h"

namespace vt::test {
namespace {

class QueryGames : public SessionTest {
protected:
  void SetUp() override { ScriptGoodLogin(peer, "u", "p", "False"); }
  // A session on the peer, logged in.
  void StartLoggedIn(uint32_t receiveTimeoutMs = 2000) {
    s = MakeSession(receiveTimeoutMs);
    EXPECT_EQ(s->Login("u", "p", ui), LoginResult::SignedIn);
  }
  QueryResult Query(const std::string& alias = "NES", const std::string& pattern = "^[a-b]") {
    return s->QueryGames(alias, pattern, games);
  }
  using Texts = std::vector<std::string>;
  // Every game as "title|key|copies|full copies".
  Texts Rows() const {
    Texts out;
    for (const Game& g : games)
      out.push_back(g.title + "|" + g.key + "|" + g.copies + "|" + std::to_string(g.fullCopies));
    return out;
  }

  std::unique_ptr<ServerSession> s;
  Catalogue games;
};

// The Game Boy button asks for both Game Boy aliases, on the wire only; the pattern goes as it is.
TEST_F(QueryGames, ExchangeAndRecordSplitting) {
  const std::string alias = "GB' OR Alias='GBC", pattern = "Zelda: Link's [Awakening]* ?";
  ScriptQueryHead(peer, alias, pattern);
  peer.Send(CountField("4") + Record("Another World", "gbc-aw", "0", "2") +
            Record("Axelay", "gbc-ax", "3", "0"));
  peer.Send(Z("Battletoads\ngbc-bt\n1\n10\nextra\nfields") +
            Z("Bubsy\ngbc-bu\n 7"));  // no fourth field
  StartLoggedIn();
  ASSERT_EQ(Query("GBC", pattern), QueryResult::Ok);
  EXPECT_EQ(Rows(), (Texts{"Another World|gbc-aw|0|2", "Axelay|gbc-ax|3|0",
                           "Battletoads|gbc-bt|1|10", "Bubsy|gbc-bu| 7|0"}));
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.Received(0), GoodLoginBytes("u", "p") + QueryBytes(alias, pattern));
}

// Records "T<index>", every third one empty.
std::vector<std::string> Catalogue(int count) {
  std::vector<std::string> records(count);
  for (int i = 1; i < count; ++i)
    if (i % 3) records[i] = "T" + std::to_string(i);
  return records;
}

// The count field, the records it announces and what the server sends next, all in one segment,
// each answer on a connection of its own: the count follows the decimal rule and the client reads
// exactly through the last record's NUL, also for catalogues large enough to take bigger reads:
// what follows is the first reply of the next query, which the server answers only after it.
TEST_F(QueryGames, CountIsReadByTheDecimalRuleAndWhatFollowsStaysInTheSocket) {
  const struct {
    const char* name;
    std::string countField;            // exactly 5 bytes
    std::vector<std::string> records;  // without their NULs
    std::string next;
  } cases[] = {
      {"twelve", CountField("12"), Catalogue(12), "END"},
      {"negative", CountField("-5"), {}, "END"},
      {"zero", CountField("0"), {}, "NEXT"},
      {"digits after the NUL", CountField("2").replace(2, 1, "9"), Catalogue(2), "END"},
      {"a NUL in what follows", CountField("2"), Catalogue(2), std::string("trailing\0reply", 14)},
      {"all empty", CountField("5000"), std::vector<std::string>(5000), std::string("X\0", 2)},
      {"4095", CountField("4095"), Catalogue(4095), "TAIL"},
      {"4096", CountField("4096"), Catalogue(4096), "TAIL"},
      {"4097", CountField("4097"), Catalogue(4097), "TAIL"},
      {"99999", CountField("99999"), Catalogue(99999), "TAIL"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    if (i > 0) ScriptGoodLogin(peer.NextConnection(), "u", "p", "False");
    std::string answer = cases[i].countField;
    for (const std::string& record : cases[i].records) answer += Z(record);
    ScriptQueryHead(peer).Send(answer + cases[i].next);
    peer.Expect(Z("qr")).Expect(Z("NES")).Send("r2").Expect(Z("^[a-b]")).Send("r3");
    peer.Expect(Z("ok")).Send(CountField("1") + Z("Next"));
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartLoggedIn();
    ASSERT_EQ(Query(), QueryResult::Ok);
    ASSERT_EQ(games.size(), c.records.size());
    // Compared whole, but not printed: some answers hold thousands of records.
    Texts titles;  // records without fields are titles
    for (const std::string& record : c.records) titles.push_back(record + "|||0");
    EXPECT_TRUE(Rows() == titles);
    ASSERT_EQ(Query(), QueryResult::Ok);
    EXPECT_EQ(Rows(), Texts{"Next|||0"});
  }
}

// The games of one answer are overwritten in place by the next: nothing of a longer, fuller
// earlier answer may show through a shorter, sparser, cut-up or failed later one. The error mark
// closes the socket and logs the session out, so that the next command logs in again; no game of
// its answer is kept. (A close before the last record fails the query: the hostile server's
// CloseMidRecord run.)
TEST_F(QueryGames, SparserCutUpOrFailedAnswersLeaveNoOldFields) {
  std::string full = CountField("6");
  for (int i = 0; i < 6; ++i)
    full += Record("Old title " + std::to_string(i), "old-" + std::to_string(i), "9", "7");
  ScriptQueryHead(peer).Send(full);
  // A whole record, then ones ending before field 2, 3 and 4, and an empty one, all arriving in
  // pieces of 3 bytes after the count, so that records are gathered across receives.
  ScriptQueryHead(peer)
      .Send(CountField("6"))
      .SendInPieces(Record("New", "k", "1", "2") + Z("OnlyTitle") + Z("T\nk") + Z("T\nk\n3") +
                        Z("") + Record("Last", "kl", "0", "4"),
                    3, 1);
  ScriptQueryHead(peer).Send(CountField("4") + Record("A", "k1", "1", "0") + Z("error") +
                             Record("C", "k3", "1", "0"));
  StartLoggedIn();
  ASSERT_EQ(Query(), QueryResult::Ok);
  ASSERT_EQ(Query(), QueryResult::Ok);
  EXPECT_EQ(Rows(),
            (Texts{"New|k|1|2", "OnlyTitle|||0", "T|k||0", "T|k|3|0", "|||0", "Last|kl|0|4"}));
  EXPECT_EQ(Query(), QueryResult::ErrorMark);
  EXPECT_FALSE(s->connected() || s->loggedIn());
  EXPECT_EQ(Rows(), Texts(4, "|||0"));
}

// How a query fails decides what the browser does next: only a connection found closed at the
// first reply is a session the server dropped while idle. Any failure before the records leaves
// the previous answer as it was.
TEST_F(QueryGames, EachFailureIsToldAndEarlyOnesKeepThePreviousAnswer) {
  const std::string sends[] = {Z("qr"), Z("NES"), Z("^[a-b]"), Z("ok")};
  enum End { Close, Reset, Silence, ErrorMarkCut };
  const struct {
    const char* name;
    int answered;  // how many of the four sends the server still answers
    End end;
    QueryResult failure;
  } cases[] = {
      {"closed while idle", 0, Close, QueryResult::Dropped},
      {"reset at the first reply", 0, Reset, QueryResult::Dropped},
      {"silent at the first reply", 0, Silence, QueryResult::Broken},
      {"silent after two replies", 2, Silence, QueryResult::Broken},
      {"silent before the count", 3, Silence, QueryResult::Broken},
      {"error mark cut short by a close", 4, ErrorMarkCut, QueryResult::ErrorMark},
  };
  for (const auto& c : cases) {
    ScriptQueryHead(peer);
    peer.Send(CountField("2") + Record("A", "k1", "1", "0") + Record("B", "k2", "2", "0"));
    for (int i = 0; i < c.answered; ++i)
      peer.Expect(sends[i]).Send(i == 3 ? CountField("2") + "error" : "r");
    // Silence: the peer only reads until the client gives up after its receive time-out.
    if (c.end == Reset) peer.Expect(sends[0]).Reset();
    if (c.end == Close || c.end == ErrorMarkCut) peer.Close();
    ScriptGoodLogin(peer.NextConnection(), "u", "p", "False");
  }
  StartLoggedIn(300);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Query(), QueryResult::Ok);
    EXPECT_EQ(Query(), c.failure);
    EXPECT_FALSE(s->connected() || s->loggedIn());
    if (c.answered < 4) {
      EXPECT_EQ(Rows(), (Texts{"A|k1|1|0", "B|k2|2|0"}));
    }
    ASSERT_EQ(s->Login("u", "p", ui), LoginResult::SignedIn);
  }
}

}  // namespace
}  // namespace vt::test
