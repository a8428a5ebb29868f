// Geometry of the card table and the rules of the table's input: where every hand,
// play, panel and button stands for a client size, which card a click hits, how a
// click changes the selection, the card sheet cell of a card, the bid buttons that
// stay enabled, the chat lines that go to the ticker and the steps of a moving play.
// Portable: the Windows view asks this for every number it draws with.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CardRules.h"

namespace tableview {

struct Pt {
  int x = 0, y = 0;
};

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  static Box At(int x, int y, int w, int h) { return Box{x, y, x + w, y + h}; }
  Box Union(const Box& o) const;
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

enum {
  CARD_W_SMALL = 71,
  CARD_H_SMALL = 96,
  CARD_W_LARGE = 142,
  CARD_H_LARGE = 192,
  DRAW_W_LARGE = 106,
  DRAW_H_LARGE = 144,
  STEP_SMALL = 16,
  STEP_LARGE = 20,
  COLUMN_STEP = 30,  // vertical step of a side hand
  COLUMN_MAX = 20,   // cards in one side column
  RAISE = 20,        // a selected card stands this much higher
  AVATAR_W = 90,
  AVATAR_H = 110,
  TIER_W = 30,  // a seat's tier badge, also the area where hovering names the tier
  TIER_H = 16,
  PANEL_W = 140,
  PANEL_H = 157,
  OWN_BLOCK_EXTRA = 143,  // avatar part of the own block
  WIDE_HAND = 22,         // from this many own cards the own block moves right
  BOTTOM_GAP = 20,
  CELL_BACK = 62,
  CELL_SMALL_JOKER = 46,
  CELL_BIG_JOKER = 30,
};

// What a layout pass reads.
struct LayoutInput {
  int clientW = 0, clientH = 0;
  bool largeCards = false;
  int scoreBoard = 0;  // 1: a strip of 177 on the right, 2: a strip of 80 at the bottom
  int playerCount = 3;
  int ownCount = 0;      // cards in the own hand
  int topCount = 0;      // cards of the top seat (four players)
  bool topOpen = false;  // the top hand is shown face up
  int phase = 1;
  int levelW = 0, levelH = 0;  // one cell of the level-icon strip
};

// Everything the view places, indexed by table slot: 0 right, 1 own (bottom), 2 left,
// 3 top. Seat positions reach their slot through SlotOf.
struct Layout {
  int W = 0, H = 0;  // table area (client less the score strip)
  int U = 0;         // whole client width
  Box strip;         // the score-board strip, empty when none
  int cardW = CARD_W_SMALL, cardH = CARD_H_SMALL, step = STEP_SMALL;
  int drawW = CARD_W_SMALL, drawH = CARD_H_SMALL;  // the painted card inside its layout box
  int cx = 0, cy = 0, e = 0, r = 0;
  int levelW = 0, levelH = 0;  // one cell of the level-icon strip
  Pt hand[4], play[4], name[4], nameBox[4], avatar[4];
  Pt panel[4], badge[4], marker[4], level[4], tier[4];
  int topAvatarLeft = 0;
  Box start, pass, takeOut, hint, bid[4];  // bid 1, 2, 3, no bid
  Box showCards, trustee, survey, lastRound, sort, score, settings, screenshot;
  Pt tool;        // origin of the tool-button column
  Pt textOrigin;  // the bid-and-base-score text block
  Pt clock;       // the turn clock's bottom-left corner
  Box notice;
};

// The slot a seat position is drawn in: positions 0 and 2 exchange places while the
// seating-direction flag is clear.
int SlotOf(int position, bool direction);

int HandWidth(int count, int cardW, int step);
// The main frame's choice of card size: large only above 1024 by 738 client pixels.
inline bool UseLargeCards(int frameClientW, int frameClientH) { return frameClientW > 1024 && frameClientH > 738; }
void ComputeLayout(const LayoutInput& in, Layout* out);

// Rectangles of cards, in client coordinates.
// The painted card: a large card is painted 106 by 144 inside its 142 by 192 box, and a
// click beside it must not take it.
Box OwnCardBox(const Layout& l, int index, bool selected);
Box OwnCardRepaintBox(const Layout& l, int index);                   // the partial-repaint box
Pt SideCardOrigin(const Layout& l, int slot, int index, int count);  // column cards, slot 0 or 2
Pt TopCardOrigin(const Layout& l, int index);
Box PlayRowBox(const Layout& l, int slot, int count);  // empty when count is 0
// A seat's tier badge: from its tier point, on the right seat (slot 0) ending there, so the
// badge stands beside the avatar as on the left seat and not under it.
inline Box TierBox(const Layout& l, int slot) {
  const Pt t = l.tier[slot];
  return Box::At(slot == 0 ? t.x - TIER_W : t.x, t.y, TIER_W, TIER_H);
}
Pt BottomCardOrigin(const Layout& l, int index, int count);

// The own card under a point, scanning from the last card to the first; cleared cards
// (nDrawState1 set) are skipped. -1 for none.
int HitOwnCard(const Layout& l, const CARD_INFO* cards, int count, int x, int y);

// What a click on own card `hit` does to the selection (playing phase only).
void ApplyCardClick(CARD_INFO* cards, int count, int hit, bool ctrl);
int CountSelected(const CARD_INFO* cards, int count);

// The card sheet cell of a record drawn face up or down; 0 when nothing is drawn.
int CardCell(const CARD_INFO& card, bool faceUp);

// The cell of a picture strip `stripW` pixels wide, `cellW` per cell, that `index` draws:
// kept inside the strip (a bid or level beyond it takes the last cell); -1 when the strip
// holds no whole cell.
int StripCell(int index, int stripW, int cellW);

// The bid buttons (1, 2, 3, no bid) enabled for the current bid and the own bombs.
void BidButtonsEnabled(int currentBid, int ownBombs, bool enabled[4]);

// The position that bid last: the one before the current bidder.
int PreviousBidder(int turnPosition, int playerCount);

// A chat line echoed to the table: the text for the ticker ("sender:text") when the
// line's sender is the host, else empty. The line is GBK and untrusted.
std::string ChatEchoForTicker(const char* line, size_t length, const char* hostName);

// Positions of a play moving from `from` to `to` (step 0 .. n inclusive); with fewer
// than 10 pixels to go on both axes just the target.
std::vector<Pt> AnimationSteps(Pt from, Pt to);

// The idle counter of the view's one-second timer: true when a keep-alive is due.
bool IdleTick(int* counter, int idleSeconds);

}  // namespace tableview
