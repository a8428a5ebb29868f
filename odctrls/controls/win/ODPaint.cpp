#include "ODPaint.h"

#include "ListBoxModel.h"

const char kODFontFace[] = "\xCB\xCE\xCC\xE5";

ODPaintBuffer::ODPaintBuffer(HDC hTarget, const RECT& rc) : m_hTarget(hTarget), m_hMem(nullptr), m_hBitmap(nullptr),
                                                           m_hOld(nullptr), m_rc(rc) {
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return;
  m_hMem = ::CreateCompatibleDC(hTarget);
  m_hBitmap = ::CreateCompatibleBitmap(hTarget, w, h);
  if (!m_hMem || !m_hBitmap) {
    if (m_hMem) ::DeleteDC(m_hMem);
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
    m_hMem = nullptr;
    m_hBitmap = nullptr;
    return;
  }
  m_hOld = ::SelectObject(m_hMem, m_hBitmap);
  ::SetWindowOrgEx(m_hMem, rc.left, rc.top, nullptr);
  ::BitBlt(m_hMem, rc.left, rc.top, w, h, hTarget, rc.left, rc.top, SRCCOPY);
}

ODPaintBuffer::~ODPaintBuffer() {
  if (!m_hMem) return;
  ::BitBlt(m_hTarget, m_rc.left, m_rc.top, m_rc.right - m_rc.left, m_rc.bottom - m_rc.top, m_hMem, m_rc.left,
           m_rc.top, SRCCOPY);
  ::SelectObject(m_hMem, m_hOld);
  ::DeleteObject(m_hBitmap);
  ::DeleteDC(m_hMem);
}

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
  lstrcpyA(lf.lfFaceName, kODFontFace);
  return ::CreateFontIndirectA(&lf);
}
