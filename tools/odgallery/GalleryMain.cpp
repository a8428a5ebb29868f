// odgallery.exe: shows every owner-drawn control, themed by the INI file beside it
// (gallery_skn.ini with Tessaly.dll). The first argument is the page to open (0 to 4).
#include <afxwin.h>

#include <cstdlib>

#include "Gallery.h"
#include "ODTheme.h"

class CGalleryApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 private:
  CGalleryWnd* m_pGallery = nullptr;
};

CGalleryApp theApp;

BOOL CGalleryApp::InitInstance() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* slash = strrchr(path, '\\');
  if (slash) lstrcpyA(slash + 1, "gallery_skn.ini");
  LoadTheme(path, ODTHEME_MODE_INI);
  int page = __argc > 1 ? atoi(__argv[1]) : 0;
  m_pGallery = new CGalleryWnd;
  if (!m_pGallery->Create(page)) return FALSE;
  m_pMainWnd = m_pGallery;
  m_pGallery->ShowWindow(SW_SHOW);
  m_pGallery->UpdateWindow();
  return TRUE;
}

BOOL CGalleryApp::PreTranslateMessage(MSG* pMsg) {
  // The balloon tip follows the mouse over the whole gallery.
  if (pMsg->message == WM_MOUSEMOVE && m_pGallery) m_pGallery->SendMessage(WM_APP + 1, 0, (LPARAM)pMsg);
  return CWinApp::PreTranslateMessage(pMsg);
}
