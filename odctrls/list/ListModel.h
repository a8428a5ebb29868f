// The owner-drawn list's data model without windows: the cell records of a row string,
// the options, the rows with their display order, selection and focus, keyboard moves and
// the sort. CODListCtrl keeps one ListModel and paints from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace odlist {

// ---- cells -------------------------------------------------------------------------
// A cell record is "(image,overlay,check,colour,length)text" followed by the separator.
// The stored length, not the separator, ends the text, so a text holding the separator
// byte (a GBK trail byte can be 0x7C) never shifts the cells after it.
struct Cell {
  int image = -1;
  int overlay = -1;
  int check = -1;
  int colour = -1;
  bool hasText = false;
  std::string text;
  bool IsEmpty() const { return image == -1 && overlay == -1 && check == -1 && colour == -1 && !hasText; }
};

constexpr size_t kMaxCellText = 255;  // bytes a cell keeps

std::string EncodeCell(const Cell& cell, char separator);
// Byte range [begin, end) of column k's record (end is past its separator); false when the
// row has fewer records or a record is malformed.
bool FindCell(const std::string& row, int column, char separator, size_t* begin, size_t* end);
// False for a missing or malformed record, or an all-(-1) record (an empty cell).
bool DecodeCell(const std::string& row, int column, char separator, Cell* out);
bool ReplaceCell(std::string& row, int column, const Cell& cell, char separator);
bool InsertCell(std::string& row, int column, const Cell& cell, char separator);
bool RemoveCell(std::string& row, int column, char separator);
std::string EmptyCells(int count, char separator);

// ---- options -----------------------------------------------------------------------
enum Option {
  OPT_CELL_GAP = 1,
  OPT_CHECK_SIZE = 2,
  OPT_EMPTY_TEXT = 3,
  OPT_GRID_PEN = 4,
  OPT_HEADER_TIP = 5,
  OPT_NOTIFY_MASK = 6,
  OPT_ROW_CACHE = 7,
  OPT_SEPARATOR = 8,
  OPT_EXTRA_HEIGHT = 9,
  OPT_HSCROLL = 10,
  OPT_CHECK_STYLE = 11,
  OPT_STATE_IMAGE = 12,
  OPT_SPARE_COLOUR = 13,
  OPT_SEPARATOR2 = 14,
  OPT_TREE_INDENT = 15,
};
enum GridPen { GRID_DOT = 0, GRID_DASH = 1, GRID_SOLID = 2 };

struct Options {
  int cellGap = 6;
  int checkWidth = 8, checkHeight = 8;
  std::string emptyText;
  int gridPen = GRID_SOLID;
  std::string headerTip = "Sort by: %s";
  uint32_t notifyMask = 0xFFFFFFFFu;
  int rowCache = 1;
  int extraHeight = 1;
  int hscroll = 1;
  int checkStyle = 0;  // 0 flat, 1 mono, 2 plain
  int stateImage = 0;
  uint32_t spareColour = 0xFFFFFF;
};

// Process-wide values shared by every list.
struct SharedValues {
  char separator = '|';
  char separator2 = '\t';
  std::string treeIndent = "  ";
};
SharedValues& Shared();

// Applies option code with a number or a text (options 3, 5, 15 take the text; a null text
// counts as empty). Returns 1 when accepted, 0 for an unknown code or a refused value.
int SetOption(Options& options, int code, uint32_t number, const char* text);

// A column's header tip: the first "%s" of the tip format becomes the title and "%%" a
// percent sign; any other conversion is written as it stands (the format is the caller's
// text, never handed to a printf). At most 255 bytes.
std::string FormatHeaderTip(const std::string& format, const std::string& title);

// ---- rows --------------------------------------------------------------------------
enum RowState : uint32_t {
  RS_FOCUSED = 0x01,
  RS_SELECTED = 0x02,
  RS_BOLD = 0x04,
  RS_NOEDIT = 0x08,
  RS_PARENTDRAWN = 0x10,
  RS_COLLAPSED = 0x20,
  RS_EXPANDED = 0x40,
};
enum ListStyle : uint32_t {
  LS_SINGLESEL = 0x0001,
  LS_SHOWSELALWAYS = 0x0002,
  LS_KEEPCELLCOLOURS = 0x0004,
  LS_ALTROWS = 0x0008,
  LS_HGRID = 0x0010,
  LS_VGRID = 0x0020,
  LS_NOHEADER = 0x0040,
  LS_NOSORT = 0x0080,
  LS_DRAGHIDE = 0x0100,
  LS_FIXEDROW = 0x0200,
  LS_OWNERDRAWALL = 0x0400,
  LS_OWNERDATA = 0x0800,
  LS_CELLFOCUS = 0x1000,
  LS_TITLETIPS = 0x2000,
  LS_TREE = 0x4000 | 0x8000,  // either tree bit means tree rows
  LS_3DFACE = 0x8000000,
};

struct Row {
  std::string cells;
  int bkColour = -1;
  int extraHeight = 0;
  int indent = -1;
  uint32_t state = 0;
  uintptr_t data = 0;
};

// The item record callers read and write cells through.
enum ItemMask : uint32_t {
  IM_TEXT = 0x001,
  IM_COLOUR = 0x002,
  IM_IMAGE = 0x004,
  IM_CHECK = 0x008,
  IM_BKCOLOUR = 0x010,
  IM_EXTRAHEIGHT = 0x020,
  IM_STATE = 0x040,
  IM_DATA = 0x080,
  IM_INDENT = 0x100,
  IM_OVERLAY = 0x200,
};
struct Item {
  uint32_t mask = 0;
  int row = 0, column = 0;
  std::string text;
  int colour = -1, image = -1, check = -1, bkColour = -1, extraHeight = 0, indent = -1;
  uint32_t state = 0;
  uintptr_t data = 0;
  int overlay = -1;
};

struct Column {
  uint32_t flags = 0;
  int width = 200;
  int minWidth = 0;
  int maxWidth = 0;
  int image = -1;
  std::string title;
};

// Order of two rows by a column; negative, zero or positive.
using RowCompare = std::function<int(int rowA, int rowB)>;

// Owner data: the parent fills the item for (row, column); column -1 asks for the row's
// values only. item->mask says what it filled. False leaves the row empty.
using RowRequest = std::function<bool(int row, int column, Item* item)>;

// Tree nodes are named by index; the root is node 0 (0xFFFF0000 in the window's calls).
constexpr int kTreeRoot = 0;
enum TreeRelation { TREE_TOP = 0, TREE_NEXT = 1, TREE_PREVIOUS = 2, TREE_PARENT = 3, TREE_CHILD = 4, TREE_FOCUS = 5 };
enum TreeAction { TREE_COLLAPSE = 0, TREE_EXPAND = 1, TREE_TOGGLE = 2 };
struct TreeNode {
  int parent = -1;
  std::vector<int> children;
  int row = -2;
  int spanColumn = -1;  // 0 or more: a group row whose text spans the row and sorts by it
  bool expanded = false;
  int level = 0;
};

constexpr int kRowCacheSize = 128;
constexpr int kMaxOwnerDataRows = 100000000;

class ListModel {
 public:
  explicit ListModel(uint32_t style = 0) : m_style(style) {}

  uint32_t Style() const { return m_style; }
  void SetStyle(uint32_t style) { m_style = style; }
  bool IsTree() const { return (m_style & LS_TREE) != 0; }
  bool IsOwnerData() const { return (m_style & LS_OWNERDATA) != 0; }

  // Columns. Insert returns the index, or -1.
  int InsertColumn(int index, const Column& column);
  int ColumnCount() const { return static_cast<int>(m_columns.size()); }
  const Column* GetColumn(int index) const;
  // Limits applied; a negative width means the default 200. False out of range.
  bool SetColumnWidth(int index, int width);

  // Rows. Insert refuses (-2) with owner data or tree rows.
  int InsertItem(const Item& item);

  // Tree rows (either tree style bit): a new row as the last child of parentNode. Returns
  // the row, or -2 outside tree mode or for an unknown parent.
  int InsertTreeItem(int parentNode, const Item& item, int spanColumn = -1);
  int NodeOfRow(int row) const;
  int GetNodeRow(int node) const;  // -1 for no node
  const TreeNode* GetNode(int node) const;
  bool HasChildren(int node) const;
  int GetNextNode(int node, int relation) const;  // -1 when there is none
  // Collapse, expand or toggle; the display order is rebuilt and the focus kept on the
  // first visible ancestor of the old focus row. True when the node changed.
  bool Expand(int node, int action);

  // Owner data: the row count and where rows come from; rows live in a 128-entry cache.
  void SetOwnerData(int count, RowRequest request);
  void SetRowCaching(bool on) { m_rowCaching = on; }
  int CacheEntryOf(int row) const { return row < 0 ? -1 : row % kRowCacheSize; }
  int CachedRowAt(int entry) const;
  int DeleteItem(int row);
  bool DeleteAllItems();
  int GetItemCount() const { return IsOwnerData() ? m_ownerCount : static_cast<int>(m_rows.size()); }
  bool GetItem(Item* item) const;  // fills item->mask with the values present
  bool SetItem(const Item& item);
  bool SetItemText(int row, int column, const std::string& text);
  std::string GetItemText(int row, int column) const;
  const Row* GetRow(int row) const;
  uint32_t GetRowState(int row) const;
  bool SetRowState(int row, uint32_t bits, uint32_t mask);
  // The row as one line: the shown columns' texts (separator bytes turned to blanks), else
  // the image or check number, joined by the separator, ending with a line feed.
  std::string GetItemLineText(int row, const std::vector<int>& columnOrder, char separator) const;

  // Display order: position <-> row.
  int RowAt(int position) const;
  int PositionOf(int row) const;

  // Selection and focus.
  int FocusRow() const { return m_focusRow; }
  int Anchor() const { return m_anchor; }
  void SetAnchor(int position) { m_anchor = position; }
  std::vector<int> SelectedRows() const;
  // Selects the positions between focus and anchor; see the class comment in the window.
  // veto (may be null) answers true to keep a row unchanged. Returns the rows changed.
  std::vector<int> SelectRange(int focusPos, int anchorPos, bool select, bool keepOthers, bool toggle,
                               const std::function<bool(int row, uint32_t newState)>& veto = nullptr);
  void ClearSelection();

  // Keyboard: the key codes of Windows (VK_*) with shift and ctrl; pageRows rows per page.
  // Returns true when handled (the focus row, anchor and selection changed as a player sees).
  bool OnKey(unsigned key, bool shift, bool ctrl, int pageRows, int* firstVisible);

  // Sort the display order by a column; stable and bounded whatever the comparison says.
  bool Sort(int column, bool ascending, const RowCompare& compare);
  // The default comparison: texts byte-wise, else check types, else image indices.
  int CompareCells(int rowA, int rowB, int column) const;

  // Moves the focus bit to the row at a display position; selection unchanged.
  void MoveFocus(int position);

 private:
  Row* MutableRow(int row);
  void RebuildTreeOrder();
  void SortTreeLevel(int node, const RowCompare& cmp, int column, bool ascending);
  const Row* OwnerDataRow(int row, int column) const;

  uint32_t m_style;
  std::vector<Column> m_columns;
  std::vector<Row> m_rows;
  Row m_extraRow;            // row -1: the fixed row under the header (style 0x0200)
  std::vector<int> m_order;  // display order: row index per position
  mutable std::vector<int> m_positions;
  mutable bool m_positionsDirty = true;
  int m_focusRow = -2;
  int m_anchor = 0;
  std::vector<TreeNode> m_nodes = std::vector<TreeNode>(1);  // node 0 is the root
  std::vector<int> m_rowNode;                                // node of each row in tree mode
  int m_ownerCount = 0;
  RowRequest m_request;
  bool m_rowCaching = true;
  struct CacheEntry {
    int row = -2;
    Row data;
  };
  mutable std::vector<CacheEntry> m_cache;
};

}  // namespace odlist
