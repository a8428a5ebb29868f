// Hint search: candidate order and cycling, and the finders' marking rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CardRules.h"
#include "CardText.h"

using cardtext::Faces;

namespace {

class Table : public CCardTable {
 public:
  explicit Table(int players, int straight = 0, int tripleSingle = 0) {
    SetRuleOptions(players, straight, tripleSingle);
  }
  void Deal(const std::string& last, const std::string& hand) {
    std::vector<int32_t> h = cardtext::Codes(hand), l = cardtext::Codes(last);
    SetSeatCodes(OWN_POSITION, h.data(), static_cast<int>(h.size()));
    SortSeatHand(OWN_POSITION, 0);
    SetLastPlayCodes(l.data(), static_cast<int>(l.size()));
  }
  // One full cycle of hint presses.
  std::vector<std::string> Cycle() {
    std::vector<std::string> out;
    const CARD_INFO* p = nullptr;
    int n = FindHint(&p);
    if (n == 0) return out;
    const int total = GetCandidateCount();
    out.push_back(Faces(p, n));
    for (int i = 1; i < total; ++i) {
      n = FindHint(&p);
      out.push_back(Faces(p, n));
    }
    return out;
  }
  CARD_INFO* Own() { return SeatCards(OWN_POSITION); }
  int OwnCount() { return SeatCardCount(OWN_POSITION); }
  std::string Marked() {
    std::string s;
    for (int i = 0; i < OwnCount(); ++i) {
      if (!Own()[i].bHintMark) continue;
      if (!s.empty()) s += ' ';
      s += cardtext::RankFace(Own()[i].nRank);
    }
    return s;
  }
};

struct HintRow {
  int players, straight, tripleSingle;
  const char* last;
  const char* hand;
  std::vector<std::string> candidates;
};

TEST(RulesHint, CandidatesWeakestFirst) {
  const HintRow rows[] = {
      {3, 0, 0, "9", "2 A A K 9 5", {"K", "A", "2"}},
      {3, 0, 0, "3 3", "5 5 5 5 8", {"5 5", "5 5 5 5"}},
      {3, 0, 0, "8", "sj bj 3 3 3 3 9", {"9", "sj", "bj", "3 3 3 3", "bj sj"}},
      {3, 0, 0, "2", "3 4 5", {}},
      {3, 0, 0, "", "3 4 sj bj", {}},
      {3, 0, 0, "5 5 5 5", "7 7 7 7 3 3 3 3", {"7 7 7 7"}},
      {3, 0, 0, "5 5 5 5", "7 7 7 7 sj bj", {"7 7 7 7", "bj sj"}},
      {3, 0, 0, "3 3 3 4 4 4 5 6", "6 6 6 6 7 7 7 8 3", {"6 6 6 7 7 7 8 3", "6 6 6 6"}},
      {3, 0, 0, "3 3 3 3 5 5 8", "9 9 9 9 7 7 7 7 5 4 3", {"9 9 9 9 7 7 3", "7 7 7 7", "9 9 9 9"}},
      {3, 0, 0, "3 3 3 3 4 4 5 5", "9 9 9 9 5 5 5 5 3", {"5 5 5 5", "9 9 9 9"}},
      {3, 0, 0, "3 3 3 3 4 4 5 5", "9 9 9 9 6 6 5 5 3", {"9 9 9 9 6 6 5 5", "9 9 9 9"}},
      {3, 0, 0, "3 4 5 6 7", "4 5 6 7 8 9 10 2 2", {"8 7 6 5 4", "9 8 7 6 5", "10 9 8 7 6"}},
      {3, 0, 0, "3 4 5 6 7 8", "4 5 6 7 8", {}},
      {3, 0, 0, "3 3 4 4 5 5", "6 6 7 7 8 8 9 9 K", {"8 8 7 7 6 6", "9 9 8 8 7 7"}},
      {3, 0, 0, "3 3 4 4 5 5", "2 2 A A K K 4", {}},
      {3, 0, 0, "3 3 3 4 4 4", "A A A K K K Q Q Q 3", {"K K K Q Q Q", "A A A K K K"}},
      {3, 0, 0, "3 3 3 4 4", "5 5 5 9 9 J J", {"5 5 5 9 9"}},
      {3, 0, 0, "3 3 3 4", "5 5 5 5 6", {"5 5 5 6", "5 5 5 5"}},
      {3, 0, 0, "3 3 3 4", "5 5 5 5", {"5 5 5 5"}},  // the single must differ from the triple
      {3, 0, 0, "3 3 3 3 4 5", "8 8 8 8 K 6 2", {"8 8 8 8 K 6", "8 8 8 8"}},
      {3, 0, 0, "3 3 3 3 4", "8 8 8 8 K 6", {"8 8 8 8 6", "8 8 8 8"}},
      {3, 0, 0, "3 3 3 3 4 4", "8 8 8 8 K K 6", {"8 8 8 8 K K", "8 8 8 8"}},
      {3, 0, 0, "sj bj", "2 2 2 2 A", {}},
      // Runs: every group of the run is found, the attached cards come from below.
      {3,
       0,
       0,
       "3 3 3 3 4 4 4 4 5 6",
       "9 9 9 9 10 10 10 10 K 2 3",
       {"10 10 10 10 9 9 9 9 K 3", "9 9 9 9", "10 10 10 10"}},
      {3,
       0,
       0,
       "3 3 3 3 4 4 4 4 5 5 6 6 7 7 8 8",
       "9 9 9 9 10 10 10 10 3 3 5 5 J J K K",
       {"10 10 10 10 9 9 9 9 K K J J 5 5 3 3", "9 9 9 9", "10 10 10 10"}},
      {3, 0, 0, "3 3 3 4 4 4 5 5 6 6", "9 9 9 10 10 10 3 3 4 4 K", {"10 10 10 9 9 9 4 4 3 3"}},
      // Four players: longer bombs, four jokers, no rocket.
      {4, 0, 0, "5 5 5 5", "3 3 3 3 3 9 9 9 9", {"3 3 3 3 3", "9 9 9 9"}},
      {4, 0, 0, "5 5 5 5 5", "4 4 4 4 4 4 9 9 9 9 9 3", {"4 4 4 4 4 4", "9 9 9 9 9"}},
      {4, 0, 0, "5 5 5 5", "9 9 9 9 9 9 3", {"9 9 9 9", "9 9 9 9 9", "9 9 9 9 9 9"}},
      {4, 0, 0, "2 2 2 2 2 2 2 2", "sj sj bj bj 3", {"bj bj sj sj"}},
      {4, 0, 0, "3", "sj bj", {"sj", "bj"}},
      {4, 0, 0, "sj sj bj bj", "2 2 2 2 2 2 2 2", {}},
      {4, 0, 0, "3 4 5 6 7", "8 9 10 J Q", {}},
      {4, 1, 0, "3 4 5 6 7", "8 9 10 J Q", {"Q J 10 9 8"}},
      {4, 0, 0, "3 3 3 4", "5 5 5 6", {}},
      {4, 0, 1, "3 3 3 4", "5 5 5 6", {"5 5 5 6"}},
  };
  for (const HintRow& r : rows) {
    Table t(r.players, r.straight, r.tripleSingle);
    t.Deal(r.last, r.hand);
    EXPECT_EQ(t.Cycle(), r.candidates) << r.players << "p last [" << r.last << "] hand [" << r.hand << "]";
  }
}

TEST(RulesHint, KeysAndCycling) {
  Table t(3);
  t.Deal("3 3", "5 5 5 5 8");
  const CARD_INFO* p = nullptr;
  ASSERT_EQ(t.FindHint(&p), 2);
  EXPECT_EQ(t.GetCandidate(0)->nKey, 2);
  EXPECT_EQ(t.GetCandidate(1)->nKey, 402);

  t.Deal("9", "2 A A K 9 5");
  std::vector<std::string> seen;
  for (int i = 0; i < 7; ++i) {
    int n = t.FindHint(&p);
    seen.push_back(Faces(p, n));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"K", "A", "2", "K", "A", "2", "K"}));
  EXPECT_EQ(t.GetHintIndex(), 0);
  // The hand is left as it was: sorted, nothing marked.
  EXPECT_EQ(Faces(t.Own(), t.OwnCount()), "A A 2 K 9 5");
  EXPECT_EQ(t.Marked(), "");

  // A new play starts again from the weakest.
  t.InvalidateHint();
  int n = t.FindHint(&p);
  EXPECT_EQ(Faces(p, n), "K");
}

TEST(RulesHint, NothingToBeatKeepsTheListStale) {
  Table t(3);
  t.Deal("", "3 4 5");
  const CARD_INFO* p = reinterpret_cast<const CARD_INFO*>(&t);
  EXPECT_EQ(t.FindHint(&p), 0);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(t.m_bHintRecompute, 1);

  t.Deal("2", "3 4 5");
  EXPECT_EQ(t.FindHint(&p), 0);
  EXPECT_EQ(t.m_bHintRecompute, 0) << "a searched table with no answer is not stale";
  EXPECT_EQ(t.GetCandidateCount(), 0);
}

TEST(RulesHint, AddCandidateNeedsMarksAndStopsAtSixty) {
  Table t(3);
  t.Deal("", "3 4 5");
  EXPECT_EQ(t.AddCandidate(1), 0);
  t.Own()[1].bHintMark = 1;
  for (int i = 0; i < CCardRules::MAX_CANDIDATES; ++i) ASSERT_EQ(t.AddCandidate(i), 1);
  EXPECT_EQ(t.AddCandidate(99), 0);
  EXPECT_EQ(t.GetCandidateCount(), CCardRules::MAX_CANDIDATES);
  EXPECT_EQ(t.GetCandidate(59)->nCount, 1);
  EXPECT_EQ(t.GetCandidate(59)->pCards[0].nRank, t.Own()[1].nRank);
  EXPECT_EQ(t.GetCandidate(60), nullptr);
  EXPECT_EQ(t.GetCandidate(-1), nullptr);
}

TEST(RulesFinders, MarkingAndClearing) {
  Table t(3);
  t.Deal("", "9 9 9 9 7 7 7 7 5 4 3");  // 9999 7777 5 4 3

  // Refused at the first check: marks stay as they were.
  t.Own()[10].bHintMark = 1;
  EXPECT_EQ(t.FindPairRun(0, 4, 1), 0);
  EXPECT_EQ(t.FindTripleRun(9, 1, 1), 0);
  EXPECT_EQ(t.FindFoursWithPair(-1, 6, 1), 0);
  EXPECT_EQ(t.FindFoursWithPair(10, 0, 1), 0);
  EXPECT_EQ(t.FindStraight(2, 5), 0);
  EXPECT_EQ(t.FindSameRank(0, 6, 5), 0);
  EXPECT_EQ(t.Marked(), "3");

  // Success leaves exactly one combination marked.
  EXPECT_EQ(t.FindFoursWithPair(0, 6, 1), 1);
  EXPECT_EQ(t.Marked(), "9 9 9 9 7 7");
  EXPECT_EQ(t.FindFoursWithPairSingle(0, 6, 1), 1);
  EXPECT_EQ(t.Marked(), "9 9 9 9 7 7 3");
  EXPECT_EQ(t.FindSameRank(2, 6, 2), 2);
  EXPECT_EQ(t.Marked(), "9 9");
  EXPECT_EQ(t.FindStraight(2, 3), 1);
  EXPECT_EQ(t.Marked(), "5 4 3");

  // Failure after marking began clears everything: the one-group pair must
  // start at position 3 or later, and 7777 has no free pair there.
  EXPECT_EQ(t.FindFoursWithPair(4, 4, 1), 0);
  EXPECT_EQ(t.Marked(), "");
  t.Own()[0].bHintMark = 1;
  EXPECT_EQ(t.FindStraight(4, 5), 0);  // no 6 in the hand
  EXPECT_EQ(t.Marked(), "");
  t.Own()[0].bHintMark = 1;
  EXPECT_EQ(t.FindTriplesWithPairs(0, 6, 2), 0);  // needs 8 8 8
  EXPECT_EQ(t.Marked(), "");

  // Two pairs: a pair of the first pair's rank is passed over.
  t.Deal("", "9 9 9 9 5 5 5 5 3");
  EXPECT_EQ(t.FindFoursWithTwoPairs(0, 6, 1), 0);
  t.Deal("", "9 9 9 9 5 5 5 5 3 3");
  EXPECT_EQ(t.FindFoursWithTwoPairs(0, 6, 1), 1);
  EXPECT_EQ(t.Marked(), "9 9 9 9 5 5 3 3");
}

TEST(RulesFinders, RunsSkipTwosAndTakeSinglesOutsideThePlane) {
  Table t(3);
  t.Deal("", "2 2 A A K K Q Q");
  EXPECT_EQ(t.FindPairRun(2, 11, 3), 1);
  EXPECT_EQ(t.Marked(), "A A K K Q Q");
  EXPECT_EQ(t.FindPairRun(0, 12, 3), 0) << "twos never join a run";
  EXPECT_EQ(t.Marked(), "");

  // The plane's singles come from the hand's end but skip the plane's ranks.
  t.Deal("", "6 6 6 6 7 7 7 8 3");
  EXPECT_EQ(t.FindTriplesWithSingles(4, 4, 2), 1);
  EXPECT_EQ(t.Marked(), "6 6 6 7 7 7 8 3");
  t.Deal("", "6 6 6 7 7 7 7 3");
  EXPECT_EQ(t.FindTriplesWithSingles(0, 4, 2), 0);
  EXPECT_EQ(t.Marked(), "");

  // Fours in a run take their pairs from below.
  t.Deal("", "8 8 8 8 9 9 9 9 3 3 4 4");
  EXPECT_EQ(t.FindFoursWithPair(0, 6, 2), 1);
  EXPECT_EQ(t.Marked(), "9 9 9 9 8 8 8 8 4 4 3 3");
}

}  // namespace
