// The in-process server of the chat, avatar and advertisement controls (the test harness
// registers the library in its Wine prefix with regsvr32).
#include <windows.h>
#include <ole2.h>

#include "Controls.h"
#include "CtrlBase.h"
#include "CtrlModule.h"

namespace {
CCtrlFactory g_chat(NewChatControl), g_avatar(NewAvatarControl), g_ad(NewAdControl);
const CtrlClass kClasses[] = {{&CLSID_QKChatEx, "QKChatEx Control", &g_chat},
                              {&CLSID_QKAvatar, "QKAvatar Control", &g_avatar},
                              {&CLSID_QKAdCtrl, "QKAdCtrl Control", &g_ad}};
const size_t kCount = sizeof kClasses / sizeof kClasses[0];
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

// Windows that the controls made may still exist; the library stays loaded.
extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
extern "C" HRESULT WINAPI DllRegisterServer() { return CtrlRegister(kClasses, kCount); }
extern "C" HRESULT WINAPI DllUnregisterServer() { return CtrlUnregister(kClasses, kCount); }
