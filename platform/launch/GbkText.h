// Cutting GBK texts to a field: a two-byte character is kept whole or left out, so a cut
// name or title never ends in half a character.
#pragma once
#include <cstddef>

// The number of leading bytes of text[0..len) that fit in `limit` bytes without splitting
// a two-byte character (lead byte 0x81..0xFE followed by its second byte).
inline size_t GbkFitLength(const char* text, size_t len, size_t limit) {
  size_t i = 0;
  while (i < len) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t w = (c >= 0x81 && c <= 0xFE && i + 1 < len) ? 2 : 1;
    if (i + w > limit) break;
    i += w;
  }
  return i;
}
