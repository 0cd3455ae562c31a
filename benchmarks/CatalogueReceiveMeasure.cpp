// The catalogue-receive measurement as a plain program, for builds without Google Benchmark
// (the Windows build run under Wine): prints the median of several runs of each way.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "benchmarks/CatalogueReceive.h"

using namespace vt;
using namespace vt::bench;

template <typename F>
double MedianMs(int runs, F&& once) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    once();
    ms.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

int main(int argc, char** argv) {
  const int records = 10000;
  const bool withBytewise = argc > 1 && std::string(argv[1]) == "--byte-by-byte";
  CatalogueServer server(records);
  const size_t total = server.records().size();
  ServerSession session(ServiceEndpoints{}, ConnectLoopback(server.port()));
  Catalogue games;
  TcpSocket bulk = ConnectLoopback(server.port());
  bool ok = true;
  double query =
      MedianMs(15, [&] { ok = QueryOnce(session, games) && games.size() == 10000u && ok; });
  double read = MedianMs(15, [&] { ok = BulkReadOnce(bulk, total) == total && ok; });
  std::printf("records %d, bytes %zu\nquery  %.3f ms\nbulk   %.3f ms\nratio  %.2f\n", records,
              total, query, read, query / read);
  if (withBytewise) {
    double bytes = MedianMs(1, [&] { ok = ByteByByteOnce(bulk, records) == total && ok; });
    std::printf("byte-by-byte %.1f ms\n", bytes);
  }
  if (!ok) std::printf("FAILED: a read came short\n");
  return ok ? 0 : 1;
}
