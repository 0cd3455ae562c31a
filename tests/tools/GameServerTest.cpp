// The game server against a byte-level loopback client: answers byte for byte, refusals that
// keep the connection, and connections that misbehave, vanish or fall silent. Its served faults:
// the hostile-server runs; the web host's version check: every end-to-end run.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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

// With 123 Game Gear games, for a count of several digits.
const std::string kData = [] {
  std::string data =
      "account|free|demo|demo\naccount|full|player|player\n"
      "game|NES|N1|2|3|Alpha One\ngame|NES|N2|0|4|beta Two\ngame|NES|N3|0|0|Cobalt\n"
      "game|NES|N4|1|1|3 Ducks\ngame|NES|N5|5|10|Bob's Big Day\ngame|GB|B1|1|2|Apple Cart\n"
      "game|GBC|C1|0|1|Acorn Color\ngame|GBC|C2|1|1|Zebra Color\n";
  for (int i = 0; i < 123; ++i)
    data += "game|SGG|G" + std::to_string(i) + "|1|2|Gear " + std::to_string(i) + "\n";
  return data;
}();
const std::string kCobalt = "1\0\0\0\0Cobalt\nN3\n0\n0\0"s, kNone = "0\0\0\0\0"s;
const std::string kDucks = "1\0\0\0\0"s + "3 Ducks\nN4\n1\n1\0"s;
// A free account's answer for NES "^[a-b]": free copies in field 3, all copies in field 4.
const std::string kFreeAToB =
    "3\0\0\0\0Alpha One\nN1\n2\n3\0beta Two\nN2\n0\n4\0Bob's Big Day\nN5\n5\n10\0"s;
// A session's steps up to a query's "ok".
const std::string kSteps[] = {"demo",   "demo",     std::string(64, '\0'), "qp\0"s, "qr\0"s,
                              "NES\0"s, "^[a-b]\0"s};

class GameServerTest : public ::testing::Test {
protected:
  void SetUp() override { Start(); }
  void Start(GameServerConfig config = {}) {
    config.port = 0;
    server_.reset();
    server_ = std::make_unique<GameServer>(catalogue_, config);
    std::string error;
    ASSERT_TRUE(server_->Start(&error)) << error;
  }
  std::uint16_t port() const { return server_->Port(); }

  const Catalogue catalogue_ = *Catalogue::Parse(kData, nullptr);
  std::unique_ptr<GameServer> server_;
};

// A refusal keeps the connection, and a wrong password ends nobody's session; a newcomer is
// refused once, which ends the session in use, and is let in when it asks again.
TEST_F(GameServerTest, RefusalsKeepTheConnectionAndAUserInUseIsRefusedOnce) {
  const std::string incorrect = "Incorrect Username or Password";
  WireClient owner(port()), c(port()), third(port());
  ASSERT_EQ(owner.Login("player", "player"), "True");
  EXPECT_EQ(c.Login("nobody", "demo"), incorrect);
  EXPECT_EQ(c.Login("DEMO", "demo"), incorrect);  // names are exact
  EXPECT_EQ(c.Login("player", "guess"), incorrect);
  EXPECT_EQ(c.Exchange("demo") + c.Exchange("demo"), "okok");
  EXPECT_LE(c.Exchange(std::string(64, '\0')).size(), 3u);  // the client reads 3 bytes here
  EXPECT_EQ(c.Exchange("qp\0"s), "False");
  EXPECT_EQ(owner.Query("NES", "^[0-9]"), kDucks);
  EXPECT_EQ(third.Login("demo", "demo"), "Username in use login again to clear.");
  EXPECT_TRUE(c.ClosedByPeer());
  EXPECT_EQ(third.Login("demo", "demo"), "False");  // same connection, as the client retries
  EXPECT_TRUE(third.NothingPending());
}

TEST_F(GameServerTest, QueriesAnswerTheMatchingGamesInTitleOrder) {
  const struct {
    const char* alias;
    const char* pattern;
    std::string answer;
  } cases[] = {
      {"NES", "^[a-b]", kFreeAToB},
      {"NES", "DUCK", kDucks},
      {"NES", "^[y-z]", kNone},
      // The Game Boy alias text selects both Game Boy consoles.
      {"GB' OR Alias='GBC", "^[a-b]", "2\0\0\0\0Acorn Color\nC1\n0\n1\0Apple Cart\nB1\n1\n2\0"s},
      // An alias the server does not know, in any case, gets no games.
      {"XYZ", "^[0-z]", kNone},
      {"nes", "^[0-z]", kNone},
      // An invalid pattern gets the error mark and the connection stays.
      {"NES", "^[a-", "1\0\0\0\0error\0"s},
      {"NES", "^[c-d]", kCobalt},
  };
  WireClient c(port());
  ASSERT_EQ(c.Login("demo", "demo"), "False");
  for (const auto& q : cases) EXPECT_EQ(c.Query(q.alias, q.pattern), q.answer) << q.pattern;
  // A count of several digits is NUL-padded and counts every record; nothing follows the last.
  const std::string gears = c.Query("SGG", "^gear");
  EXPECT_EQ(gears.substr(0, 5), "123\0\0"s);
  EXPECT_EQ(std::count(gears.begin() + 5, gears.end(), '\0'), 123);
  EXPECT_TRUE(c.NothingPending());
  EXPECT_EQ(c.Exchange("qp\0"s), "False");  // the tier again, after queries
  WireClient full(port());
  ASSERT_EQ(full.Login("player", "player"), "True");
  EXPECT_EQ(full.Query("NES", "^[a-a]"), "1\0\0\0\0Alpha One\nN1\n3\n3\0"s);
}

// A client that breaks the protocol is closed; one that vanishes at any step, or falls silent,
// leaves no connection and no name in use behind; the server goes on serving others.
TEST_F(GameServerTest, MisbehavingVanishingAndSilentConnectionsAreClosed) {
  WireClient oversized(port());  // an oversized user name, before any login
  oversized.Send(std::string(5000, 'x'));
  EXPECT_TRUE(oversized.ClosedByPeer());
  // After a login: an oversized alias, a command that is none, a query not ended by "ok".
  const std::vector<std::string> breaking[] = {{"qr\0"s, std::string(3000, 'N')},
                                               {"DROP TABLE games\0"s},
                                               {"qr\0"s, "NES\0"s, "^[a-b]\0"s, "go\0"s}};
  for (const auto& steps : breaking) {
    WireClient c(port());
    ASSERT_EQ(c.Login("demo", "demo"), "False");
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) c.Exchange(steps[i]);
    c.Send(steps.back());
    EXPECT_TRUE(c.ClosedByPeer()) << steps.back().substr(0, 20);
  }
  for (std::size_t leaveAfter = 0; leaveAfter <= std::size(kSteps); ++leaveAfter) {
    WireClient c(port());
    for (std::size_t i = 0; i < leaveAfter; ++i) c.Exchange(kSteps[i]);
    if (leaveAfter == 2) c.Send("127.0");  // part of the address field
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (server_->LiveConnections() != 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(server_->LiveConnections(), 0);
  // The name is free again, even at once after a close, before the server's thread notices (the
  // client closes its session for a launch and logs in again at the next command).
  for (int i = 0; i < 200; ++i) {
    WireClient gone(port());
    ASSERT_EQ(gone.Login("demo", "demo"), "False") << i;
    gone.Close();
  }
  WireClient other(port());
  EXPECT_EQ(other.Login("demo", "demo"), "False");
  EXPECT_EQ(other.Query("NES", "^[c-d]"), kCobalt);
  GameServerConfig idle, trickle;
  idle.idleTimeoutMs = trickle.messageTimeoutMs = 100;
  ASSERT_NO_FATAL_FAILURE(Start(idle));
  EXPECT_TRUE(WireClient(port()).ClosedByPeer());
  ASSERT_NO_FATAL_FAILURE(Start(trickle));
  WireClient c(port());
  ASSERT_EQ(c.Login("demo", "demo"), "False");
  c.Send("q");  // a command that never ends
  EXPECT_TRUE(c.ClosedByPeer());
}

}  // namespace
}  // namespace vt::service
