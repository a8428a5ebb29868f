// The start of a hand and the bidding: the deal, the bids and the bottom cards.
#include <cstring>

#include "DocTexts.h"
#include "GameDocCore.h"
#include "GameDocShared.h"

using namespace gamedoc;

int CGameDocCore::OnDeal(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeDeal);
  if (!m) return 0;
  const auto& allow = m->allowWatching;
  const auto& score = m->score;
  uint32_t firstBidder = m->firstBidder, bottom = m->bottomCount;
  if (m->cards.size() > MAX_CARDS) return 0;
  int cards = static_cast<int>(m->cards.size());
  // Every hand, the declarer's with the bottom cards, must fit its 33 records.
  if (bottom > MAX_BOTTOM || cards + static_cast<int>(bottom) > MAX_CARDS) return 0;
  int firstPos = SeatToPosition(static_cast<int>(firstBidder));
  if (firstPos == NO_POSITION) return 0;

  if (!IsWatching()) FlashUnlessActive(5, 200);
  for (int p = 0; p < MAX_POSITIONS; ++p) {
    m_Seats[p].dwState &= ~static_cast<uint32_t>(SEAT_READY);
    m_bReady[p] = 0;
    m_bPlayedThisRound[p] = 0;
    m_Seats[p].nLastPlayCount = 0;
    m_nPrevPlayCount[p] = 0;
  }
  for (int p = 0; p < m_pChannel->nPlayerCount && p < MAX_POSITIONS; ++p)
    if (m_Seats[p].wSeat < 4) m_Seats[p].nScoreTotal = static_cast<int32_t>(score[m_Seats[p].wSeat]);
  m_bHintFlag = m->hint != 0;
  if (!m_bHintFlag) View().RelayoutTable();
  m_nFirstBidder = static_cast<int>(firstBidder);
  m_nBottomCount = 0;
  m_nCardsPerHand = cards;
  m_bDeclarerShown = 0;
  m_nMultiplierCount = 0;
  m_bPlaySent = 0;
  m_bFreeLead = 0;
  m_bNewRound = 0;
  m_nLastPlayerPosition = NO_POSITION;
  // A watcher sees the watched hand only when its seat allows watching.
  bool faceUp = true;
  if (IsWatching() && m_wOwnSeat < 4) {
    m_Seats[OWN_POSITION].bAllowWatching = static_cast<int32_t>(allow[m_wOwnSeat]);
    faceUp = allow[m_wOwnSeat] != 0;
  }
  for (int p = 0; p < m_pChannel->nPlayerCount && p < MAX_POSITIONS; ++p)
    FillHand(p, p == OWN_POSITION ? m->cards.data() : nullptr, cards, p == OWN_POSITION && faceUp);
  SortSeatHand(OWN_POSITION, 0);
  m_nTurnPosition = firstPos;
  InvalidateHint();
  if (m_bVoice) PlayVoiceNow(1, -1);
  SetSchedule(SCHEDULE_BID);
  std::vector<std::string> names;
  for (int p = 0; p < m_pChannel->nPlayerCount && p < MAX_POSITIONS; ++p) names.push_back(m_Seats[p].szUserName);
  m_Host->services.StartTierQuery(names);
  return 1;
}

void CGameDocCore::SendBid(int nBid) {
  if (m_nSchedule != SCHEDULE_BID) return;
  SendBody(MSG_BID, gamemsg::Encode(gamemsg::BidRequest{static_cast<uint32_t>(nBid)}), false);
  View().HideBidButtons();
}

int CGameDocCore::OnBid(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeBidNotice);
  if (!m) return 0;
  int32_t next = m->next;
  uint32_t state = m->state, declarer = m->declarer, bid = m->bid;
  m_nBidState = static_cast<int>(state);
  m_nLastBid = static_cast<int>(bid);
  if (bid >= 1 && bid <= 3 && static_cast<int>(bid) > m_nBidValue) m_nBidValue = static_cast<int>(bid);
  if (m_bVoice) {
    int voice;
    if (bid >= 1 && bid <= 3) {
      voice = 4 + static_cast<int>(bid);
    } else if (m_nFirstBidder == m_nTurnPosition || state != 0) {
      voice = 2;
    } else if (m_pChannel->nPlayerCount > 0 && m_nFirstBidder == (m_nTurnPosition + 1) % m_pChannel->nPlayerCount) {
      voice = 4;
    } else {
      voice = 3;
    }
    PlayVoiceNow(voice, PositionToSeat(m_nTurnPosition));
  }
  if (next >= 0) {
    int pos = SeatToPosition(next);
    if (pos == NO_POSITION) return 0;
    m_nTurnPosition = pos;
    SetSchedule(SCHEDULE_BID);
    return 1;
  }
  int pos = SeatToPosition(static_cast<int>(declarer));
  if (pos == NO_POSITION) return 0;
  m_nDeclarerSeat = static_cast<int>(declarer);
  m_nTurnPosition = pos;
  m_nLastPlayerPosition = pos;
  m_bOwnDeclarer = pos == OWN_POSITION;
  m_bFreeLead = 1;  // the declarer leads the first round
  m_bNewRound = 1;
  SetSchedule(SCHEDULE_PLAY);
  if (!IsWatching()) View().SetStatusText(gamedoc::kTextPlayHelp);
  if (m_pChannel->nPlayerCount == 4 && pos == OWN_POSITION && !IsWatching()) View().ShowShowCardsButton();
  return 1;
}

int CGameDocCore::OnBottomCards(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeBottomCards);
  if (!m || m->codes.size() > MAX_BOTTOM) return 0;
  uint32_t n = static_cast<uint32_t>(m->codes.size());
  int pos = SeatToPosition(static_cast<int>(m->declarer));
  if (pos == NO_POSITION) return 0;
  int have = GetSeatCardCount(pos);
  if (have + static_cast<int>(n) > MAX_CARDS) return 0;
  bool own = pos == OWN_POSITION;
  for (uint32_t i = 0; i < n; ++i) {
    CARD_INFO c{};
    SetCardFromCode(&c, static_cast<int32_t>(m->codes[i]));
    c.bFaceUp = 1;
    m_BottomCards[i] = c;
    if (own && !IsWatching()) c.bSelected = 1;
    m_Hands[pos][have + static_cast<int>(i)] = c;
  }
  m_nBottomCount = static_cast<int>(n);
  m_Seats[pos].nCardCount = have + static_cast<int>(n);
  SortSeatHand(OWN_POSITION, 0);
  InvalidateHint();
  if (own) {
    View().RaiseSelectedCards();
    bool any = false;
    for (int i = 0; i < GetSeatCardCount(OWN_POSITION); ++i) any = any || m_Hands[OWN_POSITION][i].bSelected;
    View().EnablePlayButton(any);
  }
  View().RepaintTable();
  return 1;
}
