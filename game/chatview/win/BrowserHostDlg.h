// The live panel's host: a child dialog into which the browser library Brellin draws.
#pragma once
#include <afxwin.h>

#include "Brellin.h"

class BrowserHostDlg : public CDialog {
 public:
  enum { IDD = 215 };
  // Loads Brellin.dll and starts its runtime for this program.
  BrowserHostDlg();
  // The library's Shutdown ends the process; it runs when the program has finished
  // (settings saved, ExitInstance done), not here.
  ~BrowserHostDlg() override;

  void CreateBrowser(LPCSTR url);
  void LoadURL(LPCSTR url);
  BOOL IsLoaded() const { return m_hBrellin != nullptr; }

 private:
  HMODULE m_hBrellin = nullptr;
  BrellinCreateBrowserFn m_pfnCreate = nullptr;
  BrellinLoadURLFn m_pfnLoad = nullptr;
};
