// The pending remote-log file and the run file are read back from disk at the next start.
#include "RunLog.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  bool flip = false;
  std::string kept = ReplayRemoteLog(text, [&](const REMOTE_LOG_LINE& l) {
    if (l.strTopic.size() > 31 || l.strText.size() > 255 || l.strReason.size() > 255) __builtin_trap();
    flip = !flip;
    return flip;
  });
  if (kept.size() > text.size() + 1) __builtin_trap();
  RUN_LOG log;
  ParseRunLog(text, log);
  DecidePreviousRun(log);
  SetRunLogFieldInText(text, "Schedule", "5");
  SafeFileStem(text);
  return 0;
}
