// The image strip's source table and the thumb's pieces.
#include "ScrollImageTable.h"

#include <gtest/gtest.h>

using namespace odscroll;

namespace {
bool Is(const SrcRect& r, int x, int y, int w, int h) { return r.x == x && r.y == y && r.w == w && r.h == h; }
}  // namespace

TEST(ScrollImageTable, SourceRectanglesByPartRowAndOrientation) {
  const ImageTable t = BuildImageTable(11, 12, 13, 15);  // a, b, c, d
  struct {
    bool vertical;
    int row;
    ImagePart part;
    int x, y, w, h;
  } cases[] = {
      {false, 0, IMG_ARROW1, 52, 0, 11, 12},      {false, 1, IMG_ARROW2, 63, 12, 11, 12},
      {false, 2, IMG_THUMB_START, 74, 24, 5, 12}, {false, 0, IMG_THUMB_MIDDLE, 79, 0, 1, 12},
      {false, 0, IMG_THUMB_END, 79, 0, 5, 12},    {false, 2, IMG_TRACK, 85, 24, 1, 12},
      {false, 0, IMG_SIZEBOX, 96, 0, 13, 12},     {false, 0, IMG_SIZEBOX_LEFT, 96, 12, 13, 12},
      {true, 0, IMG_ARROW1, 0, 0, 13, 15},        {true, 2, IMG_ARROW2, 13, 30, 13, 15},
      {true, 1, IMG_THUMB_START, 26, 15, 13, 7},  {true, 1, IMG_THUMB_MIDDLE, 26, 22, 13, 1},
      {true, 1, IMG_THUMB_END, 26, 22, 13, 7},    {true, 0, IMG_TRACK, 39, 0, 13, 1},
      {true, 2, IMG_SIZEBOX, 96, 0, 13, 12},
  };
  for (const auto& c : cases) {
    const SrcRect& r = t.Get(c.vertical, c.row, c.part);
    EXPECT_TRUE(Is(r, c.x, c.y, c.w, c.h))
        << c.vertical << " " << c.row << " " << c.part << ": " << r.x << "," << r.y << " " << r.w << "x" << r.h;
  }
  const ImageTable n = BuildImageTable(-3, 0, -1, 2);  // negative sizes count as 0
  EXPECT_TRUE(Is(n.Get(false, 1, IMG_ARROW1), 0, 0, 0, 0));
  EXPECT_TRUE(Is(n.Get(true, 2, IMG_THUMB_START), 0, 4, 0, 1));
}

TEST(ScrollImageTable, RowsAndThumbPieces) {
  EXPECT_EQ(ImageRow(0), 0);
  EXPECT_EQ(ImageRow(2), 1);
  EXPECT_EQ(ImageRow(3), 2);
  EXPECT_EQ(ImageRow(4), 0);
  struct {
    int start, length, cell;
    int c1, m0, m1, c2;
  } cases[] = {
      {10, 40, 11, 16, 16, 44, 44},  // ceil(11 / 2) = 6 at each end
      {0, 8, 11, 6, 6, 6, 6},        // shorter than a cell: the caps share it, no middle
      {0, 3, 11, 3, 3, 3, 3},       {5, 0, 11, 5, 5, 5, 5}, {0, 20, 0, 0, 0, 20, 20},  // no caps: all middle
      {0, -4, 11, 0, 0, 0, 0},  // a negative length covers nothing
  };
  for (const auto& c : cases) {
    const ThumbSpans s = ThumbPieces(c.start, c.length, c.cell);
    EXPECT_EQ(s.cap1[1], c.c1) << c.start << " " << c.length;
    EXPECT_EQ(s.middle[0], c.m0) << c.start << " " << c.length;
    EXPECT_EQ(s.middle[1], c.m1) << c.start << " " << c.length;
    EXPECT_EQ(s.cap2[0], c.c2) << c.start << " " << c.length;
    EXPECT_LE(s.cap2[0], s.cap2[1]);
    EXPECT_LE(s.middle[0], s.middle[1]);
  }
}
