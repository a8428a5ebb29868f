#include "HoverCtrl.h"

#include <windowsx.h>

#include <vector>

#include "BitmapGrid.h"
#include "resource.h"

int DrawBitmapGrid(HDC hDC, HBITMAP hBitmap, int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
  std::vector<GridPiece> pieces;
  GridKind kind = BitmapGridPieces(w, h, sw, sh, &pieces);
  if (kind == kGridNothing || !hBitmap) return 0;
  HDC mem = ::CreateCompatibleDC(hDC);
  HGDIOBJ old = ::SelectObject(mem, hBitmap);
  if (kind == kGridCopy) {
    ::BitBlt(hDC, x, y, sw, sh, mem, sx, sy, SRCCOPY);
  } else {
    HRGN clip = ::CreateRectRgn(x, y, x + w, y + h);
    ::SelectClipRgn(hDC, clip);
    for (const GridPiece& p : pieces)
      ::BitBlt(hDC, x + p.x, y + p.y, p.srcW, p.srcH, mem, sx + p.srcX, sy + p.srcY, SRCCOPY);
    ::SelectClipRgn(hDC, nullptr);
    ::DeleteObject(clip);
  }
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  return 1;
}

IMPLEMENT_DYNAMIC(CHoverCtrl, CWnd)

CHoverCtrl::CHoverCtrl()
    : CODPaintedWnd<CWnd>(nullptr, 0),
      m_crNormal(RGB(0, 0, 0)),
      m_crHover(RGB(0, 0, 160)),
      m_crPressed(RGB(160, 0, 0)),
      m_crDisabled(::GetSysColor(COLOR_GRAYTEXT)),
      m_crFocus(RGB(0, 0, 0)),
      m_crFill(::GetSysColor(COLOR_BTNFACE)),
      m_nIconOffset(4),
      m_nTextOffset(0),
      m_nFormat(DT_CENTER),
      m_bPressed(FALSE),
      m_bHover(FALSE),
      m_bCaptured(FALSE),
      m_hStates(nullptr) {}

CHoverCtrl::~CHoverCtrl() {
  if (m_hWnd) DestroyWindow();
  if (m_hStates) ::DeleteObject(m_hStates);
}

BOOL CHoverCtrl::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  // A real button underneath turns the click into a command to the parent.
  if (!CWnd::Create("BUTTON", lpszText, dwStyle | BS_OWNERDRAW, rect, pParentWnd, nID)) return FALSE;
  return TRUE;
}

void CHoverCtrl::SetStateImage(HBITMAP hStrip) {
  if (m_hStates) ::DeleteObject(m_hStates);
  m_hStates = hStrip ? (HBITMAP)::CopyImage(hStrip, IMAGE_BITMAP, 0, 0, 0) : nullptr;
  if (m_hWnd) Invalidate();
}

void CHoverCtrl::SetIcon(HBITMAP hIcon, int nOffset) {
  m_icon.Clear();
  if (hIcon && m_icon.LoadFromBitmap(hIcon)) m_icon.SetTransparentTopLeft();
  m_nIconOffset = nOffset;
  if (m_hWnd) Invalidate();
}

void CHoverCtrl::SetColours(COLORREF crNormal, COLORREF crHover, COLORREF crPressed, COLORREF crDisabled,
                            COLORREF crFocus) {
  m_crNormal = crNormal;
  m_crHover = crHover;
  m_crPressed = crPressed;
  m_crDisabled = crDisabled;
  m_crFocus = crFocus;
}

int CHoverCtrl::CurrentFrame() const {
  if (!IsWindowEnabled()) return 3;
  if (m_bHover && m_bPressed) return 2;
  return m_bHover ? 1 : 0;
}

LRESULT CHoverCtrl::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONDOWN:
      m_bPressed = TRUE;
      Invalidate();
      break;
    case WM_LBUTTONUP: {
      m_bPressed = FALSE;
      CRect rc;
      GetClientRect(&rc);
      if (!rc.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) && m_bCaptured) {
        m_bCaptured = FALSE;
        ::ReleaseCapture();
      }
      Invalidate();
      break;
    }
    case WM_CAPTURECHANGED:
      if ((HWND)lParam != m_hWnd) m_bCaptured = FALSE;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case WM_ENABLE:
      Invalidate();
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

void CHoverCtrl::OnMouseMove(CPoint pt) {
  CRect rc;
  GetClientRect(&rc);
  const BOOL inside = rc.PtInRect(pt);
  if (inside) {
    if (!m_bCaptured) {
      ::SetCapture(m_hWnd);
      m_bCaptured = TRUE;
    }
  } else if (m_bCaptured && !m_bPressed) {
    m_bCaptured = FALSE;
    ::ReleaseCapture();
  }
  if (inside != m_bHover) {
    m_bHover = inside;
    Invalidate();
  }
}

void CHoverCtrl::PaintWindow() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  CRect rc;
  GetClientRect(&rc);
  const int frame = CurrentFrame();
  BITMAP bm = {};
  if (m_hStates && ::GetObjectA(m_hStates, sizeof(bm), &bm) && bm.bmWidth >= 4) {
    int fw = bm.bmWidth / 4;
    DrawBitmapGrid(dc, m_hStates, rc.left, rc.top, rc.Width(), rc.Height(), frame * fw, 0, fw, bm.bmHeight);
  } else {
    HBRUSH br = ::CreateSolidBrush(m_crFill);
    ::FillRect(dc, &rc, br);
    ::DeleteObject(br);
  }
  if (!m_icon.IsEmpty()) m_icon.DrawTransparent(dc, nullptr, rc.left + m_nIconOffset, rc.top);
  char text[128] = {};
  ::GetWindowTextA(m_hWnd, text, sizeof(text));
  LOGFONTA lf = {};
  HDC screen = ::GetDC(nullptr);
  lf.lfHeight = -::MulDiv(9, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  lf.lfCharSet = GB2312_CHARSET;
  lstrcpyA(lf.lfFaceName, VESK_FACE_SONG);
  HFONT font = ::CreateFontIndirectA(&lf);
  HGDIOBJ oldFont = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  COLORREF cr = frame == 3               ? m_crDisabled
                : ::GetFocus() == m_hWnd ? m_crFocus
                : frame == 2             ? m_crPressed
                : frame == 1             ? m_crHover
                                         : m_crNormal;
  ::SetTextColor(dc, cr);
  RECT tr = rc;
  ::OffsetRect(&tr, m_nTextOffset, 0);
  ::DrawTextA(dc, text, -1, &tr, m_nFormat | DT_SINGLELINE | DT_VCENTER);
  ::SelectObject(dc, oldFont);
  ::DeleteObject(font);
  ::EndPaint(m_hWnd, &ps);
}
