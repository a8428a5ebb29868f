// CQKGameFrameWnd: the borderless skinned main window of a game table. The whole frame
// (eight border pieces, title, icon, caption buttons) is painted from Vesk.thm; sizing
// and dragging come from its own hit test by width-lock mode; its shape follows the
// corner pictures; it answers the lobby's find-game message by hiding or showing itself
// and the process's skinned dialogs.
#pragma once
#include <afxwin.h>

#include "CaptionButtons.h"
#include "FrameCaptionBar.h"
#include "QKBitmap.h"
#include "SkinLayout.h"
#include "resource.h"

// The lobby's registered find-game message (process-wide value).
UINT GetLobbyFindGameMessage();

class CQKGameFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CQKGameFrameWnd)

 public:
  CQKGameFrameWnd();
  ~CQKGameFrameWnd() override;

  void AddAboutMenuItem(UINT nID);
  void SetAdKeys(DWORD key1, DWORD key2, DWORD key3);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  // Opens the system menu at a screen point, owned by the caption bar.
  void TrackSystemMenu(CPoint screenPoint);
  // The frame's shape in window coordinates (caller deletes).
  HRGN BuildFrameRegion(int w, int h) const;

  // State the tests and derived frames read.
  BOOL IsLobbyHidden() const { return m_bHidden; }
  int GetWidthLock() const { return m_nWidthLock; }
  CCaptionButtons& GetCaptionButtons() { return m_captionButtons; }
  CFrameCaptionBar& GetCaptionBar() { return m_captionBar; }
  const skin::SysMenuShape& GetSysMenuShape() const { return m_sysMenu; }
  int GetMaxButtonIndex() const { return m_nMaxButton; }
  void PaintFrame(CDC* pDC, int w, int h, BOOL bActive);
  CString GetButtonTip(int n) const { return n >= 1 && n <= 10 ? CString(m_szTips[n - 1]) : CString(); }

  CWnd* m_pOwnedPopup;
  CSize m_sizeMin;

 protected:
  BOOL LoadSkin();
  void AddCaptionButtons();
  void ToggleMaxRestore();
  // Maximised by the frame itself: the window takes the maximised box without the window
  // system's maximised state, so a display without a window manager shows what the frame
  // lays out for.
  void ZoomFrame(bool bZoom);
  BOOL IsFrameZoomed() const { return m_bZoomed || IsZoomed(); }
  void ShowWithoutAnimation(int nCmdShow);
  void InvalidateFrame();
  void ForwardToSkinDialogs(LPARAM lParam);
  CPoint ScreenToWindow(CPoint pt) const;
  BOOL InSysMenu(CPoint windowPoint) const;

  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnDestroy();
  afx_msg void OnNcPaint();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnLobbyFindGame(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg virtual void OnFrameSetup() {}
  afx_msg virtual void OnFrameHelp() {}
  afx_msg void OnFrameMinimize();
  afx_msg void OnFrameMaxRestore();
  afx_msg void OnFrameClose();
  afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CFrameCaptionBar m_captionBar;
  BOOL m_bHidden;
  UINT m_nAboutIcon;
  HICON m_hAboutIcon;
  UINT m_nAboutMenuId;
  DWORD m_dwAdKeys[3];
  int m_nWidthLock;
  bool m_bZoomed = false;
  CRect m_rcBeforeZoom;
  CFont m_fontTitle;
  COLORREF m_crTitle;
  int m_nTitleHeight;
  int m_nSysBtnRight, m_nSysBtnTop;
  BOOL m_bAnomalyFrame, m_bAnomalyFrameBottom;
  BOOL m_bTitleAlignLeft;
  CPoint m_ptTitle;
  CSize m_cell[9];
  CQKBitmap m_piece[9];
  CQKBitmap m_pieceNA[3];
  HRGN m_hCorner[4];  // top-left, top-right, bottom-left, bottom-right
  skin::SysMenuShape m_sysMenu;
  int m_nMaxButton;
  char m_szTips[10][80];
  CCaptionButtons m_captionButtons;
  BOOL m_bShowTitleIcon;
  skin::FrameZones m_zones;
};
