// CODListBox: a single-column list box drawn by the library, with its own item store, hot
// tracking and skinned scrolling; the drop-down list of the owner-drawn combo box.
#pragma once
#include <afxwin.h>

#include "DibImage.h"
#include "ListBoxModel.h"
#include "ODScrollCtrl.h"

class CODListBox : public CODScrollCtrl {
  DECLARE_DYNCREATE(CODListBox)
 public:
  enum { LBN_ODCLICK = 1006 };
  CODListBox();
  ~CODListBox() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int AddString(LPCSTR lpszItem);
  int GetCount() const { return m_model.Count(); }
  CString GetText(int nIndex) const;
  int GetCurSel() const { return m_model.CurSel(); }
  // Refused (LB_ERR) with a multiple-selection style.
  int SetCurSel(int nIndex);
  BOOL GetSel(int nIndex) const { return nIndex >= 0 && nIndex < GetCount() && m_model.m_items[nIndex].selected; }
  int GetHotItem() const { return m_nHot; }
  int GetItemHeight() const { return m_model.m_itemHeight; }
  void EnsureVisible(int nIndex);
  // A colour kept by the list box ignores theme changes (index 0..4: normal background,
  // selected background, normal text, selected text, hot text).
  void SetColour(int nIndex, COLORREF cr);
  void SetNotify(BOOL b) { m_bNotify = b; }
  // The image list: the bitmap cut into nFrames equal frames (the list box keeps a copy);
  // a null bitmap removes it. FALSE when the frames would be empty.
  BOOL SetImageList(HBITMAP hStrip, int nFrames);
  CImageStrip* GetImageList() const { return m_pImages; }
  // nImage -1 for none; nPlacement 0 image then text, 1 text over the image.
  BOOL SetItemImage(int nIndex, int nImage, int nPlacement);
  const vesk::odctrls::ListBoxModel& Model() const { return m_model; }

  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
  void OnDraw(CDC* pDC) override;

 protected:
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnLButtonDown(UINT nFlags, CPoint pt);
  void OnMouseMove(CPoint pt);
  void OnKeyDown(UINT nKey);
  void Notify(UINT nCode);
  void ReloadColours();
  void UpdateSizes();
  // The item's image after its fill; returns where its text starts.
  int DrawItemImage(HDC dc, const RECT& ir, const vesk::odctrls::ListBoxItem& item);

  vesk::odctrls::ListBoxModel m_model;
  int m_nTextMargin;
  int m_nHot;
  int m_nLastWidth;
  CImageStrip* m_pImages;
  int m_nTextIndent;
  COLORREF m_colours[5];
  BOOL m_bKeep[5];
  HFONT m_hFont;
  BOOL m_bNotify;
};
