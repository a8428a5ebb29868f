// The owner-drawn controls' theme: one manager per process holding the theme source (an INI
// file with a resource library, or a package), the front-end functions every control reads
// through, and the hidden theme window that reloads the theme on "ChangeThemeMsg".
#pragma once
#include <afxwin.h>

#include "IniCache.h"
#include "ODWnd.h"
#include "PackageFile.h"

class CODThemeImage;

enum { ODTHEME_MODE_PACKAGE = 0, ODTHEME_MODE_INI = 1 };

class CODThemeManager {
 public:
  CODThemeManager();
  virtual ~CODThemeManager();

  // Releases the current source and loads the one at the path; 1 or 0.
  int Load(LPCSTR lpszPath, int nMode);
  // INI mode frees the resource library; both modes clear the INI text.
  void Release();
  DWORD GetString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, LPSTR lpBuffer, DWORD nSize);
  // Package mode only: the entry decoded as a picture (GIF, PNG, BMP, JPEG), or null.
  HBITMAP LoadPackageImage(LPCSTR lpszEntry);
  // Package mode only: the entry loaded as a cursor, or null.
  HCURSOR LoadPackageCursor(LPCSTR lpszEntry);

  int GetMode() const { return m_nMode; }
  HMODULE GetLibrary() const { return m_hLibrary; }

  CPackageFile m_package;
  CIniCache m_ini;
  int m_nMode;
  HMODULE m_hLibrary;
};

// The process's one manager.
CODThemeManager& GetODThemeManager();

// Hidden top-level window of the theme; reloads it when "ChangeThemeMsg" arrives.
class CODThemeWnd : public CODWnd<CWnd> {
  DECLARE_DYNAMIC(CODThemeWnd)
 public:
  CODThemeWnd() : CODWnd<CWnd>("ODThemeWnd", 0x1000) {}

 protected:
  void OnThemeChanged() override {}  // the change itself is handled as a message
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

CODThemeWnd& GetODThemeWnd();
// Sends the theme-change message to every window of this process marked "ODCtrl" (top-level
// windows and their descendants), except `self`.
void NotifyOwnerDrawnWindows(HWND self, UINT message, WPARAM wParam, LPARAM lParam);

// ---- front end ---------------------------------------------------------------------
// Once loaded, later calls return 1 and keep the first theme.
int LoadTheme(LPCSTR lpszPath, int nMode);
int ApplyTheme();
int UnloadTheme();
BOOL IsThemeLoaded();

int GetThemeInt(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault);
DWORD GetThemeString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, LPSTR lpBuffer, DWORD nSize);
int GetThemePoint(LPCSTR lpszSection, LPCSTR lpszKey, POINT* pPoint);
void LoadThemeImageSpec(LPCSTR lpszSpec, CODThemeImage* pImage);
// The caller owns the bitmap. Only the low 16 bits of the id count.
HBITMAP LoadThemeBitmap(UINT nID, LPCSTR lpszType);
HCURSOR LoadThemeCursor(UINT nID);

// Decodes a picture held in memory: a BMP file, or anything the system picture decoder reads.
HBITMAP DecodeThemePicture(const BYTE* pData, size_t nSize);

// The class loaders ApplyTheme runs. Each control class registers its own from its own
// file, under its class name, before the program's main code runs; loaders run in the
// order of the names. Loaders read only through GetThemeInt, GetThemeString and
// GetThemePoint, each into its own class's values, so the order changes no value.
typedef void (*PFN_ODTHEME_LOADER)();
// Sets the loader of a class; null removes it.
void SetThemeClassLoader(LPCSTR lpszClass, PFN_ODTHEME_LOADER pfn);

// The theme's error boxes go through this (AfxMessageBox with MB_ICONSTOP when unset), so a
// host without a visible desktop can take them another way.
typedef int (*PFN_ODTHEME_BOX)(LPCSTR lpszText, UINT nType);
PFN_ODTHEME_BOX SetThemeErrorBox(PFN_ODTHEME_BOX pfn);
