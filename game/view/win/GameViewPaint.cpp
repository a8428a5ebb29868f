// The table view's painting: the back buffer and the band behind moving cards, the layout,
// the table with its overlays, and what is invalidated when.
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

namespace {
const COLORREF kFrame = RGB(15, 17, 18);
}  // namespace

bool CGameView::EnsureBuffers() {
  CRect rc;
  GetClientRect(&rc);
  if (rc.Width() <= 0 || rc.Height() <= 0) return false;
  if (m_sizeBack.cx == rc.Width() && m_sizeBack.cy == rc.Height() && m_dcBack.GetSafeHdc()) return true;
  HDC screen = ::GetDC(m_hWnd);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, rc.Width(), rc.Height());
  if (!m_dcBack.GetSafeHdc()) m_dcBack.Attach(::CreateCompatibleDC(screen));
  ::ReleaseDC(m_hWnd, screen);
  if (!bmp) return false;  // keep the old buffer: the next resize tries again
  HGDIOBJ old = ::SelectObject(m_dcBack.GetSafeHdc(), bmp);
  if (!m_hOldBack)
    m_hOldBack = old;
  else
    ::DeleteObject(old);
  m_sizeBack = CSize(rc.Width(), rc.Height());
  // The band follows the size: 55 % of the height from 30 % down.
  m_nBandTop = rc.Height() * 30 / 100;
  m_nBandHeight = rc.Height() * 55 / 100;
  if (!m_hBandDC) m_hBandDC = ::CreateCompatibleDC(m_dcBack.GetSafeHdc());
  HBITMAP band = ::CreateCompatibleBitmap(m_dcBack.GetSafeHdc(), rc.Width(), std::max(1, m_nBandHeight));
  if (band && m_hBandDC) {
    HGDIOBJ was = ::SelectObject(m_hBandDC, band);
    if (!m_hOldBand) m_hOldBand = was;
    if (m_hBand) ::DeleteObject(m_hBand);
    m_hBand = band;
  }
  return true;
}

void CGameView::CopyBand() {
  if (!m_hBandDC || !m_hBand) return;
  ::BitBlt(m_hBandDC, 0, 0, m_sizeBack.cx, m_nBandHeight, m_dcBack.GetSafeHdc(), 0, m_nBandTop, SRCCOPY);
}

// What lies under `box`: from the band where the box crosses it, else the back buffer.
void CGameView::RestoreFromBand(HDC to, const Box& box) {
  ::BitBlt(to, box.left, box.top, box.Width(), box.Height(), m_dcBack.GetSafeHdc(), box.left, box.top, SRCCOPY);
  const int top = std::max(box.top, m_nBandTop), bottom = std::min(box.bottom, m_nBandTop + m_nBandHeight);
  if (m_hBandDC && m_hBand && bottom > top)
    ::BitBlt(to, box.left, top, box.Width(), bottom - top, m_hBandDC, box.left, top - m_nBandTop, SRCCOPY);
}

void CGameView::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  if (cx <= 0 || cy <= 0) return;
  // Floating texts rise from 65 % to 30 % of the height, centred on the table.
  m_float.SetParams(65, 30, cx / 2);
  EnsureBuffers();
  if (m_float.GetSafeHwnd()) PlaceTicker();  // after the initial update
  InvalidateTable();
}

// ---- layout ----------------------------------------------------------------------------------

void CGameView::LayOut() {
  CRect rc;
  GetClientRect(&rc);
  CGameDocCore* doc = GetGameDoc();
  tableview::LayoutInput in;
  in.clientW = rc.Width();
  in.clientH = rc.Height();
  in.largeCards = s_bLargeCards;
  in.playerCount = PlayerCount();
  if (doc) {
    in.scoreBoard = doc->ScoreBoardMode() == 1 || doc->ScoreBoardMode() == 2 ? doc->ScoreBoardMode() : 0;
    in.ownCount = doc->OwnCardCount();
    in.topCount =
        in.playerCount == 4 ? std::max(0, std::min<int>(doc->Seat(3).nCardCount, CGameDocCore::MAX_CARDS)) : 0;
    in.topOpen = in.playerCount == 4 && Painter().HandShown(3);
    in.phase = doc->GetSchedule();
  }
  // The theme's level icons are square cells as high as their strip.
  BITMAP bm;
  const bool strip = m_theme.hLevel && ::GetObjectA(m_theme.hLevel, sizeof bm, &bm) && bm.bmHeight > 0;
  in.levelW = in.levelH = strip ? bm.bmHeight : 16;
  tableview::ComputeLayout(in, &m_layout);
  m_bLayoutDirty = false;
  PlaceControls();
  SyncAvatars();
  PlaceWidgets();  // the clock and marker windows follow a new size too
}

CTablePainter& CGameView::Painter() {
  TableFonts fonts;
  fonts.f12 = (HFONT)m_font12.GetSafeHandle();
  fonts.f14 = (HFONT)m_font14.GetSafeHandle();
  fonts.f16 = (HFONT)m_font16.GetSafeHandle();
  fonts.badge = (HFONT)m_fontBadge.GetSafeHandle();
  m_tablePainter.Set(GetGameDoc(), m_layout, fonts, m_bCardsLoaded);
  m_tablePainter.SetShowingPrevious(m_bShowingPrevious);
  m_tablePainter.SetTiers(m_nTier);
  m_tablePainter.SetNickNameSource([this](const char* user) { return m_pSite->NickNameOf(user); });
  return m_tablePainter;
}

void CGameView::BuildTable(CDC* pDC) { Painter().BuildTable(pDC); }

std::vector<CARD_INFO> CGameView::PlayShown(int nPosition) { return Painter().PlayShown(nPosition); }

std::string CGameView::PanelNickName(int nPosition) { return Painter().PanelNickName(nPosition); }

const tableview::Layout& CGameView::GetLayout() {
  if (m_bLayoutDirty) LayOut();
  return m_layout;
}

void CGameView::PlaceControls() {
  const tableview::Layout& l = m_layout;
  struct {
    UINT id;
    const Box* box;
  } places[] = {{IDC_START, &l.start},           {IDC_PASS, &l.pass},
                {IDC_TAKEOUT, &l.takeOut},       {IDC_SEARCH, &l.hint},
                {IDC_CALL1, &l.bid[0]},          {IDC_CALL2, &l.bid[1]},
                {IDC_CALL3, &l.bid[2]},          {IDC_CALL0, &l.bid[3]},
                {IDC_SHOWCARD, &l.showCards},    {IDC_TRUSTEE, &l.trustee},
                {IDC_CANCELTRUSTEE, &l.trustee}, {IDC_SURVEY, &l.survey},
                {IDC_LASTROUND, &l.lastRound},   {IDC_SORT, &l.sort},
                {IDC_SCOREBOARD, &l.score},      {IDC_SETTINGS, &l.settings},
                {IDC_SCREENSHOT, &l.screenshot}};
  for (auto& p : places) {
    CWnd* w = GetControl(p.id);
    if (!w) continue;
    w->SetWindowPos(nullptr, p.box->left, p.box->top, p.box->Width(), p.box->Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---- painting --------------------------------------------------------------------------------

BOOL CGameView::OnEraseBkgnd(CDC*) { return TRUE; }

void CGameView::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  CDC cdc;
  cdc.Attach(dc);
  OnDraw(&cdc);
  cdc.Detach();
  ::EndPaint(m_hWnd, &ps);
}

void CGameView::OnDraw(CDC* pDC) {
  if (!IsWindowVisible()) return;
  RenderTo(pDC);
}

void CGameView::RenderTo(CDC* pDC) {
  if (!EnsureBuffers()) return;
  PullTiers();
  if (m_bLayoutDirty) {
    LayOut();
    m_bTableDirty = true;
  }
  if (m_bTableDirty) {
    BuildTable(&m_dcBack);
    CopyBand();
    m_bTableDirty = false;
  }
  // Overlays (marker, clock, floating text, status) go on a copy so they never stick.
  HDC screen = pDC->GetSafeHdc();
  const int w = m_sizeBack.cx, h = m_sizeBack.cy;
  HDC frame = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(m_dcBack.GetSafeHdc(), w, h);
  HGDIOBJ old = ::SelectObject(frame, bmp);
  ::BitBlt(frame, 0, 0, w, h, m_dcBack.GetSafeHdc(), 0, 0, SRCCOPY);
  CDC f;
  f.Attach(frame);
  DrawOverlays(&f);
  // A thin dark frame on the left, bottom and top edges.
  HPEN pen = ::CreatePen(PS_INSIDEFRAME, 1, kFrame);
  HGDIOBJ op = ::SelectObject(frame, pen);
  ::MoveToEx(frame, w - 1, 0, nullptr);
  ::LineTo(frame, 0, 0);
  ::LineTo(frame, 0, h - 1);
  ::LineTo(frame, w, h - 1);
  ::SelectObject(frame, op);
  ::DeleteObject(pen);
  DrawAvatars(&f);
  f.Detach();
  ::BitBlt(screen, 0, 0, w, h, frame, 0, 0, SRCCOPY);
  ::SelectObject(frame, old);
  ::DeleteObject(bmp);
  ::DeleteDC(frame);
}

void CGameView::DrawOverlays(CDC* pDC) {
  HDC dc = pDC->GetSafeHdc();
  const tableview::Layout& l = m_layout;
  HGDIOBJ of = ::SelectObject(dc, m_font16.GetSafeHandle());
  DrawWidgets(pDC);
  // Floating texts rise over everything else.
  m_float.Draw(pDC);
  // A notice from the server in the top-left corner.
  if (!m_strNotice.empty()) {
    RECT r = ToRect(l.notice);
    RoundBox(dc, r, RGB(250, 245, 220), RGB(150, 120, 60), 8);
    RECT t = r;
    ::InflateRect(&t, -4, -4);
    HGDIOBJ f2 = ::SelectObject(dc, m_font12.GetSafeHandle());
    ::SetTextColor(dc, RGB(60, 40, 0));
    ::DrawTextA(dc, m_strNotice.c_str(), -1, &t, DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, f2);
  }
  ::SelectObject(dc, of);
}

// ---- invalidation ----------------------------------------------------------------------------

void CGameView::InvalidateBox(const Box& box) {
  m_bTableDirty = true;
  if (!m_hWnd || box.IsEmpty()) return;
  RECT r = ToRect(box);
  ::InvalidateRect(m_hWnd, &r, FALSE);
}

void CGameView::InvalidateTable() {
  m_bLayoutDirty = true;
  m_bTableDirty = true;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::InvalidateSeat(int p) {
  if (p < 0 || p >= 4) return;
  m_bLayoutDirty = true;
  // Seat areas move with the card count: repaint the whole table from the back buffer.
  InvalidateTable();
}
