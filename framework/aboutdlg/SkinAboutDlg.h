// CSkinAboutDlg: the skinned about box: the program's icon, two text blocks from the
// version information and a skinned OK button. The game's own box derives from it and
// changes the height, the layout and the texts through the virtual steps below.
#pragma once
#include <afxwin.h>

#include "resource.h"  // the templates live in the resource library

#include "CoolButton.h"
#include "HyperLinkStatic.h"
#include "SkinDialog.h"

class CSkinAboutDlg : public CSkinDialog {
 public:
  explicit CSkinAboutDlg(UINT nIconId, CWnd* pParent = nullptr);
  ~CSkinAboutDlg() override;

  CString m_strText1;
  CString m_strText2;
  CCoolButton m_btnOK;
  CHyperLinkStatic m_text1;
  CHyperLinkStatic m_text2;
  UINT m_nIconId;
  HICON m_hIcon;

  // The caption's name: the ProductName of the version information, else the
  // application's name.
  static CString ProductName();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void PaintClient(CDC* pDC) override;
  // Steps the game's box replaces.
  virtual int ExtraHeight() const { return 85; }
  virtual void LayOutControls();
  virtual void MakeTexts();
  HICON LoadAboutIcon() const;
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
