#include "MainFrame.h"

#include <mmsystem.h>

#include "ChatView.h"
#include "FrameRules.h"
#include "GameView.h"
#include "SkinTheme.h"
#include "resource.h"

namespace {
// The lobby's registered find-game message (the same value the base frame registers).
const UINT g_nFindGame = ::RegisterWindowMessageA("QK_LOBBYFINDGAME_MESSAGE_ID");
}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CQKGameFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CQKGameFrameWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_MOVE()
  ON_WM_NCHITTEST()
  ON_WM_SETTINGCHANGE()
  ON_MESSAGE(WM_DISPLAYCHANGE, &CMainFrame::OnDisplayChange)
  ON_WM_SYSCOMMAND()
  ON_COMMAND(ID_GAME_HELP, &CMainFrame::OnHelp)
  ON_MESSAGE(MM_MCINOTIFY, &CMainFrame::OnMciNotify)
  ON_MESSAGE(WM_SEND_OPTION_FLAGS, &CMainFrame::OnSendOptionFlags)
  ON_MESSAGE(WM_CONFIRMED_CLOSE, &CMainFrame::OnConfirmedClose)
  ON_REGISTERED_MESSAGE(g_nFindGame, &CMainFrame::OnFindGame)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
const char kSettings[] = "Settings";
const DWORD kAdKey1 = 0x112000, kAdKey2 = 0x12000, kAdKey3 = 73729;
const int kStatusIdle = 0x362, kStatusIdleText = 0xE001;
const UINT kAskStyle = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;  // 0x124
const int kAskCountdown = 10;
const int kExitAsk = 1004, kExitForce = 1003, kExitTrust = 1028;
int g_nRViewVisible = 0;

// Height of the screen that the work area does not cover (task bars).
int UncoveredHeight() {
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return 0;
  return GetSystemMetrics(SM_CYSCREEN) - (work.bottom - work.top);
}

CString LoadText(UINT id) {
  CString text;
  if (!text.LoadString(id)) text.Format("%u", id);
  return text;
}
}  // namespace

int GetScreenSizeClass() {
  return frame::ScreenSizeClass(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

int GetRightPaneWidth() { return frame::RightPaneWidth(GetScreenSizeClass()); }

CMainFrame::CMainFrame() {
  memset(&m_wp, 0, sizeof m_wp);
  m_wp.length = sizeof m_wp;
  m_wp.showCmd = SW_SHOW;
}

CMainFrame::~CMainFrame() { delete m_pHelp; }

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CQKGameFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.style |= FWS_ADDTOTITLE;
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  // Closing, settings and help go through the site: no frame without one.
  if (!m_pSite) return -1;
  if (CQKGameFrameWnd::OnCreate(lpcs) == -1) return -1;
  LoadWindowPos();
  SetAdKeys(kAdKey1, kAdKey2, kAdKey3);
  AddAboutMenuItem(IDS_ABOUTMENU);
  m_nAboutId = IDS_ABOUTMENU;
  if ((DWORD)AfxGetApp()->GetProfileInt("", "KeyValue1", 0) != kAdKey1 ||
      (DWORD)AfxGetApp()->GetProfileInt("", "KeyValue2", 0) != kAdKey2) {
    AfxGetApp()->WriteProfileInt("", "KeyValue1", (int)kAdKey1);
    AfxGetApp()->WriteProfileInt("", "KeyValue2", (int)kAdKey2);
  }
  ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, SKIN_FRAME_MARK);
  SkinCreateTitleFont(m_font);
  return 0;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  m_wndSplitter.SetPlainMode(FALSE);
  // Without the profile's own "Path" the platform's shared folder holds the theme.
  CString path = AfxGetApp()->GetProfileString("", "Path", "");
  if (path.IsEmpty()) path = m_pSite->SharePath().c_str();
  m_wndSplitter.LoadImages(m_pSite->SkinFolder().c_str(), (LPCSTR)path);
  m_wndSplitter.SetRightWidth(GetRightPaneWidth());
  if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST)) return FALSE;
  if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CGameView), CSize(600, 400), pContext)) return FALSE;
  if (!m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CChatView), CSize(GetRightPaneWidth(), 400), pContext))
    return FALSE;
  if (CGameView* pView = dynamic_cast<CGameView*>(m_wndSplitter.GetPane(0, 0))) {
    pView->SetSite(m_pSite->ViewSite());
    pView->SetThemeFolders(m_pSite->SkinFolder().c_str(), (LPCSTR)AfxGetApp()->GetProfileString("", "Path", ""));
  }
  m_bSplitterCreated = TRUE;
  return TRUE;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
  // The framework's idle status text has no status bar to go to.
  if (pMsg->message == kStatusIdle && pMsg->wParam == kStatusIdleText) return TRUE;
  return CQKGameFrameWnd::PreTranslateMessage(pMsg);
}

// ---- size and placement ------------------------------------------------------------------

void CMainFrame::LoadWindowPos() {
  CString text = AfxGetApp()->GetProfileString(kSettings, "WindowPos", "");
  g_nRViewVisible = AfxGetApp()->GetProfileInt(kSettings, "IsRViewVisible", 0);
  WINDOWPLACEMENT wp;
  memset(&wp, 0, sizeof wp);
  wp.length = sizeof wp;
  wp.showCmd = SW_SHOW;
  frame::SavedPlacement saved;
  if (frame::ParseWindowPos(text, saved)) {
    wp.flags = saved.flags;
    wp.showCmd = saved.showCmd;
    wp.ptMinPosition = {saved.minX, saved.minY};
    wp.ptMaxPosition = {saved.maxX, saved.maxY};
    wp.rcNormalPosition = {saved.left, saved.top, saved.right, saved.bottom};
  }
  frame::Size size = frame::FixedWindowSize(GetScreenSizeClass(), GetSystemMetrics(SM_CYSCREEN), UncoveredHeight());
  wp.rcNormalPosition.right = wp.rcNormalPosition.left + size.w;
  wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + size.h;
  // The stored show command is kept for the record only: the window always comes up normal.
  m_nShowCmd = SW_SHOWNORMAL;
  CWinApp* pApp = AfxGetApp();
  pApp->m_nCmdShow = pApp->m_nCmdShow == SW_HIDE ? SW_HIDE : SW_SHOWNORMAL;
  m_wp = wp;
  // Placing only: showing is start-up's decision.
  wp.showCmd = SW_HIDE;
  SetWindowPlacement(&wp);
  RecalcSplitter();
}

void CMainFrame::SaveWindowPos() {
  if (!IsWindowVisible()) return;
  WINDOWPLACEMENT wp;
  wp.length = sizeof wp;
  if (!GetWindowPlacement(&wp)) return;
  frame::SavedPlacement saved;
  saved.flags = wp.flags;
  saved.showCmd = wp.showCmd;
  saved.minX = wp.ptMinPosition.x;
  saved.minY = wp.ptMinPosition.y;
  saved.maxX = wp.ptMaxPosition.x;
  saved.maxY = wp.ptMaxPosition.y;
  saved.left = wp.rcNormalPosition.left;
  saved.top = wp.rcNormalPosition.top;
  saved.right = wp.rcNormalPosition.right;
  saved.bottom = wp.rcNormalPosition.bottom;
  saved.fullW = GetSystemMetrics(SM_CXFULLSCREEN);
  saved.fullH = GetSystemMetrics(SM_CYFULLSCREEN);
  AfxGetApp()->WriteProfileString(kSettings, "WindowPos", frame::FormatWindowPos(saved).c_str());
  AfxGetApp()->WriteProfileInt(kSettings, "IsRViewVisible", g_nRViewVisible);
}

void CMainFrame::RecalcSplitter() {
  if (!m_bSplitterCreated || !m_wndSplitter.GetSafeHwnd()) return;
  m_wndSplitter.SetRightWidth(GetRightPaneWidth());
  m_wndSplitter.RecalcColumns();
}

// The columns follow the screen's class; the chat control gets the chat view's height.
void CMainFrame::LoadSplitterInfo() {
  RecalcSplitter();
  CChatView* view = GetChatView();
  CQKChatEx* chat = view ? view->GetChat() : nullptr;
  if (chat && chat->GetSafeHwnd()) chat->Invoke72(static_cast<short>(view->GetChatHeight()));
}

CChatView* CMainFrame::GetChatView() const {
  if (!m_bSplitterCreated) return nullptr;
  return dynamic_cast<CChatView*>(m_wndSplitter.GetPane(0, 1));
}

CGameView* CMainFrame::GetGameView() const {
  if (!m_bSplitterCreated) return nullptr;
  return dynamic_cast<CGameView*>(m_wndSplitter.GetPane(0, 0));
}

void CMainFrame::SetRoundRegion() {
  SetWindowRgn(nullptr, FALSE);
  CRect rc;
  GetClientRect(&rc);
  HRGN region = ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, 9, 9);
  // The window owns the region from here on.
  if (region && !SetWindowRgn(region, TRUE)) ::DeleteObject(region);
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
  if (cx == 0 || cy == 0) return;
  SetRoundRegion();
  CQKGameFrameWnd::OnSize(nType, cx, cy);
  if (!m_bSplitterCreated) return;
  if (nType != SIZE_MINIMIZED) SaveWindowPos();
  CGameView::SetLargeCards(frame::LargeCardsFor(cx, cy));
  RecalcSplitter();
}

void CMainFrame::OnMove(int x, int y) {
  CQKGameFrameWnd::OnMove(x, y);
  if (!IsIconic()) SaveWindowPos();
}

LRESULT CMainFrame::OnNcHitTest(CPoint point) {
  LRESULT hit = CQKGameFrameWnd::OnNcHitTest(point);
  // The window has two fixed sizes: its border does not resize it.
  if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return HTCLIENT;
  return hit;
}

void CMainFrame::OnSettingChange(UINT uFlags, LPCSTR lpszSection) {
  CQKGameFrameWnd::OnSettingChange(uFlags, lpszSection);
  RecalcSplitter();
  if (m_wndSplitter.GetSafeHwnd()) m_wndSplitter.Invalidate();
}

LRESULT CMainFrame::OnDisplayChange(WPARAM, LPARAM) {
  OnSettingChange(0, nullptr);
  LoadWindowPos();
  return 0;
}

// ---- commands ----------------------------------------------------------------------------

void CMainFrame::OnSysCommand(UINT nID, LPARAM lParam) {
  if (m_nAboutId && nID == m_nAboutId) {
    m_pSite->ShowAbout();
    return;
  }
  CQKGameFrameWnd::OnSysCommand(nID, lParam);
}

void CMainFrame::OnHelp() {
  if (!m_pHelp) m_pHelp = m_pSite->CreateHelpWindow(this);
  if (!m_pHelp || !m_pHelp->GetSafeHwnd()) return;
  m_pHelp->ShowWindow(m_pHelp->IsWindowVisible() ? SW_HIDE : SW_SHOW);
}

LRESULT CMainFrame::OnMciNotify(WPARAM wParam, LPARAM) {
  if (wParam == MCI_NOTIFY_SUCCESSFUL) m_pSite->RestartMusicIfOn();
  return 0;
}

LRESULT CMainFrame::OnSendOptionFlags(WPARAM wParam, LPARAM lParam) {
  return m_pSite->SendOptionFlags((int)wParam, (DWORD)lParam);
}

LRESULT CMainFrame::OnFindGame(WPARAM wParam, LPARAM lParam) {
  LRESULT r = OnLobbyFindGame(wParam, lParam);
  // Found by the lobby: the table comes to the front.
  if (lParam == 1) {
    if (IsIconic()) ShowWindow(SW_RESTORE);
    SetForegroundWindow();
    BringWindowToTop();
  }
  return r;
}

void CMainFrame::OnDestroy() {
  KillTimer(IDT_CLOSE_RETRY);
  if (m_pHelp && m_pHelp->GetSafeHwnd()) m_pHelp->DestroyWindow();
  CQKGameFrameWnd::OnDestroy();
}

// ---- closing -----------------------------------------------------------------------------

void CMainFrame::CloseNow() {
  SaveWindowPos();
  CQKGameFrameWnd::OnClose();
}

void CMainFrame::OnClose() {
  // The next start learns from these that this one ended through its window.
  m_pSite->SetRunLogField("SocketClose", "1");
  m_pSite->SetRunLogField("MainFrameClose", "1");
  if (m_pSite->IsTrustExitDone()) {
    CloseNow();
  } else if (m_pSite->IsConnectionEnded()) {
    QuitThenConfirm();
  } else if (m_pSite->OptionFlags() & 1) {
    RequestTrustExitAndAsk();
  }
  // A running hand without trusteeship: the window stays.
}

void CMainFrame::QuitThenConfirm() {
  if (!m_pSite->IsEndedByServer() && !ConfirmExit()) return;
  m_pSite->QuitAndClose();
  SaveWindowPos();
  m_dwCloseStart = ::GetTickCount();
  PostMessage(WM_CONFIRMED_CLOSE);
}

void CMainFrame::RequestTrustExitAndAsk() {
  // A grant closes (and deletes) this window inside the request: only the site is used after it.
  CMainFrameSite* site = m_pSite;
  site->RequestTrustExit();
  if (site->IsTrustExitDone()) return;
  // The server's grant closes the window on the next close; Yes only asks once more.
  if (site->AskYesNo(LoadText(IDS_TRUSTEXITASK), kAskStyle, kAskCountdown) && !site->IsTrustExitDone())
    site->RequestTrustExit();
}

BOOL CMainFrame::ConfirmExit() {
  if (!m_pSite->IsConnected() || m_pSite->IsWatching()) return TRUE;
  if (m_pSite->IsQuietClose()) {
    BOOL goOn = FALSE;
    BOOL mayClose = ConfirmQuietClose(&goOn);
    if (!goOn) return mayClose;
  }
  return RunExitChoice();
}

// Between hands; *pGoOn when the hand started while the question was open.
BOOL CMainFrame::ConfirmQuietClose(BOOL* pGoOn) {
  *pGoOn = FALSE;
  if (m_pSite->IsInTrusteeship()) return TRUE;
  if (!m_pSite->AskYesNo(LoadText(IDS_CONFIRMQUIT), kAskStyle, kAskCountdown)) return FALSE;
  if (m_pSite->IsQuietClose()) return TRUE;
  *pGoOn = TRUE;
  return FALSE;
}

BOOL CMainFrame::RunExitChoice() {
  int choice = m_pSite->RunExitDialog(m_pSite->LeaveRequests() <= 2, (m_pSite->OptionFlags() & 1) != 0);
  switch (choice) {
    case kExitAsk:
      m_pSite->SendLeaveRequest();
      return FALSE;
    case kExitForce:
      if (!m_pSite->AskYesNo(LoadText(IDS_FORCEQUIT), kAskStyle, kAskCountdown)) return FALSE;
      m_pSite->ForceQuit();
      return TRUE;
    case kExitTrust:
      m_pSite->RequestTrustExit();
      return FALSE;
    default:
      return FALSE;
  }
}

LRESULT CMainFrame::OnConfirmedClose(WPARAM, LPARAM) {
  // The chat control may hold the close back for a while; a gone connection does not wait
  // for it forever.
  BOOL giveUp = !m_pSite->IsConnected() && ::GetTickCount() - m_dwCloseStart >= (DWORD)CLOSE_GIVE_UP_MS;
  if (m_pSite->ChatMayClose() || giveUp) {
    KillTimer(IDT_CLOSE_RETRY);
    CloseNow();
    return 0;
  }
  SetTimer(IDT_CLOSE_RETRY, CLOSE_RETRY_MS, nullptr);
  return 0;
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != IDT_CLOSE_RETRY) {
    CQKGameFrameWnd::OnTimer(nIDEvent);
    return;
  }
  KillTimer(IDT_CLOSE_RETRY);
  OnConfirmedClose(0, 0);
}
