#include "ServicesCore.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

uint32_t GetU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Copies at most max bytes of a C string (up to its NUL) into dst.
void CopyCut(uint8_t* dst, const char* src, size_t max) {
  if (!src) return;
  size_t n = strnlen(src, max);
  memcpy(dst, src, n);
}

}  // namespace

std::string FormatLogLine(const char* date, const char* time, uint32_t pid, int counter, const std::string& msg) {
  std::string body = msg.size() > LOG_MESSAGE_MAX ? msg.substr(0, LOG_MESSAGE_MAX) : msg;
  char head[96];
  snprintf(head, sizeof head, "%s %s %08x:%d ", date ? date : "", time ? time : "", unsigned(pid), counter);
  return head + body + "\n";
}

std::vector<uint8_t> BuildUserQueryBody(const char* user, const char* text) {
  std::vector<uint8_t> body(USER_QUERY_BODY, 0);
  CopyCut(body.data(), user, 19);
  CopyCut(body.data() + 20, text, 127);
  return body;
}

int ParseTicketReply(const uint8_t* frame, size_t n, TICKET_RESULT* result) {
  // A reply carries the long header: id, length, status.
  if (!frame || n < 12) return TICKET_BAD_REPLY;
  uint32_t id = GetU32(frame);
  uint32_t length = GetU32(frame + 4);
  uint32_t status = GetU32(frame + 8);
  if (!(id & 0x80000000u) || status != 1) return TICKET_BAD_REPLY;
  if (length > n - 12 || length < 4) return TICKET_BAD_REPLY;
  const uint8_t* body = frame + 12;
  const char* text = reinterpret_cast<const char*>(body + 4);
  size_t textLen = strnlen(text, length - 4);
  if (result) {
    result->nTicket = int(GetU32(body));
    result->strTicket.assign(text, textLen);
  }
  return TICKET_OK;
}

std::string JoinTierNames(const std::vector<std::string>& names) {
  auto at = [&](size_t i) { return i < names.size() ? names[i] : std::string(); };
  std::string out = at(1) + "," + at(2) + "," + at(0);
  if (names.size() == 4) out += "," + at(3);
  return out;
}

std::string UrlEncode(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      out += char(c);
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
  return text;
}

std::string BuildTierUrl(const std::string& urlTemplate, const std::string& encodedNames) {
  return ReplaceAll(urlTemplate, "%usernames%", encodedNames);
}

bool SplitUrl(const std::string& url, std::string* host, std::string* page, int* port) {
  std::string rest = url;
  if (rest.compare(0, 7, "http://") == 0) rest.erase(0, 7);
  size_t slash = rest.find('/');
  std::string hostPart = slash == std::string::npos ? rest : rest.substr(0, slash);
  std::string pagePart = slash == std::string::npos ? "/" : rest.substr(slash);
  long p = 80;
  size_t colon = hostPart.find(':');
  if (colon != std::string::npos) {
    std::string digits = hostPart.substr(colon + 1);
    hostPart.erase(colon);
    p = 0;
    for (char c : digits) {
      if (c < '0' || c > '9' || p > 65535) break;
      p = p * 10 + (c - '0');
    }
  }
  if (hostPart.empty() || p < 1 || p > 65535) return false;
  if (host) *host = hostPart;
  if (page) *page = pagePart;
  if (port) *port = int(p);
  return true;
}

// ---- JSON ----

const JsonValue* JsonValue::Find(const std::string& name) const {
  if (type != kObject) return nullptr;
  for (const auto& m : members)
    if (m.first == name) return &m.second;
  return nullptr;
}

namespace {

class JsonReader {
 public:
  explicit JsonReader(const std::string& s) : m_s(s) {}
  bool Document(JsonValue* out) {
    if (!Value(out, 0)) return false;
    if (!Skip()) return false;
    return m_pos == m_s.size();
  }

 private:
  bool Skip() {
    while (m_pos < m_s.size()) {
      char c = m_s[m_pos];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++m_pos;
      } else if (c == '/' && m_pos + 1 < m_s.size() && m_s[m_pos + 1] == '/') {
        while (m_pos < m_s.size() && m_s[m_pos] != '\n') ++m_pos;
      } else if (c == '/' && m_pos + 1 < m_s.size() && m_s[m_pos + 1] == '*') {
        size_t end = m_s.find("*/", m_pos + 2);
        if (end == std::string::npos) return false;
        m_pos = end + 2;
      } else {
        break;
      }
    }
    return true;
  }
  bool Literal(const char* word) {
    size_t n = strlen(word);
    if (m_s.compare(m_pos, n, word) != 0) return false;
    m_pos += n;
    return true;
  }
  static void PutUtf8(std::string* out, uint32_t cp) {
    if (cp < 0x80) {
      *out += char(cp);
    } else if (cp < 0x800) {
      *out += char(0xC0 | (cp >> 6));
      *out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *out += char(0xE0 | (cp >> 12));
      *out += char(0x80 | ((cp >> 6) & 0x3F));
      *out += char(0x80 | (cp & 0x3F));
    } else {
      *out += char(0xF0 | (cp >> 18));
      *out += char(0x80 | ((cp >> 12) & 0x3F));
      *out += char(0x80 | ((cp >> 6) & 0x3F));
      *out += char(0x80 | (cp & 0x3F));
    }
  }
  bool Hex4(uint32_t* v) {
    if (m_pos + 4 > m_s.size()) return false;
    *v = 0;
    for (int i = 0; i < 4; ++i) {
      char c = m_s[m_pos++];
      int d = (c >= '0' && c <= '9')   ? c - '0'
              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                       : -1;
      if (d < 0) return false;
      *v = *v * 16 + uint32_t(d);
    }
    return true;
  }
  bool String(std::string* out) {
    ++m_pos;  // opening quote
    while (m_pos < m_s.size()) {
      char c = m_s[m_pos++];
      if (c == '"') return true;
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (m_pos >= m_s.size()) return false;
      char e = m_s[m_pos++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          *out += e;
          break;
        case 'b':
          *out += '\b';
          break;
        case 'f':
          *out += '\f';
          break;
        case 'n':
          *out += '\n';
          break;
        case 'r':
          *out += '\r';
          break;
        case 't':
          *out += '\t';
          break;
        case 'u': {
          uint32_t cp;
          if (!Hex4(&cp)) return false;
          if (cp >= 0xD800 && cp < 0xDC00 && m_s.compare(m_pos, 2, "\\u") == 0) {
            m_pos += 2;
            uint32_t lo;
            if (!Hex4(&lo) || lo < 0xDC00 || lo > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
          }
          PutUtf8(out, cp);
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }
  bool Number(double* out) {
    size_t start = m_pos;
    if (m_s[m_pos] == '-') ++m_pos;
    size_t digits = m_pos;
    while (m_pos < m_s.size() && m_s[m_pos] >= '0' && m_s[m_pos] <= '9') ++m_pos;
    if (m_pos == digits) return false;
    if (m_pos < m_s.size() && m_s[m_pos] == '.') {
      ++m_pos;
      size_t frac = m_pos;
      while (m_pos < m_s.size() && m_s[m_pos] >= '0' && m_s[m_pos] <= '9') ++m_pos;
      if (m_pos == frac) return false;
    }
    if (m_pos < m_s.size() && (m_s[m_pos] == 'e' || m_s[m_pos] == 'E')) {
      ++m_pos;
      if (m_pos < m_s.size() && (m_s[m_pos] == '+' || m_s[m_pos] == '-')) ++m_pos;
      size_t exp = m_pos;
      while (m_pos < m_s.size() && m_s[m_pos] >= '0' && m_s[m_pos] <= '9') ++m_pos;
      if (m_pos == exp) return false;
    }
    *out = strtod(m_s.substr(start, m_pos - start).c_str(), nullptr);
    return true;
  }
  bool Value(JsonValue* out, int depth) {
    if (depth > 64 || !Skip() || m_pos >= m_s.size()) return false;
    char c = m_s[m_pos];
    if (c == '{') {
      out->type = JsonValue::kObject;
      ++m_pos;
      if (!Skip()) return false;
      if (m_pos < m_s.size() && m_s[m_pos] == '}') return ++m_pos, true;
      for (;;) {
        if (!Skip() || m_pos >= m_s.size() || m_s[m_pos] != '"') return false;
        std::string name;
        if (!String(&name) || !Skip() || m_pos >= m_s.size() || m_s[m_pos] != ':') return false;
        ++m_pos;
        JsonValue v;
        if (!Value(&v, depth + 1)) return false;
        out->members.emplace_back(std::move(name), std::move(v));
        if (!Skip() || m_pos >= m_s.size()) return false;
        if (m_s[m_pos] == ',') {
          ++m_pos;
          continue;
        }
        if (m_s[m_pos] == '}') return ++m_pos, true;
        return false;
      }
    }
    if (c == '[') {
      out->type = JsonValue::kArray;
      ++m_pos;
      if (!Skip()) return false;
      if (m_pos < m_s.size() && m_s[m_pos] == ']') return ++m_pos, true;
      for (;;) {
        JsonValue v;
        if (!Value(&v, depth + 1)) return false;
        out->items.push_back(std::move(v));
        if (!Skip() || m_pos >= m_s.size()) return false;
        if (m_s[m_pos] == ',') {
          ++m_pos;
          continue;
        }
        if (m_s[m_pos] == ']') return ++m_pos, true;
        return false;
      }
    }
    if (c == '"') {
      out->type = JsonValue::kString;
      return String(&out->text);
    }
    if (c == 't' || c == 'f') {
      out->type = JsonValue::kBool;
      out->boolean = c == 't';
      return Literal(c == 't' ? "true" : "false");
    }
    if (c == 'n') return Literal("null");
    out->type = JsonValue::kNumber;
    return Number(&out->number);
  }

  const std::string& m_s;
  size_t m_pos = 0;
};

// A value's integer meaning as the reply's readers take it: null 0, booleans 0/1, numbers
// truncated; texts, containers and numbers beyond int have none.
bool ToInt(const JsonValue* v, int* out) {
  if (!v || v->type == JsonValue::kNull) return *out = 0, true;
  if (v->type == JsonValue::kBool) return *out = v->boolean ? 1 : 0, true;
  if (v->type != JsonValue::kNumber) return false;
  if (!(v->number > -2147483649.0 && v->number < 2147483648.0)) return false;
  *out = int(v->number);
  return true;
}

}  // namespace

bool ParseJson(const std::string& text, JsonValue* out) {
  JsonValue v;
  JsonReader r(text);
  if (!r.Document(&v)) return false;
  *out = std::move(v);
  return true;
}

bool InterpretTierReply(const JsonValue& root, const std::vector<std::string>& seatNames,
                        std::vector<TIER_MATCH>* matches) {
  if (root.type != JsonValue::kObject) return false;
  int code;
  if (!ToInt(root.Find("code"), &code) || code != 0) return false;
  const JsonValue* data = root.Find("data");
  if (!data || data->type != JsonValue::kArray) return true;
  for (const JsonValue& e : data->items) {
    const JsonValue* name = e.Find("username");
    if (!name || name->type != JsonValue::kString || name->text.empty()) continue;
    for (size_t pos = 0; pos < seatNames.size() && pos < 4; ++pos) {
      if (seatNames[pos] != name->text) continue;
      int tier;
      // A tier is a picture index for the view: one that is not a count leaves no mark.
      if (!ToInt(e.Find("levels"), &tier) || tier < 0) tier = 0;
      if (matches) matches->push_back({int(pos), tier, name->text});
      break;
    }
  }
  return true;
}

// ---- ticker ----

std::string CutTickerText(const char* text, size_t length) {
  if (!text) return std::string();
  size_t n = strnlen(text, length < TICKER_TEXT_MAX ? length : TICKER_TEXT_MAX);
  // Walk the double-byte pairs so the cut never leaves a lone lead byte.
  size_t i = 0;
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x81 && c <= 0xFE) {
      if (i + 1 >= n) break;
      i += 2;
    } else {
      ++i;
    }
  }
  return std::string(text, i);
}

void CTickerQueue::Add(TICKER_LINE line) {
  std::lock_guard<std::mutex> g(m_lock);
  m_lines.push_back(std::move(line));
}

bool CTickerQueue::Take(TICKER_LINE* line) {
  std::lock_guard<std::mutex> g(m_lock);
  if (m_lines.empty()) return false;
  *line = std::move(m_lines.front());
  m_lines.pop_front();
  return true;
}

size_t CTickerQueue::Count() const {
  std::lock_guard<std::mutex> g(m_lock);
  return m_lines.size();
}

void CTickerQueue::Clear() {
  std::lock_guard<std::mutex> g(m_lock);
  m_lines.clear();
}

int CTickerMotion::LineX() const {
  int x = m_nWidth - int(m_dOffset);
  return x < -m_line.nWidth ? -m_line.nWidth : x;
}

int CTickerMotion::Tick(CTickerQueue& queue) {
  switch (m_nTimer) {
    case TIMER_WAIT:
      if (queue.Take(&m_line)) {
        m_bHasLine = true;
        m_nTimer = TIMER_OPEN;
      }
      break;
    case TIMER_OPEN: {
      ++m_nStep;
      int h = CurveHeight();
      m_nWindowHeight = h < m_nHeight ? h : m_nHeight;
      if (m_nWindowHeight >= m_nHeight) m_nTimer = TIMER_SCROLL;
      break;
    }
    case TIMER_SCROLL:
      m_dOffset += 1;
      if (LineX() <= -m_line.nWidth) {
        m_dOffset = 0;
        m_line = TICKER_LINE();
        m_bHasLine = queue.Take(&m_line);
        if (!m_bHasLine) m_nTimer = TIMER_CLOSE;
      }
      break;
    case TIMER_CLOSE: {
      if (m_nStep > 0) --m_nStep;
      int h = CurveHeight();
      m_nWindowHeight = h > 0 ? h : 0;
      if (m_nWindowHeight > m_nHeight) m_nWindowHeight = m_nHeight;
      if (m_nWindowHeight == 0) m_nTimer = TIMER_WAIT;
      break;
    }
  }
  return m_nTimer;
}
