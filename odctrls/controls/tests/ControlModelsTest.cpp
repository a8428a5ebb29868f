// Progress, scroll, menu, list-box and geometry arithmetic of the controls, as tables.
#include <gtest/gtest.h>

#include "ListBoxModel.h"
#include "MenuLayout.h"
#include "ProgressModel.h"
#include "ScrollModel.h"

using namespace vesk::odctrls;

namespace {
struct Bar : ProgressModel {
  bool agree = true;
  int changed = 0;
  bool OnPosChanging(int, int) override { return agree; }
  void OnPosChanged(int) override { ++changed; }
};
}  // namespace

TEST(ProgressModel, PositionIsClampedAndAsked) {
  Bar b;
  b.SetRange(0, 100);
  struct Case {
    int pos;
    bool force, agree;
    int expect;
  } cases[] = {{150, false, true, 100}, {-5, false, true, 0}, {40, false, false, 0}, {40, true, false, 40}};
  for (const Case& c : cases) {
    b.agree = c.agree;
    b.SetPosition(c.pos, c.force);
    EXPECT_EQ(b.m_pos, c.expect) << c.pos;
  }
  EXPECT_FALSE(b.SetRange(10, 5));
  EXPECT_EQ(b.SetStep(7), 10);
  EXPECT_EQ(b.StepIt(), 40);
  EXPECT_EQ(b.m_pos, 47);
}

TEST(ProgressModel, GrowModeBouncesInsteadOfClamping) {
  Bar b;
  b.SetRange(0, 100);
  b.SetBlockLength(20);
  EXPECT_EQ(b.GrowStep(5, true), 0) << "only in grow mode";
  b.m_style = kProgressGrow;
  b.SetStep(30);
  std::vector<int> seen;
  unsigned dirs = 0;
  for (int i = 0; i < 12; ++i) {
    b.StepIt();
    seen.push_back(b.m_pos);
    dirs |= (b.m_style & kProgressGrowReversed) ? 2 : 1;
    EXPECT_GE(b.m_blockStart, b.m_min);
    EXPECT_LE(b.m_pos, b.m_max);
  }
  EXPECT_EQ(dirs, 3u) << "the direction bit toggles at the end";
  EXPECT_EQ(seen[0], 30);
  EXPECT_EQ(seen[1], 60);
  // Huge steps never overflow.
  b.SetStep(INT32_MAX);
  b.StepIt();
  b.StepIt();
  EXPECT_LE(b.m_pos, b.m_max);
}

TEST(ProgressModel, WaitAndMessageDialogTicks) {
  Bar b;
  b.SetRange(0, 3);
  b.SetStep(1);
  std::vector<int> seen;
  for (int i = 0; i < 8; ++i) {
    WaitDialogTick(2, b);
    seen.push_back(b.m_pos);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 2, 1, 0, 1, 2}));
  Bar w;
  w.SetRange(0, 2);
  w.SetStep(1);
  seen.clear();
  for (int i = 0; i < 4; ++i) {
    WaitDialogTick(0, w);
    seen.push_back(w.m_pos);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 1, 2}));
  int remaining = 3;
  std::string text;
  EXPECT_FALSE(MessageCountdownTick(&remaining, "bye", &text));
  EXPECT_EQ(text, "2 bye");
  EXPECT_FALSE(MessageCountdownTick(&remaining, "bye", &text));
  EXPECT_EQ(text, "1 bye");
  EXPECT_TRUE(MessageCountdownTick(&remaining, "bye", &text));
}

TEST(ScrollModel, SizesBarsCodesAndWheel) {
  ScrollAxis h, v;
  h.total = -500;
  v.total = 1000;
  NormaliseSizes(&h);
  NormaliseSizes(&v);
  EXPECT_EQ(h.total, 500);
  EXPECT_EQ(v.page, 100);
  EXPECT_EQ(v.line, 10);
  // Only the vertical total overflows, but the vertical bar then makes the horizontal needed.
  UpdateBars(&h, &v, 510, 300, 16, 16);
  EXPECT_TRUE(v.bar);
  EXPECT_TRUE(h.bar);
  EXPECT_EQ(v.client, 284);
  v.pos = 5000;
  UpdateBars(&h, &v, 510, 300, 16, 16);
  EXPECT_EQ(v.pos, 1000 - 284);
  struct Code {
    int code, expect;
  } codes[] = {{0, 706}, {1, 726}, {2, 616}, {3, 816}, {5, 42}, {6, 0}, {7, 716}, {8, 716}};
  for (const Code& c : codes) EXPECT_EQ(PositionForCode(v, c.code, 42), c.expect) << c.code;
  EXPECT_FALSE(ScrollBy(&h, &v, 0, 100)) << "already at the bottom";
  EXPECT_TRUE(ScrollBy(&h, &v, 0, -100000));
  EXPECT_EQ(v.pos, 0);
  ScrollAxis none;
  none.total = 10;
  EXPECT_FALSE(ScrollBy(&none, &none, 5, 5)) << "no bar, no move";
  struct Wheel {
    int delta, lines, expect;
  } wheels[] = {{-120, 3, 30}, {120, 3, -30}, {-1200, 100, 100}, {12000, 100, -100}, {120, -1, -100}, {-120, -1, 100}};
  for (const Wheel& w : wheels) EXPECT_EQ(WheelAmount(w.delta, w.lines, v), w.expect) << w.delta;
}

TEST(MenuLayout, LayoutHitTestAndKeys) {
  MenuLayout m;
  m.m_columns = {{MenuEntry{}, MenuEntry{true}, MenuEntry{}}, {MenuEntry{}, MenuEntry{}}};
  m.m_columns[0][0].textWidth = 40;
  m.m_columns[1][1].enabled = false;
  m.Layout();
  EXPECT_EQ(m.m_columnWidth, 4 + 16 + 8 + 40 + 16 + 4);
  EXPECT_EQ(m.m_contentHeight, (2 + 20) * 2 + (2 + 5) + 2);
  EXPECT_EQ(m.Width(), 2 * 88 + 1 + 2);
  MenuRect third = m.EntryRect(0, 2);
  EXPECT_EQ(third.top, 1 + 22 + 7 + 2);
  int c = -1, r = -1;
  EXPECT_TRUE(m.HitTest(0, third.top + 1, &c, &r)) << "the first column reaches over the margin";
  EXPECT_EQ(r, 2);
  EXPECT_FALSE(m.HitTest(10, m.EntryRect(0, 1).top + 1, &c, &r)) << "separator";
  EXPECT_FALSE(m.HitTest(m.EntryRect(1, 1).left + 5, m.EntryRect(1, 1).top + 1, &c, &r)) << "disabled";
  // Down walks past the separator, into the next column and around, skipping disabled items.
  c = 0, r = 0;
  std::vector<std::pair<int, int>> path;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(m.Step(&c, &r, 1));
    path.emplace_back(c, r);
  }
  EXPECT_EQ(path, (std::vector<std::pair<int, int>>{{0, 2}, {1, 0}, {0, 0}, {0, 2}}));
  EXPECT_EQ(m.NthEnabled(0, 2), 2);
  EXPECT_EQ(m.NthEnabled(1, 2), -1);
}

TEST(MenuLayout, Placement) {
  MenuRect bar{0, 728, 1366, 768};
  MenuRect area = WorkArea(1366, 768, kEdgeBottom, bar);
  EXPECT_EQ(area.bottom, 728);
  struct Case {
    int flags, x, y;
    MenuRect expect;
  } cases[] = {
      {0, 100, 100, {100, 100, 200, 200}},
      {0, 100, 700, {100, 600, 200, 700}},     // near the task bar: above the point
      {0, 1300, 100, {1200, 100, 1300, 200}},  // right edge: ends at the point
      {kMenuAlignRight, 50, 100, {50, 100, 150, 200}},
      {kMenuAlignCentreX | kMenuAlignCentreY, 500, 400, {450, 350, 550, 450}},
      {kMenuPushInside, 1300, 700, {1266, 628, 1366, 728}},
  };
  for (const Case& c : cases) {
    MenuRect rc = PlaceRootMenu(c.flags, c.x, c.y, 100, 100, area);
    EXPECT_EQ(rc.left, c.expect.left) << c.x << "," << c.y;
    EXPECT_EQ(rc.top, c.expect.top) << c.x << "," << c.y;
  }
  int prevLeft = 1200;
  MenuRect sub = PlaceSubMenu(1300, 700, 100, 100, area, &prevLeft);
  EXPECT_EQ(sub.left, 1100);
  EXPECT_EQ(sub.top, 628);
  EXPECT_EQ(WorkArea(800, 600, kEdgeLeft, MenuRect{0, 0, 40, 600}).left, 40);
}

TEST(ListBoxModel, SelectionStylesAndHitTest) {
  struct Case {
    int style;
    std::vector<std::tuple<int, bool, bool>> clicks;  // index, ctrl, shift
    std::vector<bool> selected;
  } cases[] = {
      {0, {{1, false, false}, {3, false, false}}, {false, false, false, true}},
      {kLbsMultipleSel, {{1, false, false}, {3, false, false}, {1, false, false}}, {false, false, false, true}},
      {kLbsExtendedSel, {{1, false, false}, {3, false, true}}, {false, true, true, true}},
      {kLbsExtendedSel, {{0, false, false}, {2, true, false}}, {true, false, true, false}},
      {kLbsExtendedSel, {{2, false, true}}, {true, true, true, false}},  // no anchor: from 0
  };
  for (const Case& c : cases) {
    ListBoxModel m;
    m.m_style = c.style;
    for (int i = 0; i < 4; ++i) m.Add("item");
    for (auto& k : c.clicks) m.Click(std::get<0>(k), std::get<1>(k), std::get<2>(k));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m.m_items[i].selected, c.selected[i]) << c.style << " item " << i;
  }
  ListBoxModel m;
  m.m_itemHeight = 18;
  for (int i = 0; i < 5; ++i) m.Add("x");
  EXPECT_EQ(m.HitTest(40, 0), 2);
  EXPECT_EQ(m.HitTest(40, 18), 3);
  EXPECT_EQ(m.HitTest(200, 0), -1);
  EXPECT_EQ(m.HitTest(-1, 0), -1);
  EXPECT_EQ(m.Move(-1), 0) << "no selection starts at the first";
  EXPECT_EQ(m.Move(-1), 4) << "up from the first wraps to the last";
  EXPECT_EQ(m.Move(1), 0);
  EXPECT_EQ(m.ScrollFor(4, 0, 50), 90 - 50);
  EXPECT_TRUE(m.SetCurSel(99));
  EXPECT_EQ(m.CurSel(), -1);
  m.m_style = kLbsExtendedSel;
  EXPECT_FALSE(m.SetCurSel(1));
  // Variable heights: binary search over unequal items.
  ListBoxModel v;
  v.m_style = kLbsOwnerDrawVariable;
  for (int h : {10, 30, 5, 40}) v.m_items.push_back(ListBoxItem{"", 0, h});
  EXPECT_EQ(v.HitTest(42, 0), 2);
  EXPECT_EQ(v.HitTest(45, 0), 3);
}

TEST(Geometry, UpDownCaptionAndGradient) {
  struct Case {
    int pos, delta, lo, hi;
    bool refused;
    int newPos, limit;
  } cases[] = {{5, 1, 0, 10, false, 6, 0},
               {9, 5, 0, 10, false, 10, 1},
               {10, 1, 0, 10, true, 10, -1},
               {1, -3, 0, 10, false, 0, 2},
               {0, 1, 3, 3, false, 3, 3}};
  for (const Case& c : cases) {
    int pos = c.pos, limit = -1;
    EXPECT_EQ(UpDownDelta(&pos, c.delta, c.lo, c.hi, &limit), c.refused);
    EXPECT_EQ(pos, c.newPos);
    EXPECT_EQ(limit, c.limit);
  }
  EXPECT_EQ(CaptionPartY(65535, 0, 30, 10), 10);
  EXPECT_EQ(CaptionPartY(-4, 0, 30, 10), 16);
  EXPECT_EQ(CaptionPartY(3, 5, 30, 10), 8);
  EXPECT_EQ(GradientBand(0x000000, 0xFFFFFF, 0), 0u);
  EXPECT_EQ(GradientBand(0x0000FF, 0x000000, 32), 0x7Fu);
  int a, b;
  GradientSpan(0, 10, 0, &a, &b);
  EXPECT_EQ(a, b) << "an empty band";
  GradientSpan(0, 640, 63, &a, &b);
  EXPECT_EQ(b, 640);
  for (int e = 7; e <= 13; ++e)
    for (int g : {0, 64, 200, -5})
      for (int w : {0, 1, 50}) {
        int v = EffectValue(e, w / 2, 0, w, w, g);
        EXPECT_GE(v, -512);
        EXPECT_LE(v, 512);
      }
}

TEST(Geometry, TooltipEffectImages) {
  // A generator that never reaches 32767, so the noise at granularity 0 is 0.
  unsigned seed = 1;
  auto lcg = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 16) % 32767);
  };
  const int w = 60, h = 20;
  // 14: a soft bump with a leaning split: N = min(60 / 6, 16) = 10 columns each side.
  std::vector<unsigned char> px = EffectImage(14, w, h, 0, lcg);
  ASSERT_EQ(px.size(), size_t(w * h));
  auto at = [&](int x, int row) { return int(px[size_t(row) * w + x]); };
  struct Case {
    int x, row, want;
    const char* what;
  } cases14[] = {
      {20, 0, 255, "right of the split at the bottom (middle 30 - 10)"},
      {29, 0, 255, "the split's last right column at the bottom"},
      {19, 0, 115, "the first ramp column left of the split: (10 - 1) x 128 / 10"},
      {10, 0, 0, "the ramp's far end"},
      {40, h - 1, 255, "the split leans 2N to the right at the top"},
      {0, 0, 3, "the bump at the bottom: 128 + (-127^3 / 16384) x 64 x 2 / 128"},
      {45, 0, 3, "the bump, outside the split's band"},
  };
  for (const Case& c : cases14) EXPECT_EQ(at(c.x, c.row), c.want) << c.what;
  // 15: strokes mirrored about the middle column over the diagonal gradient of 8 with
  // (255 - 40) / 2 = 107 in place of r / 2.
  px = EffectImage(15, w, h, 0, lcg);
  auto ramp = [&](int x, int row) { return (row * 107) / h + ((w - x) * 107) / w; };
  int strokes = 0;
  for (int row = 0; row < h; ++row)
    for (int x = 0; x < w; ++x) {
      const int stroke = at(x, row) - ramp(x, row), mirror = at(w - 1 - x, row) - ramp(w - 1 - x, row);
      EXPECT_EQ(stroke, mirror) << x << "," << row;
      EXPECT_GE(stroke, 0);
      EXPECT_LE(stroke, 40);
      strokes += stroke > 0;
    }
  EXPECT_GT(strokes, 0) << "no stroke drawn";
  // Any granularity, any size: no write outside the image; an absurd size is refused.
  for (int e : {7, 8, 13, 14, 15})
    for (int g : {-3, 0, 64, 127, 255})
      for (int size : {0, 1, 5, 97})
        EXPECT_EQ(EffectImage(e, size, size + 1, g, lcg).size(), size_t(std::max(size, 1) * (size + 1)));
  EXPECT_TRUE(EffectImage(15, 5000, 10, 0, lcg).empty());
}

TEST(MenuLayout, ExtraPartsWidenAndShiftTheColumns) {
  MenuLayout plain;
  plain.m_columns = {{MenuEntry{}, MenuEntry{}}};
  plain.m_columns[0][0].textWidth = 30;
  plain.Layout();
  struct Case {
    MenuRect parts;  // left width, top height, right width, bottom height
    int dx, dy;      // how far the first item moves
  } cases[] = {
      {{0, 0, 0, 0}, 0, 0},   {{24, 0, 0, 0}, 24, 0}, {{0, 18, 0, 0}, 0, 18},
      {{0, 0, 10, 12}, 0, 0}, {{5, 6, 7, 8}, 5, 6},   {{-9, -9, 0, 0}, 0, 0},  // negative sizes count as none
  };
  for (const Case& c : cases) {
    MenuLayout m = plain;
    m.m.parts = c.parts;
    m.Layout();
    auto clamp = [](int v) { return v < 0 ? 0 : v; };
    EXPECT_EQ(m.Width(), plain.Width() + clamp(c.parts.left) + clamp(c.parts.right));
    EXPECT_EQ(m.Height(), plain.Height() + clamp(c.parts.top) + clamp(c.parts.bottom));
    MenuRect a = plain.EntryRect(0, 1), b = m.EntryRect(0, 1);
    EXPECT_EQ(b.left - a.left, c.dx);
    EXPECT_EQ(b.top - a.top, c.dy);
    MenuRect inner = m.Inner(m.Width(), m.Height());
    EXPECT_EQ(inner.left, b.left);
    EXPECT_EQ(inner.Width(), m.m_columnWidth) << "one column fills the inner rectangle";
    // The first column's items reach over the left margin, never into the left part.
    int col = -1, row = -1;
    EXPECT_TRUE(m.HitTest(b.left - m.m.margins.left, b.top + 1, &col, &row));
    EXPECT_EQ(row, 1);
    if (c.parts.left > 0) EXPECT_FALSE(m.HitTest(b.left - m.m.margins.left - 1, b.top + 1, &col, &row));
  }
}
