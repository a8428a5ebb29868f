/* Tessaly.dll holds resources only. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInst, DWORD dwReason, LPVOID lpReserved) {
  (void)hInst;
  (void)dwReason;
  (void)lpReserved;
  return TRUE;
}
