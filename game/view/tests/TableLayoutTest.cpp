// The table's geometry and input rules, checked against the numbers a player sees.
#include "TableLayout.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tableview;

namespace {

CARD_INFO Card(int code) {
  CARD_INFO c{};
  CCardRules::SetCardFromCode(&c, code);
  c.bFaceUp = 1;
  return c;
}

std::vector<CARD_INFO> Hand(int n) {
  std::vector<CARD_INFO> v;
  for (int i = 0; i < n; ++i) v.push_back(Card(i));
  return v;
}

Layout Lay(int w, int h, bool large, int own, int phase = 7, int players = 3, int scoreBoard = 0) {
  LayoutInput in;
  in.clientW = w;
  in.clientH = h;
  in.largeCards = large;
  in.ownCount = own;
  in.phase = phase;
  in.playerCount = players;
  in.scoreBoard = scoreBoard;
  Layout l;
  ComputeLayout(in, &l);
  return l;
}

std::vector<int> Selected(const std::vector<CARD_INFO>& h) {
  std::vector<int> v;
  for (size_t i = 0; i < h.size(); ++i)
    if (h[i].bSelected) v.push_back(static_cast<int>(i));
  return v;
}

}  // namespace

TEST(TableLayout, AnchorsOfThreeSeats) {
  const Layout l = Lay(780, 640, false, 17);
  EXPECT_EQ(l.cx, 390);
  EXPECT_EQ(l.cy, 320);
  // Own block: 71 + 16 x 20 = 391 of hand plus 143, centred.
  EXPECT_EQ(l.r, 390 - (391 + 143) / 2);
  EXPECT_EQ(l.hand[1].x, l.r + 143);
  EXPECT_EQ(l.hand[1].y, 640 - 147);
  EXPECT_EQ(l.hand[0].x, 780 - 71 - 150);
  EXPECT_EQ(l.hand[2].x, 150);
  EXPECT_EQ(l.play[1].y, 640 - 96 - 172);
  EXPECT_EQ(l.avatar[1].x, l.r + 6);
  EXPECT_EQ(l.avatar[2].x, 16);
  EXPECT_EQ(l.avatar[0].x, 780 - 104);
  EXPECT_EQ(l.nameBox[2].x, 97);
  // Play row: 82-wide buttons a - 31 above the own avatar's top while playing.
  EXPECT_EQ(l.takeOut, Box::At(390 - 41, 640 - 167 - 31, 82, 26));
  EXPECT_EQ(l.bid[0], Box::At(390 - 179, 640 - 167 - 57, 85, 29));
  // Three players: tool column at the bottom right.
  EXPECT_EQ(l.tool.x, 780 - 100);
  EXPECT_EQ(l.textOrigin.y, 640 - 163 + 74 + 31 + 10);
}

TEST(TableLayout, PhaseMovesTheButtonRows) {
  EXPECT_EQ(Lay(800, 600, false, 17, 1).start.top, 600 - 167 - 31);
  EXPECT_EQ(Lay(800, 600, false, 17, 5).start.top, 600 - 167 - 57);
  EXPECT_EQ(Lay(800, 600, false, 17, 5).bid[3].top, 600 - 167 - 31);
  EXPECT_EQ(Lay(800, 600, false, 17, 5).pass.top, 600 - 167 - 57);
}

TEST(TableLayout, CardSizesAndWideHands) {
  EXPECT_TRUE(UseLargeCards(1025, 739));
  EXPECT_FALSE(UseLargeCards(1024, 900));
  EXPECT_FALSE(UseLargeCards(1300, 738));
  const Layout big = Lay(1025, 739, true, 17);
  EXPECT_EQ(big.cardW, 142);
  EXPECT_EQ(big.step, 20);
  const Layout small = Lay(1024, 700, false, 17);
  EXPECT_EQ(small.cardH, 96);
  EXPECT_EQ(small.step, 16);
  // 22 cards move the own block 55 pixels right of its centred place.
  const Layout w21 = Lay(1000, 700, false, 21), w22 = Lay(1000, 700, false, 22);
  EXPECT_EQ(w21.r, 500 - (71 + 20 * 20 + 143) / 2);
  EXPECT_EQ(w22.r, 500 - (71 + 21 * 20 + 143) / 2 + 55);
}

TEST(TableLayout, ScoreStripsShrinkTheTable) {
  const Layout right = Lay(800, 600, false, 0, 1, 3, 1);
  EXPECT_EQ(right.W, 623);
  EXPECT_EQ(right.strip, (Box{623, 0, 800, 600}));
  EXPECT_EQ(right.U, 800);
  const Layout bottom = Lay(800, 600, false, 0, 1, 3, 2);
  EXPECT_EQ(bottom.H, 520);
  EXPECT_TRUE(Lay(800, 600, false, 0).strip.IsEmpty());
}

TEST(TableLayout, DirectionFlagMirrorsSideSeats) {
  EXPECT_EQ(SlotOf(0, true), 0);
  EXPECT_EQ(SlotOf(0, false), 2);  // drawn on the left
  EXPECT_EQ(SlotOf(2, false), 0);
  EXPECT_EQ(SlotOf(1, false), 1);
  EXPECT_EQ(SlotOf(3, false), 3);
}

TEST(TableLayout, FourPlayersTopSeatAndToolColumn) {
  LayoutInput in;
  in.clientW = 800;
  in.clientH = 600;
  in.playerCount = 4;
  in.topCount = 25;
  Layout closed, open;
  ComputeLayout(in, &closed);
  EXPECT_EQ(closed.topAvatarLeft, 400 - 70);
  EXPECT_EQ(closed.hand[3].x, 400);
  EXPECT_EQ(closed.tool.x, 10);
  EXPECT_EQ(closed.tool.y, 40);
  in.topOpen = true;
  ComputeLayout(in, &open);
  EXPECT_EQ(open.topAvatarLeft, 400 - (71 + 24 * 20 + 143) / 2);
  EXPECT_EQ(open.hand[3].x, open.topAvatarLeft + 143);
  EXPECT_EQ(open.avatar[3].x, open.topAvatarLeft + 6);
}

TEST(TableLayout, SideColumnsAndPlayRows) {
  const Layout l = Lay(800, 600, false, 17);
  // 21 cards: 20 in the first column, the 21st starts a second one.
  const Pt first = SideCardOrigin(l, 2, 0, 21);
  EXPECT_EQ(first.y, 300 - (96 + 30 * 19) / 2);
  EXPECT_EQ(SideCardOrigin(l, 2, 19, 21).x, 150);
  EXPECT_EQ(SideCardOrigin(l, 2, 20, 21).x, 150 + 16);
  EXPECT_EQ(SideCardOrigin(l, 2, 20, 21).y, first.y);
  EXPECT_EQ(SideCardOrigin(l, 0, 20, 21).x, l.hand[0].x - 16);
  // Play rows: ends at the anchor on the right, starts there on the left, centred below.
  EXPECT_EQ(PlayRowBox(l, 0, 3).right, l.play[0].x);
  EXPECT_EQ(PlayRowBox(l, 2, 3).left, l.play[2].x);
  EXPECT_EQ(PlayRowBox(l, 1, 3).left, l.play[1].x - (71 + 32) / 2);
  EXPECT_TRUE(PlayRowBox(l, 1, 0).IsEmpty());
  // Bottom cards centred on the whole client width.
  EXPECT_EQ(BottomCardOrigin(l, 0, 3).x, (800 - 3 * 91 + 20) / 2);
  EXPECT_EQ(BottomCardOrigin(l, 2, 3).x - BottomCardOrigin(l, 1, 3).x, 91);
}

TEST(TableInput, HitTestFromTheTopCard) {
  const Layout l = Lay(800, 600, false, 5);
  auto h = Hand(5);
  const int x0 = l.hand[1].x, y0 = l.hand[1].y;
  EXPECT_EQ(HitOwnCard(l, h.data(), 5, x0 + 1, y0 + 5), 0);
  EXPECT_EQ(HitOwnCard(l, h.data(), 5, x0 + 17, y0 + 5), 1);  // the overlap belongs to the later card
  EXPECT_EQ(HitOwnCard(l, h.data(), 5, x0 + 4 * 16 + 70, y0 + 95), 4);
  EXPECT_EQ(HitOwnCard(l, h.data(), 5, x0 + 4 * 16 + 71, y0 + 5), -1);
  EXPECT_EQ(HitOwnCard(l, h.data(), 5, x0 + 1, y0 - 1), -1);
  // A raised card is hit 20 pixels higher and no longer at its foot.
  h[4].bSelected = 1;
  EXPECT_EQ(HitOwnCard(l, h.data(), 5, x0 + 4 * 16 + 10, y0 - 15), 4);
  EXPECT_EQ(HitOwnCard(l, h.data(), 5, x0 + 4 * 16 + 10, y0 + 90), 3);
  // Large cards: the click must land on the painted 106 by 144 card.
  const Layout big = Lay(1100, 800, true, 5);
  auto hb = Hand(5);
  const int bx = big.hand[1].x + 4 * 20, by = big.hand[1].y;
  EXPECT_EQ(HitOwnCard(big, hb.data(), 5, bx + 105, by + 143), 4);
  EXPECT_EQ(HitOwnCard(big, hb.data(), 5, bx + 120, by + 10), -1);
  EXPECT_EQ(HitOwnCard(big, hb.data(), 5, bx + 10, by + 170), -1);
  // Cleared cards are not there.
  h[4].nDrawState1 = 1;
  EXPECT_EQ(HitOwnCard(l, h.data(), 5, x0 + 4 * 16 + 60, y0 + 5), -1);
}

TEST(TableInput, ClickRules) {
  struct Case {
    std::vector<int> before;
    int hit;
    bool ctrl;
    std::vector<int> after;
  } cases[] = {
      {{}, 3, false, {3}},
      {{3}, 3, false, {}},
      {{1, 3}, 5, false, {1, 3, 5}},
      {{1, 3}, 3, true, {}},            // Ctrl on a selected card clears all
      {{1}, 5, true, {1, 2, 3, 4, 5}},  // Ctrl with one selected: the run between
      {{1, 3}, 5, true, {1, 3, 5}},     // Ctrl with two selected only toggles the clicked card
      {{5}, 1, true, {1, 2, 3, 4, 5}},
      {{2, 3}, 7, true, {2, 3, 7}},
  };
  for (const Case& c : cases) {
    auto h = Hand(8);
    for (int i : c.before) h[i].bSelected = 1;
    ApplyCardClick(h.data(), 8, c.hit, c.ctrl);
    EXPECT_EQ(Selected(h), c.after) << "hit " << c.hit << " ctrl " << c.ctrl;
  }
  // A toggle inside the run flips cards that were already selected.
  auto h = Hand(8);
  h[2].bSelected = 1;
  ApplyCardClick(h.data(), 8, 0, true);
  EXPECT_EQ(Selected(h), (std::vector<int>{0, 1, 2}));
  ApplyCardClick(h.data(), 8, -1, true);  // a click outside every card changes nothing
  ApplyCardClick(h.data(), 8, 8, false);
  EXPECT_EQ(Selected(h), (std::vector<int>{0, 1, 2}));
}

TEST(TableInput, BidButtons) {
  bool en[4];
  BidButtonsEnabled(2, 0, en);
  EXPECT_FALSE(en[0]);
  EXPECT_FALSE(en[1]);
  EXPECT_TRUE(en[2]);
  EXPECT_TRUE(en[3]);
  BidButtonsEnabled(1, 5, en);
  EXPECT_FALSE(en[0]);
  EXPECT_TRUE(en[1]);
  EXPECT_TRUE(en[3]) << "the bomb rule holds only before any bid";
  BidButtonsEnabled(0, 3, en);
  EXPECT_FALSE(en[3]);
  BidButtonsEnabled(0, 2, en);
  EXPECT_TRUE(en[3]);
  EXPECT_EQ(PreviousBidder(0, 3), 2);
  EXPECT_EQ(PreviousBidder(0, 4), 3);
  EXPECT_EQ(PreviousBidder(2, 3), 1);
}

TEST(TableDrawing, CardCells) {
  EXPECT_EQ(CardCell(Card(0), true), 16 * 3 + 3);    // three of suit 0
  EXPECT_EQ(CardCell(Card(10), true), 16 * 3 + 13);  // king
  EXPECT_EQ(CardCell(Card(11), true), 16 * 3 + 1);   // ace
  EXPECT_EQ(CardCell(Card(12), true), 16 * 3 + 2);   // two
  EXPECT_EQ(CardCell(Card(13 + 4), true), 16 * 4 + 7);
  EXPECT_EQ(CardCell(Card(26), true), 16 * 2 + 3);
  EXPECT_EQ(CardCell(Card(39), true), 16 * 1 + 3);
  EXPECT_EQ(CardCell(Card(52), true), 46);
  EXPECT_EQ(CardCell(Card(53), true), 30);
  EXPECT_EQ(CardCell(Card(54 + 11), true), CardCell(Card(11), true)) << "the second deck";
  EXPECT_EQ(CardCell(Card(5), false), 62);
  CARD_INFO placeholder = Card(255);
  EXPECT_EQ(CardCell(placeholder, true), 62) << "a placeholder is never shown face up";
  CARD_INFO bad{};
  bad.nCode = 7;
  bad.nSuit = 9;
  EXPECT_EQ(CardCell(bad, true), 0);
}

TEST(TableDrawing, StripCellsStayInsideTheirStrip) {
  struct Case {
    int index, stripW, cellW, cell;
  } cases[] = {
      {1, 232, 58, 1}, {3, 232, 58, 3}, {4, 232, 58, 3}, {3, 174, 58, 2}, {-2, 232, 58, 0},
      {0, 57, 58, -1}, {0, 58, 0, -1},  {99, 90, 16, 4}, {0, 0, 58, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StripCell(c.index, c.stripW, c.cellW), c.cell) << c.index << " of " << c.stripW << "/" << c.cellW;
}

TEST(TableInput, ChatEcho) {
  const std::string colon = "\xA3\xBA";
  auto echo = [](const std::string& s, const char* host) { return ChatEchoForTicker(s.data(), s.size(), host); };
  EXPECT_EQ(echo("<b>host</b>" + colon + "<i>hello</i>world", "host</b"), "");
  EXPECT_EQ(echo("<font>host<x>" + colon + "<i>hi</i>there", "host"), "host:there");
  EXPECT_EQ(echo("<font>host<x>" + colon + "plain", "host"), "host:plain");
  EXPECT_EQ(echo("<font>Host<x>" + colon + "plain", "host"), "") << "exact, case-sensitive";
  EXPECT_EQ(echo("<font>host<x> no colon", "host"), "");
  EXPECT_EQ(echo("<font>host<x>" + colon + "x", ""), "");
  // A GBK character ending in 0xA3 followed by 0xBA is not a colon.
  EXPECT_EQ(echo(std::string("<a>host<b>\xB0\xA3\xBA") + "x", "host"), "");
  // Long texts are cut at 1023 characters.
  EXPECT_EQ(echo("<a>host<b>" + colon + std::string(3000, 'z'), "host").size(), 1023u);
  // The length bounds the scan even without a terminator.
  std::string line = "<a>host<b>" + colon + "abc";
  EXPECT_EQ(ChatEchoForTicker(line.data(), line.size() - 2, "host"), "host:a");
}

TEST(TableDrawing, AnimationSteps) {
  auto s = AnimationSteps({0, 0}, {100, 35});
  ASSERT_EQ(s.size(), 11u);
  EXPECT_EQ(s[1].x, 10);
  EXPECT_EQ(s[1].y, 3);
  EXPECT_EQ(s.back().x, 100);
  EXPECT_EQ(s.back().y, 35);
  auto up = AnimationSteps({200, 500}, {180, 100});
  for (auto p : up) EXPECT_GE(p.y, 100);
  EXPECT_EQ(up.back().y, 100);
  auto none = AnimationSteps({0, 0}, {9, -9});
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].x, 9);
}

TEST(TableInput, IdleKeepAliveEveryIdleSecondTicks) {
  int counter = 0;
  int sent = 0;
  for (int i = 0; i < 360; ++i) sent += IdleTick(&counter, 120) ? 1 : 0;
  EXPECT_EQ(sent, 3);
  EXPECT_EQ(counter, 0);
}
