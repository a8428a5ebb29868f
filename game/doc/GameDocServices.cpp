// Table services: notices, advertisements, complaints, skins, the survey button, the
// table's information, flags, host and panel.
#include <cstring>

#include "DocTexts.h"
#include "GameDocCore.h"
#include "GameDocShared.h"
#include "WebUrl.h"

using namespace gamedoc;

int CGameDocCore::OnNotice(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeNotice);
  if (!m) return 0;
  std::string text = m->text;
  if (text.size() > NOTICE_SIZE - 1) text.resize(NOTICE_SIZE - 1);
  m_strNotice = text;
  View().ShowNotice(text);
  return 1;
}

int CGameDocCore::OnAdRecord(const uint8_t* pFrame) {
  m_Host->chat.ShowAdRecord(pFrame);
  return 1;
}

int CGameDocCore::OnComplaintPrompt(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  // The prompt record is the first 20 bytes of the frame.
  if (f.size < gamemsg::kComplaintMinSize) return 0;
  m_Host->complaints.ComplaintPrompt(pFrame, m_nDeclarerSeat == m_wOwnSeat);
  FlashUnlessActive(5, 20);
  return 1;
}

int CGameDocCore::OnComplaintResult(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (f.size < gamemsg::kComplaintMinSize) return 0;
  m_Host->complaints.ComplaintResult(pFrame, m_nDeclarerSeat == m_wOwnSeat);
  FlashUnlessActive(5, 20);
  return 1;
}

int CGameDocCore::OnComplaintUpdate(const uint8_t* pFrame) {
  m_Host->complaints.ComplaintUpdate(pFrame, m_nDeclarerSeat == m_wOwnSeat);
  return 1;
}

void CGameDocCore::SendComplaint(const char* szAccused) {
  gamemsg::Complaint m{OwnUserName(), szAccused ? szAccused : "", kTextComplaintReason};
  SendBody(MSG_COMPLAINT, gamemsg::Encode(m), false);
}

void CGameDocCore::SendComplaintDecline() { SendBody(MSG_COMPLAINT_DECLINE, {}, false); }

int CGameDocCore::OnNetSkinData(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeNetSkinData);
  if (!m) return 0;
  m_Host->chat.HandleNetSkinData(m->text);
  return 1;
}

int CGameDocCore::OnButtonText(const uint8_t* pFrame) {
  auto m = DecodeFrame(pFrame, gamemsg::DecodeButtonText);
  if (!m) return 0;
  if (!m->flag) return 1;
  const std::string& text = m->text;
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
  auto m = DecodeFrame(pFrame, gamemsg::DecodeSeatFlags);
  if (!m) return 0;
  std::memcpy(m_SeatFlags, m->flags.data(), sizeof m_SeatFlags);
  View().RepaintTable();
  return 1;
}

int CGameDocCore::OnHostName(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (!f.status) return 1;
  auto m = gamemsg::DecodeHostName(f.body, f.size);
  if (!m) return 0;
  CopyName(m_szHostName, sizeof m_szHostName, m->name);
  return 1;
}

int CGameDocCore::OnPanelData(const uint8_t* pFrame) {
  GameFrame f = ParseGameFrame(pFrame);
  if (!f.status) return 1;
  std::memset(m_PanelData, 0, sizeof m_PanelData);
  std::memcpy(m_PanelData, f.body, f.size < sizeof m_PanelData ? f.size : sizeof m_PanelData);
  m_Host->chat.PanelReload();
  return 1;
}
