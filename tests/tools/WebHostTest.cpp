// The web host over real HTTP: the version check the client makes, and every page it opens.
#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>

#include "tools/vtservice/Catalogue.h"
#include "tools/vtservice/HelpPages.h"
#include "tools/vtservice/WebHost.h"

namespace vt::service {
namespace {

const char* kData =
    "account|free|demo|demo\n"
    "game|NES|NES0007|2|3|Bob's <Big> & Bold\n"
    "game|GBC|GBC0001|0|1|Acorn Color\n";

class WebHostTest : public ::testing::Test {
protected:
  void Start(const std::string& version = "4.05") {
    auto cat = Catalogue::Parse(kData, nullptr);
    ASSERT_TRUE(cat);
    catalogue_ = std::make_unique<Catalogue>(std::move(*cat));
    host_ = std::make_unique<WebHost>(*catalogue_, WebHostConfig{"127.0.0.1", 0, version});
    std::string error;
    ASSERT_TRUE(host_->Start(&error)) << error;
    client_ = std::make_unique<httplib::Client>("127.0.0.1", host_->Port());
  }
  void SetUp() override { Start(); }

  // Status and body of a GET, the way a browser or the client's agent asks.
  std::pair<int, std::string> Get(const std::string& path) {
    auto res = client_->Get(path.c_str(), {{"User-Agent", "VTBrowser"}});
    if (!res) return {0, ""};
    return {res->status, res->body};
  }

  std::unique_ptr<Catalogue> catalogue_;
  std::unique_ptr<WebHost> host_;
  std::unique_ptr<httplib::Client> client_;
};

TEST_F(WebHostTest, VersionCheckBodyCarriesTheCurrentVersionWithinTheFirstRead) {
  auto [status, body] = Get("/version_check.php");
  EXPECT_EQ(status, 200);
  EXPECT_NE(body.find("4.05"), std::string::npos);
  EXPECT_LE(body.size(), 256u);  // the client reads at most 256 bytes
}

TEST(WebHostVersion, VersionTextIsConfigurableToTestAnOutdatedClient) {
  auto cat = Catalogue::Parse(kData, nullptr);
  ASSERT_TRUE(cat);
  WebHost host(*cat, WebHostConfig{"127.0.0.1", 0, "4.06"});
  ASSERT_TRUE(host.Start(nullptr));
  httplib::Client client("127.0.0.1", host.Port());
  auto res = client.Get("/version_check.php");
  ASSERT_TRUE(res);
  EXPECT_NE(res->body.find("4.06"), std::string::npos);
  EXPECT_EQ(res->body.find("4.05"), std::string::npos);
}

TEST_F(WebHostTest, AccountAndSignUpPagesAreServed) {
  for (const char* path : {"/signup.php", "/accountinfo.php", "/index.php?vt=accountinfo", "/index.php"}) {
    auto [status, body] = Get(path);
    EXPECT_EQ(status, 200) << path;
    EXPECT_NE(body.find("<html>"), std::string::npos) << path;
  }
  EXPECT_NE(Get("/accountinfo.php").second.find("Upgrade"), std::string::npos);
  EXPECT_NE(Get("/index.php?vt=accountinfo").second.find("Upgrade"), std::string::npos);
  EXPECT_EQ(Get("/index.php").second.find("Upgrade"), std::string::npos);
  EXPECT_NE(Get("/signup.php").second.find("demo"), std::string::npos);
}

TEST_F(WebHostTest, GameInfoDescribesTheGameOfTheKeyWithItsTitleEscaped) {
  auto [status, body] = Get("/gameinfo.php?gameinfo=NES0007");
  EXPECT_EQ(status, 200);
  EXPECT_NE(body.find("Bob&#39;s &lt;Big&gt; &amp; Bold"), std::string::npos);
  EXPECT_NE(body.find("Nintendo Entertainment System"), std::string::npos);
  EXPECT_EQ(body.find("<Big>"), std::string::npos);

  auto gbc = Get("/gameinfo.php?gameinfo=GBC0001");
  EXPECT_NE(gbc.second.find("Acorn Color"), std::string::npos);
  EXPECT_NE(gbc.second.find("Game Boy Color"), std::string::npos);
}

TEST_F(WebHostTest, GameInfoForAnUnknownKeyIsNotFoundAndNeverReflectsMarkup) {
  auto [status, body] = Get("/gameinfo.php?gameinfo=%3Cscript%3Ealert(1)%3C/script%3E");
  EXPECT_EQ(status, 404);
  EXPECT_EQ(body.find("<script>"), std::string::npos);
  EXPECT_NE(body.find("&lt;script&gt;"), std::string::npos);
  EXPECT_EQ(Get("/gameinfo.php").first, 404);
}

TEST_F(WebHostTest, EachConsoleHasAHelpPageAboutItsControls) {
  const std::pair<const char*, const char*> pages[] = {
      {"/NES_HELP.php", "nester"}, {"/SNES_HELP.php", "zsnesw.cfg"}, {"/GEN_HELP.php", "gens.cfg"},
      {"/GBC_HELP.php", "gest.cfg"}, {"/SMS_HELP.php", "meka.inp"}, {"/2600_HELP.php", "F2 is Game Select"}};
  for (const auto& [path, words] : pages) {
    auto [status, body] = Get(path);
    EXPECT_EQ(status, 200) << path;
    EXPECT_NE(body.find(words), std::string::npos) << path;
  }
  EXPECT_EQ(HelpPages().size(), 6u);
}

TEST_F(WebHostTest, UnknownPathsAreNotFound) {
  EXPECT_EQ(Get("/admin.php").first, 404);
  EXPECT_EQ(Get("/nes_help.php").first, 404);
  EXPECT_GE(Get("/../../etc/passwd").first, 400);
}

}  // namespace
}  // namespace vt::service
