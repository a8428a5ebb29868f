// Frame-body inflater of the platform: zlib's compress and uncompress under their own names.
#include <zlib.h>

#include "OutsideLibs.h"

extern "C" int QkZipCompress(Bytef* dest, uLongf* destLen, const Bytef* source, uLong sourceLen) {
  return compress(dest, destLen, source, sourceLen);
}

extern "C" int QkZipUncompress(Bytef* dest, uLongf* destLen, const Bytef* source, uLong sourceLen) {
  return uncompress(dest, destLen, source, sourceLen);
}

// The exports have the types the program calls them through.
OUTSIDE_EXPORT_TYPE(QkZipCompress, PFN_ZIP_COMPRESS);
OUTSIDE_EXPORT_TYPE(QkZipUncompress, PFN_ZIP_UNCOMPRESS);
