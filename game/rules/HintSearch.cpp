// Hint search: every play of the own hand that beats the last play, weakest
// first, handed out one per press and cycling.
#include "CardRules.h"
#include "CardHelpers.h"

#include <cstdint>
#include <cstring>
#include <new>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using cardhelpers::IsJoker;
using cardhelpers::SameRank;
using cardhelpers::ValidCount;

// First position after j whose rank differs from the card at j.
inline int SkipRank(const CARD_INFO* p, int n, int j) {
  const int r = p[j].nRank;
  while (j < n && p[j].nRank == r) ++j;
  return j;
}

inline int CountRankFrom(const CARD_INFO* p, int n, int nStart, int nRank) {
  int c = 0;
  for (int i = nStart < 0 ? 0 : nStart; i < n; ++i) c += p[i].nRank == nRank;
  return c;
}

// Ranks a finder can be asked for live in 0..14; a bit set holds them.
const int kMaxRank = 14;

}  // namespace

CCardRules::Hand CCardRules::OwnHand() {
  Hand h;
  h.p = GetSeatCards(OWN_POSITION);
  h.n = h.p ? ValidCount(GetSeatCardCount(OWN_POSITION)) : 0;
  return h;
}

void CCardRules::ClearHandMarks(Hand h) {
  for (int i = 0; i < h.n; ++i) h.p[i].bHintMark = 0;
}

void CCardRules::ClearMarks() { ClearHandMarks(OwnHand()); }

int CCardRules::AddCandidate(int nKey) {
  if (m_nCandidates >= MAX_CANDIDATES) return 0;
  if (!m_pCandidatePool) {
    m_pCandidatePool.reset(new (std::nothrow) CARD_INFO[MAX_CANDIDATES * MAX_CARDS]);
    if (!m_pCandidatePool) return 0;
  }
  Hand h = OwnHand();
  // Copy into the next free slot; an empty copy is simply not kept.
  CARD_INFO* pDst = m_pCandidatePool.get() + m_nCandidates * MAX_CARDS;
  int nMarked = 0;
  for (int i = 0; i < h.n; ++i)
    if (h.p[i].bHintMark) pDst[nMarked++] = h.p[i];
  if (nMarked == 0) return 0;
  HINT_CANDIDATE& e = m_Candidates[m_nCandidates++];
  e.nCount = nMarked;
  e.nKey = nKey;
  e.pCards = pDst;
  return 1;
}

int CCardRules::FindSameRank(int nStart, int nRank, int nMin) {
  Hand h = OwnHand();
  const int e = CountRankFrom(h.p, h.n, nStart, nRank);
  if (e < nMin) return 0;
  ClearHandMarks(h);
  for (int i = nStart < 0 ? 0 : nStart; i < h.n; ++i)
    if (h.p[i].nRank == nRank) h.p[i].bHintMark = 1;
  return e;
}

int CCardRules::FindStraight(int nTopRank, int nLength) {
  if (nLength < 1 || nTopRank - nLength + 1 < 0) return 0;
  Hand h = OwnHand();
  ClearHandMarks(h);
  if (nTopRank > kMaxRank) return 0;
  const int nLow = nTopRank - nLength + 1;
  unsigned found = 0;
  for (int i = 0; i < h.n; ++i) {
    const CARD_INFO& c = h.p[i];
    if (c.nRank == RANK_TWO || IsJoker(c)) continue;
    if (c.nRank < nLow || c.nRank > nTopRank) continue;
    const unsigned bit = 1u << c.nRank;
    if (found & bit) continue;
    found |= bit;
    h.p[i].bHintMark = 1;
  }
  const unsigned want = ((1u << (nTopRank + 1)) - 1) & ~((1u << nLow) - 1);
  if (found != want) {
    ClearHandMarks(h);
    return 0;
  }
  return 1;
}

// Unmarked cards from the hand's end backwards, skipping ranks nLow..nHigh.
int CCardRules::TakeSingles(Hand h, int nWant, int nLow, int nHigh) {
  int nTaken = 0;
  for (int i = h.n - 1; i >= 0 && nTaken < nWant; --i) {
    CARD_INFO& c = h.p[i];
    if (c.bHintMark || (c.nRank >= nLow && c.nRank <= nHigh)) continue;
    c.bHintMark = 1;
    ++nTaken;
  }
  return nTaken == nWant;
}

// Unmarked adjacent pairs from the hand's end backwards. nMinLowPos bounds
// the pair's lower position; bDifferFromFirst passes over pairs of the first
// pair's rank.
int CCardRules::TakePairs(Hand h, int nWant, int nMinLowPos, int bDifferFromFirst) {
  int nTaken = 0, nFirstRank = 0;
  int i = h.n - 1;
  while (nTaken < nWant && i >= 1 && i - 1 >= nMinLowPos) {
    CARD_INFO& a = h.p[i - 1];
    CARD_INFO& b = h.p[i];
    if (a.bHintMark || b.bHintMark || a.nRank != b.nRank) {
      --i;
      continue;
    }
    if (bDifferFromFirst && nTaken > 0 && a.nRank == nFirstRank) {
      i -= 2;
      continue;
    }
    a.bHintMark = b.bHintMark = 1;
    if (nTaken == 0) nFirstRank = a.nRank;
    ++nTaken;
    i -= 2;
  }
  return nTaken == nWant;
}

namespace {
struct GroupSpec {
  int g;           // cards per main group
  int nTwoStep;    // how far a group of twos is passed
  int nPairs;      // attached pairs per main group
  int nSingles;    // attached singles per main group
  int nMinLowPos;  // lower position bound of a one-group pair
  int bDiffer;     // pairs after the first differ from it in rank
  int bOutside;    // singles must not share the plane's ranks
};
const GroupSpec kPairRun = {2, 2, 0, 0, 0, 0, 0};
const GroupSpec kTripleRun = {3, 3, 0, 0, 0, 0, 0};
const GroupSpec kTriplesSingles = {3, 3, 0, 1, 0, 0, 1};
const GroupSpec kTriplesPairs = {3, 3, 1, 0, 0, 0, 0};
const GroupSpec kFoursSingle = {4, 4, 0, 1, 0, 0, 0};
const GroupSpec kFoursTwoSingles = {4, 4, 0, 2, 0, 0, 0};
const GroupSpec kFoursPair = {4, 3, 1, 0, 3, 0, 0};
const GroupSpec kFoursTwoPairs = {4, 3, 2, 0, 0, 1, 0};
const GroupSpec kFoursPairSingle = {4, 3, 1, 1, 3, 0, 0};
}  // namespace

int CCardRules::FindGroups(int s, int r, int n, const void* pSpec) {
  const GroupSpec& sp = *static_cast<const GroupSpec*>(pSpec);
  Hand h = OwnHand();
  if (n < 1 || s < 0 || s + sp.g > h.n) return 0;
  for (int i = s; i < s + sp.g; ++i)
    if (h.p[i].nRank != r) return 0;
  ClearHandMarks(h);
  if (n == 1) {
    for (int i = s; i < s + sp.g; ++i) h.p[i].bHintMark = 1;
  } else {
    const int nLow = r - n + 1;
    if (nLow < 0 || r > kMaxRank) return 0;
    unsigned found = 0;
    int i = 0;
    while (i + sp.g <= h.n) {
      if (!SameRank(h.p, i, sp.g)) {
        ++i;
        continue;
      }
      const int x = h.p[i].nRank;
      if (x == RANK_TWO) {
        i += sp.nTwoStep;
        continue;
      }
      if (x >= nLow && x <= r && !(found & (1u << x))) {
        for (int k = i; k < i + sp.g; ++k) h.p[k].bHintMark = 1;
        found |= 1u << x;
      }
      i = SkipRank(h.p, h.n, i);
    }
    const unsigned want = ((1u << (r + 1)) - 1) & ~((1u << nLow) - 1);
    if (found != want) {
      ClearHandMarks(h);
      return 0;
    }
  }
  bool bOk = TakePairs(h, sp.nPairs * n, n == 1 ? sp.nMinLowPos : 0, sp.bDiffer);
  if (bOk) {
    if (sp.bOutside)
      bOk = TakeSingles(h, sp.nSingles * n, r - n + 1, r);
    else
      bOk = TakeSingles(h, sp.nSingles * n, 1, 0);
  }
  if (!bOk) {
    ClearHandMarks(h);
    return 0;
  }
  return 1;
}

int CCardRules::FindPairRun(int s, int r, int n) { return FindGroups(s, r, n, &kPairRun); }
int CCardRules::FindTripleRun(int s, int r, int n) { return FindGroups(s, r, n, &kTripleRun); }
int CCardRules::FindTriplesWithSingles(int s, int r, int n) { return FindGroups(s, r, n, &kTriplesSingles); }
int CCardRules::FindTriplesWithPairs(int s, int r, int n) { return FindGroups(s, r, n, &kTriplesPairs); }
int CCardRules::FindFoursWithSingle(int s, int r, int n) { return FindGroups(s, r, n, &kFoursSingle); }
int CCardRules::FindFoursWithTwoSingles(int s, int r, int n) { return FindGroups(s, r, n, &kFoursTwoSingles); }
int CCardRules::FindFoursWithPair(int s, int r, int n) { return FindGroups(s, r, n, &kFoursPair); }
int CCardRules::FindFoursWithTwoPairs(int s, int r, int n) { return FindGroups(s, r, n, &kFoursTwoPairs); }
int CCardRules::FindFoursWithPairSingle(int s, int r, int n) { return FindGroups(s, r, n, &kFoursPairSingle); }

// ---- the search ---------------------------------------------------------------

void CCardRules::ResetCandidates() {
  m_nCandidates = 0;
  m_nHintIndex = -1;
}

void CCardRules::SearchGroups(Hand h, int t, int nTopRank, int c) {
  int nLimit = 0, n = 0;
  int (CCardRules::*pFinder)(int, int, int) = nullptr;
  switch (t) {
    case PLAY_PAIR:
      nLimit = h.n - 1;
      n = c / 2;
      pFinder = &CCardRules::FindPairRun;
      break;
    case PLAY_TRIPLE:
      nLimit = h.n - 2;
      n = c / 3;
      pFinder = &CCardRules::FindTripleRun;
      break;
    case PLAY_TRIPLE_SINGLE:
      nLimit = h.n - 2;
      n = c / 4;
      pFinder = &CCardRules::FindTriplesWithSingles;
      break;
    case PLAY_TRIPLE_PAIR:
      nLimit = h.n - 2;
      n = c / 5;
      pFinder = &CCardRules::FindTriplesWithPairs;
      break;
    case PLAY_FOUR_SINGLE:
      nLimit = h.n - 4;
      n = c / 5;
      pFinder = &CCardRules::FindFoursWithSingle;
      break;
    case PLAY_FOUR_TWO_SINGLES:
      nLimit = h.n - 5;
      n = c / 6;
      pFinder = &CCardRules::FindFoursWithTwoSingles;
      break;
    case PLAY_FOUR_PAIR:
      nLimit = h.n - 5;
      n = c / 6;
      pFinder = &CCardRules::FindFoursWithPair;
      break;
    case PLAY_FOUR_TWO_PAIRS:
      nLimit = h.n - 3;
      n = c / 8;
      pFinder = &CCardRules::FindFoursWithTwoPairs;
      break;
    case PLAY_FOUR_PAIR_SINGLE:
      nLimit = h.n - 6;
      n = c / 7;
      pFinder = &CCardRules::FindFoursWithPairSingle;
      break;
    default:
      return;
  }
  int j = 0;
  while (j < nLimit) {
    const int x = h.p[j].nRank;
    if (x > nTopRank && (this->*pFinder)(j, x, n)) {
      AddCandidate(x);
      j = SkipRank(h.p, h.n, j);
    } else {
      ++j;
    }
  }
}

// Bombs answering a bomb: for each group of at least nMin cards, every size
// that beats the last play, made of the group's last cards.
void CCardRules::SearchBombs(Hand h, int nLimit, int nMin, int nTopRank) {
  int j = 0;
  while (j < nLimit) {
    const int x = h.p[j].nRank;
    int pos[MAX_CARDS];
    int e = 0;
    for (int i = j; i < h.n; ++i)
      if (h.p[i].nRank == x) pos[e++] = i;
    if (e < nMin) {
      ++j;
      continue;
    }
    const int nFrom = x > nTopRank ? nMin : nMin + 1;
    const int nTo = e < 8 ? e : 8;  // nothing beyond eight of a kind classifies
    for (int k = nFrom; k <= nTo; ++k) {
      ClearHandMarks(h);
      for (int m = e - k; m < e; ++m) h.p[pos[m]].bHintMark = 1;
      AddCandidate(x);
    }
    j = SkipRank(h.p, h.n, j);
  }
}

void CCardRules::AddBombsAndJokers(Hand h, int t) {
  int nRank[kMaxRank + 1] = {0};
  int nJokers = 0;
  for (int i = 0; i < h.n; ++i) {
    const CARD_INFO& c = h.p[i];
    if (IsJoker(c))
      ++nJokers;
    else if (c.nRank >= 0 && c.nRank <= kMaxRank)
      ++nRank[c.nRank];
  }
  if (t < PLAY_BOMB) {
    // In hand order, so that equal keys keep the order of the hand.
    unsigned done = 0;
    for (int j = 0; j < h.n; ++j) {
      const CARD_INFO& c = h.p[j];
      if (IsJoker(c) || c.nRank < 0 || c.nRank > kMaxRank) continue;
      const int x = c.nRank;
      const int e = nRank[x];
      if (e < 4 || (done & (1u << x))) continue;
      done |= 1u << x;
      for (int i = 0; i < h.n; ++i) h.p[i].bHintMark = h.p[i].nRank == x;
      AddCandidate(x + 100 * e);
    }
  }
  const bool bFour = m_nPlayerCount == 4;
  if ((!bFour && nJokers == 2) || (bFour && nJokers == 4)) {
    for (int i = 0; i < h.n; ++i) h.p[i].bHintMark = IsJoker(h.p[i]) ? 1 : 0;
    AddCandidate(1000);
  }
}

// ---- the search over rank counts ----------------------------------------------
//
// A hand whose ranks each sit in one run of cards (as sorting leaves it) is
// read once into a table: the run of every rank, and bit masks over hand
// positions. Each finder then works on masks in time linear in the hand,
// choosing exactly the cards the card-by-card finders would.

namespace {

typedef uint64_t Mask;  // bit i: the hand's card at position i
static_assert(CCardRules::MAX_CARDS <= 64, "hand positions fit one mask");
static_assert(CCardRules::MAX_CANDIDATES <= 64, "a candidate's place fits six bits");

inline Mask Bit(int i) { return Mask(1) << i; }
// Positions lo..hi-1 (0 <= lo <= hi <= 63).
inline Mask Span(int lo, int hi) { return (Bit(hi) - 1) & ~(Bit(lo) - 1); }
inline int TopBit(Mask m) { return 63 - __builtin_clzll(m); }
inline int LowBit(unsigned m) { return __builtin_ctz(m); }

// Bits set, by adding neighbouring fields: the processors the client runs
// on need not have a popcount instruction, and the library call is slower.
inline int CountBits(Mask m) {
  m = m - ((m >> 1) & 0x5555555555555555ull);
  m = (m & 0x3333333333333333ull) + ((m >> 2) & 0x3333333333333333ull);
  m = (m + (m >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((m * 0x0101010101010101ull) >> 56);
}

bool Answerable(int t) {
  return (t >= PLAY_SINGLE && t <= PLAY_FOUR_PAIR_SINGLE) || (t >= PLAY_BOMB && t <= PLAY_BOMB8);
}

struct RankTable {
  int n;
  Mask all;
  const CARD_INFO* cards;        // the hand read
  unsigned present;              // bit r: the hand holds rank r
  Mask pairEnd;                  // after FindPairEnds
  int32_t marked;                // nonzero when some card carries a mark
  alignas(16) int8_t start[16];  // first position of each rank held
  alignas(16) int8_t count[16];  // cards of each rank (0 for ranks not held)

  Mask OfRank(int r) const { return Span(start[r], start[r] + count[r]); }
  Mask OfRanks(int lo, int hi) const {  // ranks lo..hi, clamped to 0..14
    if (lo < 0) lo = 0;
    if (hi > kMaxRank) hi = kMaxRank;
    if (lo > hi) return 0;
    Mask m = 0;
    for (unsigned b = present & (((2u << hi) - 1) & ~((1u << lo) - 1)); b; b &= b - 1) m |= OfRank(LowBit(b));
    return m;
  }

  // False when the hand does not fit the table: a rank outside 0..14, a
  // joker mark that disagrees with the rank, or a rank split in two runs.
  // Each card is only read and its position written under its rank, from
  // the front (its last card) and from the back (its first): no step waits
  // on the one before, and no branch depends on the cards (whether the next
  // card starts a new rank is a coin toss in a dealt hand).
  bool Read(const CARD_INFO* p, int nCards) {
    n = nCards;
    cards = p;
    all = Span(0, n);
    alignas(16) int8_t last[16];
    std::memset(last, -1, sizeof last);
    std::memset(start, 0, sizeof start);
    unsigned ranks = 0;
    int64_t jokers = 0;
    int32_t mark = 0;
    for (int i = 0, j = n - 1; i < n; ++i, --j) {
      const int r = p[i].nRank;
      // Ranks of 16 and up (and negative ones) show above the low four bits.
      ranks |= static_cast<unsigned>(r);
      // Negative exactly when the suit says joker and the rank does not, or
      // the other way round.
      jokers |= (int64_t(p[i].nSuit) - CCardRules::SUIT_JOKER) ^ (int64_t(r) - (kMaxRank - 1));
      mark |= p[i].bHintMark;
      last[r & 15] = static_cast<int8_t>(i);
      start[p[j].nRank & 15] = static_cast<int8_t>(j);  // the front-most write stays
    }
    if ((ranks >> 4) || jokers < 0) return false;
    // A rank's span from its first to its last card holds all its cards,
    // and more when the rank is split: the spans fill the hand exactly when
    // no rank is. Ranks not held span nothing (-1 - 0 + 1).
    int spans = 0;
    unsigned held = 0;
#if defined(__SSE2__)
    const __m128i e = _mm_sub_epi8(_mm_sub_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(last)),
                                                _mm_load_si128(reinterpret_cast<const __m128i*>(start))),
                                   _mm_set1_epi8(-1));
    _mm_store_si128(reinterpret_cast<__m128i*>(count), e);
    held = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(e, _mm_setzero_si128())));
    const __m128i sums = _mm_sad_epu8(e, _mm_setzero_si128());
    spans = _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
#else
    for (int r = 0; r < 16; ++r) {
      count[r] = static_cast<int8_t>(last[r] - start[r] + 1);
      spans += count[r];
      held |= unsigned(count[r] > 0) << r;
    }
#endif
    if (spans != n || (held >> (kMaxRank + 1))) return false;
    present = held;
    marked = mark;
    return true;
  }

  // Bit i: cards i-1 and i share a rank. Only the finders that attach
  // pairs need it.
  void FindPairEnds() {
    Mask starts = 0;
    for (unsigned b = present; b; b &= b - 1) starts |= Bit(start[LowBit(b)]);
    pairEnd = all & ~starts;
  }

  // Ranks other than twos with at least g cards.
  unsigned RanksWith(int g) const {
    unsigned m = 0;
#if defined(__SSE2__)
    const __m128i e = _mm_load_si128(reinterpret_cast<const __m128i*>(count));
    m = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(e, _mm_set1_epi8(static_cast<char>(g - 1)))));
#else
    for (unsigned b = present; b; b &= b - 1) {
      const int r = LowBit(b);
      if (count[r] >= g) m |= 1u << r;
    }
#endif
    return m & present & ~(1u << CCardRules::RANK_TWO);
  }

  // Free cards from the hand's end backwards, skipping ranks lo..hi.
  bool TakeSingles(Mask& marks, int nWant, int lo, int hi) const {
    if (nWant <= 0) return true;
    Mask avail = all & ~marks & ~OfRanks(lo, hi);
    for (int k = 0; k < nWant; ++k) {
      if (!avail) return false;
      const Mask b = Bit(TopBit(avail));
      marks |= b;
      avail &= ~b;
    }
    return true;
  }

  // Free adjacent pairs from the hand's end backwards; a pair's lower card
  // sits at nMinLowPos or above; bDiffer passes over pairs of the first
  // pair's rank.
  bool TakePairs(Mask& marks, int nWant, int nMinLowPos, int bDiffer) const {
    if (nWant <= 0) return true;
    const Mask avail = all & ~marks;
    Mask cand = pairEnd & avail & (avail << 1);
    const int nLowest = nMinLowPos + 1 > 1 ? nMinLowPos + 1 : 1;
    if (nLowest >= n) return false;
    cand &= ~(Bit(nLowest) - 1);
    int nTaken = 0, nFirstRank = 0;
    while (nTaken < nWant && cand) {
      const int i = TopBit(cand);
      cand &= Bit(i - 1) - 1;  // the next pair ends at i - 2 or below
      if (bDiffer && nTaken > 0 && cards[i].nRank == nFirstRank) continue;
      marks |= Bit(i - 1) | Bit(i);
      if (nTaken == 0) nFirstRank = cards[i].nRank;
      ++nTaken;
    }
    return nTaken == nWant;
  }

  // The pairs, then the singles, that nGroups main groups up to rank r carry.
  bool AttachTo(Mask& marks, const GroupSpec& sp, int r, int nGroups) const {
    if (!TakePairs(marks, sp.nPairs * nGroups, nGroups == 1 ? sp.nMinLowPos : 0, sp.bDiffer)) return false;
    if (sp.bOutside) return TakeSingles(marks, sp.nSingles * nGroups, r - nGroups + 1, r);
    return TakeSingles(marks, sp.nSingles * nGroups, 1, 0);
  }
};

}  // namespace

// The list comes out weakest first: by key, then by size. Ranks are visited
// from the lowest, so the answers to the play come in order already, and
// the bombs and the jokers that follow them mostly too.
bool CCardRules::SearchRankTable(Hand h, int t, int R, int c) {
  RankTable tab;
  if (!tab.Read(h.p, h.n)) return false;
  if (tab.marked) ClearHandMarks(h);
  Mask found[MAX_CANDIDATES];
  int keys[MAX_CANDIDATES];
  int nFound = 0;
  auto add = [&](Mask m, int nKey) {
    if (nFound < MAX_CANDIDATES && m) {
      found[nFound] = m;
      keys[nFound] = nKey;
      ++nFound;
    }
  };
  // Ranks above the play's, lowest first.
  const unsigned above = R >= kMaxRank ? 0u : R < 0 ? tab.present : tab.present & ~((2u << R) - 1);

  switch (t) {
    case PLAY_SINGLE:
      for (unsigned b = above; b; b &= b - 1) {
        const int x = LowBit(b);
        add(Bit(tab.start[x]), x);
      }
      break;
    case PLAY_STRAIGHT: {
      if (h.n < c || c < 1) break;
      const unsigned have = tab.RanksWith(1);
      for (unsigned b = above & ((1u << (kMaxRank - 1)) - 1); b; b &= b - 1) {
        const int x = LowBit(b);
        const int nLow = x - c + 1;
        if (nLow < 0) continue;
        const unsigned want = ((1u << (x + 1)) - 1) & ~((1u << nLow) - 1);
        if ((have & want) != want) continue;
        Mask m = 0;
        for (int r = nLow; r <= x; ++r) m |= Bit(tab.start[r]);
        add(m, x);
      }
      break;
    }
    case PLAY_BOMB:
    case PLAY_BOMB5:
    case PLAY_BOMB6:
    case PLAY_BOMB7:
    case PLAY_BOMB8: {
      const int nMin = 4 + (t - PLAY_BOMB);
      for (unsigned b = tab.present; b; b &= b - 1) {
        const int x = LowBit(b);
        const int e = tab.count[x];
        if (e < nMin || tab.start[x] >= h.n - (nMin - 1)) continue;
        const int end = tab.start[x] + e;
        if (t == PLAY_BOMB8) {
          if (x > R) add(Span(end - 8, end), x);
          continue;
        }
        const int nTo = e < 8 ? e : 8;
        for (int m = x > R ? nMin : nMin + 1; m <= nTo; ++m) add(Span(end - m, end), x);
      }
      break;
    }
    default: {
      const GroupSpec* sp = nullptr;
      int nLimit = 0, n = 0;
      switch (t) {
        case PLAY_PAIR:
          nLimit = h.n - 1;
          n = c / 2;
          sp = &kPairRun;
          break;
        case PLAY_TRIPLE:
          nLimit = h.n - 2;
          n = c / 3;
          sp = &kTripleRun;
          break;
        case PLAY_TRIPLE_SINGLE:
          nLimit = h.n - 2;
          n = c / 4;
          sp = &kTriplesSingles;
          break;
        case PLAY_TRIPLE_PAIR:
          nLimit = h.n - 2;
          n = c / 5;
          sp = &kTriplesPairs;
          break;
        case PLAY_FOUR_SINGLE:
          nLimit = h.n - 4;
          n = c / 5;
          sp = &kFoursSingle;
          break;
        case PLAY_FOUR_TWO_SINGLES:
          nLimit = h.n - 5;
          n = c / 6;
          sp = &kFoursTwoSingles;
          break;
        case PLAY_FOUR_PAIR:
          nLimit = h.n - 5;
          n = c / 6;
          sp = &kFoursPair;
          break;
        case PLAY_FOUR_TWO_PAIRS:
          nLimit = h.n - 3;
          n = c / 8;
          sp = &kFoursTwoPairs;
          break;
        case PLAY_FOUR_PAIR_SINGLE:
          nLimit = h.n - 6;
          n = c / 7;
          sp = &kFoursPairSingle;
          break;
        default:
          return false;
      }
      if (n < 1) break;
      const int g = sp->g;
      // Ranks with a group of g whose start lies below nLimit.
      unsigned cands = 0;
      for (unsigned b = above; b; b &= b - 1) {
        const int x = LowBit(b);
        if (tab.count[x] >= g && tab.start[x] <= nLimit - 1) cands |= 1u << x;
      }
      if (!cands) break;
      if (sp->nPairs) tab.FindPairEnds();
      if (n == 1) {
        for (unsigned b = cands; b; b &= b - 1) {
          const int x = LowBit(b);
          const int a = tab.start[x];
          int last = a + tab.count[x] - g;
          if (last > nLimit - 1) last = nLimit - 1;
          // One group: the cards taken depend on where it starts.
          for (int s = a; s <= last; ++s) {
            Mask m = Span(s, s + g);
            if (tab.AttachTo(m, *sp, x, 1)) {
              add(m, x);
              break;
            }
          }
        }
        break;
      }
      const unsigned enough = tab.RanksWith(g);
      for (unsigned b = cands & ((1u << (kMaxRank + 1)) - 1); b; b &= b - 1) {
        const int x = LowBit(b);
        const int nLow = x - n + 1;
        if (nLow < 0) continue;
        const unsigned want = ((1u << (x + 1)) - 1) & ~((1u << nLow) - 1);
        if ((enough & want) != want) continue;
        Mask m = 0;
        for (int r = nLow; r <= x; ++r) m |= Span(tab.start[r], tab.start[r] + g);
        if (tab.AttachTo(m, *sp, x, n)) add(m, x);
      }
      break;
    }
  }

  if (t < PLAY_BOMB) {
    for (unsigned b = tab.present & ((1u << (kMaxRank - 1)) - 1); b; b &= b - 1) {
      const int x = LowBit(b);
      if (tab.count[x] >= 4) add(tab.OfRank(x), x + 100 * tab.count[x]);
    }
  }
  const int nJokers = tab.count[kMaxRank - 1] + tab.count[kMaxRank];
  if (m_nPlayerCount == 4 ? nJokers == 4 : nJokers == 2) add(tab.OfRanks(kMaxRank - 1, kMaxRank), 1000);

  if (nFound > 0 && !m_pCandidatePool) {
    m_pCandidatePool.reset(new (std::nothrow) CARD_INFO[MAX_CANDIDATES * MAX_CARDS]);
    if (!m_pCandidatePool) nFound = 0;
  }
  // Key, size and order found pack into one distinct number per entry (keys
  // here are below 4096 and sizes at most 33) and sort as plain integers;
  // the list is nearly in order, so the insertion sort is a single pass.
  uint32_t order[MAX_CANDIDATES];
  for (int i = 0; i < nFound; ++i) {
    const int nCards = CountBits(found[i]);
    order[i] = (uint32_t(keys[i]) << 12) | (uint32_t(nCards) << 6) | uint32_t(i);
  }
  for (int i = 1; i < nFound; ++i) {
    const uint32_t x = order[i];
    int j = i;
    for (; j > 0 && order[j - 1] > x; --j) order[j] = order[j - 1];
    order[j] = x;
  }
  CARD_INFO* pDst = m_pCandidatePool.get();
  for (int i = 0; i < nFound; ++i, pDst += MAX_CARDS) {
    const int slot = static_cast<int>(order[i] & 63);
    int nCopied = 0;
    for (Mask m = found[slot]; m; m &= m - 1) {
      CARD_INFO& d = pDst[nCopied++];
      d = h.p[__builtin_ctzll(m)];
      d.bHintMark = 1;
    }
    m_Candidates[i].nCount = nCopied;
    m_Candidates[i].nKey = keys[slot];
    m_Candidates[i].pCards = pDst;
  }
  m_nCandidates = nFound;
  return true;
}

void CCardRules::SearchCardByCard(Hand h, int t, int R, int c) {
  switch (t) {
    case PLAY_SINGLE: {
      int j = 0;
      while (j < h.n) {
        const int x = h.p[j].nRank;
        if (x > R) {
          ClearHandMarks(h);
          h.p[j].bHintMark = 1;
          AddCandidate(x);
          j = SkipRank(h.p, h.n, j);
        } else {
          ++j;
        }
      }
      break;
    }
    case PLAY_STRAIGHT: {
      if (h.n < c) break;
      int j = 0;
      while (j < h.n) {
        const int x = h.p[j].nRank;
        if (!IsJoker(h.p[j]) && x > R && FindStraight(x, c)) AddCandidate(x);
        // The straight depends only on its top rank: one try per rank.
        j = SkipRank(h.p, h.n, j);
      }
      break;
    }
    case PLAY_BOMB:
      SearchBombs(h, h.n - 3, 4, R);
      break;
    case PLAY_BOMB5:
      SearchBombs(h, h.n - 4, 5, R);
      break;
    case PLAY_BOMB6:
      SearchBombs(h, h.n - 5, 6, R);
      break;
    case PLAY_BOMB7:
      SearchBombs(h, h.n - 6, 7, R);
      break;
    case PLAY_BOMB8: {
      int j = 0;
      while (j < h.n - 7) {
        const int x = h.p[j].nRank;
        if (x > R && CountRankFrom(h.p, h.n, j, x) >= 8) {
          int e = 0;
          ClearHandMarks(h);
          for (int i = h.n - 1; i >= j && e < 8; --i)
            if (h.p[i].nRank == x) h.p[i].bHintMark = 1, ++e;
          AddCandidate(x);
          j = SkipRank(h.p, h.n, j);
        } else {
          ++j;
        }
      }
      break;
    }
    default:
      SearchGroups(h, t, R, c);
      break;
  }
  AddBombsAndJokers(h, t);
}

void CCardRules::RecomputeHints() {
  int nLast = 0;
  const CARD_INFO* pLast = GetLastPlayCards(&nLast);
  nLast = pLast ? ValidCount(nLast) : 0;
  CARD_INFO last[MAX_CARDS];
  if (!SortedRanks(pLast, nLast, last)) SortedCopy(pLast, nLast, last);
  const int t = nLast > 0 ? ClassifySorted(last, nLast) : PLAY_INVALID;
  SearchHints(t, nLast > 0 ? last[0].nRank : 0, nLast);
}

void CCardRules::SearchHints(int t, int R, int c) {
  ResetCandidates();
  Hand h = OwnHand();
  if (!Answerable(t)) {
    // Nothing to beat (a lead) or nothing beats it: the list stays empty
    // and stale, so the next press looks again.
    ClearHandMarks(h);
    return;
  }
  // The rank table leaves no card marked and its list sorted; the search
  // card by card marks as it goes and starts and ends with no marks.
  if (!SearchRankTable(h, t, R, c)) {
    ClearHandMarks(h);
    SearchCardByCard(h, t, R, c);
    ClearHandMarks(h);
    // Weakest first: by key, then by size; equal entries keep their order.
    for (int i = 1; i < m_nCandidates; ++i) {
      HINT_CANDIDATE x = m_Candidates[i];
      int j = i;
      while (j > 0 && (m_Candidates[j - 1].nKey > x.nKey ||
                       (m_Candidates[j - 1].nKey == x.nKey && m_Candidates[j - 1].nCount > x.nCount))) {
        m_Candidates[j] = m_Candidates[j - 1];
        --j;
      }
      m_Candidates[j] = x;
    }
  }
  m_nHintIndex = -1;
  m_bHintRecompute = 0;
}

int CCardRules::FindHint(const CARD_INFO** ppCards) {
  if (ppCards) *ppCards = nullptr;
  if (m_bHintRecompute) RecomputeHints();
  if (m_nCandidates == 0) return 0;
  if (++m_nHintIndex >= m_nCandidates) m_nHintIndex = 0;
  const HINT_CANDIDATE& e = m_Candidates[m_nHintIndex];
  if (ppCards) *ppCards = e.pCards;
  return e.nCount;
}
