// Tier replies from the web service: parsed and interpreted against a fixed table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ServicesCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  JsonValue v;
  if (!ParseJson(std::string(reinterpret_cast<const char*>(data), size), &v)) return 0;
  std::vector<TIER_MATCH> m;
  InterpretTierReply(v, {"west", "me", "east", "north"}, &m);
  for (const auto& x : m)
    if (x.nPosition < 0 || x.nPosition > 3 || x.nTier < 0) abort();
  return 0;
}
