// The free bitmap functions beside CDibImage and the decoder front end.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "DibImage.h"
#include "DibPixels.h"
#include "GdiScope.h"
#include "GifImage.h"
#include "ImageBytes.h"
#include "OutsideLibrary.h"
#include "QKBitmap.h"

using dibimage::MemDC;
using dibimage::ScreenDC;

namespace {

// A decoded picture that came with a palette is drawn through it into a screen bitmap; the
// decoded bitmap and the palette are deleted.
HBITMAP ThroughPalette(HBITMAP decoded, HPALETTE palette) {
  if (!decoded || !palette) return decoded;
  BITMAP bm;
  HBITMAP out = nullptr;
  if (::GetObjectA(decoded, sizeof bm, &bm)) {
    ScreenDC screen;
    out = ::CreateCompatibleBitmap(screen.h, bm.bmWidth, bm.bmHeight);
    if (out && !CopyBitmap(out, decoded, palette, nullptr, nullptr)) {
      ::DeleteObject(out);
      out = nullptr;
    }
  }
  ::DeleteObject(decoded);
  ::DeleteObject(palette);
  return out;
}

HBITMAP DecodeGif(const void* data, DWORD size) {
  CGifImage gif;
  if (gif.LoadFromMemory(data, size) != CGifImage::GIF_OK) return nullptr;
  HBITMAP image = nullptr, mask = nullptr;
  int l, t, w, h, delay, disposal, transparent, index;
  if (!gif.GetNextImage(&image, &mask, &l, &t, &w, &h, &delay, &disposal, &transparent, &index)) return nullptr;
  if (mask) ::DeleteObject(mask);
  return image;
}

HBITMAP DecodeBmp(const BYTE* data, DWORD size) {
  DibInfo info;
  if (dibimage::CheckBmpBytes(data, size, &info) != DibError::None) return nullptr;
  const BYTE* dib = data + 14;
  // The info header and colour table (and masks) exactly as stored, the rows copied after.
  std::vector<BYTE> head(dib, dib + info.tableOffset + size_t(info.colourCount) * 4);
  if (head.size() < info.tableOffset + 3 * sizeof(DWORD)) head.resize(info.tableOffset + 3 * sizeof(DWORD), 0);
  void* bits = nullptr;
  HBITMAP h =
      ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(head.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!h || !bits) {
    if (h) ::DeleteObject(h);
    return nullptr;
  }
  std::memcpy(bits, dib + info.bitsOffset, info.imageBytes);
  return h;
}

}  // namespace

HBITMAP CreateDibSection(int nWidth, int nHeight, int nBitsPerPixel, void** ppBits) {
  // MakeDib16 clears the rows in every case, which the caller with a bits pointer may ignore.
  return MakeDib16(nWidth, nHeight, nBitsPerPixel, ppBits);
}

HGLOBAL BitmapToPackedDib(HBITMAP hBitmap, DWORD dwCompression, HPALETTE hPalette) {
  BITMAP bm;
  if (dwCompression == BI_BITFIELDS || !hBitmap || !::GetObjectA(hBitmap, sizeof bm, &bm)) return nullptr;
  WORD bits = WORD(bm.bmBitsPixel * bm.bmPlanes);
  bits = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : bits <= 16 ? 16 : bits <= 24 ? 24 : 32;
  const DWORD colours = bits <= 8 ? (1u << bits) : 0;
  BITMAPINFOHEADER bi = {};
  bi.biSize = sizeof bi;
  bi.biWidth = bm.bmWidth;
  bi.biHeight = bm.bmHeight;
  bi.biPlanes = 1;
  bi.biBitCount = bits;
  bi.biCompression = dwCompression;
  ScreenDC screen;
  HPALETTE pal = hPalette ? hPalette : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
  HPALETTE oldPal = ::SelectPalette(screen.h, pal, FALSE);
  ::RealizePalette(screen.h);
  HGLOBAL block = nullptr;
  const size_t head = sizeof bi + colours * sizeof(RGBQUAD);
  const size_t image = DibRowBytes(bm.bmWidth, bits) * size_t(bm.bmHeight);
  if (dwCompression == BI_RGB) bi.biSizeImage = DWORD(image);
  block = ::GlobalAlloc(GMEM_MOVEABLE, head + image);
  if (block) {
    BYTE* p = static_cast<BYTE*>(::GlobalLock(block));
    std::memcpy(p, &bi, sizeof bi);
    const int lines = ::GetDIBits(screen.h, hBitmap, 0, UINT(bm.bmHeight), p + head, reinterpret_cast<BITMAPINFO*>(p),
                                  DIB_RGB_COLORS);
    ::GlobalUnlock(block);
    if (lines != bm.bmHeight) {
      ::GlobalFree(block);
      block = nullptr;
    }
  }
  ::SelectPalette(screen.h, oldPal, FALSE);
  return block;
}

int GetBitmapSize(HBITMAP hBitmap, int* pWidth, int* pHeight) {
  BITMAP bm;
  if (!hBitmap || ::GetObjectType(hBitmap) != OBJ_BITMAP || !::GetObjectA(hBitmap, sizeof bm, &bm)) return 0;
  if (pWidth) *pWidth = bm.bmWidth;
  if (pHeight) *pHeight = bm.bmHeight;
  return 1;
}

void DrawBitmapMode(HDC hDC, const RECT& rcDest, HBITMAP hBitmap, int nMode, const RECT* pSrcRect) {
  int bw = 0, bh = 0;
  if (!hDC || !GetBitmapSize(hBitmap, &bw, &bh)) return;
  const dibimage::Rect src =
      pSrcRect ? dibimage::Rect{int(pSrcRect->left), int(pSrcRect->top), int(pSrcRect->right), int(pSrcRect->bottom)}
               : dibimage::Rect{0, 0, bw, bh};
  const dibimage::Rect dst{int(rcDest.left), int(rcDest.top), int(rcDest.right), int(rcDest.bottom)};
  MemDC mem(hDC, hBitmap);
  const int oldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
  for (const dibimage::ModePiece& p : dibimage::ModePieces(nMode, dst, src)) {
    if (p.src.Width() == p.dst.Width() && p.src.Height() == p.dst.Height())
      ::BitBlt(hDC, p.dst.left, p.dst.top, p.dst.Width(), p.dst.Height(), mem.h, p.src.left, p.src.top, SRCCOPY);
    else
      ::StretchBlt(hDC, p.dst.left, p.dst.top, p.dst.Width(), p.dst.Height(), mem.h, p.src.left, p.src.top,
                   p.src.Width(), p.src.Height(), SRCCOPY);
  }
  ::SetStretchBltMode(hDC, oldMode);
}

int DrawTransparentBitmap(HBITMAP hBitmap, COLORREF crKey, int nMode, HDC hDC, int x, int y, int nWidth, int nHeight,
                          BOOL bGreyed) {
  int bw = 0, bh = 0;
  if ((nMode != 1 && nMode != 2) || !hDC || !GetBitmapSize(hBitmap, &bw, &bh) || bw <= 0 || bh <= 0) return 0;
  if (nWidth == 0 || nHeight == 0) {
    nWidth = bw;
    nHeight = bh;
  }
  const int aw = std::abs(nWidth), ah = std::abs(nHeight);
  HBITMAP work = ::CreateCompatibleBitmap(hDC, aw, ah);
  HBITMAP mask = ::CreateBitmap(aw, ah, 1, 1, nullptr);
  int ok = 0;
  if (work && mask) {
    MemDC src(hDC, hBitmap), w(hDC, work), m(hDC, mask);
    ::SetStretchBltMode(w.h, COLORONCOLOR);
    ::StretchBlt(w.h, 0, 0, aw, ah, src.h, 0, 0, bw, bh, SRCCOPY);
    // The key becomes white in the mask and black in the work copy.
    ::SetBkColor(w.h, crKey);
    ::BitBlt(m.h, 0, 0, aw, ah, w.h, 0, 0, SRCCOPY);
    ::SetTextColor(w.h, RGB(0, 0, 0));
    ::SetBkColor(w.h, RGB(255, 255, 255));
    ::BitBlt(w.h, 0, 0, aw, ah, m.h, 0, 0, 0x00220326);
    const COLORREF oldBk = ::SetBkColor(hDC, RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(hDC, bGreyed ? ::GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0));
    if (nMode == 1) {
      ::StretchBlt(hDC, x, y, nWidth, nHeight, m.h, 0, 0, aw, ah, SRCAND);
      ::StretchBlt(hDC, x, y, nWidth, nHeight, w.h, 0, 0, aw, ah, SRCPAINT);
    } else {
      ::StretchBlt(hDC, x, y, nWidth, nHeight, w.h, 0, 0, aw, ah, SRCINVERT);
    }
    ::SetBkColor(hDC, oldBk);
    ::SetTextColor(hDC, oldText);
    ok = 1;
  }
  if (work) ::DeleteObject(work);
  if (mask) ::DeleteObject(mask);
  return ok;
}

int CopyBitmapToClipboard(HBITMAP hBitmap) {
  // The clipboard owns what it is given: it gets a copy, the caller keeps its bitmap.
  HBITMAP copy = hBitmap ? static_cast<HBITMAP>(::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
  if (!copy) return 0;
  if (!::OpenClipboard(nullptr)) {
    ::DeleteObject(copy);
    return 0;
  }
  ::EmptyClipboard();
  const BOOL placed = ::SetClipboardData(CF_BITMAP, copy) != nullptr;
  ::CloseClipboard();
  if (!placed) ::DeleteObject(copy);
  return placed ? 1 : 0;
}

HBITMAP DecodeImageFromMemory(const void* pData, DWORD dwSize) {
  const BYTE* data = static_cast<const BYTE*>(pData);
  HBITMAP bmp = nullptr;
  HPALETTE pal = nullptr;
  int w = 0, h = 0;
  switch (dibimage::SniffImage(data, dwSize)) {
    case dibimage::ImageKind::None:
      return nullptr;
    case dibimage::ImageKind::Gif:
      return DecodeGif(data, dwSize);
    case dibimage::ImageKind::Bmp:
      return DecodeBmp(data, dwSize);
    case dibimage::ImageKind::Png:
      if (!PngLib_LoadFromMem(data, dwSize, &bmp, &pal, &w, &h)) return nullptr;
      return ThroughPalette(bmp, pal);
    case dibimage::ImageKind::Jpeg:
      if (!JpgLib_LoadFromMem(data, dwSize, &bmp, &pal, &w, &h)) return nullptr;
      return ThroughPalette(bmp, pal);
  }
  return nullptr;
}

HBITMAP LoadImageFromResourceOrFile(HMODULE hModule, LPCSTR lpszName, LPCSTR lpszType, WORD wLanguage) {
  if (!lpszName) return nullptr;
  if (hModule) {
    HRSRC res = ::FindResourceExA(hModule, lpszType, lpszName, wLanguage);
    HGLOBAL g = res ? ::LoadResource(hModule, res) : nullptr;
    const void* p = g ? ::LockResource(g) : nullptr;
    return p ? DecodeImageFromMemory(p, ::SizeofResource(hModule, res)) : nullptr;
  }
  HANDLE f = ::CreateFileA(lpszName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return nullptr;
  HBITMAP result = nullptr;
  LARGE_INTEGER size;
  // Pictures are small; anything that does not fit a 32-bit length is not one.
  if (::GetFileSizeEx(f, &size) && size.QuadPart > 0 && size.QuadPart < 0x7FFFFFFF) {
    const DWORD n = DWORD(size.QuadPart);
    BYTE* buf = static_cast<BYTE*>(std::malloc(n));
    DWORD got = 0;
    if (buf && ::ReadFile(f, buf, n, &got, nullptr) && got == n) result = DecodeImageFromMemory(buf, n);
    std::free(buf);
  }
  ::CloseHandle(f);
  return result;
}

HRGN BitmapToRegionByPixel(HBITMAP hBitmap, int x, int y) { return BitmapToRegionKeyed(hBitmap, x, y); }

HRGN BitmapToRegionByColor(HBITMAP hBitmap, COLORREF crKey) { return BitmapToRegionKeyColour(hBitmap, 0, 0, &crKey); }
