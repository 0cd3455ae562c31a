// The version check against a web host whose reply (status line, headers, body) is the input:
// the real HTTP client of the Linux build on a loopback connection. Whether the client goes on
// is the program's decision; the invariant is that any reply gives one.
#include <string>

#include "fuzz/FakeSocket.h"
#include "fuzz/FuzzCheck.h"
#include "service/VersionCheck.h"
#include "tests/support/HttpPeer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vt::test::HttpPeer server("");
  server.SetRawReply(std::string(reinterpret_cast<const char*>(data), size));
  vt::test::RecordingHost host;
  const bool ends = vt::CheckClientVersion("4.05", server.hostPort(), host) == vt::Next::EndProgram;
  // The update message is said exactly when the program is to end, and then alone.
  FUZZ_CHECK(ends == (host.messages.size() == 1 &&
                      host.messages[0] == "Error: Visit Vintara to update your client."));
  return 0;
}
