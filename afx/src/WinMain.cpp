// Program entry: runs the one CWinApp object's InitInstance/Run/ExitInstance.
// Kept apart so programs with their own main() do not need an application object.
#include <afxwin.h>

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
