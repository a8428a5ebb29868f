// CQKBitmap: the framework's skin bitmap. Loads from BMP or picture files and from
// resources, keeps a palette for palette displays, and draws centred, tiled, stretched,
// by cell and with a mask. Also the nine-cell background, package images, 16-bit DIBs,
// bitmap copies and window shapes from keyed pictures.
#pragma once
#include <afxwin.h>

// Draw flags; tile wins over stretch, stretch over plain drawing.
enum {
  QKBMP_CENTER_H = 0x01,
  QKBMP_CENTER_V = 0x02,
  QKBMP_TILE = 0x04,
  QKBMP_STRETCH = 0x08,
  QKBMP_TRANSPARENT = 0x10,
};

class CQKBitmap : public CBitmap {
  DECLARE_DYNCREATE(CQKBitmap)

 public:
  CQKBitmap();
  ~CQKBitmap() override;

  // A file that begins with "BM" is read as a BMP (length bytes from offset, 0 = to the
  // end); any other file goes to the system picture decoder.
  BOOL LoadFile(LPCSTR lpszPath, BOOL bDib = TRUE, DWORD dwOffset = 0, DWORD dwLength = 0);
  BOOL LoadPicture(LPCSTR lpszPath);
  BOOL LoadBitmapResource(LPCSTR lpszName, BOOL bDib);
  BOOL LoadBitmapResource(UINT nID, BOOL bDib) { return LoadBitmapResource(MAKEINTRESOURCEA(nID), bDib); }
  // A packed DIB (info header, colour table, rows), checked before use.
  BOOL LoadPackedDib(const BYTE* pData, size_t nSize);
  // Pictures other than BMP (JPEG, GIF, PNG ...), rendered at screen resolution.
  BOOL LoadPictureData(const BYTE* pData, size_t nSize);

  // srcOrigin null: the whole bitmap (for transparent drawing its left half, the mask the
  // right half). w and h both non-zero clip the output to {x, y, x + w, y + h}.
  BOOL Draw(CDC* pDC, int x, int y, int w, int h, DWORD dwFlags = 0, const POINT* pSrcOrigin = nullptr,
            const POINT* pMaskOrigin = nullptr, const SIZE* pCellSize = nullptr);
  BOOL DrawAt(CDC* pDC, int x, int y, DWORD dwFlags = 0, const POINT* pSrcOrigin = nullptr,
              const POINT* pMaskOrigin = nullptr, const SIZE* pCellSize = nullptr);
  // Right and bottom inclusive; null = the client rectangle of the DC's window.
  BOOL DrawInRect(CDC* pDC, LPCRECT lpRect, DWORD dwFlags = 0, const POINT* pSrcOrigin = nullptr,
                  const POINT* pMaskOrigin = nullptr, const SIZE* pCellSize = nullptr);
  void DrawNineCell(CDC* pDC, LPCRECT lpRect, int nInflate, BOOL bFillCentre);

  BOOL GetSize(int& nWidth, int& nHeight) const;
  UINT RealizePalette(HWND hWnd, CDC* pDC, BOOL bForceBackground);

  // The same drawing on a raw device context (what the CDC forms call).
  BOOL Draw(HDC hDC, int x, int y, int w, int h, DWORD dwFlags, const POINT* pSrcOrigin, const POINT* pMaskOrigin,
            const SIZE* pCellSize);

  DWORD m_dwRop;
  BOOL m_bPaletteBackground;
  HPALETTE m_hPalette;
  UINT m_nColours;

 private:
  void Release();
  BOOL ReplaceWith(HBITMAP hBitmap);
};

// Package mode: type 0 bitmap, 1 "JPG", 2 "JPEG", 3 "GIF" from the module (or the
// current resource module when null).
HBITMAP LoadSkinImage(HMODULE hModule, UINT nID, int nType);
// A top-down DIB section of 1, 2, 4, 8, 16 (5-6-5) or 24/32 bits; ppBits receives the rows.
HBITMAP MakeDib16(int nWidth, int nHeight, int nBitsPerPixel, void** ppBits);
BOOL CopyBitmap(HBITMAP hDst, HBITMAP hSrc, HPALETTE hPalette, LPCRECT lpSrcRect, LPCRECT lpDstRect);
// Every pixel that differs from the colour at (x, y) (negative = last column / row).
HRGN BitmapToRegionKeyed(HBITMAP hBitmap, int x, int y);
// The same with the key given as a colour (taken in 5-6-5) when pKey is not null.
HRGN BitmapToRegionKeyColour(HBITMAP hBitmap, int x, int y, const COLORREF* pKey);

// Draws the bitmap with the colour of its pixel at ptKey transparent.
void DrawBitmapKeyed(CDC* pDC, const RECT& rcDest, HBITMAP hBitmap, POINT ptSrc, POINT ptKey);
void DrawBitmapKeyedAtOrigin(CDC* pDC, const RECT& rcDest, HBITMAP hBitmap, POINT ptKey);
