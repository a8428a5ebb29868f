#include <afxwin.h>

#include "AppLinks.h"

#include "NetSkinConfig.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "ChatSite.h"
#include <memory>

#include "MsgBox.h"
#include "SkinTheme.h"
#include "resource.h"
#include "../dialogs/win/WaitDlg.h"
// The framework's wait box and the game's wait dialog share their header's name.
#include "../../framework/skin/WaitDlg.h"
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

}  // namespace

BOOL LoadNetSkin(const char* gameName, const char* skinName, char* folder, size_t size) {
  if (folder && size) folder[0] = '\0';
  CNetSkinConfig& config = NetSkinConfig();
  config.Init(gameName, skinName);
  if (!config.Load()) return FALSE;
  if (folder && size) snprintf(folder, size, "%s", config.GetFolder(0));
  return TRUE;
}

int ShowStartupBoxText(const char* text, UINT style, int countdownSeconds) {
  // The program's own box: skinned once the configuration paths are built, plain before.
  int result = ShowMessageBox(text, style, countdownSeconds);
  // What the box covered is painted now, not whenever the queue next runs dry.
  HWND owner = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
  if (owner && IsWindow(owner))
    RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
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

namespace {

HWND g_progressBox = nullptr;

}  // namespace

int ShowStartupInputBox(const char* text, UINT style, int countdownSeconds, std::string* answer) {
  if (!answer) return ShowStartupBoxText(text, style, countdownSeconds);
  char* typed = nullptr;
  int result = DoInputMessageBox(text, style, countdownSeconds, &typed);
  *answer = typed ? typed : "";
  free(typed);
  return result;
}

namespace {
std::unique_ptr<CSkinWaitDlg> g_pSkinProgress;
std::unique_ptr<CWaitDlg> g_pWatchWait;
}  // namespace

void ShowStartupProgress(UINT stringId) {
  // The skinned wait box once the skin is up, the plain one before.
  if (SkinPathsSet() || g_pSkinProgress) {
    if (!stringId) {
      g_pSkinProgress.reset();
      return;
    }
    if (!g_pSkinProgress) g_pSkinProgress.reset(new CSkinWaitDlg(nullptr, 0, AfxGetMainWnd()));
    g_pSkinProgress->SetTextId(stringId);
    return;
  }
  if (g_progressBox) {
    DestroyWatchWaitBox(g_progressBox);
    g_progressBox = nullptr;
  }
  if (!stringId) return;
  g_progressBox = CreatePlainWaitBox(AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr);
  CString text;
  if (g_progressBox && text.LoadString(stringId)) {
    SetWindowTextA(g_progressBox, text);
    InvalidateRect(g_progressBox, nullptr, TRUE);
  }
}

void SystemTextLine(const char* line) { ChatSite().SystemLine(line); }

HWND CreateWatchWaitBox(HWND owner) {
  if (SkinPathsSet()) {
    g_pWatchWait.reset(new CWaitDlg(CWnd::FromHandle(owner)));
    CString text;
    text.LoadString(29916);  // "reading the game progress"
    g_pWatchWait->Show(text, FALSE);
    if (g_pWatchWait->GetSafeHwnd()) {
      // Known by its text as the plain box is (the caption is not drawn without a button).
      g_pWatchWait->SetWindowText(text);
      return g_pWatchWait->GetSafeHwnd();
    }
    g_pWatchWait.reset();
  }
  return CreatePlainWaitBox(owner);
}

HWND CreatePlainWaitBox(HWND owner) {
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
  if (g_pWatchWait && box && g_pWatchWait->GetSafeHwnd() == box) {
    g_pWatchWait.reset();
    return;
  }
  if (box && IsWindow(box)) DestroyWindow(box);
}

namespace {
void TraceStartupLine(const char* label, const char* name) {
  const char* path = getenv("VESK_STARTUP_TRACE");
  if (!path || !*path) return;
  // Milliseconds since the process was created (so the loader's share
  // shows in the first step) and the wall clock in Unix milliseconds, which
  // a benchmark outside the program lines up with its own clock.
  FILETIME created, exited, kernel, user, now;
  GetSystemTimeAsFileTime(&now);  // the precise form is Windows 8 and later
  const auto ticks = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  const ULONGLONG nowTicks = ticks(now);  // 100 ns since 1601
  double sinceStart = -1;
  if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
    sinceStart = double(nowTicks - ticks(created)) / 1e4;
  const ULONGLONG kUnixEpoch = 116444736000000000ULL;
  FILE* f = fopen(path, "a");
  if (!f) return;
  fprintf(f, "%s %s: %.1f ms\t%llu\n", label, name, sinceStart, (nowTicks - kUnixEpoch) / 10000);
  fclose(f);
}
}  // namespace

void TraceStartupStep(int step, const char* name) {
  char label[16];
  snprintf(label, sizeof label, "%d", step);
  TraceStartupLine(label, name);
}

void TraceStartupMoment(const char* name) { TraceStartupLine("=", name); }
