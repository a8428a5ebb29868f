// Finds and drives windows of another (or this) process, for tests that act as a person would.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace winprobe {

struct WindowInfo {
  HWND hwnd = nullptr;
  DWORD pid = 0;
  int id = 0;             // control id (children only)
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
// Renders the window (PrintWindow, then a screen copy when that fails) and saves it as PNG.
bool SaveWindowPng(HWND hwnd, const std::wstring& path);
bool SaveBitmapPng(HBITMAP bmp, const std::wstring& path);

}  // namespace winprobe
