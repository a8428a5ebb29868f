// The caption format comes from the resource library, which the deployment may replace.
#include <cstddef>
#include <cstdint>
#include <string>

#include "AboutRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string s(reinterpret_cast<const char*>(data), size);
  std::string out = aboutbox::FillOneString(s, "Vesk");
  if (out.size() > s.size() + 4) __builtin_trap();
  return 0;
}
