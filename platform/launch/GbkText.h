// Cutting GBK texts to fixed fields: a two-byte character is kept whole or left out, so a
// cut name or title never ends in half a character.
#pragma once
#include <cstddef>

// Whether `c` starts a two-byte GBK character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The number of leading bytes of text[0..len) that fit in `limit` bytes without splitting
// a two-byte character. A lead byte with nothing after it (the text's last byte) counts as
// one byte. When len <= limit the whole text fits.
size_t GbkFitLength(const char* text, size_t len, size_t limit);

// The length a field of `size` bytes keeps from `text`: up to its first zero within the
// field, and when the field holds no zero, the whole characters that leave room for one.
size_t GbkFieldTextLength(const char* text, size_t size);
