#include "ODListEdit.h"

#include <cstring>

#include "EditRules.h"
#include "ODListCtrl.h"

namespace {

// The list that owns an editor: its owner window, else its parent.
CWnd* OwnerOf(HWND hWnd) {
  HWND owner = ::GetWindow(hWnd, GW_OWNER);
  if (!owner) owner = ::GetParent(hWnd);
  return owner ? CWnd::FromHandle(owner) : nullptr;
}

void SendEndNotify(HWND hFrom, CWnd* pTarget, int nRow, int nColumn, int bButton, UINT nKey) {
  NMODLISTEDIT nm{};
  nm.hdr.hwndFrom = hFrom;
  nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(hFrom);
  nm.hdr.code = (UINT)ODLN_ENDLABELEDIT;
  nm.nRow = nRow, nm.nColumn = nColumn, nm.bButton = bButton, nm.hEditor = hFrom, nm.nKey = nKey;
  ::GetWindowTextA(hFrom, nm.szText, sizeof nm.szText);
  pTarget->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

}  // namespace

// ---- the edit ---------------------------------------------------------------------------

CODListEdit::CODListEdit(int nRow, int nColumn, BOOL bButton)
    : CODWnd<CEdit>(nullptr, 0), m_nRow(nRow), m_nColumn(nColumn), m_bButton(bButton) {}

BOOL CODListEdit::PreCreateWindow(CREATESTRUCT& cs) {
  if (m_bButton) {
    if (odlist::DropButtonFits(cs.cx, cs.cy))
      cs.cx -= cs.cy;  // room for a square button on the right
    else
      m_bButton = FALSE;
  }
  return CEdit::PreCreateWindow(cs);
}

int CODListEdit::OnCreateButton() {
  CWnd* pList = GetParent();
  if (!pList) return 0;
  CRect rc;
  GetWindowRect(&rc);
  pList->ScreenToClient(&rc);
  const CRect button(rc.right, rc.top, rc.right + rc.Height(), rc.bottom);
  // Without its button the edit still edits.
  if (!m_btnDrop.Create("...", WS_CHILD | WS_VISIBLE, button, pList, 0)) {
    m_bButton = FALSE;
    return 0;
  }
  m_btnDrop.SendMessage(WM_SETFONT, pList->SendMessage(WM_GETFONT), FALSE);
  return 0;
}

void CODListEdit::ApplyStartKey(UINT nKey) {
  const int length = GetWindowTextLength();
  switch (odlist::StartActionFor(nKey)) {
    case odlist::StartAction::CaretAtEnd:
      SetSel(length, -1);
      SendMessage(EM_SCROLLCARET);
      break;
    case odlist::StartAction::CaretAtEndBackspace:
      SetSel(length, -1);
      SendMessage(EM_SCROLLCARET);
      SendMessage(WM_CHAR, 8, 0);
      break;
    case odlist::StartAction::SelectAll:
      SetSel(0, -1);
      break;
    case odlist::StartAction::ReplaceWithKey:
      SetSel(0, -1);
      SendMessage(WM_CHAR, nKey, 0);
      break;
  }
}

// Tab, Enter and Escape end the edit: the key is kept and the focus goes back to the list.
BOOL CODListEdit::OnEndingKey(UINT nKey) {
  if (!odlist::IsEndingKey(nKey)) return FALSE;
  m_nEndKey = nKey;
  if (CWnd* pList = GetParent()) pList->SetFocus();
  if (!m_bEnding && m_hWnd) Finish();  // a list that kept no focus still gets the end
  return TRUE;
}

BOOL CODListEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && OnEndingKey((UINT)pMsg->wParam)) return TRUE;
  if (pMsg->message == WM_SYSCHAR) return TRUE;
  return CEdit::PreTranslateMessage(pMsg);
}

CWnd* CODListEdit::NotifyTarget() { return OwnerOf(m_hWnd); }

void CODListEdit::OnLoseFocus(HWND hNewFocus) {
  CWnd* pOwner = NotifyTarget();
  CODListCtrl* pList = dynamic_cast<CODListCtrl*>(CWnd::FromHandlePermanent(pOwner ? pOwner->GetSafeHwnd() : nullptr));
  if (m_bButton && hNewFocus && hNewFocus == m_btnDrop.GetSafeHwnd() && pList) {
    NMODLISTEDITFOCUS nm{};
    nm.nRow = m_nRow, nm.nColumn = m_nColumn, nm.bButton = m_bButton, nm.hEditor = m_hWnd;
    GetWindowText(nm.szText, sizeof nm.szText);
    if (pList->NotifyEdit(ODLN_EDITKILLFOCUS, &nm.hdr) == 1) {
      nm.szText[sizeof nm.szText - 1] = '\0';
      SetWindowText(nm.szText);
    }
    SetFocus();
    return;
  }
  Finish();
}

// Reports the end once, then closes itself by posting: nothing of this object is touched
// after the owner has been told, since the owner may destroy the editor while told.
void CODListEdit::Finish() {
  if (m_bEnding) return;
  m_bEnding = TRUE;
  const HWND self = m_hWnd;
  CWnd* pTarget = NotifyTarget();
  ::PostMessageA(self, WM_CLOSE, 0, 0);
  if (pTarget) SendEndNotify(self, pTarget, m_nRow, m_nColumn, m_bButton, m_nEndKey);
}

LRESULT CODListEdit::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT r = DefaultProc(message, wParam, lParam);
      if (r != -1 && m_bButton) return OnCreateButton();
      return r;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      // Keys sent straight to the window (no message loop in between) end the edit too.
      if (OnEndingKey((UINT)wParam)) return 0;
      break;
    case WM_CHAR:
      if (odlist::IsEndingKey((UINT)wParam)) return 0;  // no beep for the ending keys
      break;
    case WM_SYSCHAR:
      return 0;
    case WM_KILLFOCUS: {
      const LRESULT r = DefaultProc(message, wParam, lParam);
      OnLoseFocus((HWND)wParam);
      return r;
    }
    case WM_CLOSE:
      if (m_btnDrop.GetSafeHwnd()) m_btnDrop.DestroyWindow();
      DestroyWindow();
      return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

// ---- the combo --------------------------------------------------------------------------

LRESULT CODListCombo::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
  if (message == WM_CLOSE) {
    DestroyWindow();
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

// The parent hands the combo its own focus loss: it ends like the edit, one report and
// then a posted close.
BOOL CODListCombo::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_COMMAND || HIWORD(wParam) != CBN_KILLFOCUS)
    return CComboBox::OnChildNotify(message, wParam, lParam, pResult);
  if (!m_bEnding) {
    m_bEnding = TRUE;
    const HWND self = m_hWnd;
    ::PostMessageA(self, WM_CLOSE, 0, 0);
    if (CWnd* pTarget = OwnerOf(self)) SendEndNotify(self, pTarget, m_nRow, m_nColumn, 0, 13);
  }
  if (pResult) *pResult = 0;
  return TRUE;
}

// ---- the title tip ---------------------------------------------------------------------

BOOL CODTitleTip::Create(CWnd* pOwner, BOOL bFade) {
  m_pOwner = pOwner, m_bFade = bFade;
  LPCSTR cls = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_INFOBK + 1));
  return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED, cls, "", WS_POPUP | WS_BORDER, CRect(0, 0, 0, 0),
                  pOwner, 0);
}

void CODTitleTip::Show(const CRect& screenRect, LPCSTR lpszText) {
  m_rect = screenRect;
  m_strText = lpszText ? lpszText : "";
  ::SetLayeredWindowAttributes(m_hWnd, 0xFF00FF, (BYTE)m_nAlpha, LWA_COLORKEY | LWA_ALPHA);
  SetWindowPos(&CWnd::wndTopMost, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Invalidate();
}

void CODTitleTip::Hide() {
  if (m_bFade) {
    m_nAlpha = 255;
    SetTimer(1, 100, nullptr);
  }
  if (IsWindowVisible()) ShowWindow(SW_HIDE);
}

void CODTitleTip::OnFadeTimer() {
  const odlist::TipAlphaStep step = odlist::NextTipAlpha(m_nAlpha);
  m_nAlpha = step.alpha;
  if (step.stop) KillTimer(1);
  ::SetLayeredWindowAttributes(m_hWnd, 0xFF00FF, (BYTE)m_nAlpha, LWA_COLORKEY | LWA_ALPHA);
}

// A move off the tip hides it and goes on to the window under the point, as if the tip had
// never been there.
void CODTitleTip::PassMouseMove(CPoint screen) {
  if (m_rect.PtInRect(screen)) return;
  Hide();
  HWND under = ::WindowFromPoint(screen);
  if (!under || under == m_hWnd) under = m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr;
  if (!under) return;
  const LRESULT hit = ::SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  if (hit == HTCLIENT) {
    CPoint client = screen;
    ::ScreenToClient(under, &client);
    ::PostMessageA(under, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  } else {
    ::PostMessageA(under, WM_NCMOUSEMOVE, (WPARAM)hit, MAKELPARAM(screen.x, screen.y));
  }
}

LRESULT CODTitleTip::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == 1) OnFadeTimer();
      return 0;
    case WM_MOUSEMOVE: {
      CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
      ClientToScreen(&pt);
      PassMouseMove(pt);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(m_hWnd, &ps);
      RECT rc;
      ::GetClientRect(m_hWnd, &rc);
      ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_INFOBK));
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
      HGDIOBJ old = ::SelectObject(dc, m_pOwner ? (HGDIOBJ)m_pOwner->SendMessage(WM_GETFONT) : nullptr);
      rc.left += 2;
      ::DrawTextA(dc, m_strText, m_strText.GetLength(), &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      if (old) ::SelectObject(dc, old);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
  }
  return DefaultProc(message, wParam, lParam);
}

// ---- helpers ----------------------------------------------------------------------------

void RefillColumnChooser(HWND hListBox, const odlist::ListModel& model, const int* shown, int shownCount,
                         ColumnChooserFilter filter, void* pUser) {
  if (!::IsWindow(hListBox)) return;
  ::SendMessageA(hListBox, LB_RESETCONTENT, 0, 0);
  for (int c = 0; c < model.ColumnCount(); ++c) {
    BOOL isShown = FALSE;
    for (int i = 0; i < shownCount && shown; ++i) isShown |= shown[i] == c;
    if (isShown || (filter && !filter(c, pUser))) continue;
    const int at = (int)::SendMessageA(hListBox, LB_ADDSTRING, 0, (LPARAM)model.GetColumn(c)->title.c_str());
    if (at >= 0) ::SendMessageA(hListBox, LB_SETITEMDATA, (WPARAM)at, (LPARAM)c);
  }
}

BOOL EraseDisabledBackground(HWND hWnd, HDC hdc) {
  if (::IsWindowEnabled(hWnd)) return FALSE;
  RECT rc;
  ::GetClientRect(hWnd, &rc);
  ::FillRect(hdc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}
