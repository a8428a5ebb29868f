#include "ODStatic.h"

#include <shellapi.h>
#include <windowsx.h>

#include "ODMemDC.h"
#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeSections.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_staticLoader = (SetThemeClassLoader("ODStatic", &LoadODStaticTheme), true);
}  // namespace

IMPLEMENT_DYNAMIC(CODStatic, CStatic)

CODStatic::CODStatic()
    : CODPaintedWnd<CStatic>("ODStatic", 0x1003),
      m_hFocusCursor(nullptr),
      m_hNormalCursor(nullptr),
      m_bStopOnFocus(ODStaticValues().bStopOnFocus),
      m_bTip(FALSE),
      m_rcBorder(1, 1, 1, 1),
      m_bInside(FALSE),
      m_bWasMoving(FALSE),
      m_hFont(ODCreateFont(12)) {
  ApplyThemeValues();
}

void CODStatic::ApplyThemeValues() {
  int w = ODStaticValues().nBorderWidth;
  w = w < 0 ? 0 : w > 16 ? 16 : w;
  m_rcBorder.SetRect(w, w, w, w);
  m_bStopOnFocus = ODStaticValues().bStopOnFocus;
}

void CODStatic::SetBkImage(LPCSTR lpszSpec) {
  m_strOwnBkImage = lpszSpec ? lpszSpec : "";
  if (m_hWnd) {
    LoadBkImage();
    Invalidate(FALSE);
  }
}

void CODStatic::LoadBkImage() {
  if (m_hWnd) KillTimer(TIMER_BKIMAGE);
  m_bkImage.Clear();
  LPCSTR spec = m_strOwnBkImage.IsEmpty() ? (LPCSTR)ODStaticValues().bkImg : (LPCSTR)m_strOwnBkImage;
  if (spec && spec[0]) LoadThemeImageSpec(spec, &m_bkImage);
  if (m_hWnd && m_bkImage.StartAnimation()) SetTimer(TIMER_BKIMAGE, 200, nullptr);
}

CODStatic::~CODStatic() {
  if (m_hFont) ::DeleteObject(m_hFont);
}

void CODStatic::SetTip(LPCSTR lpszDefaultTip) {
  m_bTip = TRUE;
  m_strDefaultTip = lpszDefaultTip ? lpszDefaultTip : "";
  m_strTip = m_strDefaultTip;
}

void CODStatic::SetCursors(HCURSOR hNormal, HCURSOR hFocus) {
  m_hNormalCursor = hNormal;
  m_hFocusCursor = hFocus;
}

void CODStatic::StartMoving(UINT nPeriod) {
  m_txt.StartMoving();
  SetTimer(TIMER_MOVE, nPeriod, nullptr);
}

void CODStatic::OnThemeChanged() {
  ApplyThemeValues();
  LoadBkImage();
}

LRESULT CODStatic::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      return OnSetText(reinterpret_cast<LPCSTR>(lParam));
    case WM_CREATE: {
      // The creation text never passes WM_SETTEXT.
      LRESULT r = DefaultProc(message, wParam, lParam);
      TakeWindowText();
      LoadBkImage();
      return r;
    }
    case WM_TIMER:
      OnTimer(wParam);
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      break;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_SETCURSOR:
      return TRUE;
    case WM_DESTROY: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      if (m_hFocusCursor) ::DestroyCursor(m_hFocusCursor);
      if (m_hNormalCursor) ::DestroyCursor(m_hNormalCursor);
      m_hFocusCursor = m_hNormalCursor = nullptr;
      return r;
    }
  }
  return DefaultProc(message, wParam, lParam);
}

BOOL CODStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
    OnClicked();
    return FALSE;  // the parent still hears of the click
  }
  return CStatic::OnChildNotify(message, wParam, lParam, pResult);
}

void CODStatic::PreSubclassWindow() {
  CStatic::PreSubclassWindow();
  TakeWindowText();
  LoadBkImage();
  ODMarkWindow(m_hWnd, "ODStatic", 0x1003);
}

void CODStatic::TakeWindowText() {
  if (!m_hWnd) return;
  char text[1024] = {};
  ::DefWindowProcA(m_hWnd, WM_GETTEXT, sizeof(text), (LPARAM)text);
  if (text[0]) m_txt.SetText(text);
}

LRESULT CODStatic::OnSetText(LPCSTR lpszText) {
  m_txt.SetText(lpszText ? lpszText : "");
  Invalidate(FALSE);
  return DefaultProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszText ? lpszText : "")) ? 1 : 0;
}

void CODStatic::PaintWindow() {
  ODPaintClient(m_hWnd, [this](HDC dc, const CRect& rc) {
    CRect inner = rc;
    inner.DeflateRect(m_rcBorder.left, m_rcBorder.top, m_rcBorder.right, m_rcBorder.bottom);
    DrawBackground(dc, inner);
    DrawBorder(dc, inner);
    DrawText(dc, rc);
  });
}

void CODStatic::DrawBackground(HDC hDC, const RECT& rc) {
  const ODStaticTheme& t = ODStaticValues();
  // An image of its own, or the theme's in mode 3, lies over the start colour.
  if (!m_bkImage.IsEmpty() && (!m_strOwnBkImage.IsEmpty() || t.nBkMode == 3)) {
    ODFillSolid(hDC, rc, t.crBkStart);
    m_bkImage.SetDrawMode(CODThemeImage::DRAW_TILED);
    m_bkImage.Draw(hDC, rc, 0);
  } else if (t.nBkMode == 1)
    ODFillGradient(hDC, rc, t.crBkStart, t.crBkEnd, FALSE);
  else if (t.nBkMode == 2)
    ODFillGradient(hDC, rc, t.crBkStart, t.crBkEnd, TRUE);
  else
    ODFillSolid(hDC, rc, t.crBkStart);
}

void CODStatic::DrawBorder(HDC hDC, const RECT& rc) {
  CRect outer(rc.left - m_rcBorder.left, rc.top - m_rcBorder.top, rc.right + m_rcBorder.right,
              rc.bottom + m_rcBorder.bottom);
  ODFrame(hDC, outer, ODStaticValues().crBorder, m_rcBorder.left);
}

void CODStatic::DrawText(HDC hDC, const RECT& rc) {
  CRect inner(rc.left + m_rcBorder.left + 2, rc.top + m_rcBorder.top + 2, rc.right - m_rcBorder.right,
              rc.bottom - m_rcBorder.bottom);
  m_txt.Draw(hDC, inner, m_hFont);
}

void CODStatic::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == TIMER_MOVE) {
    m_txt.MoveStep();
    Invalidate(FALSE);
  } else if (nIDEvent == TIMER_BKIMAGE) {
    m_bkImage.OnAnimationTimer();
    Invalidate(FALSE);
  }
}

void CODStatic::OnMouseMove(CPoint point) {
  if (!m_bInside) {
    m_bWasMoving = m_txt.IsMoving();
    if (m_bStopOnFocus && m_bWasMoving) m_txt.StopMoving();
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
    m_bInside = TRUE;
  }
  m_txt.SetHover(TRUE, point);
  CString link;
  ShowLinkCursor(m_txt.GetHoverString(1, link) && !link.IsEmpty());
  if (m_bTip) {
    CString tip;
    m_strTip = m_txt.GetHoverString(2, tip) && !tip.IsEmpty() ? tip : m_strDefaultTip;
  }
  Invalidate(FALSE);
}

void CODStatic::ShowLinkCursor(BOOL bLink) {
  if (bLink) {
    HCURSOR c = m_hFocusCursor ? m_hFocusCursor : LoadThemeCursor(ODStaticValues().nFocusCursor);
    if (!c) c = ::LoadCursorA(nullptr, IDC_HAND);
    if (::GetCursor() != c) ::SetCursor(c);
  } else {
    HCURSOR c = m_hNormalCursor ? m_hNormalCursor : ::LoadCursorA(nullptr, IDC_ARROW);
    if (::GetCursor() != c) ::SetCursor(c);
  }
}

void CODStatic::OnMouseLeave() {
  m_bInside = FALSE;
  m_txt.SetHover(FALSE, CPoint(-1, -1));
  if (m_bWasMoving) m_txt.StartMoving();
  Invalidate(FALSE);
}

INT_PTR CODStatic::OpenLink(LPCSTR lpszLink) {
  return reinterpret_cast<INT_PTR>(::ShellExecuteA(m_hWnd, "open", lpszLink, nullptr, nullptr, SW_SHOWNORMAL));
}

void CODStatic::OnClicked() {
  CString link;
  if (!m_txt.GetHoverString(1, link) || link.IsEmpty()) return;
  if (OpenLink(link) <= 32) {
    ::MessageBeep(0);
    CString msg;
    msg.Format("Unable to execute file %s\n", (LPCSTR)link);
    ::MessageBoxA(m_hWnd, msg, nullptr, MB_OK);
    return;
  }
  m_txt.MarkVisited();
  Invalidate(FALSE);
}
