#include "WaitDlg.h"

#include <afxpriv.h>

#include <cstdlib>
#include <string>

#include "DialogRules.h"
#include "SkinTheme.h"

CWaitDlg::CWaitDlg(CWnd* pOwner, const char* skinName)
    : CSkinDialog(IDD_WAIT, pOwner),
      m_pOwner(pOwner),
      m_bShowButton(FALSE),
      m_bCreated(FALSE),
      m_bCancelled(FALSE),
      m_hIcon(nullptr) {
  SetSkinName(skinName && *skinName ? skinName : "Wait");
}

CWaitDlg::~CWaitDlg() {
  if (m_bCreated && m_hWnd) DestroyWindow();
  if (m_hIcon) ::DestroyIcon(m_hIcon);
}

HICON CWaitDlg::LoadThemeIcon() {
  std::string value = SkinThemeString(GetSkinSection(), "Icon", "");
  if (value.empty()) return nullptr;
  // A number names an icon of the resource library (themes packed into it); anything
  // else is a file of the theme folder.
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 10);
  if (end && *end == 0 && number > 0 && number < 65536) {
    if (HINSTANCE res = AfxGetResourceHandle())
      return (HICON)::LoadImageA(res, MAKEINTRESOURCEA(number), IMAGE_ICON, 64, 64, 0);
    return nullptr;
  }
  return SkinLoadThemeIcon(GetSkinSection(), "Icon");
}

BOOL CWaitDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  m_icon.SubclassDlgItem(IDC_WAIT_ICON, this);
  m_text.SubclassDlgItem(IDC_WAIT_TEXT, this);
  m_text.m_crText = GetCtrlTextColor();
  m_cancel.LoadSkin(this, IDC_WAIT_CANCEL, GetSkinSection(), "IDCANCEL");
  if (!m_hIcon) m_hIcon = LoadThemeIcon();
  return TRUE;
}

void CWaitDlg::ShowId(UINT nStringId, BOOL showButton, BOOL third) {
  CString s;
  s.LoadString(nStringId);
  Show(s, showButton, third);
}

void CWaitDlg::Show(const char* text, BOOL showButton, BOOL third) {
  if (m_bCreated && m_hWnd) ShowWindow(SW_HIDE);
  if (!Arrange(text, showButton, third)) return;
  ShowWindow(SW_SHOW);
  Invalidate(FALSE);
  UpdateWindow();
}

BOOL CWaitDlg::Arrange(const char* text, BOOL showButton, BOOL third) {
  m_strText = text ? text : "";
  m_bShowButton = showButton;
  m_bCancelled = FALSE;
  SetHasCaption(showButton || third);
  if (!m_bCreated) {
    if (!Create(IDD_WAIT, m_pOwner)) return FALSE;
    m_bCreated = TRUE;
  }
  // Laid out unseen: a shown box changes size and place in one step.
  const BOOL wasVisible = IsWindowVisible();
  if (wasVisible) ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
  m_text.SetWindowText(m_strText);

  CSize size(0, 0);
  {
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* old = font ? dc.SelectObject(font) : nullptr;
    size = dc.GetTextExtent(m_strText.IsEmpty() ? CString(" ") : m_strText);
    if (old) dc.SelectObject(old);
  }
  CRect button;
  m_cancel.GetWindowRect(&button);
  dialogs::WaitGeometry g = dialogs::LayOutWait(size.cx, size.cy, showButton != 0, button.Width(), button.Height());

  const int border = GetBorderWidth(), top = GetInnerTop();
  SetWindowPos(nullptr, 0, 0, g.clientW + 2 * border, top + g.clientH + border,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetCaptionButtons().ShowButton(SW_HIDE, 0);
  m_icon.SetWindowPos(nullptr, border + g.iconX, top + g.iconY, 32, 32, SWP_NOZORDER | SWP_NOACTIVATE);
  m_icon.ShowWindow(m_hIcon ? SW_HIDE : SW_SHOW);
  m_text.SetWindowPos(nullptr, border + g.textX, top + g.textY, size.cx + 4, size.cy + 2,
                      SWP_NOZORDER | SWP_NOACTIVATE);
  if (showButton) {
    m_cancel.SetWindowPos(nullptr, border + g.buttonX, top + g.buttonY, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_cancel.ShowWindow(SW_SHOW);
  } else {
    m_cancel.ShowWindow(SW_HIDE);
  }
  if (HRGN rgn = BuildWindowRegion()) {
    if (!SetWindowRgn(rgn, TRUE)) ::DeleteObject(rgn);
  }
  CenterWindow(m_pOwner);
  if (wasVisible) {
    ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return TRUE;
}

void CWaitDlg::Hide() {
  if (m_bCreated && m_hWnd) AfxHideTopLevel(m_hWnd);
}

BOOL CWaitDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_WAIT_CANCEL) {
    m_bCancelled = TRUE;
    return TRUE;
  }
  return CSkinDialog::OnCommand(wParam, lParam);
}

HRGN CWaitDlg::BuildWindowRegion() {
  CRect rc;
  GetWindowRect(&rc);
  return ::CreateRoundRectRgn(0, 0, rc.Width() + 1, rc.Height() + 1, 4, 4);
}

void CWaitDlg::PaintClient(CDC* pDC) {
  if (!m_hIcon || !m_icon.GetSafeHwnd()) return;
  CRect r;
  m_icon.GetWindowRect(&r);
  ScreenToClient(&r);
  ::DrawIconEx(pDC->GetSafeHdc(), r.left, r.top, m_hIcon, 32, 32, 0, nullptr, DI_NORMAL);
}
