// The skinned scroll bar's arithmetic: range and page, thumb size and place, hits, drags
// and auto-repeat on a fake clock.
#include "ScrollGeometry.h"

#include <gtest/gtest.h>

using namespace odscroll;

namespace {

TEST(ScrollState, RangeAndPage) {
  ScrollState s;
  s.SetPage(10);
  EXPECT_TRUE(s.SetRange(0, 100));
  EXPECT_EQ(s.MaxPos(), 91);
  EXPECT_EQ(s.ReportedMax(), 100);
  EXPECT_EQ(s.ThumbMode(), 2);
  EXPECT_EQ(s.ThumbValue(), 9) << "10 x 100 / 101";
  s.SetPos(500);
  EXPECT_EQ(s.Pos(), 91);
  s.SetPos(-5);
  EXPECT_EQ(s.Pos(), 0);
  s.SetPage(20);
  EXPECT_EQ(s.MaxPos(), 81);
  ScrollState empty;
  EXPECT_FALSE(empty.SetRange(0, 0));
  EXPECT_EQ(empty.Page(), 0);
  ScrollState fixed;
  fixed.SetFixedThumb(30);
  fixed.SetRange(0, 100);
  EXPECT_EQ(fixed.ThumbMode(), 1);
  EXPECT_EQ(fixed.ThumbValue(), 30);
  ScrollState huge;
  huge.SetPage(0x7FFFFFFF);
  huge.SetRange(-0x7FFFFFFF, 0x7FFFFFFF);
  EXPECT_GE(huge.MaxPos(), huge.Min());
}

TEST(ScrollState, ThumbPlacesAndHits) {
  struct Case {
    int min, max, page, pos, length, arrow;
    int thumbStart, thumbLen;
  } cases[] = {
      {0, 100, 10, 0, 226, 13, 13, 18},       // 9 % of 200
      {0, 100, 10, 91, 226, 13, 195, 18},     // at the end
      {0, 100, 100, 0, 226, 13, 13, 198},     // 99 % of the track
      {0, 100, 101, 0, 226, 13, 13, 200},     // the page covers everything
      {0, 1000, 1, 500, 60, 13, 13 + 13, 8},  // never below the minimum thumb
      {0, 100, 10, 50, 10, 13, 5, 0},         // a bar shorter than its arrows
      {0, 100, 10, 50, 0, 13, 0, 0},
  };
  for (const auto& c : cases) {
    ScrollState s;
    s.SetPage(c.page);
    s.SetRange(c.min, c.max);
    s.SetPos(c.pos);
    Layout l = s.Place(c.length, c.arrow, s.Pos(), 17);
    EXPECT_EQ(l.thumb.end - l.thumb.start, c.thumbLen) << c.length << " " << c.pos;
    if (c.length == 60) {
      EXPECT_GE(l.thumb.start, l.track.start);
      EXPECT_LE(l.thumb.end, l.track.end);
    } else {
      EXPECT_EQ(l.thumb.start, c.thumbStart) << c.length << " " << c.pos;
    }
    EXPECT_GE(l.before.end - l.before.start, 0);
    EXPECT_GE(l.after.end - l.after.start, 0);
  }
  ScrollState s;
  s.SetPage(10);
  s.SetRange(0, 100);
  s.SetPos(45);
  Layout l = s.Place(226, 13, s.Pos(), 17);
  EXPECT_EQ(s.HitTest(l, 5, false), HIT_ARROW1);
  EXPECT_EQ(s.HitTest(l, 220, true), HIT_ARROW2 + VERT_OFFSET);
  EXPECT_EQ(s.HitTest(l, l.thumb.start, false), HIT_THUMB);
  EXPECT_EQ(s.HitTest(l, 20, false), HIT_TRACK1);
  EXPECT_EQ(s.HitTest(l, 210, true), HIT_TRACK2 + VERT_OFFSET);
  EXPECT_EQ(s.HitTest(l, 300, false), HIT_NONE);
}

TEST(ScrollState, DraggingNeverLeavesTheRange) {
  ScrollState s;
  s.SetPage(10);
  s.SetRange(0, 100);
  Layout l = s.Place(226, 13, 0, 17);
  EXPECT_EQ(s.DragPos(l, -500, 0, 13), 0);
  EXPECT_EQ(s.DragPos(l, 5000, 0, 13), 91);
  EXPECT_EQ(s.DragPos(l, 13 + 91, 0, 13), 45);
  ScrollState full;
  full.SetPage(101);
  full.SetRange(0, 100);
  Layout fl = full.Place(226, 13, 0, 17);
  EXPECT_EQ(full.DragPos(fl, 100, 0, 13), 0) << "no room to drag: no division by zero";
}

TEST(ScrollRepeater, OnceAtOnceThenAfter430ThenEvery50) {
  Repeater r;
  EXPECT_EQ(r.Due(0), 0);
  r.Press(1000);
  EXPECT_EQ(r.Due(1429), 0);
  EXPECT_EQ(r.Due(1430), 1);
  EXPECT_EQ(r.Due(1479), 0);
  EXPECT_EQ(r.Due(1530), 2);
  r.Release();
  EXPECT_EQ(r.Due(5000), 0);
  r.Press(0xFFFFFF00u);  // the tick count wraps
  EXPECT_EQ(r.Due(0xFFFFFF00u + 430), 1);
  EXPECT_EQ(r.Due(0x000000DFu), 0);
  EXPECT_EQ(r.Due(0x000000E0u), 1);
}

}  // namespace
