// WAVE files built chunk by chunk from the input: other chunks before and between the format
// and the samples (odd sizes, padded), format blocks of PCM and of other tags, near-playable
// values, data chunks around a whole sample frame, RIFF sizes too small or too large and
// files cut short. Besides "an accepted sound lies inside the bytes", a whole, playable file
// must be accepted with exactly the samples it was built with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "WaveCore.h"

namespace {

struct Reader {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() { return n ? (--n, *p++) : 0; }
  uint32_t U32() { return Byte() | Byte() << 8 | Byte() << 16 | uint32_t(Byte()) << 24; }
  template <size_t N>
  uint32_t Pick(const uint32_t (&v)[N]) {
    uint8_t b = Byte();
    return b < 8 * N ? v[b % N] : U32();
  }
};

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// A chunk of another kind: an id, an odd or even size and its padding byte.
void OtherChunk(Reader& in, std::vector<uint8_t>& file) {
  static const char* ids[] = {"LIST", "fact", "JUNK", "cue "};
  const char* id = ids[in.Byte() % 4];
  const uint32_t size = in.Byte() % 24;
  file.insert(file.end(), id, id + 4);
  Put32(file, size);
  for (uint32_t i = 0; i < size + (size & 1); ++i) file.push_back(in.Byte());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  static const uint32_t tags[] = {1, 1, 1, 3, 0xFFFE, 2, 0};
  static const uint32_t channels[] = {1, 2, 1, 2, 0, 3};
  static const uint32_t bits[] = {8, 16, 16, 24, 32, 0, 4};
  static const uint32_t rates[] = {8000, 11025, 22050, 44100, 100, 200000, 99, 200001, 0};
  static const uint32_t fmtSizes[] = {16, 18, 16, 40, 14, 0};
  vesk::WavePcmFormat f;
  f.formatTag = uint16_t(in.Pick(tags));
  f.channels = uint16_t(in.Pick(channels));
  f.bitsPerSample = uint16_t(in.Pick(bits));
  f.samplesPerSec = in.Pick(rates);
  const uint8_t skew = in.Byte();
  f.blockAlign = uint16_t(f.channels * (f.bitsPerSample / 8) + (skew % 16 == 1 ? 1 : 0));
  f.avgBytesPerSec = f.samplesPerSec * f.blockAlign + (skew % 16 == 2 ? 1 : 0);
  const uint32_t fmtSize = in.Pick(fmtSizes);
  const bool playable = vesk::CheckPcmFormat(f) == vesk::WaveResult::Ok && fmtSize >= 16 && fmtSize <= 64;

  std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  for (int i = in.Byte() % 3; i > 0; --i) OtherChunk(in, file);
  file.insert(file.end(), {'f', 'm', 't', ' '});
  Put32(file, fmtSize);
  const size_t fmtAt = file.size();
  Put16(file, f.formatTag);
  Put16(file, f.channels);
  Put32(file, f.samplesPerSec);
  Put32(file, f.avgBytesPerSec);
  Put16(file, f.blockAlign);
  Put16(file, f.bitsPerSample);
  file.resize(fmtAt + (fmtSize <= 64 ? fmtSize + (fmtSize & 1) : 16), 0);
  for (int i = in.Byte() % 3; i > 0; --i) OtherChunk(in, file);
  const uint32_t align = f.blockAlign ? f.blockAlign : 1;
  const uint8_t shape = in.Byte();
  uint32_t dataSize = (shape % 4 == 0) ? shape / 4 % 8 : align * (1 + shape / 4 % 16) + (shape & 0x80 ? 1 : 0);
  file.insert(file.end(), {'d', 'a', 't', 'a'});
  const bool claimMore = (in.Byte() & 7) == 0;
  Put32(file, claimMore ? dataSize + 1 + in.Byte() : dataSize);
  const size_t dataAt = file.size();
  for (uint32_t i = 0; i < dataSize; ++i) file.push_back(in.Byte());
  if (dataSize & 1) file.push_back(0);
  if (in.Byte() & 1) OtherChunk(in, file);
  const uint8_t riff = in.Byte() % 8;
  const uint32_t riffSize = riff == 0 ? in.U32() : riff == 1 ? 4 : uint32_t(file.size() - 8);
  for (int i = 0; i < 4; ++i) file[4 + i] = uint8_t(riffSize >> (8 * i));
  const bool cut = (in.Byte() & 7) == 0;
  if (cut) file.resize(in.U32() % (file.size() + 1));

  vesk::WaveInfo info;
  const vesk::WaveResult r = vesk::ParseWave(file.data(), file.size(), info);
  if (r == vesk::WaveResult::Ok) {
    if (info.dataOffset > file.size() || info.dataSize > file.size() - info.dataOffset) abort();
    if (vesk::CheckPcmFormat(info.format) != vesk::WaveResult::Ok || info.dataSize < info.format.blockAlign) abort();
    volatile uint8_t sink = file[info.dataOffset + info.dataSize - 1];
    (void)sink;
  }
  const bool whole = playable && !cut && !claimMore && riff >= 2 && dataSize >= 4 && dataSize >= align;
  if (whole && (r != vesk::WaveResult::Ok || info.dataOffset != dataAt || info.dataSize != dataSize)) abort();
  return 0;
}
