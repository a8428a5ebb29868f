// Card-rule engine and hint search of the table: card records, sorting,
// classification, comparison and the search for plays that beat the last one.
//
// Portable (standard C++ only). The document derives from CCardRules and
// supplies the hands through the three storage hooks; CCardTable is a
// ready-made holder for tools and tests.
#pragma once

#include <cstdint>
#include <memory>

// One card in a hand or on the table: eleven 32-bit fields in this order.
struct CARD_INFO {
  int32_t nCode;        // card code as received (two decks may exceed 53; code mod 54 is interpreted)
  int32_t nCount;       // cards of this rank in the set last sorted
  int32_t nSuit;        // 0..3, or 52 small joker / 53 big joker
  int32_t nRank;        // 0 three .. 11 ace, 12 two, 13 small joker, 14 big joker
  int32_t nOffset;      // drawing offset
  int32_t bFaceUp;      // shown face up
  int32_t bSelected;    // selected in the hand (set by the view, also from a hint)
  int32_t nSpare;       // not used by the rules
  int32_t bHintMark;    // working mark of the hint finders
  int32_t nDrawState1;  // drawing state of the view
  int32_t nDrawState2;
};
static_assert(sizeof(CARD_INFO) == 44, "CARD_INFO is eleven 32-bit fields");

// Play types returned by ClassifyCards.
enum {
  PLAY_INVALID = 0,
  PLAY_SINGLE = 1,
  PLAY_PAIR = 2,    // also a run of three or more pairs
  PLAY_TRIPLE = 3,  // also a run of triples
  PLAY_STRAIGHT = 4,
  PLAY_TRIPLE_SINGLE = 5,
  PLAY_TRIPLE_PAIR = 6,
  PLAY_FOUR_SINGLE = 7,  // three players only, like 8 to 11
  PLAY_FOUR_TWO_SINGLES = 8,
  PLAY_FOUR_PAIR = 9,
  PLAY_FOUR_TWO_PAIRS = 10,
  PLAY_FOUR_PAIR_SINGLE = 11,
  PLAY_UNUSED = 12,
  PLAY_ROCKET = 13,  // the two jokers, three players
  PLAY_BOMB = 14,
  PLAY_BOMB5 = 15,
  PLAY_BOMB6 = 16,
  PLAY_BOMB7 = 17,
  PLAY_BOMB8 = 18,
  PLAY_FOUR_JOKERS = 19  // four players
};

// One entry of the hint list.
struct HINT_CANDIDATE {
  int32_t nCount;     // cards in the candidate
  int32_t nKey;       // strength: weakest first
  CARD_INFO* pCards;  // copies of the hand's cards, in hand order
};

class CCardRules {
 public:
  enum {
    MAX_CARDS = 33,     // records in a hand or play array
    MAX_POSITIONS = 4,  // view positions 0..3
    OWN_POSITION = 1,   // the local player
    MAX_CANDIDATES = 60,
    RANK_TWO = 12,
    SUIT_JOKER = 52  // a suit field of 52 or more marks a joker
  };

  CCardRules();
  virtual ~CCardRules();
  CCardRules(const CCardRules&) = delete;
  CCardRules& operator=(const CCardRules&) = delete;

  // Table options: player count (3 or 4; anything but 4 plays the one-deck
  // rules) and the two switches that only matter with four players.
  void SetRuleOptions(int nPlayerCount, int nStraightSwitch, int nTripleSingleSwitch);
  int GetPlayerCount() const { return m_nPlayerCount; }
  int GetStraightSwitch() const { return m_nStraightSwitch; }
  int GetTripleSingleSwitch() const { return m_nTripleSingleSwitch; }

  // Records and sorting.
  static void SetCardFromCode(CARD_INFO* pCard, int32_t nCode);
  void SortCards(CARD_INFO* pCards, int nCount, int nSpare, int nMode);
  void SortSeatHand(int nPosition, int nSpare);

  // Classification and comparison (both sort their sets in mode 0).
  int ClassifyCards(CARD_INFO* pCards, int nCount);
  int CompareCards(CARD_INFO* pCards1, int nCount1, CARD_INFO* pCards2, int nCount2);
  int CountBombs(int nPosition);

  // Shape tests over a set sorted in mode 0; 1 or 0.
  static int IsSameRank(const CARD_INFO* pCards, int nCount);
  static int HasJoker(const CARD_INFO* pCards, int nCount);
  static int HasTwo(const CARD_INFO* pCards, int nCount);
  static int AllJokers(const CARD_INFO* pCards, int nCount);
  static int IsStraight(const CARD_INFO* pCards, int nCount);
  static int IsPairRun(const CARD_INFO* pCards, int nCount);
  static int IsTripleRun(const CARD_INFO* pCards, int nCount);
  static int IsPlaneWithSingles(const CARD_INFO* pCards, int nCount);
  static int IsPlaneWithPairs(const CARD_INFO* pCards, int nCount);
  static int IsQuadRun(const CARD_INFO* pCards, int nCount);
  static int IsQuadRunWithSingles(const CARD_INFO* pCards, int nCount);
  static int IsQuadRunWithPairs(const CARD_INFO* pCards, int nCount);
  static int IsQuadRunWithTwoSingles(const CARD_INFO* pCards, int nCount);
  static int IsQuadRunWithTwoPairs(const CARD_INFO* pCards, int nCount);
  static int IsQuadRunWithPairSingle(const CARD_INFO* pCards, int nCount);

  // Hint search over the own hand (position 1), which must be sorted by
  // SortSeatHand. FindHint returns the next candidate's card count and sets
  // *ppCards to its copies, or returns 0 (and a null pointer) for nothing.
  // The copies stay valid until the next recompute.
  int FindHint(const CARD_INFO** ppCards);
  void InvalidateHint() { m_bHintRecompute = 1; }
  // The recompute behind FindHint for a last play already classified: its
  // type, the rank of its first card sorted in mode 0, and its card count.
  // The next FindHint hands out the first candidate.
  void SearchHints(int nType, int nTopRank, int nLastCount);
  void ClearMarks();
  int AddCandidate(int nKey);
  int GetCandidateCount() const { return m_nCandidates; }
  const HINT_CANDIDATE* GetCandidate(int nIndex) const;
  int GetHintIndex() const { return m_nHintIndex; }

  // Finders: 1 (FindSameRank: the number of cards) with exactly one
  // combination marked, or 0 with no marks left; a call refused at its first
  // check leaves the marks as they were.
  int FindSameRank(int nStart, int nRank, int nMin);
  int FindStraight(int nTopRank, int nLength);
  int FindPairRun(int nStart, int nRank, int nGroups);
  int FindTripleRun(int nStart, int nRank, int nGroups);
  int FindTriplesWithSingles(int nStart, int nRank, int nGroups);
  int FindTriplesWithPairs(int nStart, int nRank, int nGroups);
  int FindFoursWithSingle(int nStart, int nRank, int nGroups);
  int FindFoursWithTwoSingles(int nStart, int nRank, int nGroups);
  int FindFoursWithPair(int nStart, int nRank, int nGroups);
  int FindFoursWithTwoPairs(int nStart, int nRank, int nGroups);
  int FindFoursWithPairSingle(int nStart, int nRank, int nGroups);

  int m_bHintRecompute;  // 1: the candidate list is stale

 protected:
  // Storage hooks. Positions outside 0..3 give null / 0; counts are clamped
  // to 0..MAX_CARDS by the callers.
  virtual CARD_INFO* GetSeatCards(int nPosition) = 0;
  virtual int GetSeatCardCount(int nPosition) = 0;
  // The last real play on the table (what the hint must beat); may be empty.
  virtual const CARD_INFO* GetLastPlayCards(int* pnCount) = 0;

 private:
  struct Hand {
    CARD_INFO* p;
    int n;
  };

  Hand OwnHand();
  // ClassifyCards over a set already sorted in mode 0 (1 to MAX_CARDS cards).
  int ClassifySorted(const CARD_INFO* pCards, int nCount) const;
  // The set sorted in mode 0 into pDst, the source left as it is.
  void SortedCopy(const CARD_INFO* pSrc, int nCount, CARD_INFO* pDst);
  // Only the ranks and joker marks of the set sorted in mode 0, which is all
  // ClassifySorted reads; false for records not made from codes.
  static bool SortedRanks(const CARD_INFO* pSrc, int nCount, CARD_INFO* pDst);
  int FindGroups(int nStart, int nRank, int nGroups, const void* pSpec);
  static void ClearHandMarks(Hand h);
  static int TakeSingles(Hand h, int nWant, int nSkipLow, int nSkipHigh);
  static int TakePairs(Hand h, int nWant, int nMinLowPos, int bDifferFromFirst);
  void ResetCandidates();
  void RecomputeHints();
  // The search over the cards one by one, for hands the rank table does not
  // describe (a rank split in two places, records not made from codes).
  void SearchCardByCard(Hand h, int nType, int nTopRank, int nLastCount);
  // The search over the hand's rank table; false leaves everything untouched.
  bool SearchRankTable(Hand h, int nType, int nTopRank, int nLastCount);
  void SearchGroups(Hand h, int nType, int nTopRank, int nLastCount);
  void SearchBombs(Hand h, int nLimit, int nMin, int nTopRank);
  void AddBombsAndJokers(Hand h, int nType);

  int m_nPlayerCount;
  int m_nStraightSwitch;
  int m_nTripleSingleSwitch;

  int m_nCandidates;
  int m_nHintIndex;
  HINT_CANDIDATE m_Candidates[MAX_CANDIDATES];
  // Candidate copies live in one block allocated on first use and reused by
  // every later recompute.
  std::unique_ptr<CARD_INFO[]> m_pCandidatePool;
};

// A rule engine that keeps the four hands and the last play itself.
class CCardTable : public CCardRules {
 public:
  CCardTable();
  // Fills a hand from wire codes (at most MAX_CARDS); returns the count kept.
  int SetSeatCodes(int nPosition, const int32_t* pCodes, int nCount);
  int SetLastPlayCodes(const int32_t* pCodes, int nCount);
  CARD_INFO* SeatCards(int nPosition) { return GetSeatCards(nPosition); }
  int SeatCardCount(int nPosition) { return GetSeatCardCount(nPosition); }

 protected:
  CARD_INFO* GetSeatCards(int nPosition) override;
  int GetSeatCardCount(int nPosition) override;
  const CARD_INFO* GetLastPlayCards(int* pnCount) override;

 private:
  CARD_INFO m_Hands[MAX_POSITIONS][MAX_CARDS];
  int m_nHandCount[MAX_POSITIONS];
  CARD_INFO m_LastPlay[MAX_CARDS];
  int m_nLastPlayCount;
};
