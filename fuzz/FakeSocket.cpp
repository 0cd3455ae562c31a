// TcpSocket for the fuzz build: linked instead of the platform's implementation.
#include "fuzz/FakeSocket.h"

#include <algorithm>
#include <cstring>

#include "platform/TcpSocket.h"

namespace vt {
namespace fuzz {

Wire& TheWire() {
  static Wire wire;
  return wire;
}

void WireFromInput(FuzzedDataProvider& in, int pieceCount, size_t largestPiece) {
  Wire& w = TheWire();
  w = Wire{};
  w.errorAtEnd = in.ConsumeBool();
  for (int i = 0; i < pieceCount; ++i)
    w.pieces.push_back(in.ConsumeIntegralInRange<size_t>(1, largestPiece));
  w.incoming = in.ConsumeRemainingBytesAsString();
}

namespace {
// Copies what has arrived, making the next piece arrive when nothing is waiting; 0 after an
// orderly close, -1 after an error, and the peer's bytes stay when only peeking.
long Take(char* buffer, size_t size, bool peek) {
  Wire& w = TheWire();
  if (size == 0) return 0;
  if (w.consumed == w.delivered) {
    if (w.delivered >= w.incoming.size()) return w.errorAtEnd ? -1 : 0;
    const size_t piece = w.pieces.empty() ? 1 : w.pieces[w.piece++ % w.pieces.size()];
    w.delivered = std::min(w.incoming.size(), w.delivered + std::max<size_t>(1, piece));
  }
  const size_t n = std::min(size, w.delivered - w.consumed);
  std::memcpy(buffer, w.incoming.data() + w.consumed, n);
  if (!peek) w.consumed += n;
  return static_cast<long>(n);
}
}  // namespace

}  // namespace fuzz

int32_t StartSocketLibrary(uint16_t) { return 0; }

ResolvedHost ResolveIpv4(const std::string&) { return ResolvedHost{true, 0x0100007Fu, 0}; }

bool TcpSocket::Create() {
  handle_ = 1;
  return true;
}

bool TcpSocket::Connect(uint32_t, uint16_t) { return valid(); }

bool TcpSocket::SetReceiveTimeout(uint32_t) { return valid(); }

bool TcpSocket::Send(std::string_view bytes) {
  if (valid()) fuzz::TheWire().sent.append(bytes);
  return valid();
}

long TcpSocket::Receive(char* buffer, size_t size) {
  if (!valid()) return -1;
  fuzz::Wire& w = fuzz::TheWire();
  const long n = fuzz::Take(buffer, size, false);
  // The catalogue's count field is the only receive of five bytes.
  if (size == 5 && w.afterCountField == static_cast<size_t>(-1)) w.afterCountField = w.consumed;
  return n;
}

long TcpSocket::Peek(char* buffer, size_t size) {
  return valid() ? fuzz::Take(buffer, size, true) : -1;
}

std::string TcpSocket::LocalAddressText() const { return valid() ? "127.0.0.1" : ""; }

void TcpSocket::Close() { handle_ = kInvalid; }

}  // namespace vt
