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
