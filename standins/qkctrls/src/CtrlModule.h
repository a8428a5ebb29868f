// What every stand-in control library shares as an in-process server: a class factory per
// control and the registration of its classes (regsvr32 in the harness's Wine prefix).
#pragma once
#include <windows.h>
#include <ole2.h>

class CCtrlFactory : public IClassFactory {
 public:
  explicit CCtrlFactory(IUnknown* (*pfnNew)()) : m_pfnNew(pfnNew) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  // The factories are static objects of the library.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override;
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

 private:
  IUnknown* (*m_pfnNew)();
};

struct CtrlClass {
  const CLSID* clsid;
  const char* name;
  CCtrlFactory* factory;
};

HRESULT CtrlGetClassObject(const CtrlClass* classes, size_t n, REFCLSID clsid, REFIID riid, void** ppv);
// Writes CLSID\{...}\InprocServer32 (this module, apartment threaded) and Control for each class.
HRESULT CtrlRegister(const CtrlClass* classes, size_t n);
HRESULT CtrlUnregister(const CtrlClass* classes, size_t n);

// The module's entry and its four server exports for the table `classes` (an array).
#define VESK_CTRL_MODULE(classes)                                                                                     \
  extern "C" BOOL WINAPI DllMain(HINSTANCE hInst, DWORD reason, LPVOID) {                                             \
    if (reason == DLL_PROCESS_ATTACH) {                                                                               \
      g_hCtrlModule = hInst;                                                                                          \
      ::DisableThreadLibraryCalls(hInst);                                                                             \
    }                                                                                                                 \
    return TRUE;                                                                                                      \
  }                                                                                                                   \
  extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {                              \
    return CtrlGetClassObject(classes, sizeof classes / sizeof classes[0], clsid, riid, ppv);                         \
  }                                                                                                                   \
  /* Windows the controls made may outlive their objects: the library stays loaded. */                                \
  extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }                                                     \
  extern "C" HRESULT WINAPI DllRegisterServer() { return CtrlRegister(classes, sizeof classes / sizeof classes[0]); } \
  extern "C" HRESULT WINAPI DllUnregisterServer() {                                                                   \
    return CtrlUnregister(classes, sizeof classes / sizeof classes[0]);                                               \
  }
