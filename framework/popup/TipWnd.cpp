#include "TipWnd.h"

#include <algorithm>

#include "DibImage.h"
#include "QKBitmap.h"
#include "resource.h"

namespace {
const UINT kFirstPiece = 29664;  // top-left corner .. close button strip (29673)
const int kCloseMargin = 4;
// "温馨提示" in the program's code page.
const char kTipCaption[] = "\xCE\xC2\xDC\xB0\xCC\xE1\xCA\xBE";

// The pieces are tiled as they are, the last tiles cut at the area's edges.
void TileBitmap(CDC* pDC, HBITMAP h, CSize size, const CRect& area) {
  if (!h || size.cx <= 0 || size.cy <= 0) return;
  DrawBitmapMode(pDC->GetSafeHdc(), area, h, 3, nullptr);
}

// A corner's see-through colour is its outermost pixel (magenta in the library's pieces).
void DrawCorner(CDC* pDC, HBITMAP h, CSize size, int x, int y, bool right, bool bottom) {
  CRect to(x, y, x + size.cx, y + size.cy);
  DrawBitmapKeyedAtOrigin(pDC, to, h, CPoint(right ? size.cx - 1 : 0, bottom ? size.cy - 1 : 0));
}
}  // namespace

BEGIN_MESSAGE_MAP(CSkinPopupDlg, CDialog)
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_NCACTIVATE()
  ON_WM_NCHITTEST()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONUP()
  ON_WM_NCRBUTTONUP()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CSkinPopupDlg::CSkinPopupDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CSkinPopupDlg::~CSkinPopupDlg() { FreePieces(); }

void CSkinPopupDlg::FreePieces() {
  for (HBITMAP& h : m_hPiece) {
    if (h) ::DeleteObject(h);
    h = nullptr;
  }
}

BOOL CSkinPopupDlg::LoadPieces() {
  FreePieces();
  HINSTANCE res = AfxGetResourceHandle();
  for (int i = 0; i < PIECES; ++i) {
    m_hPiece[i] = ::LoadBitmapA(res, MAKEINTRESOURCEA(kFirstPiece + i));
    BITMAP bm = {};
    if (!m_hPiece[i] || !::GetObjectA(m_hPiece[i], sizeof bm, &bm)) return FALSE;
    m_size[i] = CSize(bm.bmWidth, bm.bmHeight);
  }
  return TRUE;
}

BOOL CSkinPopupDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ModifyStyle(WS_SYSMENU | WS_BORDER, 0);
  return TRUE;
}

void CSkinPopupDlg::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* p) {
  RECT& r = p->rgrc[0];
  r.left += m_size[LEFT].cx;
  r.right -= m_size[RIGHT].cx;
  r.top += m_size[TOP].cy;
  r.bottom -= m_size[BOTTOM].cy;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
}

CRect CSkinPopupDlg::CloseButtonRect() const {
  CRect w;
  GetWindowRect(&w);
  const int cw = m_size[CLOSE].cx / 4, ch = m_size[CLOSE].cy;
  const int right = w.Width() - m_size[RIGHT].cx - kCloseMargin;
  const int top = (m_size[TL].cy / 2 - ch) / 2;
  return CRect(right - cw, top, right, top + ch);
}

LRESULT CSkinPopupDlg::OnNcHitTest(CPoint point) {
  if (m_bPressed && ::GetKeyState(VK_LBUTTON) >= 0) m_bPressed = FALSE;
  CRect w;
  GetWindowRect(&w);
  CPoint p(point.x - w.left, point.y - w.top);
  CRect client(m_size[LEFT].cx, m_size[TOP].cy, w.Width() - m_size[RIGHT].cx, w.Height() - m_size[BOTTOM].cy);
  BOOL hot = CloseButtonRect().PtInRect(p) && !client.PtInRect(p);
  if (hot != m_bHover) {
    m_bHover = hot;
    PaintFrameNow();
  }
  if (client.PtInRect(p)) return HTCLIENT;
  if (hot) return HTSYSMENU;
  CRect caption(m_size[LEFT].cx, 4, w.Width() - m_size[RIGHT].cx, 4 + m_size[TOP].cy);
  return caption.PtInRect(p) ? HTCAPTION : HTNOWHERE;
}

void CSkinPopupDlg::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  m_bPressed = nHitTest == HTSYSMENU;
  PaintFrameNow();
  // The close button is this frame's own: no system menu opens for it.
  if (!m_bPressed) CDialog::OnNcLButtonDown(nHitTest, point);
}

void CSkinPopupDlg::OnNcLButtonUp(UINT nHitTest, CPoint point) {
  BOOL wasPressed = m_bPressed;
  m_bPressed = FALSE;
  PaintFrameNow();
  if (nHitTest == HTSYSMENU && wasPressed)
    OnCancel();
  else
    CDialog::OnNcLButtonUp(nHitTest, point);
}

void CSkinPopupDlg::OnNcRButtonUp(UINT nHitTest, CPoint point) {
  PaintFrameNow();
  CDialog::OnNcRButtonUp(nHitTest, point);
}

void CSkinPopupDlg::OnSize(UINT nType, int cx, int cy) {
  PaintFrameNow();
  CDialog::OnSize(nType, cx, cy);
}

BOOL CSkinPopupDlg::OnNcActivate(BOOL) {
  PaintFrameNow();
  return TRUE;
}

void CSkinPopupDlg::OnNcPaint() { PaintFrameNow(); }

BOOL CSkinPopupDlg::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  DrawBitmapMode(pDC->GetSafeHdc(), rc, m_hPiece[BACK], 3, nullptr);
  return TRUE;
}

void CSkinPopupDlg::OnDestroy() {
  CDialog::OnDestroy();
  FreePieces();
}

void CSkinPopupDlg::PaintFrameNow() {
  if (!m_hWnd || !m_hPiece[TL]) return;
  CWindowDC dc(this);
  PaintFrame(&dc);
}

void CSkinPopupDlg::PaintFrame(CDC* pDC) {
  CRect w;
  GetWindowRect(&w);
  const int W = w.Width(), H = w.Height();
  TileBitmap(pDC, m_hPiece[TOP], m_size[TOP], CRect(m_size[TL].cx, 0, W - m_size[TR].cx, m_size[TOP].cy));
  TileBitmap(pDC, m_hPiece[LEFT], m_size[LEFT], CRect(0, m_size[TL].cy, m_size[LEFT].cx, H - m_size[BL].cy));
  TileBitmap(pDC, m_hPiece[BOTTOM], m_size[BOTTOM], CRect(m_size[BL].cx, H - m_size[BOTTOM].cy, W - m_size[BR].cx, H));
  TileBitmap(pDC, m_hPiece[RIGHT], m_size[RIGHT], CRect(W - m_size[RIGHT].cx, m_size[TR].cy, W, H - m_size[BR].cy));
  DrawCorner(pDC, m_hPiece[TL], m_size[TL], 0, 0, false, false);
  DrawCorner(pDC, m_hPiece[TR], m_size[TR], W - m_size[TR].cx, 0, true, false);
  DrawCorner(pDC, m_hPiece[BL], m_size[BL], 0, H - m_size[BL].cy, false, true);
  DrawCorner(pDC, m_hPiece[BR], m_size[BR], W - m_size[BR].cx, H - m_size[BR].cy, true, true);
  if (m_bDrawTitle) {
    CString title;
    GetWindowText(title);
    CFont font;
    font.CreatePointFont(90, VESK_FACE_SONG);
    CFont* old = pDC->SelectObject(&font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_crTitle);
    CRect r(m_size[TL].cx + 6, 0, W, m_size[TOP].cy + 2);
    pDC->DrawText(title, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(old);
  }
  const int frame = m_bHover ? (m_bPressed ? 2 : 1) : 0;
  const CRect b = CloseButtonRect();
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), m_hPiece[CLOSE]);
  pDC->BitBlt(b.left, b.top, b.Width(), b.Height(), &mem, frame * b.Width(), 0, SRCCOPY);
  ::SelectObject(mem.GetSafeHdc(), old);
}

// ---- the tip window ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTipWnd, CSkinPopupDlg)
  ON_WM_SIZE()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CTipWnd, CSkinPopupDlg)
  ON_EVENT(CTipWnd, IDC_TIP_PAGE, 263, OnWindowClosing, VTS_BOOL VTS_PBOOL)
END_EVENTSINK_MAP()

CTipWnd::CTipWnd(CWnd* pParent) : CSkinPopupDlg(IDD_TIPPOPUP, pParent), m_pParent(pParent) {
  m_bDrawTitle = FALSE;
  m_strCaption = kTipCaption;
  LOGFONTA lf = {};
  lf.lfHeight = 12;
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, VESK_FACE_SONG, LF_FACESIZE);
  m_fontBold.CreateFontIndirect(&lf);
}

CTipWnd::~CTipWnd() {
  if (m_hWnd) DestroyWindow();
}

int CTipWnd::Open(int nWidth, int nHeight) {
  if (m_hWnd) DestroyWindow();
  if (!Create(IDD_TIPPOPUP, m_pParent)) return 0;
  if (!LoadPieces()) return 0;
  if (!m_web.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_TIP_PAGE)) return 0;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  SetWindowPos(nullptr, 0, 0, nWidth, nHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  CenterWindow(m_pParent);
  BuildRegion();
  CRect rc;
  GetClientRect(&rc);
  m_web.MoveWindow(&rc);
  return 1;
}

void CTipWnd::SetTitle(const char* title) {
  if (!title || !*title) return;
  m_strCaption.Format("%s - %s", kTipCaption, title);
  SetWindowText(m_strCaption);
  PaintFrameNow();
}

int CTipWnd::Navigate(const char* url) {
  if (!m_hWnd || !m_web.GetSafeHwnd()) return 0;
  m_web.Navigate(url ? url : "", nullptr, nullptr, nullptr, nullptr);
  m_strUrl = url ? url : "";
  if (!IsWindowVisible()) ShowWindow(SW_SHOWNOACTIVATE);
  if (!m_web.IsWindowVisible()) m_web.ShowWindow(SW_SHOWNOACTIVATE);
  return 1;
}

void CTipWnd::OnCancel() {
  // A hidden notice keeps no page running.
  Navigate("about:blank");
  CSkinPopupDlg::OnCancel();
}

void CTipWnd::BuildRegion() {
  CRect w;
  GetWindowRect(&w);
  const int W = w.Width(), H = w.Height();
  HRGN region = ::CreateRectRgn(0, 0, W, H);
  const struct {
    int piece, x, y, keyX, keyY;
  } corners[] = {{TL, 0, 0, 0, 0},
                 {TR, W - m_size[TR].cx, 0, -1, 0},
                 {BR, W - m_size[BR].cx, H - m_size[BR].cy, -1, -1},
                 {BL, 0, H - m_size[BL].cy, 0, -1}};
  for (const auto& c : corners) {
    HRGN cut = ::CreateRectRgn(c.x, c.y, c.x + m_size[c.piece].cx, c.y + m_size[c.piece].cy);
    ::CombineRgn(region, region, cut, RGN_DIFF);
    ::DeleteObject(cut);
    HRGN keep = BitmapToRegionByPixel(m_hPiece[c.piece], c.keyX, c.keyY);
    if (keep) {
      ::OffsetRgn(keep, c.x, c.y);
      ::CombineRgn(region, region, keep, RGN_OR);
      ::DeleteObject(keep);
    }
  }
  if (!SetWindowRgn(region, TRUE)) ::DeleteObject(region);
}

void CTipWnd::OnSize(UINT nType, int cx, int cy) {
  CSkinPopupDlg::OnSize(nType, cx, cy);
  if (m_hPiece[TL]) BuildRegion();
  if (m_web.GetSafeHwnd()) m_web.MoveWindow(0, 0, cx, cy);
}

void CTipWnd::OnWindowClosing(BOOL, BOOL*) { OnCancel(); }

void CTipWnd::PaintFrame(CDC* pDC) {
  CSkinPopupDlg::PaintFrame(pDC);
  CRect w;
  GetWindowRect(&w);
  CFont* old = pDC->SelectObject(&m_fontBold);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(RGB(0, 0, 0));
  CRect r(0, 8, w.Width(), w.Height());
  pDC->DrawText(m_strCaption, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  pDC->SelectObject(old);
}
