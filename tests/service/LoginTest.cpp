// Login against a scripted game server: the exchange byte for byte, refusals and their flags,
// reconnects and the version check that precedes every connect.
#include "service/VersionCheck.h"
#include "tests/service/SessionFixture.h"

namespace vt::test {
namespace {

using Login = SessionTest;

TEST_F(Login, ExchangeIsByteForByteAndTierBecomesFullAccount) {
  ScriptGoodLogin(peer, "alice", "s3cret", "True");
  peer.Start();
  auto s = MakeSession();
  ASSERT_TRUE(s->Login("alice", "s3cret"));
  EXPECT_TRUE(s->connected);
  EXPECT_TRUE(s->loggedIn);
  EXPECT_FALSE(s->userInUse || s->badCredentials || s->connectFailed);
  EXPECT_EQ(s->fullAccount, "True");
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.connections(), 1u);
  EXPECT_EQ(peer.Received(0), GoodLoginBytes("alice", "s3cret"));
  ASSERT_EQ(web.requests().size(), 1u);
  EXPECT_EQ(web.requests()[0].rfind("GET /version_check.php HTTP/1.", 0), 0u) << web.requests()[0];
  EXPECT_NE((web.requests()[0] + "\r\n").find("\r\nUser-Agent: VTBrowser\r\n"), std::string::npos)
      << web.requests()[0];
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Login, PasswordWaitsForTheReplyToTheUserName) {
  // The server never answers the user name: the client must not send the password meanwhile.
  peer.Expect("alice");
  peer.Start();
  auto s = MakeSession(300);
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
  peer.Start();
  auto s = MakeSession();
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

class LoginRefusal : public SessionTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(LoginRefusal, KeepsTheConnectionAndSetsItsFlags) {
  const Refusal r = GetParam();
  peer.Expect("carol").Send("?").Expect("pw").Send(r.reply);
  peer.Start();
  auto s = MakeSession();
  EXPECT_FALSE(s->Login("carol", "pw"));
  EXPECT_TRUE(s->connected);
  EXPECT_FALSE(s->loggedIn);
  EXPECT_EQ(s->userInUse, r.userInUse);
  EXPECT_EQ(s->badCredentials, r.badCredentials);
  EXPECT_FALSE(s->connectFailed);
  EXPECT_EQ(s->ReplyText(), r.reply);
  s->ShowReply();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], std::string("(default): ") + r.reply);
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.Received(0), "carolpw");  // nothing after a refusal
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LoginRefusal,
    ::testing::Values(Refusal{"Username in use login again to clear.", true, false},
                      Refusal{"Incorrect Username or Password", false, true},
                      Refusal{"Account suspended", false, false},
                      Refusal{"OK", false, false},  // case matters
                      Refusal{"ok ", false, false}));

TEST_F(Login, RefusedLoginRetriesOnTheSameConnectionWithoutVersionCheck) {
  peer.Expect("dave").Send("?").Expect("wrong").Send("Incorrect Username or Password");
  peer.Expect("dave").Send("?").Expect("right").Send("ok").Expect(64).Send("ok").Expect(3).Send(
      "False");
  peer.Start();
  auto s = MakeSession();
  EXPECT_FALSE(s->Login("dave", "wrong"));
  EXPECT_TRUE(s->badCredentials);
  ASSERT_TRUE(s->Login("dave", "right"));
  EXPECT_FALSE(s->badCredentials);
  EXPECT_EQ(s->fullAccount, "False");
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.connections(), 1u);
  EXPECT_EQ(peer.Received(0), "davewrong" + GoodLoginBytes("dave", "right"));
  EXPECT_EQ(web.requests().size(), 1u);
}

TEST_F(Login, UserInUseClearsOnTheSecondLogin) {
  peer.Expect("eve").Send("?").Expect("pw").Send("Username in use login again to clear.");
  ScriptGoodLogin(peer, "eve", "pw", "True");
  peer.Start();
  auto s = MakeSession();
  EXPECT_FALSE(s->Login("eve", "pw"));
  EXPECT_TRUE(s->userInUse);
  EXPECT_TRUE(s->Login("eve", "pw"));
  EXPECT_FALSE(s->userInUse);
}

TEST_F(Login, DisconnectMeansANewConnectionAndANewVersionCheck) {
  ScriptGoodLogin(peer, "fay", "pw", "True");
  peer.NextConnection();
  ScriptGoodLogin(peer, "fay", "pw", "True");
  peer.Start();
  auto s = MakeSession();
  ASSERT_TRUE(s->Login("fay", "pw"));
  s->Disconnect();
  EXPECT_FALSE(s->connected || s->loggedIn || s->userInUse || s->badCredentials);
  ASSERT_TRUE(s->Login("fay", "pw"));
  s->Disconnect();
  peer.Finish();
  EXPECT_EQ(peer.connections(), 2u);
  EXPECT_EQ(peer.Received(1), GoodLoginBytes("fay", "pw"));
  EXPECT_EQ(web.requests().size(), 2u);
}

TEST_F(Login, ConnectFailedStaysSetAcrossALaterSuccess) {
  peer.Expect("gus").Reset();  // the connection dies under the client
  peer.NextConnection();
  ScriptGoodLogin(peer, "gus", "pw", "True");
  peer.Start();
  auto s = MakeSession();
  EXPECT_FALSE(s->Login("gus", "pw"));
  EXPECT_TRUE(s->connectFailed);
  EXPECT_FALSE(s->connected);
  EXPECT_FALSE(s->loggedIn);
  ASSERT_TRUE(s->Login("gus", "pw"));
  EXPECT_TRUE(s->connectFailed);
  s->Disconnect();
  EXPECT_TRUE(s->connectFailed);
}

TEST_F(Login, ServerClosingAfterTheUserNameIsARefusalWithoutFlags) {
  peer.Expect("hal").Close();
  peer.Start();
  auto s = MakeSession();
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

TEST_F(Login, OversizedAndGarbageRepliesNeverOverflow) {
  std::string binary;
  for (int i = 0; i < 3000; ++i) binary += static_cast<char>(i * 7 + 1);
  peer.Expect("kim").Send("?").Expect("pw").Send(std::string(5000, 'x'));
  peer.NextConnection();
  peer.Expect("kim").Send("?").Expect("pw").Send(binary);
  peer.Start();
  auto s = MakeSession();
  EXPECT_FALSE(s->Login("kim", "pw"));
  // One receive, at most the 1024-byte buffer, text without a terminator of its own.
  const std::string text = s->ReplyText();
  EXPECT_FALSE(text.empty());
  EXPECT_LE(text.size(), 1024u);
  EXPECT_EQ(text, std::string(text.size(), 'x'));
  EXPECT_FALSE(s->userInUse || s->badCredentials || s->connectFailed);
  s->Disconnect();
  EXPECT_FALSE(s->Login("kim", "pw"));
  EXPECT_LE(s->ReplyText().size(), 1024u);
  EXPECT_FALSE(s->userInUse || s->badCredentials || s->connectFailed || s->loggedIn);
}

TEST_F(Login, DisconnectBeforeAnyConnectClearsAllButConnectFailed) {
  auto s = MakeSession();
  s->connectFailed = true;
  s->Disconnect();
  EXPECT_FALSE(s->connected || s->loggedIn || s->userInUse || s->badCredentials);
  EXPECT_TRUE(s->connectFailed);
}

TEST_F(Login, InitialFieldsAreTheClientsDefaults) {
  auto s = MakeSession();
  EXPECT_EQ(s->host, "127.0.0.1");
  EXPECT_EQ(s->clientVersion, "4.05");
  EXPECT_EQ(s->system, "NES");
  EXPECT_EQ(s->filter, "^[a-b]");
  EXPECT_EQ(s->scheme, "VTNES://");
  EXPECT_EQ(s->fullAccount, "False");
  EXPECT_EQ(s->gameCount, 0u);
  EXPECT_EQ(s->selectedIndex, 0u);
  EXPECT_FALSE(s->connected || s->loggedIn || s->userInUse || s->badCredentials ||
               s->connectFailed);
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

TEST_F(VersionCheckTest, OnlyTheFirst256BytesCount) {
  HttpPeer late(std::string(253, '.') + "4.05");  // the text straddles byte 256
  HttpPeer edge(std::string(252, '.') + "4.05");  // ends exactly at byte 256
  RecordingUi a, b;
  EXPECT_FALSE(CheckClientVersion("4.05", late.hostPort(), a));
  EXPECT_EQ(a.endCodes, std::vector<int>{0});
  EXPECT_TRUE(CheckClientVersion("4.05", edge.hostPort(), b));
  EXPECT_TRUE(b.messages.empty());
}

TEST_F(VersionCheckTest, SubstringAnywhereAndErrorPages) {
  HttpPeer exact("4.05");
  HttpPeer inside("v14.055");
  HttpPeer notFound("<h1>Not Found</h1>", 404);
  HttpPeer foundOn404("4.05", 404);
  RecordingUi ui1, ui2, ui3, ui4;
  EXPECT_TRUE(CheckClientVersion("4.05", exact.hostPort(), ui1));
  EXPECT_TRUE(CheckClientVersion("4.05", inside.hostPort(), ui2));
  EXPECT_FALSE(CheckClientVersion("4.05", notFound.hostPort(), ui3));
  EXPECT_EQ(ui3.messages, std::vector<std::string>{"Error: Visit Vintara to update your client."});
  EXPECT_TRUE(CheckClientVersion("4.05", foundOn404.hostPort(), ui4));
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
