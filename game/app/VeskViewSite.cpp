#include "VeskViewSite.h"

#include <shellapi.h>

#include "AppLinks.h"
#include "GameView.h"
#include "NotYetBuilt.h"
#include "TickerDlg.h"
#include "VeskApp.h"
#include "VeskDoc.h"
#include "VeskFrameSite.h"

CVeskViewSite::CVeskViewSite() = default;
CVeskViewSite::~CVeskViewSite() = default;

bool CVeskViewSite::IsBusySending() { return theApp.IsBusy() != FALSE; }
uint32_t CVeskViewSite::OptionFlags() { return GameSocketOptionFlags(); }
bool CVeskViewSite::GameProgressArrived() { return theApp.m_nGameDataArrived != 0; }
int CVeskViewSite::IdleSeconds() { return GameSocketIdleSeconds(); }
void CVeskViewSite::SendKeepAlive() { GameSocketSendKeepAlive(); }

bool CVeskViewSite::AskYesNo(const char* text) {
  return ShowStartupBoxText(text, MB_YESNO | MB_ICONQUESTION, 0) == IDYES;
}

void CVeskViewSite::ToggleScoreBoard() {
  if (CVeskDoc* pDoc = theApp.GetVeskDoc()) pDoc->ToggleScoreBoard();
}

void CVeskViewSite::SaveScreenshot() {
  CVeskDoc* pDoc = theApp.GetVeskDoc();
  theApp.SaveScreenshot(pDoc ? pDoc->m_strSnapshotPath.c_str() : nullptr);
}

void CVeskViewSite::OpenUrl(const std::string& url) {
  // Only web addresses are opened; anything else could start a program.
  if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) return;
  ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CVeskViewSite::OpenSettings() { OpenSettingsDialog(); }

void CVeskViewSite::TickerText(const std::string& text) {
  theApp.m_GameLog.Write("ticker: %s", text.c_str());
  if (CTickerDlg* pTicker = Ticker()) pTicker->AddLine(text.c_str(), static_cast<int>(text.size()));
}

CTickerDlg* CVeskViewSite::Ticker() {
  if (m_pTicker && m_pTicker->GetSafeHwnd()) return m_pTicker.get();
  CVeskDoc* pDoc = theApp.GetVeskDoc();
  CGameView* pView = pDoc ? pDoc->GetGameView() : nullptr;
  if (!pView || !pView->GetSafeHwnd()) return nullptr;
  // 600 by 30 at the top centre of the table.
  CRect rc;
  pView->GetClientRect(&rc);
  auto pTicker = std::make_unique<CTickerDlg>();
  if (!pTicker->Create(pView, rc.Width() / 2 - 300, 0, 600, 30)) return nullptr;
  m_pTicker = std::move(pTicker);
  return m_pTicker.get();
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
