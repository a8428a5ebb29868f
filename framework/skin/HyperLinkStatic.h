// CHyperLinkStatic: a static control that lays out its own text with simple link markup
// (anchors, bare web addresses, line breaks), draws links underlined in the link colour,
// shows a hand over them and opens web addresses with the system's handler.
#pragma once
#include <afxwin.h>

#include <string>
#include <vector>

class CHyperLinkStatic : public CStatic {
 public:
  struct LinkRecord {
    RECT rect;
    char address[256];
  };

  CHyperLinkStatic();
  ~CHyperLinkStatic() override;

  COLORREF m_crText;
  COLORREF m_crLink;

  int GetLinkCount() const { return (int)m_links.size(); }
  const LinkRecord* GetLink(int i) const { return i >= 0 && i < GetLinkCount() ? &m_links[i] : nullptr; }
  // The address that a click on link i would open ("" = refused).
  std::string GetOpenAddress(int i) const;
  // Where opening goes (tests install their own; the default is OpenWebAddress).
  static void (*s_pfnOpen)(const char* address);

 protected:
  void LayOutAndDraw(HDC dc, bool draw);
  HCURSOR LoadHandCursor();
  void Leave(bool release);

  afx_msg void OnPaint();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  BOOL m_bFirstPaint;
  std::vector<LinkRecord> m_links;
  HCURSOR m_hHand;
  BOOL m_bOwnHand;
  HCURSOR m_hPrevCursor;
  BOOL m_bHovering;
  int m_nHover;
};
