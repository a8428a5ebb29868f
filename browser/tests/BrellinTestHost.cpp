// A small host program for the browser library, run as a child by the tests: it
// loads Brellin.dll by its bare name, creates the panel browser in a child window
// and obeys commands sent to its main window. Its own exit codes are never 0, so
// an exit code of 0 can only come from the library's Shutdown.
#include <windows.h>

#include <string>

#include "Brellin.h"

namespace {

constexpr ULONG_PTR kCmdLoad = 1;  // WM_COPYDATA: address
constexpr ULONG_PTR kCmdMove = 2;  // WM_COPYDATA: four ints
constexpr UINT kCmdShutdown = WM_APP + 3;

BrellinInitializeFn g_initialize;
BrellinCreateBrowserFn g_create;
BrellinLoadURLFn g_load;
BrellinMoveBrowseWindowFn g_move;
BrellinShutdownFn g_shutdown;
int g_exitCode = 7;

LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COPYDATA) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
    if (cds->dwData == kCmdLoad) {
      std::string url(static_cast<const char*>(cds->lpData), cds->cbData);
      g_load(url.c_str());
      return TRUE;
    }
    if (cds->dwData == kCmdMove && cds->cbData == 4 * sizeof(int)) {
      const int* r = static_cast<const int*>(cds->lpData);
      g_move(r[0], r[1], r[2], r[3]);
      return TRUE;
    }
    return FALSE;
  }
  if (m == kCmdShutdown) {
    g_shutdown();
    g_exitCode = 9;  // Shutdown came back: the process was not ended
    PostQuitMessage(0);
    return 0;
  }
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(h, m, w, l);
}

}  // namespace

int main(int argc, char** argv) {
  const char* url = argc > 1 ? argv[1] : "about:blank";
  HMODULE lib = LoadLibraryA("Brellin.dll");
  if (!lib) return 11;
  g_initialize = reinterpret_cast<BrellinInitializeFn>(GetProcAddress(lib, "Initialize"));
  g_create = reinterpret_cast<BrellinCreateBrowserFn>(GetProcAddress(lib, "CreateBrowser"));
  g_load = reinterpret_cast<BrellinLoadURLFn>(GetProcAddress(lib, "LoadURL"));
  g_move = reinterpret_cast<BrellinMoveBrowseWindowFn>(GetProcAddress(lib, "MoveBrowseWindow"));
  g_shutdown = reinterpret_cast<BrellinShutdownFn>(GetProcAddress(lib, "Shutdown"));
  if (!g_initialize || !g_create || !g_load || !g_move || !g_shutdown) return 12;

  WNDCLASSA wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "BrellinTestHost";
  RegisterClassA(&wc);
  HWND top = CreateWindowA("BrellinTestHost", "Brellin test host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 60, 560,
                           440, nullptr, nullptr, wc.hInstance, nullptr);
  // The panel host, as the chat view's child dialog is.
  HWND panel = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 238, 350, top,
                             reinterpret_cast<HMENU>(100), wc.hInstance, nullptr);
  if (!top || !panel) return 13;
  if (g_initialize(wc.hInstance, "Vesk") != 1) return 14;
  RECT rc;
  GetClientRect(panel, &rc);
  g_create(panel, 0, 0, rc.right, rc.bottom, url);
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return g_exitCode;
}
