// CODScrollCtrl: a window with a scrollable logical surface (total, page and line sizes in a
// mapping mode), scrolled by bars, keys and the wheel. Every bar call goes to the skinned
// bars of an enclosing "CSBContainerWnd" when the parent is one, else to the window's own.
#pragma once
#include <afxwin.h>

#include "ODNcMgrWnd.h"
#include "ScrollModel.h"

class CSBContainerWnd;

class CODScrollCtrl;

// The middle-button pan window: a small round window at the cursor; while it is open the
// owner scrolls toward the cursor, faster the further the cursor is from it.
class CODPanWnd : public CODWnd<CWnd> {
 public:
  explicit CODPanWnd(CODScrollCtrl* pOwner) : CODWnd<CWnd>(nullptr, 0), m_pOwner(pOwner), m_bEnd(FALSE) {}
  BOOL Open(POINT ptScreen);
  void MarkEnd() { m_bEnd = TRUE; }

 protected:
  void OnThemeChanged() override {}  // a plain circle
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }
  void OnTimer();
  CODScrollCtrl* m_pOwner;
  BOOL m_bEnd;
  POINT m_ptCentre;
};

class CODScrollCtrl : public CODPainted<CODNcMgrWnd> {
  DECLARE_DYNAMIC(CODScrollCtrl)
 public:
  CODScrollCtrl();
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage = SIZE{0, 0}, SIZE sizeLine = SIZE{0, 0});
  CPoint GetScrollPosition() const { return CPoint(m_h.pos, m_v.pos); }
  BOOL ScrollBy(int dx, int dy, BOOL bDoScroll);
  void ScrollToPosition(POINT pt);
  BOOL HasBar(int nBar) const { return nBar == SB_HORZ ? m_h.bar : m_v.bar; }
  void SetWheelLines(int nLines) { m_nWheelLines = nLines; }
  BOOL IsPanning() const { return m_pPan != nullptr; }

  // Draws the content in logical coordinates (the origin is moved by the scroll position).
  virtual void OnDraw(CDC* pDC) = 0;

 protected:
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void UpdateBars();
  void OnScroll(int nBar, UINT nCode, int nThumb);
  BOOL OnWheel(UINT nFlags, short zDelta);
  void PaintWindow() override;
  CSBContainerWnd* Container() const;
  void RouteScrollInfo(int nBar, const vesk::odctrls::ScrollAxis& axis);
  void RouteShow(int nBar, BOOL bShow);
  int WheelLines();

  int m_nMapMode;
  vesk::odctrls::ScrollAxis m_h, m_v;
  BOOL m_bInUpdate;
  BOOL m_bScrollWindow;
  BOOL m_bRedrawBars;
  int m_nWheelLines;
  CODPanWnd* m_pPan;
  friend class CODPanWnd;
  void OnMiddleButton(UINT nFlags);
};
