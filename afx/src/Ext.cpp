// Control bars, scroll and form views, static splitter.
#include <afxext.h>
#include <afxpriv.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)
IMPLEMENT_DYNAMIC(CScrollView, CView)
IMPLEMENT_DYNAMIC(CFormView, CScrollView)
IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

///////////////////////////////////////////////////////////////////////////////
// CControlBar: takes its strip of the frame's client area on WM_SIZEPARENT

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_dwStyle(0),
      m_pDockSite(nullptr),
      m_bAutoDelete(FALSE),
      m_cxLeftBorder(6),
      m_cxRightBorder(6),
      m_cyTopBorder(2),
      m_cyBottomBorder(2) {}

CControlBar::~CControlBar() {
  if (m_pDockSite != nullptr) m_pDockSite->RemoveControlBar(this);
  m_pDockSite = nullptr;
}

void CControlBar::AttachToFrame(CWnd* pParentWnd) {
  CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pParentWnd);
  if (pFrame != nullptr) {
    m_pDockSite = pFrame;
    pFrame->AddControlBar(this);
  }
}

void CControlBar::OnDestroy() {
  if (m_pDockSite != nullptr) {
    m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
  }
  CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size;
  size.cx = (bStretch && bHorz ? 32767 : m_sizeDefault.cx);
  size.cy = (bStretch && !bHorz ? 32767 : m_sizeDefault.cy);
  return size;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
  if (!(GetStyle() & WS_VISIBLE) || !(m_dwStyle & CBRS_ALIGN_ANY)) return 0;
  BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  CRect rect;
  rect.CopyRect(&lpLayout->rect);
  CSize sizeAvail = rect.Size();
  CSize size = CalcFixedLayout(lpLayout->bStretch, bHorz);
  size.cx = std::min(size.cx, sizeAvail.cx);
  size.cy = std::min(size.cy, sizeAvail.cy);
  if (bHorz) {
    lpLayout->sizeTotal.cy += size.cy;
    lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
    if (m_dwStyle & CBRS_ALIGN_TOP)
      lpLayout->rect.top += size.cy;
    else {
      rect.top = rect.bottom - size.cy;
      lpLayout->rect.bottom -= size.cy;
    }
  } else {
    lpLayout->sizeTotal.cx += size.cx;
    lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
    if (m_dwStyle & CBRS_ALIGN_LEFT)
      lpLayout->rect.left += size.cx;
    else {
      rect.left = rect.right - size.cx;
      lpLayout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  if (lpLayout->hDWP != nullptr) AfxRepositionWindow(lpLayout, m_hWnd, &rect);
  return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  CFrameWnd* pTarget = GetParentFrame();
  if (pTarget != nullptr && (GetStyle() & WS_VISIBLE)) OnUpdateCmdUI(pTarget, (BOOL)wParam);
  return 0;
}

///////////////////////////////////////////////////////////////////////////////
// CStatusBar over the common status control

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetText)
END_MESSAGE_MAP()

CStatusBar::CStatusBar() : m_pPanes(nullptr), m_nCount(0) {}
CStatusBar::~CStatusBar() { delete[] m_pPanes; }

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  dwStyle &= ~CBRS_ALL;
  dwStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  if (pParentWnd && !(pParentWnd->GetStyle() & WS_THICKFRAME)) dwStyle &= ~SBARS_SIZEGRIP;
  if (!CWnd::Create(STATUSCLASSNAMEA, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  AttachToFrame(pParentWnd);
  return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount < 0) return FALSE;
  delete[] m_pPanes;
  m_pPanes = nIDCount ? new Pane[nIDCount] : nullptr;
  m_nCount = nIDCount;
  BOOL bResult = TRUE;
  CClientDC dc(nullptr);
  HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
  HGDIOBJ hOld = hFont ? dc.SelectObject((HGDIOBJ)hFont) : nullptr;
  for (int i = 0; i < nIDCount; i++) {
    Pane& pane = m_pPanes[i];
    pane.nID = lpIDArray ? lpIDArray[i] : 0;
    pane.nStyle = SBPS_NORMAL;
    pane.cxText = 0;
    if (pane.nID != ID_SEPARATOR) {
      if (!pane.strText.LoadString(pane.nID)) bResult = FALSE;
      pane.cxText = dc.GetTextExtent(pane.strText).cx;
    } else {
      pane.nStyle |= SBPS_STRETCH;
    }
  }
  if (hOld) dc.SelectObject(hOld);
  UpdateAllPanes();
  return bResult;
}

void CStatusBar::UpdateAllPanes() {
  if (m_hWnd == nullptr || m_nCount <= 0) return;
  CRect rect;
  GetClientRect(&rect);
  int* widths = new int[m_nCount];
  int nStretch = -1, nFixed = 0;
  for (int i = 0; i < m_nCount; i++) {
    if ((m_pPanes[i].nStyle & SBPS_STRETCH) && nStretch < 0)
      nStretch = i;
    else
      nFixed += m_pPanes[i].cxText + 8;
  }
  int right = 0;
  for (int i = 0; i < m_nCount; i++) {
    int w = (i == nStretch) ? std::max(0, rect.Width() - nFixed) : m_pPanes[i].cxText + 8;
    right += w;
    widths[i] = (i == m_nCount - 1 && nStretch < 0) ? -1 : right;
  }
  ::SendMessageA(m_hWnd, SB_SETPARTS, m_nCount, (LPARAM)widths);
  delete[] widths;
  for (int i = 0; i < m_nCount; i++)
    ::SendMessageA(m_hWnd, SB_SETTEXTA, i | (m_pPanes[i].nStyle & 0xFF00), (LPARAM)(LPCSTR)m_pPanes[i].strText);
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (int i = 0; i < m_nCount; i++)
    if (m_pPanes[i].nID == nIDFind) return i;
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const { return (nIndex >= 0 && nIndex < m_nCount) ? m_pPanes[nIndex].nID : 0; }

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SendMessageA(m_hWnd, SB_GETRECT, nIndex, (LPARAM)lpRect);
}

void CStatusBar::GetPaneText(int nIndex, CString& s) const {
  s = (nIndex >= 0 && nIndex < m_nCount) ? m_pPanes[nIndex].strText : CString();
}

CString CStatusBar::GetPaneText(int nIndex) const {
  CString s;
  GetPaneText(nIndex, s);
  return s;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate) {
  if (nIndex < 0 || nIndex >= m_nCount) return FALSE;
  m_pPanes[nIndex].strText = lpszNewText;
  if (bUpdate && m_hWnd)
    ::SendMessageA(m_hWnd, SB_SETTEXTA, nIndex | (m_pPanes[nIndex].nStyle & 0xFF00),
                   (LPARAM)(lpszNewText ? lpszNewText : ""));
  return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  if (nIndex < 0 || nIndex >= m_nCount) {
    nID = nStyle = 0;
    cxWidth = 0;
    return;
  }
  nID = m_pPanes[nIndex].nID;
  nStyle = m_pPanes[nIndex].nStyle;
  cxWidth = m_pPanes[nIndex].cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (nIndex < 0 || nIndex >= m_nCount) return;
  m_pPanes[nIndex].nID = nID;
  m_pPanes[nIndex].nStyle = nStyle;
  m_pPanes[nIndex].cxText = cxWidth;
  UpdateAllPanes();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  return (nIndex >= 0 && nIndex < m_nCount) ? m_pPanes[nIndex].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || nIndex >= m_nCount) return;
  m_pPanes[nIndex].nStyle = nStyle;
  UpdateAllPanes();
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  TEXTMETRICA tm = {};
  {
    CClientDC dc(nullptr);
    HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
    HGDIOBJ hOld = hFont ? dc.SelectObject((HGDIOBJ)hFont) : nullptr;
    dc.GetTextMetrics(&tm);
    if (hOld) dc.SelectObject(hOld);
  }
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  size.cy =
      tm.tmHeight - tm.tmInternalLeading + 2 * ::GetSystemMetrics(SM_CYBORDER) + m_cyTopBorder + m_cyBottomBorder + 4;
  return size;
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
  Default();
  (void)nType;
  (void)cx;
  (void)cy;
  UpdateAllPanes();
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  // The frame's message text goes to the first (stretching) pane.
  int nIndex = CommandToIndex(ID_SEPARATOR);
  if (nIndex < 0) nIndex = 0;
  return SetPaneText(nIndex, (LPCSTR)lParam);
}

///////////////////////////////////////////////////////////////////////////////
// CDialogBar

BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
END_MESSAGE_MAP()

CDialogBar::CDialogBar() : m_lpszTemplateName(nullptr) {}
CDialogBar::~CDialogBar() { DestroyWindow(); }

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
  return Create(pParentWnd, MAKEINTRESOURCEA(nIDTemplate), nStyle, nID);
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID) {
  m_lpszTemplateName = lpszTemplateName;
  m_dwStyle = nStyle & CBRS_ALL;
  HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, (LPCSTR)RT_DIALOG);
  HRSRC hRsrc = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
  HGLOBAL hTemplate = hRsrc ? ::LoadResource(hInst, hRsrc) : nullptr;
  LPCDLGTEMPLATE lpTemplate = hTemplate ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : nullptr;
  if (lpTemplate == nullptr) return FALSE;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->GetSafeHwnd(), AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  if (hWnd == nullptr || m_hWnd != hWnd) return FALSE;
  CRect rect;
  GetWindowRect(&rect);
  m_sizeDefault = rect.Size();
  ModifyStyle(WS_POPUP | WS_CAPTION | WS_THICKFRAME, WS_CHILD | (nStyle & WS_VISIBLE));
  SetParent(pParentWnd);
  SetDlgCtrlID((int)nID);
  ExecuteDlgInit(lpszTemplateName);
  AttachToFrame(pParentWnd);
  if (nStyle & WS_VISIBLE) ShowWindow(SW_SHOWNOACTIVATE);
  return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (bStretch) return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
  return m_sizeDefault;
}

///////////////////////////////////////////////////////////////////////////////
// CScrollView (sizes only; the program's views never scroll)

const SIZE CScrollView::sizeDefault = {0, 0};

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

CScrollView::CScrollView() : m_nMapMode(MM_TEXT) {}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
  m_nMapMode = nMapMode;
  m_totalLog = sizeTotal;
  m_pageDev = sizePage;
  m_lineDev = sizeLine;
  if (m_hWnd != nullptr) UpdateBars();
}

CPoint CScrollView::GetScrollPosition() const { return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT)); }

void CScrollView::ScrollToPosition(POINT pt) {
  CPoint old = GetScrollPosition();
  SetScrollPos(SB_HORZ, pt.x);
  SetScrollPos(SB_VERT, pt.y);
  CPoint now = GetScrollPosition();
  if (now != old) ScrollWindow(old.x - now.x, old.y - now.y);
}

void CScrollView::UpdateBars() {
  CRect rect;
  GetClientRect(&rect);
  BOOL bHorz = m_totalLog.cx > rect.Width() && m_totalLog.cx > 0;
  BOOL bVert = m_totalLog.cy > rect.Height() && m_totalLog.cy > 0;
  SCROLLINFO si = {sizeof(si), SIF_PAGE | SIF_RANGE, 0, 0, 0, 0, 0};
  if (bHorz) {
    si.nMax = m_totalLog.cx - 1;
    si.nPage = (UINT)rect.Width();
    SetScrollInfo(SB_HORZ, &si);
  }
  ShowScrollBar(SB_HORZ, bHorz);
  if (bVert) {
    si.nMax = m_totalLog.cy - 1;
    si.nPage = (UINT)rect.Height();
    SetScrollInfo(SB_VERT, &si);
  }
  ShowScrollBar(SB_VERT, bVert);
}

void CScrollView::ResizeParentToFit(BOOL) {}

void CScrollView::OnPrepareDC(CDC* pDC, void* pInfo) {
  CView::OnPrepareDC(pDC, pInfo);
  if (m_nMapMode == MM_TEXT) pDC->SetViewportOrg(-GetScrollPos(SB_HORZ), -GetScrollPos(SB_VERT));
}

void CScrollView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  UpdateBars();
}

static void ScrollBy(CScrollView* pView, int nBar, UINT nSBCode, UINT nPos, int nLine) {
  SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  pView->GetScrollInfo(nBar, &si);
  int pos = si.nPos;
  switch (nSBCode) {
    case SB_LINEUP:
      pos -= nLine;
      break;
    case SB_LINEDOWN:
      pos += nLine;
      break;
    case SB_PAGEUP:
      pos -= (int)si.nPage;
      break;
    case SB_PAGEDOWN:
      pos += (int)si.nPage;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = (int)nPos;
      break;
    case SB_TOP:
      pos = si.nMin;
      break;
    case SB_BOTTOM:
      pos = si.nMax;
      break;
    default:
      return;
  }
  CPoint pt = pView->GetScrollPosition();
  if (nBar == SB_HORZ)
    pt.x = pos;
  else
    pt.y = pos;
  pView->ScrollToPosition(pt);
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr) {
    CView::OnHScroll(nSBCode, nPos, pScrollBar);
    return;
  }
  ScrollBy(this, SB_HORZ, nSBCode, nPos, m_lineDev.cx ? m_lineDev.cx : 16);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr) {
    CView::OnVScroll(nSBCode, nPos, pScrollBar);
    return;
  }
  ScrollBy(this, SB_VERT, nSBCode, nPos, m_lineDev.cy ? m_lineDev.cy : 16);
}

///////////////////////////////////////////////////////////////////////////////
// CFormView: a view made from a child dialog template in the resource module

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
  ON_WM_CREATE()
  ON_WM_SETFOCUS()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CFormView::CFormView(LPCSTR lpszTemplateName)
    : m_lpszTemplateName(lpszTemplateName), m_pCreateContext(nullptr), m_hWndFocus(nullptr) {}

CFormView::CFormView(UINT nIDTemplate) : CFormView(MAKEINTRESOURCEA(nIDTemplate)) {}

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD dwRequestedStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext) {
  HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, (LPCSTR)RT_DIALOG);
  HRSRC hRsrc = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
  HGLOBAL hTemplate = hRsrc ? ::LoadResource(hInst, hRsrc) : nullptr;
  LPCDLGTEMPLATE lpTemplate = hTemplate ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : nullptr;
  if (lpTemplate == nullptr) {
    PostNcDestroy();  // views delete themselves when they fail
    return FALSE;
  }
  // The create context cannot travel through the dialog manager; OnCreate picks it up here.
  m_pCreateContext = pContext;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->GetSafeHwnd(), AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) {
    m_pCreateContext = nullptr;
    PostNcDestroy();
    return FALSE;
  }
  m_pCreateContext = nullptr;
  if (hWnd == nullptr) return FALSE;  // destroyed (and deleted) during creation
  DWORD dwBorder = dwRequestedStyle & WS_BORDER;
  ModifyStyle(WS_BORDER | WS_CAPTION | WS_POPUP, WS_CHILD | dwBorder);
  SetDlgCtrlID((int)nID);
  CRect rectTemplate;
  GetWindowRect(&rectTemplate);
  SetScrollSizes(MM_TEXT, rectTemplate.Size());
  ExecuteDlgInit(m_lpszTemplateName);
  SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (dwRequestedStyle & WS_VISIBLE) ShowWindow(SW_SHOWNORMAL);
  return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpcs) {
  CREATESTRUCT cs = *lpcs;
  cs.lpCreateParams = m_pCreateContext;
  return CView::OnCreate(&cs);
}

void CFormView::OnInitialUpdate() {
  UpdateData(FALSE);  // DDX_Control subclasses the template's controls here
  CScrollView::OnInitialUpdate();
}

void CFormView::OnPaint() { Default(); }

void CFormView::OnSetFocus(CWnd* pOldWnd) {
  if (m_hWndFocus != nullptr && ::IsWindow(m_hWndFocus) && ::IsChild(m_hWnd, m_hWndFocus)) {
    ::SetFocus(m_hWndFocus);
    return;
  }
  HWND hWndFirst = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
  if (hWndFirst != nullptr) {
    ::SetFocus(hWndFirst);
    return;
  }
  CView::OnSetFocus(pOldWnd);
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (!bActivate) {
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != nullptr && ::IsChild(m_hWnd, hWndFocus)) m_hWndFocus = hWndFocus;
  }
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) {
  if (nState == WA_INACTIVE) {
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != nullptr && ::IsChild(m_hWnd, hWndFocus)) m_hWndFocus = hWndFocus;
  }
  CView::OnActivateFrame(nState, pFrameWnd);
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
  if (CView::PreTranslateMessage(pMsg)) return TRUE;
  // The frame's accelerators before the dialog keys (IsDialogMessage would eat them).
  CFrameWnd* pFrame = GetParentFrame();
  while (pFrame != nullptr) {
    if (pFrame->PreTranslateMessage(pMsg)) return TRUE;
    pFrame = pFrame->GetParentFrame();
  }
  return PreTranslateInput(pMsg);
}

///////////////////////////////////////////////////////////////////////////////
// CSplitterWnd (static panes)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_CANCELMODE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSplitterWnd::CSplitterWnd()
    : m_cxSplitter(7),
      m_cySplitter(7),
      m_cxBorderShare(0),
      m_cyBorderShare(0),
      m_cxSplitterGap(7),
      m_cySplitterGap(7),
      m_cxBorder(2),
      m_cyBorder(2),
      m_pDynamicViewClass(nullptr),
      m_nMaxRows(0),
      m_nMaxCols(0),
      m_nRows(0),
      m_nCols(0),
      m_bHasHScroll(FALSE),
      m_bHasVScroll(FALSE),
      m_pColInfo(nullptr),
      m_pRowInfo(nullptr),
      m_bTracking(FALSE),
      m_htTrack(noHit) {}

CSplitterWnd::~CSplitterWnd() {
  delete[] m_pRowInfo;
  delete[] m_pColInfo;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
  if (nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16) return FALSE;
  m_nRows = m_nMaxRows = nRows;
  m_nCols = m_nMaxCols = nCols;
  delete[] m_pRowInfo;
  delete[] m_pColInfo;
  m_pRowInfo = new CRowColInfo[nRows];
  m_pColInfo = new CRowColInfo[nCols];
  for (int i = 0; i < nRows; i++) m_pRowInfo[i] = {0, 0, 0};
  for (int i = 0; i < nCols; i++) m_pColInfo[i] = {0, 0, 0};
  CRect rect;
  pParentWnd->GetClientRect(&rect);
  LPCSTR lpszClass =
      AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
  return CreateEx(0, lpszClass, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID, nullptr);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext) {
  if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || GetDlgItem(IdFromRowCol(row, col)) != nullptr)
    return FALSE;
  m_pColInfo[col].nIdealSize = sizeInit.cx;
  m_pRowInfo[row].nIdealSize = sizeInit.cy;
  BOOL bSendInitialUpdate = FALSE;
  CCreateContext contextT;
  if (pContext == nullptr) {
    CView* pOldView = (CView*)GetActivePane();
    if (pOldView != nullptr && pOldView->IsKindOf(RUNTIME_CLASS(CView))) {
      contextT.m_pLastView = pOldView;
      contextT.m_pCurrentDoc = pOldView->GetDocument();
    }
    pContext = &contextT;
    bSendInitialUpdate = TRUE;
  }
  CObject* pObject = pViewClass ? pViewClass->CreateObject() : nullptr;
  CWnd* pWnd = DYNAMIC_DOWNCAST(CWnd, pObject);
  if (pWnd == nullptr) {
    delete pObject;
    return FALSE;
  }
  CRect rect(CPoint(0, 0), sizeInit);
  // Views delete themselves when their creation fails.
  if (!pWnd->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, this, (UINT)IdFromRowCol(row, col), pContext))
    return FALSE;
  if (bSendInitialUpdate) pWnd->SendMessage(WM_INITIALUPDATE);
  return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
  if (row < 0 || row >= m_nRows) {
    cyCur = cyMin = 0;
    return;
  }
  cyCur = m_pRowInfo[row].nCurSize;
  cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
  if (row < 0 || row >= m_nRows) return;
  m_pRowInfo[row].nIdealSize = cyIdeal;
  m_pRowInfo[row].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
  if (col < 0 || col >= m_nCols) {
    cxCur = cxMin = 0;
    return;
  }
  cxCur = m_pColInfo[col].nCurSize;
  cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
  if (col < 0 || col >= m_nCols) return;
  m_pColInfo[col].nIdealSize = cxIdeal;
  m_pColInfo[col].nMinSize = cxMin;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
  if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols) return nullptr;
  return GetDlgItem(IdFromRowCol(row, col));
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) {
  if (pWnd == nullptr || !::IsChild(m_hWnd, pWnd->m_hWnd) || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
  int nID = pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
  if (nID < 0 || nID >= 16 * 16) return FALSE;
  if (pRow) *pRow = nID / 16;
  if (pCol) *pCol = nID % 16;
  return TRUE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
  CWnd* pView = nullptr;
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != nullptr) pView = (CWnd*)pFrame->GetActiveView();
  if (pView == nullptr) pView = GetFocus();
  if (pView != nullptr && !IsChildPane(pView, pRow, pCol)) pView = nullptr;
  return pView;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
  CWnd* pPane = pWnd ? pWnd : GetPane(row, col);
  if (pPane == nullptr) return;
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != nullptr && pPane->IsKindOf(RUNTIME_CLASS(CView)))
    pFrame->SetActiveView((CView*)pPane);
  else
    pPane->SetFocus();
}

void CSplitterWnd::GetInsideRect(CRect& rect) const {
  GetClientRect(&rect);
  rect.InflateRect(-m_cxBorder, -m_cyBorder);
}

void CSplitterWnd::LayoutRowCol(CRowColInfo* pInfo, int nMax, int nSize, int nSizeSplitter) {
  if (nSize < 0) nSize = 0;
  for (int i = 0; i < nMax - 1; i++) {
    int ideal = pInfo[i].nIdealSize;
    pInfo[i].nCurSize = (ideal < pInfo[i].nMinSize) ? 0 : ideal;
  }
  pInfo[nMax - 1].nCurSize = INT_MAX;  // the last one takes the rest
  for (int i = 0; i < nMax; i++) {
    if (nSize == 0) {
      pInfo[i].nCurSize = 0;
      continue;
    }
    if (nSize < pInfo[i].nCurSize) {
      pInfo[i].nCurSize = nSize;
      nSize = 0;
    } else {
      nSize -= pInfo[i].nCurSize;
    }
    if (i != nMax - 1) {
      if (nSize > nSizeSplitter) {
        nSize -= nSizeSplitter;
      } else {
        nSize = 0;
      }
    }
  }
}

void CSplitterWnd::RecalcLayout() {
  if (m_hWnd == nullptr || m_nRows == 0 || m_nCols == 0) return;
  CRect rectInside;
  GetInsideRect(rectInside);
  LayoutRowCol(m_pColInfo, m_nCols, rectInside.Width(), m_cxSplitterGap);
  LayoutRowCol(m_pRowInfo, m_nRows, rectInside.Height(), m_cySplitterGap);
  HDWP hDWP = ::BeginDeferWindowPos(m_nRows * m_nCols);
  int x = rectInside.left;
  for (int col = 0; col < m_nCols; col++) {
    int cx = m_pColInfo[col].nCurSize;
    int y = rectInside.top;
    for (int row = 0; row < m_nRows; row++) {
      int cy = m_pRowInfo[row].nCurSize;
      CWnd* pPane = GetPane(row, col);
      if (pPane != nullptr) {
        CRect rect(x, y, x + cx, y + cy);
        if (hDWP)
          hDWP = ::DeferWindowPos(hDWP, pPane->m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE);
        else
          pPane->MoveWindow(&rect);
      }
      y += cy + m_cySplitterGap;
    }
    x += cx + m_cxSplitterGap;
  }
  if (hDWP) ::EndDeferWindowPos(hDWP);
  Invalidate();
}

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rectArg) {
  if (pDC == nullptr) {
    InvalidateRect(&rectArg);
    return;
  }
  CRect rect = rectArg;
  COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
  switch (nType) {
    case splitBorder:
      pDC->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
      rect.InflateRect(-1, -1);
      pDC->Draw3dRect(rect, ::GetSysColor(COLOR_WINDOWFRAME), clrFace);
      return;
    default:
      pDC->FillSolidRect(rect, clrFace);
      return;
  }
}

void CSplitterWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rectClient;
  GetClientRect(&rectClient);
  CRect rectInside;
  GetInsideRect(rectInside);
  // Vertical bars between columns.
  int x = rectInside.left;
  for (int col = 0; col < m_nCols - 1; col++) {
    x += m_pColInfo[col].nCurSize;
    CRect bar(x, rectClient.top, x + m_cxSplitterGap, rectClient.bottom);
    OnDrawSplitter(&dc, splitBar, bar);
    x += m_cxSplitterGap;
  }
  int y = rectInside.top;
  for (int row = 0; row < m_nRows - 1; row++) {
    y += m_pRowInfo[row].nCurSize;
    CRect bar(rectClient.left, y, rectClient.right, y + m_cySplitterGap);
    OnDrawSplitter(&dc, splitBar, bar);
    y += m_cySplitterGap;
  }
  if (m_cxBorder > 0 || m_cyBorder > 0) {
    x = rectInside.left;
    for (int col = 0; col < m_nCols; col++) {
      y = rectInside.top;
      for (int row = 0; row < m_nRows; row++) {
        CRect rect(x, y, x + m_pColInfo[col].nCurSize, y + m_pRowInfo[row].nCurSize);
        rect.InflateRect(m_cxBorder, m_cyBorder);
        OnDrawSplitter(&dc, splitBorder, rect);
        y += m_pRowInfo[row].nCurSize + m_cySplitterGap;
      }
      x += m_pColInfo[col].nCurSize + m_cxSplitterGap;
    }
  }
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) RecalcLayout();
  CWnd::OnSize(nType, cx, cy);
}

int CSplitterWnd::HitTest(CPoint pt) const {
  CRect rectInside;
  GetInsideRect(rectInside);
  int x = rectInside.left;
  for (int col = 0; col < m_nCols - 1; col++) {
    x += m_pColInfo[col].nCurSize;
    if (pt.x >= x && pt.x < x + m_cxSplitterGap) return vSplitterBar1 + col;
    x += m_cxSplitterGap;
  }
  int y = rectInside.top;
  for (int row = 0; row < m_nRows - 1; row++) {
    y += m_pRowInfo[row].nCurSize;
    if (pt.y >= y && pt.y < y + m_cySplitterGap) return hSplitterBar1 + row;
    y += m_cySplitterGap;
  }
  return noHit;
}

void CSplitterWnd::GetHitRect(int ht, CRect& rect) {
  CRect rectClient;
  GetClientRect(&rectClient);
  CRect rectInside;
  GetInsideRect(rectInside);
  rect = rectClient;
  if (ht >= vSplitterBar1 && ht < vSplitterBar1 + 16) {
    int x = rectInside.left;
    for (int col = 0; col <= ht - vSplitterBar1; col++) {
      x += m_pColInfo[col].nCurSize;
      if (col < ht - vSplitterBar1) x += m_cxSplitterGap;
    }
    rect.left = x;
    rect.right = x + m_cxSplitterGap;
  } else if (ht >= hSplitterBar1 && ht < hSplitterBar1 + 16) {
    int y = rectInside.top;
    for (int row = 0; row <= ht - hSplitterBar1; row++) {
      y += m_pRowInfo[row].nCurSize;
      if (row < ht - hSplitterBar1) y += m_cySplitterGap;
    }
    rect.top = y;
    rect.bottom = y + m_cySplitterGap;
  }
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT && pWnd == this && !m_bTracking) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    int ht = HitTest(pt);
    if (ht >= vSplitterBar1 && ht < vSplitterBar1 + 16) {
      ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_SIZEWE));
      return TRUE;
    }
    if (ht >= hSplitterBar1 && ht < hSplitterBar1 + 16) {
      ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_SIZENS));
      return TRUE;
    }
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::OnInvertTracker(const CRect& rect) {
  CDC* pDC = GetDC();
  CBrush* pBrush = CBrush::FromHandle((HBRUSH)::GetStockObject(GRAY_BRUSH));
  CBrush* pOld = pDC->SelectObject(pBrush);
  pDC->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  pDC->SelectObject(pOld);
  ReleaseDC(pDC);
}

void CSplitterWnd::StartTracking(int ht) {
  if (ht == noHit) return;
  GetHitRect(ht, m_rectTracker);
  GetClientRect(&m_rectLimit);
  m_htTrack = ht;
  SetCapture();
  m_bTracking = TRUE;
  OnInvertTracker(m_rectTracker);
}

void CSplitterWnd::StopTracking(BOOL bAccept) {
  if (!m_bTracking) return;
  ReleaseCapture();
  OnInvertTracker(m_rectTracker);
  m_bTracking = FALSE;
  if (!bAccept) return;
  CRect rectInside;
  GetInsideRect(rectInside);
  if (m_htTrack >= vSplitterBar1 && m_htTrack < vSplitterBar1 + 16) {
    int col = m_htTrack - vSplitterBar1;
    int x = rectInside.left;
    for (int i = 0; i < col; i++) x += m_pColInfo[i].nCurSize + m_cxSplitterGap;
    m_pColInfo[col].nIdealSize = std::max(0, (int)m_rectTracker.left - x);
  } else if (m_htTrack >= hSplitterBar1 && m_htTrack < hSplitterBar1 + 16) {
    int row = m_htTrack - hSplitterBar1;
    int y = rectInside.top;
    for (int i = 0; i < row; i++) y += m_pRowInfo[i].nCurSize + m_cySplitterGap;
    m_pRowInfo[row].nIdealSize = std::max(0, (int)m_rectTracker.top - y);
  }
  RecalcLayout();
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt) {
  if (!m_bTracking) return;
  CRect rectNew = m_rectTracker;
  if (m_htTrack >= vSplitterBar1 && m_htTrack < vSplitterBar1 + 16) {
    int x = std::max((int)m_rectLimit.left, std::min((int)pt.x, (int)m_rectLimit.right - m_cxSplitterGap));
    rectNew.left = x;
    rectNew.right = x + m_cxSplitterGap;
  } else {
    int y = std::max((int)m_rectLimit.top, std::min((int)pt.y, (int)m_rectLimit.bottom - m_cySplitterGap));
    rectNew.top = y;
    rectNew.bottom = y + m_cySplitterGap;
  }
  if (rectNew != m_rectTracker) {
    OnInvertTracker(m_rectTracker);
    m_rectTracker = rectNew;
    OnInvertTracker(m_rectTracker);
  }
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint pt) {
  if (m_bTracking) return;
  StartTracking(HitTest(pt));
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) { StopTracking(TRUE); }

void CSplitterWnd::OnLButtonDblClk(UINT, CPoint) {}

void CSplitterWnd::OnCancelMode() {
  StopTracking(FALSE);
  CWnd::OnCancelMode();
}

BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  // Commands of the panes go on to the frame.
  CWnd* pParent = GetParent();
  return pParent != nullptr && (BOOL)pParent->SendMessage(WM_COMMAND, wParam, lParam);
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CWnd::OnNotify(wParam, lParam, pResult)) return TRUE;
  CWnd* pParent = GetParent();
  if (pParent == nullptr) return FALSE;
  *pResult = pParent->SendMessage(WM_NOTIFY, wParam, lParam);
  return TRUE;
}
