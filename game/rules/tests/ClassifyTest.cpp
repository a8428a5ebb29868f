// Records, sorting, classification, comparison and bomb counting.
#include <gtest/gtest.h>

#include <cstring>

#include "CardRules.h"
#include "CardText.h"

using cardtext::Cards;
using cardtext::Faces;

namespace {

struct Rules : CCardTable {
  Rules(int players, int straight = 0, int tripleSingle = 0) { SetRuleOptions(players, straight, tripleSingle); }
  int Classify(const std::string& text) {
    std::vector<CARD_INFO> c = Cards(text);
    return ClassifyCards(c.data(), static_cast<int>(c.size()));
  }
  int Compare(const std::string& a, const std::string& b) {
    std::vector<CARD_INFO> x = Cards(a), y = Cards(b);
    return CompareCards(x.data(), static_cast<int>(x.size()), y.data(), static_cast<int>(y.size()));
  }
  int Bombs(const std::string& hand) {
    std::vector<int32_t> codes = cardtext::Codes(hand);
    SetSeatCodes(2, codes.data(), static_cast<int>(codes.size()));
    return CountBombs(2);
  }
};

TEST(RulesRecord, SetCardFromCodeMapsSuitAndRank) {
  struct Row {
    int32_t code, suit, rank;
  } rows[] = {
      {0, 0, 0},  {12, 0, 12},   {13, 1, 0},    {51, 3, 12},  {52, 52, 13}, {53, 53, 14},
      {54, 0, 0}, {107, 53, 14}, {106, 52, 13}, {-1, 53, 14},  // negative codes from a bad peer still land in the deck
  };
  for (const Row& r : rows) {
    CARD_INFO c;
    std::memset(&c, 0x5A, sizeof c);
    CCardRules::SetCardFromCode(&c, r.code);
    EXPECT_EQ(c.nCode, r.code);
    EXPECT_EQ(c.nSuit, r.suit) << r.code;
    EXPECT_EQ(c.nRank, r.rank) << r.code;
    EXPECT_EQ(c.nOffset, 0);
    EXPECT_EQ(c.bFaceUp, 0);
    EXPECT_EQ(c.bSelected, 0);
    EXPECT_EQ(c.bHintMark, 0x5A5A5A5A) << "only the drawing and selection fields are reset";
  }
}

TEST(RulesSort, ModesOrderCards) {
  Rules rules(3);
  std::vector<CARD_INFO> c = Cards("3 A 4 4 3 4 bj 2 sj");
  rules.SortCards(c.data(), static_cast<int>(c.size()), 0, 0);
  EXPECT_EQ(Faces(c.data(), 9), "4 4 4 3 3 bj sj 2 A");
  EXPECT_EQ(c[0].nCount, 3);
  EXPECT_EQ(c[3].nCount, 2);
  EXPECT_EQ(c[5].nCount, 1);
  for (int i = 0; i + 1 < 3; ++i) EXPECT_GT(c[i].nSuit, c[i + 1].nSuit) << "suit descending";

  rules.SortCards(c.data(), 9, 0, 1);
  EXPECT_EQ(Faces(c.data(), 9), "bj sj 2 A 4 4 4 3 3");

  rules.SortCards(c.data(), 9, 0, 2);
  EXPECT_EQ(c[0].nSuit, 53);
  EXPECT_EQ(c[1].nSuit, 52);
  for (int i = 2; i + 1 < 9; ++i) {
    ASSERT_GE(c[i].nSuit, c[i + 1].nSuit);
    if (c[i].nSuit == c[i + 1].nSuit) {
      EXPECT_GT(c[i].nRank, c[i + 1].nRank);
    }
  }

  // An unknown mode keeps the order of distinct cards.
  std::vector<CARD_INFO> d = Cards("5 K 3 A");
  rules.SortCards(d.data(), 4, 0, 7);
  EXPECT_EQ(Faces(d.data(), 4), "5 K 3 A");
}

TEST(RulesSort, EqualCardsOfTwoDecksGoByCode) {
  Rules rules(4);
  std::vector<CARD_INFO> c(3);
  CCardRules::SetCardFromCode(&c[0], 54 + 13 + 5);
  CCardRules::SetCardFromCode(&c[1], 13 + 5);
  CCardRules::SetCardFromCode(&c[2], 54 + 52);
  for (int mode = 0; mode < 3; ++mode) {
    std::vector<CARD_INFO> s = c;
    rules.SortCards(s.data(), 3, 0, mode);
    EXPECT_EQ(s[s[0].nRank == 13 ? 1 : 0].nCode, 18) << mode;
  }
  std::vector<CARD_INFO> s = c;
  rules.SortCards(s.data(), 3, 0, 0);
  EXPECT_EQ(s[0].nCode, 18);
  EXPECT_EQ(s[1].nCode, 72);
}

struct ClassRow {
  int players, straight, tripleSingle;
  const char* cards;
  int type;
};

TEST(RulesClassify, Table) {
  const ClassRow rows[] = {
      {3, 0, 0, "9", PLAY_SINGLE},
      {3, 0, 0, "9 9", PLAY_PAIR},
      {3, 0, 0, "9 10", PLAY_INVALID},
      {3, 0, 0, "sj bj", PLAY_ROCKET},
      {3, 0, 0, "7 7 7", PLAY_TRIPLE},
      {3, 0, 0, "7 7 8", PLAY_INVALID},
      {3, 0, 0, "3 4 5 6 7", PLAY_STRAIGHT},
      {3, 0, 0, "10 J Q K A", PLAY_STRAIGHT},
      {3, 0, 0, "3 4 5 6 7 8 9 10 J Q K A", PLAY_STRAIGHT},
      {3, 0, 0, "J Q K A 2", PLAY_INVALID},
      {3, 0, 0, "3 4 5 6", PLAY_INVALID},
      {3, 0, 0, "3 3 3 4", PLAY_TRIPLE_SINGLE},
      {3, 0, 0, "3 3 4 4 4", PLAY_TRIPLE_PAIR},
      {3, 0, 0, "5 5 5 5 3", PLAY_FOUR_SINGLE},
      {3, 0, 0, "5 5 5 5", PLAY_BOMB},
      {3, 0, 0, "5 5 5 5 3 9", PLAY_FOUR_TWO_SINGLES},
      {3, 0, 0, "5 5 5 5 9 9", PLAY_FOUR_PAIR},
      {3, 0, 0, "6 6 6 6 9 9 8", PLAY_FOUR_PAIR_SINGLE},
      {3, 0, 0, "6 6 6 6 9 9 9", PLAY_FOUR_PAIR_SINGLE},
      {3, 0, 0, "3 3 3 3 4 4 4 4", PLAY_INVALID},
      {3, 0, 0, "3 3 3 3 5 5 7 7", PLAY_FOUR_TWO_PAIRS},
      {3, 0, 0, "3 3 3 3 5 5 5 5", PLAY_INVALID},
      {3, 0, 0, "3 3 4 4 5 5", PLAY_PAIR},
      {3, 0, 0, "Q Q K K A A", PLAY_PAIR},
      {3, 0, 0, "K K A A 2 2", PLAY_INVALID},
      {3, 0, 0, "3 3 4 4", PLAY_INVALID},
      {3, 0, 0, "3 3 3 4 4 4", PLAY_TRIPLE},
      {3, 0, 0, "A A A 2 2 2", PLAY_INVALID},
      {3, 0, 0, "3 3 3 4 4 4 5 6", PLAY_TRIPLE_SINGLE},
      {3, 0, 0, "3 3 3 4 4 4 5 5", PLAY_TRIPLE_SINGLE},
      {3, 0, 0, "3 3 3 4 4 4 sj bj", PLAY_TRIPLE_SINGLE},
      {3, 0, 0, "3 3 3 4 4 4 5 5 6 6", PLAY_TRIPLE_PAIR},
      {3, 0, 0, "3 3 3 4 4 4 2 2 A A", PLAY_TRIPLE_PAIR},
      {3, 0, 0, "2 2 2 A A A 3 3 4 4", PLAY_INVALID},
      {3, 0, 0, "3 3 3 5 5 5 7 8", PLAY_INVALID},
      {3, 0, 0, "5 5 5 5 4 4 4 9", PLAY_TRIPLE_SINGLE},
      {3, 0, 0, "K K K 5 5 5 4 4 4 3 3 3", PLAY_INVALID},
      {3, 0, 0, "5 5 5 4 4 4 3 3 3 K Q J", PLAY_TRIPLE_SINGLE},
      {3, 0, 0, "2 2 2 3 3 3 4 4", PLAY_INVALID},
      {3, 0, 0, "3 3 3 3 4 4 4 4 5 6", PLAY_FOUR_SINGLE},
      {3, 0, 0, "4 4 4 4 3 3 3 3 5 5 6 6", PLAY_FOUR_PAIR},
      {3, 0, 0, "4 4 4 4 3 3 3 3 5 6 7 8", PLAY_FOUR_TWO_SINGLES},
      {3, 0, 0, "4 4 4 4 3 3 3 3 5 5 6 6 7 7 8 8", PLAY_FOUR_TWO_PAIRS},
      {3, 0, 0, "4 4 4 4 3 3 3 3 5 5 6 6 9 K", PLAY_FOUR_PAIR_SINGLE},
      {3, 0, 0, "2 2 2 2 A A A A 3 4", PLAY_INVALID},
      // Four players: no rocket and no fours with cards; bombs by length.
      {4, 0, 0, "sj bj", PLAY_INVALID},
      {4, 0, 0, "sj sj", PLAY_PAIR},
      {4, 0, 0, "sj sj bj bj", PLAY_FOUR_JOKERS},
      {4, 0, 0, "5 5 5 5", PLAY_BOMB},
      {4, 0, 0, "5 5 5 5 5", PLAY_BOMB5},
      {4, 0, 0, "5 5 5 5 5 5", PLAY_BOMB6},
      {4, 0, 0, "5 5 5 5 5 5 5", PLAY_BOMB7},
      {4, 0, 0, "5 5 5 5 5 5 5 5", PLAY_BOMB8},
      {4, 0, 0, "5 5 5 5 3", PLAY_INVALID},
      {4, 0, 0, "5 5 5 5 9 9", PLAY_INVALID},
      {4, 0, 0, "3 3 4 4 4", PLAY_TRIPLE_PAIR},
      {4, 0, 0, "3 3 4 4 5 5", PLAY_PAIR},
      {4, 0, 0, "3 3 3 4 4 4", PLAY_TRIPLE},
      {4, 0, 0, "3 3 3 4 4 4 5 5 6 6", PLAY_TRIPLE_PAIR},
      // The straight switch.
      {4, 0, 0, "3 4 5 6 7", PLAY_INVALID},
      {4, 1, 0, "3 4 5 6 7", PLAY_STRAIGHT},
      {4, 1, 0, "J Q K A 2", PLAY_INVALID},
      // The triple-with-single switch.
      {4, 0, 0, "3 3 3 4", PLAY_INVALID},
      {4, 0, 1, "3 3 3 4", PLAY_TRIPLE_SINGLE},
      {4, 0, 0, "3 3 3 4 4 4 5 6", PLAY_INVALID},
      {4, 0, 1, "3 3 3 4 4 4 5 6", PLAY_TRIPLE_SINGLE},
      {4, 0, 1, "3 3 3 3 4 4 4 4 5 6", PLAY_INVALID},
      // Switches change nothing with three players.
      {3, 0, 1, "3 4 5 6 7", PLAY_STRAIGHT},
      {3, 1, 0, "3 3 3 4", PLAY_TRIPLE_SINGLE},
  };
  for (const ClassRow& r : rows) {
    Rules rules(r.players, r.straight, r.tripleSingle);
    EXPECT_EQ(rules.Classify(r.cards), r.type)
        << r.players << "p S" << r.straight << " T" << r.tripleSingle << ": " << r.cards;
  }
}

TEST(RulesClassify, LeavesSetSortedWithMainGroupFirst) {
  Rules rules(3);
  std::vector<CARD_INFO> c = Cards("3 3 4 4 4");
  ASSERT_EQ(rules.ClassifyCards(c.data(), 5), PLAY_TRIPLE_PAIR);
  EXPECT_EQ(Faces(c.data(), 5), "4 4 4 3 3");
  std::vector<CARD_INFO> d = Cards("5 7 6 9 8");
  ASSERT_EQ(rules.ClassifyCards(d.data(), 5), PLAY_STRAIGHT);
  EXPECT_EQ(Faces(d.data(), 5), "9 8 7 6 5");
}

TEST(RulesClassify, RejectsCountsOutsideTheArray) {
  Rules rules(3);
  std::vector<CARD_INFO> c = Cards("5");
  EXPECT_EQ(rules.ClassifyCards(c.data(), 0), PLAY_INVALID);
  EXPECT_EQ(rules.ClassifyCards(c.data(), -3), PLAY_INVALID);
  EXPECT_EQ(rules.ClassifyCards(nullptr, 1), PLAY_INVALID);
  std::vector<CARD_INFO> big(CCardRules::MAX_CARDS);
  EXPECT_EQ(rules.ClassifyCards(big.data(), CCardRules::MAX_CARDS + 1), PLAY_INVALID);
}

struct CompareRow {
  int players;
  const char* a;
  const char* b;
  int result;  // exact value
};

TEST(RulesCompare, Table) {
  const CompareRow rows[] = {
      {3, "4", "3", 1},
      {3, "K", "A", -1},
      {3, "2", "3", 12},
      {3, "bj", "sj", 1},
      {3, "4 5 6 7 8", "3 4 5 6 7", 1},
      {3, "4 5 6 7 8 9", "3 4 5 6 7", -1},  // same type, other size
      {3, "5 6 7 8 9", "3 4 5 6 7 8", -1},
      {3, "6 6 6 5 5", "4 4 4 A A", 2},
      {3, "sj bj", "2 2 2 2", 1},
      {3, "2 2 2 2", "sj bj", -1},
      {3, "3 3 3 3", "A", 1},
      {3, "3 3 3 3", "10 J Q K A", 1},
      {3, "A", "3 3 3 3", -1},
      {3, "4 4 4 4", "3 3 3 3", 1},
      {3, "4 4 4 4 9 9", "3 3 3 3 7 8", 1},
      {3, "4 4 4 4 7 8", "3 3 3 3 9 9", -1},
      // A run of fours with pairs is not a stronger four with two singles.
      {3, "4 4 4 4 5 5 5 5 9 9 10 10", "3 3 3 3 7 8", -1},
      {3, "5 5 5 5 6 6 6 6 9 9 10 10", "3 3 3 3 4 4 4 4 7 8 9 J", 2},
      {3, "3 3 3 3 4 4 4 4 9 9 10 10", "5 5 5 5 6 6 6 6 7 8 9 J", -2},
      {3, "3 3 3", "4 5", -1},
      {3, "4 5", "3 3 3", -1},
      {3, "4 5", "6 8", 0},
      {3, "sj bj", "sj bj", 0},
      {4, "3 3 3 3 3", "A A A A", 1},
      {4, "A A A A", "3 3 3 3 3", -1},
      {4, "3 3 3 3 3 3", "2 2 2 2 2", 1},
      {4, "4 4 4 4 4", "3 3 3 3 3", 1},
      {4, "sj sj bj bj", "2 2 2 2 2 2 2 2", 1},
      {4, "sj sj bj bj", "sj sj bj bj", 0},
      {4, "2 2 2 2 2 2 2 2", "sj sj bj bj", -1},
      {4, "3 3 3 3", "A A", 1},
      {4, "A A", "3 3 3 3", -1},
      {4, "3 4 5 6 7", "3 3 3 3", -1},
      {4, "4 5 6 7 8", "3 4 5 6 7", 0},  // straights are off: both invalid
  };
  for (const CompareRow& r : rows) {
    Rules rules(r.players);
    EXPECT_EQ(rules.Compare(r.a, r.b), r.result) << r.players << "p: " << r.a << " vs " << r.b;
  }
  Rules straight(4, 1, 0);
  EXPECT_EQ(straight.Compare("4 5 6 7 8", "3 4 5 6 7"), 1);
}

TEST(RulesBombs, CountBombs) {
  struct Row {
    int players;
    const char* hand;
    int bombs;
  } rows[] = {
      {3, "7 7 7 7", 1},
      {3, "9 9 9 9 5 5 5 5 3", 2},
      {3, "9 9 9 5 5 5 3", 0},
      {3, "sj bj", 0},
      {3, "sj bj 3 3 3 3 K", 1},
      {3, "3", 0},
      {3, "", 0},
      {4, "sj sj bj bj 3 3 3 3", 2},
      {4, "5 5 5 5 5 5 3 2 2 2 2", 2},
      {4, "sj sj bj 5 5 5 5 5", 1},
  };
  for (const Row& r : rows) {
    Rules rules(r.players);
    EXPECT_EQ(rules.Bombs(r.hand), r.bombs) << r.hand;
  }
  Rules rules(3);
  EXPECT_EQ(rules.CountBombs(-1), 0);
  EXPECT_EQ(rules.CountBombs(4), 0);
}

}  // namespace
