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

void ResetWire(std::string incoming, std::vector<size_t> pieces, bool errorAtEnd) {
  Wire& w = TheWire();
  w = Wire{};
  w.incoming = std::move(incoming);
  w.pieces = pieces.empty() ? std::vector<size_t>{1} : std::move(pieces);
  w.errorAtEnd = errorAtEnd;
}

void WireFromInput(FuzzedDataProvider& in, int pieceCount, size_t largestPiece) {
  const bool errorAtEnd = in.ConsumeBool();
  std::vector<size_t> pieces;
  for (int i = 0; i < pieceCount; ++i) pieces.push_back(in.ConsumeIntegralInRange<size_t>(1, largestPiece));
  ResetWire(in.ConsumeRemainingBytesAsString(), pieces, errorAtEnd);
}

namespace {
// Makes the next piece arrive when nothing is waiting; false when the peer has nothing more.
bool Arrive(Wire& w) {
  if (w.consumed < w.delivered) return true;
  if (w.delivered >= w.incoming.size()) return false;
  const size_t size = std::max<size_t>(1, w.pieces[w.piece++ % w.pieces.size()]);
  w.delivered = std::min(w.incoming.size(), w.delivered + size);
  return true;
}
long End(const Wire& w) { return w.errorAtEnd ? -1 : 0; }
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
  if (!valid()) return false;
  fuzz::TheWire().sent.append(bytes);
  return true;
}

namespace {
long Take(fuzz::Wire& w, char* buffer, size_t size) {
  if (size == 0) return 0;
  if (!fuzz::Arrive(w)) return fuzz::End(w);
  const size_t n = std::min(size, w.delivered - w.consumed);
  std::memcpy(buffer, w.incoming.data() + w.consumed, n);
  w.consumed += n;
  return static_cast<long>(n);
}
}  // namespace

long TcpSocket::Receive(char* buffer, size_t size) {
  fuzz::Wire& w = fuzz::TheWire();
  if (!valid()) return -1;
  const long n = Take(w, buffer, size);
  // The catalogue's count field is the only receive of five bytes.
  if (size == 5 && w.afterCountField == static_cast<size_t>(-1)) w.afterCountField = w.consumed;
  return n;
}

long TcpSocket::Peek(char* buffer, size_t size) {
  fuzz::Wire& w = fuzz::TheWire();
  if (!valid()) return -1;
  if (size == 0) return 0;
  if (!fuzz::Arrive(w)) return fuzz::End(w);
  const size_t n = std::min(size, w.delivered - w.consumed);
  std::memcpy(buffer, w.incoming.data() + w.consumed, n);
  return static_cast<long>(n);
}

std::string TcpSocket::LocalAddressText() const { return valid() ? "127.0.0.1" : ""; }

void TcpSocket::Close() { handle_ = kInvalid; }

}  // namespace vt
