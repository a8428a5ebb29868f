// Connection and seats: who is ready, who may watch, who is away or handed over, and
// leaving the table.
#include <cstring>

#include "GameDocCore.h"
#include "GameDocShared.h"
#include "WireBytes.h"

using namespace gamedoc;

void CGameDocCore::SendReady() {
  if (m_bSound) m_Host->sounds.PlayWave(184);
  ShowTurnClock(false);
  gamemsg::ReadyRequest m;
  m.seat = m_wOwnSeat;
  m.allowWatching = static_cast<uint32_t>(m_Seats[OWN_POSITION].bAllowWatching);
  SendBody(MSG_READY, gamemsg::Encode(m), false);
}

int CGameDocCore::OnReady(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeReadyNotice);
  if (!m) return 0;
  int pos = SeatToPosition(static_cast<int>(m->seat));
  if (pos == NO_POSITION) return 0;
  m_bReady[pos] = 1;
  m_Seats[pos].dwState = SEAT_READY;
  View().RedrawAvatar(pos);
  if (pos == OWN_POSITION) {
    View().HideStartButton();
    if (!IsWatching()) View().SetStatusTextId(IDS_WAITSTART);
  }
  return 1;
}

void CGameDocCore::SendWatchPermission(int bAllow) {
  gamemsg::WatchPermission m;
  m.seat = m_wOwnSeat;
  m.allow = bAllow ? 1 : 0;
  SendBody(MSG_WATCH_PERMISSION, gamemsg::Encode(m), false);
}

void CGameDocCore::SetAllowWatching(int bAllow) {
  bAllow = bAllow ? 1 : 0;
  if (IsWatching() || bAllow == m_bEnableWatch) return;
  m_bEnableWatch = bAllow;
  m_Seats[OWN_POSITION].bAllowWatching = bAllow;
  SendWatchPermission(bAllow);
}

int CGameDocCore::OnWatchPermission(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeWatchPermission);
  if (!m) return 0;
  int pos = SeatToPosition(static_cast<int>(m->seat));
  if (pos == NO_POSITION) return 0;
  m_Seats[pos].bAllowWatching = m->allow ? 1 : 0;
  if (IsWatching() && pos == OWN_POSITION && m->cards && m->cards->size() <= MAX_CARDS) {
    FillHand(OWN_POSITION, m->cards->data(), static_cast<int>(m->cards->size()), m->allow != 0);
    SortSeatHand(OWN_POSITION, 0);
    InvalidateHint();
    View().RepaintTable();
  }
  return 1;
}

int CGameDocCore::OnAskWatchPermission(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeAskWatchPermission);
  if (!m) return 0;
  m_bQuietClose = static_cast<int>(m->quiet);
  if (!IsWatching()) SendWatchPermission(m_Seats[OWN_POSITION].bAllowWatching);
  return 1;
}

int CGameDocCore::OnSeatValues(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeSeatValues);
  if (!m) return 0;
  if (m_wOwnSeat < 4) m_nLeaveRequests = static_cast<int>(m->value[m_wOwnSeat]);
  return 1;
}

int CGameDocCore::OnPlayerStates(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodePlayerStates);
  if (!m) return 0;
  for (const auto& player : m->players) {
    for (int p = 0; p < m_pChannel->nPlayerCount && p < MAX_POSITIONS; ++p) {
      if (std::strncmp(m_Seats[p].szUserName, player.name.c_str(), 20) != 0) continue;
      m_Seats[p].dwState = player.state;
      View().RedrawAvatar(p);
      if (p == OWN_POSITION) UpdateOwnTrusteeship();
    }
  }
  return 1;
}

void CGameDocCore::SendLeaveRequest() {
  SendBody(MSG_LEAVE_REQUEST, gamemsg::Encode(gamemsg::LeaveRequest{m_wOwnSeat, 0}), true);
}

void CGameDocCore::ForceQuit() {
  // Leaving for good: no box about the closed connection.
  m_bQuietClose = 1;
  m_Host->connection.QuitForcedAndClose();
}

int CGameDocCore::OnLeaveRequest(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeLeaveRequest);
  if (!m) return 0;
  int pos = SeatToPosition(static_cast<int>(m->seat));
  if (pos == NO_POSITION) return 0;
  if (!IsWatching()) FlashUnlessActive(5, 20);
  int answer = m_Host->boxes.ShowBoxId(IDS_LEAVEREQUEST, kStyleYesNoQuestion, 10, m_Seats[pos].szUserName);
  gamemsg::LeaveAnswer reply{m_wOwnSeat, m->value, answer == kIdYes ? 1u : 0u};
  SendBody(MSG_LEAVE_ANSWER, gamemsg::Encode(reply), true);
  return 1;
}

int CGameDocCore::OnLeaveAnswer(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeLeaveAnswer);
  if (!m) return 0;
  if (!IsWatching()) FlashUnlessActive(5, 20);
  if (m->value == 0) return 1;
  if (m->seat != m_wOwnSeat && m->agree != 0) return 1;
  // The confirmation has the answer's three words: {own seat, value, leave anyway}.
  gamemsg::LeaveAnswer confirm{m_wOwnSeat, 0, 0};
  if (m->agree) {
    if (m_Host->boxes.ShowBoxId(IDS_CONFIRMQUIT, kStyleYesNoQuestion, 10, "") != kIdYes) return 1;
    confirm.value = m->value;
  } else {
    int pos = SeatToPosition(static_cast<int>(m->seat));
    std::string name = pos != NO_POSITION ? m_Seats[pos].szUserName : "";
    // "[%s] refused!" followed by the question whether to leave anyway.
    if (m_Host->boxes.ShowBoxIdPair(IDS_LEAVEREFUSED, name, IDS_FORCEQUIT, kStyleYesNoQuestion, 10) != kIdYes) return 1;
    confirm.agree = 1;
  }
  SendBody(MSG_LEAVE_CONFIRM, gamemsg::Encode(confirm), true);
  return 1;
}

// ---- the socket's system messages about seats ----

int CGameDocCore::OnServerClose(int) {
  m_Host->connection.PostCloseMainWindow();
  return 0;
}

int CGameDocCore::OnPlayerCut(const uint8_t* pFrame) { return MarkOffline(pFrame, true); }

int CGameDocCore::OnPlayerBack(const uint8_t* pFrame) { return MarkOffline(pFrame, false); }

int CGameDocCore::MarkOffline(const uint8_t* pFrame, bool bOffline) {
  GameFrame f = ParseGameFrame(pFrame);
  std::string name;
  wire::Reader r(f.body, f.size);
  r.Field(f.size < 20 ? f.size : 20, &name);
  for (int p = 0; p < m_pChannel->nPlayerCount && p < MAX_POSITIONS; ++p) {
    if (std::strncmp(m_Seats[p].szUserName, name.c_str(), 20) != 0) continue;
    if (bOffline)
      m_Seats[p].dwState |= SEAT_OFFLINE;
    else
      m_Seats[p].dwState &= ~static_cast<uint32_t>(SEAT_OFFLINE);
    View().RedrawAvatar(p);
  }
  return 1;
}

void CGameDocCore::RequestTrusteeship(int nMode) {
  if (!(m_Host->connection.OptionFlags() & 1)) return;
  SendBody(MSG_TRUSTEESHIP, gamemsg::Encode(gamemsg::TrusteeshipRequest{static_cast<uint32_t>(nMode), OwnUserName()}),
           true);
}

int CGameDocCore::OnTrusteeship(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  wire::Reader r(f.body, f.size);
  uint32_t onOff;
  std::string name;
  if (!r.U32(&onOff) || !r.Field(r.remaining() < 20 ? r.remaining() : 20, &name)) return 0;
  bool own = SameNameNoCase(name.c_str(), OwnUserName());
  ApplyTrusteeship(f.status, onOff, name, own);
  // The own buttons follow the phase once the flag is known: a trusteeship that ends between
  // hands gives back the waiting phase's table (own play taken off, start, trusteeship off).
  if (own) View().PhaseChanged(m_nSchedule);
  return 1;
}

void CGameDocCore::ApplyTrusteeship(uint32_t status, uint32_t onOff, const std::string& name, bool own) {
  int pos = FindSeatByName(name.c_str(), false);
  if (pos == NO_POSITION || status != 1) return;
  bool on = (onOff & 0xFFFF) != 0;
  if (m_bSound || m_bVoice) m_Host->sounds.PlaySoundId(189);
  if (on)
    m_Seats[pos].dwState |= SEAT_TRUSTEESHIP;
  else
    m_Seats[pos].dwState &= ~static_cast<uint32_t>(SEAT_TRUSTEESHIP);
  View().RedrawAvatar(pos);
  if (own) {
    m_bOwnTrusteeship = on ? 1 : 0;
    if (!IsWatchingAsEntered()) View().SetTrusteeshipButtons(on);
  }
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
  m_Host->sounds.PlaySoundId(189);
  m_Seats[pos].dwState |= SEAT_TRUST_EXIT;
  View().RedrawAvatar(pos);
  return 1;
}

void CGameDocCore::UpdateOwnTrusteeship() {
  if (!(m_Seats[OWN_POSITION].dwState & (SEAT_TRUSTEESHIP | SEAT_TRUST_EXIT))) return;
  m_bOwnTrusteeship = 1;
  if (!IsWatchingAsEntered()) View().SetTrusteeshipButtons(true);
}
