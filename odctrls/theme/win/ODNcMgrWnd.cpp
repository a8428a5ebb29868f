#include "ODNcMgrWnd.h"

#include "ODTheme.h"
#include "ODThemeImage.h"

void DrawBitmapTiled(HDC hDC, const RECT& rc, HBITMAP hBitmap, int nMode) {
  BITMAP bm = {};
  if (!hDC || !hBitmap || !::GetObjectA(hBitmap, sizeof(bm), &bm)) return;
  int bw = bm.bmWidth, bh = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (bw <= 0 || bh <= 0 || w <= 0 || h <= 0) return;
  HDC mem = ::CreateCompatibleDC(hDC);
  HGDIOBJ old = ::SelectObject(mem, hBitmap);
  if (nMode == ODTILE_REPEAT) {
    for (int y = 0; y < h; y += bh)
      for (int x = 0; x < w; x += bw)
        ::BitBlt(hDC, rc.left + x, rc.top + y, bw < w - x ? bw : w - x, bh < h - y ? bh : h - y, mem, 0, 0, SRCCOPY);
  } else if (nMode == ODTILE_CORNER) {
    ::BitBlt(hDC, rc.left, rc.top, bw < w ? bw : w, bh < h ? bh : h, mem, 0, 0, SRCCOPY);
  } else {
    int oldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
    ::StretchBlt(hDC, rc.left, rc.top, w, h, mem, 0, 0, bw, bh, SRCCOPY);
    ::SetStretchBltMode(hDC, oldMode);
  }
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}

COLORREF CODNcMgrWnd::s_crBorder = 0xFF0000;

namespace {
// Registers the class loader before the program's main code runs.
const bool g_loaderSet = (SetThemeClassLoader("ODNcMgrWnd", &CODNcMgrWnd::LoadThemeValues), true);
}  // namespace

void CODNcMgrWnd::LoadThemeValues() {
  s_crBorder = COLORREF(GetThemeInt("ODNcMgrWnd", "ColorBorder", int(s_crBorder)));
}

IMPLEMENT_DYNAMIC(CODNcMgrWnd, CWnd)

CODNcMgrWnd::CODNcMgrWnd()
    : CODWnd<CWnd>("ODNcMgrWnd", 0x1007),
      m_crBorder(s_crBorder),
      m_bOwnColour(FALSE),
      m_bNcPaint(TRUE),
      m_hBackground(nullptr),
      m_nBackgroundMode(0) {}

CODNcMgrWnd::~CODNcMgrWnd() {
  if (m_hBackground) ::DeleteObject(m_hBackground);
}

void CODNcMgrWnd::SetRedraw(BOOL bRedraw) {
  m_bNcPaint = bRedraw;
  ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0);
  CWnd* parent = GetParent();
  if (parent && parent->GetRuntimeClass() &&
      lstrcmpA(parent->GetRuntimeClass()->m_lpszClassName, "CSBContainerWnd") == 0) {
    for (int bar : {SB_HORZ, SB_VERT})
      if (CWnd* sb = (CWnd*)parent->GetScrollBarCtrl(bar))
        if (sb->GetSafeHwnd()) ::SendMessageA(sb->GetSafeHwnd(), WM_SETREDRAW, bRedraw, 0);
  }
  if (bRedraw) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
  }
}

void CODNcMgrWnd::RefreshBorder() {
  if (!m_bOwnColour) m_crBorder = s_crBorder;
  if (m_hWnd) ::PostMessageA(m_hWnd, WM_NCPAINT, 0, 0);
}

BOOL CODNcMgrWnd::SetBackgroundImage(HBITMAP hBitmap, int nDrawMode) {
  if (m_hBackground) ::DeleteObject(m_hBackground);
  m_hBackground = hBitmap ? CopyToDib32(hBitmap, nullptr, nullptr, nullptr) : nullptr;
  m_nBackgroundMode = nDrawMode;
  return m_hBackground != nullptr || !hBitmap ? TRUE : FALSE;
}

void CODNcMgrWnd::DrawBackground(HDC hDC, const RECT& rc) {
  if (m_hBackground) DrawBitmapTiled(hDC, rc, m_hBackground, m_nBackgroundMode);
}

void CODNcMgrWnd::PaintBorder() {
  if (!(::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_BORDER)) return;
  HRGN probe = ::CreateRectRgn(0, 0, 0, 0);
  int kind = ::GetWindowRgn(m_hWnd, probe);
  ::DeleteObject(probe);
  if (kind != ERROR) return;  // a shaped window keeps its own edge
  RECT wr;
  ::GetWindowRect(m_hWnd, &wr);
  HDC dc = ::GetWindowDC(m_hWnd);
  if (!dc) return;
  HPEN pen = ::CreatePen(PS_SOLID, 1, m_crBorder);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(dc, 0, 0, wr.right - wr.left, wr.bottom - wr.top);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
  ::DeleteObject(pen);
  ::ReleaseDC(m_hWnd, dc);
}

void CODNcMgrWnd::OnThemeChanged() {
  LoadThemeValues();
  RefreshBorder();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CODNcMgrWnd::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      if (r != -1) RefreshBorder();
      return r;
    }
    case WM_NCDESTROY:
      ::RemovePropA(m_hWnd, "ODCtrl");
      ::RemovePropA(m_hWnd, "ODNcMgrWnd");
      break;
    case WM_NCPAINT: {
      if (!::IsWindowVisible(m_hWnd) || !m_bNcPaint) return 0;
      LRESULT r = DefaultProc(message, wParam, lParam);
      PaintBorder();
      return r;
    }
  }
  return DefaultProc(message, wParam, lParam);
}
