// The hint search and classification as they stood before the search was
// rebuilt over rank counts: kept unchanged so that benchmarks measure the
// gain and the differential test proves both give the same lists.
#pragma once

#include "CardRules.h"

class HintReference {
 public:
  enum {
    MAX_CARDS = 33,     // records in a hand or play array
    MAX_POSITIONS = 4,  // view positions 0..3
    OWN_POSITION = 1,   // the local player
    MAX_CANDIDATES = 60,
    RANK_TWO = 12,
    SUIT_JOKER = 52  // a suit field of 52 or more marks a joker
  };

  HintReference();
  virtual ~HintReference();
  HintReference(const HintReference&) = delete;
  HintReference& operator=(const HintReference&) = delete;

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
  int FindGroups(int nStart, int nRank, int nGroups, const void* pSpec);
  static void ClearHandMarks(Hand h);
  static int TakeSingles(Hand h, int nWant, int nSkipLow, int nSkipHigh);
  static int TakePairs(Hand h, int nWant, int nMinLowPos, int bDifferFromFirst);
  void ResetCandidates();
  void RecomputeHints();
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
