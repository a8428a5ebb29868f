#include "ZlibInflate.h"

#include <zlib.h>

namespace vesk_test {

uint32_t ZlibInflate(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength) {
  uLongf produced = destSize;
  if (uncompress(dest, &produced, src, srcLength) != Z_OK) return 0;
  return uint32_t(produced);
}

std::vector<uint8_t> ZlibEntryData(const std::vector<uint8_t>& plain) {
  uLongf bound = compressBound(uLong(plain.size()));
  std::vector<uint8_t> out(4 + bound);
  uint32_t n = uint32_t(plain.size());
  out[0] = uint8_t(n);
  out[1] = uint8_t(n >> 8);
  out[2] = uint8_t(n >> 16);
  out[3] = uint8_t(n >> 24);
  compress(out.data() + 4, &bound, plain.data(), uLong(plain.size()));
  out.resize(4 + bound);
  return out;
}

}  // namespace vesk_test

namespace vesk_test {

uint32_t ZlibDeflate(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength) {
  uLongf produced = destSize;
  if (compress(dest, &produced, src, srcLength) != Z_OK) return 0;
  return uint32_t(produced);
}

}  // namespace vesk_test
