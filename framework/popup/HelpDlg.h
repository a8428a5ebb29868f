// CHelpDlg: the skinned help window of the main frame's help command. By the theme's
// HelpType it shows the help picture (0) with the skinned vertical scroll bar when the
// picture is taller than its area, or a web page in the web-browser control: the configured
// help page (1) or the caller's address (2). Below it an optional link to detailed help, a
// check box "show again at the next start" and a close button that only hides the window.
// Without its picture or its browser it stays the plain dialog of its template.
#pragma once
#include <afxwin.h>

#include "resource.h"  // the templates live in the resource library

#include "CoolButton.h"
#include "HelpScrollBar.h"
#include "HyperLinkStatic.h"
#include "QKBitmap.h"
#include "QKCtrls.h"
#include "SkinDialog.h"

class CHelpDlg : public CSkinDialog {
 public:
  CHelpDlg(CWnd* pParent, const char* link);
  ~CHelpDlg() override;

  int m_nShowAgain;  // the check box (1 after construction)
  int m_nHelpType;   // 0 picture, 1 configured help page, 2 the caller's address
  int m_nWebWidth, m_nWebHeight;
  BOOL m_bLinkShown;
  CString m_strLink;  // the link start, or the address in mode 2
  CRect m_rcPicture;
  CSize m_sizePicture;
  BOOL m_bPictureShown;
  CCoolButton m_btnOK;
  CHyperLinkStatic m_link;
  CHelpScrollBar m_scroll;
  CWebBrowser2 m_web;

  int GetScrollPosition() const { return m_nScroll; }
  // The address the browser was sent to (browser modes).
  const CString& GetPageUrl() const { return m_strPageUrl; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override { OnOK(); }
  void PrePaintClient(CDC* pDC) override;
  void PaintClient(CDC* pDC) override;
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnDestroy();
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL LayOutPicture();
  BOOL LayOutBrowser();
  CString HelpPageUrl() const;
  void FormatLink(CWnd* link);
  void PlaceLinkAndCheck(const CRect& inner);
  void PlaceOK(int width, int rowBottom);
  void ScrollTo(int pos);

  CQKBitmap m_picture;
  CString m_strPageUrl;
  int m_nScroll = 0;
  BOOL m_bWheelForwarded = FALSE;  // a wheel message on its way to the page
  int m_nSaved = 0;
  CRgn m_clip;
};
