#include "DibFormat.h"

#include <cstdlib>

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

const uint32_t kBiRgb = 0, kBiBitfields = 3;
// Sides beyond this are refused: no skin or card sheet comes near, and it keeps the
// byte arithmetic far from overflow.
const int32_t kMaxSide = 32767;

DibError Validate(const uint8_t* data, size_t size, size_t fileBitsOffset, DibInfo* out) {
  DibInfo info;
  if (size < 4) return DibError::TooShort;
  info.headerSize = Le32(data);
  if (info.headerSize != 40 && info.headerSize != 52 && info.headerSize != 56 && info.headerSize != 108 &&
      info.headerSize != 124)
    return DibError::BadHeaderSize;
  if (info.headerSize > size) return DibError::TooShort;
  info.width = static_cast<int32_t>(Le32(data + 4));
  info.height = static_cast<int32_t>(Le32(data + 8));
  const uint16_t planes = Le16(data + 12);
  info.bitCount = Le16(data + 14);
  info.compression = Le32(data + 16);
  const uint32_t clrUsed = Le32(data + 32);

  if (info.width <= 0 || info.width > kMaxSide || info.height == 0 || info.height < -kMaxSide || info.height > kMaxSide)
    return DibError::BadSize;
  info.topDown = info.height < 0;
  if (planes != 1) return DibError::BadPlanes;
  const uint16_t b = info.bitCount;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return DibError::BadBitCount;
  if (info.compression != kBiRgb && !(info.compression == kBiBitfields && (b == 16 || b == 32)))
    return DibError::BadCompression;

  if (b <= 8) {
    const uint32_t most = 1u << b;
    if (clrUsed > most) return DibError::TooManyColours;
    info.colourCount = clrUsed ? clrUsed : most;
  } else {
    if (clrUsed > 256) return DibError::TooManyColours;
    info.colourCount = clrUsed;
  }
  // Bit-field masks follow a 40-byte header; later headers hold them inside.
  size_t masks = (info.compression == kBiBitfields && info.headerSize == 40) ? 12 : 0;
  info.tableOffset = info.headerSize + masks;
  const size_t tableEnd = info.tableOffset + static_cast<size_t>(info.colourCount) * 4;
  if (tableEnd > size) return DibError::TableOutside;

  info.bitsOffset = tableEnd;
  if (fileBitsOffset) {
    if (fileBitsOffset < tableEnd || fileBitsOffset > size) return DibError::BadOffset;
    info.bitsOffset = fileBitsOffset;
  }
  info.rowBytes = DibRowBytes(info.width, b);
  const size_t rows = static_cast<size_t>(std::abs(static_cast<long>(info.height)));
  info.imageBytes = info.rowBytes * rows;
  if (info.imageBytes > size - info.bitsOffset) return DibError::BitsOutside;
  if (out) *out = info;
  return DibError::None;
}

}  // namespace

const char* DibErrorText(DibError e) {
  switch (e) {
    case DibError::None:
      return "valid";
    case DibError::TooShort:
      return "too short for its headers";
    case DibError::NoSignature:
      return "no BM signature";
    case DibError::BadHeaderSize:
      return "unknown info header size";
    case DibError::BadSize:
      return "bad width or height";
    case DibError::BadPlanes:
      return "planes other than 1";
    case DibError::BadBitCount:
      return "unsupported bits per pixel";
    case DibError::BadCompression:
      return "unsupported compression";
    case DibError::TooManyColours:
      return "too many colours for the depth";
    case DibError::TableOutside:
      return "colour table past the data";
    case DibError::BadOffset:
      return "bits offset outside the data";
    case DibError::BitsOutside:
      return "pixel rows past the data";
  }
  return "unknown";
}

size_t DibRowBytes(int32_t width, uint16_t bitCount) { return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4; }

DibError ValidatePackedDib(const uint8_t* data, size_t size, DibInfo* info) {
  if (!data) return DibError::TooShort;
  return Validate(data, size, 0, info);
}

bool HasBmpSignature(const uint8_t* data, size_t size) { return data && size >= 2 && data[0] == 'B' && data[1] == 'M'; }

DibError ValidateBmpFile(const uint8_t* data, size_t size, DibInfo* info) {
  if (!data || size < 2) return DibError::TooShort;
  if (!HasBmpSignature(data, size)) return DibError::NoSignature;
  if (size < 14 + 4) return DibError::TooShort;
  const uint32_t offBits = Le32(data + 10);
  // The file header's offset counts from the file start; 0 means "right after the table".
  if (offBits != 0 && offBits < 14) return DibError::BadOffset;
  return Validate(data + 14, size - 14, offBits ? offBits - 14 : 0, info);
}

long HimetricToPixels(long himetric, int dpi) {
  const long long v = static_cast<long long>(himetric) * dpi;
  const long long r = v >= 0 ? (v + 1270) / 2540 : -((-v + 1270) / 2540);
  return static_cast<long>(r);
}
