#include "TableLayout.h"

#include <algorithm>
#include <cstring>

namespace tableview {

Box Box::Union(const Box& o) const {
  if (IsEmpty()) return o;
  if (o.IsEmpty()) return *this;
  return Box{std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
}

int SlotOf(int position, bool direction) {
  if (direction) return position;
  if (position == 0) return 2;
  if (position == 2) return 0;
  return position;
}

int HandWidth(int count, int cardW, int step) { return count <= 0 ? 0 : cardW + (count - 1) * step; }

void ComputeLayout(const LayoutInput& in, Layout* out) {
  Layout& l = *out;
  l = Layout();
  l.U = in.clientW;
  l.W = in.clientW;
  l.H = in.clientH;
  if (in.scoreBoard == 1) {
    l.W -= 177;
    l.strip = Box{l.W, 0, in.clientW, in.clientH};
  } else if (in.scoreBoard == 2) {
    l.H -= 80;
    l.strip = Box{0, l.H, in.clientW, in.clientH};
  }
  if (in.largeCards) {
    l.cardW = CARD_W_LARGE;
    l.cardH = CARD_H_LARGE;
    l.step = STEP_LARGE;
    l.drawW = DRAW_W_LARGE;
    l.drawH = DRAW_H_LARGE;
  }
  const int W = l.W, H = l.H, cw = l.cardW, ch = l.cardH;
  l.cx = W / 2;
  l.cy = H / 2;
  l.e = l.cy - 78;
  const int cx = l.cx, cy = l.cy, e = l.e;
  const int own = std::max(0, std::min(in.ownCount, static_cast<int>(CCardRules::MAX_CARDS)));
  l.r = cx - (HandWidth(own, cw, STEP_LARGE) + OWN_BLOCK_EXTRA) / 2;
  if (own >= WIDE_HAND) l.r += 55;
  const int r = l.r;

  l.hand[0] = {W - cw - 150, cy};
  l.hand[1] = {r + 143, H - 147};
  l.hand[2] = {150, cy};
  l.play[0] = {W - 170, cy - 53};
  l.play[1] = {cx, H - ch - 172};
  l.play[2] = {170, cy - 53};
  l.play[3] = {cx, 170};
  l.name[0] = {W - 107, cy + 37};
  l.name[1] = {r + 3, H - 52};
  l.name[2] = {13, cy + 37};
  for (int s = 0; s < 4; ++s) l.nameBox[s] = {94, 34};
  l.nameBox[2] = {97, 34};

  // The top seat (four players): its block is centred when its cards are shown.
  const int top = std::max(0, std::min(in.topCount, static_cast<int>(CCardRules::MAX_CARDS)));
  const int k = HandWidth(top, cw, STEP_LARGE);
  if (in.topOpen) {
    l.topAvatarLeft = cx - (k + 143) / 2;
    l.hand[3] = {l.topAvatarLeft + 143, 53};
  } else {
    l.topAvatarLeft = cx - 70;
    l.hand[3] = {cx, 53};
  }
  const int t = l.topAvatarLeft;
  l.name[3] = {t + 3, 123};
  l.avatar[3] = {t + 6, 14};
  l.avatar[1] = {r + 6, H - 161};
  l.avatar[2] = {16, e + 6};
  l.avatar[0] = {W - 104, e + 6};

  const int lw = in.levelW, lh = in.levelH;
  l.levelW = lw;
  l.levelH = lh;
  l.panel[0] = {W - 150, e};
  l.panel[1] = {r, H - 167};
  l.panel[2] = {10, e};
  l.panel[3] = {t, 8};
  l.badge[0] = {W - 150, cy - 76};
  l.badge[1] = {r + 100, H - 165};
  l.badge[2] = {110, cy - 76};
  l.badge[3] = {t + 100, 8};
  l.marker[0] = {W - 150, cy - 21};
  l.marker[1] = {r + 104, H - 110};
  l.marker[2] = {114, cy - 21};
  l.marker[3] = {t + 104, 65};
  l.level[0] = {(100 - lw) / 2 + W - 110, e - lh - 6};
  l.level[1] = {r - lw - 3, H - 116};
  l.level[2] = {(100 - lw) / 2 + 10, e - lh - 6};
  l.level[3] = {t - lw - 3, 59};
  l.tier[0] = {W - 113, cy - 27};
  l.tier[1] = {r + 104, H - 116};
  l.tier[2] = {114, cy - 27};
  l.tier[3] = {t + 104, 59};

  // The bid and play row above the own avatar.
  const int a = H - 167;
  l.start = Box::At(cx - 41, in.phase == 1 ? a - 31 : a - 57, 82, 26);
  const int y = in.phase == 7 ? a - 31 : a - 57;
  l.pass = Box::At(cx - 129, y, 82, 26);
  l.takeOut = Box::At(cx - 41, y, 82, 26);
  l.hint = Box::At(cx + 47, y, 82, 26);
  const int by = in.phase == 5 ? a - 31 : a - 57;
  const int bx[4] = {cx - 179, cx - 88, cx + 3, cx + 94};
  for (int i = 0; i < 4; ++i) l.bid[i] = Box::At(bx[i], by, 85, 29);

  // The tool-button column.
  const int c = (in.largeCards || in.playerCount < 4) ? W - 100 : 10;
  const int d = (in.largeCards || in.playerCount < 4) ? H - 163 : 40;
  l.tool = {c, d};
  l.showCards = Box::At(c + 50, d - 37, 44, 31);
  l.trustee = Box::At(c, d, 44, 31);
  l.survey = Box::At(c + 10, d - 68, 78, 31);
  l.lastRound = Box::At(c, d + 37, 44, 31);
  l.sort = Box::At(c + 50, d + 37, 44, 31);
  l.score = Box::At(c + 50, d, 44, 31);
  l.settings = Box::At(c, d + 74, 44, 31);
  l.screenshot = Box::At(c + 50, d + 74, 44, 31);
  l.textOrigin = {c, l.screenshot.bottom + 10};
  l.clock = {c, d - 6};
  l.notice = Box::At(3, 18, 120, 60);
}

Box OwnCardBox(const Layout& l, int index, bool selected) {
  const int x = l.hand[1].x + index * l.step;
  const int y = l.hand[1].y - (selected ? RAISE : 0);
  return Box::At(x, y, l.drawW, l.drawH);
}

Box OwnCardRepaintBox(const Layout& l, int index) {
  const int x = l.hand[1].x + index * l.step;
  return Box{x, l.hand[1].y - RAISE, x + l.cardW, l.hand[1].y + l.cardH};
}

Pt SideCardOrigin(const Layout& l, int slot, int index, int count) {
  const int shown = std::max(1, std::min(count, static_cast<int>(COLUMN_MAX)));
  const int height = l.cardH + COLUMN_STEP * (shown - 1);
  const Pt a = l.hand[slot];
  const int top = a.y - height / 2;
  if (index < COLUMN_MAX) return {a.x, top + COLUMN_STEP * index};
  // The second column grows away from the table's edge.
  const int x = slot == 0 ? a.x - l.step : a.x + l.step;
  return {x, top + COLUMN_STEP * (index - COLUMN_MAX)};
}

Pt TopCardOrigin(const Layout& l, int index) { return {l.hand[3].x + index * l.step, l.hand[3].y}; }

Box PlayRowBox(const Layout& l, int slot, int count) {
  if (count <= 0) return Box();
  const int w = HandWidth(count, l.cardW, l.step);
  const Pt a = l.play[slot];
  int x;
  if (slot == 0)
    x = a.x - w;
  else if (slot == 2)
    x = a.x;
  else
    x = a.x - w / 2;
  return Box::At(x, a.y, w, l.cardH);
}

Pt BottomCardOrigin(const Layout& l, int index, int count) {
  const int x0 = (l.U - count * (l.cardW + BOTTOM_GAP) + BOTTOM_GAP) / 2;
  return {x0 + index * (l.cardW + BOTTOM_GAP), 8};
}

int HitOwnCard(const Layout& l, const CARD_INFO* cards, int count, int x, int y) {
  count = std::max(0, std::min(count, static_cast<int>(CCardRules::MAX_CARDS)));
  for (int i = count - 1; i >= 0; --i) {
    if (cards[i].nDrawState1) continue;
    if (OwnCardBox(l, i, cards[i].bSelected != 0).Contains(x, y)) return i;
  }
  return -1;
}

int CountSelected(const CARD_INFO* cards, int count) {
  int n = 0;
  for (int i = 0; i < count; ++i) n += cards[i].bSelected ? 1 : 0;
  return n;
}

void ApplyCardClick(CARD_INFO* cards, int count, int hit, bool ctrl) {
  if (hit < 0 || hit >= count) return;
  const int selected = CountSelected(cards, count);
  if (ctrl && cards[hit].bSelected && selected > 0) {
    for (int i = 0; i < count; ++i) cards[i].bSelected = 0;
    return;
  }
  if (ctrl && !cards[hit].bSelected && selected == 1) {
    int other = 0;
    while (!cards[other].bSelected) ++other;
    const int lo = std::min(other, hit), hi = std::max(other, hit);
    for (int i = lo + 1; i < hi; ++i) cards[i].bSelected = !cards[i].bSelected;
    cards[hit].bSelected = 1;
    return;
  }
  cards[hit].bSelected = !cards[hit].bSelected;
}

int CardCell(const CARD_INFO& card, bool faceUp) {
  // 255 marks a card whose face this client does not know.
  if (!faceUp || card.nCode == 255) return CELL_BACK;
  if (card.nSuit == 52) return CELL_SMALL_JOKER;
  if (card.nSuit == 53) return CELL_BIG_JOKER;
  static const int kSuitCode[4] = {3, 4, 2, 1};
  if (card.nSuit < 0 || card.nSuit > 3 || card.nRank < 0 || card.nRank > 12) return 0;
  int face = card.nRank + 3;
  if (face > 13) face -= 13;
  return 16 * kSuitCode[card.nSuit] + face;
}

void BidButtonsEnabled(int currentBid, int ownBombs, bool enabled[4]) {
  for (int i = 0; i < 4; ++i) enabled[i] = true;
  if (currentBid >= 1) enabled[0] = false;
  if (currentBid >= 2) enabled[1] = false;
  if (currentBid <= 0 && ownBombs > 2) enabled[3] = false;
}

int PreviousBidder(int turnPosition, int playerCount) {
  if (playerCount <= 0) return -1;
  const int p = turnPosition - 1;
  return p < 0 ? playerCount - 1 : p;
}

namespace {

// Byte offsets of the characters of a GBK text: a byte of 0x81 or more starts a pair.
std::vector<size_t> CharStarts(const char* s, size_t n) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < n;) {
    starts.push_back(i);
    const unsigned char b = static_cast<unsigned char>(s[i]);
    i += (b >= 0x81 && i + 1 < n) ? 2 : 1;
  }
  return starts;
}

}  // namespace

std::string ChatEchoForTicker(const char* line, size_t length, const char* hostName) {
  if (!line || !hostName || !hostName[0]) return std::string();
  // The line ends at its terminator or the given length, whichever comes first.
  const size_t n = strnlen(line, length);
  const std::vector<size_t> starts = CharStarts(line, n);
  size_t colon = n;
  for (size_t i : starts) {
    if (i + 1 < n && static_cast<unsigned char>(line[i]) == 0xA3 && static_cast<unsigned char>(line[i + 1]) == 0xBA) {
      colon = i;
      break;
    }
  }
  if (colon == n) return std::string();
  const std::string head(line, colon);
  const std::string body(line + colon + 2, n - colon - 2);
  const size_t gt = head.find('>');
  const size_t lt = head.rfind('<');
  if (gt == std::string::npos || lt == std::string::npos || lt <= gt) return std::string();
  const std::string sender = head.substr(gt + 1, lt - gt - 1);
  if (sender != hostName) return std::string();
  const size_t last = body.rfind('>');
  const std::string text = last == std::string::npos ? body : body.substr(last + 1);
  std::string out = sender + ":" + text;
  if (out.size() > 1023) out.resize(1023);
  return out;
}

std::vector<Pt> AnimationSteps(Pt from, Pt to) {
  const int dx = to.x - from.x, dy = to.y - from.y;
  const int n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy) / 10;
  std::vector<Pt> steps;
  if (n == 0) {
    steps.push_back(to);
    return steps;
  }
  const double sx = static_cast<double>(dx) / n, sy = static_cast<double>(dy) / n;
  for (int i = 0; i <= n; ++i) {
    Pt p{from.x + static_cast<int>(sx * i), from.y + static_cast<int>(sy * i)};
    // Never past the target on either axis.
    if ((dx >= 0 && p.x > to.x) || (dx < 0 && p.x < to.x)) p.x = to.x;
    if ((dy >= 0 && p.y > to.y) || (dy < 0 && p.y < to.y)) p.y = to.y;
    steps.push_back(p);
  }
  return steps;
}

bool IdleTick(int* counter, int idleSeconds) {
  ++*counter;
  if (*counter >= idleSeconds) {
    *counter = 0;
    return true;
  }
  return false;
}

int StripCell(int index, int stripW, int cellW) {
  if (cellW <= 0 || stripW < cellW) return -1;
  const int cells = stripW / cellW;
  return std::max(0, std::min(index, cells - 1));
}

}  // namespace tableview
