#include "CoolButton.h"

#include <string>

#include "SkinLayout.h"
#include "SkinTheme.h"

IMPLEMENT_DYNAMIC(CCoolButton, CButton)
IMPLEMENT_DYNAMIC(CQKBitmapButton2, CButton)
IMPLEMENT_DYNCREATE(CQKToolTipCtrl, CToolTipCtrl)

BEGIN_MESSAGE_MAP(CQKToolTipCtrl, CToolTipCtrl)
  ON_MESSAGE(WM_DISABLEMODAL, &CQKToolTipCtrl::OnDisableModal)
END_MESSAGE_MAP()

namespace {
const char* const kGenericButton = "dlgbutton.bmp";

// Five-cell strips: the shape of the first cell, cut by the fifth (mask) cell's key.
HRGN FiveCellRegion(HBITMAP strip, int cellW, int h) {
  HRGN shape = BitmapToRegionKeyed(strip, -1, -1);
  if (!shape) return nullptr;
  ::OffsetRgn(shape, -4 * cellW, 0);
  HRGN cell = ::CreateRectRgn(0, 0, cellW, h);
  ::CombineRgn(cell, cell, shape, RGN_AND);
  ::DeleteObject(shape);
  return cell;
}
}  // namespace

// ---- CCoolButton ------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCoolButton, CButton)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_WM_TIMER()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CCoolButton::CCoolButton()
    : m_bUseAlternate(FALSE),
      m_nCtrlID(0),
      m_nLastState(-1),
      m_nHoverSound(0),
      m_nPressSound(0),
      m_bKeyed(FALSE),
      m_crKey(0),
      m_bFiveCells(FALSE),
      m_nBlink(0),
      m_nCellWidth(0),
      m_bGeneric(FALSE) {}

CCoolButton::~CCoolButton() = default;

BOOL CCoolButton::Prepare(CWnd* pParent, UINT nID, BOOL bSubclass) {
  if (bSubclass && !m_hWnd && !SubclassDlgItem(nID, pParent)) return FALSE;
  m_nCtrlID = nID;
  // Drawn by us in every case (a button without a picture draws the system look).
  if (m_hWnd) ModifyStyle(0x0F, BS_OWNERDRAW, 0);
  return TRUE;
}

BOOL CCoolButton::ApplyImage(const char* path, BOOL bFiveCells) {
  m_bFiveCells = bFiveCells;
  if (!m_image.LoadFile(path)) {
    m_image.DeleteObject();
    return FALSE;  // keeps its template size and the system look
  }
  int w = 0, h = 0;
  m_image.GetSize(w, h);
  m_nCellWidth = w / (bFiveCells ? 5 : 4);
  if (m_hWnd && m_nCellWidth > 0) {
    SetWindowPos(nullptr, 0, 0, m_nCellWidth, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (bFiveCells) {
      HRGN rgn = FiveCellRegion((HBITMAP)m_image.GetSafeHandle(), m_nCellWidth, h);
      if (rgn && !SetWindowRgn(rgn, FALSE)) ::DeleteObject(rgn);
    }
  }
  return TRUE;
}

BOOL CCoolButton::LoadSkin(CWnd* pParent, UINT nID, const char* section, const char* key, UINT nHoverSound,
                           UINT nPressSound, BOOL bSubclass) {
  if (!Prepare(pParent, nID, bSubclass)) return FALSE;
  std::string value = SkinThemeString(section, key, "");
  if (value.empty()) value = SkinThemeString(kSkinDialogSection, key, "");
  m_bGeneric = value.empty();
  if (m_bGeneric) value = kGenericButton;
  bool fiveCells = false;
  std::string name = skin::ImageNameOf(value, &fiveCells);
  m_nHoverSound = nHoverSound;
  m_nPressSound = nPressSound;
  return ApplyImage(SkinImagePath(name).c_str(), fiveCells);
}

BOOL CCoolButton::LoadFile(CWnd* pParent, UINT nID, const char* path, BOOL bSubclass) {
  if (!Prepare(pParent, nID, bSubclass)) return FALSE;
  m_bGeneric = FALSE;
  return ApplyImage(path, FALSE);
}

BOOL CCoolButton::LoadFileKeyed(CWnd* pParent, UINT nID, const char* path, BOOL bKeyed) {
  if (!Prepare(pParent, nID, FALSE)) return FALSE;
  m_bGeneric = FALSE;
  BOOL ok = ApplyImage(path, FALSE);
  m_bKeyed = ok && bKeyed;
  if (m_bKeyed) {
    HDC mem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(mem, m_image.GetSafeHandle());
    m_crKey = ::GetPixel(mem, 0, 0);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
  }
  return ok;
}

BOOL CCoolButton::IsOver() const {
  if (!m_hWnd) return FALSE;
  POINT pt;
  ::GetCursorPos(&pt);
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  if (!::PtInRect(&rc, pt)) return FALSE;
  HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
  int kind = ::GetWindowRgn(m_hWnd, rgn);
  BOOL inside = kind == ERROR || ::PtInRegion(rgn, pt.x - rc.left, pt.y - rc.top);
  ::DeleteObject(rgn);
  if (!inside) return FALSE;
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return TRUE;
  POINT client = pt;
  ::ScreenToClient(parent, &client);
  return ::ChildWindowFromPointEx(parent, client, CWP_SKIPINVISIBLE) == m_hWnd;
}

void CCoolButton::Track() {
  if (!IsWindowEnabled() && m_nLastState != 3) return;
  if (IsOver()) {
    if (::GetCapture() != m_hWnd) SetCapture();
    if (::GetKeyState(VK_LBUTTON) < 0) {
      if (m_nLastState == 2) return;
      SkinPlaySound(m_nPressSound);
    } else {
      if (m_nLastState == 1) return;
      SkinPlaySound(m_nHoverSound);
    }
  } else {
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (m_nLastState == 0) return;
  }
  Invalidate(FALSE);
}

void CCoolButton::OnMouseMove(UINT nFlags, CPoint point) {
  Track();
  CButton::OnMouseMove(nFlags, point);
}

void CCoolButton::OnLButtonDown(UINT nFlags, CPoint point) {
  Track();
  CButton::OnLButtonDown(nFlags, point);
}

void CCoolButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  Track();
  CButton::OnLButtonDblClk(nFlags, point);
}

void CCoolButton::OnCaptureChanged(CWnd* pWnd) {
  Track();
  CButton::OnCaptureChanged(pWnd);
}

void CCoolButton::OnLButtonUp(UINT nFlags, CPoint point) {
  (void)nFlags;
  (void)point;
  if (IsOver()) {
    HWND target = ::GetWindow(m_hWnd, GW_OWNER);
    if (!target) target = ::GetParent(m_hWnd);
    if (target) ::PostMessageA(target, WM_COMMAND, MAKEWPARAM(m_nCtrlID ? m_nCtrlID : GetDlgCtrlID(), 0), 0);
  }
  // The button's own click processing does not run; its pushed look is undone here.
  SendMessage(BM_SETSTATE, FALSE);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  Track();
}

void CCoolButton::OnTimer(UINT_PTR nIDEvent) {
  CButton::OnTimer(nIDEvent);
  if (!IsWindowEnabled() || (m_nLastState != 0 && m_nLastState != 1) || !IsOver() || !HasImage()) return;
  HDC dc = ::GetDC(m_hWnd);
  RECT rc;
  GetClientRect(&rc);
  DrawCell(dc, rc, m_nBlink);
  ::ReleaseDC(m_hWnd, dc);
  m_nBlink = m_nBlink ? 0 : 1;
}

BOOL CCoolButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CCoolButton::DrawCell(HDC dc, const RECT& rc, int cell) {
  CQKBitmap* image = (m_bUseAlternate && m_alternate.GetSafeHandle()) ? &m_alternate : &m_image;
  int w = 0, h = 0;
  image->GetSize(w, h);
  POINT src = {cell * m_nCellWidth, 0};
  SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
  if (m_bKeyed) {
    // The parent's pixels under the button first, then the cell with its key colour clear.
    HWND parent = ::GetParent(m_hWnd);
    if (parent) {
      RECT wr;
      ::GetWindowRect(m_hWnd, &wr);
      POINT origin = {wr.left, wr.top};
      ::ScreenToClient(parent, &origin);
      HDC pdc = ::GetDC(parent);
      ::BitBlt(dc, rc.left, rc.top, size.cx, size.cy, pdc, origin.x, origin.y, SRCCOPY);
      ::ReleaseDC(parent, pdc);
    }
    CDC* pDC = CDC::FromHandle(dc);
    RECT dest = {rc.left, rc.top, rc.left + size.cx, rc.top + size.cy};
    DrawBitmapKeyed(pDC, dest, (HBITMAP)image->GetSafeHandle(), src, POINT{0, 0});
  } else if (m_bFiveCells) {
    POINT mask = {4 * m_nCellWidth, 0};
    image->Draw(dc, rc.left, rc.top, 0, 0, QKBMP_TRANSPARENT, &src, &mask, &size);
  } else {
    image->Draw(dc, rc.left, rc.top, 0, 0, 0, &src, nullptr, &size);
  }
}

void CCoolButton::DrawPlain(HDC dc, const RECT& rc, int state) {
  RECT r = rc;
  UINT flags = DFCS_BUTTONPUSH;
  if (state == 2) flags |= DFCS_PUSHED;
  if (state == 3) flags |= DFCS_INACTIVE;
  ::DrawFrameControl(dc, &r, DFC_BUTTON, flags);
}

void CCoolButton::DrawCaption(HDC dc, const RECT& rc, int state, BOOL bFocus) {
  char text[256] = "";
  ::GetWindowTextA(m_hWnd, text, sizeof text);
  HFONT font = (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0);
  HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc,
                 state == 3 ? RGB(150, 156, 164) : (HasImage() ? RGB(0x1E, 0x2A, 0x3A) : ::GetSysColor(COLOR_BTNTEXT)));
  RECT r = rc;
  if (state == 2) ::OffsetRect(&r, 1, 1);
  ::DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (bFocus && state != 3) {
    RECT f = rc;
    ::InflateRect(&f, -3, -3);
    ::DrawFocusRect(dc, &f);
  }
  if (old) ::SelectObject(dc, old);
}

void CCoolButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  int state;
  if (!IsWindowEnabled())
    state = 3;
  else if (IsOver())
    state = 1 + (::GetKeyState(VK_LBUTTON) < 0 ? 1 : 0);
  else
    state = 0;
  HDC dc = lpDrawItemStruct->hDC;
  const RECT& rc = lpDrawItemStruct->rcItem;
  if (HasImage())
    DrawCell(dc, rc, state);
  else
    DrawPlain(dc, rc, state);
  if (DrawsCaption()) DrawCaption(dc, rc, state, (lpDrawItemStruct->itemState & ODS_FOCUS) != 0);
  m_nLastState = state;
}

// ---- CQKBitmapButton2 --------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CQKBitmapButton2, CButton)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CQKBitmapButton2::CQKBitmapButton2()
    : m_bUseAlternate(FALSE),
      m_bShape(FALSE),
      m_nHoverSound(0),
      m_nPressSound(0),
      m_bSounds(FALSE),
      m_hRegion(nullptr),
      m_bOutside(TRUE),
      m_nCellMode(2),
      m_nCellWidth(0),
      m_nCellHeight(0) {}

CQKBitmapButton2::~CQKBitmapButton2() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::SetWindowRgn(m_hWnd, nullptr, FALSE);
  if (m_hRegion) ::DeleteObject(m_hRegion);
}

BOOL CQKBitmapButton2::LoadSkin(UINT nID, const char* section, const char* key, CWnd* pParent, UINT nHoverSound,
                                UINT nPressSound, BOOL bSubclass, BOOL bShape) {
  if (bSubclass && !m_hWnd && !SubclassDlgItem(nID, pParent)) return FALSE;
  std::string value = SkinThemeString(section, key, "");
  if (value.empty()) value = SkinThemeString(kSkinDialogSection, key, "");
  if (value.empty()) return FALSE;
  CQKBitmap image;
  if (!image.LoadFile(SkinImagePath(value).c_str())) return FALSE;
  m_image.DeleteObject();
  m_image.Attach(image.Detach());
  int w = 0, h = 0;
  m_image.GetSize(w, h);
  m_bShape = bShape;
  m_nCellHeight = h;
  if (m_hWnd) ModifyStyle(0x0F, BS_OWNERDRAW, 0);
  if (!bShape) {
    m_nCellMode = 2;
    m_nCellWidth = w / 4;
    if (m_hWnd) SetWindowPos(nullptr, 0, 0, m_nCellWidth, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  } else {
    m_nCellMode = 6;
    m_nCellWidth = w / 5;
    if (m_hWnd) {
      CRect rc;
      GetWindowRect(&rc);
      if (CWnd* parent = GetParent()) parent->ScreenToClient(&rc);
      MoveWindow(rc.left, rc.top, m_nCellWidth, h, FALSE);
      HRGN rgn = FiveCellRegion((HBITMAP)m_image.GetSafeHandle(), m_nCellWidth, h);
      if (rgn) {
        if (m_hRegion) {
          ::SetWindowRgn(m_hWnd, nullptr, FALSE);
          ::DeleteObject(m_hRegion);
        }
        // The window gets a copy; the button keeps its own handle for its lifetime.
        m_hRegion = rgn;
        HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(copy, rgn, nullptr, RGN_COPY);
        if (!::SetWindowRgn(m_hWnd, copy, TRUE)) ::DeleteObject(copy);
      }
    }
  }
  m_nHoverSound = nHoverSound;
  m_nPressSound = nPressSound;
  m_bSounds = TRUE;
  return TRUE;
}

BOOL CQKBitmapButton2::IsOver(CPoint point) const {
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  if (!::PtInRect(&rc, point)) return FALSE;
  return !m_hRegion || ::PtInRegion(m_hRegion, point.x, point.y);
}

void CQKBitmapButton2::OnMouseMove(UINT nFlags, CPoint point) {
  CButton::OnMouseMove(nFlags, point);
  if (nFlags & MK_LBUTTON) return;
  if (!IsOver(point)) {
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (::GetFocus() == m_hWnd) ::SetFocus(nullptr);
    m_bOutside = TRUE;
  } else if (m_bOutside) {
    m_bOutside = FALSE;
    if (::GetFocus() != m_hWnd && m_bSounds) SkinPlaySound(m_nHoverSound);
    SetFocus();
    SetCapture();
  }
}

void CQKBitmapButton2::OnLButtonDown(UINT nFlags, CPoint point) {
  if (IsOver(point) && m_bOutside) {
    m_bOutside = FALSE;
    if (::GetFocus() == m_hWnd && m_bSounds) SkinPlaySound(m_nPressSound);
    SetFocus();
    SetCapture();
  }
  CButton::OnLButtonDown(nFlags, point);
}

void CQKBitmapButton2::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CButton::OnLButtonDblClk(nFlags, point);
  OnLButtonDown(nFlags, point);
}

void CQKBitmapButton2::OnLButtonUp(UINT nFlags, CPoint point) {
  CButton::OnLButtonUp(nFlags, point);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (!IsOver(point) && ::GetFocus() == m_hWnd) ::SetFocus(nullptr);
  m_bOutside = TRUE;
}

void CQKBitmapButton2::OnSetFocus(CWnd* pOldWnd) {
  if (m_bOutside) {
    ::SetFocus(nullptr);
    return;
  }
  CButton::OnSetFocus(pOldWnd);
}

void CQKBitmapButton2::OnKillFocus(CWnd* pNewWnd) {
  CButton::OnKillFocus(pNewWnd);
  m_bOutside = TRUE;
}

BOOL CQKBitmapButton2::OnEraseBkgnd(CDC*) { return TRUE; }

void CQKBitmapButton2::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const UINT st = lpDrawItemStruct->itemState;
  CQKBitmap* image = &m_image;
  if ((st & ODS_SELECTED) && m_pressed.GetSafeHandle())
    image = &m_pressed;
  else if ((st & ODS_FOCUS) && m_focus.GetSafeHandle())
    image = &m_focus;
  else if ((st & ODS_DISABLED) && m_disabled.GetSafeHandle())
    image = &m_disabled;
  if (m_bUseAlternate && m_alternate.GetSafeHandle()) image = &m_alternate;
  if (!image->GetSafeHandle()) return;
  int cell = 0;
  if (st & ODS_SELECTED) {
    cell = 2;
    m_bOutside = TRUE;
  } else if (st & ODS_FOCUS) {
    cell = 1;
  } else if (st & ODS_DISABLED) {
    cell = 3;
  }
  const RECT& rc = lpDrawItemStruct->rcItem;
  POINT src = {cell * m_nCellWidth, 0};
  SIZE size = {m_nCellWidth, m_nCellHeight};
  HDC dc = lpDrawItemStruct->hDC;
  if (m_nCellMode == 6) {
    POINT mask = {4 * m_nCellWidth, 0};
    image->Draw(dc, rc.left, rc.top, 0, 0, QKBMP_TRANSPARENT, &src, &mask, &size);
  } else {
    image->Draw(dc, rc.left, rc.top, 0, 0, 0, &src, nullptr, &size);
  }
}
