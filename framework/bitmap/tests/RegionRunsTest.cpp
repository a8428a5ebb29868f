// Shapes from keyed pictures and the nine-cell and tile layout.
#include "NineCell.h"
#include "RegionRuns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Rows written as text: '.' is the key colour, anything else a shape pixel.
std::vector<uint16_t> Pixels(const std::vector<std::string>& rows) {
  std::vector<uint16_t> px;
  for (const auto& r : rows)
    for (char c : r) px.push_back(c == '.' ? 0xF81F : 0x1234);
  return px;
}

std::vector<RunRect> Runs(const std::vector<std::string>& rows) {
  auto px = Pixels(rows);
  return KeyedRuns(px.data(), static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), rows[0].size(), 0xF81F);
}

TEST(RegionRuns, RunsKeepEveryPixel) {
  EXPECT_TRUE(Runs({"....", "...."}).empty());
  EXPECT_EQ(Runs({".##."}), (std::vector<RunRect>{{1, 0, 3, 1}}));
  EXPECT_EQ(Runs({".#.."}), (std::vector<RunRect>{{1, 0, 2, 1}}));  // one pixel counts
  EXPECT_EQ(Runs({"..##"}), (std::vector<RunRect>{{2, 0, 4, 1}}));  // up to the row's end
  EXPECT_EQ(Runs({"#..#"}), (std::vector<RunRect>{{0, 0, 1, 1}, {3, 0, 4, 1}}));
  EXPECT_EQ(Runs({"####", ".##.", "...."}), (std::vector<RunRect>{{0, 0, 4, 1}, {1, 1, 3, 2}}));
}

TEST(RegionRuns, RoundedCornerShape) {
  auto runs = Runs({"..####..", ".######.", "########", "########"});
  ASSERT_EQ(runs.size(), 4u);
  int area = 0;
  for (const auto& r : runs) area += (r.right - r.left) * (r.bottom - r.top);
  EXPECT_EQ(area, 4 + 6 + 8 + 8);
}

TEST(RegionRuns, StrideLongerThanTheRow) {
  std::vector<uint16_t> px = {1, 0, 7, 7, 0, 1, 7, 7};  // two rows of 2 pixels, stride 4
  EXPECT_EQ(KeyedRuns(px.data(), 2, 2, 4, 0), (std::vector<RunRect>{{0, 0, 1, 1}, {1, 1, 2, 2}}));
  EXPECT_TRUE(KeyedRuns(nullptr, 2, 2, 4, 0).empty());
  EXPECT_TRUE(KeyedRuns(px.data(), 0, 2, 4, 0).empty());
}

TEST(RegionRuns, NegativeKeyPointMeansLastColumnOrRow) {
  int x = -1, y = -1;
  ResolveKeyPoint(10, 6, &x, &y);
  EXPECT_EQ(x, 9);
  EXPECT_EQ(y, 5);
  x = 3, y = 2;
  ResolveKeyPoint(10, 6, &x, &y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 2);
  x = 40, y = 0;  // past the picture: the last column too, never outside
  ResolveKeyPoint(10, 6, &x, &y);
  EXPECT_EQ(x, 9);
}

TEST(NineCell, PiecesCoverTheInflatedRectangle) {
  auto p = NineCellPieces(10, 20, 110, 70, 2, 30, 15, true);  // cells 10 x 5, area 104 x 54 from (8, 18)
  ASSERT_EQ(p.size(), 9u);
  EXPECT_EQ(p[0].x, 8);
  EXPECT_EQ(p[0].y, 18);
  EXPECT_EQ(p[1].x, 18);
  EXPECT_EQ(p[1].w, 84);
  EXPECT_EQ(p[2].x, 8 + 104 - 10);
  EXPECT_EQ(p[4].srcX, 10);
  EXPECT_EQ(p[4].srcY, 5);
  EXPECT_EQ(p[4].h, 44);
  EXPECT_EQ(p[8].x, 102);
  EXPECT_EQ(p[8].y, 18 + 54 - 5);
  long area = 0;
  for (const auto& c : p) area += static_cast<long>(c.w) * c.h;
  EXPECT_EQ(area, 104L * 54);
}

TEST(NineCell, CentreOnlyWhenAskedAndNothingForTinyPictures) {
  EXPECT_EQ(NineCellPieces(0, 0, 100, 100, 0, 30, 30, false).size(), 8u);
  EXPECT_TRUE(NineCellPieces(0, 0, 100, 100, 0, 2, 30, true).empty());
  EXPECT_TRUE(NineCellPieces(0, 0, 100, 100, 0, 30, 0, true).empty());
  EXPECT_EQ(NineCellPieces(0, 0, 20, 20, 0, 30, 30, true).size(), 4u);  // only the corners fit
}

TEST(NineCell, TilesStopAtTheAreaAndRefuseEmptyCells) {
  auto t = TileOrigins(5, 5, 25, 10, 10, 6);
  ASSERT_EQ(t.size(), 6u);
  EXPECT_EQ(t[2].x, 25);
  EXPECT_EQ(t[3].y, 11);
  EXPECT_TRUE(TileOrigins(0, 0, 100, 100, 0, 10).empty());
  EXPECT_TRUE(TileOrigins(0, 0, 100, 100, 10, 0).empty());
  EXPECT_TRUE(TileOrigins(0, 0, 0, 100, 10, 10).empty());
}

}  // namespace
