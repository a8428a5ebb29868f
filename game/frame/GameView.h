// The table view as far as start-up needs it: the green table with each seat's name and the
// own hand written out as text. The full table view replaces it.
#pragma once
#include <afxwin.h>

class CVeskDoc;

class CGameView : public CView {
  DECLARE_DYNCREATE(CGameView)
 public:
  CGameView();
  ~CGameView() override;

  CVeskDoc* GetVeskDoc() const;
  void OnDraw(CDC* pDC) override;
  // The child window a watcher's table shows once the game data arrived (none yet).
  void ShowChildPanel();

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
