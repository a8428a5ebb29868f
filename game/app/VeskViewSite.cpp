#include "VeskViewSite.h"

#include <shellapi.h>

#include <cstring>

#include "AppLinks.h"
#include "GameView.h"
#include "LobbyLinks.h"
#include "NotYetBuilt.h"
#include "TickerDlg.h"
#include "VeskApp.h"
#include "VeskDoc.h"
#include "VeskFrameSite.h"
#include "WebUrl.h"

CVeskViewSite::CVeskViewSite() = default;
CVeskViewSite::~CVeskViewSite() = default;

bool CVeskViewSite::IsBusySending() { return theApp.IsBusy() != FALSE; }
uint32_t CVeskViewSite::OptionFlags() { return GameSocketOptionFlags(); }
bool CVeskViewSite::GameProgressArrived() { return theApp.m_nGameDataArrived != 0; }
int CVeskViewSite::IdleSeconds() { return GameSocketIdleSeconds(); }
void CVeskViewSite::SendKeepAlive() { GameSocketSendKeepAlive(); }

bool CVeskViewSite::AskYesNo(const char* text, UINT style) { return ShowStartupBoxText(text, style, 0) == IDYES; }

void CVeskViewSite::ToggleScoreBoard() {
  if (CVeskDoc* pDoc = theApp.GetVeskDoc()) pDoc->ToggleScoreBoard();
}

std::string CVeskViewSite::SaveScreenshot() {
  CVeskDoc* pDoc = theApp.GetVeskDoc();
  return theApp.SaveScreenshot(pDoc ? pDoc->m_strSnapshotPath.c_str() : nullptr);
}

void CVeskViewSite::ChatNotice(const std::string& text, COLORREF, int) { SystemTextLine(text.c_str()); }

std::string CVeskViewSite::NickNameOf(const char* userName) {
  // The lobby gave the own nickname; the chat control's list (the others') is not here.
  const GAME_LAUNCH_REC& rec = g_LaunchRec;
  if (!userName || strncmp(userName, rec.szUserName, sizeof rec.szUserName) != 0) return std::string();
  return std::string(rec.szNickName, strnlen(rec.szNickName, sizeof rec.szNickName));
}

void CVeskViewSite::PlayWave(int id) {
  if (CVeskDoc* pDoc = theApp.GetVeskDoc()) pDoc->PlayWave(id);
}

void CVeskViewSite::OpenUrl(const std::string& url) {
  // Only web addresses are opened; anything else could start a program.
  if (!weburl::IsWebUrl(url)) return;
  ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CVeskViewSite::OpenSettings() { OpenSettingsDialog(); }

void CVeskViewSite::TickerText(const std::string& text) {
  theApp.m_GameLog.Write("ticker: %s", text.c_str());
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

void CVeskViewSite::PostToAvatar(int position, UINT message, WPARAM wParam) {
  NotYetBuilt().PostToAvatar(position, message, wParam);
}

void CVeskViewSite::HoldMessages(bool hold) {
  if (hold)
    GameSocketSuspend();
  else
    GameSocketResume();
}
