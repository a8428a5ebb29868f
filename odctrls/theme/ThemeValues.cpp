#include "ThemeValues.h"

namespace vesk {
namespace odtheme {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Like %d: blanks, an optional sign, at least one digit. The value wraps modulo 2^64 so
// overlong numbers are defined; callers keep only the low bits they need.
bool ScanDecimal(const char*& p, uint64_t* out) {
  const char* s = p;
  while (IsBlank(*s)) ++s;
  bool neg = false;
  if (*s == '+' || *s == '-') {
    neg = *s == '-';
    ++s;
  }
  if (*s < '0' || *s > '9') return false;
  uint64_t v = 0;
  while (*s >= '0' && *s <= '9') {
    v = v * 10u + uint64_t(*s - '0');
    ++s;
  }
  *out = neg ? uint64_t(0) - v : v;
  p = s;
  return true;
}

int Low32(uint64_t v) { return int(int32_t(uint32_t(v & 0xFFFFFFFFu))); }

}  // namespace

int ParseLeadingInt(const char* text) {
  if (!text) return 0;
  uint64_t v = 0;
  return ScanDecimal(text, &v) ? Low32(v) : 0;
}

int ParseColorOrInt(const char* text, int def) {
  if (!text || !*text) return def;
  if (*text != '#') return ParseLeadingInt(text);
  uint32_t parts[3] = {0, 0, 0};
  const char* p = text;
  for (int i = 0; i < 3; ++i) {
    if (*p != '#') break;
    ++p;
    uint64_t v = 0;
    if (!ScanDecimal(p, &v)) break;
    parts[i] = uint32_t(v & 0xFFu);
  }
  return int(parts[0] | (parts[1] << 8) | (parts[2] << 16));
}

bool ParsePoint(const char* text, int* x, int* y) {
  if (!text || !*text) return false;
  int vals[2] = {0, 0};
  const char* p = text;
  if (*p == '(') {
    ++p;
    uint64_t v = 0;
    if (ScanDecimal(p, &v)) {
      vals[0] = Low32(v);
      if (*p == ',') {
        ++p;
        if (ScanDecimal(p, &v)) vals[1] = Low32(v);
      }
    }
  }
  if (x) *x = vals[0];
  if (y) *y = vals[1];
  return true;
}

int SplitString(char separator, const char* text, int count, std::vector<std::string>* pieces, size_t maxLen) {
  if (count <= 0) return 0;
  if (pieces) pieces->assign(size_t(count), std::string());
  if (!text) text = "";
  int found = 0;
  const char* start = text;
  for (const char* p = text;; ++p) {
    if (*p == separator || *p == '\0') {
      if (pieces && found < count) {
        size_t len = size_t(p - start);
        if (maxLen > 0 && len > maxLen - 1) len = maxLen - 1;
        (*pieces)[size_t(found)].assign(start, len);
      }
      ++found;
      if (*p == '\0') break;
      start = p + 1;
    }
  }
  return found;
}

bool ParseImageSpec(const char* text, ImageSpec* spec) {
  if (!text || !*text || !spec) return false;
  std::vector<std::string> f;
  int n = SplitString(',', text, 7, &f);
  if (n < 2) return false;
  int kind = ParseLeadingInt(f[0].c_str());
  if (kind != kImageSpecBitmap && kind != kImageSpecGif) return false;
  ImageSpec s;
  s.kind = kind;
  if (kind == kImageSpecGif) {
    s.gifPath = f[1];
    *spec = s;
    return true;
  }
  // An empty field (",,") keeps its default like an absent one, so a theme author can skip
  // the key colour without naming the top-left corner by accident.
  int* targets[6] = {&s.bitmapId, &s.keySelector, &s.cellCount, &s.stateCount, &s.framesPerState, &s.extraValue};
  for (int i = 1; i < 7 && i < n; ++i)
    if (!f[size_t(i)].empty()) *targets[i - 1] = ParseLeadingInt(f[size_t(i)].c_str());
  *spec = s;
  return true;
}

std::string ResolveResFile(const std::string& iniPath, const std::string& value) {
  if (value.find('\\') != std::string::npos) return value;
  size_t slash = iniPath.rfind('\\');
  if (slash == std::string::npos) return value;
  return iniPath.substr(0, slash + 1) + value;
}

bool KeyCorner(int selector, int width, int height, int* x, int* y) {
  if (width <= 0 || height <= 0) return false;
  int px, py;
  switch (selector) {
    case 0:
      px = 0;
      py = 0;
      break;
    case 1:
      px = 0;
      py = height - 1;
      break;
    case 2:
      px = width - 1;
      py = 0;
      break;
    case 3:
      px = width - 1;
      py = height - 1;
      break;
    default:
      return false;
  }
  if (x) *x = px;
  if (y) *y = py;
  return true;
}

CellRect FrameRect(int cellWidth, int cellHeight, int stateCount, int framesPerState, bool grid, int state, int frame) {
  if (state < 0 || state >= stateCount) state = 0;
  // Unsigned arithmetic: absurd theme counts wrap instead of overflowing.
  auto mul = [](int a, int b) { return uint32_t(a) * uint32_t(b); };
  CellRect r;
  uint32_t left, top;
  if (grid) {
    left = mul(frame, cellWidth);
    top = mul(state, cellHeight);
  } else {
    left = mul(int(uint32_t(frame) + mul(state, framesPerState)), cellWidth);
    top = 0;
  }
  r.left = int(left);
  r.top = int(top);
  r.right = int(left + uint32_t(cellWidth));
  r.bottom = int(top + uint32_t(cellHeight));
  return r;
}

std::vector<std::pair<int, int>> TileOrigins(int width, int height, int tileW, int tileH) {
  std::vector<std::pair<int, int>> out;
  if (width <= 0 || height <= 0 || tileW <= 0 || tileH <= 0) return out;
  for (int y = 0; y < height; y += tileH)
    for (int x = 0; x < width; x += tileW) out.emplace_back(x, y);
  return out;
}

}  // namespace odtheme
}  // namespace vesk
