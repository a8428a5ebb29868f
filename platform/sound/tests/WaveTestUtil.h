// Builds WAVE files byte by byte for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wavetest {

inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
inline void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
inline void PutId(std::vector<uint8_t>& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(id[i]));
}

inline std::vector<uint8_t> Fmt(uint16_t tag = 1, uint16_t ch = 1, uint32_t rate = 22050, uint16_t bits = 16,
                                size_t extra = 2) {
  std::vector<uint8_t> f;
  uint16_t align = uint16_t(ch * bits / 8);
  Put16(f, tag);
  Put16(f, ch);
  Put32(f, rate);
  Put32(f, rate * align);
  Put16(f, align);
  Put16(f, bits);
  for (size_t i = 0; i < extra; ++i) f.push_back(0);
  return f;
}

inline void Chunk(std::vector<uint8_t>& b, const char* id, const std::vector<uint8_t>& body, int64_t declared = -1) {
  PutId(b, id);
  Put32(b, declared < 0 ? uint32_t(body.size()) : uint32_t(declared));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() & 1) b.push_back(0);
}

// RIFF header around the chunks; riffSize < 0: the true size.
inline std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks, int64_t riffSize = -1) {
  std::vector<uint8_t> b;
  PutId(b, "RIFF");
  Put32(b, riffSize < 0 ? uint32_t(chunks.size() + 4) : uint32_t(riffSize));
  PutId(b, "WAVE");
  b.insert(b.end(), chunks.begin(), chunks.end());
  return b;
}

inline std::vector<uint8_t> SimpleWave(size_t samples = 100) {
  std::vector<uint8_t> c;
  Chunk(c, "fmt ", Fmt());
  Chunk(c, "data", std::vector<uint8_t>(samples * 2, 0x11));
  return Riff(c);
}

}  // namespace wavetest
