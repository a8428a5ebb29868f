// The main window as far as start-up needs it: a frame of fixed size from resource 128 with a
// one-row splitter holding the table view on the left and the chat pane on the right.
// (The skinned game frame of the platform takes over its drawing later.)
#pragma once
#include <afxext.h>
#include <afxwin.h>

class CGameView;

// 1 when the screen is smaller than 1024 by 768 (either side), else 2.
int GetScreenSizeClass();

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame();
  ~CMainFrame() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

  // Placement from the profile, forced to the fixed size of the screen's class.
  void LoadWindowPos();
  void SaveWindowPos();
  // The right pane's width for the screen's class.
  void LoadSplitterInfo();
  int GetPlacementShowCmd() const { return m_nShowCmd; }
  CGameView* GetGameView() const;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CSplitterWnd m_wndSplitter;
  BOOL m_bSplitterCreated = FALSE;
  int m_nShowCmd = SW_SHOWNORMAL;
  WINDOWPLACEMENT m_wp;
};

// The right pane until the chat view joins the program: an empty panel.
class CChatPaneView : public CView {
  DECLARE_DYNCREATE(CChatPaneView)
 public:
  void OnDraw(CDC* pDC) override;
};
