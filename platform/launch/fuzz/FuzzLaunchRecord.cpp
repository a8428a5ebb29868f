// Launch-record bytes as a lobby (or anyone holding the mapping name) could write them.
#include "LaunchRecord.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GAME_LAUNCH_REC rec;
  if (ParseLaunchRecordBytes(data, size, rec)) {
    // Every text must be terminated inside its field.
    if (strnlen(rec.szUserName, sizeof rec.szUserName) == sizeof rec.szUserName) __builtin_trap();
    if (strnlen(rec.szTableText, sizeof rec.szTableText) == sizeof rec.szTableText) __builtin_trap();
    if (strnlen(rec.szChatColumnText, sizeof rec.szChatColumnText) == sizeof rec.szChatColumnText) __builtin_trap();
    if (!IsLaunchRecordValid(rec)) __builtin_trap();
  }
  return 0;
}
