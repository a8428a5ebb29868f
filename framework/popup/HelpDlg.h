// CHelpDlg: the skinned help window of the main frame's help command. In picture mode it
// shows the theme's help picture with a vertical scroll bar when the picture is taller
// than its area; below it an optional link to detailed help, a check box "show again at
// the next start" and a close button that only hides the window. Without its picture (or
// in the browser modes, which need a web-browser control this program does not host) it
// stays the plain dialog of its template.
#pragma once
#include <afxwin.h>

#include "CoolButton.h"
#include "HyperLinkStatic.h"
#include "QKBitmap.h"
#include "SkinDialog.h"

#define IDD_HELPDLG 29735
#define IDC_HELP_LINK 29750
#define IDC_HELP_AGAIN 29753
#define IDC_HELP_SCROLL 29749

class CHelpDlg : public CSkinDialog {
 public:
  CHelpDlg(CWnd* pParent, const char* link);
  ~CHelpDlg() override;

  int m_nShowAgain;  // the check box (1 after construction)
  int m_nHelpType;   // 0 picture, 1 and 2 browser modes
  int m_nWebWidth, m_nWebHeight;
  BOOL m_bLinkShown;
  CString m_strLink;
  CRect m_rcPicture;
  CSize m_sizePicture;
  BOOL m_bPictureShown;
  CCoolButton m_btnOK;
  CHyperLinkStatic m_link;
  CScrollBar m_scroll;

  int GetScrollPosition() const { return m_nScroll; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override { OnOK(); }
  void PrePaintClient(CDC* pDC) override;
  void PaintClient(CDC* pDC) override;
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL LayOutPicture();
  void PlaceLinkAndCheck(const CRect& inner);
  void ScrollTo(int pos);

  CQKBitmap m_picture;
  int m_nScroll = 0;
  int m_nSaved = 0;
};
