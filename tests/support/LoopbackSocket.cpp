#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using socklen_t = int;
#else
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/select.h>
#include <sys/time.h>
#include <unistd.h>
#endif

#include "tests/support/LoopbackSocket.h"

namespace vt::test {

namespace {
#ifdef _WIN32
SOCKET S(RawSocket s) { return static_cast<SOCKET>(s); }
struct WinsockStart {
  WinsockStart() {
    WSADATA d;
    WSAStartup(0x0202, &d);
  }
};
void EnsureStarted() { static WinsockStart start; }
#else
int S(RawSocket s) { return static_cast<int>(s); }
void EnsureStarted() {}
#endif
}  // namespace

RawSocket ListenLoopback(uint16_t port, uint16_t* boundPort) {
  EnsureStarted();
  auto s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
#ifdef _WIN32
  if (s == INVALID_SOCKET) return kNoSocket;
#else
  if (s < 0) return kNoSocket;
  int one = 1;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
#endif
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(s, 16) != 0) {
    CloseSocket(static_cast<RawSocket>(s));
    return kNoSocket;
  }
  socklen_t len = sizeof sa;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&sa), &len);
  if (boundPort) *boundPort = ntohs(sa.sin_port);
  return static_cast<RawSocket>(s);
}

RawSocket AcceptOne(RawSocket listener) {
  auto s = ::accept(S(listener), nullptr, nullptr);
#ifdef _WIN32
  return s == INVALID_SOCKET ? kNoSocket : static_cast<RawSocket>(s);
#else
  return s < 0 ? kNoSocket : static_cast<RawSocket>(s);
#endif
}

long RecvSome(RawSocket s, char* buffer, size_t size) {
  for (;;) {
    auto n = ::recv(S(s), buffer, static_cast<int>(size), 0);
#ifndef _WIN32
    if (n < 0 && errno == EINTR) continue;
#endif
    return n < 0 ? -1 : static_cast<long>(n);
  }
}

bool SendAll(RawSocket s, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
#ifdef _WIN32
    int n = ::send(S(s), bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
#else
    auto n = ::send(S(s), bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
#endif
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

void SetRecvTimeout(RawSocket s, uint32_t ms) {
#ifdef _WIN32
  DWORD v = ms;
  ::setsockopt(S(s), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&v), sizeof v);
#else
  timeval tv{};
  tv.tv_sec = ms / 1000;
  tv.tv_usec = static_cast<suseconds_t>((ms % 1000) * 1000);
  ::setsockopt(S(s), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
#endif
}

int WaitReadable(RawSocket s, uint32_t ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(S(s), &set);
  timeval tv{};
  tv.tv_sec = static_cast<long>(ms / 1000);
  tv.tv_usec = static_cast<long>((ms % 1000) * 1000);
  int rc = ::select(static_cast<int>(S(s) + 1), &set, nullptr, nullptr, &tv);
  return rc < 0 ? -1 : (rc > 0 ? 1 : 0);
}

void ShutdownSend(RawSocket s) {
#ifdef _WIN32
  ::shutdown(S(s), SD_SEND);
#else
  ::shutdown(S(s), SHUT_WR);
#endif
}

void CloseSocket(RawSocket s) {
#ifdef _WIN32
  ::closesocket(S(s));
#else
  ::close(S(s));
#endif
}

void ResetSocket(RawSocket s) {
  linger l{};
  l.l_onoff = 1;
  l.l_linger = 0;
  ::setsockopt(S(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
  CloseSocket(s);
}

}  // namespace vt::test
