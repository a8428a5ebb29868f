// The cell layout of DrawBitmapGrid: a source picture cut into thirds and tiled over a
// larger destination (first third along the near edges, last third along the far edges,
// the middle third between). Portable so the arithmetic is tested without a display.
#pragma once
#include <vector>

struct GridPiece {
  int srcX, srcY, srcW, srcH;  // source cell
  int x, y;                    // destination of one copy of the cell (clipped by the caller)
};

enum GridKind { kGridNothing, kGridCopy, kGridTiled };

// kGridNothing for a zero size; kGridCopy (one plain copy at the source's size) for equal
// sizes or a destination smaller than the source; else the tiled pieces.
GridKind BitmapGridPieces(int w, int h, int sw, int sh, std::vector<GridPiece>* pieces);
