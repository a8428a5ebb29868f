// The end of a hand and of a series: scores, the cards left, the score board.
#include <cstring>

#include "GameDocCore.h"
#include "GameDocShared.h"

using namespace gamedoc;

int CGameDocCore::OnHandOver(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeHandOver);
  if (!m || static_cast<int>(m->players) > m_pChannel->nPlayerCount) return 0;
  uint32_t n = m->players, hand = m->hand, seriesValue = m->seriesValue, seriesOver = m->seriesOver;
  const auto& change = m->change;
  const auto& series = m->seriesTotal;
  uint32_t remain[4] = {};
  for (uint32_t s = 0; s < n; ++s) {
    if (m->remaining[s].size() > MAX_CARDS) return 0;
    remain[s] = static_cast<uint32_t>(m->remaining[s].size());
  }

  int ownChange = m_wOwnSeat < 4 ? change[m_wOwnSeat] : 0;
  if (m_bSound) {
    int limit = m_pChannel->nPlayerCount == 4 ? 7 : 3;
    m_Host->sounds.PlayWave(ownChange <= 0 ? 186 : m_nMultiplierCount > limit ? 188 : 190);
  }
  int declPos = SeatToPosition(m_nDeclarerSeat);
  if (m_bVoice && declPos != NO_POSITION && m_nDeclarerSeat < 4) {
    bool won = change[m_nDeclarerSeat] > 0;
    int voice = declPos == OWN_POSITION ? (won ? 8 : 9) : (won ? 11 : 10);
    PlayVoiceNow(voice, m_nDeclarerSeat);
  }
  m_nLeaveRequests = 0;
  for (uint32_t p = 0; p < n; ++p) {
    int s = m_Seats[p].wSeat;
    if (s >= 4) continue;
    m_nScoreChange[p] = change[s];
    m_Seats[p].nSeriesTotal = series[s];
    m_pChannel->nSeriesTotal[p] = series[s];
    m_Seats[p].nScoreTotal = SaturatingAdd(m_Seats[p].nScoreTotal, change[s]);
    m_Seats[p].nCardCount = static_cast<int>(remain[s]);
  }
  for (uint32_t s = 0; s < n; ++s) {
    int pos = SeatToPosition(static_cast<int>(s));
    int c = static_cast<int>(remain[s]);
    const int32_t* codes = m->remaining[s].data();
    if (pos == NO_POSITION || c == 0) continue;
    for (int i = 0; i < c; ++i) {
      std::memset(&m_Hands[pos][i], 0, sizeof(CARD_INFO));
      SetCardFromCode(&m_Hands[pos][i], codes[i]);
      m_Hands[pos][i].bFaceUp = 1;
    }
    m_Seats[pos].nCardCount = c;
    SortCards(m_Hands[pos], c, 0, 0);
  }
  View().HideTurnClock();
  View().RepaintTable();
  uint32_t held = m_pChannel->nHandNumber;
  bool seriesOn = m_pChannel->nOptions[OPT_SERIES] != 0;
  int count = static_cast<int>(n);
  int totals[MAX_POSITIONS];
  for (int p = 0; p < MAX_POSITIONS; ++p) totals[p] = m_Seats[p].nSeriesTotal;
  if (m_Host->connection.IsMainWindowVisible()) {
    if (seriesOn && held == 0) m_Host->scoreBoard.AddSeriesRow(m_pChannel->nSeriesValue);
    m_Host->scoreBoard.RemoveTotalRow();
    m_Host->scoreBoard.AddHandRow(held, m_nScoreChange, count);
    if (held > 0) m_Host->scoreBoard.AddTotalRow(totals, count);
  }
  m_pChannel->nHandNumber = hand;
  if (seriesOn && seriesOver) {
    if (m_Host->connection.IsMainWindowVisible()) {
      m_Host->scoreBoard.RemoveTotalRow();
      m_Host->scoreBoard.AddFinalRow(totals, count);
    }
    for (int p = 0; p < MAX_POSITIONS; ++p) m_Seats[p].nSeriesTotal = m_pChannel->nSeriesTotal[p] = 0;
    m_pChannel->nSeriesValue = seriesValue;
  }
  SetSchedule(SCHEDULE_OVER);
  return 1;
}

int CGameDocCore::OnGameProgress(const uint8_t*) {
  m_Host->connection.ShowMainWindow();
  uint32_t h = m_pChannel->nHandNumber;
  if (h > 0 && m_Host->connection.IsMainWindowVisible()) {
    int totals[MAX_POSITIONS];
    for (int p = 0; p < MAX_POSITIONS; ++p) totals[p] = m_pChannel->nSeriesTotal[p];
    if (m_pChannel->nOptions[OPT_SERIES]) m_Host->scoreBoard.AddSeriesRow(m_pChannel->nSeriesValue);
    if (h == 1)
      m_Host->scoreBoard.AddHandRow(0, totals, m_pChannel->nPlayerCount);
    else
      m_Host->scoreBoard.AddRangeRow(h - 1, totals, m_pChannel->nPlayerCount);
    m_Host->chat.RefreshChatLists();
  }
  m_bGameProgress = true;
  m_Host->sounds.AllowMusic();
  return 1;
}
