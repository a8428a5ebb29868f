// The in-process server: class factories for the three controls and their registration
// (the test harness registers the library in its Wine prefix with regsvr32).
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include "Controls.h"
#include "CtrlBase.h"

namespace {

class CFactory : public IClassFactory {
 public:
  explicit CFactory(IUnknown* (*pfnNew)()) : m_pfnNew(pfnNew) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = this;
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (pOuter) return CLASS_E_NOAGGREGATION;
    IUnknown* p = m_pfnNew();
    HRESULT hr = p->QueryInterface(riid, ppv);
    p->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

 private:
  IUnknown* (*m_pfnNew)();
};

CFactory g_chat(NewChatControl), g_avatar(NewAvatarControl), g_ad(NewAdControl);

struct ClassEntry {
  const CLSID* clsid;
  const char* name;
};
const ClassEntry kClasses[] = {{&CLSID_QKChatEx, "QKChatEx Control"},
                               {&CLSID_QKAvatar, "QKAvatar Control"},
                               {&CLSID_QKAdCtrl, "QKAdCtrl Control"}};

void ClsidKey(const CLSID& clsid, char* out, size_t n) {
  wchar_t w[64];
  ::StringFromGUID2(clsid, w, 64);
  char s[64];
  ::WideCharToMultiByte(CP_ACP, 0, w, -1, s, sizeof s, nullptr, nullptr);
  std::snprintf(out, n, "CLSID\\%s", s);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInst, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_hCtrlModule = hInst;
    ::DisableThreadLibraryCalls(hInst);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (clsid == CLSID_QKChatEx) return g_chat.QueryInterface(riid, ppv);
  if (clsid == CLSID_QKAvatar) return g_avatar.QueryInterface(riid, ppv);
  if (clsid == CLSID_QKAdCtrl) return g_ad.QueryInterface(riid, ppv);
  *ppv = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

// Windows that the controls made may still exist; the library stays loaded.
extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

extern "C" HRESULT WINAPI DllRegisterServer() {
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(g_hCtrlModule, path, MAX_PATH);
  if (!n || n >= MAX_PATH) return SELFREG_E_CLASS;
  for (const auto& c : kClasses) {
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

extern "C" HRESULT WINAPI DllUnregisterServer() {
  for (const auto& c : kClasses) {
    char key[128];
    ClsidKey(*c.clsid, key, sizeof key);
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
  }
  return S_OK;
}
