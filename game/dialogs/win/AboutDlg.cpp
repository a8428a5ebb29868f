#include "AboutDlg.h"

#include "DialogRules.h"

CAboutDlg::CAboutDlg(int nValue, CWnd* pParent) : CSkinAboutDlg(IDI_ABOUT, pParent), m_nValue(nValue), m_nFlag(0) {}

namespace {
dialogs::Rect4 ChildRect(CWnd* dlg, CWnd* c) {
  CRect r;
  c->GetWindowRect(&r);
  dlg->ScreenToClient(&r);
  return {r.left, r.top, r.right, r.bottom};
}
int TextHeight(CWnd* dlg, const CString& text) {
  CClientDC dc(dlg);
  CFont* font = dlg->GetFont();
  CFont* old = font ? dc.SelectObject(font) : nullptr;
  CRect r(0, 0, 240, 0);
  dc.DrawText(text, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  if (old) dc.SelectObject(old);
  // The text control leaves 2 pixels under every line.
  int lines = 1;
  for (const char* p = text; *p; ++p) lines += *p == '\n';
  return r.Height() + 2 * lines;
}
}  // namespace

void CAboutDlg::LayOutControls() {
  CWnd* icon = GetDlgItem(IDC_ABOUT_ICON);
  CWnd* t1 = GetDlgItem(IDC_ABOUT_TEXT1);
  CWnd* t2 = GetDlgItem(IDC_ABOUT_TEXT2);
  CWnd* ok = GetDlgItem(IDOK);
  if (!icon || !t1 || !t2 || !ok) {
    CSkinAboutDlg::LayOutControls();
    return;
  }
  CRect inner;
  GetSkinClientRect(&inner);
  dialogs::Rect4 iconT = ChildRect(this, icon), okT = ChildRect(this, ok);
  iconT.right = iconT.left + 32;
  iconT.bottom = iconT.top + 32;
  dialogs::AboutPlaces p = dialogs::LayOutGameAbout(iconT, okT, TextHeight(this, m_strText1) + 2,
                                                    TextHeight(this, m_strText2) + 2, inner.Width(), inner.Height());
  auto place = [&](CWnd* c, const dialogs::Rect4& r) {
    c->SetWindowPos(nullptr, inner.left + r.left, inner.top + r.top, r.Width(), r.Height(),
                    SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(icon, p.icon);
  place(t1, p.text1);
  place(t2, p.text2);
  place(ok, p.ok);
}
