// Random card sets, hands and last plays through classification, comparison,
// the finders and the hint search. Every set lives in a heap array of its
// exact size so that a read past its end is caught; every candidate must be
// made of the hand's cards; the same input must give the same answers.
//
// Input: flags, four set sizes, then card bytes for set a, set b, the last
// play and the hand, then finder calls (four bytes each).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "CardRules.h"

namespace {

struct Input {
  const uint8_t* p;
  size_t n, pos = 0;
  uint8_t Byte() { return pos < n ? p[pos++] : 0; }
};

// A rule engine whose hand and last play sit in exact-size heap arrays.
class ExactTable : public CCardRules {
 public:
  ExactTable(const std::vector<int32_t>& hand, const std::vector<int32_t>& last)
      : m_nHand(static_cast<int>(hand.size())),
        m_nLast(static_cast<int>(last.size())),
        m_pHand(new CARD_INFO[hand.size()]()),
        m_pLast(new CARD_INFO[last.size()]()) {
    for (int i = 0; i < m_nHand; ++i) SetCardFromCode(&m_pHand[i], hand[i]);
    for (int i = 0; i < m_nLast; ++i) SetCardFromCode(&m_pLast[i], last[i]);
  }
  CARD_INFO* Hand() { return m_pHand.get(); }
  int HandCount() const { return m_nHand; }

 protected:
  CARD_INFO* GetSeatCards(int nPosition) override { return nPosition == OWN_POSITION ? m_pHand.get() : nullptr; }
  int GetSeatCardCount(int nPosition) override { return nPosition == OWN_POSITION ? m_nHand : 0; }
  const CARD_INFO* GetLastPlayCards(int* pnCount) override {
    *pnCount = m_nLast;
    return m_pLast.get();
  }

 private:
  int m_nHand, m_nLast;
  std::unique_ptr<CARD_INFO[]> m_pHand, m_pLast;
};

struct Outcome {
  int classA = 0, classB = 0, compare = 0, bombs = 0;
  std::vector<int> finders;
  std::vector<std::vector<int32_t>> hints;
  bool operator==(const Outcome& o) const {
    return classA == o.classA && classB == o.classB && compare == o.compare && bombs == o.bombs &&
           finders == o.finders && hints == o.hints;
  }
};

std::unique_ptr<CARD_INFO[]> Exact(const std::vector<int32_t>& codes) {
  std::unique_ptr<CARD_INFO[]> p(new CARD_INFO[codes.size()]());
  for (size_t i = 0; i < codes.size(); ++i) CCardRules::SetCardFromCode(&p[i], codes[i]);
  return p;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

Outcome Run(const uint8_t* data, size_t size) {
  Input in{data, size};
  const uint8_t flags = in.Byte();
  const int players = (flags & 1) ? 4 : 3;
  const bool bNegative = flags & 8;
  std::vector<int32_t> sets[4];
  int sizes[4];
  for (int& s : sizes) s = in.Byte() % (CCardRules::MAX_CARDS + 1);
  for (int k = 0; k < 4; ++k)
    for (int i = 0; i < sizes[k]; ++i) {
      const uint8_t b = in.Byte();
      sets[k].push_back(bNegative ? static_cast<int32_t>(b) - 128 : b);
    }

  Outcome out;
  ExactTable table(sets[3], sets[2]);
  table.SetRuleOptions(players, (flags >> 1) & 1, (flags >> 2) & 1);

  auto a = Exact(sets[0]);
  auto b = Exact(sets[1]);
  out.classA = table.ClassifyCards(a.get(), sizes[0]);
  out.classB = table.ClassifyCards(b.get(), sizes[1]);
  Check(out.classA >= 0 && out.classA <= PLAY_FOUR_JOKERS);
  out.compare = table.CompareCards(a.get(), sizes[0], b.get(), sizes[1]);
  // Classifying a sorted set again changes nothing.
  Check(table.ClassifyCards(a.get(), sizes[0]) == out.classA);

  std::map<int32_t, int> handCodes;
  for (int32_t c : sets[3]) ++handCodes[c];

  out.bombs = table.CountBombs(CCardRules::OWN_POSITION);  // also sorts the hand
  const CARD_INFO* p = nullptr;
  int n = table.FindHint(&p);
  const int total = table.GetCandidateCount();
  Check(total <= CCardRules::MAX_CANDIDATES);
  for (int k = 0; n > 0 && k < total; ++k) {
    if (k > 0) n = table.FindHint(&p);
    Check(p != nullptr && n > 0 && n <= table.HandCount());
    std::map<int32_t, int> used;
    std::vector<int32_t> codes;
    for (int i = 0; i < n; ++i) {
      codes.push_back(p[i].nCode);
      Check(++used[p[i].nCode] <= handCodes[p[i].nCode]);
    }
    out.hints.push_back(codes);
  }
  if (total == 0) Check(n == 0 && p == nullptr);
  // The search neither adds, drops nor leaves marked any card of the hand.
  std::map<int32_t, int> after;
  for (int i = 0; i < table.HandCount(); ++i) {
    ++after[table.Hand()[i].nCode];
    Check(table.Hand()[i].bHintMark == 0);
  }
  Check(after == handCodes);

  // Finders called with any position, rank and size.
  while (in.pos < in.n) {
    const int which = in.Byte() % 11;
    const int s = static_cast<int8_t>(in.Byte());
    const int r = static_cast<int8_t>(in.Byte());
    const int g = static_cast<int8_t>(in.Byte());
    int res = 0;
    switch (which) {
      case 0:
        res = table.FindSameRank(s, r, g);
        break;
      case 1:
        res = table.FindStraight(r, g);
        break;
      case 2:
        res = table.FindPairRun(s, r, g);
        break;
      case 3:
        res = table.FindTripleRun(s, r, g);
        break;
      case 4:
        res = table.FindTriplesWithSingles(s, r, g);
        break;
      case 5:
        res = table.FindTriplesWithPairs(s, r, g);
        break;
      case 6:
        res = table.FindFoursWithSingle(s, r, g);
        break;
      case 7:
        res = table.FindFoursWithTwoSingles(s, r, g);
        break;
      case 8:
        res = table.FindFoursWithPair(s, r, g);
        break;
      case 9:
        res = table.FindFoursWithTwoPairs(s, r, g);
        break;
      default:
        res = table.AddCandidate(r);
        break;
    }
    out.finders.push_back(res);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Outcome first = Run(data, size);
  Outcome second = Run(data, size);
  Check(first == second);
  return 0;
}
