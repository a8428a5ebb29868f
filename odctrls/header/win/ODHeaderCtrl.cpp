#include "ODHeaderCtrl.h"

#include <algorithm>

#include "HeaderFit.h"
#include "ODMemDC.h"
#include "ODNcMgrWnd.h"
#include "ODTheme.h"

IMPLEMENT_DYNAMIC(CODHeaderCtrl, CHeaderCtrl)

COLORREF CODHeaderCtrl::s_crText = 0xAFC8D4;
COLORREF CODHeaderCtrl::s_crDividerLight = 0x598096;
COLORREF CODHeaderCtrl::s_crDividerDark = 0x00020A;
COLORREF CODHeaderCtrl::s_crBackground = ::GetSysColor(COLOR_BTNFACE);
int CODHeaderCtrl::s_nHeaderImageID = 0;
int CODHeaderCtrl::s_nLeftShadowImageID = 0;

namespace {
const bool g_loader = (SetThemeClassLoader("ODHeaderCtrl", &CODHeaderCtrl::LoadThemeValues), true);
int MaxOf(const OD_HEADER_ITEM& r) { return r.nMaxWidth > 0 ? r.nMaxWidth : 0x4000; }
}  // namespace

void CODHeaderCtrl::LoadThemeValues() {
  s_crText = (COLORREF)GetThemeInt("ODHeaderCtrl", "ColorText", (int)s_crText);
  s_crDividerLight = (COLORREF)GetThemeInt("ODHeaderCtrl", "ColorDividerLight", (int)s_crDividerLight);
  s_crDividerDark = (COLORREF)GetThemeInt("ODHeaderCtrl", "ColorDividerDark", (int)s_crDividerDark);
  // The header's own background colour (the stand-in theme sets it; images take over).
  s_crBackground = (COLORREF)GetThemeInt("ODHeaderCtrl", "ColorBk", (int)s_crBackground);
  s_nHeaderImageID = GetThemeInt("ODHeaderCtrl", "HeaderImageID", s_nHeaderImageID);
  s_nLeftShadowImageID = GetThemeInt("ODHeaderCtrl", "LeftShadowImageID", s_nLeftShadowImageID);
}

CODHeaderCtrl::CODHeaderCtrl()
    : CODPaintedWnd<CHeaderCtrl>("ODHeaderCtrl", 0x100C),
      m_bDoubleBuffer(TRUE),
      m_nMargin(6),
      m_cxArrow(8),
      m_cyArrow(8),
      m_nSortColumn(-1),
      m_nSortDirection(0),
      m_bShowSortArrow(TRUE),
      m_bFitMode(FALSE),
      m_bFitting(FALSE),
      m_bDividerDrag(FALSE),
      m_bClipped(FALSE),
      m_nFixedHeight(-1),
      m_crBackground(::GetSysColor(COLOR_BTNFACE)),
      m_crText(s_crText),
      m_crLight(s_crDividerLight),
      m_crDark(s_crDividerDark),
      m_crArrow1(0x598096),
      m_crArrow2(0x00020A),
      m_hBackground(nullptr) {
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_font, &m_font);
}

CODHeaderCtrl::~CODHeaderCtrl() {
  if (m_hBackground) ::DeleteObject(m_hBackground);
  if (m_hShadow) ::DeleteObject(m_hShadow);
}

namespace {
// The header keeps its own copy of a picture; the caller's is deleted when asked.
HBITMAP TakePicture(HBITMAP hBitmap, BOOL bDelete) {
  if (!hBitmap) return nullptr;
  HBITMAP copy = (HBITMAP)::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (bDelete) ::DeleteObject(hBitmap);
  return copy;
}
}  // namespace

void CODHeaderCtrl::SetBackgroundImage(BOOL bDelete, HBITMAP hBitmap, int nMode, BOOL bRepaint) {
  if (m_hBackground) ::DeleteObject(m_hBackground);
  m_hBackground = TakePicture(hBitmap, bDelete);
  m_nBackgroundMode = nMode;
  if (bRepaint && m_hWnd) Invalidate(FALSE);
}

void CODHeaderCtrl::SetShadowImage(BOOL bDelete, HBITMAP hBitmap, BOOL bRepaint) {
  if (m_hShadow) ::DeleteObject(m_hShadow);
  m_hShadow = TakePicture(hBitmap, bDelete);
  if (bRepaint && m_hWnd) Invalidate(FALSE);
}

// At creation the background is tiled; a later theme change stretches it.
void CODHeaderCtrl::RefreshTheme(int nBackgroundMode) {
  m_crText = s_crText, m_crLight = s_crDividerLight, m_crDark = s_crDividerDark, m_crBackground = s_crBackground;
  SetBackgroundImage(TRUE, s_nHeaderImageID ? LoadThemeBitmap((UINT)s_nHeaderImageID, "QKImage") : nullptr,
                     nBackgroundMode, FALSE);
  SetShadowImage(TRUE, s_nLeftShadowImageID ? LoadThemeBitmap((UINT)s_nLeftShadowImageID, "QKImage") : nullptr, FALSE);
  if (m_hWnd) Invalidate(FALSE);
}

BOOL CODHeaderCtrl::GetItemEx(int nIndex, OD_HEADER_ITEM* pItem) const {
  if (!pItem || nIndex < 0 || nIndex >= (int)m_items.size()) return FALSE;
  *pItem = m_items[(size_t)nIndex];
  if (pItem->nFlags & 4) {
    HDITEMA hdi{};
    hdi.mask = HDI_WIDTH;
    GetItem(nIndex, &hdi);
    pItem->nMinWidth = pItem->nMaxWidth = hdi.cxy;
  }
  return TRUE;
}

BOOL CODHeaderCtrl::SetItemRecord(int nIndex, const OD_HEADER_ITEM& item) {
  if (nIndex < 0 || nIndex >= (int)m_items.size()) return FALSE;
  m_items[(size_t)nIndex] = item;
  return TRUE;
}

BOOL CODHeaderCtrl::SetItemEx(int nIndex, const OD_HEADER_ITEM& item) {
  if (!SetItemRecord(nIndex, item)) return FALSE;
  char text[80] = "";
  HDITEMA hdi{};
  hdi.mask = HDI_WIDTH | HDI_FORMAT | HDI_TEXT | HDI_IMAGE | HDI_BITMAP;
  hdi.pszText = text;
  hdi.cchTextMax = sizeof text;
  if (!GetItem(nIndex, &hdi)) return TRUE;
  int width = hdi.cxy;
  if (item.nFlags & 1) width = MeasureItem(hdi, nIndex == m_nSortColumn);
  if (!(item.nFlags & 4)) {
    if (width < item.nMinWidth) width = item.nMinWidth;
    if (item.nMaxWidth > 0 && width > item.nMaxWidth) width = item.nMaxWidth;
  }
  if (width != hdi.cxy) {
    HDITEMA w{};
    w.mask = HDI_WIDTH;
    w.cxy = width;
    SetItem(nIndex, &w);
  }
  return TRUE;
}

int CODHeaderCtrl::MeasureItem(const HDITEMA& hdi, BOOL bSorted) {
  int w = m_nMargin;
  if ((hdi.fmt & HDF_IMAGE) && m_cxImage > 0) w += m_cxImage + m_nMargin;
  if (const int bw = BitmapWidth(hdi)) w += bw + m_nMargin;
  if (bSorted) w += m_cxArrow + m_nMargin;
  if ((hdi.mask & HDI_TEXT) && (hdi.fmt & HDF_STRING) && hdi.pszText && m_hWnd) {
    CClientDC dc(this);
    CFont font;
    font.CreateFontIndirect(&m_font);
    CFont* old = dc.SelectObject(&font);
    w += dc.GetTextExtent(hdi.pszText, lstrlenA(hdi.pszText)).cx + m_nMargin;
    dc.SelectObject(old);
  }
  return w;
}

void CODHeaderCtrl::SetSortColumn(int nColumn, int nDirection) {
  m_nSortColumn = nColumn;
  m_nSortDirection = nDirection;
  if (m_hWnd) Invalidate(FALSE);
}

int CODHeaderCtrl::GetSortColumn(int* pDirection) const {
  if (pDirection) *pDirection = m_nSortDirection;
  return m_nSortColumn;
}

void CODHeaderCtrl::ShowSortArrow(BOOL bShow, BOOL bRepaint) {
  m_bShowSortArrow = bShow;
  if (bRepaint && m_hWnd) Invalidate(FALSE);
}

void CODHeaderCtrl::FitColumns(int nColumn) {
  CWnd* pParent = GetParent();
  const int count = GetItemCount();
  if (!pParent || count <= 0) return;
  std::vector<int> order((size_t)count);
  ::SendMessageA(m_hWnd, HDM_GETORDERARRAY, count, (LPARAM)order.data());
  size_t firstPos = 0;
  int used = 0;
  if (nColumn >= 0 && nColumn != order.back()) {
    for (size_t p = 0; p < order.size(); ++p)
      if (order[p] == nColumn) {
        CRect r;
        GetItemRect(nColumn, &r);
        used = r.right;
        firstPos = p + 1;
      }
  }
  std::vector<odheader::FitColumn> cols;
  for (size_t p = firstPos; p < order.size(); ++p) {
    OD_HEADER_ITEM rec;
    GetItemEx(order[p], &rec);
    HDITEMA hdi{};
    hdi.mask = HDI_WIDTH;
    GetItem(order[p], &hdi);
    cols.push_back({hdi.cxy, rec.nMinWidth, rec.nMaxWidth});
  }
  CRect rc;
  pParent->GetClientRect(&rc);
  const std::vector<int> widths = odheader::FitWidths(cols, rc.Width() - used);
  m_bFitting = TRUE;
  for (size_t i = 0; i < widths.size(); ++i) {
    HDITEMA hdi{};
    hdi.mask = HDI_WIDTH;
    hdi.cxy = widths[i];
    SetItem(order[firstPos + i], &hdi);
  }
  m_bFitting = FALSE;
}

void CODHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

INT_PTR CODHeaderCtrl::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  HDHITTESTINFO hit{};
  hit.pt = point;
  const_cast<CODHeaderCtrl*>(this)->HitTest(&hit);
  m_nTipItem = hit.iItem;
  CRect r;
  if (hit.iItem < 0 || hit.iItem >= (int)m_items.size() || !GetItemRect(hit.iItem, &r)) return -1;
  if (pTI) {
    pTI->hwnd = m_hWnd;
    pTI->uId = kTipToolId;
    pTI->rect = r;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
  }
  // Each item is its own tool, so moving to another item shows that item's tip.
  return (INT_PTR)hit.iItem + 1;
}

CString CODHeaderCtrl::GetTipText() const {
  if (m_nTipItem < 0 || m_nTipItem >= (int)m_items.size()) return CString();
  return m_items[(size_t)m_nTipItem].strTip;
}

BOOL CODHeaderCtrl::OnTipText(NMHDR* pHdr) {
  if (pHdr->idFrom != kTipToolId) return FALSE;
  m_strTipShown = GetTipText();
  if (pHdr->code == TTN_NEEDTEXTA) {
    NMTTDISPINFOA* info = (NMTTDISPINFOA*)pHdr;
    info->lpszText = const_cast<LPSTR>((LPCSTR)m_strTipShown);
    info->hinst = nullptr;
  } else {
    NMTTDISPINFOW* info = (NMTTDISPINFOW*)pHdr;
    ::MultiByteToWideChar(CP_ACP, 0, m_strTipShown, -1, info->szText, (int)(sizeof info->szText / sizeof(WCHAR)));
    info->szText[sizeof info->szText / sizeof(WCHAR) - 1] = L'\0';
    info->lpszText = info->szText;
    info->hinst = nullptr;
  }
  return TRUE;
}

int CODHeaderCtrl::DrawSortArrow(CDC* pDC, int left, int top, int bottom, int nDirection) {
  const int y = top + (bottom - top - m_cyArrow - 1) / 2;
  CPen pen1(PS_SOLID, 1, m_crArrow1), pen2(PS_SOLID, 1, m_crArrow2);
  CPen* old = pDC->SelectObject(&pen1);
  const int mid = left + m_cxArrow / 2;
  if (nDirection) {  // pointing up
    pDC->MoveTo(mid, y);
    pDC->LineTo(left + m_cxArrow, y + m_cyArrow);
    pDC->LineTo(left, y + m_cyArrow);
    pDC->SelectObject(&pen2);
    pDC->LineTo(mid, y);
  } else {
    pDC->MoveTo(mid, y + m_cyArrow);
    pDC->LineTo(left + m_cxArrow, y);
    pDC->SelectObject(&pen2);
    pDC->LineTo(left, y);
    pDC->LineTo(mid, y + m_cyArrow);
  }
  pDC->SelectObject(old);
  return m_cxArrow;
}

// Parts inside an item, each returning the width it used (0: nothing drawn).
int CODHeaderCtrl::DrawItemImage(CDC* pDC, int left, int top, int bottom, int space, const HDITEMA& hdi) {
  HIMAGELIST images = (HIMAGELIST)::SendMessageA(m_hWnd, HDM_GETIMAGELIST, 0, 0);
  const int w = std::min(m_cxImage, space);
  if (!images || w <= 0 || hdi.iImage < 0) return 0;
  IMAGELISTDRAWPARAMS p{};
  p.cbSize = sizeof p;
  p.himl = images;
  p.i = hdi.iImage;
  p.hdcDst = pDC->GetSafeHdc();
  p.x = left;
  p.y = top + (bottom - top - m_cyImage) / 2;
  p.cx = w;
  p.cy = m_cyImage;
  p.rgbBk = CLR_DEFAULT;
  p.rgbFg = CLR_DEFAULT;
  p.fStyle = ILD_NORMAL;
  p.dwRop = SRCCOPY;
  return ::ImageList_DrawIndirect(&p) ? w : 0;
}

int CODHeaderCtrl::DrawItemBitmap(CDC* pDC, int left, int top, int bottom, int space, const HDITEMA& hdi) {
  BITMAP bm;
  if (!(hdi.fmt & HDF_BITMAP) || !hdi.hbm || !::GetObjectA(hdi.hbm, sizeof bm, &bm) || bm.bmWidth > space) return 0;
  CDC mem;
  if (!mem.CreateCompatibleDC(pDC)) return 0;
  HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), hdi.hbm);
  const int h = std::min<int>(bm.bmHeight, bottom - top);
  pDC->BitBlt(left, top + (bottom - top - h) / 2, bm.bmWidth, h, &mem, 0, 0, SRCCOPY);
  ::SelectObject(mem.GetSafeHdc(), old);
  return bm.bmWidth;
}

int CODHeaderCtrl::BitmapWidth(const HDITEMA& hdi) {
  BITMAP bm;
  return (hdi.fmt & HDF_BITMAP) && hdi.hbm && ::GetObjectA(hdi.hbm, sizeof bm, &bm) ? bm.bmWidth : 0;
}

void CODHeaderCtrl::DrawItemContent(CDC* pDC, int left, int top, int right, int bottom, const HDITEMA& hdi,
                                    BOOL bSorted, int nDirection) {
  const int gap = m_nMargin;
  const int align = hdi.fmt & HDF_JUSTIFYMASK;
  const BOOL wantImage = (hdi.mask & HDI_IMAGE) && (hdi.fmt & HDF_IMAGE);
  const BOOL arrow = bSorted && m_bShowSortArrow;
  const int bitmapWidth = BitmapWidth(hdi);
  int l = left, r = right;
  auto text = [&](int from, int to, UINT fmt) {
    if (!(hdi.mask & HDI_TEXT) || !(hdi.fmt & HDF_STRING) || !hdi.pszText || to <= from) return 0;
    CRect rc(from, top, to, bottom);
    pDC->DrawText(hdi.pszText, -1, &rc, fmt | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    const int w = pDC->GetTextExtent(hdi.pszText, lstrlenA(hdi.pszText)).cx;
    return std::min(w, to - from);
  };
  // An item that asks for an image it cannot show shows nothing after it.
  auto image = [&]() {
    if (!wantImage) return true;
    const int w = DrawItemImage(pDC, l, top, bottom, r - l, hdi);
    if (w) l += w + gap;
    return w != 0;
  };
  auto arrowAtRight = [&]() {
    if (arrow && r - l >= m_cxArrow) {
      DrawSortArrow(pDC, r - m_cxArrow, top, bottom, nDirection);
      r -= m_cxArrow + 2 * gap;
    }
  };
  if (align == HDF_RIGHT) {
    if (bitmapWidth && !(hdi.fmt & HDF_BITMAP_ON_RIGHT) && DrawItemBitmap(pDC, l, top, bottom, r - l, hdi))
      l += bitmapWidth + gap;
    if (!image()) return;
    if (bitmapWidth && (hdi.fmt & HDF_BITMAP_ON_RIGHT) && DrawItemBitmap(pDC, r - bitmapWidth, top, bottom, r - l, hdi))
      r -= bitmapWidth + gap;
    arrowAtRight();
    text(l, r, DT_RIGHT);
  } else if (align == HDF_CENTER) {
    if (!image()) return;
    if (bitmapWidth && DrawItemBitmap(pDC, r - bitmapWidth, top, bottom, r - l, hdi)) r -= bitmapWidth + gap;
    arrowAtRight();
    text(l, r, DT_CENTER);
  } else {
    if (!image()) return;
    if (bitmapWidth && DrawItemBitmap(pDC, r - bitmapWidth, top, bottom, r - l, hdi)) r -= bitmapWidth + gap;
    // The text keeps room for the arrow, which follows the text actually drawn.
    const int used = text(l, arrow ? r - m_cxArrow - gap : r, DT_LEFT);
    if (used) l += used + gap;
    if (arrow && r - l >= m_cxArrow) DrawSortArrow(pDC, l, top, bottom, nDirection);
  }
}

void CODHeaderCtrl::PaintItems(CDC* pDC, const CRect& clip) {
  CRect rc;
  GetClientRect(&rc);
  if (m_hBackground)
    DrawBitmapTiled(pDC->GetSafeHdc(), rc, m_hBackground, m_nBackgroundMode);
  else
    pDC->FillSolidRect(&rc, m_crBackground);
  BITMAP shadow;
  if (m_hShadow && ::GetObjectA(m_hShadow, sizeof shadow, &shadow))
    DrawBitmapTiled(pDC->GetSafeHdc(), CRect(rc.left, rc.top, rc.left + shadow.bmWidth, rc.top + shadow.bmHeight),
                    m_hShadow, ODTILE_CORNER);
  CFont font;
  font.CreateFontIndirect(&m_font);
  CFont* oldFont = pDC->SelectObject(&font);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(m_crText);
  const int count = GetItemCount();
  for (int pos = 0; pos < count; ++pos) {
    const int index = OrderToIndex(pos);
    CRect r;
    if (!GetItemRect(index, &r)) continue;
    CRect meet;
    if (!meet.IntersectRect(&r, &clip)) continue;
    char text[80] = "";
    HDITEMA hdi{};
    hdi.mask = HDI_FORMAT | HDI_TEXT | HDI_IMAGE | HDI_BITMAP | HDI_LPARAM;
    hdi.pszText = text;
    hdi.cchTextMax = sizeof text;
    GetItem(index, &hdi);
    if (hdi.fmt & HDF_OWNERDRAW) {
      DRAWITEMSTRUCT dis{ODT_HEADER, (UINT)GetDlgCtrlID(), (UINT)index, ODA_DRAWENTIRE,       0,
                         m_hWnd,     pDC->GetSafeHdc(),    r,           (ULONG_PTR)hdi.lParam};
      DrawItem(&dis);
    } else {
      DrawItemContent(pDC, r.left + m_nMargin, r.top, r.right - m_nMargin, r.bottom, hdi, index == m_nSortColumn,
                      m_nSortDirection);
    }
    if (m_crDark != (COLORREF)-1) pDC->FillSolidRect(r.right - 1, r.top + 2, 1, r.Height() - 4, m_crDark);
    if (m_crLight != (COLORREF)-1) pDC->FillSolidRect(r.right, r.top + 2, 1, r.Height() - 4, m_crLight);
  }
  pDC->SelectObject(oldFont);
}

void CODHeaderCtrl::PaintWindow() {
  PAINTSTRUCT ps;
  CDC* pDC = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
  CRect clip(ps.rcPaint);
  if (m_bDoubleBuffer) {
    CODMemDC mem(pDC, &clip);
    PaintItems(&mem, clip);
  } else {
    PaintItems(pDC, clip);
  }
  ::EndPaint(m_hWnd, &ps);
}

void CODHeaderCtrl::ReleaseClip() {
  if (m_bClipped) ::ClipCursor(nullptr);
  m_bClipped = FALSE;
  m_bDividerDrag = FALSE;
}

// Whether pt (client) lies on the divider of a fixed-width item: such a divider neither
// sizes nor shows the sizing cursor.
BOOL CODHeaderCtrl::OnFixedDivider(CPoint pt) {
  HDHITTESTINFO hit{};
  hit.pt = pt;
  HitTest(&hit);
  return (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) && hit.iItem >= 0 && hit.iItem < (int)m_items.size() &&
         (m_items[(size_t)hit.iItem].nFlags & 4);
}

void CODHeaderCtrl::OnPress(UINT, CPoint pt) {
  HDHITTESTINFO hit{};
  hit.pt = pt;
  HitTest(&hit);
  if (!(hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) || hit.iItem < 0 || hit.iItem >= (int)m_items.size()) return;
  const OD_HEADER_ITEM& rec = m_items[(size_t)hit.iItem];
  m_bDividerDrag = TRUE;
  odheader::Limits limits{rec.nMinWidth, MaxOf(rec)};
  if (m_bFitMode) {
    // The columns after this one must still fit between their limits.
    const int count = GetItemCount();
    std::vector<int> order((size_t)std::max(count, 0));
    if (count > 0 && GetOrderArray(order.data(), count)) {
      const auto at = std::find(order.begin(), order.end(), hit.iItem);
      std::vector<odheader::FitColumn> after;
      for (auto it = at == order.end() ? at : at + 1; it != order.end(); ++it) {
        OD_HEADER_ITEM r;
        if (GetItemEx(*it, &r)) after.push_back({0, r.nMinWidth, r.nMaxWidth});
      }
      CRect client, item;
      GetClientRect(&client);
      GetItemRect(hit.iItem, &item);
      limits = odheader::NarrowForFit(rec.nMinWidth, rec.nMaxWidth, client.right + 1 - item.left, after);
    }
  }
  if (limits.minWidth <= 0 && limits.maxWidth >= 0x4000) return;
  HDITEMA hdi{};
  hdi.mask = HDI_WIDTH;
  GetItem(hit.iItem, &hdi);
  CPoint cur;
  ::GetCursorPos(&cur);
  RECT clip;
  ::GetClipCursor(&clip);
  clip.left = cur.x - (hdi.cxy - limits.minWidth);
  clip.right = cur.x + (limits.maxWidth - hdi.cxy) + 1;
  if (clip.right > clip.left) m_bClipped = ::ClipCursor(&clip);
}

LRESULT CODHeaderCtrl::OnLayout(WPARAM wParam, LPARAM lParam) {
  const LRESULT r = DefaultProc(HDM_LAYOUT, wParam, lParam);
  HDLAYOUT* lay = (HDLAYOUT*)lParam;
  if (lay && lay->pwpos && m_nFixedHeight > 0) lay->pwpos->cy = m_nFixedHeight;
  if (m_bFitMode && !m_bDividerDrag && !m_bFitting) FitColumns(-1);
  return r;
}

void CODHeaderCtrl::OnThemeChanged() {
  LoadThemeValues();
  RefreshTheme(ODTILE_STRETCH);
}

LRESULT CODHeaderCtrl::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT r = DefaultProc(message, wParam, lParam);
      if (r != -1) {
        RefreshTheme(ODTILE_REPEAT);
        EnableToolTips(TRUE);
      }
      return r;
    }
    case WM_NCDESTROY:
      ReleaseClip();
      if (m_pDragWnd) m_pDragWnd->DestroyWindow(), m_pDragWnd = nullptr;
      if (m_pDropWnd) m_pDropWnd->DestroyWindow(), m_pDropWnd = nullptr;
      ::RemovePropA(m_hWnd, "ODCtrl");
      ::RemovePropA(m_hWnd, "ODHeaderCtrl");
      break;
    case WM_NOTIFY: {
      NMHDR* hdr = (NMHDR*)lParam;
      if (hdr && (hdr->code == TTN_NEEDTEXTA || hdr->code == TTN_NEEDTEXTW) && OnTipText(hdr)) return 0;
      break;
    }
    case HDM_INSERTITEMA:
    case HDM_INSERTITEMW: {
      const size_t at = std::min<size_t>((size_t)(wParam > 0x7FFFFFFF ? 0 : wParam), m_items.size());
      m_items.insert(m_items.begin() + (ptrdiff_t)at, OD_HEADER_ITEM());
      const LRESULT r = DefaultProc(message, wParam, lParam);
      if (r < 0) m_items.erase(m_items.begin() + (ptrdiff_t)at);
      return r;
    }
    case HDM_DELETEITEM:
      if (wParam < m_items.size()) m_items.erase(m_items.begin() + (ptrdiff_t)wParam);
      break;
    case HDM_LAYOUT:
      return OnLayout(wParam, lParam);
    case HDM_SETIMAGELIST:
      m_cxImage = m_cyImage = 0;
      if (lParam) ::ImageList_GetIconSize((HIMAGELIST)lParam, &m_cxImage, &m_cyImage);
      break;
    case WM_SETFONT: {
      const LRESULT r = DefaultProc(message, wParam, lParam);
      if (wParam) ::GetObjectA((HFONT)wParam, sizeof m_font, &m_font);
      return r;
    }
    case WM_LBUTTONDOWN:
      if (OnFixedDivider(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)))) return 0;
      if (OnDragButtonDown((UINT)wParam, CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)))) return 0;
      OnPress((UINT)wParam, CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
      break;
    case WM_SETCURSOR:
      if ((HWND)wParam == m_hWnd && LOWORD(lParam) == HTCLIENT) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (OnFixedDivider(pt)) {
          ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
          return TRUE;
        }
      }
      break;
    case WM_MOUSEMOVE:
      if (OnDragMouseMove(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)))) return 0;
      break;
    case WM_LBUTTONDBLCLK:
      if (OnFixedDivider(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)))) return 0;
      break;
    case WM_LBUTTONUP: {
      if (OnDragButtonUp(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)))) return 0;
      const BOOL wasDrag = m_bDividerDrag;
      ReleaseClip();
      const LRESULT r = DefaultProc(message, wParam, lParam);
      if (wasDrag && m_bFitMode) FitColumns(-1);
      return r;
    }
    // A clipped cursor must never outlive the drag that clipped it.
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
    case WM_KILLFOCUS:
      ReleaseClip();
      // A column drag ends without reordering when the capture goes elsewhere.
      if (m_bPressed && (message != WM_CAPTURECHANGED || (HWND)lParam != m_hWnd)) EndColumnDrag(FALSE);
      break;
    case WM_SYSCOLORCHANGE:
      m_crArrow1 = 0x598096, m_crArrow2 = 0x00020A;
      m_crBackground = ::GetSysColor(COLOR_BTNFACE);
      break;
  }
  return DefaultProc(message, wParam, lParam);
}
