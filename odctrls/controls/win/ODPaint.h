// Small drawing helpers the owner-drawn controls share: solid and 64-band gradient fills,
// frames and the library's default font.
#pragma once
#include <afxwin.h>

#include <functional>

#include "resource.h"  // VESK_FACE_SONG, the face of the library's fonts

// Colour -1 (CLR_NONE) fills nothing.
void ODFillSolid(HDC hDC, const RECT& rc, COLORREF cr);
// 64 bands from one colour to the other, left to right or top to bottom.
void ODFillGradient(HDC hDC, const RECT& rc, COLORREF crFrom, COLORREF crTo, BOOL bVertical);
// A frame of the given width inside the rectangle.
void ODFrame(HDC hDC, const RECT& rc, COLORREF cr, int nWidth);
// "宋体" of the given pixel height (GB2312 charset).
HFONT ODCreateFont(int nHeight, int nWeight = FW_NORMAL, BOOL bUnderline = FALSE);
// Paints a window's client area double-buffered (when it is visible at all): draw gets the
// memory DC and the client rectangle.
void ODPaintClient(HWND hWnd, const std::function<void(HDC, const CRect&)>& draw);
// A region joined into a union that may not exist yet; the part is consumed.
void ODUnionRegion(HRGN* pAll, HRGN hPart);
