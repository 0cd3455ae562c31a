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
#include <string>
#include <string_view>

namespace vt::test {

class WireClient {
public:
  explicit WireClient(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in sa{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
  }
  ~WireClient() { Close(); }
  WireClient(const WireClient&) = delete;
  WireClient& operator=(const WireClient&) = delete;

  bool connected() const { return connected_; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  bool Send(std::string_view bytes) {
    for (ssize_t n = 0; !bytes.empty(); bytes.remove_prefix(static_cast<std::size_t>(n)))
      if ((n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL)) <= 0) return false;
    return true;
  }

  // One receive of at most `max` bytes, as the client makes it. Empty on close or time-out.
  std::string RecvOnce(std::size_t max = 1024) {
    std::string buf(max, '\0');
    const ssize_t n = Readable(kGuardMs) ? ::recv(fd_, buf.data(), max, 0) : 0;
    buf.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buf;
  }

  std::string RecvExact(std::size_t count) {
    std::string out;
    for (std::string part = "-"; out.size() < count && !part.empty(); out += part)
      part = RecvOnce(count - out.size());
    return out;
  }

  // True when the server has closed the connection (orderly or by reset).
  bool ClosedByPeer() {
    char c;
    const ssize_t n = Readable(kGuardMs) ? ::recv(fd_, &c, 1, 0) : 1;
    return n == 0 || (n < 0 && errno == ECONNRESET);
  }

  bool NothingPending() { return !Readable(0); }

  // Send, then one receive: the rhythm of every step of the protocol.
  std::string Exchange(std::string_view bytes, std::size_t max = 1024) {
    return Send(bytes) ? RecvOnce(max) : "<send failed>";
  }

  // Login through the account-tier answer; returns that answer, or what went wrong.
  std::string Login(std::string_view user, std::string_view password) {
    Exchange(user);
    const std::string verdict = Exchange(password);
    if (verdict != "ok") return verdict;
    std::string field = "127.0.0.1";
    field.resize(64, '\0');
    Exchange(field, 3);
    return Exchange(std::string_view("qp\0", 3));
  }

  // "qr", alias, pattern, "ok"; returns the count field and the records, read until the
  // count's records are in (or the connection ends).
  std::string Query(std::string_view alias, std::string_view pattern) {
    Exchange(std::string_view("qr\0", 3));
    Exchange(std::string(alias) + '\0');
    Exchange(std::string(pattern) + '\0');
    Send(std::string_view("ok\0", 3));
    std::string answer = RecvExact(5);
    unsigned count = 0;
    for (char c : answer)
      if (c >= '0' && c <= '9') count = count * 10 + static_cast<unsigned>(c - '0');
    for (unsigned records = 0; records < count && answer.size() >= 5;) {
      const std::string b = RecvOnce(1);
      if (b.empty()) break;
      answer += b;
      records += b[0] == '\0';
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
  bool connected_ = false;
};

}  // namespace vt::test
