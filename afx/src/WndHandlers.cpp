// CWnd's default message handlers: pass the message to the original procedure,
// reflecting control notifications to the control objects first.
#include <afxwin.h>

#define AFX_DEFAULT_VOID(decl) \
  void CWnd::decl { Default(); }
#define AFX_DEFAULT_RET(type, decl) \
  type CWnd::decl { return (type)Default(); }

AFX_DEFAULT_RET(int, OnCreate(LPCREATESTRUCT))
AFX_DEFAULT_RET(BOOL, OnNcCreate(LPCREATESTRUCT))
AFX_DEFAULT_VOID(OnDestroy())
AFX_DEFAULT_VOID(OnClose())
AFX_DEFAULT_VOID(OnPaint())
AFX_DEFAULT_VOID(OnNcPaint())
AFX_DEFAULT_RET(BOOL, OnEraseBkgnd(CDC*))
AFX_DEFAULT_VOID(OnSize(UINT, int, int))
AFX_DEFAULT_VOID(OnSizing(UINT, LPRECT))
AFX_DEFAULT_VOID(OnMove(int, int))
AFX_DEFAULT_VOID(OnMoving(UINT, LPRECT))
AFX_DEFAULT_VOID(OnTimer(UINT_PTR))
AFX_DEFAULT_VOID(OnShowWindow(BOOL, UINT))
AFX_DEFAULT_VOID(OnEnable(BOOL))
AFX_DEFAULT_VOID(OnGetMinMaxInfo(MINMAXINFO*))
AFX_DEFAULT_VOID(OnWindowPosChanging(WINDOWPOS*))
AFX_DEFAULT_VOID(OnWindowPosChanged(WINDOWPOS*))
AFX_DEFAULT_VOID(OnSysCommand(UINT, LPARAM))
AFX_DEFAULT_VOID(OnActivate(UINT, CWnd*, BOOL))
AFX_DEFAULT_VOID(OnActivateApp(BOOL, DWORD))
AFX_DEFAULT_RET(BOOL, OnNcActivate(BOOL))
AFX_DEFAULT_RET(int, OnMouseActivate(CWnd*, UINT, UINT))
AFX_DEFAULT_VOID(OnSetFocus(CWnd*))
AFX_DEFAULT_VOID(OnKillFocus(CWnd*))
AFX_DEFAULT_VOID(OnCaptureChanged(CWnd*))
AFX_DEFAULT_VOID(OnCancelMode())
AFX_DEFAULT_RET(BOOL, OnSetCursor(CWnd*, UINT, UINT))
AFX_DEFAULT_RET(UINT, OnGetDlgCode())
AFX_DEFAULT_RET(LRESULT, OnNcHitTest(CPoint))
AFX_DEFAULT_VOID(OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*))
AFX_DEFAULT_VOID(OnKeyDown(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnKeyUp(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnChar(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysKeyDown(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysKeyUp(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysChar(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnMouseMove(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnMButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnMButtonUp(UINT, CPoint))
AFX_DEFAULT_RET(BOOL, OnMouseWheel(UINT, short, CPoint))
AFX_DEFAULT_VOID(OnMouseLeave())
AFX_DEFAULT_VOID(OnMouseHover(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcMouseMove(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcLButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcLButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcLButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcRButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcRButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcMouseLeave())
AFX_DEFAULT_VOID(OnContextMenu(CWnd*, CPoint))
AFX_DEFAULT_VOID(OnInitMenuPopup(CMenu*, UINT, BOOL))
AFX_DEFAULT_RET(BOOL, OnCopyData(CWnd*, COPYDATASTRUCT*))
AFX_DEFAULT_RET(BOOL, OnQueryNewPalette())
AFX_DEFAULT_VOID(OnPaletteChanged(CWnd*))
AFX_DEFAULT_VOID(OnSysColorChange())
AFX_DEFAULT_VOID(OnSettingChange(UINT, LPCSTR))
AFX_DEFAULT_VOID(OnDropFiles(HDROP))
AFX_DEFAULT_RET(BOOL, OnQueryEndSession())
AFX_DEFAULT_VOID(OnEndSession(BOOL))
AFX_DEFAULT_VOID(OnStyleChanged(int, LPSTYLESTRUCT))
AFX_DEFAULT_VOID(OnEnterIdle(UINT, CWnd*))
AFX_DEFAULT_VOID(OnMenuSelect(UINT, UINT, HMENU))
AFX_DEFAULT_RET(BOOL, OnHelpInfo(HELPINFO*))

void CWnd::OnNcDestroy() {
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr) {
    if (pThread->m_pMainWnd == this) {
      // Closing the main window ends the application's message loop.
      pThread->m_pMainWnd = nullptr;
      AfxPostQuitMessage(0);
    }
    if (pThread->m_pActiveWnd == this) pThread->m_pActiveWnd = nullptr;
  }
  Default();
  HWND hWnd = m_hWnd;
  WNDPROC pfn = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
  if (pfn == AfxWndProc && m_pfnSuper != nullptr) ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
  Detach();
  PostNcDestroy();  // may delete this
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT lResult = 0;
  if (pWnd != nullptr && pWnd->m_hWnd != m_hWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult)) return (HBRUSH)lResult;
  // Default() sees the original WM_CTLCOLORxxx message.
  return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType == ODT_MENU) {
    CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem);
    if (pMenu != nullptr) {
      pMenu->DrawItem(lpDrawItemStruct);
      return;
    }
  } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
    return;
  }
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType == ODT_MENU) {
    // Owner-drawn menus are measured by the menu that owns the item, when we know it.
    Default();
    return;
  }
  HWND hWndChild = ::GetDlgItem(m_hWnd, nIDCtl);
  if (hWndChild != nullptr && ReflectLastMsg(hWndChild)) return;
  Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  LRESULT lResult = 0;
  if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult)) return (int)lResult;
  return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr && ReflectLastMsg(pScrollBar->GetSafeHwnd())) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr && ReflectLastMsg(pScrollBar->GetSafeHwnd())) return;
  Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
  if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) && ReflectLastMsg((HWND)lParam)) return;
  Default();
}
