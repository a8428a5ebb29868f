// CODDialog: a dialog that draws its own non-client area: borders, a caption with its own
// text lines and caption buttons, a window region cut from the border images, and a client
// background. CODWaitDlg animates a progress bar; CODMsgDlg closes itself after a countdown.
#pragma once
#include <afxwin.h>

#include <vector>

#include "ODProgressCtrl.h"
#include "ODStatic.h"
#include "ODThemeImage.h"
#include "ODTxtMov.h"
#include "ODWnd.h"

class CODDialog : public CODWnd<CDialog> {
  DECLARE_DYNAMIC(CODDialog)
 public:
  enum { BTN_CLOSE = 0, BTN_MAX = 1, BTN_MIN = 2 };
  enum { HIT_SYSMENU = 0, HIT_CLOSE = 1, HIT_MAX = 2, HIT_MIN = 3 };
  CODDialog();
  ~CODDialog() override;

  // A modeless dialog of the given client size from an in-memory template.
  BOOL CreateModeless(LPCSTR lpszTitle, DWORD dwStyle, int cx, int cy, CWnd* pParent);
  int SetButtonState(int nIndex, int nState);
  int GetButtonState(int nIndex) const;
  void SetMaxZoomImage(BOOL b) { m_bMaxZoom = b; }
  void SetMinZoomImage(BOOL b) { m_bMinZoom = b; }
  // 0 system menu, 1 close, 2 maximise, 3 minimise, -1 none; rc is the caption.
  int CaptionHitTest(const RECT& rc, POINT pt) const;
  void DrawCaption(HDC hDC, const RECT& rc);
  HRGN CaptionRegion(const RECT& rc) const;
  // The border images' see-through parts over a window of the given size; null for none.
  HRGN BorderTransparentRegion(int cx, int cy) const;
  int GetCaptionHeight() const { return m_nCaptionHeight; }
  CODTxtMov& GetCaptionLines() { return m_caption; }
  BOOL IsMaximised() const { return m_bMaximised; }

  virtual void OnAfterErase(HDC hDC, const RECT& rc) {}
  // The animated image members: eight borders, eight caption parts and the client image,
  // each turning on its own timer (first id + index).
  enum { IMAGE_TIMER_FIRST = 2000, IMAGE_COUNT = 17 };
  CODThemeImage* AnimatedImage(int nIndex);

 protected:
  void StartImageTimers();
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL HasCaption() const { return (GetStyle() & WS_CAPTION) == WS_CAPTION; }
  void OnNcCalcSize(NCCALCSIZE_PARAMS* p);
  void OnNcPaint();
  void DrawBorder(HDC hDC, const CRect& rcWindow);
  CRect CaptionRect() const;
  CRect ButtonRect(const RECT& rcCaption, int nHit) const;
  CSize PartSize(int nImage) const;
  const CODThemeImage& ButtonImage(int nHit) const;
  void OnNcButton(UINT message, CPoint ptScreen);
  void OnSize(UINT nType);
  BOOL OnEraseBkgnd(HDC hDC);
  void LoadImages();

  CODThemeImage m_borders[8];
  CODThemeImage m_captionImages[8];  // by ODCAP_*
  CODThemeImage m_clientImage;
  int m_nBorder[4];  // left, top, right, bottom
  CODTxtMov m_caption;
  int m_buttonState[3];
  int m_nPressed, m_nHot;
  BOOL m_bActive, m_bMaximised, m_bMinimised, m_bMaxZoom, m_bMinZoom;
  CSize m_sizeWindow;
  int m_nCaptionHeight;
  std::vector<WORD> m_template;
  HFONT m_hCaptionFont;
};

class CODWaitDlg : public CODDialog {
  DECLARE_DYNAMIC(CODWaitDlg)
 public:
  CODWaitDlg();
  // Creates the dialog with its bar and starts timer 1000.
  BOOL CreateWait(LPCSTR lpszTitle, int nMode, CWnd* pParent);
  CODProgressCtrl& GetBar() { return m_bar; }
  int GetMode() const { return m_nMode; }

 protected:
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int m_nMode;
  CODProgressCtrl m_bar;
};

class CODMsgDlg : public CODDialog {
  DECLARE_DYNAMIC(CODMsgDlg)
 public:
  CODMsgDlg();
  // Creates the dialog showing the count before the message and starts timer 1001.
  BOOL CreateMessage(LPCSTR lpszTitle, LPCSTR lpszText, int nSeconds, UINT nPeriod, CWnd* pParent);
  int GetRemaining() const { return m_nRemaining; }
  int GetResult() const { return m_nResult; }
  CODStatic& GetTextCtrl() { return m_text; }

 protected:
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int m_nRemaining;
  CString m_strText;
  CODStatic m_text;
  int m_nResult;
};
