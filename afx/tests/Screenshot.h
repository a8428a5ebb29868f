// Saves a window's picture as PNG (through GDI+'s flat interface) for people to look at.
#pragma once
#include <windows.h>

extern "C" {
struct AfxGdiplusStartupInput {
  UINT32 GdiplusVersion;
  void* DebugEventCallback;
  BOOL SuppressBackgroundThread;
  BOOL SuppressExternalCodecs;
};
int WINAPI GdiplusStartup(ULONG_PTR* token, const AfxGdiplusStartupInput* input, void* output);
int WINAPI GdipCreateBitmapFromHBITMAP(HBITMAP hbm, HPALETTE hpal, void** bitmap);
int WINAPI GdipSaveImageToFile(void* image, const WCHAR* filename, const CLSID* clsidEncoder, const void* params);
int WINAPI GdipDisposeImage(void* image);
}

inline bool SaveWindowPng(HWND hWnd, const WCHAR* path) {
  static ULONG_PTR token = 0;
  if (!token) {
    AfxGdiplusStartupInput in = {1, nullptr, FALSE, FALSE};
    if (GdiplusStartup(&token, &in, nullptr) != 0) return false;
  }
  RECT rc;
  ::GetWindowRect(hWnd, &rc);
  int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
  HDC hdcScreen = ::GetDC(nullptr);
  HDC hdc = ::CreateCompatibleDC(hdcScreen);
  HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, cx, cy);
  HGDIOBJ old = ::SelectObject(hdc, hbm);
  // Copied from the screen: the window must be shown and uncovered.
  ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  MSG msg;
  for (int i = 0; i < 20; i++) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) break;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(10);
  }
  ::BitBlt(hdc, 0, 0, cx, cy, hdcScreen, rc.left, rc.top, SRCCOPY);
  ::SelectObject(hdc, old);
  void* bitmap = nullptr;
  bool ok = GdipCreateBitmapFromHBITMAP(hbm, nullptr, &bitmap) == 0;
  // PNG encoder {557CF406-1A04-11D3-9A73-0000F81EF32E}
  static const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  if (ok) ok = GdipSaveImageToFile(bitmap, path, &png, nullptr) == 0;
  if (bitmap) GdipDisposeImage(bitmap);
  ::DeleteObject(hbm);
  ::DeleteDC(hdc);
  ::ReleaseDC(nullptr, hdcScreen);
  return ok;
}
