// Message-map entry macros. Each entry carries a small dispatcher that cracks the
// message parameters and calls the handler; handlers are named as &CClass::OnName
// (or just the handler name for the ON_WM_* entries, which take none).
#pragma once

#define WM_REFLECT_BASE 0xBC00
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define AFX_REG_MSG_MARK 0xC000

#define AFX_MSG_DISPATCH(...)                          \
  [](CCmdTarget* pTarget_, AFX_MSGCALL& c_) -> BOOL {  \
    ThisClass* p_ = static_cast<ThisClass*>(pTarget_); \
    (void)p_;                                          \
    (void)c_;                                          \
    __VA_ARGS__                                        \
  }

#define AFX_WM_ENTRY(msg, ...) {(UINT)(msg), 0, 0, 0, nullptr, AFX_MSG_DISPATCH(__VA_ARGS__)},
#define AFX_PT_LPARAM CPoint((int)(short)LOWORD(c_.lParam), (int)(short)HIWORD(c_.lParam))

// Window messages
#define ON_WM_CREATE() \
  AFX_WM_ENTRY(WM_CREATE, c_.lResult = (LRESULT)p_->OnCreate((LPCREATESTRUCT)c_.lParam); return TRUE;)
#define ON_WM_NCCREATE() \
  AFX_WM_ENTRY(WM_NCCREATE, c_.lResult = (LRESULT)p_->OnNcCreate((LPCREATESTRUCT)c_.lParam); return TRUE;)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, p_->OnDestroy(); return TRUE;)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, p_->OnNcDestroy(); return TRUE;)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, p_->OnClose(); return TRUE;)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, p_->OnPaint(); return TRUE;)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, p_->OnNcPaint(); return TRUE;)
#define ON_WM_ERASEBKGND() \
  AFX_WM_ENTRY(WM_ERASEBKGND, c_.lResult = (LRESULT)p_->OnEraseBkgnd(CDC::FromHandle((HDC)c_.wParam)); return TRUE;)
#define ON_WM_SIZE() \
  AFX_WM_ENTRY(WM_SIZE, p_->OnSize((UINT)c_.wParam, (int)LOWORD(c_.lParam), (int)HIWORD(c_.lParam)); return TRUE;)
#define ON_WM_SIZING() \
  AFX_WM_ENTRY(WM_SIZING, p_->OnSizing((UINT)c_.wParam, (LPRECT)c_.lParam); c_.lResult = TRUE; return TRUE;)
#define ON_WM_MOVE() \
  AFX_WM_ENTRY(WM_MOVE, p_->OnMove((int)(short)LOWORD(c_.lParam), (int)(short)HIWORD(c_.lParam)); return TRUE;)
#define ON_WM_MOVING() \
  AFX_WM_ENTRY(WM_MOVING, p_->OnMoving((UINT)c_.wParam, (LPRECT)c_.lParam); c_.lResult = TRUE; return TRUE;)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, p_->OnTimer((UINT_PTR)c_.wParam); return TRUE;)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, p_->OnShowWindow((BOOL)c_.wParam, (UINT)c_.lParam); return TRUE;)
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, p_->OnEnable((BOOL)c_.wParam); return TRUE;)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY(WM_GETMINMAXINFO, p_->OnGetMinMaxInfo((MINMAXINFO*)c_.lParam); return TRUE;)
#define ON_WM_WINDOWPOSCHANGING() \
  AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, p_->OnWindowPosChanging((WINDOWPOS*)c_.lParam); return TRUE;)
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, p_->OnWindowPosChanged((WINDOWPOS*)c_.lParam); return TRUE;)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, p_->OnSysCommand((UINT)c_.wParam, c_.lParam); return TRUE;)
#define ON_WM_ACTIVATE()                                                                                            \
  AFX_WM_ENTRY(WM_ACTIVATE,                                                                                         \
               p_->OnActivate((UINT)LOWORD(c_.wParam), CWnd::FromHandle((HWND)c_.lParam), (BOOL)HIWORD(c_.wParam)); \
               return TRUE;)
#define ON_WM_ACTIVATEAPP() \
  AFX_WM_ENTRY(WM_ACTIVATEAPP, p_->OnActivateApp((BOOL)c_.wParam, (DWORD)c_.lParam); return TRUE;)
#define ON_WM_NCACTIVATE() \
  AFX_WM_ENTRY(WM_NCACTIVATE, c_.lResult = (LRESULT)p_->OnNcActivate((BOOL)c_.wParam); return TRUE;)
#define ON_WM_MOUSEACTIVATE()                                                                                        \
  AFX_WM_ENTRY(WM_MOUSEACTIVATE,                                                                                     \
               c_.lResult = (LRESULT)p_->OnMouseActivate(CWnd::FromHandle((HWND)c_.wParam), (UINT)LOWORD(c_.lParam), \
                                                         (UINT)HIWORD(c_.lParam));                                   \
               return TRUE;)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, p_->OnSetFocus(CWnd::FromHandle((HWND)c_.wParam)); return TRUE;)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, p_->OnKillFocus(CWnd::FromHandle((HWND)c_.wParam)); return TRUE;)
#define ON_WM_CAPTURECHANGED() \
  AFX_WM_ENTRY(WM_CAPTURECHANGED, p_->OnCaptureChanged(CWnd::FromHandle((HWND)c_.lParam)); return TRUE;)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, p_->OnCancelMode(); return TRUE;)
#define ON_WM_SETCURSOR()                                                                                             \
  AFX_WM_ENTRY(WM_SETCURSOR, c_.lResult = (LRESULT)p_->OnSetCursor(CWnd::FromHandle((HWND)c_.wParam),                 \
                                                                   (UINT)LOWORD(c_.lParam), (UINT)HIWORD(c_.lParam)); \
               return TRUE;)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, c_.lResult = (LRESULT)p_->OnGetDlgCode(); return TRUE;)
#define ON_WM_NCHITTEST() \
  AFX_WM_ENTRY(WM_NCHITTEST, c_.lResult = (LRESULT)(int)p_->OnNcHitTest(AFX_PT_LPARAM); return TRUE;)
#define ON_WM_NCCALCSIZE() \
  AFX_WM_ENTRY(WM_NCCALCSIZE, p_->OnNcCalcSize((BOOL)c_.wParam, (NCCALCSIZE_PARAMS*)c_.lParam); return TRUE;)
#define ON_WM_CTLCOLOR()                                                                                             \
  AFX_WM_ENTRY(WM_CTLCOLOR, c_.lResult = (LRESULT)p_->OnCtlColor(CDC::FromHandle((HDC)c_.wParam),                    \
                                                                 CWnd::FromHandle(((AFX_CTLCOLOR*)c_.lParam)->hWnd), \
                                                                 ((AFX_CTLCOLOR*)c_.lParam)->nCtlType);              \
               return TRUE;)
#define ON_WM_DRAWITEM()                                                                                    \
  AFX_WM_ENTRY(WM_DRAWITEM, p_->OnDrawItem((int)c_.wParam, (LPDRAWITEMSTRUCT)c_.lParam); c_.lResult = TRUE; \
               return TRUE;)
#define ON_WM_MEASUREITEM()                                                                                          \
  AFX_WM_ENTRY(WM_MEASUREITEM, p_->OnMeasureItem((int)c_.wParam, (LPMEASUREITEMSTRUCT)c_.lParam); c_.lResult = TRUE; \
               return TRUE;)
#define ON_WM_COMPAREITEM()                                                                             \
  AFX_WM_ENTRY(WM_COMPAREITEM,                                                                          \
               c_.lResult = (LRESULT)p_->OnCompareItem((int)c_.wParam, (LPCOMPAREITEMSTRUCT)c_.lParam); \
               return TRUE;)
#define ON_WM_DELETEITEM()                                                                                        \
  AFX_WM_ENTRY(WM_DELETEITEM, p_->OnDeleteItem((int)c_.wParam, (LPDELETEITEMSTRUCT)c_.lParam); c_.lResult = TRUE; \
               return TRUE;)
#define ON_WM_HSCROLL()                                                                           \
  AFX_WM_ENTRY(WM_HSCROLL, p_->OnHScroll((UINT)LOWORD(c_.wParam), (UINT)(short)HIWORD(c_.wParam), \
                                         (CScrollBar*)CWnd::FromHandle((HWND)c_.lParam));         \
               return TRUE;)
#define ON_WM_VSCROLL()                                                                           \
  AFX_WM_ENTRY(WM_VSCROLL, p_->OnVScroll((UINT)LOWORD(c_.wParam), (UINT)(short)HIWORD(c_.wParam), \
                                         (CScrollBar*)CWnd::FromHandle((HWND)c_.lParam));         \
               return TRUE;)
#define ON_WM_PARENTNOTIFY() AFX_WM_ENTRY(WM_PARENTNOTIFY, p_->OnParentNotify((UINT)c_.wParam, c_.lParam); return TRUE;)
#define ON_WM_KEYDOWN()                                                                                      \
  AFX_WM_ENTRY(WM_KEYDOWN, p_->OnKeyDown((UINT)c_.wParam, (UINT)LOWORD(c_.lParam), (UINT)HIWORD(c_.lParam)); \
               return TRUE;)
#define ON_WM_KEYUP() \
  AFX_WM_ENTRY(WM_KEYUP, p_->OnKeyUp((UINT)c_.wParam, (UINT)LOWORD(c_.lParam), (UINT)HIWORD(c_.lParam)); return TRUE;)
#define ON_WM_CHAR() \
  AFX_WM_ENTRY(WM_CHAR, p_->OnChar((UINT)c_.wParam, (UINT)LOWORD(c_.lParam), (UINT)HIWORD(c_.lParam)); return TRUE;)
#define ON_WM_SYSKEYDOWN()                                                                                         \
  AFX_WM_ENTRY(WM_SYSKEYDOWN, p_->OnSysKeyDown((UINT)c_.wParam, (UINT)LOWORD(c_.lParam), (UINT)HIWORD(c_.lParam)); \
               return TRUE;)
#define ON_WM_SYSKEYUP()                                                                                       \
  AFX_WM_ENTRY(WM_SYSKEYUP, p_->OnSysKeyUp((UINT)c_.wParam, (UINT)LOWORD(c_.lParam), (UINT)HIWORD(c_.lParam)); \
               return TRUE;)
#define ON_WM_SYSCHAR()                                                                                      \
  AFX_WM_ENTRY(WM_SYSCHAR, p_->OnSysChar((UINT)c_.wParam, (UINT)LOWORD(c_.lParam), (UINT)HIWORD(c_.lParam)); \
               return TRUE;)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, p_->OnMouseMove((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_LBUTTONDOWN() \
  AFX_WM_ENTRY(WM_LBUTTONDOWN, p_->OnLButtonDown((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, p_->OnLButtonUp((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_LBUTTONDBLCLK() \
  AFX_WM_ENTRY(WM_LBUTTONDBLCLK, p_->OnLButtonDblClk((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_RBUTTONDOWN() \
  AFX_WM_ENTRY(WM_RBUTTONDOWN, p_->OnRButtonDown((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, p_->OnRButtonUp((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_RBUTTONDBLCLK() \
  AFX_WM_ENTRY(WM_RBUTTONDBLCLK, p_->OnRButtonDblClk((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_MBUTTONDOWN() \
  AFX_WM_ENTRY(WM_MBUTTONDOWN, p_->OnMButtonDown((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_MBUTTONUP() AFX_WM_ENTRY(WM_MBUTTONUP, p_->OnMButtonUp((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_MOUSEWHEEL()                                                                                     \
  AFX_WM_ENTRY(WM_MOUSEWHEEL, c_.lResult = (LRESULT)p_->OnMouseWheel((UINT)LOWORD(c_.wParam),                  \
                                                                     (short)HIWORD(c_.wParam), AFX_PT_LPARAM); \
               return TRUE;)
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, p_->OnMouseLeave(); return TRUE;)
#define ON_WM_MOUSEHOVER() AFX_WM_ENTRY(WM_MOUSEHOVER, p_->OnMouseHover((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_NCMOUSEMOVE() \
  AFX_WM_ENTRY(WM_NCMOUSEMOVE, p_->OnNcMouseMove((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_NCLBUTTONDOWN() \
  AFX_WM_ENTRY(WM_NCLBUTTONDOWN, p_->OnNcLButtonDown((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_NCLBUTTONUP() \
  AFX_WM_ENTRY(WM_NCLBUTTONUP, p_->OnNcLButtonUp((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_NCLBUTTONDBLCLK() \
  AFX_WM_ENTRY(WM_NCLBUTTONDBLCLK, p_->OnNcLButtonDblClk((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_NCRBUTTONDOWN() \
  AFX_WM_ENTRY(WM_NCRBUTTONDOWN, p_->OnNcRButtonDown((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_NCRBUTTONUP() \
  AFX_WM_ENTRY(WM_NCRBUTTONUP, p_->OnNcRButtonUp((UINT)c_.wParam, AFX_PT_LPARAM); return TRUE;)
#define ON_WM_NCMOUSELEAVE() AFX_WM_ENTRY(WM_NCMOUSELEAVE, p_->OnNcMouseLeave(); return TRUE;)
#define ON_WM_CONTEXTMENU() \
  AFX_WM_ENTRY(WM_CONTEXTMENU, p_->OnContextMenu(CWnd::FromHandle((HWND)c_.wParam), AFX_PT_LPARAM); return TRUE;)
#define ON_WM_INITMENUPOPUP()                                                                                      \
  AFX_WM_ENTRY(WM_INITMENUPOPUP, p_->OnInitMenuPopup(CMenu::FromHandle((HMENU)c_.wParam), (UINT)LOWORD(c_.lParam), \
                                                     (BOOL)HIWORD(c_.lParam));                                     \
               return TRUE;)
#define ON_WM_COPYDATA()                                                                                            \
  AFX_WM_ENTRY(WM_COPYDATA,                                                                                         \
               c_.lResult = (LRESULT)p_->OnCopyData(CWnd::FromHandle((HWND)c_.wParam), (COPYDATASTRUCT*)c_.lParam); \
               return TRUE;)
#define ON_WM_QUERYNEWPALETTE() \
  AFX_WM_ENTRY(WM_QUERYNEWPALETTE, c_.lResult = (LRESULT)p_->OnQueryNewPalette(); return TRUE;)
#define ON_WM_PALETTECHANGED() \
  AFX_WM_ENTRY(WM_PALETTECHANGED, p_->OnPaletteChanged(CWnd::FromHandle((HWND)c_.wParam)); return TRUE;)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, p_->OnSysColorChange(); return TRUE;)
#define ON_WM_SETTINGCHANGE() \
  AFX_WM_ENTRY(WM_SETTINGCHANGE, p_->OnSettingChange((UINT)c_.wParam, (LPCTSTR)c_.lParam); return TRUE;)
#define ON_WM_DROPFILES() AFX_WM_ENTRY(WM_DROPFILES, p_->OnDropFiles((HDROP)c_.wParam); return TRUE;)
#define ON_WM_QUERYENDSESSION() \
  AFX_WM_ENTRY(WM_QUERYENDSESSION, c_.lResult = (LRESULT)p_->OnQueryEndSession(); return TRUE;)
#define ON_WM_ENDSESSION() AFX_WM_ENTRY(WM_ENDSESSION, p_->OnEndSession((BOOL)c_.wParam); return TRUE;)
#define ON_WM_STYLECHANGED() \
  AFX_WM_ENTRY(WM_STYLECHANGED, p_->OnStyleChanged((int)c_.wParam, (LPSTYLESTRUCT)c_.lParam); return TRUE;)
#define ON_WM_ENTERIDLE() \
  AFX_WM_ENTRY(WM_ENTERIDLE, p_->OnEnterIdle((UINT)c_.wParam, CWnd::FromHandle((HWND)c_.lParam)); return TRUE;)
#define ON_WM_MENUSELECT()                                                                                          \
  AFX_WM_ENTRY(WM_MENUSELECT, p_->OnMenuSelect((UINT)LOWORD(c_.wParam), (UINT)HIWORD(c_.wParam), (HMENU)c_.lParam); \
               return TRUE;)
#define ON_WM_HELPINFO() \
  AFX_WM_ENTRY(WM_HELPINFO, c_.lResult = (LRESULT)p_->OnHelpInfo((HELPINFO*)c_.lParam); return TRUE;)
#define ON_WM_NCLBUTTONDBLCLK_() ON_WM_NCLBUTTONDBLCLK()

// Arbitrary and registered messages: LRESULT handler(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) \
  AFX_WM_ENTRY(message, c_.lResult = (LRESULT)(p_->*(memberFxn))(c_.wParam, c_.lParam); return TRUE;)
// The registered id is read when the message is dispatched, so it may be set after start-up.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                             \
  {                                                                                                    \
    AFX_REG_MSG_MARK, 0, 0, 0, &(nMessageVariable),                                                    \
        AFX_MSG_DISPATCH(c_.lResult = (LRESULT)(p_->*(memberFxn))(c_.wParam, c_.lParam); return TRUE;) \
  }                                                                                                    \
  ,
#define ON_THREAD_MESSAGE(message, memberFxn) \
  AFX_WM_ENTRY(message, (p_->*(memberFxn))(c_.wParam, c_.lParam); return TRUE;)

// Commands and control notifications: void handler()
#define ON_COMMAND(id, memberFxn)                                                                                   \
  { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_MSG_DISPATCH((p_->*(memberFxn))(); return TRUE;) } \
  ,
#define ON_COMMAND_EX(id, memberFxn)                               \
  {                                                                \
    WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr,       \
        AFX_MSG_DISPATCH(return (BOOL)(p_->*(memberFxn))(c_.nID);) \
  }                                                                \
  ,
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                    \
  {                                                                \
    WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr,   \
        AFX_MSG_DISPATCH((p_->*(memberFxn))(c_.nID); return TRUE;) \
  }                                                                \
  ,
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                    \
  {                                                                            \
    WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), nullptr,         \
        AFX_MSG_DISPATCH((p_->*(memberFxn))((CCmdUI*)c_.pExtra); return TRUE;) \
  }                                                                            \
  ,
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                      \
  {                                                                            \
    WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), nullptr,     \
        AFX_MSG_DISPATCH((p_->*(memberFxn))((CCmdUI*)c_.pExtra); return TRUE;) \
  }                                                                            \
  ,
#define ON_CONTROL(wNotifyCode, id, memberFxn)                        \
  {                                                                   \
    WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, \
        AFX_MSG_DISPATCH((p_->*(memberFxn))(); return TRUE;)          \
  }                                                                   \
  ,
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)              \
  {                                                                       \
    WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, \
        AFX_MSG_DISPATCH((p_->*(memberFxn))(c_.nID); return TRUE;)        \
  }                                                                       \
  ,

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// WM_NOTIFY: void handler(NMHDR*, LRESULT*); the _EX forms return BOOL (FALSE routes on).
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                     \
  {                                                                                                               \
    WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,                                              \
        AFX_MSG_DISPATCH((p_->*(memberFxn))(((AFX_NOTIFY*)c_.pExtra)->pNMHDR, ((AFX_NOTIFY*)c_.pExtra)->pResult); \
                         return TRUE;)                                                                            \
  }                                                                                                               \
  ,
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                  \
  {                                                                                                          \
    WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,                                     \
        AFX_MSG_DISPATCH(                                                                                    \
            (p_->*(memberFxn))(c_.nID, ((AFX_NOTIFY*)c_.pExtra)->pNMHDR, ((AFX_NOTIFY*)c_.pExtra)->pResult); \
            return TRUE;)                                                                                    \
  }                                                                                                          \
  ,
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                   \
  {                                                                                                \
    WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,                               \
        AFX_MSG_DISPATCH(return (BOOL)(p_->*(memberFxn))(c_.nID, ((AFX_NOTIFY*)c_.pExtra)->pNMHDR, \
                                                         ((AFX_NOTIFY*)c_.pExtra)->pResult);)      \
  }                                                                                                \
  ,
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                     \
  {                                                                                                \
    WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,                           \
        AFX_MSG_DISPATCH(return (BOOL)(p_->*(memberFxn))(c_.nID, ((AFX_NOTIFY*)c_.pExtra)->pNMHDR, \
                                                         ((AFX_NOTIFY*)c_.pExtra)->pResult);)      \
  }                                                                                                \
  ,

// Reflected to the control that sent them.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                    \
  {                                                                   \
    WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, nullptr, \
        AFX_MSG_DISPATCH((p_->*(memberFxn))(); return TRUE;)          \
  }                                                                   \
  ,
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                 \
  {                                                                   \
    WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, nullptr, \
        AFX_MSG_DISPATCH(return (BOOL)(p_->*(memberFxn))();)          \
  }                                                                   \
  ,
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                                 \
  {                                                                                                               \
    WM_REFLECT_BASE + WM_NOTIFY, (UINT)(wNotifyCode), 0, 0, nullptr,                                              \
        AFX_MSG_DISPATCH((p_->*(memberFxn))(((AFX_NOTIFY*)c_.pExtra)->pNMHDR, ((AFX_NOTIFY*)c_.pExtra)->pResult); \
                         return TRUE;)                                                                            \
  }                                                                                                               \
  ,
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                               \
  {                                                                                                                \
    WM_REFLECT_BASE + WM_NOTIFY, (UINT)(wNotifyCode), 0, 0, nullptr,                                               \
        AFX_MSG_DISPATCH(                                                                                          \
            return (BOOL)(p_->*(memberFxn))(((AFX_NOTIFY*)c_.pExtra)->pNMHDR, ((AFX_NOTIFY*)c_.pExtra)->pResult);) \
  }                                                                                                                \
  ,
// HBRUSH CtlColor(CDC*, UINT nCtlColor); a NULL brush lets the parent handle it.
#define ON_WM_CTLCOLOR_REFLECT()                                                             \
  AFX_WM_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR,                                                \
               HBRUSH hbr_ = p_->CtlColor(CDC::FromHandle((HDC)c_.wParam), (UINT)c_.lParam); \
               c_.lResult = (LRESULT)hbr_; return hbr_ != nullptr;)
#define ON_WM_DRAWITEM_REFLECT()                                                                            \
  AFX_WM_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, p_->DrawItem((LPDRAWITEMSTRUCT)c_.lParam); c_.lResult = TRUE; \
               return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT()                                                                                  \
  AFX_WM_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, p_->MeasureItem((LPMEASUREITEMSTRUCT)c_.lParam); c_.lResult = TRUE; \
               return TRUE;)
#define ON_WM_HSCROLL_REFLECT()                                                                                    \
  AFX_WM_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, p_->HScroll((UINT)LOWORD(c_.wParam), (UINT)(short)HIWORD(c_.wParam)); \
               return TRUE;)
#define ON_WM_VSCROLL_REFLECT()                                                                                    \
  AFX_WM_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, p_->VScroll((UINT)LOWORD(c_.wParam), (UINT)(short)HIWORD(c_.wParam)); \
               return TRUE;)
#define ON_WM_PARENTNOTIFY_REFLECT() \
  AFX_WM_ENTRY(WM_REFLECT_BASE + WM_PARENTNOTIFY, p_->ParentNotify((UINT)c_.wParam, c_.lParam); return TRUE;)

#define DECLARE_MESSAGE_MAP()                          \
 protected:                                            \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                          \
    using ThisClass [[maybe_unused]] = theClass;                                    \
    using TheBaseClass [[maybe_unused]] = baseClass;                                \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                       \
  { 0, 0, 0, 0, nullptr, nullptr }                                                              \
  }                                                                                             \
  ;                                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                           \
  }
