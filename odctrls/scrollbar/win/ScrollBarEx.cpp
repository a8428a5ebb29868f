#include "ScrollBarEx.h"

#include "ODMemDC.h"
#include "ODTheme.h"

namespace {

enum { TIMER_FIRST = 5, TIMER_REPEAT = 3 };
const char kBarClass[] = "ODScrollBarCtrl";

void RegisterBarClass() { ODRegisterWindowClass(kBarClass, CS_VREDRAW | CS_HREDRAW, (HBRUSH)(COLOR_BTNFACE + 1)); }

void FrameSides(CDC* pDC, CRect r, COLORREF topLeft, COLORREF bottomRight) {
  pDC->Draw3dRect(&r, topLeft, bottomRight);
}

}  // namespace

int ScrollBarEx::s_nFixedSliderSize = -1;

void ScrollBarEx::LoadThemeValues() {
  s_nFixedSliderSize = GetThemeInt("ScrollBarEx", "FixedSliderSize", s_nFixedSliderSize);
}

ScrollBarEx::ScrollBarEx()
    : CODPaintedWnd<CWnd>("ScrollBarEx", 0x100E),
      m_bVisible(FALSE),
      m_nHorz(-1),
      m_nArrow(18),
      m_crTrack(::GetSysColor(COLOR_SCROLLBAR)),
      m_crThumb(::GetSysColor(COLOR_BTNFACE)),
      m_crHotThumb(::GetSysColor(COLOR_BTNSHADOW)),
      m_bHotTracking(FALSE),
      m_nPressed(-1),
      m_bDragging(FALSE),
      m_nDragOffset(0),
      m_bInside(FALSE),
      m_bTrackingLeave(FALSE),
      m_nHover(-1),
      m_bRedraw(TRUE),
      m_table(odscroll::BuildImageTable(11, 11, 11, 11)) {
  RegisterBarClass();
  m_state.SetFixedThumb(s_nFixedSliderSize);
}

ScrollBarEx::~ScrollBarEx() {
  if (m_hWnd) DestroyWindow();
}

BOOL ScrollBarEx::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  m_nHorz = (dwStyle & SBS_VERT) ? 0 : 1;
  dwStyle &= ~(WS_HSCROLL | WS_VSCROLL);
  if (!CWnd::CreateEx(0, kBarClass, "", dwStyle, rect, pParentWnd, nID)) return FALSE;
  m_bVisible = (dwStyle & WS_VISIBLE) != 0;
  return TRUE;
}

void ScrollBarEx::ShowBar(BOOL bShow) {
  m_bVisible = bShow;
  if (m_hWnd) ::ShowWindow(m_hWnd, bShow ? SW_SHOW : SW_HIDE);
}

void ScrollBarEx::EnableBar(BOOL bEnable) {
  if (!m_hWnd) return;
  ::EnableWindow(m_hWnd, bEnable);
  Invalidate(FALSE);
}

void ScrollBarEx::SetScrollRange(int nMin, int nMax, BOOL bRedraw) {
  if (!m_state.SetRange(nMin, nMax)) {
    // Nothing to scroll: the bar goes, but the container keeps deciding its own layout.
    if (m_hWnd) ::EnableWindow(m_hWnd, FALSE);
    return;
  }
  if (bRedraw && m_hWnd) ::EnableWindow(m_hWnd, TRUE);
  if (bRedraw && m_hWnd) Invalidate(FALSE);
}

void ScrollBarEx::SetPageSize(int nPage, BOOL bRedraw) {
  m_state.SetPage(nPage);
  if (bRedraw && m_hWnd) Invalidate(FALSE);
}

int ScrollBarEx::SetScrollPos(int nPos, BOOL bRedraw) {
  const int old = m_state.SetPos(nPos);
  if (bRedraw && m_hWnd) Invalidate(FALSE);
  return old;
}

void ScrollBarEx::GetScrollRange(LPINT lpMin, LPINT lpMax) const {
  if (lpMin) *lpMin = m_state.Min();
  if (lpMax) *lpMax = m_state.ReportedMax();
}

int ScrollBarEx::SetTrackPos(int nPos, BOOL bRedraw) {
  const int old = m_state.SetTrackPos(nPos);
  if (bRedraw && m_hWnd) Invalidate(FALSE);
  return old;
}

BOOL ScrollBarEx::SetScrollInfo(LPSCROLLINFO lpInfo, BOOL bRedraw) {
  if (!lpInfo) return FALSE;
  BOOL any = FALSE;
  if (lpInfo->fMask & SIF_RANGE) SetScrollRange(lpInfo->nMin, lpInfo->nMax, bRedraw), any = TRUE;
  if (lpInfo->fMask & SIF_PAGE) SetPageSize((int)lpInfo->nPage, bRedraw), any = TRUE;
  if (lpInfo->fMask & SIF_POS) SetScrollPos(lpInfo->nPos, bRedraw), any = TRUE;
  if (lpInfo->fMask & SIF_TRACKPOS) SetTrackPos(lpInfo->nTrackPos, bRedraw), any = TRUE;
  return any;
}

BOOL ScrollBarEx::GetScrollInfo(LPSCROLLINFO lpInfo, UINT nMask) {
  if (!lpInfo) return FALSE;
  if (nMask & SIF_RANGE) GetScrollRange(&lpInfo->nMin, &lpInfo->nMax);
  if (nMask & SIF_PAGE) lpInfo->nPage = (UINT)m_state.Page();
  if (nMask & SIF_POS) lpInfo->nPos = m_state.Pos();
  if (nMask & SIF_TRACKPOS) lpInfo->nTrackPos = m_state.TrackPos();
  return (nMask & (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)) != 0;
}

void ScrollBarEx::SetTrackColor(COLORREF cr) {
  m_crTrack = cr;
  if (m_hWnd) Invalidate(FALSE);
}

void ScrollBarEx::SetThumbColor(COLORREF cr) {
  m_crThumb = cr;
  if (m_hWnd) Invalidate(FALSE);
}

void ScrollBarEx::SetHotColor(COLORREF cr, BOOL bHotTracking) {
  m_crHotThumb = cr;
  m_bHotTracking = bHotTracking;
}

odscroll::Layout ScrollBarEx::CurrentLayout() const {
  CRect rc;
  if (m_hWnd) ::GetClientRect(m_hWnd, &rc);
  const int length = IsHorizontal() ? rc.Width() : rc.Height();
  const int shown = m_bDragging ? m_state.TrackPos() : m_state.Pos();
  return m_state.Place(length, m_nArrow, shown, ::GetSystemMetrics(SM_CXHTHUMB));
}

CRect ScrollBarEx::PartRect(const odscroll::Span& s) const {
  CRect rc;
  ::GetClientRect(m_hWnd, &rc);
  if (IsHorizontal()) return CRect(s.start, rc.top, s.end, rc.bottom);
  return CRect(rc.left, s.start, rc.right, s.end);
}

int ScrollBarEx::HitAt(CPoint pt) const {
  CRect rc;
  ::GetClientRect(m_hWnd, &rc);
  if (!rc.PtInRect(pt)) return odscroll::HIT_NONE;
  return m_state.HitTest(CurrentLayout(), Along(pt), !IsHorizontal());
}

void ScrollBarEx::Notify(UINT nCode) {
  CWnd* pParent = GetParent();
  if (!pParent) return;
  const int pos = nCode == SB_THUMBTRACK ? m_state.TrackPos() : m_state.Pos();
  pParent->SendMessage(IsHorizontal() ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(nCode, (WORD)pos), 0);
}

void ScrollBarEx::ScrollStep() {
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  const int hit = HitAt(pt);
  const BOOL inside = hit == m_nPressed;
  if (inside != m_bInside) m_bInside = inside, Invalidate(FALSE);
  if (!inside) return;  // paging stops once the thumb reaches the cursor
  switch (m_nPressed % odscroll::VERT_OFFSET) {
    case odscroll::HIT_ARROW1:
      Notify(SB_LINEUP);
      break;
    case odscroll::HIT_ARROW2:
      Notify(SB_LINEDOWN);
      break;
    case odscroll::HIT_TRACK1:
      Notify(SB_PAGEUP);
      break;
    case odscroll::HIT_TRACK2:
      Notify(SB_PAGEDOWN);
      break;
  }
}

void ScrollBarEx::OnButtonDown(CPoint pt) {
  if (!::IsWindowEnabled(m_hWnd)) return;
  SetFocus();
  const int hit = HitAt(pt);
  if (hit == odscroll::HIT_NONE) return;
  m_nPressed = hit;
  SetCapture();
  m_bInside = TRUE;
  if (hit == odscroll::HIT_THUMB) {
    m_bDragging = TRUE;
    m_state.SetTrackPos(m_state.Pos());
    m_nDragOffset = Along(pt) - CurrentLayout().thumb.start;
  } else {
    m_repeat.Press(::GetTickCount());
    SetTimer(TIMER_FIRST, odscroll::Repeater::FIRST_DELAY, nullptr);
    ScrollStep();
  }
  Invalidate(FALSE);
}

void ScrollBarEx::OnMove(CPoint pt) {
  if (m_bDragging) {
    const odscroll::Layout l = CurrentLayout();
    const int pos = m_state.DragPos(l, Along(pt), m_nDragOffset, m_nArrow);
    m_state.SetTrackPos(pos);
    Invalidate(FALSE);
    UpdateWindow();
    Notify(SB_THUMBTRACK);
    return;
  }
  if (m_nPressed != -1) {
    const BOOL inside = HitAt(pt) == m_nPressed;
    if (inside != m_bInside) m_bInside = inside, Invalidate(FALSE);
    return;
  }
  if (!m_bHotTracking) return;
  if (!m_bTrackingLeave) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hWnd, 0};
    m_bTrackingLeave = ::TrackMouseEvent(&tme);
    Invalidate(FALSE);
  }
  const int hit = HitAt(pt);
  if (hit != m_nHover) m_nHover = hit, Invalidate(FALSE);
}

void ScrollBarEx::EndPress() {
  if (m_nPressed == -1 && !m_bDragging) return;
  const BOOL dragged = m_bDragging;
  m_nPressed = -1;
  m_bDragging = FALSE;
  m_bInside = FALSE;
  m_repeat.Release();
  KillTimer(TIMER_FIRST);
  KillTimer(TIMER_REPEAT);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  // A drag leaves the bar where the thumb was dropped.
  if (dragged) m_state.SetPos(m_state.TrackPos());
  Invalidate(FALSE);
}

void ScrollBarEx::Paint(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  CODMemDC mem(pDC, &rc);
  const odscroll::Layout l = CurrentLayout();
  const UINT disabled = ::IsWindowEnabled(m_hWnd) ? 0 : 4;
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  const int hover = m_bHotTracking && rc.PtInRect(cursor) ? HitAt(cursor) : -1;
  auto flags = [&](int hit) {
    UINT f = disabled;
    if (m_nPressed == hit && m_bInside)
      f |= 1;
    else if (hover == hit)
      f |= 2;
    return f;
  };
  const int v = IsHorizontal() ? 0 : odscroll::VERT_OFFSET;
  SBEX_DRAWPART req{&mem, rc, 8, disabled};
  DrawPart(&req);
  if (m_nPressed == odscroll::HIT_TRACK1 + v && m_bInside && !l.before.Empty()) {
    req = {&mem, PartRect(l.before), 2, 1};
    DrawPart(&req);
  }
  if (m_nPressed == odscroll::HIT_TRACK2 + v && m_bInside && !l.after.Empty()) {
    req = {&mem, PartRect(l.after), 3, 1};
    DrawPart(&req);
  }
  req = {&mem, PartRect(l.arrow1), 0, flags(odscroll::HIT_ARROW1 + v)};
  DrawPart(&req);
  req = {&mem, PartRect(l.arrow2), 1, flags(odscroll::HIT_ARROW2 + v)};
  DrawPart(&req);
  UINT thumbFlags = disabled;
  if (m_bHotTracking && m_bDragging)
    thumbFlags |= 1;
  else if (hover == odscroll::HIT_THUMB)
    thumbFlags |= 2;
  if (!l.thumb.Empty() && !disabled) {
    req = {&mem, PartRect(l.thumb), 5, thumbFlags};
    DrawPart(&req);
  }
}

void ScrollBarEx::SetPartSizes(int a, int b, int c, int d) { m_table = odscroll::BuildImageTable(a, b, c, d); }

BOOL ScrollBarEx::SetImage(BOOL bDeleteAfter, HBITMAP hBitmap) {
  m_image.Clear();
  const BOOL loaded = hBitmap && m_image.LoadFromBitmap(hBitmap);
  if (bDeleteAfter && hBitmap) ::DeleteObject(hBitmap);
  if (m_hWnd) Invalidate(FALSE);
  return loaded;
}

void ScrollBarEx::DrawCell(CDC* pDC, const CRect& dst, int row, odscroll::ImagePart part) const {
  const odscroll::SrcRect& s = m_table.Get(!IsHorizontal(), row, part);
  if (s.w <= 0 || s.h <= 0 || dst.IsRectEmpty()) return;
  m_image.DrawStretched(pDC->m_hDC, dst, RECT{s.x, s.y, s.x + s.w, s.y + s.h});
}

void ScrollBarEx::DrawPartFromImage(SBEX_DRAWPART* p) {
  const int row = odscroll::ImageRow(p->nFlags);
  const CRect& r = p->rect;
  switch (p->nPart) {
    case 0:
      DrawCell(p->pDC, r, row, odscroll::IMG_ARROW1);
      break;
    case 1:
      DrawCell(p->pDC, r, row, odscroll::IMG_ARROW2);
      break;
    case 2:
    case 3:
      DrawCell(p->pDC, r, row, odscroll::IMG_TRACK);
      break;
    case 8: {
      // The track cell over the halves before and after the thumb (the whole track when
      // there is no thumb to split it).
      const odscroll::Layout l = CurrentLayout();
      if (l.before.Empty() && l.after.Empty()) {
        DrawCell(p->pDC, r, row, odscroll::IMG_TRACK);
      } else {
        DrawCell(p->pDC, PartRect(l.before), row, odscroll::IMG_TRACK);
        DrawCell(p->pDC, PartRect(l.after), row, odscroll::IMG_TRACK);
      }
      break;
    }
    case 5: {
      const bool horz = IsHorizontal() != FALSE;
      const odscroll::ThumbSpans t =
          odscroll::ThumbPieces(horz ? r.left : r.top, horz ? r.Width() : r.Height(), horz ? m_table.a : m_table.d);
      auto span = [&](const int* ab) {
        return horz ? CRect(ab[0], r.top, ab[1], r.bottom) : CRect(r.left, ab[0], r.right, ab[1]);
      };
      DrawCell(p->pDC, span(t.cap1), row, odscroll::IMG_THUMB_START);
      DrawCell(p->pDC, span(t.middle), row, odscroll::IMG_THUMB_MIDDLE);
      DrawCell(p->pDC, span(t.cap2), row, odscroll::IMG_THUMB_END);
      break;
    }
    case 6:
    case 7:
      DrawCell(p->pDC, r, 0, p->nPart == 6 ? odscroll::IMG_SIZEBOX : odscroll::IMG_SIZEBOX_LEFT);
      break;
  }
}

void ScrollBarEx::DrawPart(SBEX_DRAWPART* p) {
  CDC* pDC = p->pDC;
  CRect r = p->rect;
  if (r.IsRectEmpty() && p->nPart != 8) return;
  if (!m_image.IsEmpty()) {
    DrawPartFromImage(p);
    return;
  }
  const BOOL pressed = p->nFlags & 1, disabled = (p->nFlags & 4) != 0;
  switch (p->nPart) {
    case 0:
    case 1: {
      UINT s = IsHorizontal() ? (p->nPart == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                              : (p->nPart == 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
      if (pressed) s |= DFCS_PUSHED;
      if (disabled) s |= DFCS_INACTIVE;
      pDC->DrawFrameControl(&r, DFC_SCROLL, s);
      break;
    }
    case 2:
    case 3:
      pDC->InvertRect(&r);
      break;
    case 8: {
      if (disabled) {
        pDC->FillSolidRect(&r, m_crTrack);
        break;
      }
      // An 8 x 8 checkerboard of the track colour and grey, grey at the corner.
      WORD bits[8];
      for (int i = 0; i < 8; ++i) bits[i] = (WORD)((i & 1) ? 0xAA : 0x55);
      CBitmap pattern;
      pattern.CreateBitmap(8, 8, 1, 1, bits);
      CBrush brush(&pattern);
      const COLORREF oldText = pDC->SetTextColor(RGB(0x7F, 0x7F, 0x7F));
      const COLORREF oldBk = pDC->SetBkColor(m_crTrack);
      pDC->FillRect(&r, &brush);
      pDC->SetTextColor(oldText);
      pDC->SetBkColor(oldBk);
      break;
    }
    case 5: {
      const COLORREF fill = (p->nFlags & 2) ? m_crHotThumb : m_crThumb;
      pDC->FillSolidRect(&r, fill);
      FrameSides(pDC, r, fill, RGB(0, 0, 0));
      CRect inner = r;
      inner.DeflateRect(1, 1);
      FrameSides(pDC, inner, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
      const CPoint c = r.CenterPoint();
      for (int off : {-6, -3, 0, 3}) {
        CRect grip = IsHorizontal() ? CRect(c.x + off, r.top + 2, c.x + off + 2, r.bottom - 2)
                                    : CRect(r.left + 2, c.y + off, r.right - 2, c.y + off + 2);
        if (grip.Width() > 0 && grip.Height() > 0 && r.Width() > 14 && r.Height() > 14 - 6 * !IsHorizontal())
          FrameSides(pDC, grip, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
      }
      break;
    }
    case 6:
    case 7:
      pDC->DrawFrameControl(&r, DFC_SCROLL, p->nPart == 6 ? DFCS_SCROLLSIZEGRIP : DFCS_SCROLLSIZEGRIPRIGHT);
      break;
  }
}

void ScrollBarEx::PaintWindow() {
  PAINTSTRUCT ps;
  CDC* pDC = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
  if (::IsWindowVisible(m_hWnd) && m_bRedraw) Paint(pDC);
  ::EndPaint(m_hWnd, &ps);
}

void ScrollBarEx::OnThemeChanged() {
  LoadThemeValues();
  m_state.SetFixedThumb(s_nFixedSliderSize);
}

LRESULT ScrollBarEx::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(pt);
      return 0;
    case WM_MOUSEMOVE:
      OnMove(pt);
      return 0;
    case WM_MOUSELEAVE:
      m_bTrackingLeave = FALSE;
      m_nHover = -1;
      Invalidate(FALSE);
      return 1;
    case WM_LBUTTONUP:
      EndPress();
      return 0;
    // Losing the mouse or the focus in the middle of a press ends it.
    case WM_CAPTURECHANGED:
      if ((HWND)lParam != m_hWnd) EndPress();
      return 0;
    case WM_CANCELMODE:
      EndPress();
      return 0;
    case WM_TIMER:
      if (wParam == TIMER_FIRST) {
        KillTimer(TIMER_FIRST);
        SetTimer(TIMER_REPEAT, odscroll::Repeater::INTERVAL, nullptr);
      }
      if (wParam == TIMER_REPEAT) ScrollStep();
      return 0;
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
      return 1;
    case WM_MOUSEWHEEL: {
      const short delta = (short)HIWORD(wParam);
      if (delta != 0) Notify(delta > 0 ? SB_PAGEUP : SB_PAGEDOWN);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_HOME && m_state.Pos() != m_state.Min())
        m_state.SetPos(m_state.Min()), Invalidate(FALSE), Notify(SB_TOP);
      if (wParam == VK_END && m_state.Pos() != m_state.MaxPos())
        m_state.SetPos(m_state.MaxPos()), Invalidate(FALSE), Notify(SB_BOTTOM);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | ((GetStyle() & WS_TABSTOP) ? DLGC_WANTTAB : 0);
    case WM_KILLFOCUS:
      EndPress();
      Invalidate(FALSE);
      if (CWnd* pParent = GetParent()) pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 10), (LPARAM)m_hWnd);
      return 0;
    case WM_NCDESTROY:
      ::RemovePropA(m_hWnd, "ODCtrl");
      ::RemovePropA(m_hWnd, "ScrollBarEx");
      break;
  }
  return DefaultProc(message, wParam, lParam);
}
