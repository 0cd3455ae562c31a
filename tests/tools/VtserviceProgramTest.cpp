// The vtservice program itself: its command line, the ready line, serving the built-in
// sample data, and a clean stop on SIGINT and SIGTERM.
#include <gtest/gtest.h>
#include <httplib.h>

#include <regex>
#include <string>

#include "tests/support/TempDir.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/WireClient.h"

namespace vt::test {
namespace {

using namespace std::string_literals;

struct Ready {
  std::uint16_t gamePort = 0, webPort = 0;
};

bool ParseReady(const std::string& line, Ready& out) {
  std::smatch m;
  static const std::regex re(R"(^vtservice ready: game server 127\.0\.0\.1:(\d+), web host http://127\.0\.0\.1:(\d+)/$)");
  if (!std::regex_match(line, m, re)) return false;
  out.gamePort = static_cast<std::uint16_t>(std::stoi(m[1]));
  out.webPort = static_cast<std::uint16_t>(std::stoi(m[2]));
  return true;
}

TEST(VtserviceProgram, ServesTheSampleDataOnBothPortsAndStopsOnSigterm) {
  ChildProcess p({VT_SERVICE_EXE, "--game-port", "0", "--web-port", "0"});
  ASSERT_TRUE(p.started());
  std::string line = p.ReadLine();
  Ready ready;
  ASSERT_TRUE(ParseReady(line, ready)) << line;

  WireClient c(ready.gamePort);
  EXPECT_EQ(c.Login("demo", "demo"), "False");
  std::string answer = c.Query("NES", "^[a-b]");
  ASSERT_GE(answer.size(), 5u);
  EXPECT_GT(std::stoi(answer.substr(0, 5)), 0);
  WireClient full(ready.gamePort);
  EXPECT_EQ(full.Login("player", "player"), "True");

  httplib::Client web("127.0.0.1", ready.webPort);
  auto res = web.Get("/version_check.php");
  ASSERT_TRUE(res);
  EXPECT_NE(res->body.find("4.05"), std::string::npos);

  p.Signal(SIGTERM);
  EXPECT_EQ(p.Wait(), 0);
}

TEST(VtserviceProgram, TakesDataFileBindAddressAndVersionTextAndStopsOnSigint) {
  TempDir dir;
  WriteFileBytes(dir.File("mine.txt"), "account|full|zed|zz\ngame|COL|K1|1|2|Only Game\n");
  ChildProcess p({VT_SERVICE_EXE, "--data", dir.File("mine.txt"), "--bind", "127.0.0.1", "--game-port", "0",
                  "--web-port", "0", "--version-text", "3.99"});
  Ready ready;
  ASSERT_TRUE(ParseReady(p.ReadLine(), ready));
  WireClient c(ready.gamePort);
  EXPECT_EQ(c.Login("demo", "demo"), "Incorrect Username or Password");
  EXPECT_EQ(c.Login("zed", "zz"), "True");
  EXPECT_EQ(c.Query("COL", ""), "1\0\0\0\0Only Game\nK1\n2\n2\0"s);
  httplib::Client web("127.0.0.1", ready.webPort);
  auto res = web.Get("/version_check.php");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->body.find("4.05"), std::string::npos);
  EXPECT_NE(res->body.find("3.99"), std::string::npos);
  p.Signal(SIGINT);
  EXPECT_EQ(p.Wait(), 0);
}

TEST(VtserviceProgram, HelpDocumentsEveryOption) {
  ChildProcess p({VT_SERVICE_EXE, "--help"});
  EXPECT_EQ(p.Wait(), 0);
  std::string text = p.RestOfStdout();
  for (const char* opt : {"--data FILE", "--bind ADDRESS", "--game-port N", "--web-port N", "--version-text TEXT",
                          "11001", "8011", "4.05", "127.0.0.1", "SIGTERM"})
    EXPECT_NE(text.find(opt), std::string::npos) << opt;
}

TEST(VtserviceProgram, RefusesBadCommandLinesAndBadDataWithoutStarting) {
  TempDir dir;
  WriteFileBytes(dir.File("bad.txt"), "account|free|a|b\ngame|NES|K|one|1|T\n");
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{VT_SERVICE_EXE, "--game-port", "70000"}, 2},
      {{VT_SERVICE_EXE, "--web-port"}, 2},
      {{VT_SERVICE_EXE, "--colour", "blue"}, 2},
      {{VT_SERVICE_EXE, "--data", dir.File("none.txt"), "--game-port", "0", "--web-port", "0"}, 1},
      {{VT_SERVICE_EXE, "--data", dir.File("bad.txt"), "--game-port", "0", "--web-port", "0"}, 1},
      {{VT_SERVICE_EXE, "--bind", "no.such.host.invalid", "--game-port", "0", "--web-port", "0"}, 1},
  };
  for (const auto& [argv, code] : cases) {
    ChildProcess p(argv);
    EXPECT_EQ(p.Wait(), code) << argv.back();
    EXPECT_EQ(p.RestOfStdout(), "") << argv.back();  // no ready line
    EXPECT_FALSE(p.Stderr().empty());
  }
  ChildProcess p({VT_SERVICE_EXE, "--data", dir.File("bad.txt")});
  p.Wait();
  EXPECT_NE(p.Stderr().find("line 2"), std::string::npos);
}

}  // namespace
}  // namespace vt::test
