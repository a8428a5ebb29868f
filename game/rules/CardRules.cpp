// Card records, sorting, shape tests, classification and comparison.
#include "CardRules.h"
#include "CardHelpers.h"

#include <cstdint>
#include <cstring>

namespace {

const int kRankSlots = 15;  // ranks 0..14 as SetCardFromCode produces them

using cardhelpers::IsJoker;
using cardhelpers::SameRank;
using cardhelpers::ValidCount;

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

// How many cards of the set share each card's rank.
void RankCounts(const CARD_INFO* p, int n, int32_t* counts) {
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
      counts[i] = table[r];
    } else if (bOdd) {
      // A record not filled by SetCardFromCode: count it the slow way.
      int c = 0;
      for (int j = 0; j < n; ++j) c += p[j].nRank == r;
      counts[i] = c;
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
      if (p[i].nRank == CCardRules::RANK_TWO) return -1;
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

CCardRules::CCardRules()
    : m_bHintRecompute(1),
      m_nPlayerCount(3),
      m_nStraightSwitch(0),
      m_nTripleSingleSwitch(0),
      m_nCandidates(0),
      m_nHintIndex(-1),
      m_Candidates() {}

CCardRules::~CCardRules() = default;

void CCardRules::SetRuleOptions(int nPlayerCount, int nStraightSwitch, int nTripleSingleSwitch) {
  m_nPlayerCount = nPlayerCount;
  m_nStraightSwitch = nStraightSwitch;
  m_nTripleSingleSwitch = nTripleSingleSwitch;
  m_bHintRecompute = 1;
}

void CCardRules::SetCardFromCode(CARD_INFO* pCard, int32_t nCode) {
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

namespace {

// Packs the fields an order compares into one number that is larger for a
// card sorting earlier: count, rank and suit descending, code ascending.
// False for an order or a field the packing cannot hold.
bool SortKeys(const CARD_INFO* p, const int32_t* counts, int n, int nMode, uint64_t* keys) {
  if (nMode < 0 || nMode > 2) return false;
  for (int i = 0; i < n; ++i) {
    const CARD_INFO& c = p[i];
    if (static_cast<uint32_t>(counts[i]) > 0xFF || static_cast<uint32_t>(c.nRank) > 0xFF ||
        static_cast<uint32_t>(c.nSuit) > 0xFF)
      return false;
    const uint64_t code = 0xFFFFFFFFu - (static_cast<uint32_t>(c.nCode) ^ 0x80000000u);
    uint64_t hi;
    if (nMode == 0)
      hi = (uint64_t(counts[i]) << 16) | (uint64_t(c.nRank) << 8) | uint64_t(c.nSuit);
    else if (nMode == 1)
      hi = (uint64_t(c.nRank) << 8) | uint64_t(c.nSuit);
    else
      hi = (uint64_t(c.nSuit) << 8) | uint64_t(c.nRank);
    keys[i] = (hi << 32) | code;
  }
  return true;
}

// Stable insertion sort of positions by descending key; true when any moved.
bool SortByKeys(uint64_t* keys, unsigned char* idx, int n) {
  bool bMoved = false;
  for (int i = 1; i < n; ++i) {
    const uint64_t k = keys[i];
    const unsigned char x = idx[i];
    int j = i;
    while (j > 0 && keys[j - 1] < k) {
      keys[j] = keys[j - 1];
      idx[j] = idx[j - 1];
      --j;
    }
    if (j != i) bMoved = true;
    keys[j] = k;
    idx[j] = x;
  }
  return bMoved;
}

}  // namespace

void CCardRules::SortCards(CARD_INFO* pCards, int nCount, int /*nSpare*/, int nMode) {
  int n = ValidCount(nCount);
  if (!pCards || n == 0) return;
  int32_t counts[MAX_CARDS];
  RankCounts(pCards, n, counts);
  for (int i = 0; i < n; ++i) pCards[i].nCount = counts[i];
  unsigned char idx[MAX_CARDS];
  for (int i = 0; i < n; ++i) idx[i] = static_cast<unsigned char>(i);
  // Insertion sort: stable, and hands arrive mostly sorted.
  bool bMoved = false;
  uint64_t keys[MAX_CARDS];
  // Packed keys pay off on longer sets; a few cards compare field by field.
  if (n > 8 && SortKeys(pCards, counts, n, nMode, keys)) {
    bMoved = SortByKeys(keys, idx, n);
  } else {
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
  }
  if (!bMoved) return;
  // Card k takes the card at idx[k]: follow each cycle with one spare record.
  for (int i = 0; i < n; ++i) {
    if (idx[i] == i) continue;
    const CARD_INFO spare = pCards[i];
    int k = i;
    for (;;) {
      const int from = idx[k];
      idx[k] = static_cast<unsigned char>(k);
      if (from == i) {
        pCards[k] = spare;
        break;
      }
      pCards[k] = pCards[from];
      k = from;
    }
  }
}

void CCardRules::SortedCopy(const CARD_INFO* pSrc, int n, CARD_INFO* pDst) {
  if (n <= 0) return;
  int32_t counts[MAX_CARDS];
  uint64_t keys[MAX_CARDS];
  RankCounts(pSrc, n, counts);
  if (!SortKeys(pSrc, counts, n, 0, keys)) {
    std::memcpy(pDst, pSrc, sizeof(CARD_INFO) * static_cast<size_t>(n));
    SortCards(pDst, n, 0, 0);
    return;
  }
  unsigned char idx[MAX_CARDS];
  for (int i = 0; i < n; ++i) idx[i] = static_cast<unsigned char>(i);
  SortByKeys(keys, idx, n);
  for (int i = 0; i < n; ++i) {
    pDst[i] = pSrc[idx[i]];
    pDst[i].nCount = counts[idx[i]];
  }
}

bool CCardRules::SortedRanks(const CARD_INFO* pSrc, int n, CARD_INFO* pDst) {
  int perRank[kRankSlots] = {0};
  unsigned bad = 0, present = 0;
  for (int i = 0; i < n; ++i) {
    const int r = pSrc[i].nRank;
    if (static_cast<uint32_t>(r) >= static_cast<uint32_t>(kRankSlots)) return false;
    bad |= unsigned(IsJoker(pSrc[i])) ^ unsigned(r >= kRankSlots - 2);
    present |= 1u << r;
    ++perRank[r];
  }
  if (bad) return false;
  // Ranks by count, then rank, both high first: the rank sequence mode 0
  // gives these cards.
  int ranks[kRankSlots];
  int nRanks = 0;
  for (; present; present &= ~(1u << (31 - __builtin_clz(present)))) {
    const int r = 31 - __builtin_clz(present);
    int j = nRanks++;
    for (; j > 0 && perRank[ranks[j - 1]] < perRank[r]; --j) ranks[j] = ranks[j - 1];
    ranks[j] = r;
  }
  int at = 0;
  for (int k = 0; k < nRanks; ++k) {
    const int r = ranks[k];
    for (int c = 0; c < perRank[r]; ++c, ++at) {
      pDst[at].nRank = r;
      pDst[at].nSuit = r >= kRankSlots - 2 ? SUIT_JOKER : 0;
    }
  }
  return true;
}

void CCardRules::SortSeatHand(int nPosition, int nSpare) {
  CARD_INFO* p = GetSeatCards(nPosition);
  if (!p) return;
  SortCards(p, ValidCount(GetSeatCardCount(nPosition)), nSpare, 0);
}

// ---- shape tests -----------------------------------------------------------

int CCardRules::IsSameRank(const CARD_INFO* p, int n) {
  if (!p) return 0;
  return SameRank(p, 0, ValidCount(n)) ? 1 : 0;
}

int CCardRules::HasJoker(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  for (int i = 0; i < n; ++i)
    if (IsJoker(p[i])) return 1;
  return 0;
}

int CCardRules::HasTwo(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  for (int i = 0; i < n; ++i)
    if (p[i].nRank == RANK_TWO) return 1;
  return 0;
}

int CCardRules::AllJokers(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  for (int i = 0; i < n; ++i)
    if (!IsJoker(p[i])) return 0;
  return 1;
}

int CCardRules::IsStraight(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 5) return 0;
  for (int i = 0; i < n; ++i) {
    if (p[i].nRank == RANK_TWO || p[i].nRank != p[0].nRank - i) return 0;
  }
  return 1;
}

int CCardRules::IsPairRun(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 6 || n % 2 != 0) return 0;
  if (HasJoker(p, n) || HasTwo(p, n)) return 0;
  for (int k = 0; k < n / 2; ++k) {
    if (p[2 * k].nRank != p[2 * k + 1].nRank || p[2 * k].nRank != p[0].nRank - k) return 0;
  }
  return 1;
}

int CCardRules::IsTripleRun(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 6 || n % 3 != 0) return 0;
  for (int k = 0; k < n / 3; ++k) {
    if (!SameRank(p, 3 * k, 3) || p[3 * k].nRank == RANK_TWO || p[3 * k].nRank != p[0].nRank - k) return 0;
  }
  return 1;
}

int CCardRules::IsPlaneWithSingles(const CARD_INFO* p, int n) {
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

int CCardRules::IsPlaneWithPairs(const CARD_INFO* p, int n) {
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

int CCardRules::IsQuadRun(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 8 || n % 4 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q >= 2 && n == 4 * q ? 1 : 0;
}

int CCardRules::IsQuadRunWithSingles(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 10 || n % 5 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 5 * q ? 1 : 0;
}

int CCardRules::IsQuadRunWithPairs(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 12 || n % 6 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 6 * q && PairsFrom(p, 4 * q, q) ? 1 : 0;
}

int CCardRules::IsQuadRunWithTwoSingles(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 12 || n % 6 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 6 * q ? 1 : 0;
}

int CCardRules::IsQuadRunWithTwoPairs(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 16 || n % 8 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 8 * q && PairsFrom(p, 4 * q, 2 * q) ? 1 : 0;
}

int CCardRules::IsQuadRunWithPairSingle(const CARD_INFO* p, int n) {
  n = ValidCount(n);
  if (n < 14 || n % 7 != 0) return 0;
  int q = QuadBlocks(p, n);
  return q > 0 && n == 7 * q && PairsFrom(p, 4 * q, q) ? 1 : 0;
}

// ---- classification and comparison -----------------------------------------

int CCardRules::ClassifyCards(CARD_INFO* p, int n) {
  if (!p || n <= 0 || n > MAX_CARDS) return PLAY_INVALID;
  SortCards(p, n, 0, 0);
  return ClassifySorted(p, n);
}

int CCardRules::ClassifySorted(const CARD_INFO* p, int n) const {
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

int CCardRules::CompareCards(CARD_INFO* p1, int n1, CARD_INFO* p2, int n2) {
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

int CCardRules::CountBombs(int nPosition) {
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

const HINT_CANDIDATE* CCardRules::GetCandidate(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCandidates) return nullptr;
  return &m_Candidates[nIndex];
}

// ---- CCardTable --------------------------------------------------------------

CCardTable::CCardTable() : m_Hands(), m_nHandCount(), m_LastPlay(), m_nLastPlayCount(0) {}

int CCardTable::SetSeatCodes(int nPosition, const int32_t* pCodes, int nCount) {
  if (nPosition < 0 || nPosition >= MAX_POSITIONS) return 0;
  const int n = ValidCount(pCodes ? nCount : 0);
  std::memset(m_Hands[nPosition], 0, sizeof(m_Hands[nPosition]));
  for (int i = 0; i < n; ++i) SetCardFromCode(&m_Hands[nPosition][i], pCodes[i]);
  m_nHandCount[nPosition] = n;
  InvalidateHint();
  return n;
}

int CCardTable::SetLastPlayCodes(const int32_t* pCodes, int nCount) {
  const int n = ValidCount(pCodes ? nCount : 0);
  std::memset(m_LastPlay, 0, sizeof(m_LastPlay));
  for (int i = 0; i < n; ++i) SetCardFromCode(&m_LastPlay[i], pCodes[i]);
  m_nLastPlayCount = n;
  InvalidateHint();
  return n;
}

CARD_INFO* CCardTable::GetSeatCards(int nPosition) {
  if (nPosition < 0 || nPosition >= MAX_POSITIONS) return nullptr;
  return m_Hands[nPosition];
}

int CCardTable::GetSeatCardCount(int nPosition) {
  if (nPosition < 0 || nPosition >= MAX_POSITIONS) return 0;
  return m_nHandCount[nPosition];
}

const CARD_INFO* CCardTable::GetLastPlayCards(int* pnCount) {
  if (pnCount) *pnCount = m_nLastPlayCount;
  return m_LastPlay;
}
