// Extensions: control bars (status bar, dialog bar), scroll and form views, splitter.
#pragma once

#include "afxwin.h"

// Control bar styles (kept in CControlBar::m_dwStyle, not in the window style).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 public:
  CControlBar();
  ~CControlBar() override;
  DWORD m_dwStyle;
  CFrameWnd* m_pDockSite;
  BOOL m_bAutoDelete;
  int m_cxLeftBorder, m_cxRightBorder, m_cyTopBorder, m_cyBottomBorder;
  CSize m_sizeDefault;

  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  void EnableDocking(DWORD dwDockStyle) { (void)dwDockStyle; }
  BOOL IsVisible() const { return (GetStyle() & WS_VISIBLE) != 0; }
  CFrameWnd* GetDockingFrame() const { return GetParentFrame(); }
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    (void)pTarget;
    (void)bDisableIfNoHndler;
  }
  void PostNcDestroy() override;

 protected:
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  void AttachToFrame(CWnd* pParentWnd);
  DECLARE_MESSAGE_MAP()
};

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  CStatusBar();
  ~CStatusBar() override;
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                      UINT nID = AFX_IDW_STATUS_BAR);
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  void GetPaneText(int nIndex, CString& s) const;
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

 protected:
  struct Pane {
    UINT nID;
    UINT nStyle;
    int cxText;
    CString strText;
  };
  Pane* m_pPanes;
  int m_nCount;
  void UpdateAllPanes();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class CDialogBar : public CControlBar {
  DECLARE_DYNAMIC(CDialogBar)
 public:
  CDialogBar();
  ~CDialogBar() override;
  // A child dialog from a template in the resource module, docked at the frame's edge.
  virtual BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID);
  virtual BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

 protected:
  LPCSTR m_lpszTemplateName;
  DECLARE_MESSAGE_MAP()
};

class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
 public:
  static const SIZE sizeDefault;
  CScrollView();
  // Zero sizes (as the program sets them) mean the view never scrolls.
  void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                      const SIZE& sizeLine = sizeDefault);
  CPoint GetScrollPosition() const;
  CSize GetTotalSize() const { return m_totalLog; }
  void ScrollToPosition(POINT pt);
  void ResizeParentToFit(BOOL bShrinkOnly = TRUE);
  void OnPrepareDC(CDC* pDC, void* pInfo = nullptr) override;

 protected:
  int m_nMapMode;
  CSize m_totalLog, m_pageDev, m_lineDev;
  void UpdateBars();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  DECLARE_MESSAGE_MAP()
};

class CFormView : public CScrollView {
  DECLARE_DYNAMIC(CFormView)
 public:
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
              CCreateContext* pContext = nullptr) override;
  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnDraw(CDC* pDC) override { (void)pDC; }
  LPCSTR m_lpszTemplateName;

 protected:
  explicit CFormView(LPCSTR lpszTemplateName);
  explicit CFormView(UINT nIDTemplate);
  CCreateContext* m_pCreateContext;
  HWND m_hWndFocus;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
 public:
  enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };
  struct CRowColInfo {
    int nMinSize;
    int nIdealSize;
    int nCurSize;
  };

  CSplitterWnd();
  ~CSplitterWnd() override;

  virtual BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                            UINT nID = AFX_IDW_PANE_FIRST);
  virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);
  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  void GetRowInfo(int row, int& cyCur, int& cyMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);
  CWnd* GetPane(int row, int col) const;
  BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
  virtual void RecalcLayout();
  virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);
  virtual void OnInvertTracker(const CRect& rect);
  virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
  virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  // Sizes of the splitter bar, the gap between panes and the pane borders, in pixels.
  int m_cxSplitter, m_cySplitter;
  int m_cxBorderShare, m_cyBorderShare;
  int m_cxSplitterGap, m_cySplitterGap;
  int m_cxBorder, m_cyBorder;

 protected:
  CRuntimeClass* m_pDynamicViewClass;
  int m_nMaxRows, m_nMaxCols;
  int m_nRows, m_nCols;
  BOOL m_bHasHScroll, m_bHasVScroll;
  CRowColInfo* m_pColInfo;
  CRowColInfo* m_pRowInfo;
  BOOL m_bTracking;
  int m_htTrack;
  CPoint m_ptTrackOffset;
  CRect m_rectTracker;
  CRect m_rectLimit;

  enum HitTestValue { noHit = 0, vSplitterBar1 = 101, hSplitterBar1 = 201 };
  virtual int HitTest(CPoint pt) const;
  virtual void GetHitRect(int ht, CRect& rect);
  virtual void StartTracking(int ht);
  virtual void StopTracking(BOOL bAccept);
  void LayoutRowCol(CRowColInfo* pInfo, int nMax, int nSize, int nSizeSplitter);
  void GetInsideRect(CRect& rect) const;

  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
  afx_msg void OnCancelMode();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
    (void)pDC;
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};
