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

// Bit x: the ranks x - len + 1 .. x are all in `have` (0 < len < 32).
inline unsigned RunEnds(unsigned have, int len) {
  unsigned ends = have;
  for (int k = 1; k < len; ++k) ends &= have << k;
  return ends;
}

bool Answerable(int t) {
  return (t >= PLAY_SINGLE && t <= PLAY_FOUR_PAIR_SINGLE) || (t >= PLAY_BOMB && t <= PLAY_BOMB8);
}

// Adding Nibble(r) counts a card of rank r in four bits of one number.
constexpr uint64_t Nibble(int r) { return uint64_t(1) << (4 * r); }
// By whether the suit says joker, then by rank: a card whose suit and rank
// disagree on being a joker counts nothing.
const uint64_t kCount[2][16] = {{Nibble(0), Nibble(1), Nibble(2), Nibble(3), Nibble(4), Nibble(5), Nibble(6), Nibble(7),
                                 Nibble(8), Nibble(9), Nibble(10), Nibble(11), Nibble(12), 0, 0, 0},
                                {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, Nibble(13), Nibble(14), 0}};
// The same for a card already known to agree with its suit.
const uint64_t kRankCount[16] = {Nibble(0),  Nibble(1),  Nibble(2),  Nibble(3), Nibble(4),  Nibble(5),
                                 Nibble(6),  Nibble(7),  Nibble(8),  Nibble(9), Nibble(10), Nibble(11),
                                 Nibble(12), Nibble(13), Nibble(14), 0};

struct RankTable {
  int n;
  Mask all;
  const CARD_INFO* cards;         // the hand read
  unsigned present;               // bit r: the hand holds rank r
  unsigned atLeast[5];            // [g]: ranks held with g cards or more (g = 1..4)
  int32_t marked;                 // nonzero when some card carries a mark
  Mask pairEnd;                   // after FindPairEnds
  alignas(16) int8_t last[16];    // last position of each rank held
  alignas(16) int8_t count[16];   // cards of each rank (0 for ranks not held)
  alignas(16) int8_t rankAt[48];  // the rank at each position

  int Start(int r) const { return last[r] - count[r] + 1; }
  Mask OfRank(int r) const { return Span(Start(r), last[r] + 1); }
  Mask OfRanks(int lo, int hi) const {  // ranks lo..hi, clamped to 0..14
    if (lo < 0) lo = 0;
    if (hi > kMaxRank) hi = kMaxRank;
    if (lo > hi) return 0;
    Mask m = 0;
    for (unsigned b = present & (((2u << hi) - 1) & ~((1u << lo) - 1)); b; b &= b - 1) m |= OfRank(LowBit(b));
    return m;
  }

  // Reads the hand: false when it does not fit the table, with a rank
  // outside 0..14 or a joker mark that disagrees with the rank; SplitRank
  // tells the third case. Each card is read once, with no step waiting on
  // the one before and no branch on the cards: its rank is counted in a
  // register, and its position written under its rank and its rank under
  // its position.
  bool Read(const CARD_INFO* p, int nCards) {
    n = nCards;
    cards = p;
    all = Span(0, n);
    std::memset(last, 0, sizeof last);
    std::memset(rankAt, 0, sizeof rankAt);
    unsigned ranks = 0;
    uint64_t nibbles = 0;
    int32_t mark = 0;
    unsigned i = 0;
#if defined(__SSE2__)
    // Four cards a step: their suits and ranks (the third and fourth fields)
    // gathered into two registers, checked there, the ranks written as
    // bytes at once.
    __m128i rankBits = _mm_setzero_si128(), mismatch = _mm_setzero_si128();
    const __m128i lastPlain = _mm_set1_epi32(CCardRules::SUIT_JOKER - 1);
    const __m128i lastNonJoker = _mm_set1_epi32(kMaxRank - 2);
    for (; i + 4 <= unsigned(n); i += 4) {
      const __m128i c0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i c1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
      const __m128i c2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 2));
      const __m128i c3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 3));
      const __m128i h01 = _mm_unpackhi_epi32(c0, c1);  // suit, suit, rank, rank
      const __m128i h23 = _mm_unpackhi_epi32(c2, c3);
      const __m128i suits = _mm_unpacklo_epi64(h01, h23);
      const __m128i rk = _mm_unpackhi_epi64(h01, h23);
      rankBits = _mm_or_si128(rankBits, rk);
      // All ones where the suit says joker and the rank does not, or the
      // other way round.
      mismatch =
          _mm_or_si128(mismatch, _mm_xor_si128(_mm_cmpgt_epi32(suits, lastPlain), _mm_cmpgt_epi32(rk, lastNonJoker)));
      const __m128i bytes = _mm_packs_epi16(_mm_packs_epi32(rk, rk), rk);
      const int32_t four = _mm_cvtsi128_si32(bytes);
      std::memcpy(rankAt + i, &four, 4);
      mark |= p[i].bHintMark | p[i + 1].bHintMark | p[i + 2].bHintMark | p[i + 3].bHintMark;
      const unsigned r0 = unsigned(_mm_cvtsi128_si32(rk)) & 15;
      const unsigned r1 = unsigned(_mm_extract_epi16(rk, 2)) & 15;
      const unsigned r2 = unsigned(_mm_extract_epi16(rk, 4)) & 15;
      const unsigned r3 = unsigned(_mm_extract_epi16(rk, 6)) & 15;
      nibbles += kRankCount[r0] + kRankCount[r1] + kRankCount[r2] + kRankCount[r3];
      last[r0] = static_cast<int8_t>(i);
      last[r1] = static_cast<int8_t>(i + 1);
      last[r2] = static_cast<int8_t>(i + 2);
      last[r3] = static_cast<int8_t>(i + 3);
    }
    int32_t lanes[4];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), rankBits);
    ranks = unsigned(lanes[0] | lanes[1] | lanes[2] | lanes[3]);
    if (_mm_movemask_epi8(mismatch)) ranks |= 16;  // counts as a rank out of range
#endif
    for (; i < unsigned(n); ++i) {
      const CARD_INFO& c = p[i];
      const unsigned rank = static_cast<unsigned>(c.nRank);
      // Ranks of 16 and up (and negative ones) show above the low four bits.
      ranks |= rank;
      rankAt[i] = static_cast<int8_t>(rank);
      const unsigned r = rank & 15;
      nibbles += kCount[c.nSuit >= CCardRules::SUIT_JOKER][r];
      mark |= c.bHintMark;
      last[r] = static_cast<int8_t>(i);
    }
    marked = mark;
    if (ranks >> 4) return false;
    // The counts as bytes. They fall short of the hand when a card was not
    // counted (joker mark and rank disagree, rank 15) or more than fifteen
    // cards of a rank carried into the next count.
    int total = 0;
#if defined(__SSE2__)
    const __m128i x = _mm_set_epi64x(0, static_cast<long long>(nibbles));
    const __m128i low = _mm_set1_epi8(0x0F);
    const __m128i e = _mm_unpacklo_epi8(_mm_and_si128(x, low), _mm_and_si128(_mm_srli_epi64(x, 4), low));
    _mm_store_si128(reinterpret_cast<__m128i*>(count), e);
    for (int g = 1; g <= 4; ++g)
      atLeast[g] = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(e, _mm_set1_epi8(static_cast<char>(g - 1)))));
    const __m128i sums = _mm_sad_epu8(e, _mm_setzero_si128());
    total = _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
#else
    for (int g = 1; g <= 4; ++g) atLeast[g] = 0;
    for (int r = 0; r < 16; ++r) {
      count[r] = static_cast<int8_t>((nibbles >> (4 * r)) & 15);
      total += count[r];
      for (int g = 1; g <= 4; ++g) atLeast[g] |= unsigned(count[r] >= g) << r;
    }
#endif
    present = atLeast[1];
    return total == n;
  }

  // True when a rank of a hand Read accepted lies in two runs or more:
  // then the table does not describe it. Asked once the search is done, when
  // the positions written while reading have long reached the cache.
  bool SplitRank() const {
    // Bit i: the cards at i and i + 1 share a rank (0 <= i < n - 1).
    uint64_t same = 0;
#if defined(__SSE2__)
    for (int k = 0; k < 32; k += 16) {
      const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(rankAt + k));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rankAt + k + 1));
      same |= uint64_t(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b)))) << k;
    }
#else
    for (int i = 0; i < 32; ++i) same |= uint64_t(rankAt[i] == rankAt[i + 1]) << i;
#endif
    same &= n > 1 ? Span(0, n - 1) : 0;
    // Each rank in one run: the n cards make as many runs as ranks, and
    // n minus the runs is the number of neighbours that share a rank.
    return CountBits(same | (uint64_t(present) << 32)) != n;
  }

  // Bit i: cards i-1 and i share a rank. Only the finders that attach
  // pairs need it.
  void FindPairEnds() {
    Mask starts = 0;
    for (unsigned b = present; b; b &= b - 1) starts |= Bit(Start(LowBit(b)));
    pairEnd = all & ~starts;
  }

  // Ranks other than twos with at least g cards (g = 1..4).
  unsigned RanksWith(int g) const { return atLeast[g] & ~(1u << CCardRules::RANK_TWO); }

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
  if (!m_pCandidatePool) m_pCandidatePool.reset(new (std::nothrow) CARD_INFO[MAX_CANDIDATES * MAX_CARDS]);
  CARD_INFO* const pPool = m_pCandidatePool.get();
  // Each answer is copied into the list as it is found. Answers come
  // weakest first (by key, then by size) but for bombs of two decks, where
  // more cards of a lower rank beat fewer of a higher one: the list is
  // sorted only when an entry came out of order.
  int nFound = 0;
  uint32_t nLastOrder = 0;
  bool bSorted = true;
  auto add = [&](Mask m, int nKey) {
    if (nFound >= MAX_CANDIDATES || !m || !pPool) return;
    CARD_INFO* const pFirst = pPool + nFound * MAX_CARDS;
    CARD_INFO* d = pFirst;
    for (; m; m &= m - 1, ++d) {
      *d = h.p[__builtin_ctzll(m)];
      d->bHintMark = 1;
    }
    const int nCards = static_cast<int>(d - pFirst);
    HINT_CANDIDATE& e = m_Candidates[nFound++];
    e.nCount = nCards;
    e.nKey = nKey;
    e.pCards = pFirst;
    // Keys here are below 4096 and sizes at most 33.
    const uint32_t nOrder = (uint32_t(nKey) << 6) | uint32_t(nCards);
    bSorted &= nOrder >= nLastOrder;
    nLastOrder = nOrder;
  };
  // Ranks above the play's, lowest first.
  const unsigned above = R >= kMaxRank ? 0u : R < 0 ? tab.present : tab.present & ~((2u << R) - 1);

  switch (t) {
    case PLAY_SINGLE:
      for (unsigned b = above; b; b &= b - 1) {
        const int x = LowBit(b);
        add(Bit(tab.Start(x)), x);
      }
      break;
    case PLAY_STRAIGHT: {
      // No straight holds a two: c ranks end at x from three to ace.
      if (h.n < c || c < 1 || c > RANK_TWO) break;
      const unsigned ends = RunEnds(tab.RanksWith(1), c);
      for (unsigned b = above & ends & ((1u << RANK_TWO) - 1); b; b &= b - 1) {
        const int x = LowBit(b);
        Mask m = 0;
        for (int r = x - c + 1; r <= x; ++r) m |= Bit(tab.Start(r));
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
      for (unsigned b = tab.atLeast[4]; b; b &= b - 1) {
        const int x = LowBit(b);
        const int e = tab.count[x];
        if (e < nMin || tab.Start(x) >= h.n - (nMin - 1)) continue;
        const int end = tab.last[x] + 1;
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
      if (n < 1 || n > kMaxRank + 1) break;
      const int g = sp->g;
      const bool bAttach = sp->nPairs || sp->nSingles;
      // Ranks a run of n groups of g can end at (the ranks below hold groups
      // too; twos make no run), above the play's.
      const unsigned ends = above & (n == 1 ? tab.atLeast[g] : RunEnds(tab.RanksWith(g), n));
      if (ends && sp->nPairs) tab.FindPairEnds();
      for (unsigned b = ends; b; b &= b - 1) {
        const int x = LowBit(b);
        const int a = tab.Start(x);
        // The top group must start below nLimit.
        if (a > nLimit - 1) continue;
        if (n == 1 && bAttach) {
          // One group: the cards taken depend on where it starts.
          int last = tab.last[x] + 1 - g;
          if (last > nLimit - 1) last = nLimit - 1;
          for (int s = a; s <= last; ++s) {
            Mask m = Span(s, s + g);
            if (tab.AttachTo(m, *sp, x, 1)) {
              add(m, x);
              break;
            }
          }
          continue;
        }
        Mask m = Span(a, a + g);
        for (int r = x - n + 1; r < x; ++r) {
          const int ar = tab.Start(r);
          m |= Span(ar, ar + g);
        }
        if (!bAttach || tab.AttachTo(m, *sp, x, n)) add(m, x);
      }
      break;
    }
  }

  if (t < PLAY_BOMB) {
    for (unsigned b = tab.atLeast[4] & ((1u << (kMaxRank - 1)) - 1); b; b &= b - 1) {
      const int x = LowBit(b);
      add(tab.OfRank(x), x + 100 * tab.count[x]);
    }
  }
  const int nJokers = tab.count[kMaxRank - 1] + tab.count[kMaxRank];
  if (m_nPlayerCount == 4 ? nJokers == 4 : nJokers == 2) add(tab.OfRanks(kMaxRank - 1, kMaxRank), 1000);

  if (tab.SplitRank()) return false;
  if (!bSorted) {
    // Stable: equal entries keep the order they were found in.
    for (int i = 1; i < nFound; ++i) {
      const HINT_CANDIDATE x = m_Candidates[i];
      int j = i;
      for (; j > 0 && (m_Candidates[j - 1].nKey > x.nKey ||
                       (m_Candidates[j - 1].nKey == x.nKey && m_Candidates[j - 1].nCount > x.nCount));
           --j)
        m_Candidates[j] = m_Candidates[j - 1];
      m_Candidates[j] = x;
    }
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
