// Which decoder a picture's bytes go to, and the checks a BMP passes before any of its bytes
// reach GDI. Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "DibFormat.h"

namespace dibimage {

enum class ImageKind { None, Gif, Png, Bmp, Jpeg };

// By the first bytes: "GIF87a"/"GIF89a", "PNG\r\n" at bytes 1-5 (byte 0 is not tested),
// "BM"; anything else is taken as JPEG. None for 5 bytes or fewer.
ImageKind SniffImage(const uint8_t* data, size_t size);

// A BMP whose stored file size (bytes 2-5) equals `size` and whose headers, colour table,
// bits offset and rows all lie inside the data. info describes the packed DIB at data + 14.
DibError CheckBmpBytes(const uint8_t* data, size_t size, DibInfo* info);

}  // namespace dibimage
