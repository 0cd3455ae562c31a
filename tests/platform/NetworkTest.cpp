// The socket and HTTP layers against real loopback peers (Winsock and WinINet under Wine).
#include <gtest/gtest.h>

#include "platform/HttpGet.h"
#include "platform/TcpSocket.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/ScriptedPeer.h"

namespace vt {
namespace {

TcpSocket ConnectTo(const test::ScriptedPeer& peer, uint32_t timeoutMs = 2000) {
  StartSocketLibrary(0x0202);
  TcpSocket s;
  EXPECT_TRUE(s.Create());
  ResolvedHost h = ResolveIpv4("127.0.0.1");
  EXPECT_TRUE(h.ok);
  EXPECT_TRUE(s.Connect(h.address, peer.port()));
  EXPECT_TRUE(s.SetReceiveTimeout(timeoutMs));
  return s;
}

TEST(TcpSocket, PeekLeavesBytesAndReceiveTakesExactlyWhatIsAsked) {
  test::ScriptedPeer peer;
  peer.Expect("hello").Send(std::string("abc\0def", 7));
  peer.Start();
  TcpSocket s = ConnectTo(peer);
  EXPECT_EQ(s.LocalAddressText(), "127.0.0.1");
  ASSERT_TRUE(s.Send("hello"));
  char buf[16] = {};
  // The whole reply may not be there at the first peek; wait until it is.
  long n = 0;
  while ((n = s.Peek(buf, sizeof buf)) > 0 && n < 7) {
  }
  ASSERT_EQ(n, 7);
  EXPECT_EQ(std::string(buf, 7), std::string("abc\0def", 7));
  char head[4] = {};
  ASSERT_TRUE(s.ReceiveExactly(head, 4));
  EXPECT_EQ(std::string(head, 4), std::string("abc\0", 4));
  char tail[16] = {};
  EXPECT_EQ(s.Receive(tail, sizeof tail), 3);
  EXPECT_EQ(std::string(tail, 3), "def");
  s.Close();
  peer.Finish();
  EXPECT_EQ(peer.Received(), "hello");
}

TEST(TcpSocket, ReceiveTimesOutAndCloseReadsAsZero) {
  test::ScriptedPeer peer;
  peer.Expect("x");  // then silence
  peer.NextConnection();
  peer.Close();
  peer.Start();
  TcpSocket s = ConnectTo(peer, 200);
  ASSERT_TRUE(s.Send("x"));
  char buf[4];
  EXPECT_EQ(s.Receive(buf, sizeof buf), -1);
  EXPECT_EQ(s.Peek(buf, sizeof buf), -1);
  s.Close();
  TcpSocket t = ConnectTo(peer, 2000);
  EXPECT_EQ(t.Receive(buf, sizeof buf), 0);
  EXPECT_EQ(t.Peek(buf, sizeof buf), 0);
}

TEST(TcpSocket, ClosedSocketFailsEveryCall) {
  TcpSocket s;
  char buf[4];
  EXPECT_FALSE(s.valid());
  EXPECT_FALSE(s.Send("x"));
  EXPECT_EQ(s.Receive(buf, 4), -1);
  EXPECT_EQ(s.Peek(buf, 4), -1);
  EXPECT_FALSE(s.Connect(0x0100007F, 1));
  EXPECT_EQ(s.LocalAddressText(), "");
}

TEST(TcpSocket, SendToAVanishedPeerIsAnErrorNotASignal) {
  test::ScriptedPeer peer;
  peer.Reset();
  peer.Start();
  TcpSocket s = ConnectTo(peer);
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

TEST(HttpGet, ErrorPagesAreBodiesAndDeadHostsAreOpenFailures) {
  test::HttpPeer missing("no such page", 404);
  HttpGetResult r = HttpGetFirstRead(missing.hostPort(), "/version_check.php", 256);
  EXPECT_EQ(r.status, HttpGetStatus::Ok);
  EXPECT_EQ(r.body, "no such page");

  std::string gone;
  {
    test::HttpPeer peer("x");
    gone = peer.hostPort();
  }
  EXPECT_EQ(HttpGetFirstRead(gone, "/version_check.php", 256).status, HttpGetStatus::OpenFailed);
}

}  // namespace
}  // namespace vt
