// CSetupDlg: the modal settings dialog of the table view's settings button. The view
// fills the public values before DoModal and reads them back after IDOK. The pickers
// (colour, file, folder) are virtual so a caller can put its own in their place.
#pragma once
#include <afxwin.h>

#include "CoolButton.h"
#include "SkinDialog.h"
#include "resource.h"

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
