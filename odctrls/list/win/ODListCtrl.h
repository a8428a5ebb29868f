// CODListCtrl: the owner-drawn multi-column list. Rows live in the portable ListModel (one
// row string of cell records per row); the window lays out, paints in the theme's colours
// (section ODListCtrl), scrolls through its own bars or the skinned bars of a hosting
// CSBContainerWnd, selects with mouse and keys, sorts on header clicks and tells its parent
// through ODLN_* notifications.
#pragma once
#include <afxwin.h>

#include <vector>

#include "ListModel.h"
#include "ODHeaderCtrl.h"
#include "ODListEdit.h"

enum {
  ODLN_CUSTOMDRAW = -2048,
  ODLN_CLICK = -2049,
  ODLN_DBLCLK = -2050,
  ODLN_ITEMCHANGING = -2051,
  ODLN_ITEMCHANGED = -2052,
  ODLN_COLUMNCLICK = -2053,
  ODLN_COLUMNWIDTH = -2054,
  ODLN_DELETEITEM = -2055,
  ODLN_KEYDOWN = -2059,
  ODLN_RCLICK = -2061,
  ODLN_HEADERRCLICK = -2066,
  ODLN_KILLFOCUS = -2067,
  ODLN_GETDISPINFO = -2056,
  ODLN_ITEMEXPANDING = -2064,
  ODLN_ITEMEXPANDED = -2065,
};

// The handle that names the tree's root in the tree calls.
#define ODTREE_ROOT ((int)0xFFFF0000)

// Body of ODLN_GETDISPINFO: the parent fills what nMask asks (text into szText) and says in
// nMask what it filled (the odlist::ItemMask bits).
struct NMODLISTDISPINFO {
  NMHDR hdr;
  int nRow;
  int nColumn;
  UINT nMask;
  char szText[256];
  int nImage, nCheck, nColour, nBkColour, nExtraHeight, nIndent;
  UINT nState;
};

// The general notification body.
struct NMODLISTCTRL {
  NMHDR hdr;
  int nRow;
  int nColumn;
  LPARAM lValue1;
  LPARAM lValue2;
  void* pNode;
};

struct OD_COLUMN {
  UINT nFlags = 0x4000;  // low word: HDF_* format; 0x4000 has a title
  int nWidth = -1;
  int nMinWidth = 0;
  int nMaxWidth = 0;
  int nImage = -1;
  CString strTitle;
};

class CODListHeaderCtrl : public CODHeaderCtrl {
  DECLARE_DYNAMIC(CODListHeaderCtrl)
 public:
 protected:
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CODListCtrl : public CODPaintedWnd<CWnd> {
  DECLARE_DYNCREATE(CODListCtrl)
 public:
  CODListCtrl();
  ~CODListCtrl() override;

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
  virtual BOOL InitControl();
  virtual void LoadColors();
  virtual int NotifyParent(int nCode, int nRow, int nColumn, LPARAM lValue1 = 0, LPARAM lValue2 = 0);
  virtual void OnDrawList(CDC* pDC);
  virtual void DrawRow(CDC* pDC, const CRect& rect, const CRect& clip, int nPosition, BOOL bOdd);
  virtual int DrawCellText(CDC* pDC, const CRect& rect, const odlist::Item& item, UINT nAlign);
  virtual void DrawBkgnd(CDC* pDC, const CRect& rect, COLORREF cr);
  virtual int GetWheelScrollLines();

  // In-place editing of one cell; the editor reports its end with ODLN_ENDLABELEDIT.
  virtual int EditCell(int nRow, int nColumn, UINT nKey);
  virtual void EndEdit(BOOL bCommit, const NMODLISTEDIT* pEnd);
  HWND GetEditor() const { return m_hEditor; }
  int NotifyEdit(int nCode, NMHDR* pHdr);
  // The focus cell: the focus row and, with cell focus (style 0x1000), a focus column.
  int GetFocusCell(int* pColumn) const;
  BOOL SetFocusCell(int nRow, int nColumn);
  BOOL GetCellRect(int nRow, int nColumn, CRect* pRect) const;
  int HitTestColumn(CPoint pt) const;

  // Owner data (style 0x0800): the row count; cells come through ODLN_GETDISPINFO.
  void SetItemCountEx(int nCount);
  // Tree rows (style 0x4000 or 0x8000). Nodes are handles; ODTREE_ROOT is the root.
  int InsertTreeItem(int nParentNode, LPCSTR lpszText, int nSpanColumn = -1);
  int GetNextNode(int nNode, int nRelation) const;
  BOOL Expand(int nNode, int nAction);
  BOOL HasChildren(int nNode) const;
  int GetNodeRow(int nNode) const;
  void SetTreeLines(BOOL bOn) { m_bTreeLines = bOn, Invalidate(FALSE); }
  BOOL HitExpandBox(CPoint pt, int* pRow) const;
  // The dot drawer of the tree lines: every second pixel along a line.
  static void CALLBACK DotProc(int x, int y, LPARAM lParam);

  // Columns: inserted and shown in one step.
  int InsertColumn(int nIndex, const OD_COLUMN& column);
  int InsertColumn(int nIndex, LPCSTR lpszTitle, int nWidth, UINT nFormat = HDF_LEFT);
  int GetColumnCount() const { return m_model.ColumnCount(); }
  BOOL SetColumnWidth(int nColumn, int nWidth);
  CODHeaderCtrl* GetHeaderCtrl() { return m_header.GetSafeHwnd() ? &m_header : nullptr; }
  BOOL EnableHeaderDragDrop(BOOL bEnable);
  // A hidden column keeps its cells; showing it puts it back at the right end.
  BOOL HideColumn(int nColumn);
  BOOL ShowColumn(int nColumn);
  BOOL IsColumnShown(int nColumn) const;

  // Rows.
  int InsertItem(int nRow, LPCSTR lpszText);
  BOOL SetItemText(int nRow, int nColumn, LPCSTR lpszText);
  CString GetItemText(int nRow, int nColumn) const;
  int GetItemText(int nRow, int nColumn, LPSTR lpszBuffer, int nSize) const;
  BOOL DeleteItem(int nRow);
  BOOL DeleteAllItems();
  int GetItemCount() const { return m_model.GetItemCount(); }
  BOOL SetItemData(int nRow, DWORD_PTR dwData);
  DWORD_PTR GetItemData(int nRow) const;
  uint32_t GetRowState(int nRow) const { return m_model.GetRowState(nRow); }
  const odlist::ListModel& Model() const { return m_model; }

  int SetOption(int nCode, LPARAM lValue);
  const odlist::Options& GetOptions() const { return m_opt; }
  void ModifyListStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL SortItems(int nColumn, BOOL bAscending);
  void EnsureVisible(int nRow, BOOL bWhole);
  int GetFirstVisible() const { return m_nFirst; }
  int GetRowHeight() const { return m_nRowHeight; }
  int HitTestRow(CPoint pt) const;

  // Colours: index 0 background .. 12 tree lines; a kept colour ignores theme changes.
  enum {
    CLR_BK,
    CLR_BKSEL,
    CLR_BKSELNOFOCUS,
    CLR_TEXT,
    CLR_TEXTSEL,
    CLR_TEXTSELNOFOCUS,
    CLR_GRID,
    CLR_3DFACE,
    CLR_3DLIGHT,
    CLR_3DSHADOW,
    CLR_3DHILIGHT,
    CLR_3DDKSHADOW,
    CLR_TREELINE,
    CLR_COUNT
  };
  void SetColor(int nIndex, COLORREF cr, BOOL bKeep = TRUE);
  COLORREF GetColor(int nIndex) const { return nIndex >= 0 && nIndex < CLR_COUNT ? m_colors[nIndex] : 0; }
  void SetBkImage(HBITMAP hBitmap);

  // Scroll bars: the system's own, or the hosting container's skinned ones.
  BOOL IsHosted() const;
  BOOL SetListScrollInfo(int nBar, SCROLLINFO* pInfo, BOOL bRedraw);
  BOOL GetListScrollInfo(int nBar, SCROLLINFO* pInfo, UINT nMask);
  void ShowListScrollBar(int nBar, BOOL bShow);
  // Redraws only when asked and the list redraws on changes.
  void SetListScrollPos(int nBar, int nPos, BOOL bRedraw);
  static void DrawFocusFrame(CDC* pDC, const CRect& rect, int nPenStyle, COLORREF cr, int nWidth);

  // Section ODListCtrl.
  static void LoadListCtrlTheme();
  static COLORREF s_colors[CLR_COUNT];
  static int s_nBkImageID;

 protected:
  void OnThemeChanged() override { ThemeChanged(); }
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PreSubclassWindow() override;
  void LayOut();
  void UpdateScrollBars();
  void ApplyFont(HFONT hFont);
  void PaintWindow() override;
  void OnVScroll(UINT nCode);
  void OnHScroll(UINT nCode);
  void OnWheel(short delta);
  void OnKey(UINT nKey);
  void OnButtonDown(UINT nFlags, CPoint pt);
  BOOL OnRightButtonDown(UINT nFlags, CPoint pt);
  LRESULT OnHeaderNotify(NMHDR* pHdr);
  LRESULT OnListViewMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL* pHandled);
  void ThemeChanged();
  int RowsPerPage() const;
  std::vector<int> ShownColumns() const;
  void SelectAndNotify(int nFocusPos, int nAnchorPos, BOOL bSelect, BOOL bKeep, BOOL bToggle);
  void CloseEditor() {
    if (m_hEditor) EndEdit(TRUE, nullptr);
  }
  LRESULT OnEditorEnd(NMODLISTEDIT* pEnd);
  BOOL MoveFocusColumn(int nStep);
  BOOL IsFocusableColumn(int nColumn) const;
  BOOL OnChar(UINT nChar);
  BOOL AddHeaderItem(int nColumn);
  void DrawFixedRow(CDC* pDC, const CRect& clip);
  BOOL OnFixedRowKey(UINT nKey);
  BOOL HasFixedRow() const { return (GetStyle() & odlist::LS_FIXEDROW) != 0 && !m_model.IsOwnerData(); }
  BOOL RequestRowData(int nRow, int nColumn, odlist::Item* pItem);
  BOOL OnTreeKey(UINT nKey);
  BOOL ToggleByUser(int nRow);
  int IndentOf(int nRow) const;
  void DrawExpandBox(CDC* pDC, const CRect& box, BOOL bExpanded);
  void DrawTreeLines(CDC* pDC);
  static int ModelNode(int nNode) { return nNode == ODTREE_ROOT ? odlist::kTreeRoot : nNode; }

  odlist::ListModel m_model;
  odlist::Options m_opt;
  CODListHeaderCtrl m_header;
  BOOL m_bCreated;
  BOOL m_bDoubleBuffer;
  BOOL m_bRedrawOnChange;
  BOOL m_bHasFocus;
  int m_nWheelLines;
  LOGFONTA m_font, m_boldFont;
  COLORREF m_colors[CLR_COUNT];
  BOOL m_keep[CLR_COUNT];
  HBITMAP m_hBkImage;
  CRect m_rcHeader, m_rcList;
  CRect m_rcFixed;  // the fixed row (style 0x0200), empty without it
  int m_nRowHeight;
  int m_nTotalWidth;
  int m_nFirst;  // first visible display position
  int m_nXPos;   // horizontal scroll in pixels
  int m_nSortColumn;
  BOOL m_bSortAscending;
  BOOL m_bInLayout;
  int m_nEditRow = -2, m_nEditColumn = -1;
  HWND m_hEditor = nullptr;
  CFont m_editFont;
  int m_nFocusColumn = -1;
  BOOL m_bTreeLines = FALSE;
  BOOL m_bKeyStartsEdit = FALSE;
};
