// Common controls: header, tab, tool tip, image list, spin, progress, slider, list view.
#pragma once

#include "afxwin.h"
#include <commctrl.h>

class CToolTipCtrl;

class CImageList : public CObject {
  DECLARE_DYNCREATE(CImageList)
 public:
  HIMAGELIST m_hImageList;
  CImageList() : m_hImageList(nullptr) {}
  ~CImageList() override { DeleteImageList(); }
  operator HIMAGELIST() const { return this ? m_hImageList : nullptr; }
  HIMAGELIST GetSafeHandle() const { return this ? m_hImageList : nullptr; }
  static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();

  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // Bitmap from the resource module.
  BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL Create(CImageList* pImageList) { return Attach(ImageList_Duplicate(pImageList->m_hImageList)); }

  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
  COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
  BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
  }
  BOOL GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }
  int Add(CBitmap* pbmImage, CBitmap* pbmMask) {
    return ImageList_Add(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), (HBITMAP)pbmMask->GetSafeHandle());
  }
  int Add(CBitmap* pbmImage, COLORREF crMask) {
    return ImageList_AddMasked(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), crMask);
  }
  int Add(HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
  BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
  BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
    return ImageList_Replace(m_hImageList, nImage, (HBITMAP)pbmImage->GetSafeHandle(),
                             (HBITMAP)pbmMask->GetSafeHandle());
  }
  int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
  HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(nullptr, m_hImageList, nImage); }
  BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
  }
  BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle) {
    return ImageList_DrawEx(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
  }
  BOOL SetOverlayImage(int nImage, int nOverlay) { return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay); }
  BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
};

class CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)
 public:
  CHeaderCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetItemCount() const { return (int)::SendMessageA(m_hWnd, HDM_GETITEMCOUNT, 0, 0); }
  BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const {
    return (BOOL)::SendMessageA(m_hWnd, HDM_GETITEMA, nPos, (LPARAM)pHeaderItem);
  }
  BOOL SetItem(int nPos, HDITEMA* pHeaderItem) {
    return (BOOL)::SendMessageA(m_hWnd, HDM_SETITEMA, nPos, (LPARAM)pHeaderItem);
  }
  int InsertItem(int nPos, HDITEMA* phdi) { return (int)::SendMessageA(m_hWnd, HDM_INSERTITEMA, nPos, (LPARAM)phdi); }
  BOOL DeleteItem(int nPos) { return (BOOL)::SendMessageA(m_hWnd, HDM_DELETEITEM, nPos, 0); }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
    return (BOOL)::SendMessageA(m_hWnd, HDM_GETITEMRECT, nIndex, (LPARAM)lpRect);
  }
  BOOL Layout(HDLAYOUT* pHeaderLayout) { return (BOOL)::SendMessageA(m_hWnd, HDM_LAYOUT, 0, (LPARAM)pHeaderLayout); }
  int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) {
    return (int)::SendMessageA(m_hWnd, HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo);
  }
  int OrderToIndex(int nOrder) const { return (int)::SendMessageA(m_hWnd, HDM_ORDERTOINDEX, nOrder, 0); }
  BOOL GetOrderArray(LPINT piArray, int iCount = -1);
  BOOL SetOrderArray(int iCount, LPINT piArray) {
    return (BOOL)::SendMessageA(m_hWnd, HDM_SETORDERARRAY, iCount, (LPARAM)piArray);
  }
  CImageList* SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessageA(m_hWnd, HDM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
  }
  CImageList* GetImageList() const {
    return CImageList::FromHandle((HIMAGELIST)::SendMessageA(m_hWnd, HDM_GETIMAGELIST, 0, 0));
  }
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) { (void)lpDrawItemStruct; }
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CTabCtrl : public CWnd {
  DECLARE_DYNAMIC(CTabCtrl)
 public:
  CTabCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  CImageList* GetImageList() const {
    return CImageList::FromHandle((HIMAGELIST)::SendMessageA(m_hWnd, TCM_GETIMAGELIST, 0, 0));
  }
  CImageList* SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessageA(m_hWnd, TCM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
  }
  int GetItemCount() const { return (int)::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0); }
  BOOL GetItem(int nItem, TCITEMA* pTabCtrlItem) const {
    return (BOOL)::SendMessageA(m_hWnd, TCM_GETITEMA, nItem, (LPARAM)pTabCtrlItem);
  }
  BOOL SetItem(int nItem, TCITEMA* pTabCtrlItem) {
    return (BOOL)::SendMessageA(m_hWnd, TCM_SETITEMA, nItem, (LPARAM)pTabCtrlItem);
  }
  BOOL SetItemExtra(int nBytes) { return (BOOL)::SendMessageA(m_hWnd, TCM_SETITEMEXTRA, nBytes, 0); }
  BOOL GetItemRect(int nItem, LPRECT lpRect) const {
    return (BOOL)::SendMessageA(m_hWnd, TCM_GETITEMRECT, nItem, (LPARAM)lpRect);
  }
  int GetCurSel() const { return (int)::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0); }
  int SetCurSel(int nItem) { return (int)::SendMessageA(m_hWnd, TCM_SETCURSEL, nItem, 0); }
  int GetCurFocus() const { return (int)::SendMessageA(m_hWnd, TCM_GETCURFOCUS, 0, 0); }
  void SetCurFocus(int nItem) { ::SendMessageA(m_hWnd, TCM_SETCURFOCUS, nItem, 0); }
  CSize SetItemSize(CSize size) {
    return CSize((DWORD)::SendMessageA(m_hWnd, TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy)));
  }
  void SetPadding(CSize size) { ::SendMessageA(m_hWnd, TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
  int GetRowCount() const { return (int)::SendMessageA(m_hWnd, TCM_GETROWCOUNT, 0, 0); }
  int SetMinTabWidth(int cx) { return (int)::SendMessageA(m_hWnd, TCM_SETMINTABWIDTH, 0, cx); }
  CToolTipCtrl* GetToolTips() const;
  void SetToolTips(CToolTipCtrl* pWndTip);
  BOOL InsertItem(int nItem, TCITEMA* pTabCtrlItem) {
    return (int)::SendMessageA(m_hWnd, TCM_INSERTITEMA, nItem, (LPARAM)pTabCtrlItem) != -1;
  }
  LONG InsertItem(int nItem, LPCSTR lpszItem);
  LONG InsertItem(int nItem, LPCSTR lpszItem, int nImage);
  LONG InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem) { return (BOOL)::SendMessageA(m_hWnd, TCM_DELETEITEM, nItem, 0); }
  BOOL DeleteAllItems() { return (BOOL)::SendMessageA(m_hWnd, TCM_DELETEALLITEMS, 0, 0); }
  void AdjustRect(BOOL bLarger, LPRECT lpRect) { ::SendMessageA(m_hWnd, TCM_ADJUSTRECT, bLarger, (LPARAM)lpRect); }
  void RemoveImage(int nImage) { ::SendMessageA(m_hWnd, TCM_REMOVEIMAGE, nImage, 0); }
  int HitTest(TCHITTESTINFO* pHitTestInfo) const {
    return (int)::SendMessageA(m_hWnd, TCM_HITTEST, 0, (LPARAM)pHitTestInfo);
  }
  void DeselectAll(BOOL fExcludeFocus) { ::SendMessageA(m_hWnd, TCM_DESELECTALL, fExcludeFocus, 0); }
  BOOL HighlightItem(int idItem, BOOL fHighlight = TRUE) {
    return (BOOL)::SendMessageA(m_hWnd, TCM_HIGHLIGHTITEM, idItem, MAKELPARAM(fHighlight, 0));
  }
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) { (void)lpDrawItemStruct; }
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)
 public:
  CToolTipCtrl() = default;
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, LPCSTR lpszText = LPSTR_TEXTCALLBACKA, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  void Activate(BOOL bActivate) { ::SendMessageA(m_hWnd, TTM_ACTIVATE, bActivate, 0); }
  // Hands a mouse message to the control so it can decide when to show.
  void RelayEvent(LPMSG lpMsg) {
    if (m_hWnd) ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, (LPARAM)lpMsg);
  }
  void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  BOOL GetToolInfo(TOOLINFOA& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void SetToolInfo(LPTOOLINFOA lpToolInfo) { ::SendMessageA(m_hWnd, TTM_SETTOOLINFOA, 0, (LPARAM)lpToolInfo); }
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  int GetToolCount() const { return (int)::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }
  void SetDelayTime(UINT nDelay) { ::SendMessageA(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
  void SetDelayTime(DWORD dwDuration, int iTime) {
    ::SendMessageA(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
  }
  int GetDelayTime(DWORD dwDuration) const { return (int)::SendMessageA(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0); }
  int SetMaxTipWidth(int iWidth) { return (int)::SendMessageA(m_hWnd, TTM_SETMAXTIPWIDTH, 0, iWidth); }
  int GetMaxTipWidth() const { return (int)::SendMessageA(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0); }
  void SetTipBkColor(COLORREF clr) { ::SendMessageA(m_hWnd, TTM_SETTIPBKCOLOR, clr, 0); }
  void SetTipTextColor(COLORREF clr) { ::SendMessageA(m_hWnd, TTM_SETTIPTEXTCOLOR, clr, 0); }
  COLORREF GetTipBkColor() const { return (COLORREF)::SendMessageA(m_hWnd, TTM_GETTIPBKCOLOR, 0, 0); }
  COLORREF GetTipTextColor() const { return (COLORREF)::SendMessageA(m_hWnd, TTM_GETTIPTEXTCOLOR, 0, 0); }
  void SetMargin(LPRECT lprc) { ::SendMessageA(m_hWnd, TTM_SETMARGIN, 0, (LPARAM)lprc); }
  void Pop() { ::SendMessageA(m_hWnd, TTM_POP, 0, 0); }
  void Update() { ::SendMessageA(m_hWnd, TTM_UPDATE, 0, 0); }
  BOOL SetTitle(UINT uIcon, LPCSTR lpstrTitle) {
    return (BOOL)::SendMessageA(m_hWnd, TTM_SETTITLEA, uIcon, (LPARAM)lpstrTitle);
  }
  void FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
 public:
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  CWnd* SetBuddy(CWnd* pWndBuddy) {
    return FromHandle((HWND)::SendMessageA(m_hWnd, UDM_SETBUDDY, (WPARAM)pWndBuddy->GetSafeHwnd(), 0));
  }
  CWnd* GetBuddy() const { return FromHandle((HWND)::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0)); }
  int SetPos(int nPos) { return (short)LOWORD(::SendMessageA(m_hWnd, UDM_SETPOS, 0, MAKELPARAM(nPos, 0))); }
  int GetPos() const { return (int)::SendMessageA(m_hWnd, UDM_GETPOS, 0, 0); }
  void SetRange(short nLower, short nUpper) { ::SendMessageA(m_hWnd, UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
  void SetRange32(int nLower, int nUpper) { ::SendMessageA(m_hWnd, UDM_SETRANGE32, nLower, nUpper); }
  DWORD GetRange() const { return (DWORD)::SendMessageA(m_hWnd, UDM_GETRANGE, 0, 0); }
  int SetBase(int nBase) { return (int)::SendMessageA(m_hWnd, UDM_SETBASE, nBase, 0); }
};

class CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)
 public:
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetRange(short nLower, short nUpper) { ::SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
  void SetRange32(int nLower, int nUpper) { ::SendMessageA(m_hWnd, PBM_SETRANGE32, nLower, nUpper); }
  int SetPos(int nPos) { return (int)::SendMessageA(m_hWnd, PBM_SETPOS, nPos, 0); }
  int GetPos() { return (int)::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0); }
  int OffsetPos(int nPos) { return (int)::SendMessageA(m_hWnd, PBM_DELTAPOS, nPos, 0); }
  int SetStep(int nStep) { return (int)::SendMessageA(m_hWnd, PBM_SETSTEP, nStep, 0); }
  int StepIt() { return (int)::SendMessageA(m_hWnd, PBM_STEPIT, 0, 0); }
};

class CSliderCtrl : public CWnd {
  DECLARE_DYNAMIC(CSliderCtrl)
 public:
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetPos() const { return (int)::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0); }
  void SetPos(int nPos) { ::SendMessageA(m_hWnd, TBM_SETPOS, TRUE, nPos); }
  void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE) {
    ::SendMessageA(m_hWnd, TBM_SETRANGEMIN, FALSE, nMin);
    ::SendMessageA(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax);
  }
  int GetRangeMin() const { return (int)::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0); }
  int GetRangeMax() const { return (int)::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0); }
};

class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)
 public:
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetItemCount() const { return (int)::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
  int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
  BOOL DeleteColumn(int nCol) { return (BOOL)::SendMessageA(m_hWnd, LVM_DELETECOLUMN, nCol, 0); }
  int InsertItem(int nItem, LPCSTR lpszItem);
  int InsertItem(const LVITEMA* pItem) { return (int)::SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, (LPARAM)pItem); }
  BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
  CString GetItemText(int nItem, int nSubItem) const;
  BOOL DeleteItem(int nItem) { return (BOOL)::SendMessageA(m_hWnd, LVM_DELETEITEM, nItem, 0); }
  BOOL DeleteAllItems() { return (BOOL)::SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0); }
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  DWORD_PTR GetItemData(int nItem) const;
  int GetNextItem(int nItem, int nFlags) const {
    return (int)::SendMessageA(m_hWnd, LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0));
  }
  DWORD SetExtendedStyle(DWORD dwNewStyle) {
    return (DWORD)::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle);
  }
  CImageList* SetImageList(CImageList* pImageList, int nImageListType) {
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessageA(m_hWnd, LVM_SETIMAGELIST, nImageListType, (LPARAM)pImageList->GetSafeHandle()));
  }
};
