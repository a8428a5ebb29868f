// Dialogs, dialog data exchange and the standard control wrappers.
#include <afxwin.h>
#include <afxpriv.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
  ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
  ON_MESSAGE(WM_SETFONT, &CDialog::HandleSetFont)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(nullptr),
      m_hDialogTemplate(nullptr),
      m_lpDialogTemplate(nullptr),
      m_lpDialogInit(nullptr),
      m_pParentWnd(nullptr),
      m_hWndTop(nullptr),
      m_nIDHelp(0) {}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd) : CDialog() {
  m_lpszTemplateName = lpszTemplateName;
  m_pParentWnd = pParentWnd;
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = LOWORD((ULONG_PTR)lpszTemplateName);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog() {
  m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
  m_pParentWnd = pParentWnd;
  m_nIDHelp = nIDTemplate;
}

CDialog::~CDialog() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    if (pDlg != nullptr) return pDlg->OnInitDialog();
    return 1;
  }
  return 0;
}

static LPCDLGTEMPLATE LoadDialogTemplate(LPCSTR lpszTemplateName, HINSTANCE* phInst) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, (LPCSTR)RT_DIALOG);
  HRSRC hResource = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
  if (hResource == nullptr) return nullptr;
  HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
  if (phInst) *phInst = hInst;
  return hTemplate ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : nullptr;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  if (lpDialogTemplate == nullptr) return FALSE;
  if (hInst == nullptr) hInst = AfxGetResourceHandle();
  HWND hWndParent = pParentWnd->GetSafeHwnd();
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, hWndParent, AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  if (hWnd != nullptr && m_hWnd == hWnd) {
    // Initial strings of list and combo boxes come with the template (DLGINIT).
    if (m_lpDialogInit) ExecuteDlgInit(m_lpDialogInit);
  }
  return hWnd != nullptr;
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0) m_nIDHelp = LOWORD((ULONG_PTR)lpszTemplateName);
  HINSTANCE hInst = nullptr;
  LPCDLGTEMPLATE lpTemplate = LoadDialogTemplate(lpszTemplateName, &hInst);
  if (lpTemplate == nullptr) return FALSE;
  if (pParentWnd == nullptr) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  return CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
  if (pParentWnd == nullptr) pParentWnd = AfxGetMainWnd();
  m_lpDialogInit = lpDialogInit;
  return CreateDlgIndirect(lpDialogTemplate, pParentWnd, nullptr);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
  LPCDLGTEMPLATE lpTemplate = (LPCDLGTEMPLATE)::GlobalLock(hDialogTemplate);
  BOOL bResult = CreateIndirect(lpTemplate, pParentWnd, nullptr);
  ::GlobalUnlock(hDialogTemplate);
  return bResult;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  m_lpDialogInit = lpDialogInit;
  return TRUE;
}

HWND CDialog::PreModal() {
  HWND hWnd = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
  if (hWnd == nullptr) {
    CWnd* pMain = AfxGetMainWnd();
    hWnd = pMain ? pMain->GetSafeHwnd() : nullptr;
  }
  // The owner of a modal dialog is a top-level window.
  while (hWnd != nullptr && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  m_hWndTop = hWnd;
  return hWnd;
}

void CDialog::PostModal() { m_hWndTop = nullptr; }

namespace {
struct DisableState {
  DWORD dwThreadId;
  HWND hWndSkip1;
  HWND hWndSkip2;
  std::vector<HWND> disabled;
};

BOOL CALLBACK DisableModeless(HWND hWnd, LPARAM lParam) {
  DisableState* s = (DisableState*)lParam;
  if (hWnd == s->hWndSkip1 || hWnd == s->hWndSkip2) return TRUE;
  if (!::IsWindowEnabled(hWnd) || !::IsWindowVisible(hWnd)) return TRUE;
  // A window that answers WM_DISABLEMODAL with non-zero stays enabled.
  if (::SendMessageA(hWnd, WM_DISABLEMODAL, 0, 0) == 0) {
    ::EnableWindow(hWnd, FALSE);
    s->disabled.push_back(hWnd);
  }
  return TRUE;
}
}  // namespace

INT_PTR CDialog::DoModal() {
  HINSTANCE hInst = AfxGetResourceHandle();
  LPCDLGTEMPLATE lpTemplate = m_lpDialogTemplate;
  if (lpTemplate == nullptr && m_hDialogTemplate != nullptr)
    lpTemplate = (LPCDLGTEMPLATE)::GlobalLock(m_hDialogTemplate);
  if (lpTemplate == nullptr && m_lpszTemplateName != nullptr)
    lpTemplate = LoadDialogTemplate(m_lpszTemplateName, &hInst);
  if (lpTemplate == nullptr) return -1;

  HWND hWndParent = PreModal();
  BOOL bEnableParent = FALSE;
  if (hWndParent != nullptr && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }
  DisableState state{::GetCurrentThreadId(), hWndParent, nullptr, {}};
  ::EnumThreadWindows(state.dwThreadId, DisableModeless, (LPARAM)&state);

  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  HWND hWndDlg = nullptr;
  if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndParent), hInst)) {
    hWndDlg = m_hWnd;
    if (m_nFlags & WF_CONTINUEMODAL) {
      DWORD dwFlags = MLF_SHOWONIDLE;
      if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
      RunModalLoop(dwFlags);
    }
    if (m_hWnd != nullptr) AfxHideTopLevel(m_hWnd);
  }
  m_nFlags &= ~WF_CONTINUEMODAL;
  for (HWND h : state.disabled)
    if (::IsWindow(h)) ::EnableWindow(h, TRUE);
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent != nullptr && hWndDlg != nullptr && ::GetActiveWindow() == hWndDlg) ::SetActiveWindow(hWndParent);
  if (m_hWnd != nullptr) DestroyWindow();
  PostModal();
  if (m_hDialogTemplate != nullptr) ::GlobalUnlock(m_hDialogTemplate);
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
  // Off the screen at once; the dialog manager's own hide then has nothing left to do.
  AfxHideTopLevel(m_hWnd);
  ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
  if (m_lpszTemplateName != nullptr) ExecuteDlgInit(m_lpszTemplateName);
  UpdateData(FALSE);
  return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  PreInitDialog();
  return Default();  // the dialog manager calls AfxDlgProc, which calls OnInitDialog
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
  OnSetFont(CFont::FromHandle((HFONT)wParam));
  return Default();
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  return PreTranslateInput(pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if ((nCode != CN_COMMAND && nCode != (int)CN_UPDATE_COMMAND_UI) || nID >= 0xF000 || nID == 0) return FALSE;
  CWinThread* pThread = AfxGetThread();
  return pThread != nullptr && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

DWORD CDialog::GetDefID() const { return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0); }
void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->GetSafeHwnd(), 1L);
}

///////////////////////////////////////////////////////////////////////////////
// DLGINIT: initial list and combo box strings stored beside a dialog template

BOOL CWnd::ExecuteDlgInit(LPCSTR lpszResourceName) {
  if (lpszResourceName == nullptr) return TRUE;
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCEA(240));
  HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCEA(240));
  if (hRsrc == nullptr) return TRUE;
  HGLOBAL hData = ::LoadResource(hInst, hRsrc);
  if (hData == nullptr) return FALSE;
  DWORD dwSize = ::SizeofResource(hInst, hRsrc);
  const BYTE* p = (const BYTE*)::LockResource(hData);
  if (!p) return FALSE;
  // Walk the records, never reading past the resource's end.
  const BYTE* pEnd = p + dwSize;
  while (p + 2 <= pEnd) {
    WORD nIDC = *(const WORD*)p;
    if (nIDC == 0) break;
    if (p + 8 > pEnd) return FALSE;
    WORD nMsg = *(const WORD*)(p + 2);
    DWORD dwLen = *(const DWORD*)(p + 4);
    p += 8;
    if (dwLen > (DWORD)(pEnd - p)) return FALSE;
    UINT msg = 0;
    if (nMsg == 0x0401)
      msg = LB_ADDSTRING;
    else if (nMsg == 0x0403)
      msg = CB_ADDSTRING;
    if (msg != 0) {
      CString s((LPCSTR)p, (int)dwLen);
      int nNul = s.Find('\0');
      (void)nNul;
      CString text((LPCSTR)p, (int)strnlen((LPCSTR)p, dwLen));
      if (::SendDlgItemMessageA(m_hWnd, nIDC, msg, 0, (LPARAM)(LPCSTR)text) < 0) return FALSE;
    }
    p += dwLen;
  }
  return TRUE;
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource) {
  // Without a size, records are trusted only up to the first terminator.
  const BYTE* p = (const BYTE*)lpResource;
  if (!p) return TRUE;
  while (*(const WORD*)p != 0) {
    WORD nIDC = *(const WORD*)p;
    WORD nMsg = *(const WORD*)(p + 2);
    DWORD dwLen = *(const DWORD*)(p + 4);
    p += 8;
    UINT msg = nMsg == 0x0401 ? LB_ADDSTRING : (nMsg == 0x0403 ? CB_ADDSTRING : 0);
    if (msg) {
      CString text((LPCSTR)p, (int)strnlen((LPCSTR)p, dwLen));
      ::SendDlgItemMessageA(m_hWnd, nIDC, msg, 0, (LPARAM)(LPCSTR)text);
    }
    p += dwLen;
  }
  return TRUE;
}

///////////////////////////////////////////////////////////////////////////////
// Dialog data exchange

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
    return TRUE;
  } catch (CUserException* e) {
    e->Delete();
  } catch (CNotSupportedException* e) {
    e->Delete();
  }
  return FALSE;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(nullptr), m_bEditLastControl(FALSE) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl = nullptr;
  m_pDlgWnd->GetDlgItem(nIDC, &hWndCtrl);
  if (hWndCtrl == nullptr) AfxThrowNotSupportedException();  // no such control in the template
  m_hWndLastControl = hWndCtrl;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (!m_bSaveAndValidate) AfxThrowUserException();
  if (m_hWndLastControl != nullptr) {
    if (m_bEditLastControl) {
      ::SetFocus(m_hWndLastControl);
      ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    } else {
      ::SetFocus(m_hWndLastControl);
    }
  }
  AfxThrowUserException();
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd == nullptr) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
  }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int nLen = ::GetWindowTextLengthA(hWndCtrl);
    ::GetWindowTextA(hWndCtrl, value.GetBufferSetLength(nLen), nLen + 1);
    value.ReleaseBuffer();
  } else {
    ::SetWindowTextA(hWndCtrl, value);
  }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, LPSTR value, int nMaxLen) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    ::GetWindowTextA(hWndCtrl, value, nMaxLen);
  } else {
    ::SetWindowTextA(hWndCtrl, value);
  }
}

namespace {
template <class T>
void DdxNumber(CDataExchange* pDX, int nIDC, T& value, bool bSigned, LPCSTR lpszPrompt) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    char buf[64];
    ::GetWindowTextA(hWndCtrl, buf, sizeof(buf));
    char* end = nullptr;
    errno = 0;
    const char* p = buf;
    while (*p == ' ' || *p == '\t') p++;
    bool bOk = *p != '\0';
    long long v = 0;
    if (bOk) {
      if (bSigned)
        v = strtoll(p, &end, 10);
      else {
        bOk = *p != '-';
        v = (long long)strtoull(p, &end, 10);
      }
      while (end && (*end == ' ' || *end == '\t')) end++;
      bOk = bOk && errno == 0 && end && *end == '\0' && (long long)(T)v == v;
    }
    if (!bOk) {
      AfxMessageBox(lpszPrompt, MB_ICONEXCLAMATION);
      pDX->Fail();
    }
    value = (T)v;
  } else {
    char buf[32];
    if (bSigned)
      snprintf(buf, sizeof(buf), "%lld", (long long)value);
    else
      snprintf(buf, sizeof(buf), "%llu", (unsigned long long)value);
    ::SetWindowTextA(hWndCtrl, buf);
  }
}

template <class T>
void DdxFloat(CDataExchange* pDX, int nIDC, T& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    char buf[64];
    ::GetWindowTextA(hWndCtrl, buf, sizeof(buf));
    char* end = nullptr;
    double d = strtod(buf, &end);
    while (end && (*end == ' ' || *end == '\t')) end++;
    if (end == buf || !end || *end != '\0') {
      AfxMessageBox("Please enter a number.", MB_ICONEXCLAMATION);
      pDX->Fail();
    }
    value = (T)d;
  } else {
    char buf[64];
    snprintf(buf, sizeof(buf), "%.*g", sizeof(T) == sizeof(float) ? 7 : 15, (double)value);
    ::SetWindowTextA(hWndCtrl, buf);
  }
}
}  // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  DdxNumber(pDX, nIDC, value, true, "Please enter an integer.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  DdxNumber(pDX, nIDC, value, false, "Please enter a positive integer.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  DdxNumber(pDX, nIDC, value, true, "Please enter an integer.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) {
  DdxNumber(pDX, nIDC, value, false, "Please enter a positive integer.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value) {
  DdxNumber(pDX, nIDC, value, true, "Please enter an integer.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
  DdxNumber(pDX, nIDC, value, false, "Please enter an integer between 0 and 255.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value) { DdxFloat(pDX, nIDC, value); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value) { DdxFloat(pDX, nIDC, value); }

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = (int)::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0);
  } else {
    if (value < 0 || value > 2) value = 0;
    ::SendMessageA(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
  }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  // nIDC is the first radio button of a group; the group ends at the next WS_GROUP.
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  int iButton = 0;
  do {
    if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) != 0) value = iButton;
      } else {
        ::SendMessageA(hWndCtrl, BM_SETCHECK, iButton == value, 0);
      }
      iButton++;
    }
    hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
  } while (hWndCtrl != nullptr && !(::GetWindowLongPtrA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int nIndex = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
    if (nIndex != -1) {
      int nLen = (int)::SendMessageA(hWndCtrl, LB_GETTEXTLEN, nIndex, 0);
      ::SendMessageA(hWndCtrl, LB_GETTEXT, nIndex, (LPARAM)value.GetBufferSetLength(nLen));
      value.ReleaseBuffer();
    } else {
      value.Empty();
    }
  } else if (::SendMessageA(hWndCtrl, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value) == LB_ERR) {
    ::SendMessageA(hWndCtrl, LB_SETCURSEL, (WPARAM)-1, 0);
  }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
  else
    ::SendMessageA(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

static void CbString(CDataExchange* pDX, int nIDC, CString& value, bool bExact) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int nLen = ::GetWindowTextLengthA(hWndCtrl);
    if (nLen > 0) {
      ::GetWindowTextA(hWndCtrl, value.GetBufferSetLength(nLen), nLen + 1);
      value.ReleaseBuffer();
    } else {
      int nIndex = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
      value.Empty();
      if (nIndex != CB_ERR) {
        int n = (int)::SendMessageA(hWndCtrl, CB_GETLBTEXTLEN, nIndex, 0);
        if (n > 0) {
          ::SendMessageA(hWndCtrl, CB_GETLBTEXT, nIndex, (LPARAM)value.GetBufferSetLength(n));
          value.ReleaseBuffer();
        }
      }
    }
  } else {
    int nIndex =
        (int)::SendMessageA(hWndCtrl, bExact ? CB_FINDSTRINGEXACT : CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value);
    if (bExact && nIndex != CB_ERR) ::SendMessageA(hWndCtrl, CB_SETCURSEL, nIndex, 0);
    if (nIndex == CB_ERR) ::SetWindowTextA(hWndCtrl, value);
  }
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) { CbString(pDX, nIDC, value, false); }
void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) { CbString(pDX, nIDC, value, true); }

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
  else
    ::SendMessageA(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_Scroll(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = ::GetScrollPos(hWndCtrl, SB_CTL);
  else
    ::SetScrollPos(hWndCtrl, SB_CTL, value, TRUE);
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
    CString s;
    s.Format("Please enter no more than %d characters.", nChars);
    AfxMessageBox(s, MB_ICONEXCLAMATION);
    pDX->Fail();
  } else if (!pDX->m_bSaveAndValidate && pDX->m_hWndLastControl != nullptr && pDX->m_bEditLastControl) {
    ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, nChars, 0);
  }
}

static void MinMaxFail(CDataExchange* pDX, long long minVal, long long maxVal) {
  if (!pDX->m_bSaveAndValidate) return;
  CString s;
  s.Format("Please enter an integer between %lld and %lld.", minVal, maxVal);
  AfxMessageBox(s, MB_ICONEXCLAMATION);
  pDX->Fail();
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (value < minVal || value > maxVal) MinMaxFail(pDX, minVal, maxVal);
}
void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  if (value < minVal || value > maxVal) MinMaxFail(pDX, minVal, maxVal);
}
void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
  if (value < minVal || value > maxVal) MinMaxFail(pDX, minVal, maxVal);
}

///////////////////////////////////////////////////////////////////////////////
// Control wrappers

BOOL CStatic::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  if (ReflectChildNotify(message, wParam, lParam, pResult)) return TRUE;
  DrawItem((LPDRAWITEMSTRUCT)lParam);
  if (pResult) *pResult = TRUE;
  return TRUE;
}

BOOL CButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  if (ReflectChildNotify(message, wParam, lParam, pResult)) return TRUE;
  DrawItem((LPDRAWITEMSTRUCT)lParam);
  if (pResult) *pResult = TRUE;
  return TRUE;
}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CScrollBar::GetScrollLimit() {
  SCROLLINFO info = {};
  if (!GetScrollInfo(&info, SIF_RANGE | SIF_PAGE)) return 0;
  int nMax = info.nMax;
  if (info.nPage > 1) nMax -= (int)info.nPage - 1;
  return nMax;
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
  DWORD dwStart = 0, dwEnd = 0;
  ::SendMessageA(m_hWnd, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
  nStartChar = (int)dwStart;
  nEndChar = (int)dwEnd;
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const {
  if (nMaxLength < (int)sizeof(WORD)) return 0;
  *(LPWORD)lpszBuffer = (WORD)nMaxLength;
  return (int)::SendMessageA(m_hWnd, EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
}

void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll) {
  ::SendMessageA(m_hWnd, EM_SETSEL, LOWORD(dwSelection), HIWORD(dwSelection));
  if (!bNoScroll) ::SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
  ::SendMessageA(m_hWnd, EM_SETSEL, nStartChar, nEndChar);
  if (!bNoScroll) ::SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const {
  int nLen = GetTextLen(nIndex);
  if (nLen == LB_ERR || nLen <= 0) {
    rString.Empty();
    return;
  }
  GetText(nIndex, rString.GetBufferSetLength(nLen));
  rString.ReleaseBuffer();
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
  DWORD dw = (DWORD)::SendMessageA(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
  bOutside = HIWORD(dw) != 0;
  return LOWORD(dw);
}

static BOOL OwnerDrawNotify(UINT message, LPARAM lParam, LRESULT* pResult, void (*draw)(void*, LPDRAWITEMSTRUCT),
                            void (*measure)(void*, LPMEASUREITEMSTRUCT), int (*compare)(void*, LPCOMPAREITEMSTRUCT),
                            void (*del)(void*, LPDELETEITEMSTRUCT), void* self) {
  switch (message) {
    case WM_DRAWITEM:
      draw(self, (LPDRAWITEMSTRUCT)lParam);
      break;
    case WM_MEASUREITEM:
      measure(self, (LPMEASUREITEMSTRUCT)lParam);
      break;
    case WM_COMPAREITEM:
      if (pResult) *pResult = compare(self, (LPCOMPAREITEMSTRUCT)lParam);
      return TRUE;
    case WM_DELETEITEM:
      del(self, (LPDELETEITEMSTRUCT)lParam);
      break;
    default:
      return FALSE;
  }
  if (pResult) *pResult = TRUE;
  return TRUE;
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (ReflectChildNotify(message, wParam, lParam, pResult)) return TRUE;
  if (message == WM_VKEYTOITEM || message == WM_CHARTOITEM) {
    int n = message == WM_VKEYTOITEM ? VKeyToItem(LOWORD(wParam), HIWORD(wParam))
                                     : CharToItem(LOWORD(wParam), HIWORD(wParam));
    if (pResult) *pResult = n;
    return TRUE;
  }
  return OwnerDrawNotify(
      message, lParam, pResult, [](void* s, LPDRAWITEMSTRUCT p) { ((CListBox*)s)->DrawItem(p); },
      [](void* s, LPMEASUREITEMSTRUCT p) { ((CListBox*)s)->MeasureItem(p); },
      [](void* s, LPCOMPAREITEMSTRUCT p) { return ((CListBox*)s)->CompareItem(p); },
      [](void* s, LPDELETEITEMSTRUCT p) { ((CListBox*)s)->DeleteItem(p); }, this);
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  int nLen = GetLBTextLen(nIndex);
  if (nLen == CB_ERR || nLen <= 0) {
    rString.Empty();
    return;
  }
  GetLBText(nIndex, rString.GetBufferSetLength(nLen));
  rString.ReleaseBuffer();
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (ReflectChildNotify(message, wParam, lParam, pResult)) return TRUE;
  return OwnerDrawNotify(
      message, lParam, pResult, [](void* s, LPDRAWITEMSTRUCT p) { ((CComboBox*)s)->DrawItem(p); },
      [](void* s, LPMEASUREITEMSTRUCT p) { ((CComboBox*)s)->MeasureItem(p); },
      [](void* s, LPCOMPAREITEMSTRUCT p) { return ((CComboBox*)s)->CompareItem(p); },
      [](void* s, LPDELETEITEMSTRUCT p) { ((CComboBox*)s)->DeleteItem(p); }, this);
}
