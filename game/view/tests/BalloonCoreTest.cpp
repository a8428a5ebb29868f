// The balloon tip's wrapping, sizes and placements.
#include "BalloonCore.h"

#include <gtest/gtest.h>

using namespace balloon;

TEST(Balloon, WrapsOnlyBetweenCharacters) {
  // a 不 b 出 c: single, pair, single, pair, single.
  const std::string t =
      "a\xB2\xBB"
      "b\xB3\xF6"
      "c";
  struct {
    int per;
    std::vector<std::string> lines;
  } cases[] = {
      {2, {"a", "\xB2\xBB", "b", "\xB3\xF6", "c"}},  // a pair never follows a on a 2-byte line
      {3, {"a\xB2\xBB", "b\xB3\xF6", "c"}},
      {4,
       {"a\xB2\xBB"
        "b",
        "\xB3\xF6"
        "c"}},
      {1, {"a", "\xB2\xBB", "b", "\xB3\xF6", "c"}},  // a pair wider than the line still moves on
      {0, {"a", "\xB2\xBB", "b", "\xB3\xF6", "c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(WrapGbk(t, c.per), c.lines) << c.per;
  // Trail bytes that look like lead bytes do not shift the count: the line start decides.
  const std::string pairs = "\xB2\xBB\xB2\xBB\xB2\xBB";
  EXPECT_EQ(WrapGbk(pairs, 3), (std::vector<std::string>{"\xB2\xBB", "\xB2\xBB", "\xB2\xBB"}));
  EXPECT_EQ(WrapGbk("\xB2", 4), (std::vector<std::string>{"\xB2"})) << "a lone lead byte at the end";
}

TEST(Balloon, BodySizes) {
  Metrics m;
  m.unit = 6;
  m.textW = 30;
  m.textH = 12;
  m.minW = 150;
  m.minH = 60;
  m.maxW = 150;
  m.maxH = 300;
  std::vector<std::string> lines;
  Size s = MeasureBody("short", m, &lines);
  EXPECT_EQ(s.w, 150) << "narrower than the minimum: the minimum";
  EXPECT_EQ(s.h, 60);
  EXPECT_EQ(lines.size(), 1u);
  m.textW = 400;
  const std::string longText(66, 'x');
  s = MeasureBody(longText, m, &lines);
  // (150 - 16) / 6 = 22 characters a line: three lines.
  EXPECT_EQ(lines.size(), 3u);
  EXPECT_EQ(s.w, 22 * 6 + 16);
  EXPECT_EQ(s.h, std::max(3 * 14 + 16, 60));
  m.maxH = 40;
  m.minH = 20;
  EXPECT_EQ(MeasureBody(longText, m, &lines).h, 40) << "at most the maximum height";
  m.unit = 0;
  EXPECT_EQ(MeasureBody(longText, m, &lines).w, 0);
}

TEST(Balloon, PlacementsAndTails) {
  // Body (100, 100) - (200, 150).
  struct {
    int ax, ay, placement;
  } cases[] = {
      {50, 90, 3},    {90, 50, 0},    {50, 120, 4},  {50, 160, 5}, {90, 200, 6},
      {150, 50, 1},   {150, 120, 7},  {150, 200, 7}, {210, 50, 2}, {250, 90, 9},
      {250, 120, 10}, {250, 160, 11}, {210, 200, 8}, {90, 90, 0},  // equal gaps: the top side
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChoosePlacement(100, 100, 200, 150, c.ax, c.ay), c.placement) << c.ax << "," << c.ay;
  int x1, y1, x2, y2;
  TailBase(1, 150, 60, 12, 8, &x1, &y1, &x2, &y2);
  EXPECT_EQ(x1, 75 + 8 - 6);
  EXPECT_EQ(x2, 75 + 8 + 6);
  EXPECT_EQ(y1, 0);
  TailBase(11, 150, 60, 12, 8, &x1, &y1, &x2, &y2);
  EXPECT_EQ(x1, 149);
  EXPECT_EQ(y1, 60 - 8 - 12);
  int left, top;
  BodyOrigin(2, 300, 200, 150, 60, &left, &top);
  EXPECT_EQ(left, 300);
  EXPECT_EQ(top, 140) << "alignment 2: the bottom-left corner at the point";
  BodyOrigin(1, 300, 200, 150, 60, &left, &top);
  EXPECT_EQ(left, 150);
  EXPECT_EQ(top, 200);
}
