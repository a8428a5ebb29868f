// CQKResultListCtrl: the score board's list, an owner-drawn list inside the skinned
// scroll-bar container it owns.
#pragma once
#include "ODListCtrl.h"
#include "ScrollBarEx.h"

class CQKResultListCtrl : public CODListCtrl {
  DECLARE_DYNCREATE(CQKResultListCtrl)
 public:
  CQKResultListCtrl() = default;
  ~CQKResultListCtrl() override;

  // The container at the rectangle with the id, the list filling it.
  BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID);
  CSBContainerWnd& GetContainer() { return m_container; }

 private:
  CSBContainerWnd m_container;
};
