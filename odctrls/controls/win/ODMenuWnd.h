// CODMenuWnd: a popup menu drawn in its own top-most tool window, with several item
// columns, a tooltip for the item tips, cascading sub-menu windows and a placement that
// keeps it clear of the task bar.
#pragma once
#include <afxwin.h>

#include <vector>

#include "MenuLayout.h"
#include "ODThemeImage.h"
#include "ODTxtMov.h"
#include "ODWnd.h"

class CODToolTip;

struct OD_MENU_ITEM {
  // Background, icon (left column) and sub-menu mark (right column); empty by default.
  enum { IMG_BACKGROUND = 0, IMG_ICON = 1, IMG_MARK = 2 };
  CODThemeImage images[3];
  CString caption;
  UINT id = 0;
  CString tip;
  COLORREF colours[4][5];  // kind (background, edge, text, icon frame) by state
  LOGFONTA font;
  int image = -1;
  int listLeft = -1, listRight = -1;  // indexes in the menu's shared image list
  HIMAGELIST imageList = nullptr;
  int state = 0;  // 0 normal, 1 marked, 2 hot, 3 disabled
  BOOL enabled = TRUE;
  BOOL command = FALSE;
};

class CODMenuWnd : public CODPaintedWnd<CWnd> {
  DECLARE_DYNAMIC(CODMenuWnd)
 public:
  CODMenuWnd();
  ~CODMenuWnd() override;

  // A negative level count fails; an existing window is destroyed first.
  BOOL Create(CWnd* pOwner, int nLevels, BOOL bTopMost);
  // Empty caption: a separator. Returns the item's index in the level, -1 on failure.
  int AddItem(LPCSTR lpszCaption, UINT nID, LPCSTR lpszTip, BOOL bCommand, int nLevel);
  void EnableItem(int nLevel, int nRow, BOOL bEnable);
  // An item's image (OD_MENU_ITEM::IMG_...) from an image text of the theme's syntax; its
  // states follow the item's (0 normal, 1 marked, 2 hot, 3 disabled) and its frames turn
  // while the item is hot.
  BOOL SetItemImage(int nLevel, int nRow, int nWhich, LPCSTR lpszSpec);
  // The image list that items added from now on share, and an item's left and right
  // indexes in it (-1 none); drawn when the item has no icon or mark image of its own.
  void SetImageList(HIMAGELIST hList) { m_hImageList = hList; }
  BOOL SetItemListImages(int nLevel, int nRow, int nLeft, int nRight);
  // Links a sub-menu window to an item; the sub-menu is no longer a root.
  BOOL AttachSubMenu(int nLevel, int nRow, CODMenuWnd* pSub, BOOL bDeleteOnDestroy);
  void Track(UINT nFlags, int x, int y, CWnd* pTarget);
  void Hide();
  void HideCascade();
  void OpenSubMenu(int nRow, int nColumn);
  void SetTipText(LPCSTR lpszTip) { m_strTip = lpszTip ? lpszTip : ""; }
  // An image spec of the frame (0 left, 1 right, 2 top, 3 bottom, 4 left-top, 5 right-top,
  // 6 left-bottom, 7 right-bottom) that the menu keeps over the theme's.
  void SetEdgeImage(int nIndex, LPCSTR lpszSpec);
  // Extra parts beside the columns (0 top, 1 bottom, 2 left, 3 right): a strip of the given
  // size (height of top and bottom, width of left and right; 0 takes the image's cell) filled
  // with a colour, its image laid over it (tiled; frames turn on timers 60010 to 60013) and a
  // line of text that moves on timers 60020 to 60023 while the part has an image. A null
  // image and text remove the part. Takes effect at the next Track.
  enum { PART_TOP = 0, PART_BOTTOM = 1, PART_LEFT = 2, PART_RIGHT = 3 };
  BOOL SetExtraPart(int nPart, LPCSTR lpszImageSpec, int nSize, LPCSTR lpszText, COLORREF crBk);
  BOOL HasExtraPart(int nPart) const { return nPart >= 0 && nPart < 4 && m_bPart[nPart]; }
  // The part's strip in client coordinates (empty when absent).
  CRect ExtraPartRect(int nPart) const;
  void SetDeleteOnDestroy(BOOL b) { m_bDeleteOnDestroy = b; }
  void SetParentFont();
  // Background painter: colour index 0..3 (-1 refused) and frame widths; return the old ones.
  COLORREF SetPainterColour(int nIndex, COLORREF cr);
  CRect SetPainterFrame(const CRect& rcWidths);

  int GetHotItem() const { return m_nHotItem; }
  int GetHotColumn() const { return m_nHotColumn; }
  CODToolTip* GetToolTip() const { return m_pTip; }
  CODMenuWnd* GetSubMenu(int nLevel, int nRow) const;
  const vesk::odctrls::MenuLayout& Layout() const { return m_layout; }

 protected:
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;
  void ResetToStart();
  void ApplyThemeColours();
  void LayoutItems();
  void PaintWindow() override;
  void LoadEdges();
  void DrawEdges(HDC hDC, const CRect& rc);
  void DrawItem(HDC hDC, const OD_MENU_ITEM& item, const RECT& rc);
  void LoadParts();
  void DrawParts(HDC hDC);
  void StopParts();
  // The hot item's animations, each on the timer of its slot (slot 0 stays empty).
  void StartItemAnimations(OD_MENU_ITEM* pItem);
  void StopItemAnimations(OD_MENU_ITEM* pItem);
  CRect HotItemRect() const;
  void OnMouseMove(CPoint pt);
  void OnLButtonUp(CPoint pt);
  void OnKeyDown(UINT nKey);
  void OnKillFocus(HWND hNew);
  void OnTimer(UINT_PTR nID);
  void OnDestroy();
  void SetHot(int nColumn, int nRow);
  void Execute(int nColumn, int nRow);
  CODMenuWnd* Root();
  BOOL IsCascadeWindow(HWND hWnd);
  OD_MENU_ITEM* ItemAt(int nColumn, int nRow) const;

  std::vector<std::vector<OD_MENU_ITEM*>> m_levels;
  std::vector<std::vector<CODMenuWnd*>> m_subs;
  std::vector<std::vector<BOOL>> m_subDelete;
  vesk::odctrls::MenuLayout m_layout;
  COLORREF m_colours[4][5];
  COLORREF m_crTextBk, m_crImageBk, m_crSepUpper, m_crSepLower, m_crColumn;
  BOOL m_bOwnColour[4][5];
  LOGFONTA m_font;
  CWnd* m_pOwner;
  CWnd* m_pTarget;
  CODMenuWnd* m_pPrev;
  CODToolTip* m_pTip;
  CString m_strTip;
  int m_nHotItem, m_nHotColumn;
  int m_nPendingRow, m_nPendingColumn;
  CPoint m_ptSub, m_ptLast;
  BOOL m_bMouseInside, m_bClosing, m_bDestroying;
  UINT m_nDelay;
  BOOL m_bIndentSeparators;
  BOOL m_bRoot;
  BOOL m_bDeleteOnDestroy;
  COLORREF m_painter[4];
  CString m_strOwnEdges[8];
  CODThemeImage m_edges[8];
  CRect m_rcFrame;
  BOOL m_bPart[4];
  int m_nPartSize[4];
  COLORREF m_crPartBk[4];
  CString m_strPartImage[4], m_strPartText[4];
  CODThemeImage m_partImages[4];
  CODTxtMov m_partTexts[4];
  std::vector<CODThemeImage*> m_anims;
  HIMAGELIST m_hImageList;
};
