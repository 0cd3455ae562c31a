// vtcli's commands run in process against the scripted game server: output lines, exit codes,
// deployment values from the settings file, and the dry-run command line.
#include <fstream>
#include <sstream>

#include "platform/SettingsStore.h"
#include "service/LaunchGame.h"
#include "tests/service/SessionFixture.h"
#include "tests/support/TempDir.h"
#include "tools/vtcli/Cli.h"

namespace vt::test {
namespace {

std::string Z(const std::string& text) { return text + std::string(1, '\0'); }

class Vtcli : public SessionTest {
protected:
  Vtcli() {
    auto store = OpenFileSettings(registry);
    store->CreateKey(Hive::Machine, "Software\\Vintara");
    // The deployment values point the client at the loopback peers.
    store->SetValue(Hive::Machine, "Software\\Vintara", "GameServer", kTypeNone, "127.0.0.1");
    store->SetValue(Hive::Machine, "Software\\Vintara", "WebHost", kTypeString,
                    std::string(web.hostPort()) + std::string("\0junk", 5));
    store->SetValue(Hive::Machine, "Software\\Vintara", "NES_PATH", kTypeNone, nester);
    store->SetValue(Hive::Machine, "Software\\Vintara", "2600_PATH", kTypeNone, stella);
    // A launch starts only an emulator whose file exists.
    std::ofstream(stella) << "#!/bin/sh\n";
  }
  int Run(std::vector<std::string> args) {
    std::vector<std::string> all = {"--registry", registry, "--port", std::to_string(peer.port())};
    all.insert(all.end(), args.begin(), args.end());
    if (!started) peer.Start();
    started = true;
    return cli::Run(all, out, err, &ui);
  }
  void ScriptCatalogue(const std::string& alias, const std::string& pattern,
                       const std::string& records) {
    peer.Expect(Z("qr")).Send("1").Expect(Z(alias)).Send("2").Expect(Z(pattern)).Send("3");
    peer.Expect(Z("ok")).Send(records);
  }

  TempDir dir;
  std::string registry = dir.File("registry.txt");
  std::string nester = dir.File("nester"), stella = dir.File("stella");
  std::ostringstream out, err;
  bool started = false;
};

// The flags line; a refusal's reply only when no flag explains it. One connection per run.
TEST_F(Vtcli, LoginPrintsTheFlagsLine) {
  ScriptGoodLogin(peer, "ann", "pw", "True");
  peer.NextConnection().Expect("ann").Send("?").Expect("pw").Send("Account suspended");
  peer.NextConnection().Expect("ann").Send("?").Expect("pw").Send("Incorrect Username or Password");
  const std::pair<int, std::string> runs[] = {
      {0, "loggedIn=1 userInUse=0 badCredentials=0 connectFailed=0 fullAccount=True\n"},
      {1, "loggedIn=0 userInUse=0 badCredentials=0 connectFailed=0 fullAccount=False\nreply=Account suspended\n"},
      {1, "loggedIn=0 userInUse=0 badCredentials=1 connectFailed=0 fullAccount=False\n"}};
  for (const auto& [code, lines] : runs) {
    out.str("");
    EXPECT_EQ(Run({"login", "ann", "pw"}), code);
    EXPECT_EQ(out.str(), lines);
  }
  EXPECT_EQ(web.requests().size(), 3u);  // the WebHost value, read up to its NUL
}

TEST_F(Vtcli, GamesPrintsOneTabbedLinePerGameWithItsMark) {
  ScriptGoodLogin(peer, "ann", "pw", "False");
  ScriptCatalogue("GB' OR Alias='GBC", "^[0-z]",
                  std::string("3\0\0\0\0", 5) + Z("Alpha\nk1\n2\n0") + Z("Beta\nk2\n0\n4") +
                      Z("Gamma\nk3\n-1\n0"));
  EXPECT_EQ(Run({"games", "ann", "pw", "GBC", "^[0-z]"}), 0);
  EXPECT_EQ(out.str(),
            "0\tAlpha\tk1\t2\t0\tAvailable\n"
            "1\tBeta\tk2\t0\t4\tPreferred\n"
            "2\tGamma\tk3\t-1\t0\tUnAvailable\n");
}

TEST_F(Vtcli, GamesFailsWhenTheQueryFails) {
  ScriptGoodLogin(peer, "ann", "pw", "True");
  ScriptCatalogue("NES", "x", std::string("1\0\0\0\0", 5) + Z("error"));
  EXPECT_EQ(Run({"games", "ann", "pw", "NES", "x"}), 1);
  EXPECT_EQ(out.str(), "");
}

TEST_F(Vtcli, LaunchDryRunPrintsTheCommandLine) {
  ScriptGoodLogin(peer, "ann", "pw", "False");
  ScriptCatalogue("2600", "^[a-b]", std::string("2\0\0\0\0", 5) + Z("A\nk1\n0\n0") + Z("B\nk2\n1\n0"));
  EXPECT_EQ(Run({"--web-host", "games.example:8080", "launch", "ann", "pw", "2600", "^[a-b]", "1",
                 "--dry-run"}),
            0);
  EXPECT_EQ(out.str(), stella + " \"VTA26://ann:pw@games.example:8080/k2\"\n");
}

TEST_F(Vtcli, LaunchOfAMissingEmulatorSaysSoAndExitsOne) {
  ScriptGoodLogin(peer, "ann", "pw", "True");
  ScriptCatalogue("NES", "^[a-b]", std::string("1\0\0\0\0", 5) + Z("A\nk1\n1\n0"));
  EXPECT_EQ(Run({"launch", "ann", "pw", "NES", "^[a-b]", "0"}), 1);  // a dry run starts nothing to fail
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "VTBrowser: " + LaunchFailureText(LaunchOutcome::EmulatorNotFound, "NES", nester) + "\n");
}

TEST_F(Vtcli, LaunchRefusalPrintsTheNoticeAndExitsTwo) {
  ScriptGoodLogin(peer, "ann", "pw", "False");
  ScriptCatalogue("SNES", "^[a-b]", std::string("2\0\0\0\0", 5) + Z("A\nk1\n0\n3") + Z("B\nk2\n1\n0"));
  EXPECT_EQ(Run({"launch", "ann", "pw", "SNES", "^[a-b]", "0", "--dry-run"}), 2);
  EXPECT_EQ(out.str(), "LightAccountNotice\n");
}

TEST_F(Vtcli, LaunchPastTheCatalogueIsRefused) {
  ScriptGoodLogin(peer, "ann", "pw", "True");
  ScriptCatalogue("NES", "^[a-b]", std::string("1\0\0\0\0", 5) + Z("A\nk1\n1\n0"));
  EXPECT_EQ(Run({"launch", "ann", "pw", "NES", "^[a-b]", "1", "--dry-run"}), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("no game at index 1"), std::string::npos);
}

TEST_F(Vtcli, BadCommandLinesAreUsageErrors) {
  for (std::vector<std::string> args :
       {std::vector<std::string>{}, {"login", "only-user"}, {"fly", "a", "b"},
        {"--port", "70000", "login", "a", "b"}, {"--port"}, {"--colour", "x", "login", "a", "b"},
        {"launch", "a", "b", "NES", "p", "-1"}, {"games", "a", "b", "NES"}}) {
    std::ostringstream o, e;
    EXPECT_EQ(cli::Run(args, o, e, &ui), cli::kExitUsage);
    EXPECT_EQ(o.str(), "");
    EXPECT_NE(e.str().find("usage: vtcli"), std::string::npos);
  }
  peer.Start();
  peer.Finish();
  EXPECT_EQ(peer.connections(), 0u);
}

}  // namespace
}  // namespace vt::test
