// Validation of BMP files and packed DIBs before any byte of them reaches GDI, plus
// small picture-size helpers. Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>

enum class DibError {
  None = 0,
  TooShort,        // fewer bytes than the headers need
  NoSignature,     // a file that does not begin with "BM"
  BadHeaderSize,   // info header size not one of the known forms or past the data
  BadSize,         // width not positive, height zero or out of range
  BadPlanes,       // planes other than 1
  BadBitCount,     // bits per pixel not 1, 4, 8, 16, 24 or 32
  BadCompression,  // only uncompressed and bit-field data are drawn
  TooManyColours,  // colour count above 2^bits or above 256
  TableOutside,    // colour table or bit masks past the data
  BadOffset,       // file's bits offset inside the headers or past the data
  BitsOutside,     // the rows do not fit in the data
};

const char* DibErrorText(DibError e);

struct DibInfo {
  int32_t width = 0;
  int32_t height = 0;  // as stored: negative for top-down rows
  bool topDown = false;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t headerSize = 0;   // biSize
  uint32_t colourCount = 0;  // entries of the colour table
  size_t tableOffset = 0;    // colour table, from the start of the packed DIB
  size_t bitsOffset = 0;     // first pixel row, from the start of the packed DIB
  size_t rowBytes = 0;       // stride, padded to 4 bytes
  size_t imageBytes = 0;     // rowBytes x rows
};

// A packed DIB: BITMAPINFOHEADER (or a later version), masks, colour table, rows.
DibError ValidatePackedDib(const uint8_t* data, size_t size, DibInfo* info);

// A BMP file: the 14-byte file header followed by a packed DIB. The DIB starts at
// data + 14; info->bitsOffset honours the file's bits offset when it names one.
DibError ValidateBmpFile(const uint8_t* data, size_t size, DibInfo* info);

// A file is a BMP by its first two bytes, whatever its name says.
bool HasBmpSignature(const uint8_t* data, size_t size);

// HIMETRIC (0.01 mm) to pixels at the given dots per inch, rounded to nearest.
long HimetricToPixels(long himetric, int dpi);

// Stride of one row of a DIB: bits rounded up to whole 32-bit words.
size_t DibRowBytes(int32_t width, uint16_t bitCount);
