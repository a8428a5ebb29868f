#include "CtrlBase.h"

#include <cstdio>

HINSTANCE g_hCtrlModule = nullptr;

VARIANT* CArgs::At(UINT i) const {
  static VARIANT empty;
  if (i >= Count()) {
    ::VariantInit(&empty);
    return &empty;
  }
  VARIANT* v = &m_dp->rgvarg[m_dp->cArgs - 1 - i];
  if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal) v = v->pvarVal;
  return v;
}

long CArgs::Long(UINT i) const {
  VARIANT v;
  ::VariantInit(&v);
  VARIANT* a = At(i);
  if (a->vt == VT_BOOL) return a->boolVal != VARIANT_FALSE;
  if (FAILED(::VariantChangeType(&v, a, 0, VT_I4))) return 0;
  return v.lVal;
}

LONG_PTR CArgs::Ptr(UINT i) const {
  VARIANT* a = At(i);
  if (a->vt == VT_I8) return (LONG_PTR)a->llVal;
  if (a->vt == VT_UI8) return (LONG_PTR)a->ullVal;
  return (LONG_PTR)Long(i);
}

std::string CArgs::Str(UINT i) const {
  VARIANT* a = At(i);
  if (a->vt != VT_BSTR || !a->bstrVal) return std::string();
  int wlen = (int)::SysStringLen(a->bstrVal);
  int n = ::WideCharToMultiByte(CP_ACP, 0, a->bstrVal, wlen, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n : 0, '\0');
  if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, a->bstrVal, wlen, &s[0], n, nullptr, nullptr);
  return s;
}

bool CArgs::IsNullStr(UINT i) const {
  VARIANT* a = At(i);
  return a->vt != VT_BSTR || !a->bstrVal;
}

CCtrlBase::~CCtrlBase() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  if (m_pSite) m_pSite->Release();
}

STDMETHODIMP CCtrlBase::QueryInterface(REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IOleObject)
    *ppv = static_cast<IOleObject*>(this);
  else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow)
    *ppv = static_cast<IOleInPlaceObject*>(this);
  else if (riid == IID_IDispatch)
    *ppv = static_cast<IDispatch*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CCtrlBase::Release() {
  ULONG n = --m_cRef;
  if (!n) delete this;
  return n;
}

STDMETHODIMP CCtrlBase::SetClientSite(IOleClientSite* pSite) {
  if (m_pSite) m_pSite->Release();
  m_pSite = pSite;
  if (m_pSite) m_pSite->AddRef();
  return S_OK;
}

STDMETHODIMP CCtrlBase::GetClientSite(IOleClientSite** pp) {
  *pp = m_pSite;
  if (m_pSite) m_pSite->AddRef();
  return S_OK;
}

STDMETHODIMP CCtrlBase::Close(DWORD) {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  return S_OK;
}

STDMETHODIMP CCtrlBase::GetMiscStatus(DWORD, DWORD* p) {
  *p = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE;
  return S_OK;
}

STDMETHODIMP CCtrlBase::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent, LPCRECT rc) {
  if (iVerb == OLEIVERB_INPLACEACTIVATE && !m_hWnd) {
    IOleInPlaceSite* pIPS = nullptr;
    if (!pActiveSite || FAILED(pActiveSite->QueryInterface(IID_IOleInPlaceSite, (void**)&pIPS))) return E_FAIL;
    pIPS->OnInPlaceActivate();
    pIPS->Release();
    static ATOM registered = 0;
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(g_hCtrlModule, ClassName(), &wc)) {
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = StaticProc;
      wc.hInstance = g_hCtrlModule;
      wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
      wc.lpszClassName = ClassName();
      registered = ::RegisterClassA(&wc);
      (void)registered;
    }
    m_hWnd = ::CreateWindowExA(0, ClassName(), "", WS_CHILD | WS_CLIPCHILDREN, rc->left, rc->top, rc->right - rc->left,
                               rc->bottom - rc->top, hwndParent, nullptr, g_hCtrlModule, this);
    if (!m_hWnd) return E_FAIL;
    OnCreated();
    return S_OK;
  }
  if (iVerb == OLEIVERB_SHOW && m_hWnd) ::ShowWindow(m_hWnd, SW_SHOW);
  return S_OK;
}

STDMETHODIMP CCtrlBase::GetWindow(HWND* p) {
  *p = m_hWnd;
  return m_hWnd ? S_OK : E_FAIL;
}

STDMETHODIMP CCtrlBase::SetObjectRects(LPCRECT pos, LPCRECT) {
  if (m_hWnd && pos) ::MoveWindow(m_hWnd, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
  return S_OK;
}

STDMETHODIMP CCtrlBase::Invoke(DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS* dp, VARIANT* pResult, EXCEPINFO*,
                               UINT*) {
  VARIANT dummy;
  ::VariantInit(&dummy);
  if (!pResult) pResult = &dummy;
  if (id == DISPID_CALLLOG) {
    SetStr(pResult, m_callLog);
    return S_OK;
  }
  char head[32];
  std::snprintf(head, sizeof head, "%ld:", (long)id);
  std::string entry = head;
  UINT n = dp ? dp->cArgs : 0;
  for (UINT i = 0; i < n; ++i) {
    std::snprintf(head, sizeof head, "%s%u", i ? "," : "", (unsigned)dp->rgvarg[n - 1 - i].vt);
    entry += head;
  }
  if (wFlags & DISPATCH_PROPERTYPUT) entry += ":put";
  // The log is for tests: keep it bounded on a long-running client.
  if (m_callLog.size() > 64 * 1024) m_callLog.erase(0, 32 * 1024);
  m_callLog += entry + "\n";
  HRESULT hr = Call(id, wFlags, CArgs(dp), pResult);
  ::VariantClear(&dummy);
  return hr;
}

LRESULT CCtrlBase::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CCtrlBase::StaticProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)cs->lpCreateParams);
    static_cast<CCtrlBase*>(cs->lpCreateParams)->m_hWnd = hWnd;
  }
  auto* self = reinterpret_cast<CCtrlBase*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
    LRESULT r = self->WndProc(msg, wParam, lParam);
    self->m_hWnd = nullptr;
    return r;
  }
  return self->WndProc(msg, wParam, lParam);
}

void CCtrlBase::SetLong(VARIANT* r, long v) {
  ::VariantClear(r);
  r->vt = VT_I4;
  r->lVal = v;
}

void CCtrlBase::SetPtr(VARIANT* r, LONG_PTR v) {
  ::VariantClear(r);
  r->vt = VT_I8;
  r->llVal = v;
}

void CCtrlBase::SetBool(VARIANT* r, bool v) {
  ::VariantClear(r);
  r->vt = VT_BOOL;
  r->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
}

void CCtrlBase::SetStr(VARIANT* r, const std::string& ansi) {
  ::VariantClear(r);
  int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), nullptr, 0);
  BSTR b = ::SysAllocStringLen(nullptr, n > 0 ? n : 0);
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), b, n);
  r->vt = VT_BSTR;
  r->bstrVal = b;
}
