#include "ODPaint.h"

#include "ListBoxModel.h"
#include "ODMemDC.h"
#include "ODTheme.h"
#include "resource.h"

void ODFillSolid(HDC hDC, const RECT& rc, COLORREF cr) {
  if (cr == CLR_NONE) return;
  COLORREF old = ::SetBkColor(hDC, cr);
  ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
  ::SetBkColor(hDC, old);
}

void ODFillGradient(HDC hDC, const RECT& rc, COLORREF crFrom, COLORREF crTo, BOOL bVertical) {
  const int start = bVertical ? rc.top : rc.left;
  const int size = bVertical ? rc.bottom - rc.top : rc.right - rc.left;
  for (int i = 0; i < 64; ++i) {
    int a, b;
    vesk::odctrls::GradientSpan(start, size, i, &a, &b);
    if (a >= b) continue;
    RECT band = rc;
    if (bVertical) {
      band.top = a;
      band.bottom = b;
    } else {
      band.left = a;
      band.right = b;
    }
    ODFillSolid(hDC, band, vesk::odctrls::GradientBand(crFrom, crTo, i));
  }
}

void ODFrame(HDC hDC, const RECT& rc, COLORREF cr, int nWidth) {
  if (cr == CLR_NONE) return;
  for (int i = 0; i < nWidth && i < 16; ++i) {
    RECT r = {rc.left + i, rc.top + i, rc.right - i, rc.bottom - i};
    if (r.right <= r.left || r.bottom <= r.top) break;
    HBRUSH br = ::CreateSolidBrush(cr);
    ::FrameRect(hDC, &r, br);
    ::DeleteObject(br);
  }
}

HFONT ODCreateFont(int nHeight, int nWeight, BOOL bUnderline) {
  LOGFONTA lf = {};
  lf.lfHeight = -nHeight;
  lf.lfWeight = nWeight;
  lf.lfUnderline = (BYTE)bUnderline;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfClipPrecision = CLIP_STROKE_PRECIS;
  lf.lfQuality = DRAFT_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH;
  lstrcpyA(lf.lfFaceName, VESK_FACE_SONG);
  return ::CreateFontIndirectA(&lf);
}

void ODPaintClient(HWND hWnd, const std::function<void(HDC, const CRect&)>& draw) {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(hWnd, &ps);
  CRect rc;
  ::GetClientRect(hWnd, &rc);
  if (::RectVisible(hdc, &rc)) {
    CODMemDC buf(CDC::FromHandle(hdc), &rc, TRUE);
    draw(buf.m_hDC, rc);
  }
  ::EndPaint(hWnd, &ps);
}

void ODUnionRegion(HRGN* pAll, HRGN hPart) {
  if (!hPart) return;
  if (!*pAll) {
    *pAll = hPart;
    return;
  }
  ::CombineRgn(*pAll, *pAll, hPart, RGN_OR);
  ::DeleteObject(hPart);
}
