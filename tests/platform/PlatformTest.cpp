// The platform layer against the real system (Winsock and WinINet under Wine), for what the
// client's own tests cannot show: a send to a vanished peer, the request's agent, and the folder
// a program starts in, found from its command line as Windows finds it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/HttpGet.h"
#include "platform/Process.h"
#include "platform/TcpSocket.h"
#include "tests/support/HttpPeer.h"
#include "tests/support/ScriptedPeer.h"
#include "tests/support/TempDir.h"

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

TEST(ProgramFolder, IsTheFolderOfTheFileTheLineStarts) {
  test::TempDir dir;
  const std::string emu = dir.File("Emu Dir"), sep = emu.substr(dir.path().string().size(), 1);
  std::filesystem::create_directories(emu + sep + "sub");
  test::WriteFileBytes(emu + sep + "nester.exe", "MZ");
  test::WriteFileBytes(emu + sep + "stella", "MZ");
  const std::string nester = emu + sep + "nester.exe";
  const std::pair<std::string, std::string> cases[] = {
      {nester + " VTNES://u:p@h/k", emu},               // blanks in the folder: the first file
      {"\"" + nester + "\" -x VTNES://u:p@h/k", emu},   // quoted, then options
      {emu + sep + "nester VTNES://u:p@h/k", emu},      // ".exe" added, as the start does
      {emu + sep + "stella \"VTA26://u:p@h/k\"", emu},  // a program without an extension
      {emu + sep + "sub VTNES://u:p@h/k", ""},          // a folder is no program
      {emu + sep + "missing.exe VTNES://u:p@h/k", ""},  // no file: started as before
      {"\"" + emu + sep + "missing.exe\" x", ""},
      {"nester.exe VTNES://u:p@h/k", ""},  // a bare name on the search path
      {" VTNES://u:p@h/k", ""},            // no path at all
      {"", ""},
  };
  for (const auto& [line, folder] : cases) EXPECT_EQ(ProgramFolder(line), folder) << line;
}

}  // namespace
}  // namespace vt
