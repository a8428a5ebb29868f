#include "IniDocument.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vesk {

namespace {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
inline bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
inline bool IsPair(const char* p, const char* end) {
  return p + 1 < end && IsLeadByte(static_cast<unsigned char>(p[0])) && IsTrailByte(static_cast<unsigned char>(p[1]));
}

// A name ending in a lead byte without its trail byte would pair with the
// "]" of its own header once stored: the dangling byte is dropped.
void DropDanglingLead(const char* begin, const char*& end) {
  const char* p = begin;
  while (p < end) {
    if (IsPair(p, end)) {
      p += 2;
    } else if (p + 1 == end && IsLeadByte(static_cast<unsigned char>(*p))) {
      end = p;
      return;
    } else {
      ++p;
    }
  }
}

void Trim(const char*& begin, const char*& end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
}

// Finds `ch` (an ASCII byte) outside double-byte characters.
const char* FindChar(const char* begin, const char* end, char ch) {
  for (const char* p = begin; p < end; ++p) {
    if (IsPair(p, end)) {
      ++p;
      continue;
    }
    if (*p == ch) return p;
  }
  return end;
}

size_t CopyBounded(const char* text, size_t length, char* buffer, size_t size) {
  if (!buffer || size == 0) return 0;
  size_t n = length < size - 1 ? length : size - 1;
  if (n) std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return n;
}

}  // namespace

std::string FoldIniName(const char* text, size_t length) {
  std::string out(text, length);
  const char* end = out.data() + out.size();
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsPair(out.data() + i, end)) {
      ++i;  // keep the trail byte as it is
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = char(c - 'A' + 'a');
    }
  }
  return out;
}

namespace {

// Walks a name byte by byte as FoldIniName would write it.
class FoldedBytes {
 public:
  FoldedBytes(const char* text, size_t length) : m_p(text), m_end(text + length) {}
  bool More() const { return m_p < m_end; }
  unsigned char Next() {
    unsigned char c = static_cast<unsigned char>(*m_p);
    if (m_trail) {
      m_trail = false;
    } else if (c >= 0x81 && IsPair(m_p, m_end)) {
      m_trail = true;
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<unsigned char>(c - 'A' + 'a');
    }
    ++m_p;
    return c;
  }

 private:
  const char* m_p;
  const char* m_end;
  bool m_trail = false;
};

}  // namespace

bool IniNamesEqual(const char* a, size_t aLength, const char* b, size_t bLength) {
  if (aLength != bLength) return false;  // folding keeps the length
  FoldedBytes x(a, aLength), y(b, bLength);
  while (x.More())
    if (x.Next() != y.Next()) return false;
  return true;
}

bool IniNamesEqual(const char* a, const char* b) { return IniNamesEqual(a, std::strlen(a), b, std::strlen(b)); }

uint32_t IniNameIndex::Hash(const char* name, size_t length) {
  FoldedBytes f(name, length);
  uint32_t h = 2166136261u;
  while (f.More()) h = (h ^ f.Next()) * 16777619u;
  return h ^ (h >> 15);
}

template <class NameAt>
long IniNameIndex::Find(const char* name, size_t length, uint32_t hash, NameAt nameAt) const {
  if (m_slots.empty()) return -1;
  const size_t mask = m_slots.size() - 1;
  for (size_t i = hash & mask; m_slots[i]; i = (i + 1) & mask) {
    const uint32_t pos = m_slots[i] - 1;
    if (m_hashes[pos] != hash) continue;
    const std::string& other = nameAt(pos);
    if (IniNamesEqual(name, length, other.data(), other.size())) return long(pos);
  }
  return -1;
}

void IniNameIndex::Add(uint32_t hash) {
  m_hashes.push_back(hash);
  // At most half full, so a probe ends soon at a free slot.
  if (m_hashes.size() * 2 > m_slots.size()) {
    Grow(m_hashes.size());
    return;
  }
  const size_t mask = m_slots.size() - 1;
  size_t i = hash & mask;
  while (m_slots[i]) i = (i + 1) & mask;
  m_slots[i] = uint32_t(m_hashes.size());
}

void IniNameIndex::Reserve(size_t count) {
  m_hashes.reserve(count);
  if (count * 2 > m_slots.size()) Grow(count);
}

void IniNameIndex::Grow(size_t count) {
  size_t size = m_slots.empty() ? 16 : m_slots.size() * 2;
  while (count * 2 > size) size *= 2;
  m_slots.assign(size, 0);
  const size_t mask = size - 1;
  for (size_t pos = 0; pos < m_hashes.size(); ++pos) {
    size_t i = m_hashes[pos] & mask;
    while (m_slots[i]) i = (i + 1) & mask;
    m_slots[i] = uint32_t(pos + 1);
  }
}

void IniNameIndex::Clear() {
  m_slots.clear();
  m_hashes.clear();
}

const IniKey* IniSection::FindKey(const char* key) const {
  if (!key) return nullptr;
  return const_cast<IniSection*>(this)->FindKey(key, std::strlen(key));
}

IniKey* IniSection::FindKey(const char* key, size_t length) {
  long pos = index.Find(key, length, IniNameIndex::Hash(key, length),
                        [this](size_t i) -> const std::string& { return keys[i].name; });
  return pos < 0 ? nullptr : &keys[size_t(pos)];
}

void IniSection::SetKey(const std::string& key, const std::string& value) {
  SetKey(key.data(), key.size(), value.data(), value.size());
}

void IniSection::SetKey(const char* key, size_t keyLength, const char* value, size_t valueLength) {
  const uint32_t hash = IniNameIndex::Hash(key, keyLength);
  long pos = index.Find(key, keyLength, hash, [this](size_t i) -> const std::string& { return keys[i].name; });
  if (pos >= 0) {
    keys[size_t(pos)].value.assign(value, valueLength);  // a key given twice keeps the last value
    return;
  }
  index.Add(hash);
  keys.emplace_back();
  keys.back().name.assign(key, keyLength);
  keys.back().value.assign(value, valueLength);
}

void IniDocument::Clear() {
  m_sections.clear();
  m_index.Clear();
  m_text.clear();
}

long IniDocument::FindSectionIndex(const char* name, size_t length, uint32_t hash) const {
  return m_index.Find(name, length, hash, [this](size_t i) -> const std::string& { return m_sections[i].name; });
}

IniSection& IniDocument::SectionFor(const char* name, size_t length) {
  if (!name) length = 0;
  const uint32_t hash = IniNameIndex::Hash(name, length);
  long pos = FindSectionIndex(name, length, hash);
  if (pos >= 0) return m_sections[size_t(pos)];
  m_index.Add(hash);
  m_sections.emplace_back();
  IniSection& section = m_sections.back();
  section.named = length != 0;
  section.name.assign(name ? name : "", length);
  return section;
}

namespace {

// One line of the text, its start at the first character that is no blank
// or line break.
struct IniLine {
  enum Kind { kNone, kSection, kKey };
  Kind kind = kNone;
  const char* nameBegin = nullptr;
  const char* nameEnd = nullptr;
  const char* valueBegin = nullptr;
  const char* valueEnd = nullptr;
};

// Reads the line from `line` to `lineEnd`: a section header, a key with a
// value, or nothing (a comment, a line without "=", an empty key or value).
IniLine ReadLine(const char* line, const char* lineEnd) {
  IniLine out;
  if (*line == ';') return out;
  if (*line == '[') {
    const char* nameBegin = line + 1;
    const char* nameEnd = FindChar(nameBegin, lineEnd, ']');
    for (const char* before = nullptr; before != nameEnd;) {
      before = nameEnd;
      Trim(nameBegin, nameEnd);
      DropDanglingLead(nameBegin, nameEnd);
    }
    out.kind = IniLine::kSection;
    out.nameBegin = nameBegin;
    out.nameEnd = nameEnd;
    return out;
  }
  const char* eq = FindChar(line, lineEnd, '=');
  if (eq == lineEnd) return out;  // no value
  const char* keyBegin = line;
  const char* keyEnd = eq;
  Trim(keyBegin, keyEnd);
  const char* valueBegin = eq + 1;
  const char* valueEnd = FindChar(valueBegin, lineEnd, ';');
  Trim(valueBegin, valueEnd);
  if (keyBegin == keyEnd || valueBegin == valueEnd) return out;
  out.kind = IniLine::kKey;
  out.nameBegin = keyBegin;
  out.nameEnd = keyEnd;
  out.valueBegin = valueBegin;
  out.valueEnd = valueEnd;
  return out;
}

inline const char* LineEnd(const char* p, const char* end) {
  while (p < end && *p != '\r' && *p != '\n') ++p;
  return p;
}

}  // namespace

IniParseResult IniDocument::Parse(const char* text, size_t length) { return Parse(std::string(text, length)); }

namespace {

// The first of the bytes a, b and c from p on, or end; sixteen bytes at a
// time where the processor has SSE2 (every x86-64).
inline const char* FindFirstOf(const char* p, const char* end, char a, char b, char c) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b), vc = _mm_set1_epi8(c);
  for (; end - p >= 16; p += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int m = _mm_movemask_epi8(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb)), _mm_cmpeq_epi8(x, vc)));
    if (m) return p + __builtin_ctz(static_cast<unsigned>(m));
  }
#endif
  for (; p < end; ++p)
    if (*p == a || *p == b || *p == c) return p;
  return end;
}

}  // namespace

// The parse reads every line and checks it, and keeps of each section only
// the stretches of text that hold its key lines: a key costs nothing, not
// two strings and a slot of an index. The keys of a section are read again
// from its stretches, and indexed, when the section is first asked for.
IniParseResult IniDocument::Parse(std::string&& text) {
  Clear();
  m_text = std::move(text);
  // Stretches are 32-bit offsets: a larger text (far beyond any INI file)
  // is read at once.
  const bool bOffsets = m_text.size() < (size_t(1) << 32);
  // Every section line holds a "[": room for them all, so that the list of
  // sections and its index never move or grow while the text is read.
  const size_t nBrackets = size_t(std::count(m_text.begin(), m_text.end(), '['));
  m_sections.reserve(nBrackets + 1);
  m_index.Reserve(nBrackets + 1);
  const char* text0 = m_text.data();
  const char* p = text0;
  const char* end = text0 + m_text.size();
  // By place, not by address: a new section may move the others.
  const size_t kNone = size_t(-1);
  size_t current = kNone;
  // The current section's stretch: from the line after its header, or
  // from its first key line before any header.
  IniSection::Run open = {0, 0};
  bool openHasKeys = false;
  auto closeRun = [&](const char* at) {
    if (current == kNone || !bOffsets || !openHasKeys) return;
    open.end = uint32_t(at - text0);
    IniSection& section = m_sections[current];
    section.built = false;
    if (section.run.begin == section.run.end)
      section.run = open;
    else
      section.moreRuns.push_back(open);
  };
  auto enter = [&](const char* at, const char* name, size_t length) {
    closeRun(at);
    IniSection& section = SectionFor(name, length);
    current = size_t(&section - m_sections.data());
    open.begin = uint32_t(at - text0);
    openHasKeys = false;
  };
  while (p < end) {
    while (p < end && (IsBlank(*p) || *p == '\r' || *p == '\n')) ++p;
    if (p == end) break;
    const char* line = p;
    if (*line != '[' && *line != ';') {
      // A key line. "=" and ";" are below the trail bytes of double-byte
      // characters, so the first of each is the one outside them.
      const char* eq = FindFirstOf(line, end, '=', '\r', '\n');
      const char* lineEnd = eq;
      const char* semi = eq;
      if (eq < end && *eq == '=') {
        lineEnd = semi = FindFirstOf(eq + 1, end, ';', '\r', '\n');
        if (semi < end && *semi == ';') lineEnd = FindFirstOf(semi, end, '\r', '\n', '\n');
      }
      if (size_t(lineEnd - line) >= kMaxLine) {
        Clear();
        return IniParseResult::LineTooLong;
      }
      p = lineEnd;
      if (eq == lineEnd || *eq != '=' || eq == line) continue;  // no value, or no key
      const char* v = eq + 1;
      while (v < semi && IsBlank(*v)) ++v;
      if (v == semi) continue;  // an empty value
      if (current == kNone) enter(line, nullptr, 0);
      openHasKeys = true;
      if (!bOffsets) {
        const IniLine l = ReadLine(line, lineEnd);
        m_sections[current].SetKey(l.nameBegin, size_t(l.nameEnd - l.nameBegin), l.valueBegin,
                                   size_t(l.valueEnd - l.valueBegin));
      }
      continue;
    }
    const char* lineEnd = LineEnd(p, end);
    if (size_t(lineEnd - p) >= kMaxLine) {
      Clear();
      return IniParseResult::LineTooLong;
    }
    p = lineEnd;
    const IniLine l = ReadLine(line, lineEnd);
    if (l.kind == IniLine::kSection) {
      closeRun(line);
      current = kNone;
      enter(lineEnd, l.nameBegin, size_t(l.nameEnd - l.nameBegin));
    }
  }
  closeRun(end);
  return IniParseResult::Ok;
}

IniSection& IniDocument::Build(IniSection& section) const {
  if (section.built) return section;
  section.built = true;
  const char* text0 = m_text.data();
  for (size_t k = 0; k <= section.moreRuns.size(); ++k) {
    const IniSection::Run& run = k == 0 ? section.run : section.moreRuns[k - 1];
    const char* p = text0 + run.begin;
    const char* end = text0 + run.end;
    while (p < end) {
      while (p < end && (IsBlank(*p) || *p == '\r' || *p == '\n')) ++p;
      if (p == end) break;
      const char* line = p;
      p = LineEnd(p, end);
      const IniLine l = ReadLine(line, p);
      if (l.kind == IniLine::kKey)
        section.SetKey(l.nameBegin, size_t(l.nameEnd - l.nameBegin), l.valueBegin, size_t(l.valueEnd - l.valueBegin));
    }
  }
  section.run = {0, 0};
  std::vector<IniSection::Run>().swap(section.moreRuns);
  return section;
}

const std::vector<IniSection>& IniDocument::Sections() const {
  for (IniSection& section : m_sections) Build(section);
  return m_sections;
}

std::string IniDocument::Serialize() const {
  Sections();
  std::string out;
  // The nameless section can only be written first: anything later would
  // belong to the section above it.
  for (const IniSection& section : m_sections) {
    if (section.named) continue;
    for (const IniKey& key : section.keys) {
      if (key.value.empty()) continue;
      out += key.name;
      out += '=';
      out += key.value;
      out += "\r\n";
    }
  }
  for (const IniSection& section : m_sections) {
    if (!section.named) continue;
    out += "\r\n[";
    out += section.name;
    out += "]\r\n";
    for (const IniKey& key : section.keys) {
      if (key.value.empty()) continue;
      out += key.name;
      out += '=';
      out += key.value;
      out += "\r\n";
    }
  }
  return out;
}

const IniSection* IniDocument::FindSection(const char* section) const {
  size_t length = section ? std::strlen(section) : 0;
  long pos = FindSectionIndex(section, length, IniNameIndex::Hash(section, length));
  return pos < 0 ? nullptr : &Build(m_sections[size_t(pos)]);
}

const IniKey* IniDocument::FindKey(const char* section, const char* key) const {
  const IniSection* s = FindSection(section);
  return s ? s->FindKey(key) : nullptr;
}

void IniDocument::SetValue(const char* section, const char* key, const char* value) {
  if (!key || !*key) return;
  IniSection& s = Build(SectionFor(section, section ? std::strlen(section) : 0));
  s.SetKey(key, value ? value : "");
}

size_t IniDocument::GetString(const char* section, const char* key, const char* def, char* buffer, size_t size) const {
  if (const IniKey* k = FindKey(section, key)) return CopyBounded(k->value.data(), k->value.size(), buffer, size);
  if (def) return CopyBounded(def, std::strlen(def), buffer, size);
  CopyBounded("", 0, buffer, size);
  return 0;
}

size_t IniDocument::GetKeyNames(const char* section, char* buffer, size_t size) const {
  if (!buffer || size < 2) {
    if (buffer && size) buffer[0] = '\0';
    return 0;
  }
  size_t used = 0;
  if (const IniSection* s = FindSection(section)) {
    for (const IniKey& key : s->keys) {
      // name, its zero, and room for the final zero
      if (used + key.name.size() + 2 > size) break;
      std::memcpy(buffer + used, key.name.data(), key.name.size());
      used += key.name.size();
      buffer[used++] = '\0';
    }
  }
  buffer[used] = '\0';
  if (used == 0 && size > 1) buffer[1] = '\0';
  return used;
}

}  // namespace vesk
