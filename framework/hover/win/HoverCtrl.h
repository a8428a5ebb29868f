// CHoverCtrl: an owner-drawn push button with four image states (normal, hover, pressed,
// disabled) and hover tracking.
#pragma once
#include <afxwin.h>

#include "DibImage.h"
#include "ODWnd.h"

// Draws the source part of the bitmap over the destination, cut into thirds when the
// destination is larger; 0 for a zero size, else 1.
int DrawBitmapGrid(HDC hDC, HBITMAP hBitmap, int x, int y, int w, int h, int sx, int sy, int sw, int sh);

class CHoverCtrl : public CODPaintedWnd<CWnd> {
  DECLARE_DYNAMIC(CHoverCtrl)
 public:
  CHoverCtrl();
  ~CHoverCtrl() override;
  BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // The strip of four equal frames; the control keeps its own copy.
  void SetStateImage(HBITMAP hStrip);
  // An icon drawn with its top-left pixel as the transparent colour; the control keeps a
  // 16-bit copy (the caller keeps its bitmap).
  void SetIcon(HBITMAP hIcon, int nOffset);
  const CDibImage& GetIcon() const { return m_icon; }
  void SetColours(COLORREF crNormal, COLORREF crHover, COLORREF crPressed, COLORREF crDisabled, COLORREF crFocus);
  void SetFill(COLORREF cr) { m_crFill = cr; }
  void SetTextOffset(int n) { m_nTextOffset = n; }
  BOOL IsHover() const { return m_bHover; }
  BOOL IsPressed() const { return m_bPressed; }
  // The frame the state picks: 3 disabled, 2 pressed, 1 hover, 0 normal.
  int CurrentFrame() const;

 protected:
  void OnThemeChanged() override {}  // its own pictures, set by the program
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow() override;
  void OnMouseMove(CPoint pt);

  COLORREF m_crNormal, m_crHover, m_crPressed, m_crDisabled, m_crFocus;
  COLORREF m_crFill;
  int m_nIconOffset, m_nTextOffset;
  UINT m_nFormat;
  BOOL m_bPressed, m_bHover;
  BOOL m_bCaptured;
  HBITMAP m_hStates;
  CDibImage m_icon;
};
