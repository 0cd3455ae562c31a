// The socket and HTTP layers against real loopback peers (Winsock and WinINet under Wine), for
// what the session's own tests cannot show: a send to a vanished peer, and the request's agent.
#include <gtest/gtest.h>

#include "platform/HttpGet.h"
#include "platform/TcpSocket.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/ScriptedPeer.h"

namespace vt {
namespace {

TEST(TcpSocket, SendToAVanishedPeerIsAnErrorNotASignal) {
  test::ScriptedPeer peer;
  peer.Reset();
  peer.Start();
  StartSocketLibrary(0x0202);
  TcpSocket s;
  ASSERT_TRUE(s.Create());
  ASSERT_TRUE(s.Connect(ResolveIpv4("127.0.0.1").address, peer.port()));
  ASSERT_TRUE(s.SetReceiveTimeout(2000));
  char buf[4];
  EXPECT_LE(s.Receive(buf, sizeof buf), 0);  // the reset (or its close) is seen
  bool failed = false;
  for (int i = 0; i < 50 && !failed; ++i) failed = !s.Send(std::string(65536, 'z'));
  EXPECT_TRUE(failed);
}

TEST(HttpGet, FirstReadOfTheBodyWithTheClientsAgent) {
  test::HttpPeer web(std::string(300, 'a') + "4.05");
  HttpGetResult r = HttpGetFirstRead(web.hostPort(), "/version_check.php", 256);
  ASSERT_EQ(r.status, HttpGetStatus::Ok);
  EXPECT_LE(r.body.size(), 256u);
  EXPECT_FALSE(r.body.empty());
  EXPECT_EQ(r.body, std::string(r.body.size(), 'a'));
  ASSERT_EQ(web.requests().size(), 1u);
  const std::string head = web.requests()[0] + "\r\n";
  EXPECT_EQ(head.rfind("GET /version_check.php HTTP/1.", 0), 0u) << head;
  EXPECT_NE(head.find("\r\nUser-Agent: VTBrowser\r\n"), std::string::npos) << head;
}

}  // namespace
}  // namespace vt
