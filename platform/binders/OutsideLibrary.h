// Run-time binding of the platform's outside libraries.
#pragma once
#include <windows.h>

#include "OutsideLibs.h"

// The codec binding pattern: the first call creates the lock; under it the library is loaded
// by its bare name and every required function resolved; one missing frees the library and
// fails it for good, so later calls fail at once. Once bound it stays loaded.
class COutsideLibrary {
 public:
  // names[0..count) are resolved into slots; the first `required` of them must exist.
  COutsideLibrary(const char* libraryName, const char* const* names, FARPROC* slots, int count, int required);
  BOOL Bind();
  BOOL IsBound() const;
  BOOL HasFailed() const;
  HMODULE GetModule() const { return m_hModule; }

 private:
  BOOL BindLocked();

  const char* m_pszName;
  const char* const* m_pNames;
  FARPROC* m_pSlots;
  int m_nCount;
  int m_nRequired;
  HMODULE m_hModule = nullptr;
  volatile LONG m_nState = 0;  // 0 not tried, 1 bound, 2 failed for good
  INIT_ONCE m_lockOnce = INIT_ONCE_STATIC_INIT;
  CRITICAL_SECTION m_lock;
};

// QKCompress.dll
BOOL BindCompressLibrary();
// The produced length, 0 on failure or when the library is missing; fits CPackageFile::SetInflater.
int WINAPI CompressLib_Uncompress(unsigned char* dest, int destSize, const unsigned char* source, int sourceLen);

// QKJPG.dll
BOOL BindJpgLibrary();
BOOL JpgLib_LoadFromMem(const void* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);
// Writes the packed DIB as a JPEG file; nothing happens when the library is missing.
void JpgLib_WriteDibToJpeg(HGLOBAL packedDib, const char* path, int quality);

// QKPNG.dll
BOOL BindPngLibrary();
BOOL PngLib_LoadFromMem(const void* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);

// QKGIFTGA.dll: the ten GIF functions are required, the TGA ones only resolved.
BOOL BindGifLibrary();
struct GIF_LIBRARY {
  PFN_GETNEXTRAWFRAMEDATA pGetNextRawFrameData;
  PFN_GETGLOBALCOLORINDEXDATA pGetGlobalColorIndexData;
  PFN_GETGLOBALCOLORINDEXTOTAL pGetGlobalColorIndexTotal;
  PFN_GIF_GETNEXTIMAGE pGetNextImage;
  PFN_GIF_GETIMAGESIZE pGetImageSize;
  PFN_CLOSEGIFHANDLE pCloseGifHandle;
  PFN_LOADGIFFROMMEM pLoadGifFromMem;
  PFN_LOADGIFFILE pLoadGifFile;
  PFN_GIF_RESET pReset;
  PFN_CREATECURRENTBMP pCreateCurrentBmp;
  PFN_LOADTGAFILE pLoadTGAFile;
  PFN_LOADTGAFROMMEM pLoadTgaFromMem;
  PFN_CREATEBITMAPFROMTGA pCreateBitmapFromTGA;
  PFN_CLOSETGAHANDLE pCloseTGAHandle;
  PFN_GETTGAINT pGetTgaWidth;
  PFN_GETTGAINT pGetTgaHeight;
  PFN_GETTGAINT pGetTgaPalNum;
  PFN_GETTGAINT pGetTgaPixelDepth;
  PFN_GETTGADATA pGetTgaGetImageData;
  PFN_GETTGADATA pGetTgaGetImagePalData;
  PFN_GETTGADATA pGetTgaGetImageAlphaData;
};
// The bound functions, or null when the library cannot be bound.
const GIF_LIBRARY* GetGifLibrary();

// QKZip.dll: no lock; both functions needed; a library missing one is freed and tried
// again at the next call.
BOOL BindZipLibrary();
// zlib's uncompress; Z_ERRNO (-1) when the library is missing.
int ZipLib_Uncompress(unsigned char* dest, unsigned long* destLen, const unsigned char* source,
                      unsigned long sourceLen);

// Pendrel.dll: bound once at start-up, only when the client's code-page text (string 29936)
// is not empty; stops at the first missing function and stays loaded.
BOOL BindCodePageLibrary(const char* codePageText);
BOOL IsCodePageConverterBound();
int GetClientCodePage();
// TranStrCodePage as the Parts call it; the destination must hold the source and its zero.
int TranStrCodePageBound(const char* source, char* dest, int sourceCp, int destCp);
// Into a fixed field: converted in a buffer of its own, then copied bounded and terminated
// without splitting a double-byte character. Without the converter the text is copied as it is.
// Returns TRUE when the text was converted.
BOOL ConvertCodePageToField(const char* source, char* field, size_t fieldSize, int sourceCp, int destCp);
