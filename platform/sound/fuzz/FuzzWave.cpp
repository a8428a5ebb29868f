// WAVE checks on any bytes: a sound accepted lies inside the bytes and is
// playable PCM.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "WaveCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);  // exact bounds for the sanitizers
  vesk::WaveInfo info;
  if (vesk::ParseWave(copy.data(), copy.size(), info) != vesk::WaveResult::Ok) return 0;
  if (info.dataOffset > copy.size() || info.dataSize > copy.size() - info.dataOffset) std::abort();
  if (info.format.formatTag != 1 || info.format.blockAlign == 0) std::abort();
  volatile uint8_t sink = copy[info.dataOffset + info.dataSize - 1];
  (void)sink;
  return 0;
}
