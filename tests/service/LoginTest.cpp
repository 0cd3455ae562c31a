// Login against a scripted game server: the exchange byte for byte, refusals and their flags,
// reconnects and the version check that precedes every connect.
#include "service/VersionCheck.h"
#include "tests/service/SessionFixture.h"

namespace vt::test {
namespace {

class Login : public SessionTest {
protected:
  std::unique_ptr<ServerSession> Started(uint32_t receiveTimeoutMs = 2000) {
    peer.Start();
    return MakeSession(receiveTimeoutMs);
  }
};

TEST_F(Login, ExchangeIsByteForByteAndTierBecomesFullAccount) {
  ScriptGoodLogin(peer, "alice", "s3cret", "True");
  auto s = Started();
  ASSERT_TRUE(s->Login("alice", "s3cret"));
  EXPECT_TRUE(s->connected);
  EXPECT_TRUE(s->loggedIn);
  EXPECT_FALSE(s->userInUse || s->badCredentials || s->connectFailed);
  EXPECT_EQ(s->fullAccount, "True");
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.connections(), 1u);
  EXPECT_EQ(peer.Received(0), GoodLoginBytes("alice", "s3cret"));
  ASSERT_EQ(web.requests().size(), 1u);  // its agent header: NetworkTest
  EXPECT_EQ(web.requests()[0].rfind("GET /version_check.php HTTP/1.", 0), 0u) << web.requests()[0];
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Login, PasswordWaitsForTheReplyToTheUserName) {
  // The server never answers the user name: the client must not send the password meanwhile.
  peer.Expect("alice");
  auto s = Started(300);
  EXPECT_FALSE(s->Login("alice", "s3cret"));
  EXPECT_TRUE(s->connectFailed);
  EXPECT_FALSE(s->connected);
  peer.Finish();
  EXPECT_EQ(peer.Received(0), "alice");
}

TEST_F(Login, ReplyAfterTheAddressIsReadAsAtMostThreeBytes) {
  // Step 7 reads at most 3 bytes: the tier that follows in the same segment is the next reply.
  peer.Expect("bob").Send("?").Expect("pw").Send("ok").Expect(64);
  peer.Send(std::string("ok\0True", 7)).Expect(3);
  auto s = Started();
  ASSERT_TRUE(s->Login("bob", "pw"));
  EXPECT_EQ(s->fullAccount, "True");
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.Received(0), GoodLoginBytes("bob", "pw"));
}

struct Refusal {
  const char* reply;
  bool userInUse;
  bool badCredentials;
};

class LoginRefusal : public Login, public ::testing::WithParamInterface<Refusal> {};

// A refusal keeps the connection; the next login retries on it, without a new version check.
TEST_P(LoginRefusal, KeepsTheConnectionAndSetsItsFlagsUntilTheRetry) {
  const Refusal r = GetParam();
  peer.Expect("carol").Send("?").Expect("wrong").Send(r.reply);
  ScriptGoodLogin(peer, "carol", "right", "False");
  auto s = Started();
  EXPECT_FALSE(s->Login("carol", "wrong"));
  EXPECT_TRUE(s->connected);
  EXPECT_FALSE(s->loggedIn);
  EXPECT_EQ(s->userInUse, r.userInUse);
  EXPECT_EQ(s->badCredentials, r.badCredentials);
  EXPECT_FALSE(s->connectFailed);
  EXPECT_EQ(s->ReplyText(), r.reply);
  s->ShowReply();
  EXPECT_EQ(ui.messages, std::vector<std::string>{std::string("(default): ") + r.reply});
  ASSERT_TRUE(s->Login("carol", "right"));
  EXPECT_FALSE(s->userInUse || s->badCredentials);
  EXPECT_EQ(s->fullAccount, "False");
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.connections(), 1u);
  EXPECT_EQ(peer.Received(0), "carolwrong" + GoodLoginBytes("carol", "right"));  // nothing after a refusal
  EXPECT_EQ(web.requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LoginRefusal,
    ::testing::Values(Refusal{"Username in use login again to clear.", true, false},
                      Refusal{"Incorrect Username or Password", false, true},
                      Refusal{"Account suspended", false, false},
                      Refusal{"OK", false, false},  // case matters
                      Refusal{"ok ", false, false}));

// Every login after a failed connection or a disconnect connects anew, with its own version
// check; connectFailed stays set through later successes and disconnects.
TEST_F(Login, DisconnectMeansANewConnectionAndConnectFailedStaysSet) {
  peer.Expect("gus").Reset();  // the connection dies under the client
  peer.NextConnection();
  ScriptGoodLogin(peer, "gus", "pw", "True");
  peer.NextConnection();
  ScriptGoodLogin(peer, "gus", "pw", "True");
  auto s = Started();
  EXPECT_FALSE(s->Login("gus", "pw"));
  EXPECT_TRUE(s->connectFailed);
  EXPECT_FALSE(s->connected || s->loggedIn);
  ASSERT_TRUE(s->Login("gus", "pw"));
  EXPECT_TRUE(s->connectFailed);
  s->Disconnect();
  EXPECT_FALSE(s->connected || s->loggedIn || s->userInUse || s->badCredentials);
  EXPECT_TRUE(s->connectFailed);
  ASSERT_TRUE(s->Login("gus", "pw"));
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.connections(), 3u);
  EXPECT_EQ(peer.Received(1), GoodLoginBytes("gus", "pw"));
  EXPECT_EQ(peer.Received(2), GoodLoginBytes("gus", "pw"));
  EXPECT_EQ(web.requests().size(), 3u);
}

TEST_F(Login, ServerClosingAfterTheUserNameIsARefusalWithoutFlags) {
  peer.Expect("hal").Close();
  auto s = Started();
  EXPECT_FALSE(s->Login("hal", "pw"));
  // Receives of no bytes are not failures: an empty reply, no flag changed.
  EXPECT_FALSE(s->connectFailed || s->userInUse || s->badCredentials || s->loggedIn);
  EXPECT_EQ(s->ReplyText(), "");
}

TEST_F(Login, NobodyListeningIsTheConnectionFailureOutcome) {
  peer.Finish();
  ServiceEndpoints e;
  e.gameServer = "127.0.0.1";
  {
    ScriptedPeer gone;  // a port that was free a moment ago and is closed again
    e.gamePort = gone.port();
  }
  e.webHost = web.hostPort();
  ServerSession s(ui, e);
  EXPECT_FALSE(s.Login("ivy", "pw"));
  EXPECT_TRUE(s.connectFailed);
  EXPECT_FALSE(s.connected);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Login, UnknownHostShowsTheResolverError) {
  ServiceEndpoints e;
  e.gameServer = "no-such-host.invalid";
  e.webHost = web.hostPort();
  ServerSession s(ui, e);
  EXPECT_FALSE(s.Login("jo", "pw"));
  EXPECT_TRUE(s.connectFailed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("(default):  Error getting host: ", 0), 0u) << ui.messages[0];
}

TEST_F(Login, OversizedReplyIsReadAsOneBufferfulOfText) {
  peer.Expect("kim").Send("?").Expect("pw").Send(std::string(5000, 'x'));
  auto s = Started();
  EXPECT_FALSE(s->Login("kim", "pw"));
  // One receive, at most the 1024-byte buffer, text without a terminator of its own.
  const std::string text = s->ReplyText();
  EXPECT_FALSE(text.empty());
  EXPECT_LE(text.size(), 1024u);
  EXPECT_EQ(text, std::string(text.size(), 'x'));
  EXPECT_FALSE(s->userInUse || s->badCredentials || s->connectFailed);
}

TEST_F(Login, InitialFieldsAreTheClientsDefaultsAndDisconnectKeepsOnlyConnectFailed) {
  auto s = MakeSession();
  EXPECT_EQ(s->host, "127.0.0.1");
  EXPECT_EQ(s->clientVersion, "4.05");
  EXPECT_EQ(s->system, "NES");
  EXPECT_EQ(s->filter, "^[a-b]");
  EXPECT_EQ(s->scheme, "VTNES://");
  EXPECT_EQ(s->fullAccount, "False");
  EXPECT_EQ(s->gameCount, 0u);
  EXPECT_EQ(s->selectedIndex, 0u);
  EXPECT_FALSE(s->connected || s->loggedIn || s->userInUse || s->badCredentials || s->connectFailed);
  s->connected = s->loggedIn = s->userInUse = s->badCredentials = s->connectFailed = true;
  s->Disconnect();  // before any connect
  EXPECT_FALSE(s->connected || s->loggedIn || s->userInUse || s->badCredentials);
  EXPECT_TRUE(s->connectFailed);
}

// The version check in front of every connect.
class VersionCheckTest : public ::testing::Test {
protected:
  std::unique_ptr<ServerSession> MakeSession(const std::string& webHost) {
    ServiceEndpoints e;
    e.gameServer = "127.0.0.1";
    e.gamePort = peer.port();
    e.webHost = webHost;
    return std::make_unique<ServerSession>(ui, e);
  }
  RecordingUi ui;
  ScriptedPeer peer;
};

TEST_F(VersionCheckTest, OutOfDateClientEndsBeforeAnySocket) {
  HttpPeer web("<html>current: 4.06</html>");
  peer.Start();
  auto s = MakeSession(web.hostPort());
  EXPECT_FALSE(s->Login("u", "p"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Error: Visit Vintara to update your client.");
  EXPECT_EQ(ui.endCodes, std::vector<int>{0});
  peer.Finish();
  EXPECT_EQ(peer.connections(), 0u);
  EXPECT_FALSE(s->connected || s->connectFailed);
}

// The version text may stand anywhere in the first 256 bytes, on any status; elsewhere it counts
// as missing, which ends the program.
TEST_F(VersionCheckTest, TheVersionMustAppearInTheFirst256BytesOfAnyPage) {
  struct Case {
    std::string page;
    int status;
    bool current;
  } cases[] = {
      {"4.05", 200, true},
      {"v14.055", 200, true},
      {std::string(252, '.') + "4.05", 200, true},   // ends exactly at byte 256
      {std::string(253, '.') + "4.05", 200, false},  // straddles byte 256
      {"<h1>Not Found</h1>", 404, false},
      {"4.05", 404, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page.substr(0, 20) + " " + std::to_string(c.status));
    HttpPeer page(c.page, c.status);
    RecordingUi u;
    EXPECT_EQ(CheckClientVersion("4.05", page.hostPort(), u), c.current);
    EXPECT_EQ(u.messages, c.current ? std::vector<std::string>{}
                                    : std::vector<std::string>{"Error: Visit Vintara to update your client."});
    EXPECT_EQ(u.endCodes, c.current ? std::vector<int>{} : std::vector<int>{0});
  }
}

TEST_F(VersionCheckTest, UnreachableWebHostNeverBlocksTheLogin) {
  std::string closed;
  {
    HttpPeer gone("4.05");
    closed = gone.hostPort();
  }
  ScriptGoodLogin(peer, "u", "p", "True");
  peer.Start();
  auto s = MakeSession(closed);
  EXPECT_TRUE(s->Login("u", "p"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "hOpenUrl: Can not open internet connection!");
  EXPECT_TRUE(ui.endCodes.empty());
}

}  // namespace
}  // namespace vt::test
