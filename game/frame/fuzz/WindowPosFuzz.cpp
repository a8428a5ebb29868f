// "WindowPos" comes from the profile, which anything may have written: any text must parse
// cleanly, and what parses must come back the same through its own format.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FrameRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  frame::SavedPlacement p;
  if (!frame::ParseWindowPos(text.c_str(), p)) return 0;
  frame::SavedPlacement again;
  if (!frame::ParseWindowPos(frame::FormatWindowPos(p).c_str(), again)) __builtin_trap();
  if (frame::FormatWindowPos(again) != frame::FormatWindowPos(p)) __builtin_trap();
  return 0;
}
