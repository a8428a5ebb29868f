// Code-page converter of the platform over the system's own conversion functions.
#include <windows.h>

#include <vector>

#include "OutsideLibs.h"

namespace {

// Converts bytes of one code page into another; dest may be null to ask for the size.
int Convert(const char* source, int sourceLen, char* dest, int destSize, int sourceCp, int destCp,
            bool defaultUnderscore) {
  if (!source || sourceLen <= 0) return 0;
  int wideLen = MultiByteToWideChar(static_cast<UINT>(sourceCp), 0, source, sourceLen, nullptr, 0);
  if (wideLen <= 0) return 0;
  std::vector<wchar_t> wide(static_cast<size_t>(wideLen));
  MultiByteToWideChar(static_cast<UINT>(sourceCp), 0, source, sourceLen, wide.data(), wideLen);
  // UTF-7 and UTF-8 accept no default character.
  bool utf = destCp == CP_UTF8 || destCp == CP_UTF7;
  const char* defaultChar = (defaultUnderscore && !utf) ? "_" : nullptr;
  return WideCharToMultiByte(static_cast<UINT>(destCp), 0, wide.data(), wideLen, dest, dest ? destSize : 0, defaultChar,
                             nullptr);
}

}  // namespace

extern "C" int WINAPI TranCodePage(const char* source, int sourceLen, char* dest, int destSize, int sourceCp,
                                   int destCp) {
  if (!source || !dest || destSize <= 0) return 0;
  if (sourceLen < 0) sourceLen = lstrlenA(source);
  int need = Convert(source, sourceLen, nullptr, 0, sourceCp, destCp, true);
  if (need <= 0) {
    dest[0] = '\0';
    return 0;
  }
  std::vector<char> tmp(static_cast<size_t>(need));
  Convert(source, sourceLen, tmp.data(), need, sourceCp, destCp, true);
  // Bounded and terminated, without cutting a double-byte character in half.
  int n = 0;
  while (n < need) {
    int w = (IsDBCSLeadByteEx(static_cast<UINT>(destCp), static_cast<BYTE>(tmp[n])) && n + 1 < need) ? 2 : 1;
    if (n + w > destSize - 1) break;
    n += w;
  }
  CopyMemory(dest, tmp.data(), n);
  dest[n] = '\0';
  return n;
}

extern "C" int WINAPI TranDatCodePage(const void* source, int sourceLen, void* dest, int destSize, int sourceCp,
                                      int destCp) {
  if (!source || !dest || destSize <= 0 || sourceLen <= 0) return 0;
  int need = Convert(static_cast<const char*>(source), sourceLen, nullptr, 0, sourceCp, destCp, true);
  if (need <= 0 || need > destSize) return 0;
  return Convert(static_cast<const char*>(source), sourceLen, static_cast<char*>(dest), destSize, sourceCp, destCp,
                 true);
}

extern "C" int WINAPI TranStrCodePage(const char* source, char* dest, int sourceCp, int destCp, int flags) {
  if (!source || !dest) return 0;
  int len = lstrlenA(source);
  if (len == 0) {
    dest[0] = '\0';
    return 0;
  }
  int need = Convert(source, len, nullptr, 0, sourceCp, destCp, (flags & 0xFF) == '_');
  if (need <= 0) {
    dest[0] = '\0';
    return 0;
  }
  // The caller sized dest for the text; the converted form of a double-byte text is no longer.
  int n = Convert(source, len, dest, need, sourceCp, destCp, (flags & 0xFF) == '_');
  dest[n] = '\0';
  return n;
}

// The exports have the types the program calls them through.
OUTSIDE_EXPORT_TYPE(TranCodePage, PFN_TRANCODEPAGE);
OUTSIDE_EXPORT_TYPE(TranDatCodePage, PFN_TRANDATCODEPAGE);
OUTSIDE_EXPORT_TYPE(TranStrCodePage, PFN_TRANSTRCODEPAGE);
