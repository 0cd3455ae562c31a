// Login against a scripted game server: the exchange byte for byte, refusals and their results,
// reconnects and the version check that precedes every connect.
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
  ASSERT_EQ(web.requests().size(), 1u);  // its agent header: NetworkTest
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
  peer.Finish();
  EXPECT_EQ(peer.Received(0), "carolwrong" + GoodLoginBytes("carol", "right") + "carollater");
  EXPECT_EQ(web.requests().size(), std::size(refusals));  // one check per connection
}

// A connection kept since a refusal that the server has closed meanwhile answers the next login
// with its close: that login goes out again on a new connection, with its version check, once
// and without a word; a new connection that closes too is a refusal without flags and with an
// empty reply, no loop (an oversized reply's bound: the login reply fuzz target).
TEST_F(Login, AKeptConnectionTheServerClosedIsReplacedOnce) {
  for (const bool closesAgain : {false, true}) {
    SCOPED_TRACE(closesAgain ? "closed again" : "logged in anew");
    ScriptedPeer p;
    HttpPeer w("4.05");
    ScriptLoginReply(p, "kim", "bad", "Incorrect Username or Password").Close();
    if (closesAgain)
      p.NextConnection().Expect("kim").Close();
    else
      ScriptGoodLogin(p.NextConnection(), "kim", "good", "True");
    p.Start();
    ServerSession s(ServiceEndpoints{"127.0.0.1", p.port(), w.hostPort(), 2000});
    EXPECT_EQ(s.Login("kim", "bad", ui), LoginResult::BadCredentials);
    EXPECT_TRUE(s.connected());
    EXPECT_EQ(s.Login("kim", "good", ui),
              closesAgain ? LoginResult::ServerText : LoginResult::SignedIn);
    EXPECT_TRUE(!closesAgain || s.ReplyText().empty());
    s.Disconnect();
    p.Finish();
    EXPECT_EQ(p.Received(0), "kimbadkim");
    EXPECT_EQ(p.Received(1), closesAgain ? "kimgood" : GoodLoginBytes("kim", "good"));
    EXPECT_EQ(p.connections(), 2u);
    EXPECT_EQ(w.requests().size(), 2u);
  }
  EXPECT_TRUE(ui.messages.empty());
}

// Every login after a failed connection or a disconnect connects anew, with its own version
// check; the failed connection is told for a server's own text through later successes and
// disconnects. An unknown host shows the resolver's error (nobody listening: the round trip with
// vtcli).
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
  unchecked->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.connections(), 1u) << "the out-of-date client made none";
}

}  // namespace
}  // namespace vt::test
