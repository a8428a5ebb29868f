// Column dragging arithmetic: where a column lands, the order after the drop, the marker.
#include "HeaderDrag.h"

#include <gtest/gtest.h>

using namespace odheader;

namespace {

const std::vector<DragItem> kItems = {{0, 100}, {100, 150}, {150, 300}};

TEST(HeaderDrag, DropIndexFollowsTheItemHalves) {
  struct Case {
    int x, expected;
  } cases[] = {{0, 0}, {50, 0}, {51, 1}, {99, 1}, {100, 1}, {126, 2}, {299, 3}, {300, -1}, {-1, -1}};
  for (const Case& c : cases) EXPECT_EQ(DropIndexAt(kItems, c.x), c.expected) << "x " << c.x;
  EXPECT_EQ(DropIndexAt({}, 10), -1);
}

TEST(HeaderDrag, OwnPlaceAndJustRightOfItDoNotReorder) {
  struct Case {
    int drop, dragged, expected;
  } cases[] = {{1, 1, -1}, {2, 1, -1}, {0, 1, 0}, {3, 1, 3}, {-1, 0, -1}};
  for (const Case& c : cases) EXPECT_EQ(EffectiveDropIndex(c.drop, c.dragged), c.expected);
}

TEST(HeaderDrag, MoveInOrderPlacesTheColumnAtTheDivider) {
  struct Case {
    const char* what;
    int dragged, drop;
    std::vector<int> expected;
  } cases[] = {
      {"first to the end", 0, 4, {1, 2, 3, 0}},     {"last to the front", 3, 0, {3, 0, 1, 2}},
      {"right over one", 1, 3, {0, 2, 1, 3}},       {"left over one", 2, 1, {0, 2, 1, 3}},
      {"dragged out of range", 4, 0, {0, 1, 2, 3}}, {"drop out of range", 0, 5, {0, 1, 2, 3}},
      {"negative drop", 0, -1, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) EXPECT_EQ(MoveInOrder({0, 1, 2, 3}, c.dragged, c.drop), c.expected) << c.what;
}

TEST(HeaderDrag, DragStartsOutsideTheSystemRectangle) {
  EXPECT_FALSE(LeftDragRect(10, 10, 12, 12, 4, 4));
  EXPECT_TRUE(LeftDragRect(10, 10, 13, 10, 4, 4));
  EXPECT_TRUE(LeftDragRect(10, 10, 10, 7, 4, 4));
}

TEST(HeaderDrag, MarkerShapeAndPlace) {
  MarkerPoint down[7], up[7];
  MarkerArrows(20, down, up);
  EXPECT_EQ(MarkerHeight(20), 40);
  EXPECT_EQ(down[3].x, 6);  // the tip of the downward arrow
  EXPECT_EQ(down[3].y, 9);
  EXPECT_EQ(up[3].y, 30);  // the tip of the upward arrow, H - 10
  EXPECT_EQ(up[0].y, 40);
  int x = 0;
  EXPECT_TRUE(MarkerX(kItems, 0, &x));
  EXPECT_EQ(x, -1);
  EXPECT_TRUE(MarkerX(kItems, 2, &x));
  EXPECT_EQ(x, 149);
  EXPECT_TRUE(MarkerX(kItems, 3, &x));
  EXPECT_EQ(x, 300);
  EXPECT_FALSE(MarkerX(kItems, 4, &x));
  EXPECT_FALSE(MarkerX(kItems, -1, &x));
}

}  // namespace
