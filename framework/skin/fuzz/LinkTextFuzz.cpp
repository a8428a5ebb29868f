// Link markup and line breaking over arbitrary bytes (texts come from the server).
#include <cstddef>
#include <cstdint>
#include <string>

#include "SkinLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  size_t total = 0;
  for (const skin::TextPiece& p : skin::ParseLinkText(text)) {
    total += p.text.size();
    if (p.kind == skin::TextPiece::kLink) (void)skin::SafeLinkAddress(p.address);
  }
  if (total > size) __builtin_trap();
  (void)skin::SplitMessageLines(text);
  (void)skin::ParseSysMenuStyle(text.c_str());
  char buf[16];
  skin::CopyTextBounded(buf, sizeof buf, text.c_str());
  return 0;
}
