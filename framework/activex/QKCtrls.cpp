#include "QKCtrls.h"

IMPLEMENT_DYNCREATE(CQKAvatar, CWnd)
IMPLEMENT_DYNCREATE(CQKChatEx, CWnd)
IMPLEMENT_DYNCREATE(CQKAdCtrl, CWnd)
IMPLEMENT_DYNCREATE(CWebBrowser2, CWnd)

const CLSID CQKAvatar::clsid = {0x26174E2F, 0x0B86, 0x4D78, {0x81, 0x2B, 0xA8, 0x06, 0x3C, 0xBF, 0x43, 0x33}};
const CLSID CQKChatEx::clsid = {0xBD09250B, 0xAE60, 0x4414, {0x94, 0x21, 0x92, 0x22, 0xD9, 0xD5, 0xDB, 0x9A}};
const CLSID CQKAdCtrl::clsid = {0x11DC869E, 0x8872, 0x401D, {0xBE, 0x9C, 0x8B, 0x13, 0x9E, 0x76, 0x67, 0x43}};
const CLSID CWebBrowser2::clsid = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

#define QK_CREATE(cls)                                                                                         \
  BOOL cls::Create(LPCSTR, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, \
                   CCreateContext*) {                                                                          \
    return CreateControl(clsid, lpszWindowName, dwStyle, rect, pParentWnd, nID);                               \
  }
QK_CREATE(CQKAvatar)
QK_CREATE(CQKChatEx)
QK_CREATE(CQKAdCtrl)
QK_CREATE(CWebBrowser2)
#undef QK_CREATE

namespace {
// One method call with a long result (0 when the call failed).
template <class... A>
long CallLong(CWnd* w, DISPID id, const BYTE* parms, A... args) {
  long result = 0;
  QKTryDispatch(w, [&] { w->InvokeHelper(id, DISPATCH_METHOD, VT_I4, &result, parms, args...); });
  return result;
}
template <class... A>
BOOL CallBool(CWnd* w, DISPID id, const BYTE* parms, A... args) {
  BOOL result = FALSE;
  if (!QKTryDispatch(w, [&] { w->InvokeHelper(id, DISPATCH_METHOD, VT_BOOL, &result, parms, args...); })) return FALSE;
  return result;
}
template <class... A>
BOOL CallVoid(CWnd* w, DISPID id, const BYTE* parms, A... args) {
  return QKTryDispatch(w, [&] { w->InvokeHelper(id, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, args...); });
}
}  // namespace

// ---- avatar ----------------------------------------------------------------------------
long CQKAvatar::Invoke1(short* pValue) {
  static const BYTE p[] = VTS_PI2;
  return CallLong(this, 1, p, pValue);
}
long CQKAvatar::Invoke8(LONG_PTR record, long size) {
  static const BYTE p[] = VTS_I8 VTS_I4;
  return CallLong(this, 8, p, (LONGLONG)record, size);
}
long CQKAvatar::Invoke10(short x, short y, short cx, short cy, LONG_PTR* phBitmap) {
  static const BYTE p[] = VTS_I2 VTS_I2 VTS_I2 VTS_I2 VTS_I8;
  return CallLong(this, 10, p, x, y, cx, cy, (LONGLONG)phBitmap);
}
long CQKAvatar::Invoke12(long value) {
  static const BYTE p[] = VTS_I4;
  return CallLong(this, 12, p, value);
}
long CQKAvatar::Invoke14(long value) {
  static const BYTE p[] = VTS_I4;
  return CallLong(this, 14, p, value);
}
long CQKAvatar::Invoke17() { return CallLong(this, 17, (const BYTE*)VTS_NONE); }
long CQKAvatar::Invoke20(long value) {
  static const BYTE p[] = VTS_I4;
  return CallLong(this, 20, p, value);
}
long CQKAvatar::Invoke23(LONG_PTR hdc, long x, long y, long srcX, long srcY, long cx, long cy, long a, long b) {
  static const BYTE p[] = VTS_I8 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4;
  return CallLong(this, 23, p, (LONGLONG)hdc, x, y, srcX, srcY, cx, cy, a, b);
}

// ---- chat ------------------------------------------------------------------------------
CQKChatEx::CQKChatEx() { m_Version.LoadFromShareDir("QKChatEx.dll"); }

void CQKChatEx::SetServerHost(LPCSTR host) {
  QKTryDispatch(this, [&] { SetProperty(18, VT_BSTR, host); });
}
void CQKChatEx::SetServerPort(short port) {
  QKTryDispatch(this, [&] { SetProperty(19, VT_I2, port); });
}
BOOL CQKChatEx::Invoke35() { return CallBool(this, 35, (const BYTE*)VTS_NONE); }
LONG_PTR CQKChatEx::Invoke44() {
  LONGLONG result = 0;
  QKTryDispatch(this, [&] { InvokeHelper(44, DISPATCH_METHOD, VT_I8, &result, (const BYTE*)VTS_NONE); });
  return (LONG_PTR)result;
}
BOOL CQKChatEx::Invoke47(LONG_PTR block, long size, LPCSTR key, LPCSTR text1, LPCSTR text2, long value, long zero) {
  static const BYTE p[] = VTS_I8 VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4;
  return CallBool(this, 47, p, (LONGLONG)block, size, key, text1, text2, value, zero);
}
BOOL CQKChatEx::Invoke49(LONG_PTR block, long size) {
  static const BYTE p[] = VTS_I8 VTS_I4;
  return CallBool(this, 49, p, (LONGLONG)block, size);
}
BOOL CQKChatEx::Invoke51(LPCSTR file, LPCSTR second) {
  static const BYTE p[] = VTS_BSTR VTS_BSTR;
  return CallBool(this, 51, p, file, second);
}
void CQKChatEx::Invoke53() { CallVoid(this, 53, (const BYTE*)VTS_NONE); }
void CQKChatEx::Invoke54() { CallVoid(this, 54, (const BYTE*)VTS_NONE); }
// A control that cannot answer does not hold the window open.
BOOL CQKChatEx::Invoke56() {
  BOOL result = TRUE;
  QKTryDispatch(this, [&] { InvokeHelper(56, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)VTS_NONE); });
  return result;
}
void CQKChatEx::Invoke57(BOOL on) {
  static const BYTE p[] = VTS_BOOL;
  CallVoid(this, 57, p, on);
}
long CQKChatEx::Invoke64(LPCSTR text, long value) {
  static const BYTE p[] = VTS_BSTR VTS_I4;
  return CallLong(this, 64, p, text, value);
}
long CQKChatEx::Invoke66(LPCSTR user, long value) {
  static const BYTE p[] = VTS_BSTR VTS_I4;
  return CallLong(this, 66, p, user, value);
}
void CQKChatEx::Invoke70(BOOL on) {
  static const BYTE p[] = VTS_BOOL;
  CallVoid(this, 70, p, on);
}
BOOL CQKChatEx::Invoke72(short height) {
  static const BYTE p[] = VTS_I2;
  return CallBool(this, 72, p, height);
}
long CQKChatEx::Invoke73() { return CallLong(this, 73, (const BYTE*)VTS_NONE); }
void CQKChatEx::Invoke75(LPCSTR text) {
  static const BYTE p[] = VTS_BSTR;
  CallVoid(this, 75, p, text);
}
void CQKChatEx::Invoke76(LONG_PTR hWnd, long msg1, long msg2) {
  static const BYTE p[] = VTS_I8 VTS_I4 VTS_I4;
  CallVoid(this, 76, p, (LONGLONG)hWnd, msg1, msg2);
}
BOOL CQKChatEx::Invoke81(long value) {
  if (!(m_Version.Compare("2.5.1.29") & 1)) return FALSE;
  static const BYTE p[] = VTS_I4;
  return CallVoid(this, 81, p, value);
}

// ---- advertisement ---------------------------------------------------------------------
CQKAdCtrl::CQKAdCtrl() {
  CModuleVersion v;
  v.LoadFromShareDir("QKAdCtrl.ocx");
  m_bVersionOk = v.Compare("2.2.0.0") & 1;
  m_nSecond = 0;
}
long CQKAdCtrl::GetPositionId() { return CallLong(this, 2, (const BYTE*)VTS_NONE); }
BOOL CQKAdCtrl::ShowBanner(long id, LPCSTR link1, LPCSTR link2, LPCSTR text, long a, long b) {
  static const BYTE p[] = VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4;
  return CallVoid(this, 9, p, id, link1, link2, text, a, b);
}
BOOL CQKAdCtrl::ShowPage(long id, LPCSTR page, long a, long b, long ms) {
  static const BYTE p[] = VTS_I4 VTS_BSTR VTS_I4 VTS_I4 VTS_I4;
  return CallVoid(this, 10, p, id, page, a, b, ms);
}
BOOL CQKAdCtrl::ShowPageSized(long id, LPCSTR page, long a, long flags, long cx, long cy, long ms, BOOL second) {
  static const BYTE p[] = VTS_I4 VTS_BSTR VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_BOOL;
  return CallVoid(this, 11, p, id, page, a, flags, cx, cy, ms, second);
}
BOOL CQKAdCtrl::ShowSizedPage(long id, LPCSTR page, long cx, long cy, long a, long ms, BOOL second) {
  static const BYTE p[] = VTS_I4 VTS_BSTR VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_BOOL;
  return CallVoid(this, 12, p, id, page, cx, cy, a, ms, second);
}

// ---- web browser -----------------------------------------------------------------------
BOOL CWebBrowser2::Navigate(LPCSTR url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers) {
  static const BYTE p[] = VTS_BSTR VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
  return CallVoid(this, 104, p, url, flags, target, postData, headers);
}
