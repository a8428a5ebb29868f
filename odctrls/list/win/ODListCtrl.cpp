#include "ODListCtrl.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "ODMemDC.h"
#include "ODNcMgrWnd.h"
#include "EditRules.h"
#include "ODTheme.h"
#include "ScrollBarEx.h"

IMPLEMENT_DYNAMIC(CODListHeaderCtrl, CODHeaderCtrl)
IMPLEMENT_DYNCREATE(CODListCtrl, CWnd)

namespace {

const char kListClass[] = "ODListCtrl";

void RegisterListClass() {
  ODRegisterWindowClass(kListClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, (HBRUSH)(COLOR_MENU + 1));
}

const bool g_loader = (SetThemeClassLoader("ODListCtrl", &CODListCtrl::LoadListCtrlTheme), true);

const char* const kColorKeys[CODListCtrl::CLR_COUNT - 1] = {
    "ColorBackground", "ColorBkSelected",   "ColorBkSelectedNoFocus",
    "ColorText",       "ColorTextSelected", "ColorTextSelectedNoFocus",
    "ColorGrid",       "Color3DFace",       "Color3DLight",
    "Color3DShadow",   "Color3DHilight",    "Color3DDarkShadow"};

}  // namespace

COLORREF CODListCtrl::s_colors[CLR_COUNT] = {::GetSysColor(COLOR_WINDOW),
                                             ::GetSysColor(COLOR_HIGHLIGHT),
                                             ::GetSysColor(COLOR_BTNFACE),
                                             ::GetSysColor(COLOR_WINDOWTEXT),
                                             ::GetSysColor(COLOR_HIGHLIGHTTEXT),
                                             ::GetSysColor(COLOR_WINDOWTEXT),
                                             ::GetSysColor(COLOR_BTNFACE),
                                             ::GetSysColor(COLOR_BTNFACE),
                                             ::GetSysColor(COLOR_3DLIGHT),
                                             ::GetSysColor(COLOR_BTNSHADOW),
                                             ::GetSysColor(COLOR_BTNHIGHLIGHT),
                                             ::GetSysColor(COLOR_3DDKSHADOW),
                                             RGB(128, 128, 128)};
int CODListCtrl::s_nBkImageID = 0;

void CODListCtrl::LoadListCtrlTheme() {
  for (int i = 0; i < CLR_COUNT - 1; ++i)
    s_colors[i] = (COLORREF)GetThemeInt("ODListCtrl", kColorKeys[i], (int)s_colors[i]);
  s_nBkImageID = GetThemeInt("ODListCtrl", "BkImageID", s_nBkImageID);
}

// ---- header -------------------------------------------------------------------------

LRESULT CODListHeaderCtrl::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_RBUTTONDOWN) {
    CODListCtrl* pList = dynamic_cast<CODListCtrl*>(GetParent());
    if (pList) {
      HDHITTESTINFO hit{};
      hit.pt = CPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
      HitTest(&hit);
      HDITEMA hdi{};
      hdi.mask = HDI_LPARAM;
      const int column = hit.iItem >= 0 && GetItem(hit.iItem, &hdi) ? (int)hdi.lParam : -1;
      if (pList->NotifyParent(ODLN_HEADERRCLICK, -2, column)) return 0;
    }
  }
  return CODHeaderCtrl::OnODMessage(message, wParam, lParam);
}

// ---- construction -------------------------------------------------------------------

CODListCtrl::CODListCtrl()
    : CODPaintedWnd<CWnd>(nullptr, 0),  // InitControl marks it, created or subclassed
      m_bCreated(FALSE),
      m_bDoubleBuffer(TRUE),
      m_bRedrawOnChange(TRUE),
      m_bHasFocus(FALSE),
      m_nWheelLines(3),
      m_hBkImage(nullptr),
      m_nRowHeight(10),
      m_nTotalWidth(0),
      m_nFirst(0),
      m_nXPos(0),
      m_nSortColumn(-1),
      m_bSortAscending(TRUE),
      m_bInLayout(FALSE) {
  RegisterListClass();
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_font, &m_font);
  m_boldFont = m_font;
  m_boldFont.lfWeight = FW_BOLD;
  for (int i = 0; i < CLR_COUNT; ++i) m_colors[i] = s_colors[i], m_keep[i] = FALSE;
  m_nWheelLines = GetWheelScrollLines();
}

CODListCtrl::~CODListCtrl() {
  if (m_header.GetSafeHwnd()) m_header.DestroyWindow();
  if (m_hBkImage) ::DeleteObject(m_hBkImage);
  if (m_hWnd) DestroyWindow();
}

BOOL CODListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext*) {
  m_bCreated = TRUE;
  if (!CWnd::CreateEx(0, kListClass, "", dwStyle, rect, pParentWnd, nID)) return FALSE;
  return InitControl();
}

void CODListCtrl::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  if (!m_bCreated && !InitControl()) AfxThrowMemoryException();
}

BOOL CODListCtrl::InitControl() {
  ::SetPropA(m_hWnd, "ODCtrl", (HANDLE)(INT_PTR)0x1000);
  ::SetPropA(m_hWnd, "ODListCtrl", (HANDLE)(INT_PTR)0x1009);
  if (!m_header.Create(WS_CHILD | WS_VISIBLE | 0xC3, CRect(0, 0, 0, 0), this, 0)) return FALSE;
  CWnd* pParent = GetParent();
  HFONT hFont = pParent ? (HFONT)pParent->SendMessage(WM_GETFONT) : nullptr;
  // Inside a container the font is the dialog's.
  if (!hFont && pParent && pParent->GetParent()) hFont = (HFONT)pParent->GetParent()->SendMessage(WM_GETFONT);
  ApplyFont(hFont);
  m_model.SetStyle(GetStyle());
  m_model.SetOwnerData(0, [this](int row, int column, odlist::Item* it) { return RequestRowData(row, column, it); });
  LoadColors();
  SetBkImage(s_nBkImageID ? LoadThemeBitmap((UINT)s_nBkImageID, "QKImage") : nullptr);
  LayOut();
  return TRUE;
}

void CODListCtrl::LoadColors() {
  for (int i = 0; i < CLR_COUNT; ++i)
    if (!m_keep[i]) m_colors[i] = s_colors[i];
  if (m_hWnd) Invalidate(FALSE);
}

void CODListCtrl::SetColor(int nIndex, COLORREF cr, BOOL bKeep) {
  if (nIndex < 0 || nIndex >= CLR_COUNT) return;
  m_colors[nIndex] = cr;
  m_keep[nIndex] = bKeep;
  if (m_hWnd) Invalidate(FALSE);
}

void CODListCtrl::SetBkImage(HBITMAP hBitmap) {
  if (m_hBkImage) ::DeleteObject(m_hBkImage);
  m_hBkImage = hBitmap;
  if (m_hWnd) Invalidate(FALSE);
}

void CODListCtrl::ThemeChanged() {
  LoadListCtrlTheme();
  LoadColors();
  SetBkImage(s_nBkImageID ? LoadThemeBitmap((UINT)s_nBkImageID, "QKImage") : nullptr);
  Invalidate(FALSE);
}

int CODListCtrl::GetWheelScrollLines() {
  char text[128] = "";
  DWORD size = sizeof text - 1, type = 0;
  HKEY key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS) return 3;
  const LONG rc = ::RegQueryValueExA(key, "WheelScrollLines", nullptr, &type, (BYTE*)text, &size);
  ::RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return 3;
  text[std::min<DWORD>(size, sizeof text - 1)] = '\0';
  const long lines = std::strtol(text, nullptr, 10);
  return lines < 0 ? 3 : (int)std::min<long>(lines, 100);
}

void CODListCtrl::ApplyFont(HFONT hFont) {
  if (hFont) ::GetObjectA(hFont, sizeof m_font, &m_font);
  m_boldFont = m_font;
  m_boldFont.lfWeight = FW_BOLD;
  CClientDC dc(this);
  CFont font;
  font.CreateFontIndirect(&m_font);
  CFont* old = dc.SelectObject(&font);
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc.GetSafeHdc(), &tm);
  dc.SelectObject(old);
  m_nRowHeight = tm.tmHeight + tm.tmExternalLeading + 2 + ((GetStyle() & odlist::LS_HGRID) ? 1 : 0);
  m_opt.checkWidth = m_opt.checkHeight = m_nRowHeight - 2;
  if (m_header.GetSafeHwnd())
    m_header.SendMessage(WM_SETFONT, (WPARAM)(hFont ? hFont : ::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

// ---- columns -------------------------------------------------------------------------

int CODListCtrl::InsertColumn(int nIndex, const OD_COLUMN& column) {
  odlist::Column c;
  c.flags = column.nFlags, c.width = column.nWidth, c.minWidth = column.nMinWidth, c.maxWidth = column.nMaxWidth;
  c.image = column.nImage, c.title = (LPCSTR)column.strTitle;
  const int index = m_model.InsertColumn(nIndex, c);
  if (index < 0) return -1;
  // Header items showing later logical columns move up by one.
  const int count = m_header.GetItemCount();
  for (int i = 0; i < count; ++i) {
    HDITEMA hdi{};
    hdi.mask = HDI_LPARAM;
    m_header.GetItem(i, &hdi);
    if ((int)hdi.lParam >= index) hdi.lParam += 1, m_header.SetItem(i, &hdi);
  }
  AddHeaderItem(index);
  if (m_bRedrawOnChange) LayOut(), Invalidate(FALSE);
  return index;
}

int CODListCtrl::InsertColumn(int nIndex, LPCSTR lpszTitle, int nWidth, UINT nFormat) {
  OD_COLUMN c;
  c.nFlags = 0x4000 | (nFormat & 0xFFFF);
  c.nWidth = nWidth;
  c.strTitle = lpszTitle ? lpszTitle : "";
  return InsertColumn(nIndex, c);
}

BOOL CODListCtrl::SetColumnWidth(int nColumn, int nWidth) {
  if (!m_model.SetColumnWidth(nColumn, nWidth)) return FALSE;
  const int count = m_header.GetItemCount();
  for (int i = 0; i < count; ++i) {
    HDITEMA hdi{};
    hdi.mask = HDI_LPARAM | HDI_WIDTH;
    m_header.GetItem(i, &hdi);
    if ((int)hdi.lParam != nColumn) continue;
    m_nTotalWidth += m_model.GetColumn(nColumn)->width - hdi.cxy;
    hdi.mask = HDI_WIDTH;
    hdi.cxy = m_model.GetColumn(nColumn)->width;
    m_header.SetItem(i, &hdi);
  }
  UpdateScrollBars();
  Invalidate(FALSE);
  return TRUE;
}

std::vector<int> CODListCtrl::ShownColumns() const {
  std::vector<int> out;
  const int count = m_header.GetSafeHwnd() ? m_header.GetItemCount() : 0;
  for (int pos = 0; pos < count; ++pos) {
    HDITEMA hdi{};
    hdi.mask = HDI_LPARAM;
    m_header.GetItem(m_header.OrderToIndex(pos), &hdi);
    out.push_back((int)hdi.lParam);
  }
  return out;
}

BOOL CODListCtrl::EnableHeaderDragDrop(BOOL bEnable) {
  if (!m_header.GetSafeHwnd()) return FALSE;
  m_header.ModifyStyle(bEnable ? 0 : HDS_DRAGDROP, bEnable ? HDS_DRAGDROP : 0);
  return TRUE;
}

BOOL CODListCtrl::IsColumnShown(int nColumn) const {
  const std::vector<int> shown = ShownColumns();
  return std::find(shown.begin(), shown.end(), nColumn) != shown.end();
}

BOOL CODListCtrl::HideColumn(int nColumn) {
  CloseEditor();
  for (int i = 0; i < m_header.GetItemCount(); ++i) {
    HDITEMA hdi{};
    hdi.mask = HDI_LPARAM | HDI_WIDTH;
    m_header.GetItem(i, &hdi);
    if ((int)hdi.lParam != nColumn) continue;
    m_header.DeleteItem(i);
    m_nTotalWidth -= hdi.cxy;
    if (m_nFocusColumn == nColumn) m_nFocusColumn = -1;
    LayOut();
    Invalidate(FALSE);
    return TRUE;
  }
  return FALSE;
}

// A header item for the logical column, at the right end.
BOOL CODListCtrl::AddHeaderItem(int nColumn) {
  const odlist::Column* c = m_model.GetColumn(nColumn);
  if (!c) return FALSE;
  HDITEMA hdi{};
  hdi.mask = HDI_WIDTH | HDI_FORMAT | HDI_LPARAM | HDI_TEXT;
  hdi.cxy = c->width;
  hdi.fmt = (int)(c->flags & 0xFFFF & ~0x4000u) | HDF_STRING;
  hdi.lParam = nColumn;
  hdi.pszText = const_cast<LPSTR>(c->title.c_str());
  if (c->flags & HDF_IMAGE) hdi.mask |= HDI_IMAGE, hdi.iImage = c->image;
  const int at = m_header.InsertItem(m_header.GetItemCount(), &hdi);
  if (at < 0) return FALSE;
  // The header's own flags sit in bits 16-23 of the column's; bit 0x80000 asks for a tip.
  OD_HEADER_ITEM rec;
  rec.nFlags = (int)((c->flags >> 16) & 0xFF);
  rec.nMinWidth = c->minWidth, rec.nMaxWidth = c->maxWidth;
  if (c->flags & 0x80000) rec.strTip = odlist::FormatHeaderTip(m_opt.headerTip, c->title).c_str();
  m_header.SetItemRecord(at, rec);
  m_nTotalWidth += c->width;
  return TRUE;
}

BOOL CODListCtrl::ShowColumn(int nColumn) {
  if (IsColumnShown(nColumn) || !AddHeaderItem(nColumn)) return FALSE;
  LayOut();
  Invalidate(FALSE);
  return TRUE;
}

// ---- rows --------------------------------------------------------------------------

int CODListCtrl::InsertItem(int nRow, LPCSTR lpszText) {
  odlist::Item it;
  it.row = nRow;
  it.column = 0;
  if (lpszText) it.mask = odlist::IM_TEXT, it.text = lpszText;
  const int row = m_model.InsertItem(it);
  if (row >= 0 && m_bRedrawOnChange) UpdateScrollBars(), Invalidate(FALSE);
  return row;
}

BOOL CODListCtrl::SetItemText(int nRow, int nColumn, LPCSTR lpszText) {
  if (!m_model.SetItemText(nRow, nColumn, lpszText ? lpszText : "")) return FALSE;
  if (m_bRedrawOnChange && m_hWnd) Invalidate(FALSE);
  return TRUE;
}

CString CODListCtrl::GetItemText(int nRow, int nColumn) const { return m_model.GetItemText(nRow, nColumn).c_str(); }

int CODListCtrl::GetItemText(int nRow, int nColumn, LPSTR lpszBuffer, int nSize) const {
  if (!lpszBuffer || nSize <= 0) return 0;
  const std::string text = m_model.GetItemText(nRow, nColumn);
  const int n = (int)std::min<size_t>(text.size(), (size_t)nSize - 1);
  std::memcpy(lpszBuffer, text.data(), (size_t)n);
  lpszBuffer[n] = '\0';
  return n;
}

BOOL CODListCtrl::DeleteItem(int nRow) {
  if (!m_model.GetRow(nRow)) return FALSE;
  NotifyParent(ODLN_DELETEITEM, nRow, -1, (LPARAM)m_model.GetRow(nRow)->data);
  if (m_model.DeleteItem(nRow) != 1) return FALSE;
  m_nFirst = std::max(0, std::min(m_nFirst, GetItemCount() - 1));
  UpdateScrollBars();
  Invalidate(FALSE);
  return TRUE;
}

BOOL CODListCtrl::DeleteAllItems() {
  for (int r = 0; r < GetItemCount(); ++r) NotifyParent(ODLN_DELETEITEM, r, -1, (LPARAM)m_model.GetRow(r)->data);
  if (!m_model.DeleteAllItems()) return FALSE;
  m_nFirst = 0;
  UpdateScrollBars();
  Invalidate(FALSE);
  return TRUE;
}

BOOL CODListCtrl::SetItemData(int nRow, DWORD_PTR dwData) {
  odlist::Item it;
  it.mask = odlist::IM_DATA, it.row = nRow, it.data = dwData;
  return m_model.SetItem(it);
}

DWORD_PTR CODListCtrl::GetItemData(int nRow) const {
  const odlist::Row* r = m_model.GetRow(nRow);
  return r ? r->data : 0;
}

int CODListCtrl::SetOption(int nCode, LPARAM lValue) {
  const BOOL text =
      nCode == odlist::OPT_EMPTY_TEXT || nCode == odlist::OPT_HEADER_TIP || nCode == odlist::OPT_TREE_INDENT;
  if (!odlist::SetOption(m_opt, nCode, text ? 0 : (uint32_t)lValue, text ? (const char*)lValue : nullptr)) return 0;
  if (m_hWnd) LayOut(), Invalidate(FALSE);
  return 1;
}

void CODListCtrl::ModifyListStyle(DWORD dwRemove, DWORD dwAdd, UINT) {
  CloseEditor();
  const DWORD before = GetStyle();
  ModifyStyle(dwRemove, dwAdd);
  const DWORD after = GetStyle();
  if (!(before & odlist::LS_HGRID) && (after & odlist::LS_HGRID)) ++m_nRowHeight;
  if ((before & odlist::LS_HGRID) && !(after & odlist::LS_HGRID)) --m_nRowHeight;
  if (!(after & odlist::LS_CELLFOCUS)) m_nFocusColumn = -1;
  m_model.SetStyle(after);
  LayOut();
  Invalidate(FALSE);
}

BOOL CODListCtrl::SortItems(int nColumn, BOOL bAscending) {
  if (!m_model.Sort(nColumn, bAscending != FALSE, nullptr)) return FALSE;
  m_nSortColumn = nColumn, m_bSortAscending = bAscending;
  for (int i = 0; i < m_header.GetItemCount(); ++i) {
    HDITEMA hdi{};
    hdi.mask = HDI_LPARAM;
    m_header.GetItem(i, &hdi);
    if ((int)hdi.lParam == nColumn) m_header.SetSortColumn(i, bAscending ? 1 : 0);
  }
  if (m_model.FocusRow() >= 0) EnsureVisible(m_model.FocusRow(), TRUE);
  Invalidate(FALSE);
  return TRUE;
}

// ---- layout and scrolling -------------------------------------------------------------

int CODListCtrl::RowsPerPage() const { return std::max(1, m_rcList.Height() / std::max(1, m_nRowHeight)); }

void CODListCtrl::LayOut() {
  if (!m_hWnd || m_bInLayout) return;
  m_bInLayout = TRUE;
  CRect rc;
  GetClientRect(&rc);
  WINDOWPOS wp{};
  HDLAYOUT lay{&rc, &wp};
  CRect area = rc;
  if (m_header.GetSafeHwnd()) {
    if (GetStyle() & odlist::LS_NOHEADER) {
      m_header.ShowWindow(SW_HIDE);
      m_rcHeader.SetRectEmpty();
    } else {
      RECT layRect = rc;
      lay.prc = &layRect;
      m_header.Layout(&lay);
      m_rcHeader.SetRect(wp.x - m_nXPos, wp.y, wp.x + std::max(wp.cx, m_nTotalWidth) - m_nXPos, wp.y + wp.cy);
      m_header.SetWindowPos(nullptr, m_rcHeader.left, m_rcHeader.top, m_rcHeader.Width(), m_rcHeader.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      area.top = m_rcHeader.bottom;
    }
  }
  m_rcFixed.SetRectEmpty();
  if (HasFixedRow()) {
    m_rcFixed.SetRect(area.left, area.top, area.right, area.top + m_nRowHeight + 2 * ::GetSystemMetrics(SM_CYDLGFRAME));
    area.top = m_rcFixed.bottom;
  }
  m_rcList = area;
  UpdateScrollBars();
  m_bInLayout = FALSE;
}

void CODListCtrl::UpdateScrollBars() {
  if (!m_hWnd) return;
  const int count = GetItemCount(), page = RowsPerPage();
  if (m_nFirst > std::max(0, count - page)) m_nFirst = std::max(0, count - page);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  const BOOL needV = count > page;
  si.nMax = needV ? count - 1 : 0;
  si.nPage = (UINT)page;
  si.nPos = m_nFirst;
  SetListScrollInfo(SB_VERT, &si, TRUE);
  ShowListScrollBar(SB_VERT, needV);
  const int width = m_rcList.Width();
  const BOOL needH = m_opt.hscroll && m_nTotalWidth > width;
  if (!needH) m_nXPos = 0;
  m_nXPos = std::max(0, std::min(m_nXPos, m_nTotalWidth - width));
  si.nMax = needH ? m_nTotalWidth - 1 : 0;
  si.nPage = (UINT)std::max(0, width);
  si.nPos = m_nXPos;
  SetListScrollInfo(SB_HORZ, &si, TRUE);
  ShowListScrollBar(SB_HORZ, needH);
}

BOOL CODListCtrl::IsHosted() const {
  CWnd* pParent = GetParent();
  return pParent && pParent->GetSafeHwnd() && pParent->GetRuntimeClass() &&
         lstrcmpA(pParent->GetRuntimeClass()->m_lpszClassName, "CSBContainerWnd") == 0;
}

BOOL CODListCtrl::SetListScrollInfo(int nBar, SCROLLINFO* pInfo, BOOL bRedraw) {
  if (IsHosted()) return static_cast<CSBContainerWnd*>(GetParent())->SetScrollInfo(nBar, pInfo, bRedraw);
  return CWnd::SetScrollInfo(nBar, pInfo, bRedraw);
}

BOOL CODListCtrl::GetListScrollInfo(int nBar, SCROLLINFO* pInfo, UINT nMask) {
  if (IsHosted()) return static_cast<CSBContainerWnd*>(GetParent())->GetScrollInfo(nBar, pInfo, nMask);
  return CWnd::GetScrollInfo(nBar, pInfo, nMask);
}

void CODListCtrl::ShowListScrollBar(int nBar, BOOL bShow) {
  if (IsHosted()) {
    CSBContainerWnd* pBox = static_cast<CSBContainerWnd*>(GetParent());
    ScrollBarEx* bar = pBox->GetSkinScrollBar(nBar == SB_BOTH ? SB_VERT : nBar);
    // Only a change goes through the container: it re-lays out the list, which lays out again.
    if (bar && bar->IsBarVisible() == bShow && nBar != SB_BOTH) return;
    pBox->ShowScrollBar(nBar, bShow);
    if ((nBar == SB_VERT || nBar == SB_BOTH) && !bShow && m_header.GetSafeHwnd()) m_header.Invalidate(FALSE);
    return;
  }
  CWnd::ShowScrollBar(nBar, bShow);
}

void CODListCtrl::SetListScrollPos(int nBar, int nPos, BOOL bRedraw) {
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, nPos, 0};
  SetListScrollInfo(nBar, &si, bRedraw && m_bRedrawOnChange);
}

void CODListCtrl::EnsureVisible(int nRow, BOOL bWhole) {
  const int pos = m_model.PositionOf(nRow);
  if (pos < 0) return;
  int page = RowsPerPage();
  if (!bWhole && m_rcList.Height() % std::max(1, m_nRowHeight)) ++page;
  if (pos < m_nFirst)
    m_nFirst = pos;
  else if (pos >= m_nFirst + page)
    m_nFirst = pos - page + 1;
  UpdateScrollBars();
  Invalidate(FALSE);
}

void CODListCtrl::OnVScroll(UINT nCode) {
  CloseEditor();
  const int count = GetItemCount(), page = RowsPerPage();
  int first = m_nFirst;
  SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  switch (nCode) {
    case SB_LINEUP:
      --first;
      break;
    case SB_LINEDOWN:
      ++first;
      break;
    case SB_PAGEUP:
      first -= page;
      break;
    case SB_PAGEDOWN:
      first += page;
      break;
    case SB_TOP:
      first = 0;
      break;
    case SB_BOTTOM:
      first = count;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      if (GetListScrollInfo(SB_VERT, &si, SIF_TRACKPOS)) first = std::min(si.nTrackPos, count);
      break;
    default:
      return;
  }
  first = std::max(0, std::min(first, count - page));
  if (first == m_nFirst) return;
  m_nFirst = first;
  SetListScrollPos(SB_VERT, m_nFirst, TRUE);
  InvalidateRect(&m_rcList, FALSE);
}

void CODListCtrl::OnHScroll(UINT nCode) {
  CloseEditor();
  const int width = m_rcList.Width(), step = std::max(1, width / 8);
  int x = m_nXPos;
  SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  switch (nCode) {
    case SB_LINELEFT:
      x -= step;
      break;
    case SB_LINERIGHT:
      x += step;
      break;
    case SB_PAGELEFT:
      x -= width;
      break;
    case SB_PAGERIGHT:
      x += width;
      break;
    case SB_LEFT:
      x = 0;
      break;
    case SB_RIGHT:
      x = m_nTotalWidth;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      if (GetListScrollInfo(SB_HORZ, &si, SIF_TRACKPOS)) x = std::min(si.nTrackPos, m_nTotalWidth);
      break;
    default:
      return;
  }
  x = std::max(0, std::min(x, m_nTotalWidth - width));
  if (x == m_nXPos) return;
  m_nXPos = x;
  LayOut();
  Invalidate(FALSE);
}

void CODListCtrl::OnWheel(short delta) {
  if (m_nWheelLines == (int)WHEEL_PAGESCROLL || m_nWheelLines <= 0) {
    // One page for each whole notch.
    const int pages = std::min(std::abs(delta / WHEEL_DELTA), 1000);
    for (int i = 0; i < pages; ++i) PostMessage(WM_VSCROLL, delta > 0 ? SB_PAGEUP : SB_PAGEDOWN, 0);
    return;
  }
  // Lines in proportion to the delta, so a fine wheel's half notches scroll too; a forward
  // turn (positive delta) scrolls up.
  const long long n = (long long)delta * m_nWheelLines / -WHEEL_DELTA;
  const int lines = (int)std::min<long long>(n < 0 ? -n : n, 1000);
  for (int i = 0; i < lines; ++i) PostMessage(WM_VSCROLL, n > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
}

// ---- selection, keys and mouse ----------------------------------------------------------

void CODListCtrl::SelectAndNotify(int nFocusPos, int nAnchorPos, BOOL bSelect, BOOL bKeep, BOOL bToggle) {
  const std::vector<int> changed = m_model.SelectRange(
      nFocusPos, nAnchorPos, bSelect != FALSE, bKeep != FALSE, bToggle != FALSE,
      [this](int row, uint32_t newState) { return NotifyParent(ODLN_ITEMCHANGING, row, -1, (LPARAM)newState) != 0; });
  for (int row : changed) NotifyParent(ODLN_ITEMCHANGED, row, -1, (LPARAM)m_model.GetRowState(row));
  Invalidate(FALSE);
}

int CODListCtrl::HitTestRow(CPoint pt) const {
  if (m_rcFixed.PtInRect(pt)) return -1;
  if (!m_rcList.PtInRect(pt)) return -2;
  const int pos = m_nFirst + (pt.y - m_rcList.top) / std::max(1, m_nRowHeight);
  return m_model.RowAt(pos);
}

void CODListCtrl::OnKey(UINT nKey) {
  const int focus = m_model.FocusRow();
  m_bKeyStartsEdit = FALSE;
  if (NotifyParent(ODLN_KEYDOWN, focus, m_nFocusColumn, (LPARAM)nKey)) return;
  const BOOL shift = ::GetKeyState(VK_SHIFT) < 0, ctrl = ::GetKeyState(VK_CONTROL) < 0;
  if (m_model.IsTree() && m_nFocusColumn < 0 && OnTreeKey(nKey)) return;
  if (HasFixedRow() && OnFixedRowKey(nKey)) return;
  if ((GetStyle() & odlist::LS_CELLFOCUS) && (nKey == VK_LEFT || nKey == VK_RIGHT)) {
    MoveFocusColumn(nKey == VK_LEFT ? -1 : 1);
    return;
  }
  int first = m_nFirst;
  const std::vector<int> before = m_model.SelectedRows();
  if (!m_model.OnKey(nKey, shift != FALSE, ctrl != FALSE, RowsPerPage(), &first)) {
    // A key the list does not use may start an edit with the character it makes.
    m_bKeyStartsEdit = !ctrl;
    return;
  }
  for (int row : m_model.SelectedRows())
    if (std::find(before.begin(), before.end(), row) == before.end()) NotifyParent(ODLN_ITEMCHANGED, row, -1, 0);
  m_nFirst = first;
  UpdateScrollBars();
  Invalidate(FALSE);
}

// A right click on a row that is not selected makes it the only selected row, so a context
// menu acts on what the player points at. A non-zero reply lets the default handling run.
BOOL CODListCtrl::OnRightButtonDown(UINT nFlags, CPoint pt) {
  CloseEditor();
  SetFocus();
  const int row = HitTestRow(pt);
  const int pos = row >= 0 ? m_model.PositionOf(row) : -2;
  if (pos >= 0 && !(nFlags & (MK_SHIFT | MK_CONTROL)) && !(m_model.GetRowState(row) & odlist::RS_SELECTED)) {
    SelectAndNotify(pos, pos, TRUE, FALSE, FALSE);
    m_model.SetAnchor(pos);
  }
  return NotifyParent(ODLN_RCLICK, row, -1, (LPARAM)nFlags, MAKELPARAM(pt.x, pt.y)) != 0;
}

void CODListCtrl::OnButtonDown(UINT nFlags, CPoint pt) {
  CloseEditor();
  SetFocus();
  int boxRow = -2;
  if (HitExpandBox(pt, &boxRow)) {
    ToggleByUser(boxRow);
    return;
  }
  const int row = HitTestRow(pt);
  const int pos = m_model.PositionOf(row);
  const int column = HitTestColumn(pt);
  const int oldColumn = m_nFocusColumn;
  const int oldRow = m_model.FocusRow();
  m_nFocusColumn = (GetStyle() & odlist::LS_CELLFOCUS) && IsFocusableColumn(column) ? column : -1;
  if (row == -1) {
    // The fixed row takes the focus without a selection; a second click on its cell edits.
    if (m_nFocusColumn < 0 && IsFocusableColumn(column)) m_nFocusColumn = column;
    m_model.MoveFocus(-1);
    Invalidate(FALSE);
    if (m_nFocusColumn >= 0 && m_nFocusColumn == oldColumn && oldRow == -1) EditCell(-1, m_nFocusColumn, 1);
    NotifyParent(ODLN_CLICK, row, column, (LPARAM)nFlags, MAKELPARAM(pt.x, pt.y));
    return;
  }
  if (pos < 0) {
    m_model.ClearSelection();
    Invalidate(FALSE);
  } else if ((nFlags & MK_SHIFT) && (nFlags & MK_CONTROL)) {
    SelectAndNotify(pos, m_model.Anchor(), TRUE, TRUE, FALSE);
    m_model.SetAnchor(pos);
  } else if (nFlags & MK_SHIFT) {
    SelectAndNotify(pos, m_model.Anchor(), TRUE, FALSE, FALSE);
  } else if (nFlags & MK_CONTROL) {
    SelectAndNotify(pos, pos, TRUE, TRUE, TRUE);
    m_model.SetAnchor(pos);
  } else {
    SelectAndNotify(pos, pos, TRUE, FALSE, FALSE);
    m_model.SetAnchor(pos);
    // A second click on the focus cell edits it.
    if (m_nFocusColumn >= 0 && m_nFocusColumn == oldColumn && row == oldRow) EditCell(row, m_nFocusColumn, 1);
  }
  NotifyParent(ODLN_CLICK, row, -1, (LPARAM)nFlags, MAKELPARAM(pt.x, pt.y));
}

LRESULT CODListCtrl::OnHeaderNotify(NMHDR* pHdr) {
  CloseEditor();
  NMHEADERA* nm = (NMHEADERA*)pHdr;
  HDITEMA hdi{};
  hdi.mask = HDI_LPARAM | HDI_WIDTH;
  if (nm->iItem >= 0) m_header.GetItem(nm->iItem, &hdi);
  const int column = (int)hdi.lParam;
  switch (pHdr->code) {
    case HDN_ITEMCHANGEDA:
    case HDN_ITEMCHANGEDW: {
      const odlist::Column* c = m_model.GetColumn(column);
      if (c && c->width != hdi.cxy) {
        m_nTotalWidth += hdi.cxy - c->width;
        m_model.SetColumnWidth(column, hdi.cxy);
        UpdateScrollBars();
        NotifyParent(ODLN_COLUMNWIDTH, -2, column);
      }
      Invalidate(FALSE);
      return 0;
    }
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW: {
      if (NotifyParent(ODLN_COLUMNCLICK, -2, column)) return 0;
      if (GetStyle() & (odlist::LS_NOSORT | odlist::LS_OWNERDATA)) return 0;
      const BOOL ascending = column != m_nSortColumn || !m_bSortAscending;
      SortItems(column, ascending);
      return 0;
    }
    case HDN_ENDDRAG:
      // With style 0x0100 a column dropped off the header (or on the trash) is hidden.
      if ((GetStyle() & odlist::LS_DRAGHIDE) && (m_header.GetDropState() == -1 || m_header.GetDropState() == 1)) {
        HideColumn(column);
        return 1;
      }
      Invalidate(FALSE);
      return 0;
  }
  return 0;
}

int CODListCtrl::NotifyParent(int nCode, int nRow, int nColumn, LPARAM lValue1, LPARAM lValue2) {
  CWnd* pParent = GetParent();
  if (!pParent || !m_hWnd) return 0;
  if (!(m_opt.notifyMask & (1u << ((unsigned)(-nCode) % 32u)))) return 0;
  NMODLISTCTRL nm{};
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
  nm.hdr.code = (UINT)nCode;
  nm.nRow = nRow, nm.nColumn = nColumn, nm.lValue1 = lValue1, nm.lValue2 = lValue2;
  return (int)pParent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

// ---- painting ----------------------------------------------------------------------

void CODListCtrl::DrawFocusFrame(CDC* pDC, const CRect& rect, int nPenStyle, COLORREF cr, int nWidth) {
  if (nPenStyle == PS_NULL || cr == (COLORREF)-1) return;
  CPen pen(nPenStyle, nWidth, cr);
  CPen* oldPen = pDC->SelectObject(&pen);
  HGDIOBJ oldBrush = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
  pDC->Rectangle(&rect);
  ::SelectObject(pDC->GetSafeHdc(), oldBrush);
  pDC->SelectObject(oldPen);
}

void CODListCtrl::DrawBkgnd(CDC* pDC, const CRect& rect, COLORREF cr) {
  if (m_hBkImage)
    DrawBitmapTiled(pDC->GetSafeHdc(), rect, m_hBkImage, ODTILE_REPEAT);
  else
    pDC->FillSolidRect(&rect, cr);
}

int CODListCtrl::DrawCellText(CDC* pDC, const CRect& rect, const odlist::Item& item, UINT nAlign) {
  if (!(item.mask & odlist::IM_TEXT) || rect.Width() <= 0) return 0;
  CRect r = rect;
  UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (nAlign == 1)
    fmt |= DT_RIGHT;
  else if (nAlign == 2)
    fmt |= DT_CENTER;
  pDC->DrawText(item.text.c_str(), (int)item.text.size(), &r, fmt);
  const int width = pDC->GetTextExtent(item.text.c_str(), (int)item.text.size()).cx;
  return std::max(0, std::min(width, rect.Width()));
}

void CODListCtrl::DrawRow(CDC* pDC, const CRect& rect, const CRect& clip, int nPosition, BOOL bOdd) {
  const int row = m_model.RowAt(nPosition);
  const odlist::Row* r = m_model.GetRow(row);
  if (!r) return;
  const DWORD style = GetStyle();
  COLORREF bk = (style & odlist::LS_3DFACE) || row == -1 ? m_colors[CLR_3DFACE] : m_colors[CLR_BK];
  COLORREF text = m_colors[CLR_TEXT];
  const BOOL selected = (r->state & odlist::RS_SELECTED) != 0;
  const BOOL focusShown = m_bHasFocus || (style & odlist::LS_SHOWSELALWAYS);
  if (selected && focusShown) {
    bk = m_bHasFocus ? m_colors[CLR_BKSEL] : m_colors[CLR_BKSELNOFOCUS];
    text = m_bHasFocus ? m_colors[CLR_TEXTSEL] : m_colors[CLR_TEXTSELNOFOCUS];
  }
  // Alternate rows take the 3-D light colour (the list keeps no colour table of its own).
  if (bOdd && (style & odlist::LS_ALTROWS) && !selected) bk = m_colors[CLR_3DLIGHT];
  if (!m_hBkImage || bk != m_colors[CLR_BK]) pDC->FillSolidRect(&rect, bk);
  CFont font;
  font.CreateFontIndirect((r->state & odlist::RS_BOLD) ? &m_boldFont : &m_font);
  CFont* old = pDC->SelectObject(&font);
  int left = rect.left;
  BOOL firstColumn = TRUE;
  for (int column : ShownColumns()) {
    const odlist::Column* c = m_model.GetColumn(column);
    if (!c) continue;
    CRect cell(left, rect.top, left + c->width, rect.bottom);
    left = cell.right;
    if (firstColumn) {
      // The first column starts after the row's indent; a parent's box sits just before it.
      firstColumn = FALSE;
      cell.left = std::min<int>(cell.right, cell.left + IndentOf(row) * m_nRowHeight);
      if ((r->state & (odlist::RS_COLLAPSED | odlist::RS_EXPANDED)) && IndentOf(row) > 0)
        DrawExpandBox(pDC, CRect(cell.left - m_nRowHeight, rect.top, cell.left, rect.top + m_nRowHeight),
                      (r->state & odlist::RS_EXPANDED) != 0);
    }
    if (cell.left > clip.right) break;
    if (cell.right < clip.left) continue;
    odlist::Item item;
    item.row = row, item.column = column;
    m_model.GetItem(&item);
    const BOOL focusCell = row == m_model.FocusRow() && column == m_nFocusColumn && (style & odlist::LS_CELLFOCUS);
    if (focusCell && selected && focusShown) pDC->FillSolidRect(&cell, m_colors[CLR_BK]);
    pDC->SetTextColor(focusCell ? m_colors[CLR_TEXT] : text);
    CRect inner = cell;
    inner.DeflateRect(m_opt.cellGap, 0);
    DrawCellText(pDC, inner, item, c->flags & 3);
    if (style & odlist::LS_VGRID) {
      CPen pen(m_opt.gridPen == 0 ? PS_DOT : m_opt.gridPen == 1 ? PS_DASH : PS_SOLID, 1, m_colors[CLR_GRID]);
      CPen* op = pDC->SelectObject(&pen);
      pDC->MoveTo(cell.right - 1, cell.top);
      pDC->LineTo(cell.right - 1, cell.bottom);
      pDC->SelectObject(op);
    }
  }
  pDC->SelectObject(old);
  if (style & odlist::LS_HGRID) {
    CPen pen(m_opt.gridPen == 0 ? PS_DOT : m_opt.gridPen == 1 ? PS_DASH : PS_SOLID, 1, m_colors[CLR_GRID]);
    CPen* op = pDC->SelectObject(&pen);
    pDC->MoveTo(rect.left, rect.bottom - 1);
    pDC->LineTo(std::max<int>(rect.right, left), rect.bottom - 1);
    pDC->SelectObject(op);
  }
  if (m_bHasFocus && !m_hEditor && row == m_model.FocusRow()) {
    CRect f = rect;
    f.right = std::min<int>(rect.right, left);
    if (m_nFocusColumn >= 0 && (style & odlist::LS_CELLFOCUS)) GetCellRect(row, m_nFocusColumn, &f);
    DrawFocusFrame(pDC, f, PS_DOT, 0, 1);
  }
}

void CODListCtrl::OnDrawList(CDC* pDC) {
  CRect clip;
  pDC->GetClipBox(&clip);
  const COLORREF bk = (GetStyle() & odlist::LS_3DFACE) ? m_colors[CLR_3DFACE] : m_colors[CLR_BK];
  DrawBkgnd(pDC, m_rcList, bk);
  pDC->SetBkMode(TRANSPARENT);
  const int count = GetItemCount();
  CRect row(m_rcList.left - m_nXPos, m_rcList.top,
            m_rcList.left - m_nXPos + std::max(m_nTotalWidth, m_rcList.Width() + m_nXPos), m_rcList.top + m_nRowHeight);
  for (int pos = m_nFirst; pos < count && row.top < std::min<int>(clip.bottom, m_rcList.bottom); ++pos) {
    if (row.bottom > clip.top) DrawRow(pDC, row, clip, pos, (pos & 1) != 0);
    row.OffsetRect(0, m_nRowHeight);
  }
  if (!m_rcFixed.IsRectEmpty()) DrawFixedRow(pDC, clip);
  if (m_bTreeLines && m_model.IsTree()) DrawTreeLines(pDC);
  if (count == 0 && !m_opt.emptyText.empty()) {
    CRect band(
        m_rcList.left, m_rcList.top + 2,
        m_rcList.left + (m_nTotalWidth < m_rcList.Width() && m_nTotalWidth > 0 ? m_nTotalWidth : m_rcList.Width()),
        m_rcList.top + 2 + m_nRowHeight);
    CFont font;
    font.CreateFontIndirect(&m_font);
    CFont* old = pDC->SelectObject(&font);
    pDC->SetTextColor(m_colors[CLR_TEXT]);
    pDC->DrawText(m_opt.emptyText.c_str(), (int)m_opt.emptyText.size(), &band,
                  DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE);
    pDC->SelectObject(old);
  }
}

void CODListCtrl::PaintWindow() {
  PAINTSTRUCT ps;
  CDC* pDC = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
  CRect clip(ps.rcPaint);
  if (m_hEditor && ::IsWindowVisible(m_hEditor)) {
    CRect editor;
    ::GetWindowRect(m_hEditor, &editor);
    ScreenToClient(&editor);
    pDC->ExcludeClipRect(&editor);
  }
  if (m_bDoubleBuffer) {
    CODMemDC mem(pDC, &clip);
    OnDrawList(&mem);
  } else {
    OnDrawList(pDC);
  }
  ::EndPaint(m_hWnd, &ps);
}

// ---- messages ----------------------------------------------------------------------

LRESULT CODListCtrl::OnListViewMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL* pHandled) {
  *pHandled = TRUE;
  LVITEMA* item = (LVITEMA*)lParam;
  switch (message) {
    case LVM_GETITEMCOUNT:
      return GetItemCount();
    case LVM_GETITEMTEXTA:
      // The text always ends inside the caller's buffer.
      if (!item || !item->pszText || item->cchTextMax <= 0 || item->iSubItem < 0) return 0;
      return GetItemText((int)wParam, item->iSubItem, item->pszText, item->cchTextMax);
    case LVM_SETITEMTEXTA:
      if (!item || !item->pszText || item->iSubItem < 0) return 0;
      return SetItemText((int)wParam, item->iSubItem, item->pszText);
  }
  *pHandled = FALSE;
  return 0;
}

LRESULT CODListCtrl::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  BOOL handled = FALSE;
  const LRESULT lv = OnListViewMessage(message, wParam, lParam, &handled);
  if (handled) return lv;
  const CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
  switch (message) {
    case WM_SIZE: {
      CloseEditor();
      const LRESULT r = DefaultProc(message, wParam, lParam);
      LayOut();
      return r;
    }
    case WM_SETFONT:
      ApplyFont((HFONT)wParam), LayOut();
      return 0;
    case WM_SETTINGCHANGE:
      m_nWheelLines = GetWheelScrollLines();
      break;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      OnHScroll(LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnWheel((short)HIWORD(wParam));
      return 0;
    case WM_KEYDOWN:
      OnKey((UINT)wParam);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_CHAR:
      if (OnChar((UINT)wParam)) return 0;
      break;
    case WM_LBUTTONDOWN:
      OnButtonDown((UINT)wParam, pt);
      return 0;
    case WM_LBUTTONDBLCLK: {
      const int row = HitTestRow(pt);
      if (!NotifyParent(ODLN_DBLCLK, row, -1, (LPARAM)wParam) && m_model.IsTree()) ToggleByUser(row);
      return 0;
    }
    case WM_RBUTTONDOWN:
      if (OnRightButtonDown((UINT)wParam, pt)) break;
      return 0;
    case WM_SETFOCUS:
      m_bHasFocus = TRUE, Invalidate(FALSE);
      return 0;
    case WM_KILLFOCUS:
      // The focus going to the editor (a child) keeps the list's focus look.
      if (wParam && ::IsChild(m_hWnd, (HWND)wParam)) return 0;
      m_bHasFocus = FALSE;
      Invalidate(FALSE);
      NotifyParent(ODLN_KILLFOCUS, m_model.FocusRow(), -1, wParam);
      return 0;
    case WM_NOTIFY:
      if (lParam && ((NMHDR*)lParam)->hwndFrom == m_header.GetSafeHwnd()) return OnHeaderNotify((NMHDR*)lParam);
      if (lParam && ((NMHDR*)lParam)->code == (UINT)ODLN_ENDLABELEDIT) return OnEditorEnd((NMODLISTEDIT*)lParam);
      break;
    case WM_DESTROY:
      CloseEditor();
      break;
    case WM_NCDESTROY:
      ::RemovePropA(m_hWnd, "ODCtrl");
      ::RemovePropA(m_hWnd, "ODListCtrl");
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

// ---- in-place editing ------------------------------------------------------------------

BOOL CODListCtrl::IsFocusableColumn(int nColumn) const {
  const odlist::Column* c = m_model.GetColumn(nColumn);
  return c && !(c->flags & 0x4000000);
}

int CODListCtrl::HitTestColumn(CPoint pt) const {
  int left = m_rcList.left - m_nXPos;
  for (int column : ShownColumns()) {
    const odlist::Column* c = m_model.GetColumn(column);
    if (!c) continue;
    if (pt.x >= left && pt.x < left + c->width) return column;
    left += c->width;
  }
  return -1;
}

BOOL CODListCtrl::GetCellRect(int nRow, int nColumn, CRect* pRect) const {
  const int pos = m_model.PositionOf(nRow);
  const BOOL fixed = nRow == -1 && !m_rcFixed.IsRectEmpty();
  if (!pRect || (pos < 0 && !fixed) || !m_model.GetColumn(nColumn)) return FALSE;
  const int top =
      fixed ? m_rcFixed.top + ::GetSystemMetrics(SM_CYDLGFRAME) : m_rcList.top + (pos - m_nFirst) * m_nRowHeight;
  int left = m_rcList.left - m_nXPos;
  for (int column : ShownColumns()) {
    const odlist::Column* c = m_model.GetColumn(column);
    if (!c) continue;
    if (column == nColumn) {
      const int indent = column == ShownColumns().front() ? IndentOf(nRow) * m_nRowHeight : 0;
      pRect->SetRect(std::min(left + indent, left + c->width), top, left + c->width, top + m_nRowHeight);
      return TRUE;
    }
    left += c->width;
  }
  return FALSE;
}

int CODListCtrl::GetFocusCell(int* pColumn) const {
  if (pColumn) *pColumn = m_nFocusColumn;
  return m_model.FocusRow();
}

BOOL CODListCtrl::SetFocusCell(int nRow, int nColumn) {
  const int pos = m_model.PositionOf(nRow);
  if (pos < 0 || (nColumn >= 0 && !IsFocusableColumn(nColumn)) || nColumn < -1) return FALSE;
  m_model.MoveFocus(pos);
  m_nFocusColumn = nColumn;
  Invalidate(FALSE);
  return TRUE;
}

BOOL CODListCtrl::MoveFocusColumn(int nStep) {
  const std::vector<int> shown = ShownColumns();
  auto at = std::find(shown.begin(), shown.end(), m_nFocusColumn);
  int i = at == shown.end() ? (nStep > 0 ? -1 : (int)shown.size()) : (int)(at - shown.begin());
  for (i += nStep; i >= 0 && i < (int)shown.size(); i += nStep) {
    if (!IsFocusableColumn(shown[(size_t)i])) continue;
    m_nFocusColumn = shown[(size_t)i];
    Invalidate(FALSE);
    return TRUE;
  }
  // Nothing left of the first focusable column: the whole row has the focus again.
  if (nStep < 0) m_nFocusColumn = -1, Invalidate(FALSE);
  return FALSE;
}

BOOL CODListCtrl::OnChar(UINT nChar) {
  const BOOL starts = m_bKeyStartsEdit;
  m_bKeyStartsEdit = FALSE;
  const int row = m_model.FocusRow();
  if (!starts || m_nFocusColumn < 0 || (row != -1 && !(GetStyle() & odlist::LS_CELLFOCUS))) return FALSE;
  return EditCell(row, m_nFocusColumn, nChar) != 0;
}

int CODListCtrl::NotifyEdit(int nCode, NMHDR* pHdr) {
  CWnd* pParent = GetParent();
  if (!pParent || !m_hWnd || !pHdr) return 0;
  if (!(m_opt.notifyMask & (1u << ((unsigned)(-nCode) % 32u)))) return 0;
  pHdr->hwndFrom = m_hWnd;
  pHdr->idFrom = (UINT_PTR)GetDlgCtrlID();
  pHdr->code = (UINT)nCode;
  return (int)pParent->SendMessage(WM_NOTIFY, pHdr->idFrom, (LPARAM)pHdr);
}

int CODListCtrl::EditCell(int nRow, int nColumn, UINT nKey) {
  if (nRow < -1 || (nRow == -1 && !HasFixedRow()) || !m_model.GetColumn(nColumn)) return 0;
  CloseEditor();
  odlist::Item item;
  item.row = nRow, item.column = nColumn;
  if (!m_model.GetItem(&item) || (m_model.GetRowState(nRow) & odlist::RS_NOEDIT)) return 0;
  EnsureVisible(nRow, TRUE);
  CRect cell;
  if (!GetCellRect(nRow, nColumn, &cell)) return 0;
  m_nEditRow = nRow, m_nEditColumn = nColumn;
  NMODLISTEDIT nm{};
  nm.nRow = nRow, nm.nColumn = nColumn, nm.rcCell = cell, nm.nKey = nKey, nm.dwData = GetItemData(nRow);
  const int n = odlist::BoundedTextLength(item.text.c_str(), (int)item.text.size(), sizeof nm.szText);
  std::memcpy(nm.szText, item.text.data(), (size_t)n);
  if (NotifyEdit(ODLN_BEGINLABELEDIT, &nm.hdr)) {
    // The parent edits with a window of its own, or refuses the edit.
    m_hEditor = ::IsWindow(nm.hEditor) ? nm.hEditor : nullptr;
    if (!m_hEditor) m_nEditRow = -2, m_nEditColumn = -1;
    if (m_hEditor) ::SetFocus(m_hEditor);
    return m_hEditor ? 1 : 0;
  }
  if (!(item.mask & odlist::IM_TEXT)) return m_nEditRow = -2, m_nEditColumn = -1, 0;
  CRect text = cell;
  text.DeflateRect(m_opt.cellGap, 0);
  text.bottom += 2;
  CODListEdit* pEdit = new CODListEdit(nRow, nColumn, nm.bButton);
  if (!pEdit->Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, text, this, 0)) {
    delete pEdit;
    m_nEditRow = -2, m_nEditColumn = -1;
    return 0;
  }
  pEdit->SetAutoDelete();
  m_editFont.DeleteObject();
  m_editFont.CreateFontIndirect((m_model.GetRowState(nRow) & odlist::RS_BOLD) ? &m_boldFont : &m_font);
  pEdit->SetFont(&m_editFont, FALSE);
  pEdit->SetWindowText(nm.szText);
  m_hEditor = pEdit->GetSafeHwnd();
  pEdit->SetFocus();
  pEdit->ApplyStartKey(nKey);
  return 1;
}

void CODListCtrl::EndEdit(BOOL bCommit, const NMODLISTEDIT* pEnd) {
  const HWND editor = m_hEditor;
  if (!editor) return;
  m_hEditor = nullptr;
  if (bCommit && !m_model.IsOwnerData() && m_nEditRow >= -1) {
    char text[256] = "";
    if (pEnd)
      std::memcpy(text, pEnd->szText, sizeof text - 1);
    else
      ::GetWindowTextA(editor, text, sizeof text);
    SetItemText(m_nEditRow, m_nEditColumn, text);
  }
  m_nEditRow = -2, m_nEditColumn = -1;
  // Closed by posting: the editor may be the one telling us it ended.
  ::ShowWindow(editor, SW_HIDE);
  ::PostMessageA(editor, WM_CLOSE, 0, 0);
  if (::GetFocus() != m_hWnd) m_bHasFocus = FALSE;
  Invalidate(FALSE);
}

LRESULT CODListCtrl::OnEditorEnd(NMODLISTEDIT* pEnd) {
  if (!pEnd || !m_hEditor || pEnd->hdr.hwndFrom != m_hEditor) return 0;
  pEnd->szText[sizeof pEnd->szText - 1] = '\0';
  pEnd->nRow = m_nEditRow, pEnd->nColumn = m_nEditColumn;
  pEnd->dwData = GetItemData(m_nEditRow);
  NMODLISTEDIT toParent = *pEnd;
  const int reply = NotifyEdit(ODLN_ENDLABELEDIT, &toParent.hdr);
  EndEdit(odlist::ShouldCommit(reply, pEnd->nKey), pEnd);
  return 0;
}

// ---- owner data and tree rows ------------------------------------------------------------

void CODListCtrl::SetItemCountEx(int nCount) {
  if (!m_model.IsOwnerData()) return;
  m_model.SetOwnerData(nCount,
                       [this](int row, int column, odlist::Item* it) { return RequestRowData(row, column, it); });
  m_nFirst = 0;
  UpdateScrollBars();
  Invalidate(FALSE);
}

BOOL CODListCtrl::RequestRowData(int nRow, int nColumn, odlist::Item* pItem) {
  NMODLISTDISPINFO nm{};
  nm.nRow = nRow, nm.nColumn = nColumn;
  nm.nMask = (nColumn >= 0 ? odlist::IM_TEXT : 0) | odlist::IM_BKCOLOUR | odlist::IM_STATE | odlist::IM_INDENT;
  nm.nImage = nm.nCheck = nm.nColour = nm.nBkColour = nm.nIndent = -1;
  NotifyEdit(ODLN_GETDISPINFO, &nm.hdr);
  nm.szText[sizeof nm.szText - 1] = '\0';
  pItem->mask = nm.nMask;
  pItem->text = nm.szText;
  pItem->image = nm.nImage, pItem->check = nm.nCheck, pItem->colour = nm.nColour;
  pItem->bkColour = nm.nBkColour, pItem->extraHeight = nm.nExtraHeight, pItem->indent = nm.nIndent;
  pItem->state = nm.nState;
  return TRUE;
}

int CODListCtrl::InsertTreeItem(int nParentNode, LPCSTR lpszText, int nSpanColumn) {
  odlist::Item it;
  it.column = 0;
  if (lpszText) it.mask = odlist::IM_TEXT, it.text = lpszText;
  const int row = m_model.InsertTreeItem(ModelNode(nParentNode), it, nSpanColumn);
  if (row >= 0 && m_bRedrawOnChange) UpdateScrollBars(), Invalidate(FALSE);
  return row < 0 ? -1 : m_model.NodeOfRow(row);
}

int CODListCtrl::GetNextNode(int nNode, int nRelation) const {
  return m_model.GetNextNode(ModelNode(nNode), nRelation);
}
BOOL CODListCtrl::HasChildren(int nNode) const { return m_model.HasChildren(ModelNode(nNode)); }
int CODListCtrl::GetNodeRow(int nNode) const { return m_model.GetNodeRow(ModelNode(nNode)); }

BOOL CODListCtrl::Expand(int nNode, int nAction) {
  CloseEditor();
  if (!m_model.Expand(ModelNode(nNode), nAction)) return FALSE;
  if (m_model.FocusRow() >= 0) EnsureVisible(m_model.FocusRow(), TRUE);
  UpdateScrollBars();
  Invalidate(FALSE);
  return TRUE;
}

int CODListCtrl::IndentOf(int nRow) const {
  const odlist::Row* r = m_model.IsTree() ? m_model.GetRow(nRow) : nullptr;
  return r && r->indent > 0 ? std::min(r->indent, 64) : 0;
}

BOOL CODListCtrl::HitExpandBox(CPoint pt, int* pRow) const {
  const int row = HitTestRow(pt);
  if (!m_model.IsTree() || row < 0 || !(m_model.GetRowState(row) & (odlist::RS_COLLAPSED | odlist::RS_EXPANDED)))
    return FALSE;
  const std::vector<int> shown = ShownColumns();
  CRect cell;
  if (shown.empty() || !GetCellRect(row, shown.front(), &cell)) return FALSE;
  if (pt.x < cell.left - m_nRowHeight || pt.x >= cell.left) return FALSE;
  if (pRow) *pRow = row;
  return TRUE;
}

// The player's toggle: the parent may veto it and hears when it happened.
BOOL CODListCtrl::ToggleByUser(int nRow) {
  const int node = m_model.NodeOfRow(nRow);
  if (node < 0 || !m_model.HasChildren(node)) return FALSE;
  if (NotifyParent(ODLN_ITEMEXPANDING, nRow, -1)) return FALSE;
  if (!Expand(node, odlist::TREE_TOGGLE)) return FALSE;
  NotifyParent(ODLN_ITEMEXPANDED, nRow, -1, (m_model.GetRowState(nRow) & odlist::RS_EXPANDED) ? 1 : 0);
  return TRUE;
}

// Left closes an open node or goes to the parent; Right opens a closed node or goes to its
// first child.
BOOL CODListCtrl::OnTreeKey(UINT nKey) {
  if (nKey != VK_LEFT && nKey != VK_RIGHT) return FALSE;
  const int node = m_model.NodeOfRow(m_model.FocusRow());
  const odlist::TreeNode* n = m_model.GetNode(node);
  if (!n) return TRUE;
  int target = -1;
  if (nKey == VK_LEFT) {
    if (n->expanded && !n->children.empty()) return Expand(node, odlist::TREE_COLLAPSE), TRUE;
    target = m_model.GetNextNode(node, odlist::TREE_PARENT);
  } else {
    if (!n->expanded && !n->children.empty()) return Expand(node, odlist::TREE_EXPAND), TRUE;
    target = m_model.GetNextNode(node, odlist::TREE_CHILD);
  }
  const int pos = m_model.PositionOf(m_model.GetNodeRow(target));
  if (pos < 0) return TRUE;
  SelectAndNotify(pos, pos, TRUE, FALSE, FALSE);
  m_model.SetAnchor(pos);
  EnsureVisible(m_model.RowAt(pos), TRUE);
  return TRUE;
}

void CODListCtrl::DrawExpandBox(CDC* pDC, const CRect& square, BOOL bExpanded) {
  const int size = std::max(5, (std::min(square.Width(), square.Height()) / 2) | 1);
  CRect box(0, 0, size, size);
  box.OffsetRect(square.left + (square.Width() - size) / 2, square.top + (square.Height() - size) / 2);
  pDC->FillSolidRect(&box, m_colors[CLR_BK]);
  CBrush frame(m_colors[CLR_3DSHADOW]);
  pDC->FrameRect(&box, &frame);
  const int mid = box.top + size / 2, centre = box.left + size / 2;
  pDC->FillSolidRect(box.left + 2, mid, size - 4, 1, m_colors[CLR_TEXT]);
  if (!bExpanded) pDC->FillSolidRect(centre, box.top + 2, 1, size - 4, m_colors[CLR_TEXT]);
}

namespace {
struct DotState {
  HDC hdc;
  COLORREF colour;
  int counter;
};
}  // namespace

void CALLBACK CODListCtrl::DotProc(int x, int y, LPARAM lParam) {
  DotState* s = (DotState*)lParam;
  if (s->counter) ::SetPixel(s->hdc, x, y, s->colour);
  s->counter = !s->counter;
}

// Dotted lines: across to each row from half a row left of its cell, and down from a node
// to its next sibling.
void CODListCtrl::DrawTreeLines(CDC* pDC) {
  const std::vector<int> shown = ShownColumns();
  if (shown.empty()) return;
  const int count = GetItemCount();
  for (int pos = m_nFirst; pos < count; ++pos) {
    const int row = m_model.RowAt(pos);
    CRect cell;
    if (!GetCellRect(row, shown.front(), &cell) || cell.top >= m_rcList.bottom) break;
    DotState dots{pDC->GetSafeHdc(), m_colors[CLR_TREELINE], 1};
    const int y = cell.top + m_nRowHeight / 2, x = cell.left - m_nRowHeight / 2;
    ::LineDDA(x, y, cell.left - 2, y, &CODListCtrl::DotProc, (LPARAM)&dots);
    const int sibling = m_model.GetNextNode(m_model.NodeOfRow(row), odlist::TREE_NEXT);
    if (sibling < 0) continue;
    CRect next;
    const int bottom = GetCellRect(m_model.GetNodeRow(sibling), shown.front(), &next) && next.top < m_rcList.bottom
                           ? next.top + 10
                           : m_rcList.bottom;
    dots.counter = 1;
    ::LineDDA(x, y, x, bottom, &CODListCtrl::DotProc, (LPARAM)&dots);
  }
}

// ---- the fixed row -----------------------------------------------------------------------

// Row -1 under the header: a raised band in the 3-D face colour with the row inside it.
void CODListCtrl::DrawFixedRow(CDC* pDC, const CRect& clip) {
  pDC->FillSolidRect(&m_rcFixed, m_colors[CLR_3DFACE]);
  const int frame = ::GetSystemMetrics(SM_CYDLGFRAME);
  CRect row(m_rcList.left - m_nXPos, m_rcFixed.top + frame,
            m_rcList.left - m_nXPos + std::max(m_nTotalWidth, m_rcList.Width() + m_nXPos), m_rcFixed.bottom - frame);
  DrawRow(pDC, row, clip, -1, FALSE);
  // The raised edge goes on last so the row never covers it.
  pDC->Draw3dRect(&m_rcFixed, m_colors[CLR_3DHILIGHT], m_colors[CLR_3DDKSHADOW]);
}

// Up from the first row reaches the fixed row; Down from it goes back to the first row.
BOOL CODListCtrl::OnFixedRowKey(UINT nKey) {
  const int focus = m_model.FocusRow();
  if (nKey == VK_UP && GetItemCount() > 0 && m_model.PositionOf(focus) == 0) {
    m_model.MoveFocus(-1);
    Invalidate(FALSE);
    return TRUE;
  }
  if (nKey == VK_DOWN && (focus == -1 || (focus == -2 && GetItemCount() == 0))) {
    if (GetItemCount() == 0) {
      m_model.MoveFocus(-1);
    } else {
      SelectAndNotify(0, 0, TRUE, FALSE, FALSE);
      m_model.SetAnchor(0);
      EnsureVisible(m_model.RowAt(0), TRUE);
    }
    Invalidate(FALSE);
    return TRUE;
  }
  return FALSE;
}
