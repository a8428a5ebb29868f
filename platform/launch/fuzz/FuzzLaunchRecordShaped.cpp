// Launch records built field by field from the input: the seat and ports around their
// bounds, texts that fill their fields with or without a terminator, GBK bytes, and a
// mapping cut short. The reading must accept exactly the records the lobby may send and
// copy every field as the reading rules say.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "GbkText.h"
#include "LaunchRecord.h"

namespace {

struct Reader {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() { return n ? (--n, *p++) : 0; }
  uint16_t U16() { return uint16_t(Byte() | Byte() << 8); }
};

void FillText(Reader& in, char* field, size_t size) {
  // Short, exactly full (no terminator), or with a zero in the middle.
  size_t len = in.Byte() % (size + 1);
  for (size_t i = 0; i < len; ++i) field[i] = char(in.Byte() | 0x01);  // non-zero, often lead bytes
  if (len < size && (in.Byte() & 1)) field[len] = 0;
}

// Whether `n` falls between two characters of raw[0..len): walked from the start, a GBK
// lead byte takes the next byte with it.
bool OnCharacterBoundary(const char* raw, size_t len, size_t n) {
  size_t i = 0;
  while (i < n) i += (IsGbkLeadByte(static_cast<unsigned char>(raw[i])) && i + 1 < len) ? 2 : 1;
  return i == n;
}

// The text a field must hold after reading: up to its first zero; a field without one
// keeps its bytes up to the last character boundary that leaves room for the zero.
bool TextMatches(const char* got, const char* raw, size_t size) {
  const size_t len = strnlen(raw, size);
  const size_t n = strnlen(got, size);
  if (n == size || std::memcmp(got, raw, n) != 0) return false;
  if (len < size) return n == len;
  // Unterminated: one character (one or two bytes) gives way to the zero, and no more.
  if (!OnCharacterBoundary(raw, len, n)) return false;
  return n == size - 1 || (n == size - 2 && !OnCharacterBoundary(raw, len, size - 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  unsigned char bytes[LAUNCH_REC_SIZE + 8];
  std::memset(bytes, 0, sizeof bytes);
  GAME_LAUNCH_REC raw;
  std::memset(&raw, 0, sizeof raw);
  static const int32_t seats[] = {0, 1, 2, 3, 4, 5, 8, 9, -1, 0x7FFFFFFF, int32_t(0x80000000)};
  raw.nSeat = seats[in.Byte() % 11];
  FillText(in, raw.szUserName, sizeof raw.szUserName);
  FillText(in, raw.szNickName, sizeof raw.szNickName);
  FillText(in, raw.szRoomTitle, sizeof raw.szRoomTitle);
  raw.wLoginWord = in.U16();
  FillText(in, raw.szLoginKey, sizeof raw.szLoginKey);
  FillText(in, raw.szServerHost, sizeof raw.szServerHost);
  raw.wServerPort = (in.Byte() & 3) ? in.U16() : 0;
  FillText(in, raw.szTableText, sizeof raw.szTableText);
  FillText(in, raw.szChatHost, sizeof raw.szChatHost);
  raw.wChatPort = (in.Byte() & 3) ? in.U16() : 0;
  FillText(in, raw.szChatColumnText, sizeof raw.szChatColumnText);
  raw.nChatColumnNumber = int32_t(in.U16() << 16 | in.U16());
  raw.nForceWatch = in.Byte();
  std::memcpy(bytes, &raw, sizeof raw);
  size_t length = (in.Byte() & 7) == 0 ? in.U16() % (LAUNCH_REC_SIZE + 8) : LAUNCH_REC_SIZE + (in.Byte() & 7);

  GAME_LAUNCH_REC rec;
  std::memset(&rec, 0xEE, sizeof rec);
  bool ok = ParseLaunchRecordBytes(bytes, length, rec);
  bool acceptable = length >= LAUNCH_REC_SIZE && raw.nSeat >= 1 && raw.nSeat <= LAUNCH_MAX_STORED_SEAT + 1 &&
                    raw.wServerPort != 0 && raw.wChatPort != 0;
  if (ok != acceptable) __builtin_trap();
  if (!ok) return 0;
  if (rec.nSeat != raw.nSeat - 1 || !IsLaunchRecordValid(rec)) __builtin_trap();
  if (rec.wLoginWord != raw.wLoginWord || rec.wServerPort != raw.wServerPort || rec.wChatPort != raw.wChatPort ||
      rec.nChatColumnNumber != raw.nChatColumnNumber || rec.nForceWatch != raw.nForceWatch)
    __builtin_trap();
  if (!TextMatches(rec.szUserName, raw.szUserName, sizeof raw.szUserName) ||
      !TextMatches(rec.szNickName, raw.szNickName, sizeof raw.szNickName) ||
      !TextMatches(rec.szRoomTitle, raw.szRoomTitle, sizeof raw.szRoomTitle) ||
      !TextMatches(rec.szLoginKey, raw.szLoginKey, sizeof raw.szLoginKey) ||
      !TextMatches(rec.szServerHost, raw.szServerHost, sizeof raw.szServerHost) ||
      !TextMatches(rec.szTableText, raw.szTableText, sizeof raw.szTableText) ||
      !TextMatches(rec.szChatHost, raw.szChatHost, sizeof raw.szChatHost) ||
      !TextMatches(rec.szChatColumnText, raw.szChatColumnText, sizeof raw.szChatColumnText))
    __builtin_trap();
  return 0;
}
