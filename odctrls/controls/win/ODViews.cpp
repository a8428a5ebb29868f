#include "ODViews.h"

IMPLEMENT_DYNCREATE(CODListView, CView)

CODListView::CODListView() : CODWnd<CView>(nullptr, 0), m_dwListStyle(0), m_bInitialised(FALSE) {}

CODListView::~CODListView() {
  if (m_list.m_hWnd) m_list.DestroyWindow();
  if (m_container.m_hWnd) m_container.DestroyWindow();
}

CODListCtrl& CODListView::GetListCtrl() { return m_list; }

BOOL CODListView::PreCreateWindow(CREATESTRUCT& cs) {
  BOOL ok = CView::PreCreateWindow(cs);
  m_dwListStyle = cs.style & 0xFFFF;
  return ok;
}

void CODListView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  if (m_bInitialised || &GetListCtrl() != &m_list) return;
  m_dwListStyle |= WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  CRect rc;
  GetClientRect(&rc);
  if (!m_container.Create(rc, this, 0, WS_CHILD | WS_VISIBLE)) AfxThrowMemoryException();
  if (!m_list.Create(m_dwListStyle, rc, &m_container, 0)) AfxThrowMemoryException();
  m_container.SetHostedControl(&m_list);
  m_bInitialised = TRUE;
}

void CODListView::OnDraw(CDC*) {}

LRESULT CODListView::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      if (m_bInitialised && m_container.m_hWnd) {
        CRect rc;
        GetClientRect(&rc);
        m_container.MoveWindow(&rc, TRUE);
      }
      return r;
    }
    case WM_SETFOCUS:
      if (m_bInitialised && m_list.m_hWnd) {
        m_list.SetFocus();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefaultProc(message, wParam, lParam);
}

void CODScrollPane::OnDraw(CDC* pDC) { m_pView->OnDrawContent(pDC); }

IMPLEMENT_DYNAMIC(CODScrollView, CView)

CODScrollView::CODScrollView() : CODWnd<CView>(nullptr, 0), m_pane(this), m_bInitialised(FALSE) {}

CODScrollView::~CODScrollView() {
  if (m_pane.m_hWnd) m_pane.DestroyWindow();
  if (m_container.m_hWnd) m_container.DestroyWindow();
}

void CODScrollView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  if (m_bInitialised) return;
  CRect rc;
  GetClientRect(&rc);
  if (!m_container.Create(rc, this, 0, WS_CHILD | WS_VISIBLE)) AfxThrowMemoryException();
  if (!m_pane.Create(WS_CHILD | WS_VISIBLE, rc, &m_container, 1)) AfxThrowMemoryException();
  m_container.SetHostedControl(&m_pane);
  m_bInitialised = TRUE;
}

void CODScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage, SIZE sizeLine) {
  m_pane.SetScrollSizes(nMapMode, sizeTotal, sizePage, sizeLine);
}

void CODScrollView::OnDraw(CDC*) {}

LRESULT CODScrollView::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      if (m_bInitialised) {
        CRect rc;
        GetClientRect(&rc);
        m_container.MoveWindow(&rc, TRUE);
      }
      return r;
    }
    case WM_SETFOCUS:
      if (m_pane.m_hWnd) {
        m_pane.SetFocus();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefaultProc(message, wParam, lParam);
}
