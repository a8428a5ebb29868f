#include "PackageFile.h"

#include <fcntl.h>
#include <io.h>
#include <oleauto.h>
#include <sys/stat.h>

#include <cstring>

PFN_PACKAGE_INFLATE CPackageFile::s_pfnInflate = NULL;
PFN_PACKAGE_INFLATE CPackageFile::s_pfnDeflate = NULL;

namespace {

const unsigned kChunk = 1u << 20;

bool ReadExact(int fd, int64_t offset, void* buffer, size_t length) {
  if (offset >= 0 && _lseeki64(fd, offset, SEEK_SET) != offset) return false;
  BYTE* p = static_cast<BYTE*>(buffer);
  while (length) {
    unsigned want = length > kChunk ? kChunk : unsigned(length);
    int got = _read(fd, p, want);
    if (got <= 0) return false;
    p += got;
    length -= size_t(got);
  }
  return true;
}

bool WriteExact(int fd, int64_t offset, const void* data, size_t length) {
  if (offset >= 0 && _lseeki64(fd, offset, SEEK_SET) != offset) return false;
  const BYTE* p = static_cast<const BYTE*>(data);
  while (length) {
    unsigned want = length > kChunk ? kChunk : unsigned(length);
    int put = _write(fd, p, want);
    if (put <= 0) return false;
    p += put;
    length -= size_t(put);
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// CPackageStorageWin32

vesk::PackageStorage::Handle CPackageStorageWin32::Open(const std::string& path, bool write) {
  int fd = _open(path.c_str(), (write ? _O_RDWR : _O_RDONLY) | _O_BINARY);
  return fd < 0 ? kNoFile : Handle(fd);
}

vesk::PackageStorage::Handle CPackageStorageWin32::CreateNew(const std::string& path) {
  int fd = _open(path.c_str(), _O_RDWR | _O_BINARY | _O_CREAT | _O_EXCL, _S_IREAD | _S_IWRITE);
  return fd < 0 ? kNoFile : Handle(fd);
}

bool CPackageStorageWin32::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CPackageStorageWin32::Rename(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

void CPackageStorageWin32::Close(Handle file) {
  if (file >= 0) _close(int(file));
}

int64_t CPackageStorageWin32::Size(Handle file) { return _filelengthi64(int(file)); }

bool CPackageStorageWin32::ReadAt(Handle file, int64_t offset, void* buffer, size_t length) {
  return offset >= 0 && ReadExact(int(file), offset, buffer, length);
}

bool CPackageStorageWin32::WriteAt(Handle file, int64_t offset, const void* data, size_t length) {
  return offset >= 0 && WriteExact(int(file), offset, data, length);
}

bool CPackageStorageWin32::Truncate(Handle file, int64_t size) { return _chsize_s(int(file), size) == 0; }

double CPackageStorageWin32::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  double date = 0;
  if (!SystemTimeToVariantTime(&st, &date)) return 0;
  return date;
}

// ---------------------------------------------------------------------------
// CPackageFile

CPackageFile::CPackageFile() : m_core(m_storage) {}

CPackageFile::~CPackageFile() { Reset(); }

BOOL CPackageFile::Open(LPCSTR lpszPath, BOOL bWrite) { return m_core.Open(lpszPath, bWrite != FALSE); }

void CPackageFile::Reset() { m_core.Reset(); }

LPCSTR CPackageFile::GetEntryName(int i) const {
  if (i < 0 || i >= GetEntryCount()) return NULL;
  return m_core.Entries()[size_t(i)].name.c_str();
}

BOOL CPackageFile::IsEntryDeleted(int i) const {
  if (i < 0 || i >= GetEntryCount()) return FALSE;
  return m_core.Entries()[size_t(i)].deleted;
}

BOOL CPackageFile::ExtractEntry(LPCSTR lpszName, BYTE** ppData, DWORD* pnSize, BYTE** ppExtra, DWORD* pnExtraSize) {
  if (!ppData || !pnSize) return FALSE;
  *ppData = NULL;
  *pnSize = 0;
  bool wantExtra = ppExtra && pnExtraSize;
  if (wantExtra) {
    *ppExtra = NULL;
    *pnExtraSize = 0;
  }
  m_core.SetInflater(s_pfnInflate ? InflateThrough : NULL);
  std::vector<uint8_t> data, extra;
  if (!m_core.ExtractEntry(lpszName, data, wantExtra ? &extra : NULL)) return FALSE;
  // An extracted entry is never empty: its stored size is positive and an
  // inflate that gives nothing fails.
  BYTE* pData = new BYTE[data.size()];
  std::memcpy(pData, data.data(), data.size());
  *ppData = pData;
  *pnSize = DWORD(data.size());
  if (wantExtra && !extra.empty()) {
    BYTE* pExtra = new BYTE[extra.size()];
    std::memcpy(pExtra, extra.data(), extra.size());
    *ppExtra = pExtra;
    *pnExtraSize = DWORD(extra.size());
  }
  return TRUE;
}

uint32_t CPackageFile::InflateThrough(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength) {
  PFN_PACKAGE_INFLATE pfn = s_pfnInflate;
  if (!pfn || destSize > 0x7FFFFFFFu || srcLength > 0x7FFFFFFFu) return 0;
  int produced = pfn(dest, int(destSize), src, int(srcLength));
  return produced > 0 ? uint32_t(produced) : 0;
}

uint32_t CPackageFile::DeflateThrough(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength) {
  PFN_PACKAGE_INFLATE pfn = s_pfnDeflate;
  if (!pfn || destSize > 0x7FFFFFFFu || srcLength > 0x7FFFFFFFu) return 0;
  int produced = pfn(dest, int(destSize), src, int(srcLength));
  return produced > 0 ? uint32_t(produced) : 0;
}

BOOL CPackageFile::AddEntry(LPCSTR lpszName, const BYTE* pData, DWORD nSize, BOOL bCompress, const BYTE* pExtra,
                            DWORD nExtraSize) {
  m_core.SetDeflater(s_pfnDeflate ? DeflateThrough : NULL);
  return m_core.AddEntry(lpszName, pData, nSize, bCompress != FALSE, pExtra, nExtraSize);
}

BOOL CPackageFile::DeleteEntry(LPCSTR lpszName) { return m_core.DeleteEntry(lpszName); }

BYTE* CPackageFile::ReadBlock(int fd, DWORD nSize, LONGLONG nOffset, DWORD* pnRead) {
  if (pnRead) *pnRead = 0;
  if (fd < 0) return NULL;
  if (nSize == 0) {
    LONGLONG length = _filelengthi64(fd);
    if (length <= 0 || length > LONGLONG(0x7FFFFFFF)) return NULL;
    nSize = DWORD(length);
    nOffset = 0;
  }
  if (nOffset < 0) return NULL;
  BYTE* p = new BYTE[nSize];
  if (!ReadExact(fd, nOffset, p, nSize)) {
    delete[] p;
    return NULL;
  }
  if (pnRead) *pnRead = nSize;
  return p;
}

BOOL CPackageFile::WriteBlock(int fd, const void* pData, DWORD nLength, LONGLONG nOffset) {
  if (fd < 0 || (!pData && nLength)) return FALSE;
  return WriteExact(fd, nOffset < 0 ? -1 : nOffset, pData, nLength);
}
