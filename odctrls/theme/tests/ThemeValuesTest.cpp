#include <gtest/gtest.h>

#include "ThemeValues.h"

using namespace vesk::odtheme;

TEST(ThemeValues, ColourAndIntegerForms) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {
      {"#255#0#0", 0x000000FF},
      {"#300#0#0", 0x0000002C},
      {"#12", 0x0000000C},
      {"#1#2#3", 0x00030201},
      {"#-1#0#0", 0x000000FF},
      {"#10#x#5", 0x0000000A},
      {"#", 0},
      {"16711680", 0x00FF0000},
      {"abc", 0},
      {"-5", -5},
      {" 42px", 42},
      {"4294967295", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ParseColorOrInt(c.text, 777)) << c.text;
  (void)ParseColorOrInt("#99999999999999999999999#1", 0);  // wraps, no overflow fault
  EXPECT_EQ(777, ParseColorOrInt("", 777));
  EXPECT_EQ(777, ParseColorOrInt(nullptr, 777));
}

TEST(ThemeValues, Points) {
  int x = 9, y = 9;
  EXPECT_TRUE(ParsePoint("(3,4)", &x, &y));
  EXPECT_EQ(3, x);
  EXPECT_EQ(4, y);
  EXPECT_TRUE(ParsePoint("( -7 , 8)", &x, &y));  // blanks before the comma stop the scan
  EXPECT_EQ(-7, x);
  EXPECT_EQ(0, y);
  EXPECT_TRUE(ParsePoint("junk", &x, &y));
  EXPECT_EQ(0, x);
  EXPECT_EQ(0, y);
  x = y = 5;
  EXPECT_FALSE(ParsePoint("", &x, &y));
  EXPECT_EQ(5, x);
  EXPECT_EQ(5, y);
}

TEST(ThemeValues, SplitCountsEveryPieceButFillsOnlyCount) {
  std::vector<std::string> p;
  EXPECT_EQ(4, SplitString(',', "a,b,,d", 2, &p));
  ASSERT_EQ(2u, p.size());
  EXPECT_EQ("a", p[0]);
  EXPECT_EQ("b", p[1]);
  EXPECT_EQ(0, SplitString(',', "a,b", 0, &p));
  EXPECT_EQ(1, SplitString(',', "", 3, &p));
  // A piece longer than its buffer is cut, never overrun.
  EXPECT_EQ(2, SplitString(',', (std::string(600, 'x') + ",y").c_str(), 7, &p));
  EXPECT_EQ(511u, p[0].size());
  EXPECT_EQ("y", p[1]);
}

TEST(ThemeValues, ImageSpecs) {
  ImageSpec s;
  ASSERT_TRUE(ParseImageSpec("0,120,0,4,4,1", &s));
  EXPECT_EQ(0, s.kind);
  EXPECT_EQ(120, s.bitmapId);
  EXPECT_EQ(0, s.keySelector);
  EXPECT_EQ(4, s.cellCount);
  EXPECT_EQ(4, s.stateCount);
  EXPECT_EQ(1, s.framesPerState);
  EXPECT_EQ(0, s.extraValue);

  ASSERT_TRUE(ParseImageSpec("0,120", &s));
  EXPECT_EQ(120, s.bitmapId);
  EXPECT_EQ(-1, s.keySelector);
  EXPECT_EQ(1, s.cellCount);
  EXPECT_EQ(1, s.stateCount);

  ASSERT_TRUE(ParseImageSpec("0,7,,3,,,9", &s));  // empty fields keep their defaults
  EXPECT_EQ(-1, s.keySelector);
  EXPECT_EQ(3, s.cellCount);
  EXPECT_EQ(1, s.stateCount);
  EXPECT_EQ(9, s.extraValue);

  ASSERT_TRUE(ParseImageSpec("1, pics\\run.gif ", &s));
  EXPECT_EQ(1, s.kind);
  EXPECT_EQ(" pics\\run.gif ", s.gifPath);

  for (const char* bad : {"", "0", "2,120", "-1,3", "7"}) EXPECT_FALSE(ParseImageSpec(bad, &s)) << bad;
}

TEST(ThemeValues, ResFilePath) {
  EXPECT_EQ("C:\\share\\odctrls\\Tessaly.dll", ResolveResFile("C:\\share\\odctrls\\vesk_skn.ini", "Tessaly.dll"));
  EXPECT_EQ("skins\\res.dll", ResolveResFile("C:\\share\\odctrls\\vesk_skn.ini", "skins\\res.dll"));
  EXPECT_EQ("Tessaly.dll", ResolveResFile("vesk_skn.ini", "Tessaly.dll"));
}

TEST(ThemeValues, KeyCornersAndFrames) {
  int x = -1, y = -1;
  EXPECT_TRUE(KeyCorner(2, 40, 10, &x, &y));
  EXPECT_EQ(39, x);
  EXPECT_EQ(0, y);
  EXPECT_TRUE(KeyCorner(3, 40, 10, &x, &y));
  EXPECT_EQ(9, y);
  EXPECT_FALSE(KeyCorner(4, 40, 10, &x, &y));
  EXPECT_FALSE(KeyCorner(0, 0, 10, &x, &y));

  // One row of 4 states with 2 frames each, cells 10 x 8.
  CellRect r = FrameRect(10, 8, 4, 2, false, 2, 1);
  EXPECT_EQ(50, r.left);
  EXPECT_EQ(60, r.right);
  EXPECT_EQ(8, r.bottom);
  r = FrameRect(10, 8, 4, 2, false, 4, 0);  // equal to the state count: state 0
  EXPECT_EQ(0, r.left);
  r = FrameRect(10, 8, 4, 2, true, 3, 1);
  EXPECT_EQ(10, r.left);
  EXPECT_EQ(24, r.top);
}

TEST(ThemeValues, TileOrigins) {
  auto t = TileOrigins(25, 12, 10, 10);
  std::vector<std::pair<int, int>> want = {{0, 0}, {10, 0}, {20, 0}, {0, 10}, {10, 10}, {20, 10}};
  EXPECT_EQ(want, t);
  EXPECT_TRUE(TileOrigins(25, 12, 0, 10).empty());
}
