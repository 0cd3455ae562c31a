// The version check against a web host whose reply (status line, headers, body) is the input:
// the real HTTP client of the Linux build on a loopback connection. Whether the client goes on
// is the program's decision; the invariant is that any reply gives one.
#include <mutex>
#include <string>
#include <thread>

#include "fuzz/FakeSocket.h"
#include "fuzz/FuzzCheck.h"
#include "service/VersionCheck.h"
#include "tests/support/LoopbackSocket.h"

namespace {

namespace net = vt::test;

// Answers every request with the current reply, then closes the connection.
struct ReplyServer {
  std::mutex mutex;
  std::string reply;
  uint16_t port = 0;
  net::RawSocket listener = net::ListenLoopback(0, &port);

  ReplyServer() {
    std::thread([this] {
      for (;;) {
        const net::RawSocket c = net::AcceptOne(listener);
        std::string request;
        char buffer[2048];
        for (long n = 1; n > 0 && request.find("\r\n\r\n") == std::string::npos;) {
          n = net::RecvSome(c, buffer, sizeof buffer);
          request.append(buffer, n > 0 ? static_cast<size_t>(n) : 0);
        }
        std::lock_guard lock(mutex);
        net::SendAll(c, reply);
        net::CloseSocket(c);
      }
    }).detach();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ReplyServer server;
  {
    std::lock_guard lock(server.mutex);
    server.reply.assign(reinterpret_cast<const char*>(data), size);
  }
  vt::test::RecordingHost host;
  const std::string web = "127.0.0.1:" + std::to_string(server.port);
  const bool ends = vt::CheckClientVersion("4.05", web, host) == vt::Next::EndProgram;
  // The update message is said exactly when the program is to end, and then alone.
  FUZZ_CHECK(ends == (host.messages.size() == 1 &&
                      host.messages[0] == "Error: Visit Vintara to update your client."));
  return 0;
}
