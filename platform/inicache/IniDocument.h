// In-memory INI text: sections of keys, names compared without regard to
// letter case. Portable core of CIniCache (parsing, look-ups, serializing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

// Names are folded to lower case byte by byte, but the second byte of a
// double-byte (GBK) character is kept as it is.
std::string FoldIniName(const char* text, size_t length);
bool IniNamesEqual(const char* a, const char* b);
// The same comparison over counted names, without folded copies.
bool IniNamesEqual(const char* a, size_t aLength, const char* b, size_t bLength);

struct IniKey {
  std::string name;
  std::string value;
};

// Positions in a list of names, found by the hash of the folded name: an
// open-addressed table of positions, so a look-up copies nothing and a
// large file costs no allocation per name.
class IniNameIndex {
 public:
  static uint32_t Hash(const char* name, size_t length);
  // The position whose name (read through nameAt) folds to the same text,
  // or -1.
  template <class NameAt>
  long Find(const char* name, size_t length, uint32_t hash, NameAt nameAt) const;
  // Records the next position (positions are added in order 0, 1, 2...).
  void Add(uint32_t hash);
  // Room for this many positions without growing.
  void Reserve(size_t count);
  void Clear();

 private:
  void Grow(size_t count);

  std::vector<uint32_t> m_slots;   // position + 1, 0 for a free slot
  std::vector<uint32_t> m_hashes;  // hash of every position's name
};

struct IniSection {
  bool named = false;  // false: the keys that stand before the first section
  std::string name;
  std::vector<IniKey> keys;
  IniNameIndex index;  // folded key name -> keys[]

  // A parsed section keeps only the stretches of the document's text that
  // hold its key lines (more than one when its name comes back later); its
  // keys are read from them the first time anything asks for them.
  struct Run {
    uint32_t begin, end;  // text offsets
  };
  Run run = {0, 0};           // the first (empty when begin == end)
  std::vector<Run> moreRuns;  // the later ones
  bool built = true;

  const IniKey* FindKey(const char* key) const;
  IniKey* FindKey(const char* key, size_t length);
  void SetKey(const std::string& key, const std::string& value);
  void SetKey(const char* key, size_t keyLength, const char* value, size_t valueLength);
  void Reserve(size_t count) {
    keys.reserve(count);
    index.Reserve(count);
  }
};

enum class IniParseResult { Ok, LineTooLong };

class IniDocument {
 public:
  // Lines of this many characters or more make the whole text fail.
  static constexpr size_t kMaxLine = 8191;

  // Replaces the content; on failure the document is left empty. The
  // document keeps the text: the second form takes it over without a copy.
  IniParseResult Parse(const char* text, size_t length);
  IniParseResult Parse(std::string&& text);

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

  const std::vector<IniSection>& Sections() const;

 private:
  IniSection& SectionFor(const char* name, size_t length);
  IniSection& Build(IniSection& section) const;

  long FindSectionIndex(const char* name, size_t length, uint32_t hash) const;

  std::string m_text;
  // Sections are read from their lines on first use, which a const reader
  // may be the one to do.
  mutable std::vector<IniSection> m_sections;
  IniNameIndex m_index;  // folded name -> m_sections[] (the nameless one as "")
};

}  // namespace vesk
