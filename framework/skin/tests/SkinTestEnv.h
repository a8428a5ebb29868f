// Shared set-up of the skinned-window tests: an application object, the resource
// library beside the test, the theme folder, and helpers that act on a modal box from
// inside its loop.
#pragma once
#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

extern HINSTANCE g_hSkinRes;
// Sets the configuration paths: the theme then comes from Theme\ beside the test.
void UseSkinTheme();
// Runs `act` once on the first visible dialog of this thread that appears after the
// call (checked every 30 ms from inside whatever loop runs).
void ActOnNextDialog(std::function<void(HWND)> act);
void Pump(DWORD ms);
std::wstring PngPath(const char* name);
// The texts of a box's visible buttons, in id order.
std::vector<std::string> VisibleButtons(HWND dlg);
// A picture of the window as PrintWindow draws it, in a 32-bit DIB.
struct WindowPicture {
  int w = 0, h = 0;
  std::vector<DWORD> px;  // 0x00RRGGBB, top-down
  COLORREF At(int x, int y) const;
};
WindowPicture Capture(HWND hwnd);
// A picture of the window as it stands on the screen (children and shape included).
bool SaveScreenPng(HWND hwnd, const char* name);
bool IsWhiteish(COLORREF c);
// Sets up a theme of its own in <test folder>\<name>\Theme\Vesk.thm; "$P" in the text
// stands for the real theme's picture folder (pictures are then named by full path).
void UseThemeText(const char* name, const std::string& text);
