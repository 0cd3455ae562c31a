#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <cerrno>

#include <cstring>

#include "platform/TcpSocket.h"

namespace vt {

namespace {
int Fd(intptr_t h) { return static_cast<int>(h); }

long RecvCall(intptr_t h, char* buffer, size_t size, int flags, bool& timedOut) {
  for (;;) {
    ssize_t n = ::recv(Fd(h), buffer, size, flags);
    if (n < 0 && errno == EINTR) continue;
    timedOut = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    return n < 0 ? -1 : static_cast<long>(n);
  }
}
}  // namespace

int32_t StartSocketLibrary(uint16_t) { return 0; }

ResolvedHost ResolveIpv4(const std::string& host) {
  ResolvedHost out;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &list);
  if (rc != 0 || !list) {
    out.error = rc;
    return out;
  }
  out.ok = true;
  out.address = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
  ::freeaddrinfo(list);
  return out;
}

bool TcpSocket::Create() {
  Close();
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

bool TcpSocket::Connect(uint32_t address, uint16_t port) {
  if (!valid()) return false;
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  sa.sin_addr.s_addr = address;
  return ::connect(Fd(handle_), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
}

bool TcpSocket::SetReceiveTimeout(uint32_t milliseconds) {
  if (!valid()) return false;
  timeval tv{};
  tv.tv_sec = milliseconds / 1000;
  tv.tv_usec = static_cast<suseconds_t>((milliseconds % 1000) * 1000);
  return ::setsockopt(Fd(handle_), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) == 0;
}

bool TcpSocket::Send(std::string_view bytes) {
  if (!valid()) return false;
  if (bytes.empty()) return ::send(Fd(handle_), "", 0, MSG_NOSIGNAL) >= 0;
  while (!bytes.empty()) {
    // MSG_NOSIGNAL: a peer that has gone must be an error value, not a SIGPIPE.
    ssize_t n = ::send(Fd(handle_), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

long TcpSocket::Receive(char* buffer, size_t size) {
  timedOut_ = false;
  return valid() ? RecvCall(handle_, buffer, size, 0, timedOut_) : -1;
}

long TcpSocket::Peek(char* buffer, size_t size) {
  timedOut_ = false;
  return valid() ? RecvCall(handle_, buffer, size, MSG_PEEK, timedOut_) : -1;
}

std::string TcpSocket::LocalAddressText() const {
  if (!valid()) return "";
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  if (::getsockname(Fd(handle_), reinterpret_cast<sockaddr*>(&sa), &len) != 0) return "";
  char text[INET_ADDRSTRLEN] = {};
  if (!::inet_ntop(AF_INET, &sa.sin_addr, text, sizeof text)) return "";
  return text;
}

void TcpSocket::Close() {
  if (valid()) ::close(Fd(handle_));
  handle_ = kInvalid;
}

}  // namespace vt
