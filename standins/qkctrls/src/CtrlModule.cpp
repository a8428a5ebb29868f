#include "CtrlModule.h"

#include <cstdio>
#include <cstring>

#include "CtrlBase.h"

STDMETHODIMP CCtrlFactory::QueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IUnknown || riid == IID_IClassFactory) {
    *ppv = this;
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CCtrlFactory::CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (pOuter) return CLASS_E_NOAGGREGATION;
  IUnknown* p = m_pfnNew();
  HRESULT hr = p->QueryInterface(riid, ppv);
  p->Release();
  return hr;
}

namespace {
void ClsidKey(const CLSID& clsid, char* out, size_t n) {
  wchar_t w[64];
  ::StringFromGUID2(clsid, w, 64);
  char s[64];
  ::WideCharToMultiByte(CP_ACP, 0, w, -1, s, sizeof s, nullptr, nullptr);
  std::snprintf(out, n, "CLSID\\%s", s);
}
}  // namespace

HRESULT CtrlGetClassObject(const CtrlClass* classes, size_t n, REFCLSID clsid, REFIID riid, void** ppv) {
  for (size_t i = 0; i < n; ++i)
    if (clsid == *classes[i].clsid) return classes[i].factory->QueryInterface(riid, ppv);
  *ppv = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CtrlRegister(const CtrlClass* classes, size_t count) {
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(g_hCtrlModule, path, MAX_PATH);
  if (!n || n >= MAX_PATH) return SELFREG_E_CLASS;
  for (size_t i = 0; i < count; ++i) {
    const CtrlClass& c = classes[i];
    char key[128], sub[160];
    ClsidKey(*c.clsid, key, sizeof key);
    HKEY h;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
      return SELFREG_E_CLASS;
    ::RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)c.name, (DWORD)strlen(c.name) + 1);
    ::RegCloseKey(h);
    std::snprintf(sub, sizeof sub, "%s\\InprocServer32", key);
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, sub, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
      return SELFREG_E_CLASS;
    ::RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)path, n + 1);
    ::RegSetValueExA(h, "ThreadingModel", 0, REG_SZ, (const BYTE*)"Apartment", 10);
    ::RegCloseKey(h);
    std::snprintf(sub, sizeof sub, "%s\\Control", key);
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, sub, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) == ERROR_SUCCESS)
      ::RegCloseKey(h);
  }
  return S_OK;
}

HRESULT CtrlUnregister(const CtrlClass* classes, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    char key[128];
    ClsidKey(*classes[i].clsid, key, sizeof key);
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
  }
  return S_OK;
}
