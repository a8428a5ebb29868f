// CODComboBox: a combo box built from the library's parts: an edit part (CBS_DROPDOWN) or its
// own text (CBS_DROPDOWNLIST), a drop button, and a drop-down window CODComboLB holding the
// owner-drawn list box.
#pragma once
#include <afxwin.h>

#include "ODEdit.h"
#include "ODListBox.h"
#include "ODNcMgrWnd.h"

class CODComboBox;

class CODComboLB : public CODNcMgrWnd {
  DECLARE_DYNAMIC(CODComboLB)
 public:
  CODComboLB();
  BOOL Create(CODComboBox* pCombo);
  CODListBox& GetList() { return m_list; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnKillFocus(HWND hNew);

  CODListBox m_list;
  CODComboBox* m_pCombo;
};

class CODComboBox : public CODNcMgrWnd {
  DECLARE_DYNAMIC(CODComboBox)
 public:
  enum { ID_DROPBTN = 4317, ID_LIST = 4318, ID_EDIT = 4319 };
  CODComboBox();
  ~CODComboBox() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int AddString(LPCSTR lpszItem) { return m_drop.GetList().AddString(lpszItem); }
  int GetCount() { return m_drop.GetList().GetCount(); }
  int GetCurSel() { return m_drop.m_hWnd ? m_drop.GetList().GetCurSel() : -1; }
  // An index outside the list selects the first item.
  int SetCurSel(int nIndex);
  void SetDroppedSize(int cx, int cy) {
    m_sizeDrop.cx = cx;
    m_sizeDrop.cy = cy;
  }
  BOOL IsDropped() const { return m_bDropped; }
  void DropDown();
  // Hides the drop-down; bChosen takes the list's selection.
  void CloseUp(BOOL bChosen);
  CString GetOwnText() const { return m_strText; }
  CODEdit& GetEditPart() { return m_edit; }
  CODListBox& GetList() { return m_drop.GetList(); }

  // Draws the own text of a CBS_DROPDOWNLIST combo.
  virtual void DrawOwnText(HDC hDC, const RECT& rc);

 protected:
  friend class CODComboLB;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL IsDropList() const { return (m_dwComboStyle & 3) == 3; }
  void Notify(UINT nCode);
  void OnSize();
  void OnPaint();
  void DrawDropButton(HDC hDC, const RECT& rc);
  LRESULT OnTextMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void TakeSelection();

  DWORD m_dwComboStyle;
  CODEdit m_edit;
  CString m_strText;
  CODComboLB m_drop;
  BOOL m_bDropped;
  BOOL m_bButtonDown;
  COLORREF m_crBk;
  int m_nButtonWidth;
  CSize m_sizeDrop;
};
