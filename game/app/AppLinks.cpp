#include <afxwin.h>

#include "AppLinks.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "resource.h"

namespace {

const char kWaitBoxClass[] = "VeskWatchWaitBox";

LRESULT CALLBACK WaitBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

BOOL CALLBACK FindThreadBox(HWND hwnd, LPARAM lParam) {
  char cls[16] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The countdown ran out: the box ends as if its default button had been pressed.
void CALLBACK CountdownExpired(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindThreadBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  LRESULT def = SendMessageA(box, DM_GETDEFID, 0, 0);
  WORD button = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

}  // namespace

BOOL LoadNetSkin(const char*, const char*, char* folder, size_t size) {
  if (folder && size) folder[0] = '\0';
  return FALSE;
}

BOOL LoadOwnerDrawnTheme(const char*, int) { return TRUE; }
void UnloadOwnerDrawnTheme() {}
void ClearMusicPlayFlag() {}

int ShowStartupBoxText(const char* text, UINT style, int countdownSeconds) {
  const char* title = AfxGetApp() && AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : "Vesk";
  HWND owner = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
  // The countdown is a thread timer: the box's own message loop runs it.
  UINT_PTR timer = countdownSeconds > 0
                       ? SetTimer(nullptr, 0, static_cast<UINT>(countdownSeconds) * 1000, CountdownExpired)
                       : 0;
  int result = MessageBoxA(owner, text, title, style | MB_SETFOREGROUND);
  if (timer) KillTimer(nullptr, timer);
  return result;
}

int ShowStartupBoxId(UINT stringId, UINT style, int countdownSeconds, const char* arg) {
  CString text;
  if (!text.LoadString(stringId)) text.Format("%u", stringId);
  if (arg) {
    CString formatted;
    formatted.Format(text, arg);
    text = formatted;
  }
  return ShowStartupBoxText(text, style, countdownSeconds);
}

HWND CreateWatchWaitBox(HWND owner) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WaitBoxProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_WAIT);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWaitBoxClass;
    registered = RegisterClassA(&wc) != 0;
  }
  CString text;
  text.LoadString(29916);  // "reading the game progress"
  int w = 300, h = 80;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  HWND box = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kWaitBoxClass, text, WS_POPUP | WS_BORDER, x, y, w, h,
                             owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (box) {
    ShowWindow(box, SW_SHOW);
    UpdateWindow(box);
  }
  return box;
}

void DestroyWatchWaitBox(HWND box) {
  if (box && IsWindow(box)) DestroyWindow(box);
}

void TraceStartupStep(int step, const char* name) {
  const char* path = getenv("VESK_STARTUP_TRACE");
  if (!path || !*path) return;
  FILE* f = fopen(path, "a");
  if (!f) return;
  fprintf(f, "%d %s\n", step, name);
  fclose(f);
}
