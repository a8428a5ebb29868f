// Threads, the application object, its message loop, profile settings and the
// module-wide helpers (resource module, window classes, message boxes).
#include <afxwin.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_pApp = nullptr;
HINSTANCE g_hInstance = nullptr;
HINSTANCE g_hResource = nullptr;
bool g_bResourceSet = false;
}  // namespace

///////////////////////////////////////////////////////////////////////////////
// Module state

HINSTANCE AFXAPI AfxGetInstanceHandle() {
  if (g_hInstance == nullptr) g_hInstance = ::GetModuleHandleA(nullptr);
  return g_hInstance;
}

HINSTANCE AFXAPI AfxGetResourceHandle() {
  if (!g_bResourceSet || g_hResource == nullptr) return AfxGetInstanceHandle();
  return g_hResource;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) {
  g_hResource = hInstResource;
  g_bResourceSet = hInstResource != nullptr;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) {
  // The resource module first, then the program itself.
  HINSTANCE hRes = AfxGetResourceHandle();
  if (::FindResourceA(hRes, lpszName, lpszType) != nullptr) return hRes;
  HINSTANCE hInst = AfxGetInstanceHandle();
  if (hInst != hRes && ::FindResourceA(hInst, lpszName, lpszType) != nullptr) return hInst;
  return hRes;
}

CWinApp* AFXAPI AfxGetApp() { return g_pApp; }
CWinThread* AFXAPI AfxGetThread() { return g_pApp; }

CWnd* AFXAPI AfxGetMainWnd() {
  CWinThread* pThread = AfxGetThread();
  return pThread ? pThread->GetMainWnd() : nullptr;
}

LPCSTR AFXAPI AfxGetAppName() {
  if (g_pApp && g_pApp->m_pszAppName) return g_pApp->m_pszAppName;
  return "";
}

void AFXAPI AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg) {
  CWinThread* pThread = AfxGetThread();
  if (pThread) return pThread->PreTranslateMessage(pMsg);
  // Without an application object: the same walk, stopping at the top.
  return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL AFXAPI AfxPumpMessage() {
  CWinThread* pThread = AfxGetThread();
  if (pThread) return pThread->PumpMessage();
  MSG msg;
  if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
  if (!AfxPreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}

namespace {
std::mutex& ClassLock() {
  static std::mutex m;
  return m;
}
std::set<std::string>& ClassNames() {
  static std::set<std::string> s;
  return s;
}
}  // namespace

BOOL AFXAPI AfxRegisterClass(WNDCLASSA* lpWndClass) {
  WNDCLASSA wc;
  if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wc)) return TRUE;
  return ::RegisterClassA(lpWndClass) != 0;
}

LPCSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  char szName[128];
  HINSTANCE hInst = AfxGetInstanceHandle();
  if (hCursor == nullptr && hbrBackground == nullptr && hIcon == nullptr)
    snprintf(szName, sizeof(szName), "Afx:%p:%x", (void*)hInst, nClassStyle);
  else
    snprintf(szName, sizeof(szName), "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor,
             (void*)hbrBackground, (void*)hIcon);
  std::lock_guard<std::mutex> lock(ClassLock());
  auto it = ClassNames().find(szName);
  if (it != ClassNames().end()) return it->c_str();
  WNDCLASSA wc = {};
  if (!::GetClassInfoA(hInst, szName, &wc)) {
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = szName;
    if (!::RegisterClassA(&wc)) AfxThrowResourceException();
  }
  return ClassNames().insert(szName).first->c_str();
}

int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
  CWinApp* pApp = AfxGetApp();
  if (pApp) return pApp->DoMessageBox(lpszText, nType, nIDHelp);
  return ::MessageBoxA(::GetActiveWindow(), lpszText, nullptr, nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString string;
  string.LoadString(nIDPrompt);
  if (nIDHelp == (UINT)-1) nIDHelp = nIDPrompt;
  return AfxMessageBox(string, nType, nIDHelp);
}

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1) {
  AfxFormatString2(rString, nIDS, lpsz1, nullptr);
}

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2) {
  CString fmt;
  fmt.LoadString(nIDS);
  rString = fmt;
  rString.Replace("%1", lpsz1 ? lpsz1 : "");
  rString.Replace("%2", lpsz2 ? lpsz2 : "");
}

///////////////////////////////////////////////////////////////////////////////
// CWinThread

CWinThread::CWinThread()
    : m_pMainWnd(nullptr),
      m_pActiveWnd(nullptr),
      m_bAutoDelete(TRUE),
      m_hThread(nullptr),
      m_nThreadID(0),
      m_msgCur(),
      m_pfnThreadProc(nullptr),
      m_pThreadParams(nullptr),
      m_ptCursorLast{-1, -1},
      m_nMsgLast(0) {}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) : CWinThread() {
  m_pfnThreadProc = pfnThreadProc;
  m_pThreadParams = pParam;
}

CWinThread::~CWinThread() {
  if (m_hThread != nullptr && this != (CWinThread*)g_pApp) ::CloseHandle(m_hThread);
}

CWnd* CWinThread::GetMainWnd() { return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd; }

namespace {
DWORD WINAPI ThreadEntry(LPVOID p) {
  CWinThread* pThread = (CWinThread*)p;
  UINT nResult;
  if (pThread->m_pfnThreadProc) {
    nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
  } else {
    nResult = pThread->InitInstance() ? (UINT)pThread->Run() : (UINT)pThread->ExitInstance();
  }
  if (pThread->m_bAutoDelete) pThread->Delete();
  return nResult;
}
}  // namespace

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  m_hThread =
      ::CreateThread(lpSecurityAttrs, nStackSize, ThreadEntry, this, dwCreateFlags | CREATE_SUSPENDED, &m_nThreadID);
  if (m_hThread == nullptr) return FALSE;
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
  return TRUE;
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
  if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete pThread;
    return nullptr;
  }
  pThread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) pThread->ResumeThread();
  return pThread;
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL) { ::ExitThread(nExitCode); }

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return (int)m_msgCur.wParam; }

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  // Mouse moves that do not move and the caret blink do not restart idle processing.
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    if (m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y && pMsg->message == m_nMsgLast) return FALSE;
    m_ptCursorLast = pMsg->pt;
    m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* pMainWnd = m_pMainWnd;
    if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible())
      AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
  } else if (lCount >= 1) {
    AfxDeleteTempMaps();
  }
  return lCount < 1;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  CWnd* pMainWnd = AfxGetMainWnd();
  if (CWnd::WalkPreTranslateTree(pMainWnd->GetSafeHwnd(), pMsg)) return TRUE;
  if (pMainWnd != nullptr) {
    CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
    if (pWnd && pWnd->GetTopLevelParent() != pMainWnd) return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::PumpMessage() {
  if (!::GetMessageA(&m_msgCur, nullptr, 0, 0)) return FALSE;
  if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageA(&m_msgCur);
  }
  return TRUE;
}

int CWinThread::Run() {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  for (;;) {
    while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdleCount++)) bIdle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
  LRESULT lResult = 0;
  if (pMsg && pMsg->message == WM_CREATE) lResult = -1;  // creation fails
  if (pMsg && pMsg->message == WM_PAINT) ::ValidateRect(pMsg->hwnd, nullptr);
  if (!e->IsKindOf(RUNTIME_CLASS(CUserException))) e->ReportError(MB_ICONSTOP);
  e->Delete();
  return lResult;
}

///////////////////////////////////////////////////////////////////////////////
// CWinApp

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

static LPSTR DupString(LPCSTR s) {
  if (!s) return nullptr;
  size_t n = strlen(s) + 1;
  LPSTR p = (LPSTR)malloc(n);
  if (!p) AfxThrowMemoryException();
  memcpy(p, s, n);
  return p;
}

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(nullptr),
      m_hPrevInstance(nullptr),
      m_lpCmdLine(nullptr),
      m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(nullptr),
      m_pszRegistryKey(nullptr),
      m_pszProfileName(nullptr),
      m_pszExeName(nullptr),
      m_pszHelpFilePath(nullptr),
      m_pDocManager(nullptr),
      m_nWaitCursorCount(0),
      m_hcurWaitCursorRestore(nullptr),
      m_pszOwnedRegistryKey(nullptr),
      m_pszOwnedProfileName(nullptr),
      m_pszOwnedAppName(nullptr),
      m_pszOwnedExeName(nullptr) {
  if (lpszAppName) m_pszAppName = m_pszOwnedAppName = DupString(lpszAppName);
  g_pApp = this;
  m_hThread = ::GetCurrentThread();
  m_nThreadID = ::GetCurrentThreadId();
}

CWinApp::~CWinApp() {
  delete m_pDocManager;
  m_pDocManager = nullptr;
  free(m_pszOwnedRegistryKey);
  free(m_pszOwnedProfileName);
  free(m_pszOwnedAppName);
  free(m_pszOwnedExeName);
  if (g_pApp == this) g_pApp = nullptr;
  m_hThread = nullptr;
}

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  g_hInstance = hInstance;
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr) {
    pApp->m_hInstance = hInstance;
    pApp->m_hPrevInstance = hPrevInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    char szPath[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    szPath[n < MAX_PATH ? n : MAX_PATH - 1] = '\0';
    char* pszName = strrchr(szPath, '\\');
    pszName = pszName ? pszName + 1 : szPath;
    char* pszDot = strrchr(pszName, '.');
    if (pszDot) *pszDot = '\0';
    if (pApp->m_pszExeName == nullptr) pApp->m_pszExeName = pApp->m_pszOwnedExeName = DupString(pszName);
    if (pApp->m_pszAppName == nullptr) {
      CString strTitle;
      if (strTitle.LoadString(AFX_IDS_APP_TITLE))
        pApp->m_pszAppName = pApp->m_pszOwnedAppName = DupString(strTitle);
      else
        pApp->m_pszAppName = pApp->m_pszOwnedAppName = DupString(pszName);
    }
    if (pApp->m_pszProfileName == nullptr) {
      std::string ini = std::string(pszName) + ".INI";
      pApp->m_pszProfileName = pApp->m_pszOwnedProfileName = DupString(ini.c_str());
    }
  }
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  return TRUE;
}

void AFXAPI AfxWinTerm() { AfxDeleteTempMaps(); }

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  int nReturnCode = -1;
  CWinApp* pApp = AfxGetApp();
  if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) || pApp == nullptr) return nReturnCode;
  if (!pApp->InitApplication()) {
    AfxWinTerm();
    return nReturnCode;
  }
  if (!pApp->InitInstance()) {
    if (pApp->m_pMainWnd != nullptr) pApp->m_pMainWnd->DestroyWindow();
    nReturnCode = pApp->ExitInstance();
  } else {
    nReturnCode = pApp->Run();
  }
  AfxWinTerm();
  return nReturnCode;
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return (int)m_msgCur.wParam; }

int CWinApp::Run() {
  if (m_pMainWnd == nullptr) AfxPostQuitMessage(0);  // nothing to run
  return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) { return CWinThread::PreTranslateMessage(pMsg); }

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT) {
  HWND hWndOwner = nullptr;
  CWnd* pMain = AfxGetMainWnd();
  if (pMain && pMain->m_hWnd && ::IsWindowVisible(pMain->m_hWnd)) hWndOwner = ::GetLastActivePopup(pMain->m_hWnd);
  if (hWndOwner == nullptr) hWndOwner = ::GetActiveWindow();
  if ((nType & MB_ICONMASK) == 0) {
    switch (nType & MB_TYPEMASK) {
      case MB_OK:
      case MB_OKCANCEL:
        nType |= MB_ICONEXCLAMATION;
        break;
      case MB_YESNO:
      case MB_YESNOCANCEL:
        nType |= MB_ICONQUESTION;
        break;
      default:
        break;
    }
  }
  return ::MessageBoxA(hWndOwner, lpszPrompt, m_pszAppName, nType);
}

void CWinApp::DoWaitCursor(int nCode) {
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount > 0) {
    HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
    if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = hcurPrev;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
  }
}

HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const {
  return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_GROUP_CURSOR), lpszResourceName);
}

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const {
  return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_GROUP_ICON), lpszResourceName);
}

void CWinApp::HideApplication() {
  if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->ShowWindow(SW_HIDE);
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

///////////////////////////////////////////////////////////////////////////////
// Profile settings

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
  free(m_pszOwnedRegistryKey);
  m_pszRegistryKey = m_pszOwnedRegistryKey = DupString(lpszRegistryKey);
  // The profile then names the application's key rather than an INI file.
  free(m_pszOwnedProfileName);
  m_pszProfileName = m_pszOwnedProfileName = DupString(m_pszAppName ? m_pszAppName : "");
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
  CString s;
  s.LoadString(nIDRegistryKey);
  SetRegistryKey(s);
}

HKEY CWinApp::GetAppRegistryKey() {
  if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr) return nullptr;
  HKEY hSoftKey = nullptr, hCompanyKey = nullptr, hAppKey = nullptr;
  DWORD dw;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
    if (::RegCreateKeyExA(hSoftKey, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                          nullptr, &hCompanyKey, &dw) == ERROR_SUCCESS) {
      ::RegCreateKeyExA(hCompanyKey, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                        nullptr, &hAppKey, &dw);
    }
  }
  if (hSoftKey) ::RegCloseKey(hSoftKey);
  if (hCompanyKey) ::RegCloseKey(hCompanyKey);
  return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection) {
  HKEY hAppKey = GetAppRegistryKey();
  if (hAppKey == nullptr) return nullptr;
  if (lpszSection == nullptr || *lpszSection == '\0') return hAppKey;  // the app key itself
  HKEY hSectionKey = nullptr;
  DWORD dw;
  ::RegCreateKeyExA(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr,
                    &hSectionKey, &dw);
  ::RegCloseKey(hAppKey);
  return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
  if (m_pszRegistryKey != nullptr) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return (UINT)nDefault;
    DWORD dwValue = 0, dwType = 0, dwCount = sizeof(DWORD);
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, (LPBYTE)&dwValue, &dwCount);
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD)) return (UINT)dwValue;
    return (UINT)nDefault;
  }
  return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
  if (m_pszRegistryKey != nullptr) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return FALSE;
    DWORD dw = (DWORD)nValue;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dw, sizeof(dw));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
  }
  char szT[16];
  snprintf(szT, sizeof(szT), "%d", nValue);
  return ::WritePrivateProfileStringA(lpszSection, lpszEntry, szT, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
  if (m_pszRegistryKey != nullptr) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return lpszDefault;
    CString strValue;
    DWORD dwType = 0, dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ)) {
      std::vector<char> buf(dwCount + 1, 0);
      lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, (LPBYTE)buf.data(), &dwCount);
      if (lResult == ERROR_SUCCESS) strValue = buf.data();  // always terminated: one spare byte
    } else if (lResult == ERROR_SUCCESS) {
      lResult = ERROR_INVALID_DATA;
    }
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS) return strValue;
    return lpszDefault;
  }
  char szT[4096];
  ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "", szT, sizeof(szT),
                             m_pszProfileName);
  return szT;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
  if (m_pszRegistryKey != nullptr) {
    LONG lResult;
    if (lpszEntry == nullptr) {
      // Removes the whole section.
      HKEY hAppKey = GetAppRegistryKey();
      if (hAppKey == nullptr) return FALSE;
      lResult = ::RegDeleteKeyA(hAppKey, lpszSection);
      ::RegCloseKey(hAppKey);
    } else if (lpszValue == nullptr) {
      HKEY hSecKey = GetSectionKey(lpszSection);
      if (hSecKey == nullptr) return FALSE;
      lResult = ::RegDeleteValueA(hSecKey, lpszEntry);
      ::RegCloseKey(hSecKey);
    } else {
      HKEY hSecKey = GetSectionKey(lpszSection);
      if (hSecKey == nullptr) return FALSE;
      lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue, (DWORD)strlen(lpszValue) + 1);
      ::RegCloseKey(hSecKey);
    }
    return lResult == ERROR_SUCCESS;
  }
  return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
  if (!ppData || !pBytes) return FALSE;
  *ppData = nullptr;
  *pBytes = 0;
  if (m_pszRegistryKey == nullptr) return FALSE;
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (hSecKey == nullptr) return FALSE;
  DWORD dwType = 0, dwCount = 0;
  LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
  if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
    *ppData = new BYTE[dwCount ? dwCount : 1];
    lResult = ::RegQueryValueExA(hSecKey, lpszEntry, nullptr, &dwType, *ppData, &dwCount);
  } else if (lResult == ERROR_SUCCESS) {
    lResult = ERROR_INVALID_DATA;
  }
  ::RegCloseKey(hSecKey);
  if (lResult == ERROR_SUCCESS) {
    *pBytes = dwCount;
    return TRUE;
  }
  delete[] * ppData;
  *ppData = nullptr;
  return FALSE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  if (m_pszRegistryKey == nullptr) return FALSE;
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (hSecKey == nullptr) return FALSE;
  LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
  ::RegCloseKey(hSecKey);
  return lResult == ERROR_SUCCESS;
}

///////////////////////////////////////////////////////////////////////////////
// Command line

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew) {}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL) {
  if (bFlag) {
    if (lstrcmpiA(pszParam, "Embedding") == 0) m_bRunEmbedded = TRUE;
    if (lstrcmpiA(pszParam, "Automation") == 0) m_bRunAutomated = TRUE;
  } else if (m_strFileName.IsEmpty()) {
    m_strFileName = pszParam;
    m_nShellCommand = FileOpen;
  }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  for (int i = 1; i < __argc; i++) {
    const char* pszParam = __argv[i];
    BOOL bFlag = FALSE;
    BOOL bLast = (i == __argc - 1);
    if (pszParam[0] == '-' || pszParam[0] == '/') {
      bFlag = TRUE;
      ++pszParam;
    }
    rCmdInfo.ParseParam(pszParam, bFlag, bLast);
  }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnFileNew();
      return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
      return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
      return TRUE;
  }
}
