// The player's input on the table view: card and avatar clicks, the buttons' commands, the
// timers (idle keep-alive, auto-play, pause, last round) and the chat's echo.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "GameView.h"
#include "GameViewShared.h"
#include "TableGdi.h"
#include "ViewTexts.h"
#include "resource.h"

using tableview::Box;
using tableview::Pt;
using namespace viewtext;
using namespace tablegdi;
using namespace gameview;

// ---- input -----------------------------------------------------------------------------------

void CGameView::UpdateSelectedCount() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  m_nSelected = tableview::CountSelected(doc->OwnHand(), doc->OwnCardCount());
}

void CGameView::ClearSelection() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  doc->ClearSelection();
  m_nSelected = 0;
  InvalidateTable();
}

void CGameView::EnablePlayIfSelected() {
  CGameDocCore* doc = GetGameDoc();
  UpdateSelectedCount();
  const bool on = m_nSelected > 0 && !Watching() && doc && doc->TurnPosition() == OWN_POSITION;
  EnablePlayButton(on);
}

bool CGameView::ClickAvatars(CPoint point, bool bRight) {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return false;
  const tableview::Layout& l = GetLayout();
  for (int p = 0; p < PlayerCount(); ++p) {
    const Pt a = l.avatar[SlotOf(p)];
    if (!Box::At(a.x, a.y, tableview::AVATAR_W, tableview::AVATAR_H).Contains(point.x, point.y)) continue;
    if (bRight || doc->IsWatching())
      PostToAvatar(p, AVATAR_MSG_WATCHER, 3);
    else if (p == OWN_POSITION)
      PostToAvatar(OWN_POSITION, AVATAR_MSG_PLAYER, 0);
    return true;
  }
  return false;
}

void CGameView::ClickCards(UINT nFlags, CPoint point) {
  if (ClickAvatars(point, false)) return;
  CGameDocCore* doc = GetGameDoc();
  if (!doc || doc->IsWatching() || doc->IsPlaySent() || doc->IsBusy()) return;
  const tableview::Layout& l = GetLayout();
  const int n = doc->OwnCardCount();
  const int hit = tableview::HitOwnCard(l, doc->OwnHand(), n, point.x, point.y);
  if (hit < 0 || doc->GetSchedule() != SCHEDULE_PLAY) return;
  CARD_INFO hand[CGameDocCore::MAX_CARDS];
  std::copy(doc->OwnHand(), doc->OwnHand() + n, hand);
  tableview::ApplyCardClick(hand, n, hit, (nFlags & MK_CONTROL) != 0);
  // Only the cards that rose or fell are repainted, at once, not when the queue next runs dry.
  m_bLayoutDirty = true;
  for (int i = 0; i < n; ++i) {
    if ((hand[i].bSelected != 0) == (doc->OwnHand()[i].bSelected != 0)) continue;
    doc->SelectOwnCard(i, hand[i].bSelected != 0);
    InvalidateBox(tableview::OwnCardRepaintBox(l, i));
  }
  UpdateWindow();
  EnablePlayIfSelected();
}

void CGameView::OnLButtonDown(UINT nFlags, CPoint point) { ClickCards(nFlags, point); }
void CGameView::OnLButtonDblClk(UINT nFlags, CPoint point) { ClickCards(nFlags, point); }

void CGameView::OnRButtonDown(UINT, CPoint point) {
  CGameDocCore* doc = GetGameDoc();
  if (doc && doc->GetSchedule() == SCHEDULE_PLAY) OnTakeOut();
  ClickAvatars(point, true);
}

void CGameView::OnMouseMove(UINT, CPoint point) {
  if (PullTiers()) InvalidateTable();
  // Over a seat's tier area its tier shows in the balloon, its corner just above the pointer.
  int tier = 0;
  for (int p = 0; p < PlayerCount() && !tier; ++p)
    if (m_nTier[p] >= 1 && m_nTier[p] <= 3 && TierArea(p).Contains(point.x, point.y)) tier = m_nTier[p];
  if (m_balloon.GetSafeHwnd()) {
    if (tier && !m_balloon.IsShown()) {
      char text[64];
      std::snprintf(text, sizeof text, kTierFmt, tier);
      m_balloon.Show(text, point.x, point.y - 10, point.x, point.y, 2);
    } else if (!tier && m_balloon.IsShown()) {
      m_balloon.Hide();
    }
  }
  Default();
}

BOOL CGameView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (pWnd == this && nHitTest == HTCLIENT) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    const tableview::Layout& l = GetLayout();
    for (int p = 0; p < PlayerCount(); ++p) {
      const Pt a = l.avatar[SlotOf(p)];
      if (Box::At(a.x, a.y, tableview::AVATAR_W, tableview::AVATAR_H).Contains(pt.x, pt.y)) {
        ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
    }
  }
  return CFormView::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CGameView::PreTranslateMessage(MSG* pMsg) {
  m_tooltip.RelayEvent(pMsg);
  return CFormView::PreTranslateMessage(pMsg);
}

std::string CGameView::GetToolTipText(UINT nID) {
  CWnd* w = GetControl(nID);
  if (!w || !m_tooltip.GetSafeHwnd()) return std::string();
  CString s;
  m_tooltip.GetText(s, w);
  return (const char*)s;
}

// ---- buttons ---------------------------------------------------------------------------------

void CGameView::OnTakeOut() {
  KillTimer(IDT_AUTOPLAY);
  SetFocus();
  CGameDocCore* doc = GetGameDoc();
  if (!doc || !doc->CanPlayNow()) return;
  doc->PlaySelectedCards();
  UpdateSelectedCount();
  InvalidateTable();
}

void CGameView::OnStart() {
  KillTimer(IDT_AUTOPLAY);
  SetFocus();
  CGameDocCore* doc = GetGameDoc();
  if (!doc || doc->IsBusy()) return;
  EnableStart(false);
  if (doc->GetSchedule() == SCHEDULE_WAIT) doc->SendReady();
}

void CGameView::OnPass() {
  KillTimer(IDT_AUTOPLAY);
  SetFocus();
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  EnablePlayButton(false);
  EnablePass(false);
  EnableHint(false);
  if (!doc->IsHintOn()) ShowControl(IDC_SEARCH, false);
  doc->Pass();
  ClearSelection();
}

void CGameView::OnSearch() {
  KillTimer(IDT_AUTOPLAY);
  CGameDocCore* doc = GetGameDoc();
  if (!doc || !doc->IsHintOn()) return;
  SetFocus();
  const CARD_INFO* hint = nullptr;
  const int k = doc->FindHint(&hint);
  if (k <= 0 || !hint) {
    OnPass();
    return;
  }
  doc->SelectOwnCards(hint, k);
  InvalidateTable();
  EnablePlayIfSelected();
}

void CGameView::OnTrustee() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc || !(m_pSite->OptionFlags() & 1)) return;
  // The second button (No) is the default: a stray Enter keeps the player at the table.
  if (m_pSite->AskYesNo(kAskTrustee, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)) doc->RequestTrusteeship(1);
}

void CGameView::OnCancelTrustee() {
  CGameDocCore* doc = GetGameDoc();
  if (doc && (m_pSite->OptionFlags() & 1)) doc->RequestTrusteeship(0);
}

void CGameView::OnSwitchDirection() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  doc->ToggleOrder();
  ShowControl(IDC_SEAT_CCW, doc->IsOrderClockwise());
  ShowControl(IDC_SEAT_CW, !doc->IsOrderClockwise());
  InvalidateTable();
  MoveMarker(m_nMarkerPosition);
}

void CGameView::OnSettings() {
  if (m_bInSettings) return;
  m_bInSettings = true;
  m_pSite->OpenSettings();
  m_bInSettings = false;
  InvalidateTable();
}

void CGameView::OnSurvey() {
  if (!m_strSurvey.empty()) m_pSite->OpenUrl(m_strSurvey);
}

void CGameView::OnScreenshot() {
  const std::string path = m_pSite->SaveScreenshot();
  if (path.empty()) return;
  char line[MAX_PATH + 64];
  std::snprintf(line, sizeof line, kScreenshotSavedFmt, path.c_str());
  m_pSite->ChatNotice(line, RGB(0, 0, 255), 10);
}

void CGameView::OnLastRound() {
  CGameDocCore* doc = GetGameDoc();
  // On the first trick there is nothing to show.
  if (!doc || !tableview::PreviousTrickExists(doc->PrevPlayCounts(), PlayerCount())) return;
  doc->ShowLastRound();
}

void CGameView::OnScoreBoard() { m_pSite->ToggleScoreBoard(); }

void CGameView::OnSort() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  doc->ToggleSortMode();
  const int phase = doc->GetSchedule();
  if (phase == SCHEDULE_BID || phase == SCHEDULE_PLAY) InvalidateSeat(OWN_POSITION);
}

void CGameView::OnShowCards() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendShowCards();
}

void CGameView::OnBid1() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendBid(1);
}
void CGameView::OnBid2() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendBid(2);
}
void CGameView::OnBid3() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendBid(3);
}
void CGameView::OnBid0() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendBid(0);
}

// ---- timers and messages ---------------------------------------------------------------------

void CGameView::OnTimer(UINT_PTR nIDEvent) {
  CGameDocCore* doc = GetGameDoc();
  // Every timer message of the view is an idle tick: the keep-alive goes out every
  // IdleSecond ticks whatever the user does.
  if (tableview::IdleTick(&m_nIdleTicks, m_pSite->IdleSeconds())) m_pSite->SendKeepAlive();
  switch (nIDEvent) {
    case IDT_IDLE:
      PlaceWaitNotice();
      SyncWaitNotice();
      break;
    case IDT_AUTOPLAY: {
      KillTimer(IDT_AUTOPLAY);
      if (!doc || !doc->AutoPlayLastCard()) break;
      SetFocus();
      UpdateSelectedCount();
      InvalidateTable();
      break;
    }
    case IDT_PAUSE:
      KillTimer(IDT_PAUSE);
      m_nClockPause = 0;
      if (m_bPaused) {
        m_bPaused = false;
        m_pSite->HoldMessages(false);
      }
      break;
    case IDT_LASTROUND:
      KillTimer(IDT_LASTROUND);
      m_bShowingPrevious = false;
      if (doc) doc->EndShowLastRound();
      break;
    default:
      break;
  }
}

LRESULT CGameView::OnChatEcho(WPARAM, LPARAM lParam) {
  CGameDocCore* doc = GetGameDoc();
  const char* line = reinterpret_cast<const char*>(lParam);
  if (!doc || !line || doc->HostName().empty()) return 0;
  const std::string hostName = doc->HostName();
  const char* host = hostName.c_str();
  // Chat lines are bounded by the chat control; never read past 4096 bytes.
  std::string text = tableview::ChatEchoForTicker(line, 4096, host);
  if (!text.empty()) m_pSite->TickerText(text);
  return 0;
}

LRESULT CGameView::OnReloadOrder(WPARAM, LPARAM) {
  LoadOrderImages(false);
  InvalidateTable();
  return 0;
}
