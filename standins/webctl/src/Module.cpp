// The in-process server of the web-browser control stand-in (registered in the harness's
// Wine prefix with regsvr32, in place of the system's control).
#include <windows.h>
#include <ole2.h>

#include "CtrlBase.h"
#include "CtrlModule.h"
#include "WebControl.h"

namespace {
CCtrlFactory g_web(NewWebControl);
const CtrlClass kClasses[] = {{&CLSID_VeskWebBrowser, "Web Browser Control", &g_web}};
const size_t kCount = 1;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInst, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_hCtrlModule = hInst;
    ::DisableThreadLibraryCalls(hInst);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  return CtrlGetClassObject(kClasses, kCount, clsid, riid, ppv);
}

// A page may still be fetched for a window the control made; the library stays loaded.
extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
extern "C" HRESULT WINAPI DllRegisterServer() { return CtrlRegister(kClasses, kCount); }
extern "C" HRESULT WINAPI DllUnregisterServer() { return CtrlUnregister(kClasses, kCount); }
