// CSetupDlg: the modal settings dialog of the table view's settings button. The view
// fills the public values before DoModal and reads them back after IDOK. The pickers
// (colour, file, folder) are virtual so a caller can put its own in their place.
#pragma once
#include <afxwin.h>

#include "CoolButton.h"
#include "SkinDialog.h"

#define IDD_SETUPDLG 155
#define IDC_SETUP_ALLOWWATCH 1008
#define IDC_SETUP_TILE 1014
#define IDC_SETUP_BKCOLOR 1015
#define IDC_SETUP_BKBMP 1016
#define IDC_SETUP_MUSIC 1017
#define IDC_SETUP_BK_COLOR 1020
#define IDC_SETUP_BK_PICTURE 1021
#define IDC_SETUP_SOUND 1022
#define IDC_SETUP_MUSICON 1023
#define IDC_SETUP_BK_DEFAULT 1024
#define IDC_SETUP_SEAT_CCW 1025
#define IDC_SETUP_SEAT_CW 1026
#define IDC_SETUP_VOICE 1027
#define IDC_SETUP_TRADSOUND 1028
#define IDC_SETUP_CAPTUREBTN 1036
#define IDC_SETUP_CAPTUREDIR 1044
#define IDC_SETUP_SMALLCARDS 1048
#define IDC_SETUP_ANIMATION 1049
#define IDC_SETUP_FLOATTEXT 1050

class CSetupDlg : public CSkinDialog {
 public:
  explicit CSetupDlg(CWnd* pParent = nullptr);

  int m_bAllowWatch;
  int m_nBkMode;  // -1 none, 0 default, 1 colour, 2 picture
  int m_bMusic;
  int m_bSound;
  int m_bTile;
  int m_bSmallCards;
  int m_nSeatDir;  // 0 counter-clockwise, 1 clockwise
  int m_bVoice;
  int m_bAnimation;
  int m_bTradSound;
  int m_bFloatText;
  CString m_strCaptureDir;
  COLORREF m_crBk;
  CString m_strBkPicture;
  CString m_strMusicFile;

  BOOL m_bWatcher;  // set by the view: a watcher cannot change allow-watching

  CCoolButton m_btnOK, m_btnCancel, m_btnBkColor, m_btnBkBmp, m_btnMusic, m_btnCaptureDir;

  // The pickers; TRUE when the player chose something.
  virtual BOOL PickColor(COLORREF& color);
  virtual BOOL PickFile(const CString& start, const char* filter, CString& path);
  virtual BOOL PickFolder(const char* title, CString& folder);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnBkColor();
  afx_msg void OnBkBmp();
  afx_msg void OnMusic();
  afx_msg void OnCaptureDir();
  DECLARE_MESSAGE_MAP()
};
