// One INI file held in memory, plain or enciphered (magic 0xED02BE01 and RC6),
// answering look-ups under its own critical section so threads may share it.
#pragma once

#include <windows.h>

#include "IniCacheCore.h"

// Win32 file calls beneath CIniCache: a store goes to "<path>.tmp" first and
// replaces the file only when the whole write succeeded.
class CIniFileAccessWin32 : public vesk::IniFileAccess {
 public:
  bool ReadWhole(const std::string& path, bool create, std::vector<uint8_t>& out) override;
  bool WriteReplace(const std::string& path, const uint8_t* data, size_t length) override;
};

class CIniCache {
 public:
  CIniCache();
  ~CIniCache();  // stores back when needed, like Clear

  // Never stored back: there is no file behind it.
  BOOL LoadFromMemory(const BYTE* pData, DWORD nLength, BOOL bStoreEncrypted, LPCSTR lpszKey);
  // Reads the file whole (creating an empty one when bCreate is set) and keeps
  // its path for the store that Clear makes when the stored form must change.
  BOOL LoadFromFile(LPCSTR lpszPath, BOOL bStoreEncrypted, LPCSTR lpszKey, BOOL bCreate);

  // Copies the value (or the default) into the buffer, at most nSize - 1
  // bytes, and returns the number of bytes copied.
  DWORD GetString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, LPSTR lpBuffer, DWORD nSize);
  // The section's key names, each with its zero, then a final zero.
  DWORD GetKeyNames(LPCSTR lpszSection, LPSTR lpBuffer, DWORD nSize);

  // Stores the file back when its form must change, then frees everything.
  void Clear();

  BOOL IsLoaded();

 private:
  CIniCache(const CIniCache&);
  CIniCache& operator=(const CIniCache&);

  CRITICAL_SECTION m_cs;
  CIniFileAccessWin32 m_files;
  vesk::IniCacheCore m_core;
};
