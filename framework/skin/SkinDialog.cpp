#include "SkinDialog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "SkinTheme.h"

BEGIN_MESSAGE_MAP(CSkinDialog, CDialog)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_NCPAINT()
  ON_WM_NCCALCSIZE()
  ON_WM_NCHITTEST()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_ACTIVATE()
  ON_WM_NCMOUSEMOVE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONUP()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_SIZE()
  ON_WM_CTLCOLOR()
  ON_WM_GETMINMAXINFO()
  ON_WM_COPYDATA()
  ON_WM_DESTROY()
  ON_COMMAND(ID_SKINDLG_CLOSE, &CSkinDialog::OnSkinClose)
  ON_COMMAND(ID_SKINDLG_MAXRESTORE, &CSkinDialog::OnSkinMaxRestore)
  ON_MESSAGE(WM_PRINTCLIENT, &CSkinDialog::OnPrintClient)
END_MESSAGE_MAP()

CSkinDialog::CSkinDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd),
      m_nCellWidth(0),
      m_nCellHeight(0),
      m_bHasCaption(TRUE),
      m_crTitle(RGB(255, 255, 255)),
      m_bAnomalyFrame(TRUE),
      m_bResize(FALSE),
      m_crCtrlText(RGB(255, 255, 255)),
      m_nBorderWidth(4),
      m_nCaptionHeight(20),
      m_bModal(FALSE),
      m_nMaxButton(0),
      m_bUseTitleMax(FALSE),
      m_hShapeRgn(nullptr),
      m_bWasVisible(FALSE) {
  m_szSection[0] = 0;
  m_zones = skin::MakeDialogZones(0, 0, m_nBorderWidth, m_nCaptionHeight);
}

CSkinDialog::~CSkinDialog() {
  if (m_hShapeRgn) ::DeleteObject(m_hShapeRgn);
}

void CSkinDialog::SetSkinName(const char* name) {
  std::snprintf(m_szSection, sizeof m_szSection, "QKDLG_%s", name ? name : "");
}

void CSkinDialog::GetSkinClientRect(LPRECT lpRect) const {
  if (!lpRect) return;
  ::GetClientRect(m_hWnd, lpRect);
  if (!IsSkinned()) return;
  lpRect->left += m_nBorderWidth;
  lpRect->right -= m_nBorderWidth;
  lpRect->bottom -= m_nBorderWidth;
  lpRect->top += m_bHasCaption ? m_nCaptionHeight : m_nBorderWidth;
}

INT_PTR CSkinDialog::DoModal() {
  m_bModal = TRUE;
  INT_PTR result = CDialog::DoModal();
  m_bModal = FALSE;
  return result;
}

// ---- creation ------------------------------------------------------------------------

BOOL CSkinDialog::LoadSkin() {
  const char* own = m_szSection;
  const char* base = kSkinDialogSection;
  // A dialog with a picture of its own keeps it in both states (its section's backgrdbmpNA
  // is not looked at); only dialogs drawn with QKDLG's picture change when inactive.
  std::string active = SkinThemeString(own, "backgrdbmp", "");
  std::string inactive = active;
  if (active.empty()) active = SkinThemeString(base, "backgrdbmp", "dialogBK.jpg");
  if (inactive.empty()) inactive = SkinThemeString(base, "backgrdbmpNA", "dialogBKNA.jpg");
  if (!m_bmpActive.LoadFile(SkinImagePath(active).c_str())) return FALSE;
  if (!m_bmpInactive.LoadFile(SkinImagePath(inactive).c_str())) m_bmpInactive.DeleteObject();
  int w = 0, h = 0;
  m_bmpActive.GetSize(w, h);
  m_nCellWidth = w / 3;
  m_nCellHeight = h / 3;

  m_bAnomalyFrame = SkinDlgInt(own, "AnomalyFrame", 1);
  m_bResize = SkinThemeInt(own, "Resize", 0);
  m_bUseTitleMax = SkinDlgInt(own, "usetitlemax", 0);
  if (m_bAnomalyFrame) {
    if (m_hShapeRgn) ::DeleteObject(m_hShapeRgn);
    m_hShapeRgn = SkinRegionCacheCopy(active.c_str(), (HBITMAP)m_bmpActive.GetSafeHandle());
  }

  m_brCtrl.DeleteObject();
  m_brCtrl.CreateSolidBrush(SkinDlgColor(own, "ctrlcolor", RGB(0x80, 0x80, 0x80)));
  m_crCtrlText = SkinDlgColor(own, "ctrltextcolor", RGB(255, 255, 255));
  m_nBorderWidth = SkinDlgInt(own, "BorderWidth", 4);
  m_nCaptionHeight = SkinDlgInt(own, "CaptionHeight", 20);
  std::string title = SkinDlgString(own, "title", "");
  if (!title.empty()) SetWindowText(title.c_str());
  SkinCreateTitleFont(m_fontTitle, SkinDlgString(own, "titlefont", "").c_str());
  m_crTitle = SkinDlgColor(own, "titlecolor", RGB(255, 255, 255));

  m_captionButtons.Clear();
  m_captionButtons.SetOwner(this);
  if (m_bUseTitleMax && m_captionButtons.Add(ID_SKINDLG_MAXRESTORE, own, "titlemax", this, skin::kHitMaxButton)) {
    m_nMaxButton = m_captionButtons.GetCount() - 1;
    std::string restore = skin::ImageNameOf(SkinThemeString(base, "titlerestore", ""));
    if (!restore.empty()) m_captionButtons.LoadAlternateImage(SkinImagePath(restore).c_str(), m_nMaxButton);
  }
  if (!m_captionButtons.Add(ID_SKINDLG_CLOSE, own, "titleclose", this, skin::kHitClose)) return FALSE;
  LayOutCaptionButtons();
  ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, SKIN_DIALOG_MARK);
  return TRUE;
}

void CSkinDialog::LayOutCaptionButtons() {
  CRect rc;
  GetWindowRect(&rc);
  int right = SkinDlgInt(m_szSection, "SysBtnRight", 6);
  int top = SkinDlgInt(m_szSection, "SysBtnTop", 3);
  m_captionButtons.LayOut(rc.Width() - m_captionButtons.GetTotalWidth() - right, top);
}

int CSkinDialog::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CDialog::OnCreate(lpCreateStruct) == -1) return -1;
  if (!IsSkinned()) return 0;
  return LoadSkin() ? 0 : -1;
}

// ---- painting --------------------------------------------------------------------------

void CSkinDialog::PaintSkin(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  int saved = pDC->SaveDC();
  m_captionButtons.ExcludeFromClip(pDC);
  CQKBitmap* bg = &m_bmpActive;
  if (::GetActiveWindow() != m_hWnd && m_bmpInactive.GetSafeHandle()) bg = &m_bmpInactive;
  bg->DrawNineCell(pDC, &rc, 0, TRUE);
  pDC->RestoreDC(saved);
  m_captionButtons.Paint(pDC);
  if (!m_bHasCaption) return;
  CString text;
  GetWindowText(text);
  if (text.IsEmpty()) return;
  CFont* old = pDC->SelectObject(&m_fontTitle);
  pDC->SetTextColor(m_crTitle);
  pDC->SetBkMode(TRANSPARENT);
  CSize size = pDC->GetTextExtent(text);
  pDC->TextOut((rc.Width() - size.cx) / 2, (m_nCaptionHeight - size.cy) / 2 - 1, text);
  pDC->SelectObject(old);
}

void CSkinDialog::OnPaint() {
  if (!IsSkinned()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  PrePaintClient(&dc);
  PaintSkin(&dc);
  PaintClient(&dc);
}

// Pictures of the window (PrintWindow) get the same skin, cut to the window's shape.
LRESULT CSkinDialog::OnPrintClient(WPARAM wParam, LPARAM) {
  if (!IsSkinned()) return Default();
  HDC hdc = (HDC)wParam;
  CDC* pDC = CDC::FromHandle(hdc);
  int saved = ::SaveDC(hdc);
  HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
  if (::GetWindowRgn(m_hWnd, shape) != ERROR) ::ExtSelectClipRgn(hdc, shape, RGN_AND);
  ::DeleteObject(shape);
  PrePaintClient(pDC);
  PaintSkin(pDC);
  PaintClient(pDC);
  ::RestoreDC(hdc, saved);
  return 0;
}

BOOL CSkinDialog::OnEraseBkgnd(CDC* pDC) {
  if (!IsSkinned()) return CDialog::OnEraseBkgnd(pDC);
  return TRUE;
}

void CSkinDialog::OnNcPaint() {
  if (!IsSkinned()) Default();
}

void CSkinDialog::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if (!IsSkinned()) {
    CDialog::OnNcCalcSize(bCalcValidRects, lpncsp);
    return;
  }
  // The whole window is client area: the proposed rectangle stays as it is.
}

// ---- hit testing and the caption mouse ---------------------------------------------------

CPoint CSkinDialog::ScreenToWindow(CPoint pt) const {
  CRect rc;
  GetWindowRect(&rc);
  return CPoint(pt.x - rc.left, pt.y - rc.top);
}

LRESULT CSkinDialog::OnNcHitTest(CPoint point) {
  if (!IsSkinned()) return CDialog::OnNcHitTest(point);
  CPoint p = ScreenToWindow(point);
  int code = skin::DialogSizingHit(m_zones, p.x, p.y, m_bResize != 0, IsZoomed() != 0);
  if (code != skin::kHitNone) return code;
  code = m_captionButtons.HitTest(p.x, p.y);
  if (code != skin::kHitNone) return code;
  if (m_zones.caption.Contains(p.x, p.y)) return HTCAPTION;
  return CDialog::OnNcHitTest(point);
}

void CSkinDialog::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  if (IsSkinned()) {
    CRect rc;
    GetWindowRect(&rc);
    m_zones = skin::MakeDialogZones(rc.Width(), rc.Height(), m_nBorderWidth, m_nCaptionHeight);
  }
  CDialog::OnWindowPosChanged(lpwndpos);
}

void CSkinDialog::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  if (IsSkinned() && m_hWnd) {
    CRect rc;
    GetClientRect(&rc);
    CRect caption(0, 0, rc.right, m_nCaptionHeight);
    CRect left(0, 0, m_nBorderWidth, rc.bottom);
    CRect right(rc.right - m_nBorderWidth, 0, rc.right, rc.bottom);
    CRect bottom(0, rc.bottom - m_nBorderWidth, rc.right, rc.bottom);
    InvalidateRect(&caption, TRUE);
    InvalidateRect(&left, TRUE);
    InvalidateRect(&right, TRUE);
    InvalidateRect(&bottom, TRUE);
  }
  CDialog::OnActivate(nState, pWndOther, bMinimized);
}

void CSkinDialog::OnNcMouseMove(UINT nHitTest, CPoint point) {
  if (IsSkinned()) {
    CPoint p = ScreenToWindow(point);
    if (m_captionButtons.MouseMove(p.x, p.y)) return;
  }
  CDialog::OnNcMouseMove(nHitTest, point);
}

void CSkinDialog::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (IsSkinned()) {
    CPoint p = ScreenToWindow(point);
    if (m_captionButtons.MouseDown(p.x, p.y)) return;
    if (IsZoomed() && m_zones.caption.Contains(p.x, p.y)) {
      SetActiveWindow();  // no dragging while maximized
      return;
    }
  }
  CDialog::OnNcLButtonDown(nHitTest, point);
}

void CSkinDialog::OnNcLButtonUp(UINT nHitTest, CPoint point) {
  if (IsSkinned()) {
    CPoint p = ScreenToWindow(point);
    if (m_captionButtons.MouseUp(p.x, p.y)) return;
  }
  CDialog::OnNcLButtonUp(nHitTest, point);
}

void CSkinDialog::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
  if (IsSkinned() && nHitTest == HTCAPTION && m_bUseTitleMax) {
    ToggleMaxRestore();
    return;
  }
  CDialog::OnNcLButtonDblClk(nHitTest, point);
}

void CSkinDialog::ToggleMaxRestore() {
  if (!m_bUseTitleMax) return;
  CSkinAnimationOff animationOff;
  int cmd = IsZoomed() ? SW_RESTORE : SW_MAXIMIZE;
  if (CWinApp* app = AfxGetApp()) app->m_nCmdShow = cmd;
  ShowWindow(cmd);
  m_captionButtons.UseAlternate(IsZoomed(), m_nMaxButton);
}

void CSkinDialog::OnSkinClose() { PostMessage(WM_CLOSE); }
void CSkinDialog::OnSkinMaxRestore() { ToggleMaxRestore(); }

// ---- size, colours, lobby ------------------------------------------------------------------

HRGN CSkinDialog::BuildWindowRegion() {
  CRect rc;
  GetWindowRect(&rc);
  const int w = rc.Width(), h = rc.Height();
  if (!m_bAnomalyFrame) return ::CreateRectRgn(0, 0, w, h);
  if (!m_hShapeRgn || m_nCellWidth <= 0 || m_nCellHeight <= 0) return nullptr;
  skin::CornerMove moves[4];
  skin::DialogCornerMoves(w, h, m_nCellWidth, m_nCellHeight, moves);
  HRGN result = ::CreateRectRgn(8, 0, w - 8, h);
  HRGN band = ::CreateRectRgn(0, 8, w, h - 8);
  ::CombineRgn(result, result, band, RGN_OR);
  ::DeleteObject(band);
  for (const skin::CornerMove& m : moves) {
    HRGN corner = ::CreateRectRgn(m.cell.left, m.cell.top, m.cell.right, m.cell.bottom);
    ::CombineRgn(corner, corner, m_hShapeRgn, RGN_AND);
    ::OffsetRgn(corner, m.dx, m.dy);
    ::CombineRgn(result, result, corner, RGN_OR);
    ::DeleteObject(corner);
  }
  return result;
}

void CSkinDialog::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  if (!IsSkinned()) return;
  LayOutCaptionButtons();
  if (HRGN rgn = BuildWindowRegion()) {
    if (!SetWindowRgn(rgn, TRUE)) ::DeleteObject(rgn);
  }
  if (m_bUseTitleMax) m_captionButtons.UseAlternate(IsZoomed(), m_nMaxButton);
  Invalidate(FALSE);
}

HBRUSH CSkinDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  if (!IsSkinned()) return hbr;
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(m_crCtrlText);
  if (nCtlColor == CTLCOLOR_STATIC) return (HBRUSH)::GetStockObject(NULL_BRUSH);
  return (HBRUSH)m_brCtrl.GetSafeHandle();
}

void CSkinDialog::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  RECT work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  lpMMI->ptMaxPosition.x = work.left;
  lpMMI->ptMaxPosition.y = work.top;
  lpMMI->ptMaxSize.x = work.right - work.left;
  int screenH = ::GetSystemMetrics(SM_CYSCREEN);
  lpMMI->ptMaxSize.y = std::min<int>(work.bottom - work.top, screenH - 1);
  lpMMI->ptMinTrackSize.x = 0;
  lpMMI->ptMinTrackSize.y = 0;
}

BOOL CSkinDialog::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct) {
  (void)pWnd;
  if (!pCopyDataStruct || (pCopyDataStruct->dwData & 0xFFFFFF00u) != LOBBY_SHOWHIDE_COPYDATA) return FALSE;
  switch (pCopyDataStruct->dwData & 0xFF) {
    case 0:
      m_bWasVisible = IsWindowVisible();
      ShowWindow(SW_HIDE);
      break;
    case 1:
      if (m_bWasVisible || m_bModal) ShowWindow(SW_SHOW);
      break;
    default:
      break;
  }
  return TRUE;
}

void CSkinDialog::OnDestroy() {
  m_brCtrl.DeleteObject();
  m_fontTitle.DeleteObject();
  if (m_hShapeRgn) {
    ::DeleteObject(m_hShapeRgn);
    m_hShapeRgn = nullptr;
  }
  CDialog::OnDestroy();
}
