// CSplitterEx: the main frame's static splitter with a themed bar and an arrow on it that
// hides and shows the right pane. The bar cannot be dragged. Until the themed pictures are
// loaded it behaves as the plain splitter.
#pragma once
#include <afxext.h>
#include <afxwin.h>

#include <string>

class CSplitterEx : public CSplitterWnd {
 public:
  enum { ARROW_NORMAL = 1, ARROW_HOVER = 2, ARROW_PRESSED = 3, ARROW_FOURTH = 4 };

  CSplitterEx();
  ~CSplitterEx() override;

  // Leaves plain mode; the pictures are optional (a missing one is not drawn).
  void SetPlainMode(BOOL bPlain) { m_bPlain = bPlain; }
  BOOL IsPlainMode() const { return m_bPlain; }
  // Loads "SPLITTER", "LARROW" and "RARROW" of section QKSPLITTER: the net skin's vesk.thm
  // first, then the framework's theme; files under "<folder>\theme\".
  void LoadImages(const std::string& netSkinFolder, const std::string& profilePath);

  // Column 0 takes the client width less the right pane and bar while the pane is visible.
  void RecalcColumns();
  // Column 0 for a right pane of that width; a negative result changes nothing.
  void SetRightPaneWidth(int nWidth);
  void ToggleRightPane();
  BOOL IsRightPaneVisible() const { return m_bRightVisible; }
  int GetRightWidth() const { return m_nRightWidth; }
  void SetRightWidth(int nWidth) { m_nRightWidth = nWidth; }
  int GetArrowState() const { return m_nArrowState; }
  const CRect& GetArrowRect() const { return m_rcArrow; }
  int GetBarWidth() const { return m_cxSplitter; }

  void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;

 protected:
  void StartTracking(int ht) override;
  void SetArrowState(int nState);
  void DrawArrow(CDC* pDC, const CRect& bar);

  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL m_bPlain = TRUE;
  HBITMAP m_hBar = nullptr;
  HBITMAP m_hArrow[2] = {nullptr, nullptr};  // left, right
  BOOL m_bRightVisible = TRUE;
  int m_nRightWidth = 240;
  CRect m_rcArrow;
  int m_nArrowState = ARROW_NORMAL;
  BOOL m_bPressing = FALSE;
  BOOL m_bTrackMouse = TRUE;
};
