// Views over the owner-drawn controls: CODListView fills its client area with an owner-drawn
// list inside a scroll-bar container; CODScrollView hosts a scrollable content pane in one.
#pragma once
#include <afxwin.h>

#include "ODListCtrl.h"
#include "ODScrollCtrl.h"
#include "ScrollBarEx.h"

class CODListView : public CODWnd<CView> {
  DECLARE_DYNCREATE(CODListView)
 public:
  CODListView();
  ~CODListView() override;
  virtual CODListCtrl& GetListCtrl();
  CSBContainerWnd& GetContainer() { return m_container; }
  BOOL IsInitialised() const { return m_bInitialised; }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;

 protected:
  void OnThemeChanged() override {}  // its controls reload their own
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  CSBContainerWnd m_container;
  CODListCtrl m_list;
  DWORD m_dwListStyle;
  BOOL m_bInitialised;
};

class CODScrollView;

// The scrolling surface of a CODScrollView; it draws through the view.
class CODScrollPane : public CODScrollCtrl {
 public:
  explicit CODScrollPane(CODScrollView* pView) : m_pView(pView) {}
  void OnDraw(CDC* pDC) override;

 private:
  CODScrollView* m_pView;
};

class CODScrollView : public CODWnd<CView> {
  DECLARE_DYNAMIC(CODScrollView)
 public:
  CODScrollView();
  ~CODScrollView() override;
  void SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage = SIZE{0, 0}, SIZE sizeLine = SIZE{0, 0});
  CODScrollPane& GetPane() { return m_pane; }
  CSBContainerWnd& GetContainer() { return m_container; }
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;
  // The content in logical coordinates of the scrolled surface.
  virtual void OnDrawContent(CDC* pDC) = 0;

 protected:
  void OnThemeChanged() override {}  // its controls reload their own
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  CSBContainerWnd m_container;
  CODScrollPane m_pane;
  BOOL m_bInitialised;
};
