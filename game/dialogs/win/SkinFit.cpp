#include "SkinFit.h"

#include <algorithm>

void FitTemplateIntoSkin(CSkinDialog* pDlg) {
  if (!pDlg->IsSkinned()) return;
  CRect inner;
  pDlg->GetSkinClientRect(&inner);
  CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  for (CWnd* c = pDlg->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
    if (!(c->GetStyle() & WS_VISIBLE) || c->GetDlgCtrlID() == 0) continue;
    if (c->GetDlgCtrlID() == ID_SKINDLG_CLOSE || c->GetDlgCtrlID() == ID_SKINDLG_MAXRESTORE) continue;
    CRect r;
    c->GetWindowRect(&r);
    pDlg->ScreenToClient(&r);
    box.left = std::min(box.left, r.left);
    box.top = std::min(box.top, r.top);
    box.right = std::max(box.right, r.right);
    box.bottom = std::max(box.bottom, r.bottom);
  }
  if (box.left > box.right) return;
  for (CWnd* c = pDlg->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
    const int id = c->GetDlgCtrlID();
    if (id == ID_SKINDLG_CLOSE || id == ID_SKINDLG_MAXRESTORE) continue;
    CRect r;
    c->GetWindowRect(&r);
    pDlg->ScreenToClient(&r);
    c->SetWindowPos(nullptr, r.left + inner.left, r.top + inner.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CRect wr;
  pDlg->GetWindowRect(&wr);
  const int border = pDlg->GetBorderWidth();
  const int w = inner.left + box.right + box.left + border;
  const int h = inner.top + box.bottom + box.top + border;
  pDlg->SetWindowPos(nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  pDlg->CenterWindow();
}
