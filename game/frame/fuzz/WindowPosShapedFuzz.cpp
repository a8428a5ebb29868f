// "WindowPos" texts built number by number from the input: values at and past the limits of
// their types, signs on unsigned fields, blanks, missing and extra fields, other separators
// and trailing text. Whatever the profile holds, the numbers that parse are exactly the
// numbers written, and a text with fewer than ten of them is refused.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FrameRules.h"

namespace {

struct Reader {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() { return n ? (--n, *p++) : 0; }
  int32_t I32() {
    return int32_t(uint32_t(Byte()) | uint32_t(Byte()) << 8 | uint32_t(Byte()) << 16 | uint32_t(Byte()) << 24);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  static const int32_t picks[] = {0, 1, -1, 2, 3, 100, -32000, 1024, 768, INT_MAX, INT_MIN, 65535};
  const int count = in.Byte() % 14;  // 0 .. 13 fields
  std::string text;
  long long values[13] = {};
  bool plain = true;  // every field a number sscanf reads back exactly
  for (int i = 0; i < count; ++i) {
    if (i) {
      const uint8_t sep = in.Byte();
      text += sep < 240 ? "," : sep < 248 ? ", " : ";";
      if (sep >= 248) plain = false;  // the scan stops at a foreign separator
    }
    const uint8_t how = in.Byte();
    long long v = how < 200 ? picks[how % 12] : in.I32();
    char number[32];
    if (how >= 250) {
      // Past the 32-bit range: what a damaged profile could hold.
      snprintf(number, sizeof number, "%lld", v + (v < 0 ? -4294967296LL : 4294967296LL));
      plain = false;
    } else {
      snprintf(number, sizeof number, "%lld", v);
    }
    // Negative numbers for the two unsigned fields read back as their two's complement.
    if (i < 2 && v < 0) plain = false;
    values[i] = v;
    text += number;
  }
  // Trailing text after a foreign separator: the scan ends there.
  if (in.Byte() & 1) text += ";" + std::string(reinterpret_cast<const char*>(in.p), in.n);

  frame::SavedPlacement p;
  p.flags = 0xABCD;
  const bool ok = frame::ParseWindowPos(text.c_str(), p);
  if (!plain) return 0;
  if (ok != (count >= 10)) __builtin_trap();
  if (!ok) {
    if (p.flags != 0xABCD) __builtin_trap();  // nothing changed
    return 0;
  }
  const long long got[12] = {p.flags, p.showCmd, p.minX,  p.minY,   p.maxX,  p.maxY,
                             p.left,  p.top,     p.right, p.bottom, p.fullW, p.fullH};
  for (int i = 0; i < 10; ++i)
    if (got[i] != values[i]) __builtin_trap();
  // The round trip through the program's own format keeps every number.
  frame::SavedPlacement again;
  if (!frame::ParseWindowPos(frame::FormatWindowPos(p).c_str(), again)) __builtin_trap();
  if (frame::FormatWindowPos(again) != frame::FormatWindowPos(p)) __builtin_trap();
  return 0;
}
