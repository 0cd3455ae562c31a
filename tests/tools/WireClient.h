// A byte-level loopback client for game-server tests: it sends exactly the bytes it is given
// and reads with a generous guard time-out, so a server that stays silent fails the test
// instead of hanging it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace vt::test {

class WireClient {
public:
  explicit WireClient(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in sa{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
    ::connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);  // a failure fails the sends
  }
  ~WireClient() { Close(); }
  WireClient(const WireClient&) = delete;
  WireClient& operator=(const WireClient&) = delete;

  void Close() { ::close(std::exchange(fd_, -1)); }
  bool Send(std::string_view bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
  }
  // One receive of at most `max` bytes, as the client makes it. Empty on close or time-out.
  std::string RecvOnce(std::size_t max = 1024) {
    std::string buf(max, '\0');
    const ssize_t n = Readable(kGuardMs) ? ::recv(fd_, buf.data(), max, 0) : 0;
    buf.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buf;
  }
  // True when the server has closed the connection (orderly or by reset).
  bool ClosedByPeer() {
    char c;
    const ssize_t n = Readable(kGuardMs) ? ::recv(fd_, &c, 1, 0) : 1;
    return n == 0 || (n < 0 && errno == ECONNRESET);
  }
  bool NothingPending() { return !Readable(0); }
  // Half-closes: the server reads the end of what was sent and may still answer.
  void FinishSending() { ::shutdown(fd_, SHUT_WR); }
  // Send, then one receive: the rhythm of every step of the protocol.
  std::string Exchange(std::string_view bytes, std::size_t max = 1024) {
    return Send(bytes) ? RecvOnce(max) : "<send failed>";
  }
  // Login through the account-tier answer; returns that answer, or what went wrong.
  std::string Login(std::string_view user, std::string_view password) {
    Exchange(user);
    const std::string verdict = Exchange(password);
    if (verdict != "ok") return verdict;
    Exchange(std::string(64, '\0'), 3);
    return Exchange(std::string_view("qp\0", 3));
  }
  // "qr", alias, pattern, "ok"; returns the count field and the records, read until the
  // count's records are in (or the connection ends).
  std::string Query(std::string_view alias, std::string_view pattern) {
    for (std::string step :
         {std::string("qr\0", 3), std::string(alias) + '\0', std::string(pattern) + '\0'})
      Exchange(step);
    Send(std::string_view("ok\0", 3));
    std::string answer;
    for (long left = 1; left > 0;) {
      const std::string b = RecvOnce(1);
      if (b.empty()) break;
      answer += b;
      if (answer.size() == 5) left = std::strtol(answer.c_str(), nullptr, 10);
      if (answer.size() > 5) left -= b[0] == '\0';
    }
    return answer;
  }

private:
  static constexpr int kGuardMs = 10000;
  bool Readable(int ms) {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
  }

  int fd_ = -1;
};

}  // namespace vt::test
