// CExitDlg: the warning the main frame shows when the player closes the window during a
// running game. Every choice ends the dialog with IDOK; GetResult says which one it was
// (1004 ask the others, 1003 force the exit, 1028 leave under trusteeship, 1152 cancel).
// Closing it any other way leaves 1152.
#pragma once
#include <afxwin.h>

#include "CoolButton.h"
#include "SkinDialog.h"
#include "resource.h"

class CExitDlg : public CSkinDialog {
 public:
  explicit CExitDlg(CWnd* pParent = nullptr);

  int m_nResult;      // the control id of the choice (default 1152, cancel)
  int m_nAskAllowed;  // 0 hides "ask the others"
  int m_nTrustExit;   // 1 offers only the trusteeship exit and cancel
  CCoolButton m_btnAsk, m_btnForce, m_btnTrust, m_btnCancel;

  int GetResult() const { return m_nResult; }

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
