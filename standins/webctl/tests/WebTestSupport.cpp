#include "WebTestSupport.h"

#include "QKCtrls.h"

namespace {
const COLORREF kLinkBlue = RGB(0, 60, 200);  // the plain renderer's link colour
}

bool HostWebControlInProcess() {
  if (!AfxOleInit()) return false;
  AfxEnableControlContainer();
  HMODULE h = ::LoadLibraryA("VWebCtl.dll");
  if (!h) return false;
  auto get = (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))::GetProcAddress(h, "DllGetClassObject");
  IClassFactory* f = nullptr;
  if (!get || get(CWebBrowser2::clsid, IID_IClassFactory, (void**)&f) != S_OK) return false;
  DWORD cookie = 0;
  return ::CoRegisterClassObject(CWebBrowser2::clsid, f, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie) == S_OK;
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > ms) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&m);
      ::DispatchMessageA(&m);
    }
  }
  return true;
}

CString LocationUrl(CWnd& web) {
  CString s;
  web.InvokeHelper(211, DISPATCH_PROPERTYGET, VT_BSTR, &s, nullptr);
  return s;
}

std::vector<int> LinkRows(CWnd& web) {
  CRect rc;
  web.GetClientRect(&rc);
  CClientDC screen(&web);
  CDC mem;
  mem.CreateCompatibleDC(&screen);
  CBitmap bmp;
  bmp.CreateCompatibleBitmap(&screen, rc.Width(), rc.Height());
  CBitmap* old = mem.SelectObject(&bmp);
  web.SendMessage(WM_PRINTCLIENT, (WPARAM)mem.GetSafeHdc(), PRF_CLIENT);
  std::vector<int> rows;
  for (int y = 0; y < rc.Height(); ++y) {
    for (int x = 0; x < 60 && x < rc.Width(); ++x) {
      if (mem.GetPixel(x, y) != kLinkBlue) continue;
      if (rows.empty() || y > rows.back() + 12) rows.push_back(y);
      break;
    }
  }
  mem.SelectObject(old);
  return rows;
}
