#include "ODScrollCtrl.h"

#include <windowsx.h>

#include "ODMemDC.h"
#include "ODPaint.h"
#include "ScrollBarEx.h"

IMPLEMENT_DYNAMIC(CODScrollCtrl, CODNcMgrWnd)

CODScrollCtrl::CODScrollCtrl()
    : m_nMapMode(-1),
      m_bInUpdate(FALSE),
      m_bScrollWindow(FALSE),
      m_bRedrawBars(TRUE),
      m_nWheelLines(0),
      m_pPan(nullptr) {}

BOOL CODScrollCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  static const char kClass[] = "ODScrollCtrl";
  ODRegisterWindowClass(kClass, CS_DBLCLKS, nullptr);
  return CWnd::Create(kClass, "", dwStyle, rect, pParentWnd, nID);
}

CSBContainerWnd* CODScrollCtrl::Container() const {
  CWnd* parent = GetParent();
  if (parent && parent->GetRuntimeClass() &&
      lstrcmpA(parent->GetRuntimeClass()->m_lpszClassName, "CSBContainerWnd") == 0)
    return static_cast<CSBContainerWnd*>(parent);
  return nullptr;
}

void CODScrollCtrl::RouteScrollInfo(int nBar, const vesk::odctrls::ScrollAxis& a) {
  SCROLLINFO si = {sizeof(si), SIF_ALL, 0, a.total > 0 ? a.total - 1 : 0, (UINT)a.client, a.pos, 0};
  if (CSBContainerWnd* c = Container()) {
    c->SetScrollInfo(nBar, &si, m_bRedrawBars);
    return;
  }
  ::SetScrollInfo(m_hWnd, nBar, &si, m_bRedrawBars);
}

void CODScrollCtrl::RouteShow(int nBar, BOOL bShow) {
  if (CSBContainerWnd* c = Container()) {
    c->ShowScrollBar(nBar, bShow);
    return;
  }
  ::ShowScrollBar(m_hWnd, nBar, bShow);
}

void CODScrollCtrl::SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage, SIZE sizeLine) {
  const int oldMode = m_nMapMode;
  m_nMapMode = nMapMode;
  POINT pts[3] = {{sizeTotal.cx, sizeTotal.cy}, {sizePage.cx, sizePage.cy}, {sizeLine.cx, sizeLine.cy}};
  if (nMapMode > 0 && nMapMode != MM_TEXT) {
    HDC dc = ::GetDC(nullptr);
    ::SetMapMode(dc, nMapMode);
    ::LPtoDP(dc, pts, 3);
    ::ReleaseDC(nullptr, dc);
  }
  m_h.total = pts[0].x;
  m_v.total = pts[0].y;
  m_h.page = pts[1].x;
  m_v.page = pts[1].y;
  m_h.line = pts[2].x;
  m_v.line = pts[2].y;
  vesk::odctrls::NormaliseSizes(&m_h);
  vesk::odctrls::NormaliseSizes(&m_v);
  if (nMapMode == -1) {
    RouteShow(SB_HORZ, FALSE);
    RouteShow(SB_VERT, FALSE);
    m_h.pos = m_v.pos = 0;
    m_h.bar = m_v.bar = FALSE;
    return;
  }
  if (m_hWnd) UpdateBars();
  if (oldMode != nMapMode && m_hWnd) Invalidate();
}

void CODScrollCtrl::UpdateBars() {
  if (m_bInUpdate || !m_hWnd) return;
  m_bInUpdate = TRUE;
  CRect rc;
  GetClientRect(&rc);
  int barW = 0, barH = 0;
  if (!Container()) {
    // The client size without the window's own bars.
    DWORD style = GetStyle();
    int sysW = ::GetSystemMetrics(SM_CXVSCROLL) - ((style & WS_BORDER) ? 1 : 0);
    int sysH = ::GetSystemMetrics(SM_CYHSCROLL) - ((style & WS_BORDER) ? 1 : 0);
    if (style & WS_VSCROLL) rc.right += sysW;
    if (style & WS_HSCROLL) rc.bottom += sysH;
    barW = sysW;
    barH = sysH;
  }
  vesk::odctrls::UpdateBars(&m_h, &m_v, rc.Width(), rc.Height(), barW, barH);
  RouteShow(SB_HORZ, m_h.bar);
  RouteShow(SB_VERT, m_v.bar);
  if (m_h.bar) RouteScrollInfo(SB_HORZ, m_h);
  if (m_v.bar) RouteScrollInfo(SB_VERT, m_v);
  m_bInUpdate = FALSE;
}

BOOL CODScrollCtrl::ScrollBy(int dx, int dy, BOOL bDoScroll) {
  const int oldX = m_h.pos, oldY = m_v.pos;
  if (!vesk::odctrls::ScrollBy(&m_h, &m_v, dx, dy)) return FALSE;
  if (bDoScroll) {
    if (m_bScrollWindow) ScrollWindow(oldX - m_h.pos, oldY - m_v.pos);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (m_h.bar) RouteScrollInfo(SB_HORZ, m_h);
    if (m_v.bar) RouteScrollInfo(SB_VERT, m_v);
  }
  return TRUE;
}

void CODScrollCtrl::ScrollToPosition(POINT pt) { ScrollBy(pt.x - m_h.pos, pt.y - m_v.pos, TRUE); }

void CODScrollCtrl::OnScroll(int nBar, UINT nCode, int nThumb) {
  vesk::odctrls::ScrollAxis& a = nBar == SB_HORZ ? m_h : m_v;
  int target = vesk::odctrls::PositionForCode(a, (int)nCode, nThumb);
  if (nBar == SB_HORZ)
    ScrollBy(target - a.pos, 0, TRUE);
  else
    ScrollBy(0, target - a.pos, TRUE);
}

int CODScrollCtrl::WheelLines() {
  if (!m_nWheelLines) {
    UINT lines = 0;
    m_nWheelLines = ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) && lines ? (int)lines : 3;
    if (lines == WHEEL_PAGESCROLL) m_nWheelLines = -1;
  }
  return m_nWheelLines;
}

BOOL CODScrollCtrl::OnWheel(UINT nFlags, short zDelta) {
  if (nFlags & (MK_SHIFT | MK_CONTROL)) return FALSE;
  const BOOL vert = m_v.bar;
  vesk::odctrls::ScrollAxis& a = vert ? m_v : m_h;
  int amount = vesk::odctrls::WheelAmount(zDelta, WheelLines(), a);
  BOOL moved = vert ? ScrollBy(0, amount, TRUE) : ScrollBy(amount, 0, TRUE);
  if (moved) UpdateWindow();
  return moved;
}

LRESULT CODScrollCtrl::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL: {
      int thumb = (short)HIWORD(wParam);
      if (LOWORD(wParam) == SB_THUMBTRACK) {
        SCROLLINFO si = {sizeof(si), SIF_TRACKPOS};
        if (!Container() && ::GetScrollInfo(m_hWnd, message == WM_HSCROLL ? SB_HORZ : SB_VERT, &si))
          thumb = si.nTrackPos;
      }
      OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), thumb);
      return 0;
    }
    case WM_MOUSEWHEEL:
      OnWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_MBUTTONDOWN:
      OnMiddleButton((UINT)wParam);
      return 0;
    case WM_DESTROY:
      if (m_pPan) {
        m_pPan->MarkEnd();
        m_pPan->DestroyWindow();
      }
      break;
    case WM_SIZE: {
      LRESULT r = CODNcMgrWnd::OnODMessage(message, wParam, lParam);
      UpdateBars();
      return r;
    }
  }
  return CODNcMgrWnd::OnODMessage(message, wParam, lParam);
}

void CODScrollCtrl::PaintWindow() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  {
    CRect bufRect(ps.rcPaint);
    CODMemDC buf(CDC::FromHandle(hdc), &bufRect, TRUE);
    CDC* dc = CDC::FromHandle(buf.m_hDC);
    POINT org;
    ::GetViewportOrgEx(buf.m_hDC, &org);
    ::SetViewportOrgEx(buf.m_hDC, org.x - m_h.pos, org.y - m_v.pos, nullptr);
    OnDraw(dc);
    ::SetViewportOrgEx(buf.m_hDC, org.x, org.y, nullptr);
  }
  ::EndPaint(m_hWnd, &ps);
}

void CODScrollCtrl::OnMiddleButton(UINT nFlags) {
  if ((nFlags & (MK_SHIFT | MK_CONTROL)) || !::GetSystemMetrics(SM_MOUSEWHEELPRESENT)) return;
  if (m_pPan) {
    m_pPan->MarkEnd();
    return;
  }
  if (!m_h.bar && !m_v.bar) return;
  POINT pt;
  ::GetCursorPos(&pt);
  m_pPan = new CODPanWnd(this);
  if (!m_pPan->Open(pt)) m_pPan = nullptr;  // a window that failed deleted itself
}

// ---- pan window ---------------------------------------------------------------------------

namespace {
const UINT_PTR kPanTimer = 0xE000;
const int kPanSize = 28;
}  // namespace

BOOL CODPanWnd::Open(POINT pt) {
  m_ptCentre = pt;
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_SIZEALL));
  if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, cls, "", WS_POPUP, pt.x - kPanSize / 2, pt.y - kPanSize / 2, kPanSize,
                kPanSize, m_pOwner->m_hWnd, nullptr)) {
    delete this;
    return FALSE;
  }
  ::SetWindowRgn(m_hWnd, ::CreateEllipticRgn(0, 0, kPanSize + 1, kPanSize + 1), FALSE);
  ShowWindow(SW_SHOWNOACTIVATE);
  SetCapture();
  SetTimer(kPanTimer, 40, nullptr);
  return TRUE;
}

LRESULT CODPanWnd::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kPanTimer) OnTimer();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
      MarkEnd();
      return 0;
    case WM_CAPTURECHANGED:
      if ((HWND)lParam != m_hWnd) MarkEnd();
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(m_hWnd, &ps);
      ::Ellipse(dc, 0, 0, kPanSize, kPanSize);
      // The icon at its corner: the four ways the view can go.
      HICON icon = ::LoadIconA(nullptr, IDI_APPLICATION);
      ::DrawIconEx(dc, kPanSize / 2 - 8, kPanSize / 2 - 8, icon, 16, 16, 0, nullptr, DI_NORMAL);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      if (m_pOwner && m_pOwner->m_pPan == this) m_pOwner->m_pPan = nullptr;
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

void CODPanWnd::OnTimer() {
  if (m_bEnd) {
    KillTimer(kPanTimer);
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ::SetCursor(nullptr);
    DestroyWindow();
    return;
  }
  ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEALL));
  POINT pt;
  ::GetCursorPos(&pt);
  // A dead zone round the centre; beyond it a tenth of the distance per tick.
  int dx = pt.x - m_ptCentre.x, dy = pt.y - m_ptCentre.y;
  dx = abs(dx) < kPanSize / 2 ? 0 : dx / 10;
  dy = abs(dy) < kPanSize / 2 ? 0 : dy / 10;
  if ((dx || dy) && m_pOwner->ScrollBy(dx, dy, TRUE)) m_pOwner->UpdateWindow();
}
