#include "ExitDlg.h"

#include "DialogRules.h"
#include "SkinFit.h"

CExitDlg::CExitDlg(CWnd* pParent)
    : CSkinDialog(IDD_EXIT, pParent), m_nResult(IDC_EXITCANCEL), m_nAskAllowed(1), m_nTrustExit(0) {
  SetSkinName("Exit");
}

BOOL CExitDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  m_nResult = IDC_EXITCANCEL;
  const char* section = GetSkinSection();
  m_btnAsk.LoadSkin(this, IDC_ASKOTHERS, section, "IDC_ASKOTHERS");
  m_btnForce.LoadSkin(this, IDC_FORCEEXIT, section, "IDC_FORCEEXIT");
  m_btnTrust.LoadSkin(this, IDC_WANTTRUSTEXIT, section, "IDC_WANTTRUSTEXIT");
  m_btnCancel.LoadSkin(this, IDC_EXITCANCEL, section, "IDCANCEL");

  dialogs::ExitChoices c = dialogs::ExitButtons(m_nAskAllowed, m_nTrustExit);
  if (c.trustText) {
    CString text;
    if (text.LoadString(IDS_TRUSTEXITWARN)) SetDlgItemText(IDC_EXITTEXT, text);
  }
  struct {
    CWnd* button;
    bool shown;
  } rows[] = {{&m_btnAsk, c.ask}, {&m_btnForce, c.force}, {&m_btnTrust, c.trust}, {&m_btnCancel, c.cancel}};
  for (auto& r : rows)
    if (r.button->GetSafeHwnd() && !r.shown) r.button->ShowWindow(SW_HIDE);

  // The visible choices close up from the right so no gap shows where one is hidden.
  CWnd* shown[4];
  int n = 0;
  CRect slots[4];
  int nSlots = 0;
  for (auto& r : rows) {
    if (!r.button->GetSafeHwnd()) continue;
    CRect rc;
    r.button->GetWindowRect(&rc);
    ScreenToClient(&rc);
    slots[nSlots++] = rc;
    if (r.shown) shown[n++] = r.button;
  }
  for (int i = 0; i < n; ++i) {
    const CRect& slot = slots[nSlots - n + i];
    shown[i]->SetWindowPos(nullptr, slot.left, slot.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitTemplateIntoSkin(this);
  GotoDlgCtrl(&m_btnCancel);
  return FALSE;
}

BOOL CExitDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (HIWORD(wParam) == BN_CLICKED && dialogs::IsExitChoice(id)) {
    CWnd* button = GetDlgItem(id);
    if (button && button->IsWindowVisible() && button->IsWindowEnabled()) {
      m_nResult = dialogs::ExitResultFor(id);
      EndDialog(IDOK);
    }
    return TRUE;
  }
  return CSkinDialog::OnCommand(wParam, lParam);
}
