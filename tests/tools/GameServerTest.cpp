// The game server against a byte-level loopback client: every reply of the login and the
// catalogue query, the user-in-use flow, and connections that misbehave.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/WireClient.h"
#include "tools/vtservice/Catalogue.h"
#include "tools/vtservice/GameServer.h"

namespace vt::service {
namespace {

using namespace std::string_literals;
using test::WireClient;

const char* kData =
    "account|free|demo|demo\n"
    "account|full|player|player\n"
    "game|NES|N1|2|3|Alpha One\n"
    "game|NES|N2|0|4|beta Two\n"
    "game|NES|N3|0|0|Cobalt\n"
    "game|NES|N4|1|1|3 Ducks\n"
    "game|NES|N5|5|10|Bob's Big Day\n"
    "game|GB|B1|1|2|Apple Cart\n"
    "game|GBC|C1|0|1|Acorn Color\n"
    "game|GBC|C2|1|1|Zebra Color\n";

std::string WithManyAccounts(int n) {
  std::string text = kData;
  for (int i = 0; i < n; ++i) text += "account|free|u" + std::to_string(i) + "|pw\n";
  return text;
}

bool WaitUntil(const std::function<bool()>& condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class GameServerTest : public ::testing::Test {
protected:
  void StartServer(GameServerConfig config = {}, const std::string& data = kData) {
    std::string error;
    auto parsed = Catalogue::Parse(data, &error);
    ASSERT_TRUE(parsed) << error;
    catalogue_ = std::make_unique<Catalogue>(std::move(*parsed));
    config.port = 0;
    server_ = std::make_unique<GameServer>(*catalogue_, config);
    ASSERT_TRUE(server_->Start(&error)) << error;
  }
  void SetUp() override { StartServer(); }
  std::uint16_t port() const { return server_->Port(); }

  std::unique_ptr<Catalogue> catalogue_;
  std::unique_ptr<GameServer> server_;
};

TEST_F(GameServerTest, FreeLoginAnswersEveryStepAndReportsFalse) {
  WireClient c(port());
  ASSERT_TRUE(c.connected());
  EXPECT_EQ(c.Exchange("demo"), "ok");
  EXPECT_EQ(c.Exchange("demo"), "ok");
  std::string field = "127.0.0.1"s;
  field.resize(64, '\0');
  std::string shortReply = c.Exchange(field, 1024);
  EXPECT_LE(shortReply.size(), 3u);  // the client reads at most 3 bytes here
  EXPECT_FALSE(shortReply.empty());
  EXPECT_EQ(c.Exchange("qp\0"s), "False");
  EXPECT_TRUE(c.NothingPending());
}

TEST_F(GameServerTest, RefusedLoginsKeepTheConnectionForAnotherAttempt) {
  WireClient c(port());
  EXPECT_EQ(c.Login("demo", "wrong"), "Incorrect Username or Password");
  EXPECT_EQ(c.Login("nobody", "demo"), "Incorrect Username or Password");
  EXPECT_EQ(c.Login("DEMO", "demo"), "Incorrect Username or Password");  // names are exact
  EXPECT_EQ(c.Login("demo", "demo"), "False");
}

TEST_F(GameServerTest, UserInUseIsRefusedOnceAndThatEndsTheStaleSession) {
  WireClient stale(port());
  ASSERT_EQ(stale.Login("demo", "demo"), "False");

  WireClient fresh(port());
  EXPECT_EQ(fresh.Login("demo", "demo"), "Username in use login again to clear.");
  EXPECT_TRUE(stale.ClosedByPeer());
  EXPECT_EQ(fresh.Login("demo", "demo"), "False");  // same connection, as the client retries
  EXPECT_EQ(fresh.Query("NES", "^[c-d]"), "1\0\0\0\0Cobalt\nN3\n0\n0\0"s);

  // The flow repeats for the next newcomer, on a new connection too.
  WireClient third(port());
  EXPECT_EQ(third.Login("demo", "demo"), "Username in use login again to clear.");
  third.Close();
  WireClient fourth(port());
  EXPECT_EQ(fourth.Login("demo", "demo"), "False");
}

TEST_F(GameServerTest, WrongPasswordNeverEndsSomeoneElsesSession) {
  WireClient owner(port());
  ASSERT_EQ(owner.Login("player", "player"), "True");
  WireClient intruder(port());
  EXPECT_EQ(intruder.Login("player", "guess"), "Incorrect Username or Password");
  EXPECT_EQ(owner.Query("NES", "^[0-9]"), "1\0\0\0\0" "3 Ducks\nN4\n1\n1\0"s);
}

TEST_F(GameServerTest, AClosedSessionIsNotInUseEvenBeforeItsThreadNotices) {
  // The client closes its socket before a launch and logs in again at once; its old
  // connection has gone, however quickly the new login arrives.
  for (int i = 0; i < 200; ++i) {
    WireClient gone(port());
    ASSERT_EQ(gone.Login("demo", "demo"), "False") << i;
    gone.Close();
    WireClient again(port());
    ASSERT_EQ(again.Login("demo", "demo"), "False") << i;
  }
}

// Every answer to a catalogue query, on one connection per account: free accounts get the copies
// free for them in field 3 and all copies in field 4, full accounts all copies in both.
TEST_F(GameServerTest, QueriesAnswerTheMatchingGamesInTitleOrder) {
  struct Case {
    const char* alias;
    const char* pattern;
    std::string answer;
  };
  const std::string none = "0\0\0\0\0"s, errorMark = "1\0\0\0\0error\0"s;
  const Case freeCases[] = {
      // Letter ranges match the first character in either case.
      {"NES", "^[a-b]", "3\0\0\0\0Alpha One\nN1\n2\n3\0beta Two\nN2\n0\n4\0Bob's Big Day\nN5\n5\n10\0"s},
      {"NES", "^[0-9]", "1\0\0\0\0" "3 Ducks\nN4\n1\n1\0"s},
      {"NES", "^[y-z]", none},
      // Search texts are patterns anywhere in the title.
      {"NES", "DUCK", "1\0\0\0\0" "3 Ducks\nN4\n1\n1\0"s},
      {"NES", "bob's big", "1\0\0\0\0" "Bob's Big Day\nN5\n5\n10\0"s},
      {"NES", "o(ne|balt)$", "2\0\0\0\0Alpha One\nN1\n2\n3\0Cobalt\nN3\n0\n0\0"s},
      // The Game Boy alias text selects both Game Boy consoles.
      {"GB' OR Alias='GBC", "^[a-b]", "2\0\0\0\0Acorn Color\nC1\n0\n1\0Apple Cart\nB1\n1\n2\0"s},
      {"GBC", "^[0-z]", "2\0\0\0\0Acorn Color\nC1\n0\n1\0Zebra Color\nC2\n1\n1\0"s},
      // Alias text is parsed, never pasted.
      {"XYZ", "^[0-z]", none}, {"NES' OR '1'='1", "^[0-z]", none}, {"NES' OR Alias='", "^[0-z]", none},
      {"", "^[0-z]", none}, {"nes", "^[0-z]", none},
      // An invalid pattern gets the error mark; the server keeps the connection, the client closes.
      // (which patterns are invalid is the title pattern's own test)
      {"NES", "^[a-", errorMark},
  };
  WireClient c(port());
  ASSERT_EQ(c.Login("demo", "demo"), "False");
  for (const Case& q : freeCases) EXPECT_EQ(c.Query(q.alias, q.pattern), q.answer) << q.alias << " " << q.pattern;
  EXPECT_EQ(c.Query("NES", "^[0-z]").substr(0, 5), "5\0\0\0\0"s);
  WireClient full(port());
  ASSERT_EQ(full.Login("player", "player"), "True");
  EXPECT_EQ(full.Query("NES", "^[a-a]"), "1\0\0\0\0Alpha One\nN1\n3\n3\0"s);
}

TEST_F(GameServerTest, AnswersTheAccountTierAgainAndManyQueriesOnOneConnection) {
  WireClient c(port());
  ASSERT_EQ(c.Login("player", "player"), "True");
  for (int i = 0; i < 20; ++i) ASSERT_EQ(c.Query("GB", "cart"), "1\0\0\0\0Apple Cart\nB1\n2\n2\0"s);
  EXPECT_EQ(c.Exchange("qp\0"s), "True");
}

// --- connections that misbehave: each is closed, and the server goes on serving others ---

class MisbehavingClientTest : public GameServerTest {
protected:
  void ExpectOthersStillServed() {
    WireClient other(port());
    ASSERT_EQ(other.Login("player", "player"), "True");
    EXPECT_EQ(other.Query("NES", "^[c-d]"), "1\0\0\0\0Cobalt\nN3\n0\n0\0"s);
  }
};

TEST_F(MisbehavingClientTest, OversizedUserNameClosesTheConnection) {
  WireClient c(port());
  c.Send(std::string(5000, 'x'));
  EXPECT_TRUE(c.ClosedByPeer());
  ExpectOthersStillServed();
}

// After a good login: an oversized query text, an unknown command, a query that does not end in ok.
TEST_F(MisbehavingClientTest, BadCommandsCloseTheConnection) {
  const std::vector<std::vector<std::string>> cases = {
      {"qr\0"s, std::string(3000, 'N')},  // no NUL in sight
      {"DROP TABLE games\0"s},
      {"qr\0"s, "NES\0"s, "^[a-b]\0"s, "go\0"s},
  };
  for (const auto& steps : cases) {
    SCOPED_TRACE(steps.back().substr(0, 20));
    WireClient c(port());
    ASSERT_EQ(c.Login("demo", "demo"), "False");
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) c.Exchange(steps[i]);
    c.Send(steps.back());
    EXPECT_TRUE(c.ClosedByPeer());
    ExpectOthersStillServed();
  }
}

TEST_F(MisbehavingClientTest, ClientVanishingAtAnyStepLeavesNothingBehind) {
  // Leave after each prefix of a whole session.
  const std::vector<std::string> steps = {"demo", "demo", std::string(64, '\0'), "qp\0"s, "qr\0"s, "NES\0"s, "^[a-b]\0"s};
  for (std::size_t leaveAfter = 0; leaveAfter <= steps.size(); ++leaveAfter) {
    WireClient c(port());
    for (std::size_t i = 0; i < leaveAfter; ++i) c.Exchange(steps[i]);
    if (leaveAfter == 2) c.Send("127.0");  // part of the address field
  }
  EXPECT_TRUE(WaitUntil([&] { return server_->LiveConnections() == 0; }));
  WireClient again(port());
  EXPECT_EQ(again.Login("demo", "demo"), "False");  // the vanished session freed the name
}

// Servers with a configuration or data of the test's own.
class GameServerSetUpTest : public GameServerTest {
protected:
  void SetUp() override {}
};

TEST_F(GameServerSetUpTest, SilentConnectionIsClosedAfterTheIdleTimeOut) {
  GameServerConfig config;
  config.idleTimeoutMs = 100;
  StartServer(config);
  WireClient c(port());
  EXPECT_TRUE(c.ClosedByPeer());
}

TEST_F(GameServerSetUpTest, TrickledMessageIsClosedAfterTheMessageTimeOut) {
  GameServerConfig config;
  config.messageTimeoutMs = 100;
  StartServer(config);
  WireClient c(port());
  ASSERT_EQ(c.Login("demo", "demo"), "False");
  c.Send("q");  // a command that never ends
  EXPECT_TRUE(c.ClosedByPeer());
}

TEST_F(GameServerSetUpTest, CountOfSeveralDigitsIsNulPaddedAndCountsEveryRecord) {
  std::string data = kData;
  for (int i = 0; i < 123; ++i) data += "game|SGG|G" + std::to_string(i) + "|1|2|Gear " + std::to_string(i) + "\n";
  StartServer({}, data);
  WireClient c(port());
  ASSERT_EQ(c.Login("demo", "demo"), "False");
  std::string answer = c.Query("SGG", "^gear");
  EXPECT_EQ(answer.substr(0, 5), "123\0\0"s);
  std::size_t records = 0;
  for (std::size_t i = 5; i < answer.size(); ++i) records += answer[i] == '\0';
  EXPECT_EQ(records, 123u);
  EXPECT_TRUE(c.NothingPending());  // not one byte beyond the last record
}

// Each fault spoils the second answer only; the bytes are what a client test relies on.
TEST_F(GameServerSetUpTest, AFaultSpoilsTheChosenAnswerOnly) {
  const std::string sound = "3\0\0\0\0Alpha One\nN1\n2\n3\0beta Two\nN2\n0\n4\0Bob's Big Day\nN5\n5\n10\0"s;
  struct Case {
    Fault fault;
    std::string head;  // what the spoiled answer starts with
    std::size_t size;  // and its whole size, after which the server closes (but for a stall)
  };
  const Case cases[] = {
      {Fault::Stall, sound.substr(0, 5 + (sound.size() - 5) / 2), 5 + (sound.size() - 5) / 2},
      {Fault::CloseMidRecord, "3\0\0\0\0Alph"s, 5 + 8},
      {Fault::CountNotHonoured, "6\0\0\0\0"s + sound.substr(5), sound.size()},
      {Fault::Garbage, "9\0\0\0\0\x01"s, 5 + 4096},
      {Fault::Oversized, "1\0\0\0\0xxxx"s, 5 + (4u << 20)},
  };
  for (const Case& c : cases) {
    GameServerConfig config;
    config.fault = c.fault;
    StartServer(config);
    WireClient client(port());
    ASSERT_EQ(client.Login("demo", "demo"), "False");
    EXPECT_EQ(client.Query("NES", "^[a-b]"), sound);
    client.Exchange("qr\0"s);
    client.Exchange("NES\0"s);
    client.Exchange("^[a-b]\0"s);
    client.Send("ok\0"s);
    const std::string spoiled = client.RecvExact(c.size);
    EXPECT_EQ(spoiled.size(), c.size) << static_cast<int>(c.fault);
    EXPECT_EQ(spoiled.substr(0, c.head.size()), c.head) << static_cast<int>(c.fault);
    if (c.fault == Fault::Stall) {
      EXPECT_TRUE(client.NothingPending());
    } else {
      // No record ends where the count promises one, and the server closes.
      EXPECT_EQ(spoiled.find('\0', 5) == std::string::npos, c.fault != Fault::CountNotHonoured);
      EXPECT_TRUE(client.ClosedByPeer()) << static_cast<int>(c.fault);
    }
    server_.reset();
  }
}

TEST_F(GameServerSetUpTest, ServesTwoHundredClientsAtOnce) {
  constexpr int kClients = 200;
  StartServer({}, WithManyAccounts(kClients));
  GameServer& server = *server_;

  std::vector<std::unique_ptr<WireClient>> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.push_back(std::make_unique<WireClient>(server.Port()));
    ASSERT_TRUE(clients.back()->connected()) << i;
  }
  // Every client sends before any reads, so all 200 exchanges are open at the same time.
  for (int i = 0; i < kClients; ++i) ASSERT_TRUE(clients[i]->Send("u" + std::to_string(i)));
  for (int i = 0; i < kClients; ++i) ASSERT_EQ(clients[i]->RecvOnce(), "ok") << i;
  EXPECT_EQ(server.LiveConnections(), kClients);
  for (int i = 0; i < kClients; ++i) ASSERT_TRUE(clients[i]->Send("pw"));
  for (int i = 0; i < kClients; ++i) ASSERT_EQ(clients[i]->RecvOnce(), "ok") << i;
  std::string field(64, '\0');
  for (int i = 0; i < kClients; ++i) {
    clients[i]->Exchange(field, 3);
    ASSERT_EQ(clients[i]->Exchange("qp\0"s), "False") << i;
  }
  for (int i = 0; i < kClients; ++i)
    ASSERT_EQ(clients[i]->Query("GBC", "zebra"), "1\0\0\0\0Zebra Color\nC2\n1\n1\0"s) << i;
}

}  // namespace
}  // namespace vt::service
