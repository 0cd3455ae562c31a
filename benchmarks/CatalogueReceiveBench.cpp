// Catalogue receive of 10,000 records on loopback: the session's query (peek-based, exact
// consumption) against a bulk read of the same bytes, and the byte-per-call reading for scale.
#include <benchmark/benchmark.h>

#include "benchmarks/CatalogueReceive.h"

namespace vt::bench {
namespace {

constexpr int kRecords = 10000;

CatalogueServer& Server() {
  static CatalogueServer server(kRecords);
  return server;
}

void BM_QueryGames10k(benchmark::State& state) {
  ServerSession session(ServiceEndpoints{}, ConnectLoopback(Server().port()));
  Catalogue games;
  for (auto _ : state) {
    if (!QueryOnce(session, games) || games.size() != kRecords) state.SkipWithError("query failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Server().records().size()));
}
BENCHMARK(BM_QueryGames10k)->Unit(benchmark::kMillisecond);

void BM_BulkRead10k(benchmark::State& state) {
  TcpSocket s = ConnectLoopback(Server().port());
  const size_t total = Server().records().size();
  for (auto _ : state) {
    if (BulkReadOnce(s, total) != total) state.SkipWithError("bulk read failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(total));
}
BENCHMARK(BM_BulkRead10k)->Unit(benchmark::kMillisecond);

void BM_ByteByByte10k(benchmark::State& state) {
  TcpSocket s = ConnectLoopback(Server().port());
  const size_t total = Server().records().size();
  for (auto _ : state) {
    if (ByteByByteOnce(s, kRecords) != total) state.SkipWithError("byte reads failed");
  }
}
BENCHMARK(BM_ByteByByte10k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vt::bench

BENCHMARK_MAIN();
