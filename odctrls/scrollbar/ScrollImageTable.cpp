#include "ScrollImageTable.h"

#include <algorithm>

namespace odscroll {

ImageTable BuildImageTable(int a, int b, int c, int d) {
  ImageTable t;
  a = std::max(a, 0), b = std::max(b, 0), c = std::max(c, 0), d = std::max(d, 0);
  t.a = a, t.b = b, t.c = c, t.d = d;
  const int h0 = 4 * c, half = a / 2, vhalf = d / 2;
  for (int r = 0; r < 3; ++r) {
    SrcRect* hz = t.parts[0][r];
    hz[IMG_ARROW1] = {h0, r * b, a, b};
    hz[IMG_ARROW2] = {h0 + a, r * b, a, b};
    hz[IMG_THUMB_START] = {h0 + 2 * a, r * b, half, b};
    hz[IMG_THUMB_MIDDLE] = {h0 + 2 * a + half, r * b, 1, b};
    hz[IMG_THUMB_END] = {h0 + 2 * a + half, r * b, half, b};
    hz[IMG_TRACK] = {h0 + 3 * a, r * b, 1, b};
    SrcRect* vt = t.parts[1][r];
    vt[IMG_ARROW1] = {0, r * d, c, d};
    vt[IMG_ARROW2] = {c, r * d, c, d};
    vt[IMG_THUMB_START] = {2 * c, r * d, c, vhalf};
    vt[IMG_THUMB_MIDDLE] = {2 * c, r * d + vhalf, c, 1};
    vt[IMG_THUMB_END] = {2 * c, r * d + vhalf, c, vhalf};
    vt[IMG_TRACK] = {3 * c, r * d, c, 1};
    // The size box column holds one cell per side the vertical bar may take; both bars
    // draw it from there.
    for (SrcRect* side : {hz, vt}) {
      side[IMG_SIZEBOX] = {h0 + 4 * a, 0, c, b};
      side[IMG_SIZEBOX_LEFT] = {h0 + 4 * a, b, c, b};
    }
  }
  return t;
}

int ImageRow(unsigned flags) { return (flags & 1) ? 2 : (flags & 2) ? 1 : 0; }

ThumbSpans ThumbPieces(int start, int length, int cell) {
  length = std::max(length, 0);
  const int cap = std::min((std::max(cell, 0) + 1) / 2, length);
  const int end = start + length;
  const int cap2Start = std::max(start + cap, end - cap);
  ThumbSpans s;
  s.cap1[0] = start, s.cap1[1] = start + cap;
  s.middle[0] = start + cap, s.middle[1] = cap2Start;
  s.cap2[0] = cap2Start, s.cap2[1] = end;
  return s;
}

}  // namespace odscroll
