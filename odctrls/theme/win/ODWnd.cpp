#include "ODWnd.h"

void ODMarkWindow(HWND hWnd, LPCSTR lpszKind, UINT nValue) {
  if (!hWnd || !lpszKind) return;
  ::SetPropA(hWnd, "ODCtrl", (HANDLE)(INT_PTR)0x1000);
  ::SetPropA(hWnd, lpszKind, (HANDLE)(INT_PTR)nValue);
}

void ODRegisterWindowClass(LPCSTR lpszClass, UINT nStyle, HBRUSH hBackground) {
  WNDCLASSA wc{};
  if (::GetClassInfoA(AfxGetInstanceHandle(), lpszClass, &wc)) return;
  wc.style = nStyle;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = hBackground;
  wc.lpszClassName = lpszClass;
  if (!AfxRegisterClass(&wc)) AfxThrowResourceException();
}
