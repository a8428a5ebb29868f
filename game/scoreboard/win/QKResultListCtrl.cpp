#include "QKResultListCtrl.h"

IMPLEMENT_DYNCREATE(CQKResultListCtrl, CODListCtrl)

CQKResultListCtrl::~CQKResultListCtrl() {
  // The list goes before the container that holds it.
  if (m_hWnd) DestroyWindow();
}

BOOL CQKResultListCtrl::Create(const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!m_container.Create(rect, pParentWnd, nID, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER)) return FALSE;
  CRect inside;
  m_container.GetClientRect(&inside);
  if (!CODListCtrl::Create(0x50000002, inside, &m_container, 0)) return FALSE;
  m_container.SetHostedControl(this);
  SetOption(odlist::OPT_EMPTY_TEXT, (LPARAM) "");
  return TRUE;
}
