// CODWnd: what every owner-drawn window answers alike, in one place, so that a control
// handles only its own messages.
//  - WM_CREATE: the control's own creation (OnODMessage), then the window is marked with
//    "ODCtrl" = 0x1000 and its kind's property, which NotifyOwnerDrawnWindows looks for.
//  - the theme-change message: the control reloads its theme values and pictures
//    (OnThemeChanged), the window is repainted, and the message goes on to OnODMessage.
// CODPainted adds, over any of these, the cases of a control that paints its whole client:
// WM_PAINT goes to PaintWindow and the background is never erased (CODPaintedWnd<CWnd> is
// CODPainted over CODWnd<CWnd>).
// A control overrides OnODMessage and passes what it does not handle to its base's
// OnODMessage, or to DefaultProc (the window class's own handling) at the bottom.
#pragma once
#include <afxwin.h>

// The registered message number of "ChangeThemeMsg" (the theme manager's).
UINT GetChangeThemeMsg();

// Registers a window class of the owner-drawn library once (the program's instance, the
// arrow cursor, DefWindowProc); a class that cannot be registered throws.
void ODRegisterWindowClass(LPCSTR lpszClass, UINT nStyle, HBRUSH hBackground);

// The marks NotifyOwnerDrawnWindows looks for: "ODCtrl" = 0x1000 and LPSZKIND = NVALUE.
void ODMarkWindow(HWND hWnd, LPCSTR lpszKind, UINT nValue);

template <class TBase>
class CODWnd : public TBase {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE) {
      const LRESULT r = OnODMessage(message, wParam, lParam);
      if (r != -1) ODMarkWindow(this->m_hWnd, m_lpszKind, m_nKind);
      return r;
    }
    if (message != 0 && message == GetChangeThemeMsg()) {
      OnThemeChanged();
      this->Invalidate(FALSE);
    }
    return OnODMessage(message, wParam, lParam);
  }

 protected:
  CODWnd(LPCSTR lpszKind, UINT nKind) : m_lpszKind(lpszKind), m_nKind(nKind) {}

  // The control's theme values and pictures, read again after the theme changed.
  virtual void OnThemeChanged() = 0;
  // The control's own messages.
  virtual LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window class's own handling, below every owner-drawn layer.
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) { return TBase::WindowProc(message, wParam, lParam); }

 private:
  LPCSTR m_lpszKind;
  UINT m_nKind;
};

template <class TOwnerDrawn>
class CODPainted : public TOwnerDrawn {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      PaintWindow();
      return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return TOwnerDrawn::WindowProc(message, wParam, lParam);
  }

 protected:
  using TOwnerDrawn::TOwnerDrawn;
  // Paints the whole client (BeginPaint to EndPaint).
  virtual void PaintWindow() = 0;
};

template <class TBase>
using CODPaintedWnd = CODPainted<CODWnd<TBase>>;
