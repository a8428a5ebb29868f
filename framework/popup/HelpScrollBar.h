// The help picture's vertical scroll bar: the owner-drawn bar drawn from the theme's
// "Scroll.bmp", a grid of 9 columns by 3 rows (normal, hot, pressed) of equal cells: up
// arrow, down arrow, thumb, track, then the horizontal cells and the size box.
#pragma once
#include <afxwin.h>

#include "QKBitmap.h"
#include "ScrollBarEx.h"

class CHelpScrollBar : public ScrollBarEx {
 public:
  // Loads the grid; FALSE (the bar keeps its own drawing) when the file is missing.
  BOOL LoadImage(LPCSTR lpszPath);
  CSize GetCellSize() const { return m_cell; }
  void DrawPart(SBEX_DRAWPART* pReq) override;

 private:
  void Blit(CDC* pDC, const CRect& to, int sx, int sy, int sw, int sh);

  CQKBitmap m_image;
  CSize m_cell = CSize(0, 0);
};
