// Relay and proxy answers are untrusted: the header reader and the verdict on it.
#include <cstdint>
#include <string>

#include "TunnelProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tunnel::HeaderReader r;
  size_t pos = 0;
  while (r.Wanted() && pos < size) {
    size_t n = std::min(r.Wanted(), size - pos);
    r.Feed(reinterpret_cast<const char*>(data) + pos, n);
    pos += n;
  }
  if (r.text().size() > tunnel::HeaderReader::kMaxHeader) __builtin_trap();
  std::string text(reinterpret_cast<const char*>(data), size);
  auto v = tunnel::JudgeGetResponse(text);
  if (v.kind == tunnel::GetVerdict::Success && v.serial.empty()) __builtin_trap();
  if (auto loc = tunnel::HeaderValue(text, "Location"))
    if (loc->size() > 127) __builtin_trap();
  return 0;
}
