// Addresses come from the server (tip window) and from theme files (help window).
#include <cstddef>
#include <cstdint>
#include <string>

#include "WebAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  webctl::Classify(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
