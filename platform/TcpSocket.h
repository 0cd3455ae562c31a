// One blocking IPv4 TCP stream socket, the calls the game-server session makes and no more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vt {

// Starts the platform's socket library (WSAStartup with the given version on Windows; nothing
// elsewhere) and returns its result. The library is never shut down: the session starts it at
// every connect, as the client always has.
int32_t StartSocketLibrary(uint16_t version);

struct ResolvedHost {
  bool ok = false;
  uint32_t address = 0;  // network byte order
  int error = 0;         // the platform's error number when !ok
};
// The first IPv4 address of a host name or dotted address.
ResolvedHost ResolveIpv4(const std::string& host);

class TcpSocket {
public:
  TcpSocket() = default;
  ~TcpSocket() { Close(); }
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;
  TcpSocket(TcpSocket&& other) noexcept : handle_(other.handle_), timedOut_(other.timedOut_) {
    other.handle_ = kInvalid;
  }
  TcpSocket& operator=(TcpSocket&& other) noexcept;

  bool Create();  // closes any previous socket first
  bool valid() const { return handle_ != kInvalid; }
  // address in network byte order, port in host byte order.
  bool Connect(uint32_t address, uint16_t port);
  bool SetReceiveTimeout(uint32_t milliseconds);
  // Sends all of bytes; false on an error.
  bool Send(std::string_view bytes);
  // One receive call: the count received, 0 when the peer closed, -1 on an error or time-out.
  long Receive(char* buffer, size_t size);
  // After a Receive or Peek of -1: whether the receive time-out ran out (a silent peer) rather
  // than the connection failing (reset, or gone).
  bool TimedOut() const { return timedOut_; }
  // As Receive, but leaves the bytes in the socket.
  long Peek(char* buffer, size_t size);
  // Receives exactly size bytes that a Peek has shown to be there; false on an error.
  bool ReceiveExactly(char* buffer, size_t size);
  // The connection's local IPv4 address as dotted-decimal text ("" if unknown).
  std::string LocalAddressText() const;
  void Close();

private:
  static constexpr intptr_t kInvalid = -1;
  intptr_t handle_ = kInvalid;
  bool timedOut_ = false;
};

inline TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    timedOut_ = other.timedOut_;
    other.handle_ = kInvalid;
  }
  return *this;
}

inline bool TcpSocket::ReceiveExactly(char* buffer, size_t size) {
  while (size > 0) {
    long n = Receive(buffer, size);
    if (n <= 0) return false;
    buffer += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace vt
