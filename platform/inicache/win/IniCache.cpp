#include "IniCache.h"

namespace {

class CLock {
 public:
  explicit CLock(CRITICAL_SECTION* cs) : m_cs(cs) { EnterCriticalSection(m_cs); }
  ~CLock() { LeaveCriticalSection(m_cs); }

 private:
  CRITICAL_SECTION* m_cs;
};

bool WriteAll(HANDLE h, const uint8_t* data, size_t length) {
  while (length) {
    DWORD chunk = length > 0x100000 ? 0x100000 : DWORD(length);
    DWORD written = 0;
    if (!WriteFile(h, data, chunk, &written, NULL) || written != chunk) return false;
    data += chunk;
    length -= chunk;
  }
  return true;
}

}  // namespace

bool CIniFileAccessWin32::ReadWhole(const std::string& path, bool create, std::vector<uint8_t>& out) {
  out.clear();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                         create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok =
      GetFileSizeEx(h, &size) && size.QuadPart >= 0 && uint64_t(size.QuadPart) <= vesk::IniCacheCore::kMaxFileSize;
  if (ok) {
    out.resize(size_t(size.QuadPart));
    size_t done = 0;
    while (ok && done < out.size()) {
      DWORD got = 0;
      DWORD want = DWORD(out.size() - done > 0x100000 ? 0x100000 : out.size() - done);
      ok = ReadFile(h, out.data() + done, want, &got, NULL) && got > 0;
      done += got;
    }
  }
  CloseHandle(h);
  if (!ok) out.clear();
  return ok;
}

bool CIniFileAccessWin32::WriteReplace(const std::string& path, const uint8_t* data, size_t length) {
  std::string temp = path + ".tmp";
  HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(h, data, length) && FlushFileBuffers(h);
  CloseHandle(h);
  if (ok) ok = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!ok) DeleteFileA(temp.c_str());
  return ok;
}

CIniCache::CIniCache() : m_core(m_files) { InitializeCriticalSection(&m_cs); }

CIniCache::~CIniCache() {
  Clear();
  DeleteCriticalSection(&m_cs);
}

BOOL CIniCache::LoadFromMemory(const BYTE* pData, DWORD nLength, BOOL bStoreEncrypted, LPCSTR lpszKey) {
  CLock lock(&m_cs);
  return m_core.LoadFromMemory(pData, nLength, bStoreEncrypted != FALSE, lpszKey);
}

BOOL CIniCache::LoadFromFile(LPCSTR lpszPath, BOOL bStoreEncrypted, LPCSTR lpszKey, BOOL bCreate) {
  CLock lock(&m_cs);
  return m_core.LoadFromFile(lpszPath, bStoreEncrypted != FALSE, lpszKey, bCreate != FALSE);
}

DWORD CIniCache::GetString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, LPSTR lpBuffer, DWORD nSize) {
  CLock lock(&m_cs);
  return DWORD(m_core.GetString(lpszSection, lpszKey, lpszDefault, lpBuffer, nSize));
}

DWORD CIniCache::GetKeyNames(LPCSTR lpszSection, LPSTR lpBuffer, DWORD nSize) {
  CLock lock(&m_cs);
  return DWORD(m_core.GetKeyNames(lpszSection, lpBuffer, nSize));
}

void CIniCache::Clear() {
  CLock lock(&m_cs);
  m_core.Clear();
}

BOOL CIniCache::IsLoaded() {
  CLock lock(&m_cs);
  return m_core.IsLoaded();
}
