// Small drawing helpers of the table: filled and rounded boxes, discs, gradients, centred
// text and stretched pictures, in plain GDI.
#pragma once
#include <windows.h>

#include <string>

#include "TableLayout.h"

namespace tablegdi {

RECT ToRect(const tableview::Box& b);
void FillRect(HDC dc, int x, int y, int w, int h, COLORREF c);
void VerticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom);
void RoundBox(HDC dc, const RECT& r, COLORREF fill, COLORREF edge, int radius);
void Disc(HDC dc, int x, int y, int w, int h, COLORREF fill, COLORREF edge);
void CenteredText(HDC dc, const RECT& r, const char* text, COLORREF color);
HBITMAP LoadBmpFile(const std::string& path);
void StretchBmp(HDC dc, HBITMAP bmp, const RECT& to);
// `bmp` repeated from the top-left corner of `to`, clipped to it.
void TileBmp(HDC dc, HBITMAP bmp, const RECT& to);
// Cell `index` (kept inside the strip) of a strip of `cellW` by `cellH` cells, at (x, y);
// false when there is no strip or it holds no whole cell.
bool DrawStripCell(HDC dc, HBITMAP strip, int index, int cellW, int cellH, int x, int y);

}  // namespace tablegdi
