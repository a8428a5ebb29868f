// zlib's compress and uncompress in the shape InflateFrame and CompressFrame take, for the
// programs that have zlib at hand (tests, fuzz targets, the table server); the client goes
// through the platform's compression library instead.
#pragma once

namespace netcore {

int ZlibUncompress(unsigned char* dst, unsigned long* dstLen, const unsigned char* src, unsigned long srcLen);
int ZlibCompress(unsigned char* dst, unsigned long* dstLen, const unsigned char* src, unsigned long srcLen);

}  // namespace netcore
