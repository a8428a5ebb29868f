// The main window's size rules: the screen's class, the fixed window size on screens with
// and without task bars, the large-card rule and the saved placement text.
#include <gtest/gtest.h>

#include "FrameRules.h"

using namespace frame;

TEST(FrameRules, WindowSizeFollowsTheScreenAndItsTaskBars) {
  struct Case {
    int screenW, screenH, uncovered;
    int sizeClass, w, h, pane;
  } cases[] = {
      {1366, 768, 30, 2, 1024, 738, 240},   // a laptop screen with its task bar
      {1024, 768, 0, 2, 1024, 768, 240},    // a work area as large as the screen
      {1280, 1024, 40, 2, 1024, 738, 240},  // a tall screen: the task bar does not matter
      {1023, 768, 0, 1, 800, 600, 160},     // one pixel too narrow
      {1280, 767, 0, 1, 800, 600, 160},     // one pixel too short
      {800, 600, 28, 1, 800, 572, 160},    {1000, 900, 28, 1, 800, 570, 160},  // narrow but taller than 800
      {1024, 768, -5, 2, 1024, 768, 240},                                      // a work area reported beyond the screen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.screenW << "x" << c.screenH << " less " << c.uncovered);
    int k = ScreenSizeClass(c.screenW, c.screenH);
    EXPECT_EQ(k, c.sizeClass);
    Size s = FixedWindowSize(k, c.screenH, c.uncovered);
    EXPECT_EQ(s.w, c.w);
    EXPECT_EQ(s.h, c.h);
    EXPECT_EQ(RightPaneWidth(k), c.pane);
  }
}

TEST(FrameRules, LargeCardsOnlyAbove1024By738) {
  EXPECT_FALSE(LargeCardsFor(1024, 800));
  EXPECT_FALSE(LargeCardsFor(1200, 738));
  EXPECT_TRUE(LargeCardsFor(1025, 739));
}

TEST(FrameRules, SavedPlacementRoundTripsAndBadTextChangesNothing) {
  SavedPlacement p;
  ASSERT_TRUE(ParseWindowPos("0,1,-1,-1,-8,-8,100,50,1124,788,1024,741", p));
  EXPECT_EQ(p.showCmd, 1u);
  EXPECT_EQ(p.maxX, -8);
  EXPECT_EQ(p.left, 100);
  EXPECT_EQ(p.bottom, 788);
  EXPECT_EQ(p.fullH, 741);
  EXPECT_EQ(FormatWindowPos(p), "0,1,-1,-1,-8,-8,100,50,1124,788,1024,741");
  // The screen metrics are only a record: ten numbers are enough.
  ASSERT_TRUE(ParseWindowPos("0,1,0,0,0,0,7,8,9,10", p));
  EXPECT_EQ(p.left, 7);
  EXPECT_EQ(p.fullW, 0);
  for (const char* bad : {"", "0,1,2", "garbage", "0,1,0,0,0,0,7,8,9"}) {
    SavedPlacement q;
    q.left = 42;
    EXPECT_FALSE(ParseWindowPos(bad, q)) << bad;
    EXPECT_EQ(q.left, 42) << bad;
  }
  EXPECT_FALSE(ParseWindowPos(nullptr, p));
}
