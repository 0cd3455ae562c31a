// vtcli's commands run in process against the scripted game server: the deployment values it
// reads from the settings file, and the lines and exit codes of a login the service alone cannot
// provoke. Its runs against the real service are the round trip's.
#include <sstream>

#include "platform/SettingsStore.h"
#include "tests/support/SessionFixture.h"
#include "tests/support/TempDir.h"
#include "tools/vtcli/Cli.h"

namespace vt::test {
namespace {

using Vtcli = SessionTest;

// A refusal's reply is printed only when no flag explains it; an out-of-date client ends with 0
// after the update message, and says nothing more.
TEST_F(Vtcli, LoginReachesTheDeploymentValuesServersAndPrintsAnUnexplainedReply) {
  TempDir dir;
  const std::string registry = dir.File("registry.txt"), key = kVintaraKey;
  auto store = OpenFileSettings(registry);
  store->CreateKey(Hive::Machine, key);
  // The deployment values point the client at the loopback peers.
  store->SetValue(Hive::Machine, key, "GameServer", kTypeNone, "127.0.0.1");
  store->SetValue(Hive::Machine, key, "WebHost", kTypeString,
                  std::string(web.hostPort()) + std::string("\0junk", 5));
  std::ostringstream out, err;
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--registry", registry, "--port", std::to_string(peer.port())});
    out.str("");
    return cli::Run(args, out, err, &ui);
  };
  ScriptGoodLogin(peer, "ann", "pw", "True");
  ScriptLoginReply(peer.NextConnection(), "ann", "pw", "Account suspended");
  peer.Start();
  EXPECT_EQ(run({"login", "ann", "pw"}), 0);
  EXPECT_EQ(out.str(),
            "loggedIn=1 userInUse=0 badCredentials=0 connectFailed=0 fullAccount=True\n");
  EXPECT_EQ(run({"login", "ann", "pw"}), 1);
  EXPECT_EQ(out.str(),
            "loggedIn=0 userInUse=0 badCredentials=0 connectFailed=0 fullAccount=False\n"
            "reply=Account suspended\n");
  EXPECT_EQ(web.requests().size(), 2u);  // the WebHost value, read up to its NUL
  HttpPeer old("4.06");
  EXPECT_EQ(run({"--web-host", old.hostPort(), "login", "ann", "pw"}), 0);
  EXPECT_EQ(out.str() + err.str(), "");
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Error: Visit Vintara to update your client."});
}

}  // namespace
}  // namespace vt::test
