#include "ODProgressCtrl.h"

#include "ODMemDC.h"
#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeSections.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_progressLoader = (SetThemeClassLoader("ODProgress", &LoadODProgressTheme), true);
}  // namespace

IMPLEMENT_DYNAMIC(CODProgressCtrl, CWnd)

CODProgressCtrl::CODProgressCtrl() : CODPaintedWnd<CWnd>("ODProgress", 0x1002), m_bHover(FALSE) { ApplyThemeValues(); }

void CODProgressCtrl::ApplyThemeValues() {
  int w = ODProgressValues().nBorderWidth;
  w = w < 0 ? 0 : w > 16 ? 16 : w;
  m_rcBorder.SetRect(w, w, w, w);
}

BOOL CODProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW));
  m_style = dwStyle & 0xFFFF;
  return CWnd::Create(cls, "", (dwStyle & 0xFFFF0000) | WS_CHILD, rect, pParentWnd, nID);
}

void CODProgressCtrl::ModifyODStyle(DWORD dwRemove, DWORD dwAdd) {
  const BOOL wasVertical = IsVertical();
  m_style = dwAdd | (m_style & ~dwRemove);
  ModifyStyle(dwRemove, dwAdd);
  if (IsVertical() != wasVertical) LoadImages();  // the other direction's images
  Invalidate(FALSE);
}

void CODProgressCtrl::LoadImages() {
  const ODProgressTheme& t = ODProgressValues();
  const BOOL vert = IsVertical();
  const char* specs[4] = {vert ? t.vertBkImg : t.bkImg, vert ? t.vertBarImg : t.barImg,
                          vert ? t.vertGrowImg : t.growImg, vert ? t.vertBlockImg : t.blockImg};
  for (int i = 0; i < 4; ++i) {
    if (m_hWnd) KillTimer(i + 1);
    m_images[i].Clear();
    if (specs[i][0]) LoadThemeImageSpec(specs[i], &m_images[i]);
    m_images[i].SetDrawMode(i == IMG_BLOCK ? CODThemeImage::DRAW_STRETCH : CODThemeImage::DRAW_TILED);
    if (m_hWnd && m_images[i].StartAnimation()) SetTimer(i + 1, 200, nullptr);
  }
}

void CODProgressCtrl::OnPositionChanged(int) {
  if (m_hWnd) Invalidate(FALSE);
}

BOOL CODProgressCtrl::OnPositionChanging(int, int) { return TRUE; }

BOOL CODProgressCtrl::IsVertical() const { return (m_style & PBS_VERTICAL) != 0; }

void CODProgressCtrl::OnThemeChanged() {
  ApplyThemeValues();
  LoadImages();
}

LRESULT CODProgressCtrl::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      if (r != -1) LoadImages();
      return r;
    }
    case WM_TIMER:
      if (wParam >= 1 && wParam <= 4) {
        m_images[wParam - 1].OnAnimationTimer();
        Invalidate(FALSE);
      }
      break;
    case WM_MOUSEMOVE:
      OnMouseMove();
      break;
    case WM_MOUSELEAVE:
      m_bHover = FALSE;
      Invalidate(FALSE);
      return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

void CODProgressCtrl::OnMouseMove() {
  if (m_bHover) return;
  TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
  ::TrackMouseEvent(&tme);
  m_bHover = TRUE;
  Invalidate(FALSE);
}

void CODProgressCtrl::PaintWindow() {
  ODPaintClient(m_hWnd, [this](HDC dc, const CRect& rc) {
    CRect inner = rc;
    inner.DeflateRect(m_rcBorder.left, m_rcBorder.top, m_rcBorder.right, m_rcBorder.bottom);
    DrawBackground(dc, inner);
    DrawBar(dc, inner);
    DrawText(dc, rc);
  });
}

// Mode 0 fills with the colour; any other mode lays the background image when there is one.
void CODProgressCtrl::DrawBackground(HDC hDC, const RECT& rc) {
  if (ODProgressValues().nBkMode != 0 && !m_images[IMG_BACKGROUND].IsEmpty()) {
    m_images[IMG_BACKGROUND].Draw(hDC, rc, m_bHover ? 1 : 0);
    return;
  }
  ODFillSolid(hDC, rc, ODProgressValues().crBkgnd);
}

namespace {
// The part [from, to) of the range as a span of the bar's extent.
void Span(int from, int to, int lo, int hi, int extent, int* a, int* b) {
  long long range = (long long)hi - lo;
  if (range <= 0) {
    *a = *b = 0;
    return;
  }
  *a = (int)(((long long)from - lo) * extent / range);
  *b = (int)(((long long)to - lo) * extent / range);
}
}  // namespace

void CODProgressCtrl::DrawBar(HDC hDC, const RECT& rc) {
  const ODProgressTheme& t = ODProgressValues();
  const BOOL vert = IsVertical();
  const int extent = vert ? rc.bottom - rc.top : rc.right - rc.left;
  int a = 0, b = 0;
  if (m_style & vesk::odctrls::kProgressGrow)
    Span(m_blockStart, m_pos, m_min, m_max, extent, &a, &b);
  else
    Span(m_min, m_pos, m_min, m_max, extent, &a, &b);
  if (b <= a) return;
  CRect bar = rc;
  if (vert) {
    bar.top = rc.bottom - b;
    bar.bottom = rc.bottom - a;
  } else {
    bar.left = rc.left + a;
    bar.right = rc.left + b;
  }
  if (t.nPrgMode == 1) {
    // Blocks of the theme's count with gaps between them.
    int count = t.nBlockCount < 1 ? 1 : t.nBlockCount > 200 ? 200 : t.nBlockCount;
    int size = extent / count < 2 ? 2 : extent / count;
    for (int x = vert ? bar.top : bar.left; x < (vert ? bar.bottom : bar.right); x += size) {
      CRect blk = bar;
      if (vert) {
        blk.top = x;
        blk.bottom = x + size - t.nBlockSpace < bar.bottom ? x + size - t.nBlockSpace : bar.bottom;
      } else {
        blk.left = x;
        blk.right = x + size - t.nBlockSpace < bar.right ? x + size - t.nBlockSpace : bar.right;
      }
      if (!m_images[IMG_BLOCK].IsEmpty()) {
        m_images[IMG_BLOCK].Draw(hDC, blk, m_bHover ? 1 : 0);
        continue;
      }
      ODFillSolid(hDC, blk, m_bHover ? t.crBlockFaceHI : t.crBlockFace);
      ODFrame(hDC, blk, m_bHover ? t.crBlockEdgeHI : t.crBlockEdge, 1);
    }
    return;
  }
  // The grow block and the bar take their images over the gradient when the theme has them.
  CODThemeImage& img = m_images[(m_style & vesk::odctrls::kProgressGrow) ? IMG_GROW : IMG_BAR];
  if (!img.IsEmpty()) {
    img.Draw(hDC, bar, m_bHover ? 1 : 0);
    return;
  }
  ODFillGradient(hDC, bar, t.crBarStart, t.crBarEnd, vert);
}

void CODProgressCtrl::DrawText(HDC hDC, const RECT& rc) {
  const ODProgressTheme& t = ODProgressValues();
  ODFrame(hDC, rc, t.crBorder, m_rcBorder.left);
  if (m_style & vesk::odctrls::kProgressGrow) return;
  long long range = (long long)m_max - m_min;
  int pct = range > 0 ? (int)(((long long)m_pos - m_min) * 100 / range) : 0;
  char text[16];
  wsprintfA(text, "%d%%", pct);
  HFONT font = ODCreateFont(12);
  HGDIOBJ old = ::SelectObject(hDC, font);
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, pct >= 50 ? t.crTextOnBar : t.crText);
  RECT r = rc;
  ::DrawTextA(hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(hDC, old);
  ::DeleteObject(font);
}
