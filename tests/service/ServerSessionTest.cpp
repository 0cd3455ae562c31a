// The session against a scripted game server: the login (byte for byte, refusals, reconnects and
// the version check before every connect) and the catalogue query (records, the error mark,
// failures in each phase and how each is told, the count, exact consumption of the socket).
#include "service/VersionCheck.h"
#include "tests/support/SessionFixture.h"

namespace vt::test {
namespace {

using Login = SessionTest;

// The reply after the address is read as at most three bytes: the tier that follows it in the
// same segment is the next reply.
TEST_F(Login, ExchangeIsByteForByteAndTierBecomesFullAccount) {
  peer.Expect("alice").Send("user?").Expect("s3cret").Send("ok").Expect(64);
  peer.Send(std::string("ok\0True", 7)).Expect(3);
  auto s = MakeSession();
  ASSERT_EQ(s->Login("alice", "s3cret", ui), LoginResult::SignedIn);
  EXPECT_TRUE(s->connected() && s->loggedIn() && s->FullAccount());
  EXPECT_EQ(s->tier(), "True");
  EXPECT_EQ(Sent(*s), GoodLoginBytes("alice", "s3cret"));
  EXPECT_EQ(peer.connections(), 1u);
  ASSERT_EQ(web.requests().size(), 1u);  // its agent header: the platform test
  EXPECT_EQ(web.requests()[0].rfind("GET /version_check.php HTTP/1.", 0), 0u) << web.requests()[0];
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Login, PasswordWaitsForTheReplyToTheUserName) {
  peer.Expect("alice");  // never answered: the password must not go out meanwhile
  auto s = MakeSession(300);
  EXPECT_EQ(s->Login("alice", "s3cret", ui), LoginResult::ConnectionFailed);
  EXPECT_FALSE(s->connected());
  EXPECT_EQ(Sent(*s), "alice");
}

// A refusal keeps the connection; the next login retries on it, without a new version check,
// and a success forgets the refusal. (The reply shown in a box: the login window's logic, and
// vtcli.)
TEST_F(Login, RefusalsKeepTheConnectionAndAreToldUntilASuccess) {
  const struct {
    const char* reply;
    LoginResult result;
  } refusals[] = {{"Username in use login again to clear.", LoginResult::UserInUse},
                  {"Incorrect Username or Password", LoginResult::BadCredentials},
                  {"Account suspended", LoginResult::ServerText},
                  {"OK", LoginResult::ServerText},  // case matters
                  {"ok ", LoginResult::ServerText}};
  for (const auto& r : refusals) {
    ScriptLoginReply(peer, "carol", "wrong", r.reply);
    ScriptGoodLogin(peer, "carol", "right", "False");
    ScriptLoginReply(peer, "carol", "later", "Try later").NextConnection();
  }
  auto s = MakeSession();
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.reply);
    EXPECT_EQ(s->Login("carol", "wrong", ui), r.result);
    EXPECT_TRUE(s->connected() && !s->loggedIn());
    ASSERT_EQ(s->Login("carol", "right", ui), LoginResult::SignedIn);
    EXPECT_EQ(s->Login("carol", "later", ui), LoginResult::ServerText);
    EXPECT_EQ(s->ReplyText(), "Try later");
    s->Disconnect();
  }
  EXPECT_EQ(Sent(*s), "carolwrong" + GoodLoginBytes("carol", "right") + "carollater");
  EXPECT_EQ(web.requests().size(), std::size(refusals));  // one check per connection
}

// A login on a kept connection the server has closed goes out again on a new connection, with
// its version check, once and without a word; if that closes too, it is a refusal with an empty
// reply, no loop. (An oversized reply's bound: the login reply fuzz target.)
TEST_F(Login, AKeptConnectionTheServerClosedIsReplacedOnce) {
  const std::string refused = "Incorrect Username or Password";
  ScriptLoginReply(peer, "kim", "bad", refused).Close();
  ScriptGoodLogin(peer.NextConnection(), "kim", "good", "True");
  ScriptLoginReply(peer.NextConnection(), "lee", "bad", refused).Close();
  peer.NextConnection().Expect("lee").Close();  // the new connection closes too
  auto s = MakeSession();
  for (const std::string user : {"kim", "lee"}) {
    SCOPED_TRACE(user);
    EXPECT_EQ(s->Login(user, "bad", ui), LoginResult::BadCredentials);
    EXPECT_TRUE(s->connected());
    const bool anew = user == "kim";
    EXPECT_EQ(s->Login(user, "good", ui), anew ? LoginResult::SignedIn : LoginResult::ServerText);
    EXPECT_TRUE(anew || s->ReplyText().empty());
    s->Disconnect();
  }
  peer.Finish();
  EXPECT_EQ(peer.Received(0) + "|" + peer.Received(2) + "|" + peer.Received(3),
            "kimbadkim|leebadlee|leegood");
  EXPECT_EQ(peer.Received(1), GoodLoginBytes("kim", "good"));
  EXPECT_EQ(peer.connections(), 4u);
  EXPECT_EQ(web.requests().size(), 4u);  // one check per connection
  EXPECT_TRUE(ui.messages.empty());
}

// Every login after a failed connection or a disconnect connects anew, with its own version
// check; the failed connection is told for a server's own text through later successes and
// disconnects. An unknown host shows the resolver's error.
TEST_F(Login, DisconnectMeansANewConnectionAndAConnectionFailureStaysTold) {
  peer.Expect("gus").Reset();  // the connection dies under the client
  ScriptGoodLogin(peer.NextConnection(), "gus", "pw", "True");
  ScriptLoginReply(peer.NextConnection(), "gus", "pw", "Try later");
  auto s = MakeSession();
  EXPECT_EQ(s->Login("gus", "pw", ui), LoginResult::ConnectionFailed);
  EXPECT_FALSE(s->connected() || s->loggedIn());
  ASSERT_EQ(s->Login("gus", "pw", ui), LoginResult::SignedIn);
  s->Disconnect();
  EXPECT_FALSE(s->connected() || s->loggedIn());
  EXPECT_EQ(s->Login("gus", "pw", ui), LoginResult::ConnectionFailed);
  EXPECT_EQ(Sent(*s, 2), "guspw");
  EXPECT_EQ(peer.connections(), 3u);
  EXPECT_EQ(web.requests().size(), 3u);
  ServerSession unknown(ServiceEndpoints{"no-such-host.invalid", 11001, web.hostPort(), 2000});
  EXPECT_EQ(unknown.Login("ivy", "pw", ui), LoginResult::ConnectionFailed);
  EXPECT_FALSE(unknown.connected());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("(default):  Error getting host: ", 0), 0u) << ui.messages[0];
}

// The version check in front of every connect: the version text may stand anywhere in the first
// 256 bytes, on any status; elsewhere it counts as missing, which ends the program before any
// socket, and no login goes out any more; an unreachable web host never blocks the login.
TEST_F(Login, TheVersionCheckComesFirstAndLooksAtTheFirst256Bytes) {
  const struct {
    std::string page;
    int status;
    bool current;
  } cases[] = {
      {"v14.055", 200, true},
      {std::string(252, '.') + "4.05", 200, true},   // ends exactly at byte 256
      {std::string(253, '.') + "4.05", 200, false},  // straddles byte 256
      {"4.05", 404, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page.substr(0, 20) + " " + std::to_string(c.status));
    HttpPeer page(c.page, c.status);
    RecordingHost u;
    EXPECT_EQ(CheckClientVersion("4.05", page.hostPort(), u),
              c.current ? Next::GoOn : Next::EndProgram);
    EXPECT_EQ(u.messages,
              c.current ? std::vector<std::string>{}
                        : std::vector<std::string>{"Error: Visit Vintara to update your client."});
  }
  HttpPeer old("<html>current: 4.06</html>");
  ScriptGoodLogin(peer, "u", "p", "True");
  auto outdated = MakeSession(2000, 0, old.hostPort());
  EXPECT_EQ(outdated->Login("u", "p", ui), LoginResult::OutOfDate);
  EXPECT_EQ(outdated->Login("u", "p", ui), LoginResult::OutOfDate);
  EXPECT_FALSE(outdated->connected());
  EXPECT_EQ(old.requests().size(), 1u) << "checked again after it said so";
  const std::string gone = HttpPeer("4.05").hostPort();  // nobody listens there once it is gone
  ui.messages.clear();
  auto unchecked = MakeSession(2000, 0, gone);
  EXPECT_EQ(unchecked->Login("u", "p", ui), LoginResult::SignedIn)
      << "the first connection the server saw";
  EXPECT_EQ(ui.messages, std::vector<std::string>{"hOpenUrl: Can not open internet connection!"});
  EXPECT_EQ(Sent(*unchecked), GoodLoginBytes("u", "p")) << "the out-of-date client sent none";
  EXPECT_EQ(peer.connections(), 1u);
}

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
  EXPECT_EQ(Sent(*s), GoodLoginBytes("u", "p") + QueryBytes(alias, pattern));
}

// Records "T<index>", every third one empty.
std::vector<std::string> Catalogue(int count) {
  std::vector<std::string> records(count);
  for (int i = 1; i < count; ++i)
    if (i % 3) records[i] = "T" + std::to_string(i);
  return records;
}

// The count follows the decimal rule, and the client reads exactly through the last record's NUL,
// also where the records take bigger reads: what follows in the same segment is the next query's.
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

// Nothing of a longer, fuller earlier answer shows through a shorter, sparser, cut-up or failed
// later one. The error mark logs the session out, so that the next command logs in again, and
// keeps no game of its answer. (A close before the last record: the hostile-server runs.)
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
