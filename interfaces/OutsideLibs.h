// The calls the client makes into the platform's outside libraries, shared by the binders
// (which resolve them by name at run time) and the stand-in libraries that export them.
#pragma once
#include <windows.h>

#include <type_traits>

extern "C" {

// QKZip.dll: zlib's own calling convention and results (0 = Z_OK).
typedef int (*PFN_ZIP_COMPRESS)(unsigned char* dest, unsigned long* destLen, const unsigned char* source,
                                unsigned long sourceLen);
typedef int (*PFN_ZIP_UNCOMPRESS)(unsigned char* dest, unsigned long* destLen, const unsigned char* source,
                                  unsigned long sourceLen);

// QKCompress.dll: zlib streams; the result is the produced length, 0 on failure.
typedef int(WINAPI* PFN_QK_ZIPCOMPRESS)(unsigned char* dest, int destSize, const unsigned char* source, int sourceLen);
typedef int(WINAPI* PFN_QK_ZIPUNCOMPRESS)(unsigned char* dest, int destSize, const unsigned char* source,
                                          int sourceLen);

// Pendrel.dll: code-page conversion.
// Bounded: converts srcLen bytes (-1: up to the zero) into at most destSize bytes; result: bytes written.
typedef int(WINAPI* PFN_TRANCODEPAGE)(const char* source, int sourceLen, char* dest, int destSize, int sourceCp,
                                      int destCp);
// Data form: the same over a byte block that holds no terminating zero.
typedef int(WINAPI* PFN_TRANDATCODEPAGE)(const void* source, int sourceLen, void* dest, int destSize, int sourceCp,
                                         int destCp);
// Zero-terminated text into a caller's buffer; flags 0x5F5F: unmappable characters become '_'.
// Result: length written without the zero, 0 on failure.
typedef int(WINAPI* PFN_TRANSTRCODEPAGE)(const char* source, char* dest, int sourceCp, int destCp, int flags);

// QKJPG.dll and QKPNG.dll: decoders give a 32-bit DIB section; the palette output is null
// for true-colour results. Data handles are global memory blocks.
typedef BOOL(WINAPI* PFN_LOADFROMMEM)(const void* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                                      int* height);
typedef BOOL(WINAPI* PFN_LOADFILE)(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);
// Pixels as a global block of 32-bit BGRA rows, top-down.
typedef HGLOBAL(WINAPI* PFN_LOADIMAGEDATAFROMMEM)(const void* data, DWORD size, int* width, int* height);
typedef HGLOBAL(WINAPI* PFN_LOADFILEIMAGEDATA)(const char* path, int* width, int* height);
typedef BOOL(WINAPI* PFN_WRITEBITMAPTOJPEG)(HBITMAP bitmap, const char* path, int quality);
// packedDib: a global block holding BITMAPINFOHEADER, colour table and bits.
typedef BOOL(WINAPI* PFN_WRITEDIBTOJPEG)(HGLOBAL packedDib, const char* path, int quality);
typedef HGLOBAL(WINAPI* PFN_WRITEDIBTOJPEGMEM)(HGLOBAL packedDib, int quality, DWORD* size);
typedef void*(WINAPI* PFN_GETPOINTERFROMHANDLELOCK)(HGLOBAL handle);
typedef BOOL(WINAPI* PFN_UNLOCKDATAHANDLE)(HGLOBAL handle);
typedef void(WINAPI* PFN_FREEDATAHANDLE)(HGLOBAL handle);
typedef HGLOBAL(WINAPI* PFN_WRITEBMPTOPNGMEM)(HBITMAP bitmap, DWORD* size);
typedef BOOL(WINAPI* PFN_WRITEBMPTOPNGFILE)(HBITMAP bitmap, const char* path);
typedef HGLOBAL(WINAPI* PFN_WRITEIMAGEDATATOPNGMEM)(const void* bgra, int width, int height, DWORD* size);

// QKGIFTGA.dll: a decoder handle per GIF; frames as 32-bit DIB sections.
typedef HANDLE(WINAPI* PFN_LOADGIFFROMMEM)(const void* data, DWORD size);
typedef HANDLE(WINAPI* PFN_LOADGIFFILE)(const char* path);
typedef BOOL(WINAPI* PFN_GIF_GETIMAGESIZE)(HANDLE gif, int* width, int* height, int* frameCount);
// Next frame: image, mask (1 bit, transparent pixels white; may be null), left, top, width,
// height, delay (ms), disposal, transparent flag, frame index. 1 while a frame was returned.
typedef BOOL(WINAPI* PFN_GIF_GETNEXTIMAGE)(HANDLE gif, HBITMAP* image, HBITMAP* mask, int* left, int* top, int* width,
                                           int* height, int* delay, int* disposal, int* transparent, int* frameIndex);
typedef void(WINAPI* PFN_CLOSEGIFHANDLE)(HANDLE gif);
typedef void(WINAPI* PFN_GIF_RESET)(HANDLE gif);
typedef HBITMAP(WINAPI* PFN_CREATECURRENTBMP)(HANDLE gif);
typedef int(WINAPI* PFN_GETGLOBALCOLORINDEXTOTAL)(HANDLE gif);
typedef int(WINAPI* PFN_GETGLOBALCOLORINDEXDATA)(HANDLE gif, RGBQUAD* colours, int maxColours);
typedef int(WINAPI* PFN_GETNEXTRAWFRAMEDATA)(HANDLE gif, void* bgra, int size);
// TGA: uncompressed or run-length true-colour and grey images.
typedef HANDLE(WINAPI* PFN_LOADTGAFILE)(const char* path);
typedef HANDLE(WINAPI* PFN_LOADTGAFROMMEM)(const void* data, DWORD size);
typedef HBITMAP(WINAPI* PFN_CREATEBITMAPFROMTGA)(HANDLE tga);
typedef void(WINAPI* PFN_CLOSETGAHANDLE)(HANDLE tga);
typedef int(WINAPI* PFN_GETTGAINT)(HANDLE tga);
typedef const void*(WINAPI* PFN_GETTGADATA)(HANDLE tga);

}  // extern "C"

// A stand-in states that an export has exactly the type the binders call it through.
#define OUTSIDE_EXPORT_TYPE(fn, type) \
  static_assert(std::is_same<decltype(&fn), type>::value, #fn " does not match " #type)
