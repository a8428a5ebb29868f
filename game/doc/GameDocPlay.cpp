// Play: the player's plays and passes, the table's plays, the declarer's shown hand,
// refused actions and pauses.
#include <cstdio>
#include <cstring>

#include "DocTexts.h"
#include "GameDocCore.h"
#include "GameDocShared.h"

using namespace gamedoc;

int CGameDocCore::OwnCardCount() const {
  const int n = m_Seats[OWN_POSITION].nCardCount;
  return n < 0 ? 0 : n > MAX_CARDS ? MAX_CARDS : n;
}

void CGameDocCore::SelectOwnCard(int nIndex, bool bSelected) {
  if (nIndex >= 0 && nIndex < MAX_CARDS) m_Hands[OWN_POSITION][nIndex].bSelected = bSelected ? 1 : 0;
}

void CGameDocCore::SelectOwnCards(const CARD_INFO* pCards, int nCount) {
  const int n = OwnCardCount();
  for (int i = 0; i < n; ++i) {
    CARD_INFO& c = m_Hands[OWN_POSITION][i];
    c.bSelected = 0;
    for (int j = 0; j < nCount; ++j)
      if (pCards[j].nCode == c.nCode) c.bSelected = 1;
  }
}

void CGameDocCore::ClearSelection() {
  for (int i = 0; i < MAX_CARDS; ++i) m_Hands[OWN_POSITION][i].bSelected = 0;
}

bool CGameDocCore::CanPlayNow() const {
  return !IsWatching() && !IsBusy() && m_nTurnPosition == OWN_POSITION && !m_bPlaySent;
}

bool CGameDocCore::AutoPlayLastCard() {
  if (m_bOwnTrusteeship || m_bOwnTrustExit || m_nSchedule != SCHEDULE_PLAY) return false;
  if (m_Seats[OWN_POSITION].nCardCount != 1 || m_Hands[OWN_POSITION][0].bSelected) return false;
  m_Hands[OWN_POSITION][0].bSelected = 1;
  View().EnablePlayButton(!IsWatching() && m_nTurnPosition == OWN_POSITION);
  if (CanPlayNow()) PlaySelectedCards();
  return true;
}

void CGameDocCore::PlaySelectedCards() {
  if (m_bPlaySent || IsBusy()) return;
  InvalidateHint();
  CARD_INFO sel[MAX_CARDS];
  int n = 0;
  int own = GetSeatCardCount(OWN_POSITION);
  for (int i = 0; i < own; ++i)
    if (m_Hands[OWN_POSITION][i].bSelected) sel[n++] = m_Hands[OWN_POSITION][i];
  if (n == 0) {
    SetSchedule(SCHEDULE_PLAY, false);
    return;
  }
  if (m_bHintFlag) {
    // The checks sort their copies; the hand keeps its order.
    CARD_INFO check[MAX_CARDS];
    std::memcpy(check, sel, sizeof(CARD_INFO) * n);
    int refusal = 0;
    if (ClassifyCards(check, n) == PLAY_INVALID) {
      refusal = IDS_PLAY_INVALID;
    } else if (!m_bFreeLead) {
      int lastCount = 0;
      const CARD_INFO* last = GetLastPlayCards(&lastCount);
      CARD_INFO lastCopy[MAX_CARDS];
      std::memcpy(lastCopy, last, sizeof(CARD_INFO) * lastCount);
      if (lastCount > 0 && CompareCards(check, n, lastCopy, lastCount) <= 0) refusal = IDS_PLAY_NOT_BIGGER;
    }
    if (refusal) {
      m_Host->sounds.PlayWave(172);
      m_Host->boxes.ShowBoxId(refusal, kStyleWarning, 0, "");
      SetSchedule(SCHEDULE_PLAY, false);
      return;
    }
  }
  std::vector<uint32_t> codes;
  for (int i = 0; i < n; ++i) codes.push_back(static_cast<uint32_t>(sel[i].nCode));
  SendPlay(codes);
}

// A play or, with no cards, a pass: the turn is given away until the table answers.
void CGameDocCore::SendPlay(const std::vector<uint32_t>& codes) {
  gamemsg::Play m;
  m.seat = m_wOwnSeat;
  m.codes = codes;
  m_bPlaySent = 1;
  ShowTurnClock(false);
  View().HideTurnMarker();
  SendBody(MSG_PLAY, gamemsg::Encode(m), true);
  View().SetPlayButtons(false, false);
}

void CGameDocCore::Pass() {
  // The server refuses a pass on a free lead; sending one would only bring its box back.
  if (m_bPlaySent || IsBusy() || m_bFreeLead) return;
  SendPlay({});
}

void CGameDocCore::SendShowCards() {
  SendBody(MSG_SHOW_CARDS, {}, false);
  View().HideShowCardsButton();
}

void CGameDocCore::OnClockExpired() {
  switch (m_nSchedule) {
    case SCHEDULE_WAIT:
      SendReady();
      break;
    case SCHEDULE_BID:
      SendBid(0);
      break;
    case SCHEDULE_PLAY:
      if (m_Host->connection.OptionFlags() & 1) {
        View().HideTurnMarker();
        ShowTurnClock(false);
        View().SetPlayButtons(false, false);
        RequestTrusteeship(2);
      } else if (m_bFreeLead) {
        // A free lead cannot be passed: the server plays for the seat.
        m_bPlaySent = 1;
        ShowTurnClock(false);
        View().SetPlayButtons(false, false);
        SendTimeout();
      } else {
        Pass();
      }
      break;
    default:
      m_Host->connection.HoldInput();
      SendTimeout();
      break;
  }
}

void CGameDocCore::SendTimeout() { SendBody(MSG_TIMEOUT, gamemsg::Encode(gamemsg::Timeout{m_wOwnSeat}), true); }

void CGameDocCore::FillHand(int nPosition, const uint8_t* pCodes, int nCount, bool bFaceUp) {
  if (nCount > MAX_CARDS) nCount = MAX_CARDS;
  for (int i = 0; i < nCount; ++i) {
    CARD_INFO& c = m_Hands[nPosition][i];
    std::memset(&c, 0, sizeof c);
    SetCardFromCode(&c, bFaceUp && pCodes ? pCodes[i] : kPlaceholder);
    c.bFaceUp = bFaceUp && pCodes ? 1 : 0;
  }
  m_Seats[nPosition].nCardCount = nCount;
}

void CGameDocCore::RemoveFromHand(int nPosition, const CARD_INFO* pPlay, int nCount, bool bByCode) {
  CARD_INFO* hand = m_Hands[nPosition];
  int have = GetSeatCardCount(nPosition);
  if (!bByCode) {
    int take = nCount < have ? nCount : have;
    std::memmove(hand, hand + take, sizeof(CARD_INFO) * (have - take));
    m_Seats[nPosition].nCardCount = have - take;
    return;
  }
  for (int k = 0; k < nCount; ++k) {
    for (int i = 0; i < have; ++i) {
      if (hand[i].nCode == pPlay[k].nCode) {
        std::memmove(hand + i, hand + i + 1, sizeof(CARD_INFO) * (have - i - 1));
        --have;
        break;
      }
    }
  }
  m_Seats[nPosition].nCardCount = have;
}

void CGameDocCore::StartNewRound() {
  for (int p = 0; p < MAX_POSITIONS; ++p) {
    std::memcpy(m_PrevPlays[p], m_LastPlays[p], sizeof m_LastPlays[p]);
    m_nPrevPlayCount[p] = m_Seats[p].nLastPlayCount;
    if (p != m_nLastPlayerPosition) m_Seats[p].nLastPlayCount = 0;
    m_bPlayedThisRound[p] = 0;
  }
  m_bFreeLead = 1;
  m_bNewRound = 1;
}

int CGameDocCore::OnPlay(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodePlay);
  if (!m || m->codes.size() > MAX_CARDS) return 0;
  uint32_t n = static_cast<uint32_t>(m->codes.size());
  int32_t next = m->next;
  int pos = SeatToPosition(static_cast<int>(m->seat));
  if (pos == NO_POSITION) return 0;
  int nextPos = next >= 0 ? SeatToPosition(next) : NO_POSITION;
  if (next >= 0 && nextPos == NO_POSITION) return 0;

  int newMult = static_cast<int>(m->multiplier);
  if (newMult != m_nMultiplier && newMult > 0) {
    if (m_nMultiplier > 0) {
      char text[64];
      std::snprintf(text, sizeof text, kTextMultiplierUp, newMult / m_nMultiplier);
      View().ShowFloatingText(text);
    }
    m_nMultiplier = newMult;
    m_nMultiplierCount = SaturatingAdd(m_nMultiplierCount, 1);
  }
  CARD_INFO* play = m_LastPlays[pos];
  for (uint32_t i = 0; i < n; ++i) {
    std::memset(&play[i], 0, sizeof(CARD_INFO));
    SetCardFromCode(&play[i], static_cast<int32_t>(m->codes[i]));
    play[i].bFaceUp = 1;
  }
  m_Seats[pos].nLastPlayCount = static_cast<int>(n);
  m_bPlayedThisRound[pos] = 1;
  int type = 0;
  if (n > 0) {
    bool byCode = pos == OWN_POSITION || (m_bDeclarerShown && pos == SeatToPosition(m_nDeclarerSeat));
    RemoveFromHand(pos, play, static_cast<int>(n), byCode);
    CARD_INFO sorted[MAX_CARDS];
    std::memcpy(sorted, play, sizeof(CARD_INFO) * n);
    type = ClassifyCards(sorted, static_cast<int>(n));
    m_nLastPlayerPosition = pos;
    m_bFreeLead = 0;
    m_bNewRound = 0;
  }
  if (pos == OWN_POSITION) m_bPlaySent = 0;
  View().PlayRecorded(pos, type, static_cast<int>(n));
  View().RedrawPlays();
  if (next < 0) return 1;
  m_bPlaySent = 0;
  m_nTurnPosition = nextPos;
  if (nextPos == m_nLastPlayerPosition) StartNewRound();
  InvalidateHint();
  SetSchedule(SCHEDULE_PLAY);
  if (nextPos == OWN_POSITION && !IsWatching()) FlashUnlessActive(5, 20);
  return 1;
}

int CGameDocCore::OnShowCards(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeShowCards);
  m_bDeclarerShown = 1;
  m_nMultiplier = static_cast<int>(m->multiplier);
  int pos = SeatToPosition(m_nDeclarerSeat);
  if (pos != NO_POSITION && pos != OWN_POSITION) {
    int n = m->cards.size() > MAX_CARDS ? MAX_CARDS : static_cast<int>(m->cards.size());
    FillHand(pos, m->cards.data(), n, true);
    SortSeatHand(pos, 0);
  }
  View().RepaintTable();
  return 1;
}

int CGameDocCore::OnActionError(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeActionError);
  if (!m) return 0;
  if (m->seat != m_wOwnSeat || IsWatching()) return 1;
  uint32_t code = m->code;
  switch (code) {
    case 2:
      m_Host->boxes.ShowBoxId(IDS_ACTIONERROR, kStyleWarning, 10, "");
      break;
    case 201:
    case 202:
    case 203:
    case 204: {
      // 201..204 map to 5004, 5003, 5002, 5001.
      static const int kIds[] = {IDS_PLAY_NOT_YOUR_TURN, IDS_PLAY_NOT_HELD, IDS_PLAY_INVALID, IDS_PLAY_NOT_BIGGER};
      m_Host->boxes.ShowBoxId(kIds[code - 201], kStyleWarning, 10, "");
      m_bPlaySent = 0;
      SetSchedule(SCHEDULE_PLAY, false);
      ShowTurnClock(true);
      View().SetPlayButtons(true, !m_bFreeLead);
      break;
    }
    case 501:
      m_Host->boxes.ShowBoxId(IDS_ACTION501, kStyleWarning, 10, "");
      [[fallthrough]];
    case 500:
      m_bQuietClose = 1;
      m_Host->connection.PostCloseMainWindow();
      m_Host->connection.QuitAndClose();
      break;
    default:
      break;
  }
  return 1;
}

int CGameDocCore::OnPause(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodePause);
  if (!m) return 0;
  uint32_t ms = m->ms;
  if (static_cast<int32_t>(ms) > 0) {
    View().RepaintTable();
    View().PauseTable(ms > 10000 ? 10000 : ms);
  }
  return 1;
}
