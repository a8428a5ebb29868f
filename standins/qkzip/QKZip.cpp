// Frame-body inflater of the platform: zlib's compress and uncompress under their own names.
#include <zlib.h>

extern "C" int QkZipCompress(Bytef* dest, uLongf* destLen, const Bytef* source, uLong sourceLen) {
  return compress(dest, destLen, source, sourceLen);
}

extern "C" int QkZipUncompress(Bytef* dest, uLongf* destLen, const Bytef* source, uLong sourceLen) {
  return uncompress(dest, destLen, source, sourceLen);
}
