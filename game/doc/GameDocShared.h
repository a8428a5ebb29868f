// What the document's handler files share: box styles and answers, name helpers, and
// the one prologue every handler starts with (its frame's body through its codec).
#pragma once
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

#include "GameBodies.h"
#include "GameMessages.h"

namespace gamedoc {

constexpr uint32_t kStyleWarning = 0x30;
constexpr uint32_t kStyleYesNoQuestion = 0x124;
constexpr int kIdYes = 6;
constexpr int kPlaceholder = 255;

// Sums of server values (score totals, counts) stay in the int range: they stop at its ends
// rather than wrap, so a total shown is never the opposite of what was added.
inline int32_t SaturatingAdd(int32_t a, int32_t b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  return sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : static_cast<int32_t>(sum);
}

// A fixed name field: cut to leave its zero, the rest zero-filled.
inline void CopyName(char* dst, size_t dstSize, const std::string& src) {
  size_t n = src.size() < dstSize - 1 ? src.size() : dstSize - 1;
  std::memcpy(dst, src.data(), n);
  std::memset(dst + n, 0, dstSize - n);
}

// ASCII letters compare without case; GBK bytes as they stand.
inline bool SameNameNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x < 0x80 && y < 0x80 ? std::tolower(x) != std::tolower(y) : x != y) return false;
    if (!x) return true;
  }
}

// The body of a complete frame through its decoder.
template <class T>
std::optional<T> DecodeFrame(const uint8_t* pFrame, std::optional<T> (*decode)(const uint8_t*, size_t)) {
  GameFrame f = ParseGameFrame(pFrame);
  return decode(f.body, f.size);
}
// The same for bodies whose header status word is part of the message.
template <class T>
std::optional<T> DecodeFrame(const uint8_t* pFrame, std::optional<T> (*decode)(uint32_t, const uint8_t*, size_t)) {
  GameFrame f = ParseGameFrame(pFrame);
  return decode(f.status, f.body, f.size);
}

}  // namespace gamedoc
