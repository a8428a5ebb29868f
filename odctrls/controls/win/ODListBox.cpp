#include "ODListBox.h"

#include <windowsx.h>

#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeSections.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_listboxLoader = (SetThemeClassLoader("ODListBox", &LoadODListBoxTheme), true);
}  // namespace

IMPLEMENT_DYNCREATE(CODListBox, CODScrollCtrl)

CODListBox::CODListBox()
    : m_nTextMargin(4),
      m_nHot(-1),
      m_nLastWidth(0),
      m_pImages(nullptr),
      m_nTextIndent(2),
      m_hFont(nullptr),
      m_bNotify(TRUE) {
  for (BOOL& k : m_bKeep) k = FALSE;
  ReloadColours();
}

CODListBox::~CODListBox() {
  if (m_hWnd) DestroyWindow();
  if (m_hFont) ::DeleteObject(m_hFont);
  delete m_pImages;
}

BOOL CODListBox::SetImageList(HBITMAP hStrip, int nFrames) {
  delete m_pImages;
  m_pImages = nullptr;
  if (hStrip) {
    m_pImages = new CImageStrip;
    if (!m_pImages->Load(hStrip, nFrames)) {
      delete m_pImages;
      m_pImages = nullptr;
      return FALSE;
    }
  }
  if (m_hWnd) Invalidate(FALSE);
  return TRUE;
}

BOOL CODListBox::SetItemImage(int nIndex, int nImage, int nPlacement) {
  if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
  m_model.m_items[nIndex].image = nImage < 0 ? -1 : nImage;
  m_model.m_items[nIndex].placement = nPlacement == 1 ? 1 : 0;
  if (m_hWnd) Invalidate(FALSE);
  return TRUE;
}

int CODListBox::DrawItemImage(HDC dc, const RECT& ir, const vesk::odctrls::ListBoxItem& item) {
  const int left = ir.left + m_nTextMargin;
  if (item.image < 0 || !m_pImages || item.image >= m_pImages->GetFrameCount()) return left;
  // A selected item's image takes the selected background's tint.
  m_pImages->SetTintColor(m_colours[1]);
  const int y = ir.top + (ir.bottom - ir.top - m_pImages->GetFrameHeight()) / 2;
  m_pImages->DrawFrame(
      dc, item.image, left, y,
      item.selected ? CImageStrip::DRAW_KEYED | CImageStrip::DRAW_TINT_STRONG : CImageStrip::DRAW_KEYED);
  return item.placement == 1 ? left : left + m_pImages->GetFrameWidth() + m_nTextIndent;
}

BOOL CODListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  m_model.m_style = (int)(dwStyle & 0xFFFF);
  // Inside a scroll-bar container the container's bars serve; else the window's own.
  const BOOL hosted = pParentWnd && pParentWnd->GetRuntimeClass() &&
                      lstrcmpA(pParentWnd->GetRuntimeClass()->m_lpszClassName, "CSBContainerWnd") == 0;
  return CODScrollCtrl::Create((dwStyle & 0xFFFF0000) | (hosted ? 0 : WS_VSCROLL), rect, pParentWnd, nID);
}

void CODListBox::ReloadColours() {
  const ODListBoxTheme& t = ODListBoxValues();
  const COLORREF src[5] = {t.crNormalBk, t.crSelBk, t.crNormalText, t.crSelText, t.crHotText};
  for (int i = 0; i < 5; ++i)
    if (!m_bKeep[i]) m_colours[i] = src[i];
}

void CODListBox::SetColour(int nIndex, COLORREF cr) {
  if (nIndex < 0 || nIndex > 4) return;
  m_colours[nIndex] = cr;
  m_bKeep[nIndex] = TRUE;
  if (m_hWnd) Invalidate(FALSE);
}

int CODListBox::OnCreate(LPCREATESTRUCT) {
  ReloadColours();
  m_hFont = ODCreateFont(12);
  if (m_model.m_style & vesk::odctrls::kLbsOwnerDrawFixed) {
    MEASUREITEMSTRUCT mis = {ODT_LISTBOX, (UINT)GetDlgCtrlID(), 0, 0, 12, 0};
    MeasureItem(&mis);
    // The measured height is kept; a measure that gives nothing leaves the default.
    if (mis.itemHeight > 0 && mis.itemHeight < 1000) m_model.m_itemHeight = (int)mis.itemHeight;
  } else {
    m_model.m_itemHeight = 18;
  }
  ODMarkWindow(m_hWnd, "ODListBox", 0x1006);
  UpdateSizes();
  return 0;
}

void CODListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_MEASUREITEM, lpMIS->CtlID, (LPARAM)lpMIS);
}

void CODListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_DRAWITEM, lpDIS->CtlID, (LPARAM)lpDIS);
}

void CODListBox::UpdateSizes() {
  if (!m_hWnd) return;
  CRect rc;
  GetClientRect(&rc);
  SIZE total = {rc.Width() > 0 ? rc.Width() : 1, m_model.TotalHeight()};
  SIZE page = {rc.Width(), rc.Height()};
  SIZE line = {1, m_model.m_itemHeight};
  SetScrollSizes(MM_TEXT, total, page, line);
  Invalidate(FALSE);
}

int CODListBox::AddString(LPCSTR lpszItem) {
  int i = m_model.Add(lpszItem ? lpszItem : "");
  if (i < 0) return LB_ERRSPACE;
  if ((m_model.m_style & vesk::odctrls::kLbsOwnerDrawVariable) && m_hWnd) {
    MEASUREITEMSTRUCT mis = {ODT_LISTBOX, (UINT)GetDlgCtrlID(), (UINT)i, 0, (UINT)m_model.m_itemHeight, 0};
    MeasureItem(&mis);
    m_model.m_items[i].height = (int)mis.itemHeight;
  }
  UpdateSizes();
  return i;
}

CString CODListBox::GetText(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCount()) return CString();
  return CString(m_model.m_items[nIndex].text.c_str());
}

int CODListBox::SetCurSel(int nIndex) {
  if (!m_model.SetCurSel(nIndex)) return LB_ERR;
  EnsureVisible(nIndex);
  Notify(LBN_SELCHANGE);
  if (m_hWnd) Invalidate(FALSE);
  return m_model.CurSel();
}

void CODListBox::EnsureVisible(int nIndex) {
  if (!m_hWnd) return;
  CRect rc;
  GetClientRect(&rc);
  int target = m_model.ScrollFor(nIndex, m_v.pos, rc.Height());
  ScrollBy(0, target - m_v.pos, TRUE);
}

void CODListBox::Notify(UINT nCode) {
  CWnd* parent = GetParent();
  if (!m_bNotify || !parent || !m_hWnd) return;
  parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), (LPARAM)m_hWnd);
}

void CODListBox::OnThemeChanged() {
  LoadODListBoxTheme();
  ReloadColours();
}

LRESULT CODListBox::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (CODScrollCtrl::OnODMessage(message, wParam, lParam) == -1) return -1;
      return OnCreate((LPCREATESTRUCT)lParam);
    case WM_LBUTTONDOWN:
      OnLButtonDown((UINT)wParam, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONDBLCLK:
      Notify(LBN_DBLCLK);
      break;
    case WM_KEYDOWN:
      OnKeyDown((UINT)wParam);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case LB_GETCURSEL:
      return GetCurSel();
    case LB_SETCURSEL:
      return SetCurSel((int)wParam);
    case LB_GETCOUNT:
      return GetCount();
    case LB_GETTOPINDEX:
      return m_model.FirstVisible(m_v.pos);
    case LB_ADDSTRING:
      return AddString((LPCSTR)lParam);
    case LB_GETTEXT: {
      CString s = GetText((int)wParam);
      if ((int)wParam < 0 || (int)wParam >= GetCount()) return LB_ERR;
      lstrcpyA((LPSTR)lParam, s);  // the caller's buffer is sized by LB_GETTEXTLEN
      return s.GetLength();
    }
    case LB_GETTEXTLEN:
      return (int)wParam >= 0 && (int)wParam < GetCount() ? GetText((int)wParam).GetLength() : LB_ERR;
    case WM_SIZE: {
      LRESULT r = CODScrollCtrl::OnODMessage(message, wParam, lParam);
      if ((m_model.m_style & vesk::odctrls::kLbsOwnerDrawVariable) && LOWORD(lParam) != m_nLastWidth) {
        for (int i = 0; i < GetCount(); ++i) {
          MEASUREITEMSTRUCT mis = {ODT_LISTBOX, (UINT)GetDlgCtrlID(), (UINT)i, 0, (UINT)m_model.m_itemHeight, 0};
          MeasureItem(&mis);
          m_model.m_items[i].height = (int)mis.itemHeight;
        }
      }
      m_nLastWidth = LOWORD(lParam);
      UpdateSizes();
      return r;
    }
  }
  return CODScrollCtrl::OnODMessage(message, wParam, lParam);
}

void CODListBox::OnLButtonDown(UINT nFlags, CPoint pt) {
  SetFocus();
  int hit = m_model.HitTest(pt.y, m_v.pos);
  if (hit < 0) return;
  m_model.Click(hit, (nFlags & MK_CONTROL) != 0, (nFlags & MK_SHIFT) != 0);
  Notify(LBN_ODCLICK);
  Notify(LBN_SELCHANGE);
  Invalidate(FALSE);
}

void CODListBox::OnMouseMove(CPoint pt) {
  int hit = m_model.HitTest(pt.y, m_v.pos);
  if (hit == m_nHot) return;
  m_nHot = hit;
  if (hit >= 0 && !(m_model.m_style & (vesk::odctrls::kLbsMultipleSel | vesk::odctrls::kLbsExtendedSel)))
    m_model.SelectOnly(hit);
  Invalidate(FALSE);
}

void CODListBox::OnKeyDown(UINT nKey) {
  if (nKey != VK_UP && nKey != VK_DOWN) return;
  int before = m_model.CurSel();
  int now = m_model.Move(nKey == VK_UP ? -1 : 1);
  m_nHot = now;
  EnsureVisible(now);
  if (now != before) Notify(LBN_SELCHANGE);
  Invalidate(FALSE);
}

void CODListBox::OnDraw(CDC* pDC) {
  HDC dc = pDC->m_hDC;
  CRect rc;
  GetClientRect(&rc);
  rc.OffsetRect(m_h.pos, m_v.pos);
  const int first = m_model.FirstVisible(m_v.pos);
  if (m_model.m_style & (vesk::odctrls::kLbsOwnerDrawFixed | vesk::odctrls::kLbsOwnerDrawVariable)) {
    DRAWITEMSTRUCT dis = {ODT_LISTBOX, (UINT)GetDlgCtrlID(), (UINT)-1, ODA_DRAWENTIRE, 0, m_hWnd, dc, rc, 0};
    DrawItem(&dis);
    for (int i = first < 0 ? 0 : first; i < GetCount(); ++i) {
      int top = m_model.ItemTop(i);
      if (top > rc.bottom) break;
      DRAWITEMSTRUCT d = {ODT_LISTBOX,
                          (UINT)GetDlgCtrlID(),
                          (UINT)i,
                          ODA_SELECT,
                          0,
                          m_hWnd,
                          dc,
                          {rc.left, top, rc.right, top + m_model.ItemHeight(i)},
                          (ULONG_PTR)m_model.m_items[i].data};
      if (m_model.m_items[i].selected) d.itemState |= ODS_SELECTED;
      if (i == m_nHot) d.itemState |= 0x40;
      DrawItem(&d);
    }
    return;
  }
  if (!m_hBackground)
    ODFillSolid(dc, rc, m_colours[0]);
  else
    DrawBackground(dc, rc);
  HGDIOBJ old = ::SelectObject(dc, m_hFont);
  ::SetBkMode(dc, TRANSPARENT);
  for (int i = first < 0 ? 0 : first; i < GetCount(); ++i) {
    int top = m_model.ItemTop(i);
    if (top > rc.bottom) break;
    const auto& item = m_model.m_items[i];
    RECT ir = {rc.left, top, rc.right, top + m_model.ItemHeight(i)};
    const BOOL lit = item.selected || i == m_nHot;
    // The fill first, then the image and the text over it.
    ODFillSolid(dc, ir, lit ? m_colours[1] : m_colours[0]);
    const int textLeft = DrawItemImage(dc, ir, item);
    ::SetTextColor(dc, i == m_nHot ? m_colours[4] : item.selected ? m_colours[3] : m_colours[2]);
    RECT tr = {textLeft, ir.top, ir.right, ir.bottom};
    ::DrawTextA(dc, item.text.c_str(), (int)item.text.size(), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  ::SelectObject(dc, old);
}
