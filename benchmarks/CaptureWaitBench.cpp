// The wait for one binding: CPU it uses while nothing is pressed, and how soon it sees a press
// made from another thread. Counters: idle_cpu_pct (process CPU time / wall time of the wait, in
// percent of one core), latency_us_mean and latency_us_max (press to return).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

#include "input/Capture.h"
#include "tests/support/ScriptedInput.h"

namespace {

using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The keyboard signals its input, as DirectInput's does. Arg 0: pads that must be polled (no
// event until polled, as many USB pads), 0 or 2. Arg 1: whether the press comes from a pad
// rather than the keyboard. Arg 2: idle time before the press, in milliseconds.
void BM_CaptureWait(benchmark::State& state) {
  vt::ScriptedInput input;
  input.Keyboard().signals = true;
  std::vector<vt::ScriptedDevice*> pads;
  for (int i = 0; i < state.range(0); ++i)
    pads.push_back(&input.Attach(vt::ScriptedInput::TestGuid(static_cast<std::uint8_t>(i + 1))));
  const bool padPress = state.range(1) != 0 && !pads.empty();
  vt::test::RecordingHost host;
  vt::InputDevices devices(input, host);
  const auto idle = std::chrono::milliseconds(state.range(2));

  double cpu = 0, wall = 0, latencySum = 0, latencyMax = 0;
  std::int64_t presses = 0;
  for (auto _ : state) {
    devices.Open(nullptr);
    std::atomic<std::int64_t> pressedAt{0};
    const double cpu0 = ProcessCpuSeconds();
    const auto start = Clock::now();
    std::thread presser([&] {
      // The user thinking: this is the load, not synchronisation.
      std::this_thread::sleep_for(idle);
      pressedAt = Clock::now().time_since_epoch().count();
      padPress ? pads.back()->SetButton(0, 0x80) : input.Keyboard().Press(0x2D);
    });
    const vt::WaitResult got = vt::WaitForCode(
        devices, [](vt::InputDevices& d) { return vt::CaptureInput(d, vt::CaptureFamily::Snes); });
    const auto seen = Clock::now();
    presser.join();
    const double cpu1 = ProcessCpuSeconds();
    benchmark::DoNotOptimize(got);
    if (got.code != (padPress ? 256 + 32 * (static_cast<int>(pads.size()) - 1) + 16 : 0x2D))
      state.SkipWithError("wrong code");

    const double latency = std::chrono::duration<double, std::micro>(
                               seen - Clock::time_point(Clock::duration(pressedAt.load())))
                               .count();
    latencySum += latency;
    latencyMax = std::max(latencyMax, latency);
    cpu += cpu1 - cpu0;
    wall += std::chrono::duration<double>(seen - start).count();
    ++presses;
    padPress ? pads.back()->SetButton(0, 0) : input.Keyboard().Release(0x2D);
    devices.Close();
  }
  state.counters["idle_cpu_pct"] = wall > 0 ? 100.0 * cpu / wall : 0;
  state.counters["latency_us_mean"] = presses ? latencySum / static_cast<double>(presses) : 0;
  state.counters["latency_us_max"] = latencyMax;
}
BENCHMARK(BM_CaptureWait)
    ->Args({0, 0, 500})
    ->Args({2, 0, 500})
    ->Args({2, 1, 500})
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
