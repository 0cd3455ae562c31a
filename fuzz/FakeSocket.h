// The socket the fuzz targets of the client run over: the platform's TcpSocket with its calls
// answered from memory, so that a target decides exactly what every receive call returns.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "service/ServerSession.h"
#include "tests/support/RecordingHost.h"

namespace vt::fuzz {

struct Wire {
  std::string incoming;        // everything the peer sends
  std::vector<size_t> pieces;  // how it arrives: sizes of successive deliveries, repeated
  bool errorAtEnd = false;     // after the last byte: an error (true) or an orderly close
  size_t delivered = 0;        // bytes that have arrived
  size_t consumed = 0;         // bytes the client has taken out of the socket
  size_t piece = 0;            // next piece size index
  std::string sent;            // everything the client sent
  size_t afterCountField = static_cast<size_t>(-1);  // `consumed` after the count's receive
};

Wire& TheWire();

// The wire from a fuzz input: how it ends, `pieceCount` delivery sizes up to `largestPiece`,
// and the rest of the input as the peer's bytes.
void WireFromInput(FuzzedDataProvider& in, int pieceCount, size_t largestPiece);

// A session over the wire, its boxes recorded; the socket is open, and signed in with `tier`
// when one is given. A reconnect's version check finds no web host, at once.
struct WiredSession {
  explicit WiredSession(std::optional<std::string> tier = std::nullopt)
      : session(ServiceEndpoints{"127.0.0.1", 11001, "127.0.0.1:1"}, Opened(), std::move(tier)) {}
  static TcpSocket Opened() {
    TcpSocket socket;
    socket.Create();
    return socket;
  }
  test::RecordingHost host;
  ServerSession session;
};

}  // namespace vt::fuzz
