// Theme package file: a header ("QKS", name, version 1 or 257, creation time,
// flag byte) and named entries, optionally compressed. Portable core of
// CPackageFile; files are reached through PackageStorage, inflating through a
// function pointer (QKCompress's QK_ZIPUncompress in the program).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vesk {

constexpr uint32_t kPackageVersion1 = 1;
constexpr uint32_t kPackageVersion257 = 0x101;
constexpr size_t kPackageNameSize = 128;
constexpr size_t kPackageHeaderSizeV1 = 136;    // magic, name, version
constexpr size_t kPackageHeaderSizeV257 = 144;  // ... and the creation time
constexpr size_t kPackageEntryNameSize = 263;
constexpr size_t kPackageEntryHeaderSize = 276;
extern const char kPackageMagic[4];   // "QKS" and its zero
extern const char kPackageUnnamed[];  // the name of a new package (GBK)

// Inflates srcLength bytes into dest (destSize bytes); returns the produced
// length, 0 on failure.
using PackageInflateFn = uint32_t (*)(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength);

// Compresses srcLength bytes into dest (destSize bytes); returns the
// produced length, 0 on failure.
using PackageDeflateFn = uint32_t (*)(uint8_t* dest, uint32_t destSize, const uint8_t* src, uint32_t srcLength);

class PackageStorage {
 public:
  using Handle = int64_t;
  static constexpr Handle kNoFile = -1;

  virtual ~PackageStorage() = default;
  virtual Handle Open(const std::string& path, bool write) = 0;  // existing files only
  virtual Handle CreateNew(const std::string& path) = 0;         // fails when it exists
  virtual bool Exists(const std::string& path) = 0;
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual void Close(Handle file) = 0;
  virtual int64_t Size(Handle file) = 0;  // -1 on failure
  virtual bool ReadAt(Handle file, int64_t offset, void* buffer, size_t length) = 0;
  virtual bool WriteAt(Handle file, int64_t offset, const void* data, size_t length) = 0;
  virtual bool Truncate(Handle file, int64_t size) = 0;
  // Local time as an OLE date (days since 1899-12-30).
  virtual double Now() = 0;
};

// Files held in memory: for tests, fuzzing and tools.
class MemoryPackageStorage : public PackageStorage {
 public:
  std::map<std::string, std::vector<uint8_t>> files;
  double now = 46000.5;

  Handle Open(const std::string& path, bool write) override;
  Handle CreateNew(const std::string& path) override;
  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  bool Rename(const std::string& from, const std::string& to) override;
  void Close(Handle file) override;
  int64_t Size(Handle file) override;
  bool ReadAt(Handle file, int64_t offset, void* buffer, size_t length) override;
  bool WriteAt(Handle file, int64_t offset, const void* data, size_t length) override;
  bool Truncate(Handle file, int64_t size) override;
  double Now() override { return now; }

 private:
  struct OpenFile {
    std::string path;
    bool write;
  };
  std::vector<uint8_t>* Data(Handle file, bool forWrite);
  std::map<Handle, OpenFile> m_open;
  Handle m_next = 3;
};

struct PackageHeader {
  char magic[4];
  char name[kPackageNameSize];
  uint32_t version;
  double created;
};

struct PackageEntryRecord {
  std::string name;
  int64_t offset;  // of the entry header in the file
  bool deleted;
};

struct PackageEntryHeader {
  bool deleted;
  std::string name;
  int32_t dataSize;
  int32_t compressed;
  int32_t extraSize;
};

// Decodes a 276-byte entry header; the name is bounded by its field.
PackageEntryHeader DecodePackageEntryHeader(const uint8_t* raw);

class PackageCore {
 public:
  // A compressed entry claiming more than this is refused.
  static constexpr uint32_t kMaxInflatedSize = 64u << 20;

  explicit PackageCore(PackageStorage& storage);
  ~PackageCore();
  PackageCore(const PackageCore&) = delete;
  PackageCore& operator=(const PackageCore&) = delete;

  // Opens (or, with write access, creates or restores from "<path>.bak").
  bool Open(const char* path, bool write);
  // Closes the file, drops the entries, restores the header of a new package.
  void Reset();

  // The first entry not deleted whose name matches without regard to case.
  // `extra` (when given) receives the extra data, empty when there is none.
  bool ExtractEntry(const char* name, std::vector<uint8_t>& data, std::vector<uint8_t>* extra) const;

  void SetInflater(PackageInflateFn inflate) { m_inflate = inflate; }
  void SetDeflater(PackageDeflateFn deflate) { m_deflate = deflate; }

  // Writing (a writable package of version 257 only). AddEntry appends an
  // entry, compressed through the deflater when asked, and then marks older
  // entries of the same name deleted; DeleteEntry marks them all deleted.
  bool AddEntry(const char* name, const uint8_t* data, size_t size, bool compress, const uint8_t* extra = nullptr,
                size_t extraSize = 0);
  bool DeleteEntry(const char* name);

  const PackageHeader& Header() const { return m_header; }
  const std::vector<PackageEntryRecord>& Entries() const { return m_entries; }
  bool IsReadOnly() const { return m_bReadOnly; }
  bool IsOpen() const { return m_file != PackageStorage::kNoFile; }
  PackageStorage::Handle File() const { return m_file; }
  uint8_t FlagByte() const { return m_flagByte; }
  const std::string& Path() const { return m_path; }

 private:
  bool OpenFile(bool write);
  bool InitNewPackage();
  bool ReadHeader(int64_t fileSize, int64_t& dataStart);
  void ScanEntries(int64_t start, int64_t fileSize);

  PackageStorage& m_storage;
  bool CanWrite() const;
  bool MarkDeleted(const char* name, size_t keep);

  PackageInflateFn m_inflate = nullptr;
  PackageDeflateFn m_deflate = nullptr;
  int64_t m_end = 0;  // past the last whole entry
  bool m_hasFlagByte = false;
  PackageHeader m_header;
  std::string m_path;
  std::vector<PackageEntryRecord> m_entries;
  PackageStorage::Handle m_file = PackageStorage::kNoFile;
  bool m_bReadOnly = true;
  uint8_t m_flagByte = 0;
};

// Builders of package images (for tests, seeds and tools).
std::vector<uint8_t> BuildPackageHeader(uint32_t version, const char* name, double created, bool withFlagByte,
                                        uint8_t flagByte = 0);
void AppendPackageEntry(std::vector<uint8_t>& image, const char* name, const uint8_t* data, size_t size,
                        bool compressed, const uint8_t* extra = nullptr, size_t extraSize = 0, bool deleted = false);

}  // namespace vesk
