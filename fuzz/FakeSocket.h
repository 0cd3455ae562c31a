// The socket the fuzz targets of the client run over: the platform's TcpSocket with its calls
// answered from memory, so that a target decides exactly what every receive call returns.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vt::fuzz {

struct Wire {
  std::string incoming;        // everything the peer sends
  std::vector<size_t> pieces;  // how it arrives: sizes of successive deliveries, repeated
  bool errorAtEnd = false;     // after the last byte: an error (true) or an orderly close
  size_t delivered = 0;        // bytes that have arrived
  size_t consumed = 0;         // bytes the client has taken out of the socket
  size_t piece = 0;            // next piece size index
  std::string sent;            // everything the client sent
  size_t afterCountField = static_cast<size_t>(-1);  // `consumed` right after the 5-byte count receive
};

Wire& TheWire();
void ResetWire(std::string incoming, std::vector<size_t> pieces, bool errorAtEnd);

}  // namespace vt::fuzz
