#include "IniCacheCore.h"

#include <cstdio>

#include "IniCipherFile.h"

namespace vesk {

bool StdIniFileAccess::ReadWhole(const std::string& path, bool create, std::vector<uint8_t>& out) {
  out.clear();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f && create) {
    // "ab" creates a missing file without touching an existing one.
    if (FILE* c = std::fopen(path.c_str(), "ab")) std::fclose(c);
    f = std::fopen(path.c_str(), "rb");
  }
  if (!f) return false;
  uint8_t chunk[8192];
  size_t n;
  bool ok = true;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    if (out.size() + n > IniCacheCore::kMaxFileSize) {
      ok = false;
      break;
    }
    out.insert(out.end(), chunk, chunk + n);
  }
  if (std::ferror(f)) ok = false;
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

bool StdIniFileAccess::WriteReplace(const std::string& path, const uint8_t* data, size_t length) {
  std::string temp = path + ".tmp";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = length == 0 || std::fwrite(data, 1, length, f) == length;
  ok = std::fclose(f) == 0 && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

bool IniCacheCore::LoadFromMemory(const uint8_t* data, size_t length, bool storeEnciphered, const char* keyText) {
  Clear();
  return Load(data, length, storeEnciphered, keyText);
}

bool IniCacheCore::LoadFromFile(const char* path, bool storeEnciphered, const char* keyText, bool create) {
  // Store the previous file (if its form must change) before reading, so a
  // reload of the same path sees what was stored.
  Clear();
  if (!path || !*path) return false;
  std::vector<uint8_t> bytes;
  if (!m_files.ReadWhole(path, create, bytes)) return false;
  if (!Load(bytes.data(), bytes.size(), storeEnciphered, keyText)) return false;
  m_path = path;
  return true;
}

bool IniCacheCore::Load(const uint8_t* data, size_t length, bool storeEnciphered, const char* keyText) {
  if (!data && length) return false;
  m_keyText = keyText && *keyText ? keyText : kIniDefaultKey;
  std::string text;
  IniFileDecode form = DecodeIniFile(data, length, m_keyText.c_str(), text);
  if (form == IniFileDecode::ZeroByte) {
    m_keyText.clear();
    return false;
  }
  bool enciphered = form == IniFileDecode::Enciphered;
  m_bRewrite = enciphered != storeEnciphered;
  m_bStoreEnciphered = storeEnciphered;
  m_bLoaded = true;
  if (m_doc.Parse(std::move(text)) != IniParseResult::Ok) {
    m_bLoaded = false;
    m_bRewrite = false;
    return false;
  }
  return true;
}

std::vector<uint8_t> IniCacheCore::BuildStoredFile() const {
  return EncodeIniFile(m_doc.Serialize(), m_bStoreEnciphered, m_keyText.c_str());
}

bool IniCacheCore::Store() {
  std::vector<uint8_t> bytes = BuildStoredFile();
  bool ok = m_files.WriteReplace(m_path, bytes.data(), bytes.size());
  m_bRewrite = false;
  return ok;
}

bool IniCacheCore::Clear() {
  bool ok = true;
  if (m_bRewrite && m_bLoaded && !m_path.empty()) ok = Store();
  m_doc.Clear();
  m_keyText.clear();
  m_path.clear();
  m_bLoaded = false;
  m_bRewrite = false;
  m_bStoreEnciphered = false;
  return ok;
}

}  // namespace vesk
