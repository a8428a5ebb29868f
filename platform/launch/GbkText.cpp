#include "GbkText.h"

#include <cstring>

size_t GbkFitLength(const char* text, size_t len, size_t limit) {
  if (!text || len <= limit) return text ? len : 0;
  size_t i = 0;
  while (i < len) {
    const size_t width = IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < len ? 2 : 1;
    if (i + width > limit) break;
    i += width;
  }
  return i;
}

size_t GbkFieldTextLength(const char* text, size_t size) {
  if (!text || size == 0) return 0;
  return GbkFitLength(text, strnlen(text, size), size - 1);
}
