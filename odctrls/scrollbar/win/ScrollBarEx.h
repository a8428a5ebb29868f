// ScrollBarEx: a scroll bar the program draws itself (arrows, track, thumb) that reports to
// its parent with WM_HSCROLL/WM_VSCROLL like a system bar. CSBContainerWnd hosts one
// control between a horizontal and a vertical ScrollBarEx and passes their actions on.
#pragma once
#include <afxwin.h>

#include "DibImage.h"
#include "ODNcMgrWnd.h"
#include "ScrollGeometry.h"
#include "ScrollImageTable.h"

struct SBEX_DRAWPART {
  CDC* pDC;
  CRect rect;
  int nPart;    // 0 arrow 1, 1 arrow 2, 2/3 track halves, 5 thumb, 6/7 size box, 8 whole track
  UINT nFlags;  // bit 0 pressed, bit 1 hot, bit 2 disabled
};

class ScrollBarEx : public CODPaintedWnd<CWnd> {
 public:
  ScrollBarEx();
  ~ScrollBarEx() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void ShowBar(BOOL bShow);
  BOOL IsBarVisible() const { return m_bVisible; }
  void EnableBar(BOOL bEnable);
  void SetScrollRange(int nMin, int nMax, BOOL bRedraw = TRUE);
  void SetPageSize(int nPage, BOOL bRedraw = TRUE);
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
  int GetScrollPos() const { return m_state.Pos(); }
  void GetScrollRange(LPINT lpMin, LPINT lpMax) const;
  int SetTrackPos(int nPos, BOOL bRedraw = TRUE);
  int GetTrackPos() const { return m_state.TrackPos(); }
  BOOL SetScrollInfo(LPSCROLLINFO lpInfo, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(LPSCROLLINFO lpInfo, UINT nMask = SIF_ALL);
  void SetTrackColor(COLORREF cr);
  void SetThumbColor(COLORREF cr);
  void SetHotColor(COLORREF cr, BOOL bHotTracking);
  void SetMinThumbSize(int n) { m_state.SetMinThumb(n); }
  void SetArrowLength(int n) { m_nArrow = n < 0 ? 0 : n; }
  void SetBarRedraw(BOOL bOn) { m_bRedraw = bOn; }
  BOOL IsHorizontal() const { return m_nHorz == 1; }
  // The image strip: part sizes a, b, c, d give every part's cell (see ScrollImageTable.h).
  void SetPartSizes(int a, int b, int c, int d);
  // Takes a 16-bit copy of the bitmap (deleted afterwards when asked); whether one was loaded.
  BOOL SetImage(BOOL bDeleteAfter, HBITMAP hBitmap);
  BOOL HasImage() const { return !m_image.IsEmpty(); }

  virtual void DrawPart(SBEX_DRAWPART* pReq);

  // Section ScrollBarEx: FixedSliderSize (-1 proportional).
  static void LoadThemeValues();
  static int s_nFixedSliderSize;

  const odscroll::ScrollState& State() const { return m_state; }
  odscroll::Layout CurrentLayout() const;

 protected:
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow() override;
  void Paint(CDC* pDC);
  int HitAt(CPoint pt) const;
  void Notify(UINT nCode);
  void ScrollStep();
  void EndPress();
  void OnButtonDown(CPoint pt);
  void OnMove(CPoint pt);
  int Along(CPoint pt) const { return IsHorizontal() ? pt.x : pt.y; }
  CRect PartRect(const odscroll::Span& s) const;
  void DrawPartFromImage(SBEX_DRAWPART* p);
  void DrawCell(CDC* pDC, const CRect& dst, int row, odscroll::ImagePart part) const;

  odscroll::ScrollState m_state;
  odscroll::Repeater m_repeat;
  BOOL m_bVisible;
  int m_nHorz;
  int m_nArrow;
  COLORREF m_crTrack, m_crThumb, m_crHotThumb;
  BOOL m_bHotTracking;
  int m_nPressed;  // hit code of the press, -1 none
  BOOL m_bDragging;
  int m_nDragOffset;
  BOOL m_bInside;
  BOOL m_bTrackingLeave;
  int m_nHover;
  BOOL m_bRedraw;
  CDibImage m_image;
  odscroll::ImageTable m_table;
};

class CSBContainerWnd : public CODNcMgrWnd {
  DECLARE_DYNAMIC(CSBContainerWnd)
 public:
  CSBContainerWnd();
  ~CSBContainerWnd() override;

  BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwStyle);
  void SetHostedControl(CWnd* pWnd) { m_pHosted = pWnd; }
  CWnd* GetHostedControl() const { return m_pHosted; }

  virtual ScrollBarEx* GetSkinScrollBar(int nBar);
  virtual void DrawSizeBox(CDC* pDC, const CRect& rect);
  CScrollBar* GetScrollBarCtrl(int nBar) const override;

  int GetScrollPos(int nBar);
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpInfo, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpInfo, UINT nMask = SIF_ALL);
  // The only way a hosted control's bars appear or go.
  void ShowScrollBar(int nBar, BOOL bShow);
  void SetBarThickness(int cx, int cy);
  // nBar SB_HORZ, SB_VERT or SB_BOTH.
  void SetPartSizes(int nBar, int a, int b, int c, int d);
  // The bars delete the bitmap; for SB_BOTH the vertical bar gets a copy of it.
  void SetScrollImage(int nBar, HBITMAP hBitmap);

  // Section SBContainer: ScrollSize, ScrollImageID, MinSliderSize.
  static void LoadThemeValues();
  static int s_nScrollSize, s_nScrollImageID, s_nMinSliderSize;

 protected:
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL CreateScrollBars();
  void ApplyTheme();
  void LayOut();
  void OnSizeChanged(int cx, int cy);
  void PaintSizeBox();

  CWnd* m_pHosted;
  ScrollBarEx m_wndHorz, m_wndVert;
  int m_cxVert, m_cyHorz;
  int m_cxLast, m_cyLast;
  BOOL m_bCreating;
};
