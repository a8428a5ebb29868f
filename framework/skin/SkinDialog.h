// CSkinDialog: the base of the skinned dialogs. With a skin name set before creation it
// replaces the non-client area with a nine-cell background from Vesk.thm, a title, a row
// of caption buttons, sizing zones and a shape cut from the background's corners; with
// no skin name it behaves as a plain dialog.
#pragma once
#include <afxwin.h>

#include "CaptionButtons.h"
#include "QKBitmap.h"
#include "SkinLayout.h"
#include "resource.h"

class CSkinDialog : public CDialog {
 public:
  CSkinDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CSkinDialog() override;

  void SetSkinName(const char* name);
  const char* GetSkinSection() const { return m_szSection; }
  BOOL IsSkinned() const { return m_szSection[0] != 0; }
  void SetHasCaption(BOOL bHasCaption) { m_bHasCaption = bHasCaption; }
  void GetSkinClientRect(LPRECT lpRect) const;
  INT_PTR DoModal() override;

  virtual HRGN BuildWindowRegion();
  virtual void PrePaintClient(CDC* pDC) { (void)pDC; }
  virtual void PaintClient(CDC* pDC) { (void)pDC; }

  // What the skin read (for the derived boxes and tests).
  int GetBorderWidth() const { return m_nBorderWidth; }
  int GetCaptionHeight() const { return m_nCaptionHeight; }
  int GetInnerTop() const { return m_bHasCaption ? m_nCaptionHeight : m_nBorderWidth; }
  COLORREF GetCtrlTextColor() const { return m_crCtrlText; }
  CCaptionButtons& GetCaptionButtons() { return m_captionButtons; }
  BOOL IsModalRunning() const { return m_bModal; }

 protected:
  BOOL LoadSkin();
  void LayOutCaptionButtons();
  void PaintSkin(CDC* pDC);
  void ToggleMaxRestore();
  CPoint ScreenToWindow(CPoint pt) const;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnNcPaint();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
  afx_msg void OnDestroy();
  afx_msg void OnSkinClose();
  afx_msg void OnSkinMaxRestore();
  afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CQKBitmap m_bmpActive;
  CQKBitmap m_bmpInactive;
  int m_nCellWidth, m_nCellHeight;
  CBrush m_brCtrl;
  BOOL m_bHasCaption;
  CFont m_fontTitle;
  COLORREF m_crTitle;
  BOOL m_bAnomalyFrame;
  BOOL m_bResize;
  COLORREF m_crCtrlText;
  char m_szSection[256];
  skin::DialogZones m_zones;
  CCaptionButtons m_captionButtons;
  int m_nBorderWidth, m_nCaptionHeight;
  BOOL m_bModal;
  int m_nMaxButton;
  BOOL m_bUseTitleMax;
  HRGN m_hShapeRgn;  // this dialog's own copy of the cached shape
  BOOL m_bWasVisible;
};
