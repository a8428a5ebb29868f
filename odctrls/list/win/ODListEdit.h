// The owner-drawn list's in-place editor and its companions: the edit (with an optional
// drop button), the in-place combo, the fading title tip, and two small helpers (the
// column chooser refill and the disabled-window background filler).
#pragma once
#include <afxwin.h>

#include "ListModel.h"
#include "ODWnd.h"

enum {
  ODLN_BEGINLABELEDIT = -2057,
  ODLN_ENDLABELEDIT = -2058,
  ODLN_EDITKILLFOCUS = -2062,
};

// Body of ODLN_BEGINLABELEDIT and ODLN_ENDLABELEDIT (after the header). The parent may set
// bButton (a drop button for the editor) or hEditor (its own editor) when an edit begins.
struct NMODLISTEDIT {
  NMHDR hdr;
  int nRow;
  int nColumn;
  int bButton;
  HWND hEditor;
  RECT rcCell;
  UINT nKey;
  char szText[256];
  DWORD_PTR dwData;
};

// Body of ODLN_EDITKILLFOCUS: the parent may rewrite szText and answer 1 to put it in the edit.
struct NMODLISTEDITFOCUS {
  NMHDR hdr;
  int nRow;
  int nColumn;
  int bButton;
  HWND hEditor;
  char szText[256];
};

class CODListEdit : public CODWnd<CEdit> {
 public:
  CODListEdit(int nRow, int nColumn, BOOL bButton);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // What the key that opened the edit does to the text.
  void ApplyStartKey(UINT nKey);
  int GetRow() const { return m_nRow; }
  int GetColumn() const { return m_nColumn; }
  BOOL HasDropButton() const { return m_bButton; }
  CButton& GetDropButton() { return m_btnDrop; }
  UINT GetEndKey() const { return m_nEndKey; }
  // Set by the list once the window exists: from then on the window's end frees the object.
  void SetAutoDelete() { m_bAutoDelete = TRUE; }

 protected:
  void OnThemeChanged() override {}  // the list's own font and colours
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override {
    if (m_bAutoDelete) delete this;
  }
  int OnCreateButton();
  BOOL OnEndingKey(UINT nKey);
  void OnLoseFocus(HWND hNewFocus);
  CWnd* NotifyTarget();
  void Finish();

  BOOL m_bEnding = FALSE;
  BOOL m_bAutoDelete = FALSE;
  int m_nRow, m_nColumn;
  BOOL m_bButton;
  CButton m_btnDrop;
  UINT m_nEndKey = 13;
};

// The in-place combo for derived lists: ends like the edit when it loses the focus.
class CODListCombo : public CODWnd<CComboBox> {
 public:
  CODListCombo(int nRow, int nColumn, int nValue)
      : CODWnd<CComboBox>(nullptr, 0), m_nRow(nRow), m_nColumn(nColumn), m_nValue(nValue) {}

 protected:
  void OnThemeChanged() override {}  // a system combo box
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void PostNcDestroy() override { delete this; }
  BOOL m_bEnding = FALSE;
  int m_nRow, m_nColumn, m_nValue;
};

// The fading tip that shows a cell's whole text over it (for derived lists).
class CODTitleTip : public CODWnd<CWnd> {
 public:
  CODTitleTip() : CODWnd<CWnd>(nullptr, 0) {}
  BOOL Create(CWnd* pOwner, BOOL bFade);
  void Show(const CRect& screenRect, LPCSTR lpszText);
  void Hide();
  int GetAlpha() const { return m_nAlpha; }
  BOOL IsFading() const { return m_bFade; }

 protected:
  void OnThemeChanged() override {}  // system tip colours
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnFadeTimer();
  void PassMouseMove(CPoint screen);
  CWnd* m_pOwner = nullptr;
  BOOL m_bFade = FALSE;
  int m_nAlpha = 255;
  CRect m_rect;
  CString m_strText;
};

// Fills a list box with the titles of the columns not shown that the filter accepts.
using ColumnChooserFilter = BOOL (*)(int nColumn, void* pUser);
void RefillColumnChooser(HWND hListBox, const odlist::ListModel& model, const int* shown, int shownCount,
                         ColumnChooserFilter filter, void* pUser);

// WM_ERASEBKGND of a plain child: a disabled window gets the button face colour.
BOOL EraseDisabledBackground(HWND hWnd, HDC hdc);
