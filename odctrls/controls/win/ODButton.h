// CODButton: an owner-drawn push button, check box or radio button with hover tracking,
// hover and click sounds, an optional drop-down menu and an optional link.
#pragma once
#include <afxwin.h>

#include "ODIconMenu.h"
#include "ODWnd.h"

class CODButton : public CODWnd<CButton> {
  DECLARE_DYNAMIC(CODButton)
 public:
  enum {
    CLR_BK_IN,
    CLR_FG_IN,
    CLR_BK_OUT,
    CLR_FG_OUT,
    CLR_BK_FOCUS,
    CLR_FG_FOCUS,
    CLR_SOLID_BORDER,
    CLR_3D_TOPLEFT,
    CLR_3D_BOTTOMRIGHT,
    CLR_CHECK_IN,
    CLR_CHECK_OUT,
    CLR_CHECK_FOCUS,
    CLR_RADIO_IN,
    CLR_RADIO_OUT,
    CLR_RADIO_FOCUS,
    CLR_COUNT
  };
  CODButton();
  ~CODButton() override;

  // Type BS_PUSHBUTTON, BS_CHECKBOX/BS_AUTOCHECKBOX or BS_RADIOBUTTON/BS_AUTORADIOBUTTON;
  // the window is always owner-drawn.
  BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetTrackHover(BOOL bTrack) { m_bTrackHover = bTrack; }
  void SetTrackWhileInactive(BOOL b) { m_bTrackInactive = b; }
  // The menu's items become owner-drawn; commands go to the target window.
  BOOL SetMenu(HMENU hMenu, CWnd* pTarget);
  void SetLink(LPCSTR lpszLink) { m_strLink = lpszLink ? lpszLink : ""; }
  void SetMenuNotify(HWND hWnd, UINT nMsg, LPARAM lParam) {
    m_hNotify = hWnd;
    m_nNotifyMsg = nMsg;
    m_lNotifyParam = lParam;
  }
  void SetSounds(LPCSTR lpszHover, LPCSTR lpszClick, HMODULE hModule, DWORD dwFlags);
  void SetCursor(HCURSOR hCursor) { m_hCursor = hCursor; }
  BOOL IsHover() const { return m_bHover; }
  BOOL IsChecked() const { return m_nChecked; }
  COLORREF GetColour(int nIndex) const { return nIndex >= 0 && nIndex < CLR_COUNT ? m_colours[nIndex] : CLR_NONE; }
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  // The theme's pictures: check box and radio marks, and the push button's faces (out and in).
  enum { IMG_CHECKED, IMG_UNCHECKED, IMG_RADIOED, IMG_UNRADIOED, IMG_OUT, IMG_IN, IMG_COUNT };
  HBITMAP GetImage(int nWhich) const { return nWhich >= 0 && nWhich < IMG_COUNT ? m_hImages[nWhich] : nullptr; }

 protected:
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void ResetColours();
  LRESULT OnGetDlgCode();
  LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
  void OnSetCheck(int nState);
  void OnMouseMove();
  void ClearHover();
  void OnClicked();
  void UncheckGroup();
  void OpenMenu();
  void PlaySoundOf(const CString& name);
  void DrawMark(HDC hDC, const RECT& rc, COLORREF cr);
  // Loads the pictures; a push button with a face may take its size and shape from it.
  void LoadImages();
  void FitToFace();
  void FreeImages();
  // Draws a picture at its own size (or stretched over dst), leaving its key colour out.
  void DrawPicture(HDC hDC, int nWhich, const RECT& dst, BOOL bStretch);

  BOOL m_bTrackHover, m_bHover;
  BOOL m_bDefault;
  BOOL m_bCheckBox, m_bRadio;
  COLORREF m_colours[CLR_COUNT];
  DWORD m_colourData[CLR_COUNT];
  CODIconMenu m_menu;
  CWnd* m_pMenuTarget;
  BOOL m_bMenuOpen;
  HCURSOR m_hCursor;
  BOOL m_bTrackInactive;
  int m_nChecked;
  CString m_strLink;
  HWND m_hNotify;
  UINT m_nNotifyMsg;
  LPARAM m_lNotifyParam;
  CString m_strHoverSound, m_strClickSound;
  HMODULE m_hSoundModule;
  DWORD m_dwSoundFlags;
  HBITMAP m_hImages[IMG_COUNT];
};
