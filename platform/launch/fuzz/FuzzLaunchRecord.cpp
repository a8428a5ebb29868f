// Launch-record bytes as a lobby (or anyone holding the mapping name) could write them.
#include "GbkText.h"
#include "LaunchRecord.h"

#include <cstddef>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GAME_LAUNCH_REC rec;
  if (ParseLaunchRecordBytes(data, size, rec)) {
    // Every text must be terminated inside its field.
    if (strnlen(rec.szUserName, sizeof rec.szUserName) == sizeof rec.szUserName) __builtin_trap();
    if (strnlen(rec.szTableText, sizeof rec.szTableText) == sizeof rec.szTableText) __builtin_trap();
    if (strnlen(rec.szChatColumnText, sizeof rec.szChatColumnText) == sizeof rec.szChatColumnText) __builtin_trap();
    if (!IsLaunchRecordValid(rec)) __builtin_trap();
    // A field that filled its width is cut to whole characters: what is kept is exactly
    // the longest run of whole characters that leaves room for the zero.
    const struct {
      size_t at;
      const char* out;
      size_t size;
    } fields[] = {{offsetof(GAME_LAUNCH_REC, szUserName), rec.szUserName, sizeof rec.szUserName},
                  {offsetof(GAME_LAUNCH_REC, szRoomTitle), rec.szRoomTitle, sizeof rec.szRoomTitle},
                  {offsetof(GAME_LAUNCH_REC, szTableText), rec.szTableText, sizeof rec.szTableText}};
    for (const auto& f : fields) {
      const char* in = reinterpret_cast<const char*>(data) + f.at;
      if (strnlen(in, f.size) == f.size && strlen(f.out) != GbkFitLength(in, f.size, f.size - 1)) __builtin_trap();
    }
  }
  return 0;
}
