#include "MainFrame.h"

#include <cstdio>

#include "ChatView.h"
#include "GameView.h"
#include "VeskApp.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)
IMPLEMENT_DYNCREATE(CChatPaneView, CView)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

namespace {
const char kSettings[] = "Settings";
const int kRightPaneSmall = 160;
const int kRightPaneLarge = 240;

// Height of the screen that the work area does not cover (task bars).
int UncoveredHeight() {
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return 0;
  return GetSystemMetrics(SM_CYSCREEN) - (work.bottom - work.top);
}
}  // namespace

int GetScreenSizeClass() {
  return (GetSystemMetrics(SM_CXSCREEN) < 1024 || GetSystemMetrics(SM_CYSCREEN) < 768) ? 1 : 2;
}

CMainFrame::CMainFrame() {
  memset(&m_wp, 0, sizeof m_wp);
  m_wp.length = sizeof m_wp;
  m_wp.showCmd = SW_SHOW;
}

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.style |= FWS_ADDTOTITLE;
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  LoadWindowPos();
  return 0;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST)) return FALSE;
  int right = GetScreenSizeClass() == 1 ? kRightPaneSmall : kRightPaneLarge;
  if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CGameView), CSize(600, 400), pContext)) return FALSE;
  if (!m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CChatView), CSize(right, 400), pContext)) return FALSE;
  if (CGameView* pView = dynamic_cast<CGameView*>(m_wndSplitter.GetPane(0, 0))) {
    pView->SetSite(&theApp.m_ViewSite);
    pView->SetThemeFolders(theApp.m_szNetSkinFolder, (LPCSTR)theApp.GetProfileString("", "Path", ""));
  }
  m_bSplitterCreated = TRUE;
  return TRUE;
}

void CMainFrame::LoadWindowPos() {
  CString text = theApp.GetProfileString(kSettings, "WindowPos", "");
  WINDOWPLACEMENT wp;
  memset(&wp, 0, sizeof wp);
  wp.length = sizeof wp;
  wp.showCmd = SW_SHOW;
  if (!text.IsEmpty()) {
    unsigned flags = 0, show = 0;
    int v[10] = {};
    if (sscanf(text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", &flags, &show, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
               &v[6], &v[7], &v[8], &v[9]) >= 10) {
      wp.flags = flags;
      wp.showCmd = show;
      wp.ptMinPosition = {v[0], v[1]};
      wp.ptMaxPosition = {v[2], v[3]};
      wp.rcNormalPosition = {v[4], v[5], v[6], v[7]};
    }
  }
  int screenH = GetSystemMetrics(SM_CYSCREEN);
  int width, height;
  if (GetScreenSizeClass() == 1) {
    width = 800;
    height = screenH > 800 ? 570 : 600 - UncoveredHeight();
  } else {
    width = 1024;
    height = screenH > 768 ? 738 : 768 - UncoveredHeight();
  }
  wp.rcNormalPosition.right = wp.rcNormalPosition.left + width;
  wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + height;
  // The stored show command is kept for the record only: the window always comes up normal.
  wp.showCmd = SW_SHOWNORMAL;
  m_nShowCmd = SW_SHOWNORMAL;
  theApp.m_nCmdShow = theApp.m_nCmdShow == SW_HIDE ? SW_HIDE : SW_SHOWNORMAL;
  m_wp = wp;
  // Placing only: showing is start-up's decision.
  wp.showCmd = SW_HIDE;
  SetWindowPlacement(&wp);
  LoadSplitterInfo();
}

void CMainFrame::SaveWindowPos() {
  WINDOWPLACEMENT wp;
  wp.length = sizeof wp;
  if (!GetWindowPlacement(&wp)) return;
  CString text;
  text.Format("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", wp.flags, wp.showCmd, (int)wp.ptMinPosition.x,
              (int)wp.ptMinPosition.y, (int)wp.ptMaxPosition.x, (int)wp.ptMaxPosition.y, (int)wp.rcNormalPosition.left,
              (int)wp.rcNormalPosition.top, (int)wp.rcNormalPosition.right, (int)wp.rcNormalPosition.bottom,
              GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));
  theApp.WriteProfileString(kSettings, "WindowPos", text);
}

void CMainFrame::LoadSplitterInfo() {
  if (!m_bSplitterCreated || !m_wndSplitter.GetSafeHwnd()) return;
  CRect rc;
  GetClientRect(&rc);
  int right = GetScreenSizeClass() == 1 ? kRightPaneSmall : kRightPaneLarge;
  int left = rc.Width() - right - m_wndSplitter.m_cxSplitter;
  if (left < 0) left = 0;
  m_wndSplitter.SetColumnInfo(0, left, 0);
  m_wndSplitter.SetColumnInfo(1, right, 0);
  m_wndSplitter.RecalcLayout();
}

CGameView* CMainFrame::GetGameView() const {
  if (!m_bSplitterCreated) return nullptr;
  return dynamic_cast<CGameView*>(m_wndSplitter.GetPane(0, 0));
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
  CFrameWnd::OnSize(nType, cx, cy);
  if (!m_bSplitterCreated || cx == 0 || cy == 0) return;
  CGameView::SetLargeCards(cx > 1024 && cy > 738);
  if (nType != SIZE_MINIMIZED) SaveWindowPos();
  LoadSplitterInfo();
}

LRESULT CMainFrame::OnNcHitTest(CPoint point) {
  LRESULT hit = CFrameWnd::OnNcHitTest(point);
  // The window has two fixed sizes: its border does not resize it.
  if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return HTCLIENT;
  return hit;
}

void CMainFrame::OnClose() {
  // The next start learns from these that this one ended through its window.
  theApp.SetRunLogField("SocketClose", "1");
  theApp.SetRunLogField("MainFrameClose", "1");
  CFrameWnd::OnClose();
}

void CChatPaneView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(236, 233, 216));
}
