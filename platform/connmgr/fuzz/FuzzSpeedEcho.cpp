// The speed probe's reply as the server may send it: any bytes, any length word.
#include <cstdlib>
#include <vector>

#include "SpeedTest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so a read past them is caught.
  std::vector<uint8_t> frame(data, data + size);
  auto tick = connmgr::DecodeSpeedEcho(frame.data(), frame.size());
  if (tick) {
    int32_t r = connmgr::SpeedResult(*tick + 12345u, *tick);
    if (r < connmgr::kSpeedMin || r > connmgr::kSpeedMax) abort();
  }
  return 0;
}
