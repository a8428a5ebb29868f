// Command targets, message maps, CWnd: handle maps, creation hook, dispatch,
// reflection and subclassing.
#include <afxwin.h>
#include <afxcmn.h>
#include <afxpriv.h>

#include <mutex>
#include <unordered_map>
#include <vector>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

///////////////////////////////////////////////////////////////////////////////
// Message maps

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

static bool EntryMatches(const AFX_MSGMAP_ENTRY& e, UINT nMsg, UINT nCode, UINT nID) {
  UINT nEntryMsg = e.pnRegMessage ? *e.pnRegMessage : e.nMessage;
  if (e.pnRegMessage && nEntryMsg == 0) return false;  // not registered yet
  return nEntryMsg == nMsg && (WORD)e.nCode == (WORD)nCode && nID >= e.nID && nID <= e.nLastID;
}

BOOL CCmdTarget::DispatchMsgMap(UINT nMsg, UINT nCode, UINT nID, AFX_MSGCALL& call) {
  for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfnDispatch; e++) {
      if (EntryMatches(*e, nMsg, nCode, nID)) {
        if (e->pfnDispatch(this, call)) return TRUE;
      }
    }
  }
  return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT nMsg = 0;
  UINT nCodeLow;
  if (nCode == (int)CN_UPDATE_COMMAND_UI) {
    nCodeLow = (UINT)CN_UPDATE_COMMAND_UI;
  } else {
    nMsg = HIWORD((DWORD)nCode);
    nCodeLow = LOWORD((DWORD)nCode);
  }
  if (nMsg == 0) nMsg = WM_COMMAND;
  if (pHandlerInfo) {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
      for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfnDispatch; e++)
        if (EntryMatches(*e, nMsg, nCodeLow, nID)) {
          pHandlerInfo->pTarget = this;
          pHandlerInfo->pEntry = e;
          return TRUE;
        }
    return FALSE;
  }
  AFX_MSGCALL call = {nMsg, 0, 0, nID, (int)nCodeLow, pExtra, 0};
  return DispatchMsgMap(nMsg, nCodeLow, nID, call);
}

void CCmdTarget::BeginWaitCursor() {
  AfxGetApp() ? AfxGetApp()->DoWaitCursor(1) : (void)::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
}
void CCmdTarget::EndWaitCursor() {
  if (AfxGetApp()) AfxGetApp()->DoWaitCursor(-1);
}
void CCmdTarget::RestoreWaitCursor() {
  if (AfxGetApp()) AfxGetApp()->DoWaitCursor(0);
}

CWaitCursor::CWaitCursor() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(1) : (void)0; }
CWaitCursor::~CWaitCursor() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(-1) : (void)0; }
void CWaitCursor::Restore() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(0) : (void)0; }

CCmdUI::CCmdUI()
    : m_nID(0),
      m_nIndex(0),
      m_pMenu(nullptr),
      m_pSubMenu(nullptr),
      m_pOther(nullptr),
      m_bEnableChanged(FALSE),
      m_bContinueRouting(FALSE),
      m_nIndexMax(0),
      m_pParentMenu(nullptr) {}

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu) {
    if (!m_pSubMenu) m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) m_pOther->GetParent()->GetNextDlgTabItem(m_pOther)->SetFocus();
    m_pOther->EnableWindow(bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu) {
    if (!m_pSubMenu) m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) {
    m_pOther->SendMessage(BM_SETCHECK, nCheck);
  }
}

void CCmdUI::SetRadio(BOOL bOn) { SetCheck(bOn ? 1 : 0); }

void CCmdUI::SetText(LPCSTR lpszText) {
  if (m_pMenu) {
    if (!m_pSubMenu) {
      UINT nState = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR);
      m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    }
  } else if (m_pOther) {
    m_pOther->SetWindowText(lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;
  m_bEnableChanged = FALSE;
  BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
    Enable(bHandler);
  }
  return bResult;
}

///////////////////////////////////////////////////////////////////////////////
// Handle maps

namespace {
std::recursive_mutex& MapLock() {
  static std::recursive_mutex m;
  return m;
}
std::unordered_map<HWND, CWnd*>& PermanentMap() {
  static std::unordered_map<HWND, CWnd*> m;
  return m;
}
std::unordered_map<HWND, CWnd*>& TempMap() {
  static std::unordered_map<HWND, CWnd*> m;
  return m;
}

thread_local MSG t_lastSentMsg;
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHookCbt = nullptr;
}  // namespace

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd()
    : m_hWnd(nullptr),
      m_hWndOwner(nullptr),
      m_nFlags(0),
      m_pfnSuper(nullptr),
      m_nModalResult(0),
      m_pCtrlCont(nullptr),
      m_pCtrlSite(nullptr) {}

CWnd::CWnd(HWND hWnd) : CWnd() { m_hWnd = hWnd; }

CWnd::~CWnd() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
    DestroyWindow();
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) Detach();
  }
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
  if (!hWnd) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(MapLock());
  auto it = PermanentMap().find(hWnd);
  return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(MapLock());
  auto it = PermanentMap().find(hWnd);
  if (it != PermanentMap().end()) return it->second;
  auto& temp = TempMap();
  auto jt = temp.find(hWnd);
  if (jt != temp.end()) return jt->second;
  CWnd* p = new CWnd(hWnd);
  temp[hWnd] = p;
  return p;
}

void PASCAL CWnd::DeleteTempMap() {
  std::vector<CWnd*> doomed;
  {
    std::lock_guard<std::recursive_mutex> lock(MapLock());
    for (auto& kv : TempMap()) doomed.push_back(kv.second);
    TempMap().clear();
  }
  for (CWnd* p : doomed) {
    p->m_hWnd = nullptr;
    delete p;
  }
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (hWndNew == nullptr) return FALSE;
  std::lock_guard<std::recursive_mutex> lock(MapLock());
  auto it = PermanentMap().find(hWndNew);
  if (it != PermanentMap().end() && it->second != this) return FALSE;
  m_hWnd = hWndNew;
  PermanentMap()[hWndNew] = this;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd != nullptr) {
    std::lock_guard<std::recursive_mutex> lock(MapLock());
    auto it = PermanentMap().find(hWnd);
    if (it != PermanentMap().end() && it->second == this) PermanentMap().erase(it);
  }
  m_hWnd = nullptr;
  return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  WNDPROC oldProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
  if (oldProc != AfxWndProc) m_pfnSuper = oldProc;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
  return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
  m_pfnSuper = nullptr;
  return Detach();
}

void AFXAPI AfxDeleteTempMaps() {
  CWnd::DeleteTempMap();
  CDC::DeleteTempMap();
  CGdiObject::DeleteTempMap();
  CMenu::DeleteTempMap();
  CImageList::DeleteTempMap();
}

///////////////////////////////////////////////////////////////////////////////
// Creation hook: attaches the object before the window's first message.

static LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && t_pWndInit != nullptr) {
    CWnd* pWnd = t_pWndInit;
    t_pWndInit = nullptr;
    HWND hWnd = (HWND)wParam;
    pWnd->Attach(hWnd);
    pWnd->PreSubclassWindow();
    WNDPROC oldProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (oldProc != AfxWndProc) *pWnd->GetSuperWndProcAddr() = oldProc;
  }
  return ::CallNextHookEx(t_hHookCbt, code, wParam, lParam);
}

void AFXAPI AfxHookWindowCreate(CWnd* pWnd) {
  if (t_hHookCbt == nullptr)
    t_hHookCbt = ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
  t_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate() {
  if (t_pWndInit != nullptr) {
    t_pWndInit = nullptr;
    return FALSE;  // the window was never created
  }
  return TRUE;
}

///////////////////////////////////////////////////////////////////////////////
// Window procedure

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  MSG oldState = t_lastSentMsg;
  t_lastSentMsg.hwnd = hWnd;
  t_lastSentMsg.message = nMsg;
  t_lastSentMsg.wParam = wParam;
  t_lastSentMsg.lParam = lParam;
  LRESULT lResult = 0;
  try {
    lResult = pWnd->WindowProc(nMsg, wParam, lParam);
  } catch (CException* e) {
    CWinThread* pThread = AfxGetThread();
    if (pThread)
      lResult = pThread->ProcessWndProcException(e, &t_lastSentMsg);
    else
      e->Delete();
  }
  // Hosted controls are closed while their windows still exist.
  if (nMsg == WM_DESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd && pWnd->m_pCtrlCont != nullptr)
    AfxDeleteControlContainer(pWnd);
  // A handler that did not pass WM_NCDESTROY to the base class still gets cleaned up.
  if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
    WNDPROC pfn = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    if (pfn == AfxWndProc && pWnd->m_pfnSuper) ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pWnd->m_pfnSuper);
    pWnd->Detach();
    pWnd->PostNcDestroy();
  }
  t_lastSentMsg = oldState;
  return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_QUERYAFXWNDPROC) return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage() {
  t_lastSentMsg.time = ::GetMessageTime();
  DWORD pos = ::GetMessagePos();
  t_lastSentMsg.pt.x = (short)LOWORD(pos);
  t_lastSentMsg.pt.y = (short)HIWORD(pos);
  return &t_lastSentMsg;
}

LRESULT CWnd::Default() { return DefWindowProc(t_lastSentMsg.message, t_lastSentMsg.wParam, t_lastSentMsg.lParam); }

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProcA(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    lResult = 1;
  } else if (message == WM_NOTIFY) {
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (pNMHDR == nullptr || pNMHDR->hwndFrom == nullptr || !OnNotify(wParam, lParam, &lResult)) return FALSE;
  } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    AFX_CTLCOLOR ctl = {(HWND)lParam, (HDC)wParam, message - WM_CTLCOLORMSGBOX};
    AFX_MSGCALL call = {WM_CTLCOLOR, wParam, (LPARAM)&ctl, 0, 0, nullptr, 0};
    if (!DispatchMsgMap(WM_CTLCOLOR, 0, 0, call)) return FALSE;
    lResult = call.lResult;
  } else {
    AFX_MSGCALL call = {message, wParam, lParam, 0, 0, nullptr, 0};
    if (!DispatchMsgMap(message, 0, 0, call)) return FALSE;
    lResult = call.lResult;
  }
  if (pResult) *pResult = lResult;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  HWND hWndCtrl = (HWND)lParam;
  int nCode = HIWORD(wParam);
  if (hWndCtrl == nullptr) {
    nCode = CN_COMMAND;  // menu or accelerator
  } else {
    if (ReflectLastMsg(hWndCtrl)) return TRUE;  // the control handled it itself
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = (NMHDR*)lParam;
  HWND hWndCtrl = pNMHDR->hwndFrom;
  UINT nID = (UINT)::GetDlgCtrlID(hWndCtrl);
  int nCode = (int)pNMHDR->code;
  if (ReflectLastMsg(hWndCtrl, pResult)) return TRUE;
  AFX_NOTIFY notify = {pResult, pNMHDR};
  return OnCmdMsg(nID, (int)MAKELONG(nCode, WM_NOTIFY), &notify, nullptr);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  if (pWnd == nullptr) return FALSE;
  return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  return OnChildNotify(t_lastSentMsg.message, t_lastSentMsg.wParam, t_lastSentMsg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM: {
      AFX_MSGCALL call = {WM_REFLECT_BASE + message, wParam, lParam, 0, 0, nullptr, 0};
      if (!DispatchMsgMap(WM_REFLECT_BASE + message, 0, 0, call)) return FALSE;
      if (pResult) *pResult = call.lResult;
      return TRUE;
    }
    case WM_COMMAND: {
      UINT nCode = HIWORD(wParam);
      AFX_MSGCALL call = {WM_REFLECT_BASE + WM_COMMAND, wParam, lParam, 0, (int)nCode, nullptr, 0};
      if (!DispatchMsgMap(WM_REFLECT_BASE + WM_COMMAND, nCode, 0, call)) return FALSE;
      if (pResult) *pResult = 1;
      return TRUE;
    }
    case WM_NOTIFY: {
      NMHDR* pNMHDR = (NMHDR*)lParam;
      LRESULT lDummy = 0;
      AFX_NOTIFY notify = {pResult ? pResult : &lDummy, pNMHDR};
      AFX_MSGCALL call = {WM_REFLECT_BASE + WM_NOTIFY, wParam, lParam, 0, (int)pNMHDR->code, &notify, 0};
      return DispatchMsgMap(WM_REFLECT_BASE + WM_NOTIFY, pNMHDR->code, 0, call);
    }
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_MSGCALL call = {
            WM_REFLECT_BASE + WM_CTLCOLOR, wParam, (LPARAM)(message - WM_CTLCOLORMSGBOX), 0, 0, nullptr, 0};
        if (!DispatchMsgMap(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, call) || call.lResult == 0) return FALSE;
        if (pResult) *pResult = call.lResult;
        return TRUE;
      }
      return FALSE;
  }
}

///////////////////////////////////////////////////////////////////////////////
// Creation and destruction

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) {
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
  }
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCT cs;
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();  // never attached: let self-deleting objects go
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, (LPVOID)pContext);
}

namespace {
bool RunsUnderWine() {
  static const bool bWine = ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return bWine;
}
}  // namespace

namespace {
BOOL HideTopLevel(HWND hWnd, bool bNotify) {
  if (!::IsWindow(hWnd)) return FALSE;
  const LONG_PTR style = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
  if (!(style & WS_VISIBLE)) return FALSE;
  if ((style & WS_CHILD) || !RunsUnderWine()) {
    ::ShowWindow(hWnd, SW_HIDE);
    return TRUE;
  }
  HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
  // (A disabled owner is activated by whoever enables it: EndDialog, the modal loop's end.)
  if (::GetActiveWindow() == hWnd && hOwner != nullptr && ::IsWindowVisible(hOwner) && ::IsWindowEnabled(hOwner))
    ::SetActiveWindow(hOwner);
  if (bNotify) {
    ::SendMessageA(hWnd, WM_SHOWWINDOW, FALSE, 0);
    if (!::IsWindow(hWnd)) return TRUE;
  }
  RECT rcWindow;
  ::GetWindowRect(hWnd, &rcWindow);
  ::SetWindowLongPtrA(hWnd, GWL_STYLE, ::GetWindowLongPtrA(hWnd, GWL_STYLE) & ~WS_VISIBLE);
  // As a child the window loses its X window (and the manager's hold); back at the top it
  // gets a new one that nobody holds. Parent changes keep the owner and the screen place.
  ::SetParent(hWnd, HWND_MESSAGE);
  ::SetParent(hWnd, nullptr);
  // What it covered of the owner's window paints again, as after a hide.
  if (hOwner != nullptr) {
    HWND hRoot = ::GetAncestor(hOwner, GA_ROOT);
    RECT rcOwner;
    ::GetWindowRect(hRoot, &rcOwner);
    RECT rc;
    if (::IntersectRect(&rc, &rcWindow, &rcOwner)) {
      POINT origin = {0, 0};  // the rectangle in client coordinates; RDW_FRAME takes the border too
      ::ClientToScreen(hRoot, &origin);
      ::OffsetRect(&rc, -origin.x, -origin.y);
      ::RedrawWindow(hRoot, &rc, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
  }
  return TRUE;
}
}  // namespace

BOOL AFXAPI AfxHideTopLevel(HWND hWnd) { return HideTopLevel(hWnd, true); }

BOOL CWnd::DestroyWindow() {
  if (m_pCtrlSite != nullptr) return AfxDestroyControlSite(this);  // a hosted control closes through its site
  if (m_hWnd == nullptr) return FALSE;
  BOOL bInPermanentMap = FromHandlePermanent(m_hWnd) == this;
  HWND hWnd = m_hWnd;
  // An owned window (a box, a dialog) leaves the screen at once; the main window keeps its
  // ordinary close, which saves its placement.
  if (!(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) {
    CWnd* pMain = AfxGetMainWnd();
    // DestroyWindow tells a top-level window nothing of its hiding.
    if (pMain == nullptr || pMain->m_hWnd != hWnd) HideTopLevel(hWnd, false);
  }
  BOOL bResult = ::DestroyWindow(hWnd);
  // A self-deleting object is gone by now; only touch members when it was never attached.
  if (!bInPermanentMap) m_hWnd = nullptr;
  return bResult;
}

///////////////////////////////////////////////////////////////////////////////
// Pre-translation and modal loops

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_nFlags & WF_TOOLTIPS) FilterToolTipMessage(pMsg);
  return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg) {
  if ((lpMsg->message < WM_KEYFIRST || lpMsg->message > WM_KEYLAST) &&
      (lpMsg->message < WM_MOUSEFIRST || lpMsg->message > WM_MOUSELAST))
    return FALSE;
  return IsDialogMessage(lpMsg);
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    ::PostMessageA(nullptr, WM_NULL, 0, 0);  // wake the loop
  }
}

int CWnd::RunModalLoop(DWORD dwFlags) {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND hWndParent = ::GetParent(m_hWnd);
  HWND hWndThis = m_hWnd;
  m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
  MSG msg;
  for (;;) {
    while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (bShowIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0)
        ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)hWndThis);
      if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++)) bIdle = FALSE;
    }
    if (!ContinueModal()) break;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage((int)msg.wParam);  // the application loop must see WM_QUIT too
      break;
    }
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (!::IsWindow(hWndThis) || !ContinueModal()) break;
    if (msg.message != WM_TIMER && msg.message != WM_NULL && msg.message != 0x0118 /*WM_SYSTIMER*/) {
      bIdle = TRUE;
      lIdleCount = 0;
    }
  }
  m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
  return m_nModalResult;
}

///////////////////////////////////////////////////////////////////////////////
// Tool tips for child windows (EnableToolTips)

namespace {
struct ToolTipState {
  HWND hWndTip = nullptr;
  HWND hWndOwner = nullptr;
  INT_PTR nLastHit = -1;
  TOOLINFOA lastInfo = {};
  CString strText;
};
thread_local ToolTipState* t_tip = nullptr;
}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  BOOL bOld = (m_nFlags & WF_TOOLTIPS) != 0;
  if (bEnable)
    m_nFlags |= WF_TOOLTIPS;
  else {
    m_nFlags &= ~WF_TOOLTIPS;
    CancelToolTips();
  }
  return bOld;
}

void CWnd::CancelToolTips(BOOL) {
  if (t_tip && t_tip->hWndTip && ::IsWindow(t_tip->hWndTip)) {
    if (t_tip->nLastHit != -1) ::SendMessageA(t_tip->hWndTip, TTM_DELTOOLA, 0, (LPARAM)&t_tip->lastInfo);
    ::SendMessageA(t_tip->hWndTip, TTM_ACTIVATE, FALSE, 0);
  }
  if (t_tip) t_tip->nLastHit = -1;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
  if (hWndChild == nullptr || hWndChild == m_hWnd) return -1;
  int nID = ::GetDlgCtrlID(hWndChild);
  if (nID == 0 || nID == -1) return -1;
  if (pTI != nullptr) {
    pTI->hwnd = m_hWnd;
    pTI->uId = (UINT_PTR)hWndChild;
    pTI->uFlags |= TTF_IDISHWND;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
    if (!(::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) pTI->uFlags |= TTF_CENTERTIP;
  }
  return nID;
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
  UINT message = pMsg->message;
  if ((message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_LBUTTONUP && message != WM_RBUTTONUP &&
       message != WM_MBUTTONUP && message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN &&
       message != WM_MBUTTONDOWN) ||
      m_hWnd == nullptr)
    return;
  if (!t_tip) t_tip = new ToolTipState;
  ToolTipState& s = *t_tip;
  if (s.hWndTip == nullptr || !::IsWindow(s.hWndTip)) {
    s.hWndTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, AfxGetInstanceHandle(),
                                  nullptr);
    s.nLastHit = -1;
    if (!s.hWndTip) return;
    ::SendMessageA(s.hWndTip, TTM_ACTIVATE, TRUE, 0);
  }
  CPoint point = pMsg->pt;
  ::ScreenToClient(m_hWnd, &point);
  TOOLINFOA ti = {};
  ti.cbSize = sizeof(TOOLINFOA);
  INT_PTR nHit = OnToolHitTest(point, &ti);
  bool bSame = nHit == s.nLastHit && ti.hwnd == s.lastInfo.hwnd && ti.uId == s.lastInfo.uId;
  if (!bSame) {
    if (s.nLastHit != -1) ::SendMessageA(s.hWndTip, TTM_DELTOOLA, 0, (LPARAM)&s.lastInfo);
    s.nLastHit = nHit;
    if (nHit != -1) {
      if (ti.lpszText != LPSTR_TEXTCALLBACKA && ti.lpszText != nullptr) {
        s.strText = ti.lpszText;
        free(ti.lpszText);  // hit-test handlers hand over malloc'ed text
        ti.lpszText = const_cast<LPSTR>((LPCSTR)s.strText);
      }
      if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect)) ::GetClientRect(ti.hwnd, &ti.rect);
      ::SendMessageA(s.hWndTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
      ::SendMessageA(s.hWndTip, TTM_ACTIVATE, TRUE, 0);
      s.lastInfo = ti;
    } else {
      s.lastInfo = TOOLINFOA{};
    }
  }
  if (nHit != -1) {
    MSG msg = *pMsg;
    ::SendMessageA(s.hWndTip, TTM_RELAYEVENT, 0, (LPARAM)&msg);
  }
}

///////////////////////////////////////////////////////////////////////////////
// Attributes and helpers

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, GWL_STYLE);
  DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
  if (dwStyle == dwNewStyle) return FALSE;
  ::SetWindowLongPtrA(hWnd, GWL_STYLE, (LONG_PTR)dwNewStyle);
  if (nFlags != 0)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
  DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
  if (dwStyle == dwNewStyle) return FALSE;
  ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, (LONG_PTR)dwNewStyle);
  if (nFlags != 0)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetOwner() const { return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent(); }

void CWnd::GetWindowText(CString& rString) const {
  int nLen = ::GetWindowTextLengthA(m_hWnd);
  ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
  rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND hWnd = ::GetDlgItem(m_hWnd, nID);
  if (hWnd) {
    int nLen = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
    rString.ReleaseBuffer();
  }
  return rString.GetLength();
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
  for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++)
    if (IsDlgButtonChecked(nID)) return nID;
  return 0;
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
  ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
  ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
  ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
  ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  DWORD dwStyle = GetStyle();
  HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
  if (hWndCenter == nullptr) hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
  CRect rcDlg;
  GetWindowRect(&rcDlg);
  CRect rcArea, rcCenter;
  if (!(dwStyle & WS_CHILD)) {
    MONITORINFO mi = {sizeof(mi)};
    HMONITOR hMon = ::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
    ::GetMonitorInfoA(hMon, &mi);
    rcArea = mi.rcWork;
    if (hWndCenter == nullptr || !::IsWindowVisible(hWndCenter) || ::IsIconic(hWndCenter))
      rcCenter = rcArea;
    else
      ::GetWindowRect(hWndCenter, &rcCenter);
  } else {
    HWND hWndParent = ::GetParent(m_hWnd);
    ::GetClientRect(hWndParent, &rcArea);
    ::GetClientRect(hWndCenter, &rcCenter);
    ::MapWindowPoints(hWndCenter, hWndParent, (POINT*)&rcCenter, 2);
  }
  int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
  int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
  if (xLeft + rcDlg.Width() > rcArea.right) xLeft = rcArea.right - rcDlg.Width();
  if (xLeft < rcArea.left) xLeft = rcArea.left;
  if (yTop + rcDlg.Height() > rcArea.bottom) yTop = rcArea.bottom - rcDlg.Height();
  if (yTop < rcArea.top) yTop = rcArea.top;
  SetWindowPos(nullptr, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

int CWnd::GetScrollLimit(int nBar) {
  SCROLLINFO info = {};
  if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE)) return 0;
  int nMax = info.nMax;
  if (info.nPage > 1) nMax -= (int)info.nPage - 1;
  return nMax;
}

CWnd* CWnd::GetTopLevelParent() const {
  if (m_hWnd == nullptr) return nullptr;
  HWND hWnd = m_hWnd, hWndParent;
  while ((::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) && (hWndParent = ::GetParent(hWnd)) != nullptr)
    hWnd = hWndParent;
  return FromHandle(hWnd);
}

CWnd* CWnd::GetTopLevelOwner() const {
  if (m_hWnd == nullptr) return nullptr;
  HWND hWnd = m_hWnd, hWndOwner;
  while ((hWndOwner = ::GetParent(hWnd)) != nullptr) hWnd = hWndOwner;
  return FromHandle(hWnd);
}

CFrameWnd* CWnd::GetParentFrame() const {
  if (m_hWnd == nullptr) return nullptr;
  for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return (CFrameWnd*)pWnd;
  }
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  CFrameWnd* pFrame = nullptr;
  CWnd* pWnd = const_cast<CWnd*>(this);
  if (pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) pFrame = (CFrameWnd*)pWnd;
  CFrameWnd* pNext = pFrame ? pFrame->GetParentFrame() : GetParentFrame();
  while (pNext) {
    pFrame = pNext;
    pNext = pFrame->GetParentFrame();
  }
  return pFrame;
}

static CWnd* DescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm) {
  // Direct children first; a child with the same id as its parent gives way to its own child.
  HWND hWndChild = ::GetDlgItem(hWnd, nID);
  if (hWndChild != nullptr) {
    if (::GetTopWindow(hWndChild) != nullptr) {
      CWnd* p = DescendantWindow(hWndChild, nID, bOnlyPerm);
      if (p != nullptr) return p;
    }
    CWnd* p = bOnlyPerm ? CWnd::FromHandlePermanent(hWndChild) : CWnd::FromHandle(hWndChild);
    if (p != nullptr) return p;
  }
  for (hWndChild = ::GetTopWindow(hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    if (::GetTopWindow(hWndChild) != nullptr) {
      CWnd* p = DescendantWindow(hWndChild, nID, bOnlyPerm);
      if (p != nullptr) return p;
    }
  }
  return nullptr;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const { return DescendantWindow(m_hWnd, nID, bOnlyPerm); }

static void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    if (!bOnlyPerm) {
      ::SendMessageA(hWndChild, message, wParam, lParam);
    } else {
      CWnd* pWnd = CWnd::FromHandlePermanent(hWndChild);
      if (pWnd) AfxCallWndProc(pWnd, hWndChild, message, wParam, lParam);
    }
    if (bDeep && ::GetTopWindow(hWndChild)) SendToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
  }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
  if (lpszCaption == nullptr) lpszCaption = AfxGetAppName();
  return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  DWORD dwExStyle = GetExStyle();
  if (nAdjustType == 0) dwExStyle &= ~WS_EX_CLIENTEDGE;
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  // Enables or disables each child button by whether a command handler exists for it.
  CCmdUI state;
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    state.m_nID = (UINT)::GetDlgCtrlID(hWndChild);
    if (state.m_nID == 0 || state.m_nID == (UINT)-1) continue;
    state.m_pOther = FromHandle(hWndChild);
    if (!(::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) continue;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
}

BOOL CWnd::OnAmbientProperty(COleControlSite*, DISPID, VARIANT*) { return FALSE; }

///////////////////////////////////////////////////////////////////////////////
// Default handlers

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
  ON_WM_CTLCOLOR()
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_COMPAREITEM()
  ON_WM_DELETEITEM()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()
