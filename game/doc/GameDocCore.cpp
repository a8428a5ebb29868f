#include "GameDocCore.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "DocTexts.h"
#include "WebUrl.h"
#include "WireBytes.h"

namespace {

constexpr uint32_t kStyleWarning = 0x30;
constexpr uint32_t kStyleYesNoQuestion = 0x124;
constexpr int kIdYes = 6;
constexpr int kPlaceholder = 255;

void CopyName(char* dst, size_t dstSize, const std::string& src) {
  size_t n = src.size() < dstSize - 1 ? src.size() : dstSize - 1;
  std::memcpy(dst, src.data(), n);
  std::memset(dst + n, 0, dstSize - n);
}

bool SameNameNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x < 0x80 && y < 0x80 ? std::tolower(x) != std::tolower(y) : x != y) return false;
    if (!x) return true;
  }
}

std::vector<uint8_t> Frame(uint32_t id, const std::vector<uint8_t>& body) {
  wire::Writer w;
  w.U32(id);
  w.U32(static_cast<uint32_t>(body.size()));
  if (GameFrameHeaderSize(id) == 12) w.U32(0);
  w.Bytes(body.data(), body.size());
  return w.Take();
}

// No table view yet (start-up) or any more (shut-down): nothing on screen to update.
class CDetachedTableView : public CDocTableView {
 public:
  void PhaseChanged(int) override {}
  void ShowTurnClock(int) override {}
  void HideTurnClock() override {}
  void HideTurnMarker() override {}
  void RefreshButtons() override {}
  void RedrawAvatar(int) override {}
  void RedrawPlays() override {}
  void RepaintTable() override {}
  void RelayoutTable() override {}
  void HideStartButton() override {}
  void HideBidButtons() override {}
  void ShowShowCardsButton() override {}
  void HideShowCardsButton() override {}
  void SetPlayButtons(bool, bool) override {}
  void RaiseSelectedCards() override {}
  void EnablePlayButton(bool) override {}
  void SetTrusteeshipButtons(bool) override {}
  void SetStatusText(const std::string&) override {}
  void SetStatusTextId(int) override {}
  void ShowFloatingText(const std::string&) override {}
  void ShowNotice(const std::string&) override {}
  void SetSurveyTarget(const std::string&) override {}
  void FocusGameView() override {}
  void MoveClockForHandEnd() override {}
  void StartLastRoundTimer(int) override {}
  void PlayRecorded(int, int, int) override {}
  void PauseTable(uint32_t) override {}
};

}  // namespace

CDocTableView& CGameDocCore::View() {
  static CDetachedTableView s_none;
  return m_pTableView ? *m_pTableView : s_none;
}

CGameDocCore::CGameDocCore(const CDocHost& host, CHANNEL_STATE& channel) : m_Host(host), m_Channel(channel) {
  std::memset(m_Seats, 0, sizeof m_Seats);
  std::memset(m_Hands, 0, sizeof m_Hands);
  std::memset(m_LastPlays, 0, sizeof m_LastPlays);
  std::memset(m_PrevPlays, 0, sizeof m_PrevPlays);
  std::memset(m_nPrevPlayCount, 0, sizeof m_nPrevPlayCount);
  std::memset(m_bPlayedThisRound, 0, sizeof m_bPlayedThisRound);
  std::memset(m_bReady, 0, sizeof m_bReady);
  std::memset(m_BottomCards, 0, sizeof m_BottomCards);
  std::memset(m_szHostName, 0, sizeof m_szHostName);
  std::memset(m_PanelData, 0, sizeof m_PanelData);
  std::memset(m_SeatFlags, 0, sizeof m_SeatFlags);
  std::memset(m_TableInfo, 0, sizeof m_TableInfo);
  std::memset(m_nScoreChange, 0, sizeof m_nScoreChange);
  m_wOwnSeat = 0;
  m_nCardsPerHand = 0;
  m_nSchedule = SCHEDULE_WAIT;
  m_nTurnPosition = 0;
  m_nLastPlayerPosition = 0;
  m_bQuietClose = 1;
  m_bBusy = 0;
  m_nBidState = 0;
  m_nLastBid = -1;
  m_nFirstBidder = -1;
  m_nBidValue = 0;
  m_nDeclarerSeat = -1;
  m_bOwnDeclarer = 1;
  m_nMultiplier = m_Channel.nOptions[OPT_BASE_MULTIPLIER];
  m_nMultiplierCount = 0;
  m_bDeclarerShown = 0;
  m_nBottomCount = 0;
  m_bPlaySent = 0;
  m_bFreeLead = 0;
  m_bNewRound = 0;
  m_bHintFlag = 1;
  m_bOwnTrusteeship = 0;
  m_bOwnTrustExit = 0;
  m_bTurnClockEnabled = 1;
  m_nLeaveRequests = 0;
  m_bGameProgress = false;
  m_bShowingLastRound = false;
  std::memset(m_SavedPlays, 0, sizeof m_SavedPlays);
  std::memset(m_nSavedPlayCount, 0, sizeof m_nSavedPlayCount);
  m_bSound = 1, m_bMusic = 0, m_bScoreBoard = 0, m_bClockFlowBlink = 0, m_bOrder = 1, m_nShowOrder = 0;
  m_nSortMode = 0, m_bVoice = 1, m_bNormalSound = 0, m_bFlyMsg = 0, m_bEnableWatch = 1, m_bSmallCard = 1;
  SetRuleOptions(m_Channel.nPlayerCount, m_Channel.nOptions[OPT_FOUR_STRAIGHT],
                 m_Channel.nOptions[OPT_FOUR_TRIPLE_ONE]);
}

void CGameDocCore::LoadSeats() {
  SetRuleOptions(m_Channel.nPlayerCount, m_Channel.nOptions[OPT_FOUR_STRAIGHT],
                 m_Channel.nOptions[OPT_FOUR_TRIPLE_ONE]);
  for (int p = 0; p < MAX_POSITIONS; ++p) {
    SEAT_INFO& s = m_Seats[p];
    std::memset(&s, 0, sizeof s);
    if (p >= m_Channel.nPlayerCount) continue;
    std::memcpy(s.szUserName, m_Channel.seats[p].szUserName, sizeof s.szUserName);
    std::memcpy(s.szNickName, m_Channel.seats[p].szNickName, sizeof s.szNickName);
    s.szUserName[19] = s.szNickName[19] = 0;
    s.wSeat = m_Channel.seats[p].wServerSeat;
    s.nScoreTotal = m_Channel.nScoreTotal[p];
    s.nSeriesTotal = m_Channel.nSeriesTotal[p];
    s.bAllowWatching = 1;
  }
  m_wOwnSeat = m_Seats[OWN_POSITION].wSeat;
  m_nMultiplier = m_Channel.nOptions[OPT_BASE_MULTIPLIER];
}

void CGameDocCore::LoadSettings() {
  m_bSound = m_Host.profile.GetProfileInt("Sound", 1);
  m_bMusic = m_Host.profile.GetProfileInt("Music", 0);
  m_strMusicFile = m_Host.profile.GetProfileString("MusicFile", "");
  m_bScoreBoard = m_Host.profile.GetProfileInt("ScoreBoard", 0);
  m_bClockFlowBlink = m_Host.profile.GetProfileInt("ClockFlowBlink", 0);
  m_bOrder = m_Host.profile.GetProfileInt("Order", 1);
  m_nShowOrder = m_Host.profile.GetProfileInt("ShowOrder", 0);
  m_nSortMode = m_Host.profile.GetProfileInt("SortMode", 0) ? 1 : 0;
  m_bVoice = m_Host.profile.GetProfileInt("Voice", 1);
  m_bNormalSound = m_Host.profile.GetProfileInt("NormalSound", 0);
  m_bFlyMsg = m_Host.profile.GetProfileInt("FlyMsg", 0);
  m_strSnapshotPath = m_Host.profile.GetProfileString("SnapshotPath", m_strSnapshotPath);
  m_bEnableWatch = m_Host.profile.GetProfileInt("EnableWatch", 1);
}

void CGameDocCore::SaveSettings() {
  m_Host.profile.WriteProfileInt("Sound", m_bSound);
  m_Host.profile.WriteProfileInt("Music", m_bMusic);
  m_Host.profile.WriteProfileInt("SmallCard", m_bSmallCard);
  m_Host.profile.WriteProfileInt("Order", m_bOrder);
  m_Host.profile.WriteProfileInt("Voice", m_bVoice);
  m_Host.profile.WriteProfileInt("NormalSound", m_bNormalSound);
  m_Host.profile.WriteProfileInt("FlyMsg", m_bFlyMsg);
  if (m_nShowOrder < 10) ++m_nShowOrder;
  m_Host.profile.WriteProfileInt("ShowOrder", m_nShowOrder);
  m_Host.profile.WriteProfileInt("SortMode", m_nSortMode);
  m_Host.profile.WriteProfileString("MusicFile", m_strMusicFile);
  m_Host.profile.WriteProfileString("SnapshotPath", m_strSnapshotPath);
  if (!IsWatchingAsEntered()) m_Host.profile.WriteProfileInt("EnableWatch", m_bEnableWatch);
}

void CGameDocCore::RegisterMessageHandlers(CMessageHandlerTable<CGameDocCore>& t) {
  t.SetUserData(this);
  t.AddHandler(MSG_READY, &CGameDocCore::OnReady);
  t.AddHandler(MSG_DEAL, &CGameDocCore::OnDeal);
  t.AddHandler(MSG_PLAY, &CGameDocCore::OnPlay);
  t.AddHandler(MSG_BID, &CGameDocCore::OnBid);
  t.AddHandler(MSG_BOTTOM_CARDS, &CGameDocCore::OnBottomCards);
  t.AddHandler(MSG_GAME_PROGRESS, &CGameDocCore::OnGameProgress);
  t.AddHandler(MSG_WATCH_PERMISSION, &CGameDocCore::OnWatchPermission);
  t.AddHandler(MSG_NOTICE, &CGameDocCore::OnNotice);
  t.AddHandler(MSG_AD_RECORD, &CGameDocCore::OnAdRecord);
  t.AddHandler(MSG_ACTION_ERROR, &CGameDocCore::OnActionError);
  t.AddHandler(MSG_HAND_OVER, &CGameDocCore::OnHandOver);
  t.AddHandler(MSG_LEAVE_ANSWER, &CGameDocCore::OnLeaveAnswer);
  t.AddHandler(MSG_LEAVE_REQUEST, &CGameDocCore::OnLeaveRequest);
  t.AddHandler(MSG_ASK_WATCH_PERMISSION, &CGameDocCore::OnAskWatchPermission);
  t.AddHandler(MSG_SHOW_CARDS_REPLY, &CGameDocCore::OnShowCards);
  t.AddHandler(MSG_SEAT_VALUES, &CGameDocCore::OnSeatValues);
  t.AddHandler(MSG_PAUSE, &CGameDocCore::OnPause);
  t.AddHandler(MSG_PLAYER_STATES, &CGameDocCore::OnPlayerStates);
  t.AddHandler(MSG_COMPLAINT_PROMPT, &CGameDocCore::OnComplaintPrompt);
  t.AddHandler(MSG_COMPLAINT_RESULT, &CGameDocCore::OnComplaintResult);
  t.AddHandler(MSG_COMPLAINT_UPDATE, &CGameDocCore::OnComplaintUpdate);
  t.AddHandler(MSG_NET_SKIN_DATA, &CGameDocCore::OnNetSkinData);
  t.AddHandler(MSG_BUTTON_TEXT, &CGameDocCore::OnButtonText);
  t.AddHandler(MSG_TABLE_INFO, &CGameDocCore::OnTableInfo);
  t.AddHandler(MSG_SEAT_FLAGS, &CGameDocCore::OnSeatFlags);
  t.AddHandler(MSG_HOST_NAME, &CGameDocCore::OnHostName);
  t.AddHandler(MSG_PANEL_DATA, &CGameDocCore::OnPanelData);
}

// ---- seats ----

int CGameDocCore::SeatToPosition(int nSeat) const {
  for (int p = 0; p < m_Channel.nPlayerCount && p < MAX_POSITIONS; ++p)
    if (m_Seats[p].wSeat == nSeat) return p;
  return NO_POSITION;
}

int CGameDocCore::PositionToSeat(int nPosition) const {
  if (nPosition < 0 || nPosition >= MAX_POSITIONS) return -1;
  return m_Seats[nPosition].wSeat;
}

int CGameDocCore::FindSeatByName(const char* szName, bool bIgnoreCase) const {
  for (int p = 0; p < m_Channel.nPlayerCount && p < MAX_POSITIONS; ++p) {
    if (bIgnoreCase ? SameNameNoCase(m_Seats[p].szUserName, szName)
                    : std::strncmp(m_Seats[p].szUserName, szName, 20) == 0)
      return p;
  }
  return NO_POSITION;
}

CARD_INFO* CGameDocCore::GetSeatCards(int nPosition) {
  if (nPosition < 0 || nPosition >= MAX_POSITIONS) return nullptr;
  return m_Hands[nPosition];
}

int CGameDocCore::GetSeatCardCount(int nPosition) {
  if (nPosition < 0 || nPosition >= MAX_POSITIONS) return 0;
  int n = m_Seats[nPosition].nCardCount;
  return n < 0 ? 0 : n > MAX_CARDS ? MAX_CARDS : n;
}

const CARD_INFO* CGameDocCore::GetLastPlayCards(int* pnCount) {
  if (m_bFreeLead || m_nLastPlayerPosition < 0 || m_nLastPlayerPosition >= MAX_POSITIONS) {
    *pnCount = 0;
    return m_LastPlays[0];
  }
  *pnCount = m_Seats[m_nLastPlayerPosition].nLastPlayCount;
  return m_LastPlays[m_nLastPlayerPosition];
}

// ---- phases ----

void CGameDocCore::SetSchedule(int nPhase, bool bRestartClock) {
  m_nSchedule = nPhase;
  m_Host.services.SetRunLogField("Schedule", std::to_string(nPhase));
  if (bRestartClock) ShowTurnClock(false);
  bool quiet = m_bOwnTrusteeship || m_bOwnTrustExit;
  switch (nPhase) {
    case SCHEDULE_WAIT: {
      if (!quiet) {
        bool anyMarked = false;
        for (int p = 0; p < m_Channel.nPlayerCount && p < MAX_POSITIONS; ++p)
          if (m_Seats[p].dwState & (SEAT_OFFLINE | SEAT_TRUSTEESHIP | SEAT_TRUST_EXIT)) anyMarked = true;
        if (!anyMarked && bRestartClock) ShowTurnClock(true);
        View().RefreshButtons();
      }
      m_bBusy = 0;
      std::memset(m_bReady, 0, sizeof m_bReady);
      break;
    }
    case SCHEDULE_PHASE3:
      if (!quiet && bRestartClock) ShowTurnClock(true);
      break;
    case SCHEDULE_BID:
      if (!quiet && bRestartClock && m_nTurnPosition == OWN_POSITION) ShowTurnClock(true);
      break;
    case SCHEDULE_PLAY:
      if (!quiet && bRestartClock && m_nTurnPosition == OWN_POSITION && m_Seats[OWN_POSITION].nCardCount > 0)
        ShowTurnClock(true);
      break;
    case SCHEDULE_OVER:
      EndHand();
      return;  // EndHand sets phase 1, which told the view already
    default:
      break;
  }
  View().PhaseChanged(m_nSchedule);
}

void CGameDocCore::EndHand() {
  m_Host.chat.RefreshChatLists();
  if (m_bClockFlowBlink) View().MoveClockForHandEnd();
  m_nBidValue = 0;
  m_nDeclarerSeat = -1;
  m_nBidState = 0;
  m_nMultiplier = m_Channel.nOptions[OPT_BASE_MULTIPLIER];
  m_Host.scoreBoard.ShowScoreBoard(true);
  View().FocusGameView();
  SetSchedule(SCHEDULE_WAIT);
}

void CGameDocCore::ShowTurnClock(bool bShow) {
  if (IsWatchingAsEntered() || !m_bTurnClockEnabled) return;
  if (!bShow) {
    View().HideTurnClock();
    return;
  }
  int seconds = m_Channel.nOptions[OPT_TURN_TIME];
  if (m_nSchedule == SCHEDULE_PLAY && m_bOwnDeclarer) {
    seconds *= 2;
    m_bOwnDeclarer = 0;
  }
  if (seconds > 99) seconds = 99;
  if (seconds < 0) seconds = 0;
  View().ShowTurnClock(seconds);
  if (!m_Host.connection.IsMainWindowActive()) m_Host.connection.FlashMainWindow(5, 20);
}

void CGameDocCore::FlashUnlessActive(int nCount, int nMs) {
  if (!m_Host.connection.IsMainWindowActive()) m_Host.connection.FlashMainWindow(nCount, nMs);
}

// ---- sending ----

bool CGameDocCore::SendBody(uint32_t nId, const std::vector<uint8_t>& body, bool bBracket) {
  if (bBracket) m_Host.connection.BeginSend();
  bool ok = m_Host.connection.SendFrame(Frame(nId, body));
  if (bBracket) m_Host.connection.EndSend();
  return ok;
}

void CGameDocCore::SendReady() {
  if (m_bSound) m_Host.sounds.PlayWave(184);
  ShowTurnClock(false);
  wire::Writer w;
  w.U32(m_wOwnSeat);
  for (int i = 0; i < 11; ++i) w.U32(0);
  w.U32(static_cast<uint32_t>(m_Seats[OWN_POSITION].bAllowWatching));
  SendBody(MSG_READY, w.Take(), false);
}

void CGameDocCore::SendBid(int nBid) {
  if (m_nSchedule != SCHEDULE_BID) return;
  wire::Writer w;
  w.I32(-1);
  w.U32(static_cast<uint32_t>(nBid));
  w.I32(-1);
  w.U32(0);
  SendBody(MSG_BID, w.Take(), false);
  View().HideBidButtons();
}

void CGameDocCore::PlaySelectedCards() {
  if (m_bPlaySent || m_bBusy) return;
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
      m_Host.sounds.PlayWave(172);
      m_Host.boxes.ShowBoxId(refusal, kStyleWarning, 0, "");
      SetSchedule(SCHEDULE_PLAY, false);
      return;
    }
  }
  wire::Writer w;
  w.U32(m_wOwnSeat);
  w.I32(-1);
  w.U32(static_cast<uint32_t>(n));
  w.U32(0);
  for (int i = 0; i < n; ++i) w.U32(static_cast<uint32_t>(sel[i].nCode));
  m_bPlaySent = 1;
  ShowTurnClock(false);
  View().HideTurnMarker();
  SendBody(MSG_PLAY, w.Take(), true);
  View().SetPlayButtons(false, false);
}

void CGameDocCore::Pass() {
  // The server refuses a pass on a free lead; sending one would only bring its box back.
  if (m_bPlaySent || m_bBusy || m_bFreeLead) return;
  wire::Writer w;
  w.U32(m_wOwnSeat);
  w.I32(-1);
  w.U32(0);
  w.U32(0);
  m_bPlaySent = 1;
  ShowTurnClock(false);
  View().HideTurnMarker();
  SendBody(MSG_PLAY, w.Take(), true);
  View().SetPlayButtons(false, false);
}

void CGameDocCore::SendShowCards() {
  SendBody(MSG_SHOW_CARDS, {}, false);
  View().HideShowCardsButton();
}

void CGameDocCore::SendLeaveRequest() {
  wire::Writer w;
  w.U32(m_wOwnSeat);
  w.U32(0);
  SendBody(MSG_LEAVE_REQUEST, w.Take(), true);
}

void CGameDocCore::ForceQuit() {
  // Leaving for good: no box about the closed connection.
  m_bQuietClose = 1;
  m_Host.connection.QuitForcedAndClose();
}

void CGameDocCore::RequestTrusteeship(int nMode) {
  if (!(m_Host.connection.OptionFlags() & 1)) return;
  wire::Writer w;
  w.U32(static_cast<uint32_t>(nMode));
  w.Field(OwnUserName(), 20);
  SendBody(MSG_TRUSTEESHIP, w.Take(), true);
}

void CGameDocCore::SendWatchPermission(int bAllow) {
  wire::Writer w;
  w.U32(m_wOwnSeat);
  w.U32(bAllow ? 1 : 0);
  w.U32(0);
  SendBody(MSG_WATCH_PERMISSION, w.Take(), false);
}

void CGameDocCore::SetAllowWatching(int bAllow) {
  bAllow = bAllow ? 1 : 0;
  if (IsWatching() || bAllow == m_bEnableWatch) return;
  m_bEnableWatch = bAllow;
  m_Seats[OWN_POSITION].bAllowWatching = bAllow;
  SendWatchPermission(bAllow);
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
      if (m_Host.connection.OptionFlags() & 1) {
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
      m_bBusy = 1;
      SendTimeout();
      break;
  }
}

void CGameDocCore::SendTimeout() {
  wire::Writer w;
  w.U32(m_wOwnSeat);
  SendBody(MSG_TIMEOUT, w.Take(), true);
}

void CGameDocCore::SendComplaint(const char* szAccused) {
  wire::Writer w;
  w.Field(OwnUserName(), 20);
  w.Field(szAccused ? szAccused : "", 20);
  std::vector<uint8_t> body = w.Take();
  body.resize(404, 0);
  std::memcpy(&body[140], gamedoc::kTextComplaintReason, std::strlen(gamedoc::kTextComplaintReason));
  SendBody(MSG_COMPLAINT, body, false);
}

void CGameDocCore::SendComplaintDecline() { SendBody(MSG_COMPLAINT_DECLINE, {}, false); }

// ---- hands ----

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

// ---- handlers ----

int CGameDocCore::OnReady(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t seat;
  if (!r.U32(&seat)) return 0;
  int pos = SeatToPosition(static_cast<int>(seat));
  if (pos == NO_POSITION) return 0;
  m_bReady[pos] = 1;
  m_Seats[pos].dwState = SEAT_READY;
  View().RedrawAvatar(pos);
  if (pos == OWN_POSITION) {
    View().HideStartButton();
    if (!IsWatching()) View().SetStatusTextId(IDS_WAIT_START);
  }
  return 1;
}

int CGameDocCore::OnDeal(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (f.size < 48) return 0;
  int cards = static_cast<int>(f.size - 48);
  wire::Reader r(f.body, f.size);
  uint32_t allow[4], score[4], skip, hint, firstBidder, bottom;
  for (auto& a : allow) r.U32(&a);
  for (auto& s : score) r.U32(&s);
  r.U32(&skip);
  r.U32(&hint);
  r.U32(&firstBidder);
  r.U32(&bottom);
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
  for (int p = 0; p < m_Channel.nPlayerCount && p < MAX_POSITIONS; ++p)
    if (m_Seats[p].wSeat < 4) m_Seats[p].nScoreTotal = static_cast<int32_t>(score[m_Seats[p].wSeat]);
  m_bHintFlag = hint != 0;
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
  for (int p = 0; p < m_Channel.nPlayerCount && p < MAX_POSITIONS; ++p)
    FillHand(p, p == OWN_POSITION ? f.body + 48 : nullptr, cards, p == OWN_POSITION && faceUp);
  SortSeatHand(OWN_POSITION, 0);
  m_nTurnPosition = firstPos;
  InvalidateHint();
  if (m_bVoice) PlayVoiceNow(1, -1);
  SetSchedule(SCHEDULE_BID);
  m_Host.services.StartTierQuery();
  return 1;
}

int CGameDocCore::OnBid(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  int32_t next;
  uint32_t state, declarer, bid;
  if (!r.I32(&next) || !r.U32(&state) || !r.U32(&declarer) || !r.U32(&bid)) return 0;
  m_nBidState = static_cast<int>(state);
  m_nLastBid = static_cast<int>(bid);
  if (bid >= 1 && bid <= 3 && static_cast<int>(bid) > m_nBidValue) m_nBidValue = static_cast<int>(bid);
  if (m_bVoice) {
    int voice;
    if (bid >= 1 && bid <= 3) {
      voice = 4 + static_cast<int>(bid);
    } else if (m_nFirstBidder == m_nTurnPosition || state != 0) {
      voice = 2;
    } else if (m_Channel.nPlayerCount > 0 && m_nFirstBidder == (m_nTurnPosition + 1) % m_Channel.nPlayerCount) {
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
  if (m_Channel.nPlayerCount == 4 && pos == OWN_POSITION && !IsWatching()) View().ShowShowCardsButton();
  return 1;
}

int CGameDocCore::OnBottomCards(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t n, declarer;
  if (!r.U32(&n) || !r.U32(&declarer)) return 0;
  if (n > MAX_BOTTOM || r.remaining() < n * 4) return 0;
  int pos = SeatToPosition(static_cast<int>(declarer));
  if (pos == NO_POSITION) return 0;
  int have = GetSeatCardCount(pos);
  if (have + static_cast<int>(n) > MAX_CARDS) return 0;
  bool own = pos == OWN_POSITION;
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t code;
    r.U32(&code);
    CARD_INFO c{};
    SetCardFromCode(&c, static_cast<int32_t>(code));
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

int CGameDocCore::OnPlay(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t seat, n, multiplier;
  int32_t next;
  if (!r.U32(&seat) || !r.I32(&next) || !r.U32(&n) || !r.U32(&multiplier)) return 0;
  if (n > MAX_CARDS || r.remaining() < n * 4) return 0;
  int pos = SeatToPosition(static_cast<int>(seat));
  if (pos == NO_POSITION) return 0;
  int nextPos = next >= 0 ? SeatToPosition(next) : NO_POSITION;
  if (next >= 0 && nextPos == NO_POSITION) return 0;

  int newMult = static_cast<int>(multiplier);
  if (newMult != m_nMultiplier && newMult > 0) {
    if (m_nMultiplier > 0) {
      char text[64];
      std::snprintf(text, sizeof text, gamedoc::kTextMultiplierUp, newMult / m_nMultiplier);
      View().ShowFloatingText(text);
    }
    m_nMultiplier = newMult;
    ++m_nMultiplierCount;
  }
  CARD_INFO* play = m_LastPlays[pos];
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t code;
    r.U32(&code);
    std::memset(&play[i], 0, sizeof(CARD_INFO));
    SetCardFromCode(&play[i], static_cast<int32_t>(code));
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
  GameFrame f = ParseGameFrame(pFrame);
  m_bDeclarerShown = 1;
  m_nMultiplier = static_cast<int>(f.status);
  int pos = SeatToPosition(m_nDeclarerSeat);
  if (pos != NO_POSITION && pos != OWN_POSITION) {
    int n = f.size > MAX_CARDS ? MAX_CARDS : static_cast<int>(f.size);
    FillHand(pos, f.body, n, true);
    SortSeatHand(pos, 0);
  }
  View().RepaintTable();
  return 1;
}

int CGameDocCore::OnSeatValues(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t v[4];
  for (auto& x : v)
    if (!r.U32(&x)) return 0;
  if (m_wOwnSeat < 4) m_nLeaveRequests = static_cast<int>(v[m_wOwnSeat]);
  return 1;
}

int CGameDocCore::OnPause(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t ms;
  if (!r.U32(&ms)) return 0;
  if (static_cast<int32_t>(ms) > 0) {
    View().RepaintTable();
    View().PauseTable(ms > 10000 ? 10000 : ms);
  }
  return 1;
}

int CGameDocCore::OnGameProgress(const uint8_t*) {
  m_Host.connection.ShowMainWindow();
  uint32_t h = m_Channel.nHandNumber;
  if (h > 0 && m_Host.connection.IsMainWindowVisible()) {
    int totals[MAX_POSITIONS];
    for (int p = 0; p < MAX_POSITIONS; ++p) totals[p] = m_Channel.nSeriesTotal[p];
    if (m_Channel.nOptions[OPT_SERIES]) m_Host.scoreBoard.AddSeriesRow(m_Channel.nSeriesValue);
    if (h == 1)
      m_Host.scoreBoard.AddHandRow(0, totals, m_Channel.nPlayerCount);
    else
      m_Host.scoreBoard.AddRangeRow(static_cast<int>(h - 1), totals, m_Channel.nPlayerCount);
    m_Host.chat.RefreshChatLists();
  }
  m_bGameProgress = true;
  m_Host.sounds.AllowMusic();
  return 1;
}

int CGameDocCore::OnWatchPermission(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t seat, allow, n;
  if (!r.U32(&seat) || !r.U32(&allow) || !r.U32(&n)) return 0;
  int pos = SeatToPosition(static_cast<int>(seat));
  if (pos == NO_POSITION) return 0;
  m_Seats[pos].bAllowWatching = allow ? 1 : 0;
  if (IsWatching() && pos == OWN_POSITION && n <= MAX_CARDS && r.remaining() >= n) {
    FillHand(OWN_POSITION, r.here(), static_cast<int>(n), allow != 0);
    SortSeatHand(OWN_POSITION, 0);
    InvalidateHint();
    View().RepaintTable();
  }
  return 1;
}

int CGameDocCore::OnAskWatchPermission(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t quiet;
  if (!r.U32(&quiet)) return 0;
  m_bQuietClose = static_cast<int>(quiet);
  if (!IsWatching()) SendWatchPermission(m_Seats[OWN_POSITION].bAllowWatching);
  return 1;
}

int CGameDocCore::OnNotice(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  std::string text;
  r.CString(&text);
  if (text.size() > NOTICE_SIZE - 1) text.resize(NOTICE_SIZE - 1);
  m_strNotice = text;
  View().ShowNotice(text);
  return 1;
}

int CGameDocCore::OnAdRecord(const uint8_t* pFrame) {
  m_Host.chat.ShowAdRecord(pFrame);
  return 1;
}

int CGameDocCore::OnActionError(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t code;
  if (!r.U32(&code)) return 0;
  if (f.status != m_wOwnSeat || IsWatching()) return 1;
  switch (code) {
    case 2:
      m_Host.boxes.ShowBoxId(IDS_ACTION_ERROR2, kStyleWarning, 10, "");
      break;
    case 201:
    case 202:
    case 203:
    case 204: {
      // 201..204 map to 5004, 5003, 5002, 5001.
      static const int kIds[] = {5004, 5003, IDS_PLAY_INVALID, IDS_PLAY_NOT_BIGGER};
      m_Host.boxes.ShowBoxId(kIds[code - 201], kStyleWarning, 10, "");
      m_bPlaySent = 0;
      SetSchedule(SCHEDULE_PLAY, false);
      ShowTurnClock(true);
      View().SetPlayButtons(true, !m_bFreeLead);
      break;
    }
    case 501:
      m_Host.boxes.ShowBoxId(IDS_KICKED_TIMEOUT, kStyleWarning, 10, "");
      [[fallthrough]];
    case 500:
      m_bQuietClose = 1;
      m_Host.connection.PostCloseMainWindow();
      m_Host.connection.QuitAndClose();
      break;
    default:
      break;
  }
  return 1;
}

int CGameDocCore::OnHandOver(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t n, hand, seriesValue, seriesOver, skip;
  int32_t change[4], series[4];
  uint32_t remain[4];
  if (!r.U32(&n) || !r.U32(&hand) || !r.U32(&seriesValue) || !r.U32(&seriesOver) || !r.U32(&skip) || !r.U32(&skip))
    return 0;
  for (auto& c : change) r.I32(&c);
  for (auto& s : series) r.I32(&s);
  for (int i = 0; i < 4; ++i) r.U32(&skip);
  for (auto& c : remain) r.U32(&c);
  if (!r.ok() || n > 4 || static_cast<int>(n) > m_Channel.nPlayerCount) return 0;
  uint32_t total = 0;
  for (uint32_t s = 0; s < n; ++s) {
    if (remain[s] > MAX_CARDS) return 0;
    total += remain[s];
  }
  if (r.remaining() < total * 4) return 0;

  int ownChange = m_wOwnSeat < 4 ? change[m_wOwnSeat] : 0;
  if (m_bSound) {
    int limit = m_Channel.nPlayerCount == 4 ? 7 : 3;
    m_Host.sounds.PlayWave(ownChange <= 0 ? 186 : m_nMultiplierCount > limit ? 188 : 190);
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
    m_Channel.nSeriesTotal[p] = series[s];
    m_Seats[p].nScoreTotal += change[s];
    m_Seats[p].nCardCount = static_cast<int>(remain[s]);
  }
  for (uint32_t s = 0; s < n; ++s) {
    int pos = SeatToPosition(static_cast<int>(s));
    int c = static_cast<int>(remain[s]);
    int32_t codes[MAX_CARDS];
    for (int i = 0; i < c; ++i) r.I32(&codes[i]);
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
  uint32_t held = m_Channel.nHandNumber;
  bool seriesOn = m_Channel.nOptions[OPT_SERIES] != 0;
  int count = static_cast<int>(n);
  int totals[MAX_POSITIONS];
  for (int p = 0; p < MAX_POSITIONS; ++p) totals[p] = m_Seats[p].nSeriesTotal;
  if (m_Host.connection.IsMainWindowVisible()) {
    if (seriesOn && held == 0) m_Host.scoreBoard.AddSeriesRow(m_Channel.nSeriesValue);
    m_Host.scoreBoard.RemoveTotalRow();
    m_Host.scoreBoard.AddHandRow(static_cast<int>(held), m_nScoreChange, count);
    if (held > 0) m_Host.scoreBoard.AddTotalRow(totals, count);
  }
  m_Channel.nHandNumber = hand;
  if (seriesOn && seriesOver) {
    if (m_Host.connection.IsMainWindowVisible()) {
      m_Host.scoreBoard.RemoveTotalRow();
      m_Host.scoreBoard.AddFinalRow(totals, count);
    }
    for (int p = 0; p < MAX_POSITIONS; ++p) m_Seats[p].nSeriesTotal = m_Channel.nSeriesTotal[p] = 0;
    m_Channel.nSeriesValue = seriesValue;
  }
  SetSchedule(SCHEDULE_OVER);
  return 1;
}

int CGameDocCore::OnLeaveRequest(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t seat, value;
  if (!r.U32(&seat) || !r.U32(&value)) return 0;
  int pos = SeatToPosition(static_cast<int>(seat));
  if (pos == NO_POSITION) return 0;
  if (!IsWatching()) FlashUnlessActive(5, 20);
  int answer = m_Host.boxes.ShowBoxId(IDS_LEAVE_ASK, kStyleYesNoQuestion, 10, m_Seats[pos].szUserName);
  wire::Writer w;
  w.U32(m_wOwnSeat);
  w.U32(value);
  w.U32(answer == kIdYes ? 1 : 0);
  SendBody(MSG_LEAVE_ANSWER, w.Take(), true);
  return 1;
}

int CGameDocCore::OnLeaveAnswer(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t seat, value, agree;
  if (!r.U32(&seat) || !r.U32(&value) || !r.U32(&agree)) return 0;
  if (!IsWatching()) FlashUnlessActive(5, 20);
  if (value == 0) return 1;
  if (seat != m_wOwnSeat && agree != 0) return 1;
  wire::Writer w;
  w.U32(m_wOwnSeat);
  if (agree) {
    if (m_Host.boxes.ShowBoxId(IDS_LEAVE_CONFIRM_AGREED, kStyleYesNoQuestion, 10, "") != kIdYes) return 1;
    w.U32(value);
    w.U32(0);
  } else {
    int pos = SeatToPosition(static_cast<int>(seat));
    std::string name = pos != NO_POSITION ? m_Seats[pos].szUserName : "";
    // "[%s] refused!" followed by the question whether to leave anyway.
    if (m_Host.boxes.ShowBoxIdPair(IDS_LEAVE_REFUSED, name, IDS_LEAVE_REFUSED_TAIL, kStyleYesNoQuestion, 10) != kIdYes)
      return 1;
    w.U32(0);
    w.U32(1);
  }
  SendBody(MSG_LEAVE_CONFIRM, w.Take(), true);
  return 1;
}

int CGameDocCore::OnPlayerStates(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t skip, count;
  if (!r.U32(&skip) || !r.U32(&count)) return 0;
  if (count > r.remaining() / 24) return 0;
  for (uint32_t i = 0; i < count; ++i) {
    std::string name;
    uint32_t state;
    r.Field(20, &name);
    r.U32(&state);
    for (int p = 0; p < m_Channel.nPlayerCount && p < MAX_POSITIONS; ++p) {
      if (std::strncmp(m_Seats[p].szUserName, name.c_str(), 20) != 0) continue;
      m_Seats[p].dwState = state;
      View().RedrawAvatar(p);
      if (p == OWN_POSITION) UpdateOwnTrusteeship();
    }
  }
  return 1;
}

int CGameDocCore::OnComplaintPrompt(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (f.size < 8) return 0;  // the prompt record is the first 20 bytes of the frame
  m_Host.complaints.ComplaintPrompt(pFrame, m_nDeclarerSeat == m_wOwnSeat);
  FlashUnlessActive(5, 20);
  return 1;
}

int CGameDocCore::OnComplaintResult(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (f.size < 8) return 0;
  m_Host.complaints.ComplaintResult(pFrame, m_nDeclarerSeat == m_wOwnSeat);
  FlashUnlessActive(5, 20);
  return 1;
}

int CGameDocCore::OnComplaintUpdate(const uint8_t* pFrame) {
  m_Host.complaints.ComplaintUpdate(pFrame, m_nDeclarerSeat == m_wOwnSeat);
  return 1;
}

int CGameDocCore::OnNetSkinData(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  if (!r.Skip(4)) return 0;
  std::string text;
  r.CString(&text);
  m_Host.chat.HandleNetSkinData(text);
  return 1;
}

int CGameDocCore::OnButtonText(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t flag;
  if (!r.U32(&flag)) return 0;
  std::string text;
  r.CString(&text);
  if (!flag) return 1;
  // Only web addresses become the survey button's target.
  if (!weburl::IsWebUrl(text)) return 1;
  m_strSurveyTarget = text;
  View().SetSurveyTarget(text);
  return 1;
}

int CGameDocCore::OnTableInfo(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  size_t head = GameFrameHeaderSize(f.id);
  size_t have = head + f.size;
  std::memset(m_TableInfo, 0, sizeof m_TableInfo);
  std::memcpy(m_TableInfo, pFrame, have < sizeof m_TableInfo ? have : sizeof m_TableInfo);
  View().RepaintTable();
  return 1;
}

int CGameDocCore::FindTableInfo(const char* szUserName) const {
  for (int i = 0; i < 4; ++i) {
    const char* name = reinterpret_cast<const char*>(m_TableInfo + 8 + 44 * i);
    if (name[0] && std::strncmp(name, szUserName, 20) == 0) return i;
  }
  return -1;
}

int CGameDocCore::OnSeatFlags(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (f.size < 4) return 0;
  std::memcpy(m_SeatFlags, f.body, 4);
  View().RepaintTable();
  return 1;
}

int CGameDocCore::OnHostName(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (!f.status) return 1;
  wire::Reader r(f.body, f.size);
  std::string name;
  if (!r.Field(f.size < 20 ? f.size : 20, &name)) return 0;
  CopyName(m_szHostName, sizeof m_szHostName, name);
  return 1;
}

int CGameDocCore::OnPanelData(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (!f.status) return 1;
  std::memset(m_PanelData, 0, sizeof m_PanelData);
  std::memcpy(m_PanelData, f.body, f.size < sizeof m_PanelData ? f.size : sizeof m_PanelData);
  m_Host.chat.PanelReload();
  return 1;
}

// ---- socket callbacks ----

int CGameDocCore::OnServerClose(int) {
  m_Host.connection.PostCloseMainWindow();
  return 0;
}

int CGameDocCore::OnPlayerCut(const uint8_t* pFrame) { return MarkOffline(pFrame, true); }

int CGameDocCore::OnPlayerBack(const uint8_t* pFrame) { return MarkOffline(pFrame, false); }

int CGameDocCore::MarkOffline(const uint8_t* pFrame, bool bOffline) {
  GameFrame f = ParseGameFrame(pFrame);
  std::string name;
  wire::Reader r(f.body, f.size);
  r.Field(f.size < 20 ? f.size : 20, &name);
  for (int p = 0; p < m_Channel.nPlayerCount && p < MAX_POSITIONS; ++p) {
    if (std::strncmp(m_Seats[p].szUserName, name.c_str(), 20) != 0) continue;
    if (bOffline)
      m_Seats[p].dwState |= SEAT_OFFLINE;
    else
      m_Seats[p].dwState &= ~static_cast<uint32_t>(SEAT_OFFLINE);
    View().RedrawAvatar(p);
  }
  return 1;
}

int CGameDocCore::OnTrusteeship(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t onOff;
  std::string name;
  if (!r.U32(&onOff) || !r.Field(r.remaining() < 20 ? r.remaining() : 20, &name)) return 0;
  bool own = SameNameNoCase(name.c_str(), OwnUserName());
  if (own) View().RefreshButtons();
  int pos = FindSeatByName(name.c_str(), false);
  if (pos == NO_POSITION || f.status != 1) return 1;
  bool on = (onOff & 0xFFFF) != 0;
  if (m_bSound || m_bVoice) m_Host.sounds.PlaySoundId(189);
  if (on)
    m_Seats[pos].dwState |= SEAT_TRUSTEESHIP;
  else
    m_Seats[pos].dwState &= ~static_cast<uint32_t>(SEAT_TRUSTEESHIP);
  View().RedrawAvatar(pos);
  if (own) {
    m_bOwnTrusteeship = on ? 1 : 0;
    if (!IsWatchingAsEntered()) View().SetTrusteeshipButtons(on);
  }
  return 1;
}

int CGameDocCore::OnUserTrustExit(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  std::string name;
  wire::Reader r(f.body, f.size);
  r.Field(f.size < 20 ? f.size : 20, &name);
  if (SameNameNoCase(name.c_str(), OwnUserName())) {
    m_bOwnTrustExit = 1;
    return 1;
  }
  int pos = FindSeatByName(name.c_str(), false);
  if (pos == NO_POSITION || f.status != 1) return 1;
  m_Host.sounds.PlaySoundId(189);
  m_Seats[pos].dwState |= SEAT_TRUST_EXIT;
  View().RedrawAvatar(pos);
  return 1;
}

void CGameDocCore::UpdateOwnTrusteeship() {
  if (!(m_Seats[OWN_POSITION].dwState & (SEAT_TRUSTEESHIP | SEAT_TRUST_EXIT))) return;
  m_bOwnTrusteeship = 1;
  if (!IsWatchingAsEntered()) View().SetTrusteeshipButtons(true);
}

// ---- voices ----

std::string CGameDocCore::PlayVoice(int nVoice, int nSeat) {
  if (!m_bGameProgress) return std::string();
  std::string ini = m_strDocFolder + "\\sound.ini";
  if (m_nSchedule == SCHEDULE_PLAY) {
    int range = m_Host.profile.ReadIniInt(ini, "RANDOM_RANGE", "SET", 30);
    if (range < m_Host.profile.Random() % 100) return std::string();
  }
  int seat = nSeat >= 0 ? nSeat : PositionToSeat(m_nTurnPosition);
  int gender = seat >= 0 && seat < 4 ? m_Channel.nGender[seat] : 0;
  std::string list = m_Host.profile.ReadIniString(ini, std::to_string(nVoice), (gender & 1) ? "FEMALE" : "MALE", "");
  if (list.size() > 1024) list.resize(1024);
  std::vector<std::string> entries;
  size_t start = 0;
  while (start < list.size()) {
    size_t comma = list.find(',', start);
    std::string e = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    entries.push_back(e.substr(0, 259));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (entries.empty()) return std::string();
  int d = static_cast<int>(entries.size());
  int e = m_Host.profile.Random() % d;
  auto path = [&](int i) { return m_strDocFolder + "\\sound\\" + entries[i]; };
  std::string chosen = path(e);
  if (!m_Host.profile.FileExists(chosen)) return std::string();
  if (m_nSchedule == SCHEDULE_BID) return chosen;
  if (chosen != m_strLastVoice) {
    m_strLastVoice = chosen;
    return chosen;
  }
  if (d == 1) return std::string();
  std::string other = path((e + 1) % d);
  if (!m_Host.profile.FileExists(other)) return std::string();
  m_strLastVoice = other;
  return other;
}

void CGameDocCore::PlayVoiceNow(int nVoice, int nSeat) {
  std::string file = PlayVoice(nVoice, nSeat);
  if (!file.empty()) m_Host.sounds.PlayVoiceFile(file);
}

// ---- the previous round ----

void CGameDocCore::ShowLastRound() {
  if (m_nSchedule != SCHEDULE_PLAY || m_bShowingLastRound) return;
  m_bShowingLastRound = true;
  for (int p = 0; p < MAX_POSITIONS; ++p) {
    std::memcpy(m_SavedPlays[p], m_LastPlays[p], sizeof m_LastPlays[p]);
    m_nSavedPlayCount[p] = m_Seats[p].nLastPlayCount;
    std::memcpy(m_LastPlays[p], m_PrevPlays[p], sizeof m_PrevPlays[p]);
    m_Seats[p].nLastPlayCount = m_nPrevPlayCount[p];
  }
  View().RedrawPlays();
  // The table comes back on a timer; the message loop keeps running meanwhile.
  if (m_Host.connection.IsMainWindowVisible())
    View().StartLastRoundTimer(3000);
  else
    EndShowLastRound();
}

void CGameDocCore::EndShowLastRound() {
  if (!m_bShowingLastRound) return;
  m_bShowingLastRound = false;
  for (int p = 0; p < MAX_POSITIONS; ++p) {
    std::memcpy(m_LastPlays[p], m_SavedPlays[p], sizeof m_SavedPlays[p]);
    m_Seats[p].nLastPlayCount = m_nSavedPlayCount[p];
  }
  View().RedrawPlays();
}
