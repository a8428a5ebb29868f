#include "ZlibAdapter.h"

#include <zlib.h>

namespace netcore {

// zlib's lengths are uLongf, which need not be unsigned long.
int ZlibUncompress(unsigned char* dst, unsigned long* dstLen, const unsigned char* src, unsigned long srcLen) {
  uLongf out = *dstLen;
  int r = uncompress(dst, &out, src, srcLen);
  *dstLen = out;
  return r;
}

int ZlibCompress(unsigned char* dst, unsigned long* dstLen, const unsigned char* src, unsigned long srcLen) {
  uLongf out = *dstLen;
  int r = compress(dst, &out, src, srcLen);
  *dstLen = out;
  return r;
}

}  // namespace netcore
