#include "BitmapGrid.h"

namespace {
// Cells along one direction: (source offset, source size, destination offset) for each
// copy. A direction no larger than the source is one copy of the whole source.
struct Span {
  int src, size, dst;
};

std::vector<Span> Spans(int d, int s) {
  std::vector<Span> out;
  if (d <= s || s < 3) {
    out.push_back({0, s, 0});
    return out;
  }
  const int third = s / 3, last = s - 2 * third;
  out.push_back({0, third, 0});
  // The middle third repeats until the last third fits at the far edge.
  for (int x = third; x < d - last; x += third) out.push_back({third, third, x});
  out.push_back({2 * third, last, d - last});
  return out;
}
}  // namespace

GridKind BitmapGridPieces(int w, int h, int sw, int sh, std::vector<GridPiece>* pieces) {
  pieces->clear();
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return kGridNothing;
  if ((w == sw && h == sh) || w < sw || h < sh) return kGridCopy;
  for (const Span& row : Spans(h, sh))
    for (const Span& col : Spans(w, sw)) pieces->push_back({col.src, row.src, col.size, row.size, col.dst, row.dst});
  return kGridTiled;
}
