// Key-colour transparency for the table's pictures: XOR, AND mask, XOR leaves the
// destination wherever the picture has its key colour.
#include "QKBitmap.h"

void DrawBitmapKeyed(CDC* pDC, const RECT& rcDest, HBITMAP hBitmap, POINT ptSrc, POINT ptKey) {
  HDC dc = pDC ? pDC->GetSafeHdc() : nullptr;
  const int w = rcDest.right - rcDest.left, h = rcDest.bottom - rcDest.top;
  if (!dc || !hBitmap || w <= 0 || h <= 0) return;
  HDC src = ::CreateCompatibleDC(dc), work = ::CreateCompatibleDC(dc), mono = ::CreateCompatibleDC(dc);
  HBITMAP workBmp = ::CreateCompatibleBitmap(dc, w, h);
  HBITMAP maskBmp = ::CreateBitmap(w, h, 1, 1, nullptr);
  if (src && work && mono && workBmp && maskBmp) {
    HGDIOBJ os = ::SelectObject(src, hBitmap);
    HGDIOBJ ow = ::SelectObject(work, workBmp);
    HGDIOBJ om = ::SelectObject(mono, maskBmp);
    const COLORREF key = ::GetPixel(src, ptKey.x, ptKey.y);
    // Key pixels become white in the mask.
    const COLORREF oldBk = ::SetBkColor(src, key);
    ::BitBlt(mono, 0, 0, w, h, src, ptSrc.x, ptSrc.y, SRCCOPY);
    ::SetBkColor(src, oldBk);
    ::BitBlt(work, 0, 0, w, h, dc, rcDest.left, rcDest.top, SRCCOPY);
    ::SetBkColor(work, RGB(255, 255, 255));
    ::SetTextColor(work, RGB(0, 0, 0));
    ::BitBlt(work, 0, 0, w, h, src, ptSrc.x, ptSrc.y, SRCINVERT);
    ::BitBlt(work, 0, 0, w, h, mono, 0, 0, SRCAND);
    ::BitBlt(work, 0, 0, w, h, src, ptSrc.x, ptSrc.y, SRCINVERT);
    ::BitBlt(dc, rcDest.left, rcDest.top, w, h, work, 0, 0, SRCCOPY);
    ::SelectObject(src, os);
    ::SelectObject(work, ow);
    ::SelectObject(mono, om);
  }
  if (maskBmp) ::DeleteObject(maskBmp);
  if (workBmp) ::DeleteObject(workBmp);
  if (mono) ::DeleteDC(mono);
  if (work) ::DeleteDC(work);
  if (src) ::DeleteDC(src);
}

void DrawBitmapKeyedAtOrigin(CDC* pDC, const RECT& rcDest, HBITMAP hBitmap, POINT ptKey) {
  DrawBitmapKeyed(pDC, rcDest, hBitmap, POINT{0, 0}, ptKey);
}
