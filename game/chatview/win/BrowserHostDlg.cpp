#include "BrowserHostDlg.h"

#include <cstdlib>

namespace {
BrellinShutdownFn g_pfnShutdown = nullptr;
// After WinMain has returned: the settings are saved and ExitInstance has run.
void ShutdownBrowserAtExit() {
  if (g_pfnShutdown) g_pfnShutdown();
}
}  // namespace

BOOL BrowserHostDlg::LoadBrowser() {
  if (m_bLoadTried) return IsLoaded();
  m_bLoadTried = TRUE;
  m_hBrellin = ::LoadLibraryA("Brellin.dll");
  if (!m_hBrellin) return FALSE;
  auto init = (BrellinInitializeFn)::GetProcAddress(m_hBrellin, "Initialize");
  m_pfnCreate = (BrellinCreateBrowserFn)::GetProcAddress(m_hBrellin, "CreateBrowser");
  m_pfnLoad = (BrellinLoadURLFn)::GetProcAddress(m_hBrellin, "LoadURL");
  auto shutdown = (BrellinShutdownFn)::GetProcAddress(m_hBrellin, "Shutdown");
  // A library without its four exports is treated as missing.
  if (!init || !m_pfnCreate || !m_pfnLoad || !shutdown) {
    ::FreeLibrary(m_hBrellin);
    m_hBrellin = nullptr;
    m_pfnCreate = nullptr;
    m_pfnLoad = nullptr;
    return FALSE;
  }
  init(AfxGetInstanceHandle(), "Vesk");
  if (!g_pfnShutdown) {
    g_pfnShutdown = shutdown;
    std::atexit(ShutdownBrowserAtExit);
  }
  return TRUE;
}

BrowserHostDlg::~BrowserHostDlg() {
  if (GetSafeHwnd()) DestroyWindow();
}

void BrowserHostDlg::CreateBrowser(LPCSTR url) {
  if (!m_hBrellin || !url || !url[0] || !GetSafeHwnd()) return;
  CRect rc;
  GetClientRect(&rc);
  m_pfnCreate(m_hWnd, 0, 0, rc.right, rc.bottom, url);
}

void BrowserHostDlg::LoadURL(LPCSTR url) {
  if (!m_hBrellin || !url || !url[0] || !GetSafeHwnd()) return;
  UpdateWindow();
  CRect rc;
  GetClientRect(&rc);
  m_pfnLoad(url);
}
