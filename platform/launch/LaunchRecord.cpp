#include "LaunchRecord.h"

#include <climits>
#include <cstring>

#include "GbkText.h"

long LaunchAtol(const char* text) {
  if (!text) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (value < LLONG_MAX / 10) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (value > LONG_MAX) return LONG_MAX;
  if (value < LONG_MIN) return LONG_MIN;
  return static_cast<long>(value);
}

void CopyLaunchText(char* field, size_t size, const char* text) {
  if (size == 0) return;
  size_t n = 0;
  if (text) {
    // Only the field's width is read: an argument may be longer than any field.
    n = GbkFieldTextLength(text, size);
    std::memcpy(field, text, n);
  }
  std::memset(field + n, 0, size - n);
}

namespace {

bool PortInRange(long value) { return value >= 1 && value <= 65535; }

void TerminateField(char* field, size_t size) {
  // A field that fills its whole width loses its last character rather than running into
  // the next field.
  size_t n = GbkFieldTextLength(field, size);
  std::memset(field + n, 0, size - n);
}

}  // namespace

bool IsLaunchRecordValid(const GAME_LAUNCH_REC& rec) {
  return rec.nSeat >= 0 && rec.nSeat <= LAUNCH_MAX_STORED_SEAT && rec.wServerPort != 0 && rec.wChatPort != 0;
}

bool ParseLaunchArgs(int argc, const char* const* argv, GAME_LAUNCH_REC& rec) {
  if ((argc != 14 && argc != 15) || !argv) return false;
  for (int i = 1; i < argc; ++i)
    if (!argv[i]) return false;
  GAME_LAUNCH_REC r;
  std::memset(&r, 0, sizeof r);
  long seat = LaunchAtol(argv[1]);
  long loginWord = LaunchAtol(argv[5]);
  long serverPort = LaunchAtol(argv[8]);
  long chatPort = LaunchAtol(argv[11]);
  if (seat < 1 || seat > LAUNCH_MAX_STORED_SEAT + 1) return false;
  if (!PortInRange(serverPort) || !PortInRange(chatPort)) return false;
  r.nSeat = static_cast<int32_t>(seat - 1);
  CopyLaunchText(r.szUserName, sizeof r.szUserName, argv[2]);
  CopyLaunchText(r.szNickName, sizeof r.szNickName, argv[3]);
  CopyLaunchText(r.szRoomTitle, sizeof r.szRoomTitle, argv[4]);
  r.wLoginWord = static_cast<uint16_t>(loginWord);
  CopyLaunchText(r.szLoginKey, sizeof r.szLoginKey, argv[6]);
  CopyLaunchText(r.szServerHost, sizeof r.szServerHost, argv[7]);
  r.wServerPort = static_cast<uint16_t>(serverPort);
  CopyLaunchText(r.szTableText, sizeof r.szTableText, argv[9]);
  CopyLaunchText(r.szChatHost, sizeof r.szChatHost, argv[10]);
  r.wChatPort = static_cast<uint16_t>(chatPort);
  CopyLaunchText(r.szChatColumnText, sizeof r.szChatColumnText, argv[12]);
  r.nChatColumnNumber = static_cast<int32_t>(LaunchAtol(argv[13]));
  r.nForceWatch = argc == 15 ? static_cast<int32_t>(LaunchAtol(argv[14])) : 0;
  rec = r;
  return true;
}

bool ParseLaunchRecordBytes(const void* data, size_t size, GAME_LAUNCH_REC& rec) {
  if (!data || size < LAUNCH_REC_SIZE) return false;
  GAME_LAUNCH_REC r;
  std::memcpy(&r, data, LAUNCH_REC_SIZE);
  TerminateField(r.szUserName, sizeof r.szUserName);
  TerminateField(r.szNickName, sizeof r.szNickName);
  TerminateField(r.szRoomTitle, sizeof r.szRoomTitle);
  TerminateField(r.szLoginKey, sizeof r.szLoginKey);
  TerminateField(r.szServerHost, sizeof r.szServerHost);
  TerminateField(r.szTableText, sizeof r.szTableText);
  TerminateField(r.szChatHost, sizeof r.szChatHost);
  TerminateField(r.szChatColumnText, sizeof r.szChatColumnText);
  if (r.nSeat < 1 || r.nSeat > LAUNCH_MAX_STORED_SEAT + 1) return false;
  r.nSeat -= 1;
  if (!IsLaunchRecordValid(r)) return false;
  rec = r;
  return true;
}

bool ReadLaunchRecordFrom(int argc, const char* const* argv, const LaunchMappingReader& readMapping,
                          GAME_LAUNCH_REC& rec) {
  if (argc == 14 || argc == 15) return ParseLaunchArgs(argc, argv, rec);
  if (argc != 2 || !argv || !argv[1] || !readMapping) return false;
  unsigned char bytes[LAUNCH_REC_SIZE];
  std::memset(bytes, 0, sizeof bytes);
  if (!readMapping(argv[1], bytes, sizeof bytes)) return false;
  return ParseLaunchRecordBytes(bytes, sizeof bytes, rec);
}
