// CODStatic: a static that paints itself double-buffered, keeps its caption as formatted
// text lines so the text can move and carry links, changes the cursor over links and opens
// a link when clicked.
#pragma once
#include <afxwin.h>

#include "ODTxtMov.h"

class CODStatic : public CStatic {
  DECLARE_DYNAMIC(CODStatic)
 public:
  CODStatic();
  ~CODStatic() override;

  CODTxtMov& GetTextLines() { return m_txt; }
  void SetTip(LPCSTR lpszDefaultTip);
  const CString& GetCurrentTip() const { return m_strTip; }
  void SetCursors(HCURSOR hNormal, HCURSOR hFocus);
  // Starts the moving text (timer 1) with a step period in milliseconds.
  void StartMoving(UINT nPeriod);

  virtual void Reserved() {}
  virtual void DrawBorder(HDC hDC, const RECT& rc);
  virtual void DrawText(HDC hDC, const RECT& rc);
  virtual void DrawBackground(HDC hDC, const RECT& rc);
  // Opens a link; the result of ShellExecute (above 32 succeeds).
  virtual INT_PTR OpenLink(LPCSTR lpszLink);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void PreSubclassWindow() override;
  void TakeWindowText();
  LRESULT OnSetText(LPCSTR lpszText);
  void OnPaint();
  void OnTimer(UINT_PTR nIDEvent);
  void OnMouseMove(CPoint point);
  void OnMouseLeave();
  void OnClicked();
  void ShowLinkCursor(BOOL bLink);

  HCURSOR m_hFocusCursor, m_hNormalCursor;
  BOOL m_bStopOnFocus;
  BOOL m_bTip;
  CRect m_rcBorder;
  CODTxtMov m_txt;
  BOOL m_bInside;
  BOOL m_bWasMoving;
  CString m_strDefaultTip, m_strTip;
  HFONT m_hFont;
};
