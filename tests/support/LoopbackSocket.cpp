#include "tests/support/LoopbackSocket.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace vt::test {

namespace {
#ifdef _WIN32
using Native = SOCKET;
using Length = int;
constexpr int kNoSignal = 0, kSendSide = SD_SEND;
#else
using Native = int;
using Length = socklen_t;
constexpr int kNoSignal = MSG_NOSIGNAL, kSendSide = SHUT_WR;
#endif
Native N(RawSocket s) { return static_cast<Native>(s); }
}  // namespace

RawSocket ListenLoopback(uint16_t port, uint16_t* boundPort) {
#ifdef _WIN32
  static const bool started = [] {
    WSADATA d;
    return WSAStartup(0x0202, &d) == 0;
  }();
#else
  const bool started = true;
#endif
  const auto s = static_cast<RawSocket>(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!started || s == kNoSocket) return kNoSocket;
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  Length length = sizeof sa;
  if (::bind(N(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(N(s), 16) != 0 ||
      ::getsockname(N(s), reinterpret_cast<sockaddr*>(&sa), &length) != 0) {
    CloseSocket(s);
    return kNoSocket;
  }
  if (boundPort) *boundPort = ntohs(sa.sin_port);
  return s;
}

// Both systems' failed accept is all ones, which is kNoSocket.
RawSocket AcceptOne(RawSocket listener) {
  return static_cast<RawSocket>(::accept(N(listener), nullptr, nullptr));
}

long RecvSome(RawSocket s, char* buffer, size_t size) {
  const auto n = ::recv(N(s), buffer, static_cast<int>(size), 0);
  return n < 0 ? -1 : static_cast<long>(n);
}

bool SendAll(RawSocket s, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const int left = static_cast<int>(bytes.size() - done);
    const auto n = ::send(N(s), bytes.data() + done, left, kNoSignal);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

int WaitReadable(RawSocket s, uint32_t ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(N(s), &set);
  timeval tv{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
  const int rc = ::select(static_cast<int>(N(s) + 1), &set, nullptr, nullptr, &tv);
  return rc < 0 ? -1 : rc > 0;
}

void ShutdownSend(RawSocket s) { ::shutdown(N(s), kSendSide); }

void CloseSocket(RawSocket s) {
#ifdef _WIN32
  ::closesocket(N(s));
#else
  ::close(N(s));
#endif
}

void ResetSocket(RawSocket s) {
  const linger abort{1, 0};
  ::setsockopt(N(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
  CloseSocket(s);
}

}  // namespace vt::test
