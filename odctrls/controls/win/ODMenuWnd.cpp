#include "ODMenuWnd.h"

#include <shellapi.h>
#include <commctrl.h>
#include <windowsx.h>

#include "ODMemDC.h"
#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeSections.h"
#include "ODToolTip.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_menuLoader = (SetThemeClassLoader("ODMenu", &LoadODMenuTheme), true);
}  // namespace

using vesk::odctrls::MenuEntry;
using vesk::odctrls::MenuRect;

namespace {
const UINT_PTR kOpenSubTimer = 60099, kCloseSubTimer = 60999;
// The extra parts' image frames and moving texts, one timer each, top, bottom, left, right.
const UINT_PTR kPartImageTimer = 60010, kPartTextTimer = 60020;
const UINT kPartImagePeriod = 200, kPartTextPeriod = 60;
}  // namespace

IMPLEMENT_DYNAMIC(CODMenuWnd, CWnd)

CODMenuWnd::CODMenuWnd()
    : CODPaintedWnd<CWnd>("ODMenu", 0x1005), m_pTip(nullptr), m_bDeleteOnDestroy(FALSE), m_hImageList(nullptr) {
  ResetToStart();
}

CODMenuWnd::~CODMenuWnd() {
  m_bDeleteOnDestroy = FALSE;  // already being deleted
  if (m_hWnd) DestroyWindow();
  delete m_pTip;
}

void CODMenuWnd::ResetToStart() {
  vesk::odctrls::MenuMetrics m;
  m_layout = vesk::odctrls::MenuLayout();
  m_layout.m = m;
  m_pOwner = m_pTarget = nullptr;
  m_pPrev = nullptr;
  m_nHotItem = m_nHotColumn = -1;
  m_nPendingRow = m_nPendingColumn = -1;
  m_bMouseInside = m_bClosing = m_bDestroying = FALSE;
  m_nDelay = 500;
  m_bIndentSeparators = TRUE;
  m_bRoot = TRUE;
  for (int k = 0; k < 4; ++k)
    for (int s = 0; s < 5; ++s) {
      m_colours[k][s] = CLR_NONE;
      m_bOwnColour[k][s] = FALSE;
    }
  m_colours[0][0] = RGB(225, 208, 175);
  m_colours[0][2] = m_colours[1][2] = RGB(156, 125, 93);
  m_colours[2][2] = RGB(255, 255, 255);
  m_colours[2][3] = ::GetSysColor(COLOR_GRAYTEXT);
  m_crTextBk = m_crImageBk = RGB(225, 208, 175);
  m_crSepUpper = RGB(121, 82, 59);
  m_crSepLower = RGB(255, 255, 236);
  m_crColumn = RGB(255, 0, 0);
  m_painter[0] = ::GetSysColor(COLOR_BTNSHADOW);
  m_painter[1] = m_painter[2] = m_painter[3] = CLR_NONE;
  m_rcFrame.SetRect(0, 0, 0, 0);
  for (int i = 0; i < 4; ++i) {
    m_bPart[i] = FALSE;
    m_nPartSize[i] = 0;
    m_crPartBk[i] = CLR_NONE;
    m_strPartImage[i].Empty();
    m_strPartText[i].Empty();
    m_partImages[i].Clear();
    m_partTexts[i].StopMoving();
    m_partTexts[i].DestroyLines();
  }
  memset(&m_font, 0, sizeof(m_font));
  m_font.lfHeight = 12;
  m_font.lfCharSet = GB2312_CHARSET;
  lstrcpyA(m_font.lfFaceName, VESK_FACE_SONG);
}

void CODMenuWnd::ApplyThemeColours() {
  const ODMenuTheme& t = ODMenuValues();
  auto take = [&](int k, int s, COLORREF cr) {
    if (!m_bOwnColour[k][s]) m_colours[k][s] = cr;
  };
  take(0, 0, t.crItemBkNormal);
  take(0, 2, t.crItemEdgeMove);
  take(1, 2, t.crItemBkMove);
  take(2, 2, t.crItemTextNormal);
  take(2, 3, t.crItemTextDisable);
  m_crTextBk = t.crTextBk;
  m_crImageBk = t.crImageBk;
  m_crSepUpper = t.crSepShadow;
  m_crSepLower = t.crSepHiLight;
  m_crColumn = t.crColumn;
  m_rcFrame.SetRect(1, 1, 1, 1);
}

COLORREF CODMenuWnd::SetPainterColour(int nIndex, COLORREF cr) {
  if (nIndex < 0 || nIndex > 3) return (COLORREF)-1;
  COLORREF old = m_painter[nIndex];
  m_painter[nIndex] = cr;
  return old;
}

CRect CODMenuWnd::SetPainterFrame(const CRect& rcWidths) {
  CRect old = m_rcFrame;
  m_rcFrame = rcWidths;
  return old;
}

BOOL CODMenuWnd::Create(CWnd* pOwner, int nLevels, BOOL bTopMost) {
  if (nLevels < 0) return FALSE;
  if (m_hWnd) DestroyWindow();
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW));
  // A popup that belongs to its owner; never a child window.
  if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, cls, "ODMenu", WS_POPUP, 0, 0, 10, 10,
                pOwner ? pOwner->GetSafeHwnd() : nullptr, nullptr))
    return FALSE;
  m_pOwner = pOwner;
  if (!bTopMost) ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyThemeColours();
  LoadEdges();
  if (!m_pTip) {
    m_pTip = new CODToolTip;
    m_pTip->Create(this, 0);
    m_pTip->AddTool(this, m_strTip, nullptr, 0);
    m_pTip->Enable(TRUE);
    m_pTip->SendMessage(TTM_SETMAXTIPWIDTH, 0, 300);
  } else if (!m_pTip->m_hWnd) {
    m_pTip->Create(this, 0);
    m_pTip->AddTool(this, m_strTip, nullptr, 0);
    m_pTip->Enable(TRUE);
  } else {
    m_pTip->SetToolText(m_strTip, this, 0);
  }
  m_levels.assign(nLevels, {});
  m_subs.assign(nLevels, {});
  m_subDelete.assign(nLevels, {});
  for (auto& l : m_levels) l.reserve(10);
  return TRUE;
}

void CODMenuWnd::SetEdgeImage(int nIndex, LPCSTR lpszSpec) {
  if (nIndex >= 0 && nIndex < 8) m_strOwnEdges[nIndex] = lpszSpec ? lpszSpec : "";
}

void CODMenuWnd::LoadEdges() {
  const ODMenuTheme& t = ODMenuValues();
  for (int i = 0; i < 8; ++i) {
    m_edges[i].Clear();
    const char* spec = m_strOwnEdges[i].IsEmpty() ? t.edges[i] : (LPCSTR)m_strOwnEdges[i];
    if (spec[0]) LoadThemeImageSpec(spec, &m_edges[i]);
    m_edges[i].SetDrawMode(i < 4 ? CODThemeImage::DRAW_TILED : CODThemeImage::DRAW_SINGLE);
  }
  // The frame images set the margins they occupy.
  auto& mg = m_layout.m.margins;
  if (!m_edges[0].IsEmpty()) mg.left = m_edges[0].GetCellWidth();
  if (!m_edges[1].IsEmpty()) mg.right = m_edges[1].GetCellWidth();
  if (!m_edges[2].IsEmpty()) mg.top = m_edges[2].GetCellHeight();
  if (!m_edges[3].IsEmpty()) mg.bottom = m_edges[3].GetCellHeight();
}

BOOL CODMenuWnd::SetExtraPart(int nPart, LPCSTR lpszImageSpec, int nSize, LPCSTR lpszText, COLORREF crBk) {
  if (nPart < 0 || nPart > 3) return FALSE;
  m_strPartImage[nPart] = lpszImageSpec ? lpszImageSpec : "";
  m_strPartText[nPart] = lpszText ? lpszText : "";
  m_bPart[nPart] = !m_strPartImage[nPart].IsEmpty() || !m_strPartText[nPart].IsEmpty();
  m_nPartSize[nPart] = nSize < 0 ? 0 : nSize > 400 ? 400 : nSize;
  m_crPartBk[nPart] = crBk;
  return TRUE;
}

// Loads the parts' images and texts, sets their sizes into the layout and starts their timers.
void CODMenuWnd::LoadParts() {
  StopParts();
  int sizes[4] = {};
  for (int i = 0; i < 4; ++i) {
    m_partImages[i].Clear();
    m_partTexts[i].DestroyLines();
    if (!m_bPart[i]) continue;
    if (!m_strPartImage[i].IsEmpty()) LoadThemeImageSpec(m_strPartImage[i], &m_partImages[i]);
    m_partImages[i].SetDrawMode(CODThemeImage::DRAW_TILED);
    const bool across = i == PART_TOP || i == PART_BOTTOM;
    int size = m_nPartSize[i];
    if (!size && !m_partImages[i].IsEmpty())
      size = across ? m_partImages[i].GetCellHeight() : m_partImages[i].GetCellWidth();
    sizes[i] = size ? size : 20;
    if (!m_strPartText[i].IsEmpty()) m_partTexts[i].SetText(m_strPartText[i]);
    if (!m_hWnd || m_partImages[i].IsEmpty()) continue;
    if (m_partImages[i].StartAnimation()) SetTimer(kPartImageTimer + i, kPartImagePeriod, nullptr);
    if (m_strPartText[i].IsEmpty()) continue;
    m_partTexts[i].StartMoving();
    if (m_partTexts[i].IsMoving()) SetTimer(kPartTextTimer + i, kPartTextPeriod, nullptr);
  }
  m_layout.m.parts = MenuRect{sizes[PART_LEFT], sizes[PART_TOP], sizes[PART_RIGHT], sizes[PART_BOTTOM]};
}

void CODMenuWnd::StopParts() {
  for (int i = 0; i < 4; ++i) {
    if (m_hWnd) {
      KillTimer(kPartImageTimer + i);
      KillTimer(kPartTextTimer + i);
    }
    if (!m_bPart[i]) continue;
    if (!m_partImages[i].IsEmpty()) m_partImages[i].StopAnimation(FALSE);
    m_partTexts[i].StopMoving();
  }
}

CRect CODMenuWnd::ExtraPartRect(int nPart) const {
  if (!HasExtraPart(nPart) || !m_hWnd) return CRect(0, 0, 0, 0);
  CRect rc;
  GetClientRect(&rc);
  const auto& mg = m_layout.m.margins;
  const MenuRect& p = m_layout.m.parts;
  // Inside the margins: top and bottom strips run the full width, left and right between them.
  rc.DeflateRect(mg.left, mg.top, mg.right, mg.bottom);
  switch (nPart) {
    case PART_TOP:
      return CRect(rc.left, rc.top, rc.right, rc.top + p.top);
    case PART_BOTTOM:
      return CRect(rc.left, rc.bottom - p.bottom, rc.right, rc.bottom);
    case PART_LEFT:
      return CRect(rc.left, rc.top + p.top, rc.left + p.left, rc.bottom - p.bottom);
    default:
      return CRect(rc.right - p.right, rc.top + p.top, rc.right, rc.bottom - p.bottom);
  }
}

void CODMenuWnd::DrawParts(HDC hDC) {
  for (int i = 0; i < 4; ++i) {
    CRect rc = ExtraPartRect(i);
    if (rc.IsRectEmpty()) continue;
    ODFillSolid(hDC, rc, m_crPartBk[i] != CLR_NONE ? m_crPartBk[i] : m_crImageBk);
    m_partImages[i].Draw(hDC, rc, 0);
    if (!m_strPartText[i].IsEmpty()) {
      HFONT font = ::CreateFontIndirectA(&m_font);
      CRect text = rc;
      text.DeflateRect(2, 1);
      m_partTexts[i].Draw(hDC, text, font);
      ::DeleteObject(font);
    }
  }
}

void CODMenuWnd::DrawEdges(HDC hDC, const CRect& rc) {
  const auto& mg = m_layout.m.margins;
  const CRect places[8] = {CRect(rc.left, rc.top + mg.top, rc.left + mg.left, rc.bottom - mg.bottom),
                           CRect(rc.right - mg.right, rc.top + mg.top, rc.right, rc.bottom - mg.bottom),
                           CRect(rc.left + mg.left, rc.top, rc.right - mg.right, rc.top + mg.top),
                           CRect(rc.left + mg.left, rc.bottom - mg.bottom, rc.right - mg.right, rc.bottom),
                           CRect(rc.left, rc.top, rc.left + mg.left, rc.top + mg.top),
                           CRect(rc.right - mg.right, rc.top, rc.right, rc.top + mg.top),
                           CRect(rc.left, rc.bottom - mg.bottom, rc.left + mg.left, rc.bottom),
                           CRect(rc.right - mg.right, rc.bottom - mg.bottom, rc.right, rc.bottom)};
  for (int i = 0; i < 8; ++i)
    if (!m_edges[i].IsEmpty() && !places[i].IsRectEmpty()) m_edges[i].Draw(hDC, places[i], 0);
}

int CODMenuWnd::AddItem(LPCSTR lpszCaption, UINT nID, LPCSTR lpszTip, BOOL bCommand, int nLevel) {
  if (nLevel < 0 || nLevel >= (int)m_levels.size()) return -1;
  if ((int)m_levels[nLevel].size() >= vesk::odctrls::MenuLayout::kMaxEntries) return -1;
  OD_MENU_ITEM* item = nullptr;
  if (lpszCaption && *lpszCaption) {
    item = new OD_MENU_ITEM;
    item->caption = lpszCaption;
    item->id = nID;
    item->tip = lpszTip ? lpszTip : "";
    item->command = bCommand;
    memcpy(item->colours, m_colours, sizeof(m_colours));
    item->font = m_font;
    item->imageList = m_hImageList;
  }
  m_levels[nLevel].push_back(item);
  m_subs[nLevel].push_back(nullptr);
  m_subDelete[nLevel].push_back(FALSE);
  return (int)m_levels[nLevel].size() - 1;
}

void CODMenuWnd::EnableItem(int nLevel, int nRow, BOOL bEnable) {
  if (OD_MENU_ITEM* item = ItemAt(nLevel, nRow)) {
    item->enabled = bEnable;
    item->state = bEnable ? 0 : 3;
  }
}

BOOL CODMenuWnd::SetItemImage(int nLevel, int nRow, int nWhich, LPCSTR lpszSpec) {
  OD_MENU_ITEM* item = ItemAt(nLevel, nRow);
  if (!item || nWhich < 0 || nWhich > 2) return FALSE;
  if (item->state == 2) StopItemAnimations(item);
  item->images[nWhich].Clear();
  if (lpszSpec && *lpszSpec) LoadThemeImageSpec(lpszSpec, &item->images[nWhich]);
  item->images[nWhich].SetDrawMode(nWhich == OD_MENU_ITEM::IMG_BACKGROUND ? CODThemeImage::DRAW_STRETCH
                                                                          : CODThemeImage::DRAW_SINGLE);
  return !item->images[nWhich].IsEmpty();
}

BOOL CODMenuWnd::SetItemListImages(int nLevel, int nRow, int nLeft, int nRight) {
  OD_MENU_ITEM* item = ItemAt(nLevel, nRow);
  if (!item) return FALSE;
  item->listLeft = nLeft;
  item->listRight = nRight;
  return TRUE;
}

void CODMenuWnd::StartItemAnimations(OD_MENU_ITEM* pItem) {
  if (!pItem || !m_hWnd) return;
  for (CODThemeImage& img : pItem->images) {
    if (img.IsEmpty() || !img.StartAnimation()) continue;
    size_t slot = 1;
    while (slot < m_anims.size() && m_anims[slot]) ++slot;
    if (slot >= m_anims.size()) m_anims.resize(slot + 1, nullptr);
    m_anims[slot] = &img;
    SetTimer(slot, 150, nullptr);
  }
}

void CODMenuWnd::StopItemAnimations(OD_MENU_ITEM* pItem) {
  if (!pItem) return;
  for (CODThemeImage& img : pItem->images) {
    for (size_t slot = 1; slot < m_anims.size(); ++slot)
      if (m_anims[slot] == &img) {
        if (m_hWnd) KillTimer(slot);
        m_anims[slot] = nullptr;
      }
    if (!img.IsEmpty()) img.StopAnimation(TRUE);
  }
}

CRect CODMenuWnd::HotItemRect() const {
  MenuRect er = m_layout.EntryRect(m_nHotColumn, m_nHotItem);
  CRect rc(er.left, er.top, er.right, er.bottom);
  rc.InflateRect(1, 1);
  return rc;
}

BOOL CODMenuWnd::AttachSubMenu(int nLevel, int nRow, CODMenuWnd* pSub, BOOL bDeleteOnDestroy) {
  if (!ItemAt(nLevel, nRow) || !pSub) return FALSE;
  m_subs[nLevel][nRow] = pSub;
  m_subDelete[nLevel][nRow] = bDeleteOnDestroy;
  pSub->m_pPrev = this;
  pSub->m_bRoot = FALSE;
  return TRUE;
}

CODMenuWnd* CODMenuWnd::GetSubMenu(int nLevel, int nRow) const {
  if (nLevel < 0 || nLevel >= (int)m_subs.size() || nRow < 0 || nRow >= (int)m_subs[nLevel].size()) return nullptr;
  return m_subs[nLevel][nRow];
}

OD_MENU_ITEM* CODMenuWnd::ItemAt(int nColumn, int nRow) const {
  if (nColumn < 0 || nColumn >= (int)m_levels.size() || nRow < 0 || nRow >= (int)m_levels[nColumn].size())
    return nullptr;
  return m_levels[nColumn][nRow];
}

void CODMenuWnd::SetParentFont() {
  CWnd* parent = m_pOwner;
  HFONT font = parent ? (HFONT)parent->SendMessage(WM_GETFONT) : nullptr;
  if (font) ::GetObjectA(font, sizeof(m_font), &m_font);
}

void CODMenuWnd::LayoutItems() {
  HDC dc = ::GetDC(m_hWnd);
  m_layout.m_columns.clear();
  for (const auto& level : m_levels) {
    std::vector<MenuEntry> col;
    for (OD_MENU_ITEM* item : level) {
      MenuEntry e;
      e.separator = item == nullptr;
      if (item) {
        HFONT font = ::CreateFontIndirectA(&item->font);
        HGDIOBJ old = ::SelectObject(dc, font);
        SIZE sz = {};
        ::GetTextExtentPoint32A(dc, item->caption, item->caption.GetLength(), &sz);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        e.textWidth = sz.cx;
        e.enabled = item->enabled;
        e.command = item->command;
      }
      col.push_back(e);
    }
    m_layout.m_columns.push_back(col);
  }
  ::ReleaseDC(m_hWnd, dc);
  m_layout.Layout();
}

void CODMenuWnd::Track(UINT nFlags, int x, int y, CWnd* pTarget) {
  if (!m_hWnd) return;
  m_pTarget = pTarget;
  LoadParts();
  LayoutItems();
  for (auto& level : m_levels)
    for (OD_MENU_ITEM* item : level)
      if (item && item->state == 2) {
        item->state = 0;
        StopItemAnimations(item);
      }
  m_nHotItem = m_nHotColumn = -1;
  const int w = m_layout.Width(), h = m_layout.Height();
  int edge = -1;
  MenuRect bar;
  APPBARDATA abd = {sizeof(abd)};
  if (::SHAppBarMessage(ABM_GETTASKBARPOS, &abd)) {
    edge = abd.uEdge == ABE_LEFT    ? vesk::odctrls::kEdgeLeft
           : abd.uEdge == ABE_RIGHT ? vesk::odctrls::kEdgeRight
           : abd.uEdge == ABE_TOP   ? vesk::odctrls::kEdgeTop
                                    : vesk::odctrls::kEdgeBottom;
    bar = MenuRect{abd.rc.left, abd.rc.top, abd.rc.right, abd.rc.bottom};
  }
  MenuRect area = vesk::odctrls::WorkArea(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), edge, bar);
  MenuRect rc;
  if (m_bRoot) {
    rc = vesk::odctrls::PlaceRootMenu(nFlags, x, y, w, h, area);
  } else {
    int prevLeft = 0;
    if (m_pPrev && m_pPrev->m_hWnd) {
      CRect pr;
      m_pPrev->GetWindowRect(&pr);
      prevLeft = pr.left;
    }
    rc = vesk::odctrls::PlaceSubMenu(x, y, w, h, area, m_pPrev ? &prevLeft : nullptr);
  }
  HWND after = m_pPrev && m_pPrev->m_hWnd ? m_pPrev->m_hWnd : HWND_TOP;
  ::SetWindowPos(m_hWnd, after, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW);
  ::SetForegroundWindow(m_hWnd);
  ::SetFocus(m_hWnd);
  Invalidate(FALSE);
}

void CODMenuWnd::Hide() {
  if (m_bRoot) return;
  if (m_pPrev && m_pPrev->m_hWnd) ::SetFocus(m_pPrev->m_hWnd);
  ShowWindow(SW_HIDE);
}

void CODMenuWnd::HideCascade() {
  for (auto& level : m_subs)
    for (CODMenuWnd* sub : level)
      if (sub && sub->m_hWnd && sub->IsWindowVisible()) sub->HideCascade();
  Hide();
}

void CODMenuWnd::OpenSubMenu(int nRow, int nColumn) {
  OD_MENU_ITEM* item = ItemAt(nColumn, nRow);
  CODMenuWnd* sub = GetSubMenu(nColumn, nRow);
  if (!item || !item->enabled || !sub || !sub->m_hWnd) return;
  CRect wr;
  GetWindowRect(&wr);
  MenuRect er = m_layout.EntryRect(nColumn, nRow);
  sub->Track(0, wr.left + er.right, wr.top + er.top, m_pTarget);
  sub->SetHot(0, sub->m_layout.NthEnabled(0, 1));
}

CODMenuWnd* CODMenuWnd::Root() {
  CODMenuWnd* m = this;
  for (int guard = 0; m->m_pPrev && guard < 64; ++guard) m = m->m_pPrev;
  return m;
}

BOOL CODMenuWnd::IsCascadeWindow(HWND hWnd) {
  if (!hWnd) return FALSE;
  if (hWnd == m_hWnd || (m_pTip && hWnd == m_pTip->m_hWnd)) return TRUE;
  for (auto& level : m_subs)
    for (CODMenuWnd* sub : level)
      if (sub && sub->IsCascadeWindow(hWnd)) return TRUE;
  return FALSE;
}

void CODMenuWnd::OnThemeChanged() {
  ApplyThemeColours();
  LoadEdges();
}

LRESULT CODMenuWnd::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_KEYDOWN:
      OnKeyDown((UINT)wParam);
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus((HWND)wParam);
      break;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_MOUSELEAVE:
      m_bMouseInside = FALSE;
      for (auto& level : m_levels)
        for (OD_MENU_ITEM* item : level)
          if (item && item->state == 2) {
            item->state = 0;
            StopItemAnimations(item);
          }
      Invalidate(FALSE);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

void CODMenuWnd::PaintWindow() {
  ODPaintClient(m_hWnd, [this](HDC dc, const CRect& rc) {
    ODFillSolid(dc, rc, m_crTextBk);
    ODFrame(dc, rc, m_painter[0], m_rcFrame.left > 0 ? m_rcFrame.left : 1);
    DrawEdges(dc, rc);
    DrawParts(dc);
    const auto& m = m_layout.m;
    const MenuRect inner = m_layout.Inner(rc.Width(), rc.Height());
    for (int c = 0; c < m_layout.Columns(); ++c) {
      int left = inner.left + c * (m_layout.m_columnWidth + m.columnGap);
      RECT image = {left, inner.top, left + m.leftGap + m.imageColumn, inner.bottom};
      ODFillSolid(dc, image, m_crImageBk);
      if (c > 0) {
        RECT gap = {left - m.columnGap, inner.top, left, inner.bottom};
        ODFillSolid(dc, gap, m_crColumn);
      }
      for (int r = 0; r < (int)m_levels[c].size(); ++r) {
        MenuRect er = m_layout.EntryRect(c, r);
        if (const OD_MENU_ITEM* item = m_levels[c][r]) {
          RECT ir = {er.left + m.leftGap, er.top, er.right - m.rightGap, er.bottom};
          DrawItem(dc, *item, ir);
        } else {
          int x = er.left + m.leftGap + (m_bIndentSeparators ? m.imageColumn + m.textGap : 0);
          int y = er.top + m.separatorHeight / 2;
          RECT upper = {x, y, er.right - m.rightGap, y + 1}, lower = {x, y + 1, er.right - m.rightGap, y + 2};
          ODFillSolid(dc, upper, m_crSepUpper);
          ODFillSolid(dc, lower, m_crSepLower);
        }
      }
    }
  });
}

// An image of a cell size centred in a column of the item, one pixel right and down.
static CRect CentredIn(int left, int width, const RECT& rc, int cx, int cy) {
  const int x = left + (width - cx) / 2 + 1, y = rc.top + ((rc.bottom - rc.top) - cy) / 2 + 1;
  return CRect(x, y, x + cx, y + cy);
}

void CODMenuWnd::DrawItem(HDC hDC, const OD_MENU_ITEM& item, const RECT& rc) {
  const int s = item.enabled ? item.state : 3;
  OD_MENU_ITEM& it = const_cast<OD_MENU_ITEM&>(item);  // images advance their frames
  if (item.colours[0][s] != CLR_NONE) ODFillSolid(hDC, rc, item.colours[0][s]);
  it.images[OD_MENU_ITEM::IMG_BACKGROUND].Draw(hDC, rc, s);
  if (item.colours[1][s] != CLR_NONE) ODFrame(hDC, rc, item.colours[1][s], 1);
  const auto& m = m_layout.m;
  // Left column: the icon image, else the shared list's icon.
  CODThemeImage& icon = it.images[OD_MENU_ITEM::IMG_ICON];
  int listCx = 0, listCy = 0;
  if (item.imageList) ::ImageList_GetIconSize(item.imageList, &listCx, &listCy);
  if (!icon.IsEmpty()) {
    CRect ir = CentredIn(rc.left, m.imageColumn, rc, icon.GetCellWidth(), icon.GetCellHeight());
    icon.Draw(hDC, ir, s);
    if (item.colours[3][s] != CLR_NONE)
      ODFrame(hDC, CRect(ir.left - 1, ir.top - 1, ir.right + 1, ir.bottom + 1), item.colours[3][s], 1);
  } else if (item.imageList && item.listLeft >= 0) {
    CRect ir = CentredIn(rc.left, m.imageColumn, rc, listCx, listCy);
    ::ImageList_Draw(item.imageList, item.listLeft, hDC, ir.left, ir.top, ILD_TRANSPARENT);
  }
  HFONT font = ::CreateFontIndirectA(&item.font);
  HGDIOBJ old = ::SelectObject(hDC, font);
  ::SetBkMode(hDC, TRANSPARENT);
  COLORREF text = item.colours[2][s];
  ::SetTextColor(hDC, text == CLR_NONE ? RGB(0, 0, 0) : text);
  RECT tr = {rc.left + m.imageColumn + m.textGap, rc.top + 1, rc.right - m.rightColumn, rc.bottom - 1};
  ::DrawTextA(hDC, item.caption, -1, &tr, DT_SINGLELINE | DT_VCENTER);
  ::SelectObject(hDC, old);
  ::DeleteObject(font);
  // Right column: the sub-menu mark, else the shared list's mark.
  CODThemeImage& mark = it.images[OD_MENU_ITEM::IMG_MARK];
  const int right = rc.right - m.rightColumn;
  if (!mark.IsEmpty())
    mark.Draw(hDC, CentredIn(right, m.rightColumn, rc, mark.GetCellWidth(), mark.GetCellHeight()), s);
  else if (item.imageList && item.listRight >= 0) {
    CRect mr = CentredIn(right, m.rightColumn, rc, listCx, listCy);
    ::ImageList_Draw(item.imageList, item.listRight, hDC, mr.left, mr.top, ILD_TRANSPARENT);
  }
}

void CODMenuWnd::SetHot(int nColumn, int nRow) {
  if (OD_MENU_ITEM* prev = ItemAt(m_nHotColumn, m_nHotItem)) {
    if (prev->state == 2) prev->state = 0;
    StopItemAnimations(prev);
  }
  m_nHotColumn = nColumn;
  m_nHotItem = nRow;
  if (OD_MENU_ITEM* item = ItemAt(nColumn, nRow)) {
    item->state = 2;
    StartItemAnimations(item);
  }
  Invalidate(FALSE);
}

void CODMenuWnd::OnMouseMove(CPoint pt) {
  if (pt == m_ptLast && m_bMouseInside) return;
  m_ptLast = pt;
  if (!m_bMouseInside) {
    m_bMouseInside = TRUE;
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
  }
  int c = -1, r = -1;
  const int oldC = m_nHotColumn, oldR = m_nHotItem;
  if (!m_layout.HitTest(pt.x, pt.y, &c, &r)) {
    if (oldR >= 0) {
      if (CODMenuWnd* sub = GetSubMenu(oldC, oldR))
        if (sub->m_hWnd && sub->IsWindowVisible()) {
          m_nPendingColumn = oldC;
          m_nPendingRow = oldR;
          SetTimer(kCloseSubTimer, m_nDelay, nullptr);
        }
      SetHot(-1, -1);
    }
    KillTimer(kOpenSubTimer);
    return;
  }
  OD_MENU_ITEM* item = ItemAt(c, r);
  if (m_pTip) m_pTip->SetToolText(item->tip.IsEmpty() ? m_strTip : item->tip, this, 0);
  if (c == oldC && r == oldR) return;
  SetHot(c, r);
  if (GetSubMenu(c, r)) {
    if (m_nPendingColumn == c && m_nPendingRow == r) KillTimer(kCloseSubTimer);
    SetTimer(kOpenSubTimer, m_nDelay, nullptr);
  } else {
    KillTimer(kOpenSubTimer);
  }
}

void CODMenuWnd::Execute(int nColumn, int nRow) {
  OD_MENU_ITEM* item = ItemAt(nColumn, nRow);
  if (!item || !item->enabled) return;
  if (GetSubMenu(nColumn, nRow) && !item->command) return;
  if (m_pTarget && ::IsWindow(m_pTarget->m_hWnd)) m_pTarget->PostMessage(WM_COMMAND, item->id, 0);
  CODMenuWnd* root = Root();
  if (root->m_hWnd) root->DestroyWindow();
}

void CODMenuWnd::OnLButtonUp(CPoint pt) {
  int c, r;
  if (m_layout.HitTest(pt.x, pt.y, &c, &r)) Execute(c, r);
}

void CODMenuWnd::OnKeyDown(UINT nKey) {
  int c = m_nHotColumn, r = m_nHotItem;
  const BOOL ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
  switch (nKey) {
    case VK_UP:
    case VK_BACK:
      m_layout.Step(&c, &r, -1);
      break;
    case VK_DOWN:
    case VK_TAB:
      m_layout.Step(&c, &r, 1);
      break;
    case VK_HOME:
      c = 0;
      r = m_layout.NthEnabled(0, 1);
      break;
    case VK_END: {
      c = m_layout.Columns() - 1;
      r = (int)m_levels[c < 0 ? 0 : c].size();
      m_layout.Step(&c, &r, -1);
      break;
    }
    case VK_RIGHT:
      OpenSubMenu(r, c);
      return;
    case VK_LEFT:
      Hide();
      return;
    case VK_ESCAPE: {
      CODMenuWnd* root = Root();
      if (root->m_hWnd) root->DestroyWindow();
      return;
    }
    case VK_RETURN:
      if (GetSubMenu(c, r))
        OpenSubMenu(r, c);
      else
        Execute(c, r);
      return;
    default:
      if (nKey >= '1' && nKey <= '9') {
        int n = m_layout.NthEnabled(c < 0 ? 0 : c, nKey - '0');
        if (n < 0) return;
        c = c < 0 ? 0 : c;
        r = n;
        SetHot(c, r);
        if (!ctrl)
          OpenSubMenu(r, c);
        else if (ItemAt(c, r)->command && !GetSubMenu(c, r))
          Execute(c, r);
        return;
      }
      return;
  }
  SetHot(c, r);
}

void CODMenuWnd::OnKillFocus(HWND hNew) {
  if (!IsWindowVisible()) return;
  CODMenuWnd* root = Root();
  if (root->IsCascadeWindow(hNew) || root->m_bClosing) return;
  root->PostMessage(WM_CLOSE);
}

void CODMenuWnd::OnTimer(UINT_PTR nID) {
  if (nID < m_anims.size()) {
    if (m_anims[nID]) {
      m_anims[nID]->OnAnimationTimer();
      InvalidateRect(HotItemRect(), FALSE);
    }
  } else if (nID >= kPartImageTimer && nID < kPartImageTimer + 4) {
    const int i = int(nID - kPartImageTimer);
    if (m_bPart[i] && !m_partImages[i].IsEmpty()) {
      m_partImages[i].OnAnimationTimer();
      InvalidateRect(ExtraPartRect(i), FALSE);
    }
  } else if (nID >= kPartTextTimer && nID < kPartTextTimer + 4) {
    const int i = int(nID - kPartTextTimer);
    if (m_bPart[i] && !m_partImages[i].IsEmpty()) {
      m_partTexts[i].MoveStep();
      InvalidateRect(ExtraPartRect(i), FALSE);
    }
  } else if (nID == kOpenSubTimer) {
    KillTimer(kOpenSubTimer);
    for (auto& level : m_subs)
      for (CODMenuWnd* sub : level)
        if (sub && sub->m_hWnd && sub->IsWindowVisible()) sub->HideCascade();
    if (IsWindowVisible()) OpenSubMenu(m_nHotItem, m_nHotColumn);
  } else if (nID == kCloseSubTimer) {
    KillTimer(kCloseSubTimer);
    if (CODMenuWnd* sub = GetSubMenu(m_nPendingColumn, m_nPendingRow)) sub->HideCascade();
    ::SetFocus(m_hWnd);
  }
}

void CODMenuWnd::OnDestroy() {
  m_bClosing = TRUE;
  if (m_bDestroying) return;
  m_bDestroying = TRUE;
  KillTimer(kOpenSubTimer);
  KillTimer(kCloseSubTimer);
  if (m_bRoot && m_pOwner && ::IsWindow(m_pOwner->m_hWnd)) ::SetFocus(m_pOwner->m_hWnd);
  StopParts();
  for (size_t slot = 1; slot < m_anims.size(); ++slot)
    if (m_anims[slot]) KillTimer(slot);
  m_anims.clear();
  for (auto& level : m_levels)
    for (OD_MENU_ITEM* item : level) delete item;
  m_levels.clear();
  for (size_t l = 0; l < m_subs.size(); ++l)
    for (size_t r = 0; r < m_subs[l].size(); ++r) {
      CODMenuWnd* sub = m_subs[l][r];
      if (!sub) continue;
      if (sub->m_hWnd) sub->DestroyWindow();
      if (m_subDelete[l][r]) delete sub;
    }
  m_subs.clear();
  m_subDelete.clear();
  if (m_pTip && m_pTip->m_hWnd) m_pTip->DestroyWindow();
  CWnd::WindowProc(WM_DESTROY, 0, 0);
  m_bDestroying = FALSE;
}

void CODMenuWnd::PostNcDestroy() {
  // A root menu made with the delete flag goes with its window; otherwise it can be made again.
  if (m_bRoot && m_bDeleteOnDestroy) {
    delete this;
    return;
  }
  BOOL root = m_bRoot;
  CODMenuWnd* prev = m_pPrev;
  CString tip = m_strTip;
  ResetToStart();
  m_bRoot = root;
  m_pPrev = prev;
  m_strTip = tip;
}
