// Automation and ActiveX control containment: dispatch parameter lists (VTS_*),
// OLE exceptions, event sink maps, and the control site used by CWnd::CreateControl.
#pragma once

#include "afxwin.h"
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>

#include <cstddef>
#include <tuple>
#include <utility>

// Parameter type lists for InvokeHelper and ON_EVENT: one byte per parameter.
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_CY "\x06"
#define VTS_DATE "\x07"
#define VTS_BSTR "\x08"   // an ANSI string (LPCSTR), passed on as a BSTR
#define VTS_WBSTR "\x0E"  // a wide string (LPCOLESTR)
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"  // const VARIANT*
#define VTS_UNKNOWN "\x0D"
#define VTS_I1 "\x10"
#define VTS_UI1 "\x11"
#define VTS_UI2 "\x12"
#define VTS_UI4 "\x13"
#define VTS_I8 "\x14"  // pointer-sized values on this platform
#define VTS_UI8 "\x15"
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR4 "\x44"
#define VTS_PR8 "\x45"
#define VTS_PBSTR "\x48"
#define VTS_PDISPATCH "\x49"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"
#define VTS_PUNKNOWN "\x4D"
#define VTS_PUI1 "\x51"
#define VTS_PI8 "\x54"

class COleException : public CException {
  DECLARE_DYNAMIC(COleException)
 public:
  explicit COleException(SCODE sc = E_FAIL) : m_sc(sc) {}
  SCODE m_sc;
  static SCODE PASCAL Process(const CException* pAnyException);
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class COleDispatchException : public CException {
  DECLARE_DYNAMIC(COleDispatchException)
 public:
  COleDispatchException(LPCSTR lpszDescription, UINT nHelpID, WORD wCode);
  WORD m_wCode;
  SCODE m_scError;
  CString m_strSource;
  CString m_strDescription;
  CString m_strHelpFile;
  DWORD m_dwHelpContext;
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCSTR lpszDescription, UINT nHelpID = 0);

// A VARIANT that frees itself.
class COleVariant : public tagVARIANT {
 public:
  COleVariant() { ::VariantInit(this); }
  COleVariant(const VARIANT& varSrc) {
    ::VariantInit(this);
    ::VariantCopy(this, const_cast<VARIANT*>(&varSrc));
  }
  COleVariant(const COleVariant& varSrc) {
    ::VariantInit(this);
    ::VariantCopy(this, const_cast<COleVariant*>(&varSrc));
  }
  COleVariant(LPCSTR lpszSrc);
  COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
  COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);
  ~COleVariant() { ::VariantClear(this); }
  const COleVariant& operator=(const VARIANT& varSrc) {
    ::VariantCopy(this, const_cast<VARIANT*>(&varSrc));
    return *this;
  }
  const COleVariant& operator=(const COleVariant& varSrc) { return *this = (const VARIANT&)varSrc; }
  void Clear() { ::VariantClear(this); }
  void ChangeType(VARTYPE vartype, LPVARIANT pSrc = nullptr);
  operator LPVARIANT() { return this; }
  operator const VARIANT*() const { return this; }
};

///////////////////////////////////////////////////////////////////////////////
// Event sink maps: events fired by a hosted control reach its parent's handlers.

typedef BOOL (*AFX_PEVENTDISPATCH)(CCmdTarget* pTarget, DISPPARAMS* pDispParams);

struct AFX_EVENTSINKMAP_ENTRY {
  UINT nCtlID;
  DISPID dispid;
  AFX_PEVENTDISPATCH pfnDispatch;
};

struct AFX_EVENTSINKMAP {
  const AFX_EVENTSINKMAP*(PASCAL* pfnGetBaseMap)();
  const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

// Converts one event argument from its VARIANT to the handler's parameter type,
// writing by-reference values back after the call.
template <class T>
struct AfxEventArg {
  T value{};
  explicit AfxEventArg(VARIANT* pv) {
    VARIANT v;
    ::VariantInit(&v);
    VARTYPE vt = sizeof(T) >= 8 ? VT_I8 : VT_I4;
    if (SUCCEEDED(::VariantChangeType(&v, pv, 0, vt))) value = (T)(vt == VT_I8 ? v.llVal : v.lVal);
  }
  T get() { return value; }
};
// BOOL (int): a VT_BOOL argument becomes 0/1, any other number keeps its value.
template <>
struct AfxEventArg<int> {
  int value = 0;
  explicit AfxEventArg(VARIANT* pv) {
    VARIANT v;
    ::VariantInit(&v);
    if (pv->vt == VT_BOOL)
      value = pv->boolVal != VARIANT_FALSE;
    else if (SUCCEEDED(::VariantChangeType(&v, pv, 0, VT_I4)))
      value = v.lVal;
  }
  int get() { return value; }
};
template <>
struct AfxEventArg<bool> {
  bool value = false;
  explicit AfxEventArg(VARIANT* pv) {
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(::VariantChangeType(&v, pv, 0, VT_BOOL))) value = v.boolVal != VARIANT_FALSE;
  }
  bool get() { return value; }
};
template <>
struct AfxEventArg<double> {
  double value = 0;
  explicit AfxEventArg(VARIANT* pv) {
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(::VariantChangeType(&v, pv, 0, VT_R8))) value = v.dblVal;
  }
  double get() { return value; }
};
template <>
struct AfxEventArg<float> : AfxEventArg<double> {
  using AfxEventArg<double>::AfxEventArg;
  float get() { return (float)value; }
};
template <>
struct AfxEventArg<LPCSTR> {
  CString value;
  explicit AfxEventArg(VARIANT* pv) {
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(::VariantChangeType(&v, pv, 0, VT_BSTR))) {
      value = v.bstrVal;
      ::VariantClear(&v);
    }
  }
  LPCSTR get() { return value; }
};
template <>
struct AfxEventArg<const VARIANT&> {
  VARIANT* pv;
  explicit AfxEventArg(VARIANT* p) : pv(p) {}
  const VARIANT& get() { return *pv; }
};
template <>
struct AfxEventArg<const VARIANT*> {
  VARIANT* pv;
  explicit AfxEventArg(VARIANT* p) : pv(p) {}
  const VARIANT* get() { return pv; }
};
template <>
struct AfxEventArg<VARIANT*> {
  VARIANT* pv;
  explicit AfxEventArg(VARIANT* p) : pv((p->vt & VT_BYREF) && (p->vt & VT_TYPEMASK) == VT_VARIANT ? p->pvarVal : p) {}
  VARIANT* get() { return pv; }
};
template <>
struct AfxEventArg<LPDISPATCH> {
  LPDISPATCH value = nullptr;
  explicit AfxEventArg(VARIANT* pv) {
    if (pv->vt == VT_DISPATCH)
      value = pv->pdispVal;
    else if (pv->vt == (VT_DISPATCH | VT_BYREF) && pv->ppdispVal)
      value = *pv->ppdispVal;
  }
  LPDISPATCH get() { return value; }
};
// BOOL* (VTS_PBOOL): the control's VARIANT_BOOL gets the handler's answer.
template <>
struct AfxEventArg<BOOL*> {
  BOOL value = FALSE;
  VARIANT* pv;
  explicit AfxEventArg(VARIANT* p) : pv(p) {
    if (p->vt == (VT_BOOL | VT_BYREF) && p->pboolVal) value = *p->pboolVal != VARIANT_FALSE;
  }
  ~AfxEventArg() {
    if (pv->vt == (VT_BOOL | VT_BYREF) && pv->pboolVal) *pv->pboolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  BOOL* get() { return &value; }
};
template <>
struct AfxEventArg<long*> {
  long dummy = 0;
  long* p;
  explicit AfxEventArg(VARIANT* pv) : p(pv->vt == (VT_I4 | VT_BYREF) && pv->plVal ? (long*)pv->plVal : &dummy) {}
  long* get() { return p; }
};
template <>
struct AfxEventArg<short*> {
  short dummy = 0;
  short* p;
  explicit AfxEventArg(VARIANT* pv) : p(pv->vt == (VT_I2 | VT_BYREF) && pv->piVal ? pv->piVal : &dummy) {}
  short* get() { return p; }
};

template <class R>
inline BOOL AfxEventResult(R r) {
  return (BOOL)r;
}

template <class T, class R, class... A, std::size_t... I>
BOOL AfxInvokeEventImpl(T* p, R (T::*pfn)(A...), DISPPARAMS* dp, std::index_sequence<I...>) {
  // DISPPARAMS holds the arguments last to first.
  VARIANT empty;
  ::VariantInit(&empty);
  auto arg = [&](std::size_t i) -> VARIANT* { return i < dp->cArgs ? &dp->rgvarg[dp->cArgs - 1 - i] : &empty; };
  std::tuple<AfxEventArg<A>...> args(AfxEventArg<A>(arg(I))...);
  if constexpr (std::is_void<R>::value) {
    (p->*pfn)(std::get<I>(args).get()...);
    return TRUE;
  } else {
    return AfxEventResult((p->*pfn)(std::get<I>(args).get()...));
  }
}

template <class T, class B, class R, class... A>
BOOL AfxInvokeEvent(T* p, R (B::*pfn)(A...), DISPPARAMS* dp) {
  return AfxInvokeEventImpl<B, R, A...>(static_cast<B*>(p), pfn, dp, std::index_sequence_for<A...>{});
}

#define DECLARE_EVENTSINK_MAP()                                \
 protected:                                                    \
  static const AFX_EVENTSINKMAP* PASCAL GetThisEventSinkMap(); \
  const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                              \
  const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
  const AFX_EVENTSINKMAP* PASCAL theClass::GetThisEventSinkMap() {                            \
    using ThisClass [[maybe_unused]] = theClass;                                              \
    using TheBaseClass [[maybe_unused]] = baseClass;                                          \
    static const AFX_EVENTSINKMAP_ENTRY _eventsinkEntries[] = {
// Handlers are named without their class; vtsParams documents the parameter list,
// the handler's own parameter types drive the conversion.
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                       \
  {(UINT)(id), (DISPID)(dispid), [](CCmdTarget* p_, DISPPARAMS* dp_) -> BOOL {      \
     return AfxInvokeEvent(static_cast<theClass*>(p_), &theClass::pfnHandler, dp_); \
   }},
#define ON_EVENT_RANGE(theClass, idFirst, idLast, dispid, pfnHandler, vtsParams)

#define END_EVENTSINK_MAP()                                                                                 \
  { 0, 0, nullptr }                                                                                         \
  }                                                                                                         \
  ;                                                                                                         \
  static const AFX_EVENTSINKMAP eventsinkMap = {&TheBaseClass::GetThisEventSinkMap, &_eventsinkEntries[0]}; \
  return &eventsinkMap;                                                                                     \
  }

// Site of one hosted control in its parent window.
class COleControlSite;
class COleControlContainer;
