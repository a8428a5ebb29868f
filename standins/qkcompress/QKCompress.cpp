// Package-entry compressor of the platform: zlib streams, results as produced lengths.
#include <windows.h>
#include <zlib.h>

#include "OutsideLibs.h"

extern "C" int WINAPI QK_ZIPCompress(unsigned char* dest, int destSize, const unsigned char* source, int sourceLen) {
  if (!dest || !source || destSize <= 0 || sourceLen < 0) return 0;
  uLongf out = static_cast<uLongf>(destSize);
  if (compress2(dest, &out, source, static_cast<uLong>(sourceLen), Z_BEST_COMPRESSION) != Z_OK) return 0;
  return static_cast<int>(out);
}

extern "C" int WINAPI QK_ZIPUncompress(unsigned char* dest, int destSize, const unsigned char* source, int sourceLen) {
  if (!dest || !source || destSize <= 0 || sourceLen <= 0) return 0;
  uLongf out = static_cast<uLongf>(destSize);
  // A stream that does not fit the stated size is a failure, never an overrun.
  if (uncompress(dest, &out, source, static_cast<uLong>(sourceLen)) != Z_OK) return 0;
  return static_cast<int>(out);
}

// The exports have the types the program calls them through.
OUTSIDE_EXPORT_TYPE(QK_ZIPCompress, PFN_QK_ZIPCOMPRESS);
OUTSIDE_EXPORT_TYPE(QK_ZIPUncompress, PFN_QK_ZIPUNCOMPRESS);
