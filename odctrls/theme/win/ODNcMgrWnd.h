// CODNcMgrWnd: base of the owner-drawn windows that host other controls. It draws a flat
// one-pixel frame in the theme's border colour in place of the 3-D border of WS_BORDER,
// forwards the redraw switch to an enclosing container's scroll bars and can paint a
// background picture. DrawBitmapTiled is the tiled blit the list, header and this use.
#pragma once
#include <afxwin.h>
#include "ODWnd.h"

enum { ODTILE_CORNER = 1, ODTILE_STRETCH = 2, ODTILE_REPEAT = 3 };  // any other mode stretches too

// Mode 3: copies at steps of the bitmap's size from the rectangle's top-left corner; mode 1:
// one copy at the corner, clipped to the rectangle; other modes: stretched over it.
void DrawBitmapTiled(HDC hDC, const RECT& rc, HBITMAP hBitmap, int nMode);

class CODNcMgrWnd : public CODWnd<CWnd> {
  DECLARE_DYNAMIC(CODNcMgrWnd)
 public:
  CODNcMgrWnd();
  ~CODNcMgrWnd() override;

  // The switch goes to the window and, inside a "CSBContainerWnd", to the container's
  // scroll bars (GetScrollBarCtrl); switching on repaints at once.
  virtual void SetRedraw(BOOL bRedraw = TRUE);
  // Takes the class colour unless an own colour is set, then repaints the frame.
  void RefreshBorder();
  void SetBorderColour(COLORREF cr) {
    m_crBorder = cr;
    m_bOwnColour = TRUE;
  }
  COLORREF GetBorderColour() const { return m_crBorder; }
  // The window keeps its own copy of the picture.
  BOOL SetBackgroundImage(HBITMAP hBitmap, int nDrawMode);
  void DrawBackground(HDC hDC, const RECT& rc);

  // Section ODNcMgrWnd: ColorBorder.
  static void LoadThemeValues();
  static COLORREF s_crBorder;

 protected:
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintBorder();

  COLORREF m_crBorder;
  BOOL m_bOwnColour;
  BOOL m_bNcPaint;
  HBITMAP m_hBackground;
  int m_nBackgroundMode;
};
