// CWaitDlg: the small modeless notice with an icon, one line of text and an optional
// Cancel button, sized to its text. The application shows it to a watcher until the
// game data has arrived. Cancel only sets a flag the caller reads.
#pragma once
#include <afxwin.h>

#include "CoolButton.h"
#include "HyperLinkStatic.h"
#include "SkinDialog.h"
#include "resource.h"

class CWaitDlg : public CSkinDialog {
 public:
  explicit CWaitDlg(CWnd* pOwner = nullptr, const char* skinName = nullptr);
  ~CWaitDlg() override;

  // Creates the window on first use, lays it out for the text and shows it centred on the
  // owner. `third` keeps the heading even without the button (the application passes 0).
  void Show(const char* text, BOOL showButton, BOOL third = FALSE);
  // The same without showing it: created, laid out and centred, visibility unchanged.
  // FALSE when the window cannot be made.
  BOOL Arrange(const char* text, BOOL showButton, BOOL third = FALSE);
  void ShowId(UINT nStringId, BOOL showButton, BOOL third = FALSE);
  void Hide();
  BOOL IsCancelled() const { return m_bCancelled; }
  BOOL IsCreated() const { return m_bCreated; }

  CWnd* m_pOwner;
  CString m_strText;
  BOOL m_bShowButton;
  BOOL m_bCreated;
  BOOL m_bCancelled;
  HICON m_hIcon;
  CStatic m_icon;
  CHyperLinkStatic m_text;
  CCoolButton m_cancel;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override {}
  void OnCancel() override { m_bCancelled = TRUE; }
  void PaintClient(CDC* pDC) override;
  HRGN BuildWindowRegion() override;
  HICON LoadThemeIcon();
};
