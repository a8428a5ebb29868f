// Window shapes are rebuilt whenever a skinned window changes size: the row scan of a
// dialog-sized picture with rounded corners.
#include <benchmark/benchmark.h>

#include <vector>

#include "RegionRuns.h"

static void BM_KeyedRunsRoundedDialog(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = w * 3 / 4, r = 12;
  std::vector<uint16_t> px(static_cast<size_t>(w) * h, 0x1234);
  for (int y = 0; y < r; ++y)
    for (int x = 0; x < r - y; ++x) {
      px[y * w + x] = px[y * w + w - 1 - x] = 0xF81F;
      px[(h - 1 - y) * w + x] = px[(h - 1 - y) * w + w - 1 - x] = 0xF81F;
    }
  for (auto _ : state) benchmark::DoNotOptimize(KeyedRuns(px.data(), w, h, w, 0xF81F));
  state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_KeyedRunsRoundedDialog)->Arg(400)->Arg(1024);
