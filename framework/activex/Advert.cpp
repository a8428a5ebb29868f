#include "Advert.h"

#include <string>

#include "AdRecord.h"
#include "ResLoad.h"

void ShowAdvert(const uint8_t* record, size_t size, LPCSTR text1, LPCSTR text2, CQKAdCtrl* pCtrl) {
  if (!pCtrl || !pCtrl->GetSafeHwnd() || !pCtrl->IsUsable()) return;
  adrecord::AdRecord r;
  if (!adrecord::Parse(record, size, &r)) return;
  std::string share = ReadRegistryString("Software\\Orvane\\Game\\Share", "Path", "");
  std::string empty;
  adrecord::ResolvePages(
      r, share, [](const std::string& p) { return FileExists(p.c_str()) != FALSE; },
      pCtrl->IsVersionChecked() ? &empty : nullptr, text1, text2);
  adrecord::ShowCall call = adrecord::ChooseCall(r);
  auto orNull = [](const std::string& s) -> LPCSTR { return s.empty() ? nullptr : s.c_str(); };
  // The client's code page is 936: banner texts need no conversion.
  try {
    HWND hMain = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
    long flags = hMain && (r.width || r.height) ? (long)(LONG_PTR)hMain : 0;
    switch (call.dispid) {
      case 9:
        pCtrl->ShowBanner((long)r.id, orNull(r.link1), orNull(r.link2), orNull(r.text), r.valueA, r.valueB);
        break;
      case 10:
        pCtrl->ShowPage((long)r.id, r.page.c_str(), 0, 20, call.timeMs);
        break;
      case 11:
        pCtrl->ShowPageSized((long)r.id, r.page.c_str(), 4, flags, r.width, r.height, call.timeMs, call.secondKind);
        break;
      case 12:
        pCtrl->ShowSizedPage((long)r.id, r.page.c_str(), r.width, r.height, 20, call.timeMs, call.secondKind);
        break;
    }
  } catch (...) {
  }
}

int NotifyAdControls(const uint8_t* record, size_t size, LPCSTR text1, LPCSTR text2, int count,
                     CQKAdCtrl* const* controls) {
  if (!record) return 0;
  if (count <= 0) return count;
  adrecord::AdRecord r;
  if (!adrecord::Parse(record, size, &r)) return 0;
  for (int i = 0; i < count; ++i) {
    CQKAdCtrl* c = controls ? controls[i] : nullptr;
    if (c && c->GetSafeHwnd() && (uint32_t)c->GetPositionId() == r.position) ShowAdvert(record, size, text1, text2, c);
  }
  return 0;
}

BEGIN_MESSAGE_MAP(CAdHostWnd, CWnd)
  ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CAdHostWnd::Create(CWnd* pParent, const RECT& rect, UINT nID) {
  if (!CWnd::CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, pParent, nID))
    return FALSE;
  CRect rc;
  GetClientRect(&rc);
  return m_AdCtrl.Create(nullptr, "", WS_VISIBLE, CRect(-2, -2, rc.Width() + 2, rc.Height() + 2), this, nID + 1);
}

// The control's own border lies outside the window.
void CAdHostWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (m_AdCtrl.GetSafeHwnd()) m_AdCtrl.MoveWindow(-2, -2, cx + 4, cy + 4);
}
