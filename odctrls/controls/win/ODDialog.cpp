#include "ODDialog.h"

#include <windowsx.h>

#include "ListBoxModel.h"
#include "ODMemDC.h"
#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeSections.h"
#include "ProgressModel.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_dialogLoader = (SetThemeClassLoader("ODDialog", &LoadODDialogTheme), true);
const bool g_msgdlgLoader = (SetThemeClassLoader("ODMsgDlg", &LoadODMsgDlgTheme), true);
const bool g_waitdlgLoader = (SetThemeClassLoader("ODWaitDlg", &LoadODWaitDlgTheme), true);
}  // namespace

IMPLEMENT_DYNAMIC(CODDialog, CDialog)

namespace {
enum { kLeft, kRight, kTop, kBottom, kLeftTop, kRightTop, kLeftBottom, kRightBottom };
const int kButtonSize = 16;
}  // namespace

CODDialog::CODDialog()
    : CODWnd<CDialog>("ODDialog", 0x1004),
      m_nPressed(-1),
      m_nHot(-1),
      m_bActive(TRUE),
      m_bMaximised(FALSE),
      m_bMinimised(FALSE),
      m_bMaxZoom(FALSE),
      m_bMinZoom(FALSE),
      m_sizeWindow(0, 0),
      m_nCaptionHeight(24),
      m_hCaptionFont(ODCreateFont(12, FW_BOLD)) {
  m_nBorder[0] = m_nBorder[1] = m_nBorder[2] = m_nBorder[3] = 3;
  m_buttonState[0] = m_buttonState[1] = m_buttonState[2] = 0;
}

CODDialog::~CODDialog() {
  if (m_hWnd) DestroyWindow();
  if (m_hCaptionFont) ::DeleteObject(m_hCaptionFont);
}

CODThemeImage* CODDialog::AnimatedImage(int nIndex) {
  if (nIndex < 0 || nIndex >= IMAGE_COUNT) return nullptr;
  if (nIndex < 8) return &m_borders[nIndex];
  if (nIndex < 16) return &m_captionImages[nIndex - 8];
  return &m_clientImage;
}

void CODDialog::StartImageTimers() {
  if (!m_hWnd) return;
  for (int i = 0; i < IMAGE_COUNT; ++i) {
    KillTimer(IMAGE_TIMER_FIRST + i);
    if (AnimatedImage(i)->StartAnimation()) SetTimer(IMAGE_TIMER_FIRST + i, 200, nullptr);
  }
}

void CODDialog::LoadImages() {
  const ODDialogTheme& t = ODDialogValues();
  for (int i = 0; i < 8; ++i) {
    m_borders[i].Clear();
    if (t.borders[i][0]) LoadThemeImageSpec(t.borders[i], &m_borders[i]);
  }
  m_clientImage.Clear();
  if (t.clientBkImg[0]) LoadThemeImageSpec(t.clientBkImg, &m_clientImage);
  const ODCaptionTheme& c = ODCaptionValues();
  for (int i = 0; i < 8; ++i) {
    m_captionImages[i].Clear();
    if (c.images[i][0]) LoadThemeImageSpec(c.images[i], &m_captionImages[i]);
  }
  if (!m_captionImages[ODCAP_CENTRE].IsEmpty()) m_nCaptionHeight = m_captionImages[ODCAP_CENTRE].GetCellHeight();
  // Border widths follow the border images when they are there.
  if (!m_borders[kLeft].IsEmpty()) m_nBorder[0] = m_borders[kLeft].GetCellWidth();
  if (!m_borders[kRight].IsEmpty()) m_nBorder[2] = m_borders[kRight].GetCellWidth();
  if (!m_borders[kBottom].IsEmpty()) m_nBorder[3] = m_borders[kBottom].GetCellHeight();
  if (!m_borders[kTop].IsEmpty()) m_nBorder[1] = m_borders[kTop].GetCellHeight();
  StartImageTimers();
}

BOOL CODDialog::CreateModeless(LPCSTR lpszTitle, DWORD dwStyle, int cx, int cy, CWnd* pParent) {
  LoadImages();
  // DLGTEMPLATE in dialog units close to pixels; no controls, no font.
  m_template.assign(sizeof(DLGTEMPLATE) / 2 + 3, 0);
  DLGTEMPLATE* dt = (DLGTEMPLATE*)m_template.data();
  dt->style = dwStyle;
  dt->cx = (short)(cx * 4 / 6);
  dt->cy = (short)(cy * 8 / 13);
  int len = ::MultiByteToWideChar(CP_ACP, 0, lpszTitle ? lpszTitle : "", -1, nullptr, 0);
  std::vector<WCHAR> title(len > 0 ? len : 1);
  ::MultiByteToWideChar(CP_ACP, 0, lpszTitle ? lpszTitle : "", -1, title.data(), len);
  m_template.pop_back();
  for (WCHAR c : title) m_template.push_back(c);
  if (m_template.size() % 2) m_template.push_back(0);
  if (!CreateIndirect((LPCDLGTEMPLATE)m_template.data(), pParent)) return FALSE;
  SetWindowText(lpszTitle);
  CRect rc(0, 0, cx, cy);
  rc.right += m_nBorder[0] + m_nBorder[2];
  rc.bottom += (HasCaption() ? m_nCaptionHeight : m_nBorder[1]) + m_nBorder[3];
  SetWindowPos(nullptr, 0, 0, rc.Width(), rc.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  return TRUE;
}

int CODDialog::SetButtonState(int nIndex, int nState) {
  if (nIndex < 0 || nIndex > 2) return 0;
  int old = m_buttonState[nIndex];
  m_buttonState[nIndex] = nState;
  return old;
}

int CODDialog::GetButtonState(int nIndex) const { return nIndex >= 0 && nIndex <= 2 ? m_buttonState[nIndex] : 0; }

CRect CODDialog::CaptionRect() const {
  CRect wr;
  GetWindowRect(&wr);
  return CRect(0, 0, wr.Width(), m_nCaptionHeight);
}

CSize CODDialog::PartSize(int nImage) const {
  const CODThemeImage& img = m_captionImages[nImage];
  if (img.IsEmpty()) return CSize(kButtonSize, kButtonSize);
  return CSize(img.GetCellWidth(), img.GetCellHeight());
}

const CODThemeImage& CODDialog::ButtonImage(int nHit) const {
  if (nHit == HIT_CLOSE) return m_captionImages[ODCAP_CLOSE];
  if (nHit == HIT_MAX) {
    const CODThemeImage& zoom = m_captionImages[ODCAP_ZOOM];
    return m_bMaxZoom && !zoom.IsEmpty() ? zoom : m_captionImages[ODCAP_MAX];
  }
  const CODThemeImage& zoom = m_captionImages[ODCAP_ZOOM];
  return m_bMinZoom && !zoom.IsEmpty() ? zoom : m_captionImages[ODCAP_MIN];
}

CRect CODDialog::ButtonRect(const RECT& rc, int nHit) const {
  // Close from the right edge, maximise and minimise each from the button right of it.
  const ODCaptionTheme& t = ODCaptionValues();
  const DWORD style = GetStyle();
  static const int kImage[4] = {ODCAP_SYSMENU, ODCAP_CLOSE, ODCAP_MAX, ODCAP_MIN};
  static const int kPos[4] = {ODCAP_POS_SYSMENU, ODCAP_POS_CLOSE, ODCAP_POS_MAX, ODCAP_POS_MIN};
  if (nHit == HIT_SYSMENU) {
    CSize sz = PartSize(ODCAP_SYSMENU);
    const POINT p = t.positions[ODCAP_POS_SYSMENU];
    int y = vesk::odctrls::CaptionPartY(p.y, rc.top, rc.bottom - rc.top, sz.cy);
    return CRect(rc.left + p.x, y, rc.left + p.x + sz.cx, y + sz.cy);
  }
  int right = rc.right;
  for (int hit = HIT_CLOSE; hit <= HIT_MIN; ++hit) {
    if (hit == HIT_MAX && !(style & WS_MAXIMIZEBOX)) continue;
    if (hit == HIT_MIN && !(style & WS_MINIMIZEBOX)) continue;
    CSize sz = PartSize(kImage[hit]);
    const POINT p = t.positions[kPos[hit]];
    right -= p.x;
    int y = vesk::odctrls::CaptionPartY(p.y, rc.top, rc.bottom - rc.top, sz.cy);
    CRect r(right - sz.cx, y, right, y + sz.cy);
    if (hit == nHit) return r;
    right = r.left;
  }
  return CRect(0, 0, 0, 0);
}

int CODDialog::CaptionHitTest(const RECT& rc, POINT pt) const {
  if (!(GetStyle() & WS_SYSMENU)) return -1;
  for (int hit = HIT_CLOSE; hit <= HIT_MIN; ++hit)
    if (ButtonRect(rc, hit).PtInRect(pt)) return hit;
  if (!m_captionImages[ODCAP_SYSMENU].IsEmpty() && ButtonRect(rc, HIT_SYSMENU).PtInRect(pt)) return HIT_SYSMENU;
  return -1;
}

void CODDialog::DrawCaption(HDC hDC, const RECT& rc) {
  const ODCaptionTheme& t = ODCaptionValues();
  const ODDialogTheme& d = ODDialogValues();
  const int frame = m_bActive ? 0 : 1;
  const CODThemeImage &start = m_captionImages[ODCAP_START], &centre = m_captionImages[ODCAP_CENTRE],
                      &end = m_captionImages[ODCAP_END];
  if (end.IsEmpty() || start.IsEmpty() || centre.IsEmpty()) {
    if (t.nBkMode == 1)
      ODFillGradient(hDC, rc, t.crStart, t.crEnd, TRUE);
    else
      ODFillGradient(hDC, rc, m_bActive ? t.crStart : ::GetSysColor(COLOR_INACTIVECAPTION), t.crEnd, FALSE);
  } else {
    CRect s(rc.left, rc.top, rc.left + start.GetCellWidth(), rc.bottom);
    CRect e(rc.right - end.GetCellWidth(), rc.top, rc.right, rc.bottom);
    const_cast<CODThemeImage&>(start).Draw(hDC, s, frame);
    const_cast<CODThemeImage&>(end).Draw(hDC, e, frame);
    const_cast<CODThemeImage&>(centre).Draw(hDC, CRect(s.right, rc.top, e.left, rc.bottom), frame);
  }
  const DWORD style = GetStyle();
  int leftmost = rc.right;
  if (style & WS_SYSMENU) {
    if (!m_captionImages[ODCAP_SYSMENU].IsEmpty())
      const_cast<CODThemeImage&>(m_captionImages[ODCAP_SYSMENU]).Draw(hDC, ButtonRect(rc, HIT_SYSMENU), frame);
    for (int hit = HIT_CLOSE; hit <= HIT_MIN; ++hit) {
      CRect b = ButtonRect(rc, hit);
      if (b.IsRectEmpty()) continue;
      leftmost = b.left;
      int state = m_buttonState[hit - 1];
      if (state == 0 && !m_bActive) state = 3;
      const CODThemeImage& img = ButtonImage(hit);
      if (!img.IsEmpty()) {
        const_cast<CODThemeImage&>(img).Draw(hDC, b, state);
        continue;
      }
      // Without a theme image the library draws a plain button, so a caption always closes.
      COLORREF face = state == 2 ? d.crBorder : state == 1 ? RGB(255, 255, 255) : d.crClientStart;
      ODFillSolid(hDC, b, face);
      ODFrame(hDC, b, RGB(255, 255, 255), 1);
      HPEN pen = ::CreatePen(PS_SOLID, 2, state == 2 ? RGB(255, 255, 255) : d.crBorder);
      HGDIOBJ old = ::SelectObject(hDC, pen);
      if (hit == HIT_CLOSE) {
        ::MoveToEx(hDC, b.left + 4, b.top + 4, nullptr);
        ::LineTo(hDC, b.right - 4, b.bottom - 4);
        ::MoveToEx(hDC, b.right - 4, b.top + 4, nullptr);
        ::LineTo(hDC, b.left + 4, b.bottom - 4);
      } else if (hit == HIT_MAX) {
        HGDIOBJ ob = ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(hDC, b.left + 4, b.top + 4, b.right - 4, b.bottom - 4);
        ::SelectObject(hDC, ob);
      } else {
        ::MoveToEx(hDC, b.left + 4, b.bottom - 5, nullptr);
        ::LineTo(hDC, b.right - 4, b.bottom - 5);
      }
      ::SelectObject(hDC, old);
      ::DeleteObject(pen);
    }
  }
  // The caption text between the text position and the leftmost button, in the caption's
  // text colour.
  const POINT tp = t.positions[ODCAP_POS_TEXT];
  const int ty = vesk::odctrls::CaptionPartY(tp.y, rc.top, rc.bottom - rc.top, 14);
  RECT text = {rc.left + tp.x + (m_captionImages[ODCAP_SYSMENU].IsEmpty() ? 0 : PartSize(ODCAP_SYSMENU).cx + 14), ty,
               leftmost - 4, rc.bottom};
  ODTxtMovTheme saved = ODTxtMovValues();
  ODTxtMovValues().crNormal = ODTxtMovValues().crFocus = t.crText;
  m_caption.Draw(hDC, text, m_hCaptionFont);
  ODTxtMovValues() = saved;
}

HRGN CODDialog::CaptionRegion(const RECT& rc) const {
  const CODThemeImage &start = m_captionImages[ODCAP_START], &centre = m_captionImages[ODCAP_CENTRE],
                      &end = m_captionImages[ODCAP_END];
  if (start.IsEmpty() || centre.IsEmpty() || end.IsEmpty()) return nullptr;
  CRect s(rc.left, rc.top, rc.left + start.GetCellWidth(), rc.bottom);
  CRect e(rc.right - end.GetCellWidth(), rc.top, rc.right, rc.bottom);
  const CRect parts[3] = {s, CRect(s.right, rc.top, e.left, rc.bottom), e};
  const CODThemeImage* images[3] = {&start, &centre, &end};
  HRGN all = nullptr;
  for (int i = 0; i < 3; ++i) ODUnionRegion(&all, images[i]->GetShapeRegion(parts[i], 0));
  return all;
}

HRGN CODDialog::BorderTransparentRegion(int cx, int cy) const {
  struct Place {
    int image;
    RECT rc;
  };
  auto w = [&](int i) { return m_borders[i].IsEmpty() ? 0 : m_borders[i].GetCellWidth(); };
  auto h = [&](int i) { return m_borders[i].IsEmpty() ? 0 : m_borders[i].GetCellHeight(); };
  const Place places[8] = {
      {kLeftTop, {0, 0, w(kLeftTop), h(kLeftTop)}},
      {kRightTop, {cx - w(kRightTop), 0, cx, h(kRightTop)}},
      {kLeftBottom, {0, cy - h(kLeftBottom), w(kLeftBottom), cy}},
      {kRightBottom, {cx - w(kRightBottom), cy - h(kRightBottom), cx, cy}},
      {kLeft, {0, h(kLeftTop), w(kLeft), cy - h(kLeftBottom)}},
      {kRight, {cx - w(kRight), h(kRightTop), cx, cy - h(kRightBottom)}},
      {kTop, {w(kLeftTop), 0, cx - w(kRightTop), h(kTop)}},
      {kBottom, {w(kLeftBottom), cy - h(kBottom), cx - w(kRightBottom), cy}},
  };
  HRGN all = nullptr;
  for (const Place& p : places) {
    if (m_borders[p.image].IsEmpty()) continue;
    ODUnionRegion(&all, m_borders[p.image].GetShapeRegion(p.rc, 0));
  }
  return all;
}

void CODDialog::OnThemeChanged() {
  LoadImages();
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT CODDialog::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      if (r != -1) StartImageTimers();
      return r;
    }
    case WM_TIMER:
      if (wParam >= IMAGE_TIMER_FIRST && wParam < IMAGE_TIMER_FIRST + IMAGE_COUNT) {
        const int i = int(wParam - IMAGE_TIMER_FIRST);
        AnimatedImage(i)->OnAnimationTimer();
        // Borders and caption live in the frame, the client image behind the controls.
        ::RedrawWindow(m_hWnd, nullptr, nullptr,
                       i < 16 ? RDW_FRAME | RDW_INVALIDATE : RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      }
      break;
    case WM_NCCALCSIZE:
      if (wParam) {
        OnNcCalcSize((NCCALCSIZE_PARAMS*)lParam);
        return 0;
      }
      break;
    case WM_NCPAINT:
      OnNcPaint();
      return 0;
    case WM_NCACTIVATE:
      m_bActive = (BOOL)wParam;
      OnNcPaint();
      return TRUE;
    case WM_NCHITTEST: {
      CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      CRect wr;
      GetWindowRect(&wr);
      CPoint local(pt.x - wr.left, pt.y - wr.top);
      if (HasCaption() && local.y < m_nCaptionHeight && local.y >= 0) {
        return CaptionHitTest(CaptionRect(), local) >= HIT_CLOSE ? HTBORDER : HTCAPTION;
      }
      CRect client;
      GetClientRect(&client);
      ClientToScreen(&client);
      return client.PtInRect(pt) ? HTCLIENT : HTBORDER;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCMOUSEMOVE:
      if (HasCaption()) {
        CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        CRect wr;
        GetWindowRect(&wr);
        if (CaptionHitTest(CaptionRect(), CPoint(pt.x - wr.left, pt.y - wr.top)) >= HIT_CLOSE ||
            (message == WM_NCMOUSEMOVE && m_nHot >= 0)) {
          OnNcButton(message, pt);
          return 0;
        }
      }
      break;
    case WM_LBUTTONUP:
      if (m_nPressed >= 0) {
        CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ClientToScreen(&pt);
        OnNcButton(WM_NCLBUTTONUP, pt);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (m_nHot >= 0 || m_nPressed >= 0) {
        if (m_nPressed < 0) {
          m_nHot = -1;
          for (int& s : m_buttonState) s = 0;
          OnNcPaint();
        }
      }
      break;
    case WM_SIZE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      OnSize((UINT)wParam);
      return r;
    }
    case WM_ERASEBKGND:
      return OnEraseBkgnd((HDC)wParam);
    case WM_SETTEXT:
      m_caption.SetText((LPCSTR)lParam);
      break;
    case WM_CLOSE:
      // A modeless dialog goes with its window; a modal one ends as cancelled.
      if (!m_template.empty()) {
        DestroyWindow();
        return 0;
      }
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

void CODDialog::OnNcCalcSize(NCCALCSIZE_PARAMS* p) {
  RECT& rc = p->rgrc[0];
  m_sizeWindow = CSize(rc.right - rc.left, rc.bottom - rc.top);
  const DWORD style = GetStyle();
  if ((style & WS_CAPTION) == WS_CAPTION) {
    rc.top += m_nCaptionHeight;
  } else if (style & WS_BORDER) {
    rc.top += m_nBorder[1];
  } else {
    return;
  }
  rc.left += m_nBorder[0];
  rc.right -= m_nBorder[2];
  rc.bottom -= m_nBorder[3];
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  if (rc.right < rc.left) rc.right = rc.left;
}

void CODDialog::DrawBorder(HDC hDC, const CRect& rcWindow) {
  const ODDialogTheme& t = ODDialogValues();
  ODFillSolid(hDC, rcWindow, t.crBorder);
  ODFrame(hDC, rcWindow, RGB(255, 255, 255), 1);
}

void CODDialog::OnNcPaint() {
  const DWORD style = GetStyle();
  if (!(style & (WS_BORDER | WS_CAPTION))) return;
  HDC dc = ::GetWindowDC(m_hWnd);
  CRect wr;
  GetWindowRect(&wr);
  CRect rc(0, 0, wr.Width(), wr.Height());
  CRect client;
  GetClientRect(&client);
  ClientToScreen(&client);
  client.OffsetRect(-wr.left, -wr.top);
  if (!(m_bMinimised && HasCaption())) ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  {
    CRect bufRect(rc);
    CODMemDC buf(CDC::FromHandle(dc), &bufRect, TRUE);
    if (!(m_bMinimised && HasCaption())) DrawBorder(buf.m_hDC, rc);
    if (HasCaption()) {
      CRect cap(m_nBorder[0] > 0 ? 1 : 0, 1, rc.right - 1, m_nCaptionHeight);
      DrawCaption(buf.m_hDC, cap);
    }
  }
  ::ReleaseDC(m_hWnd, dc);
}

void CODDialog::OnNcButton(UINT message, CPoint ptScreen) {
  CRect wr;
  GetWindowRect(&wr);
  const int hit = CaptionHitTest(CaptionRect(), CPoint(ptScreen.x - wr.left, ptScreen.y - wr.top));
  for (int& s : m_buttonState) s = 0;
  if (message == WM_NCLBUTTONDOWN) {
    m_nPressed = hit >= HIT_CLOSE ? hit : -1;
    if (m_nPressed >= 0) {
      m_buttonState[m_nPressed - 1] = 2;
      SetCapture();
    }
  } else if (message == WM_NCMOUSEMOVE) {
    m_nHot = hit >= HIT_CLOSE ? hit : -1;
    if (m_nHot >= 0) m_buttonState[m_nHot - 1] = 1;
  } else {
    const int pressed = m_nPressed;
    m_nPressed = -1;
    if (::GetCapture() == m_hWnd) ReleaseCapture();
    if (pressed >= 0 && pressed == hit) {
      if (hit == HIT_CLOSE)
        PostMessage(WM_CLOSE);
      else if (hit == HIT_MAX)
        ShowWindow(m_bMaximised ? SW_RESTORE : SW_MAXIMIZE);
      else if (hit == HIT_MIN)
        ShowWindow(m_bMinimised ? SW_RESTORE : SW_MINIMIZE);
    }
  }
  OnNcPaint();
}

void CODDialog::OnSize(UINT nType) {
  m_bMinimised = nType == SIZE_MINIMIZED;
  m_bMaximised = nType == SIZE_MAXIMIZED;
  CRect wr;
  GetWindowRect(&wr);
  HRGN window = ::CreateRectRgn(0, 0, wr.Width(), wr.Height());
  if (HRGN border = BorderTransparentRegion(wr.Width(), wr.Height())) {
    if (HasCaption()) {
      HRGN below = ::CreateRectRgn(0, m_nCaptionHeight, wr.Width(), wr.Height());
      ::CombineRgn(border, border, below, RGN_AND);
      ::DeleteObject(below);
    }
    ::CombineRgn(window, window, border, RGN_DIFF);
    ::DeleteObject(border);
  }
  if (HasCaption())
    if (HRGN caption = CaptionRegion(CRect(0, 0, wr.Width(), m_nCaptionHeight))) {
      ::CombineRgn(window, window, caption, RGN_DIFF);
      ::DeleteObject(caption);
    }
  // A full rectangle needs no region.
  RECT box;
  if (::GetRgnBox(window, &box) == SIMPLEREGION && box.right - box.left == wr.Width() &&
      box.bottom - box.top == wr.Height()) {
    ::DeleteObject(window);
    ::SetWindowRgn(m_hWnd, nullptr, TRUE);
  } else {
    ::SetWindowRgn(m_hWnd, window, TRUE);
  }
  OnNcPaint();
}

BOOL CODDialog::OnEraseBkgnd(HDC hDC) {
  CRect rc;
  GetClientRect(&rc);
  CRect bufRect(rc);
  CODMemDC buf(CDC::FromHandle(hDC), &bufRect, TRUE);
  const ODDialogTheme& t = ODDialogValues();
  if (!m_clientImage.IsEmpty())
    m_clientImage.Draw(buf.m_hDC, rc, 0);
  else if (t.nClientBkMode == 1)
    ODFillGradient(buf.m_hDC, rc, t.crClientStart, t.crClientEnd, FALSE);
  else if (t.nClientBkMode == 2)
    ODFillGradient(buf.m_hDC, rc, t.crClientStart, t.crClientEnd, TRUE);
  else
    ODFillSolid(buf.m_hDC, rc, t.crClientStart);
  OnAfterErase(buf.m_hDC, rc);
  return TRUE;
}

// ---- wait dialog ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODWaitDlg, CODDialog)

CODWaitDlg::CODWaitDlg() : m_nMode(ODWaitDlgValues().nMode) {}

BOOL CODWaitDlg::CreateWait(LPCSTR lpszTitle, int nMode, CWnd* pParent) {
  m_nMode = nMode;
  if (!CreateModeless(lpszTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, 260, 60, pParent)) return FALSE;
  if (!m_bar.Create(WS_CHILD | WS_VISIBLE, CRect(16, 20, 244, 40), this, 1001)) return FALSE;
  m_bar.SetRange(0, 10);
  m_bar.SetStep(1);
  SetTimer(1000, 150, nullptr);
  return TRUE;
}

LRESULT CODWaitDlg::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == 1000 && m_bar.m_hWnd) vesk::odctrls::WaitDialogTick(m_nMode, m_bar.Model());
  return CODDialog::OnODMessage(message, wParam, lParam);
}

// ---- message dialog -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODMsgDlg, CODDialog)

CODMsgDlg::CODMsgDlg() : m_nRemaining(0), m_nResult(0) {}

BOOL CODMsgDlg::CreateMessage(LPCSTR lpszTitle, LPCSTR lpszText, int nSeconds, UINT nPeriod, CWnd* pParent) {
  m_nRemaining = nSeconds;
  m_strText = lpszText ? lpszText : "";
  if (!CreateModeless(lpszTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, 260, 70, pParent)) return FALSE;
  CString first;
  first.Format("%d %s", nSeconds, (LPCSTR)m_strText);
  if (!m_text.Create(first, WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(12, 16, 248, 54), this, 1002)) return FALSE;
  SetTimer(1001, nPeriod, nullptr);
  return TRUE;
}

LRESULT CODMsgDlg::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == 1001) {
    std::string text;
    bool end = vesk::odctrls::MessageCountdownTick(&m_nRemaining, (LPCSTR)m_strText, &text);
    vesk::odctrls::TxtItem item;
    if (m_text.GetTextLines().GetItem(0, 0, &item)) {
      item.text = text;
      m_text.GetTextLines().SetItem(0, 0, item);
      m_text.Invalidate(FALSE);
    }
    if (end) {
      KillTimer(1001);
      m_nResult = -1;
      DestroyWindow();
      return 0;
    }
  }
  return CODDialog::OnODMessage(message, wParam, lParam);
}
