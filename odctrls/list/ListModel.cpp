#include "ListModel.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace odlist {

SharedValues& Shared() {
  static SharedValues s_values;
  return s_values;
}

// ---- cells -------------------------------------------------------------------------

std::string EncodeCell(const Cell& cell, char separator) {
  std::string text = cell.hasText ? cell.text.substr(0, kMaxCellText) : std::string();
  const int length = cell.hasText ? static_cast<int>(text.size()) : -1;
  std::string out = "(" + std::to_string(cell.image) + "," + std::to_string(cell.overlay) + "," +
                    std::to_string(cell.check) + "," + std::to_string(cell.colour) + "," + std::to_string(length) + ")";
  out += text;
  out += separator;
  return out;
}

namespace {

// Reads a decimal int at p (optional '-'), clamped to the int range; false without digits.
bool ReadInt(const std::string& s, size_t& p, int* value) {
  bool negative = false;
  if (p < s.size() && s[p] == '-') negative = true, ++p;
  const size_t start = p;
  long long v = 0;
  while (p < s.size() && s[p] >= '0' && s[p] <= '9') {
    if (v <= INT_MAX) v = v * 10 + (s[p] - '0');
    ++p;
  }
  if (p == start) return false;
  if (v > INT_MAX) v = INT_MAX;
  *value = static_cast<int>(negative ? -v : v);
  return true;
}

// Parses the record at p; on success p is past its separator.
bool ParseRecord(const std::string& s, size_t& p, char separator, Cell* cell) {
  if (p >= s.size() || s[p] != '(') return false;
  ++p;
  int v[5];
  for (int i = 0; i < 5; ++i) {
    if (!ReadInt(s, p, &v[i])) return false;
    const char expected = i < 4 ? ',' : ')';
    if (p >= s.size() || s[p] != expected) return false;
    ++p;
  }
  Cell c;
  c.image = v[0], c.overlay = v[1], c.check = v[2], c.colour = v[3];
  if (v[4] >= 0) {
    if (static_cast<size_t>(v[4]) > s.size() - p) return false;
    c.hasText = true;
    c.text.assign(s, p, static_cast<size_t>(v[4]));
    p += static_cast<size_t>(v[4]);
    if (p >= s.size() || s[p] != separator) return false;
  } else {
    // No text: anything up to the separator is ignored.
    const size_t q = s.find(separator, p);
    if (q == std::string::npos) return false;
    p = q;
  }
  ++p;
  if (cell) *cell = std::move(c);
  return true;
}

}  // namespace

bool FindCell(const std::string& row, int column, char separator, size_t* begin, size_t* end) {
  if (column < 0) return false;
  size_t p = 0;
  for (int k = 0; k < column; ++k)
    if (!ParseRecord(row, p, separator, nullptr)) return false;
  const size_t start = p;
  if (!ParseRecord(row, p, separator, nullptr)) return false;
  if (begin) *begin = start;
  if (end) *end = p;
  return true;
}

bool DecodeCell(const std::string& row, int column, char separator, Cell* out) {
  size_t begin = 0, end = 0;
  if (!FindCell(row, column, separator, &begin, &end)) return false;
  Cell c;
  ParseRecord(row, begin, separator, &c);
  if (c.image == -1 && c.overlay == -1 && c.check == -1 && c.colour == -1 && !c.hasText) {
    if (out) *out = Cell();
    return false;
  }
  if (out) *out = std::move(c);
  return true;
}

bool ReplaceCell(std::string& row, int column, const Cell& cell, char separator) {
  size_t begin = 0, end = 0;
  if (!FindCell(row, column, separator, &begin, &end)) return false;
  row.replace(begin, end - begin, EncodeCell(cell, separator));
  return true;
}

bool InsertCell(std::string& row, int column, const Cell& cell, char separator) {
  size_t begin = 0, end = 0;
  if (column < 0) return false;
  if (!FindCell(row, column, separator, &begin, &end)) {
    // Appending right after the last record is allowed.
    if (column == 0 && row.empty())
      begin = 0;
    else if (column > 0 && FindCell(row, column - 1, separator, nullptr, &end) && end == row.size())
      begin = end;
    else
      return false;
  }
  row.insert(begin, EncodeCell(cell, separator));
  return true;
}

bool RemoveCell(std::string& row, int column, char separator) {
  size_t begin = 0, end = 0;
  if (!FindCell(row, column, separator, &begin, &end)) return false;
  row.erase(begin, end - begin);
  return true;
}

std::string EmptyCells(int count, char separator) {
  const std::string one = EncodeCell(Cell(), separator);
  std::string out;
  if (count <= 0) return out;
  out.reserve(one.size() * static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) out += one;
  return out;
}

// ---- options -----------------------------------------------------------------------

std::string FormatHeaderTip(const std::string& format, const std::string& title) {
  std::string out;
  bool used = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == 's' && !used) {
        out += title;
        used = true;
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out.substr(0, kMaxCellText);
}

int SetOption(Options& o, int code, uint32_t number, const char* text) {
  const std::string str = text ? text : "";
  switch (code) {
    case OPT_CELL_GAP:
      o.cellGap = static_cast<int>(number);
      return 1;
    case OPT_CHECK_SIZE:
      o.checkWidth = number & 0xFFFF, o.checkHeight = number >> 16;
      return 1;
    case OPT_EMPTY_TEXT:
      o.emptyText = str;
      return 1;
    case OPT_GRID_PEN:
      if (number > GRID_SOLID) return 0;
      o.gridPen = static_cast<int>(number);
      return 1;
    case OPT_HEADER_TIP:
      o.headerTip = str;
      return 1;
    case OPT_NOTIFY_MASK:
      o.notifyMask = number;
      return 1;
    case OPT_ROW_CACHE:
      o.rowCache = number != 0;
      return 1;
    case OPT_SEPARATOR:
      // A separator that could start a record or a number would make records ambiguous.
      if (number == 0 || number > 0xFF || std::strchr("(),-0123456789", static_cast<int>(number))) return 0;
      Shared().separator = static_cast<char>(number);
      return 1;
    case OPT_EXTRA_HEIGHT:
      o.extraHeight = number != 0;
      return 1;
    case OPT_HSCROLL:
      o.hscroll = number != 0;
      return 1;
    case OPT_CHECK_STYLE:
      if (number > 2) return 0;
      o.checkStyle = static_cast<int>(number);
      return 1;
    case OPT_STATE_IMAGE:
      if (number > 3) return 0;
      o.stateImage = static_cast<int>(number);
      return 1;
    case OPT_SPARE_COLOUR:
      o.spareColour = number;
      return 1;
    case OPT_SEPARATOR2:
      Shared().separator2 = static_cast<char>(number);
      return 1;
    case OPT_TREE_INDENT:
      Shared().treeIndent = str.substr(0, 64);
      return 1;
    default:
      return 0;
  }
}

// ---- columns -----------------------------------------------------------------------

int ListModel::InsertColumn(int index, const Column& column) {
  if (index < 0 || index > ColumnCount()) index = ColumnCount();
  Column c = column;
  if (c.width < 0) c.width = 200;
  const char sep = Shared().separator;
  std::vector<Row> rows = m_rows;  // all or nothing
  Row extra = m_extraRow;
  for (Row& r : rows)
    if (!InsertCell(r.cells, index, Cell(), sep)) return -1;
  if (!InsertCell(extra.cells, index, Cell(), sep)) return -1;
  m_rows.swap(rows);
  m_extraRow = extra;
  m_columns.insert(m_columns.begin() + index, c);
  return index;
}

const Column* ListModel::GetColumn(int index) const {
  return index >= 0 && index < ColumnCount() ? &m_columns[static_cast<size_t>(index)] : nullptr;
}

bool ListModel::SetColumnWidth(int index, int width) {
  if (index < 0 || index >= ColumnCount()) return false;
  Column& c = m_columns[static_cast<size_t>(index)];
  if (width < 0) width = 200;
  if (width < c.minWidth) width = c.minWidth;
  if (c.maxWidth > 0 && width > c.maxWidth) width = c.maxWidth;
  c.width = width;
  return true;
}

// ---- rows --------------------------------------------------------------------------

const Row* ListModel::GetRow(int row) const {
  if (row == -1) return IsOwnerData() ? nullptr : &m_extraRow;
  if (IsOwnerData()) return OwnerDataRow(row, -1);
  return row >= 0 && row < GetItemCount() ? &m_rows[static_cast<size_t>(row)] : nullptr;
}
Row* ListModel::MutableRow(int row) {
  if (IsOwnerData()) return nullptr;  // the parent owns the rows
  if (row == -1) return &m_extraRow;
  return row >= 0 && row < GetItemCount() ? &m_rows[static_cast<size_t>(row)] : nullptr;
}

int ListModel::InsertItem(const Item& item) {
  if (IsOwnerData() || IsTree()) return -2;
  int row = item.row;
  if (row < 0 || row > GetItemCount()) row = GetItemCount();
  Row r;
  r.cells = EmptyCells(ColumnCount(), Shared().separator);
  m_rows.insert(m_rows.begin() + row, r);
  for (int& o : m_order)
    if (o >= row) ++o;
  m_order.insert(m_order.begin() + std::min<size_t>(static_cast<size_t>(row), m_order.size()), row);
  if (m_focusRow >= row) ++m_focusRow;
  m_positionsDirty = true;
  Item applied = item;
  applied.row = row;
  applied.state &= ~static_cast<uint32_t>(RS_FOCUSED | RS_SELECTED | RS_COLLAPSED | RS_EXPANDED);
  if (applied.column < 0 || applied.column >= ColumnCount())
    applied.mask &= ~(IM_TEXT | IM_COLOUR | IM_IMAGE | IM_CHECK | IM_OVERLAY);
  if (ColumnCount() > 0 || (applied.mask & ~(IM_TEXT | IM_COLOUR | IM_IMAGE | IM_CHECK | IM_OVERLAY))) SetItem(applied);
  return row;
}

int ListModel::DeleteItem(int row) {
  if (IsOwnerData() || IsTree()) return -2;
  if (row < 0 || !GetRow(row)) return 0;  // the fixed row stays
  m_rows.erase(m_rows.begin() + row);
  m_order.erase(std::remove(m_order.begin(), m_order.end(), row), m_order.end());
  for (int& o : m_order)
    if (o > row) --o;
  if (m_focusRow == row)
    m_focusRow = -2;
  else if (m_focusRow > row)
    --m_focusRow;
  if (m_anchor >= static_cast<int>(m_order.size())) m_anchor = std::max(0, static_cast<int>(m_order.size()) - 1);
  m_positionsDirty = true;
  return 1;
}

bool ListModel::DeleteAllItems() {
  if (IsOwnerData()) return false;
  m_nodes.assign(1, TreeNode());
  m_rowNode.clear();
  m_rows.clear();
  m_order.clear();
  m_focusRow = -2;
  m_anchor = 0;
  m_positionsDirty = true;
  return true;
}

bool ListModel::GetItem(Item* item) const {
  if (!item || item->column < 0 || item->column >= ColumnCount()) return false;
  const Row* r = IsOwnerData() ? OwnerDataRow(item->row, item->column) : GetRow(item->row);
  if (!r) return false;
  Cell c;
  DecodeCell(r->cells, item->column, Shared().separator, &c);
  uint32_t mask = IM_STATE | IM_DATA;
  item->text = c.text;
  if (c.hasText) mask |= IM_TEXT;
  item->image = c.image, item->check = c.check, item->colour = c.colour, item->overlay = c.overlay;
  if (c.image >= 0) mask |= IM_IMAGE;
  if (c.check >= 0) mask |= IM_CHECK;
  if (c.colour >= 0) mask |= IM_COLOUR;
  if (c.overlay >= 0) mask |= IM_OVERLAY;
  item->bkColour = r->bkColour, item->extraHeight = r->extraHeight, item->indent = r->indent;
  if (r->bkColour >= 0) mask |= IM_BKCOLOUR;
  if (r->extraHeight != 0) mask |= IM_EXTRAHEIGHT;
  if (r->indent >= 0) mask |= IM_INDENT;
  item->state = r->state, item->data = r->data;
  item->mask = mask;
  return true;
}

bool ListModel::SetItem(const Item& item) {
  if (IsOwnerData()) return false;
  Row* r = MutableRow(item.row);
  if (!r) return false;
  const char sep = Shared().separator;
  const uint32_t cellBits = IM_TEXT | IM_COLOUR | IM_IMAGE | IM_CHECK | IM_OVERLAY;
  if (item.mask & cellBits) {
    if (item.column < 0 || item.column >= ColumnCount()) return false;
    Cell c;
    DecodeCell(r->cells, item.column, sep, &c);
    if (item.mask & IM_TEXT) c.hasText = true, c.text = item.text.substr(0, kMaxCellText);
    if (item.mask & IM_COLOUR) c.colour = item.colour;
    if (item.mask & IM_IMAGE) c.image = item.image;
    if (item.mask & IM_CHECK) c.check = item.check;
    if (item.mask & IM_OVERLAY) c.overlay = item.overlay;
    if (!ReplaceCell(r->cells, item.column, c, sep)) return false;
  }
  if (item.mask & IM_BKCOLOUR) r->bkColour = item.bkColour;
  if (item.mask & IM_EXTRAHEIGHT) r->extraHeight = item.extraHeight;
  if (item.mask & IM_INDENT) r->indent = item.indent;
  // The control owns focus, selection and expansion bits.
  const uint32_t own = RS_FOCUSED | RS_SELECTED | RS_COLLAPSED | RS_EXPANDED;
  if (item.mask & IM_STATE) r->state = (r->state & own) | (item.state & ~own);
  if (item.mask & IM_DATA) r->data = item.data;
  return true;
}

bool ListModel::SetItemText(int row, int column, const std::string& text) {
  Item it;
  it.mask = IM_TEXT, it.row = row, it.column = column, it.text = text;
  return SetItem(it);
}

std::string ListModel::GetItemText(int row, int column) const {
  Item it;
  it.row = row, it.column = column;
  return GetItem(&it) ? it.text : std::string();
}

uint32_t ListModel::GetRowState(int row) const {
  const Row* r = GetRow(row);
  return r ? r->state : 0;
}

bool ListModel::SetRowState(int row, uint32_t bits, uint32_t mask) {
  Row* r = MutableRow(row);
  if (!r) return false;
  r->state = (r->state & ~mask) | (bits & mask);
  return true;
}

std::string ListModel::GetItemLineText(int row, const std::vector<int>& columnOrder, char separator) const {
  const Row* r = GetRow(row);
  if (!r) return std::string();
  std::string line;
  if (IsTree()) {
    // The level shown as indent strings, then the node's look: open, closed or a leaf.
    for (int level = 1; level < r->indent; ++level) line += Shared().treeIndent;
    line += (r->state & RS_EXPANDED) ? '-' : (r->state & RS_COLLAPSED) ? '+' : ' ';
  }
  bool first = true;
  for (int col : columnOrder) {
    if (!first) line += separator;
    first = false;
    Cell c;
    DecodeCell(r->cells, col, Shared().separator, &c);
    if (c.hasText) {
      std::string t = c.text;
      std::replace(t.begin(), t.end(), separator, ' ');
      line += t;
    } else if (c.image >= 0) {
      line += std::to_string(c.image);
    } else if (c.check >= 0) {
      line += std::to_string(c.check);
    }
  }
  return line + '\n';
}

// ---- display order -------------------------------------------------------------------

int ListModel::RowAt(int position) const {
  if (position == -1) return -1;
  if (IsOwnerData()) return position >= 0 && position < m_ownerCount ? position : -2;
  return position >= 0 && position < static_cast<int>(m_order.size()) ? m_order[static_cast<size_t>(position)] : -2;
}

int ListModel::PositionOf(int row) const {
  if (row == -1) return -1;
  if (IsOwnerData()) return row >= 0 && row < m_ownerCount ? row : -2;
  if (m_positionsDirty) {
    m_positions.assign(m_rows.size(), -2);
    for (size_t p = 0; p < m_order.size(); ++p)
      if (m_order[p] >= 0 && static_cast<size_t>(m_order[p]) < m_positions.size())
        m_positions[static_cast<size_t>(m_order[p])] = static_cast<int>(p);
    m_positionsDirty = false;
  }
  return row >= 0 && static_cast<size_t>(row) < m_positions.size() ? m_positions[static_cast<size_t>(row)] : -2;
}

// ---- selection ---------------------------------------------------------------------

std::vector<int> ListModel::SelectedRows() const {
  std::vector<int> out;
  for (size_t p = 0; p < m_order.size(); ++p)
    if (m_rows[static_cast<size_t>(m_order[p])].state & RS_SELECTED) out.push_back(m_order[p]);
  return out;
}

void ListModel::ClearSelection() {
  for (Row& r : m_rows) r.state &= ~static_cast<uint32_t>(RS_SELECTED);
}

void ListModel::MoveFocus(int position) {
  if (Row* old = MutableRow(m_focusRow)) old->state &= ~static_cast<uint32_t>(RS_FOCUSED);
  m_focusRow = RowAt(position);
  if (Row* now = MutableRow(m_focusRow)) now->state |= RS_FOCUSED;
}

std::vector<int> ListModel::SelectRange(int focusPos, int anchorPos, bool select, bool keepOthers, bool toggle,
                                        const std::function<bool(int, uint32_t)>& veto) {
  std::vector<int> changed;
  const int count = static_cast<int>(m_order.size());
  if (count == 0) return changed;
  focusPos = std::clamp(focusPos, 0, count - 1);
  anchorPos = std::clamp(anchorPos, 0, count - 1);
  if ((m_style & LS_SINGLESEL) && select) anchorPos = focusPos, keepOthers = false;
  MoveFocus(focusPos);
  auto apply = [&](int row, uint32_t newState) {
    Row& r = m_rows[static_cast<size_t>(row)];
    if (newState == r.state || (veto && veto(row, newState))) return;
    r.state = newState;
    changed.push_back(row);
  };
  const int lo = std::min(focusPos, anchorPos), hi = std::max(focusPos, anchorPos);
  for (int p = lo; p <= hi; ++p) {
    const int row = m_order[static_cast<size_t>(p)];
    const uint32_t s = m_rows[static_cast<size_t>(row)].state;
    uint32_t ns = toggle ? (s ^ RS_SELECTED) : select ? (s | RS_SELECTED) : (s & ~static_cast<uint32_t>(RS_SELECTED));
    apply(row, ns);
  }
  if (!keepOthers)
    for (int p = 0; p < count; ++p) {
      if (p >= lo && p <= hi) continue;
      const int row = m_order[static_cast<size_t>(p)];
      const uint32_t s = m_rows[static_cast<size_t>(row)].state;
      if (s & RS_SELECTED) apply(row, s & ~static_cast<uint32_t>(RS_SELECTED));
    }
  return changed;
}

bool ListModel::OnKey(unsigned key, bool shift, bool ctrl, int pageRows, int* firstVisible) {
  enum { kSpace = 0x20, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24, kUp = 0x26, kDown = 0x28 };
  const int count = static_cast<int>(m_order.size());
  if (count == 0) return false;
  if (pageRows < 1) pageRows = 1;
  int first = firstVisible ? std::clamp(*firstVisible, 0, count - 1) : 0;
  const int focus = PositionOf(m_focusRow);
  int target;
  switch (key) {
    case kSpace:
      if (focus < 0) return false;
      SelectRange(focus, focus, true, true, ctrl, nullptr);
      return true;
    case kUp:
      target = focus < 0 ? 0 : std::max(0, focus - 1);
      break;
    case kDown:
      target = focus < 0 ? 0 : std::min(count - 1, focus + 1);
      break;
    case kHome:
      target = 0;
      break;
    case kEnd:
      target = count - 1;
      break;
    case kPrior: {
      target = focus == first ? std::max(0, first - pageRows) : first;
      break;
    }
    case kNext: {
      const int last = std::min(count - 1, first + pageRows - 1);
      target = focus == last ? std::min(count - 1, last + pageRows) : last;
      break;
    }
    default:
      return false;
  }
  if (ctrl) {
    MoveFocus(target);
    m_anchor = target;
  } else if (shift) {
    SelectRange(target, m_anchor, true, false, false, nullptr);
  } else {
    m_anchor = target;
    SelectRange(target, target, true, false, false, nullptr);
  }
  // Keep the focus row in view.
  if (target < first) first = target;
  if (target >= first + pageRows) first = target - pageRows + 1;
  if (firstVisible) *firstVisible = std::max(0, first);
  return true;
}

// ---- sort --------------------------------------------------------------------------

int ListModel::CompareCells(int rowA, int rowB, int column) const {
  Cell a, b;
  const Row* ra = GetRow(rowA);
  const Row* rb = GetRow(rowB);
  if (!ra || !rb) return ra ? 1 : rb ? -1 : 0;
  DecodeCell(ra->cells, column, Shared().separator, &a);
  DecodeCell(rb->cells, column, Shared().separator, &b);
  if (a.hasText || b.hasText) {
    // Byte order keeps GBK characters whole: lead bytes sort after ASCII.
    const int c = std::memcmp(a.text.data(), b.text.data(), std::min(a.text.size(), b.text.size()));
    if (c != 0) return c < 0 ? -1 : 1;
    return a.text.size() < b.text.size() ? -1 : a.text.size() > b.text.size() ? 1 : 0;
  }
  if (a.check >= 0 || b.check >= 0) return (a.check > b.check) - (a.check < b.check);
  return (a.image > b.image) - (a.image < b.image);
}

namespace {

// Bottom-up merge sort: every index stays in range and the work is n log n even when the
// comparison is inconsistent (a caller's callback may be).
void MergeSort(std::vector<int>& a, const RowCompare& cmp, bool ascending) {
  std::vector<int> tmp(a.size());
  const size_t n = a.size();
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) {
        int c = cmp(a[j], a[i]);
        if (!ascending) c = -c;
        tmp[k++] = c < 0 ? a[j++] : a[i++];
      }
      while (i < mid) tmp[k++] = a[i++];
      while (j < hi) tmp[k++] = a[j++];
    }
    a.swap(tmp);
  }
}

}  // namespace

bool ListModel::Sort(int column, bool ascending, const RowCompare& compare) {
  if (IsOwnerData() || column < 0 || column >= ColumnCount()) return false;
  RowCompare cmp = compare ? compare : [this, column](int a, int b) { return CompareCells(a, b, column); };
  if (IsTree()) {
    const int focusNode = NodeOfRow(m_focusRow);
    SortTreeLevel(kTreeRoot, cmp, column, ascending);
    RebuildTreeOrder();
    m_focusRow = GetNodeRow(focusNode) >= 0 ? GetNodeRow(focusNode) : m_focusRow;
    return true;
  }
  MergeSort(m_order, cmp, ascending);
  m_positionsDirty = true;
  return true;
}

// ---- tree --------------------------------------------------------------------------

int ListModel::InsertTreeItem(int parentNode, const Item& item, int spanColumn) {
  if (!IsTree() || IsOwnerData() || !GetNode(parentNode)) return -2;
  const int row = GetItemCount();
  Row r;
  r.cells = EmptyCells(ColumnCount(), Shared().separator);
  m_rows.push_back(r);
  TreeNode node;
  node.parent = parentNode;
  node.row = row;
  node.spanColumn = spanColumn >= 0 && spanColumn < ColumnCount() ? spanColumn : -1;
  node.level = m_nodes[static_cast<size_t>(parentNode)].level + 1;
  m_nodes.push_back(node);
  const int index = static_cast<int>(m_nodes.size()) - 1;
  m_nodes[static_cast<size_t>(parentNode)].children.push_back(index);
  m_rowNode.resize(m_rows.size(), -1);
  m_rowNode[static_cast<size_t>(row)] = index;
  Item applied = item;
  applied.row = row;
  applied.state &= ~static_cast<uint32_t>(RS_FOCUSED | RS_SELECTED | RS_COLLAPSED | RS_EXPANDED);
  if (applied.column < 0 || applied.column >= ColumnCount())
    applied.mask &= ~(IM_TEXT | IM_COLOUR | IM_IMAGE | IM_CHECK | IM_OVERLAY);
  SetItem(applied);
  RebuildTreeOrder();
  return row;
}

const TreeNode* ListModel::GetNode(int node) const {
  return node >= 0 && node < static_cast<int>(m_nodes.size()) ? &m_nodes[static_cast<size_t>(node)] : nullptr;
}

int ListModel::NodeOfRow(int row) const {
  return row >= 0 && row < static_cast<int>(m_rowNode.size()) ? m_rowNode[static_cast<size_t>(row)] : -1;
}

int ListModel::GetNodeRow(int node) const {
  const TreeNode* n = node == kTreeRoot ? nullptr : GetNode(node);
  return n ? n->row : -1;
}

bool ListModel::HasChildren(int node) const {
  const TreeNode* n = GetNode(node);
  return n && !n->children.empty();
}

int ListModel::GetNextNode(int node, int relation) const {
  if (relation == TREE_FOCUS) return NodeOfRow(m_focusRow);
  const TreeNode* n = GetNode(node);
  if (!n) return -1;
  switch (relation) {
    case TREE_TOP:
      while (n->parent > kTreeRoot) node = n->parent, n = GetNode(node);
      return node == kTreeRoot ? -1 : node;
    case TREE_PARENT:
      return n->parent > kTreeRoot ? n->parent : -1;
    case TREE_CHILD:
      return n->children.empty() ? -1 : n->children.front();
    case TREE_NEXT:
    case TREE_PREVIOUS: {
      const TreeNode* p = GetNode(n->parent);
      if (!p) return -1;
      for (size_t i = 0; i < p->children.size(); ++i) {
        if (p->children[i] != node) continue;
        if (relation == TREE_NEXT) return i + 1 < p->children.size() ? p->children[i + 1] : -1;
        return i > 0 ? p->children[i - 1] : -1;
      }
      return -1;
    }
  }
  return -1;
}

bool ListModel::Expand(int node, int action) {
  if (!IsTree() || node == kTreeRoot || !GetNode(node)) return false;
  TreeNode& n = m_nodes[static_cast<size_t>(node)];
  const bool want = action == TREE_TOGGLE ? !n.expanded : action == TREE_EXPAND;
  if (want == n.expanded || (want && n.children.empty())) return false;
  n.expanded = want;
  RebuildTreeOrder();
  // A focus row hidden by a collapse moves to its first visible ancestor.
  for (int f = NodeOfRow(m_focusRow); f > kTreeRoot && PositionOf(m_focusRow) < 0;) {
    f = m_nodes[static_cast<size_t>(f)].parent;
    if (f > kTreeRoot && PositionOf(GetNodeRow(f)) >= 0) MoveFocus(PositionOf(GetNodeRow(f)));
  }
  return true;
}

// Depth first from the root: each child's row is shown, its indent is its level and its
// parent look follows the node; only expanded nodes are walked into.
void ListModel::RebuildTreeOrder() {
  m_order.clear();
  std::vector<int> stack(m_nodes[kTreeRoot].children.rbegin(), m_nodes[kTreeRoot].children.rend());
  while (!stack.empty()) {
    const int index = stack.back();
    stack.pop_back();
    const TreeNode& n = m_nodes[static_cast<size_t>(index)];
    Row& r = m_rows[static_cast<size_t>(n.row)];
    m_order.push_back(n.row);
    r.indent = n.level;
    r.state &= ~static_cast<uint32_t>(RS_COLLAPSED | RS_EXPANDED);
    if (!n.children.empty()) r.state |= n.expanded ? RS_EXPANDED : RS_COLLAPSED;
    if (n.expanded) stack.insert(stack.end(), n.children.rbegin(), n.children.rend());
  }
  m_positionsDirty = true;
}

void ListModel::SortTreeLevel(int node, const RowCompare& cmp, int column, bool ascending) {
  std::vector<int>& children = m_nodes[static_cast<size_t>(node)].children;
  for (int child : children) SortTreeLevel(child, cmp, column, ascending);
  // Children are sorted by their rows; a group row sorts by its span column.
  RowCompare byNode = [this, &cmp](int a, int b) {
    const TreeNode& na = m_nodes[static_cast<size_t>(a)];
    const TreeNode& nb = m_nodes[static_cast<size_t>(b)];
    if (na.spanColumn >= 0 || nb.spanColumn >= 0)
      return CompareCells(na.row, nb.row, na.spanColumn >= 0 ? na.spanColumn : nb.spanColumn);
    return cmp(na.row, nb.row);
  };
  (void)column;
  MergeSort(children, byNode, ascending);
}

// ---- owner data ----------------------------------------------------------------------

void ListModel::SetOwnerData(int count, RowRequest request) {
  m_ownerCount = std::clamp(count, 0, kMaxOwnerDataRows);
  m_request = std::move(request);
  m_cache.assign(kRowCacheSize, CacheEntry());
  if (m_focusRow >= m_ownerCount) m_focusRow = -2;
}

int ListModel::CachedRowAt(int entry) const {
  return entry >= 0 && entry < static_cast<int>(m_cache.size()) ? m_cache[static_cast<size_t>(entry)].row : -2;
}

// The row from its cache entry, asking the parent for what is missing: the whole row on a
// miss (or with caching off), else the asked cell when its record is still empty.
const Row* ListModel::OwnerDataRow(int row, int column) const {
  if (row < 0 || row >= m_ownerCount) return nullptr;
  if (m_cache.size() != static_cast<size_t>(kRowCacheSize)) m_cache.assign(kRowCacheSize, CacheEntry());
  CacheEntry& e = m_cache[static_cast<size_t>(CacheEntryOf(row))];
  const bool miss = e.row != row || !m_rowCaching;
  if (miss) {
    e.row = row;
    e.data = Row();
    e.data.cells = EmptyCells(ColumnCount(), Shared().separator);
  } else {
    Cell c;
    if (column < 0 || (DecodeCell(e.data.cells, column, Shared().separator, &c) || !c.IsEmpty())) return &e.data;
  }
  Item it;
  it.row = row, it.column = column;
  if (!m_request || !m_request(row, column, &it)) return &e.data;
  if (column >= 0 && column < ColumnCount()) {
    Cell c;
    if (it.mask & IM_TEXT) c.hasText = true, c.text = it.text.substr(0, kMaxCellText);
    if (it.mask & IM_IMAGE) c.image = it.image;
    if (it.mask & IM_CHECK) c.check = it.check;
    if (it.mask & IM_COLOUR) c.colour = it.colour;
    if (it.mask & IM_OVERLAY) c.overlay = it.overlay;
    ReplaceCell(e.data.cells, column, c, Shared().separator);
  }
  e.data.bkColour = (it.mask & IM_BKCOLOUR) ? it.bkColour : -1;
  e.data.extraHeight = (it.mask & IM_EXTRAHEIGHT) ? it.extraHeight : 0;
  e.data.state = (it.mask & IM_STATE) ? it.state : 0;
  e.data.indent = (it.mask & IM_INDENT) ? it.indent : -1;
  return &e.data;
}

}  // namespace odlist
