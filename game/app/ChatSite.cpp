#include "ChatSite.h"

#include <cstring>

#include "Advert.h"
#include "LobbyLinks.h"
#include "NetFrame.h"
#include "NetSkinConfig.h"
#include "Program.h"
#include "LogFile.h"
#include "TableConnection.h"
#include "VeskDoc.h"

namespace {
const COLORREF kSystemLineColor = RGB(0xC0, 0x00, 0x00);
const int kSystemLineSize = 9;

std::string LaunchText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }
}  // namespace

CChatSite& ChatSite() {
  static CChatSite s_site;
  return s_site;
}

CChatViewSite& ChatViewSite() { return ChatSite(); }

void CChatSite::RefreshChatLists() {
  if (m_pView) m_pView->ReadUserScores();
}

void CChatSite::PanelReload() {
  if (m_pView) m_pView->RequestPanelReload();
}

void CChatSite::ShowAdRecord(const uint8_t* frame) {
  if (!frame || !m_pView) return;
  // The whole frame: its header and the body length the header states.
  size_t size = netcore::HeaderSizeForId(netcore::ReadU32(frame)) + netcore::ReadU32(frame + 4);
  CQKAdCtrl* controls[] = {m_pView->GetAdCtrl()};
  // The pages' "%1" and "%2" name who sees them: the player's user name and nickname.
  std::string user = LaunchText(g_LaunchRec.szUserName, sizeof g_LaunchRec.szUserName);
  std::string nick = LaunchText(g_LaunchRec.szNickName, sizeof g_LaunchRec.szNickName);
  NotifyAdControls(frame, size, user.c_str(), nick.c_str(), 1, controls);
}

void CChatSite::HandleNetSkinData(const std::string& text) { NetSkinConfig().HandleNetSkinData(text); }

std::string CChatSite::GetPanelTemplate() { return Program().AdvertisingTemplate(); }

std::string CChatSite::GetWatchedName() {
  CVeskDoc* pDoc = Program().GetVeskDoc();
  if (!pDoc) return std::string();
  const SEAT_INFO& own = pDoc->Seat(CVeskDoc::OWN_POSITION);
  return std::string(own.szUserName, strnlen(own.szUserName, sizeof own.szUserName));
}

BOOL CChatSite::IsWatching() {
  CVeskDoc* pDoc = Program().GetVeskDoc();
  return pDoc && pDoc->IsWatching();
}

void CChatSite::WriteConnectionLog(const char* text) { Program().Connection().WriteConnectionLog(text); }

BOOL CChatSite::GetSeat(int i, std::string* pName, int* pSeriesChange) {
  CVeskDoc* pDoc = Program().GetVeskDoc();
  if (!pDoc || i < 0 || i >= CVeskDoc::MAX_POSITIONS) return FALSE;
  const SEAT_INFO& s = pDoc->Seat(i);
  *pName = std::string(s.szUserName, strnlen(s.szUserName, sizeof s.szUserName));
  *pSeriesChange = s.nSeriesTotal;
  return TRUE;
}

void CChatSite::SystemLine(const char* line) {
  if (!line) return;
  Program().GameLog().Write("system: %s", line);
  if (m_pView) m_pView->AppendLine(line, kSystemLineColor, kSystemLineSize);
}

void CChatSite::Notice(const char* line, COLORREF color, int size) {
  if (!line) return;
  Program().GameLog().Write("notice: %s", line);
  if (m_pView) m_pView->AppendLine(line, color, size);
}
