#include "PackageCore.h"

#include <cstring>

#include "IniDocument.h"

namespace vesk {

const char kPackageMagic[4] = {'Q', 'K', 'S', '\0'};
const char kPackageUnnamed[] = "\xCE\xB4\xC3\xFC\xC3\xFB";

namespace {

inline uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void Put32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

double GetDouble(const uint8_t* p) {
  uint64_t bits = uint64_t(Get32(p)) | (uint64_t(Get32(p + 4)) << 32);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

void PutDouble(uint8_t* p, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  Put32(p, uint32_t(bits));
  Put32(p + 4, uint32_t(bits >> 32));
}

void NewHeader(PackageHeader& h) {
  std::memset(&h, 0, sizeof h);
  std::memcpy(h.magic, kPackageMagic, sizeof h.magic);
  std::memcpy(h.name, kPackageUnnamed, sizeof kPackageUnnamed);
  h.version = kPackageVersion257;
  h.created = 0;
}

void EncodeHeader(const PackageHeader& h, uint8_t* out /* 144 bytes */) {
  std::memset(out, 0, kPackageHeaderSizeV257);
  std::memcpy(out, h.magic, 4);
  std::memcpy(out + 4, h.name, kPackageNameSize);
  out[4 + kPackageNameSize - 1] = 0;
  Put32(out + 132, h.version);
  PutDouble(out + 136, h.created);
}

// Header offset past the entry's data and extra data, in 64 bits.
int64_t EntryEnd(int64_t offset, const PackageEntryHeader& e) {
  int64_t end = offset + int64_t(kPackageEntryHeaderSize) + int64_t(e.dataSize);
  if (e.extraSize > 0) end += e.extraSize;
  return end;
}

}  // namespace

PackageEntryHeader DecodePackageEntryHeader(const uint8_t* raw) {
  PackageEntryHeader e;
  e.deleted = raw[0] != 0;
  const char* name = reinterpret_cast<const char*>(raw + 1);
  size_t n = 0;
  while (n < kPackageEntryNameSize - 1 && name[n]) ++n;  // an unterminated name is cut to its field
  e.name.assign(name, n);
  e.dataSize = int32_t(Get32(raw + 264));
  e.compressed = int32_t(Get32(raw + 268));
  e.extraSize = int32_t(Get32(raw + 272));
  return e;
}

// ---------------------------------------------------------------------------
// MemoryPackageStorage

PackageStorage::Handle MemoryPackageStorage::Open(const std::string& path, bool write) {
  if (!files.count(path)) return kNoFile;
  Handle h = m_next++;
  m_open[h] = OpenFile{path, write};
  return h;
}

PackageStorage::Handle MemoryPackageStorage::CreateNew(const std::string& path) {
  if (files.count(path)) return kNoFile;
  files[path];
  return Open(path, true);
}

bool MemoryPackageStorage::Rename(const std::string& from, const std::string& to) {
  auto it = files.find(from);
  if (it == files.end() || files.count(to)) return false;
  files[to] = std::move(it->second);
  files.erase(from);
  return true;
}

void MemoryPackageStorage::Close(Handle file) { m_open.erase(file); }

std::vector<uint8_t>* MemoryPackageStorage::Data(Handle file, bool forWrite) {
  auto it = m_open.find(file);
  if (it == m_open.end() || (forWrite && !it->second.write)) return nullptr;
  auto f = files.find(it->second.path);
  return f == files.end() ? nullptr : &f->second;
}

int64_t MemoryPackageStorage::Size(Handle file) {
  std::vector<uint8_t>* d = Data(file, false);
  return d ? int64_t(d->size()) : -1;
}

bool MemoryPackageStorage::ReadAt(Handle file, int64_t offset, void* buffer, size_t length) {
  std::vector<uint8_t>* d = Data(file, false);
  if (!d || offset < 0 || uint64_t(offset) > d->size() || length > d->size() - size_t(offset)) return false;
  if (length) std::memcpy(buffer, d->data() + offset, length);
  return true;
}

bool MemoryPackageStorage::WriteAt(Handle file, int64_t offset, const void* data, size_t length) {
  std::vector<uint8_t>* d = Data(file, true);
  if (!d || offset < 0) return false;
  if (d->size() < size_t(offset) + length) d->resize(size_t(offset) + length);
  if (length) std::memcpy(d->data() + offset, data, length);
  return true;
}

bool MemoryPackageStorage::Truncate(Handle file, int64_t size) {
  std::vector<uint8_t>* d = Data(file, true);
  if (!d || size < 0) return false;
  d->resize(size_t(size));
  return true;
}

// ---------------------------------------------------------------------------
// PackageCore

PackageCore::PackageCore(PackageStorage& storage) : m_storage(storage) { NewHeader(m_header); }

PackageCore::~PackageCore() { Reset(); }

void PackageCore::Reset() {
  if (m_file != PackageStorage::kNoFile) m_storage.Close(m_file);
  m_file = PackageStorage::kNoFile;
  m_entries.clear();
  m_path.clear();
  NewHeader(m_header);
  m_bReadOnly = true;
  m_flagByte = 0;
  m_end = 0;
  m_hasFlagByte = false;
}

bool PackageCore::OpenFile(bool write) {
  m_file = m_storage.Open(m_path, write);
  if (m_file != PackageStorage::kNoFile) return true;
  std::string backup = m_path + ".bak";
  if (!write) {
    // Reading never renames or creates: read the backup where it lies.
    if (m_storage.Exists(backup)) m_file = m_storage.Open(backup, false);
    return m_file != PackageStorage::kNoFile;
  }
  if (m_storage.Exists(m_path)) return false;  // there but not openable: never replace it
  if (m_storage.Exists(backup)) {
    if (!m_storage.Rename(backup, m_path)) return false;
    m_file = m_storage.Open(m_path, true);
  } else {
    m_file = m_storage.CreateNew(m_path);
  }
  return m_file != PackageStorage::kNoFile;
}

bool PackageCore::InitNewPackage() {
  if (m_bReadOnly) return false;
  m_header.created = m_storage.Now();
  uint8_t raw[kPackageHeaderSizeV257];
  EncodeHeader(m_header, raw);
  m_end = int64_t(sizeof raw);
  return m_storage.WriteAt(m_file, 0, raw, sizeof raw);
}

bool PackageCore::ReadHeader(int64_t fileSize, int64_t& dataStart) {
  uint8_t raw[kPackageHeaderSizeV257] = {};
  if (fileSize < int64_t(kPackageHeaderSizeV1) || !m_storage.ReadAt(m_file, 0, raw, kPackageHeaderSizeV1)) return false;
  if (std::memcmp(raw, kPackageMagic, 4) != 0) return false;
  std::memcpy(m_header.magic, raw, 4);
  std::memcpy(m_header.name, raw + 4, kPackageNameSize);
  m_header.name[kPackageNameSize - 1] = 0;
  m_header.version = Get32(raw + 132);
  m_header.created = 0;
  if (m_header.version == kPackageVersion1) {
    m_bReadOnly = true;  // old packages are never written
    dataStart = int64_t(kPackageHeaderSizeV1);
  } else if (m_header.version == kPackageVersion257) {
    if (fileSize < int64_t(kPackageHeaderSizeV257) ||
        !m_storage.ReadAt(m_file, kPackageHeaderSizeV1, raw + kPackageHeaderSizeV1, 8))
      return false;
    m_header.created = GetDouble(raw + kPackageHeaderSizeV1);
    dataStart = int64_t(kPackageHeaderSizeV257);
  } else {
    return false;
  }
  return true;
}

void PackageCore::ScanEntries(int64_t offset, int64_t fileSize) {
  uint8_t raw[kPackageEntryHeaderSize];
  bool readFailed = false;
  while (fileSize - offset >= int64_t(kPackageEntryHeaderSize)) {
    if (!m_storage.ReadAt(m_file, offset, raw, sizeof raw)) {
      readFailed = true;
      break;
    }
    PackageEntryHeader e = DecodePackageEntryHeader(raw);
    if (e.dataSize <= 0) break;
    int64_t end = EntryEnd(offset, e);
    if (end > fileSize) break;
    m_entries.push_back(PackageEntryRecord{e.name, offset, e.deleted});
    offset = end;
  }
  // Drop a damaged tail, but never what a failed read merely could not see.
  if (!m_bReadOnly && !readFailed && fileSize > offset) m_storage.Truncate(m_file, offset);
  m_end = readFailed ? -1 : offset;  // unknown end: nothing may be appended
}

bool PackageCore::Open(const char* path, bool write) {
  Reset();
  if (!path || !*path) return false;
  m_path = path;
  m_bReadOnly = !write;
  if (!OpenFile(write)) {
    Reset();
    return false;
  }
  int64_t fileSize = m_storage.Size(m_file);
  if (fileSize < 0) {
    Reset();
    return false;
  }
  if (fileSize == 0) {
    if (!InitNewPackage()) {
      Reset();
      return false;
    }
    return true;
  }
  int64_t start = 0;
  if (!ReadHeader(fileSize, start)) {
    Reset();
    return false;
  }
  m_end = start;
  if (fileSize <= start) return true;  // ends before the flag byte: no entries
  if (!m_storage.ReadAt(m_file, start, &m_flagByte, 1)) {
    Reset();
    return false;
  }
  m_hasFlagByte = true;
  ScanEntries(start + 1, fileSize);
  return true;
}

bool PackageCore::ExtractEntry(const char* name, std::vector<uint8_t>& data, std::vector<uint8_t>* extra) const {
  data.clear();
  if (extra) extra->clear();
  if (!name || m_file == PackageStorage::kNoFile) return false;
  const PackageEntryRecord* found = nullptr;
  for (const PackageEntryRecord& r : m_entries) {
    if (!r.deleted && IniNamesEqual(r.name.c_str(), name)) {
      found = &r;
      break;
    }
  }
  if (!found) return false;

  // The file may have changed since the listing: check the entry again.
  int64_t fileSize = m_storage.Size(m_file);
  uint8_t raw[kPackageEntryHeaderSize];
  if (fileSize < 0 || fileSize - found->offset < int64_t(kPackageEntryHeaderSize) ||
      !m_storage.ReadAt(m_file, found->offset, raw, sizeof raw))
    return false;
  PackageEntryHeader e = DecodePackageEntryHeader(raw);
  if (e.dataSize <= 0 || EntryEnd(found->offset, e) > fileSize) return false;
  int64_t dataOffset = found->offset + int64_t(kPackageEntryHeaderSize);
  std::vector<uint8_t> stored(size_t(e.dataSize));
  if (!m_storage.ReadAt(m_file, dataOffset, stored.data(), stored.size())) return false;

  if (e.compressed) {
    if (stored.size() < 4 || !m_inflate) return false;
    uint32_t plainSize = Get32(stored.data());
    if (plainSize == 0 || plainSize > kMaxInflatedSize) return false;
    std::vector<uint8_t> plain(plainSize);
    uint32_t produced = m_inflate(plain.data(), plainSize, stored.data() + 4, uint32_t(stored.size() - 4));
    if (produced == 0 || produced > plainSize) return false;
    plain.resize(produced);
    data.swap(plain);
  } else {
    data.swap(stored);
  }

  if (extra && e.extraSize > 0) {
    extra->resize(size_t(e.extraSize));
    if (!m_storage.ReadAt(m_file, dataOffset + e.dataSize, extra->data(), extra->size())) {
      data.clear();
      extra->clear();
      return false;
    }
  }
  return true;
}

bool PackageCore::CanWrite() const {
  return m_file != PackageStorage::kNoFile && !m_bReadOnly && m_end >= 0 && m_header.version == kPackageVersion257;
}

bool PackageCore::MarkDeleted(const char* name, size_t keep) {
  bool ok = true;
  const uint8_t deleted = 1;
  for (size_t i = 0; i < m_entries.size(); ++i) {
    PackageEntryRecord& r = m_entries[i];
    if (i == keep || r.deleted || !IniNamesEqual(r.name.c_str(), name)) continue;
    if (m_storage.WriteAt(m_file, r.offset, &deleted, 1))
      r.deleted = true;
    else
      ok = false;
  }
  return ok;
}

bool PackageCore::AddEntry(const char* name, const uint8_t* data, size_t size, bool compress, const uint8_t* extra,
                           size_t extraSize) {
  if (!CanWrite() || !name || !*name || std::strlen(name) >= kPackageEntryNameSize || !data || size == 0 ||
      size > kMaxInflatedSize || (extraSize && !extra) || extraSize > 0x7FFFFFFFu)
    return false;

  std::vector<uint8_t> stored;
  if (compress) {
    if (!m_deflate) return false;
    // Room for data that does not shrink (zlib's bound is well below this).
    std::vector<uint8_t> packed(4 + size + size / 8 + 64);
    uint32_t produced = m_deflate(packed.data() + 4, uint32_t(packed.size() - 4), data, uint32_t(size));
    if (produced == 0 || produced > packed.size() - 4) return false;
    packed.resize(4 + produced);
    packed[0] = uint8_t(size);
    packed[1] = uint8_t(size >> 8);
    packed[2] = uint8_t(size >> 16);
    packed[3] = uint8_t(size >> 24);
    stored.swap(packed);
  } else {
    stored.assign(data, data + size);
  }

  int64_t start = m_end;
  if (!m_hasFlagByte) {
    if (!m_storage.WriteAt(m_file, start, &m_flagByte, 1)) return false;
    m_hasFlagByte = true;
    m_end = ++start;
  }
  std::vector<uint8_t> image;
  AppendPackageEntry(image, name, stored.data(), stored.size(), compress, extra, extraSize);
  if (!m_storage.WriteAt(m_file, start, image.data(), image.size())) {
    m_storage.Truncate(m_file, start);  // leave no half entry behind
    return false;
  }
  m_end = start + int64_t(image.size());
  m_entries.push_back(PackageEntryRecord{name, start, false});
  return MarkDeleted(name, m_entries.size() - 1);
}

bool PackageCore::DeleteEntry(const char* name) {
  if (!CanWrite() || !name) return false;
  bool found = false;
  for (const PackageEntryRecord& r : m_entries) found = found || (!r.deleted && IniNamesEqual(r.name.c_str(), name));
  return found && MarkDeleted(name, size_t(-1));
}

// ---------------------------------------------------------------------------
// Builders

std::vector<uint8_t> BuildPackageHeader(uint32_t version, const char* name, double created, bool withFlagByte,
                                        uint8_t flagByte) {
  PackageHeader h;
  NewHeader(h);
  if (name) {
    std::memset(h.name, 0, sizeof h.name);
    std::strncpy(h.name, name, sizeof h.name - 1);
  }
  h.version = version;
  h.created = created;
  uint8_t raw[kPackageHeaderSizeV257];
  EncodeHeader(h, raw);
  size_t size = version == kPackageVersion257 ? kPackageHeaderSizeV257 : kPackageHeaderSizeV1;
  std::vector<uint8_t> out(raw, raw + size);
  if (withFlagByte) out.push_back(flagByte);
  return out;
}

void AppendPackageEntry(std::vector<uint8_t>& image, const char* name, const uint8_t* data, size_t size,
                        bool compressed, const uint8_t* extra, size_t extraSize, bool deleted) {
  uint8_t raw[kPackageEntryHeaderSize] = {};
  raw[0] = deleted ? 1 : 0;
  if (name) std::strncpy(reinterpret_cast<char*>(raw + 1), name, kPackageEntryNameSize - 1);
  Put32(raw + 264, uint32_t(size));
  Put32(raw + 268, compressed ? 1u : 0u);
  Put32(raw + 272, uint32_t(extraSize));
  image.insert(image.end(), raw, raw + sizeof raw);
  if (size) image.insert(image.end(), data, data + size);
  if (extraSize) image.insert(image.end(), extra, extra + extraSize);
}

}  // namespace vesk
