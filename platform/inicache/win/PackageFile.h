// Theme package file: named, optionally compressed entries in one file
// (header "QKS", version 1 or 257). Compressed entries are inflated through
// the function set with SetInflater (QKCompress's QK_ZIPUncompress).
#pragma once

#include <windows.h>

#include "PackageCore.h"

// CRT file descriptors beneath CPackageFile.
class CPackageStorageWin32 : public vesk::PackageStorage {
 public:
  Handle Open(const std::string& path, bool write) override;
  Handle CreateNew(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  void Close(Handle file) override;
  int64_t Size(Handle file) override;
  bool ReadAt(Handle file, int64_t offset, void* buffer, size_t length) override;
  bool WriteAt(Handle file, int64_t offset, const void* data, size_t length) override;
  bool Truncate(Handle file, int64_t size) override;
  double Now() override;
};

// QKCompress's QK_ZIPUncompress: (destination, its size, source, source
// length) -> produced length, 0 on failure.
typedef int(WINAPI* PFN_PACKAGE_INFLATE)(unsigned char* dest, int destSize, const unsigned char* source, int sourceLen);

class CPackageFile {
 public:
  CPackageFile();
  ~CPackageFile();

  // Read-only never creates or renames; write access restores "<path>.bak"
  // or creates a new package only when the file does not exist.
  BOOL Open(LPCSTR lpszPath, BOOL bWrite);
  void Reset();

  // The first entry not deleted whose name matches without regard to case.
  // *ppData (and *ppExtra when asked and present) are new[] buffers that the
  // caller frees with FreeBuffer.
  BOOL ExtractEntry(LPCSTR lpszName, BYTE** ppData, DWORD* pnSize, BYTE** ppExtra = NULL, DWORD* pnExtraSize = NULL);
  static void FreeBuffer(BYTE* p) { delete[] p; }

  // Process-wide inflater for compressed entries (none: they fail).
  static void SetInflater(PFN_PACKAGE_INFLATE pfn) { s_pfnInflate = pfn; }
  // Process-wide compressor (QK_ZIPCompress, same shape) for AddEntry.
  static void SetDeflater(PFN_PACKAGE_INFLATE pfn) { s_pfnDeflate = pfn; }

  // Writable packages of version 257 only: appends an entry (compressed when
  // asked) and marks older entries of that name deleted; DeleteEntry marks
  // every entry of that name deleted.
  BOOL AddEntry(LPCSTR lpszName, const BYTE* pData, DWORD nSize, BOOL bCompress, const BYTE* pExtra = NULL,
                DWORD nExtraSize = 0);
  BOOL DeleteEntry(LPCSTR lpszName);

  // A block of size bytes at offset (size 0: the whole file from its start),
  // as a new[] buffer; NULL on failure.
  static BYTE* ReadBlock(int fd, DWORD nSize, LONGLONG nOffset, DWORD* pnRead = NULL);
  // A negative offset writes at the current position.
  static BOOL WriteBlock(int fd, const void* pData, DWORD nLength, LONGLONG nOffset);

  int GetEntryCount() const { return int(m_core.Entries().size()); }
  LPCSTR GetEntryName(int i) const;
  BOOL IsEntryDeleted(int i) const;
  LPCSTR GetPackageName() const { return m_core.Header().name; }
  DWORD GetVersion() const { return m_core.Header().version; }
  double GetCreationTime() const { return m_core.Header().created; }
  BYTE GetFlag() const { return m_core.FlagByte(); }
  BOOL IsReadOnly() const { return m_core.IsReadOnly(); }
  int GetFile() const { return m_core.IsOpen() ? int(m_core.File()) : -1; }

 private:
  CPackageFile(const CPackageFile&);
  CPackageFile& operator=(const CPackageFile&);

  static uint32_t InflateThrough(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength);
  static uint32_t DeflateThrough(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength);
  static PFN_PACKAGE_INFLATE s_pfnInflate;
  static PFN_PACKAGE_INFLATE s_pfnDeflate;
  CPackageStorageWin32 m_storage;
  vesk::PackageCore m_core;
};
