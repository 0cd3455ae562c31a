#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>

#include "platform/TcpSocket.h"

namespace vt {

namespace {
SOCKET Sock(intptr_t h) { return static_cast<SOCKET>(h); }
}  // namespace

int32_t StartSocketLibrary(uint16_t version) {
  WSADATA data{};
  return WSAStartup(version, &data);
}

ResolvedHost ResolveIpv4(const std::string& host) {
  ResolvedHost out;
  hostent* he = gethostbyname(host.c_str());
  if (!he || he->h_addrtype != AF_INET || !he->h_addr_list || !he->h_addr_list[0]) {
    out.error = WSAGetLastError();
    return out;
  }
  out.ok = true;
  memcpy(&out.address, he->h_addr_list[0], sizeof out.address);
  return out;
}

bool TcpSocket::Create() {
  Close();
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  handle_ = static_cast<intptr_t>(s);
  return true;
}

bool TcpSocket::Connect(uint32_t address, uint16_t port) {
  if (!valid()) return false;
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  sa.sin_addr.s_addr = address;
  return ::connect(Sock(handle_), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
}

bool TcpSocket::SetReceiveTimeout(uint32_t milliseconds) {
  if (!valid()) return false;
  DWORD ms = milliseconds;
  return ::setsockopt(Sock(handle_), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms),
                      sizeof ms) == 0;
}

bool TcpSocket::Send(std::string_view bytes) {
  if (!valid()) return false;
  if (bytes.empty()) return ::send(Sock(handle_), "", 0, 0) != SOCKET_ERROR;
  while (!bytes.empty()) {
    int chunk = static_cast<int>(std::min<size_t>(bytes.size(), 1 << 20));
    int n = ::send(Sock(handle_), bytes.data(), chunk, 0);
    if (n == SOCKET_ERROR) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

namespace {
long RecvCall(intptr_t h, char* buffer, size_t size, int flags, bool& timedOut) {
  const int n = ::recv(Sock(h), buffer, static_cast<int>(std::min<size_t>(size, 1 << 30)), flags);
  timedOut = n == SOCKET_ERROR && WSAGetLastError() == WSAETIMEDOUT;
  return n == SOCKET_ERROR ? -1 : n;
}
}  // namespace

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
  int len = sizeof sa;
  if (::getsockname(Sock(handle_), reinterpret_cast<sockaddr*>(&sa), &len) != 0) return "";
  const char* text = inet_ntoa(sa.sin_addr);
  return text ? text : "";
}

void TcpSocket::Close() {
  if (valid()) ::closesocket(Sock(handle_));
  handle_ = kInvalid;
}

}  // namespace vt
