// Small helpers over card records shared by the rules and the hint search.
#pragma once
#include "CardRules.h"

namespace cardhelpers {

// A caller's count clamped to 0..MAX_CARDS.
inline int ValidCount(int nCount) {
  if (nCount < 0) return 0;
  return nCount > CCardRules::MAX_CARDS ? CCardRules::MAX_CARDS : nCount;
}

inline bool IsJoker(const CARD_INFO& c) { return c.nSuit >= CCardRules::SUIT_JOKER; }

// True when the nLen records from nFirst all have the rank of the first.
inline bool SameRank(const CARD_INFO* p, int nFirst, int nLen) {
  for (int i = nFirst + 1; i < nFirst + nLen; ++i)
    if (p[i].nRank != p[nFirst].nRank) return false;
  return true;
}

}  // namespace cardhelpers
