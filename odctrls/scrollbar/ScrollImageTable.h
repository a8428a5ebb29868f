// Where every part of the skinned scroll bar sits in its image strip, by state row and
// orientation, and how the thumb's three pieces cover it. Portable.
#pragma once

namespace odscroll {

struct SrcRect {
  int x = 0, y = 0, w = 0, h = 0;
};

enum ImagePart {
  IMG_ARROW1,
  IMG_ARROW2,
  IMG_THUMB_START,
  IMG_THUMB_MIDDLE,
  IMG_THUMB_END,
  IMG_TRACK,
  IMG_SIZEBOX,       // vertical bar on the right
  IMG_SIZEBOX_LEFT,  // vertical bar on the left
  IMG_PART_COUNT
};

// a: width of a horizontal arrow or thumb cell, b: height of the horizontal cells, c: width
// of the vertical cells, d: height of a vertical arrow or thumb cell (negative counts as 0).
// Rows 0 normal, 1 hot, 2 pressed.
struct ImageTable {
  SrcRect parts[2][3][IMG_PART_COUNT];  // [vertical][row][part]
  int a = 0, b = 0, c = 0, d = 0;
  const SrcRect& Get(bool vertical, int row, ImagePart part) const { return parts[vertical ? 1 : 0][row][part]; }
};

ImageTable BuildImageTable(int a, int b, int c, int d);

// The row a draw request's flags pick: pressed (bit 0), else hot (bit 1), else normal.
int ImageRow(unsigned flags);

// The thumb's pieces along its length: start cap, stretched middle, end cap, each as
// [start, end) from `start`; a piece with nothing to cover has start == end. The caps take
// ceil(cell / 2) each, cut where the thumb is shorter than a cell.
struct ThumbSpans {
  int cap1[2], middle[2], cap2[2];
};
ThumbSpans ThumbPieces(int start, int length, int cell);

}  // namespace odscroll
