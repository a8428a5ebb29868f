// Picture bytes as the decoder front end reads them: sniffing and the BMP checks; a BMP
// that passes must describe rows and a colour table that lie inside the data.
#include "ImageBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dibimage;
  if (SniffImage(data, size) != ImageKind::Bmp) return 0;
  DibInfo info;
  if (CheckBmpBytes(data, size, &info) != DibError::None) return 0;
  const uint8_t* dib = data + 14;
  volatile uint8_t sink = 0;
  if (info.imageBytes) sink = sink + dib[info.bitsOffset + info.imageBytes - 1];
  if (info.colourCount) sink = sink + dib[info.tableOffset + info.colourCount * 4 - 1];
  (void)sink;
  return 0;
}
