// Feeds arbitrary bytes to the BMP checks; a valid answer must describe bytes that exist.
#include "DibFormat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DibInfo info;
  if (ValidateBmpFile(data, size, &info) == DibError::None) {
    const uint8_t* dib = data + 14;
    // Touch the last pixel byte and the last table entry: ASan reports any overrun.
    volatile uint8_t sink = 0;
    if (info.imageBytes) sink = sink + dib[info.bitsOffset + info.imageBytes - 1];
    if (info.colourCount) sink = sink + dib[info.tableOffset + info.colourCount * 4 - 1];
    (void)sink;
  }
  ValidatePackedDib(data, size, &info);
  return 0;
}
