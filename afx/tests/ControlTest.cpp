// ActiveX containment with a small control of the test's own, registered for this
// process only: creation by CLSID, dispatch calls with the right VARIANT types,
// an event fired back to the parent's sink map, and dispatch exceptions.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// {5A0F7C31-6E2B-4C7B-9D55-2B8E4A1C0D11}
const CLSID CLSID_TestControl = {0x5a0f7c31, 0x6e2b, 0x4c7b, {0x9d, 0x55, 0x2b, 0x8e, 0x4a, 0x1c, 0x0d, 0x11}};
// {5A0F7C32-6E2B-4C7B-9D55-2B8E4A1C0D11}: the control's event interface
const IID DIID_TestEvents = {0x5a0f7c32, 0x6e2b, 0x4c7b, {0x9d, 0x55, 0x2b, 0x8e, 0x4a, 0x1c, 0x0d, 0x11}};

struct Call {
  DISPID dispid;
  WORD flags;
  std::vector<VARTYPE> types;  // in the caller's order
};
std::vector<Call> g_calls;
int g_nClosed = 0;
VARIANT_BOOL g_cancelSeen = 0;

class TestControl : public IOleObject,
                    public IOleInPlaceObject,
                    public IDispatch,
                    public IConnectionPointContainer,
                    public IConnectionPoint,
                    public IProvideClassInfo2 {
 public:
  ULONG m_cRef = 1;
  IOleClientSite* m_pSite = nullptr;
  IDispatch* m_pSink = nullptr;
  HWND m_hWnd = nullptr;
  long m_value = 0;
  virtual ~TestControl() = default;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleObject)
      *ppv = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow)
      *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IDispatch)
      *ppv = static_cast<IDispatch*>(this);
    else if (riid == IID_IConnectionPointContainer)
      *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IProvideClassInfo2 || riid == IID_IProvideClassInfo)
      *ppv = static_cast<IProvideClassInfo2*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG n = --m_cRef;
    if (!n) delete this;
    return n;
  }
  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* pSite) override {
    if (m_pSite) m_pSite->Release();
    m_pSite = pSite;
    if (m_pSite) m_pSite->AddRef();
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** pp) override {
    *pp = m_pSite;
    if (m_pSite) m_pSite->AddRef();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    g_nClosed++;
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return S_OK;
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                      LPCRECT lprcPosRect) override {
    if (iVerb == OLEIVERB_INPLACEACTIVATE && !m_hWnd) {
      // In-place activation as a real control does it: ask the site for the context, make a window.
      IOleInPlaceSite* pIPS = nullptr;
      if (FAILED(pActiveSite->QueryInterface(IID_IOleInPlaceSite, (void**)&pIPS))) return E_FAIL;
      HWND hParent = nullptr;
      pIPS->GetWindow(&hParent);
      IOleInPlaceFrame* pFrame = nullptr;
      IOleInPlaceUIWindow* pDoc = nullptr;
      RECT pos, clip;
      OLEINPLACEFRAMEINFO info = {sizeof(info)};
      pIPS->GetWindowContext(&pFrame, &pDoc, &pos, &clip, &info);
      if (pFrame) pFrame->Release();
      pIPS->OnInPlaceActivate();
      pIPS->Release();
      if (hParent != hwndParent) return E_FAIL;
      m_hWnd = ::CreateWindowExA(0, "STATIC", "control", WS_CHILD, lprcPosRect->left, lprcPosRect->top,
                                 lprcPosRect->right - lprcPosRect->left, lprcPosRect->bottom - lprcPosRect->top,
                                 hwndParent, nullptr, nullptr, nullptr);
      return m_hWnd ? S_OK : E_FAIL;
    }
    if (iVerb == OLEIVERB_SHOW && m_hWnd) ::ShowWindow(m_hWnd, SW_SHOW);
    return S_OK;
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* p) override {
    *p = CLSID_TestControl;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
  STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  // Unadvise serves both IOleObject and IConnectionPoint (same signature).
  STDMETHODIMP Unadvise(DWORD dwCookie) override {
    if (dwCookie == 1 && m_pSink) {
      m_pSink->Release();
      m_pSink = nullptr;
    }
    return S_OK;
  }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* p) override {
    *p = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
  // IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* p) override {
    *p = m_hWnd;
    return m_hWnd ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override {
    if (m_hWnd) ::MoveWindow(m_hWnd, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
  }
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  // IDispatch: records what arrives and answers a few members.
  STDMETHODIMP GetTypeInfoCount(UINT* p) override {
    *p = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS* dp, VARIANT* pResult, EXCEPINFO* pEx,
                      UINT*) override {
    Call c{id, wFlags, {}};
    for (UINT i = dp->cArgs; i-- > 0;) c.types.push_back(dp->rgvarg[i].vt);
    g_calls.push_back(c);
    auto arg = [&](UINT i) -> VARIANT& { return dp->rgvarg[dp->cArgs - 1 - i]; };
    switch (id) {
      case 1:  // Sum(long, short, BOOL) -> long
        pResult->vt = VT_I4;
        pResult->lVal = arg(0).lVal + arg(1).iVal + (arg(2).boolVal == VARIANT_TRUE ? 1000 : 0);
        return S_OK;
      case 2: {  // Echo(BSTR, long*, short*, VARIANT*) -> BSTR
        *arg(1).plVal = 99;
        *arg(2).piVal = -7;
        VariantClear(arg(3).pvarVal);
        arg(3).pvarVal->vt = VT_I4;
        arg(3).pvarVal->lVal = 1234;
        pResult->vt = VT_BSTR;
        pResult->bstrVal = SysAllocString(arg(0).bstrVal);
        return S_OK;
      }
      case 3: {  // Fire: WindowClosing(BOOL IsChildWindow, BOOL* Cancel)
        if (!m_pSink) return E_FAIL;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT a[2];
        a[1].vt = VT_BOOL;
        a[1].boolVal = VARIANT_TRUE;
        a[0].vt = VT_BOOL | VT_BYREF;
        a[0].pboolVal = &cancel;
        DISPPARAMS ep = {a, nullptr, 2, 0};
        m_pSink->Invoke(263, IID_NULL, 0, DISPATCH_METHOD, &ep, nullptr, nullptr, nullptr);
        g_cancelSeen = cancel;
        return S_OK;
      }
      case 4:  // Value property
        if (wFlags & DISPATCH_PROPERTYPUT) {
          if (dp->cNamedArgs != 1 || dp->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTOPTIONAL;
          m_value = arg(0).lVal;
          return S_OK;
        }
        pResult->vt = VT_I4;
        pResult->lVal = m_value;
        return S_OK;
      case 5:  // always fails with a description
        pEx->wCode = 1001;
        pEx->bstrDescription = SysAllocString(L"\x786E\x5B9A failure");
        return DISP_E_EXCEPTION;
      case 6:  // Handle(VT_I8) echoes a pointer-sized value
        pResult->vt = VT_I8;
        pResult->llVal = arg(0).llVal;
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }
  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    if (riid != DIID_TestEvents) return CONNECT_E_NOCONNECTION;
    *ppCP = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  // IConnectionPoint
  STDMETHODIMP GetConnectionInterface(IID* p) override {
    *p = DIID_TestEvents;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** pp) override {
    *pp = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP Advise(IUnknown* pUnk, DWORD* pdwCookie) override {
    if (FAILED(pUnk->QueryInterface(DIID_TestEvents, (void**)&m_pSink))) return CONNECT_E_CANNOTCONNECT;
    *pdwCookie = 1;
    return S_OK;
  }
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetGUID(DWORD kind, GUID* p) override {
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *p = DIID_TestEvents;
    return S_OK;
  }
};

class TestFactory : public IClassFactory {
 public:
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
    if (pOuter) return CLASS_E_NOAGGREGATION;
    TestControl* p = new TestControl;
    HRESULT hr = p->QueryInterface(riid, ppv);
    p->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
} g_factory;

// The program's kind of wrapper: Create goes through CreateControl, members are InvokeHelper calls.
class CTestCtrl : public CWnd {
  DECLARE_DYNCREATE(CTestCtrl)
 public:
  BOOL Create(LPCSTR, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
              CCreateContext* = nullptr) override {
    return CreateControl(CLSID_TestControl, lpszWindowName, dwStyle, rect, pParentWnd, nID);
  }
  long Sum(long a, short b, BOOL c) {
    long result = 0;
    static const BYTE parms[] = VTS_I4 VTS_I2 VTS_BOOL;
    InvokeHelper(1, DISPATCH_METHOD, VT_I4, (void*)&result, parms, a, b, c);
    return result;
  }
  CString Echo(LPCSTR s, long* pl, short* ps, VARIANT* pv) {
    CString result;
    static const BYTE parms[] = VTS_BSTR VTS_PI4 VTS_PI2 VTS_PVARIANT;
    InvokeHelper(2, DISPATCH_METHOD, VT_BSTR, (void*)&result, parms, s, pl, ps, pv);
    return result;
  }
  void Fire() { InvokeHelper(3, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr); }
  void SetValue(long v) { SetProperty(4, VT_I4, v); }
  long GetValue() {
    long v = 0;
    GetProperty(4, VT_I4, &v);
    return v;
  }
  void Fail() { InvokeHelper(5, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr); }
  LONGLONG Handle(HWND h) {
    LONGLONG r = 0;
    static const BYTE parms[] = VTS_I8;
    InvokeHelper(6, DISPATCH_METHOD, VT_I8, (void*)&r, parms, (LONGLONG)(INT_PTR)h);
    return r;
  }
};
IMPLEMENT_DYNCREATE(CTestCtrl, CWnd)

class CHostWnd : public CWnd {
 public:
  std::vector<std::string> events;
  void OnWindowClosing(BOOL bIsChildWindow, BOOL* pCancel) {
    events.push_back(bIsChildWindow ? "closing child" : "closing top");
    *pCancel = TRUE;
  }
  DECLARE_EVENTSINK_MAP()
};
BEGIN_EVENTSINK_MAP(CHostWnd, CWnd)
  ON_EVENT(CHostWnd, 77, 263, OnWindowClosing, VTS_BOOL VTS_PBOOL)
END_EVENTSINK_MAP()

class ControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(AfxOleInit());
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestControl, &g_factory, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
  }
  void SetUp() override {
    ASSERT_TRUE(
        host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    g_calls.clear();
  }
  void TearDown() override {
    if (host.m_hWnd) host.DestroyWindow();
  }
  CHostWnd host;
};

TEST_F(ControlTest, NeedsHostingEnabledAndAKnownClass) {
  CTestCtrl ctrl;
  EXPECT_FALSE(ctrl.Create(nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &host, 77));
  AfxEnableControlContainer();
  CWnd unknown;
  CLSID none = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_FALSE(unknown.CreateControl(none, "x", WS_CHILD, CRect(0, 0, 10, 10), &host, 78));
  EXPECT_EQ(unknown.m_hWnd, nullptr);
  try {
    unknown.InvokeHelper(1, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    ADD_FAILURE();
  } catch (COleException* e) {
    e->Delete();
  }
}

TEST_F(ControlTest, DispatchCallsCarryTheRightTypes) {
  AfxEnableControlContainer();
  CTestCtrl* pCtrl = (CTestCtrl*)RUNTIME_CLASS(CTestCtrl)->CreateObject();
  ASSERT_TRUE(pCtrl->Create(nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &host, 77));
  ASSERT_NE(pCtrl->m_hWnd, nullptr);
  EXPECT_EQ(pCtrl->GetDlgCtrlID(), 77);
  EXPECT_EQ(pCtrl->GetParent(), &host);
  EXPECT_TRUE(pCtrl->IsWindowVisible() || !host.IsWindowVisible());
  EXPECT_NE(pCtrl->GetControlUnknown(), nullptr);

  EXPECT_EQ(pCtrl->Sum(40, 2, TRUE), 1042);
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].flags, DISPATCH_METHOD);
  EXPECT_EQ(g_calls[0].types, (std::vector<VARTYPE>{VT_I4, VT_I2, VT_BOOL}));

  long l = 0;
  short s = 0;
  VARIANT v;
  VariantInit(&v);
  EXPECT_STREQ(pCtrl->Echo("\xC8\xB7\xB6\xA8", &l, &s, &v), "\xC8\xB7\xB6\xA8");
  EXPECT_EQ(g_calls[1].types,
            (std::vector<VARTYPE>{VT_BSTR, VT_I4 | VT_BYREF, VT_I2 | VT_BYREF, VT_VARIANT | VT_BYREF}));
  EXPECT_EQ(l, 99);
  EXPECT_EQ(s, -7);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 1234);

  pCtrl->SetValue(17);
  EXPECT_EQ(g_calls[2].flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(pCtrl->GetValue(), 17);
  EXPECT_EQ(g_calls[3].flags, DISPATCH_PROPERTYGET);

  HWND hBig = (HWND)(INT_PTR)0x123456789LL;  // pointer-sized values survive the trip
  EXPECT_EQ(pCtrl->Handle(hBig), 0x123456789LL);
  EXPECT_EQ(g_calls[4].types, std::vector<VARTYPE>{VT_I8});

  try {
    pCtrl->Fail();
    ADD_FAILURE();
  } catch (COleDispatchException* e) {
    EXPECT_EQ(e->m_wCode, 1001);
    EXPECT_STREQ(e->m_strDescription, "\xC8\xB7\xB6\xA8 failure");
    e->Delete();
  }

  int nClosed = g_nClosed;
  HWND hCtrl = pCtrl->m_hWnd;
  EXPECT_TRUE(pCtrl->DestroyWindow());
  EXPECT_EQ(g_nClosed, nClosed + 1);
  EXPECT_FALSE(::IsWindow(hCtrl));
  EXPECT_EQ(pCtrl->m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hCtrl), nullptr);
  delete pCtrl;
}

TEST_F(ControlTest, EventsReachTheParentsSinkMap) {
  AfxEnableControlContainer();
  CTestCtrl ctrl;
  ASSERT_TRUE(ctrl.Create(nullptr, "c", WS_CHILD, CRect(0, 0, 50, 50), &host, 77));
  g_cancelSeen = VARIANT_FALSE;
  ctrl.Fire();
  EXPECT_EQ(host.events, std::vector<std::string>{"closing child"});
  EXPECT_EQ(g_cancelSeen, VARIANT_TRUE);  // the handler's answer went back to the control
  // Destroying the parent closes the control it hosts.
  int nClosed = g_nClosed;
  host.DestroyWindow();
  EXPECT_EQ(g_nClosed, nClosed + 1);
  EXPECT_EQ(ctrl.m_hWnd, nullptr);
}

}  // namespace
