#include "ResCore.h"

#include <cstdarg>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* fmt, ...) {
  char buf[256];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n < 0) return std::string();
  return std::string(buf, size_t(n) < sizeof buf ? size_t(n) : sizeof buf - 1);
}

}  // namespace

// ---- versions -------------------------------------------------------------

int SafeAtoi(const char* text) {
  if (!text) return 0;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool neg = false;
  if (*p == '+' || *p == '-') neg = (*p++ == '-');
  long long v = 0;
  while (IsDigit(*p)) {
    v = v * 10 + (*p++ - '0');
    if (v > (long long)INT_MAX + 1) v = (long long)INT_MAX + 1;
  }
  if (neg) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return int(v);
}

bool ParseVersion(const char* text, uint16_t out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = 0;
  if (!text) return false;
  char buf[64];
  size_t n = strnlen(text, 63);
  std::memcpy(buf, text, n);
  buf[n] = 0;
  const char sep = std::strchr(buf, '.') ? '.' : ',';
  const char* p = buf;
  for (int i = 0; i < 4 && p; ++i) {
    out[i] = uint16_t(SafeAtoi(p));
    p = std::strchr(p, sep);
    if (p) ++p;
  }
  return true;
}

uint32_t VersionTextToNumber(const char* text) {
  if (!text) return 0;
  uint32_t number = 0;
  const char* p = text;
  for (int i = 0; i < 4 && p; ++i) {
    number |= uint32_t(SafeAtoi(p) & 0xFF) << (8 * (3 - i));
    p = std::strchr(p, '.');
    if (p) ++p;
  }
  return number;
}

int CompareVersionWords(const uint16_t a[4], const uint16_t b[4]) {
  for (int i = 0; i < 4; ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

void SplitFileVersion(uint32_t ms, uint32_t ls, uint16_t out[4]) {
  out[0] = uint16_t(ms >> 16);
  out[1] = uint16_t(ms & 0xFFFF);
  out[2] = uint16_t(ls >> 16);
  out[3] = uint16_t(ls & 0xFFFF);
}

std::string FormatVersionText(uint32_t ms, uint32_t ls) {
  uint16_t w[4];
  SplitFileVersion(ms, ls, w);
  return Format("%d.%02d.%d.%d", w[0], w[1], w[2], w[3]);
}

std::string FormatShortVersion(uint32_t ms, uint32_t ls) {
  uint16_t w[4];
  SplitFileVersion(ms, ls, w);
  std::string beta = w[3] == 255 ? std::string() : Format(" Beta%d", w[3]);
  return Format("%d.%02d%s", w[0], w[1], beta.c_str());
}

std::string FormatDottedVersion(const uint16_t w[4]) { return Format("%d.%d.%d.%d", w[0], w[1], w[2], w[3]); }

bool IsResourceInternalName(const std::string& programName, const std::string& libraryName) {
  static const char kTail[] = "Resource";
  const size_t tail = sizeof kTail - 1;
  if (libraryName.compare(0, programName.size(), programName) != 0) return false;
  if (libraryName.size() < tail) return false;
  return libraryName.compare(libraryName.size() - tail, tail, kTail) == 0;
}

ResLibCheck CheckResourceLibrary(const ModuleVersionFacts& program, const ModuleVersionFacts& library) {
  if (program.fileType != 1 || library.fileType != 2) return RESLIB_NOT_VALID;
  if (program.versionMS != library.versionMS || program.versionLS != library.versionLS) return RESLIB_WRONG_VERSION;
  if (!IsResourceInternalName(program.internalName, library.internalName)) return RESLIB_WRONG_VERSION;
  return RESLIB_OK;
}

std::string ResLibFailureText(ResLibCheck result, const std::string& programName) {
  // These stay English and built in: the library that holds every other text is unusable.
  std::string name = programName.substr(0, 200);
  switch (result) {
    case RESLIB_NOT_FOUND:
      return Format("%s_Res.dll not found !", name.c_str());
    case RESLIB_NOT_VALID:
      return Format("%s_Res.dll is not a valid resource file !", name.c_str());
    case RESLIB_WRONG_VERSION:
      return Format("Incorrect version of %s_Res.dll !", name.c_str());
    case RESLIB_OUT_OF_MEMORY:
      return "Out off memory when version compare!";
    case RESLIB_OK:
      break;
  }
  return std::string();
}

// ---- table rules ------------------------------------------------------------

RuleSettings ParseRuleText(const char* text) {
  char buf[1024];
  size_t n = text ? strnlen(text, sizeof buf - 1) : 0;
  if (n) std::memcpy(buf, text, n);
  buf[n] = 0;
  int values[5] = {1, 0, 100, 1, 0};
  const char* p = buf;
  for (int i = 0; i < 5; ++i) {
    while (*p == ' ') ++p;
    if (!*p) break;
    values[i] = SafeAtoi(p);
    while (*p && *p != ' ') ++p;
  }
  RuleSettings r;
  r.first = values[0];
  r.scoreByRounds = values[1] != 0;
  r.rounds = values[1];
  r.secondsPerCard = values[2];
  r.recordScore = values[3];
  r.chatMode = values[4];
  return r;
}

std::string FormatRuleText(const RuleSettings& r) {
  return Format("%d %d %d %d %d", 1, r.scoreByRounds ? r.rounds : 0, r.secondsPerCard, r.recordScore, r.chatMode);
}

bool RuleRoundsValid(int rounds) { return rounds >= 4 && rounds <= 100; }
bool RuleSecondsValid(int seconds) { return seconds >= 10 && seconds <= 600; }

// ---- numbers and INI values ------------------------------------------------

int ParseNumber(const char* text) {
  if (!text) return 0;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint32_t v = 0;
    for (const char* p = text + 2;; ++p) {
      int d;
      if (IsDigit(*p))
        d = *p - '0';
      else if (*p >= 'a' && *p <= 'f')
        d = *p - 'a' + 10;
      else if (*p >= 'A' && *p <= 'F')
        d = *p - 'A' + 10;
      else
        break;
      v = (v << 4) | uint32_t(d);
    }
    return int(v);
  }
  return SafeAtoi(text);
}

const char* ParseNextInt(const char* text, int* out) {
  if (!text) return nullptr;
  const char* p = text;
  while (*p == ' ' || *p == ',') ++p;
  if (!*p) return nullptr;
  if (out) *out = SafeAtoi(p);
  if (*p == '+' || *p == '-') ++p;
  while (*p && *p != ' ' && *p != ',') ++p;
  while (*p == ' ' || *p == ',') ++p;
  return p;
}

uint32_t ParseIniColorText(const char* value, uint32_t defaultColor) {
  if (!value || !*value) return defaultColor;
  char buf[64];
  size_t n = strnlen(value, 63);
  std::memcpy(buf, value, n);
  buf[n] = 0;
  if (n == 1) return uint32_t(SafeAtoi(buf));
  if (!std::strchr(buf, ',')) {
    uint32_t rgb = uint32_t(ParseNumber(buf));
    // 0xRRGGBB read as written; Windows keeps red in the low byte.
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  }
  int c[3] = {0, 0, 0};
  const char* p = buf;
  for (int i = 0; i < 3 && p; ++i) p = ParseNextInt(p, &c[i]);
  return uint32_t(c[0] & 0xFF) + uint32_t(c[1] & 0xFF) * 256u + uint32_t(c[2] & 0xFF) * 65536u;
}

void ParseIniPairText(const char* value, int* first, int* second) {
  if (!value || !*value) return;
  const char* comma = std::strchr(value, ',');
  if (first) *first = SafeAtoi(value);
  if (comma && second) *second = SafeAtoi(comma + 1);
}

// ---- path and text helpers -------------------------------------------------

bool CutAtLastSeparator(char* path) {
  if (!path) return false;
  char* last = nullptr;
  for (char* p = path; *p; ++p) {
    if (IsGbkLead((unsigned char)*p) && p[1]) {
      ++p;
      continue;
    }
    if (*p == '\\' || *p == ':') last = p;
  }
  if (!last) return false;
  *last = 0;
  return true;
}

int ReverseFind(const char* text, const char* pattern, int pos) {
  if (!text || !pattern || !*pattern) return -1;
  const size_t len = std::strlen(text);
  const size_t plen = std::strlen(pattern);
  int found = -1;
  for (size_t i = 0; i < len;) {
    if (pos >= 0 && i > size_t(pos)) break;
    if (i + plen <= len && std::memcmp(text + i, pattern, plen) == 0) found = int(i);
    i += (IsGbkLead((unsigned char)text[i]) && i + 1 < len) ? 2 : 1;
  }
  return found;
}

const char* StrStrNoCase(const char* text, const char* pattern) {
  if (!text || !pattern) return nullptr;
  char t[1024], p[1024];
  size_t tn = strnlen(text, 1023), pn = strnlen(pattern, 1023);
  for (size_t i = 0; i < tn; ++i) t[i] = Lower(text[i]);
  for (size_t i = 0; i < pn; ++i) p[i] = Lower(pattern[i]);
  t[tn] = 0;
  p[pn] = 0;
  const char* hit = std::strstr(t, p);
  return hit ? text + (hit - t) : nullptr;
}

std::string PlatformShareFolder(const std::string& programFolder, const std::string& programName) {
  std::string lowerFolder, needle = "game\\";
  for (char c : programFolder) lowerFolder += Lower(c);
  for (char c : programName) needle += Lower(c);
  size_t at = lowerFolder.rfind(needle);
  if (at == std::string::npos || programName.empty()) return std::string();
  return programFolder.substr(0, at) + "Game\\Share\\";
}

char* SkipLeadingChar(char* text, char c) {
  if (!text) return text;
  while (*text && *text == c) ++text;
  return text;
}

void TrimTrailingChar(char* text, char c) {
  if (!text) return;
  size_t n = std::strlen(text);
  while (n && text[n - 1] == c) text[--n] = 0;
}

bool CharInSet(char c, const char* set) {
  if (!set || !c) return false;
  return std::strchr(set, c) != nullptr;
}

char* SkipLeadingSet(char* text, const char* set) {
  if (!text) return text;
  while (*text && CharInSet(*text, set)) ++text;
  return text;
}

char* CutBetween(char* text, char start, char end) {
  if (!text) return nullptr;
  char* s = std::strchr(text, start);
  if (!s || !start || !s[1]) return nullptr;
  ++s;
  char* e = std::strchr(s, end);
  if (e && end) *e = 0;
  return s;
}

char* CutBetweenStrict(char* text, char start, char end) {
  if (!text) return nullptr;
  char* s = std::strchr(text, start);
  if (!s || !start || !s[1]) return nullptr;
  ++s;
  char* e = std::strchr(s, end);
  if (!e || !end) return nullptr;
  *e = 0;
  return s;
}

void CutAtChar(char* text, char c) {
  if (!text) return;
  char* p = std::strchr(text, c);
  if (p && c) *p = 0;
}

// ---- display text ----------------------------------------------------------

size_t GbkPrefixLength(const char* text, size_t length, size_t limit) {
  size_t best = 0, i = 0;
  while (i < length) {
    size_t next = i + ((IsGbkLead((unsigned char)text[i]) && i + 1 < length) ? 2 : 1);
    if (next > limit) break;
    best = next;
    i = next;
  }
  return best;
}

std::string EllipsizeBytes(const std::string& text, int width, int margin, const TextExtentFn& extent) {
  if (extent(text.data(), text.size()) + margin <= width) return text;
  const int dots = extent("...", 3);
  size_t keep = GbkPrefixLength(text.data(), text.size(), text.size() - (text.empty() ? 0 : 1));
  while (keep > 0 && extent(text.data(), keep) + dots + margin > width)
    keep = GbkPrefixLength(text.data(), text.size(), keep - 1);
  return text.substr(0, keep) + "...";
}
