// The cost of one play request when a sound repeats quickly (found in the
// cache, a free voice taken) and of checking a WAVE file before loading.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "SoundCacheCore.h"
#include "WaveCore.h"
#include "../tests/WaveTestUtil.h"

namespace {

class IdleVoices : public vesk::SoundVoices {
 public:
  size_t VoiceCount() const override { return 1 + vesk::kSoundDuplicates; }
  bool IsVoicePlaying(size_t v) const override { return v == 0; }  // one voice always busy: kept in cache
  bool PlayVoice(size_t, uint32_t) override { return true; }
};

void BM_RepeatedSoundFromCache(benchmark::State& state) {
  vesk::SoundCache cache;
  int loads = 0;
  vesk::SoundCache::Loader loader = [&](const std::string&) {
    ++loads;
    return std::unique_ptr<vesk::SoundVoices>(new IdleVoices);
  };
  for (int i = 0; i < state.range(0); ++i) cache.Play(vesk::ResourceSoundKey(0x10000, 100 + i), 0, true, true, loader);
  std::string key = vesk::ResourceSoundKey(0x10000, 100);
  for (auto _ : state) benchmark::DoNotOptimize(cache.Play(key, 0, true, true, loader));
  state.counters["loads"] = loads;
}
BENCHMARK(BM_RepeatedSoundFromCache)->Arg(1)->Arg(16);

void BM_ParseWave(benchmark::State& state) {
  auto w = wavetest::SimpleWave(static_cast<size_t>(state.range(0)));
  vesk::WaveInfo info;
  for (auto _ : state) benchmark::DoNotOptimize(vesk::ParseWave(w.data(), w.size(), info));
}
BENCHMARK(BM_ParseWave)->Arg(1000)->Arg(100000);

}  // namespace
