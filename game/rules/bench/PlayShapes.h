// Random plays of every shape the table knows, as wire codes, for the hint
// benchmarks and the differential test. Cards come from one deck for three
// players and from two decks for four, so a shape may be impossible at a
// rank: the generator then says no and the caller draws again.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "CardRules.h"

namespace playshapes {

enum Shape {
  kSingle,
  kPair,
  kTriple,
  kTripleSingle,
  kTriplePair,
  kStraight,
  kPairRun5,
  kPairRunLong,
  kTripleRun,
  kPlaneSingles,
  kPlanePairs,
  kFourSingle,
  kFourTwoSingles,
  kFourPair,
  kFourTwoPairs,
  kFourPairSingle,
  kQuadRunPairs,
  kBomb,
  kBombBig,
  kRocket,
  kShapeCount
};

inline const char* ShapeName(int s) {
  static const char* kNames[kShapeCount] = {"single",           "pair",          "triple",         "triple_single",
                                            "triple_pair",      "straight",      "pairs_run5",     "pairs_run_long",
                                            "triple_run",       "plane_singles", "plane_pairs",    "four_single",
                                            "four_two_singles", "four_pair",     "four_two_pairs", "four_pair_single",
                                            "quad_run_pairs",   "bomb",          "bomb_big",       "rocket"};
  return s >= 0 && s < kShapeCount ? kNames[s] : "?";
}

// Draws cards of given ranks from what is left of the decks.
class Shoe {
 public:
  Shoe(std::mt19937& rng, int decks) : m_rng(rng) {
    for (int d = 0; d < decks; ++d)
      for (int v = 0; v < 54; ++v) {
        CARD_INFO c;
        CCardRules::SetCardFromCode(&c, v + 54 * d);
        m_byRank[c.nRank].push_back(v + 54 * d);
      }
    for (auto& v : m_byRank) std::shuffle(v.begin(), v.end(), m_rng);
  }
  bool Take(int rank, int k, std::vector<int32_t>& out) {
    if (rank < 0 || rank > 14 || static_cast<int>(m_byRank[rank].size()) < k) return false;
    for (int i = 0; i < k; ++i) {
      out.push_back(m_byRank[rank].back());
      m_byRank[rank].pop_back();
    }
    return true;
  }
  // k cards of ranks outside [lo, hi] and not twos, one per rank.
  bool TakeOthers(int k, int each, int lo, int hi, std::vector<int32_t>& out) {
    std::vector<int> ranks;
    for (int r = 0; r < 12; ++r)
      if ((r < lo || r > hi) && static_cast<int>(m_byRank[r].size()) >= each) ranks.push_back(r);
    if (static_cast<int>(ranks.size()) < k) return false;
    std::shuffle(ranks.begin(), ranks.end(), m_rng);
    for (int i = 0; i < k; ++i) Take(ranks[i], each, out);
    return true;
  }

 private:
  std::mt19937& m_rng;
  std::vector<int32_t> m_byRank[15];
};

// Appends a play of the shape to out (shuffled); false when the decks cannot
// make it at the rank drawn.
inline bool MakeShape(std::mt19937& rng, int shape, int decks, std::vector<int32_t>& out) {
  Shoe shoe(rng, decks);
  auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rng() % unsigned(hi - lo + 1)); };
  bool ok = true;
  switch (shape) {
    case kSingle:
      ok = shoe.Take(pick(0, 14), 1, out);
      break;
    case kPair:
      ok = shoe.Take(pick(0, 12), 2, out);
      break;
    case kTriple:
      ok = shoe.Take(pick(0, 12), 3, out);
      break;
    case kTripleSingle: {
      const int r = pick(0, 12);
      ok = shoe.Take(r, 3, out) && shoe.TakeOthers(1, 1, r, r, out);
      break;
    }
    case kTriplePair: {
      const int r = pick(0, 12);
      ok = shoe.Take(r, 3, out) && shoe.TakeOthers(1, 2, r, r, out);
      break;
    }
    case kStraight: {
      const int len = pick(5, 12);
      const int lo = pick(0, 12 - len);
      for (int k = 0; ok && k < len; ++k) ok = shoe.Take(lo + k, 1, out);
      break;
    }
    case kPairRun5:
    case kPairRunLong: {
      const int len = shape == kPairRun5 ? 5 : pick(3, 10);
      const int lo = pick(0, 12 - len);
      for (int k = 0; ok && k < len; ++k) ok = shoe.Take(lo + k, 2, out);
      break;
    }
    case kTripleRun:
    case kPlaneSingles:
    case kPlanePairs: {
      const int len = pick(2, shape == kPlanePairs ? 3 : 4);
      const int lo = pick(0, 12 - len);
      for (int k = 0; ok && k < len; ++k) ok = shoe.Take(lo + k, 3, out);
      if (ok && shape == kPlaneSingles) ok = shoe.TakeOthers(len, 1, lo, lo + len - 1, out);
      if (ok && shape == kPlanePairs) ok = shoe.TakeOthers(len, 2, lo, lo + len - 1, out);
      break;
    }
    case kFourSingle:
    case kFourTwoSingles:
    case kFourPair:
    case kFourTwoPairs:
    case kFourPairSingle: {
      const int r = pick(0, 12);
      ok = shoe.Take(r, 4, out);
      if (ok && shape == kFourSingle) ok = shoe.TakeOthers(1, 1, r, r, out);
      if (ok && shape == kFourTwoSingles) ok = shoe.TakeOthers(2, 1, r, r, out);
      if (ok && shape == kFourPair) ok = shoe.TakeOthers(1, 2, r, r, out);
      if (ok && shape == kFourTwoPairs) ok = shoe.TakeOthers(2, 2, r, r, out);
      if (ok && shape == kFourPairSingle) ok = shoe.TakeOthers(1, 2, r, r, out) && shoe.TakeOthers(1, 1, r, r, out);
      break;
    }
    case kQuadRunPairs: {
      const int lo = pick(0, 10);
      ok = shoe.Take(lo, 4, out) && shoe.Take(lo + 1, 4, out) && shoe.TakeOthers(2, 2, lo, lo + 1, out);
      break;
    }
    case kBomb:
      ok = shoe.Take(pick(0, 12), 4, out);
      break;
    case kBombBig:
      ok = shoe.Take(pick(0, 12), pick(5, 8), out);
      break;
    case kRocket:
      ok = shoe.Take(13, 1, out) && shoe.Take(14, 1, out);
      break;
    default:
      ok = false;
      break;
  }
  std::shuffle(out.begin(), out.end(), rng);
  return ok;
}

// A dealt hand of n cards (wire codes) from one or two shuffled decks.
inline std::vector<int32_t> DealHand(std::mt19937& rng, int decks, int n) {
  std::vector<int32_t> deck;
  for (int v = 0; v < 54 * decks; ++v) deck.push_back(v);
  std::shuffle(deck.begin(), deck.end(), rng);
  deck.resize(static_cast<size_t>(n));
  return deck;
}

}  // namespace playshapes
