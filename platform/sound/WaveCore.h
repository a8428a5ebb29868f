// WAVE (RIFF) file checks for the sound player: where the format and the
// samples lie, and whether the sound can go into a DirectSound buffer.
// Every size read from the bytes is checked against the bytes themselves.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

// The 18 bytes of a WAVEFORMATEX as they lie in the "fmt " chunk.
struct WavePcmFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t cbSize = 0;
};

enum class WaveResult {
  Ok,
  NotRiff,      // no "RIFF" header of form "WAVE"
  NoFormat,     // no "fmt " chunk inside the RIFF chunk
  ShortFormat,  // "fmt " chunk smaller than a PCM format (16 bytes)
  NotPcm,       // format tag other than 1
  BadPcm,       // channels, rate, bits or block alignment not playable
  NoData,       // no "data" chunk after the format
  EmptyData,    // a data chunk without a whole sample frame
  DataOutside,  // a chunk that claims more bytes than there are
};

const char* WaveResultName(WaveResult r);

struct WaveInfo {
  WavePcmFormat format;
  size_t dataOffset = 0;  // offset of the samples in the bytes given
  size_t dataSize = 0;    // number of sample bytes, inside the bytes given
};

// Checks a whole WAVE file held in memory. On Ok, info tells where the
// samples are; the data chunk lies wholly inside [data, data + size).
WaveResult ParseWave(const uint8_t* data, size_t size, WaveInfo& info);

// Checks a format block alone (PCM only, values a sound buffer accepts).
WaveResult CheckPcmFormat(const WavePcmFormat& format);

}  // namespace vesk
