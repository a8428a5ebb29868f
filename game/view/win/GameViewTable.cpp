// What the document asks of the table view: the clock, the marker, the buttons of each
// phase, the status and floating texts, pauses, and plays sliding onto the table.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "GameView.h"
#include "GameViewShared.h"
#include "../../dialogs/win/WaitDlg.h"
#include "TableGdi.h"
#include "ViewTexts.h"
#include "resource.h"

using tableview::Box;
using tableview::Pt;
using namespace viewtext;
using namespace tablegdi;
using namespace gameview;

// ---- what the document asks ------------------------------------------------------------------

void CGameView::RepaintTable() { InvalidateTable(); }
void CGameView::RelayoutTable() { InvalidateTable(); }
void CGameView::RedrawAvatar(int nPosition) { InvalidateSeat(nPosition); }
void CGameView::RedrawPlays() { InvalidateTable(); }

void CGameView::RaiseSelectedCards() {
  UpdateSelectedCount();
  InvalidateTable();
}

void CGameView::ShowTurnClock(int nSeconds) {
  PlaceWidgets();
  m_clock.Start(std::max(0, std::min(nSeconds, 99)));
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::HideTurnClock() {
  m_clock.Stop();
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

int CGameView::GetClockSeconds() const {
  if (!m_clock.IsRunning()) return -1;
  return m_clock.GetRemainingMs() / 1000;
}

void CGameView::HideTurnMarker() {
  m_bMarkerShown = false;
  if (m_marker.GetSafeHwnd()) m_marker.ShowWindow(SW_HIDE);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::MoveMarker(int nPosition) {
  CGameDocCore* doc = GetGameDoc();
  m_nMarkerPosition = nPosition;
  m_bMarkerShown = false;
  if (doc && nPosition >= 0 && nPosition < 4) {
    const int phase = doc->GetSchedule();
    const uint32_t state = doc->Seat(nPosition).dwState;
    m_bMarkerShown = (phase == SCHEDULE_BID || phase == SCHEDULE_PLAY) &&
                     !(state & (SEAT_OFFLINE | SEAT_TRUSTEESHIP | SEAT_TRUST_EXIT));
  }
  PlaceWidgets();
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::ShowControl(UINT nID, bool bShow) {
  CGameDocCore* doc = GetGameDoc();
  // Once the settings were saved ten times the direction buttons stay hidden for good.
  if ((nID == IDC_SEAT_CCW || nID == IDC_SEAT_CW) && doc && !tableview::DirectionButtonsShown(doc->ShowOrder()))
    bShow = false;
  CWnd* w = GetControl(nID);
  if (!w) return;
  w->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
  CRect r;
  w->GetWindowRect(&r);
  ScreenToClient(&r);
  r.InflateRect(3, 3);
  ::InvalidateRect(m_hWnd, &r, FALSE);
}

void CGameView::EnableStart(bool bOn) {
  if (Watching()) return;
  if (CWnd* w = GetControl(IDC_START)) w->EnableWindow(bOn);
}

void CGameView::EnablePass(bool bOn) {
  if (Watching()) return;
  if (CWnd* w = GetControl(IDC_PASS)) w->EnableWindow(bOn);
}

void CGameView::EnableHint(bool bOn) {
  if (Watching()) return;
  CGameDocCore* doc = GetGameDoc();
  if (CWnd* w = GetControl(IDC_SEARCH)) w->EnableWindow(bOn && doc && doc->IsHintOn());
}

void CGameView::ShowBidButtons(bool bShow) {
  for (UINT id : {IDC_CALL1, IDC_CALL2, IDC_CALL3, IDC_CALL0}) ShowControl(id, bShow);
}

void CGameView::HideStartButton() { ShowControl(IDC_START, false); }
void CGameView::HideBidButtons() { ShowBidButtons(false); }
void CGameView::ShowShowCardsButton() {
  ShowControl(IDC_SHOWCARD, true);
  if (CWnd* w = GetControl(IDC_SHOWCARD)) w->EnableWindow(TRUE);
}
void CGameView::HideShowCardsButton() { ShowControl(IDC_SHOWCARD, false); }

void CGameView::SetPlayButtons(bool bPlay, bool bPassAndHint) {
  if (CWnd* w = GetControl(IDC_TAKEOUT)) w->EnableWindow(bPlay && m_nSelected > 0);
  EnablePass(bPassAndHint);
  EnableHint(bPassAndHint);
}

void CGameView::EnablePlayButton(bool bEnabled) {
  if (CWnd* w = GetControl(IDC_TAKEOUT)) w->EnableWindow(bEnabled);
}

void CGameView::SetTrusteeshipButtons(bool bOn) {
  ShowControl(IDC_TRUSTEE, !bOn);
  ShowControl(IDC_CANCELTRUSTEE, bOn);
  if (CWnd* w = GetControl(bOn ? IDC_CANCELTRUSTEE : IDC_TRUSTEE)) w->EnableWindow(TRUE);
}

void CGameView::RefreshButtons() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc || Watching()) return;
  ShowBidButtons(false);
  for (UINT id : {IDC_TAKEOUT, IDC_PASS, IDC_SEARCH}) ShowControl(id, false);
  ShowControl(IDC_START, true);
  EnableStart(true);
}

void CGameView::SetStatusText(const std::string& text) {
  CWnd* main = m_pSite->MainWindow();
  if (!main || !m_hWnd) return;
  m_strStatus = text;
  if (!m_pWaitNotice) m_pWaitNotice = new CWaitDlg(this);
  if (!m_pWaitNotice->Arrange(text.c_str(), FALSE)) {
    delete m_pWaitNotice;
    m_pWaitNotice = nullptr;
    return;
  }
  PlaceWaitNotice();
  SyncWaitNotice();
  if (main->IsWindowVisible()) SetFocus();
}

void CGameView::SetStatusTextId(int nStringId) { SetStatusText(LoadText(nStringId)); }

void CGameView::CloseWaitNotice() {
  m_strStatus.clear();
  if (!m_pWaitNotice) return;
  CWaitDlg* dlg = m_pWaitNotice;
  m_pWaitNotice = nullptr;
  delete dlg;  // destroys its window
}

void CGameView::PlaceWaitNotice() {
  if (!m_pWaitNotice || !m_pWaitNotice->GetSafeHwnd() || !m_hWnd) return;
  // Centred on the table: between the other seats' plays and above the own play row, so
  // it covers none of the own cards. Kept there when the main window moves.
  CRect view, box;
  GetWindowRect(&view);
  m_pWaitNotice->GetWindowRect(&box);
  const CPoint at(view.CenterPoint().x - box.Width() / 2, view.CenterPoint().y - box.Height() / 2);
  if (at == box.TopLeft()) return;
  m_pWaitNotice->SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The box belongs to the table: it shows while the main window shows and hides with it.
void CGameView::SyncWaitNotice() {
  if (!m_pWaitNotice || !m_pWaitNotice->GetSafeHwnd()) return;
  CWnd* main = m_pSite->MainWindow();
  const bool show = main && main->IsWindowVisible() && !main->IsIconic();
  if ((m_pWaitNotice->IsWindowVisible() != FALSE) == show) return;
  m_pWaitNotice->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void CGameView::ShowFloatingText(const std::string& text) {
  CGameDocCore* doc = GetGameDoc();
  if (!m_pSite->GameProgressArrived() || !doc || !doc->IsFlyMsgOn()) return;
  if (text.empty()) return;
  m_float.AddText(text.c_str());
}

void CGameView::ShowNotice(const std::string& text) {
  if (text.empty()) return;
  m_strNotice = text.substr(0, CGameDocCore::NOTICE_SIZE);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::PlayRecorded(int nPosition, int, int nCount) {
  if (nCount > 0) AnimatePlay(nPosition);
}

void CGameView::PauseTable(uint32_t nMs) {
  // The table holds on a timer: the clock stops counting and the server's frames wait,
  // while the window keeps painting.
  if (!m_hWnd || nMs == 0) return;
  if (!m_bPaused) m_pSite->HoldMessages(true);
  m_bPaused = true;
  m_nClockPause = 1;
  SetTimer(IDT_PAUSE, nMs, nullptr);
}

void CGameView::SetSurveyTarget(const std::string& url) {
  m_strSurvey = url;
  ShowControl(IDC_SURVEY, true);
  if (CWnd* w = GetControl(IDC_SURVEY)) w->EnableWindow(TRUE);
}

void CGameView::FocusGameView() {
  if (m_hWnd) SetFocus();
}

void CGameView::StartLastRoundTimer(int nMs) {
  if (!m_hWnd) return;
  m_bShowingPrevious = true;
  InvalidateTable();
  SetTimer(IDT_LASTROUND, (UINT)std::max(1, nMs), nullptr);
}

void CGameView::PhaseChanged(int nPhase) {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  m_bLayoutDirty = true;
  LayOut();  // the bid and play rows move with the phase
  tableview::ScheduleInput in;
  in.phase = nPhase;
  in.turnPosition = doc->TurnPosition();
  in.watching = doc->IsWatching();
  in.quiet = doc->IsOwnTrusteeship() || doc->IsOwnTrustExit();
  in.trusteeAllowed = (m_pSite->OptionFlags() & 1) != 0;
  in.ownTrusteeship = doc->IsOwnTrusteeship();
  in.hintFlag = doc->IsHintOn();
  in.freeLead = doc->IsFreeLead();
  in.ownCount = doc->Seat(OWN_POSITION).nCardCount;
  UpdateSelectedCount();
  in.selectedCount = m_nSelected;
  in.currentBid = doc->BidValue();
  in.ownBombs = nPhase == SCHEDULE_BID ? doc->CountBombs(OWN_POSITION) : 0;
  const tableview::ScheduleResult r = tableview::OnScheduleRules(in);
  if (r.ignored) return;
  ApplySchedule(r);
  InvalidateTable();
}

void CGameView::ApplySchedule(const tableview::ScheduleResult& r) {
  CGameDocCore* doc = GetGameDoc();
  if (r.closeWait) CloseWaitNotice();
  if (r.waitTextId) SetStatusTextId(r.waitTextId);
  if (r.clearPlayOf >= 0) doc->ClearLastPlay(r.clearPlayOf);
  for (int b = 0; b < tableview::BTN_COUNT; ++b) {
    const UINT id = kButtonIds[b];
    const tableview::ButtonAct& a = r.buttons[b];
    if (a.show != tableview::KEEP) ShowControl(id, a.show == tableview::ON);
    if (a.enable != tableview::KEEP)
      if (CWnd* w = GetControl(id)) w->EnableWindow(a.enable == tableview::ON);
  }
  if (r.autoPlay) SetTimer(IDT_AUTOPLAY, 2000, nullptr);
  if (r.markerTo >= 0) {
    MoveMarker(r.markerTo);
  } else {
    m_bMarkerShown = false;
    PlaceWidgets();
  }
}

void CGameView::AnimatePlay(int p) {
  CGameDocCore* doc = GetGameDoc();
  if (!m_bMoveCards || !doc || !m_hWnd || !IsWindowVisible() || !m_pSite->GameProgressArrived()) return;
  if (p < 0 || p >= PlayerCount()) return;
  const int n = std::max(0, std::min<int>(doc->Seat(p).nLastPlayCount, CGameDocCore::MAX_CARDS));
  if (n == 0 || !EnsureBuffers()) return;
  // The table under the moving cards: everything but this play, band included.
  LayOut();
  Painter().SetSkipPlay(p);
  BuildTable(&m_dcBack);
  m_tablePainter.SetSkipPlay(-1);
  CopyBand();
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  const Box target = tableview::PlayRowBox(l, slot, n);
  const std::vector<CARD_INFO> play = PlayShown(p);
  const int remaining = std::max(0, std::min<int>(doc->Seat(p).nCardCount, CGameDocCore::MAX_CARDS));
  Pt from = l.hand[slot];
  if (slot == 1 || slot == 3)
    from.x += remaining * l.step / 2;  // the played cards came from somewhere in the row
  else
    from.y -= l.cardH / 2;
  const std::vector<Pt> steps = tableview::AnimationSteps(from, Pt{target.left, target.top});
  HDC screen = ::GetDC(m_hWnd);
  HDC scratch = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, m_sizeBack.cx, m_sizeBack.cy);
  HGDIOBJ old = ::SelectObject(scratch, bmp);
  CDC dc;
  dc.Attach(scratch);
  Box prev;
  for (const Pt& at : steps) {
    const Box cur = Box::At(at.x, at.y, target.Width(), target.Height());
    const Box dirty = prev.Union(cur);
    RestoreFromBand(scratch, dirty);
    for (int i = 0; i < n; ++i) m_tablePainter.DrawCard(&dc, play[i], at.x + i * l.step, at.y, true, false);
    ::BitBlt(screen, dirty.left, dirty.top, dirty.Width(), dirty.Height(), scratch, dirty.left, dirty.top, SRCCOPY);
    prev = cur;
    ::Sleep(5);
  }
  dc.Detach();
  ::SelectObject(scratch, old);
  ::DeleteObject(bmp);
  ::DeleteDC(scratch);
  ::ReleaseDC(m_hWnd, screen);
  InvalidateTable();
}
