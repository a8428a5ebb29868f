#include "GameDocCore.h"

#include <cstring>
#include <vector>

#include "GameDocShared.h"
#include "WireBytes.h"

using namespace gamedoc;

namespace {

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

CGameDocCore::CGameDocCore(const CDocHost& host, CHANNEL_STATE& channel) : CGameDocCore() { SetHost(host, channel); }

CGameDocCore::CGameDocCore() {
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
  m_nBidState = 0;
  m_nLastBid = -1;
  m_nFirstBidder = -1;
  m_nBidValue = 0;
  m_nDeclarerSeat = -1;
  m_bOwnDeclarer = 1;
  m_nMultiplier = 0;
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
}

void CGameDocCore::SetHost(const CDocHost& host, CHANNEL_STATE& channel) {
  m_Host.emplace(host);
  m_pChannel = &channel;
  m_nMultiplier = m_pChannel->nOptions[OPT_BASE_MULTIPLIER];
  SetRuleOptions(m_pChannel->nPlayerCount, m_pChannel->nOptions[OPT_FOUR_STRAIGHT],
                 m_pChannel->nOptions[OPT_FOUR_TRIPLE_ONE]);
}

CGameDocCore::SETTINGS CGameDocCore::GetSettings() const {
  return SETTINGS{m_bSound,  m_bMusic,       m_bOrder,     m_bVoice,       m_bNormalSound,
                  m_bFlyMsg, m_bEnableWatch, m_bSmallCard, m_strMusicFile, m_strSnapshotPath};
}

void CGameDocCore::SetSettings(const SETTINGS& v) {
  m_bSound = v.bSound;
  m_bMusic = v.bMusic;
  m_bOrder = v.bOrder;
  m_bVoice = v.bVoice;
  m_bNormalSound = v.bNormalSound;
  m_bFlyMsg = v.bFlyMsg;
  m_bEnableWatch = v.bEnableWatch;
  m_bSmallCard = v.bSmallCard;
  m_strMusicFile = v.strMusicFile;
  m_strSnapshotPath = v.strSnapshotPath;
}

void CGameDocCore::LoadSeats() {
  SetRuleOptions(m_pChannel->nPlayerCount, m_pChannel->nOptions[OPT_FOUR_STRAIGHT],
                 m_pChannel->nOptions[OPT_FOUR_TRIPLE_ONE]);
  for (int p = 0; p < MAX_POSITIONS; ++p) {
    SEAT_INFO& s = m_Seats[p];
    std::memset(&s, 0, sizeof s);
    if (p >= m_pChannel->nPlayerCount) continue;
    std::memcpy(s.szUserName, m_pChannel->seats[p].szUserName, sizeof s.szUserName);
    std::memcpy(s.szNickName, m_pChannel->seats[p].szNickName, sizeof s.szNickName);
    s.szUserName[19] = s.szNickName[19] = 0;
    s.wSeat = m_pChannel->seats[p].wServerSeat;
    s.nScoreTotal = m_pChannel->nScoreTotal[p];
    s.nSeriesTotal = m_pChannel->nSeriesTotal[p];
    s.bAllowWatching = 1;
  }
  m_wOwnSeat = m_Seats[OWN_POSITION].wSeat;
  m_nMultiplier = m_pChannel->nOptions[OPT_BASE_MULTIPLIER];
}

void CGameDocCore::LoadSettings() {
  m_bSound = m_Host->profile.GetProfileInt("Sound", 1);
  m_bMusic = m_Host->profile.GetProfileInt("Music", 0);
  m_strMusicFile = m_Host->profile.GetProfileString("MusicFile", "");
  m_bScoreBoard = m_Host->profile.GetProfileInt("ScoreBoard", 0);
  m_bClockFlowBlink = m_Host->profile.GetProfileInt("ClockFlowBlink", 0);
  m_bOrder = m_Host->profile.GetProfileInt("Order", 1);
  m_nShowOrder = m_Host->profile.GetProfileInt("ShowOrder", 0);
  m_nSortMode = m_Host->profile.GetProfileInt("SortMode", 0) ? 1 : 0;
  m_bVoice = m_Host->profile.GetProfileInt("Voice", 1);
  m_bNormalSound = m_Host->profile.GetProfileInt("NormalSound", 0);
  m_bFlyMsg = m_Host->profile.GetProfileInt("FlyMsg", 0);
  m_strSnapshotPath = m_Host->profile.GetProfileString("SnapshotPath", m_strSnapshotPath);
  m_bEnableWatch = m_Host->profile.GetProfileInt("EnableWatch", 1);
  // The voice paths add their own separator.
  m_strDocFolder = m_Host->profile.GetDocumentFolder();
  while (!m_strDocFolder.empty() && (m_strDocFolder.back() == '\\' || m_strDocFolder.back() == '/'))
    m_strDocFolder.pop_back();
}

void CGameDocCore::SaveSettings() {
  m_Host->profile.WriteProfileInt("Sound", m_bSound);
  m_Host->profile.WriteProfileInt("Music", m_bMusic);
  m_Host->profile.WriteProfileInt("SmallCard", m_bSmallCard);
  m_Host->profile.WriteProfileInt("Order", m_bOrder);
  m_Host->profile.WriteProfileInt("Voice", m_bVoice);
  m_Host->profile.WriteProfileInt("NormalSound", m_bNormalSound);
  m_Host->profile.WriteProfileInt("FlyMsg", m_bFlyMsg);
  if (m_nShowOrder < 10) ++m_nShowOrder;
  m_Host->profile.WriteProfileInt("ShowOrder", m_nShowOrder);
  m_Host->profile.WriteProfileInt("SortMode", m_nSortMode);
  m_Host->profile.WriteProfileString("MusicFile", m_strMusicFile);
  m_Host->profile.WriteProfileString("SnapshotPath", m_strSnapshotPath);
  if (!IsWatchingAsEntered()) m_Host->profile.WriteProfileInt("EnableWatch", m_bEnableWatch);
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
  for (int p = 0; p < m_pChannel->nPlayerCount && p < MAX_POSITIONS; ++p)
    if (m_Seats[p].wSeat == nSeat) return p;
  return NO_POSITION;
}

int CGameDocCore::PositionToSeat(int nPosition) const {
  if (nPosition < 0 || nPosition >= MAX_POSITIONS) return -1;
  return m_Seats[nPosition].wSeat;
}

int CGameDocCore::FindSeatByName(const char* szName, bool bIgnoreCase) const {
  for (int p = 0; p < m_pChannel->nPlayerCount && p < MAX_POSITIONS; ++p) {
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
  m_Host->services.SetRunLogField("Schedule", std::to_string(nPhase));
  if (bRestartClock) ShowTurnClock(false);
  bool quiet = m_bOwnTrusteeship || m_bOwnTrustExit;
  switch (nPhase) {
    case SCHEDULE_WAIT: {
      if (!quiet) {
        bool anyMarked = false;
        for (int p = 0; p < m_pChannel->nPlayerCount && p < MAX_POSITIONS; ++p)
          if (m_Seats[p].dwState & (SEAT_OFFLINE | SEAT_TRUSTEESHIP | SEAT_TRUST_EXIT)) anyMarked = true;
        if (!anyMarked && bRestartClock) ShowTurnClock(true);
        View().RefreshButtons();
      }
      m_Host->connection.ReleaseInput();
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
  m_Host->chat.RefreshChatLists();
  if (m_bClockFlowBlink) View().MoveClockForHandEnd();
  m_nBidValue = 0;
  m_nDeclarerSeat = -1;
  m_nBidState = 0;
  m_nMultiplier = m_pChannel->nOptions[OPT_BASE_MULTIPLIER];
  m_Host->scoreBoard.ShowScoreBoard(true);
  View().FocusGameView();
  SetSchedule(SCHEDULE_WAIT);
}

void CGameDocCore::ShowTurnClock(bool bShow) {
  if (IsWatchingAsEntered() || !m_bTurnClockEnabled) return;
  if (!bShow) {
    View().HideTurnClock();
    return;
  }
  // The table's turn time may be any int: doubled in 64 bits, then held to the clock's range.
  int64_t seconds = m_pChannel->nOptions[OPT_TURN_TIME];
  if (m_nSchedule == SCHEDULE_PLAY && m_bOwnDeclarer) {
    seconds *= 2;
    m_bOwnDeclarer = 0;
  }
  if (seconds > 99) seconds = 99;
  if (seconds < 0) seconds = 0;
  View().ShowTurnClock(static_cast<int>(seconds));
  // A player looking at another window sees the clock's sounds; only a minimised table
  // needs its taskbar button to flash.
  if (m_Host->connection.IsMainWindowMinimised()) FlashUnlessActive(5, 20);
}

void CGameDocCore::FlashUnlessActive(int nCount, int nMs) {
  if (!m_Host->connection.IsMainWindowActive()) m_Host->connection.FlashMainWindow(nCount, nMs);
}

// ---- sending ----

bool CGameDocCore::SendBody(uint32_t nId, const std::vector<uint8_t>& body, bool bBracket) {
  if (bBracket) m_Host->connection.BeginSend();
  bool ok = m_Host->connection.SendFrame(Frame(nId, body));
  if (bBracket) m_Host->connection.EndSend();
  return ok;
}

// ---- voices ----

std::string CGameDocCore::PlayVoice(int nVoice, int nSeat) {
  if (!m_bGameProgress) return std::string();
  std::string ini = m_strDocFolder + "\\sound.ini";
  if (m_nSchedule == SCHEDULE_PLAY) {
    int range = m_Host->profile.ReadIniInt(ini, "RANDOM_RANGE", "SET", 30);
    if (range < m_Host->profile.Random() % 100) return std::string();
  }
  int seat = nSeat >= 0 ? nSeat : PositionToSeat(m_nTurnPosition);
  int gender = seat >= 0 && seat < 4 ? m_pChannel->nGender[seat] : 0;
  std::string list = m_Host->profile.ReadIniString(ini, std::to_string(nVoice), (gender & 1) ? "FEMALE" : "MALE", "");
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
  int e = m_Host->profile.Random() % d;
  auto path = [&](int i) { return m_strDocFolder + "\\sound\\" + entries[i]; };
  std::string chosen = path(e);
  if (!m_Host->profile.FileExists(chosen)) return std::string();
  if (m_nSchedule == SCHEDULE_BID) return chosen;
  if (chosen != m_strLastVoice) {
    m_strLastVoice = chosen;
    return chosen;
  }
  if (d == 1) return std::string();
  std::string other = path((e + 1) % d);
  if (!m_Host->profile.FileExists(other)) return std::string();
  m_strLastVoice = other;
  return other;
}

void CGameDocCore::PlayVoiceNow(int nVoice, int nSeat) {
  std::string file = PlayVoice(nVoice, nSeat);
  if (!file.empty()) m_Host->sounds.PlayVoiceFile(file);
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
  if (m_Host->connection.IsMainWindowVisible())
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
