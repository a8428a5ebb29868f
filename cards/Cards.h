// QKCards.dll: the card sheets in five sizes and the exported class Cards, which loads
// the sheets a caller asks for and draws one card cell.
#pragma once
#include <afxwin.h>

#ifdef QKCARDS_BUILD
#define QKCARDS_API __declspec(dllexport)
#else
#define QKCARDS_API __declspec(dllimport)
#endif

class CQKBitmap;

class QKCARDS_API Cards {
 public:
  Cards();
  virtual ~Cards();

  // Loads one sheet per bit of the mask (1, 2, 4, 8, 16); 0 when a sheet fails to load.
  int Initialization(unsigned short wTypeMask);
  // Size form: zero sizes take the type's defaults (types 8 and 16 at twice their cell).
  int ShowCard(CDC* pDC, unsigned short wCode, unsigned short x, unsigned short y, unsigned short w, unsigned short h,
               unsigned short wType, unsigned short srcW, unsigned short srcH);
  // Rectangle form: right and bottom inclusive; null rectangle = the DC window's client
  // area; null size = the cell size. The cell is stretched opaque into the rectangle.
  int ShowCard(CDC* pDC, unsigned short wCode, RECT* pRect, unsigned short wType, SIZE* pSrcSize);

  HMODULE m_hModule;
  HINSTANCE m_hSavedResource;
  CQKBitmap* m_pSheet1;
  CQKBitmap* m_pSheet4;
  CQKBitmap* m_pSheet2;
  CQKBitmap* m_pSheet8;
  CQKBitmap* m_pSheet16;
  unsigned short m_wTypeMask;

 private:
  CQKBitmap*& Sheet(int index);
};
