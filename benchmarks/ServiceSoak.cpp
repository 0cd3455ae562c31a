// vtservice under load: `clients` threads, each in a loop of connect, log in, query, disconnect,
// and one in ten sending garbage instead, for `seconds`. Reports sessions per second, every
// well-formed session that was refused, and the resident memory of the first and last ten
// seconds; exits 1 on a refused session or memory that grew by more than a fifth (unless told
// not to judge memory: under AddressSanitizer the allocator's own holdings grow for minutes).
//   vtservice_soak [--seconds N] [--clients N] [--no-memory-check]
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "benchmarks/ServiceClient.h"
#include "tools/vtservice/Catalogue.h"
#include "tools/vtservice/GameServer.h"

namespace {

using Clock = std::chrono::steady_clock;

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 60, clients = 200;
  bool memoryCheck = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-memory-check") == 0)
      memoryCheck = false;
    else if (i + 1 < argc && std::strcmp(argv[i], "--seconds") == 0)
      seconds = std::atoi(argv[++i]);
    else if (i + 1 < argc && std::strcmp(argv[i], "--clients") == 0)
      clients = std::atoi(argv[++i]);
    else
      seconds = 0;
  }
  if (seconds < 20 || clients < 1) {
    std::fprintf(
        stderr,
        "usage: vtservice_soak [--seconds N (20 or more)] [--clients N] [--no-memory-check]\n");
    return 2;
  }
  std::string error;
  auto catalogue = vt::service::Catalogue::Parse(vt::bench::LoadData(clients, 500), &error);
  if (!catalogue) {
    std::fprintf(stderr, "vtservice_soak: %s\n", error.c_str());
    return 2;
  }
  vt::service::GameServerConfig config;
  config.port = 0;
  vt::service::GameServer server(*catalogue, config);
  if (!server.Start(&error)) {
    std::fprintf(stderr, "vtservice_soak: %s\n", error.c_str());
    return 2;
  }

  std::atomic<bool> stop{false};
  std::atomic<long> sessions{0}, refused{0}, garbage{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < clients; ++i) {
    threads.emplace_back([&, i] {
      std::mt19937 rng(static_cast<unsigned>(i));
      const std::string user = "u" + std::to_string(i);  // one account each: never "in use"
      while (!stop) {
        vt::bench::ServiceClient c(server.Port());
        if (i % 10 == 9) {
          std::string junk(rng() % 2000, '\0');
          for (char& b : junk) b = static_cast<char>(rng());
          c.Send(junk);
          // Wait for the server to drop it, so each thread holds one connection at a time as
          // the well-formed clients do; otherwise the garbage alone fills the server's limit.
          c.FinishSending();
          while (!c.RecvOnce(4096).empty()) {}
          ++garbage;
          continue;
        }
        const std::string tier = c.Login(user, "pw");
        const long rows = c.Query("NES", "^[a-m]");
        if (tier != (i % 2 ? "True" : "False") || rows <= 0) {
          ++refused;
          std::fprintf(stderr, "client %d: tier \"%s\", %ld rows\n", i, tier.c_str(), rows);
        }
        ++sessions;
      }
    });
  }

  // Resident memory once a second; the first and last ten seconds are compared.
  std::vector<long> rss;
  const auto start = Clock::now();
  for (int s = 1; s <= seconds; ++s) {
    std::this_thread::sleep_until(start + std::chrono::seconds(s));
    rss.push_back(ResidentKiB());
  }
  stop = true;
  for (std::thread& t : threads) t.join();
  server.Stop();

  auto average = [&](std::size_t from) {
    long sum = 0;
    for (std::size_t k = from; k < from + 10; ++k) sum += rss[k];
    return sum / 10;
  };
  const long first = average(0), last = average(rss.size() - 10);
  std::printf(
      "vtservice soak: %d clients for %d s: %ld sessions (%ld per second), %ld garbage "
      "connections, %ld refused; resident memory %ld KiB in the first ten seconds, %ld KiB in "
      "the last\n",
      clients, seconds, sessions.load(), sessions.load() / seconds, garbage.load(), refused.load(),
      first, last);
  return refused == 0 && (!memoryCheck || last <= first + first / 5) ? 0 : 1;
}
