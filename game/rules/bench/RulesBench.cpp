// Classification, comparison and full hint recompute over random deals.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "CardRules.h"
#include "HintReference.h"
#include "PlayShapes.h"

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
    case 0:
      ok = take(rng() % 15, 1, codes);
      break;
    case 1:
      ok = take(r, 2, codes);
      break;
    case 2:
      ok = take(r, 3, codes) && take((r + 1 + rng() % 12) % 13, 1, codes);
      break;
    case 3:
      ok = take(r, 3, codes) && take((r + 1 + rng() % 12) % 13, 2, codes);
      break;
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
    case 7:
      ok = take(r, 4, codes) && take((r + 3) % 13, 1, codes) && take((r + 6) % 13, 1, codes);
      break;
    case 8:
      ok = take(r, 4, codes);
      break;
    default:
      ok = take(r, 1, codes);
      break;
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
    benchmark::DoNotOptimize(
        rules.CompareCards(a, static_cast<int>(p.cards.size()), b, static_cast<int>(q.cards.size())));
  }
}
BENCHMARK(BM_Compare);

// One recompute per iteration over the deals in turn (a power of two of
// them; a recompute leaves the hand as it found it), with the candidates per
// recompute as a counter.
template <class Table, class Deal>
void TimeRecomputes(benchmark::State& state, Table& table, std::vector<Deal>& deals) {
  const size_t mask = deals.size() - 1;
  size_t i = 0;
  int64_t candidates = 0;
  for (auto _ : state) {
    table.cur = &deals[i++ & mask];
    table.InvalidateHint();
    const CARD_INFO* p = nullptr;
    benchmark::DoNotOptimize(table.FindHint(&p));
    candidates += table.GetCandidateCount();
  }
  state.counters["candidates"] =
      benchmark::Counter(static_cast<double>(candidates), benchmark::Counter::kAvgIterations);
}

// One full recompute: classify the last play, run every finder, add bombs
// and the rocket, sort the list, hand out the first candidate.
void BM_HintRecompute(benchmark::State& state) {
  const int handSize = static_cast<int>(state.range(0));
  std::vector<Scenario> sc = MakeScenarios(handSize, 256, 3 + handSize);
  BenchTable table;
  table.SetRuleOptions(3, 0, 0);
  TimeRecomputes(state, table, sc);
}
BENCHMARK(BM_HintRecompute)->Arg(17)->Arg(20)->Repetitions(5)->ReportAggregatesOnly(true);

// The search alone, the last play classified beforehand (type, top rank and
// count, as the recompute derives them), over the same deals.
void BM_HintSearch(benchmark::State& state) {
  const int handSize = static_cast<int>(state.range(0));
  std::vector<Scenario> sc = MakeScenarios(handSize, 256, 3 + handSize);
  struct Classified {
    int type, top, count;
  };
  std::vector<Classified> pre;
  CCardTable rules;
  rules.SetRuleOptions(3, 0, 0);
  for (const Scenario& s : sc) {
    std::vector<CARD_INFO> tmp = s.last.cards;
    const int n = static_cast<int>(tmp.size());
    const int type = rules.ClassifyCards(tmp.data(), n);  // sorts tmp in mode 0
    pre.push_back({type, n > 0 ? tmp[0].nRank : 0, n});
  }
  BenchTable table;
  table.SetRuleOptions(3, 0, 0);
  const size_t mask = sc.size() - 1;
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = i++ & mask;
    table.cur = &sc[k];
    table.SearchHints(pre[k].type, pre[k].top, pre[k].count);
    const CARD_INFO* p = nullptr;
    benchmark::DoNotOptimize(table.FindHint(&p));
  }
}
BENCHMARK(BM_HintSearch)->Arg(17)->Arg(20)->Repetitions(5)->ReportAggregatesOnly(true);

// The floor any search pays, over the same deals: the hand's and the last
// play's rank histograms, then one scan of the ranks above the play's main
// rank for those with as many cards.
void BM_HintFloor(benchmark::State& state) {
  const int handSize = static_cast<int>(state.range(0));
  std::vector<Scenario> sc = MakeScenarios(handSize, 256, 3 + handSize);
  const size_t mask = sc.size() - 1;
  size_t i = 0;
  for (auto _ : state) {
    const Scenario& s = sc[i++ & mask];
    benchmark::DoNotOptimize(&s);
    int hand[16] = {0}, last[16] = {0};
    for (int k = 0; k < s.handCount; ++k) ++hand[s.hand[k].nRank & 15];
    for (const CARD_INFO& c : s.last.cards) ++last[c.nRank & 15];
    int top = 0, need = 0;
    for (int r = 0; r < 15; ++r)
      if (last[r] >= need && last[r] > 0) need = last[r], top = r;
    int answers = 0;
    for (int r = top + 1; r < 15; ++r) answers += hand[r] >= need;
    benchmark::DoNotOptimize(answers);
  }
}
BENCHMARK(BM_HintFloor)->Arg(17)->Arg(20)->Repetitions(5)->ReportAggregatesOnly(true);

// ---- per shape, the engine beside the card-by-card reference -----------------

struct ShapeDeal {
  CARD_INFO hand[CCardRules::MAX_CARDS];
  int handCount;
  CARD_INFO last[CCardRules::MAX_CARDS];
  int lastCount;
};

template <class Base>
class DealTable : public Base {
 public:
  ShapeDeal* cur = nullptr;

 protected:
  CARD_INFO* GetSeatCards(int pos) override { return pos == Base::OWN_POSITION ? cur->hand : nullptr; }
  int GetSeatCardCount(int pos) override { return pos == Base::OWN_POSITION ? cur->handCount : 0; }
  const CARD_INFO* GetLastPlayCards(int* n) override {
    *n = cur->lastCount;
    return cur->last;
  }
};

const int kDeals = 64;

// Sorted hands of handSize cards from one deck, each with a last play of the
// shape made from the cards the hand does not hold.
std::vector<ShapeDeal> ShapeDeals(int shape, int handSize) {
  std::mt19937 rng(1000u * static_cast<unsigned>(shape) + static_cast<unsigned>(handSize));
  CCardTable rules;
  std::vector<ShapeDeal> out;
  while (static_cast<int>(out.size()) < kDeals) {
    ShapeDeal d = {};
    std::vector<int32_t> last;
    if (!playshapes::MakeShape(rng, shape, 1, last)) continue;
    // The hand gets the cards the play left, in random order.
    std::vector<int32_t> rest;
    for (int v = 0; v < 54; ++v)
      if (std::find(last.begin(), last.end(), v) == last.end()) rest.push_back(v);
    std::shuffle(rest.begin(), rest.end(), rng);
    if (static_cast<int>(rest.size()) < handSize) continue;
    d.handCount = handSize;
    for (int i = 0; i < handSize; ++i) CCardRules::SetCardFromCode(&d.hand[i], rest[i]);
    rules.SortCards(d.hand, handSize, 0, 0);
    d.lastCount = static_cast<int>(last.size());
    for (int i = 0; i < d.lastCount; ++i) CCardRules::SetCardFromCode(&d.last[i], last[i]);
    out.push_back(d);
  }
  return out;
}

template <class Engine>
void BM_HintShape(benchmark::State& state) {
  const int shape = static_cast<int>(state.range(0));
  std::vector<ShapeDeal> deals = ShapeDeals(shape, static_cast<int>(state.range(1)));
  DealTable<Engine> table;
  table.SetRuleOptions(3, 0, 0);
  TimeRecomputes(state, table, deals);
  state.SetLabel(playshapes::ShapeName(shape));
}

void ShapeArgs(benchmark::internal::Benchmark* b) {
  for (int size : {17, 20, 33})
    for (int shape = 0; shape < playshapes::kShapeCount; ++shape)
      if (shape != playshapes::kBombBig) b->Args({shape, size});  // one deck has none
}
BENCHMARK_TEMPLATE(BM_HintShape, CCardRules)->Apply(ShapeArgs);
BENCHMARK_TEMPLATE(BM_HintShape, HintReference)->Apply(ShapeArgs);

// Keeps every run's time per iteration (the median when repeated) by name.
class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> ns;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      ns[r.run_name.function_name + "/" + r.run_name.args] = r.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The per-shape table: our time, the reference's, the speed-up; then the
// median and worst shape per hand size and the growth from 17 to 33 cards.
void PrintShapeSummary(const Collector& c) {
  auto get = [&](const char* engine, int shape, int size) {
    auto it =
        c.ns.find(std::string("BM_HintShape<") + engine + ">/" + std::to_string(shape) + "/" + std::to_string(size));
    return it == c.ns.end() ? -1.0 : it->second;
  };
  for (int size : {17, 20}) {
    auto at = [&](const char* name) {
      auto it = c.ns.find(std::string(name) + "/" + std::to_string(size));
      return it == c.ns.end() ? -1.0 : it->second;
    };
    const double floor = at("BM_HintFloor"), whole = at("BM_HintRecompute"), search = at("BM_HintSearch");
    if (floor <= 0) continue;
    if (whole > 0)
      std::printf("%d cards: whole recompute %.1f ns / floor %.1f ns = %.2fx\n", size, whole, floor, whole / floor);
    if (search > 0)
      std::printf("%d cards: search alone    %.1f ns / floor %.1f ns = %.2fx\n", size, search, floor, search / floor);
  }
  if (get("CCardRules", 0, 17) < 0) return;
  std::printf("\nhint recompute per shape (ns): engine / reference = speed-up\n");
  std::printf("%-18s %22s %22s %22s %7s\n", "shape", "17 cards", "20 cards", "33 cards", "33/17");
  std::map<int, std::vector<double>> bySize;
  double worstGrowth = 0;
  for (int shape = 0; shape < playshapes::kShapeCount; ++shape) {
    if (get("CCardRules", shape, 17) < 0) continue;
    std::printf("%-18s", playshapes::ShapeName(shape));
    for (int size : {17, 20, 33}) {
      const double a = get("CCardRules", shape, size), b = get("HintReference", shape, size);
      std::printf(" %6.0f / %6.0f = %4.1fx", a, b, a > 0 ? b / a : 0);
      bySize[size].push_back(a);
    }
    const double growth = get("CCardRules", shape, 33) / get("CCardRules", shape, 17);
    worstGrowth = std::max(worstGrowth, growth);
    std::printf(" %6.2f\n", growth);
  }
  for (int size : {17, 20, 33})
    std::printf("%d cards: median %.0f ns, worst shape %.0f ns\n", size, Median(bySize[size]),
                *std::max_element(bySize[size].begin(), bySize[size].end()));
  std::printf("largest growth from 17 to 33 cards: %.2fx\n", worstGrowth);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  PrintShapeSummary(collector);
  benchmark::Shutdown();
  return 0;
}
