#include "ChatCore.h"

#include <cstdio>
#include <cstring>

namespace qkchat {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads "<s=N,c=#RR#GG#BB[,b]>" at TEXT[POS]; on success sets the style and the end.
bool ReadTag(const std::string& t, size_t pos, Run* style, size_t* end) {
  size_t close = t.find('>', pos);
  if (close == std::string::npos || close - pos > 40) return false;
  std::string tag = t.substr(pos + 1, close - pos - 1);
  if (tag.compare(0, 2, "s=") != 0) return false;
  size_t i = 2;
  int size = 0;
  size_t digits = 0;
  while (i < tag.size() && tag[i] >= '0' && tag[i] <= '9' && digits < 3) size = size * 10 + (tag[i++] - '0'), ++digits;
  if (!digits || tag.compare(i, 4, ",c=#") != 0) return false;
  i += 4;
  uint32_t rgb = 0;
  for (int part = 0; part < 3; ++part) {
    if (part && (i >= tag.size() || tag[i++] != '#')) return false;
    if (i + 2 > tag.size()) return false;
    int hi = HexDigit(tag[i]), lo = HexDigit(tag[i + 1]);
    if (hi < 0 || lo < 0) return false;
    rgb = (rgb << 8) | uint32_t(hi * 16 + lo);
    i += 2;
  }
  bool bold = false;
  if (i < tag.size()) {
    if (tag.substr(i) != ",b") return false;
    bold = true;
  }
  style->size = size;
  style->rgb = rgb;
  style->bold = bold;
  *end = close + 1;
  return true;
}

Line ParseLine(const std::string& t) {
  Line line;
  Run cur;
  size_t i = 0;
  while (i < t.size()) {
    size_t end = 0;
    Run style;
    if (t[i] == '<' && ReadTag(t, i, &style, &end)) {
      if (!cur.text.empty()) line.push_back(cur);
      cur = style;
      i = end;
      continue;
    }
    cur.text += t[i++];
  }
  if (!cur.text.empty()) line.push_back(cur);
  return line;
}

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

std::vector<Line> ParseMarkup(const std::string& text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t nl = text.find('\n', start);
    size_t stop = nl == std::string::npos ? text.size() : nl;
    size_t len = stop - start;
    if (len && text[start + len - 1] == '\r') --len;
    if (len) {
      Line l = ParseLine(text.substr(start, len));
      if (!l.empty()) lines.push_back(l);
    }
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return lines;
}

std::string StyleTag(int size, uint32_t rgb, bool bold) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "<s=%d,c=#%02X#%02X#%02X%s>", size, unsigned(rgb >> 16 & 0xFF),
                unsigned(rgb >> 8 & 0xFF), unsigned(rgb & 0xFF), bold ? ",b" : "");
  return buf;
}

bool ParseUserTable(const uint8_t* block, size_t size, std::vector<std::string>* cells) {
  cells->clear();
  if (!block || size < 8) return false;
  uint32_t total = ReadU32(block), count = ReadU32(block + 4);
  if (total > size || total < 8 || count == 0 || count > kMaxColumns) return false;
  size_t pos = 8 + 4 * size_t(count);
  if (pos > total) return false;
  std::vector<uint32_t> widths(count);
  for (uint32_t c = 0; c < count; ++c) {
    widths[c] = ReadU32(block + 8 + 4 * c);
    if (widths[c] == 0 || widths[c] > kMaxColumnWidth) return false;
  }
  std::vector<std::string> out;
  for (uint32_t c = 0; c < count; ++c) {
    if (widths[c] > total - pos) return false;
    const char* f = reinterpret_cast<const char*>(block + pos);
    out.emplace_back(f, strnlen(f, widths[c]));
    pos += widths[c];
  }
  *cells = out;
  return true;
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> f;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    f.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return f;
}

std::string CleanField(const std::string& text) {
  std::string s = text;
  for (char& c : s)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return s;
}

std::string JoinFields(const std::vector<std::string>& fields) {
  std::string s;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) s += '\t';
    s += CleanField(fields[i]);
  }
  return s;
}

void LineBuffer::Append(const char* data, size_t n) { m_buf.append(data, n); }

bool LineBuffer::Next(std::string* line) {
  size_t nl = m_buf.find('\n');
  if (nl == std::string::npos) {
    if (m_buf.size() < kMaxLine) return false;
    nl = kMaxLine;
    *line = m_buf.substr(0, nl);
    m_buf.erase(0, nl);
    return true;
  }
  size_t len = nl;
  if (len > kMaxLine) len = kMaxLine;
  *line = m_buf.substr(0, len);
  if (!line->empty() && line->back() == '\r') line->pop_back();
  m_buf.erase(0, nl + 1);
  return true;
}

}  // namespace qkchat
