// CODStatic: a static that paints itself double-buffered, keeps its caption as formatted
// text lines so the text can move and carry links, changes the cursor over links and opens
// a link when clicked.
#pragma once
#include <afxwin.h>

#include "ODThemeImage.h"
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
  // A background image of this static's own (image text of the theme's syntax), drawn in
  // place of the theme's "BkImg"; empty goes back to the theme's. Its frames turn on timer 2.
  void SetBkImage(LPCSTR lpszSpec);
  const CODThemeImage& GetBkImage() const { return m_bkImage; }
  enum { TIMER_MOVE = 1, TIMER_BKIMAGE = 2 };

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
  // Reads the theme's values that the instance keeps, and (re)loads the background image.
  void ApplyThemeValues();
  void LoadBkImage();

  HCURSOR m_hFocusCursor, m_hNormalCursor;
  BOOL m_bStopOnFocus;
  BOOL m_bTip;
  CRect m_rcBorder;
  CODTxtMov m_txt;
  CODThemeImage m_bkImage;  // the second timer-driven member
  CString m_strOwnBkImage;
  BOOL m_bInside;
  BOOL m_bWasMoving;
  CString m_strDefaultTip, m_strTip;
  HFONT m_hFont;
};
