// The keyed region of the largest skin (500 x 600) from decoded pixels, against one plain read
// of the same pixels: the run scan should cost a small multiple of just touching the image.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "skin/SkinGeometry.h"

namespace {

std::vector<std::uint8_t> RoundedSkin(int w, int h) {
  std::vector<std::uint8_t> px(static_cast<size_t>(w) * h * 4);
  const int r = 40;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int cx = x < r ? r : (x >= w - r ? w - 1 - r : x);
      const int cy = y < r ? r : (y >= h - r ? h - 1 - r : y);
      const bool key =
          (x - cx) * (x - cx) + (y - cy) * (y - cy) > r * r || (x / 7 + y / 5) % 23 == 0;
      std::uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = key ? 255 : static_cast<std::uint8_t>(x);
      p[1] = key ? 0 : static_cast<std::uint8_t>(y);
      p[2] = key ? 255 : 80;
      p[3] = 0;
    }
  return px;
}

vt::skin::PixelView View(const std::vector<std::uint8_t>& px, int w, int h) {
  vt::skin::PixelView v;
  v.data = px.data();
  v.size = px.size();
  v.width = w;
  v.height = h;
  v.stride = w * 4;
  return v;
}

void BM_KeyedRuns500x600(benchmark::State& state) {
  const auto px = RoundedSkin(500, 600);
  const auto view = View(px, 500, 600);
  for (auto _ : state) {
    auto runs = vt::skin::KeyedRuns(view);
    benchmark::DoNotOptimize(runs);
  }
  state.counters["runs"] = static_cast<double>(vt::skin::KeyedRuns(view)->size());
}
BENCHMARK(BM_KeyedRuns500x600);

void BM_PlainPixelRead500x600(benchmark::State& state) {
  const auto px = RoundedSkin(500, 600);
  for (auto _ : state) {
    unsigned sum = 0;
    for (std::uint8_t b : px) sum += b;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PlainPixelRead500x600);

}  // namespace

BENCHMARK_MAIN();
