#include "ChannelState.h"

#include <climits>
#include <cstring>

#include "GbkText.h"

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

bool IsSeparator(char c) { return c == ' ' || c == ','; }

// atoi over a bounded range: blanks, optional sign, leading digits; saturates.
int BoundedAtoi(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
  long long v = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p)
    if (v <= INT_MAX) v = v * 10 + (*p - '0');
  if (negative) v = -v;
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

void CopyName(char* dst, const uint8_t* src) {
  // Names in the list fill 20 bytes and may lack their zero: such a name loses its last
  // whole character.
  const char* text = reinterpret_cast<const char*>(src);
  const size_t n = GbkFieldTextLength(text, 20);
  std::memcpy(dst, text, n);
  std::memset(dst + n, 0, 20 - n);
}

}  // namespace

int SeatToViewPosition(int count, int ownSeat, int serverSeat) {
  if (count <= 0) return 0;
  int v = (count - ownSeat + 1 + serverSeat) % count;
  return v < 0 ? v + count : v;
}

void ParseTableOptions(const char* text, size_t len, int options[TABLE_OPTION_COUNT]) {
  if (!text) return;
  const char* end = static_cast<const char*>(std::memchr(text, 0, len));
  if (!end) end = text + len;
  const char* p = text;
  for (int i = 0; i < TABLE_OPTION_COUNT; ++i) {
    while (p < end && IsSeparator(*p)) ++p;
    if (p >= end) break;
    options[i] = BoundedAtoi(p, end);
    while (p < end && !IsSeparator(*p)) ++p;
    while (p < end && IsSeparator(*p)) ++p;
  }
}

EnterChannelResult EnterChannelCore(int32_t& launchSeat, int32_t forceWatch, int playerCount, const uint8_t* players,
                                    size_t playersLen, const char* options, size_t optionsLen,
                                    const uint8_t* watchBlock, size_t watchLen, CHANNEL_STATE& state) {
  CHANNEL_STATE s;
  s.nPlayerCount = playerCount;
  if (launchSeat < 0 || launchSeat >= 8) return ENTER_BAD_SEAT;
  if (launchSeat >= 4) {
    s.nWatchMode = 1;
    launchSeat -= 4;
  }
  if (playerCount != 3 && playerCount != 4) return ENTER_BAD_PLAYERS;
  if (launchSeat >= playerCount) return ENTER_BAD_SEAT;
  s.nOwnSeat = launchSeat;

  // Every entry inside the list, every seat below the count and none twice: then every
  // view position is filled exactly once.
  if (!players || playersLen / PLAYER_ENTRY_SIZE < static_cast<size_t>(playerCount)) return ENTER_BAD_PLAYERS;
  bool filled[MAX_TABLE_PLAYERS] = {};
  for (int i = 0; i < playerCount; ++i) {
    const uint8_t* e = players + i * PLAYER_ENTRY_SIZE;
    int seat = static_cast<int>(ReadU32(e) & 0xFFFF);
    if (seat >= playerCount) return ENTER_BAD_PLAYERS;
    int pos = SeatToViewPosition(playerCount, launchSeat, seat);
    if (filled[pos]) return ENTER_BAD_PLAYERS;
    filled[pos] = true;
    s.seats[pos].wServerSeat = static_cast<uint16_t>(seat);
    CopyName(s.seats[pos].szUserName, e + 4);
    CopyName(s.seats[pos].szNickName, e + 24);
    s.nGender[seat] = static_cast<int32_t>(ReadU32(e + 44));
  }

  if (optionsLen != 0) ParseTableOptions(options, optionsLen, s.nOptions);

  s.nWatchModeEntered = s.nWatchMode;
  if (forceWatch != 0) s.nWatchMode = 1;

  if (s.nWatchMode) {
    if (!watchBlock || watchLen < WATCH_BLOCK_MIN) return ENTER_BAD_WATCH_BLOCK;
    s.nSeriesValue = ReadU32(watchBlock);
    s.nHandNumber = ReadU32(watchBlock + 4);
    for (int pos = 0; pos < playerCount; ++pos) {
      int seat = s.seats[pos].wServerSeat;
      s.nSeriesTotal[pos] = static_cast<int32_t>(ReadU32(watchBlock + 12 + 4 * seat));
      s.nScoreTotal[pos] = static_cast<int32_t>(ReadU32(watchBlock + 28 + 4 * seat));
    }
  }
  state = s;
  return ENTER_OK;
}
