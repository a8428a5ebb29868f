// Chat lines come from other players through the chat peer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ChatCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string s(reinterpret_cast<const char*>(data), size);
  auto lines = qkchat::ParseMarkup(s);
  qkchat::LineBuffer lb;
  lb.Append(s.data(), s.size());
  std::string line;
  while (lb.Next(&line)) qkchat::SplitFields(line);
  return lines.size() > size ? 1 : 0;
}
