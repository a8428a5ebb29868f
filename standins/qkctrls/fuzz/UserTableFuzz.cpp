// User-table blocks arrive with a size the caller states.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ChatCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> cells;
  qkchat::ParseUserTable(data, size, &cells);
  return 0;
}
