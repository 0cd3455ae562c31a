// The game server's clients for the load programs: a catalogue of any size in the service's
// data format, and a blocking client that logs in and queries the way the real client does.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vt::bench {

// Free and full accounts "u0".."u<accounts-1>" (password "pw") and `games` NES games.
inline std::string LoadData(int accounts, int games) {
  std::string data;
  for (int i = 0; i < accounts; ++i) data += "account|" + std::string(i % 2 ? "full" : "free") + "|u" + std::to_string(i) + "|pw\n";
  for (int i = 0; i < games; ++i) {
    const std::string n = std::to_string(i);
    data += "game|NES|K" + n + "|" + std::to_string(i % 3) + "|" + std::to_string(i % 5) + "|Game number " + n + "\n";
  }
  return data;
}

class ServiceClient {
public:
  explicit ServiceClient(std::uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval guard{10, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &guard, sizeof guard);
    ok_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
  }
  ~ServiceClient() { ::close(fd_); }
  ServiceClient(const ServiceClient&) = delete;
  ServiceClient& operator=(const ServiceClient&) = delete;

  bool Send(std::string_view bytes) {
    while (ok_ && !bytes.empty()) {
      const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      ok_ = n > 0;
      if (ok_) bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return ok_;
  }
  std::string Exchange(std::string_view bytes, std::size_t max = 1024) {
    if (!Send(bytes)) return {};
    std::string reply(max, '\0');
    const ssize_t n = ::recv(fd_, reply.data(), max, 0);
    reply.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return reply;
  }
  // The account tier ("True"/"False"), or what came instead.
  std::string Login(const std::string& user, const std::string& password) {
    if (Exchange(user) != "ok" || Exchange(password) != "ok") return "<refused>";
    Exchange(std::string(64, '\0'), 3);
    return Exchange(std::string_view("qp\0", 3));
  }
  // The number of records of one catalogue answer, or -1 when it did not come whole.
  long Query(std::string_view alias, std::string_view pattern) {
    if (Exchange(std::string_view("qr\0", 3)) != "ok" || Exchange(std::string(alias) + '\0') != "ok" ||
        Exchange(std::string(pattern) + '\0') != "ok" || !Send(std::string_view("ok\0", 3)))
      return -1;
    // Bulk reads: the answer is the last thing the server sends, so nothing after it is taken.
    std::string in;
    char buf[65536];
    long count = -1, ends = 0;
    while (count < 0 || ends < count) {
      const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) return -1;
      const std::size_t before = in.size();
      in.append(buf, static_cast<std::size_t>(n));
      if (count < 0 && in.size() >= 5) {
        count = std::strtol(in.substr(0, 5).c_str(), nullptr, 10);
        for (std::size_t i = 5; i < in.size(); ++i) ends += in[i] == '\0';
      } else if (count >= 0) {
        for (std::size_t i = before; i < in.size(); ++i) ends += in[i] == '\0';
      }
    }
    return count;
  }

private:
  int fd_ = -1;
  bool ok_ = false;
};

}  // namespace vt::bench
