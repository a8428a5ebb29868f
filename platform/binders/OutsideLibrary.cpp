#include "OutsideLibrary.h"

#include <cstring>
#include <vector>

namespace {

BOOL CALLBACK CreateLock(PINIT_ONCE, PVOID param, PVOID*) {
  InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(param));
  return TRUE;
}

}  // namespace

COutsideLibrary::COutsideLibrary(const char* libraryName, const char* const* names, FARPROC* slots, int count,
                                 int required)
    : m_pszName(libraryName), m_pNames(names), m_pSlots(slots), m_nCount(count), m_nRequired(required) {}

BOOL COutsideLibrary::IsBound() const { return InterlockedCompareExchange(const_cast<LONG*>(&m_nState), 0, 0) == 1; }
BOOL COutsideLibrary::HasFailed() const { return InterlockedCompareExchange(const_cast<LONG*>(&m_nState), 0, 0) == 2; }

BOOL COutsideLibrary::Bind() {
  LONG state = InterlockedCompareExchange(&m_nState, 0, 0);
  if (state == 1) return TRUE;
  if (state == 2) return FALSE;
  InitOnceExecuteOnce(&m_lockOnce, CreateLock, &m_lock, nullptr);
  EnterCriticalSection(&m_lock);
  BOOL ok = BindLocked();
  LeaveCriticalSection(&m_lock);
  return ok;
}

BOOL COutsideLibrary::BindLocked() {
  if (m_nState == 1) return TRUE;
  if (m_nState == 2) return FALSE;
  HMODULE h = LoadLibraryA(m_pszName);
  bool ok = h != nullptr;
  for (int i = 0; ok && i < m_nCount; ++i) {
    m_pSlots[i] = GetProcAddress(h, m_pNames[i]);
    if (!m_pSlots[i] && i < m_nRequired) ok = false;
  }
  if (!ok) {
    for (int i = 0; i < m_nCount; ++i) m_pSlots[i] = nullptr;
    if (h) FreeLibrary(h);
    InterlockedExchange(&m_nState, 2);
    return FALSE;
  }
  m_hModule = h;
  InterlockedExchange(&m_nState, 1);
  return TRUE;
}

// ---- QKCompress.dll

namespace {

const char* const kCompressNames[] = {"QK_ZIPCompress", "QK_ZIPUncompress"};
FARPROC g_compressSlots[2];
COutsideLibrary g_compressLib("QKCompress.dll", kCompressNames, g_compressSlots, 2, 2);

const char* const kJpgNames[] = {"LoadJpgFileImageData", "LoadJpgImageDataFromMem",  "LoadJpgFile",
                                 "LoadJpgFromMem",       "WriteBitmapToJpeg",        "WriteDibToJpeg",
                                 "WriteDibToJpegMEM",    "GetPointerFromHandleLock", "UnLockDataHandle",
                                 "FreeDataHandle"};
FARPROC g_jpgSlots[10];
COutsideLibrary g_jpgLib("QKJPG.dll", kJpgNames, g_jpgSlots, 10, 10);

const char* const kPngNames[] = {"LoadPNGFile", "LoadPNGFromMem", "WriteBmpToPNGMem", "WriteBmpToPNGFile",
                                 "WriteImageDataToPNGMem"};
FARPROC g_pngSlots[5];
COutsideLibrary g_pngLib("QKPNG.dll", kPngNames, g_pngSlots, 5, 5);

const char* const kGifNames[] = {"GetNextRawFrameData",
                                 "GetGlobalColorIndexData",
                                 "GetGlobalColorIndexTotal",
                                 "GetNextImage",
                                 "GetImageSize",
                                 "CloseGifHandle",
                                 "LoadGifFromMem",
                                 "LoadGifFile",
                                 "Reset",
                                 "CreateCurrentBmp",
                                 "LoadTGAFile",
                                 "LoadTgaFromMem",
                                 "CreateBitmapFromTGA",
                                 "CloseTGAHandle",
                                 "GetTgaWidth",
                                 "GetTgaHeight",
                                 "GetTgaPalNum",
                                 "GetTgaPixelDepth",
                                 "GetTgaGetImageData",
                                 "GetTgaGetImagePalData",
                                 "GetTgaGetImageAlphaData"};
static_assert(sizeof(kGifNames) / sizeof(kGifNames[0]) * sizeof(FARPROC) == sizeof(GIF_LIBRARY),
              "one slot per GIF/TGA function");
GIF_LIBRARY g_gif;
COutsideLibrary g_gifLib("QKGIFTGA.dll", kGifNames, reinterpret_cast<FARPROC*>(&g_gif), 21, 10);

template <typename T>
T Slot(FARPROC p) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(p));
}

}  // namespace

BOOL BindCompressLibrary() { return g_compressLib.Bind(); }

int WINAPI CompressLib_Uncompress(unsigned char* dest, int destSize, const unsigned char* source, int sourceLen) {
  if (!BindCompressLibrary()) return 0;
  return Slot<PFN_QK_ZIPUNCOMPRESS>(g_compressSlots[1])(dest, destSize, source, sourceLen);
}

BOOL BindJpgLibrary() { return g_jpgLib.Bind(); }

BOOL JpgLib_LoadFromMem(const void* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
  if (!BindJpgLibrary()) return FALSE;
  return Slot<PFN_LOADFROMMEM>(g_jpgSlots[3])(data, size, bitmap, palette, width, height);
}

void JpgLib_WriteDibToJpeg(HGLOBAL packedDib, const char* path, int quality) {
  if (!BindJpgLibrary()) return;
  Slot<PFN_WRITEDIBTOJPEG>(g_jpgSlots[5])(packedDib, path, quality);
}

BOOL BindPngLibrary() { return g_pngLib.Bind(); }

BOOL PngLib_LoadFromMem(const void* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
  if (!BindPngLibrary()) return FALSE;
  return Slot<PFN_LOADFROMMEM>(g_pngSlots[1])(data, size, bitmap, palette, width, height);
}

BOOL BindGifLibrary() { return g_gifLib.Bind(); }

const GIF_LIBRARY* GetGifLibrary() { return BindGifLibrary() ? &g_gif : nullptr; }

// ---- QKZip.dll

namespace {

HMODULE g_hZip = nullptr;
PFN_ZIP_COMPRESS g_pZipCompress = nullptr;
PFN_ZIP_UNCOMPRESS g_pZipUncompress = nullptr;

}  // namespace

BOOL BindZipLibrary() {
  if (g_hZip) return TRUE;
  HMODULE h = LoadLibraryA("QKZip.dll");
  if (!h) return FALSE;
  auto c = Slot<PFN_ZIP_COMPRESS>(GetProcAddress(h, "compress"));
  auto u = Slot<PFN_ZIP_UNCOMPRESS>(GetProcAddress(h, "uncompress"));
  if (!c || !u) {
    FreeLibrary(h);  // tried again at the next frame
    return FALSE;
  }
  g_pZipCompress = c;
  g_pZipUncompress = u;
  g_hZip = h;
  return TRUE;
}

int ZipLib_Uncompress(unsigned char* dest, unsigned long* destLen, const unsigned char* source,
                      unsigned long sourceLen) {
  if (!BindZipLibrary()) return -1;
  return g_pZipUncompress(dest, destLen, source, sourceLen);
}

// ---- Pendrel.dll

namespace {

bool g_codePageTried = false;
int g_nClientCodePage = 0;
HMODULE g_hPendrel = nullptr;
PFN_TRANCODEPAGE g_pTranCodePage = nullptr;
PFN_TRANDATCODEPAGE g_pTranDatCodePage = nullptr;
PFN_TRANSTRCODEPAGE g_pTranStrCodePage = nullptr;

// Length of the longest prefix of at most max bytes that ends on a character boundary.
size_t CutDbcs(const char* s, size_t len, size_t max, UINT cp) {
  size_t i = 0;
  while (i < len) {
    size_t w = (IsDBCSLeadByteEx(cp, static_cast<BYTE>(s[i])) && i + 1 < len) ? 2 : 1;
    if (i + w > max) break;
    i += w;
  }
  return i;
}

}  // namespace

BOOL BindCodePageLibrary(const char* codePageText) {
  if (g_codePageTried) return IsCodePageConverterBound();
  if (!codePageText || !*codePageText) return FALSE;
  g_codePageTried = true;
  g_nClientCodePage = atoi(codePageText);
  g_hPendrel = LoadLibraryA("Pendrel.dll");
  if (!g_hPendrel) return FALSE;
  // Stops at the first function missing; the library stays loaded either way.
  g_pTranCodePage = Slot<PFN_TRANCODEPAGE>(GetProcAddress(g_hPendrel, "TranCodePage"));
  if (!g_pTranCodePage) return FALSE;
  g_pTranDatCodePage = Slot<PFN_TRANDATCODEPAGE>(GetProcAddress(g_hPendrel, "TranDatCodePage"));
  if (!g_pTranDatCodePage) return FALSE;
  g_pTranStrCodePage = Slot<PFN_TRANSTRCODEPAGE>(GetProcAddress(g_hPendrel, "TranStrCodePage"));
  return IsCodePageConverterBound();
}

BOOL IsCodePageConverterBound() { return g_pTranStrCodePage != nullptr; }

int GetClientCodePage() { return g_nClientCodePage; }

int TranStrCodePageBound(const char* source, char* dest, int sourceCp, int destCp) {
  if (!g_pTranStrCodePage || !source || !dest) return 0;
  return g_pTranStrCodePage(source, dest, sourceCp, destCp, 0x5F5F);
}

BOOL ConvertCodePageToField(const char* source, char* field, size_t fieldSize, int sourceCp, int destCp) {
  if (!field || fieldSize == 0) return FALSE;
  if (!source) source = "";
  size_t len = strlen(source);
  BOOL converted = FALSE;
  const char* text = source;
  std::vector<char> tmp;
  if (g_pTranStrCodePage && len > 0) {
    // Room for the longest form any code page gives a character, plus the zero.
    tmp.assign(len * 4 + 4, '\0');
    g_pTranStrCodePage(source, tmp.data(), sourceCp, destCp, 0x5F5F);
    tmp.back() = '\0';
    text = tmp.data();
    converted = TRUE;
  }
  size_t textLen = strlen(text);
  size_t n = CutDbcs(text, textLen, fieldSize - 1, static_cast<UINT>(converted ? destCp : sourceCp));
  memcpy(field, text, n);
  memset(field + n, 0, fieldSize - n);
  return converted;
}
