// The part every stand-in control shares: an in-place active OLE object with one window
// of its own and a dispatch interface answered by the control's Call.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

extern HINSTANCE g_hCtrlModule;

// Arguments in the caller's order (DISPPARAMS holds them last to first).
class CArgs {
 public:
  explicit CArgs(DISPPARAMS* dp) : m_dp(dp) {}
  UINT Count() const { return m_dp ? m_dp->cArgs : 0; }
  VARIANT* At(UINT i) const;
  long Long(UINT i) const;
  LONG_PTR Ptr(UINT i) const;     // VT_I4 or VT_I8 (handles and pointers are pointer-sized)
  std::string Str(UINT i) const;  // a BSTR as ANSI; a null BSTR is empty
  bool IsNullStr(UINT i) const;

 private:
  DISPPARAMS* m_dp;
};

class CCtrlBase : public IOleObject, public IOleInPlaceObject, public IDispatch {
 public:
  explicit CCtrlBase(REFCLSID clsid) : m_clsid(clsid) {}
  virtual ~CCtrlBase();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
  STDMETHODIMP_(ULONG) Release() override;
  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* pSite) override;
  STDMETHODIMP GetClientSite(IOleClientSite** pp) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                      LPCRECT lprcPosRect) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* p) override {
    *p = m_clsid;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
  STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* p) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
  // IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* p) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* p) override {
    *p = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS* dp, VARIANT* pResult, EXCEPINFO*,
                      UINT*) override;

 protected:
  // The control's own window class name and its messages.
  virtual const char* ClassName() const = 0;
  virtual void OnCreated() {}
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // One dispatch member; DISP_E_MEMBERNOTFOUND for the ones the control lacks.
  virtual HRESULT Call(DISPID id, WORD wFlags, const CArgs& args, VARIANT* pResult) = 0;

  static void SetLong(VARIANT* r, long v);
  static void SetPtr(VARIANT* r, LONG_PTR v);
  static void SetBool(VARIANT* r, bool v);
  static void SetStr(VARIANT* r, const std::string& ansi);

  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
  CLSID m_clsid;
  ULONG m_cRef = 1;
  IOleClientSite* m_pSite = nullptr;
  // Every call as "dispid:vt,vt,..." so a test can see the argument types that arrived.
  std::string m_callLog;
};

// The dispid that answers the call log (a test's view, not used by the program).
const DISPID DISPID_CALLLOG = 0x7001;
