#include "ODButton.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeImage.h"
#include "ODThemeSections.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_buttonLoader = (SetThemeClassLoader("ODButton", &LoadODButtonTheme), true);
}  // namespace

IMPLEMENT_DYNAMIC(CODButton, CButton)

CODButton::CODButton()
    : CODWnd<CButton>("ODButton", 0x1008),
      m_bTrackHover(TRUE),
      m_bHover(FALSE),
      m_bDefault(FALSE),
      m_bCheckBox(FALSE),
      m_bRadio(FALSE),
      m_pMenuTarget(nullptr),
      m_bMenuOpen(FALSE),
      m_hCursor(nullptr),
      m_bTrackInactive(FALSE),
      m_nChecked(0),
      m_hNotify(nullptr),
      m_nNotifyMsg(0),
      m_lNotifyParam(0),
      m_hSoundModule(nullptr),
      m_dwSoundFlags(0) {
  ResetColours();
  for (HBITMAP& h : m_hImages) h = nullptr;
}

CODButton::~CODButton() { FreeImages(); }

void CODButton::FreeImages() {
  for (HBITMAP& h : m_hImages) {
    if (h) ::DeleteObject(h);
    h = nullptr;
  }
}

void CODButton::LoadImages() {
  FreeImages();
  const ODButtonTheme& t = ODButtonValues();
  const int ids[IMG_COUNT] = {t.nImageChecked,   t.nImageUnchecked, t.nImageRadioed,
                              t.nImageUnradioed, t.nImageOut,       t.nImageIn};
  for (int i = 0; i < IMG_COUNT; ++i)
    if (ids[i] > 0) m_hImages[i] = LoadThemeBitmap(UINT(ids[i]), "QKImage");
  FitToFace();
}

namespace {
// The key colour of each picture: -1 none.
int KeyOf(const ODButtonTheme& t, int nWhich) {
  const int keys[CODButton::IMG_COUNT] = {t.nTransChecked,   t.nTransUnchecked, t.nTransRadioed,
                                          t.nTransUnradioed, t.nTransOut,       t.nTransIn};
  return keys[nWhich];
}
}  // namespace

// A push button with a face takes the face's size ("SetSizeToContent") and, with a key
// colour, the face's shape ("DefaultMakeIrregular").
void CODButton::FitToFace() {
  if (!m_hWnd || m_bCheckBox || m_bRadio || !m_hImages[IMG_OUT]) return;
  const ODButtonTheme& t = ODButtonValues();
  BITMAP bm = {};
  ::GetObjectA(m_hImages[IMG_OUT], sizeof(bm), &bm);
  if (t.bSizeToContent && bm.bmWidth > 0 && bm.bmHeight > 0)
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int key = KeyOf(t, IMG_OUT);
  if (t.bMakeIrregular && key != -1) {
    HRGN shape = KeyedRegionFromBitmap(m_hImages[IMG_OUT], COLORREF(key));
    if (shape) ::SetWindowRgn(m_hWnd, shape, TRUE);  // the window owns it now
  }
}

void CODButton::DrawPicture(HDC hDC, int nWhich, const RECT& dst, BOOL bStretch) {
  HBITMAP bmp = m_hImages[nWhich];
  if (!bmp) return;
  BITMAP bm = {};
  ::GetObjectA(bmp, sizeof(bm), &bm);
  const int w = bStretch ? dst.right - dst.left : bm.bmWidth, h = bStretch ? dst.bottom - dst.top : bm.bmHeight;
  HDC mem = ::CreateCompatibleDC(hDC);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  const int key = KeyOf(ODButtonValues(), nWhich);
  if (key == -1)
    ::StretchBlt(hDC, dst.left, dst.top, w, h, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  else
    ::TransparentBlt(hDC, dst.left, dst.top, w, h, mem, 0, 0, bm.bmWidth, bm.bmHeight, UINT(key));
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}

void CODButton::ResetColours() {
  const ODButtonTheme& t = ODButtonValues();
  const COLORREF src[CLR_COUNT] = {t.crBkIn,          t.crFgIn,       t.crBkOut,       t.crFgOut,
                                   t.crBkFocus,       t.crFgFocus,    t.crSolidBorder, t.cr3DTopLeft,
                                   t.cr3DBottomRight, t.crCheckFgIn,  t.crCheckFgOut,  t.crCheckFgFocus,
                                   t.crRadioFgIn,     t.crRadioFgOut, t.crRadioFgFocus};
  for (int i = 0; i < CLR_COUNT; ++i) {
    m_colours[i] = src[i];
    m_colourData[i] = 0;
  }
}

BOOL CODButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  UINT type = dwStyle & 0x0F;
  m_bCheckBox = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
  m_bRadio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
  m_bDefault = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
  return CButton::Create(lpszCaption, (dwStyle & ~0x0F) | BS_OWNERDRAW, rect, pParentWnd, nID);
}

BOOL CODButton::SetMenu(HMENU hMenu, CWnd* pTarget) {
  if (!hMenu || !m_menu.Attach(hMenu)) return FALSE;
  m_menu.ConvertItems();
  m_pMenuTarget = pTarget;
  return TRUE;
}

void CODButton::SetSounds(LPCSTR lpszHover, LPCSTR lpszClick, HMODULE hModule, DWORD dwFlags) {
  m_strHoverSound = lpszHover ? lpszHover : "";
  m_strClickSound = lpszClick ? lpszClick : "";
  m_hSoundModule = hModule;
  m_dwSoundFlags = dwFlags;
}

void CODButton::PlaySoundOf(const CString& name) {
  if (!name.IsEmpty()) ::PlaySoundA(name, m_hSoundModule, m_dwSoundFlags | SND_ASYNC | SND_NODEFAULT);
}

void CODButton::OnThemeChanged() {
  ResetColours();
  LoadImages();
}

LRESULT CODButton::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      if (r != -1) LoadImages();
      return r;
    }
    case WM_GETDLGCODE:
      return OnGetDlgCode();
    case WM_SYSCOLORCHANGE:
      DefaultProc(message, wParam, lParam);
      ResetColours();
      Invalidate();
      return 0;
    case BM_SETSTYLE:
      return OnSetStyle(wParam, lParam);
    case BM_SETCHECK:
      OnSetCheck((int)wParam);
      return 0;
    case BM_GETCHECK:
      return m_nChecked;
    case WM_SETCURSOR:
      if (m_hCursor) {
        ::SetCursor(m_hCursor);
        return 1;
      }
      break;
    case WM_MOUSEMOVE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      OnMouseMove();
      return r;
    }
    case WM_MOUSELEAVE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      ClearHover();
      return r;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        LRESULT r = DefaultProc(message, wParam, lParam);
        ClearHover();
        return r;
      }
      break;
    case WM_ENABLE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      if (!wParam) {
        CWnd* parent = GetParent();
        HWND next = parent ? ::GetNextDlgTabItem(parent->m_hWnd, m_hWnd, FALSE) : nullptr;
        ::SetFocus(next && next != m_hWnd ? next : parent ? parent->m_hWnd : nullptr);
        ClearHover();
      }
      return r;
    }
    case WM_MEASUREITEM:
      if (m_menu.m_hMenu && ((LPMEASUREITEMSTRUCT)lParam)->CtlType == ODT_MENU) {
        m_menu.MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        return TRUE;
      }
      break;
    case WM_DRAWITEM:
      if (m_menu.m_hMenu && ((LPDRAWITEMSTRUCT)lParam)->CtlType == ODT_MENU) {
        m_menu.DrawItem((LPDRAWITEMSTRUCT)lParam);
        return TRUE;
      }
      break;
    case WM_MENUCHAR:
      if (m_menu.m_hMenu && CODIconMenu::IsIconMenu((HMENU)lParam)) {
        CMenu sub;
        sub.m_hMenu = (HMENU)lParam;
        LRESULT r = m_menu.MenuChar(LOWORD(wParam), HIWORD(wParam), &sub);
        sub.m_hMenu = nullptr;
        return r;
      }
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

BOOL CODButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    OnClicked();
    return FALSE;  // the parent hears the click too
  }
  if (message == WM_CTLCOLORBTN) {
    if (pResult) *pResult = (LRESULT)::GetStockObject(NULL_BRUSH);
    return TRUE;
  }
  return CButton::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CODButton::OnGetDlgCode() {
  LRESULT code = Default();
  code &= ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
  code |= m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
  if (m_bRadio) code |= DLGC_RADIOBUTTON;
  return code;
}

LRESULT CODButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
  UINT type = (UINT)wParam & 0x1F;
  m_bDefault = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
  return DefaultProc(BM_SETSTYLE, (wParam & ~0x14) | 0x0B, lParam);
}

void CODButton::OnSetCheck(int nState) {
  if (!m_bCheckBox && !m_bRadio) return;
  m_nChecked = (nState == 1 || nState == 2) ? 1 : 0;
  Invalidate();
}

void CODButton::OnMouseMove() {
  if (!m_bTrackHover) return;
  if ((::GetKeyState(VK_LBUTTON) & 0x8000) && !m_bHover) return;
  POINT pt;
  ::GetCursorPos(&pt);
  bool over = ::WindowFromPoint(pt) == m_hWnd && (m_bTrackInactive || ::GetActiveWindow() != nullptr);
  if (!over) {
    ClearHover();
    return;
  }
  if (m_bHover) return;
  m_bHover = TRUE;
  Invalidate();
  PlaySoundOf(m_strHoverSound);
  TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
  ::TrackMouseEvent(&tme);
}

void CODButton::ClearHover() {
  if (!m_bHover) return;
  m_bHover = FALSE;
  Invalidate();
}

void CODButton::OnClicked() {
  SetFocus();
  PlaySoundOf(m_strClickSound);
  if (m_bRadio) {
    OnSetCheck(1);
    UncheckGroup();
  } else if (m_bCheckBox) {
    OnSetCheck(m_nChecked ? 0 : 1);
  } else if (m_menu.m_hMenu) {
    OpenMenu();
  } else if (!m_strLink.IsEmpty()) {
    SHELLEXECUTEINFOA sei = {sizeof(sei)};
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    sei.hwnd = m_hWnd;
    sei.lpVerb = "open";
    sei.lpFile = m_strLink;
    sei.nShow = SW_SHOWMAXIMIZED;
    ::ShellExecuteExA(&sei);
  }
}

void CODButton::UncheckGroup() {
  CWnd* parent = GetParent();
  if (!parent) return;
  HWND self = m_hWnd;
  HWND h = ::GetNextDlgGroupItem(parent->m_hWnd, self, FALSE);
  for (int guard = 0; h && h != self && guard < 256; ++guard) {
    CWnd* w = CWnd::FromHandlePermanent(h);
    if (w && w->IsKindOf(RUNTIME_CLASS(CODButton))) {
      CODButton* b = static_cast<CODButton*>(w);
      if (b->m_bRadio && b->m_nChecked) b->OnSetCheck(0);
    }
    h = ::GetNextDlgGroupItem(parent->m_hWnd, h, FALSE);
  }
  Invalidate();
}

void CODButton::OpenMenu() {
  m_bMenuOpen = TRUE;
  Invalidate();
  UpdateWindow();
  HMENU popup = ::GetSubMenu(m_menu.m_hMenu, 0);
  if (!popup) popup = m_menu.m_hMenu;
  if (m_hNotify) ::SendMessageA(m_hNotify, m_nNotifyMsg, (WPARAM)popup, m_lNotifyParam);
  CRect rc;
  GetWindowRect(&rc);
  UINT cmd =
      ::TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, rc.left, rc.bottom, 0, m_hWnd, nullptr);
  m_bMenuOpen = FALSE;
  Invalidate();
  if (cmd && m_pMenuTarget && m_pMenuTarget->m_hWnd) m_pMenuTarget->PostMessage(WM_COMMAND, cmd, 0);
}

void CODButton::DrawMark(HDC hDC, const RECT& box, COLORREF cr) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, cr);
  HGDIOBJ oldPen = ::SelectObject(hDC, pen);
  HGDIOBJ oldBrush = ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
  if (m_bRadio)
    ::Ellipse(hDC, box.left, box.top, box.right, box.bottom);
  else
    ::Rectangle(hDC, box.left, box.top, box.right, box.bottom);
  if (m_nChecked) {
    HBRUSH br = ::CreateSolidBrush(cr);
    ::SelectObject(hDC, br);
    if (m_bRadio)
      ::Ellipse(hDC, box.left + 3, box.top + 3, box.right - 3, box.bottom - 3);
    else
      ::Rectangle(hDC, box.left + 3, box.top + 3, box.right - 3, box.bottom - 3);
    ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
    ::DeleteObject(br);
  }
  ::SelectObject(hDC, oldBrush);
  ::SelectObject(hDC, oldPen);
  ::DeleteObject(pen);
}

void CODButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  HDC dc = lpDIS->hDC;
  RECT rc = lpDIS->rcItem;
  const BOOL pressed = (lpDIS->itemState & ODS_SELECTED) || m_bMenuOpen;
  const BOOL focus = (lpDIS->itemState & ODS_FOCUS) != 0;
  const int state = pressed ? 0 : (m_bHover || focus) ? 2 : 1;  // in, focus/hover, out
  COLORREF bk = m_colours[state == 0 ? CLR_BK_IN : state == 2 ? CLR_BK_FOCUS : CLR_BK_OUT];
  COLORREF fg = m_colours[state == 0 ? CLR_FG_IN : state == 2 ? CLR_FG_FOCUS : CLR_FG_OUT];
  if (lpDIS->itemState & ODS_DISABLED) fg = ::GetSysColor(COLOR_GRAYTEXT);
  ODFillSolid(dc, rc, bk);
  char text[256] = {};
  ::GetWindowTextA(m_hWnd, text, sizeof(text));
  RECT textRc = rc;
  if (m_bCheckBox || m_bRadio) {
    int mid = (rc.top + rc.bottom) / 2;
    RECT box = {rc.left + 2, mid - 6, rc.left + 15, mid + 7};
    const int picture =
        m_bRadio ? (m_nChecked ? IMG_RADIOED : IMG_UNRADIOED) : (m_nChecked ? IMG_CHECKED : IMG_UNCHECKED);
    if (m_hImages[picture]) {
      BITMAP bm = {};
      ::GetObjectA(m_hImages[picture], sizeof(bm), &bm);
      RECT at = {rc.left + 2, mid - bm.bmHeight / 2, rc.left + 2 + bm.bmWidth, mid - bm.bmHeight / 2 + bm.bmHeight};
      DrawPicture(dc, picture, at, FALSE);
      textRc.left += bm.bmWidth + 7;
    } else {
      int base = m_bRadio ? CLR_RADIO_IN : CLR_CHECK_IN;
      DrawMark(dc, box, m_colours[base + (state == 0 ? 0 : state == 2 ? 2 : 1)]);
      textRc.left += 20;
    }
  } else if (m_hImages[IMG_OUT] || m_hImages[IMG_IN]) {
    // The face: "in" while pressed or hovered, else "out" (either stands in for the other).
    int face = (pressed || m_bHover) ? IMG_IN : IMG_OUT;
    if (!m_hImages[face]) face = face == IMG_IN ? IMG_OUT : IMG_IN;
    DrawPicture(dc, face, rc, TRUE);
    if (pressed) ::OffsetRect(&textRc, 1, 1);
  } else {
    // The 3-D frame turns over when pressed; the hover frame is solid.
    RECT r = rc;
    if (m_bHover && !pressed) {
      ODFrame(dc, r, m_colours[CLR_SOLID_BORDER], 1);
    } else {
      COLORREF tl = m_colours[pressed ? CLR_3D_BOTTOMRIGHT : CLR_3D_TOPLEFT];
      COLORREF br = m_colours[pressed ? CLR_3D_TOPLEFT : CLR_3D_BOTTOMRIGHT];
      RECT top = {r.left, r.top, r.right, r.top + 1}, left = {r.left, r.top, r.left + 1, r.bottom};
      RECT bottom = {r.left, r.bottom - 1, r.right, r.bottom}, right = {r.right - 1, r.top, r.right, r.bottom};
      ODFillSolid(dc, top, tl);
      ODFillSolid(dc, left, tl);
      ODFillSolid(dc, bottom, br);
      ODFillSolid(dc, right, br);
    }
    if (pressed) ::OffsetRect(&textRc, 1, 1);
  }
  HFONT font = ODCreateFont(12);
  HGDIOBJ old = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, fg);
  ::DrawTextA(dc, text, -1, &textRc, DT_SINGLELINE | DT_VCENTER | ((m_bCheckBox || m_bRadio) ? DT_LEFT : DT_CENTER));
  if (m_menu.m_hMenu) {
    // A small arrow marks the drop-down.
    int x = rc.right - 12, y = (rc.top + rc.bottom) / 2 - 1;
    for (int i = 0; i < 4; ++i) {
      RECT a = {x + i, y + i, x + 7 - i, y + i + 1};
      ODFillSolid(dc, a, fg);
    }
  }
  if (focus && !(m_bCheckBox || m_bRadio)) {
    RECT f = rc;
    ::InflateRect(&f, -3, -3);
    ::DrawFocusRect(dc, &f);
  }
  ::SelectObject(dc, old);
  ::DeleteObject(font);
}
