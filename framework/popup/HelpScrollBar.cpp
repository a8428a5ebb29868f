#include "HelpScrollBar.h"

#include <algorithm>

BOOL CHelpScrollBar::LoadImage(LPCSTR lpszPath) {
  int w = 0, h = 0;
  if (!m_image.LoadFile(lpszPath) || !m_image.GetSize(w, h) || w < 9 || h < 3) {
    m_cell = CSize(0, 0);
    return FALSE;
  }
  m_cell = CSize(w / 9, h / 3);
  return TRUE;
}

void CHelpScrollBar::Blit(CDC* pDC, const CRect& to, int sx, int sy, int sw, int sh) {
  if (to.IsRectEmpty() || sw <= 0 || sh <= 0) return;
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap* old = mem.SelectObject(&m_image);
  pDC->SetStretchBltMode(COLORONCOLOR);
  pDC->StretchBlt(to.left, to.top, to.Width(), to.Height(), &mem, sx, sy, sw, sh, SRCCOPY);
  mem.SelectObject(old);
}

// Vertical cells of the grid (c wide, d high, row r by state): arrow 1 at column 0, arrow 2
// at column 1, the thumb at column 2 (caps of half a cell, a one-pixel middle stretched),
// the track at column 3 (one pixel row stretched).
void CHelpScrollBar::DrawPart(SBEX_DRAWPART* p) {
  if (IsHorizontal() || m_cell.cx <= 0 || m_cell.cy <= 0 || p->nPart > 8 || p->nPart == 6 || p->nPart == 7) {
    ScrollBarEx::DrawPart(p);
    return;
  }
  const CRect& r = p->rect;
  const int c = m_cell.cx, d = m_cell.cy, half = d / 2;
  const int row = (p->nFlags & 1) ? 2 : (p->nFlags & 2) ? 1 : 0;
  const int y = row * d;
  switch (p->nPart) {
    case 0:
    case 1:
      Blit(p->pDC, r, p->nPart * c, y, c, d);
      break;
    case 5: {
      const int cap = std::min<int>(half, r.Height() / 2);
      Blit(p->pDC, CRect(r.left, r.top, r.right, r.top + cap), 2 * c, y, c, half);
      Blit(p->pDC, CRect(r.left, r.top + cap, r.right, r.bottom - cap), 2 * c, y + half, c, 1);
      Blit(p->pDC, CRect(r.left, r.bottom - cap, r.right, r.bottom), 2 * c, y + half, c, half);
      break;
    }
    default:  // the track, whole or either half
      Blit(p->pDC, r, 3 * c, y, c, 1);
      break;
  }
}
