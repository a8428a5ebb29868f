// Layout of the nine-cell skin drawing and of tiling: which part of the picture goes
// where. Portable, so the arithmetic is tested without a display.
#pragma once
#include <vector>

struct CellPiece {
  int srcX, srcY, cellW, cellH;  // source cell in the picture
  int x, y, w, h;                // destination area the cell is tiled over
};

// The nine pieces for a picture of imageW x imageH drawn over {left, top, right, bottom}
// grown by `inflate` on every side. The picture is cut into 3 x 3 cells of
// (imageW / 3, imageH / 3); corners keep their size, edges and the centre are tiled.
// Empty when a cell would be zero-sized; pieces with nothing to cover are left out.
std::vector<CellPiece> NineCellPieces(int left, int top, int right, int bottom, int inflate, int imageW, int imageH,
                                      bool fillCentre);

// Origins of the tiles that cover w x h from (x, y) with cells of cw x ch; empty for a
// zero-sized cell (which would never advance).
struct TileOrigin {
  int x, y;
};
std::vector<TileOrigin> TileOrigins(int x, int y, int w, int h, int cw, int ch);
