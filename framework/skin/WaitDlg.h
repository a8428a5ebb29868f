// Modeless wait boxes with one line of status text, an icon and an optional Cancel
// button: CSkinWaitDlg on the skinned dialog base, CNoticeDlg its plain twin. They stay
// up while the caller works; Cancel only sets a flag that the caller reads.
#pragma once
#include <afxwin.h>

#include "resource.h"  // the templates live in the resource library

#include "CoolButton.h"
#include "HyperLinkStatic.h"
#include "SkinDialog.h"

class CSkinWaitDlg : public CSkinDialog {
 public:
  CSkinWaitDlg(LPCSTR lpszText = nullptr, int nShowCancel = 0, CWnd* pParent = nullptr, LPCSTR lpszSkin = nullptr);
  ~CSkinWaitDlg() override;

  void SetText(LPCSTR lpszText, int nShowCancel = 0, int nKeepOpen = 0);
  void SetTextId(UINT nID, int nShowCancel = 0, int nKeepOpen = 0);
  BOOL IsCancelled() const { return m_bCancelled; }

  CStatic m_icon;
  CCoolButton m_cancel;
  CHyperLinkStatic m_text;
  CString m_strText;
  int m_nShowCancel;
  BOOL m_bCancelled;
  BOOL m_bSecondLayout;
  BOOL m_bCreated;
  HICON m_hThemeIcon;
  CWnd* m_pParent;
  CFont* m_pFont;
  int m_nDist[3];

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnSetFont(CFont* pFont) override { m_pFont = pFont; }
  void OnOK() override {}
  void OnCancel() override { m_bCancelled = TRUE; }
  void PaintClient(CDC* pDC) override;
};

class CNoticeDlg : public CDialog {
 public:
  CNoticeDlg(LPCSTR lpszText = nullptr, int nShowCancel = 0, CWnd* pParent = nullptr);
  ~CNoticeDlg() override;

  void SetText(LPCSTR lpszText, int nShowCancel = 0);
  void SetTextId(UINT nID, int nShowCancel = 0);
  BOOL IsCancelled() const { return m_bCancelled; }

  CButton m_cancel;
  CStatic m_icon;
  CStatic m_text;
  CString m_strText;
  int m_nShowCancel;
  BOOL m_bCancelled;
  CWnd* m_pParent;
  CFont* m_pFont;
  BOOL m_bCreated;
  int m_nDist[3];
  BOOL m_bKeepCaption;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnSetFont(CFont* pFont) override { m_pFont = pFont; }
  void OnOK() override {}
  void OnCancel() override { m_bCancelled = TRUE; }
};
