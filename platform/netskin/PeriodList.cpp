#include "PeriodList.h"

#include <cctype>
#include <cstdlib>
#include <tuple>

namespace netskin {

namespace {

// Reads up to `count` numbers separated by non-digits from text[p..end); stops at the
// first non-digit after the last one it wants. Numbers are clamped to 100000.
int ReadNumbers(const std::string& s, size_t& p, size_t end, int count, int* out) {
  int got = 0;
  while (got < count && p < end) {
    if (!std::isdigit(static_cast<unsigned char>(s[p]))) {
      if (got == 0 || s[p] == ' ') break;  // a blank ends the date part
      ++p;
      continue;
    }
    long v = 0;
    while (p < end && std::isdigit(static_cast<unsigned char>(s[p]))) {
      if (v < 100000) v = v * 10 + (s[p] - '0');
      ++p;
    }
    out[got++] = static_cast<int>(v);
    if (got < count && p < end && s[p] == ' ') break;
  }
  return got;
}

bool ReadDate(const std::string& s, size_t& p, size_t end, bool isEnd, DateTime* d) {
  int v[3] = {0, isEnd ? 12 : 1, isEnd ? 31 : 1};
  const int n = ReadNumbers(s, p, end, 3, v);
  if (n < 1) return false;
  if (v[0] > 10000) return false;
  if (v[0] < 100) v[0] += 2000;
  if (v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > 31) return false;
  d->year = v[0], d->month = v[1], d->day = v[2];
  return true;
}

bool ReadTime(const std::string& s, size_t& p, size_t end, bool isEnd, DateTime* d) {
  int v[3] = {isEnd ? 23 : 0, isEnd ? 59 : 0, isEnd ? 59 : 0};
  const int n = ReadNumbers(s, p, end, 3, v);
  if (n < 1) {
    d->hour = v[0], d->minute = v[1], d->second = v[2];
    return true;
  }
  if (v[0] > 24 || v[1] > 60 || v[2] > 60) return false;
  d->hour = v[0], d->minute = v[1], d->second = v[2];
  return true;
}

void SkipBlanks(const std::string& s, size_t& p, size_t end) {
  while (p < end && s[p] == ' ') ++p;
}

void SkipToDigit(const std::string& s, size_t& p, size_t end) {
  while (p < end && !std::isdigit(static_cast<unsigned char>(s[p]))) ++p;
}

auto DateKey(const DateTime& d) { return std::make_tuple(d.year, d.month, d.day); }
auto TimeKey(const DateTime& d) { return std::make_tuple(d.hour, d.minute, d.second); }
auto FullKey(const DateTime& d) { return std::make_tuple(d.year, d.month, d.day, d.hour, d.minute, d.second); }

}  // namespace

bool CPeriodList::Parse(const std::string& text, const std::string& periodSep, const std::string& listSep,
                        Period* out) {
  if (periodSep.empty() || text.size() > 256) return false;
  Period p;
  const size_t list = listSep.empty() ? std::string::npos : text.find(listSep);
  const size_t dateEnd = list == std::string::npos ? text.size() : list;
  const size_t sep = text.find(periodSep);
  if (sep == std::string::npos || sep >= dateEnd) return false;
  size_t pos = 0;
  SkipBlanks(text, pos, sep);
  if (!ReadDate(text, pos, sep, false, &p.start)) return false;
  if (list == std::string::npos) {
    SkipBlanks(text, pos, sep);
    if (!ReadTime(text, pos, sep, false, &p.start)) return false;
    pos = sep + periodSep.size();
    SkipToDigit(text, pos, dateEnd);
    if (!ReadDate(text, pos, dateEnd, true, &p.end)) return false;
    SkipBlanks(text, pos, dateEnd);
    if (!ReadTime(text, pos, dateEnd, true, &p.end)) return false;
    p.kind = 1;
  } else {
    pos = sep + periodSep.size();
    SkipToDigit(text, pos, dateEnd);
    if (!ReadDate(text, pos, dateEnd, true, &p.end)) return false;
    const size_t timeStart = list + listSep.size();
    const size_t timeSep = text.find(periodSep, timeStart);
    if (timeSep == std::string::npos) return false;
    pos = timeStart;
    SkipBlanks(text, pos, timeSep);
    if (!ReadTime(text, pos, timeSep, false, &p.start)) return false;
    pos = timeSep + periodSep.size();
    SkipToDigit(text, pos, text.size());
    if (!ReadTime(text, pos, text.size(), true, &p.end)) return false;
    p.kind = 2;
  }
  *out = p;
  return true;
}

bool CPeriodList::Add(const std::string& text, int value, bool refusePast, const DateTime& today) {
  Period p;
  if (!Parse(text, m_periodSep, m_listSep, &p)) return false;
  p.value = value;
  if (refusePast && (DateKey(p.end) < DateKey(today) || DateKey(p.start) > DateKey(p.end) ||
                     (p.kind == 1 && FullKey(p.start) > FullKey(p.end))))
    return false;
  m_periods.push_back(p);
  return true;
}

int CPeriodList::Compare(const Period& p, const DateTime& t) {
  if (p.kind == 2) {
    if (DateKey(t) < DateKey(p.start)) return -1;
    if (DateKey(t) > DateKey(p.end)) return 1;
    if (TimeKey(t) < TimeKey(p.start)) return -1;
    if (TimeKey(t) <= TimeKey(p.end)) return 0;
    return DateKey(t) == DateKey(p.end) ? 1 : -1;
  }
  if (FullKey(t) < FullKey(p.start)) return -1;
  if (FullKey(t) > FullKey(p.end)) return 1;
  return 0;
}

bool CPeriodList::Find(const DateTime& t, int* value) const {
  for (const Period& p : m_periods)
    if (Compare(p, t) == 0) {
      if (value) *value = p.value;
      return true;
    }
  return false;
}

bool CPeriodList::AllOver(const DateTime& t) const {
  for (const Period& p : m_periods)
    if (Compare(p, t) <= 0) return false;
  return true;
}

bool IsConfinedFolderName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find("..") != std::string::npos) return false;
  for (unsigned char c : name)
    if (c == '\\' || c == '/' || c == ':' || c < 0x20) return false;
  return true;
}

bool ParseSkinEntry(const std::string& line, SkinEntry* out) {
  std::vector<std::string> f;
  size_t p = 0;
  for (int i = 0; i < 6; ++i) {
    const size_t c = line.find(',', p);
    if (c == std::string::npos) return false;
    f.push_back(line.substr(p, c - p));
    p = c + 1;
  }
  f.push_back(line.substr(p));
  auto cut = [](const std::string& s) { return s.substr(0, 31); };
  SkinEntry e;
  e.id = std::atoi(f[0].substr(0, 16).c_str());
  e.skinName = cut(f[1]);
  e.folder = cut(f[2]);
  e.period = f[3].substr(0, 256);
  e.package = cut(f[4]);
  e.version = cut(f[5]);
  e.flags = std::atoi(f[6].substr(0, 16).c_str()) & 0xB;
  if (!IsConfinedFolderName(e.folder)) return false;
  *out = e;
  return true;
}

uint32_t PackVersion(const std::string& text) {
  uint32_t packed = 0;
  size_t p = 0;
  for (int part = 0; part < 4; ++part) {
    long v = 0;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p]))) {
      if (v < 256) v = v * 10 + (text[p] - '0');
      ++p;
    }
    if (v > 255) v = 255;
    packed |= static_cast<uint32_t>(v) << (24 - 8 * part);
    if (p >= text.size() || text[p] != '.') break;
    ++p;
  }
  return packed;
}

}  // namespace netskin
