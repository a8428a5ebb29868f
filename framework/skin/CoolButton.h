// Skinned push buttons and the game view's tooltip control.
// CCoolButton: the dialogs' button, a strip of four cells (normal, hover, pressed,
// disabled) or five (plus a shape/mask cell) from the dialog's theme section; it tracks
// the pointer itself, plays its sounds and posts its command.
// CQKBitmapButton2: the table's button; hover is shown by taking the keyboard focus.
// CQKToolTipCtrl: a tooltip that keeps working while a modal dialog runs.
#pragma once
#include <afxcmn.h>
#include <afxwin.h>

#include "QKBitmap.h"

class CCoolButton : public CButton {
  DECLARE_DYNAMIC(CCoolButton)

 public:
  CCoolButton();
  ~CCoolButton() override;

  BOOL LoadSkin(CWnd* pParent, UINT nID, const char* section, const char* key, UINT nHoverSound = 0,
                UINT nPressSound = 0, BOOL bSubclass = TRUE);
  BOOL LoadFile(CWnd* pParent, UINT nID, const char* path, BOOL bSubclass = TRUE);
  BOOL LoadFileKeyed(CWnd* pParent, UINT nID, const char* path, BOOL bKeyed);
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  // The state drawn last: -1 none, 0 normal, 1 hover, 2 pressed, 3 disabled.
  int GetLastState() const { return m_nLastState; }
  BOOL HasImage() const { return m_image.GetSafeHandle() != nullptr; }
  BOOL DrawsCaption() const { return m_bGeneric || !HasImage(); }
  BOOL m_bUseAlternate;
  CQKBitmap m_alternate;

 protected:
  BOOL Prepare(CWnd* pParent, UINT nID, BOOL bSubclass);
  BOOL ApplyImage(const char* path, BOOL bFiveCells);
  BOOL IsOver() const;
  void Track();
  void DrawCell(HDC dc, const RECT& rc, int cell);
  void DrawPlain(HDC dc, const RECT& rc, int state);
  void DrawCaption(HDC dc, const RECT& rc, int state, BOOL bFocus);

  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

  UINT m_nCtrlID;
  CQKBitmap m_image;
  int m_nLastState;
  UINT m_nHoverSound, m_nPressSound;
  BOOL m_bKeyed;
  COLORREF m_crKey;
  BOOL m_bFiveCells;
  int m_nBlink;
  int m_nCellWidth;
  BOOL m_bGeneric;  // the picture is the generic fallback: the caption is drawn on it
};

class CQKBitmapButton2 : public CButton {
  DECLARE_DYNAMIC(CQKBitmapButton2)

 public:
  CQKBitmapButton2();
  ~CQKBitmapButton2() override;

  BOOL LoadSkin(UINT nID, const char* section, const char* key, CWnd* pParent, UINT nHoverSound = 0,
                UINT nPressSound = 0, BOOL bSubclass = TRUE, BOOL bShape = FALSE);
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  BOOL m_bUseAlternate;
  CQKBitmap m_alternate;
  CQKBitmap m_pressed, m_focus, m_disabled;
  BOOL IsOutside() const { return m_bOutside; }

 protected:
  BOOL IsOver(CPoint point) const;
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

  BOOL m_bShape;
  UINT m_nHoverSound, m_nPressSound;
  BOOL m_bSounds;
  CQKBitmap m_image;
  HRGN m_hRegion;
  BOOL m_bOutside;
  int m_nCellMode;
  int m_nCellWidth, m_nCellHeight;
};

class CQKToolTipCtrl : public CToolTipCtrl {
  DECLARE_DYNCREATE(CQKToolTipCtrl)

 public:
  CQKToolTipCtrl() = default;

 protected:
  afx_msg LRESULT OnDisableModal(WPARAM, LPARAM) { return 0; }
  DECLARE_MESSAGE_MAP()
};
