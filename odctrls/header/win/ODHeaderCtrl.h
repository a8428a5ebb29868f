// CODHeaderCtrl: a system header whose items, hit testing and order stay the system's but
// which paints itself in the theme's colours (section ODHeaderCtrl), keeps width limits and
// tips per item, shows a sort arrow and can fit its columns to the parent's width.
#pragma once
#include <afxcmn.h>

#include <vector>

#include "ODWnd.h"

struct OD_HEADER_ITEM {
  int nFlags = 0;  // 0x1 width from content, 0x4 fixed width, 0x10 no-drop cursor off the items
  int nMinWidth = 0;
  int nMaxWidth = 0;  // 0 or less: none
  CString strTip;
  int nParam1 = 0, nParam2 = 0;
};

class CODFHDragWnd;
class CODFHDropWnd;

class CODHeaderCtrl : public CODPaintedWnd<CHeaderCtrl> {
  DECLARE_DYNAMIC(CODHeaderCtrl)
 public:
  CODHeaderCtrl();
  ~CODHeaderCtrl() override;

  BOOL GetItemEx(int nIndex, OD_HEADER_ITEM* pItem) const;
  BOOL SetItemEx(int nIndex, const OD_HEADER_ITEM& item);
  BOOL SetItemRecord(int nIndex, const OD_HEADER_ITEM& item);
  int MeasureItem(const HDITEMA& hdi, BOOL bSorted);
  void SetSortColumn(int nColumn, int nDirection);
  int GetSortColumn(int* pDirection = nullptr) const;
  void ShowSortArrow(BOOL bShow, BOOL bRepaint = TRUE);
  // Pictures are copied; the given bitmap is deleted when bDelete is set. Modes as
  // DrawBitmapTiled: 3 tiled, 1 at the corner, 2 stretched.
  void SetBackgroundImage(BOOL bDelete, HBITMAP hBitmap, int nMode, BOOL bRepaint = TRUE);
  void SetShadowImage(BOOL bDelete, HBITMAP hBitmap, BOOL bRepaint = TRUE);
  void FitColumns(int nColumn);
  void SetFitMode(BOOL bFit) { m_bFitMode = bFit; }
  void SetFixedHeight(int cy) { m_nFixedHeight = cy; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  virtual void DrawItemContent(CDC* pDC, int left, int top, int right, int bottom, const HDITEMA& hdi, BOOL bSorted,
                               int nDirection);

  // Column drag and drop (HDS_DRAGDROP): the floating image, the drop marker.
  void DrawDragImage(CDC* pDC, int nIndex, const CRect& rect);
  int SetHotDivider(BOOL bByPoint, LPARAM value);
  void SetTrashWindow(HWND hWnd) { m_hTrash = hWnd; }
  void SetDropCursorId(UINT nId) { m_nDropCursorId = nId; }
  void SetDropMarkerColor(COLORREF cr) { m_crDropMarker = cr; }
  BOOL IsDragging() const { return m_bDragging; }
  int GetDropIndex() const { return m_nDropIndex; }
  int GetDropState() const { return m_nDropState; }
  CODFHDragWnd* GetDragWnd() const { return m_pDragWnd; }
  CODFHDropWnd* GetDropWnd() const { return m_pDropWnd; }

  // Item tips: the item under the mouse is a tool of its own rectangle whose text is the
  // item record's tip (none when empty).
  static constexpr UINT_PTR kTipToolId = 0xFF37ED5D;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  CString GetTipText() const;
  static void LoadThemeValues();
  static COLORREF s_crText, s_crDividerLight, s_crDividerDark, s_crBackground;
  static int s_nHeaderImageID, s_nLeftShadowImageID;

 protected:
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow() override;
  void PaintItems(CDC* pDC, const CRect& clip);
  int DrawSortArrow(CDC* pDC, int left, int top, int bottom, int nDirection);
  int DrawItemImage(CDC* pDC, int left, int top, int bottom, int space, const HDITEMA& hdi);
  int DrawItemBitmap(CDC* pDC, int left, int top, int bottom, int space, const HDITEMA& hdi);
  static int BitmapWidth(const HDITEMA& hdi);
  void ReleaseClip();
  BOOL OnTipText(NMHDR* pHdr);
  BOOL OnFixedDivider(CPoint pt);
  void OnPress(UINT nFlags, CPoint pt);
  void RefreshTheme(int nBackgroundMode);
  LRESULT OnLayout(WPARAM wParam, LPARAM lParam);
  BOOL OnDragButtonDown(UINT nFlags, CPoint pt);
  BOOL OnDragMouseMove(CPoint pt);
  BOOL OnDragButtonUp(CPoint pt);
  BOOL BeginColumnDrag(CPoint pt);
  void TrackColumnDrag(CPoint pt);
  void EndColumnDrag(BOOL bDrop);
  int SendHeaderNotify(UINT nCode, int nItem);
  int DropIndexAtClient(CPoint pt) const;
  void SetDragCursor(CPoint pt, int nDrop);

  BOOL m_bDoubleBuffer;
  int m_nMargin;
  int m_cxArrow, m_cyArrow;
  int m_cxImage = 0, m_cyImage = 0;  // of the image list's images
  int m_nSortColumn, m_nSortDirection;
  BOOL m_bShowSortArrow;
  BOOL m_bFitMode, m_bFitting, m_bDividerDrag, m_bClipped;
  int m_nFixedHeight;
  COLORREF m_crBackground, m_crText, m_crLight, m_crDark, m_crArrow1, m_crArrow2;
  LOGFONTA m_font;
  HBITMAP m_hBackground;
  int m_nBackgroundMode = 3;  // ODTILE_* of the background picture
  HBITMAP m_hShadow = nullptr;
  mutable int m_nTipItem = -1;
  CString m_strTipShown;  // kept alive while the tip window reads it  // the item the last tool hit test found  //
                          // drawn at the top-left corner in its own size
  std::vector<OD_HEADER_ITEM> m_items;

  // Column drag state.
  BOOL m_bPressed = FALSE, m_bDragging = FALSE;
  int m_nPressedItem = -1;
  CPoint m_ptPress;
  int m_nDropIndex = -1;
  int m_nDropState = 0;  // 0 over an item, 1 over the trash window, 2 no drop, -1 elsewhere
  COLORREF m_crDropMarker = 0x0000FF;
  UINT m_nDropCursorId = 0;
  HWND m_hTrash = nullptr;
  CRect m_rcTrash;
  CODFHDragWnd* m_pDragWnd = nullptr;
  CODFHDropWnd* m_pDropWnd = nullptr;
};

// The floating picture of the dragged column, painted like the header.
class CODFHDragWnd : public CODPaintedWnd<CWnd> {
 public:
  CODFHDragWnd();
  BOOL Create(const CRect& screenRect, CODHeaderCtrl* pHeader, int nItem);

 protected:
  void OnThemeChanged() override {}  // painted by the header
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    return DefaultProc(message, wParam, lParam);
  }
  void PaintWindow() override;
  void PostNcDestroy() override { delete this; }
  CODHeaderCtrl* m_pHeader = nullptr;
  int m_nItem = -1;
};

// The arrow-shaped marker over the divider where the dragged column would land.
class CODFHDropWnd : public CODWnd<CWnd> {
 public:
  CODFHDropWnd(COLORREF cr);
  ~CODFHDropWnd() override;
  BOOL Create(int nHeaderHeight);
  void SetPosition(int x, int y);  // centre of the marker, screen coordinates

 protected:
  void OnThemeChanged() override {}  // one colour, given at creation
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }
  HBRUSH m_hBrush;
  int m_nHeight = 0;
};
