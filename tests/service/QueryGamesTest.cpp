// The catalogue query against the scripted game server: the exchange, record splitting, the
// error mark, failures in each phase and how each is told, count edge cases, and exact
// consumption of the socket.
#include "tests/service/SessionFixture.h"

namespace vt::test {
namespace {

class QueryGames : public SessionTest {
protected:
  void SetUp() override { ScriptGoodLogin(peer, "u", "p", "False"); }
  // A session on the peer, logged in.
  void StartLoggedIn(uint32_t receiveTimeoutMs = 2000) {
    s = MakeSession(receiveTimeoutMs);
    EXPECT_TRUE(s->Login("u", "p", ui));
  }
  // The next n bytes in the client's socket; fewer if they do not come before the time-out.
  std::string Unread(size_t n) {
    std::string out(n, '\0');
    size_t got = 0;
    for (long r; got < n && (r = s->socket.Receive(out.data() + got, n - got)) > 0;)
      got += static_cast<size_t>(r);
    out.resize(got);
    return out;
  }
  void ExpectArraysMatchCount() {
    for (size_t size : {s->rawRecords.size(), s->titles.size(), s->gameKeys.size(),
                        s->availableCopies.size(), s->fullAccountCopies.size()})
      EXPECT_EQ(size, s->gameCount);
  }

  std::unique_ptr<ServerSession> s;
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
  s->SetSystem("GBC");
  s->filter = pattern;
  ASSERT_TRUE(s->QueryGames());
  EXPECT_EQ(s->queryFailure, QueryFailure::None);
  ASSERT_EQ(s->gameCount, 4u);
  ExpectArraysMatchCount();
  EXPECT_EQ(s->titles,
            (std::vector<std::string>{"Another World", "Axelay", "Battletoads", "Bubsy"}));
  EXPECT_EQ(s->gameKeys, (std::vector<std::string>{"gbc-aw", "gbc-ax", "gbc-bt", "gbc-bu"}));
  EXPECT_EQ(s->availableCopies, (std::vector<std::string>{"0", "3", "1", " 7"}));
  EXPECT_EQ(s->fullAccountCopies, (std::vector<int32_t>{2, 0, 10, 0}));
  EXPECT_EQ(s->rawRecords[2], "Battletoads\ngbc-bt\n1\n10\nextra\nfields");
  EXPECT_EQ(s->scheme, "VTGBC://");
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
// exactly through the last record's NUL, also for catalogues large enough to take bigger reads.
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
      {"digits after the NUL", std::string("2\0" "9\0\0", 5), Catalogue(2), "END"},
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
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s = MakeSession();
    ASSERT_TRUE(s->Login("u", "p", ui));
    ASSERT_TRUE(s->QueryGames());
    ASSERT_EQ(s->gameCount, c.records.size());
    ExpectArraysMatchCount();
    // Compared whole, but not printed: some answers hold thousands of records.
    EXPECT_TRUE(s->rawRecords == c.records);
    EXPECT_TRUE(s->titles == c.records) << "records without fields are titles";
    EXPECT_EQ(Unread(c.next.size()), c.next);
  }
}

// The arrays of one answer are overwritten in place by the next: nothing of a longer, fuller
// earlier answer may show through a shorter, sparser, cut-up or failed later one. The error mark
// closes the socket and logs the session out, so that the next command logs in again; the
// records before it stay unsplit. (A close before the last record fails the query: the hostile
// server's CloseMidRecord run.)
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
  ASSERT_TRUE(s->QueryGames());
  ASSERT_TRUE(s->QueryGames());
  ASSERT_EQ(s->gameCount, 6u);
  ExpectArraysMatchCount();
  EXPECT_EQ(s->rawRecords, (std::vector<std::string>{"New\nk\n1\n2", "OnlyTitle", "T\nk", "T\nk\n3",
                                                     "", "Last\nkl\n0\n4"}));
  EXPECT_EQ(s->titles, (std::vector<std::string>{"New", "OnlyTitle", "T", "T", "", "Last"}));
  EXPECT_EQ(s->gameKeys, (std::vector<std::string>{"k", "", "k", "k", "", "kl"}));
  EXPECT_EQ(s->availableCopies, (std::vector<std::string>{"1", "", "", "3", "", "0"}));
  EXPECT_EQ(s->fullAccountCopies, (std::vector<int32_t>{2, 0, 0, 0, 0, 4}));
  EXPECT_FALSE(s->QueryGames());
  EXPECT_EQ(s->queryFailure, QueryFailure::ErrorMark);
  EXPECT_FALSE(s->socket.valid() || s->connected || s->loggedIn || s->connectFailed);
  ASSERT_EQ(s->gameCount, 4u);
  ExpectArraysMatchCount();
  EXPECT_EQ(s->rawRecords, (std::vector<std::string>{"A\nk1\n1\n0", "", "", ""}));
  EXPECT_EQ(s->titles, (std::vector<std::string>(4, "")));
  EXPECT_EQ(s->availableCopies, (std::vector<std::string>(4, "")));
  EXPECT_EQ(s->fullAccountCopies, (std::vector<int32_t>(4, 0)));
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
    QueryFailure failure;
  } cases[] = {
      {"closed while idle", 0, Close, QueryFailure::Dropped},
      {"reset at the first reply", 0, Reset, QueryFailure::Dropped},
      {"silent at the first reply", 0, Silence, QueryFailure::Broken},
      {"silent after two replies", 2, Silence, QueryFailure::Broken},
      {"silent before the count", 3, Silence, QueryFailure::Broken},
      {"error mark cut short by a close", 4, ErrorMarkCut, QueryFailure::ErrorMark},
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
    ASSERT_TRUE(s->QueryGames());
    EXPECT_FALSE(s->QueryGames());
    EXPECT_EQ(s->queryFailure, c.failure);
    EXPECT_FALSE(s->connected || s->loggedIn || s->socket.valid());
    if (c.answered < 4) {
      EXPECT_EQ(s->titles, (std::vector<std::string>{"A", "B"}));
    }
    ASSERT_TRUE(s->Login("u", "p", ui));
  }
}

}  // namespace
}  // namespace vt::test
