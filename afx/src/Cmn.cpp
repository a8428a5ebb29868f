// Common controls and common dialogs.
#include <afxcmn.h>
#include <afxdlgs.h>
#include <afxpriv.h>

#include <mutex>
#include <unordered_map>
#include <vector>

IMPLEMENT_DYNCREATE(CImageList, CObject)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)

namespace {
std::mutex& ImlLock() {
  static std::mutex m;
  return m;
}
std::unordered_map<HIMAGELIST, CImageList*>& ImlTemp() {
  static std::unordered_map<HIMAGELIST, CImageList*> m;
  return m;
}
}  // namespace

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList) {
  if (hImageList == nullptr) return nullptr;
  std::lock_guard<std::mutex> lock(ImlLock());
  auto it = ImlTemp().find(hImageList);
  if (it != ImlTemp().end()) return it->second;
  CImageList* p = new CImageList;
  p->m_hImageList = hImageList;
  ImlTemp()[hImageList] = p;
  return p;
}

void PASCAL CImageList::DeleteTempMap() {
  std::vector<CImageList*> doomed;
  {
    std::lock_guard<std::mutex> lock(ImlLock());
    for (auto& kv : ImlTemp()) doomed.push_back(kv.second);
    ImlTemp().clear();
  }
  for (CImageList* p : doomed) {
    p->m_hImageList = nullptr;
    delete p;
  }
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (hImageList == nullptr) return FALSE;
  m_hImageList = hImageList;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST h = m_hImageList;
  m_hImageList = nullptr;
  return h;
}

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == nullptr) return FALSE;
  return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  return Create(MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszBitmapID, (LPCSTR)RT_BITMAP);
  return Attach(ImageList_LoadImageA(hInst, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_HEADERA, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CHeaderCtrl::GetOrderArray(LPINT piArray, int iCount) {
  if (iCount < 0) iCount = GetItemCount();
  return (BOOL)::SendMessageA(m_hWnd, HDM_GETORDERARRAY, iCount, (LPARAM)piArray);
}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  if (ReflectChildNotify(message, wParam, lParam, pResult)) return TRUE;
  DrawItem((LPDRAWITEMSTRUCT)lParam);
  if (pResult) *pResult = TRUE;
  return TRUE;
}

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_TABCONTROLA, nullptr, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem) { return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0); }

LONG CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage) {
  return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, int nImage, LPARAM lParam) {
  TCITEMA item = {};
  item.mask = nMask;
  item.iImage = nImage;
  item.lParam = lParam;
  item.pszText = const_cast<LPSTR>(lpszItem);
  return (LONG)::SendMessageA(m_hWnd, TCM_INSERTITEMA, nItem, (LPARAM)&item);
}

CToolTipCtrl* CTabCtrl::GetToolTips() const {
  return (CToolTipCtrl*)FromHandle((HWND)::SendMessageA(m_hWnd, TCM_GETTOOLTIPS, 0, 0));
}
void CTabCtrl::SetToolTips(CToolTipCtrl* pWndTip) {
  ::SendMessageA(m_hWnd, TCM_SETTOOLTIPS, (WPARAM)pWndTip->GetSafeHwnd(), 0);
}

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  if (ReflectChildNotify(message, wParam, lParam, pResult)) return TRUE;
  DrawItem((LPDRAWITEMSTRUCT)lParam);
  if (pResult) *pResult = TRUE;
  return TRUE;
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  BOOL bResult =
      CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                     CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), nullptr, nullptr);
  if (bResult) SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return bResult;
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
  memset(&ti, 0, sizeof(ti));
  ti.cbSize = sizeof(ti);
  HWND hWnd = pWnd->GetSafeHwnd();
  if (nIDTool == 0) {
    // The window itself is the tool.
    ti.hwnd = ::GetParent(hWnd);
    ti.uFlags = TTF_IDISHWND;
    ti.uId = (UINT_PTR)hWnd;
  } else {
    ti.hwnd = hWnd;
    ti.uFlags = 0;
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (pWnd == nullptr || m_hWnd == nullptr) return FALSE;
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool != nullptr) ti.rect = *lpRectTool;
  ti.lpszText = const_cast<LPSTR>(lpszText);
  return (BOOL)::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (pWnd == nullptr || m_hWnd == nullptr) return FALSE;
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool != nullptr) ti.rect = *lpRectTool;
  ti.hinst = AfxFindResourceHandle(MAKEINTRESOURCEA((nIDText >> 4) + 1), (LPCSTR)RT_STRING);
  ti.lpszText = (LPSTR)MAKEINTRESOURCEA(nIDText);
  return (BOOL)::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ::SendMessageA(m_hWnd, TTM_DELTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = const_cast<LPSTR>(lpszText);
  ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
  CString str;
  str.LoadString(nIDText);
  UpdateTipText(str, pWnd, nIDTool);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  char buf[1024] = {0};  // the control copies up to 80 bytes (or the max tip text) here
  ti.lpszText = buf;
  ::SendMessageA(m_hWnd, TTM_GETTEXTA, sizeof(buf), (LPARAM)&ti);
  buf[sizeof(buf) - 1] = '\0';
  str = buf;
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  FillInToolInfo(ToolInfo, pWnd, nIDTool);
  return (BOOL)::SendMessageA(m_hWnd, TTM_GETTOOLINFOA, 0, (LPARAM)&ToolInfo);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  TOOLINFOA ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.rect = *lpRect;
  ::SendMessageA(m_hWnd, TTM_NEWTOOLRECTA, 0, (LPARAM)&ti);
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(UPDOWN_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(PROGRESS_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(TRACKBAR_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_LISTVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = const_cast<LPSTR>(lpszColumnHeading);
  column.fmt = nFormat;
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return (int)::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, nCol, (LPARAM)&column);
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = nItem;
  item.pszText = const_cast<LPSTR>(lpszItem);
  return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText) {
  LVITEMA lvi = {};
  lvi.iSubItem = nSubItem;
  lvi.pszText = const_cast<LPSTR>(lpszText);
  return (BOOL)::SendMessageA(m_hWnd, LVM_SETITEMTEXTA, nItem, (LPARAM)&lvi);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  char buf[1024] = {0};
  LVITEMA lvi = {};
  lvi.iSubItem = nSubItem;
  lvi.pszText = buf;
  lvi.cchTextMax = sizeof(buf);
  ::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nItem, (LPARAM)&lvi);
  buf[sizeof(buf) - 1] = '\0';
  return buf;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  LVITEMA lvi = {};
  lvi.mask = LVIF_PARAM;
  lvi.iItem = nItem;
  lvi.lParam = (LPARAM)dwData;
  return (BOOL)::SendMessageA(m_hWnd, LVM_SETITEMA, 0, (LPARAM)&lvi);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEMA lvi = {};
  lvi.mask = LVIF_PARAM;
  lvi.iItem = nItem;
  ::SendMessageA(m_hWnd, LVM_GETITEMA, 0, (LPARAM)&lvi);
  return (DWORD_PTR)lvi.lParam;
}

///////////////////////////////////////////////////////////////////////////////
// Common dialogs: the system dialogs, owned like any modal dialog.

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags, LPCSTR lpszFilter,
                         CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
  memset(&m_ofn, 0, sizeof(m_ofn));
  m_szFileName[0] = '\0';
  m_szFileTitle[0] = '\0';
  m_ofn.lStructSize = sizeof(m_ofn);
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
  m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
  m_ofn.hInstance = AfxGetResourceHandle();
  if (lpszDefExt) {
    m_strDefExt = lpszDefExt;
    m_ofn.lpstrDefExt = m_strDefExt;
  }
  if (lpszFileName) lstrcpynA(m_szFileName, lpszFileName, MAX_PATH);
  if (lpszFilter) {
    // "|" separates the filter parts, as the resource strings write them.
    m_strFilter = lpszFilter;
    LPSTR p = m_strFilter.GetBuffer(0);
    for (; *p; p++)
      if (*p == '|') *p = '\0';
    m_ofn.lpstrFilter = m_strFilter;
  }
}

INT_PTR CFileDialog::DoModal() {
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  m_ofn.hwndOwner = pParent ? pParent->GetTopLevelParent()->GetSafeHwnd() : nullptr;
  BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return m_szFileName; }
CString CFileDialog::GetFileName() const {
  CString s = m_szFileName;
  return s.Mid(s.ReverseFind('\\') + 1);
}
CString CFileDialog::GetFileExt() const {
  CString s = GetFileName();
  int n = s.ReverseFind('.');
  return n < 0 ? CString() : s.Mid(n + 1);
}
CString CFileDialog::GetFileTitle() const {
  CString s = GetFileName();
  int n = s.ReverseFind('.');
  return n < 0 ? s : s.Left(n);
}

COLORREF* PASCAL CColorDialog::GetSavedCustomColors() {
  static COLORREF colors[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
  return colors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd) {
  memset(&m_cc, 0, sizeof(m_cc));
  m_cc.lStructSize = sizeof(m_cc);
  m_cc.lpCustColors = GetSavedCustomColors();
  m_cc.Flags = dwFlags;
  if ((m_cc.rgbResult = clrInit) != 0) m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() {
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  m_cc.hwndOwner = pParent ? pParent->GetTopLevelParent()->GetSafeHwnd() : nullptr;
  return ::ChooseColorA(&m_cc) ? IDOK : IDCANCEL;
}

CFontDialog::CFontDialog(LPLOGFONTA lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd) {
  memset(&m_cf, 0, sizeof(m_cf));
  memset(&m_lf, 0, sizeof(m_lf));
  m_cf.lStructSize = sizeof(m_cf);
  m_cf.lpLogFont = &m_lf;
  m_cf.Flags = dwFlags;
  if (lplfInitial) {
    m_lf = *lplfInitial;
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
  if (pdcPrinter) {
    m_cf.hDC = pdcPrinter->m_hDC;
    m_cf.Flags |= CF_PRINTERFONTS;
  }
}

INT_PTR CFontDialog::DoModal() {
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  m_cf.hwndOwner = pParent ? pParent->GetTopLevelParent()->GetSafeHwnd() : nullptr;
  return ::ChooseFontA(&m_cf) ? IDOK : IDCANCEL;
}

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep) {
  if (lpszFullString == nullptr) return FALSE;
  while (iSubString--) {
    lpszFullString = strchr(lpszFullString, chSep);
    if (lpszFullString == nullptr) {
      rString.Empty();
      return FALSE;
    }
    lpszFullString++;
  }
  LPCSTR lpchEnd = strchr(lpszFullString, chSep);
  int nLen = lpchEnd == nullptr ? (int)strlen(lpszFullString) : (int)(lpchEnd - lpszFullString);
  rString = CString(lpszFullString, nLen);
  return TRUE;
}
