// Two combo boxes built from the library's parts. Each has an edit part (CBS_DROPDOWN) or
// its own text (CBS_DROPDOWNLIST), a drop button and a drop-down window that holds its list
// inside a scroll-bar container: CODComboBox with the owner-drawn list box (CODComboLB),
// CODComboList with the owner-drawn list control (CODComboLC).
#pragma once
#include <afxwin.h>

#include "ODEdit.h"
#include "ODListBox.h"
#include "ODListCtrl.h"
#include "ODNcMgrWnd.h"
#include "ODThemeSections.h"
#include "ScrollBarEx.h"

class CODComboBase;

// The drop-down window: a container over its client area and the list inside it.
class CODComboDrop : public CODNcMgrWnd {
  DECLARE_DYNAMIC(CODComboDrop)
 public:
  CODComboDrop() : m_pCombo(nullptr) {}
  BOOL Create(CODComboBase* pCombo);
  virtual CWnd& GetListWnd() = 0;
  // The command code the Enter key sends the combo with the list's id.
  virtual UINT EnterCode() const = 0;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  virtual BOOL CreateList(const RECT& rc) = 0;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnKillFocus(HWND hNew);
  CSBContainerWnd m_container;
  CODComboBase* m_pCombo;
};

class CODComboLB : public CODComboDrop {
  DECLARE_DYNAMIC(CODComboLB)
 public:
  CODListBox& GetList() { return m_list; }
  CWnd& GetListWnd() override { return m_list; }
  UINT EnterCode() const override { return 1; }

 protected:
  BOOL CreateList(const RECT& rc) override;
  CODListBox m_list;
};

// The list control of a combo: selects rows for the combo.
class CODComboListCtrl : public CODListCtrl {
 public:
  int GetSelectedRow() const;
  void SelectRow(int nRow);
};

class CODComboLC : public CODComboDrop {
  DECLARE_DYNAMIC(CODComboLC)
 public:
  CODComboListCtrl& GetList() { return m_list; }
  CWnd& GetListWnd() override { return m_list; }
  UINT EnterCode() const override { return 0xF7FC; }

 protected:
  BOOL CreateList(const RECT& rc) override;
  CODComboListCtrl m_list;
};

class CODComboBase : public CODPainted<CODNcMgrWnd> {
  DECLARE_DYNAMIC(CODComboBase)
 public:
  enum { ID_DROPBTN = 4317, ID_LIST = 4318, ID_EDIT = 4319 };
  CODComboBase();
  ~CODComboBase() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // An index outside the list selects the first item.
  int SetCurSel(int nIndex);
  int GetCurSel();
  void SetDroppedSize(int cx, int cy);
  BOOL IsDropped() const { return m_bDropped; }
  void DropDown();
  // Hides the drop-down; bChosen takes the list's selection.
  void CloseUp(BOOL bChosen);
  CString GetOwnText() const { return m_strText; }
  CODEdit& GetEditPart() { return m_edit; }

  // Draws the own text of a CBS_DROPDOWNLIST combo.
  virtual void DrawOwnText(HDC hDC, const RECT& rc);

 protected:
  friend class CODComboDrop;
  virtual CODComboDrop& Drop() = 0;
  virtual int ListCount() = 0;
  virtual int ListSelection() = 0;
  virtual void ListSelect(int nIndex) = 0;
  virtual CString ListText(int nIndex) = 0;
  virtual const ODComboTheme& Theme() const = 0;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL IsDropList() const { return (m_dwComboStyle & 3) == 3; }
  void Notify(UINT nCode);
  void OnSize();
  void PaintWindow() override;
  void DrawDropButton(HDC hDC, const RECT& rc);
  LRESULT OnTextMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void TakeSelection();

  DWORD m_dwComboStyle;
  CODEdit m_edit;
  CString m_strText;
  BOOL m_bDropped;
  int m_nButtonWidth;
  CSize m_sizeDrop;
};

class CODComboBox : public CODComboBase {
  DECLARE_DYNAMIC(CODComboBox)
 public:
  ~CODComboBox() override;
  int AddString(LPCSTR lpszItem) { return m_drop.GetList().AddString(lpszItem); }
  int GetCount() { return m_drop.GetList().GetCount(); }
  CODListBox& GetList() { return m_drop.GetList(); }

 protected:
  CODComboDrop& Drop() override { return m_drop; }
  int ListCount() override { return m_drop.GetList().GetCount(); }
  int ListSelection() override { return m_drop.m_hWnd ? m_drop.GetList().GetCurSel() : -1; }
  void ListSelect(int nIndex) override;
  CString ListText(int nIndex) override { return m_drop.GetList().GetText(nIndex); }
  const ODComboTheme& Theme() const override { return ODComboBoxValues(); }
  CODComboLB m_drop;
};

class CODComboList : public CODComboBase {
  DECLARE_DYNAMIC(CODComboList)
 public:
  ~CODComboList() override;
  CODComboListCtrl& GetList() { return m_drop.GetList(); }

 protected:
  CODComboDrop& Drop() override { return m_drop; }
  int ListCount() override { return m_drop.GetList().GetItemCount(); }
  int ListSelection() override { return m_drop.m_hWnd ? m_drop.GetList().GetSelectedRow() : -1; }
  void ListSelect(int nIndex) override { m_drop.GetList().SelectRow(nIndex); }
  CString ListText(int nIndex) override { return m_drop.GetList().GetItemText(nIndex, 0); }
  const ODComboTheme& Theme() const override { return ODComboListValues(); }
  CODComboLC m_drop;
};
