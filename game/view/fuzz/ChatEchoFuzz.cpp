// Chat lines echoed to the table come from other players: any bytes, any length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "TableLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks how much of the line is the host's name.
  const size_t split = data[0] % 24;
  const std::string host(reinterpret_cast<const char*>(data + 1), size - 1 < split ? size - 1 : split);
  const char* line = reinterpret_cast<const char*>(data + 1 + host.size());
  const size_t n = size - 1 - host.size();
  std::string out = tableview::ChatEchoForTicker(line, n, host.c_str());
  if (out.size() > 1023) __builtin_trap();
  return 0;
}
