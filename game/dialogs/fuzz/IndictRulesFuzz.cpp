// The complaint records are copied from the server's frames: any frame the connection
// accepts (its length within what arrived) must copy cleanly.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "IndictRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  std::vector<uint8_t> frame(data, data + size);
  uint32_t id;
  std::memcpy(&id, frame.data(), 4);
  const size_t head = (id & 0x80000000u) ? 12 : 8;
  uint32_t length;
  std::memcpy(&length, frame.data() + 4, 4);
  // The connection only hands over complete frames.
  if (length > size - head) length = uint32_t(size - head);
  std::memcpy(frame.data() + 4, &length, 4);
  frame.resize(head + length);
  uint8_t record[indict::FEE_RECORD + 1];
  record[indict::FEE_RECORD] = 0x5A;
  indict::CopyFrameHead(frame.data(), record, indict::FEE_RECORD);
  if (record[indict::FEE_RECORD] != 0x5A) __builtin_trap();
  if (frame.size() >= indict::PROMPT_RECORD) {
    indict::Prompt p = indict::ReadPrompt(record);
    if (p.keepAliveMs < indict::MIN_KEEPALIVE_MS) __builtin_trap();
  }
  return 0;
}
