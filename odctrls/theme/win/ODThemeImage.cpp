#include "ODThemeImage.h"

#include <algorithm>
#include <cstring>

#include "GifImage.h"
#include "ThemeValues.h"

HBITMAP CopyToDib32(HBITMAP hSrc, int* pWidth, int* pHeight, DWORD** ppBits) {
  BITMAP bm = {};
  if (!hSrc || !::GetObjectA(hSrc, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return nullptr;
  int w = bm.bmWidth, h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib) {
    HDC src = ::CreateCompatibleDC(screen), dst = ::CreateCompatibleDC(screen);
    HGDIOBJ o1 = ::SelectObject(src, hSrc), o2 = ::SelectObject(dst, dib);
    ::BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCCOPY);
    ::SelectObject(src, o1);
    ::SelectObject(dst, o2);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    ::GdiFlush();
  }
  ::ReleaseDC(nullptr, screen);
  if (!dib) return nullptr;
  if (pWidth) *pWidth = w;
  if (pHeight) *pHeight = h;
  if (ppBits) *ppBits = static_cast<DWORD*>(bits);
  return dib;
}

namespace {

// A pixel of a 32-bit DIB (0x00RRGGBB) as a COLORREF (0x00BBGGRR).
COLORREF PixelColour(DWORD px) { return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF); }

// Runs of non-key pixels in the part {0, 0, cw, ch} of a width-wide pixel array.
HRGN KeyedRegion(const DWORD* bits, int width, int cw, int ch, COLORREF key) {
  std::vector<RECT> rects;
  for (int y = 0; y < ch; ++y) {
    const DWORD* row = bits + size_t(y) * size_t(width);
    int x = 0;
    while (x < cw) {
      while (x < cw && PixelColour(row[x]) == key) ++x;
      int start = x;
      while (x < cw && PixelColour(row[x]) != key) ++x;
      if (x > start) rects.push_back(RECT{start, y, x, y + 1});
    }
  }
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATA* rd = reinterpret_cast<RGNDATA*>(data.data());
  rd->rdh.dwSize = sizeof(RGNDATAHEADER);
  rd->rdh.iType = RDH_RECTANGLES;
  rd->rdh.nCount = DWORD(rects.size());
  rd->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
  rd->rdh.rcBound = RECT{0, 0, cw, ch};
  if (!rects.empty()) memcpy(rd->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return ::ExtCreateRegion(nullptr, DWORD(data.size()), rd);
}

}  // namespace

HRGN KeyedRegionFromBitmap(HBITMAP hBitmap, COLORREF crKey) {
  int w = 0, h = 0;
  DWORD* bits = nullptr;
  HBITMAP dib = CopyToDib32(hBitmap, &w, &h, &bits);
  if (!dib) return nullptr;
  HRGN r = KeyedRegion(bits, w, w, h, crKey);
  ::DeleteObject(dib);
  return r;
}

CODThemeImage::CODThemeImage()
    : m_bNoShape(FALSE),
      m_bEmpty(TRUE),
      m_nExtraValue(0),
      m_nDrawMode(DRAW_SINGLE),
      m_nFramesPerState(0),
      m_nStateCount(0),
      m_hBitmap(nullptr),
      m_nWidth(0),
      m_nHeight(0),
      m_nAnimation(0),
      m_nCurrentFrame(0),
      m_bAnimating(FALSE),
      m_nCellWidth(0),
      m_nCellHeight(0),
      m_pGif(nullptr),
      m_nKind(KIND_NONE),
      m_bHasShape(FALSE),
      m_bGridLayout(FALSE),
      m_crKey(CLR_INVALID) {}

CODThemeImage::~CODThemeImage() {
  m_bEmpty = FALSE;  // clear whatever is held
  Clear();
}

void CODThemeImage::Clear() {
  if (m_bEmpty) return;
  StopAnimation(TRUE);
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
  m_hBitmap = nullptr;
  delete m_pGif;
  m_pGif = nullptr;
  for (GifFrame& f : m_frames) {
    if (f.hImage) ::DeleteObject(f.hImage);
    if (f.hMask) ::DeleteObject(f.hMask);
  }
  m_frames.clear();
  m_region.clear();
  m_nAnimation = 0;
  m_bAnimating = FALSE;
  m_nExtraValue = m_nFramesPerState = m_nStateCount = 0;
  m_nWidth = m_nHeight = m_nCellWidth = m_nCellHeight = m_nCurrentFrame = 0;
  m_nKind = KIND_NONE;
  m_bHasShape = FALSE;
  m_bGridLayout = FALSE;
  m_crKey = CLR_INVALID;
  m_bEmpty = TRUE;
}

int CODThemeImage::LoadFromBitmap(HBITMAP hBitmap, int nKeySelector, int nCellCount, int nStateCount,
                                  int nFramesPerState, int nExtraValue, BOOL bGridLayout) {
  if (!hBitmap || nStateCount <= 0 || nFramesPerState <= 0 || nExtraValue < 0 || m_bAnimating) return 0;
  // A cell count below 1 would divide by zero; such a spec means one cell.
  if (nCellCount <= 0) nCellCount = 1;
  int w = 0, h = 0;
  DWORD* bits = nullptr;
  HBITMAP dib = CopyToDib32(hBitmap, &w, &h, &bits);
  if (!dib) return 0;
  Clear();
  m_hBitmap = dib;
  m_nWidth = w;
  m_nHeight = h;
  if (bGridLayout) {
    m_nCellWidth = w / nFramesPerState;
    m_nCellHeight = h / nStateCount;
  } else {
    m_nCellWidth = w / nCellCount;
    m_nCellHeight = h;
  }
  if (nKeySelector != -1) {
    int kx = 0, ky = 0;
    if (vesk::odtheme::KeyCorner(nKeySelector, w, h, &kx, &ky))
      m_crKey = PixelColour(bits[size_t(ky) * size_t(w) + size_t(kx)]);
    else
      m_crKey = COLORREF(nKeySelector) & 0x00FFFFFF;
    m_bHasShape = TRUE;
    int cw = std::max(0, std::min(m_nCellWidth, w)), ch = std::max(0, std::min(m_nCellHeight, h));
    if (HRGN r = KeyedRegion(bits, w, cw, ch, m_crKey)) {
      DWORD n = ::GetRegionData(r, 0, nullptr);
      m_region.resize(n);
      if (!n || ::GetRegionData(r, n, reinterpret_cast<RGNDATA*>(m_region.data())) != n) m_region.clear();
      ::DeleteObject(r);
    }
  }
  m_nFramesPerState = nFramesPerState;
  m_nStateCount = nStateCount;
  m_nExtraValue = nExtraValue;
  m_bGridLayout = bGridLayout;
  m_nCurrentFrame = 0;
  m_nKind = KIND_BITMAP;
  m_bEmpty = FALSE;
  return 1;
}

int CODThemeImage::LoadFromGifFile(LPCSTR lpszPath) {
  Clear();
  if (!lpszPath) return 0;
  std::string path(lpszPath);
  size_t b = path.find_first_not_of(' '), e = path.find_last_not_of(' ');
  path = b == std::string::npos ? std::string() : path.substr(b, e - b + 1);
  m_pGif = new CGifImage;
  int w = 0, h = 0, count = 0;
  if (path.empty() || m_pGif->LoadFromFile(path.c_str()) != CGifImage::GIF_OK ||
      !m_pGif->GetImageSize(&w, &h, &count)) {
    delete m_pGif;
    m_pGif = nullptr;
    return 0;
  }
  GifFrame f;
  int index = 0;
  while (m_pGif->GetNextImage(&f.hImage, &f.hMask, &f.left, &f.top, &f.width, &f.height, &f.delay, &f.disposal,
                              &f.transparent, &index)) {
    m_frames.push_back(f);
    f = GifFrame();
  }
  m_nWidth = m_nCellWidth = w;
  m_nHeight = m_nCellHeight = h;
  m_nFramesPerState = int(m_frames.size());
  m_nStateCount = 1;
  m_nCurrentFrame = 0;
  m_nKind = KIND_GIF;
  m_bEmpty = FALSE;
  return 1;
}

void CODThemeImage::GetFrameRect(int nState, RECT* pRect) const {
  if (!pRect) return;
  vesk::odtheme::CellRect r = vesk::odtheme::FrameRect(m_nCellWidth, m_nCellHeight, m_nStateCount, m_nFramesPerState,
                                                       m_bGridLayout != FALSE, nState, m_nCurrentFrame);
  *pRect = RECT{r.left, r.top, r.right, r.bottom};
}

HRGN CODThemeImage::GetShapeRegion(const RECT& rc, int nState) const {
  (void)nState;
  if (m_region.empty() || m_bNoShape || m_nDrawMode == DRAW_STRETCH || !m_bHasShape || ::IsRectEmpty(&rc) ||
      m_nCellWidth <= 0 || m_nCellHeight <= 0)
    return nullptr;
  HRGN shape = ::ExtCreateRegion(nullptr, DWORD(m_region.size()), reinterpret_cast<const RGNDATA*>(m_region.data()));
  if (!shape) return nullptr;
  HRGN result = nullptr;
  if (m_nDrawMode == DRAW_SINGLE) {
    ::OffsetRgn(shape, rc.left, rc.top);
    result = ::CreateRectRgn(rc.left, rc.top, rc.left + m_nCellWidth, rc.top + m_nCellHeight);
    ::CombineRgn(result, result, shape, RGN_DIFF);
  } else {
    HRGN all = ::CreateRectRgn(0, 0, 0, 0);
    HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    for (int y = 0; y < h; y += m_nCellHeight)
      for (int x = 0; x < w; x += m_nCellWidth) {
        ::CombineRgn(copy, shape, nullptr, RGN_COPY);
        ::OffsetRgn(copy, x, y);
        ::CombineRgn(all, all, copy, RGN_OR);
      }
    ::OffsetRgn(all, rc.left, rc.top);
    result = ::CreateRectRgnIndirect(&rc);
    ::CombineRgn(result, result, all, RGN_DIFF);
    ::DeleteObject(copy);
    ::DeleteObject(all);
  }
  ::DeleteObject(shape);
  return result;
}

UINT_PTR CODThemeImage::StartAnimation() {
  if (m_nFramesPerState <= 1) return 0;
  if (!m_bAnimating) {
    m_nAnimation = OnStartAnimation();
    m_bAnimating = m_nAnimation != 0;
  }
  return m_nAnimation;
}

BOOL CODThemeImage::StopAnimation(BOOL bReset) {
  if (m_bAnimating && OnStopAnimation()) {
    m_bAnimating = FALSE;
    m_nAnimation = 0;
  }
  if (!m_bAnimating && bReset) m_nCurrentFrame = 0;
  return !m_bAnimating;
}

void CODThemeImage::OnAnimationTimer() {
  if (m_bEmpty || m_nFramesPerState <= 1) return;
  m_nCurrentFrame = (m_nCurrentFrame + 1) % m_nFramesPerState;
}

// The owner runs the timer; the mark only says the animation is on.
UINT_PTR CODThemeImage::OnStartAnimation() { return 1; }
BOOL CODThemeImage::OnStopAnimation() { return TRUE; }

void CODThemeImage::Draw(HDC hDC, const RECT& rc, int nState) {
  if (m_bEmpty || !hDC || ::IsRectEmpty(&rc)) return;
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  HDC mem = ::CreateCompatibleDC(hDC);
  if (m_nKind == KIND_GIF) {
    if (m_frames.empty() || m_nCurrentFrame >= int(m_frames.size())) {
      ::DeleteDC(mem);
      return;
    }
    const GifFrame& f = m_frames[size_t(m_nCurrentFrame)];
    HGDIOBJ old = ::SelectObject(mem, f.hImage);
    if (f.hMask) {
      HDC maskDc = ::CreateCompatibleDC(hDC);
      HGDIOBJ oldMask = ::SelectObject(maskDc, f.hMask);
      ::BitBlt(hDC, rc.left + f.left, rc.top + f.top, f.width, f.height, maskDc, 0, 0, SRCAND);
      ::BitBlt(hDC, rc.left + f.left, rc.top + f.top, f.width, f.height, mem, 0, 0, SRCPAINT);
      ::SelectObject(maskDc, oldMask);
      ::DeleteDC(maskDc);
    } else {
      ::BitBlt(hDC, rc.left + f.left, rc.top + f.top, f.width, f.height, mem, 0, 0, SRCCOPY);
    }
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    return;
  }
  RECT src;
  GetFrameRect(nState, &src);
  int cw = src.right - src.left, ch = src.bottom - src.top;
  HGDIOBJ old = ::SelectObject(mem, m_hBitmap);
  auto blit = [&](int x, int y, int dw, int dh, int sw, int sh) {
    if (m_bHasShape)
      ::TransparentBlt(hDC, x, y, dw, dh, mem, src.left, src.top, sw, sh, m_crKey);
    else if (dw == sw && dh == sh)
      ::BitBlt(hDC, x, y, dw, dh, mem, src.left, src.top, SRCCOPY);
    else
      ::StretchBlt(hDC, x, y, dw, dh, mem, src.left, src.top, sw, sh, SRCCOPY);
  };
  if (cw > 0 && ch > 0) {
    if (m_nDrawMode == DRAW_STRETCH) {
      ::SetStretchBltMode(hDC, COLORONCOLOR);
      blit(rc.left, rc.top, w, h, cw, ch);
    } else if (m_nDrawMode == DRAW_SINGLE) {
      int dw = std::min(cw, w), dh = std::min(ch, h);
      blit(rc.left, rc.top, dw, dh, dw, dh);
    } else {
      for (const auto& o : vesk::odtheme::TileOrigins(w, h, cw, ch)) {
        int dw = std::min(cw, w - o.first), dh = std::min(ch, h - o.second);
        blit(rc.left + o.first, rc.top + o.second, dw, dh, dw, dh);
      }
    }
  }
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}
