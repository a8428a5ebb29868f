// Advertisement records come from the game server.
#include <cstddef>
#include <cstdint>

#include "AdRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  adrecord::AdRecord r;
  if (!adrecord::Parse(data, size, &r)) return 0;
  adrecord::ResolvePages(
      r, "C:\\share", [](const std::string& p) { return p.size() % 2 == 0; }, nullptr, "a", "b");
  adrecord::ChooseCall(r);
  return 0;
}
