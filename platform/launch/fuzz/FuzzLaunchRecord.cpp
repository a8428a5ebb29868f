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
    // Each text is the field's own bytes, cut only where the field holds no zero, and then
    // on a character boundary one character short of the field.
    const struct {
      size_t at;
      const char* out;
      size_t size;
    } fields[] = {{offsetof(GAME_LAUNCH_REC, szUserName), rec.szUserName, sizeof rec.szUserName},
                  {offsetof(GAME_LAUNCH_REC, szNickName), rec.szNickName, sizeof rec.szNickName},
                  {offsetof(GAME_LAUNCH_REC, szRoomTitle), rec.szRoomTitle, sizeof rec.szRoomTitle},
                  {offsetof(GAME_LAUNCH_REC, szLoginKey), rec.szLoginKey, sizeof rec.szLoginKey},
                  {offsetof(GAME_LAUNCH_REC, szServerHost), rec.szServerHost, sizeof rec.szServerHost},
                  {offsetof(GAME_LAUNCH_REC, szTableText), rec.szTableText, sizeof rec.szTableText},
                  {offsetof(GAME_LAUNCH_REC, szChatHost), rec.szChatHost, sizeof rec.szChatHost},
                  {offsetof(GAME_LAUNCH_REC, szChatColumnText), rec.szChatColumnText, sizeof rec.szChatColumnText}};
    for (const auto& f : fields) {
      const char* in = reinterpret_cast<const char*>(data) + f.at;
      const size_t kept = strnlen(f.out, f.size);
      if (kept != GbkFieldTextLength(in, f.size) || std::memcmp(f.out, in, kept) != 0) __builtin_trap();
    }
  }
  return 0;
}
