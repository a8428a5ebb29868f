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
#include "../dialogs/WaitDlg.h"
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

BOOL LoadNetSkin(const char* gameName, const char* skinName, char* folder, size_t size) {
  if (folder && size) folder[0] = '\0';
  CNetSkinConfig& config = NetSkinConfig();
  config.Init(gameName, skinName);
  if (!config.Load()) return FALSE;
  if (folder && size) snprintf(folder, size, "%s", config.GetFolder(0));
  return TRUE;
}

namespace {

// Boxes stand centred on the main window, not where the system puts them (over the
// table's clock): a hook moves the box once it has laid itself out, whether or not it
// becomes the active window.
HWND g_centreOn = nullptr;
HHOOK g_centreHook = nullptr;

LRESULT CALLBACK CentreBoxHook(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && m && m->message == WM_INITDIALOG && g_centreOn) {
    RECT owner, r;
    if (GetWindowRect(g_centreOn, &owner) && GetWindowRect(m->hwnd, &r)) {
      const int w = r.right - r.left, h = r.bottom - r.top;
      SetWindowPos(m->hwnd, nullptr, owner.left + (owner.right - owner.left - w) / 2,
                   owner.top + (owner.bottom - owner.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    g_centreOn = nullptr;  // only the box itself, not what it opens
  }
  return CallNextHookEx(g_centreHook, code, wParam, lParam);
}

}  // namespace

int ShowStartupBoxText(const char* text, UINT style, int countdownSeconds) {
  // Once the configuration paths are built the program's own skinned box asks.
  if (SkinPathsSet()) return ShowMessageBox(text, style, countdownSeconds);
  const char* title = AfxGetApp() && AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : "Vesk";
  HWND owner = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
  // The countdown is a thread timer: the box's own message loop runs it.
  UINT_PTR timer =
      countdownSeconds > 0 ? SetTimer(nullptr, 0, static_cast<UINT>(countdownSeconds) * 1000, CountdownExpired) : 0;
  HHOOK saved = g_centreHook;
  HWND savedOn = g_centreOn;
  if (owner && IsWindowVisible(owner)) {
    g_centreOn = owner;
    g_centreHook = SetWindowsHookExA(WH_CALLWNDPROCRET, CentreBoxHook, nullptr, GetCurrentThreadId());
  }
  int result = MessageBoxA(owner, text, title, style | MB_SETFOREGROUND);
  if (g_centreHook && g_centreHook != saved) UnhookWindowsHookEx(g_centreHook);
  g_centreHook = saved;
  g_centreOn = savedOn;
  if (timer) KillTimer(nullptr, timer);
  // What the box covered is painted now, not whenever the queue next runs dry.
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

// The input box: the server's text, a field for the answer (when one is asked) and OK /
// Cancel, built in memory so it needs no resource.
struct InputBoxState {
  const char* text;
  std::string* answer;
};

INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* st = reinterpret_cast<InputBoxState*>(lParam);
      SetWindowLongPtrA(dlg, DWLP_USER, lParam);
      SetDlgItemTextA(dlg, IDC_INPUT_TEXT, st->text ? st->text : "");
      const char* title = AfxGetApp() && AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : "Vesk";
      SetWindowTextA(dlg, title);
      HWND field = GetDlgItem(dlg, IDC_INPUT_FIELD);
      if (!st->answer) {
        ShowWindow(field, SW_HIDE);
        return TRUE;
      }
      SendMessageA(field, EM_LIMITTEXT, 255, 0);
      SetFocus(field);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        auto* st = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dlg, DWLP_USER));
        if (LOWORD(wParam) == IDOK && st && st->answer) {
          char buf[256] = "";
          GetDlgItemTextA(dlg, IDC_INPUT_FIELD, buf, sizeof buf);
          *st->answer = buf;
        }
        EndDialog(dlg, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// One item of an in-memory dialog template (DWORD aligned, class by atom, no creation data).
void AddItem(std::vector<WORD>& t, DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
             const wchar_t* text) {
  while (t.size() % 2) t.push_back(0);
  DLGITEMTEMPLATE item = {style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id};
  const WORD* w = reinterpret_cast<const WORD*>(&item);
  t.insert(t.end(), w, w + sizeof item / sizeof(WORD));
  t.push_back(0xFFFF);
  t.push_back(cls);
  for (; *text; ++text) t.push_back(static_cast<WORD>(*text));
  t.push_back(0);
  t.push_back(0);
}

HWND g_progressBox = nullptr;

}  // namespace

int ShowStartupInputBox(const char* text, UINT style, int countdownSeconds, std::string* answer) {
  if (!answer) return ShowStartupBoxText(text, style, countdownSeconds);
  if (SkinPathsSet()) {
    char* typed = nullptr;
    int result = DoInputMessageBox(text, style, countdownSeconds, &typed);
    *answer = typed ? typed : "";
    free(typed);
    return result;
  }
  std::vector<WORD> t;
  DLGTEMPLATE dt = {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT, 0, 4, 0, 0, 220, 96};
  const WORD* w = reinterpret_cast<const WORD*>(&dt);
  t.insert(t.end(), w, w + sizeof dt / sizeof(WORD));
  t.push_back(0);  // no menu
  t.push_back(0);  // the standard class
  t.push_back(0);  // the title is set at WM_INITDIALOG
  t.push_back(9);
  for (const wchar_t* f = VESK_FACE_SONG_W; *f; ++f) t.push_back(static_cast<WORD>(*f));
  t.push_back(0);
  AddItem(t, SS_LEFT, 8, 8, 204, 40, IDC_INPUT_TEXT, 0x0082, L"");
  AddItem(t, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 52, 204, 14, IDC_INPUT_FIELD, 0x0081, L"");
  AddItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 56, 74, 50, 14, IDOK, 0x0080, L"OK");
  AddItem(t, BS_PUSHBUTTON | WS_TABSTOP, 114, 74, 50, 14, IDCANCEL, 0x0080, L"Cancel");
  InputBoxState st = {text, answer};
  HWND owner = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
  UINT_PTR timer =
      countdownSeconds > 0 ? SetTimer(nullptr, 0, static_cast<UINT>(countdownSeconds) * 1000, CountdownExpired) : 0;
  INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(t.data()),
                                           owner, InputBoxProc, reinterpret_cast<LPARAM>(&st));
  if (timer) KillTimer(nullptr, timer);
  return static_cast<int>(result);
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
