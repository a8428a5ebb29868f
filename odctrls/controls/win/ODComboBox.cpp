#include "ODComboBox.h"

#include <windowsx.h>

#include "ODMemDC.h"
#include "ODPaint.h"
#include "ODTheme.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_comboboxLoader = (SetThemeClassLoader("ODComboBox", &LoadODComboBoxTheme), true);
const bool g_combolistLoader = (SetThemeClassLoader("ODComboList", &LoadODComboListTheme), true);
}  // namespace

// ---- the drop-down windows -------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODComboDrop, CODNcMgrWnd)
IMPLEMENT_DYNAMIC(CODComboLB, CODComboDrop)
IMPLEMENT_DYNAMIC(CODComboLC, CODComboDrop)
IMPLEMENT_DYNAMIC(CODComboBox, CODComboBase)
IMPLEMENT_DYNAMIC(CODComboList, CODComboBase)

BOOL CODComboDrop::Create(CODComboBase* pCombo) {
  m_pCombo = pCombo;
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW));
  // Made at the drop-down size, so the list's bars start from the size it shows at.
  const CSize size = pCombo->m_sizeDrop;
  return CreateEx(WS_EX_TOOLWINDOW, cls, "", WS_POPUP, 0, 0, size.cx, size.cy, pCombo->m_hWnd, nullptr);
}

BOOL CODComboLB::CreateList(const RECT& rc) {
  return m_list.Create(WS_CHILD | WS_VISIBLE, rc, &m_container, CODComboBase::ID_LIST);
}

BOOL CODComboLC::CreateList(const RECT& rc) {
  return m_list.Create(WS_CHILD | WS_VISIBLE | odlist::LS_SINGLESEL | odlist::LS_NOHEADER, rc, &m_container,
                       CODComboBase::ID_LIST);
}

int CODComboListCtrl::GetSelectedRow() const {
  std::vector<int> rows = Model().SelectedRows();
  return rows.empty() ? -1 : rows.front();
}

void CODComboListCtrl::SelectRow(int nRow) {
  if (nRow < 0 || nRow >= GetItemCount()) return;
  SelectAndNotify(nRow, nRow, TRUE, FALSE, FALSE);
  EnsureVisible(nRow, TRUE);
}

LRESULT CODComboDrop::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      if (CODNcMgrWnd::OnODMessage(message, wParam, lParam) == -1) return -1;
      CRect rc;
      GetClientRect(&rc);
      if (!m_container.Create(rc, this, 0, WS_CHILD | WS_VISIBLE) || !CreateList(rc)) return -1;
      m_container.SetHostedControl(&GetListWnd());
      return 0;
    }
    case WM_SIZE:
      if (m_container.m_hWnd) m_container.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_KILLFOCUS:
      OnKillFocus((HWND)wParam);
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) OnKillFocus((HWND)lParam);
      break;
    case WM_MOUSEWHEEL:
      return GetListWnd().SendMessage(message, wParam, lParam);
    case WM_COMMAND:
      // A click in the list box chooses; its other notifications go to the combo.
      if (HIWORD(wParam) == CODListBox::LBN_ODCLICK && m_pCombo) {
        m_pCombo->CloseUp(TRUE);
        return 0;
      }
      if (m_pCombo) return m_pCombo->SendMessage(message, wParam, lParam);
      if (GetParent()) return GetParent()->SendMessage(message, wParam, lParam);
      return 0;
    case WM_NOTIFY:
      if (((NMHDR*)lParam)->code == (UINT)ODLN_CLICK && m_pCombo) {
        m_pCombo->CloseUp(TRUE);
        return 0;
      }
      // The combo hears of changes but never vetoes a selection.
      if (m_pCombo) m_pCombo->SendMessage(message, wParam, lParam);
      return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      return m_pCombo && m_pCombo->GetParent() ? m_pCombo->GetParent()->SendMessage(message, wParam, lParam) : 0;
  }
  return CODNcMgrWnd::OnODMessage(message, wParam, lParam);
}

BOOL CODComboDrop::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message != WM_KEYDOWN || !m_pCombo || !IsWindowVisible()) return FALSE;
  if (pMsg->wParam == VK_RETURN) {
    m_pCombo->SendMessage(WM_COMMAND, MAKEWPARAM(CODComboBase::ID_LIST, EnterCode()), (LPARAM)GetListWnd().m_hWnd);
    m_pCombo->CloseUp(TRUE);
    return TRUE;
  }
  if (pMsg->wParam == VK_ESCAPE) {
    m_pCombo->CloseUp(FALSE);
    return TRUE;
  }
  return FALSE;
}

void CODComboDrop::OnKillFocus(HWND hNew) {
  if (!m_pCombo || !IsWindowVisible() || hNew == m_hWnd || hNew == GetListWnd().m_hWnd || hNew == m_container.m_hWnd)
    return;
  for (int bar : {SB_HORZ, SB_VERT})
    if (ScrollBarEx* sb = m_container.GetSkinScrollBar(bar))
      if (hNew == sb->m_hWnd) return;
  m_pCombo->CloseUp(FALSE);
}

// ---- the combo box --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODComboBase, CODNcMgrWnd)

CODComboBase::CODComboBase() : m_dwComboStyle(0), m_bDropped(FALSE), m_nButtonWidth(18), m_sizeDrop(200, 200) {}

CODComboBase::~CODComboBase() {}

CODComboBox::~CODComboBox() {
  if (m_drop.m_hWnd) m_drop.DestroyWindow();
  if (m_hWnd) DestroyWindow();
}

CODComboList::~CODComboList() {
  if (m_drop.m_hWnd) m_drop.DestroyWindow();
  if (m_hWnd) DestroyWindow();
}

void CODComboBox::ListSelect(int nIndex) {
  CODListBox& list = m_drop.GetList();
  list.SetNotify(FALSE);
  list.SetCurSel(nIndex);
  list.SetNotify(TRUE);
}

BOOL CODComboBase::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  m_dwComboStyle = dwStyle & 0xFFFF;
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
  if (!CWnd::Create(cls, "", (dwStyle & 0xFFFF0000) | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID)) return FALSE;
  if (!IsDropList()) {
    CRect rc;
    GetClientRect(&rc);
    rc.right -= m_nButtonWidth;
    if (!m_edit.Create(WS_CHILD | WS_VISIBLE, rc, this, ID_EDIT)) return FALSE;
  }
  if (!Drop().Create(this)) return FALSE;
  OnSize();
  return TRUE;
}

void CODComboBase::Notify(UINT nCode) {
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), (LPARAM)m_hWnd);
}

void CODComboBase::DropDown() {
  CRect wr;
  GetWindowRect(&wr);
  CRect drop(wr.left, wr.bottom, wr.left + m_sizeDrop.cx, wr.bottom + m_sizeDrop.cy);
  if (drop.bottom > ::GetSystemMetrics(SM_CYSCREEN)) drop.OffsetRect(0, wr.top - m_sizeDrop.cy - drop.top);
  if (drop.right > ::GetSystemMetrics(SM_CXSCREEN)) drop.OffsetRect(wr.right - drop.right, 0);
  ::SetWindowPos(Drop().m_hWnd, HWND_NOTOPMOST, drop.left, drop.top, drop.Width(), drop.Height(), SWP_SHOWWINDOW);
  // The owner's caption stays active while the list has the focus.
  if (CWnd* top = GetTopLevelParent()) {
    top->SendMessage(WM_NCACTIVATE, TRUE);
    top->SendMessage(WM_SETREDRAW, TRUE);
  }
  m_bDropped = TRUE;
  // The list lays its bars out again for the size it shows at.
  CRect client;
  Drop().GetListWnd().GetClientRect(&client);
  Drop().GetListWnd().SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
  Drop().GetListWnd().SetFocus();
  Invalidate(FALSE);
  Notify(CBN_DROPDOWN);
}

void CODComboBase::CloseUp(BOOL bChosen) {
  if (!m_bDropped) return;
  m_bDropped = FALSE;
  Drop().ShowWindow(SW_HIDE);
  if (bChosen) TakeSelection();
  Notify(CBN_CLOSEUP);
  Invalidate(FALSE);
}

int CODComboBase::SetCurSel(int nIndex) {
  // Out of range in either direction selects the first item.
  if (nIndex < 0 || nIndex >= ListCount()) nIndex = 0;
  if (ListCount() == 0) return CB_ERR;
  ListSelect(nIndex);
  TakeSelection();
  return nIndex;
}

int CODComboBase::GetCurSel() { return ListSelection(); }

void CODComboBase::SetDroppedSize(int cx, int cy) {
  m_sizeDrop = CSize(cx, cy);
  if (Drop().m_hWnd) Drop().SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CODComboBase::TakeSelection() {
  CString text = ListText(ListSelection());
  if (IsDropList())
    m_strText = text;
  else
    m_edit.SetWindowText(text);
  Invalidate(FALSE);
  if (!text.IsEmpty()) Notify(CBN_SELCHANGE);
}

LRESULT CODComboBase::OnTextMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsDropList()) {
    if (message == WM_SETTEXT) {
      m_strText = lParam ? (LPCSTR)lParam : "";
      Invalidate(FALSE);
      return TRUE;
    }
    if (message == WM_GETTEXTLENGTH) return m_strText.GetLength();
    if (!lParam || (int)wParam <= 0) return 0;
    lstrcpynA((LPSTR)lParam, m_strText, (int)wParam);
    return lstrlenA((LPSTR)lParam);
  }
  if (!m_edit.m_hWnd || (m_edit.GetStyle() & ES_PASSWORD)) return 0;
  return m_edit.SendMessage(message, wParam, lParam);
}

LRESULT CODComboBase::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return OnTextMessage(message, wParam, lParam);
    case CB_SETCURSEL:
      return SetCurSel((int)wParam);
    case CB_GETCURSEL:
      return GetCurSel();
    case CB_GETCOUNT:
      return ListCount();
    case CB_SHOWDROPDOWN:
      if (wParam && !m_bDropped)
        DropDown();
      else if (!wParam)
        CloseUp(FALSE);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return m_bDropped;
    case WM_SIZE:
      OnSize();
      break;
    case WM_LBUTTONDOWN: {
      CRect rc;
      GetClientRect(&rc);
      CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      // The drop button, or anywhere on a drop list, toggles the drop-down.
      if (pt.x >= rc.right - m_nButtonWidth || (IsDropList() && !m_bDropped)) {
        SendMessage(WM_COMMAND, ID_DROPBTN, 0);
        return 0;
      }
      break;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_DROPBTN && lParam == 0) {
        if (m_bDropped)
          CloseUp(FALSE);
        else
          DropDown();
        return 0;
      }
      if (LOWORD(wParam) == ID_LIST && HIWORD(wParam) == LBN_SELCHANGE) return 0;
      if (LOWORD(wParam) == ID_EDIT && HIWORD(wParam) == EN_CHANGE) {
        Notify(CBN_EDITCHANGE);
        return 0;
      }
      break;
    case WM_KILLFOCUS: {
      LRESULT r = CODNcMgrWnd::OnODMessage(message, wParam, lParam);
      Notify(CBN_KILLFOCUS);
      if (m_edit.m_hWnd) m_edit.Invalidate(FALSE);
      return r;
    }
    case WM_KEYDOWN:
      if (wParam == VK_F4 || (wParam == VK_DOWN && (::GetKeyState(VK_MENU) & 0x8000))) {
        SendMessage(WM_COMMAND, ID_DROPBTN, 0);
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
  }
  return CODNcMgrWnd::OnODMessage(message, wParam, lParam);
}

void CODComboBase::OnSize() {
  if (!m_hWnd) return;
  CRect rc;
  GetClientRect(&rc);
  if (m_edit.m_hWnd) m_edit.MoveWindow(0, 0, rc.Width() - m_nButtonWidth, rc.Height());
  Invalidate(FALSE);
}

void CODComboBase::PaintWindow() {
  ODPaintClient(m_hWnd, [this](HDC dc, const CRect& rc) {
    if (m_hBackground)
      DrawBackground(dc, rc);
    else if (Theme().crBk != CLR_NONE)
      ODFillSolid(dc, rc, Theme().crBk);
    CRect text = rc;
    text.right -= m_nButtonWidth;
    if (IsDropList()) DrawOwnText(dc, text);
    CRect button(rc.right - m_nButtonWidth, rc.top, rc.right, rc.bottom);
    DrawDropButton(dc, button);
    ODFrame(dc, rc, CODNcMgrWnd::s_crBorder, 1);
  });
}

void CODComboBase::DrawOwnText(HDC hDC, const RECT& rc) {
  HFONT font = ODCreateFont(12);
  HGDIOBJ old = ::SelectObject(hDC, font);
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, ODListBoxValues().crNormalText);
  RECT r = {rc.left + 4, rc.top, rc.right, rc.bottom};
  ::DrawTextA(hDC, m_strText, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  ::SelectObject(hDC, old);
  ::DeleteObject(font);
}

void CODComboBase::DrawDropButton(HDC hDC, const RECT& rc) {
  const ODComboTheme& t = Theme();
  int image = m_bDropped ? t.nImageDropBtnIn : t.nImageDropBtnOut;
  HBITMAP bmp = image ? LoadThemeBitmap(image, "QKImage") : nullptr;
  if (bmp) {
    DrawBitmapTiled(hDC, rc, bmp, 2);
    ::DeleteObject(bmp);
    return;
  }
  ODFillSolid(hDC, rc, m_bDropped ? ODListBoxValues().crSelBk : ::GetSysColor(COLOR_BTNFACE));
  ODFrame(hDC, rc, CODNcMgrWnd::s_crBorder, 1);
  int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2 - 1;
  for (int i = 0; i < 4; ++i) {
    RECT a = {cx - 3 + i, cy + i, cx + 4 - i, cy + i + 1};
    ODFillSolid(hDC, a, RGB(0, 0, 0));
  }
}
