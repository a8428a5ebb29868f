// Thin wrappers of the platform's hosted controls: creation by class identifier through
// the control hosting of afx, and one dispatch call per member. A dispatch failure is
// returned as failure (FALSE or 0), never thrown into the caller's message handler.
// Handles and pointers pass pointer-sized (VT_I8) because the controls run in-process.
#pragma once
#include <afxdisp.h>
#include <afxwin.h>

#include "ResLoad.h"

// Runs one dispatch call; FALSE when the control is missing or reports a failure.
template <class F>
BOOL QKTryDispatch(CWnd* pWnd, F&& call) {
  if (!pWnd || !pWnd->GetSafeHwnd() || !pWnd->GetControlUnknown()) return FALSE;
  try {
    call();
    return TRUE;
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
}

class CQKAvatar : public CWnd {
  DECLARE_DYNCREATE(CQKAvatar)
 public:
  static const CLSID clsid;
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
              CCreateContext* pContext = nullptr) override;
  long Invoke1(short* pValue);
  long Invoke8(LONG_PTR record, long size);
  long Invoke10(short x, short y, short cx, short cy, LONG_PTR* phBitmap);
  long Invoke12(long value);
  long Invoke14(long value);
  long Invoke17();
  long Invoke20(long value);
  long Invoke23(LONG_PTR hdc, long x, long y, long srcX, long srcY, long cx, long cy, long a, long b);
};

class CQKChatEx : public CWnd {
  DECLARE_DYNCREATE(CQKChatEx)
 public:
  static const CLSID clsid;
  // The version of "QKChatEx.dll" in the platform's shared folder (0.0.0.0 when missing).
  CQKChatEx();
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
              CCreateContext* pContext = nullptr) override;
  void SetServerHost(LPCSTR host);
  void SetServerPort(short port);
  BOOL Invoke35();
  LONG_PTR Invoke44();  // the user list's window
  BOOL Invoke47(LONG_PTR block, long size, LPCSTR key, LPCSTR text1, LPCSTR text2, long value, long zero);
  BOOL Invoke49(LONG_PTR block, long size);
  BOOL Invoke51(LPCSTR file, LPCSTR second);
  void Invoke53();
  void Invoke54();
  BOOL Invoke56();
  void Invoke57(BOOL on);
  long Invoke64(LPCSTR text, long value);
  long Invoke66(LPCSTR user, long value);
  void Invoke70(BOOL on);
  BOOL Invoke72(short height);
  long Invoke73();
  void Invoke75(LPCSTR text);
  void Invoke76(LONG_PTR hWnd, long msg1, long msg2);
  // Only controls of version 2.5.1.29 or later know it; older ones get nothing.
  BOOL Invoke81(long value);

  CModuleVersion m_Version;
};

class CQKAdCtrl : public CWnd {
  DECLARE_DYNCREATE(CQKAdCtrl)
 public:
  static const CLSID clsid;
  CQKAdCtrl();
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
              CCreateContext* pContext = nullptr) override;
  long GetPositionId();                                                                                  // dispid 2
  BOOL ShowBanner(long id, LPCSTR link1, LPCSTR link2, LPCSTR text, long a, long b);                     // 9
  BOOL ShowPage(long id, LPCSTR page, long a, long b, long ms);                                          // 10
  BOOL ShowPageSized(long id, LPCSTR page, long a, long flags, long cx, long cy, long ms, BOOL second);  // 11
  BOOL ShowSizedPage(long id, LPCSTR page, long cx, long cy, long a, long ms, BOOL second);              // 12
  int IsVersionChecked() const { return m_nSecond && m_bVersionOk ? 1 : 0; }
  int IsUsable() const { return m_nSecond ? m_bVersionOk : 1; }

  int m_bVersionOk = 0;  // "QKAdCtrl.ocx" is at least 2.2.0.0
  int m_nSecond = 0;
};

class CWebBrowser2 : public CWnd {
  DECLARE_DYNCREATE(CWebBrowser2)
 public:
  static const CLSID clsid;
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
              CCreateContext* pContext = nullptr) override;
  BOOL Navigate(LPCSTR url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers);
};
