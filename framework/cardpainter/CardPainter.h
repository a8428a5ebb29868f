// CCardPainter: draws table cards 1:1 from the card sheets of QKCards.dll, with the
// sheet's mask cell for the rounded corners and an optional AlphaBlend.
#pragma once
#include <afxwin.h>

#include "CardCells.h"

class CCardPainter : public CObject {
 public:
  CCardPainter();
  ~CCardPainter() override;

  // Loads the sheets named by the type mask from "<folder>\QKCards.dll" (or the library
  // found by the system when the folder has none). 1 when every requested sheet loaded.
  BOOL Initialization(WORD wTypeMask, LPCSTR lpszFolder);

  // Names the sheets without loading them: the first card drawn, or LoadDeferred, loads
  // them as Initialization would. A program that shows no card at first starts sooner.
  void InitializeLater(WORD wTypeMask, LPCSTR lpszFolder);
  // Loads the sheets InitializeLater named, once; the result Initialization gave them (TRUE
  // with nothing waiting).
  BOOL LoadDeferred();
  BOOL IsDeferred() const { return m_bDeferred; }

  // Result codes of CardResult. Zero sizes take the type's cell size; srcW and srcH do
  // not scale. The shift moves both the card and the mask cell in the sheet.
  int ShowCard(CDC* pDC, WORD wCode, WORD x, WORD y, WORD w, WORD h, WORD wType, WORD srcW, WORD srcH, WORD shiftX,
               WORD shiftY, const BLENDFUNCTION* pBlend);

  WORD GetLoadedMask() const { return m_wTypeMask; }

  HMODULE m_hLibrary;
  HINSTANCE m_hSavedResource;
  CBitmap* m_pSheets[5];  // types 1, 4, 2, 8, 16
  CDC m_dcSheet;
  CDC m_dcWork;
  CBitmap m_bmpWork;
  HGDIOBJ m_hOldWorkBitmap;
  WORD m_wTypeMask;

 private:
  void Release();
  BOOL EnsureWorkSize(int w, int h);
  int m_nWorkW, m_nWorkH;
  BOOL m_bDeferred = FALSE;
  BOOL m_bDeferredResult = TRUE;
  WORD m_wDeferredMask = 0;
  CString m_strDeferredFolder;
};
