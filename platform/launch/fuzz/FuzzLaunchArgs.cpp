// Command lines: the input is split at zero bytes into arguments.
#include "LaunchRecord.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> parts(1, "Vesk.exe");
  std::string cur;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(static_cast<char>(data[i]));
    }
  }
  if (size) parts.push_back(cur);
  std::vector<const char*> argv;
  for (const auto& p : parts) argv.push_back(p.c_str());
  GAME_LAUNCH_REC rec;
  auto reader = [&](const char*, unsigned char* out, size_t n) {
    for (size_t i = 0; i < n; ++i) out[i] = i < size ? data[i] : 0;
    return true;
  };
  if (ReadLaunchRecordFrom(static_cast<int>(argv.size()), argv.data(), reader, rec) && !IsLaunchRecordValid(rec))
    __builtin_trap();
  return 0;
}
