#include "ODTabCtrl.h"

#include "ListBoxModel.h"
#include "ODMemDC.h"
#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeSections.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_tabctrlLoader = (SetThemeClassLoader("ODTabCtrl", &LoadODTabTheme), true);
}  // namespace

// ---- the up-down child -------------------------------------------------------------------

CODTabUpDown::CODTabUpDown()
    : CODPaintedWnd<CWnd>(nullptr, 0), m_nPos(0), m_nMin(0), m_nMax(100), m_nLimit(2), m_nPressed(0) {}

void CODTabUpDown::Halves(CRect* pFirst, CRect* pSecond) const {
  CRect rc;
  GetClientRect(&rc);
  *pFirst = *pSecond = rc;
  if (GetStyle() & UDS_HORZ)
    pFirst->right = pSecond->left = rc.left + rc.Width() / 2;
  else
    pFirst->bottom = pSecond->top = rc.top + rc.Height() / 2;
}

BOOL CODTabUpDown::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == UDN_DELTAPOS) {
    NMUPDOWN* ud = (NMUPDOWN*)lParam;
    int pos = m_nPos;
    BOOL refuse = vesk::odctrls::UpDownDelta(&pos, ud->iDelta, m_nMin, m_nMax, &m_nLimit);
    if (!refuse) {
      m_nPos = pos;
      Invalidate(FALSE);
    }
    if (pResult) *pResult = refuse ? 1 : 0;
    return refuse;  // an allowed change goes on to the tab control
  }
  return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CODTabUpDown::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      CRect a, b;
      Halves(&a, &b);
      CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
      m_nPressed = a.PtInRect(pt) ? 1 : b.PtInRect(pt) ? 2 : 0;
      break;
    }
    case WM_LBUTTONUP: {
      m_nPressed = 0;
      Invalidate(FALSE);
      UpdateWindow();
      break;
    }
    case WM_COMMAND:
      // The halves' commands act as a click where the cursor is.
      if (LOWORD(wParam) == 100 || LOWORD(wParam) == 101) {
        POINT pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        return 0;
      }
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

void CODTabUpDown::PaintWindow() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  const ODTabTheme& t = ODTabValues();
  CRect halves[2];
  Halves(&halves[0], &halves[1]);
  const BOOL horz = (GetStyle() & UDS_HORZ) != 0;
  for (int i = 0; i < 2; ++i) {
    const BOOL in = m_nPressed == i + 1;
    // Left/right flip images for a horizontal child, top/bottom for a vertical one.
    int image = t.nFlip[(horz ? (i == 0 ? 0 : 2) : (i == 0 ? 4 : 6)) + (in ? 1 : 0)];
    HBITMAP bmp = image ? LoadThemeBitmap(image, "QKImage") : nullptr;
    if (bmp) {
      HDC mem = ::CreateCompatibleDC(dc);
      HGDIOBJ old = ::SelectObject(mem, bmp);
      BITMAP bm = {};
      ::GetObjectA(bmp, sizeof(bm), &bm);
      ::StretchBlt(dc, halves[i].left, halves[i].top, halves[i].Width(), halves[i].Height(), mem, 0, 0, bm.bmWidth,
                   bm.bmHeight, SRCCOPY);
      ::SelectObject(mem, old);
      ::DeleteDC(mem);
      ::DeleteObject(bmp);
      continue;
    }
    ODFillSolid(dc, halves[i], in ? t.crSelTab : t.crBackTab);
    ODFrame(dc, halves[i], t.crBorder, 1);
    // A small triangle points the way the half flips.
    CPoint c = halves[i].CenterPoint();
    POINT tri[3];
    if (horz) {
      int d = i == 0 ? -3 : 3;
      tri[0] = {c.x + d, c.y};
      tri[1] = {c.x - d, c.y - 4};
      tri[2] = {c.x - d, c.y + 4};
    } else {
      int d = i == 0 ? -3 : 3;
      tri[0] = {c.x, c.y + d};
      tri[1] = {c.x - 4, c.y - d};
      tri[2] = {c.x + 4, c.y - d};
    }
    HBRUSH br = ::CreateSolidBrush(t.crBorder);
    HGDIOBJ ob = ::SelectObject(dc, br);
    HGDIOBJ op = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    ::Polygon(dc, tri, 3);
    ::SelectObject(dc, op);
    ::SelectObject(dc, ob);
    ::DeleteObject(br);
  }
  ::EndPaint(m_hWnd, &ps);
}

// ---- the tab control -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODTabCtrl, CTabCtrl)

CODTabCtrl::CODTabCtrl()
    : CODPaintedWnd<CTabCtrl>("ODTabCtrl", 0x100F), m_crBack(::GetSysColor(COLOR_BTNFACE)), m_bFoundUpDown(FALSE) {
  memset(&m_font, 0, sizeof(m_font));
  m_font.lfHeight = -12;
  m_font.lfCharSet = GB2312_CHARSET;
  lstrcpyA(m_font.lfFaceName, VESK_FACE_SONG);
}

CODTabCtrl::~CODTabCtrl() {
  if (m_upDown.m_hWnd) m_upDown.UnsubclassWindow();
}

BOOL CODTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CTabCtrl::Create(dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID);
}

LRESULT CODTabCtrl::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TCM_INSERTITEMA:
    case TCM_INSERTITEMW:
    case WM_SIZE: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      FindUpDown();
      return r;
    }
  }
  return DefaultProc(message, wParam, lParam);
}

void CODTabCtrl::FindUpDown() {
  if (m_bFoundUpDown) return;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char cls[32] = {};
    ::GetClassNameA(child, cls, sizeof(cls));
    if (lstrcmpiA(cls, "msctls_updown32") == 0) {
      m_bFoundUpDown = m_upDown.SubclassWindow(child);
      int count = GetItemCount();
      m_upDown.SetRange(0, count > 0 ? count - 1 : 0);
      return;
    }
  }
}

void CODTabCtrl::PaintWindow() {
  ODPaintClient(m_hWnd, [this](HDC dc, const CRect& rc) {
    ODFillSolid(dc, rc, m_crBack);
    LOGFONTA lf = m_font;
    const BOOL vertical = (GetStyle() & TCS_VERTICAL) != 0;
    if (vertical) lf.lfEscapement = lf.lfOrientation = 900;
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    UINT oldAlign = vertical ? ::SetTextAlign(dc, TA_RIGHT) : ::GetTextAlign(dc);
    OD_TAB_DRAW draw = {101, (UINT)GetDlgCtrlID(), m_hWnd, dc, -1, FALSE, {}};
    CRect body = rc;
    AdjustRect(FALSE, &body);
    body.top -= 2;
    draw.rcItem = body;
    DrawBody(draw);
    const int sel = GetCurSel();
    for (int i = GetItemCount() - 1; i >= 0; --i) {
      if (i == sel) continue;
      draw.nItem = i;
      draw.bSelected = FALSE;
      GetItemRect(i, &draw.rcItem);
      DrawTabFrame(draw);
      DrawTabContent(draw);
    }
    if (sel >= 0) {
      draw.nItem = sel;
      draw.bSelected = TRUE;
      GetItemRect(sel, &draw.rcItem);
      DrawTabFrame(draw);
      DrawTabContent(draw);
    }
    ::SetTextAlign(dc, oldAlign);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
  });
}

void CODTabCtrl::DrawBody(const OD_TAB_DRAW& d) {
  const ODTabTheme& t = ODTabValues();
  HBITMAP bmp = t.nDefBkImage ? LoadThemeBitmap(t.nDefBkImage, "QKImage") : nullptr;
  if (bmp) {
    extern void DrawBitmapTiled(HDC, const RECT&, HBITMAP, int);
    DrawBitmapTiled(d.hDC, d.rcItem, bmp, 3);
    ::DeleteObject(bmp);
  } else {
    ODFillSolid(d.hDC, d.rcItem, t.crSelTab);
  }
  ODFrame(d.hDC, d.rcItem, t.crBorder, 1);
}

void CODTabCtrl::DrawTabFrame(const OD_TAB_DRAW& d) {
  const ODTabTheme& t = ODTabValues();
  CRect r = d.rcItem;
  if (d.bSelected) r.InflateRect(2, 2, 2, 1);
  ODFillSolid(d.hDC, r, d.bSelected ? t.crSelTab : t.crBackTab);
  ODFrame(d.hDC, r, t.crBorder, 1);
  if (d.bSelected) {
    // The selected tab opens into the body.
    RECT join = {r.left + 1, r.bottom - 1, r.right - 1, r.bottom + 1};
    ODFillSolid(d.hDC, join, t.crSelTab);
  }
}

void CODTabCtrl::DrawTabContent(const OD_TAB_DRAW& d) {
  const ODTabTheme& t = ODTabValues();
  char text[128] = {};
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  GetItem(d.nItem, &item);
  ::SetBkMode(d.hDC, TRANSPARENT);
  ::SetTextColor(d.hDC, d.bSelected ? t.crTabText : t.crBackTabText);
  RECT r = d.rcItem;
  if (GetStyle() & TCS_VERTICAL) {
    SIZE sz = {};
    ::GetTextExtentPoint32A(d.hDC, text, lstrlenA(text), &sz);
    ::TextOutA(d.hDC, r.left + (r.right - r.left - sz.cy) / 2, r.top + (r.bottom - r.top - sz.cx) / 2, text,
               lstrlenA(text));
  } else {
    ::DrawTextA(d.hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}
