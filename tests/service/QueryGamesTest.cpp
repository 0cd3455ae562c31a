// The catalogue query against the scripted game server: the exchange, record splitting, the
// error mark, failures in each phase, count edge cases, and exact consumption of the socket.
#include <thread>

#include "tests/support/LoopbackSocket.h"

#include "tests/service/SessionFixture.h"

namespace vt::test {
namespace {

std::string Z(const std::string& text) { return text + std::string(1, '\0'); }

std::string CountField(const std::string& digits) {
  std::string f = digits;
  f.resize(5, '\0');
  return f;
}

std::string Record(const std::string& title, const std::string& key, const std::string& copies,
                   const std::string& fullCopies) {
  return Z(title + "\n" + key + "\n" + copies + "\n" + fullCopies);
}

class QueryGames : public SessionTest {
protected:
  // Logs in, then scripts one query's exchange up to and including "ok".
  void ScriptQueryHead(const std::string& aliasSent, const std::string& filterSent) {
    peer.Expect(Z("qr")).Send("r1").Expect(Z(aliasSent)).Send("r2").Expect(Z(filterSent));
    peer.Send("r3").Expect(Z("ok"));
  }
  void LogIn(ServerSession& s) { ASSERT_TRUE(s.Login("u", "p")); }
  void SetUp() override { ScriptGoodLogin(peer, "u", "p", "False"); }

  static void ExpectArraysMatchCount(const ServerSession& s) {
    EXPECT_EQ(s.rawRecords.size(), s.gameCount);
    EXPECT_EQ(s.titles.size(), s.gameCount);
    EXPECT_EQ(s.gameKeys.size(), s.gameCount);
    EXPECT_EQ(s.availableCopies.size(), s.gameCount);
    EXPECT_EQ(s.fullAccountCopies.size(), s.gameCount);
  }
};

TEST_F(QueryGames, ExchangeAndRecordSplitting) {
  ScriptQueryHead("SNES", "^[a-b]");
  peer.Send(CountField("4"));
  peer.Send(Record("Another World", "snes-aw", "0", "2"));
  peer.Send(Record("Axelay", "snes-ax", "3", "0"));
  peer.Send(Z("Battletoads\nsnes-bt\n1\n10\nextra\nfields"));
  peer.Send(Z("Bubsy\nsnes-bu\n 7"));  // no fourth field
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  s->SetSystem("SNES");
  ASSERT_TRUE(s->QueryGames());
  ASSERT_EQ(s->gameCount, 4u);
  ExpectArraysMatchCount(*s);
  EXPECT_EQ(s->titles, (std::vector<std::string>{"Another World", "Axelay", "Battletoads", "Bubsy"}));
  EXPECT_EQ(s->gameKeys, (std::vector<std::string>{"snes-aw", "snes-ax", "snes-bt", "snes-bu"}));
  EXPECT_EQ(s->availableCopies, (std::vector<std::string>{"0", "3", "1", " 7"}));
  EXPECT_EQ(s->fullAccountCopies, (std::vector<int32_t>{2, 0, 10, 0}));
  EXPECT_EQ(s->rawRecords[2], "Battletoads\nsnes-bt\n1\n10\nextra\nfields");
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.Received(0), GoodLoginBytes("u", "p") + Z("qr") + Z("SNES") + Z("^[a-b]") + Z("ok"));
}

TEST_F(QueryGames, GameBoyColorIsAskedForUnderBothAliasesOnTheWireOnly) {
  ScriptQueryHead("GB' OR Alias='GBC", "Zelda: Link's [Awakening]* ?");
  peer.Send(CountField("1")).Send(Record("Zelda", "gbc-z", "1", "1"));
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  s->SetSystem("GBC");
  s->filter = "Zelda: Link's [Awakening]* ?";
  ASSERT_TRUE(s->QueryGames());
  EXPECT_EQ(s->system, "GBC");
  EXPECT_EQ(s->scheme, "VTGBC://");
  EXPECT_EQ(s->titles, std::vector<std::string>{"Zelda"});
}

TEST_F(QueryGames, GameBoyColorStaysTheSystemWhenTheSendFails) {
  peer.Reset();  // right after the login
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  s->SetSystem("GBC");
  EXPECT_FALSE(s->QueryGames());
  EXPECT_EQ(s->system, "GBC");
  EXPECT_TRUE(s->connectFailed);
}

TEST_F(QueryGames, EmptyCatalogueReadsNoRecord) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("0") + "NEXT");
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  EXPECT_EQ(s->gameCount, 0u);
  ExpectArraysMatchCount(*s);
  char rest[8] = {};
  EXPECT_EQ(s->socket.Receive(rest, sizeof rest), 4);
  EXPECT_EQ(std::string(rest), "NEXT");
}

TEST_F(QueryGames, BytesAfterTheLastRecordStayInTheSocket) {
  ScriptQueryHead("NES", "^[a-b]");
  // Everything in one segment: records, then what the server says next.
  peer.Send(CountField("2") + Record("A", "k1", "1", "0") + Record("B", "k2", "0", "1") +
            std::string("trailing\0reply", 14));
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  EXPECT_EQ(s->titles, (std::vector<std::string>{"A", "B"}));
  char rest[64] = {};
  long n = s->socket.Receive(rest, sizeof rest);
  EXPECT_EQ(std::string(rest, n > 0 ? static_cast<size_t>(n) : 0), std::string("trailing\0reply", 14));
}

// Large catalogues take bigger reads; the consumption must still end at the last record's NUL.
class QueryLargeCount : public QueryGames, public ::testing::WithParamInterface<int> {};

TEST_P(QueryLargeCount, BytesAfterTheLastRecordStayInTheSocket) {
  const int count = GetParam();
  std::string body;
  for (int i = 0; i < count; ++i)
    body += i % 3 == 0 ? Z("") : Record("T" + std::to_string(i), "k", "1", std::to_string(i));
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField(std::to_string(count)) + body + "TAIL");
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  ASSERT_EQ(s->gameCount, static_cast<uint32_t>(count));
  EXPECT_EQ(s->titles[1], "T1");
  EXPECT_EQ(s->titles[count - 1], (count - 1) % 3 == 0 ? "" : "T" + std::to_string(count - 1));
  EXPECT_EQ(s->fullAccountCopies[count - 1], (count - 1) % 3 == 0 ? 0 : count - 1);
  char rest[8] = {};
  EXPECT_EQ(s->socket.Receive(rest, sizeof rest), 4);
  EXPECT_EQ(std::string(rest), "TAIL");
}

INSTANTIATE_TEST_SUITE_P(Counts, QueryLargeCount, ::testing::Values(4095, 4096, 4097, 20000, 99999));

TEST_F(QueryGames, AllEmptyRecordsEndExactlyAtTheirLastNul) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("5000") + std::string(5000, '\0') + std::string("X\0", 2));
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  EXPECT_EQ(s->gameCount, 5000u);
  EXPECT_EQ(s->rawRecords[4999], "");
  char rest[4] = {};
  EXPECT_EQ(s->socket.Receive(rest, sizeof rest), 2);
  EXPECT_EQ(rest[0], 'X');
}

TEST_F(QueryGames, RecordsSplitAcrossManySegments) {
  std::string body;
  for (int i = 0; i < 40; ++i) body += Record("Title " + std::to_string(i), "k" + std::to_string(i),
                                              std::to_string(i % 3), std::to_string(i));
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("40")).SendInPieces(body, 7, 1);
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  ASSERT_EQ(s->gameCount, 40u);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(s->titles[i], "Title " + std::to_string(i));
    EXPECT_EQ(s->gameKeys[i], "k" + std::to_string(i));
    EXPECT_EQ(s->fullAccountCopies[i], i);
  }
}

// The arrays of one answer are overwritten in place by the next: nothing of a longer, fuller
// earlier answer may show through a shorter, sparser or failed later one.
class QueryAfterQuery : public QueryGames {
protected:
  static std::string FullAnswer(int count) {
    std::string body = CountField(std::to_string(count));
    for (int i = 0; i < count; ++i)
      body += Record("Old title " + std::to_string(i), "old-" + std::to_string(i), "9", "7");
    return body;
  }
};

TEST_F(QueryAfterQuery, SparserRecordsLeaveNoOldFields) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(FullAnswer(6));
  ScriptQueryHead("NES", "^[a-b]");
  // A whole record, then ones ending before field 2, 3 and 4, an empty one and one cut into
  // pieces so that it is gathered across receives.
  peer.Send(CountField("6") + Record("New", "k", "1", "2") + Z("OnlyTitle") + Z("T\nk") +
            Z("T\nk\n3") + Z(""));
  peer.SendInPieces(Z("Cut\nck"), 2, 1);
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  ASSERT_TRUE(s->QueryGames());
  ASSERT_EQ(s->gameCount, 6u);
  ExpectArraysMatchCount(*s);
  EXPECT_EQ(s->rawRecords, (std::vector<std::string>{"New\nk\n1\n2", "OnlyTitle", "T\nk", "T\nk\n3", "",
                                                     "Cut\nck"}));
  EXPECT_EQ(s->titles, (std::vector<std::string>{"New", "OnlyTitle", "T", "T", "", "Cut"}));
  EXPECT_EQ(s->gameKeys, (std::vector<std::string>{"k", "", "k", "k", "", "ck"}));
  EXPECT_EQ(s->availableCopies, (std::vector<std::string>{"1", "", "", "3", "", ""}));
  EXPECT_EQ(s->fullAccountCopies, (std::vector<int32_t>{2, 0, 0, 0, 0, 0}));
}

TEST_F(QueryAfterQuery, ErrorMarkAndCloseLeaveNoOldEntries) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(FullAnswer(5));
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("4") + Record("A", "k1", "1", "0") + Z("error"));
  peer.NextConnection();
  ScriptGoodLogin(peer, "u", "p", "False");
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(FullAnswer(5));
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("4") + Record("B", "k2", "1", "3") + "Half\nk").Close();
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  EXPECT_FALSE(s->QueryGames());
  ASSERT_EQ(s->gameCount, 4u);
  ExpectArraysMatchCount(*s);
  EXPECT_EQ(s->rawRecords, (std::vector<std::string>{"A\nk1\n1\n0", "", "", ""}));
  EXPECT_EQ(s->titles, (std::vector<std::string>(4, "")));
  EXPECT_EQ(s->availableCopies, (std::vector<std::string>(4, "")));
  EXPECT_EQ(s->fullAccountCopies, (std::vector<int32_t>(4, 0)));

  s->Disconnect();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  EXPECT_FALSE(s->QueryGames()) << "a close before the last record fails the query";
  ASSERT_EQ(s->gameCount, 4u);
  EXPECT_EQ(s->titles, (std::vector<std::string>{"B", "Half", "", ""}));
  EXPECT_EQ(s->gameKeys, (std::vector<std::string>{"k2", "k", "", ""}));
  EXPECT_EQ(s->rawRecords[2], "");
  EXPECT_EQ(s->fullAccountCopies, (std::vector<int32_t>{3, 0, 0, 0}));
}

struct CountCase {
  std::string field;  // exactly 5 bytes
  uint32_t count;
};

class QueryCount : public QueryGames, public ::testing::WithParamInterface<CountCase> {};

TEST_P(QueryCount, CountFieldIsReadByTheDecimalRule) {
  const CountCase c = GetParam();
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(c.field);
  for (uint32_t i = 0; i < c.count; ++i) peer.Send(Record("t", "k", "1", "1"));
  peer.Send("END");
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  EXPECT_EQ(s->gameCount, c.count);
  ExpectArraysMatchCount(*s);
  char rest[4] = {};
  EXPECT_EQ(s->socket.Receive(rest, 3), 3);
  EXPECT_EQ(std::string(rest), "END");
}

INSTANTIATE_TEST_SUITE_P(Fields, QueryCount,
                         ::testing::Values(CountCase{CountField("12"), 12},
                                           CountCase{CountField("00003"), 3},
                                           CountCase{std::string(" \t+2\0", 5), 2},
                                           CountCase{CountField("-5"), 0},
                                           CountCase{CountField("xyz"), 0},
                                           CountCase{CountField(""), 0},
                                           CountCase{std::string("1\0" "9\0\0", 5), 1},
                                           CountCase{CountField("3abc"), 3}));

TEST_F(QueryGames, ErrorMarkClosesTheSocketAndKeepsEarlierRecordsUnsplit) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("3") + Record("A", "k1", "1", "0") + Z("error") + Record("C", "k3", "1", "0"));
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  EXPECT_FALSE(s->QueryGames());
  EXPECT_FALSE(s->socket.valid());
  EXPECT_TRUE(s->connected);  // the flags stay: the next exchange finds the socket gone
  EXPECT_TRUE(s->loggedIn);
  EXPECT_FALSE(s->connectFailed);
  ASSERT_EQ(s->gameCount, 3u);
  ExpectArraysMatchCount(*s);
  EXPECT_EQ(s->rawRecords[0], "A\nk1\n1\n0");
  EXPECT_EQ(s->titles[0], "");
  EXPECT_EQ(s->rawRecords[1], "");
  EXPECT_FALSE(s->QueryGames());
  EXPECT_TRUE(s->connectFailed);
  EXPECT_FALSE(s->connected || s->loggedIn);
}

TEST_F(QueryGames, ServerClosingBeforeTheLastRecordFailsTheQuery) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("4") + Record("A", "k1", "1", "5") + "Half\nk2").Close();
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  EXPECT_FALSE(s->QueryGames());
  EXPECT_TRUE(s->connectFailed);
  EXPECT_FALSE(s->connected || s->loggedIn) << "the next command logs in again";
  ASSERT_EQ(s->gameCount, 4u);
  ExpectArraysMatchCount(*s);
}

// What the server sees when the client meets the error mark: an orderly close, since the client
// read exactly through the mark and left nothing unread.
TEST_F(QueryGames, TheErrorMarkIsReadThroughBeforeTheClose) {
  uint16_t port = 0;
  RawSocket listener = ListenLoopback(0, &port);
  ASSERT_NE(listener, kNoSocket);
  long atClose = 99;
  std::string received;
  std::thread server([&] {
    RawSocket c = AcceptOne(listener);
    char buffer[256];
    for (const char* reply : {"user?", "ok", "ok", "False", "1", "2", "3"}) {
      RecvSome(c, buffer, sizeof buffer);
      SendAll(c, reply);
    }
    RecvSome(c, buffer, sizeof buffer);  // "ok": the answer follows
    SendAll(c, CountField("3") + Record("A", "k1", "1", "0") + Z("error"));
    SetRecvTimeout(c, 5000);
    atClose = RecvSome(c, buffer, sizeof buffer);
    CloseSocket(c);
  });
  ServiceEndpoints e;
  e.gameServer = "127.0.0.1";
  e.gamePort = port;
  e.webHost = web.hostPort();
  e.receiveTimeoutMs = 5000;
  ServerSession s(ui, e);
  ASSERT_TRUE(s.Login("u", "p"));
  EXPECT_FALSE(s.QueryGames());
  EXPECT_FALSE(s.socket.valid());
  server.join();
  CloseSocket(listener);
  EXPECT_EQ(atClose, 0) << "a reset (-1) means bytes were left unread";
}

TEST_F(QueryGames, ErrorMarkCutShortByACloseIsStillTheErrorMark) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("2") + "error").Close();
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  EXPECT_FALSE(s->QueryGames());
  EXPECT_FALSE(s->socket.valid());
}

TEST_F(QueryGames, MissingRecordsTimeOutAsAConnectionFailure) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("3") + Record("A", "k1", "1", "0"));  // then silence
  peer.Start();
  auto s = MakeSession(300);
  LogIn(*s);
  EXPECT_FALSE(s->QueryGames());
  EXPECT_TRUE(s->connectFailed);
  EXPECT_FALSE(s->connected || s->loggedIn);
  EXPECT_EQ(s->gameCount, 3u);  // the new, partly filled arrays
  ExpectArraysMatchCount(*s);
}

// A failure in any step before the records leaves the previous answer as it was.
class QueryEarlyFailure : public QueryGames, public ::testing::WithParamInterface<int> {};

TEST_P(QueryEarlyFailure, LeavesThePreviousCatalogue) {
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("2") + Record("A", "k1", "1", "0") + Record("B", "k2", "2", "0"));
  const int step = GetParam();  // how many of the four sends the server still answers
  const std::string sends[] = {Z("qr"), Z("NES"), Z("^[a-b]"), Z("ok")};
  for (int i = 0; i < step; ++i) peer.Expect(sends[i]).Send("r");
  // Silence past the client's receive time-out fails the next receive on every platform; a
  // reset may reach a receive as a plain close instead, depending on timing.
  peer.Pause(2000);
  peer.Start();
  auto s = MakeSession(300);
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  EXPECT_FALSE(s->QueryGames());
  EXPECT_TRUE(s->connectFailed);
  EXPECT_EQ(s->gameCount, 2u);
  EXPECT_EQ(s->titles, (std::vector<std::string>{"A", "B"}));
}

INSTANTIATE_TEST_SUITE_P(Steps, QueryEarlyFailure, ::testing::Values(0, 1, 2, 3));

TEST_F(QueryGames, OverlongRecordsAndFieldsAreTruncatedAndTheNextRecordIsIntact) {
  const std::string longTitle(600, 'T');
  const std::string longRecord(3000, 'R');
  ScriptQueryHead("NES", "^[a-b]");
  peer.Send(CountField("3") + Record(longTitle, std::string(100, 'K'), std::string(400, '9'), "1") +
            Z(longRecord) + Record("Next", "k", "1", "2"));
  peer.Start();
  auto s = MakeSession();
  LogIn(*s);
  ASSERT_TRUE(s->QueryGames());
  EXPECT_EQ(s->titles[0], std::string(254, 'T'));
  // The record was cut at 1023 bytes first, which leaves 321 digits of field 3: cut to 254.
  EXPECT_EQ(s->gameKeys[0], std::string(100, 'K'));
  EXPECT_EQ(s->availableCopies[0], std::string(254, '9'));
  EXPECT_EQ(s->rawRecords[1], std::string(1023, 'R'));
  EXPECT_EQ(s->titles[2], "Next");
  EXPECT_EQ(s->fullAccountCopies[2], 2);
}

}  // namespace
}  // namespace vt::test
