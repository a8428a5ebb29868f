// CSkinPopupDlg: a plain dialog that paints and hit-tests its own frame from ten bitmaps of
// the resource library (corners, edges, background, a close button in the caption).
// CTipWnd: the server's notice in that frame: a page area, the rounded region and its own
// caption "温馨提示 - title"; the page is shown by the web-browser control.
#pragma once
#include <afxwin.h>

#include "resource.h"  // the templates live in the resource library

#include "QKCtrls.h"

class CSkinPopupDlg : public CDialog {
 public:
  enum { TL, TOP, TR, LEFT, RIGHT, BL, BOTTOM, BR, BACK, CLOSE, PIECES };
  explicit CSkinPopupDlg(UINT nIDTemplate, CWnd* pParent = nullptr);
  ~CSkinPopupDlg() override;

  // The ten pieces of the resource library; FALSE when one is missing.
  BOOL LoadPieces();
  virtual void PaintFrame(CDC* pDC);
  void PaintFrameNow();
  CRect CloseButtonRect() const;  // window coordinates
  CSize PieceSize(int n) const { return m_size[n]; }
  BOOL IsCloseHot() const { return m_bHover; }

  BOOL m_bDrawTitle = TRUE;
  COLORREF m_crTitle = 0;

 protected:
  BOOL OnInitDialog() override;
  void FreePieces();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  HBITMAP m_hPiece[PIECES] = {};
  CSize m_size[PIECES];
  BOOL m_bHover = FALSE, m_bPressed = FALSE;
};

class CTipWnd : public CSkinPopupDlg {
 public:
  explicit CTipWnd(CWnd* pParent);
  ~CTipWnd() override;

  // (Re)creates the window at that size centred over the parent; 0 when it cannot be made.
  int Open(int nWidth, int nHeight);
  void SetTitle(const char* title);
  // Shows the page of that address; 0 without a window.
  int Navigate(const char* url);
  const CString& GetUrl() const { return m_strUrl; }
  const CString& GetCaption() const { return m_strCaption; }
  CWebBrowser2& GetBrowser() { return m_web; }
  void PaintFrame(CDC* pDC) override;

 protected:
  void OnCancel() override;
  void BuildRegion();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  // The page closed its window (the browser's WindowClosing).
  void OnWindowClosing(BOOL bIsChildWindow, BOOL* pbCancel);
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

 private:
  CWnd* m_pParent;
  CString m_strUrl;
  CString m_strCaption;
  CWebBrowser2 m_web;
  CFont m_fontBold;
  int m_nWidth = 0, m_nHeight = 0;
};
