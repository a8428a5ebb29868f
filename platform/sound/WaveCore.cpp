#include "WaveCore.h"

#include <cstring>

namespace vesk {
namespace {

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

struct Chunk {
  size_t body = 0;  // offset of the chunk's contents
  size_t size = 0;  // declared size of the contents
};

// Finds the first chunk with the id between begin and end (sub-chunks are
// padded to even sizes, as mmioDescend walks them). A chunk found whose
// declared size runs past end is reported through 'outside'.
bool FindChunk(const uint8_t* data, size_t begin, size_t end, const char* id, Chunk& out, bool& outside) {
  size_t pos = begin;
  outside = false;
  while (pos <= end && end - pos >= 8) {
    uint32_t size = Le32(data + pos + 4);
    size_t body = pos + 8;
    bool fits = size <= end - body;
    if (std::memcmp(data + pos, id, 4) == 0) {
      out.body = body;
      out.size = size;
      outside = !fits;
      return true;
    }
    if (!fits) return false;
    size_t next = body + size + (size & 1);
    if (next > end) return false;
    pos = next;
  }
  return false;
}

}  // namespace

const char* WaveResultName(WaveResult r) {
  switch (r) {
    case WaveResult::Ok:
      return "ok";
    case WaveResult::NotRiff:
      return "not a RIFF WAVE file";
    case WaveResult::NoFormat:
      return "no format chunk";
    case WaveResult::ShortFormat:
      return "format chunk too short";
    case WaveResult::NotPcm:
      return "not PCM";
    case WaveResult::BadPcm:
      return "unplayable PCM format";
    case WaveResult::NoData:
      return "no data chunk";
    case WaveResult::EmptyData:
      return "empty data chunk";
    case WaveResult::DataOutside:
      return "chunk runs past the end of the file";
  }
  return "?";
}

WaveResult CheckPcmFormat(const WavePcmFormat& f) {
  if (f.formatTag != 1) return WaveResult::NotPcm;
  if (f.channels < 1 || f.channels > 2) return WaveResult::BadPcm;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return WaveResult::BadPcm;
  // DirectSound's own limits for a secondary buffer (DSBFREQUENCY_MIN/MAX).
  if (f.samplesPerSec < 100 || f.samplesPerSec > 200000) return WaveResult::BadPcm;
  if (f.blockAlign != f.channels * (f.bitsPerSample / 8)) return WaveResult::BadPcm;
  if (f.avgBytesPerSec != f.samplesPerSec * f.blockAlign) return WaveResult::BadPcm;
  return WaveResult::Ok;
}

WaveResult ParseWave(const uint8_t* data, size_t size, WaveInfo& info) {
  info = WaveInfo();
  if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    return WaveResult::NotRiff;
  // The RIFF chunk ends where it says or where the bytes end, whichever
  // is first: files with a too large RIFF size are common and harmless,
  // as long as the chunks inside are whole.
  size_t riffEnd = size;
  uint32_t riffSize = Le32(data + 4);
  if (riffSize >= 4 && riffSize <= size - 8) riffEnd = 8 + size_t(riffSize);

  Chunk fmt;
  bool outside = false;
  if (!FindChunk(data, 12, riffEnd, "fmt ", fmt, outside)) return WaveResult::NoFormat;
  if (outside) return WaveResult::DataOutside;
  if (fmt.size < 16) return WaveResult::ShortFormat;
  const uint8_t* p = data + fmt.body;
  WavePcmFormat& f = info.format;
  f.formatTag = Le16(p);
  f.channels = Le16(p + 2);
  f.samplesPerSec = Le32(p + 4);
  f.avgBytesPerSec = Le32(p + 8);
  f.blockAlign = Le16(p + 12);
  f.bitsPerSample = Le16(p + 14);
  // PCM has no extra bytes; an 18-byte block's cbSize is not used.
  f.cbSize = 0;
  WaveResult r = CheckPcmFormat(f);
  if (r != WaveResult::Ok) return r;

  // The data chunk is looked for after the format, as the player reads it.
  size_t afterFmt = fmt.body + fmt.size + (fmt.size & 1);
  if (afterFmt > riffEnd) afterFmt = riffEnd;
  Chunk dat;
  if (!FindChunk(data, afterFmt, riffEnd, "data", dat, outside)) return WaveResult::NoData;
  if (outside) return WaveResult::DataOutside;
  size_t frames = dat.size / f.blockAlign;
  if (frames == 0 || dat.size < 4) return WaveResult::EmptyData;
  info.dataOffset = dat.body;
  info.dataSize = dat.size;
  return WaveResult::Ok;
}

}  // namespace vesk
