// Classification, comparison and full hint recompute over random deals.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "CardRules.h"

namespace {

struct Play {
  std::vector<CARD_INFO> cards;  // unsorted, as dealt
  int type = 0;
};

struct Scenario {
  CARD_INFO hand[CCardRules::MAX_CARDS];
  int handCount = 0;
  Play last;
};

// Engine whose storage hooks point at the current scenario.
class BenchTable : public CCardRules {
 public:
  Scenario* cur = nullptr;

 protected:
  CARD_INFO* GetSeatCards(int pos) override { return pos == OWN_POSITION ? cur->hand : nullptr; }
  int GetSeatCardCount(int pos) override { return pos == OWN_POSITION ? cur->handCount : 0; }
  const CARD_INFO* GetLastPlayCards(int* n) override {
    *n = static_cast<int>(cur->last.cards.size());
    return cur->last.cards.data();
  }
};

// Builds a legal play of a random shape from the cards not in the hand.
bool BuildPlay(std::mt19937& rng, const std::vector<int>& rest, Play& out, CCardTable& rules) {
  std::vector<int> byRank[15];
  for (int c : rest) {
    CARD_INFO ci;
    CCardRules::SetCardFromCode(&ci, c);
    byRank[ci.nRank].push_back(c);
  }
  auto take = [&](int rank, int k, std::vector<int>& codes) {
    if (static_cast<int>(byRank[rank].size()) < k) return false;
    for (int i = 0; i < k; ++i) {
      codes.push_back(byRank[rank].back());
      byRank[rank].pop_back();
    }
    return true;
  };
  std::vector<int> codes;
  const int shape = rng() % 10;
  const int r = rng() % 13;
  bool ok = true;
  switch (shape) {
    case 0: ok = take(rng() % 15, 1, codes); break;
    case 1: ok = take(r, 2, codes); break;
    case 2: ok = take(r, 3, codes) && take((r + 1 + rng() % 12) % 13, 1, codes); break;
    case 3: ok = take(r, 3, codes) && take((r + 1 + rng() % 12) % 13, 2, codes); break;
    case 4: {
      const int len = 5 + rng() % 4;
      const int lo = rng() % (12 - len + 1);
      for (int k = 0; ok && k < len; ++k) ok = take(lo + k, 1, codes);
      break;
    }
    case 5: {
      const int lo = rng() % 10;
      for (int k = 0; ok && k < 3; ++k) ok = take(lo + k, 2, codes);
      break;
    }
    case 6: {
      const int lo = rng() % 11;
      ok = take(lo, 3, codes) && take(lo + 1, 3, codes) && take((lo + 5) % 13, 1, codes) &&
           take((lo + 7) % 13, 1, codes);
      break;
    }
    case 7: ok = take(r, 4, codes) && take((r + 3) % 13, 1, codes) && take((r + 6) % 13, 1, codes); break;
    case 8: ok = take(r, 4, codes); break;
    default: ok = take(r, 1, codes); break;
  }
  if (!ok) return false;
  std::shuffle(codes.begin(), codes.end(), rng);
  out.cards.resize(codes.size());
  for (size_t i = 0; i < codes.size(); ++i) CCardRules::SetCardFromCode(&out.cards[i], codes[i]);
  std::vector<CARD_INFO> tmp = out.cards;
  out.type = rules.ClassifyCards(tmp.data(), static_cast<int>(tmp.size()));
  return out.type != PLAY_INVALID;
}

std::vector<Scenario> MakeScenarios(int handSize, int count, unsigned seed) {
  std::mt19937 rng(seed);
  CCardTable rules;
  std::vector<Scenario> out;
  while (static_cast<int>(out.size()) < count) {
    std::vector<int> deck(54);
    for (int i = 0; i < 54; ++i) deck[i] = i;
    std::shuffle(deck.begin(), deck.end(), rng);
    Scenario s;
    std::memset(s.hand, 0, sizeof s.hand);
    s.handCount = handSize;
    for (int i = 0; i < handSize; ++i) CCardRules::SetCardFromCode(&s.hand[i], deck[i]);
    rules.SortCards(s.hand, handSize, 0, 0);
    std::vector<int> rest(deck.begin() + handSize, deck.end());
    if (BuildPlay(rng, rest, s.last, rules)) out.push_back(s);
  }
  return out;
}

void BM_Classify(benchmark::State& state) {
  std::vector<Scenario> sc = MakeScenarios(17, 512, 1);
  CCardTable rules;
  CARD_INFO scratch[CCardRules::MAX_CARDS];
  size_t i = 0;
  for (auto _ : state) {
    const Play& p = sc[i++ & 511].last;
    std::memcpy(scratch, p.cards.data(), p.cards.size() * sizeof(CARD_INFO));
    benchmark::DoNotOptimize(rules.ClassifyCards(scratch, static_cast<int>(p.cards.size())));
  }
}
BENCHMARK(BM_Classify);

void BM_Compare(benchmark::State& state) {
  std::vector<Scenario> sc = MakeScenarios(17, 512, 2);
  CCardTable rules;
  CARD_INFO a[CCardRules::MAX_CARDS], b[CCardRules::MAX_CARDS];
  size_t i = 0;
  for (auto _ : state) {
    const Play& p = sc[i & 511].last;
    const Play& q = sc[(i * 7 + 3) & 511].last;
    ++i;
    std::memcpy(a, p.cards.data(), p.cards.size() * sizeof(CARD_INFO));
    std::memcpy(b, q.cards.data(), q.cards.size() * sizeof(CARD_INFO));
    benchmark::DoNotOptimize(rules.CompareCards(a, static_cast<int>(p.cards.size()), b,
                                                static_cast<int>(q.cards.size())));
  }
}
BENCHMARK(BM_Compare);

// One full recompute: classify the last play, run every finder, add bombs
// and the rocket, sort the list, hand out the first candidate.
void BM_HintRecompute(benchmark::State& state) {
  const int handSize = static_cast<int>(state.range(0));
  std::vector<Scenario> sc = MakeScenarios(handSize, 256, 3 + handSize);
  BenchTable table;
  table.SetRuleOptions(3, 0, 0);
  size_t i = 0;
  int64_t candidates = 0;
  for (auto _ : state) {
    table.cur = &sc[i++ & 255];
    table.InvalidateHint();
    const CARD_INFO* p = nullptr;
    benchmark::DoNotOptimize(table.FindHint(&p));
    candidates += table.GetCandidateCount();
  }
  state.counters["candidates"] =
      benchmark::Counter(static_cast<double>(candidates), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HintRecompute)->Arg(17)->Arg(20)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
