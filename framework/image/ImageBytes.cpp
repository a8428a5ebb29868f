#include "ImageBytes.h"

#include <cstring>

namespace dibimage {

ImageKind SniffImage(const uint8_t* data, size_t size) {
  if (!data || size <= 5) return ImageKind::None;
  if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) return ImageKind::Gif;
  if (std::memcmp(data + 1, "PNG\r\n", 5) == 0) return ImageKind::Png;
  if (data[0] == 'B' && data[1] == 'M') return ImageKind::Bmp;
  return ImageKind::Jpeg;
}

DibError CheckBmpBytes(const uint8_t* data, size_t size, DibInfo* info) {
  if (!data || size < 14) return DibError::TooShort;
  const uint32_t stored =
      uint32_t(data[2]) | uint32_t(data[3]) << 8 | uint32_t(data[4]) << 16 | uint32_t(data[5]) << 24;
  if (stored != size) return DibError::BadSize;
  return ValidateBmpFile(data, size, info);
}

}  // namespace dibimage
