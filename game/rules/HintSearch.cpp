// Hint search: every play of the own hand that beats the last play, weakest
// first, handed out one per press and cycling.
#include "CardRules.h"

#include <new>

namespace {

inline int ValidCount(int nCount) {
  if (nCount < 0) return 0;
  return nCount > CCardRules::MAX_CARDS ? CCardRules::MAX_CARDS : nCount;
}

inline bool IsJoker(const CARD_INFO& c) { return c.nSuit >= CCardRules::SUIT_JOKER; }

inline bool SameRank(const CARD_INFO* p, int nFirst, int nLen) {
  for (int i = nFirst + 1; i < nFirst + nLen; ++i)
    if (p[i].nRank != p[nFirst].nRank) return false;
  return true;
}

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
  int g;          // cards per main group
  int nTwoStep;   // how far a group of twos is passed
  int nPairs;     // attached pairs per main group
  int nSingles;   // attached singles per main group
  int nMinLowPos; // lower position bound of a one-group pair
  int bDiffer;    // pairs after the first differ from it in rank
  int bOutside;   // singles must not share the plane's ranks
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
int CCardRules::FindTriplesWithSingles(int s, int r, int n) {
  return FindGroups(s, r, n, &kTriplesSingles);
}
int CCardRules::FindTriplesWithPairs(int s, int r, int n) {
  return FindGroups(s, r, n, &kTriplesPairs);
}
int CCardRules::FindFoursWithSingle(int s, int r, int n) {
  return FindGroups(s, r, n, &kFoursSingle);
}
int CCardRules::FindFoursWithTwoSingles(int s, int r, int n) {
  return FindGroups(s, r, n, &kFoursTwoSingles);
}
int CCardRules::FindFoursWithPair(int s, int r, int n) { return FindGroups(s, r, n, &kFoursPair); }
int CCardRules::FindFoursWithTwoPairs(int s, int r, int n) {
  return FindGroups(s, r, n, &kFoursTwoPairs);
}
int CCardRules::FindFoursWithPairSingle(int s, int r, int n) {
  return FindGroups(s, r, n, &kFoursPairSingle);
}

// ---- the search ---------------------------------------------------------------

void CCardRules::ResetCandidates() {
  m_nCandidates = 0;
  m_nHintIndex = -1;
}

void CCardRules::SearchGroups(Hand h, int t, int nTopRank, int c) {
  int nLimit = 0, n = 0;
  int (CCardRules::*pFinder)(int, int, int) = nullptr;
  switch (t) {
    case PLAY_PAIR: nLimit = h.n - 1; n = c / 2; pFinder = &CCardRules::FindPairRun; break;
    case PLAY_TRIPLE: nLimit = h.n - 2; n = c / 3; pFinder = &CCardRules::FindTripleRun; break;
    case PLAY_TRIPLE_SINGLE:
      nLimit = h.n - 2; n = c / 4; pFinder = &CCardRules::FindTriplesWithSingles; break;
    case PLAY_TRIPLE_PAIR:
      nLimit = h.n - 2; n = c / 5; pFinder = &CCardRules::FindTriplesWithPairs; break;
    case PLAY_FOUR_SINGLE:
      nLimit = h.n - 4; n = c / 5; pFinder = &CCardRules::FindFoursWithSingle; break;
    case PLAY_FOUR_TWO_SINGLES:
      nLimit = h.n - 5; n = c / 6; pFinder = &CCardRules::FindFoursWithTwoSingles; break;
    case PLAY_FOUR_PAIR:
      nLimit = h.n - 5; n = c / 6; pFinder = &CCardRules::FindFoursWithPair; break;
    case PLAY_FOUR_TWO_PAIRS:
      nLimit = h.n - 3; n = c / 8; pFinder = &CCardRules::FindFoursWithTwoPairs; break;
    case PLAY_FOUR_PAIR_SINGLE:
      nLimit = h.n - 6; n = c / 7; pFinder = &CCardRules::FindFoursWithPairSingle; break;
    default: return;
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

void CCardRules::RecomputeHints() {
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
    case PLAY_PAIR: case PLAY_TRIPLE: case PLAY_TRIPLE_SINGLE: case PLAY_TRIPLE_PAIR:
    case PLAY_FOUR_SINGLE: case PLAY_FOUR_TWO_SINGLES: case PLAY_FOUR_PAIR:
    case PLAY_FOUR_TWO_PAIRS: case PLAY_FOUR_PAIR_SINGLE:
      SearchGroups(h, t, R, c);
      break;
    case PLAY_BOMB: SearchBombs(h, h.n - 3, 4, R); break;
    case PLAY_BOMB5: SearchBombs(h, h.n - 4, 5, R); break;
    case PLAY_BOMB6: SearchBombs(h, h.n - 5, 6, R); break;
    case PLAY_BOMB7: SearchBombs(h, h.n - 6, 7, R); break;
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

int CCardRules::FindHint(const CARD_INFO** ppCards) {
  if (ppCards) *ppCards = nullptr;
  if (m_bHintRecompute) RecomputeHints();
  if (m_nCandidates == 0) return 0;
  if (++m_nHintIndex >= m_nCandidates) m_nHintIndex = 0;
  const HINT_CANDIDATE& e = m_Candidates[m_nHintIndex];
  if (ppCards) *ppCards = e.pCards;
  return e.nCount;
}
