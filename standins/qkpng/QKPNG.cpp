// PNG codec of the platform over GDI+.
#include <windows.h>

#include "GdiplusCodec.h"
#include "OutsideLibs.h"

using standin::Pixels;

namespace {

BOOL Deliver(const Pixels& px, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
  HBITMAP bmp = standin::PixelsToDibSection(px);
  if (!bmp) return FALSE;
  if (bitmap)
    *bitmap = bmp;
  else
    DeleteObject(bmp);
  if (palette) *palette = nullptr;
  if (width) *width = px.width;
  if (height) *height = px.height;
  return TRUE;
}

}  // namespace

extern "C" {

BOOL WINAPI LoadPNGFromMem(const void* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
  Pixels px;
  return standin::DecodeImage(data, size, px) ? Deliver(px, bitmap, palette, width, height) : FALSE;
}

BOOL WINAPI LoadPNGFile(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
  Pixels px;
  return standin::DecodeImageFile(path, px) ? Deliver(px, bitmap, palette, width, height) : FALSE;
}

HGLOBAL WINAPI WriteBmpToPNGMem(HBITMAP bitmap, DWORD* size) {
  Pixels px;
  std::vector<unsigned char> bytes;
  if (!standin::BitmapToPixels(bitmap, px) || !standin::EncodePixels(px, L"image/png", -1, bytes)) return nullptr;
  return standin::BytesToGlobal(bytes, size);
}

BOOL WINAPI WriteBmpToPNGFile(HBITMAP bitmap, const char* path) {
  Pixels px;
  std::vector<unsigned char> bytes;
  return standin::BitmapToPixels(bitmap, px) && standin::EncodePixels(px, L"image/png", -1, bytes) &&
         standin::WriteFileBytes(path, bytes);
}

HGLOBAL WINAPI WriteImageDataToPNGMem(const void* bgra, int width, int height, DWORD* size) {
  if (!bgra || width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
  Pixels px;
  px.width = width;
  px.height = height;
  const unsigned char* p = static_cast<const unsigned char*>(bgra);
  px.bgra.assign(p, p + static_cast<size_t>(width) * height * 4);
  std::vector<unsigned char> bytes;
  if (!standin::EncodePixels(px, L"image/png", -1, bytes)) return nullptr;
  return standin::BytesToGlobal(bytes, size);
}

}  // extern "C"

// The exports have the types the program calls them through.
OUTSIDE_EXPORT_TYPE(LoadPNGFromMem, PFN_LOADFROMMEM);
OUTSIDE_EXPORT_TYPE(LoadPNGFile, PFN_LOADFILE);
OUTSIDE_EXPORT_TYPE(WriteBmpToPNGMem, PFN_WRITEBMPTOPNGMEM);
OUTSIDE_EXPORT_TYPE(WriteBmpToPNGFile, PFN_WRITEBMPTOPNGFILE);
OUTSIDE_EXPORT_TYPE(WriteImageDataToPNGMem, PFN_WRITEIMAGEDATATOPNGMEM);
