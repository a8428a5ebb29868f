#include "QKBitmap.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "DibFormat.h"
#include "NineCell.h"
#include "RegionRuns.h"

IMPLEMENT_DYNCREATE(CQKBitmap, CBitmap)

namespace {

// The screen DC for the length of one call.
struct ScreenDC {
  HDC h = ::GetDC(nullptr);
  ~ScreenDC() { ::ReleaseDC(nullptr, h); }
};

bool ScreenIsPaletted() {
  ScreenDC s;
  return (::GetDeviceCaps(s.h, RASTERCAPS) & RC_PALETTE) != 0 || ::GetDeviceCaps(s.h, BITSPIXEL) <= 8;
}

bool ReadFileBytes(LPCSTR path, DWORD offset, DWORD length, std::vector<BYTE>& out) {
  HANDLE f = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  LARGE_INTEGER size;
  if (::GetFileSizeEx(f, &size) && size.QuadPart < 0x7FFFFFFF && offset <= size.QuadPart) {
    const DWORD avail = static_cast<DWORD>(size.QuadPart) - offset;
    const DWORD want = length ? length : avail;
    // A length past the end of the file is an error, never a short read taken as whole.
    if (want <= avail && want > 0 && ::SetFilePointer(f, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == offset) {
      out.resize(want);
      DWORD got = 0;
      ok = ::ReadFile(f, out.data(), want, &got, nullptr) && got == want;
    }
  }
  ::CloseHandle(f);
  return ok;
}

// Decodes a picture with the system decoder and renders it into a new screen-compatible
// bitmap of its size at the screen's resolution.
HBITMAP RenderPicture(const BYTE* data, size_t size) {
  if (!data || size == 0 || size > 0x7FFFFFFF) return nullptr;
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!mem) return nullptr;
  void* p = ::GlobalLock(mem);
  std::memcpy(p, data, size);
  ::GlobalUnlock(mem);
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(mem, TRUE, &stream))) {
    ::GlobalFree(mem);
    return nullptr;
  }
  HBITMAP result = nullptr;
  IPicture* pic = nullptr;
  if (SUCCEEDED(
          ::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&pic))) &&
      pic) {
    OLE_XSIZE_HIMETRIC hmW = 0;
    OLE_YSIZE_HIMETRIC hmH = 0;
    pic->get_Width(&hmW);
    pic->get_Height(&hmH);
    ScreenDC screen;
    const long w = HimetricToPixels(hmW, ::GetDeviceCaps(screen.h, LOGPIXELSX));
    const long h = HimetricToPixels(hmH, ::GetDeviceCaps(screen.h, LOGPIXELSY));
    if (w > 0 && h > 0 && w <= 32767 && h <= 32767) {
      HBITMAP bmp = ::CreateCompatibleBitmap(screen.h, w, h);
      HDC mem = ::CreateCompatibleDC(screen.h);
      if (bmp && mem) {
        HGDIOBJ old = ::SelectObject(mem, bmp);
        if (SUCCEEDED(pic->Render(mem, 0, 0, w, h, 0, hmH, hmW, -hmH, nullptr))) result = bmp;
        ::SelectObject(mem, old);
      }
      if (mem) ::DeleteDC(mem);
      if (!result && bmp) ::DeleteObject(bmp);
    }
    pic->Release();
  }
  stream->Release();
  return result;
}

// Copies the destination through a work DC: dst AND mask OR image, back to dst.
void MaskedPiece(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int mx, int my, HDC work) {
  ::BitBlt(work, 0, 0, w, h, dst, x, y, SRCCOPY);
  ::BitBlt(work, 0, 0, w, h, src, mx, my, SRCAND);
  ::BitBlt(work, 0, 0, w, h, src, sx, sy, SRCPAINT);
  ::BitBlt(dst, x, y, w, h, work, 0, 0, SRCCOPY);
}

}  // namespace

CQKBitmap::CQKBitmap() : m_dwRop(SRCCOPY), m_bPaletteBackground(TRUE), m_hPalette(nullptr), m_nColours(0) {}

CQKBitmap::~CQKBitmap() { Release(); }

void CQKBitmap::Release() {
  if (m_hPalette) ::DeleteObject(m_hPalette);
  m_hPalette = nullptr;
  DeleteObject();
}

BOOL CQKBitmap::ReplaceWith(HBITMAP hBitmap) {
  if (!hBitmap) return FALSE;
  DeleteObject();
  return Attach(hBitmap);
}

BOOL CQKBitmap::LoadPackedDib(const BYTE* pData, size_t nSize) {
  DibInfo info;
  if (ValidatePackedDib(pData, nSize, &info) != DibError::None) return FALSE;
  Release();
  m_nColours = info.colourCount;
  const BITMAPINFO* bmi = reinterpret_cast<const BITMAPINFO*>(pData);
  if (info.bitCount <= 8 && info.colourCount > 0 && ScreenIsPaletted()) {
    std::vector<BYTE> buf(sizeof(LOGPALETTE) + info.colourCount * sizeof(PALETTEENTRY));
    LOGPALETTE* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(info.colourCount);
    const BYTE* table = pData + info.tableOffset;
    for (UINT i = 0; i < info.colourCount; ++i) {
      lp->palPalEntry[i].peRed = table[i * 4 + 2];
      lp->palPalEntry[i].peGreen = table[i * 4 + 1];
      lp->palPalEntry[i].peBlue = table[i * 4];
      lp->palPalEntry[i].peFlags = 0;
    }
    m_hPalette = ::CreatePalette(lp);
  }
  ScreenDC screen;
  HPALETTE oldPal = nullptr;
  if (m_hPalette) {
    oldPal = ::SelectPalette(screen.h, m_hPalette, FALSE);
    ::RealizePalette(screen.h);
  }
  HBITMAP h = ::CreateDIBitmap(screen.h, &bmi->bmiHeader, CBM_INIT, pData + info.bitsOffset, bmi, DIB_RGB_COLORS);
  if (oldPal) ::SelectPalette(screen.h, oldPal, FALSE);
  return ReplaceWith(h);
}

BOOL CQKBitmap::LoadPictureData(const BYTE* pData, size_t nSize) { return ReplaceWith(RenderPicture(pData, nSize)); }

BOOL CQKBitmap::LoadFile(LPCSTR lpszPath, BOOL /*bDib*/, DWORD dwOffset, DWORD dwLength) {
  if (!lpszPath) return FALSE;
  std::vector<BYTE> data;
  if (!ReadFileBytes(lpszPath, dwOffset, dwLength, data)) return FALSE;
  if (HasBmpSignature(data.data(), data.size())) {
    DibInfo info;
    if (ValidateBmpFile(data.data(), data.size(), &info) != DibError::None) return FALSE;
    // The file's bits offset may leave a gap after the table: close it so the DIB is packed.
    const size_t tableEnd = info.tableOffset + info.colourCount * 4;
    std::vector<BYTE> dib(data.begin() + 14, data.begin() + 14 + tableEnd);
    dib.insert(dib.end(), data.begin() + 14 + info.bitsOffset, data.begin() + 14 + info.bitsOffset + info.imageBytes);
    return LoadPackedDib(dib.data(), dib.size());
  }
  return LoadPictureData(data.data(), data.size());
}

BOOL CQKBitmap::LoadPicture(LPCSTR lpszPath) {
  std::vector<BYTE> data;
  if (!lpszPath || !ReadFileBytes(lpszPath, 0, 0, data)) return FALSE;
  return LoadPictureData(data.data(), data.size());
}

BOOL CQKBitmap::LoadBitmapResource(LPCSTR lpszName, BOOL bDib) {
  if (!bDib) {
    HINSTANCE mod = AfxFindResourceHandle(lpszName, reinterpret_cast<LPCSTR>(RT_BITMAP));
    HBITMAP h = ::LoadBitmapA(mod, lpszName);
    if (!h) return FALSE;
    Release();
    return Attach(h);
  }
  HINSTANCE mod = AfxGetResourceHandle();
  HRSRC res = ::FindResourceA(mod, lpszName, reinterpret_cast<LPCSTR>(RT_BITMAP));
  if (!res) return FALSE;
  HGLOBAL g = ::LoadResource(mod, res);
  const BYTE* p = g ? static_cast<const BYTE*>(::LockResource(g)) : nullptr;
  return p ? LoadPackedDib(p, ::SizeofResource(mod, res)) : FALSE;
}

BOOL CQKBitmap::GetSize(int& nWidth, int& nHeight) const {
  BITMAP bm;
  if (!m_hObject || !::GetObjectA(m_hObject, sizeof bm, &bm)) return FALSE;
  nWidth = bm.bmWidth;
  nHeight = bm.bmHeight;
  return TRUE;
}

UINT CQKBitmap::RealizePalette(HWND hWnd, CDC* pDC, BOOL bForceBackground) {
  if (!m_hPalette) return 0;
  HDC dc = pDC ? pDC->GetSafeHdc() : nullptr;
  const bool own = dc == nullptr;
  if (own) dc = ::GetDC(hWnd);
  if (!dc) return 0;
  HPALETTE old = ::SelectPalette(dc, m_hPalette, bForceBackground);
  UINT n = ::RealizePalette(dc);
  if (own) {
    ::SelectPalette(dc, old, TRUE);
    ::ReleaseDC(hWnd, dc);
  }
  return n;
}

BOOL CQKBitmap::Draw(CDC* pDC, int x, int y, int w, int h, DWORD dwFlags, const POINT* pSrcOrigin,
                     const POINT* pMaskOrigin, const SIZE* pCellSize) {
  return Draw(pDC ? pDC->GetSafeHdc() : nullptr, x, y, w, h, dwFlags, pSrcOrigin, pMaskOrigin, pCellSize);
}

BOOL CQKBitmap::DrawAt(CDC* pDC, int x, int y, DWORD dwFlags, const POINT* pSrcOrigin, const POINT* pMaskOrigin,
                       const SIZE* pCellSize) {
  return Draw(pDC, x, y, 0, 0, dwFlags, pSrcOrigin, pMaskOrigin, pCellSize);
}

BOOL CQKBitmap::DrawInRect(CDC* pDC, LPCRECT lpRect, DWORD dwFlags, const POINT* pSrcOrigin, const POINT* pMaskOrigin,
                           const SIZE* pCellSize) {
  HDC dc = pDC ? pDC->GetSafeHdc() : nullptr;
  if (!dc) return FALSE;
  RECT r;
  if (lpRect) {
    r = *lpRect;
  } else {
    HWND wnd = ::WindowFromDC(dc);
    if (!wnd) return FALSE;
    ::GetClientRect(wnd, &r);
  }
  return Draw(dc, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, dwFlags, pSrcOrigin, pMaskOrigin,
              pCellSize);
}

BOOL CQKBitmap::Draw(HDC dc, int x, int y, int w, int h, DWORD dwFlags, const POINT* pSrcOrigin,
                     const POINT* pMaskOrigin, const SIZE* pCellSize) {
  if (!m_hObject || !dc) return FALSE;
  int bw = 0, bh = 0;
  GetSize(bw, bh);
  const bool transparent = (dwFlags & QKBMP_TRANSPARENT) != 0;

  HDC mem = ::CreateCompatibleDC(dc);
  if (!mem) return FALSE;
  HGDIOBJ oldBmp = ::SelectObject(mem, m_hObject);
  HPALETTE oldDstPal = nullptr, oldMemPal = nullptr;
  if (m_hPalette) {
    oldDstPal = ::SelectPalette(dc, m_hPalette, m_bPaletteBackground);
    oldMemPal = ::SelectPalette(mem, m_hPalette, m_bPaletteBackground);
    ::RealizePalette(dc);
    ::RealizePalette(mem);
  }

  POINT src{0, 0}, mask{0, 0};
  SIZE cell{bw, bh};
  if (pSrcOrigin) {
    src = *pSrcOrigin;
    if (pCellSize) cell = *pCellSize;
    if (transparent && pMaskOrigin) mask = *pMaskOrigin;
  } else if (transparent) {
    cell.cx = bw / 2;
    mask = POINT{cell.cx, 0};
  }

  const bool clip = w != 0 && h != 0;
  int saved = 0;
  if (clip) {
    saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, x, y, x + w, y + h);
  }

  HDC work = nullptr;
  HBITMAP workBmp = nullptr;
  HGDIOBJ oldWork = nullptr;
  if (transparent && !(dwFlags & QKBMP_TILE) && (dwFlags & QKBMP_STRETCH)) {
    // Stretched masks go straight to the destination.
  } else if (transparent && cell.cx > 0 && cell.cy > 0) {
    work = ::CreateCompatibleDC(dc);
    workBmp = ::CreateCompatibleBitmap(dc, std::max<int>(cell.cx, w), std::max<int>(cell.cy, h));
    if (work && workBmp) oldWork = ::SelectObject(work, workBmp);
  }

  if (cell.cx > 0 && cell.cy > 0) {
    if (dwFlags & QKBMP_TILE) {
      for (const TileOrigin& t : TileOrigins(x, y, w, h, cell.cx, cell.cy)) {
        RECT tile{t.x, t.y, t.x + cell.cx, t.y + cell.cy};
        if (!::RectVisible(dc, &tile)) continue;
        if (transparent && oldWork)
          MaskedPiece(dc, t.x, t.y, cell.cx, cell.cy, mem, src.x, src.y, mask.x, mask.y, work);
        else if (!transparent)
          ::BitBlt(dc, t.x, t.y, cell.cx, cell.cy, mem, src.x, src.y, m_dwRop);
      }
    } else if (dwFlags & QKBMP_STRETCH) {
      const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
      if (transparent) {
        ::StretchBlt(dc, x, y, w, h, mem, mask.x, mask.y, cell.cx, cell.cy, SRCAND);
        ::StretchBlt(dc, x, y, w, h, mem, src.x, src.y, cell.cx, cell.cy, SRCPAINT);
      } else {
        ::StretchBlt(dc, x, y, w, h, mem, src.x, src.y, cell.cx, cell.cy, m_dwRop);
      }
      ::SetStretchBltMode(dc, oldMode);
    } else {
      if (dwFlags & QKBMP_CENTER_H) x += (w - cell.cx) / 2;
      if (dwFlags & QKBMP_CENTER_V) y += (h - cell.cy) / 2;
      if (transparent && oldWork)
        MaskedPiece(dc, x, y, cell.cx, cell.cy, mem, src.x, src.y, mask.x, mask.y, work);
      else if (!transparent)
        ::BitBlt(dc, x, y, cell.cx, cell.cy, mem, src.x, src.y, m_dwRop);
    }
  }

  if (work) {
    if (oldWork) ::SelectObject(work, oldWork);
    ::DeleteDC(work);
  }
  if (workBmp) ::DeleteObject(workBmp);
  if (m_hPalette) {
    ::SelectPalette(dc, oldDstPal, TRUE);
    ::SelectPalette(mem, oldMemPal, TRUE);
  }
  if (clip) ::RestoreDC(dc, saved);
  ::SelectObject(mem, oldBmp);
  ::DeleteDC(mem);
  return TRUE;
}

void CQKBitmap::DrawNineCell(CDC* pDC, LPCRECT lpRect, int nInflate, BOOL bFillCentre) {
  HDC dc = pDC ? pDC->GetSafeHdc() : nullptr;
  int bw = 0, bh = 0;
  if (!dc || !lpRect || !GetSize(bw, bh)) return;
  for (const CellPiece& p :
       NineCellPieces(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, nInflate, bw, bh, bFillCentre != 0)) {
    POINT src{p.srcX, p.srcY};
    SIZE cell{p.cellW, p.cellH};
    Draw(dc, p.x, p.y, p.w, p.h, QKBMP_TILE, &src, nullptr, &cell);
  }
}

HBITMAP LoadSkinImage(HMODULE hModule, UINT nID, int nType) {
  if (nType == 0) return ::LoadBitmapA(hModule, MAKEINTRESOURCEA(nID));
  static const char* const kTypes[] = {nullptr, "JPG", "JPEG", "GIF"};
  if (nType < 1 || nType > 3) return nullptr;
  HMODULE mod = hModule ? hModule : AfxGetResourceHandle();
  HRSRC res = ::FindResourceA(mod, MAKEINTRESOURCEA(nID), kTypes[nType]);
  if (!res) return nullptr;
  HGLOBAL g = ::LoadResource(mod, res);
  const BYTE* p = g ? static_cast<const BYTE*>(::LockResource(g)) : nullptr;
  return p ? RenderPicture(p, ::SizeofResource(mod, res)) : nullptr;
}

HBITMAP MakeDib16(int nWidth, int nHeight, int nBitsPerPixel, void** ppBits) {
  int colours = 0;
  switch (nBitsPerPixel) {
    case 1:
      colours = 2;
      break;
    case 2:
      colours = 4;
      break;
    case 4:
      colours = 16;
      break;
    case 8:
      colours = 256;
      break;
    case 16:
      colours = 3;
      break;  // the three bit-field masks
    case 24:
    case 32:
      break;
    default:
      return nullptr;
  }
  if (nWidth <= 0 || nHeight <= 0) return nullptr;
  std::vector<BYTE> buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
  BITMAPINFO* bmi = reinterpret_cast<BITMAPINFO*>(buf.data());
  bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi->bmiHeader.biWidth = nWidth;
  bmi->bmiHeader.biHeight = -nHeight;
  bmi->bmiHeader.biPlanes = 1;
  bmi->bmiHeader.biBitCount = static_cast<WORD>(nBitsPerPixel);
  bmi->bmiHeader.biCompression = nBitsPerPixel == 16 ? BI_BITFIELDS : BI_RGB;
  bmi->bmiHeader.biClrUsed = nBitsPerPixel <= 8 ? colours : 0;
  if (colours) {
    DWORD* masks = reinterpret_cast<DWORD*>(bmi->bmiColors);
    masks[0] = 0xF800;
    masks[1] = 0x07E0;
    masks[2] = 0x001F;
  }
  void* bits = nullptr;
  HBITMAP h = ::CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!h) return nullptr;
  const size_t stride = DibRowBytes(nWidth, static_cast<uint16_t>(nBitsPerPixel));
  std::memset(bits, 0, stride * nHeight);
  if (ppBits) *ppBits = bits;
  return h;
}

BOOL CopyBitmap(HBITMAP hDst, HBITMAP hSrc, HPALETTE hPalette, LPCRECT lpSrcRect, LPCRECT lpDstRect) {
  BITMAP bs, bd;
  if (!hDst || !hSrc || !::GetObjectA(hSrc, sizeof bs, &bs) || !::GetObjectA(hDst, sizeof bd, &bd)) return FALSE;
  RECT s = lpSrcRect ? *lpSrcRect : RECT{0, 0, bs.bmWidth, bs.bmHeight};
  RECT d = lpDstRect ? *lpDstRect : RECT{0, 0, bd.bmWidth, bd.bmHeight};
  ScreenDC screen;
  HDC src = ::CreateCompatibleDC(screen.h), dst = ::CreateCompatibleDC(screen.h);
  HGDIOBJ os = ::SelectObject(src, hSrc), od = ::SelectObject(dst, hDst);
  HPALETTE oldPal = nullptr;
  if (hPalette && (::GetDeviceCaps(dst, RASTERCAPS) & RC_PALETTE)) {
    oldPal = ::SelectPalette(dst, hPalette, FALSE);
    ::RealizePalette(dst);
  }
  const int sw = s.right - s.left, sh = s.bottom - s.top, dw = d.right - d.left, dh = d.bottom - d.top;
  BOOL ok;
  if (sw == dw && sh == dh) {
    ok = ::BitBlt(dst, d.left, d.top, dw, dh, src, s.left, s.top, SRCCOPY);
  } else {
    ::SetStretchBltMode(dst, HALFTONE);
    ::SetBrushOrgEx(dst, 0, 0, nullptr);
    ok = ::StretchBlt(dst, d.left, d.top, dw, dh, src, s.left, s.top, sw, sh, SRCCOPY);
  }
  if (oldPal) ::SelectPalette(dst, oldPal, TRUE);
  ::SelectObject(src, os);
  ::SelectObject(dst, od);
  ::DeleteDC(src);
  ::DeleteDC(dst);
  return ok;
}

HRGN BitmapToRegionKeyed(HBITMAP hBitmap, int x, int y) { return BitmapToRegionKeyColour(hBitmap, x, y, nullptr); }

HRGN BitmapToRegionKeyColour(HBITMAP hBitmap, int x, int y, const COLORREF* pKey) {
  BITMAP bm;
  if (!hBitmap || !::GetObjectA(hBitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  void* bits = nullptr;
  HBITMAP dib = MakeDib16(bm.bmWidth, bm.bmHeight, 16, &bits);
  if (!dib) return nullptr;
  HRGN result = nullptr;
  if (CopyBitmap(dib, hBitmap, nullptr, nullptr, nullptr)) {
    ::GdiFlush();
    ResolveKeyPoint(bm.bmWidth, bm.bmHeight, &x, &y);
    const size_t stride = DibRowBytes(bm.bmWidth, 16) / 2;
    const uint16_t* px = static_cast<const uint16_t*>(bits);
    const uint16_t key = pKey ? static_cast<uint16_t>(((GetRValue(*pKey) >> 3) << 11) | ((GetGValue(*pKey) >> 2) << 5) |
                                                      (GetBValue(*pKey) >> 3))
                              : px[static_cast<size_t>(y) * stride + x];
    const std::vector<RunRect> runs = KeyedRuns(px, bm.bmWidth, bm.bmHeight, stride, key);
    // Handed to the system in batches of 800 rectangles.
    const size_t kBatch = 800;
    std::vector<BYTE> buf(sizeof(RGNDATAHEADER) + kBatch * sizeof(RECT));
    for (size_t at = 0; at < runs.size(); at += kBatch) {
      const size_t n = std::min(kBatch, runs.size() - at);
      RGNDATA* rd = reinterpret_cast<RGNDATA*>(buf.data());
      rd->rdh.dwSize = sizeof(RGNDATAHEADER);
      rd->rdh.iType = RDH_RECTANGLES;
      rd->rdh.nCount = static_cast<DWORD>(n);
      rd->rdh.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
      RECT bound{0x7FFF, 0x7FFF, 0, 0};
      RECT* rects = reinterpret_cast<RECT*>(rd->Buffer);
      for (size_t i = 0; i < n; ++i) {
        const RunRect& r = runs[at + i];
        rects[i] = RECT{r.left, r.top, r.right, r.bottom};
        bound.left = std::min<LONG>(bound.left, r.left);
        bound.top = std::min<LONG>(bound.top, r.top);
        bound.right = std::max<LONG>(bound.right, r.right);
        bound.bottom = std::max<LONG>(bound.bottom, r.bottom);
      }
      rd->rdh.rcBound = bound;
      HRGN part = ::ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + n * sizeof(RECT)), rd);
      if (!part) continue;
      if (!result) {
        result = part;
      } else {
        ::CombineRgn(result, result, part, RGN_OR);
        ::DeleteObject(part);
      }
    }
  }
  ::DeleteObject(dib);
  return result;
}
