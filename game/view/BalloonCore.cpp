#include "BalloonCore.h"

#include <algorithm>

namespace balloon {

namespace {
bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
}  // namespace

std::vector<std::string> WrapGbk(const std::string& text, int bytesPerLine) {
  std::vector<std::string> lines;
  const size_t n = text.size();
  const size_t per = bytesPerLine > 0 ? static_cast<size_t>(bytesPerLine) : 1;
  size_t start = 0;
  while (start < n) {
    // Walk whole characters from the line's start: a pair never splits.
    size_t end = start;
    while (end < n) {
      const size_t len = (IsLead(static_cast<unsigned char>(text[end])) && end + 1 < n) ? 2 : 1;
      if (end + len - start > per) break;
      end += len;
    }
    if (end == start) end = start + ((IsLead(static_cast<unsigned char>(text[start])) && start + 1 < n) ? 2 : 1);
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

Size MeasureBody(const std::string& text, const Metrics& m, std::vector<std::string>* lines) {
  Size s;
  if (lines) lines->clear();
  if (m.unit <= 0) return s;
  const bool oneLine = text.find('\n') != std::string::npos || m.textW <= m.maxW - 2 * m.marginX;
  if (oneLine) {
    if (lines) lines->push_back(text);
    s.w = std::max(m.textW + 2 * m.marginX, m.minW);
    s.h = std::max(m.textH + 2 * m.marginY, m.minH);
    return s;
  }
  const int perLine = std::max(1, (m.maxW - 2 * m.marginX) / m.unit);
  std::vector<std::string> cut = WrapGbk(text, perLine);
  s.w = perLine * m.unit + 2 * m.marginX;
  s.h = static_cast<int>(cut.size()) * (m.textH + m.lineSpacing) + 2 * m.marginY;
  s.h = std::max(s.h, m.minH);
  if (m.maxH >= 0) s.h = std::min(s.h, m.maxH);
  if (lines) *lines = cut;
  return s;
}

void BodyOrigin(int alignment, int x, int y, int w, int h, int* left, int* top) {
  *left = (alignment == 1 || alignment == 3) ? x - w : x;
  *top = (alignment == 2 || alignment == 3) ? y - h : y;
}

int ChoosePlacement(int L, int T, int R, int B, int ax, int ay) {
  if (ax < L) {
    if (ay < T) return T - ay < L - ax ? 3 : 0;
    if (ay > B) return ay - B < L - ax ? 5 : 6;
    return 4;
  }
  if (ax <= R) return ay < T ? 1 : 7;
  if (ay < T) return T - ay < ax - R ? 9 : 2;
  if (ay > B) return ay - B < ax - R ? 11 : 8;
  return 10;
}

void TailBase(int p, int w, int h, int t, int o, int* x1, int* y1, int* x2, int* y2) {
  const int pts[12][4] = {
      {o, 0, o + t, 0},         {w / 2 + o - t / 2, 0, w / 2 + o + t / 2, 0},         {w - o, 0, w - o - t, 0},
      {0, o, 0, o + t},         {0, h / 2 + o - t / 2, 0, h / 2 + o + t / 2},         {0, h - o, 0, h - o - t},
      {o, h - 1, o + t, h - 1}, {w / 2 + o - t / 2, h - 1, w / 2 + o + t / 2, h - 1}, {w - o - t, h - 1, w - o, h - 1},
      {w - 1, o + t, w - 1, o}, {w - 1, h / 2 + o - t / 2, w - 1, h / 2 + o + t / 2}, {w - 1, h - o - t, w - 1, h - o},
  };
  const int* q = pts[(p >= 0 && p < 12) ? p : 7];
  *x1 = q[0];
  *y1 = q[1];
  *x2 = q[2];
  *y2 = q[3];
}

}  // namespace balloon
