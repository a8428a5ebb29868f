// BalloonTipWnd: a small semi-transparent popup with one short text in a balloon whose
// tail points at an anchor; it hides itself after a while. The table view shows the
// tier of a seat with it.
#pragma once
#include <afxwin.h>

#include <string>
#include <vector>

class BalloonTipWnd : public CWnd {
 public:
  enum { IDT_HIDE = 1, IDT_RETRY = 2 };
  BalloonTipWnd();
  ~BalloonTipWnd() override;

  BOOL Create(CWnd* pOwner);
  void SetBorder(COLORREF color, int width);
  void SetTail(int width, int offset);
  void SetMinSize(int w, int h);
  BOOL SetMaxSize(int w, int h);
  void SetOpacity(int percent);
  void SetTextColor(COLORREF color) { m_crText = color; }
  void SelectFont(int which);  // 0: the 12-pixel font, 1: the 14-pixel font
  // Shows `text` with the body's corner `alignment` at (x, y) and the tail toward
  // (anchorX, anchorY), all in the owner's client coordinates.
  void Show(const char* text, int x, int y, int anchorX, int anchorY, int alignment);
  void Hide();

  bool IsShown() const { return m_bVisible; }
  const std::string& GetText() const { return m_strText; }
  int GetPlacement() const { return m_nPlacement; }
  int GetOpacity() const { return m_nOpacity; }
  CSize GetBodySize() const { return m_sizeBody; }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  void Layout();
  HFONT CurrentFont() const { return m_nFont ? m_hFont14 : m_hFont12; }

  CWnd* m_pOwner;
  COLORREF m_crBorder, m_crFill, m_crText;
  int m_nBorder, m_nMinW, m_nMinH, m_nMaxW, m_nMaxH, m_nMarginX, m_nMarginY;
  int m_nTailW, m_nTailOffset, m_nCornerW, m_nCornerH, m_nAutoHideMs, m_nShadowDark, m_nShadowX, m_nShadowY;
  int m_nLineSpacing, m_nOpacity, m_nFont;
  HFONT m_hFont12, m_hFont14;
  std::string m_strText;
  std::vector<std::string> m_lines;
  CSize m_sizeBody;
  CPoint m_ptAt, m_ptAnchor, m_ptBody;
  int m_nAlignment, m_nPlacement;
  bool m_bVisible;
};
