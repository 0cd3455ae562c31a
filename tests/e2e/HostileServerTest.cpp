// The real VTBrowser.exe against a game server that misbehaves (vtservice --fault), with a
// receive time-out of two seconds instead of its thirty, through the environment.
#include "tests/e2e/ServiceCase.h"

namespace vt::e2e {
namespace {

class HostileServer : public ServiceCase {
protected:
  void SetUp() override {
    ServiceCase::SetUp();
    SetEnvironmentVariableA("VT_RECEIVE_TIMEOUT_MS", "2000");
  }
  // Well under the client's own thirty seconds, so that its own time-out would fail the case.
  static constexpr DWORD kNoticeWaitMs = 20000;
};

// Each of vtservice's spoiled catalogue answers, named as its --fault (which the test command
// gives the service of each case, with "-" for "_"): the service's second answer (SNES) is
// spoiled. The connection-error notice comes while the browser answers and keeps its rows, and the
// next command logs in again for the SNES rows (the service is asked for them after: asking first
// would move the spoiled answer).
class SpoiledAnswer : public HostileServer, public ::testing::WithParamInterface<const char*> {};

TEST_P(SpoiledAnswer, IsSurvived) {
  PrepareAutoLogin("demo");
  Client client;
  AwaitBrowser(client);
  const std::vector<std::string> nes = ListRows(list);
  Click(browser, IDC_BROWSER_SNES);
  HWND notice = Await(client, Kind::ConnectionError, kNoticeWaitMs);
  EXPECT_TRUE(SendMessageTimeoutA(browser, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr))
      << "not answering";
  Click(notice, IDC_NOTICE_OK);
  ASSERT_TRUE(client.WaitGone(notice));
  EXPECT_EQ(ListRows(list), nes) << "the previous rows stay";
  Click(browser, IDC_BROWSER_SNES);
  WaitUntil([&] { return ListRows(list) != nes; });
  const std::vector<std::string> snes = ListRows(list);
  CloseAndEnd(client, browser);
  EXPECT_EQ(nes, ServiceRows("demo", "NES", "^[a-b]"));
  EXPECT_EQ(snes, ServiceRows("demo", "SNES", "^[a-b]")) << "no new login and query";
}

INSTANTIATE_TEST_SUITE_P(Faults, SpoiledAnswer,
                         ::testing::Values("stall", "close_mid_record", "count_not_honoured",
                                           "garbage", "oversized"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(HostileServer, SilentLoginShowsConnectingThenFailsAfterTheTimeOut) {
  PrepareVintaraKey(web, {});
  Client client;
  HWND login = LogIn(Await(client, Kind::Login), "demo", "demo");
  Await(client, Kind::Connecting);
  HWND notice = Await(client, Kind::ConnectionError, kNoticeWaitMs);
  Click(notice, IDC_NOTICE_OK);
  ASSERT_TRUE(client.WaitGone(notice) && client.Running()) << "the login window is back";
  ClickToEnd(client, login, IDC_LOGIN_CANCEL);
}

}  // namespace
}  // namespace vt::e2e
