#include "VeskViewSite.h"

#include <commctrl.h>

#include <cstring>

#include "AppLinks.h"
#include "ChatSite.h"
#include "GameView.h"
#include "LobbyLinks.h"
#include "OpenWebAddress.h"
#include "TickerDlg.h"
#include "Program.h"
#include "VeskDocSite.h"
#include "LogFile.h"
#include "TableConnection.h"
#include "VeskDoc.h"
#include "VeskFrameSite.h"
#include "WebUrl.h"

CVeskViewSite::CVeskViewSite() = default;
CVeskViewSite::~CVeskViewSite() = default;

uint32_t CVeskViewSite::OptionFlags() { return Program().Connection().OptionFlags(); }
bool CVeskViewSite::GameProgressArrived() { return Program().GameDataArrived(); }
int CVeskViewSite::IdleSeconds() { return Program().Connection().IdleSeconds(); }
void CVeskViewSite::SendKeepAlive() { Program().Connection().SendKeepAlive(); }

bool CVeskViewSite::AskYesNo(const char* text, UINT style) { return ShowStartupBoxText(text, style, 0) == IDYES; }

void CVeskViewSite::ToggleScoreBoard() {
  if (CVeskDoc* pDoc = Program().GetVeskDoc()) pDoc->ToggleScoreBoard();
}

std::string CVeskViewSite::SaveScreenshot() {
  CVeskDoc* pDoc = Program().GetVeskDoc();
  return Program().SaveScreenshot(pDoc ? pDoc->GetSettings().strSnapshotPath.c_str() : nullptr);
}

void CVeskViewSite::ChatNotice(const std::string& text, COLORREF color, int size) {
  ChatSite().Notice(text.c_str(), color, size);
}

std::string CVeskViewSite::NickNameOf(const char* userName) {
  if (!userName || !*userName) return std::string();
  // The chat control's user list: column 1 of the row whose text is the user name.
  std::string nick = ChatListNickName(userName);
  if (!nick.empty()) return nick;
  // Before the chat knows the table, the lobby's record still names the own player.
  const GAME_LAUNCH_REC& rec = g_LaunchRec;
  if (strncmp(userName, rec.szUserName, sizeof rec.szUserName) != 0) return std::string();
  return std::string(rec.szNickName, strnlen(rec.szNickName, sizeof rec.szNickName));
}

std::string CVeskViewSite::ChatListNickName(const char* userName) {
  CChatView* pChatView = ChatSite().GetView();
  CQKChatEx* pChat = pChatView ? pChatView->GetChat() : nullptr;
  HWND hList = pChat ? (HWND)pChat->Invoke44() : nullptr;
  if (!hList || !::IsWindow(hList)) return std::string();
  const int count = (int)::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0);
  char text[64];
  for (int i = 0; i < count; ++i) {
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    text[0] = 0;
    ::SendMessageA(hList, LVM_GETITEMTEXTA, i, (LPARAM)&item);
    if (std::strcmp(text, userName) != 0) continue;
    item.iSubItem = 1;
    text[0] = 0;
    ::SendMessageA(hList, LVM_GETITEMTEXTA, i, (LPARAM)&item);
    return std::string(text, strnlen(text, 20));  // a seat's nickname field holds 20
  }
  return std::string();
}

void CVeskViewSite::PlayWave(int id) {
  if (CVeskDoc* pDoc = Program().GetVeskDoc()) pDoc->PlayWave(id);
}

void CVeskViewSite::OpenUrl(const std::string& url) { weburl::OpenWebAddress(url); }

void CVeskViewSite::OpenSettings() { OpenSettingsDialog(); }

void CVeskViewSite::TickerText(const std::string& text) {
  Program().GameLog().Write("ticker: %s", text.c_str());
  if (m_pTicker && m_pTicker->GetSafeHwnd()) m_pTicker->AddLine(text.c_str(), (int)text.size());
}

void CVeskViewSite::PlaceTicker(CWnd* pParent, const RECT& rect) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (m_pTicker && m_pTicker->GetSafeHwnd()) {
    m_pTicker->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  m_pTicker.reset(new CTickerDlg);
  if (!pParent || !m_pTicker->Create(pParent, rect.left, rect.top, w, h)) m_pTicker.reset();
}

void CVeskViewSite::DestroyTicker() {
  if (m_pTicker && m_pTicker->GetSafeHwnd()) m_pTicker->DestroyWindow();
  m_pTicker.reset();
}

int CVeskViewSite::SeatTier(int position) { return Program().DocSite().SeatTier(position); }

void CVeskViewSite::HoldMessages(bool hold) {
  if (hold)
    Program().Connection().Suspend();
  else
    Program().Connection().Resume();
}
