#include "TgaDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TgaImage img;
  if (DecodeTga(data, size, img) &&
      (img.bgra.size() != static_cast<size_t>(img.width) * img.height * 4 || img.alpha.size() * 4 != img.bgra.size()))
    __builtin_trap();
  return 0;
}
