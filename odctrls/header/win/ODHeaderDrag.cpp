// Column drag and drop on the owner-drawn header: the header keeps the press, the drag and
// the drop itself (the system header only keeps the items and their order), shows a
// floating picture of the column and an arrow marker on the divider where it would land.
#include <algorithm>
#include <vector>

#include "HeaderDrag.h"
#include "ODHeaderCtrl.h"
#include "ODMemDC.h"
#include "ODNcMgrWnd.h"

namespace {

const char kDragClass[] = "MFCODFHDragWnd";
const char kDropClass[] = "MFCODFHDropWnd";

void RegisterOnce(const char* name, HBRUSH background) { ODRegisterWindowClass(name, CS_SAVEBITS, background); }

std::vector<odheader::DragItem> ItemsInOrder(const CHeaderCtrl& header) {
  std::vector<odheader::DragItem> items;
  const int count = header.GetItemCount();
  for (int pos = 0; pos < count; ++pos) {
    CRect r;
    if (!header.GetItemRect(header.OrderToIndex(pos), &r)) r.SetRectEmpty();
    items.push_back({r.left, r.right});
  }
  return items;
}

}  // namespace

// ---- the floating picture ---------------------------------------------------------------

CODFHDragWnd::CODFHDragWnd() : CODPaintedWnd<CWnd>(nullptr, 0) {
  RegisterOnce(kDragClass, (HBRUSH)(COLOR_BTNFACE + 1));
}

BOOL CODFHDragWnd::Create(const CRect& screenRect, CODHeaderCtrl* pHeader, int nItem) {
  m_pHeader = pHeader, m_nItem = nItem;
  return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kDragClass, "", WS_POPUP | WS_DISABLED, screenRect, nullptr, 0);
}

void CODFHDragWnd::PaintWindow() {
  PAINTSTRUCT ps;
  CDC* pDC = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
  CRect rc;
  GetClientRect(&rc);
  {
    CODMemDC mem(pDC, &rc);
    if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->DrawDragImage(&mem, m_nItem, rc);
  }
  ::EndPaint(m_hWnd, &ps);
}

// ---- the drop marker --------------------------------------------------------------------

CODFHDropWnd::CODFHDropWnd(COLORREF cr) : CODWnd<CWnd>(nullptr, 0), m_hBrush(::CreateSolidBrush(cr)) {
  RegisterOnce(kDropClass, nullptr);
}

CODFHDropWnd::~CODFHDropWnd() { ::DeleteObject(m_hBrush); }

BOOL CODFHDropWnd::Create(int nHeaderHeight) {
  m_nHeight = odheader::MarkerHeight(nHeaderHeight);
  if (!CreateEx(WS_EX_TOOLWINDOW, kDropClass, "", WS_POPUP | WS_DISABLED,
                CRect(0, 0, odheader::kMarkerWidth, m_nHeight), nullptr, 0))
    return FALSE;
  odheader::MarkerPoint down[7], up[7];
  odheader::MarkerArrows(nHeaderHeight, down, up);
  POINT pts[14];
  for (int i = 0; i < 7; ++i) pts[i] = {down[i].x, down[i].y}, pts[7 + i] = {up[i].x, up[i].y};
  const INT counts[2] = {7, 7};
  HRGN shape = ::CreatePolyPolygonRgn(pts, counts, 2, WINDING);
  if (shape && !::SetWindowRgn(m_hWnd, shape, FALSE)) ::DeleteObject(shape);
  return TRUE;
}

void CODFHDropWnd::SetPosition(int x, int y) {
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, x - odheader::kMarkerWidth / 2, y - m_nHeight / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT CODFHDropWnd::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    CRect rc;
    GetClientRect(&rc);
    ::FillRect((HDC)wParam, &rc, m_hBrush);
    return 1;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    ::FillRect(dc, &ps.rcPaint, m_hBrush);
    ::EndPaint(m_hWnd, &ps);
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

// ---- the header's side ------------------------------------------------------------------

void CODHeaderCtrl::DrawDragImage(CDC* pDC, int nIndex, const CRect& rect) {
  pDC->FillSolidRect(&rect, m_crBackground);
  if (m_hBackground) DrawBitmapTiled(pDC->GetSafeHdc(), rect, m_hBackground, m_nBackgroundMode);
  char text[80] = "";
  HDITEMA hdi{};
  hdi.mask = HDI_FORMAT | HDI_TEXT | HDI_IMAGE | HDI_BITMAP | HDI_LPARAM;
  hdi.pszText = text;
  hdi.cchTextMax = sizeof text;
  if (!GetItem(nIndex, &hdi)) return;
  CFont font;
  font.CreateFontIndirect(&m_font);
  CFont* old = pDC->SelectObject(&font);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(m_crText);
  DrawItemContent(pDC, rect.left + m_nMargin, rect.top, rect.right - m_nMargin, rect.bottom, hdi,
                  nIndex == m_nSortColumn, m_nSortDirection);
  pDC->SelectObject(old);
}

int CODHeaderCtrl::SendHeaderNotify(UINT nCode, int nItem) {
  CWnd* pParent = GetParent();
  if (!pParent) return 0;
  NMHEADERA nm{};
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
  nm.hdr.code = nCode;
  nm.iItem = nItem;
  return (int)pParent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

int CODHeaderCtrl::DropIndexAtClient(CPoint pt) const {
  CRect rc;
  GetClientRect(&rc);
  if (pt.y < rc.top || pt.y >= rc.bottom) return -1;
  return odheader::DropIndexAt(ItemsInOrder(*this), pt.x);
}

int CODHeaderCtrl::SetHotDivider(BOOL bByPoint, LPARAM value) {
  int drop = (int)value;
  if (bByPoint) {
    CPoint pt((short)LOWORD(value), (short)HIWORD(value));
    ScreenToClient(&pt);
    drop = DropIndexAtClient(pt);
  }
  int x = 0;
  const std::vector<odheader::DragItem> items = ItemsInOrder(*this);
  if (!odheader::MarkerX(items, drop, &x)) {
    if (m_pDropWnd) m_pDropWnd->DestroyWindow(), m_pDropWnd = nullptr;
    return drop;
  }
  CRect rc;
  GetClientRect(&rc);
  if (!m_pDropWnd) {
    m_pDropWnd = new CODFHDropWnd(m_crDropMarker);
    if (!m_pDropWnd->Create(rc.Height())) {
      delete m_pDropWnd;
      m_pDropWnd = nullptr;
      return drop;
    }
  }
  CPoint centre(x, rc.top + rc.Height() / 2);
  ClientToScreen(&centre);
  m_pDropWnd->SetPosition(centre.x, centre.y);
  return drop;
}

// A press on an item (not a divider) is the header's own while it can drag columns.
BOOL CODHeaderCtrl::OnDragButtonDown(UINT, CPoint pt) {
  if (!(GetStyle() & HDS_DRAGDROP)) return FALSE;
  HDHITTESTINFO hit{};
  hit.pt = pt;
  HitTest(&hit);
  if (hit.iItem < 0 || !(hit.flags & HHT_ONHEADER)) return FALSE;
  m_bPressed = TRUE, m_nPressedItem = hit.iItem, m_ptPress = pt;
  SetCapture();
  CRect r;
  if (GetItemRect(hit.iItem, &r)) InvalidateRect(&r, FALSE);
  return TRUE;
}

BOOL CODHeaderCtrl::BeginColumnDrag(CPoint pt) {
  if (SendHeaderNotify(HDN_BEGINDRAG, m_nPressedItem)) return FALSE;
  CRect item;
  if (!GetItemRect(m_nPressedItem, &item)) return FALSE;
  ClientToScreen(&item);
  m_pDragWnd = new CODFHDragWnd();
  if (!m_pDragWnd->Create(item, this, m_nPressedItem)) {
    delete m_pDragWnd;
    m_pDragWnd = nullptr;
    return FALSE;
  }
  m_rcTrash.SetRectEmpty();
  if (m_hTrash && (::IsWindowVisible(m_hTrash) || ::IsWindowVisible(::GetParent(m_hTrash))))
    ::GetWindowRect(m_hTrash, &m_rcTrash);
  m_bDragging = TRUE;
  if (::GetCapture() != m_hWnd) SetCapture();
  TrackColumnDrag(pt);
  return TRUE;
}

void CODHeaderCtrl::SetDragCursor(CPoint screen, int nDrop) {
  OD_HEADER_ITEM rec;
  const BOOL noDrop = GetItemEx(m_nPressedItem, &rec) && (rec.nFlags & 0x10);
  LPCSTR id = IDC_ARROW;
  HCURSOR own = nullptr;
  if (nDrop >= 0) {
    m_nDropState = 0;
  } else if (noDrop) {
    m_nDropState = 2, id = IDC_NO;
  } else if (m_rcTrash.PtInRect(screen)) {
    m_nDropState = 1;
  } else {
    m_nDropState = -1, id = IDC_NO;
    if (m_nDropCursorId) own = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nDropCursorId));
  }
  ::SetCursor(own ? own : ::LoadCursor(nullptr, id));
}

void CODHeaderCtrl::TrackColumnDrag(CPoint pt) {
  CPoint screen = pt;
  ClientToScreen(&screen);
  CRect r;
  m_pDragWnd->GetWindowRect(&r);
  ::SetWindowPos(m_pDragWnd->GetSafeHwnd(), HWND_TOPMOST, screen.x - r.Width() / 2, screen.y - r.Height() / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  const int raw = DropIndexAtClient(pt);
  SetDragCursor(screen, raw);
  HDITEMA hdi{};
  hdi.mask = HDI_ORDER;
  GetItem(m_nPressedItem, &hdi);
  const int drop = raw < 0 ? -1 : odheader::EffectiveDropIndex(raw, hdi.iOrder);
  if (drop != m_nDropIndex || (drop >= 0 && !m_pDropWnd)) m_nDropIndex = SetHotDivider(FALSE, drop);
}

BOOL CODHeaderCtrl::OnDragMouseMove(CPoint pt) {
  if (!m_bPressed) return FALSE;
  if (m_bDragging) {
    TrackColumnDrag(pt);
    return TRUE;
  }
  if (!odheader::LeftDragRect(m_ptPress.x, m_ptPress.y, pt.x, pt.y, ::GetSystemMetrics(SM_CXDRAG),
                              ::GetSystemMetrics(SM_CYDRAG)))
    return TRUE;
  if (!BeginColumnDrag(pt)) m_bPressed = FALSE, ReleaseCapture(), Invalidate(FALSE);
  return TRUE;
}

void CODHeaderCtrl::EndColumnDrag(BOOL bDrop) {
  const int dragged = m_nPressedItem, drop = m_nDropIndex;
  m_bPressed = m_bDragging = FALSE;
  m_nDropIndex = -1;
  if (bDrop && !SendHeaderNotify(HDN_ENDDRAG, dragged) && drop >= 0) {
    const int count = GetItemCount();
    std::vector<int> order((size_t)std::max(count, 0));
    if (count > 0 && GetOrderArray(order.data(), count)) {
      HDITEMA hdi{};
      hdi.mask = HDI_ORDER;
      GetItem(dragged, &hdi);
      order = odheader::MoveInOrder(order, hdi.iOrder, drop);
      SetOrderArray(count, order.data());
      // The list re-reads the order when it paints.
      if (CWnd* pParent = GetParent()) pParent->Invalidate(FALSE);
    }
  }
  if (m_pDragWnd) m_pDragWnd->DestroyWindow(), m_pDragWnd = nullptr;
  if (m_pDropWnd) m_pDropWnd->DestroyWindow(), m_pDropWnd = nullptr;
  if (::GetCapture() == m_hWnd) ReleaseCapture();
  Invalidate(FALSE);
}

BOOL CODHeaderCtrl::OnDragButtonUp(CPoint pt) {
  if (!m_bPressed) return FALSE;
  if (m_bDragging) {
    EndColumnDrag(TRUE);
    return TRUE;
  }
  // A press that never became a drag is a click on the item.
  m_bPressed = FALSE;
  ReleaseCapture();
  HDHITTESTINFO hit{};
  hit.pt = pt;
  HitTest(&hit);
  Invalidate(FALSE);
  if (hit.iItem == m_nPressedItem && (hit.flags & HHT_ONHEADER)) SendHeaderNotify(HDN_ITEMCLICKA, m_nPressedItem);
  return TRUE;
}
