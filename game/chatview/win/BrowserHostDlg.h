// The live panel's host: a child dialog into which the browser library Brellin draws.
#pragma once
#include <afxwin.h>

#include "Brellin.h"

class BrowserHostDlg : public CDialog {
 public:
  enum { IDD = 215 };
  BrowserHostDlg() = default;
  // The library's Shutdown ends the process; it runs when the program has finished
  // (settings saved, ExitInstance done), not here.
  ~BrowserHostDlg() override;

  // Loads Brellin.dll and starts its runtime for this program, once; whether it is loaded.
  BOOL LoadBrowser();
  void CreateBrowser(LPCSTR url);
  void LoadURL(LPCSTR url);
  BOOL IsLoaded() const { return m_hBrellin != nullptr; }

 private:
  HMODULE m_hBrellin = nullptr;
  BOOL m_bLoadTried = FALSE;
  BrellinCreateBrowserFn m_pfnCreate = nullptr;
  BrellinLoadURLFn m_pfnLoad = nullptr;
};
