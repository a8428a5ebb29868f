// The INI text reader as it stood before look-ups stopped copying names:
// kept so that the test can compare the two on random texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace iniref {

// Names are folded to lower case byte by byte, but the second byte of a
// double-byte (GBK) character is kept as it is.
std::string FoldIniName(const char* text, size_t length);
bool IniNamesEqual(const char* a, const char* b);

struct IniKey {
  std::string name;
  std::string value;
};

struct IniSection {
  bool named = false;  // false: the keys that stand before the first section
  std::string name;
  std::vector<IniKey> keys;
  std::unordered_map<std::string, size_t> index;  // folded key name -> keys[]

  const IniKey* FindKey(const char* key) const;
  void SetKey(const std::string& key, const std::string& value);
};

enum class IniParseResult { Ok, LineTooLong };

class IniDocument {
 public:
  // Lines of this many characters or more make the whole text fail.
  static constexpr size_t kMaxLine = 8191;

  // Replaces the content; on failure the document is left empty.
  IniParseResult Parse(const char* text, size_t length);

  // "key=value\r\n" lines of the nameless section first, then for every
  // named section "\r\n[name]\r\n" and its keys.
  std::string Serialize() const;

  void Clear();
  bool Empty() const { return m_sections.empty(); }

  // A null or empty section name means the keys before the first section.
  const IniSection* FindSection(const char* section) const;
  const IniKey* FindKey(const char* section, const char* key) const;
  void SetValue(const char* section, const char* key, const char* value);

  // Copies the value (or the default) into buffer, at most size - 1 bytes,
  // always terminated when size > 0; returns the number of bytes copied.
  size_t GetString(const char* section, const char* key, const char* def, char* buffer, size_t size) const;

  // The section's key names, each with its zero, then one more zero. Only
  // whole names that fit are listed; returns the bytes written before the
  // final zero (0 when size < 2 or the section is unknown).
  size_t GetKeyNames(const char* section, char* buffer, size_t size) const;

  const std::vector<IniSection>& Sections() const { return m_sections; }

 private:
  IniSection& SectionFor(const char* name, size_t length);

  std::vector<IniSection> m_sections;
  std::unordered_map<std::string, size_t> m_index;  // folded name -> m_sections[]
};

}  // namespace iniref
