// The version check against a web host whose reply (status line, headers, body) is the input:
// the real HTTP client of the Linux build on a loopback connection.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <thread>

#include "fuzz/FuzzCheck.h"
#include "service/VersionCheck.h"

namespace {

class NoUi : public vt::ServiceUi {
public:
  void ShowMessage(const std::string&, const char*) override {}
  void EndProgram(int) override {}
};

// Answers every connection with the current reply, then closes it.
class ReplyServer {
public:
  ReplyServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
    ::listen(listener_, 16);
    socklen_t len = sizeof at;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &len);
    port_ = ntohs(at.sin_port);
    std::thread([this] { Serve(); }).detach();
  }
  unsigned port() const { return port_; }
  void Set(std::string reply) {
    std::lock_guard lock(mutex_);
    reply_ = std::move(reply);
  }

private:
  void Serve() {
    for (;;) {
      const int c = ::accept(listener_, nullptr, nullptr);
      if (c < 0) continue;
      std::string request;
      char buffer[2048];
      while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        const ssize_t n = ::recv(c, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<size_t>(n));
      }
      std::string reply;
      {
        std::lock_guard lock(mutex_);
        reply = reply_;
      }
      ::send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
      ::close(c);
    }
  }
  int listener_ = -1;
  unsigned port_ = 0;
  std::mutex mutex_;
  std::string reply_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ReplyServer server;
  server.Set(std::string(reinterpret_cast<const char*>(data), size));
  NoUi ui;
  // The result is the program's decision; the invariant is that any reply gives one.
  const bool goesOn = vt::CheckClientVersion("4.05", "127.0.0.1:" + std::to_string(server.port()), ui);
  (void)goesOn;
  return 0;
}
