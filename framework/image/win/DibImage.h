// CDibImage: the program's own 16-bit image (5-6-5, rows top-down) with a transparent colour,
// clipped copies, blending, tinting and plain or colour-keyed drawing. CImageStrip draws one
// frame of a row of equal frames. Beside them the free bitmap functions: DIB sections,
// mode-driven and keyed blits, regions from bitmaps, the clipboard, and the decoder front end
// that turns GIF, PNG, BMP or JPEG bytes into a bitmap.
#pragma once
#include <windows.h>

namespace dibimage {
struct Blit;
}

class CDibImage {
 public:
  enum { TRANSPARENT_NONE = 0, TRANSPARENT_COLOR = 1, TRANSPARENT_TOPLEFT = 2 };

  CDibImage();
  virtual ~CDibImage();
  CDibImage(const CDibImage&) = delete;
  CDibImage& operator=(const CDibImage&) = delete;

  // Pixels are not cleared; 0 when the size is not positive, too large or cannot be
  // allocated (nothing is kept then).
  int Create(int nWidth, int nHeight);
  void Clear();
  void SetTransparentColor(COLORREF cr);
  void SetTransparentTopLeft();
  void SetTransparentFromPixel(int x, int y);
  // The 5-6-5 value in the low 16 bits; 0 outside the image.
  DWORD GetPixel(int x, int y) const;
  int Fill(int x, int y, int w, int h, WORD wValue);
  int CopyFrom(const CDibImage& src, const RECT* pSrcRect, int x, int y);
  int BlendFrom(const CDibImage& src, const RECT* pSrcRect, int x, int y, int nAlpha);
  int Tint(COLORREF cr, const RECT* pRect, int nAlpha, BOOL bSkipKey);
  int Draw(HDC hDC, const RECT* pSrcRect, int x, int y) const;
  int DrawTransparent(HDC hDC, const RECT* pSrcRect, int x, int y) const;
  // The source rectangle (clipped to the image) stretched over the destination rectangle.
  int DrawStretched(HDC hDC, const RECT& rcDest, const RECT& rcSrc) const;
  // Takes the bitmap's size and pixels (through a 16-bit DIB section).
  int LoadFromBitmap(HBITMAP hBitmap);
  // A bitmap compatible with the screen holding the image, or null.
  HBITMAP CreateBitmap() const;

  void SetClipRect(const RECT* pRect);
  void SetOrigin(int x, int y) {
    m_nOriginX = x;
    m_nOriginY = y;
  }
  BOOL IsEmpty() const { return m_pPixels == nullptr; }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  int GetTransparentMode() const { return m_nTransparentMode; }
  COLORREF GetTransparentColor() const { return m_crTransparent; }
  // The key in 5-6-5 under the transparency mode (the top-left pixel in mode 2).
  WORD KeyValue() const;

 protected:
  // The colour-keyed drawing of the clipped area w x h from (sx, sy) to (dx, dy).
  void DrawKeyed16(HDC hDC, int sx, int sy, int dx, int dy, int w, int h) const;
  void DrawKeyedMasked(HDC hDC, int sx, int sy, int dx, int dy, int w, int h) const;
  HBITMAP MakeKeyMask(int sx, int sy, int w, int h) const;
  bool ClipFrom(const CDibImage& src, const RECT* pSrcRect, int x, int y, dibimage::Blit* b) const;
  bool ClipToDevice(const RECT* pSrcRect, int x, int y, dibimage::Blit* b) const;

  int m_nWidth;
  int m_nHeight;
  int m_nStride;
  WORD* m_pPixels;
  BITMAPINFO* m_pInfo;
  COLORREF m_crTransparent;
  int m_nTransparentMode;
  RECT m_rcClip;
  int m_nOriginX, m_nOriginY;
};

class CImageStrip {
 public:
  enum { DRAW_KEYED = 1, DRAW_TINT_STRONG = 2, DRAW_TINT_LIGHT = 4 };

  CImageStrip();
  ~CImageStrip();
  CImageStrip(const CImageStrip&) = delete;
  CImageStrip& operator=(const CImageStrip&) = delete;

  // Copies the bitmap and cuts it into nFrames equal frames; 0 (strip cleared) for a null
  // bitmap or frames that would be empty.
  int Load(HBITMAP hBitmap, int nFrames);
  void Clear();
  // 1, or 0 without an image or for an index outside 0 .. frames - 1.
  int DrawFrame(HDC hDC, int nIndex, int x, int y, UINT nFlags);
  void SetTintColor(COLORREF cr) { m_crTint = cr; }

  CDibImage* GetImage() const { return m_pImage; }
  int GetFrameCount() const { return m_nFrames; }
  int GetFrameWidth() const { return m_nFrameWidth; }
  int GetFrameHeight() const { return m_nFrameHeight; }

  CDibImage* m_pImage;
  // Two values the owner keeps with the strip.
  LPARAM m_lOwnerValue1, m_lOwnerValue2;
  int m_nFrames;
  int m_nFrameWidth, m_nFrameHeight;
  COLORREF m_crTint;
};

HBITMAP CreateDibSection(int nWidth, int nHeight, int nBitsPerPixel, void** ppBits);
HGLOBAL BitmapToPackedDib(HBITMAP hBitmap, DWORD dwCompression, HPALETTE hPalette);
int GetBitmapSize(HBITMAP hBitmap, int* pWidth, int* pHeight);
void DrawBitmapMode(HDC hDC, const RECT& rcDest, HBITMAP hBitmap, int nMode, const RECT* pSrcRect);
int DrawTransparentBitmap(HBITMAP hBitmap, COLORREF crKey, int nMode, HDC hDC, int x, int y, int nWidth, int nHeight,
                          BOOL bGreyed);
int CopyBitmapToClipboard(HBITMAP hBitmap);
HBITMAP DecodeImageFromMemory(const void* pData, DWORD dwSize);
HBITMAP LoadImageFromResourceOrFile(HMODULE hModule, LPCSTR lpszName, LPCSTR lpszType, WORD wLanguage);
HRGN BitmapToRegionByPixel(HBITMAP hBitmap, int x, int y);
HRGN BitmapToRegionByColor(HBITMAP hBitmap, COLORREF crKey);
