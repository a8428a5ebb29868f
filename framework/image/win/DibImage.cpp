#include "DibImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "DibPixels.h"
#include "GdiScope.h"
#include "GifImage.h"
#include "ImageBytes.h"
#include "OutsideLibrary.h"
#include "QKBitmap.h"

using dibimage::Blit;
using dibimage::Rect;

using dibimage::MemDC;
using dibimage::ScreenDC;

namespace {

Rect ToRect(const RECT& r) { return Rect{int(r.left), int(r.top), int(r.right), int(r.bottom)}; }

dibimage::Pixels View(WORD* bits, int w, int h, int stride) {
  return dibimage::Pixels{reinterpret_cast<uint16_t*>(bits), w, h, size_t(stride)};
}

// A device counts as 65535 x 65535 when it is the destination.
const int kDeviceSize = 65535;

// Bits per pixel of what the device draws into: the selected bitmap of a memory DC.
int DeviceBits(HDC dc) {
  if (::GetObjectType(dc) == OBJ_MEMDC) {
    BITMAP bm;
    HGDIOBJ b = ::GetCurrentObject(dc, OBJ_BITMAP);
    if (b && ::GetObjectA(b, sizeof bm, &bm)) return bm.bmBitsPixel * bm.bmPlanes;
  }
  return ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CDibImage

CDibImage::CDibImage()
    : m_nWidth(0),
      m_nHeight(0),
      m_nStride(0),
      m_pPixels(nullptr),
      m_pInfo(nullptr),
      m_crTransparent(0),
      m_nTransparentMode(TRANSPARENT_NONE),
      m_rcClip{0, 0, 0, 0},
      m_nOriginX(0),
      m_nOriginY(0) {}

CDibImage::~CDibImage() { Clear(); }

int CDibImage::Create(int nWidth, int nHeight) {
  Clear();
  size_t stride = 0, total = 0;
  if (!dibimage::ImageBytes(nWidth, nHeight, &stride, &total)) return 0;
  BITMAPINFO* info = static_cast<BITMAPINFO*>(std::calloc(1, sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD)));
  WORD* pixels = static_cast<WORD*>(std::malloc(total));
  if (!info || !pixels) {
    std::free(info);
    std::free(pixels);
    return 0;
  }
  BITMAPINFOHEADER& h = info->bmiHeader;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = nWidth;
  h.biHeight = -nHeight;
  h.biPlanes = 1;
  h.biBitCount = 16;
  h.biCompression = BI_BITFIELDS;
  h.biSizeImage = DWORD(total);
  h.biClrUsed = 3;
  DWORD* masks = reinterpret_cast<DWORD*>(info->bmiColors);
  masks[0] = 0xF800;
  masks[1] = 0x07E0;
  masks[2] = 0x001F;
  m_pInfo = info;
  m_pPixels = pixels;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_nStride = int(stride);
  return 1;
}

void CDibImage::Clear() {
  std::free(m_pPixels);
  std::free(m_pInfo);
  m_pPixels = nullptr;
  m_pInfo = nullptr;
  m_nWidth = m_nHeight = m_nStride = 0;
  m_nTransparentMode = TRANSPARENT_NONE;
  m_crTransparent = 0;
}

void CDibImage::SetTransparentColor(COLORREF cr) {
  m_nTransparentMode = TRANSPARENT_COLOR;
  m_crTransparent = cr;
}

void CDibImage::SetTransparentTopLeft() { m_nTransparentMode = TRANSPARENT_TOPLEFT; }

void CDibImage::SetTransparentFromPixel(int x, int y) {
  if (!m_pPixels || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
  SetTransparentColor(dibimage::FromRgb565(WORD(GetPixel(x, y))));
}

DWORD CDibImage::GetPixel(int x, int y) const {
  if (!m_pPixels || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0;
  return View(m_pPixels, m_nWidth, m_nHeight, m_nStride).Row(y)[x];
}

WORD CDibImage::KeyValue() const {
  return m_nTransparentMode == TRANSPARENT_TOPLEFT ? WORD(GetPixel(0, 0)) : dibimage::ToRgb565(m_crTransparent);
}

void CDibImage::SetClipRect(const RECT* pRect) {
  if (pRect)
    m_rcClip = *pRect;
  else
    ::SetRectEmpty(&m_rcClip);
}

int CDibImage::Fill(int x, int y, int w, int h, WORD wValue) {
  if (!m_pPixels) return 0;
  dibimage::Fill(View(m_pPixels, m_nWidth, m_nHeight, m_nStride), x + m_nOriginX, y + m_nOriginY, w, h, wValue);
  return 1;
}

// The clipping of a copy from src to this image's (x, y); false when nothing is left.
bool CDibImage::ClipFrom(const CDibImage& src, const RECT* pSrcRect, int x, int y, dibimage::Blit* b) const {
  Rect sr;
  if (pSrcRect) sr = ToRect(*pSrcRect);
  return dibimage::ClipBlit(src.m_nWidth, src.m_nHeight, pSrcRect ? &sr : nullptr, x, y, m_nWidth, m_nHeight,
                            m_nOriginX, m_nOriginY, ToRect(m_rcClip), b);
}

// The clipping of a drawing of this image to a device (65535 x 65535).
bool CDibImage::ClipToDevice(const RECT* pSrcRect, int x, int y, dibimage::Blit* b) const {
  Rect sr;
  if (pSrcRect) sr = ToRect(*pSrcRect);
  return dibimage::ClipBlit(m_nWidth, m_nHeight, pSrcRect ? &sr : nullptr, x, y, kDeviceSize, kDeviceSize, m_nOriginX,
                            m_nOriginY, ToRect(m_rcClip), b);
}

int CDibImage::CopyFrom(const CDibImage& src, const RECT* pSrcRect, int x, int y) {
  if (!m_pPixels || !src.m_pPixels) return 0;
  Blit b;
  if (ClipFrom(src, pSrcRect, x, y, &b))
    dibimage::Copy(View(m_pPixels, m_nWidth, m_nHeight, m_nStride),
                   View(src.m_pPixels, src.m_nWidth, src.m_nHeight, src.m_nStride), b);
  return 1;
}

int CDibImage::BlendFrom(const CDibImage& src, const RECT* pSrcRect, int x, int y, int nAlpha) {
  if (!m_pPixels || !src.m_pPixels) return 0;
  Blit b;
  if (ClipFrom(src, pSrcRect, x, y, &b))
    dibimage::Blend(View(m_pPixels, m_nWidth, m_nHeight, m_nStride),
                    View(src.m_pPixels, src.m_nWidth, src.m_nHeight, src.m_nStride), b, nAlpha);
  return 1;
}

int CDibImage::Tint(COLORREF cr, const RECT* pRect, int nAlpha, BOOL bSkipKey) {
  if (!m_pPixels) return 0;
  const Rect r = pRect ? ToRect(*pRect) : Rect{0, 0, m_nWidth, m_nHeight};
  const bool skip = bSkipKey && m_nTransparentMode != TRANSPARENT_NONE;
  dibimage::Tint(View(m_pPixels, m_nWidth, m_nHeight, m_nStride), dibimage::ToRgb565(cr), r, nAlpha, skip, KeyValue());
  return 1;
}

namespace {

// Rows sy .. sy + h of a top-down image as a DIB of their own, so that the source rows are
// never read through the bottom-up convention of the device calls.
struct RowsInfo {
  BITMAPINFOHEADER h;
  DWORD masks[3];
};

RowsInfo RowsOf(const BITMAPINFO* info, int h) {
  RowsInfo r;
  std::memcpy(&r, info, sizeof r);
  r.h.biHeight = -h;
  r.h.biSizeImage = 0;
  return r;
}

}  // namespace

int CDibImage::Draw(HDC hDC, const RECT* pSrcRect, int x, int y) const {
  if (!m_pPixels || !hDC) return 0;
  Blit b;
  if (!ClipToDevice(pSrcRect, x, y, &b)) return 1;
  RowsInfo ri = RowsOf(m_pInfo, b.h);
  const BYTE* rows = reinterpret_cast<const BYTE*>(m_pPixels) + size_t(b.sy) * m_nStride;
  ::SetDIBitsToDevice(hDC, b.dx, b.dy, b.w, b.h, b.sx, 0, 0, b.h, rows, reinterpret_cast<BITMAPINFO*>(&ri),
                      DIB_RGB_COLORS);
  return 1;
}

int CDibImage::DrawStretched(HDC hDC, const RECT& rcDest, const RECT& rcSrc) const {
  if (!m_pPixels || !hDC) return 0;
  RECT s;
  const RECT all{0, 0, m_nWidth, m_nHeight};
  if (!::IntersectRect(&s, &rcSrc, &all) || ::IsRectEmpty(&rcDest)) return 1;
  const int sh = s.bottom - s.top;
  RowsInfo ri = RowsOf(m_pInfo, sh);
  const BYTE* rows = reinterpret_cast<const BYTE*>(m_pPixels) + size_t(s.top) * m_nStride;
  const int oldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
  ::StretchDIBits(hDC, rcDest.left, rcDest.top, rcDest.right - rcDest.left, rcDest.bottom - rcDest.top, s.left, 0,
                  s.right - s.left, sh, rows, reinterpret_cast<BITMAPINFO*>(&ri), DIB_RGB_COLORS, SRCCOPY);
  ::SetStretchBltMode(hDC, oldMode);
  return 1;
}

int CDibImage::DrawTransparent(HDC hDC, const RECT* pSrcRect, int x, int y) const {
  if (m_nTransparentMode == TRANSPARENT_NONE) return Draw(hDC, pSrcRect, x, y);
  if (!m_pPixels || !hDC) return 0;
  Blit b;
  if (!ClipToDevice(pSrcRect, x, y, &b)) return 1;
  if (DeviceBits(hDC) == 16)
    DrawKeyed16(hDC, b.sx, b.sy, b.dx, b.dy, b.w, b.h);
  else
    DrawKeyedMasked(hDC, b.sx, b.sy, b.dx, b.dy, b.w, b.h);
  return 1;
}

void CDibImage::DrawKeyed16(HDC hDC, int sx, int sy, int dx, int dy, int w, int h) const {
  void* bits = nullptr;
  HBITMAP work = MakeDib16(w, h, 16, &bits);
  if (!work) return;
  {
    MemDC mem(hDC, work);
    ::BitBlt(mem.h, 0, 0, w, h, hDC, dx, dy, SRCCOPY);
    ::GdiFlush();
    const WORD key = KeyValue();
    const dibimage::Pixels dst = View(static_cast<WORD*>(bits), w, h, int(DibRowBytes(w, 16)));
    const dibimage::Pixels src = View(m_pPixels, m_nWidth, m_nHeight, m_nStride);
    for (int row = 0; row < h; ++row) {
      const uint16_t* s = src.Row(sy + row) + sx;
      uint16_t* d = dst.Row(row);
      for (int i = 0; i < w; ++i)
        if (s[i] != key) d[i] = s[i];
    }
    ::BitBlt(hDC, dx, dy, w, h, mem.h, 0, 0, SRCCOPY);
  }
  ::DeleteObject(work);
}

HBITMAP CDibImage::MakeKeyMask(int sx, int sy, int w, int h) const {
  // White (1) where the image's own pixel equals the key: exact, whatever the device renders.
  void* bits = nullptr;
  HBITMAP mask = MakeDib16(w, h, 1, &bits);
  if (!mask) return nullptr;
  RGBQUAD table[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  {
    MemDC mem(nullptr, mask);
    ::SetDIBColorTable(mem.h, 0, 2, table);
  }
  const size_t stride = DibRowBytes(w, 1);
  const WORD key = KeyValue();
  const dibimage::Pixels src = View(m_pPixels, m_nWidth, m_nHeight, m_nStride);
  BYTE* out = static_cast<BYTE*>(bits);
  for (int row = 0; row < h; ++row) {
    const uint16_t* s = src.Row(sy + row) + sx;
    for (int i = 0; i < w; ++i)
      if (s[i] == key) out[row * stride + i / 8] |= BYTE(0x80 >> (i % 8));
  }
  return mask;
}

void CDibImage::DrawKeyedMasked(HDC hDC, int sx, int sy, int dx, int dy, int w, int h) const {
  HBITMAP colour = ::CreateCompatibleBitmap(hDC, w, h);
  HBITMAP mask = MakeKeyMask(sx, sy, w, h);
  if (colour && mask) {
    MemDC c(hDC, colour), m(hDC, mask);
    RowsInfo ri = RowsOf(m_pInfo, h);
    const BYTE* rows = reinterpret_cast<const BYTE*>(m_pPixels) + size_t(sy) * m_nStride;
    ::SetDIBitsToDevice(c.h, 0, 0, w, h, sx, 0, 0, h, rows, reinterpret_cast<BITMAPINFO*>(&ri), DIB_RGB_COLORS);
    // Black out the key in the colour copy, cut the opaque part out of the device, combine.
    ::SetTextColor(c.h, RGB(0, 0, 0));
    ::SetBkColor(c.h, RGB(255, 255, 255));
    ::BitBlt(c.h, 0, 0, w, h, m.h, 0, 0, 0x00220326);
    const COLORREF oldText = ::SetTextColor(hDC, RGB(0, 0, 0)), oldBk = ::SetBkColor(hDC, RGB(255, 255, 255));
    ::BitBlt(hDC, dx, dy, w, h, m.h, 0, 0, SRCAND);
    ::BitBlt(hDC, dx, dy, w, h, c.h, 0, 0, SRCPAINT);
    ::SetTextColor(hDC, oldText);
    ::SetBkColor(hDC, oldBk);
  }
  if (colour) ::DeleteObject(colour);
  if (mask) ::DeleteObject(mask);
}

int CDibImage::LoadFromBitmap(HBITMAP hBitmap) {
  BITMAP bm;
  if (!hBitmap || !::GetObjectA(hBitmap, sizeof bm, &bm)) return 0;
  if (!Create(bm.bmWidth, bm.bmHeight)) return 0;
  void* bits = nullptr;
  HBITMAP dib = MakeDib16(m_nWidth, m_nHeight, 16, &bits);
  if (!dib) {
    Clear();
    return 0;
  }
  {
    MemDC d(nullptr, dib), s(nullptr, hBitmap);
    ::BitBlt(d.h, 0, 0, m_nWidth, m_nHeight, s.h, 0, 0, SRCCOPY);
    ::GdiFlush();
  }
  std::memcpy(m_pPixels, bits, size_t(m_nStride) * m_nHeight);
  ::DeleteObject(dib);
  return 1;
}

HBITMAP CDibImage::CreateBitmap() const {
  if (!m_pPixels) return nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, m_nWidth, m_nHeight);
  if (bmp) {
    MemDC mem(screen, bmp);
    ::SetDIBitsToDevice(mem.h, 0, 0, m_nWidth, m_nHeight, 0, 0, 0, m_nHeight, m_pPixels, m_pInfo, DIB_RGB_COLORS);
  }
  ::ReleaseDC(nullptr, screen);
  return bmp;
}

// ---------------------------------------------------------------------------------------
// CImageStrip

CImageStrip::CImageStrip()
    : m_pImage(nullptr),
      m_lOwnerValue1(0),
      m_lOwnerValue2(0),
      m_nFrames(0),
      m_nFrameWidth(0),
      m_nFrameHeight(0),
      m_crTint(RGB(255, 255, 255)) {}

CImageStrip::~CImageStrip() { Clear(); }

void CImageStrip::Clear() {
  delete m_pImage;
  m_pImage = nullptr;
  m_lOwnerValue1 = m_lOwnerValue2 = 0;
  m_nFrames = 0;
}

int CImageStrip::Load(HBITMAP hBitmap, int nFrames) {
  Clear();
  BITMAP bm;
  int fw = 0, fh = 0;
  if (!hBitmap || !::GetObjectA(hBitmap, sizeof bm, &bm) ||
      !dibimage::StripFrameSize(bm.bmWidth, bm.bmHeight, nFrames, &fw, &fh))
    return 0;
  CDibImage* image = new (std::nothrow) CDibImage;
  if (!image || !image->LoadFromBitmap(hBitmap)) {
    delete image;
    return 0;
  }
  m_pImage = image;
  m_nFrames = nFrames;
  m_nFrameWidth = fw;
  m_nFrameHeight = fh;
  return 1;
}

int CImageStrip::DrawFrame(HDC hDC, int nIndex, int x, int y, UINT nFlags) {
  Rect fr;
  if (!m_pImage || m_pImage->IsEmpty() || !dibimage::FrameRect(m_nFrames, m_nFrameWidth, m_nFrameHeight, nIndex, &fr))
    return 0;
  const RECT frame{fr.left, fr.top, fr.right, fr.bottom};
  if (!(nFlags & (DRAW_KEYED | DRAW_TINT_STRONG | DRAW_TINT_LIGHT))) return m_pImage->Draw(hDC, &frame, x, y);
  CDibImage work;
  if (!work.Create(m_nFrameWidth, m_nFrameHeight)) return 0;
  if (nFlags & DRAW_KEYED) {
    const int lastX = fr.right - 1;
    const bool last =
        dibimage::KeyFromLastColumn(WORD(m_pImage->GetPixel(fr.left, 0)), WORD(m_pImage->GetPixel(lastX, 0)));
    m_pImage->SetTransparentFromPixel(last ? lastX : fr.left, 0);
    work.CopyFrom(*m_pImage, &frame, 0, 0);
    if (last)
      work.SetTransparentFromPixel(m_nFrameWidth - 1, 0);
    else
      work.SetTransparentTopLeft();
    if (nFlags & DRAW_TINT_STRONG)
      work.Tint(m_crTint, nullptr, 150, TRUE);
    else if (nFlags & DRAW_TINT_LIGHT)
      work.Tint(m_crTint, nullptr, 220, TRUE);
    return work.DrawTransparent(hDC, nullptr, x, y);
  }
  work.Fill(0, 0, m_nFrameWidth, m_nFrameHeight, dibimage::ToRgb565(m_crTint));
  work.BlendFrom(*m_pImage, &frame, 0, 0, (nFlags & DRAW_TINT_STRONG) ? 25 : 50);
  return work.Draw(hDC, nullptr, x, y);
}
