// zlib standing in for QKCompress's inflater in native tests and fuzzing.
#pragma once
#include <cstdint>
#include <vector>

namespace vesk_test {
uint32_t ZlibInflate(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength);
// Entry data of a compressed entry: u32 plain size, then the zlib stream.
std::vector<uint8_t> ZlibEntryData(const std::vector<uint8_t>& plain);
}  // namespace vesk_test

namespace vesk_test {
uint32_t ZlibDeflate(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength);
}  // namespace vesk_test
