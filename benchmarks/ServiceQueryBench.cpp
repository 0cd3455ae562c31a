// vtservice: catalogue queries per second from one logged-in client, for the sample catalogue
// and for 10,000 records (every record in the answer).
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "benchmarks/ServiceClient.h"
#include "tools/vtservice/Catalogue.h"
#include "tools/vtservice/GameServer.h"

namespace {

std::string SampleData() {
  std::ifstream in(VT_SAMPLE_DATA, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str() + vt::bench::LoadData(1, 0);
}

void Queries(benchmark::State& state, const std::string& data, const char* pattern) {
  std::string error;
  auto catalogue = vt::service::Catalogue::Parse(data, &error);
  if (!catalogue) return state.SkipWithError(error.c_str());
  vt::service::GameServerConfig config;
  config.port = 0;
  vt::service::GameServer server(*catalogue, config);
  if (!server.Start(&error)) return state.SkipWithError(error.c_str());
  vt::bench::ServiceClient client(server.Port());
  if (client.Login("u0", "pw") != "False") return state.SkipWithError("no login");
  long rows = 0;
  for (auto _ : state) {
    rows = client.Query("NES", pattern);
    if (rows < 0) return state.SkipWithError("query failed");
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["queries/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_SampleCatalogueQuery(benchmark::State& state) { Queries(state, SampleData(), "^[a-b]"); }
void BM_TenThousandRecordQuery(benchmark::State& state) {
  Queries(state, vt::bench::LoadData(1, 10000), "^game");
}

}  // namespace

BENCHMARK(BM_SampleCatalogueQuery)->UseRealTime();
BENCHMARK(BM_TenThousandRecordQuery)->UseRealTime();
BENCHMARK_MAIN();
