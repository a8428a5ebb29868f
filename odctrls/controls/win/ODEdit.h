// CODEdit: a single-line edit written on a plain window: its own text, caret, selection and
// scrolling, keys, characters, mouse selection and clipboard, the password style with a
// replacement character or a password image, and a context menu from the popup menu window.
#pragma once
#include <afxwin.h>

#include "EditBuffer.h"
#include "ODMenuWnd.h"
#include "ODThemeImage.h"

class CODEdit : public CWnd {
  DECLARE_DYNAMIC(CODEdit)
 public:
  enum { ID_CUT = 9001, ID_COPY = 9002, ID_PASTE = 9003, ID_CLEAR = 9004, ID_SELALL = 9005 };
  CODEdit();
  ~CODEdit() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetLimitText(int nMax) { m_buffer.m_maxLength = nMax; }
  void SetSel(int nStart, int nEnd);
  void GetSel(int& nStart, int& nEnd) const;
  void SetNotify(BOOL bNotify) { m_bNotify = bNotify; }
  // In the password style WM_GETTEXT answers nothing; the program reads and sets the
  // password here, in its own process.
  CString GetPassword() const;
  void SetPassword(LPCSTR lpszText);
  int GetScrollOffset() const { return m_buffer.m_scroll; }
  int GetCaret() const { return m_buffer.m_caret; }
  // Whether the password characters are drawn as the theme's password image.
  BOOL UsesPasswordImage() const { return m_bPwdImg; }
  enum { TIMER_CARET = 9001, TIMER_BKIMAGE = 9002, TIMER_PWDIMAGE = 9003 };

  // Sends EN_CHANGE to the parent.
  virtual void OnTextChanged();
  virtual void OnInitialize() {}
  virtual void DrawText(HDC hDC, const RECT& rc);
  virtual void DrawBorder(HDC hDC, const RECT& rc);
  virtual void DrawBackground(HDC hDC, const RECT& rc);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnCreate();
  LRESULT OnSetText(LPCSTR lpszText);
  LRESULT OnGetText(int nSize, LPSTR lpBuffer) const;
  void OnChar(UINT nChar);
  void OnKeyDown(UINT nKey);
  void OnLButtonDown(CPoint pt);
  void OnMouseMove(CPoint pt);
  void OnLButtonUp();
  void OnSetFocus();
  void OnKillFocus();
  void OnTimer(UINT_PTR nID);
  void OnPaint();
  void OnContextMenu(CPoint pt);
  void Copy();
  void Cut();
  void Paste();
  void DoRequest(vesk::odctrls::EditRequest req);
  void Changed();
  CRect InnerRect() const;
  int PrefixWidth(int nBytes) const;
  int CaretX() const;
  void KeepCaretVisible();
  int HitTest(int x) const;
  // The theme's background and password images, with their animation timers.
  void LoadImages();
  void LoadFont();
  int PasswordCellWidth() const;
  void DrawPasswordImages(HDC hDC, int x0, const RECT& rc);

  vesk::odctrls::EditBuffer m_buffer;
  BOOL m_bFocus, m_bCaretOn;
  BOOL m_bNotify;
  CRect m_rcBorder;
  HFONT m_hFont;
  int m_nSpacing;
  CODThemeImage m_bkImage, m_pwdImage;
  BOOL m_bPwdImg;
  int m_nPwdGap;
  BOOL m_bDragging;
  int m_nDragAnchor;
  CODMenuWnd m_menu;
};
