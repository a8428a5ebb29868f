// In-memory INI text: sections of keys, names compared without regard to
// letter case. Portable core of CIniCache (parsing, look-ups, serializing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// Names are folded to lower case byte by byte, but the second byte of a
// double-byte (GBK) character is kept as it is.
std::string FoldIniName(const char* text, size_t length);
bool IniNamesEqual(const char* a, const char* b);
// The same comparison over counted names, without folded copies.
bool IniNamesEqual(const char* a, size_t aLength, const char* b, size_t bLength);
// A hash of the folded name (names that compare equal hash equal).
uint32_t IniNameHash(const char* name, size_t length);

// A key as the document holds it: views into the document, valid until it
// next changes (Parse, Clear, SetValue).
struct IniKey {
  std::string_view name;
  std::string_view value;
};

enum class IniParseResult { Ok, LineTooLong, TooLarge };

// The document keeps the text it parsed and, for every section, only where
// its key lines stand; a section's keys are read from them the first time
// anything asks for that section. A read section is a table of the places
// of its key lines, found by the hash of the folded name: names and values
// stay in the text, and all tables share one array of the document. A key
// costs a few bytes, no allocation: in a new process every page written is
// a page fault, and those cost more than the reading.
class IniDocument {
 public:
  // Lines of this many characters or more make the whole text fail.
  static constexpr size_t kMaxLine = 8191;
  // Places in the text are 31-bit: a longer text (far beyond any INI file;
  // the cache refuses files over 64 MB) is refused whole.
  static constexpr size_t kMaxText = 0x7FFFFFFF;

  IniDocument() = default;
  IniDocument(const IniDocument&) = default;
  IniDocument& operator=(const IniDocument&) = default;
  IniDocument(IniDocument&&) noexcept = default;
  IniDocument& operator=(IniDocument&&) noexcept = default;

  // Replaces the content; on failure the document is left empty. The
  // document keeps the text: the second form takes it over without a copy.
  IniParseResult Parse(const char* text, size_t length);
  IniParseResult Parse(std::string&& text);

  // "key=value\r\n" lines of the nameless section first, then for every
  // named section "\r\n[name]\r\n" and its keys.
  std::string Serialize() const;

  // Empties the document and frees its memory.
  void Clear();
  bool Empty() const { return m_sections.empty(); }

  // Sections in the order they first appear; the nameless one (the keys
  // before the first section) has an empty name.
  size_t SectionCount() const { return m_sections.size(); }
  std::string_view SectionName(size_t section) const;
  // The section's keys in the order they first appear, each with its last
  // value.
  size_t KeyCount(size_t section) const;
  std::vector<IniKey> Keys(size_t section) const;
  // Reads the keys of every section not read yet: what the first look-up
  // in each would do.
  void ReadAllKeys() const;

  // A null or empty section name means the keys before the first section.
  std::optional<IniKey> FindKey(const char* section, const char* key) const;
  // A null value stores an empty one. False (nothing changed) for a null or
  // empty key.
  bool SetValue(const char* section, const char* key, const char* value);

  // Copies the value (or the default) into buffer, at most size - 1 bytes,
  // always terminated when size > 0; returns the number of bytes copied.
  size_t GetString(const char* section, const char* key, const char* def, char* buffer, size_t size) const;

  // The section's key names, each with its zero, then one more zero. Only
  // whole names that fit are listed; returns the bytes written before the
  // final zero (0 when size < 2 or the section is unknown).
  size_t GetKeyNames(const char* section, char* buffer, size_t size) const;

 private:
  // A stretch of text holding key lines of one section; the first of each
  // section is kept in the section, later ones (the section's name came
  // back) in a list.
  struct Run {
    uint32_t begin, end;
    uint32_t next;  // index + 1 in m_runs, 0 for none
  };
  struct SectionRecord {
    uint32_t name;  // its place in the text, or kOwned and the index of a copy
    uint32_t hash;
    uint16_t nameLength;
    bool named, read;
    Run run;           // the first stretch (next: the later ones)
    uint32_t lastRun;  // index + 1 in m_runs of the last later stretch
    uint32_t lines;    // lines in its stretches that may hold a key
    uint32_t keyCount;
    uint32_t firstSlot, slotCount;  // its key table in m_slots (no table when 0)
    uint32_t added, lastAdded;      // keys SetValue added: index + 1 in m_extra, in order
  };
  // A key the text alone does not describe: one given more than once (its
  // value from a later line), or given a value or added by SetValue. A
  // place is the start of the key's line in the text, or kOwned and the
  // index of a string in m_owned.
  struct ExtraKey {
    uint32_t name;   // the line of its first appearance, or its name
    uint32_t value;  // the line that gives its value, or its value
    uint32_t next;   // the next key SetValue added to the section
  };
  static constexpr uint32_t kOwned = 0x80000000u;
  // A slot of a key table: 0 free, else the place + 1 of the key's line,
  // or kExtra and the index of an ExtraKey.
  static constexpr uint32_t kExtra = 0x80000000u;

  std::string_view SlotName(uint32_t slot) const;
  std::string_view SlotValue(uint32_t slot) const;
  std::string_view PlaceName(uint32_t place) const;
  std::string_view PlaceValue(uint32_t place) const;
  bool SlotNamed(uint32_t slot, const char* name, size_t length, bool plain) const;
  uint32_t Own(const char* text);

  long FindSection(const char* name, size_t length, uint32_t hash) const;
  uint32_t AddSection(const char* name, size_t length, uint32_t hash, bool owned);
  void IndexSection(uint32_t index);
  const SectionRecord* SectionAt(const char* name) const;

  // Reads the section's keys from its stretches (once).
  const SectionRecord& Read(uint32_t section) const;
  // The slot holding the key, or the free slot where it would go.
  uint32_t* Probe(const SectionRecord& s, const char* name, size_t length, uint32_t hash, bool plain) const;
  // The slot of the key, or 0.
  uint32_t FindSlot(const char* section, const char* key) const;
  void GrowTable(SectionRecord& s, uint32_t slots);
  // Calls f(line, name length) for every key line of the section's
  // stretches, in order.
  template <class F>
  void ForEachKeyLine(const SectionRecord& s, F f) const;
  // Calls f(name, value) for the section's keys in order, until f returns
  // false.
  template <class F>
  void ForEachKey(const SectionRecord& s, F f) const;

  std::string m_text;  // the text parsed
  std::vector<std::string> m_owned;
  // Sections are read from their lines on first use, which a const reader
  // may be the one to do.
  mutable std::vector<SectionRecord> m_sections;
  std::vector<Run> m_runs;
  std::vector<uint32_t> m_sectionSlots;   // open-addressed: section index + 1, 0 free
  mutable std::vector<uint32_t> m_slots;  // every section's key table
  mutable std::vector<ExtraKey> m_extra;
};

}  // namespace vesk
