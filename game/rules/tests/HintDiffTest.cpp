// The hint search and classification against the card-by-card reference
// they replaced: on many random hands and last plays, every candidate list
// (content, order, keys, cap), every press and the hand left behind are equal
// byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "CardRules.h"
#include "HintReference.h"
#include "PlayShapes.h"

namespace {

struct Deal {
  std::vector<CARD_INFO> hand;
  std::vector<CARD_INFO> last;
};

// Both engines read the same deal through their storage hooks.
template <class Base>
class DealTable : public Base {
 public:
  Deal d;

 protected:
  CARD_INFO* GetSeatCards(int pos) override { return pos == Base::OWN_POSITION ? d.hand.data() : nullptr; }
  int GetSeatCardCount(int pos) override { return pos == Base::OWN_POSITION ? static_cast<int>(d.hand.size()) : 0; }
  const CARD_INFO* GetLastPlayCards(int* n) override {
    *n = static_cast<int>(d.last.size());
    return d.last.data();
  }
};

std::vector<CARD_INFO> Cards(const std::vector<int32_t>& codes) {
  std::vector<CARD_INFO> out(codes.size());
  for (size_t i = 0; i < codes.size(); ++i) CCardRules::SetCardFromCode(&out[i], codes[i]);
  return out;
}

std::string Bytes(const void* p, size_t n) { return std::string(static_cast<const char*>(p), n); }

// Every press of a full cycle and then some, with the state after each.
template <class T>
std::string Presses(T& t) {
  std::string s;
  for (int k = 0; k < 3; ++k) {
    const CARD_INFO* p = nullptr;
    const int n = t.FindHint(&p);
    s += std::to_string(n) + ":" + std::to_string(t.GetHintIndex()) + ":" + std::to_string(t.GetCandidateCount()) +
         ":" + std::to_string(t.m_bHintRecompute) + ";";
    if (n > 0) s += Bytes(p, sizeof(CARD_INFO) * static_cast<size_t>(n));
    if (k == 0) {
      for (int i = 0; i < t.GetCandidateCount(); ++i) {
        const HINT_CANDIDATE* c = t.GetCandidate(i);
        s += "[" + std::to_string(c->nCount) + "," + std::to_string(c->nKey) + "]";
        s += Bytes(c->pCards, sizeof(CARD_INFO) * static_cast<size_t>(c->nCount));
      }
    }
  }
  return s;
}

struct Options {
  int players, straight, tripleSingle;
};

// Runs one deal through both engines; the hand is sorted as the table sorts
// it unless `unsorted`. Returns the candidate count seen.
int Compare(const Options& o, const Deal& deal, bool unsorted, const std::string& what) {
  DealTable<CCardRules> now;
  DealTable<HintReference> ref;
  now.SetRuleOptions(o.players, o.straight, o.tripleSingle);
  ref.SetRuleOptions(o.players, o.straight, o.tripleSingle);
  now.d = deal;
  ref.d = deal;
  if (!unsorted) {
    now.SortSeatHand(CCardRules::OWN_POSITION, 0);
    ref.SortSeatHand(HintReference::OWN_POSITION, 0);
  }
  const size_t handBytes = sizeof(CARD_INFO) * deal.hand.size();
  EXPECT_EQ(Bytes(now.d.hand.data(), handBytes), Bytes(ref.d.hand.data(), handBytes)) << what;
  const std::string a = Presses(now), b = Presses(ref);
  EXPECT_EQ(a, b) << what;
  EXPECT_EQ(Bytes(now.d.hand.data(), handBytes), Bytes(ref.d.hand.data(), handBytes)) << what;
  return now.GetCandidateCount();
}

std::string Describe(const Options& o, const Deal& d) {
  std::string s = "players " + std::to_string(o.players) + " switches " + std::to_string(o.straight) +
                  std::to_string(o.tripleSingle) + " last";
  for (const CARD_INFO& c : d.last) s += " " + std::to_string(c.nCode);
  s += " hand";
  for (const CARD_INFO& c : d.hand) s += " " + std::to_string(c.nCode);
  return s;
}

// Hands leaning to many cards of few ranks, so bombs, runs and planes with
// attachments are common, and to the biggest sizes a hand can have.
std::vector<int32_t> BiasedHand(std::mt19937& rng, int decks, int n) {
  std::vector<int32_t> out;
  std::vector<int> used(54 * static_cast<size_t>(decks), 0);
  const int lo = static_cast<int>(rng() % 8), span = 2 + static_cast<int>(rng() % 9);
  while (static_cast<int>(out.size()) < n) {
    int v;
    if (rng() % 8 == 0) {
      v = static_cast<int>(rng() % (54u * decks));
    } else {
      const int r = (lo + static_cast<int>(rng() % unsigned(span))) % 13;
      v = r + 13 * static_cast<int>(rng() % 4) + 54 * static_cast<int>(rng() % unsigned(decks));
    }
    if (used[v]) continue;
    used[v] = 1;
    out.push_back(v);
  }
  return out;
}

TEST(RulesHintDiff, EqualListsOnRandomDeals) {
  std::mt19937 rng(20261210);
  // Three players know the most shapes: they get the most deals.
  const Options kOptions[] = {{3, 0, 0}, {3, 0, 0}, {3, 0, 0}, {4, 0, 0}, {4, 1, 0}, {4, 0, 1}, {4, 1, 1}};
  int withCandidates = 0, capped = 0, deals = 0;
  for (const Options& o : kOptions) {
    const int decks = o.players == 4 ? 2 : 1;
    for (int round = 0; round < 6000; ++round) {
      const int n = static_cast<int>(rng() % (CCardRules::MAX_CARDS + 1));
      Deal d;
      d.hand = Cards(round % 2 ? BiasedHand(rng, decks, n) : playshapes::DealHand(rng, decks, n));
      std::vector<int32_t> last;
      if (round % 5 == 4) {
        // Any few cards: mostly plays nothing answers.
        last = playshapes::DealHand(rng, decks, static_cast<int>(rng() % 9));
      } else {
        while (!playshapes::MakeShape(rng, static_cast<int>(rng() % playshapes::kShapeCount), decks, last))
          last.clear();
      }
      d.last = Cards(last);
      const std::string what = Describe(o, d);
      const int c = Compare(o, d, false, what);
      withCandidates += c > 0;
      capped += c == CCardRules::MAX_CANDIDATES;
      ++deals;
      if (round % 16 == 0) Compare(o, d, true, "unsorted " + what);
      if (HasFailure()) return;
    }
  }
  // The deals must reach the search, not only leads and misses.
  EXPECT_GT(withCandidates, deals / 5);
  RecordProperty("capped", capped);
}

// Records the card-by-card search alone can read: negative codes, ranks out
// of range, joker marks on plain ranks and ranks split in two runs.
TEST(RulesHintDiff, EqualListsOnOddRecords) {
  std::mt19937 rng(77);
  for (int round = 0; round < 4000; ++round) {
    const Options o{round % 3 ? 3 : 4, round & 1, (round >> 1) & 1};
    Deal d;
    const int n = static_cast<int>(rng() % (CCardRules::MAX_CARDS + 1));
    for (int i = 0; i < n; ++i) {
      CARD_INFO c;
      CCardRules::SetCardFromCode(&c, static_cast<int32_t>(rng() % 256) - 128);
      c.nCount = static_cast<int32_t>(rng() % 5);
      c.bHintMark = static_cast<int32_t>(rng() % 2);
      if (rng() % 16 == 0) c.nRank = static_cast<int32_t>(rng() % 20) - 2;
      if (rng() % 16 == 0) c.nSuit = 52 + static_cast<int32_t>(rng() % 3);
      d.hand.push_back(c);
    }
    std::vector<int32_t> last;
    while (!playshapes::MakeShape(rng, static_cast<int>(rng() % playshapes::kShapeCount), o.players == 4 ? 2 : 1, last))
      last.clear();
    d.last = Cards(last);
    Compare(o, d, round % 2 == 0, Describe(o, d));
    if (HasFailure()) return;
  }
}

// Classification, comparison and sorting give the same type, order and answer.
TEST(RulesHintDiff, EqualClassification) {
  std::mt19937 rng(5);
  for (int round = 0; round < 20000; ++round) {
    const Options o{round % 2 ? 3 : 4, (round >> 1) & 1, (round >> 2) & 1};
    const int decks = o.players == 4 ? 2 : 1;
    std::vector<int32_t> a, b;
    if (round % 3 == 0) {
      a = playshapes::DealHand(rng, decks, static_cast<int>(rng() % 12));
    } else {
      while (!playshapes::MakeShape(rng, static_cast<int>(rng() % playshapes::kShapeCount), decks, a)) a.clear();
    }
    while (!playshapes::MakeShape(rng, static_cast<int>(rng() % playshapes::kShapeCount), decks, b)) b.clear();
    CCardTable now;
    DealTable<HintReference> ref;
    now.SetRuleOptions(o.players, o.straight, o.tripleSingle);
    ref.SetRuleOptions(o.players, o.straight, o.tripleSingle);
    std::vector<CARD_INFO> a1 = Cards(a), a2 = a1, b1 = Cards(b), b2 = b1;
    const int na = static_cast<int>(a.size()), nb = static_cast<int>(b.size());
    ASSERT_EQ(now.ClassifyCards(a1.data(), na), ref.ClassifyCards(a2.data(), na));
    ASSERT_EQ(Bytes(a1.data(), a1.size() * sizeof(CARD_INFO)), Bytes(a2.data(), a2.size() * sizeof(CARD_INFO)));
    ASSERT_EQ(now.CompareCards(a1.data(), na, b1.data(), nb), ref.CompareCards(a2.data(), na, b2.data(), nb));
    // Every order, on fresh records and on records with odd fields.
    std::vector<CARD_INFO> c1 = Cards(a);
    if (round % 4 == 0 && !c1.empty()) c1[rng() % c1.size()].nSuit = -1;
    std::vector<CARD_INFO> c2 = c1;
    const int mode = static_cast<int>(rng() % 5) - 1;
    now.SortCards(c1.data(), na, 0, mode);
    ref.SortCards(c2.data(), na, 0, mode);
    ASSERT_EQ(Bytes(c1.data(), c1.size() * sizeof(CARD_INFO)), Bytes(c2.data(), c2.size() * sizeof(CARD_INFO)))
        << "order " << mode;
  }
}

}  // namespace
