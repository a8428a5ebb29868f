// BMP files built from chosen header values (header forms, sizes around the limits, depths,
// compressions, colour counts, bits offsets, data cut around the rows' end). Besides "a valid
// answer describes bytes that exist", the checks must agree with each other: a valid picture
// cut by one byte is refused for its rows, extra bytes after it change nothing, and the file
// form with no bits offset answers like the packed DIB inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "DibFormat.h"

namespace {

struct Reader {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() { return n ? (--n, *p++) : 0; }
  uint32_t U32() { return Byte() | Byte() << 8 | Byte() << 16 | uint32_t(Byte()) << 24; }
  template <size_t N>
  uint32_t Pick(const uint32_t (&v)[N]) {
    uint8_t b = Byte();
    return b < 8 * N ? v[b % N] : U32();
  }
};

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  v[at] = uint8_t(x);
  v[at + 1] = uint8_t(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

bool Same(const DibInfo& a, const DibInfo& b) {
  return a.width == b.width && a.height == b.height && a.bitCount == b.bitCount && a.colourCount == b.colourCount &&
         a.tableOffset == b.tableOffset && a.bitsOffset == b.bitsOffset && a.rowBytes == b.rowBytes &&
         a.imageBytes == b.imageBytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  static const uint32_t headers[] = {40, 52, 56, 108, 124, 12, 64};
  static const uint32_t sides[] = {1, 2, 3, 7, 8, 31, 33, 0, 0xFFFFFFFF, 32767, 32768, 0xFFFF8001};
  static const uint32_t depths[] = {1, 4, 8, 16, 24, 32, 2, 0};
  static const uint32_t compressions[] = {0, 3, 1, 2};
  static const uint32_t colours[] = {0, 1, 2, 16, 256, 257, 17};
  const uint32_t header = in.Pick(headers);
  const uint32_t width = in.Pick(sides) % 64 == 0 ? in.Pick(sides) : in.Pick(sides) % 64;
  uint32_t height = in.Pick(sides) % 48;
  if (in.Byte() & 1) height = uint32_t(-int32_t(height));
  const uint32_t planes = (in.Byte() & 7) ? 1 : in.Byte();
  const uint32_t bits = in.Pick(depths);
  const uint32_t compression = in.Pick(compressions);
  const uint32_t clrUsed = in.Pick(colours);
  const uint8_t offsetMode = in.Byte() % 4;

  // Room for the headers, masks, a full table and the rows of the chosen picture.
  size_t rows = size_t(std::abs(int32_t(height)) % 48);
  size_t need = 14 + 124 + 12 + 256 * 4 + ((size_t(width % 64) * 32 + 31) / 32) * 4 * rows;
  std::vector<uint8_t> file(need + 16, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 14, header);
  Put32(file, 18, width);
  Put32(file, 22, height);
  Put16(file, 26, planes);
  Put16(file, 28, bits);
  Put32(file, 30, compression);
  Put32(file, 46, clrUsed);
  for (size_t i = 54; i < file.size(); ++i) file[i] = in.Byte();
  Put32(file, 10, offsetMode == 0 ? 0 : offsetMode == 1 ? 14 + header : offsetMode == 2 ? in.U32() % need : 13);
  size_t length = (in.Byte() & 3) ? file.size() : in.U32() % (file.size() + 1);

  DibInfo info;
  DibError e = ValidateBmpFile(file.data(), length, &info);
  if (e == DibError::None) {
    const uint8_t* dib = file.data() + 14;
    const size_t dibSize = length - 14;
    if (info.bitsOffset + info.imageBytes > dibSize) abort();
    if (info.tableOffset + size_t(info.colourCount) * 4 > dibSize) abort();
    if (info.colourCount > 256 || info.rowBytes % 4 != 0) abort();
    if (info.rowBytes * 8 < size_t(info.width) * info.bitCount) abort();
    volatile uint8_t sink = info.imageBytes ? dib[info.bitsOffset + info.imageBytes - 1] : 0;
    (void)sink;
    // Extra bytes after the picture change nothing.
    DibInfo more;
    if (ValidateBmpFile(file.data(), file.size(), &more) != DibError::None || !Same(info, more)) abort();
    // One byte fewer than the rows need is refused for the rows.
    size_t end = 14 + info.bitsOffset + info.imageBytes;
    if (info.imageBytes && ValidateBmpFile(file.data(), end - 1, nullptr) != DibError::BitsOutside) abort();
    // Without a bits offset the file answers like the packed DIB it holds.
    if (offsetMode == 0) {
      DibInfo packed;
      if (ValidatePackedDib(dib, dibSize, &packed) != DibError::None || !Same(info, packed)) abort();
    }
  } else if (offsetMode == 0 && length >= 18) {
    if (ValidatePackedDib(file.data() + 14, length - 14, nullptr) != e) abort();
  }
  return 0;
}
