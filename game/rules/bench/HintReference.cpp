// Reference copy of the card rules and hint search (see HintReference.h).
#include "HintReference.h"

#include <new>

#include <cstring>

namespace {

const int kRankSlots = 15;  // ranks 0..14 as SetCardFromCode produces them

inline int ValidCount(int nCount) {
  if (nCount < 0) return 0;
  return nCount > HintReference::MAX_CARDS ? HintReference::MAX_CARDS : nCount;
}

inline bool IsJoker(const CARD_INFO& c) { return c.nSuit >= HintReference::SUIT_JOKER; }

inline bool SameRank(const CARD_INFO* p, int nFirst, int nLen) {
  for (int i = nFirst + 1; i < nFirst + nLen; ++i)
    if (p[i].nRank != p[nFirst].nRank) return false;
  return true;
}

// Negative when a sorts before b.
inline int CompareForMode(const CARD_INFO& a, const CARD_INFO& b, int nMode) {
  switch (nMode) {
    case 0:
      if (a.nCount != b.nCount) return a.nCount > b.nCount ? -1 : 1;
      [[fallthrough]];
    case 1:
      if (a.nRank != b.nRank) return a.nRank > b.nRank ? -1 : 1;
      if (a.nSuit != b.nSuit) return a.nSuit > b.nSuit ? -1 : 1;
      break;
    case 2:
      if (a.nSuit != b.nSuit) return a.nSuit > b.nSuit ? -1 : 1;
      if (a.nRank != b.nRank) return a.nRank > b.nRank ? -1 : 1;
      break;
    default:
      // Unknown orders keep cards that differ in suit or rank where they are.
      if (a.nSuit != b.nSuit || a.nRank != b.nRank) return 0;
      break;
  }
  // Two decks hold equal cards: the code keeps their order fixed.
  if (a.nCode != b.nCode) return a.nCode < b.nCode ? -1 : 1;
  return 0;
}

void WriteRankCounts(CARD_INFO* p, int n) {
  int table[kRankSlots] = {0};
  bool bOdd = false;
  for (int i = 0; i < n; ++i) {
    if (p[i].nRank >= 0 && p[i].nRank < kRankSlots)
      ++table[p[i].nRank];
    else
      bOdd = true;
  }
  for (int i = 0; i < n; ++i) {
    int r = p[i].nRank;
    if (r >= 0 && r < kRankSlots) {
      p[i].nCount = table[r];
    } else if (bOdd) {
      // A record not filled by SetCardFromCode: count it the slow way.
      int c = 0;
      for (int j = 0; j < n; ++j) c += p[j].nRank == r;
      p[i].nCount = c;
    }
  }
}

// Runs of fours: the number q of whole blocks of four at 0, 4, 8, ... that
// hold one rank, when the first q blocks descend from the first rank;
// -1 when a block of four twos is met or the run does not descend.
int QuadBlocks(const CARD_INFO* p, int n) {
  int q = 0;
  for (int i = 0; i + 4 <= n; i += 4) {
    if (SameRank(p, i, 4)) {
      if (p[i].nRank == HintReference::RANK_TWO) return -1;
      ++q;
    }
  }
  for (int k = 0; k < q; ++k) {
    for (int i = 4 * k; i < 4 * k + 4; ++i)
      if (p[i].nRank != p[0].nRank - k) return -1;
  }
  return q;
}

bool PairsFrom(const CARD_INFO* p, int nFirst, int nPairs) {
  for (int k = 0; k < nPairs; ++k)
    if (p[nFirst + 2 * k].nRank != p[nFirst + 2 * k + 1].nRank) return false;
  return true;
}

}  // namespace

HintReference::HintReference()
    : m_bHintRecompute(1),
      m_nPlayerCount(3),
      m_nStraightSwitch(0),
      m_nTripleSingleSwitch(0),
      m_nCandidates(0),
      m_nHintIndex(-1),
      m_Candidates() {}

HintReference::~HintReference() = default;

void HintReference::SetRuleOptions(int nPlayerCount, int nStraightSwitch, int nTripleSingleSwitch) {
  m_nPlayerCount = nPlayerCount;
  m_nStraightSwitch = nStraightSwitch;
  m_nTripleSingleSwitch = nTripleSingleSwitch;
  m_bHintRecompute = 1;
}

void HintReference::SetCardFromCode(CARD_INFO* pCard, int32_t nCode) {
  if (!pCard) return;
  // Codes come from the network: a negative one still maps into the deck.
  int v = nCode % 54;
  if (v < 0) v += 54;
  pCard->nCode = nCode;
  pCard->nOffset = 0;
  pCard->bFaceUp = 0;
  pCard->bSelected = 0;
  if (v >= 52) {
    pCard->nSuit = v;
    pCard->nRank = v - 39;
  } else {
    pCard->nSuit = v / 13;
    pCard->nRank = v % 13;
  }
}

void HintReference::SortCards(CARD_INFO* pCards, int nCount, int /*nSpare*/, int nMode) {
  int n = ValidCount(nCount);
  if (!pCards || n == 0) return;
  WriteRankCounts(pCards, n);
  unsigned char idx[MAX_CARDS];
  for (int i = 0; i < n; ++i) idx[i] = static_cast<unsigned char>(i);
  // Insertion sort: stable, and hands arrive mostly sorted.
  bool bMoved = false;
  for (int i = 1; i < n; ++i) {
    unsigned char x = idx[i];
    int j = i;
    while (j > 0 && CompareForMode(pCards[x], pCards[idx[j - 1]], nMode) < 0) {
      idx[j] = idx[j - 1];
      --j;
    }
    if (j != i) bMoved = true;
    idx[j] = x;
  }
  if (!bMoved) return;
  CARD_INFO tmp[MAX_CARDS];
  std::memcpy(tmp, pCards, sizeof(CARD_INFO) * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) pCards[i] = tmp[idx[i]];
}

void HintReference::SortSeatHand(int nPosition, int nSpare) {
  CARD_INFO* p = GetSeatCards(nPosition);
  if (!p) return;
  SortCards(p, ValidCount(GetSeatCardCount(nPosition)), nSpare, 0);
}

// ---- shape tests -----------------------------------------------------------

int HintReference::IsSameRank(const CARD_INFO* p, int n) {
  if (!p) return 0;
  return SameRank(p, 0, ValidCount(n)) ? 1 : 0;
}

int HintReference::HasJoker(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  for (int i = 0; i < n; ++i)
    if (IsJoker(p[i])) return 1;
  return 0;
}

int HintReference::HasTwo(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  for (int i = 0; i < n; ++i)
    if (p[i].nRank == RANK_TWO) return 1;
  return 0;
}

int HintReference::AllJokers(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  for (int i = 0; i < n; ++i)
    if (!IsJoker(p[i])) return 0;
  return 1;
}

int HintReference::IsStraight(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 5) return 0;
  for (int i = 0; i < n; ++i) {
    if (p[i].nRank == RANK_TWO || p[i].nRank != p[0].nRank - i) return 0;
  }
  return 1;
}

int HintReference::IsPairRun(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 6 || n % 2 != 0) return 0;
  if (HasJoker(p, n) || HasTwo(p, n)) return 0;
  for (int k = 0; k < n / 2; ++k) {
    if (p[2 * k].nRank != p[2 * k + 1].nRank || p[2 * k].nRank != p[0].nRank - k) return 0;
  }
  return 1;
}

int HintReference::IsTripleRun(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 6 || n % 3 != 0) return 0;
  for (int k = 0; k < n / 3; ++k) {
    if (!SameRank(p, 3 * k, 3) || p[3 * k].nRank == RANK_TWO || p[3 * k].nRank != p[0].nRank - k) return 0;
  }
  return 1;
}

int HintReference::IsPlaneWithSingles(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 8 || n % 4 != 0) return 0;
  // The window of consecutive triple ranks is [low, high] holding nTriples.
  int high = 0, low = 0, nTriples = 0;
  bool bEmpty = true;
  int i = 0;
  while (i < n - 2) {
    if (!SameRank(p, i, 3) || p[i].nRank == RANK_TWO || IsJoker(p[i])) {
      ++i;
      continue;
    }
    int r = p[i].nRank;
    if (bEmpty) {
      high = low = r;
      bEmpty = false;
    } else if (r == high + 1) {
      high = r;
    } else if (r == low - 1) {
      low = r;
    } else {
      if (n - 3 - i < n / 4) return 0;
      // Start over behind this triple; the triple itself is dropped.
      bEmpty = true;
      nTriples = 0;
      i += 3;
      continue;
    }
    if (n == 4 * (nTriples + 1)) return 1;
    ++nTriples;
    i += 3;
  }
  return n == 4 * nTriples ? 1 : 0;
}

int HintReference::IsPlaneWithPairs(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 10 || n % 5 != 0) return 0;
  int high = 0, low = 0, nTriples = 0, nPairs = 0;
  bool bEmpty = true;
  int i = 0;
  while (i < n - 1) {
    if (i < n - 2 && SameRank(p, i, 3)) {
      int r = p[i].nRank;
      if (r == RANK_TWO) return 0;
      if (bEmpty) {
        high = low = r;
        bEmpty = false;
      } else if (r == high + 1) {
        high = r;
      } else if (r == low - 1) {
        low = r;
      } else {
        return 0;
      }
      ++nTriples;
      i += 3;
    } else if (p[i].nRank == p[i + 1].nRank) {
      ++nPairs;
      i += 2;
    } else {
      return 0;
    }
  }
  return nTriples == nPairs ? 1 : 0;
}

int HintReference::IsQuadRun(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 8 || n % 4 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q >= 2 && n == 4 * q ? 1 : 0;
}

int HintReference::IsQuadRunWithSingles(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 10 || n % 5 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 5 * q ? 1 : 0;
}

int HintReference::IsQuadRunWithPairs(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 12 || n % 6 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 6 * q && PairsFrom(p, 4 * q, q) ? 1 : 0;
}

int HintReference::IsQuadRunWithTwoSingles(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 12 || n % 6 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 6 * q ? 1 : 0;
}

int HintReference::IsQuadRunWithTwoPairs(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 16 || n % 8 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 8 * q && PairsFrom(p, 4 * q, 2 * q) ? 1 : 0;
}

int HintReference::IsQuadRunWithPairSingle(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 14 || n % 7 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 7 * q && PairsFrom(p, 4 * q, q) ? 1 : 0;
}

// ---- classification and comparison -----------------------------------------

int HintReference::ClassifyCards(CARD_INFO* p, int n) {
  if (!p || n <= 0 || n > MAX_CARDS) return PLAY_INVALID;
  SortCards(p, n, 0, 0);
  const bool bFour = m_nPlayerCount == 4;
  if (n == 1) return PLAY_SINGLE;
  if (n == 2) {
    if (p[0].nRank == p[1].nRank) return PLAY_PAIR;
    if (!bFour && IsJoker(p[0]) && IsJoker(p[1])) return PLAY_ROCKET;
    return PLAY_INVALID;
  }
  if (n == 3) return SameRank(p, 0, 3) ? PLAY_TRIPLE : PLAY_INVALID;
  if (n == 4) {
    if (bFour && AllJokers(p, 4)) return PLAY_FOUR_JOKERS;
    if (SameRank(p, 0, 4)) return PLAY_BOMB;
    if ((!bFour || m_nTripleSingleSwitch) && SameRank(p, 0, 3)) return PLAY_TRIPLE_SINGLE;
    return PLAY_INVALID;
  }
  if ((!bFour || m_nStraightSwitch) && IsStraight(p, n)) return PLAY_STRAIGHT;
  if (n == 5) {
    if (SameRank(p, 0, 5)) return PLAY_BOMB5;
    if (SameRank(p, 0, 3) && SameRank(p, 3, 2)) return PLAY_TRIPLE_PAIR;
    if (!bFour && SameRank(p, 0, 4)) return PLAY_FOUR_SINGLE;
    return PLAY_INVALID;
  }
  if (n <= 8 && SameRank(p, 0, n)) return PLAY_BOMB6 + (n - 6);
  // A run of fours is never legal.
  if (n % 4 == 0 && IsQuadRun(p, n)) return PLAY_INVALID;
  if (!bFour) {
    const bool bHasFour = SameRank(p, 0, 4);
    const bool bHasPair = SameRank(p, 4, 2);
    if (n == 6 && bHasFour && bHasPair) return PLAY_FOUR_PAIR;
    if (n == 6 && bHasFour) return PLAY_FOUR_TWO_SINGLES;
    if (n == 7 && bHasFour && bHasPair) return PLAY_FOUR_PAIR_SINGLE;
    if (n == 8 && bHasFour && bHasPair && SameRank(p, 6, 2) && !SameRank(p, 4, 4)) return PLAY_FOUR_TWO_PAIRS;
  }
  if (IsPairRun(p, n)) return PLAY_PAIR;
  if (IsPlaneWithPairs(p, n)) return PLAY_TRIPLE_PAIR;
  if (IsTripleRun(p, n)) return PLAY_TRIPLE;
  if (bFour && !m_nTripleSingleSwitch) return PLAY_INVALID;
  if (IsPlaneWithSingles(p, n)) return PLAY_TRIPLE_SINGLE;
  if (bFour) return PLAY_INVALID;
  if (IsQuadRunWithSingles(p, n)) return PLAY_FOUR_SINGLE;
  if (IsQuadRunWithPairs(p, n)) return PLAY_FOUR_PAIR;
  if (IsQuadRunWithTwoSingles(p, n)) return PLAY_FOUR_TWO_SINGLES;
  if (IsQuadRunWithTwoPairs(p, n)) return PLAY_FOUR_TWO_PAIRS;
  if (IsQuadRunWithPairSingle(p, n)) return PLAY_FOUR_PAIR_SINGLE;
  return PLAY_INVALID;
}

int HintReference::CompareCards(CARD_INFO* p1, int n1, CARD_INFO* p2, int n2) {
  const int c = ClassifyCards(p1, n1);
  const int d = ClassifyCards(p2, n2);
  if (c == d) {
    if (c == PLAY_INVALID || c == PLAY_ROCKET || c >= PLAY_FOUR_JOKERS) return 0;
    if (n1 != n2) return -1;
    return p1[0].nRank - p2[0].nRank;
  }
  if (m_nPlayerCount != 4) {
    if (c == PLAY_ROCKET) return 1;
    if (c == PLAY_BOMB) return d == PLAY_ROCKET ? -1 : 1;
    // A four with a pair may answer a four with two singles of the same size
    // only: a longer run is a different play, not a stronger one.
    if (c == PLAY_FOUR_PAIR && d == PLAY_FOUR_TWO_SINGLES) return n1 == n2 ? p1[0].nRank - p2[0].nRank : -1;
    return -1;
  }
  if (c == PLAY_FOUR_JOKERS) return 1;
  if (c >= PLAY_BOMB && c <= PLAY_BOMB8) return d < c ? 1 : -1;
  return -1;
}

int HintReference::CountBombs(int nPosition) {
  CARD_INFO* p = GetSeatCards(nPosition);
  if (!p) return 0;
  SortSeatHand(nPosition, 0);
  const int n = ValidCount(GetSeatCardCount(nPosition));
  if (n < 2) return 0;
  int nBombs = 0, nJokers = 0;
  int i = 0;
  while (i < n) {
    if (IsJoker(p[i])) {
      ++nJokers;
      ++i;
      continue;
    }
    // A group runs over equal ranks; jokers between take no part.
    const int r = p[i].nRank;
    int nGroup = 0;
    while (i < n && (IsJoker(p[i]) || p[i].nRank == r)) {
      if (IsJoker(p[i]))
        ++nJokers;
      else
        ++nGroup;
      ++i;
    }
    if (nGroup >= 4) ++nBombs;
  }
  if (nJokers == 4) ++nBombs;
  return nBombs;
}

const HINT_CANDIDATE* HintReference::GetCandidate(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCandidates) return nullptr;
  return &m_Candidates[nIndex];
}

namespace {

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

HintReference::Hand HintReference::OwnHand() {
  Hand h;
  h.p = GetSeatCards(OWN_POSITION);
  h.n = h.p ? ValidCount(GetSeatCardCount(OWN_POSITION)) : 0;
  return h;
}

void HintReference::ClearHandMarks(Hand h) {
  for (int i = 0; i < h.n; ++i) h.p[i].bHintMark = 0;
}

void HintReference::ClearMarks() { ClearHandMarks(OwnHand()); }

int HintReference::AddCandidate(int nKey) {
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

int HintReference::FindSameRank(int nStart, int nRank, int nMin) {
  Hand h = OwnHand();
  const int e = CountRankFrom(h.p, h.n, nStart, nRank);
  if (e < nMin) return 0;
  ClearHandMarks(h);
  for (int i = nStart < 0 ? 0 : nStart; i < h.n; ++i)
    if (h.p[i].nRank == nRank) h.p[i].bHintMark = 1;
  return e;
}

int HintReference::FindStraight(int nTopRank, int nLength) {
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
int HintReference::TakeSingles(Hand h, int nWant, int nLow, int nHigh) {
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
int HintReference::TakePairs(Hand h, int nWant, int nMinLowPos, int bDifferFromFirst) {
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

int HintReference::FindGroups(int s, int r, int n, const void* pSpec) {
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

int HintReference::FindPairRun(int s, int r, int n) { return FindGroups(s, r, n, &kPairRun); }
int HintReference::FindTripleRun(int s, int r, int n) { return FindGroups(s, r, n, &kTripleRun); }
int HintReference::FindTriplesWithSingles(int s, int r, int n) { return FindGroups(s, r, n, &kTriplesSingles); }
int HintReference::FindTriplesWithPairs(int s, int r, int n) { return FindGroups(s, r, n, &kTriplesPairs); }
int HintReference::FindFoursWithSingle(int s, int r, int n) { return FindGroups(s, r, n, &kFoursSingle); }
int HintReference::FindFoursWithTwoSingles(int s, int r, int n) { return FindGroups(s, r, n, &kFoursTwoSingles); }
int HintReference::FindFoursWithPair(int s, int r, int n) { return FindGroups(s, r, n, &kFoursPair); }
int HintReference::FindFoursWithTwoPairs(int s, int r, int n) { return FindGroups(s, r, n, &kFoursTwoPairs); }
int HintReference::FindFoursWithPairSingle(int s, int r, int n) { return FindGroups(s, r, n, &kFoursPairSingle); }

// ---- the search ---------------------------------------------------------------

void HintReference::ResetCandidates() {
  m_nCandidates = 0;
  m_nHintIndex = -1;
}

void HintReference::SearchGroups(Hand h, int t, int nTopRank, int c) {
  int nLimit = 0, n = 0;
  int (HintReference::*pFinder)(int, int, int) = nullptr;
  switch (t) {
    case PLAY_PAIR:
      nLimit = h.n - 1;
      n = c / 2;
      pFinder = &HintReference::FindPairRun;
      break;
    case PLAY_TRIPLE:
      nLimit = h.n - 2;
      n = c / 3;
      pFinder = &HintReference::FindTripleRun;
      break;
    case PLAY_TRIPLE_SINGLE:
      nLimit = h.n - 2;
      n = c / 4;
      pFinder = &HintReference::FindTriplesWithSingles;
      break;
    case PLAY_TRIPLE_PAIR:
      nLimit = h.n - 2;
      n = c / 5;
      pFinder = &HintReference::FindTriplesWithPairs;
      break;
    case PLAY_FOUR_SINGLE:
      nLimit = h.n - 4;
      n = c / 5;
      pFinder = &HintReference::FindFoursWithSingle;
      break;
    case PLAY_FOUR_TWO_SINGLES:
      nLimit = h.n - 5;
      n = c / 6;
      pFinder = &HintReference::FindFoursWithTwoSingles;
      break;
    case PLAY_FOUR_PAIR:
      nLimit = h.n - 5;
      n = c / 6;
      pFinder = &HintReference::FindFoursWithPair;
      break;
    case PLAY_FOUR_TWO_PAIRS:
      nLimit = h.n - 3;
      n = c / 8;
      pFinder = &HintReference::FindFoursWithTwoPairs;
      break;
    case PLAY_FOUR_PAIR_SINGLE:
      nLimit = h.n - 6;
      n = c / 7;
      pFinder = &HintReference::FindFoursWithPairSingle;
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
void HintReference::SearchBombs(Hand h, int nLimit, int nMin, int nTopRank) {
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

void HintReference::AddBombsAndJokers(Hand h, int t) {
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

void HintReference::RecomputeHints() {
  ResetCandidates();
  int nLast = 0;
  const CARD_INFO* pLast = GetLastPlayCards(&nLast);
  nLast = pLast ? ValidCount(nLast) : 0;
  CARD_INFO last[MAX_CARDS];
  for (int i = 0; i < nLast; ++i) last[i] = pLast[i];
  const int t = ClassifyCards(last, nLast);
  const int c = nLast;
  const int R = c > 0 ? last[0].nRank : 0;
  Hand h = OwnHand();
  ClearHandMarks(h);

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
    case PLAY_PAIR:
    case PLAY_TRIPLE:
    case PLAY_TRIPLE_SINGLE:
    case PLAY_TRIPLE_PAIR:
    case PLAY_FOUR_SINGLE:
    case PLAY_FOUR_TWO_SINGLES:
    case PLAY_FOUR_PAIR:
    case PLAY_FOUR_TWO_PAIRS:
    case PLAY_FOUR_PAIR_SINGLE:
      SearchGroups(h, t, R, c);
      break;
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
      // Nothing to beat (a lead) or nothing beats it: the list stays empty
      // and stale, so the next press looks again.
      return;
  }
  AddBombsAndJokers(h, t);

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
  ClearHandMarks(h);
  m_nHintIndex = -1;
  m_bHintRecompute = 0;
}

int HintReference::FindHint(const CARD_INFO** ppCards) {
  if (ppCards) *ppCards = nullptr;
  if (m_bHintRecompute) RecomputeHints();
  if (m_nCandidates == 0) return 0;
  if (++m_nHintIndex >= m_nCandidates) m_nHintIndex = 0;
  const HINT_CANDIDATE& e = m_Candidates[m_nHintIndex];
  if (ppCards) *ppCards = e.pCards;
  return e.nCount;
}
