#include "IniReference.h"

#include <cstring>

namespace iniref {

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

bool IniNamesEqual(const char* a, const char* b) {
  size_t la = std::strlen(a), lb = std::strlen(b);
  return la == lb && FoldIniName(a, la) == FoldIniName(b, lb);
}

const IniKey* IniSection::FindKey(const char* key) const {
  if (!key) return nullptr;
  auto it = index.find(FoldIniName(key, std::strlen(key)));
  return it == index.end() ? nullptr : &keys[it->second];
}

void IniSection::SetKey(const std::string& key, const std::string& value) {
  std::string folded = FoldIniName(key.data(), key.size());
  auto it = index.find(folded);
  if (it != index.end()) {
    keys[it->second].value = value;  // a key given twice keeps the last value
    return;
  }
  index.emplace(std::move(folded), keys.size());
  keys.push_back(IniKey{key, value});
}

void IniDocument::Clear() {
  m_sections.clear();
  m_index.clear();
}

IniSection& IniDocument::SectionFor(const char* name, size_t length) {
  std::string folded = length ? FoldIniName(name, length) : std::string();
  auto it = m_index.find(folded);
  if (it != m_index.end()) return m_sections[it->second];
  m_index.emplace(folded, m_sections.size());
  IniSection section;
  section.named = length != 0;
  section.name.assign(name ? name : "", length);
  m_sections.push_back(std::move(section));
  return m_sections.back();
}

IniParseResult IniDocument::Parse(const char* text, size_t length) {
  Clear();
  const char* p = text;
  const char* end = text + length;
  IniSection* current = nullptr;
  while (p < end) {
    while (p < end && (IsBlank(*p) || *p == '\r' || *p == '\n')) ++p;
    if (p == end) break;
    const char* lineEnd = p;
    while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n') ++lineEnd;
    if (size_t(lineEnd - p) >= kMaxLine) {
      Clear();
      return IniParseResult::LineTooLong;
    }
    const char* line = p;
    p = lineEnd;
    if (*line == ';') continue;
    if (*line == '[') {
      const char* nameBegin = line + 1;
      const char* nameEnd = FindChar(nameBegin, lineEnd, ']');
      for (const char* before = nullptr; before != nameEnd;) {
        before = nameEnd;
        Trim(nameBegin, nameEnd);
        DropDanglingLead(nameBegin, nameEnd);
      }
      current = &SectionFor(nameBegin, size_t(nameEnd - nameBegin));
      continue;
    }
    const char* eq = FindChar(line, lineEnd, '=');
    if (eq == lineEnd) continue;  // no value
    const char* keyBegin = line;
    const char* keyEnd = eq;
    Trim(keyBegin, keyEnd);
    const char* valueBegin = eq + 1;
    const char* valueEnd = FindChar(valueBegin, lineEnd, ';');
    Trim(valueBegin, valueEnd);
    if (keyBegin == keyEnd || valueBegin == valueEnd) continue;
    if (!current) current = &SectionFor(nullptr, 0);
    current->SetKey(std::string(keyBegin, keyEnd), std::string(valueBegin, valueEnd));
  }
  return IniParseResult::Ok;
}

std::string IniDocument::Serialize() const {
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
  auto it = m_index.find(length ? FoldIniName(section, length) : std::string());
  return it == m_index.end() ? nullptr : &m_sections[it->second];
}

const IniKey* IniDocument::FindKey(const char* section, const char* key) const {
  const IniSection* s = FindSection(section);
  return s ? s->FindKey(key) : nullptr;
}

void IniDocument::SetValue(const char* section, const char* key, const char* value) {
  if (!key || !*key) return;
  IniSection& s = SectionFor(section, section ? std::strlen(section) : 0);
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

}  // namespace iniref
