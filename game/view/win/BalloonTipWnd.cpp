#include "BalloonTipWnd.h"

#include <algorithm>

#include "BalloonCore.h"

BEGIN_MESSAGE_MAP(BalloonTipWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

BalloonTipWnd::BalloonTipWnd()
    : m_pOwner(nullptr),
      m_crBorder(0x3C3C3C),
      m_crFill(0xDCDCDC),
      m_crText(0),
      m_nBorder(1),
      m_nMinW(20),
      m_nMinH(20),
      m_nMaxW(150),
      m_nMaxH(-1),
      m_nMarginX(8),
      m_nMarginY(8),
      m_nTailW(12),
      m_nTailOffset(16),
      m_nCornerW(12),
      m_nCornerH(12),
      m_nAutoHideMs(2000),
      m_nShadowDark(25),
      m_nShadowX(0),
      m_nShadowY(0),
      m_nLineSpacing(2),
      m_nOpacity(70),
      m_nFont(1),
      m_hFont12(nullptr),
      m_hFont14(nullptr),
      m_sizeBody(0, 0),
      m_nAlignment(0),
      m_nPlacement(0),
      m_bVisible(false) {}

BalloonTipWnd::~BalloonTipWnd() {
  if (m_hWnd) DestroyWindow();
  for (HFONT f : {m_hFont12, m_hFont14})
    if (f) ::DeleteObject(f);
}

BOOL BalloonTipWnd::Create(CWnd* pOwner) {
  m_pOwner = pOwner;
  if (!m_hFont12) m_hFont12 = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "");
  if (!m_hFont14) m_hFont14 = ::CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "");
  const char* cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
  return CreateEx(0, cls, "", WS_POPUP | WS_SYSMENU, CRect(0, 0, 1, 1), pOwner, 0);
}

void BalloonTipWnd::SetBorder(COLORREF color, int width) {
  m_crBorder = color;
  m_nBorder = std::max(0, width);
}

void BalloonTipWnd::SetTail(int width, int offset) {
  if (width != 0) m_nTailW = width;
  m_nTailOffset = offset;
}

void BalloonTipWnd::SetMinSize(int w, int h) {
  if (w > 0) m_nMinW = w;
  if (h > 0) m_nMinH = h;
}

BOOL BalloonTipWnd::SetMaxSize(int w, int h) {
  if (w <= 0 || h < -1) return FALSE;
  m_nMaxW = std::max(w, m_nMinW);
  m_nMaxH = h == -1 ? -1 : std::max(h, m_nMinH);
  return TRUE;
}

void BalloonTipWnd::SetOpacity(int percent) {
  if (percent >= 0 && percent <= 100) m_nOpacity = percent;
}

void BalloonTipWnd::SelectFont(int which) { m_nFont = which ? 1 : 0; }

void BalloonTipWnd::Show(const char* text, int x, int y, int anchorX, int anchorY, int alignment) {
  m_ptAt = CPoint(x, y);
  m_ptAnchor = CPoint(anchorX, anchorY);
  m_nAlignment = alignment;
  m_strText = text ? text : "";
  if (!m_hWnd) return;
  ShowWindow(SW_HIDE);
  // Semi-transparent: the layered style with the opacity as alpha.
  ModifyStyleEx(WS_EX_LAYERED, 0);
  ModifyStyleEx(0, WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(m_hWnd, 0, (BYTE)(m_nOpacity * 255 / 100), LWA_ALPHA);
  Layout();
  ShowWindow(SW_SHOWNOACTIVATE);
  m_bVisible = true;
  if (m_nAutoHideMs > 0) SetTimer(IDT_HIDE, (UINT)m_nAutoHideMs, nullptr);
}

void BalloonTipWnd::Hide() {
  m_strText.clear();
  m_lines.clear();
  if (m_hWnd) {
    KillTimer(IDT_HIDE);
    ShowWindow(SW_HIDE);
  }
  m_bVisible = false;
}

// Measures the text, places the body and the tail and shapes the window.
void BalloonTipWnd::Layout() {
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, CurrentFont());
  balloon::Metrics m;
  SIZE a{0, 0}, t{0, 0};
  ::GetTextExtentPoint32A(dc, "a", 1, &a);
  ::GetTextExtentPoint32A(dc, m_strText.c_str(), (int)m_strText.size(), &t);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  m.unit = a.cx;
  m.textW = t.cx;
  m.textH = t.cy;
  m.marginX = m_nMarginX;
  m.marginY = m_nMarginY;
  m.lineSpacing = m_nLineSpacing;
  m.minW = m_nMinW;
  m.minH = m_nMinH;
  m.maxW = m_nMaxW;
  m.maxH = m_nMaxH;
  const balloon::Size body = balloon::MeasureBody(m_strText, m, &m_lines);
  m_sizeBody = CSize(body.w, body.h);
  int L = 0, T = 0;
  balloon::BodyOrigin(m_nAlignment, m_ptAt.x, m_ptAt.y, body.w, body.h, &L, &T);
  m_nPlacement = balloon::ChoosePlacement(L, T, L + body.w, T + body.h, m_ptAnchor.x, m_ptAnchor.y);
  // The window holds the body and the anchor.
  const int left = std::min(L, (int)m_ptAnchor.x), top = std::min(T, (int)m_ptAnchor.y);
  const int right = std::max(L + body.w, (int)m_ptAnchor.x + 1), bottom = std::max(T + body.h, (int)m_ptAnchor.y + 1);
  m_ptBody = CPoint(L - left, T - top);
  HRGN rgn = ::CreateRoundRectRgn(m_ptBody.x, m_ptBody.y, m_ptBody.x + body.w + 1, m_ptBody.y + body.h + 1, m_nCornerW,
                                  m_nCornerH);
  int x1, y1, x2, y2;
  balloon::TailBase(m_nPlacement, body.w, body.h, m_nTailW, m_nTailOffset, &x1, &y1, &x2, &y2);
  POINT tail[3] = {{m_ptAnchor.x - left, m_ptAnchor.y - top},
                   {m_ptBody.x + x1, m_ptBody.y + y1},
                   {m_ptBody.x + x2, m_ptBody.y + y2}};
  HRGN tr = ::CreatePolygonRgn(tail, 3, WINDING);
  ::CombineRgn(rgn, rgn, tr, RGN_OR);
  ::DeleteObject(tr);
  POINT origin{left, top};
  if (m_pOwner && m_pOwner->GetSafeHwnd()) ::ClientToScreen(m_pOwner->GetSafeHwnd(), &origin);
  SetWindowPos(nullptr, origin.x, origin.y, right - left + m_nShadowX, bottom - top + m_nShadowY,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowRgn(m_hWnd, rgn, TRUE);  // the window owns the region now
}

void BalloonTipWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  CRect rc;
  GetClientRect(&rc);
  HBRUSH fill = ::CreateSolidBrush(m_crFill);
  ::FillRect(dc, &rc, fill);
  ::DeleteObject(fill);
  HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
  if (::GetWindowRgn(m_hWnd, rgn) != ERROR && m_nBorder > 0) {
    HBRUSH frame = ::CreateSolidBrush(m_crBorder);
    ::FrameRgn(dc, rgn, frame, m_nBorder, m_nBorder);
    ::DeleteObject(frame);
  }
  ::DeleteObject(rgn);
  HGDIOBJ old = ::SelectObject(dc, CurrentFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, m_crText);
  RECT text{m_ptBody.x + m_nMarginX, m_ptBody.y + m_nMarginY, m_ptBody.x + m_sizeBody.cx - m_nMarginX,
            m_ptBody.y + m_sizeBody.cy - m_nMarginY};
  const int lineH = (text.bottom - text.top) / std::max<int>(1, (int)m_lines.size());
  for (size_t i = 0; i < m_lines.size(); ++i) {
    RECT r{text.left, text.top + (int)i * lineH, text.right, text.top + (int)(i + 1) * lineH};
    ::DrawTextA(dc, m_lines[i].c_str(), (int)m_lines[i].size(), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  ::SelectObject(dc, old);
  ::EndPaint(m_hWnd, &ps);
}

void BalloonTipWnd::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == IDT_HIDE) Hide();
}

void BalloonTipWnd::OnLButtonUp(UINT, CPoint) { Hide(); }
void BalloonTipWnd::OnRButtonUp(UINT, CPoint) { Hide(); }
