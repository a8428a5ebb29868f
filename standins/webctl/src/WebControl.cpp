#include "WebControl.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "CtrlBase.h"
#include "PageFetch.h"
#include "PlainPage.h"
#include "WebAddress.h"

namespace {

const UINT kPageFetched = WM_APP + 1;  // wParam: navigation number, lParam: FetchResult*
const char kRefusedText[] = "This address is not opened here.";
const char kUnreachableText[] = "(web page; its content could not be fetched)";

// One web page fetched off the window's thread; the result goes back as a posted message.
struct FetchJob {
  HWND hWnd;
  UINT number;
  std::string url;
};

struct FetchResult {
  std::string url;
  vcef::Fetched page;
};

DWORD WINAPI FetchThread(LPVOID p) {
  std::unique_ptr<FetchJob> job(static_cast<FetchJob*>(p));
  auto* r = new FetchResult{job->url, {}};
  if (!vcef::FetchHttp(job->url, &r->page)) {
    r->page.code = -1;
    r->page.mime = "text/plain";
    r->page.body = kUnreachableText;
  }
  if (!::PostMessageA(job->hWnd, kPageFetched, job->number, (LPARAM)r)) delete r;  // the control is gone
  return 0;
}

class CWebControl : public CCtrlBase,
                    public IConnectionPointContainer,
                    public IConnectionPoint,
                    public IProvideClassInfo2 {
 public:
  CWebControl() : CCtrlBase(CLSID_VeskWebBrowser) {}
  ~CWebControl() override {
    if (m_pSink) m_pSink->Release();
  }

  // IUnknown, for every base
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IConnectionPointContainer)
      *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2)
      *ppv = static_cast<IProvideClassInfo2*>(this);
    else
      return CCtrlBase::QueryInterface(riid, ppv);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return CCtrlBase::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return CCtrlBase::Release(); }

  // IConnectionPointContainer: one point, the browser's events.
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** pp) override {
    *pp = nullptr;
    if (riid != DIID_VeskWebBrowserEvents) return CONNECT_E_NOCONNECTION;
    *pp = this;
    AddRef();
    return S_OK;
  }
  // IConnectionPoint: one sink (the container's).
  STDMETHODIMP GetConnectionInterface(IID* p) override {
    *p = DIID_VeskWebBrowserEvents;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** pp) override {
    *pp = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP Advise(IUnknown* pUnk, DWORD* pCookie) override {
    if (m_pSink) return CONNECT_E_ADVISELIMIT;
    if (!pUnk || FAILED(pUnk->QueryInterface(IID_IDispatch, (void**)&m_pSink))) return CONNECT_E_CANNOTCONNECT;
    *pCookie = 1;
    return S_OK;
  }
  STDMETHODIMP Unadvise(DWORD cookie) override {
    if (cookie != 1 || !m_pSink) return CONNECT_E_NOCONNECTION;
    m_pSink->Release();
    m_pSink = nullptr;
    return S_OK;
  }
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
  // IProvideClassInfo2: the default event interface.
  STDMETHODIMP GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetGUID(DWORD kind, GUID* p) override {
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *p = DIID_VeskWebBrowserEvents;
    return S_OK;
  }

 protected:
  const char* ClassName() const override { return kWebPageClass; }
  HRESULT Call(DISPID id, WORD wFlags, const CArgs& args, VARIANT* pResult) override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Navigate(const std::string& url);
  void Show(const vcef::PlainPage& page);
  void Refuse(const std::string& url);
  void OnFetched(UINT number, FetchResult* r);
  void FollowLink(int x, int y);
  void SetPageStr(VARIANT* r, const std::string& text) const;
  void Paint(HDC dc);
  void ScrollBy(int pixels);
  void Fire(DISPID id, std::vector<VARIANT>& args);  // args in the event's order
  void FireCompleted(const std::string& url);
  void FireError(const std::string& url);
  void FireWindowClosing();

  IDispatch* m_pSink = nullptr;
  vcef::PlainPage m_page;
  vcef::PlacedLinks m_links;
  UINT m_nNavigation = 0;  // results of an older navigation are dropped
  bool m_bBusy = false;
  int m_nScroll = 0;         // pixels of the page above the window
  int m_nContentHeight = 0;  // of the page as last painted
  int m_nWheel = 0;          // wheel movement short of a notch
};

HRESULT CWebControl::Call(DISPID id, WORD wFlags, const CArgs& args, VARIANT* pResult) {
  if (wFlags & DISPATCH_PROPERTYPUT) return DISP_E_MEMBERNOTFOUND;
  switch (id) {
    case DISPID_WB_NAVIGATE:
      Navigate(args.Str(0));
      return S_OK;
    case DISPID_WB_REFRESH:
      Navigate(m_page.address);
      return S_OK;
    case DISPID_WB_STOP:
      ++m_nNavigation;
      m_bBusy = false;
      return S_OK;
    case DISPID_WB_LOCATIONURL:
      SetStr(pResult, m_page.address);
      return S_OK;
    case DISPID_WB_LOCATIONNAME:
      SetPageStr(pResult, m_page.title);
      return S_OK;
    case DISPID_WB_BUSY:
      SetBool(pResult, m_bBusy);
      return S_OK;
    case DISPID_WB_READYSTATE:
      SetLong(pResult, m_bBusy ? 1 : 4);  // loading, complete
      return S_OK;
    case DISPID_WB_PAGETEXT:
      SetPageStr(pResult, m_page.text);
      return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

// The page's own texts in the encoding the page was read in.
void CWebControl::SetPageStr(VARIANT* r, const std::string& text) const {
  ::VariantClear(r);
  const std::wstring w = vcef::ToWide(text, m_page.utf8);
  r->vt = VT_BSTR;
  r->bstrVal = ::SysAllocStringLen(w.data(), (UINT)w.size());
}

void CWebControl::Navigate(const std::string& url) {
  const UINT number = ++m_nNavigation;
  m_bBusy = false;
  switch (webctl::Classify(url)) {
    case webctl::Target::kBlank: {
      vcef::PlainPage blank;
      blank.address = url.empty() ? url : "about:blank";
      Show(blank);
      FireCompleted(blank.address);
      return;
    }
    case webctl::Target::kLocalPage: {
      vcef::Fetched f = vcef::ReadLocalFile(url);
      if (f.code) {
        Show(vcef::MakePlainPage(url, "text/plain", "This page could not be loaded."));
        FireError(url);
        return;
      }
      Show(vcef::MakePlainPage(url, vcef::ContentType(f), f.body));
      FireCompleted(url);
      return;
    }
    case webctl::Target::kRefused:
      Refuse(url);
      return;
    case webctl::Target::kWeb:
      break;
  }
  if (!m_hWnd) return;
  m_bBusy = true;
  HANDLE h = ::CreateThread(nullptr, 0, FetchThread, new FetchJob{m_hWnd, number, url}, 0, nullptr);
  if (h)
    ::CloseHandle(h);
  else
    m_bBusy = false;
}

void CWebControl::OnFetched(UINT number, FetchResult* r) {
  std::unique_ptr<FetchResult> owned(r);
  // Only the latest navigation is shown, and only while it has not been stopped.
  if (number != m_nNavigation || !m_bBusy) return;
  m_bBusy = false;
  Show(vcef::MakePlainPage(r->url, vcef::ContentType(r->page), r->page.body));
  if (r->page.code)
    FireError(r->url);
  else
    FireCompleted(r->url);
}

// An address this browser does not open: a note in its place, nothing fetched or read.
void CWebControl::Refuse(const std::string& url) {
  ++m_nNavigation;
  m_bBusy = false;
  Show(vcef::MakePlainPage(url, "text/plain", kRefusedText));
  FireError(url);
}

void CWebControl::Show(const vcef::PlainPage& page) {
  const bool titleChanged = page.title != m_page.title;
  m_page = page;
  m_nScroll = 0;
  if (m_hWnd) {
    ::SetWindowTextA(m_hWnd, m_page.address.c_str());
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
  }
  if (titleChanged) {
    std::vector<VARIANT> args(1);
    args[0].vt = VT_BSTR;
    std::wstring w = vcef::ToWide(m_page.title, m_page.utf8);
    args[0].bstrVal = ::SysAllocStringLen(w.data(), (UINT)w.size());
    Fire(DISPID_WBE_TITLECHANGE, args);
    ::VariantClear(&args[0]);
  }
}

void CWebControl::Fire(DISPID id, std::vector<VARIANT>& args) {
  if (!m_pSink) return;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());  // DISPPARAMS hold the last first
  DISPPARAMS dp = {reversed.empty() ? nullptr : reversed.data(), nullptr, (UINT)reversed.size(), 0};
  AddRef();  // a handler may release the control
  m_pSink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr);
  Release();
}

// NavigateComplete2 and DocumentComplete: (this browser, the address).
void CWebControl::FireCompleted(const std::string& url) {
  VARIANT address;
  ::VariantInit(&address);
  SetStr(&address, url);
  for (DISPID id : {DISPID_WBE_NAVIGATECOMPLETE2, DISPID_WBE_DOCUMENTCOMPLETE}) {
    std::vector<VARIANT> args(2);
    args[0].vt = VT_DISPATCH;
    args[0].pdispVal = static_cast<IDispatch*>(this);
    args[1].vt = VT_VARIANT | VT_BYREF;
    args[1].pvarVal = &address;
    Fire(id, args);
  }
  ::VariantClear(&address);
}

// NavigateError: (this browser, the address, the frame, a status, cancel).
void CWebControl::FireError(const std::string& url) {
  VARIANT address, frame, status;
  ::VariantInit(&address);
  ::VariantInit(&frame);
  ::VariantInit(&status);
  SetStr(&address, url);
  SetLong(&status, 0);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  std::vector<VARIANT> args(5);
  args[0].vt = VT_DISPATCH;
  args[0].pdispVal = static_cast<IDispatch*>(this);
  args[1].vt = args[2].vt = args[3].vt = VT_VARIANT | VT_BYREF;
  args[1].pvarVal = &address;
  args[2].pvarVal = &frame;
  args[3].pvarVal = &status;
  args[4].vt = VT_BOOL | VT_BYREF;
  args[4].pboolVal = &cancel;
  Fire(DISPID_WBE_NAVIGATEERROR, args);
  ::VariantClear(&address);
}

// WindowClosing: (a child window, cancel). The host decides what closing means.
void CWebControl::FireWindowClosing() {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  std::vector<VARIANT> args(2);
  args[0].vt = VT_BOOL;
  args[0].boolVal = VARIANT_TRUE;
  args[1].vt = VT_BOOL | VT_BYREF;
  args[1].pboolVal = &cancel;
  Fire(DISPID_WBE_WINDOWCLOSING, args);
}

// A link is followed in place; the page's own "close this window" link asks the host to close.
void CWebControl::FollowLink(int x, int y) {
  const vcef::PageLink* link = vcef::LinkAt(m_links, x, y);
  if (!link) return;
  std::string href = link->href;
  std::string low = href;
  for (char& c : low) c = (char)tolower((unsigned char)c);
  low.erase(std::remove(low.begin(), low.end(), ' '), low.end());
  if (low == "javascript:window.close()" || low == "javascript:window.close();" || low == "javascript:self.close()") {
    FireWindowClosing();
    return;
  }
  if (!webctl::MayFollow(m_page.address, href)) {
    Refuse(href);
    return;
  }
  Navigate(href);
}

void CWebControl::Paint(HDC dc) {
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  vcef::PaintPlainPage(dc, rc.right, rc.bottom, m_page, false, &m_links, m_nScroll, &m_nContentHeight);
}

// The page moves within its height: its end stops at the window's bottom.
void CWebControl::ScrollBy(int pixels) {
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  const int limit = std::max(0, m_nContentHeight - (int)rc.bottom);
  const int pos = std::max(0, std::min(m_nScroll + pixels, limit));
  if (pos == m_nScroll) return;
  m_nScroll = pos;
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CWebControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(m_hWnd, &ps);
      Paint(dc);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint((HDC)wParam);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      ::InvalidateRect(m_hWnd, nullptr, FALSE);
      return 0;
    case WM_MOUSEWHEEL: {
      // Three lines of 20 pixels a notch, as the system's default.
      m_nWheel += GET_WHEEL_DELTA_WPARAM(wParam);
      const int notches = m_nWheel / WHEEL_DELTA;
      m_nWheel -= notches * WHEEL_DELTA;
      ScrollBy(-notches * 60);
      return 0;
    }
    case WM_LBUTTONDOWN:
      // A click on the page gives it the wheel (the wheel goes to the focus window).
      ::SetFocus(m_hWnd);
      return 0;
    case WM_LBUTTONUP:
      FollowLink((short)LOWORD(lParam), (short)HIWORD(lParam));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        ::SetCursor(::LoadCursor(nullptr, vcef::LinkAt(m_links, pt.x, pt.y) ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    case kPageFetched:
      OnFetched((UINT)wParam, (FetchResult*)lParam);
      return 0;
    case WM_DESTROY: {
      // Pages fetched for this window that it will never show.
      MSG m;
      while (::PeekMessageA(&m, m_hWnd, kPageFetched, kPageFetched, PM_REMOVE)) delete (FetchResult*)m.lParam;
      break;
    }
  }
  return CCtrlBase::WndProc(msg, wParam, lParam);
}

}  // namespace

IUnknown* NewWebControl() { return static_cast<IOleObject*>(new CWebControl); }
