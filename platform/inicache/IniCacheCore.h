// Load/store logic of CIniCache without locking or Windows: the document,
// the key text, the loaded, rewrite and store-enciphered flags and the path.
// Files are reached through IniFileAccess so the Windows class can use the
// Win32 file calls and tests can use plain files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "IniDocument.h"

namespace vesk {

class IniFileAccess {
 public:
  virtual ~IniFileAccess() = default;
  // Reads the whole file; creates an empty one first when `create` is set
  // and it does not exist. False when it cannot be opened or read.
  virtual bool ReadWhole(const std::string& path, bool create, std::vector<uint8_t>& out) = 0;
  // Writes the bytes to a temporary file beside `path` and replaces `path`
  // with it only when the whole write succeeded.
  virtual bool WriteReplace(const std::string& path, const uint8_t* data, size_t length) = 0;
};

// Standard C file calls (for native builds and tools).
class StdIniFileAccess : public IniFileAccess {
 public:
  bool ReadWhole(const std::string& path, bool create, std::vector<uint8_t>& out) override;
  bool WriteReplace(const std::string& path, const uint8_t* data, size_t length) override;
};

class IniCacheCore {
 public:
  // Larger files are refused rather than read into memory.
  static constexpr size_t kMaxFileSize = 64u << 20;

  explicit IniCacheCore(IniFileAccess& files) : m_files(files) {}
  ~IniCacheCore() = default;
  IniCacheCore(const IniCacheCore&) = delete;
  IniCacheCore& operator=(const IniCacheCore&) = delete;

  // A cache loaded from memory has no path and is never stored.
  bool LoadFromMemory(const uint8_t* data, size_t length, bool storeEnciphered, const char* keyText);
  bool LoadFromFile(const char* path, bool storeEnciphered, const char* keyText, bool create);

  size_t GetString(const char* section, const char* key, const char* def, char* buffer, size_t size) const {
    return m_doc.GetString(section, key, def, buffer, size);
  }
  size_t GetKeyNames(const char* section, char* buffer, size_t size) const {
    return m_doc.GetKeyNames(section, buffer, size);
  }

  // Stores the file back when its form must change, then frees everything.
  // Returns false only when a needed store failed.
  bool Clear();

  // The bytes a store would write (magic and cipher included).
  std::vector<uint8_t> BuildStoredFile() const;

  bool IsLoaded() const { return m_bLoaded; }
  bool NeedsRewrite() const { return m_bRewrite; }
  bool StoresEnciphered() const { return m_bStoreEnciphered; }
  const std::string& Path() const { return m_path; }
  const std::string& KeyText() const { return m_keyText; }
  const IniDocument& Document() const { return m_doc; }

 private:
  bool Load(const uint8_t* data, size_t length, bool storeEnciphered, const char* keyText);
  bool Store();

  IniFileAccess& m_files;
  IniDocument m_doc;
  std::string m_keyText;
  std::string m_path;
  bool m_bLoaded = false;
  bool m_bRewrite = false;
  bool m_bStoreEnciphered = false;
};

}  // namespace vesk
