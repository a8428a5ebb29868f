// Untrusted theme texts through the edit's font parser: whatever it takes stays in bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "EditBuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  vesk::odctrls::EditFontSpec spec;
  if (!vesk::odctrls::ParseEditFont(text, &spec)) return 0;
  if (spec.face.empty() || spec.face.size() > 31) __builtin_trap();
  if (spec.height < 1 || spec.height > 96 || spec.weight < 100 || spec.weight > 900) __builtin_trap();
  return 0;
}
