// Finds and drives windows of another (or this) process, for tests that act as a person would.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace winprobe {

struct WindowInfo {
  HWND hwnd = nullptr;
  DWORD pid = 0;
  int id = 0;  // control id (children only)
  bool visible = false;
  std::string className;  // ANSI
  std::string text;       // ANSI (GBK in code page 936)
};

// Top-level windows, all or those of one process (pid 0 = all).
std::vector<WindowInfo> TopLevelWindows(DWORD pid = 0, bool visibleOnly = false);
// Every descendant of a window, in Z order, depth first.
std::vector<WindowInfo> ChildWindows(HWND parent);
// Waits for a visible top-level window whose title contains `part` (pid 0 = any process).
HWND WaitForWindow(const std::string& part, DWORD pid, DWORD timeoutMs);
// Runs `call`, which shows a modal window of this process whose title contains `part`, while
// another thread waits for that window and hands it to `act`. The wait has no limit of its
// own: it ends when the window shows or once `call` has returned without it, so a slow
// machine never leaves the window open behind a helper that gave up (and `call` blocked in
// it). Returns whether the window was found.
bool ActOnModalWindow(const std::string& part, const std::function<void()>& call, const std::function<void(HWND)>& act);
// The same, for a window that `find` returns once it is there (null until then).
bool ActOnModalWindow(const std::function<HWND()>& find, const std::function<void()>& call,
                      const std::function<void(HWND)>& act);
// Waits for a visible dialog box (any process) whose title or child texts hold `needle`;
// `texts` gets all of them, one per line.
HWND WaitForDialogText(const std::string& needle, DWORD timeoutMs, std::string& texts);
// Waits for a visible dialog box (any process) holding a control with that id.
HWND WaitForDialogWithControl(int id, DWORD timeoutMs);
// A descendant button whose text (without '&') equals `text`, or whose id equals the number in `text`.
HWND FindButton(HWND parent, const std::string& text);
bool ClickButton(HWND parent, const std::string& text);
// Presses a visible descendant button as the mouse does: the cursor goes onto it, then the
// button goes down and up (skinned buttons act only with the cursor over them).
bool PressButton(HWND parent, const std::string& text);
void SendText(HWND target, const std::string& text);
void SendKey(HWND target, UINT vk);
void ClickAt(HWND target, int x, int y, bool right = false);
// A left click with keys held (MK_CONTROL, MK_SHIFT) at client coordinates.
void ClickAtWithKeys(HWND target, int x, int y, WPARAM keys);
// Renders the window (PrintWindow, then a screen copy when that fails) and saves it as PNG.
bool SaveWindowPng(HWND hwnd, const std::wstring& path);
// The same once a visible window is painted and still (WaitPaintedAndStill, at most
// `timeoutMs`): a window just changed reaches the screen a moment later.
bool SaveSettledWindowPng(HWND hwnd, const std::wstring& path, DWORD timeoutMs);
bool SaveBitmapPng(HBITMAP bmp, const std::wstring& path);
// Waits until the thread of `hwnd` (a thread of this process) has fetched every message posted
// to it before this call: a marker posted last is watched for by a message hook on that thread.
// Sent messages cannot tell this: a thread handles them before its posted ones.
bool WaitPostedHandled(HWND hwnd, DWORD timeoutMs = 10000);
// Waits until the window and its children have nothing left to paint and two screen copies
// of it, taken a moment apart, are equal; pumps this thread's messages meanwhile. False when
// the time ran out first (a window that keeps changing, such as one with a running clock).
bool WaitPaintedAndStill(HWND hwnd, DWORD timeoutMs = 5000);
// Brings the window to the front, waits until it is painted and still, and saves the screen
// where it stands as PNG: the only way to get another process's pixels under Wine.
bool SaveScreenArea(HWND hwnd, const std::wstring& path, DWORD timeoutMs = 5000);
// The rows of a list that answers LVM_GETITEMCOUNT and LVM_GETITEMTEXTA (a list-view, or
// the owner-drawn list; `list` may also be a window holding one), each row its cell texts,
// as many cells as the list's header has items. Works across processes.
std::vector<std::vector<std::string>> ReadListRows(HWND list);
// The titles of that list's header items, in item order.
std::vector<std::string> ReadListHeader(HWND list);
// Copies the programs and libraries (*.exe, *.dll) of folder `from` into folder `to`, all but
// the resource libraries (Vesk_Res*): a test adds those when its case wants them.
void CopyProgramFiles(const std::string& from, const std::string& to);

// How long closing a box took, in milliseconds from the click on its button: until the box
// was no longer visible, until the main window's thread answered a message (it is free to
// paint), and until the screen where the box was no longer showed the box.
struct CloseTiming {
  double hidden = -1, answered = -1, screen = -1;
};
// Clicks button `buttonId` of `box` (its command posted to the box) and measures its close; false
// when the button is missing or the close did not finish within `timeoutMs`.
bool MeasureClose(HWND box, int buttonId, HWND main, CloseTiming* out, DWORD timeoutMs = 10000);

}  // namespace winprobe
