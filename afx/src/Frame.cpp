// Frame windows and the document/view architecture.
#include <afxwin.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

typedef std::vector<CView*> ViewList;
typedef std::vector<CDocTemplate*> TemplateList;

HDWP AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  HWND hWndParent = ::GetParent(hWnd);
  if (lpLayout != nullptr && lpLayout->hDWP == nullptr) return nullptr;
  CRect rectOld;
  ::GetWindowRect(hWnd, &rectOld);
  ::MapWindowPoints(nullptr, hWndParent, (LPPOINT)&rectOld, 2);
  if (::EqualRect(&rectOld, lpRect)) return lpLayout ? lpLayout->hDWP : nullptr;
  if (lpLayout != nullptr) {
    lpLayout->hDWP =
        ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                         lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
    return lpLayout->hDWP;
  }
  ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                 SWP_NOACTIVATE | SWP_NOZORDER);
  return nullptr;
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout;
  layout.bStretch = bStretch;
  layout.sizeTotal.cx = layout.sizeTotal.cy = 0;
  if (lpRectClient != nullptr)
    layout.rect = *lpRectClient;
  else
    ::GetClientRect(m_hWnd, &layout.rect);
  layout.hDWP = (nFlags != reposQuery) ? ::BeginDeferWindowPos(8) : nullptr;
  HWND hWndLeftOver = nullptr;
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    UINT nIDC = (UINT)::GetDlgCtrlID(hWndChild);
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (nIDC == nIDLeftOver)
      hWndLeftOver = hWndChild;
    else if (nIDC >= nIDFirst && nIDC <= nIDLast && pWnd != nullptr)
      ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
  }
  if (nFlags == reposQuery) {
    if (lpRectParam) {
      if (bStretch)
        ::CopyRect(lpRectParam, &layout.rect);
      else {
        lpRectParam->left = lpRectParam->top = 0;
        lpRectParam->right = layout.sizeTotal.cx;
        lpRectParam->bottom = layout.sizeTotal.cy;
      }
    }
    return;
  }
  if (nIDLeftOver != 0 && hWndLeftOver != nullptr) {
    CWnd* pLeftOver = FromHandle(hWndLeftOver);
    if (nFlags == reposExtra && lpRectParam != nullptr) {
      layout.rect.left += lpRectParam->left;
      layout.rect.top += lpRectParam->top;
      layout.rect.right -= lpRectParam->right;
      layout.rect.bottom -= lpRectParam->bottom;
    }
    pLeftOver->CalcWindowRect(&layout.rect);
    AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
  }
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);
}

///////////////////////////////////////////////////////////////////////////////
// CFrameWnd

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_ERASEBKGND()
  ON_WM_ACTIVATE()
  ON_WM_SYSCOMMAND()
  ON_WM_INITMENUPOPUP()
  ON_WM_QUERYENDSESSION()
  ON_WM_ENDSESSION()
  ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
  ON_COMMAND(ID_APP_EXIT, &CFrameWnd::OnClose)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE),
      m_nWindow(-1),
      m_hMenuDefault(nullptr),
      m_hAccelTable(nullptr),
      m_dwPromptContext(0),
      m_bHelpMode(FALSE),
      m_pNextFrameWnd(nullptr),
      m_nIDHelp(0),
      m_nIDTracking(0),
      m_nIDLastMessage(0),
      m_pViewActive(nullptr),
      m_cModalStack(0),
      m_phWndDisable(nullptr),
      m_nIdleFlags(0),
      m_nShowDelay(-1),
      m_listControlBars(new std::vector<CControlBar*>) {}

CFrameWnd::~CFrameWnd() {
  delete (std::vector<CControlBar*>*)m_listControlBars;
  delete[] m_phWndDisable;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) {
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(AFX_IDI_STD_FRAME));
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                       (HBRUSH)(COLOR_WINDOW + 1), hIcon);
  }
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU hMenu = nullptr;
  if (lpszMenuName != nullptr) {
    HINSTANCE hInst = AfxFindResourceHandle(lpszMenuName, (LPCSTR)RT_MENU);
    hMenu = ::LoadMenuA(hInst, lpszMenuName);
    if (hMenu == nullptr) {
      PostNcDestroy();
      return FALSE;
    }
  }
  m_strTitle = lpszWindowName;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), hMenu, (LPVOID)pContext)) {
    if (hMenu != nullptr) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString strFullString;
  if (strFullString.LoadString(nIDResource)) AfxExtractSubString(m_strTitle, strFullString, 0, '\n');
  LPCSTR lpszRes = MAKEINTRESOURCEA(nIDResource);
  HINSTANCE hInst = AfxFindResourceHandle(lpszRes, (LPCSTR)RT_ACCELERATOR);
  m_hAccelTable = ::LoadAcceleratorsA(hInst, lpszRes);
  // Icon of the resource id when there is one.
  LPCSTR lpszClass = nullptr;
  HINSTANCE hIconInst = AfxFindResourceHandle(lpszRes, (LPCSTR)RT_GROUP_ICON);
  HICON hIcon = ::LoadIconA(hIconInst, lpszRes);
  if (hIcon != nullptr)
    lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                    (HBRUSH)(COLOR_WINDOW + 1), hIcon);
  // The menu is optional: a frame without one is still a frame.
  HINSTANCE hMenuInst = AfxFindResourceHandle(lpszRes, (LPCSTR)RT_MENU);
  LPCSTR lpszMenu = ::FindResourceA(hMenuInst, lpszRes, (LPCSTR)RT_MENU) ? lpszRes : nullptr;
  CString strTitle = m_strTitle;
  if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0L, pContext)) return FALSE;
  m_hMenuDefault = ::GetMenu(m_hWnd);
  if (pContext == nullptr) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  CCreateContext* pContext = (CCreateContext*)lpcs->lpCreateParams;
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (!OnCreateClient(lpcs, pContext)) return -1;
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);  // the status bar's idle text
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext != nullptr && pContext->m_pNewViewClass != nullptr) {
    if (CreateView(pContext, AFX_IDW_PANE_FIRST) == nullptr) return FALSE;
  }
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  CWnd* pView = (CWnd*)pContext->m_pNewViewClass->CreateObject();
  if (pView == nullptr) return nullptr;
  if (!pView->IsKindOf(RUNTIME_CLASS(CWnd))) {
    delete pView;
    return nullptr;
  }
  // Views delete themselves (PostNcDestroy), also when creation fails.
  if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext)) return nullptr;
  if (pView->GetExStyle() & WS_EX_CLIENTEDGE) ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return pView;
}

void CFrameWnd::OnDestroy() {
  if (m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault) ::SetMenu(m_hWnd, m_hMenuDefault);
  CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy() { delete this; }

CDocument* CFrameWnd::GetActiveDocument() {
  CView* pView = GetActiveView();
  return pView ? pView->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* pViewOld = m_pViewActive;
  if (pViewNew == pViewOld) return;
  m_pViewActive = nullptr;
  if (pViewOld != nullptr) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
  m_pViewActive = pViewNew;
  if (pViewNew != nullptr && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

void CFrameWnd::RecalcLayout(BOOL) { RepositionBars(0, 0xffff, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder); }

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    if (!IsWindowVisible())
      nCmdShow = SW_SHOWNORMAL;
    else if (IsIconic())
      nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) {
    ShowWindow(nCmdShow);
    if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE && nCmdShow != SW_SHOWNA &&
        nCmdShow != SW_SHOWNOACTIVATE)
      BringWindowToTop();
  }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* pView = nullptr;
  if (GetActiveView() == nullptr) {
    CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
      pView = (CView*)pWnd;
      SetActiveView(pView, FALSE);
    }
  }
  if (bMakeVisible) {
    // OnInitialUpdate for every view (and anything else that wants it) in the frame.
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (pView != nullptr) pView->OnActivateFrame(WA_INACTIVE, this);
    int nCmdShow = -1;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
      // The first show of the main window uses the start-up show command (SW_HIDE keeps it hidden).
      nCmdShow = pApp->m_nCmdShow;
      pApp->m_nCmdShow = -1;
    }
    ActivateFrame(nCmdShow);
    if (pView != nullptr) pView->OnActivateView(TRUE, pView, pView);
  }
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  CDocument* pDocument = GetActiveDocument();
  if (bAddToTitle && pDocument != nullptr)
    UpdateFrameTitleForDocument(pDocument->GetTitle());
  else
    UpdateFrameTitleForDocument(nullptr);
}

namespace {
// Text of the last title the frame wrote itself, per window; a different text means
// the program set its own title, which the frame then leaves alone.
struct AutoTitle {
  HWND hWnd;
  CString text;
};
std::vector<AutoTitle>& AutoTitles() {
  static std::vector<AutoTitle> v;
  return v;
}
}  // namespace

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName) {
  CString strNew;
  if (GetStyle() & FWS_PREFIXTITLE) {
    if (lpszDocName != nullptr && *lpszDocName) {
      strNew = lpszDocName;
      if (!m_strTitle.IsEmpty()) strNew += " - ";
    }
    strNew += m_strTitle;
  } else {
    strNew = m_strTitle;
    if (lpszDocName != nullptr && *lpszDocName) {
      if (!strNew.IsEmpty()) strNew += " - ";
      strNew += lpszDocName;
    }
  }
  CString strOld;
  GetWindowText(strOld);
  auto& titles = AutoTitles();
  auto it = std::find_if(titles.begin(), titles.end(), [&](const AutoTitle& t) { return t.hWnd == m_hWnd; });
  bool bProgramTitle = !strOld.IsEmpty() && strOld != m_strTitle && (it == titles.end() ? true : strOld != it->text);
  if (bProgramTitle) return;
  if (strOld != strNew) SetWindowText(strNew);
  if (it == titles.end())
    titles.push_back({m_hWnd, strNew});
  else
    it->text = strNew;
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  CString s;
  if (s.LoadString(nID))
    AfxExtractSubString(rMessage, s, 0, '\n');
  else
    rMessage.Empty();
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::SetMessageText(LPCSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText); }
void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  CWnd* pMessageBar = GetMessageBar();
  if (pMessageBar != nullptr) {
    CString strMessage;
    LPCSTR lpsz = nullptr;
    if (lParam != 0) {
      lpsz = (LPCSTR)lParam;
    } else if (wParam != 0) {
      GetMessageString((UINT)wParam, strMessage);
      lpsz = strMessage;
    }
    pMessageBar->SetWindowText(lpsz ? lpsz : "");
  }
  UINT nIDLast = m_nIDLastMessage;
  m_nIDLastMessage = (UINT)wParam;
  return nIDLast;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_nIdleFlags & 4) {
    OnUpdateFrameTitle(TRUE);
    m_nIdleFlags &= ~4;
  }
  return 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // view (and its document) first, then the frame, then the application
  CView* pView = GetActiveView();
  if (pView != nullptr && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) { return CWnd::OnCommand(wParam, lParam); }

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr)
    return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
  return FALSE;
}

void CFrameWnd::OnClose() {
  CDocument* pDocument = GetActiveDocument();
  if (pDocument != nullptr && !pDocument->CanCloseFrame(this)) return;
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr && pApp->m_pMainWnd == this) {
    if (pDocument == nullptr && !pApp->SaveAllModified()) return;
    pApp->HideApplication();
    pApp->CloseAllDocuments(FALSE);
    if (pApp->m_pMainWnd == nullptr) return;  // closing the documents closed this frame
  }
  if (pDocument != nullptr && pDocument->m_bAutoDelete) {
    // the last frame on its document closes the document instead
    BOOL bOtherFrame = FALSE;
    POSITION pos = pDocument->GetFirstViewPosition();
    while (pos != nullptr) {
      CView* pView = pDocument->GetNextView(pos);
      if (pView->GetParentFrame() != this) {
        bOtherFrame = TRUE;
        break;
      }
    }
    if (!bOtherFrame) {
      pDocument->OnCloseDocument();
      return;
    }
    pDocument->PreCloseFrame(this);
  }
  DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr)
    m_pViewActive->SetFocus();
  else
    CWnd::OnSetFocus(pOldWnd);
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
  if (m_pViewActive != nullptr) return TRUE;  // the view covers the client area
  return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CWnd::OnActivate(nState, pWndOther, bMinimized);
  if (m_pViewActive != nullptr) m_pViewActive->OnActivateFrame(nState, this);
}

void CFrameWnd::OnSysCommand(UINT nID, LPARAM lParam) { CWnd::OnSysCommand(nID, lParam); }

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu) {
  CWnd::OnInitMenuPopup(pMenu, nIndex, bSysMenu);
  if (bSysMenu || pMenu == nullptr) return;
  CCmdUI state;
  state.m_pMenu = pMenu;
  state.m_nIndexMax = pMenu->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = pMenu->GetMenuItemID(state.m_nIndex);
    if (state.m_nID == 0 || state.m_nID == (UINT)-1) continue;
    state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
  }
}

BOOL CFrameWnd::OnQueryEndSession() { return CWnd::OnQueryEndSession(); }
void CFrameWnd::OnEndSession(BOOL bEnding) { CWnd::OnEndSession(bEnding); }

void CFrameWnd::BeginModalState() {
  if (m_cModalStack++ > 0) return;
  std::vector<HWND> list;
  for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (hWnd != m_hWnd && ::IsWindowEnabled(hWnd) &&
        ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId() && ::GetWindow(hWnd, GW_OWNER) == m_hWnd &&
        ::SendMessageA(hWnd, WM_DISABLEMODAL, 0, 0) == 0) {
      ::EnableWindow(hWnd, FALSE);
      list.push_back(hWnd);
    }
  }
  delete[] m_phWndDisable;
  m_phWndDisable = new HWND[list.size() + 1];
  std::copy(list.begin(), list.end(), m_phWndDisable);
  m_phWndDisable[list.size()] = nullptr;
  ::EnableWindow(m_hWnd, FALSE);
}

void CFrameWnd::EndModalState() {
  if (m_cModalStack == 0 || --m_cModalStack > 0) return;
  ::EnableWindow(m_hWnd, TRUE);
  if (m_phWndDisable) {
    for (HWND* p = m_phWndDisable; *p; p++)
      if (::IsWindow(*p)) ::EnableWindow(*p, TRUE);
    delete[] m_phWndDisable;
    m_phWndDisable = nullptr;
  }
}

void CFrameWnd::ShowOwnedWindows(BOOL bShow) { ::ShowOwnedPopups(m_hWnd, bShow); }

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
  CWnd* pWnd = (CWnd*)pBar;
  if (pWnd && pWnd->m_hWnd) {
    pWnd->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    RecalcLayout();
  }
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  for (CControlBar* p : *(std::vector<CControlBar*>*)m_listControlBars)
    if (((CWnd*)p)->m_hWnd && (UINT)((CWnd*)p)->GetDlgCtrlID() == nID) return p;
  return nullptr;
}

void CFrameWnd::AddControlBar(CControlBar* pBar) { ((std::vector<CControlBar*>*)m_listControlBars)->push_back(pBar); }

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  auto* v = (std::vector<CControlBar*>*)m_listControlBars;
  v->erase(std::remove(v->begin(), v->end(), pBar), v->end());
}

///////////////////////////////////////////////////////////////////////////////
// CView

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMsg)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(nullptr) {}

CView::~CView() {
  if (m_pDocument != nullptr) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                       (HBRUSH)(COLOR_WINDOW + 1));
  if (cs.style & WS_BORDER) {
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
  }
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  CCreateContext* pContext = (CCreateContext*)lpcs->lpCreateParams;
  if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr) pContext->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != nullptr && pFrame->GetActiveView() == this) pFrame->SetActiveView(nullptr, FALSE);
  CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT) return nResult;
  CFrameWnd* pParentFrame = GetParentFrame();
  if (pParentFrame != nullptr && pParentFrame->GetActiveView() != this) pParentFrame->SetActiveView(this);
  return nResult;
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL bActivate, CView*, CView*) {
  if (bActivate) {
    CWnd* pTop = GetTopLevelParent();
    if (pTop != nullptr && ::GetActiveWindow() == pTop->m_hWnd) SetFocus();
  }
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

///////////////////////////////////////////////////////////////////////////////
// CDocument

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

CDocument::CDocument()
    : m_pDocTemplate(nullptr), m_viewList(new ViewList), m_bModified(FALSE), m_bAutoDelete(TRUE), m_bEmbedded(FALSE) {}

CDocument::~CDocument() {
  ViewList* pList = (ViewList*)m_viewList;
  for (CView* pView : *pList) pView->m_pDocument = nullptr;
  pList->clear();
  if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
  delete pList;
}

void CDocument::SetTitle(LPCSTR lpszTitle) {
  m_strTitle = lpszTitle;
  for (CView* pView : *(ViewList*)m_viewList) {
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame != nullptr && pFrame->m_hWnd != nullptr) pFrame->OnUpdateFrameTitle(TRUE);
  }
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL) {
  m_strPathName = lpszPathName;
  CString strTitle = m_strPathName;
  int n = strTitle.ReverseFind('\\');
  SetTitle(strTitle.Mid(n + 1));
}

POSITION CDocument::GetFirstViewPosition() const {
  ViewList* pList = (ViewList*)m_viewList;
  return pList->empty() ? nullptr : (POSITION)(UINT_PTR)1;
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  ViewList* pList = (ViewList*)m_viewList;
  size_t i = (size_t)(UINT_PTR)rPosition;
  if (i == 0 || i > pList->size()) {
    rPosition = nullptr;
    return nullptr;
  }
  CView* pView = (*pList)[i - 1];
  rPosition = (i < pList->size()) ? (POSITION)(UINT_PTR)(i + 1) : nullptr;
  return pView;
}

void CDocument::AddView(CView* pView) {
  ViewList* pList = (ViewList*)m_viewList;
  if (std::find(pList->begin(), pList->end(), pView) != pList->end()) return;
  pList->push_back(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  ViewList* pList = (ViewList*)m_viewList;
  auto it = std::find(pList->begin(), pList->end(), pView);
  if (it == pList->end()) return;
  pList->erase(it);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

void CDocument::OnChangedViewList() {
  if (m_bAutoDelete && ((ViewList*)m_viewList)->empty()) OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  ViewList copy = *(ViewList*)m_viewList;
  for (CView* pView : copy)
    if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR) {
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR) {
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  BOOL bAutoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;  // keep the document while its frames go
  ViewList* pList = (ViewList*)m_viewList;
  while (!pList->empty()) {
    CView* pView = pList->front();
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame != nullptr && pFrame->m_hWnd != nullptr) {
      PreCloseFrame(pFrame);
      pFrame->DestroyWindow();  // destroys the views too
    }
    // A view without a frame (or one that survived) is let go here.
    if (!pList->empty() && pList->front() == pView) RemoveView(pView);
  }
  m_bAutoDelete = bAutoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd*) { return SaveModified(); }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

///////////////////////////////////////////////////////////////////////////////
// Document templates

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() {}

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex i) const {
  return AfxExtractSubString(rString, m_strDocStrings, (int)i, '\n');
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

CDocument* CDocTemplate::CreateNewDocument() {
  if (m_pDocClass == nullptr) return nullptr;
  CDocument* pDocument = (CDocument*)m_pDocClass->CreateObject();
  if (pDocument == nullptr) return nullptr;
  AddDocument(pDocument);
  return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  if (m_pFrameClass == nullptr) return nullptr;
  CFrameWnd* pFrame = (CFrameWnd*)m_pFrameClass->CreateObject();
  if (pFrame == nullptr) return nullptr;
  // A frame that fails to load has already deleted itself.
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  POSITION pos = GetFirstDocPosition();
  while (pos != nullptr) {
    CDocument* pDoc = GetNextDoc(pos);
    pDoc->OnCloseDocument();
  }
}

BOOL CDocTemplate::SaveAllModified() {
  POSITION pos = GetFirstDocPosition();
  while (pos != nullptr) {
    CDocument* pDoc = GetNextDoc(pos);
    if (!pDoc->SaveModified()) return FALSE;
  }
  return TRUE;
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_pOnlyDoc(nullptr) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc != nullptr) m_pOnlyDoc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const { return m_pOnlyDoc ? (POSITION)m_pOnlyDoc : nullptr; }

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
  CDocument* pDoc = (CDocument*)rPos;
  rPos = nullptr;
  return pDoc;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* pDocument = nullptr;
  CFrameWnd* pFrame = nullptr;
  BOOL bCreated = FALSE;
  if (m_pOnlyDoc != nullptr) {
    pDocument = m_pOnlyDoc;
    if (!pDocument->SaveModified()) return nullptr;
    pFrame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
  } else {
    pDocument = CreateNewDocument();
    bCreated = TRUE;
  }
  if (pDocument == nullptr) return nullptr;
  if (pFrame == nullptr) {
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (pFrame == nullptr) {
      if (bCreated) delete pDocument;
      return nullptr;
    }
  }
  if (lpszPathName == nullptr) {
    SetDefaultTitle(pDocument);
    if (!bMakeVisible) pDocument->m_bEmbedded = TRUE;
    if (!pDocument->OnNewDocument()) {
      if (bCreated) pFrame->DestroyWindow();
      return nullptr;
    }
  } else {
    if (!pDocument->OnOpenDocument(lpszPathName)) {
      if (bCreated) pFrame->DestroyWindow();
      return nullptr;
    }
    pDocument->SetPathName(lpszPathName);
  }
  CWinThread* pThread = AfxGetThread();
  if (bCreated && pThread != nullptr && pThread->m_pMainWnd == nullptr) pThread->m_pMainWnd = pFrame;
  InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
  return pDocument;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString strDocName;
  if (!GetDocString(strDocName, docName) || strDocName.IsEmpty()) strDocName = "Untitled";
  pDocument->SetTitle(strDocName);
}

CDocManager::CDocManager() : m_templateList(new TemplateList) {}

CDocManager::~CDocManager() {
  TemplateList* pList = (TemplateList*)m_templateList;
  for (CDocTemplate* p : *pList) delete p;
  delete pList;
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
  if (pTemplate == nullptr) return;
  pTemplate->LoadTemplate();
  ((TemplateList*)m_templateList)->push_back(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const {
  return ((TemplateList*)m_templateList)->empty() ? nullptr : (POSITION)(UINT_PTR)1;
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const {
  TemplateList* pList = (TemplateList*)m_templateList;
  size_t i = (size_t)(UINT_PTR)pos;
  if (i == 0 || i > pList->size()) {
    pos = nullptr;
    return nullptr;
  }
  pos = i < pList->size() ? (POSITION)(UINT_PTR)(i + 1) : nullptr;
  return (*pList)[i - 1];
}

void CDocManager::OnFileNew() {
  TemplateList* pList = (TemplateList*)m_templateList;
  if (pList->empty()) return;
  pList->front()->OpenDocumentFile(nullptr);
}

CDocument* CDocManager::OpenDocumentFile(LPCSTR lpszFileName) {
  TemplateList* pList = (TemplateList*)m_templateList;
  if (pList->empty()) return nullptr;
  return pList->front()->OpenDocumentFile(lpszFileName);
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
  for (CDocTemplate* p : *(TemplateList*)m_templateList) p->CloseAllDocuments(bEndSession);
}

BOOL CDocManager::SaveAllModified() {
  for (CDocTemplate* p : *(TemplateList*)m_templateList)
    if (!p->SaveAllModified()) return FALSE;
  return TRUE;
}

int CDocManager::GetOpenDocumentCount() {
  int n = 0;
  for (CDocTemplate* p : *(TemplateList*)m_templateList)
    for (POSITION pos = p->GetFirstDocPosition(); pos;) {
      p->GetNextDoc(pos);
      n++;
    }
  return n;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (m_pDocManager == nullptr) m_pDocManager = new CDocManager;
  m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
  return m_pDocManager ? m_pDocManager->GetNextDocTemplate(pos) : nullptr;
}

void CWinApp::OnFileNew() {
  if (m_pDocManager != nullptr) m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName) {
  return m_pDocManager ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

BOOL CWinApp::SaveAllModified() { return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE; }

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
  if (m_pDocManager != nullptr) m_pDocManager->CloseAllDocuments(bEndSession);
}
