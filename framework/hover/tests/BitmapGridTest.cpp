// The cells DrawBitmapGrid tiles, as a table.
#include <gtest/gtest.h>

#include "BitmapGrid.h"

TEST(BitmapGrid, KindsAndCoverage) {
  std::vector<GridPiece> p;
  struct Case {
    int w, h, sw, sh;
    GridKind kind;
  } cases[] = {{0, 10, 9, 9, kGridNothing},
               {9, 9, 9, 9, kGridCopy},
               {5, 20, 9, 9, kGridCopy},
               {20, 9, 9, 9, kGridTiled},
               {10, 10, 0, 9, kGridNothing}};
  for (const Case& c : cases) EXPECT_EQ(BitmapGridPieces(c.w, c.h, c.sw, c.sh, &p), c.kind) << c.w << "x" << c.h;
  // 20 wide from a 9-wide source in thirds of 3: first at 0, middles at 3..14, last at 17.
  ASSERT_EQ(BitmapGridPieces(20, 9, 9, 9, &p), kGridTiled);
  std::vector<int> xs;
  for (const GridPiece& g : p)
    if (g.y == 0) xs.push_back(g.x);
  EXPECT_EQ(xs, (std::vector<int>{0, 3, 6, 9, 12, 15, 17}));
  EXPECT_EQ(p.back().srcX, 6) << "the far edge takes the last third";
  // Every destination pixel is covered.
  ASSERT_EQ(BitmapGridPieces(31, 17, 10, 7, &p), kGridTiled);
  std::vector<int> cover(31 * 17, 0);
  for (const GridPiece& g : p)
    for (int y = g.y; y < g.y + g.srcH && y < 17; ++y)
      for (int x = g.x; x < g.x + g.srcW && x < 31; ++x) cover[y * 31 + x] = 1;
  for (int v : cover) EXPECT_EQ(v, 1);
}
