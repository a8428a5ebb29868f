// JPEG codec of the platform over GDI+: decode from memory or file, encode DIBs and bitmaps.
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
  if (palette) *palette = nullptr;  // true colour: no palette
  if (width) *width = px.width;
  if (height) *height = px.height;
  return TRUE;
}

BOOL WriteJpeg(const Pixels& px, const char* path, int quality) {
  std::vector<unsigned char> bytes;
  return standin::EncodePixels(px, L"image/jpeg", quality, bytes) && standin::WriteFileBytes(path, bytes);
}

}  // namespace

extern "C" {

BOOL WINAPI LoadJpgFromMem(const void* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
  Pixels px;
  return standin::DecodeImage(data, size, px) ? Deliver(px, bitmap, palette, width, height) : FALSE;
}

BOOL WINAPI LoadJpgFile(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
  Pixels px;
  return standin::DecodeImageFile(path, px) ? Deliver(px, bitmap, palette, width, height) : FALSE;
}

HGLOBAL WINAPI LoadJpgImageDataFromMem(const void* data, DWORD size, int* width, int* height) {
  Pixels px;
  if (!standin::DecodeImage(data, size, px)) return nullptr;
  if (width) *width = px.width;
  if (height) *height = px.height;
  return standin::PixelsToGlobal(px);
}

HGLOBAL WINAPI LoadJpgFileImageData(const char* path, int* width, int* height) {
  Pixels px;
  if (!standin::DecodeImageFile(path, px)) return nullptr;
  if (width) *width = px.width;
  if (height) *height = px.height;
  return standin::PixelsToGlobal(px);
}

BOOL WINAPI WriteBitmapToJpeg(HBITMAP bitmap, const char* path, int quality) {
  Pixels px;
  return standin::BitmapToPixels(bitmap, px) && WriteJpeg(px, path, quality);
}

BOOL WINAPI WriteDibToJpeg(HGLOBAL packedDib, const char* path, int quality) {
  Pixels px;
  return standin::PackedDibHandleToPixels(packedDib, px) && WriteJpeg(px, path, quality);
}

HGLOBAL WINAPI WriteDibToJpegMEM(HGLOBAL packedDib, int quality, DWORD* size) {
  Pixels px;
  std::vector<unsigned char> bytes;
  if (!standin::PackedDibHandleToPixels(packedDib, px) || !standin::EncodePixels(px, L"image/jpeg", quality, bytes))
    return nullptr;
  return standin::BytesToGlobal(bytes, size);
}

void* WINAPI GetPointerFromHandleLock(HGLOBAL handle) { return handle ? GlobalLock(handle) : nullptr; }

BOOL WINAPI UnLockDataHandle(HGLOBAL handle) {
  if (!handle) return FALSE;
  GlobalUnlock(handle);
  return TRUE;
}

void WINAPI FreeDataHandle(HGLOBAL handle) {
  if (handle) GlobalFree(handle);
}

}  // extern "C"

// The exports have the types the program calls them through.
OUTSIDE_EXPORT_TYPE(LoadJpgFromMem, PFN_LOADFROMMEM);
OUTSIDE_EXPORT_TYPE(LoadJpgFile, PFN_LOADFILE);
OUTSIDE_EXPORT_TYPE(LoadJpgImageDataFromMem, PFN_LOADIMAGEDATAFROMMEM);
OUTSIDE_EXPORT_TYPE(LoadJpgFileImageData, PFN_LOADFILEIMAGEDATA);
OUTSIDE_EXPORT_TYPE(WriteBitmapToJpeg, PFN_WRITEBITMAPTOJPEG);
OUTSIDE_EXPORT_TYPE(WriteDibToJpeg, PFN_WRITEDIBTOJPEG);
OUTSIDE_EXPORT_TYPE(WriteDibToJpegMEM, PFN_WRITEDIBTOJPEGMEM);
OUTSIDE_EXPORT_TYPE(GetPointerFromHandleLock, PFN_GETPOINTERFROMHANDLELOCK);
OUTSIDE_EXPORT_TYPE(UnLockDataHandle, PFN_UNLOCKDATAHANDLE);
OUTSIDE_EXPORT_TYPE(FreeDataHandle, PFN_FREEDATAHANDLE);
