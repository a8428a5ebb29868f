#include "NineCell.h"

std::vector<CellPiece> NineCellPieces(int left, int top, int right, int bottom, int inflate, int imageW, int imageH,
                                      bool fillCentre) {
  std::vector<CellPiece> out;
  const int cw = imageW / 3, ch = imageH / 3;
  if (cw <= 0 || ch <= 0) return out;
  const int x = left - inflate, y = top - inflate;
  const int W = right - left + 2 * inflate, H = bottom - top + 2 * inflate;
  const int midW = W - 2 * cw, midH = H - 2 * ch;
  auto add = [&](int col, int row, int dx, int dy, int dw, int dh) {
    if (dw > 0 && dh > 0) out.push_back({col * cw, row * ch, cw, ch, x + dx, y + dy, dw, dh});
  };
  add(0, 0, 0, 0, cw, ch);
  add(1, 0, cw, 0, midW, ch);
  add(2, 0, W - cw, 0, cw, ch);
  add(0, 1, 0, ch, cw, midH);
  if (fillCentre) add(1, 1, cw, ch, midW, midH);
  add(2, 1, W - cw, ch, cw, midH);
  add(0, 2, 0, H - ch, cw, ch);
  add(1, 2, cw, H - ch, midW, ch);
  add(2, 2, W - cw, H - ch, cw, ch);
  return out;
}

std::vector<TileOrigin> TileOrigins(int x, int y, int w, int h, int cw, int ch) {
  std::vector<TileOrigin> out;
  if (cw <= 0 || ch <= 0 || w <= 0 || h <= 0) return out;
  for (long long ty = y; ty < static_cast<long long>(y) + h; ty += ch)
    for (long long tx = x; tx < static_cast<long long>(x) + w; tx += cw)
      out.push_back({static_cast<int>(tx), static_cast<int>(ty)});
  return out;
}
