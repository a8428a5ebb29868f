// Message boxes of the program's own: five functions that show a modal box with a text,
// a button set, an icon, a default button and an optional countdown, either skinned
// (CSkinMsgBoxDlg, once the configuration paths are set) or plain (CMsgBoxDlg).
#pragma once
#include <afxwin.h>

#include "resource.h"  // the templates live in the resource library

#include "CoolButton.h"
#include "HyperLinkStatic.h"
#include "SkinDialog.h"
#include "SkinLayout.h"

int ShowMessageBox(LPCSTR lpszText, UINT nType, int nCountdown = 0);
int ShowMessageBoxId(UINT nIDText, UINT nType, int nCountdown = 0);
int DoMessageBox(LPCSTR lpszText, UINT nType, int nCountdown = 0);
int DoMessageBoxId(UINT nIDText, UINT nType, int nCountdown = 0);
// The answer (when asked for) is allocated with malloc and released by the caller with
// free; null when nothing was entered.
int DoInputMessageBox(LPCSTR lpszText, UINT nType, int nCountdown = 0, char** ppAnswer = nullptr);
// Posts WM_CANCELMODE to every descendant of the application's main window.
void CancelChildModes();

// What both box classes keep and do; the dialog classes forward to it.
class CMsgBoxCore {
 public:
  CMsgBoxCore(LPCSTR lpszText, UINT nType, int nCountdown, BOOL bInput);
  void Init(CDialog* pDlg, CWnd* pButtons[3], CStatic* pIcon, CStatic* pCountdown, HICON hIcon, BOOL bSkinned,
            const RECT& inner);
  BOOL Tick(CDialog* pDlg);  // a countdown tick: the seconds left by the clock; TRUE when the box ended
  void Clicked(CDialog* pDlg, int k);
  void ShowCountdown(CDialog* pDlg);
  char* TakeAnswer() const;

  CString m_strText;
  CString m_strEdit, m_strPassword;
  UINT m_nType;
  int m_nCountdown;         // seconds the box still shows
  int m_nCountdownSeconds;  // the whole countdown, counted from m_dwCountdownStart
  DWORD m_dwCountdownStart;
  int m_nButtons;
  int m_nReturn[3];
  int m_nTimeoutResult;
  CFont* m_pFont;
  BOOL m_bMasked;
  BOOL m_bInput;
  int m_nResult;
  skin::MsgBoxPlace m_place;
};

class CMsgBoxDlg : public CDialog {
 public:
  CMsgBoxDlg(LPCSTR lpszText, UINT nType, int nCountdown, BOOL bInput = FALSE);
  CMsgBoxDlg(UINT nIDText, UINT nType, int nCountdown, BOOL bInput = FALSE);
  BOOL OnInitDialog() override;
  void OnSetFont(CFont* pFont) override { m_core.m_pFont = pFont; }
  virtual void OnButton2();

  CStatic m_icon;
  CStatic m_countdown;
  CHyperLinkStatic m_text;
  CButton m_button[3];
  CMsgBoxCore m_core;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnCancel() override {}
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnButton1();
  afx_msg void OnButton3();
  afx_msg void OnButton2Map() { OnButton2(); }
  DECLARE_MESSAGE_MAP()
};

class CSkinMsgBoxDlg : public CSkinDialog {
 public:
  CSkinMsgBoxDlg(LPCSTR lpszText, UINT nType, int nCountdown, BOOL bInput = FALSE);
  CSkinMsgBoxDlg(UINT nIDText, UINT nType, int nCountdown, BOOL bInput = FALSE);
  ~CSkinMsgBoxDlg() override;
  BOOL OnInitDialog() override;
  void OnSetFont(CFont* pFont) override { m_core.m_pFont = pFont; }
  void PaintClient(CDC* pDC) override;
  virtual void OnButton2();

  CStatic m_icon;
  CStatic m_countdown;
  CHyperLinkStatic m_text;
  CCoolButton m_button[3];
  CMsgBoxCore m_core;
  HICON m_hThemeIcon;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnCancel() override {}
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnButton1();
  afx_msg void OnButton3();
  afx_msg void OnButton2Map() { OnButton2(); }
  DECLARE_MESSAGE_MAP()
};
