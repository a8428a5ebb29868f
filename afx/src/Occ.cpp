// ActiveX control containment: sites, in-place activation, ambient properties,
// dispatch calls built from VTS_* lists, and event sinks through connection points.
#include <afxdisp.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

const AFX_EVENTSINKMAP* PASCAL CCmdTarget::GetThisEventSinkMap() {
  static const AFX_EVENTSINKMAP_ENTRY entries[] = {{0, 0, nullptr}};
  static const AFX_EVENTSINKMAP map = {nullptr, &entries[0]};
  return &map;
}
const AFX_EVENTSINKMAP* CCmdTarget::GetEventSinkMap() const { return GetThisEventSinkMap(); }

///////////////////////////////////////////////////////////////////////////////
// Exceptions and variants

SCODE PASCAL COleException::Process(const CException* pAnyException) {
  if (pAnyException == nullptr) return E_UNEXPECTED;
  if (pAnyException->IsKindOf(RUNTIME_CLASS(COleException))) return ((COleException*)pAnyException)->m_sc;
  if (pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException))) return E_OUTOFMEMORY;
  if (pAnyException->IsKindOf(RUNTIME_CLASS(CNotSupportedException))) return E_NOTIMPL;
  return E_UNEXPECTED;
}

BOOL COleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  if (!lpszError || !nMaxError) return FALSE;
  snprintf(lpszError, nMaxError, "OLE error 0x%08lX.", (unsigned long)m_sc);
  return TRUE;
}

COleDispatchException::COleDispatchException(LPCSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_scError(0), m_strDescription(lpszDescription), m_dwHelpContext(nHelpID) {}

BOOL COleDispatchException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = m_dwHelpContext;
  if (!lpszError || !nMaxError) return FALSE;
  lstrcpynA(lpszError, m_strDescription.IsEmpty() ? "Automation error." : (LPCSTR)m_strDescription, (int)nMaxError);
  return TRUE;
}

void AFXAPI AfxThrowOleException(SCODE sc) { throw new COleException(sc); }
void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCSTR lpszDescription, UINT nHelpID) {
  throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}

COleVariant::COleVariant(LPCSTR lpszSrc) {
  ::VariantInit(this);
  vt = VT_BSTR;
  bstrVal = CString(lpszSrc).AllocSysString();
}
COleVariant::COleVariant(long lSrc, VARTYPE vtSrc) {
  ::VariantInit(this);
  vt = VT_I4;
  lVal = lSrc;
  if (vtSrc != VT_I4) ChangeType(vtSrc);
}
COleVariant::COleVariant(short nSrc, VARTYPE vtSrc) {
  ::VariantInit(this);
  vt = VT_I2;
  iVal = nSrc;
  if (vtSrc != VT_I2) ChangeType(vtSrc);
}
void COleVariant::ChangeType(VARTYPE vartype, LPVARIANT pSrc) {
  if (pSrc == nullptr) pSrc = this;
  HRESULT hr = ::VariantChangeType(this, pSrc, 0, vartype);
  if (FAILED(hr)) AfxThrowOleException(hr);
}

namespace {
bool g_bContainerEnabled = false;
thread_local bool t_bOleInit = false;
}  // namespace

BOOL AFXAPI AfxOleInit() {
  if (!t_bOleInit) {
    HRESULT hr = ::OleInitialize(nullptr);
    t_bOleInit = SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
  }
  return t_bOleInit;
}

void AFXAPI AfxEnableControlContainer() {
  g_bContainerEnabled = true;
  AfxOleInit();
}

///////////////////////////////////////////////////////////////////////////////
// Sites

class CAfxEventSink;

class COleControlSite : public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleControlSite,
                        public IOleInPlaceFrame,
                        public IDispatch {
 public:
  explicit COleControlSite(COleControlContainer* pCtrlCont);
  virtual ~COleControlSite();

  BOOL CreateControl(CWnd* pWndCtrl, REFCLSID clsid, DWORD dwStyle, const RECT& rect, UINT nID);
  void DestroyControl();
  void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                     va_list argList);
  void OnEvent(DISPID dispid, DISPPARAMS* pDispParams);
  HWND GetContainerHwnd() const;

  COleControlContainer* m_pCtrlCont;
  CWnd* m_pWndCtrl;
  HWND m_hWnd;
  UINT m_nID;
  CRect m_rect;
  IOleObject* m_pObject;
  IOleInPlaceObject* m_pInPlaceObject;
  IDispatch* m_pDispatch;
  IStorage* m_pStorage;
  IConnectionPoint* m_pEventPoint;
  CAfxEventSink* m_pSink;
  DWORD m_dwEventCookie;
  ULONG m_cRef;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG n = --m_cRef;
    if (n == 0) delete this;
    return n;
  }
  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override {
    if (ppmk) *ppmk = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** ppContainer) override {
    if (ppContainer) *ppContainer = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleWindow (shared by the in-place site and frame)
  STDMETHODIMP GetWindow(HWND* phwnd) override {
    if (!phwnd) return E_POINTER;
    *phwnd = GetContainerHwnd();
    return *phwnd ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override;
  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
  STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
  STDMETHODIMP GetExtendedControl(IDispatch** ppDisp) override {
    if (ppDisp) *ppDisp = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
  STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
  // IOleInPlaceUIWindow / IOleInPlaceFrame: the container has no tool space or menus to share.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
  // IDispatch: ambient properties
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
    if (pctinfo) *pctinfo = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pVarResult, EXCEPINFO*,
                      UINT*) override;
};

class COleControlContainer {
 public:
  explicit COleControlContainer(CWnd* pWnd) : m_pWnd(pWnd) {}
  ~COleControlContainer() {
    std::vector<COleControlSite*> sites = m_sites;
    for (COleControlSite* p : sites) p->DestroyControl();
  }
  CWnd* m_pWnd;
  std::vector<COleControlSite*> m_sites;
};

class CAfxEventSink : public IDispatch {
 public:
  CAfxEventSink(COleControlSite* pSite, REFIID iid) : m_pSite(pSite), m_iid(iid), m_cRef(1) {}
  virtual ~CAfxEventSink() = default;
  COleControlSite* m_pSite;  // cleared when the site goes
  IID m_iid;
  ULONG m_cRef;
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, m_iid)) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG n = --m_cRef;
    if (n == 0) delete this;
    return n;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
    if (pctinfo) *pctinfo = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (m_pSite != nullptr) m_pSite->OnEvent(dispIdMember, pDispParams ? pDispParams : &none);
    return S_OK;
  }
};

COleControlSite::COleControlSite(COleControlContainer* pCtrlCont)
    : m_pCtrlCont(pCtrlCont),
      m_pWndCtrl(nullptr),
      m_hWnd(nullptr),
      m_nID(0),
      m_pObject(nullptr),
      m_pInPlaceObject(nullptr),
      m_pDispatch(nullptr),
      m_pStorage(nullptr),
      m_pEventPoint(nullptr),
      m_pSink(nullptr),
      m_dwEventCookie(0),
      m_cRef(1) {}

COleControlSite::~COleControlSite() {}

HWND COleControlSite::GetContainerHwnd() const {
  return (m_pCtrlCont && m_pCtrlCont->m_pWnd) ? m_pCtrlCont->m_pWnd->m_hWnd : nullptr;
}

STDMETHODIMP COleControlSite::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
    *ppv = static_cast<IOleClientSite*>(this);
  else if (IsEqualIID(riid, IID_IOleInPlaceSite) || IsEqualIID(riid, IID_IOleWindow))
    *ppv = static_cast<IOleInPlaceSite*>(this);
  else if (IsEqualIID(riid, IID_IOleControlSite))
    *ppv = static_cast<IOleControlSite*>(this);
  else if (IsEqualIID(riid, IID_IOleInPlaceFrame) || IsEqualIID(riid, IID_IOleInPlaceUIWindow))
    *ppv = static_cast<IOleInPlaceFrame*>(this);
  else if (IsEqualIID(riid, IID_IDispatch))
    *ppv = static_cast<IDispatch*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) {
  if (ppFrame) {
    *ppFrame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
  }
  if (ppDoc) *ppDoc = nullptr;
  if (lprcPosRect) *lprcPosRect = m_rect;
  if (lprcClipRect) *lprcClipRect = m_rect;
  if (lpFrameInfo) {
    lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = GetContainerHwnd();
    lpFrameInfo->haccel = nullptr;
    lpFrameInfo->cAccelEntries = 0;
  }
  return S_OK;
}

STDMETHODIMP COleControlSite::OnPosRectChange(LPCRECT lprcPosRect) {
  if (!lprcPosRect) return E_POINTER;
  m_rect = *lprcPosRect;
  if (m_pInPlaceObject) m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
  return S_OK;
}

STDMETHODIMP COleControlSite::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pVarResult,
                                     EXCEPINFO*, UINT*) {
  if (!pVarResult) return E_POINTER;
  ::VariantInit(pVarResult);
  CWnd* pParent = m_pCtrlCont ? m_pCtrlCont->m_pWnd : nullptr;
  if (pParent && pParent->OnAmbientProperty(this, dispIdMember, pVarResult)) return S_OK;
  switch (dispIdMember) {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_MESSAGEREFLECT:
      pVarResult->vt = VT_BOOL;
      pVarResult->boolVal = dispIdMember == DISPID_AMBIENT_USERMODE ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
      pVarResult->vt = VT_BOOL;
      pVarResult->boolVal = VARIANT_FALSE;
      return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
      pVarResult->vt = VT_I4;
      pVarResult->lVal = (LONG)::GetSysColor(COLOR_WINDOW);
      return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
      pVarResult->vt = VT_I4;
      pVarResult->lVal = (LONG)::GetSysColor(COLOR_WINDOWTEXT);
      return S_OK;
    case DISPID_AMBIENT_LOCALEID:
      pVarResult->vt = VT_I4;
      pVarResult->lVal = (LONG)::GetUserDefaultLCID();
      return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
      pVarResult->vt = VT_BSTR;
      pVarResult->bstrVal = ::SysAllocString(L"");
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

static IID FindEventInterface(IUnknown* pUnk) {
  IID iid = IID_NULL;
  IProvideClassInfo2* pPCI2 = nullptr;
  if (SUCCEEDED(pUnk->QueryInterface(IID_IProvideClassInfo2, (void**)&pPCI2)) && pPCI2) {
    HRESULT hr = pPCI2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid);
    pPCI2->Release();
    if (SUCCEEDED(hr)) return iid;
    iid = IID_NULL;
  }
  IProvideClassInfo* pPCI = nullptr;
  if (SUCCEEDED(pUnk->QueryInterface(IID_IProvideClassInfo, (void**)&pPCI)) && pPCI) {
    ITypeInfo* pClassInfo = nullptr;
    if (SUCCEEDED(pPCI->GetClassInfo(&pClassInfo)) && pClassInfo) {
      TYPEATTR* pAttr = nullptr;
      if (SUCCEEDED(pClassInfo->GetTypeAttr(&pAttr)) && pAttr) {
        for (UINT i = 0; i < pAttr->cImplTypes && IsEqualIID(iid, IID_NULL); i++) {
          int flags = 0;
          if (SUCCEEDED(pClassInfo->GetImplTypeFlags(i, &flags)) &&
              (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) ==
                  (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) {
            HREFTYPE href;
            ITypeInfo* pEventInfo = nullptr;
            if (SUCCEEDED(pClassInfo->GetRefTypeOfImplType(i, &href)) &&
                SUCCEEDED(pClassInfo->GetRefTypeInfo(href, &pEventInfo)) && pEventInfo) {
              TYPEATTR* pEventAttr = nullptr;
              if (SUCCEEDED(pEventInfo->GetTypeAttr(&pEventAttr)) && pEventAttr) {
                iid = pEventAttr->guid;
                pEventInfo->ReleaseTypeAttr(pEventAttr);
              }
              pEventInfo->Release();
            }
          }
        }
        pClassInfo->ReleaseTypeAttr(pAttr);
      }
      pClassInfo->Release();
    }
    pPCI->Release();
  }
  return iid;
}

BOOL COleControlSite::CreateControl(CWnd* pWndCtrl, REFCLSID clsid, DWORD dwStyle, const RECT& rect, UINT nID) {
  m_pWndCtrl = pWndCtrl;
  m_nID = nID;
  m_rect = rect;
  HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IOleObject,
                                  (void**)&m_pObject);
  if (FAILED(hr) || m_pObject == nullptr) {
    m_pObject = nullptr;
    m_pWndCtrl = nullptr;
    DestroyControl();
    return FALSE;
  }
  DWORD dwMisc = 0;
  m_pObject->GetMiscStatus(DVASPECT_CONTENT, &dwMisc);
  IOleClientSite* pClientSite = static_cast<IOleClientSite*>(this);
  if (dwMisc & OLEMISC_SETCLIENTSITEFIRST) m_pObject->SetClientSite(pClientSite);
  IPersistStreamInit* pPSI = nullptr;
  IPersistStorage* pPS = nullptr;
  if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, (void**)&pPSI)) && pPSI) {
    pPSI->InitNew();
    pPSI->Release();
  } else if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStorage, (void**)&pPS)) && pPS) {
    if (SUCCEEDED(::StgCreateDocfile(
            nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE, 0, &m_pStorage)))
      pPS->InitNew(m_pStorage);
    pPS->Release();
  }
  if (!(dwMisc & OLEMISC_SETCLIENTSITEFIRST)) m_pObject->SetClientSite(pClientSite);
  m_pObject->QueryInterface(IID_IDispatch, (void**)&m_pDispatch);

  // Events: the control's default source interface, through its connection point.
  IID iidEvents = FindEventInterface(m_pObject);
  IConnectionPointContainer* pCPC = nullptr;
  if (SUCCEEDED(m_pObject->QueryInterface(IID_IConnectionPointContainer, (void**)&pCPC)) && pCPC) {
    if (IsEqualIID(iidEvents, IID_NULL)) {
      IEnumConnectionPoints* pEnum = nullptr;
      if (SUCCEEDED(pCPC->EnumConnectionPoints(&pEnum)) && pEnum) {
        IConnectionPoint* pCP = nullptr;
        ULONG fetched = 0;
        if (pEnum->Next(1, &pCP, &fetched) == S_OK && pCP) {
          pCP->GetConnectionInterface(&iidEvents);
          pCP->Release();
        }
        pEnum->Release();
      }
    }
    if (!IsEqualIID(iidEvents, IID_NULL) && SUCCEEDED(pCPC->FindConnectionPoint(iidEvents, &m_pEventPoint)) &&
        m_pEventPoint) {
      m_pSink = new CAfxEventSink(this, iidEvents);
      if (FAILED(m_pEventPoint->Advise(static_cast<IDispatch*>(m_pSink), &m_dwEventCookie))) {
        m_pEventPoint->Release();
        m_pEventPoint = nullptr;
      }
    }
    pCPC->Release();
  }

  HDC hdc = ::GetDC(nullptr);
  SIZEL sizel = {::MulDiv(rect.right - rect.left, 2540, ::GetDeviceCaps(hdc, LOGPIXELSX)),
                 ::MulDiv(rect.bottom - rect.top, 2540, ::GetDeviceCaps(hdc, LOGPIXELSY))};
  ::ReleaseDC(nullptr, hdc);
  m_pObject->SetExtent(DVASPECT_CONTENT, &sizel);

  hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, pClientSite, 0, GetContainerHwnd(), &m_rect);
  if (SUCCEEDED(hr) && SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, (void**)&m_pInPlaceObject)) &&
      m_pInPlaceObject) {
    m_pInPlaceObject->GetWindow(&m_hWnd);
    m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
  }
  if (FAILED(hr) || m_hWnd == nullptr) {
    // Windowless or failed controls are not hosted.
    m_pWndCtrl = nullptr;
    DestroyControl();
    return FALSE;
  }
  ::SetWindowLongPtrA(m_hWnd, GWLP_ID, (LONG_PTR)nID);
  if (!pWndCtrl->Attach(m_hWnd)) {
    m_pWndCtrl = nullptr;
    DestroyControl();
    return FALSE;
  }
  pWndCtrl->m_pCtrlSite = this;
  if (dwStyle & WS_VISIBLE)
    m_pObject->DoVerb(OLEIVERB_SHOW, nullptr, pClientSite, 0, GetContainerHwnd(), &m_rect);
  else
    ::ShowWindow(m_hWnd, SW_HIDE);
  return TRUE;
}

void COleControlSite::DestroyControl() {
  AddRef();  // stay alive until the end of this function
  if (m_pEventPoint) {
    m_pEventPoint->Unadvise(m_dwEventCookie);
    m_pEventPoint->Release();
    m_pEventPoint = nullptr;
  }
  if (m_pSink) {
    m_pSink->m_pSite = nullptr;
    m_pSink->Release();
    m_pSink = nullptr;
  }
  if (m_pInPlaceObject) {
    m_pInPlaceObject->InPlaceDeactivate();
    m_pInPlaceObject->Release();
    m_pInPlaceObject = nullptr;
  }
  if (m_pDispatch) {
    m_pDispatch->Release();
    m_pDispatch = nullptr;
  }
  if (m_pObject) {
    m_pObject->Close(OLECLOSE_NOSAVE);
    m_pObject->SetClientSite(nullptr);
    m_pObject->Release();
    m_pObject = nullptr;
  }
  if (m_pStorage) {
    m_pStorage->Release();
    m_pStorage = nullptr;
  }
  if (m_pWndCtrl != nullptr) {
    if (m_pWndCtrl->m_hWnd == m_hWnd) m_pWndCtrl->Detach();
    m_pWndCtrl->m_pCtrlSite = nullptr;
    m_pWndCtrl = nullptr;
  }
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  if (m_pCtrlCont) {
    auto& v = m_pCtrlCont->m_sites;
    auto it = std::find(v.begin(), v.end(), this);
    if (it != v.end()) {
      v.erase(it);
      Release();  // the container's reference
    }
    m_pCtrlCont = nullptr;
  }
  Release();
}

void COleControlSite::OnEvent(DISPID dispid, DISPPARAMS* pDispParams) {
  CWnd* pParent = m_pCtrlCont ? m_pCtrlCont->m_pWnd : nullptr;
  if (pParent == nullptr) return;
  for (const AFX_EVENTSINKMAP* pMap = pParent->GetEventSinkMap(); pMap;
       pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_EVENTSINKMAP_ENTRY* e = pMap->lpEntries; e->pfnDispatch; e++) {
      if (e->nCtlID != m_nID || e->dispid != dispid) continue;
      try {
        if (e->pfnDispatch(pParent, pDispParams)) return;
      } catch (CException* ex) {
        ex->Delete();  // never let a handler's exception travel back into the control
        return;
      }
    }
  }
}

void COleControlSite::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                                    va_list argList) {
  if (m_pDispatch == nullptr) AfxThrowOleException(E_NOINTERFACE);
  DISPPARAMS dp = {nullptr, nullptr, 0, 0};
  DISPID dispidNamed = DISPID_PROPERTYPUT;
  if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    dp.cNamedArgs = 1;
    dp.rgdispidNamedArgs = &dispidNamed;
  }
  UINT nArgs = pbParamInfo ? (UINT)strlen((const char*)pbParamInfo) : 0;
  std::vector<VARIANT> args(nArgs);
  std::vector<bool> owned(nArgs, false);
  struct BoolBack {
    VARIANT_BOOL vb;
    BOOL* p;
  };
  std::vector<BoolBack> bools(nArgs);
  for (UINT i = 0; i < nArgs; i++) {
    UINT k = nArgs - 1 - i;  // DISPPARAMS take the arguments last to first
    VARIANT& v = args[k];
    ::VariantInit(&v);
    BYTE b = pbParamInfo[i];
    bool bByRef = (b & 0x40) != 0;
    VARTYPE vt = (VARTYPE)(b & ~0x40);
    if (!bByRef) {
      switch (vt) {
        case VT_I2:
          v.vt = VT_I2;
          v.iVal = (SHORT)va_arg(argList, int);
          break;
        case VT_I4:
          v.vt = VT_I4;
          v.lVal = va_arg(argList, long);
          break;
        case VT_R4:
          v.vt = VT_R4;
          v.fltVal = (float)va_arg(argList, double);
          break;
        case VT_R8:
          v.vt = VT_R8;
          v.dblVal = va_arg(argList, double);
          break;
        case VT_DATE:
          v.vt = VT_DATE;
          v.date = va_arg(argList, DATE);
          break;
        case VT_CY:
          v.vt = VT_CY;
          v.cyVal = va_arg(argList, CY);
          break;
        case VT_BSTR: {
          LPCSTR psz = va_arg(argList, LPCSTR);
          v.vt = VT_BSTR;
          v.bstrVal = CString(psz ? psz : "").AllocSysString();
          owned[k] = true;
          break;
        }
        case 0x0E: {  // wide string
          LPCOLESTR pwsz = va_arg(argList, LPCOLESTR);
          v.vt = VT_BSTR;
          v.bstrVal = ::SysAllocString(pwsz ? pwsz : L"");
          owned[k] = true;
          break;
        }
        case VT_DISPATCH:
          v.vt = VT_DISPATCH;
          v.pdispVal = va_arg(argList, LPDISPATCH);
          break;
        case VT_ERROR:
          v.vt = VT_ERROR;
          v.scode = va_arg(argList, SCODE);
          break;
        case VT_BOOL:
          v.vt = VT_BOOL;
          v.boolVal = va_arg(argList, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
          break;
        case VT_VARIANT: {
          const VARIANT* pv = va_arg(argList, const VARIANT*);
          if (pv) v = *pv;  // borrowed, not freed here
          break;
        }
        case VT_UNKNOWN:
          v.vt = VT_UNKNOWN;
          v.punkVal = va_arg(argList, LPUNKNOWN);
          break;
        case VT_I1:
          v.vt = VT_I1;
          v.cVal = (CHAR)va_arg(argList, int);
          break;
        case VT_UI1:
          v.vt = VT_UI1;
          v.bVal = (BYTE)va_arg(argList, int);
          break;
        case VT_UI2:
          v.vt = VT_UI2;
          v.uiVal = (USHORT)va_arg(argList, int);
          break;
        case VT_UI4:
          v.vt = VT_UI4;
          v.ulVal = va_arg(argList, ULONG);
          break;
        case VT_I8:
          v.vt = VT_I8;
          v.llVal = va_arg(argList, LONGLONG);
          break;
        case VT_UI8:
          v.vt = VT_UI8;
          v.ullVal = va_arg(argList, ULONGLONG);
          break;
        default:
          for (UINT j = 0; j < nArgs; j++)
            if (owned[j]) ::VariantClear(&args[j]);
          AfxThrowOleException(DISP_E_BADVARTYPE);
      }
    } else {
      v.vt = (VARTYPE)(vt | VT_BYREF);
      switch (vt) {
        case VT_I2:
          v.piVal = va_arg(argList, short*);
          break;
        case VT_I4:
          v.plVal = (LONG*)va_arg(argList, long*);
          break;
        case VT_R4:
          v.pfltVal = va_arg(argList, float*);
          break;
        case VT_R8:
          v.pdblVal = va_arg(argList, double*);
          break;
        case VT_BSTR:
          v.pbstrVal = va_arg(argList, BSTR*);
          break;
        case VT_DISPATCH:
          v.ppdispVal = va_arg(argList, LPDISPATCH*);
          break;
        case VT_UNKNOWN:
          v.ppunkVal = va_arg(argList, LPUNKNOWN*);
          break;
        case VT_VARIANT:
          v.pvarVal = va_arg(argList, VARIANT*);
          break;
        case VT_UI1:
          v.pbVal = va_arg(argList, BYTE*);
          break;
        case VT_I8:
          v.pllVal = va_arg(argList, LONGLONG*);
          break;
        case VT_BOOL: {
          // BOOL* for the caller, VARIANT_BOOL* for the control.
          bools[k].p = va_arg(argList, BOOL*);
          bools[k].vb = (bools[k].p && *bools[k].p) ? VARIANT_TRUE : VARIANT_FALSE;
          v.pboolVal = &bools[k].vb;
          break;
        }
        default:
          for (UINT j = 0; j < nArgs; j++)
            if (owned[j]) ::VariantClear(&args[j]);
          AfxThrowOleException(DISP_E_BADVARTYPE);
      }
    }
  }
  dp.cArgs = nArgs;
  dp.rgvarg = nArgs ? args.data() : nullptr;
  VARIANT vaResult;
  ::VariantInit(&vaResult);
  EXCEPINFO excepInfo = {};
  UINT nArgErr = (UINT)-1;
  HRESULT hr = m_pDispatch->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &dp,
                                   vtRet == VT_EMPTY ? nullptr : &vaResult, &excepInfo, &nArgErr);
  for (UINT j = 0; j < nArgs; j++) {
    if (owned[j]) ::VariantClear(&args[j]);
    if (args[j].vt == (VT_BOOL | VT_BYREF) && bools[j].p) *bools[j].p = bools[j].vb != VARIANT_FALSE;
  }
  if (FAILED(hr)) {
    ::VariantClear(&vaResult);
    if (hr == DISP_E_EXCEPTION) {
      if (excepInfo.pfnDeferredFillIn) excepInfo.pfnDeferredFillIn(&excepInfo);
      COleDispatchException* e = new COleDispatchException(nullptr, excepInfo.dwHelpContext, excepInfo.wCode);
      e->m_scError = excepInfo.scode ? excepInfo.scode : E_UNEXPECTED;
      if (excepInfo.bstrDescription) e->m_strDescription = excepInfo.bstrDescription;
      if (excepInfo.bstrSource) e->m_strSource = excepInfo.bstrSource;
      if (excepInfo.bstrHelpFile) e->m_strHelpFile = excepInfo.bstrHelpFile;
      ::SysFreeString(excepInfo.bstrDescription);
      ::SysFreeString(excepInfo.bstrSource);
      ::SysFreeString(excepInfo.bstrHelpFile);
      throw e;
    }
    AfxThrowOleException(hr);
  }
  if (vtRet == VT_EMPTY || pvRet == nullptr) {
    ::VariantClear(&vaResult);
    return;
  }
  if (vtRet != VT_VARIANT) {
    hr = ::VariantChangeType(&vaResult, &vaResult, 0, vtRet);
    if (FAILED(hr)) {
      ::VariantClear(&vaResult);
      AfxThrowOleException(hr);
    }
  }
  switch (vtRet) {
    case VT_I2:
      *(short*)pvRet = vaResult.iVal;
      break;
    case VT_I4:
      *(long*)pvRet = vaResult.lVal;
      break;
    case VT_R4:
      *(float*)pvRet = vaResult.fltVal;
      break;
    case VT_R8:
      *(double*)pvRet = vaResult.dblVal;
      break;
    case VT_DATE:
      *(DATE*)pvRet = vaResult.date;
      break;
    case VT_CY:
      *(CY*)pvRet = vaResult.cyVal;
      break;
    case VT_BSTR:
      *(CString*)pvRet = vaResult.bstrVal;  // ANSI build: the caller gets a CString
      ::VariantClear(&vaResult);
      break;
    case VT_DISPATCH:
      *(LPDISPATCH*)pvRet = vaResult.pdispVal;
      break;  // the reference goes to the caller
    case VT_UNKNOWN:
      *(LPUNKNOWN*)pvRet = vaResult.punkVal;
      break;
    case VT_ERROR:
      *(SCODE*)pvRet = vaResult.scode;
      break;
    case VT_BOOL:
      *(BOOL*)pvRet = vaResult.boolVal != VARIANT_FALSE;
      break;
    case VT_VARIANT:
      *(VARIANT*)pvRet = vaResult;
      break;  // moved to the caller
    case VT_I1:
    case VT_UI1:
      *(BYTE*)pvRet = vaResult.bVal;
      break;
    case VT_UI2:
      *(USHORT*)pvRet = vaResult.uiVal;
      break;
    case VT_UI4:
      *(ULONG*)pvRet = vaResult.ulVal;
      break;
    case VT_I8:
      *(LONGLONG*)pvRet = vaResult.llVal;
      break;
    case VT_UI8:
      *(ULONGLONG*)pvRet = vaResult.ullVal;
      break;
    default:
      ::VariantClear(&vaResult);
      AfxThrowOleException(DISP_E_BADVARTYPE);
  }
}

///////////////////////////////////////////////////////////////////////////////
// CWnd side

BOOL CWnd::CreateControl(REFCLSID clsid, LPCSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, CFile*,
                         BOOL, BSTR) {
  if (!g_bContainerEnabled || pParentWnd == nullptr || pParentWnd->m_hWnd == nullptr || m_hWnd != nullptr) return FALSE;
  AfxOleInit();
  if (pParentWnd->m_pCtrlCont == nullptr) pParentWnd->m_pCtrlCont = new COleControlContainer(pParentWnd);
  COleControlSite* pSite = new COleControlSite(pParentWnd->m_pCtrlCont);
  pParentWnd->m_pCtrlCont->m_sites.push_back(pSite);  // holds the site's first reference
  pParentWnd->m_nFlags |= WF_OLECTLCONTAINER;
  if (!pSite->CreateControl(this, clsid, dwStyle, rect, nID)) return FALSE;  // the site removed itself
  return TRUE;
}

BOOL CWnd::CreateControl(LPCSTR lpszClass, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID, CFile* pPersist, BOOL bStorage, BSTR bstrLicKey) {
  CLSID clsid;
  int n = ::MultiByteToWideChar(CP_ACP, 0, lpszClass ? lpszClass : "", -1, nullptr, 0);
  std::vector<WCHAR> w(n > 0 ? n : 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, lpszClass ? lpszClass : "", -1, w.data(), n);
  HRESULT hr = (w[0] == L'{') ? ::CLSIDFromString(w.data(), &clsid) : ::CLSIDFromProgID(w.data(), &clsid);
  if (FAILED(hr)) return FALSE;
  return CreateControl(clsid, lpszWindowName, dwStyle, rect, pParentWnd, nID, pPersist, bStorage, bstrLicKey);
}

void AFX_CDECL CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                                  ...) {
  if (m_pCtrlSite == nullptr) AfxThrowOleException(E_UNEXPECTED);  // no control was created
  va_list argList;
  va_start(argList, pbParamInfo);
  try {
    m_pCtrlSite->InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
  } catch (...) {
    va_end(argList);
    throw;
  }
  va_end(argList);
}

void AFX_CDECL CWnd::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...) {
  if (m_pCtrlSite == nullptr) AfxThrowOleException(E_UNEXPECTED);
  BYTE rgbParams[2] = {(BYTE)vtProp, 0};
  WORD wFlags = (vtProp == VT_DISPATCH || vtProp == VT_UNKNOWN) ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  va_list argList;
  va_start(argList, vtProp);
  try {
    m_pCtrlSite->InvokeHelperV(dwDispID, wFlags, VT_EMPTY, nullptr, rgbParams, argList);
  } catch (...) {
    va_end(argList);
    throw;
  }
  va_end(argList);
}

static void InvokeNoArgs(COleControlSite* pSite, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, ...) {
  va_list argList;
  va_start(argList, pvRet);
  try {
    pSite->InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, nullptr, argList);
  } catch (...) {
    va_end(argList);
    throw;
  }
  va_end(argList);
}

void CWnd::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const {
  if (m_pCtrlSite == nullptr) AfxThrowOleException(E_UNEXPECTED);
  InvokeNoArgs(m_pCtrlSite, dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp);
}

IUnknown* CWnd::GetControlUnknown() { return m_pCtrlSite ? m_pCtrlSite->m_pObject : nullptr; }

BOOL AFXAPI AfxDestroyControlSite(CWnd* pWnd) {
  if (pWnd->m_pCtrlSite == nullptr) return FALSE;
  pWnd->m_pCtrlSite->DestroyControl();
  return TRUE;
}

void AFXAPI AfxDeleteControlContainer(CWnd* pWnd) {
  COleControlContainer* pCont = pWnd->m_pCtrlCont;
  pWnd->m_pCtrlCont = nullptr;
  delete pCont;
}
