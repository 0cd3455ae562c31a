// vtcli's commands run in process against the scripted game server: the deployment values it
// reads from the settings file, and the lines and exit codes the service alone cannot provoke.
// Its runs against the real service are the round trip's.
#include <sstream>

#include "platform/SettingsStore.h"
#include "service/LaunchGame.h"
#include "tests/service/SessionFixture.h"
#include "tests/support/TempDir.h"
#include "tools/vtcli/Cli.h"

namespace vt::test {
namespace {

class Vtcli : public SessionTest {
protected:
  Vtcli() {
    auto store = OpenFileSettings(registry);
    const std::string key = kVintaraKey;
    store->CreateKey(Hive::Machine, key);
    // The deployment values point the client at the loopback peers.
    store->SetValue(Hive::Machine, key, "GameServer", kTypeNone, "127.0.0.1");
    store->SetValue(Hive::Machine, key, "WebHost", kTypeString,
                    std::string(web.hostPort()) + std::string("\0junk", 5));
    store->SetValue(Hive::Machine, key, "NES_PATH", kTypeNone, nester);
  }
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--registry", registry, "--port", std::to_string(peer.port())});
    out.str("");
    err.str("");
    ui.messages.clear();
    return cli::Run(args, out, err, &ui);
  }

  TempDir dir;
  std::string registry = dir.File("registry.txt");
  std::string nester = dir.File("nester");
  std::ostringstream out, err;
};

// A refusal's reply is printed only when no flag explains it; an out-of-date client ends with 0
// after the update message, and says nothing more.
TEST_F(Vtcli, LoginReachesTheDeploymentValuesServersAndPrintsAnUnexplainedReply) {
  ScriptGoodLogin(peer, "ann", "pw", "True");
  peer.NextConnection().Expect("ann").Send("?").Expect("pw").Send("Account suspended");
  peer.Start();
  EXPECT_EQ(Run({"login", "ann", "pw"}), 0);
  EXPECT_EQ(out.str(),
            "loggedIn=1 userInUse=0 badCredentials=0 connectFailed=0 fullAccount=True\n");
  EXPECT_EQ(Run({"login", "ann", "pw"}), 1);
  EXPECT_EQ(out.str(), "loggedIn=0 userInUse=0 badCredentials=0 connectFailed=0 fullAccount=False\n"
                       "reply=Account suspended\n");
  EXPECT_EQ(web.requests().size(), 2u);  // the WebHost value, read up to its NUL
  HttpPeer old("4.06");
  EXPECT_EQ(Run({"--web-host", old.hostPort(), "login", "ann", "pw"}), 0);
  EXPECT_EQ(out.str() + err.str(), "");
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Error: Visit Vintara to update your client."});
  peer.Finish();
  EXPECT_EQ(peer.connections(), 2u);
}

TEST_F(Vtcli, LaunchRefusalsAndAMissingEmulatorSayWhyAndStartNothing) {
  const struct {
    const char* tier;
    const char* system;
    const char* index;
    int code;
    std::string out, err;
  } cases[] = {
      {"False", "SNES", "0", 2, "LightAccountNotice\n", ""},
      {"True", "SNES", "2", 2, "", "no game at index 2"},
      {"True", "NES", "1", 1, "", ""},
  };
  bool first = true;
  for (const auto& c : cases) {
    if (!first) peer.NextConnection();
    first = false;
    ScriptGoodLogin(peer, "ann", "pw", c.tier);
    ScriptQuery(peer, c.system, "^[a-b]", {Z("A\nk1\n0\n3"), Z("B\nk2\n1\n0")});
  }
  peer.Start();
  for (const auto& c : cases) {
    EXPECT_EQ(Run({"launch", "ann", "pw", c.system, "^[a-b]", c.index}), c.code) << c.err;
    EXPECT_EQ(out.str(), c.out);
    EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
  }
  EXPECT_EQ(ui.messages, std::vector<std::string>{
                             "VTBrowser: " +
                             LaunchFailureText(LaunchOutcome::EmulatorNotFound, "NES", nester)});
}

}  // namespace
}  // namespace vt::test
