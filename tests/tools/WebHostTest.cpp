// The web host over real HTTP: the version check the client makes, and a game's page, whose title
// is escaped. (The other pages the client opens in the user's browser are for a person to read.)
#include <gtest/gtest.h>
#include <httplib.h>

#include <string>

#include "tools/vtservice/Catalogue.h"
#include "tools/vtservice/WebHost.h"

namespace vt::service {
namespace {

TEST(WebHost, AnswersEachPageWithItsStatusAndWords) {
  auto cat = Catalogue::Parse("account|free|demo|demo\ngame|NES|NES0007|2|3|Bob's <Big> & Bold\n",
                              nullptr);
  ASSERT_TRUE(cat);
  WebHost host(*cat, WebHostConfig{"127.0.0.1", 0, "4.05"});
  std::string error;
  ASSERT_TRUE(host.Start(&error)) << error;
  httplib::Client client("127.0.0.1", host.Port());
  const struct {
    const char* path;
    int status;
    const char* has;     // words the page holds
    const char* hasNot;  // and must not
  } pages[] = {
      {"/version_check.php", 200, "4.05", "<html>"},
      // Titles are escaped; an unknown key is not found and never reflects markup.
      {"/gameinfo.php?gameinfo=NES0007", 200, "Bob&#39;s &lt;Big&gt; &amp; Bold", "<Big>"},
      {"/gameinfo.php?gameinfo=%3Cscript%3Ex%3C/script%3E", 404, "&lt;script&gt;", "<script>"},
      {"/admin.php", 404, "", "Upgrade"},
  };
  for (const auto& p : pages) {
    const auto res = client.Get(p.path, {{"User-Agent", "VTBrowser"}});
    ASSERT_TRUE(res) << p.path;
    EXPECT_EQ(res->status, p.status) << p.path;
    EXPECT_NE(res->body.find(p.has), std::string::npos) << p.path;
    EXPECT_EQ(res->body.find(p.hasNot), std::string::npos) << p.path;
    // The client reads the version check's first 256 bytes only.
    if (p.path == std::string("/version_check.php")) {
      EXPECT_LE(res->body.size(), 256u);
    }
  }
  const auto climb = client.Get("/../../etc/passwd");
  EXPECT_TRUE(!climb || climb->status >= 400);
}

}  // namespace
}  // namespace vt::service
