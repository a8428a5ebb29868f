// CODTabCtrl: a tab control that paints its body and tabs itself and draws the flip buttons
// of its up-down child from the theme.
#pragma once
#include <afxcmn.h>
#include <afxwin.h>

#include "ODWnd.h"

struct OD_TAB_DRAW {
  UINT nCtlType;  // 101
  UINT nCtlID;
  HWND hWnd;
  HDC hDC;
  int nItem;
  BOOL bSelected;
  RECT rcItem;
};

// The up-down child of the tab control, subclassed so its two halves are drawn from the
// theme and its position kept within its limits.
class CODTabUpDown : public CODPaintedWnd<CWnd> {
 public:
  CODTabUpDown();
  int GetLimitState() const { return m_nLimit; }
  int GetPos() const { return m_nPos; }
  void SetRange(int lo, int hi) {
    m_nMin = lo;
    m_nMax = hi;
  }
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  void OnThemeChanged() override {}  // drawn from the tab control's theme values
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow() override;
  void Halves(CRect* pFirst, CRect* pSecond) const;

  int m_nPos, m_nMin, m_nMax, m_nLimit;
  int m_nPressed;  // 0 none, 1 first half, 2 second
};

class CODTabCtrl : public CODPaintedWnd<CTabCtrl> {
  DECLARE_DYNAMIC(CODTabCtrl)
 public:
  CODTabCtrl();
  ~CODTabCtrl() override;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  BOOL HasUpDown() const { return m_bFoundUpDown; }
  CODTabUpDown& GetUpDown() { return m_upDown; }

  virtual void DrawTabFrame(const OD_TAB_DRAW& draw);
  virtual void DrawBody(const OD_TAB_DRAW& draw);
  virtual void DrawTabContent(const OD_TAB_DRAW& draw);

 protected:
  void OnThemeChanged() override {}  // reads the theme's values as it paints
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow() override;
  void FindUpDown();

  COLORREF m_crBack;
  LOGFONTA m_font;
  CODTabUpDown m_upDown;
  BOOL m_bFoundUpDown;
};
