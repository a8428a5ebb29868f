// CAboutDlg: the game's about box, opened from the main frame's system-menu item. The
// framework's skinned about box with a taller window and the game's own layout.
#pragma once
#include "SkinAboutDlg.h"
#include "resource.h"

class CAboutDlg : public CSkinAboutDlg {
 public:
  explicit CAboutDlg(int nValue = 0, CWnd* pParent = nullptr);

  int m_nValue;
  int m_nFlag;

 protected:
  int ExtraHeight() const override { return 125; }
  void LayOutControls() override;
};
