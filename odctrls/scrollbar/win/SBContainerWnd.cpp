#include "ODTheme.h"
#include "ScrollBarEx.h"

IMPLEMENT_DYNAMIC(CSBContainerWnd, CODNcMgrWnd)

namespace {

const char kContainerClass[] = "MFCSBContainerWnd";
enum { ID_HORZ = 59904, ID_VERT = 59905 };

void RegisterContainerClass() {
  ODRegisterWindowClass(kContainerClass, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, (HBRUSH)(COLOR_BTNFACE + 1));
}

// Both classes' theme sections are read by the theme's loaders.
const bool g_loaders = (SetThemeClassLoader("SBContainer", &CSBContainerWnd::LoadThemeValues),
                        SetThemeClassLoader("ScrollBarEx", &ScrollBarEx::LoadThemeValues), true);

}  // namespace

int CSBContainerWnd::s_nScrollSize = 13;
int CSBContainerWnd::s_nScrollImageID = 0;
int CSBContainerWnd::s_nMinSliderSize = 8;

void CSBContainerWnd::LoadThemeValues() {
  const int size = GetThemeInt("SBContainer", "ScrollSize", s_nScrollSize);
  // A bar thinner than one pixel or wider than a screen is a broken theme.
  if (size > 0 && size < 256) s_nScrollSize = size;
  s_nScrollImageID = GetThemeInt("SBContainer", "ScrollImageID", s_nScrollImageID);
  const int minThumb = GetThemeInt("SBContainer", "MinSliderSize", s_nMinSliderSize);
  if (minThumb >= 0 && minThumb < 4096) s_nMinSliderSize = minThumb;
}

CSBContainerWnd::CSBContainerWnd()
    : m_pHosted(nullptr), m_cxVert(13), m_cyHorz(13), m_cxLast(-1), m_cyLast(-1), m_bCreating(FALSE) {
  RegisterContainerClass();
}

CSBContainerWnd::~CSBContainerWnd() {
  if (m_hWnd) DestroyWindow();
}

BOOL CSBContainerWnd::Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwStyle) {
  m_bCreating = TRUE;
  const BOOL ok = CWnd::CreateEx(0, kContainerClass, "", dwStyle, rect, pParentWnd, nID);
  m_bCreating = FALSE;
  return ok ? CreateScrollBars() : FALSE;
}

BOOL CSBContainerWnd::CreateScrollBars() {
  ModifyStyle(0, WS_CLIPCHILDREN);
  const CRect none(0, 0, 0, 0);
  for (ScrollBarEx* bar : {&m_wndHorz, &m_wndVert}) {
    const DWORD style = WS_CHILD | WS_VISIBLE | (bar == &m_wndVert ? SBS_VERT : 0);
    if (!bar->Create(style, none, this, bar == &m_wndVert ? ID_VERT : ID_HORZ)) return FALSE;
    bar->SetThumbColor(0xFFD7C6);
    bar->SetHotColor(0xFFB694, TRUE);
    bar->SetTrackColor(0xBBAAAA);
  }
  ApplyTheme();
  return TRUE;
}

void CSBContainerWnd::ApplyTheme() {
  for (ScrollBarEx* bar : {&m_wndHorz, &m_wndVert}) {
    bar->SetMinThumbSize(s_nMinSliderSize);
    bar->SetArrowLength(s_nScrollSize);
  }
  SetBarThickness(s_nScrollSize, s_nScrollSize);
  SetPartSizes(SB_BOTH, s_nScrollSize, s_nScrollSize, s_nScrollSize, s_nScrollSize);
  SetScrollImage(SB_BOTH, s_nScrollImageID ? LoadThemeBitmap(s_nScrollImageID, "QKImage") : nullptr);
}

void CSBContainerWnd::SetPartSizes(int nBar, int a, int b, int c, int d) {
  if (nBar == SB_HORZ || nBar == SB_BOTH) m_wndHorz.SetPartSizes(a, b, c, d);
  if (nBar == SB_VERT || nBar == SB_BOTH) m_wndVert.SetPartSizes(a, b, c, d);
}

void CSBContainerWnd::SetScrollImage(int nBar, HBITMAP hBitmap) {
  if (nBar == SB_HORZ || nBar == SB_VERT) {
    (nBar == SB_HORZ ? m_wndHorz : m_wndVert).SetImage(TRUE, hBitmap);
    return;
  }
  if (nBar != SB_BOTH) {
    if (hBitmap) ::DeleteObject(hBitmap);
    return;
  }
  // The horizontal bar takes (and deletes) the bitmap; the vertical one a bitmap of its own
  // made from a copy. Without a bitmap both lose their images (a theme without one).
  CDibImage copy;
  if (hBitmap) copy.LoadFromBitmap(hBitmap);
  if (m_wndHorz.SetImage(TRUE, hBitmap))
    m_wndVert.SetImage(TRUE, copy.CreateBitmap());
  else
    m_wndVert.SetImage(TRUE, nullptr);
}

ScrollBarEx* CSBContainerWnd::GetSkinScrollBar(int nBar) {
  if (nBar == SB_HORZ) return &m_wndHorz;
  if (nBar == SB_VERT) return &m_wndVert;
  return nullptr;
}

CScrollBar* CSBContainerWnd::GetScrollBarCtrl(int nBar) const {
  // Callers only use the CWnd part (the redraw switch).
  CWnd* bar = const_cast<CSBContainerWnd*>(this)->GetSkinScrollBar(nBar);
  return static_cast<CScrollBar*>(bar);
}

int CSBContainerWnd::GetScrollPos(int nBar) {
  ScrollBarEx* bar = GetSkinScrollBar(nBar);
  return bar ? bar->GetScrollPos() : 0;
}

int CSBContainerWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
  ScrollBarEx* bar = GetSkinScrollBar(nBar);
  return bar ? bar->SetScrollPos(nPos, bRedraw) : 0;
}

BOOL CSBContainerWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpInfo, BOOL bRedraw) {
  ScrollBarEx* bar = GetSkinScrollBar(nBar);
  return bar ? bar->SetScrollInfo(lpInfo, bRedraw) : FALSE;
}

BOOL CSBContainerWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpInfo, UINT nMask) {
  ScrollBarEx* bar = GetSkinScrollBar(nBar);
  return bar ? bar->GetScrollInfo(lpInfo, nMask) : FALSE;
}

void CSBContainerWnd::ShowScrollBar(int nBar, BOOL bShow) {
  if (nBar != SB_HORZ && nBar != SB_VERT && nBar != SB_BOTH) return;
  if (nBar != SB_VERT) m_wndHorz.ShowBar(bShow);
  if (nBar != SB_HORZ) m_wndVert.ShowBar(bShow);
  if (m_pHosted) LayOut();
}

void CSBContainerWnd::SetBarThickness(int cx, int cy) {
  if (cx == m_cxVert && cy == m_cyHorz) return;
  m_cxVert = cx, m_cyHorz = cy;
  ShowScrollBar(SB_HORZ, m_wndHorz.IsBarVisible());
  ShowScrollBar(SB_VERT, m_wndVert.IsBarVisible());
}

void CSBContainerWnd::LayOut() {
  if (!m_hWnd) return;
  CRect rc;
  GetClientRect(&rc);
  const BOOL horz = m_wndHorz.IsBarVisible(), vert = m_wndVert.IsBarVisible();
  const BOOL left = (GetExStyle() & WS_EX_LEFTSCROLLBAR) != 0;
  if (horz && m_wndHorz.GetSafeHwnd()) {
    CRect r(rc.left, rc.bottom - m_cyHorz, rc.right, rc.bottom);
    if (vert) (left ? r.left : r.right) += left ? m_cxVert : -m_cxVert;
    m_wndHorz.MoveWindow(&r);
  }
  if (vert && m_wndVert.GetSafeHwnd()) {
    CRect r = left ? CRect(rc.left, rc.top, rc.left + m_cxVert, rc.bottom)
                   : CRect(rc.right - m_cxVert, rc.top, rc.right, rc.bottom);
    if (horz) r.bottom -= m_cyHorz;
    m_wndVert.MoveWindow(&r);
  }
  CRect host = rc;
  if (horz) host.bottom -= m_cyHorz;
  if (vert) (left ? host.left : host.right) += left ? m_cxVert : -m_cxVert;
  if (m_pHosted && m_pHosted->GetSafeHwnd() && !host.IsRectEmpty()) m_pHosted->MoveWindow(&host);
  Invalidate(FALSE);
}

void CSBContainerWnd::OnSizeChanged(int cx, int cy) {
  const BOOL first = m_cxLast == -1;
  m_cxLast = cx, m_cyLast = cy;
  if (first) return;
  if (m_pHosted && !m_pHosted->GetSafeHwnd()) return;
  m_wndHorz.SetBarRedraw(FALSE);
  m_wndVert.SetBarRedraw(FALSE);
  LayOut();
  m_wndHorz.SetBarRedraw(TRUE);
  m_wndVert.SetBarRedraw(TRUE);
}

void CSBContainerWnd::DrawSizeBox(CDC* pDC, const CRect& rect) {
  if (!m_wndVert.GetSafeHwnd()) {
    pDC->FillSolidRect(&rect, 0x808080);
    return;
  }
  SBEX_DRAWPART req{pDC, rect, (GetExStyle() & WS_EX_LEFTSCROLLBAR) ? 7 : 6, 0};
  m_wndVert.DrawPart(&req);
}

void CSBContainerWnd::PaintSizeBox() {
  PAINTSTRUCT ps;
  CDC* pDC = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
  if (IsWindowVisible() && m_wndHorz.IsBarVisible() && m_wndVert.IsBarVisible() && m_wndHorz.GetSafeHwnd() &&
      m_wndVert.GetSafeHwnd()) {
    CRect h, v;
    m_wndHorz.GetWindowRect(&h);
    m_wndVert.GetWindowRect(&v);
    ScreenToClient(&h);
    ScreenToClient(&v);
    const BOOL left = (GetExStyle() & WS_EX_LEFTSCROLLBAR) != 0;
    CRect box(left ? v.left : h.right, h.top, left ? h.left : v.right, h.bottom);
    DrawSizeBox(pDC, box);
  }
  ::EndPaint(m_hWnd, &ps);
}

void CSBContainerWnd::OnThemeChanged() {
  LoadThemeValues();
  ApplyTheme();
  Invalidate(TRUE);
  CODNcMgrWnd::OnThemeChanged();
}

LRESULT CSBContainerWnd::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT r = CODNcMgrWnd::OnODMessage(message, wParam, lParam);
      if (r != -1) ::SetPropA(m_hWnd, "SBContainer", (HANDLE)(INT_PTR)0x100D);
      return r;
    }
    case WM_NCDESTROY:
      ::RemovePropA(m_hWnd, "SBContainer");
      break;
    case WM_SIZE: {
      const LRESULT r = CODNcMgrWnd::OnODMessage(message, wParam, lParam);
      OnSizeChanged(LOWORD(lParam), HIWORD(lParam));
      return r;
    }
    case WM_PAINT:
      PaintSizeBox();
      return 0;
    case WM_ERASEBKGND:
      if (m_pHosted) return 1;
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (m_pHosted && m_pHosted->GetSafeHwnd()) m_pHosted->SendMessage(message, wParam, 0);
      return 0;
    case WM_NOTIFY:
      if (m_pHosted && lParam && ((NMHDR*)lParam)->hwndFrom == m_pHosted->GetSafeHwnd() && GetParent())
        return GetParent()->SendMessage(WM_NOTIFY, wParam, lParam);
      break;
    case WM_COMMAND:
      if (m_pHosted && GetParent()) return GetParent()->SendMessage(WM_COMMAND, wParam, lParam);
      break;
    case WM_MOUSEWHEEL:
      if (m_pHosted && m_pHosted->GetSafeHwnd() && !(LOWORD(wParam) & (MK_SHIFT | MK_CONTROL))) {
        m_pHosted->SendMessage(WM_MOUSEWHEEL, wParam, lParam);
        return 1;
      }
      break;
  }
  return CODNcMgrWnd::OnODMessage(message, wParam, lParam);
}
