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

// The first of the bytes a, b and c from p on, or end; sixteen bytes at a
// time where the processor has SSE2 (every x86-64). "=", ";" and the line
// breaks are below the trail bytes of double-byte characters, so the first
// of each is the one outside them.
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

inline const char* FindLineBreak(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  for (; end - p >= 16; p += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int m = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf)));
    if (m) return p + __builtin_ctz(static_cast<unsigned>(m));
  }
#endif
  for (; p < end; ++p)
    if (*p == '\r' || *p == '\n') return p;
  return end;
}

// A key line: text before its "=", and text other than blanks between the
// "=" and a ";" or the line's end. The line starts at no blank.
struct KeyLine {
  const char* keyEnd;
  const char* valueBegin;
  const char* valueEnd;
};

// Reads the line that starts at `line` up to its break; `next` is set to
// that break. False for a line that holds no key.
inline bool ReadKeyLine(const char* line, const char* end, const char*& next, KeyLine& out) {
  const char* eq = FindFirstOf(line, end, '=', '\r', '\n');
  if (eq == end || *eq != '=') {
    next = eq;
    return false;
  }
  const char* semi = FindFirstOf(eq + 1, end, ';', '\r', '\n');
  next = semi < end && *semi == ';' ? FindLineBreak(semi + 1, end) : semi;
  if (eq == line) return false;
  const char* v = eq + 1;
  while (v < semi && IsBlank(*v)) ++v;
  if (v == semi) return false;
  const char* ve = semi;
  while (IsBlank(ve[-1])) --ve;
  const char* ke = eq;
  while (IsBlank(ke[-1])) --ke;  // stops at the line's first byte, no blank
  out.keyEnd = ke;
  out.valueBegin = v;
  out.valueEnd = ve;
  return true;
}

// ---- names: folding, hashing, comparing ------------------------------------------

// Eight bytes as one number, the first lowest, whatever the processor's byte
// order (compilers make it one load).
inline uint64_t Load8(const char* p) {
  const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
  return uint64_t(u[0]) | uint64_t(u[1]) << 8 | uint64_t(u[2]) << 16 | uint64_t(u[3]) << 24 | uint64_t(u[4]) << 32 |
         uint64_t(u[5]) << 40 | uint64_t(u[6]) << 48 | uint64_t(u[7]) << 56;
}
inline uint64_t Load4(const char* p) {
  const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
  return uint64_t(u[0]) | uint64_t(u[1]) << 8 | uint64_t(u[2]) << 16 | uint64_t(u[3]) << 24;
}
inline uint64_t Load2(const char* p) {
  const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
  return uint64_t(u[0]) | uint64_t(u[1]) << 8;
}
// The n (< 8) bytes at p, the rest zero, without reading past them: two
// loads that overlap in the middle, where they hold the same bytes.
inline uint64_t LoadTail(const char* p, size_t n) {
  if (n >= 4) return Load4(p) | Load4(p + n - 4) << (8 * (n - 4));
  if (n >= 2) return Load2(p) | Load2(p + n - 2) << (8 * (n - 2));
  return n ? uint64_t(static_cast<unsigned char>(*p)) : 0;
}
inline uint64_t LoadWord(const char* p, size_t left) { return left >= 8 ? Load8(p) : LoadTail(p, left); }

const uint64_t kHighBits = 0x8080808080808080ull;

// Eight bytes below 0x80 with "A".."Z" made lower case: a byte plus 0x3F
// reaches 0x80 from "A" on, plus 0x25 from past "Z" on, with no carry into
// the next byte.
inline uint64_t FoldAscii(uint64_t w) {
  const uint64_t upper = (w + 0x3F3F3F3F3F3F3F3Full) & ~(w + 0x2525252525252525ull) & kHighBits;
  return w | (upper >> 2);
}

// The bytes from p on (of a name ending at end), folded as FoldIniName
// would write them, eight to a word; `trail` carries a double-byte character
// over from one word to the next. Called where a word holds a byte of 0x80
// or more.
inline uint64_t FoldWord(const char* p, const char* end, bool& trail) {
  const size_t n = end - p < 8 ? size_t(end - p) : 8;
  uint64_t w = 0;
  for (size_t k = 0; k < n; ++k) {
    unsigned char c = static_cast<unsigned char>(p[k]);
    if (trail) {
      trail = false;
    } else if (c >= 0x81 && IsPair(p + k, end)) {
      trail = true;
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<unsigned char>(c - 'A' + 'a');
    }
    w |= uint64_t(c) << (8 * k);
  }
  return w;
}

inline uint64_t Mum(uint64_t a, uint64_t b) {
#if defined(__SIZEOF_INT128__)
  const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
  return uint64_t(r) ^ uint64_t(r >> 64);
#else
  const uint64_t r = a * b;
  return r ^ (r >> 29) ^ (r >> 47);
#endif
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

uint32_t IniNameHash(const char* name, size_t length) {
  if (!name) length = 0;
  uint64_t h = 0x243F6A8885A308D3ull ^ length;
  const char* p = name;
  const char* end = p ? p + length : p;
  // Plain ASCII a word at a time; from the first word with a high byte on,
  // byte by byte (an ASCII byte before it ends any double-byte character).
  for (; p < end; p += 8) {
    const uint64_t w = LoadWord(p, size_t(end - p));
    if (w & kHighBits) break;
    h = Mum(h ^ FoldAscii(w), 0x9E3779B97F4A7C15ull);
  }
  for (bool trail = false; p < end; p += 8) h = Mum(h ^ FoldWord(p, end, trail), 0x9E3779B97F4A7C15ull);
  h = Mum(h, 0xBF58476D1CE4E5B9ull);
  return uint32_t(h) ^ uint32_t(h >> 32);
}

bool IniNamesEqual(const char* a, size_t aLength, const char* b, size_t bLength) {
  if (aLength != bLength) return false;  // folding keeps the length
  if (aLength == 0 || std::memcmp(a, b, aLength) == 0) return true;
  const char* aEnd = a + aLength;
  const char* bEnd = b + bLength;
  for (; a < aEnd; a += 8, b += 8) {
    const uint64_t x = LoadWord(a, size_t(aEnd - a)), y = LoadWord(b, size_t(bEnd - b));
    if ((x | y) & kHighBits) break;
    if (FoldAscii(x) != FoldAscii(y)) return false;
  }
  for (bool ta = false, tb = false; a < aEnd; a += 8, b += 8)
    if (FoldWord(a, aEnd, ta) != FoldWord(b, bEnd, tb)) return false;
  return true;
}

bool IniNamesEqual(const char* a, const char* b) { return IniNamesEqual(a, std::strlen(a), b, std::strlen(b)); }

// ---- the document --------------------------------------------------------------

namespace {

// A name that holds no "=" or line break and neither starts nor ends with
// a blank: only such a name can be a key line's.
bool IsPlainName(const char* name, size_t length) {
  if (length && (IsBlank(name[0]) || IsBlank(name[length - 1]))) return false;
  for (size_t i = 0; i < length; ++i)
    if (name[i] == '=' || name[i] == '\r' || name[i] == '\n') return false;
  return true;
}

// The slot for a hash in a table of `size` slots (the hash's high bits
// scaled to the size, which need not be a power of two).
inline size_t Home(uint32_t hash, uint32_t size) { return size_t((uint64_t(hash) * size) >> 32); }

// Slots for this many keys: at most two thirds full, so that a probe soon
// ends at a free slot, and never full.
inline uint32_t SlotsFor(uint32_t keys) { return keys + keys / 2 + 1; }

}  // namespace

std::string_view IniDocument::PlaceName(uint32_t place) const {
  if (place & kOwned) return m_owned[place & ~kOwned];
  const char* line = m_text.data() + place;
  const char* eq = FindFirstOf(line, m_text.data() + m_text.size(), '=', '=', '=');
  while (IsBlank(eq[-1])) --eq;  // stops at the line's first byte, no blank
  return std::string_view(line, size_t(eq - line));
}

std::string_view IniDocument::PlaceValue(uint32_t place) const {
  if (place & kOwned) return m_owned[place & ~kOwned];
  const char* end = m_text.data() + m_text.size();
  const char* v = FindFirstOf(m_text.data() + place, end, '=', '=', '=') + 1;
  const char* ve = FindFirstOf(v, end, ';', '\r', '\n');
  while (IsBlank(*v)) ++v;  // the value holds more than blanks
  while (IsBlank(ve[-1])) --ve;
  return std::string_view(v, size_t(ve - v));
}

std::string_view IniDocument::SlotName(uint32_t slot) const {
  return PlaceName(slot & kExtra ? m_extra[slot & ~kExtra].name : slot - 1);
}

std::string_view IniDocument::SlotValue(uint32_t slot) const {
  return PlaceValue(slot & kExtra ? m_extra[slot & ~kExtra].value : slot - 1);
}

// Whether the key in the slot has this name. A key line has the name when
// its first `length` bytes fold to it and blanks then "=" follow: the name
// holds no "=" or line break and ends with no blank (`plain`), so those
// bytes stay on the line and are its whole name.
bool IniDocument::SlotNamed(uint32_t slot, const char* name, size_t length, bool plain) const {
  const uint32_t place = slot & kExtra ? m_extra[slot & ~kExtra].name : slot - 1;
  if (place & kOwned) {
    const std::string& other = m_owned[place & ~kOwned];
    return IniNamesEqual(name, length, other.data(), other.size());
  }
  const char* line = m_text.data() + place;
  const char* end = m_text.data() + m_text.size();
  // Folding changes no bit but 0x20 of a letter: most other names differ
  // in their first byte already.
  if (!plain || length == 0 || size_t(end - line) <= length || ((name[0] ^ line[0]) & ~0x20)) return false;
  if (!IniNamesEqual(name, length, line, length)) return false;
  const char* p = line + length;
  while (p < end && IsBlank(*p)) ++p;
  return p < end && *p == '=';
}

uint32_t IniDocument::Own(const char* text) {
  m_owned.emplace_back(text);
  return kOwned | uint32_t(m_owned.size() - 1);
}

void IniDocument::Clear() {
  // Swapped out, so that a large document's memory goes back at once.
  std::string().swap(m_text);
  std::vector<std::string>().swap(m_owned);
  std::vector<SectionRecord>().swap(m_sections);
  std::vector<Run>().swap(m_runs);
  std::vector<uint32_t>().swap(m_sectionSlots);
  std::vector<uint32_t>().swap(m_slots);
  std::vector<ExtraKey>().swap(m_extra);
}

long IniDocument::FindSection(const char* name, size_t length, uint32_t hash) const {
  if (m_sectionSlots.empty()) return -1;
  const size_t mask = m_sectionSlots.size() - 1;
  for (size_t i = hash & mask; m_sectionSlots[i]; i = (i + 1) & mask) {
    const uint32_t pos = m_sectionSlots[i] - 1;
    const SectionRecord& s = m_sections[pos];
    if (s.hash != hash) continue;
    const std::string_view other = s.name & kOwned ? std::string_view(m_owned[s.name & ~kOwned])
                                                   : std::string_view(m_text.data() + s.name, s.nameLength);
    if (IniNamesEqual(name, length, other.data(), other.size())) return long(pos);
  }
  return -1;
}

void IniDocument::IndexSection(uint32_t index) {
  // At most half full, so that a probe soon ends at a free slot.
  if (m_sections.size() * 2 > m_sectionSlots.size()) {
    size_t size = m_sectionSlots.empty() ? 16 : m_sectionSlots.size() * 2;
    while (m_sections.size() * 2 > size) size *= 2;
    m_sectionSlots.assign(size, 0);
    const size_t mask = size - 1;
    for (size_t pos = 0; pos < m_sections.size(); ++pos) {
      size_t i = m_sections[pos].hash & mask;
      while (m_sectionSlots[i]) i = (i + 1) & mask;
      m_sectionSlots[i] = uint32_t(pos + 1);
    }
    return;
  }
  const size_t mask = m_sectionSlots.size() - 1;
  size_t i = m_sections[index].hash & mask;
  while (m_sectionSlots[i]) i = (i + 1) & mask;
  m_sectionSlots[i] = index + 1;
}

// A new section, named by its place in the text or (owned) by a copy.
uint32_t IniDocument::AddSection(const char* name, size_t length, uint32_t hash, bool owned) {
  SectionRecord s = {};
  s.hash = hash;
  s.named = length != 0;
  s.read = true;  // until key lines are found for it
  if (length) {
    if (owned) {
      s.name = Own(name);
    } else {
      s.name = uint32_t(name - m_text.data());
      s.nameLength = uint16_t(length);
    }
  }
  m_sections.push_back(s);
  const uint32_t index = uint32_t(m_sections.size() - 1);
  IndexSection(index);
  return index;
}

std::string_view IniDocument::SectionName(size_t section) const {
  const SectionRecord& s = m_sections[section];
  if (s.name & kOwned) return m_owned[s.name & ~kOwned];
  return std::string_view(m_text.data() + s.name, s.nameLength);
}

IniParseResult IniDocument::Parse(const char* text, size_t length) {
  if (length > kMaxText) {
    Clear();
    return IniParseResult::TooLarge;
  }
  return Parse(std::string(text, length));
}

// The parse reads every line and checks its length, and keeps of each
// section only the stretches of text that hold its key lines (and how many
// lines they have): a key costs nothing until its section is asked for.
IniParseResult IniDocument::Parse(std::string&& text) {
  Clear();
  if (text.size() > kMaxText) return IniParseResult::TooLarge;
  m_text = std::move(text);
  // A guess at the sections, so that their list seldom moves while the text
  // is read: memory reserved and never written costs nothing.
  m_sections.reserve(m_text.size() / 1024 + 8);
  const char* text0 = m_text.data();
  const char* p = text0;
  const char* end = text0 + m_text.size();
  const uint32_t kNone = ~0u;
  uint32_t current = kNone;
  // The current stretch: from the line after its section's header, or
  // from the first key line before any header.
  uint32_t openBegin = 0, openLines = 0;
  auto closeRun = [&](const char* at) {
    if (current == kNone || openLines == 0) return;
    SectionRecord& s = m_sections[current];
    s.read = false;
    s.lines += openLines;
    const Run run = {openBegin, uint32_t(at - text0), 0};
    if (s.run.begin == s.run.end) {
      s.run = run;
      return;
    }
    m_runs.push_back(run);
    const uint32_t index = uint32_t(m_runs.size());
    if (s.lastRun)
      m_runs[s.lastRun - 1].next = index;
    else
      s.run.next = index;
    s.lastRun = index;
  };
  while (p < end) {
    const char c = *p;
    if (IsBlank(c) || c == '\r' || c == '\n') {
      ++p;
      continue;
    }
    const char* line = p;
    const char* lineEnd = FindLineBreak(p + 1, end);
    if (size_t(lineEnd - line) >= kMaxLine) {
      Clear();
      return IniParseResult::LineTooLong;
    }
    p = lineEnd;
    if (c == ';') continue;
    if (c != '[') {
      if (current == kNone) {
        // The nameless section starts at its first key.
        const char* next;
        KeyLine k;
        if (!ReadKeyLine(line, lineEnd, next, k)) continue;
        const uint32_t hash = IniNameHash(nullptr, 0);
        const long pos = FindSection(nullptr, 0, hash);
        current = pos >= 0 ? uint32_t(pos) : AddSection(nullptr, 0, hash, false);
        openBegin = uint32_t(line - text0);
      }
      ++openLines;
      continue;
    }
    const char* nameBegin = line + 1;
    const char* nameEnd = FindChar(nameBegin, lineEnd, ']');
    for (const char* before = nullptr; before != nameEnd;) {
      before = nameEnd;
      Trim(nameBegin, nameEnd);
      DropDanglingLead(nameBegin, nameEnd);
    }
    closeRun(line);
    const size_t length = size_t(nameEnd - nameBegin);
    const uint32_t hash = IniNameHash(nameBegin, length);
    const long pos = FindSection(nameBegin, length, hash);
    current = pos >= 0 ? uint32_t(pos) : AddSection(nameBegin, length, hash, false);
    openBegin = uint32_t(lineEnd - text0);
    openLines = 0;
  }
  closeRun(end);
  return IniParseResult::Ok;
}

template <class F>
void IniDocument::ForEachKeyLine(const SectionRecord& s, F f) const {
  const char* text0 = m_text.data();
  for (const Run* run = &s.run; run; run = run->next ? &m_runs[run->next - 1] : nullptr) {
    const char* p = text0 + run->begin;
    const char* end = text0 + run->end;
    while (p < end) {
      const char c = *p;
      if (IsBlank(c) || c == '\r' || c == '\n') {
        ++p;
        continue;
      }
      const char* line = p;
      if (c == ';') {
        p = FindLineBreak(p + 1, end);
        continue;
      }
      KeyLine k;
      if (ReadKeyLine(line, end, p, k)) f(line, size_t(k.keyEnd - line));
    }
  }
}

uint32_t* IniDocument::Probe(const SectionRecord& s, const char* name, size_t length, uint32_t hash, bool plain) const {
  uint32_t* slots = m_slots.data() + s.firstSlot;
  const uint32_t size = s.slotCount;
  for (size_t i = Home(hash, size);; i = i + 1 == size ? 0 : i + 1)
    if (!slots[i] || SlotNamed(slots[i], name, length, plain)) return &slots[i];
}

const IniDocument::SectionRecord& IniDocument::Read(uint32_t index) const {
  SectionRecord& s = m_sections[index];
  if (s.read) return s;
  s.read = true;
  // A slot for a key on every line that may hold one: the table never
  // grows while the lines are read.
  const uint32_t size = SlotsFor(s.lines);
  s.firstSlot = uint32_t(m_slots.size());
  s.slotCount = size;
  m_slots.resize(m_slots.size() + size);
  uint32_t* slots = m_slots.data() + s.firstSlot;
  ForEachKeyLine(s, [&](const char* line, size_t length) {
    const uint32_t place = uint32_t(line - m_text.data());
    for (size_t i = Home(IniNameHash(line, length), size);; i = i + 1 == size ? 0 : i + 1) {
      const uint32_t slot = slots[i];
      if (!slot) {
        slots[i] = place + 1;
        ++s.keyCount;
        return;
      }
      if (SlotNamed(slot, line, length, true)) {
        // A key given again keeps its place and takes the later value.
        if (slot & kExtra) {
          m_extra[slot & ~kExtra].value = place;
        } else {
          m_extra.push_back({slot - 1, place, 0});
          slots[i] = kExtra | uint32_t(m_extra.size() - 1);
        }
        return;
      }
    }
  });
  return s;
}

void IniDocument::ReadAllKeys() const {
  // Every table in one reservation.
  size_t slots = 0;
  for (const SectionRecord& s : m_sections)
    if (!s.read) slots += SlotsFor(s.lines);
  if (!slots) return;
  m_slots.reserve(m_slots.size() + slots);
  for (uint32_t i = 0; i < m_sections.size(); ++i) Read(i);
}

template <class F>
void IniDocument::ForEachKey(const SectionRecord& s, F f) const {
  if (!s.slotCount) return;
  // The text's keys in the order of their lines, each at its first line.
  bool more = true;
  ForEachKeyLine(s, [&](const char* line, size_t length) {
    if (!more) return;
    const uint32_t place = uint32_t(line - m_text.data());
    const uint32_t slot = *Probe(s, line, length, IniNameHash(line, length), true);
    const uint32_t first = slot & kExtra ? m_extra[slot & ~kExtra].name : slot - 1;
    if (first == place) more = f(std::string_view(line, length), SlotValue(slot));
  });
  for (uint32_t e = s.added; more && e; e = m_extra[e - 1].next)
    more = f(PlaceName(m_extra[e - 1].name), PlaceValue(m_extra[e - 1].value));
}

const IniDocument::SectionRecord* IniDocument::SectionAt(const char* name) const {
  const size_t length = name ? std::strlen(name) : 0;
  const long pos = FindSection(name, length, IniNameHash(name, length));
  return pos < 0 ? nullptr : &Read(uint32_t(pos));
}

size_t IniDocument::KeyCount(size_t section) const { return Read(uint32_t(section)).keyCount; }

std::vector<IniKey> IniDocument::Keys(size_t section) const {
  std::vector<IniKey> keys;
  const SectionRecord& s = Read(uint32_t(section));
  keys.reserve(s.keyCount);
  ForEachKey(s, [&](std::string_view name, std::string_view value) {
    keys.push_back({name, value});
    return true;
  });
  return keys;
}

uint32_t IniDocument::FindSlot(const char* section, const char* key) const {
  const SectionRecord* s = SectionAt(section);
  if (!s || !key || !s->slotCount) return 0;
  const size_t length = std::strlen(key);
  return *Probe(*s, key, length, IniNameHash(key, length), IsPlainName(key, length));
}

std::optional<IniKey> IniDocument::FindKey(const char* section, const char* key) const {
  const uint32_t slot = FindSlot(section, key);
  if (!slot) return std::nullopt;
  return IniKey{SlotName(slot), SlotValue(slot)};
}

// A new table of `size` slots for the section at the end of m_slots, its
// keys entered again (the old one is not used again).
void IniDocument::GrowTable(SectionRecord& s, uint32_t size) {
  const size_t first = m_slots.size();
  m_slots.resize(first + size);
  uint32_t* slots = m_slots.data() + first;
  for (uint32_t k = 0; k < s.slotCount; ++k) {
    const uint32_t slot = m_slots[s.firstSlot + k];
    if (!slot) continue;
    const std::string_view name = SlotName(slot);
    size_t i = Home(IniNameHash(name.data(), name.size()), size);
    while (slots[i]) i = i + 1 == size ? 0 : i + 1;
    slots[i] = slot;
  }
  s.firstSlot = uint32_t(first);
  s.slotCount = size;
}

bool IniDocument::SetValue(const char* section, const char* key, const char* value) {
  if (!key || !*key) return false;
  if (!value) value = "";
  const size_t sectionLength = section ? std::strlen(section) : 0;
  const uint32_t sectionHash = IniNameHash(section, sectionLength);
  const long pos = FindSection(section, sectionLength, sectionHash);
  const uint32_t index = pos >= 0 ? uint32_t(pos) : AddSection(section, sectionLength, sectionHash, true);
  Read(index);
  SectionRecord& s = m_sections[index];
  const size_t length = std::strlen(key);
  const uint32_t hash = IniNameHash(key, length);
  const bool plain = IsPlainName(key, length);
  if (s.slotCount) {
    uint32_t* slot = Probe(s, key, length, hash, plain);
    if (*slot & kExtra) {
      ExtraKey& e = m_extra[*slot & ~kExtra];
      if (e.value & kOwned)
        m_owned[e.value & ~kOwned].assign(value);
      else
        e.value = Own(value);
      return true;
    }
    if (*slot) {
      m_extra.push_back({*slot - 1, Own(value), 0});
      *slot = kExtra | uint32_t(m_extra.size() - 1);
      return true;
    }
  }
  if (SlotsFor(s.keyCount + 1) > s.slotCount) GrowTable(s, std::max(SlotsFor(s.keyCount + 1), 2 * s.slotCount));
  uint32_t* slot = Probe(s, key, length, hash, plain);
  m_extra.push_back({Own(key), Own(value), 0});
  const uint32_t added = uint32_t(m_extra.size());
  *slot = kExtra | (added - 1);
  if (s.lastAdded)
    m_extra[s.lastAdded - 1].next = added;
  else
    s.added = added;
  s.lastAdded = added;
  ++s.keyCount;
  return true;
}

std::string IniDocument::Serialize() const {
  ReadAllKeys();
  std::string out;
  out.reserve(m_text.size() + 4 * m_sections.size() + 64);
  auto keys = [&](const SectionRecord& s) {
    ForEachKey(s, [&](std::string_view name, std::string_view value) {
      if (value.empty()) return true;
      out += name;
      out += '=';
      out += value;
      out += "\r\n";
      return true;
    });
  };
  // The nameless section can only be written first: anything later would
  // belong to the section above it.
  for (const SectionRecord& s : m_sections)
    if (!s.named) keys(s);
  for (size_t i = 0; i < m_sections.size(); ++i) {
    if (!m_sections[i].named) continue;
    out += "\r\n[";
    out += SectionName(i);
    out += "]\r\n";
    keys(m_sections[i]);
  }
  return out;
}

size_t IniDocument::GetString(const char* section, const char* key, const char* def, char* buffer, size_t size) const {
  if (const uint32_t slot = FindSlot(section, key)) {
    const std::string_view value = SlotValue(slot);
    return CopyBounded(value.data(), value.size(), buffer, size);
  }
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
  if (const SectionRecord* s = SectionAt(section)) {
    ForEachKey(*s, [&](std::string_view name, std::string_view) {
      // name, its zero, and room for the final zero
      if (used + name.size() + 2 > size) return false;
      std::memcpy(buffer + used, name.data(), name.size());
      used += name.size();
      buffer[used++] = '\0';
      return true;
    });
  }
  buffer[used] = '\0';
  if (used == 0 && size > 1) buffer[1] = '\0';
  return used;
}

}  // namespace vesk
