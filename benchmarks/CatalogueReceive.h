// The three ways of receiving the same catalogue that the measurements compare.
#pragma once

#include <string>

#include "benchmarks/CatalogueServer.h"
#include "platform/TcpSocket.h"
#include "service/ServerSession.h"

namespace vt::bench {

inline TcpSocket ConnectLoopback(uint16_t port) {
  StartSocketLibrary(0x0202);
  TcpSocket s;
  s.Create();
  s.Connect(ResolveIpv4("127.0.0.1").address, port);
  s.SetReceiveTimeout(30000);
  return s;
}

// The session's query on a session made on a loopback connection (no login exchange), into a
// catalogue kept from one query to the next, as the browser keeps its own.
inline bool QueryOnce(ServerSession& session, Catalogue& games) {
  return session.QueryGames("NES", "^[a-b]", games) == QueryResult::Ok;
}

// A plain bulk read of the same record bytes, as fast as the socket gives them.
inline size_t BulkReadOnce(TcpSocket& s, size_t total) {
  static char buf[1 << 16];
  if (!s.Send("b")) return 0;
  size_t got = 0;
  while (got < total) {
    long n = s.Receive(buf, sizeof buf);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  return got;
}

// The client's historical way: a receive call per byte, through the last record's NUL.
inline size_t ByteByByteOnce(TcpSocket& s, int records) {
  if (!s.Send("b")) return 0;
  size_t got = 0;
  char c = 1;
  for (int r = 0; r < records; ++r) {
    do {
      if (s.Receive(&c, 1) != 1) return got;
      ++got;
    } while (c != '\0');
  }
  return got;
}

}  // namespace vt::bench
