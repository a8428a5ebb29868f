#include "ODTheme.h"

#include <map>
#include <string>
#include <vector>

#include "DibImage.h"
#include "ODThemeImage.h"
#include "QKBitmap.h"
#include "ThemeValues.h"

namespace {

const char kNoIniText[] =
    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3\xAC\xB3\xF5\xCA\xBC\xBB\xAF\xD7\xD4\xBB"
    "\xE6\xBF\xD8\xBC\xFE\xC0\xE0\xBF\xE2\xCA\xA7\xB0\xDC\xA3\xA1";
const char kNoLibraryText[] =
    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD7\xCA\xD4\xB4\xCE\xC4\xBC\xFE\xA3\xAC\xB3\xF5\xCA\xBC\xBB\xAF\xD7\xD4\xBB"
    "\xE6\xBF\xD8\xBC\xFE\xC0\xE0\xBF\xE2\xCA\xA7\xB0\xDC\xA3\xA1";
const char kNoPackageFormat[] =
    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD7\xCA\xD4\xB4\xB0\xFC%s\xA3\xAC\xB3\xF5\xCA\xBC\xBB\xAF\xD7\xD4\xBB\xE6"
    "\xBF\xD8\xBC\xFE\xC0\xE0\xBF\xE2\xCA\xA7\xB0\xDC";
const char kNoPackageIniText[] =
    "\xCE\xDE\xB7\xA8\xD4\xDA\xD7\xCA\xD4\xB4\xB0\xFC\xD6\xD0\xD5\xD2\xB5\xBD\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3"
    "\xAC\xB3\xF5\xCA\xBC\xBB\xAF\xD7\xD4\xBB\xE6\xBF\xD8\xBC\xFE\xC0\xE0\xBF\xE2\xCA\xA7\xB0\xDC\xA3\xA1";

PFN_ODTHEME_BOX g_pfnBox = nullptr;

void ShowThemeError(LPCSTR text) {
  if (g_pfnBox)
    g_pfnBox(text, MB_OK | MB_ICONSTOP);
  else
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

// Process-wide state: created before the program's main code, gone after it.
struct ThemeState {
  CODThemeManager manager;
  CODThemeWnd wnd;
  std::string path;
  int mode = ODTHEME_MODE_INI;
  int loaded = 0;
  UINT changeMsg = ::RegisterWindowMessageA("ChangeThemeMsg");
  std::map<std::string, PFN_ODTHEME_LOADER> loaders;
};

// An entry of the package as bytes (its extra block is not used); false when missing.
bool ExtractEntry(CPackageFile& package, LPCSTR lpszEntry, std::vector<BYTE>* pOut) {
  if (!lpszEntry || !*lpszEntry) return false;
  BYTE* data = nullptr;
  DWORD size = 0;
  BYTE* extra = nullptr;
  DWORD extraSize = 0;
  if (!package.ExtractEntry(lpszEntry, &data, &size, &extra, &extraSize)) return false;
  pOut->assign(data, data + size);
  CPackageFile::FreeBuffer(data);
  CPackageFile::FreeBuffer(extra);
  return true;
}

ThemeState& State() {
  static ThemeState s;
  return s;
}

// The stored form of an INI file must not change on release: an enciphered file stays
// enciphered, a plain one plain (the cache would otherwise write it back converted).
BOOL IniFileIsEnciphered(LPCSTR path) {
  HANDLE h = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  BYTE head[4] = {};
  DWORD got = 0;
  BOOL ok = ::ReadFile(h, head, 4, &got, nullptr) && got == 4;
  ::CloseHandle(h);
  return ok && head[0] == 0x01 && head[1] == 0xBE && head[2] == 0x02 && head[3] == 0xED;
}

}  // namespace

// ---- manager ------------------------------------------------------------------------

CODThemeManager::CODThemeManager() : m_nMode(ODTHEME_MODE_INI), m_hLibrary(nullptr) {}

CODThemeManager::~CODThemeManager() { Release(); }

void CODThemeManager::Release() {
  if (m_nMode != ODTHEME_MODE_PACKAGE && m_hLibrary) {
    ::FreeLibrary(m_hLibrary);
    m_hLibrary = nullptr;
  }
  m_ini.Clear();
}

int CODThemeManager::Load(LPCSTR lpszPath, int nMode) {
  if (!lpszPath) return 0;
  Release();
  m_nMode = nMode;
  if (nMode != ODTHEME_MODE_PACKAGE) {
    if (!m_ini.LoadFromFile(lpszPath, IniFileIsEnciphered(lpszPath), nullptr, FALSE)) {
      // Not fatal: every value then takes its default.
      ShowThemeError(kNoIniText);
    }
    char value[256] = {};
    m_ini.GetString("Resource", "ResFile", "Tessaly.dll", value, sizeof(value));
    std::string lib = vesk::odtheme::ResolveResFile(lpszPath, value);
    if (m_hLibrary) {
      ::FreeLibrary(m_hLibrary);
      m_hLibrary = nullptr;
    }
    m_hLibrary = ::LoadLibraryA(lib.c_str());
    if (m_hLibrary) return 1;
    ShowThemeError(kNoLibraryText);
    return 0;
  }
  if (!m_package.Open(lpszPath, FALSE)) {
    std::string text(sizeof(kNoPackageFormat) + strlen(lpszPath), '\0');
    int n = _snprintf(&text[0], text.size(), kNoPackageFormat, lpszPath);
    if (n >= 0) text.resize(size_t(n));
    ShowThemeError(text.c_str());
    return 0;
  }
  std::vector<BYTE> ini;
  if (!ExtractEntry(m_package, "QKTheme.ini", &ini)) {
    ShowThemeError(kNoPackageIniText);
    return 0;
  }
  return m_ini.LoadFromMemory(ini.data(), DWORD(ini.size()), FALSE, nullptr) ? 1 : 0;
}

DWORD CODThemeManager::GetString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, LPSTR lpBuffer, DWORD nSize) {
  return m_ini.GetString(lpszSection, lpszKey, lpszDefault, lpBuffer, nSize);
}

HBITMAP CODThemeManager::LoadPackageImage(LPCSTR lpszEntry) {
  std::vector<BYTE> picture;
  if (m_nMode != ODTHEME_MODE_PACKAGE || !ExtractEntry(m_package, lpszEntry, &picture)) return nullptr;
  return DecodeThemePicture(picture.data(), picture.size());
}

HCURSOR CODThemeManager::LoadPackageCursor(LPCSTR lpszEntry) {
  std::vector<BYTE> data;
  if (m_nMode != ODTHEME_MODE_PACKAGE || !ExtractEntry(m_package, lpszEntry, &data)) return nullptr;
  const DWORD size = DWORD(data.size());
  // The system loads cursors from files only. A private temporary file is used rather than
  // "temp.cur" in the current folder: two clients started from one folder would race on that
  // name (one deleting the file the other is about to load), the folder may be read-only,
  // and a file already there under that name is not ours to delete.
  HCURSOR cursor = nullptr;
  char dir[MAX_PATH] = {}, file[MAX_PATH] = {};
  DWORD n = ::GetTempPathA(MAX_PATH, dir);
  if (n > 0 && n < MAX_PATH && ::GetTempFileNameA(dir, "cur", 0, file)) {
    HANDLE h = ::CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      BOOL ok = ::WriteFile(h, data.data(), size, &written, nullptr) && written == size;
      ::CloseHandle(h);
      if (ok) cursor = ::LoadCursorFromFileA(file);
    }
    ::DeleteFileA(file);
  }
  return cursor;
}

CODThemeManager& GetODThemeManager() { return State().manager; }

// ---- theme window -------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODThemeWnd, CWnd)

namespace {
struct ThemeNotice {
  HWND self;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

BOOL CALLBACK NotifyOne(HWND hwnd, LPARAM lp) {
  const ThemeNotice* n = reinterpret_cast<const ThemeNotice*>(lp);
  if (hwnd != n->self && ::GetPropA(hwnd, "ODCtrl")) ::SendMessageA(hwnd, n->message, n->wParam, n->lParam);
  return TRUE;
}

BOOL CALLBACK NotifyTopLevel(HWND hwnd, LPARAM lp) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != ::GetCurrentProcessId()) return TRUE;
  NotifyOne(hwnd, lp);
  ::EnumChildWindows(hwnd, NotifyOne, lp);
  return TRUE;
}
}  // namespace

void NotifyOwnerDrawnWindows(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  ThemeNotice n{self, message, wParam, lParam};
  ::EnumWindows(NotifyTopLevel, reinterpret_cast<LPARAM>(&n));
}

LRESULT CODThemeWnd::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    ::RemovePropA(m_hWnd, "ODCtrl");
    ::RemovePropA(m_hWnd, "ODThemeWnd");
  }
  if (message != 0 && message == GetChangeThemeMsg()) {
    // Every owner-drawn window of the process takes the new values, wherever it sits.
    if (ApplyTheme()) NotifyOwnerDrawnWindows(m_hWnd, message, wParam, lParam);
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

CODThemeWnd& GetODThemeWnd() { return State().wnd; }
UINT GetChangeThemeMsg() { return State().changeMsg; }

// ---- front end ----------------------------------------------------------------------

int LoadTheme(LPCSTR lpszPath, int nMode) {
  ThemeState& s = State();
  if (s.loaded) return 1;
  s.path = lpszPath ? lpszPath : "";
  s.mode = nMode;
  if (!s.wnd.GetSafeHwnd()) {
    LPCSTR cls = AfxRegisterWndClass(0);
    s.wnd.CreateEx(0, cls, "", 0, 0, 0, 0, 0, nullptr, nullptr);
  }
  return ApplyTheme();
}

int ApplyTheme() {
  ThemeState& s = State();
  if (!s.manager.Load(s.path.empty() ? nullptr : s.path.c_str(), s.mode)) return 0;
  for (const auto& loader : s.loaders) loader.second();
  s.loaded = 1;
  return 1;
}

int UnloadTheme() {
  ThemeState& s = State();
  if (!s.loaded) return 0;
  s.loaded = 0;
  if (s.wnd.GetSafeHwnd()) s.wnd.DestroyWindow();
  s.manager.Release();
  return 1;
}

BOOL IsThemeLoaded() { return State().loaded != 0; }

void SetThemeClassLoader(LPCSTR lpszClass, PFN_ODTHEME_LOADER pfn) {
  if (!lpszClass) return;
  if (pfn)
    State().loaders[lpszClass] = pfn;
  else
    State().loaders.erase(lpszClass);
}

PFN_ODTHEME_BOX SetThemeErrorBox(PFN_ODTHEME_BOX pfn) {
  PFN_ODTHEME_BOX old = g_pfnBox;
  g_pfnBox = pfn;
  return old;
}

DWORD GetThemeString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, LPSTR lpBuffer, DWORD nSize) {
  return State().manager.GetString(lpszSection, lpszKey, lpszDefault, lpBuffer, nSize);
}

int GetThemeInt(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault) {
  char value[256] = {};
  GetThemeString(lpszSection, lpszKey, "", value, sizeof(value));
  return vesk::odtheme::ParseColorOrInt(value, nDefault);
}

int GetThemePoint(LPCSTR lpszSection, LPCSTR lpszKey, POINT* pPoint) {
  char value[256] = {};
  GetThemeString(lpszSection, lpszKey, "", value, sizeof(value));
  int x = 0, y = 0;
  if (!vesk::odtheme::ParsePoint(value, &x, &y)) return 0;
  if (pPoint) {
    pPoint->x = x;
    pPoint->y = y;
  }
  return 1;
}

HBITMAP DecodeThemePicture(const BYTE* pData, size_t nSize) {
  if (!pData || nSize > MAXDWORD) return nullptr;
  return DecodeImageFromMemory(pData, DWORD(nSize));
}

HBITMAP LoadThemeBitmap(UINT nID, LPCSTR lpszType) {
  if (!lpszType) return nullptr;
  CODThemeManager& m = State().manager;
  WORD id = LOWORD(nID);
  if (m.m_nMode != ODTHEME_MODE_PACKAGE) {
    HMODULE lib = m.m_hLibrary;
    if (!lib) return nullptr;
    HBITMAP bmp =
        LoadImageFromResourceOrFile(lib, MAKEINTRESOURCEA(id), lpszType, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!bmp) bmp = ::LoadBitmapA(lib, MAKEINTRESOURCEA(id));
    return bmp;
  }
  char key[32], entry[260] = {};
  wsprintfA(key, "QKImage%d", int(id));
  m.GetString("Resource", key, "", entry, sizeof(entry));
  return m.LoadPackageImage(entry);
}

HCURSOR LoadThemeCursor(UINT nID) {
  CODThemeManager& m = State().manager;
  if (m.m_nMode != ODTHEME_MODE_PACKAGE)
    return m.m_hLibrary ? ::LoadCursorA(m.m_hLibrary, MAKEINTRESOURCEA(LOWORD(nID))) : nullptr;
  char key[32], entry[260] = {};
  wsprintfA(key, "Cursor%d", int(nID));
  m.GetString("Resource", key, "", entry, sizeof(entry));
  return m.LoadPackageCursor(entry);
}

void LoadThemeImageSpec(LPCSTR lpszSpec, CODThemeImage* pImage) {
  if (!pImage) return;
  vesk::odtheme::ImageSpec spec;
  if (!vesk::odtheme::ParseImageSpec(lpszSpec, &spec)) return;
  if (spec.kind == vesk::odtheme::kImageSpecGif) {
    pImage->LoadFromGifFile(spec.gifPath.c_str());
    return;
  }
  HBITMAP bmp = LoadThemeBitmap(UINT(spec.bitmapId), "QKImage");
  if (!bmp) return;
  pImage->LoadFromBitmap(bmp, spec.keySelector, spec.cellCount, spec.stateCount, spec.framesPerState, spec.extraValue,
                         FALSE);
  ::DeleteObject(bmp);
}

namespace {
// Registers "ChangeThemeMsg" and builds the manager before the program's main code runs.
const bool g_stateReady = (State(), true);
}  // namespace
