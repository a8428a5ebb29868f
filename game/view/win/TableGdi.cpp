#include "TableGdi.h"

#include <algorithm>

using tableview::Box;

namespace tablegdi {

RECT ToRect(const Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

void FillRect(HDC dc, int x, int y, int w, int h, COLORREF c) {
  RECT r{x, y, x + w, y + h};
  ::SetBkColor(dc, c);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void VerticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {{r.left, r.top, (COLOR16)(GetRValue(top) << 8), (COLOR16)(GetGValue(top) << 8),
                     (COLOR16)(GetBValue(top) << 8), 0},
                    {r.right, r.bottom, (COLOR16)(GetRValue(bottom) << 8), (COLOR16)(GetGValue(bottom) << 8),
                     (COLOR16)(GetBValue(bottom) << 8), 0}};
  GRADIENT_RECT g{0, 1};
  ::GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

void RoundBox(HDC dc, const RECT& r, COLORREF fill, COLORREF edge, int radius) {
  HBRUSH b = ::CreateSolidBrush(fill);
  HPEN p = ::CreatePen(PS_SOLID, 1, edge);
  HGDIOBJ ob = ::SelectObject(dc, b), op = ::SelectObject(dc, p);
  ::RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
  ::SelectObject(dc, ob);
  ::SelectObject(dc, op);
  ::DeleteObject(b);
  ::DeleteObject(p);
}

void Disc(HDC dc, int x, int y, int w, int h, COLORREF fill, COLORREF edge) {
  HBRUSH b = ::CreateSolidBrush(fill);
  HPEN p = ::CreatePen(PS_SOLID, 1, edge);
  HGDIOBJ ob = ::SelectObject(dc, b), op = ::SelectObject(dc, p);
  ::Ellipse(dc, x, y, x + w, y + h);
  ::SelectObject(dc, ob);
  ::SelectObject(dc, op);
  ::DeleteObject(b);
  ::DeleteObject(p);
}

void CenteredText(HDC dc, const RECT& r, const char* text, COLORREF color) {
  RECT rr = r;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color);
  ::DrawTextA(dc, text, -1, &rr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

HBITMAP LoadBmpFile(const std::string& path) {
  if (path.empty()) return nullptr;
  return (HBITMAP)::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
}

void StretchBmp(HDC dc, HBITMAP bmp, const RECT& to) {
  BITMAP bm;
  if (!bmp || !::GetObjectA(bmp, sizeof bm, &bm)) return;
  HDC src = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(src, bmp);
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, src, 0, 0, bm.bmWidth, bm.bmHeight,
               SRCCOPY);
  ::SelectObject(src, old);
  ::DeleteDC(src);
}

void TileBmp(HDC dc, HBITMAP bmp, const RECT& to) {
  BITMAP bm;
  if (!bmp || !::GetObjectA(bmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
  HDC src = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(src, bmp);
  for (int y = to.top; y < to.bottom; y += bm.bmHeight)
    for (int x = to.left; x < to.right; x += bm.bmWidth)
      ::BitBlt(dc, x, y, std::min<int>(bm.bmWidth, to.right - x), std::min<int>(bm.bmHeight, to.bottom - y), src, 0, 0,
               SRCCOPY);
  ::SelectObject(src, old);
  ::DeleteDC(src);
}

bool DrawStripCell(HDC dc, HBITMAP strip, int index, int cellW, int cellH, int x, int y) {
  BITMAP bm;
  if (!strip || !::GetObjectA(strip, sizeof bm, &bm) || bm.bmHeight < cellH) return false;
  const int cell = tableview::StripCell(index, bm.bmWidth, cellW);
  if (cell < 0) return false;
  HDC src = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(src, strip);
  ::BitBlt(dc, x, y, cellW, cellH, src, cell * cellW, 0, SRCCOPY);
  ::SelectObject(src, old);
  ::DeleteDC(src);
  return true;
}

}  // namespace tablegdi
