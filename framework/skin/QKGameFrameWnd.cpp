#include "QKGameFrameWnd.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ResLoad.h"
#include "SkinTheme.h"

namespace {
const char* const kFrame = "Frame";
const char* const kFrameLower = "frame";
const char* const kPieceKeys[9] = {"frame00", "frame01", "frame02", "frame10", nullptr,
                                   "frame12", "frame20", "frame21", "frame22"};
const UINT kIdsSetupMenu = 29937;
const UINT kTipFirst = 29948;  // tips of the extra buttons: 29948 .. 29957
const int kHitSetup = 100;
UINT g_nFindGameMessage = ::RegisterWindowMessageA("QK_LOBBYFINDGAME_MESSAGE_ID");
const DWORD kForwardTimeoutMs = 2000;

BOOL LoadPiece(CQKBitmap& bmp, const char* section, const char* key) {
  std::string value = SkinThemeString(section, key, "");
  if (value.empty()) return FALSE;
  return bmp.LoadFile(SkinImagePath(value).c_str());
}
}  // namespace

UINT GetLobbyFindGameMessage() { return g_nFindGameMessage; }

IMPLEMENT_DYNCREATE(CQKGameFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CQKGameFrameWnd, CFrameWnd)
  ON_WM_SYSCOMMAND()
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_SIZE()
  ON_WM_ACTIVATE()
  ON_WM_ACTIVATEAPP()
  ON_WM_GETMINMAXINFO()
  ON_WM_DESTROY()
  ON_WM_NCPAINT()
  ON_WM_NCCALCSIZE()
  ON_WM_NCACTIVATE()
  ON_WM_NCHITTEST()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONUP()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_NCRBUTTONDOWN()
  ON_WM_NCMOUSEMOVE()
  ON_WM_ERASEBKGND()
  ON_REGISTERED_MESSAGE(g_nFindGameMessage, &CQKGameFrameWnd::OnLobbyFindGame)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CQKGameFrameWnd::OnToolTipText)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &CQKGameFrameWnd::OnToolTipText)
  ON_COMMAND(ID_FRAME_SETUP, &CQKGameFrameWnd::OnFrameSetup)
  ON_COMMAND(ID_FRAME_HELP, &CQKGameFrameWnd::OnFrameHelp)
  ON_COMMAND(ID_FRAME_MINIMIZE, &CQKGameFrameWnd::OnFrameMinimize)
  ON_COMMAND(ID_FRAME_MAXRESTORE, &CQKGameFrameWnd::OnFrameMaxRestore)
  ON_COMMAND(ID_FRAME_CLOSE, &CQKGameFrameWnd::OnFrameClose)
  ON_MESSAGE(WM_PRINTCLIENT, &CQKGameFrameWnd::OnPrintClient)
END_MESSAGE_MAP()

CQKGameFrameWnd::CQKGameFrameWnd()
    : m_pOwnedPopup(nullptr),
      m_sizeMin(770, 570),
      m_bHidden(FALSE),
      m_nAboutIcon(29894),
      m_hAboutIcon(nullptr),
      m_nAboutMenuId(0),
      m_nWidthLock(0),
      m_crTitle(0),
      m_nTitleHeight(21),
      m_nSysBtnRight(6),
      m_nSysBtnTop(3),
      m_bAnomalyFrame(TRUE),
      m_bAnomalyFrameBottom(FALSE),
      m_bTitleAlignLeft(FALSE),
      m_ptTitle(0, 0),
      m_nMaxButton(2),
      m_bShowTitleIcon(TRUE) {
  m_dwAdKeys[0] = m_dwAdKeys[1] = m_dwAdKeys[2] = 0;
  for (HRGN& r : m_hCorner) r = nullptr;
  std::memset(m_szTips, 0, sizeof m_szTips);
  m_zones = skin::MakeFrameZones(0, 0, 0, 0, 0, 0);
}

CQKGameFrameWnd::~CQKGameFrameWnd() {
  if (m_hAboutIcon) ::DestroyIcon(m_hAboutIcon);
  for (HRGN& r : m_hCorner)
    if (r) ::DeleteObject(r);
}

namespace {
// The system menu the window system gives may hold an item of its own on the about item's
// access key (Wine adds its own about item): that item goes, with a separator it leaves
// dangling, so the key opens our box at once.
void FreeAccessKey(HMENU menu, char key) {
  if (!key) return;
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i) {
    char text[256] = "";
    if (::GetMenuStringA(menu, (UINT)i, text, sizeof text, MF_BYPOSITION) > 0 && skin::MenuAccessKey(text) == key)
      ::DeleteMenu(menu, (UINT)i, MF_BYPOSITION);
  }
  auto isSeparator = [&](int i) { return (::GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_SEPARATOR) != 0; };
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i)
    if (isSeparator(i) && (i == ::GetMenuItemCount(menu) - 1 || isSeparator(i + 1)))
      ::DeleteMenu(menu, (UINT)i, MF_BYPOSITION);
}
}  // namespace

void CQKGameFrameWnd::AddAboutMenuItem(UINT nID) {
  CString text;
  if (!text.LoadString(nID) || text.IsEmpty()) return;
  HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
  if (!menu) return;
  FreeAccessKey(menu, skin::MenuAccessKey((LPCSTR)text));
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, nID, text);
  m_nAboutMenuId = nID;
}

void CQKGameFrameWnd::SetAdKeys(DWORD key1, DWORD key2, DWORD key3) {
  m_dwAdKeys[0] = key1;
  m_dwAdKeys[1] = key2;
  m_dwAdKeys[2] = key3;
  CWinApp* app = AfxGetApp();
  const char* names[3] = {"KeyValue1", "KeyValue2", "KeyValue3"};
  for (int i = 0; i < 3; ++i)
    if (m_dwAdKeys[i] && app) app->WriteProfileInt("", names[i], (int)m_dwAdKeys[i]);
}

BOOL CQKGameFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  m_nWidthLock = SkinThemeInt(kFrameLower, "CanNotChangeWidth", 0);
  cs.style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
  if (m_nWidthLock != 1 && m_nWidthLock != 2) cs.style |= WS_MAXIMIZEBOX;
  cs.hMenu = nullptr;
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  cs.lpszClass = AfxRegisterWndClass(0);
  return TRUE;
}

// ---- creation ------------------------------------------------------------------------

BOOL CQKGameFrameWnd::LoadSkin() {
  m_bAnomalyFrame = SkinThemeInt(kFrameLower, "AnomalyFrame", 1);
  m_bAnomalyFrameBottom = SkinThemeInt(kFrameLower, "AnomalyFrameBottom", 0);
  for (int i = 0; i < 9; ++i) {
    m_cell[i] = CSize(0, 0);
    if (!kPieceKeys[i]) continue;
    if (!LoadPiece(m_piece[i], kFrame, kPieceKeys[i])) return FALSE;
    int w = 0, h = 0;
    m_piece[i].GetSize(w, h);
    m_cell[i] = CSize(w, h);
  }
  for (HRGN& r : m_hCorner) {
    if (r) ::DeleteObject(r);
    r = nullptr;
  }
  if (m_bAnomalyFrame) {
    m_hCorner[0] = BitmapToRegionKeyed((HBITMAP)m_piece[0].GetSafeHandle(), 0, 0);
    m_hCorner[1] = BitmapToRegionKeyed((HBITMAP)m_piece[2].GetSafeHandle(), -1, 0);
    if (m_bAnomalyFrameBottom) {
      m_hCorner[2] = BitmapToRegionKeyed((HBITMAP)m_piece[6].GetSafeHandle(), 0, -1);
      m_hCorner[3] = BitmapToRegionKeyed((HBITMAP)m_piece[8].GetSafeHandle(), -1, -1);
    }
  }
  const char* na[3] = {"frame00NA", "frame01NA", "frame02NA"};
  for (int i = 0; i < 3; ++i)
    if (!LoadPiece(m_pieceNA[i], kFrame, na[i])) m_pieceNA[i].DeleteObject();
  m_captionBar.m_nTop = m_cell[1].cy;
  m_captionBar.m_nLeft = m_cell[3].cx;
  m_captionBar.m_nRight = m_cell[5].cx;
  m_captionBar.m_nBottom = m_cell[7].cy;
  m_bShowTitleIcon = SkinThemeInt(kFrameLower, "ShowTitleIcon", 1);
  return TRUE;
}

void CQKGameFrameWnd::AddCaptionButtons() {
  m_captionButtons.Clear();
  m_captionButtons.SetOwner(this);
  m_nSysBtnRight = SkinThemeInt(kFrameLower, "SysBtnRight", 6);
  m_nSysBtnTop = SkinThemeInt(kFrameLower, "SysBtnTop", 3);
  for (int n = 1; n <= 10; ++n) {
    char key[32];
    std::snprintf(key, sizeof key, "framesysbt_%d", n);
    if (SkinThemeString(kFrameLower, key, "").empty()) break;
    if (!m_captionButtons.Add(29754 + n, kFrameLower, key, this, 100 + n)) continue;
    std::snprintf(key, sizeof key, "framesysbtTips_%d", n);
    skin::CopyTextBounded(m_szTips[n - 1], sizeof m_szTips[n - 1], SkinThemeString(kFrameLower, key, "").c_str());
  }
  m_captionButtons.Add(ID_FRAME_SETUP, kFrameLower, "framesetup", this, kHitSetup);
  m_captionButtons.Add(ID_FRAME_HELP, kFrameLower, "framehelp", this, HTHELP);
  m_captionButtons.Add(ID_FRAME_MINIMIZE, kFrameLower, "framemin", this, HTMINBUTTON);
  m_nMaxButton = -1;
  if (m_nWidthLock == 0 && m_captionButtons.Add(ID_FRAME_MAXRESTORE, kFrameLower, "framemax", this, HTMAXBUTTON)) {
    m_nMaxButton = m_captionButtons.GetCount() - 1;
    std::string restore = skin::ImageNameOf(SkinThemeString(kFrameLower, "framerestore", ""));
    if (!restore.empty()) m_captionButtons.LoadAlternateImage(SkinImagePath(restore).c_str(), m_nMaxButton);
  }
  m_captionButtons.Add(ID_FRAME_CLOSE, kFrameLower, "frameclose", this, HTCLOSE);
}

int CQKGameFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (!LoadSkin()) return -1;
  AddCaptionButtons();
  m_sysMenu = skin::ParseSysMenuStyle(SkinThemeString(kFrame, "SysmenuStyle", "").c_str());
  m_crTitle = SkinThemeColor(kFrame, "TitleColor", 0);
  m_nTitleHeight = SkinThemeInt(kFrame, "TitleHeight", 21);
  m_bTitleAlignLeft = SkinThemeInt(kFrameLower, "titlealignleft", 0);
  if (m_bTitleAlignLeft) {
    int x = 0, y = 0;
    ReadIniPair(kFrameLower, "titlepoint", &x, &y, g_ConfigPaths.themeFile);
    m_ptTitle = CPoint(x, y);
  }
  SkinCreateTitleFont(m_fontTitle);
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_captionBar.Create(this)) return -1;
  EnableToolTips(TRUE);
  ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, SKIN_FRAME_MARK);
  return 0;
}

// ---- shape and painting -----------------------------------------------------------------

HRGN CQKGameFrameWnd::BuildFrameRegion(int w, int h) const {
  if (!m_bAnomalyFrame) return ::CreateRectRgn(0, 0, w, h);
  HRGN result = ::CreateRectRgn(0, 0, w, h);
  if (m_hCorner[0]) {
    ::CombineRgn(result, result, m_hCorner[0], RGN_AND);
  } else {
    ::SetRectRgn(result, 0, 0, std::min<int>(w, m_cell[0].cx), std::min<int>(h, m_cell[0].cy));
  }
  auto add = [result](HRGN piece, int dx, int dy, int fw, int fh, bool square) {
    HRGN r = nullptr;
    if (piece && !square) {
      r = ::CreateRectRgn(0, 0, 0, 0);
      ::CombineRgn(r, piece, nullptr, RGN_COPY);
    } else {
      r = ::CreateRectRgn(0, 0, fw, fh);  // a corner without a shape stays square
    }
    ::OffsetRgn(r, dx, dy);
    ::CombineRgn(result, result, r, RGN_OR);
    ::DeleteObject(r);
  };
  add(m_hCorner[1], w - m_cell[2].cx, 0, m_cell[2].cx, m_cell[2].cy, false);
  if (m_bAnomalyFrameBottom) {
    add(m_hCorner[2], 0, h - m_cell[6].cy, m_cell[6].cx, m_cell[6].cy, false);
    add(m_hCorner[3], w - m_cell[8].cx, h - m_cell[8].cy, m_cell[8].cx, m_cell[8].cy, false);
  }
  HRGN band = ::CreateRectRgn(0, 16, w, m_bAnomalyFrameBottom ? h - 16 : h);
  ::CombineRgn(result, result, band, RGN_OR);
  ::SetRectRgn(band, 16, 0, w - 16, h);
  ::CombineRgn(result, result, band, RGN_OR);
  ::DeleteObject(band);
  return result;
}

void CQKGameFrameWnd::PaintFrame(CDC* pDC, int w, int h, BOOL bActive) {
  HDC dc = pDC->GetSafeHdc();
  int saved = ::SaveDC(dc);
  m_captionButtons.ExcludeFromClip(pDC);
  const bool na = !bActive && m_pieceNA[0].GetSafeHandle();
  CQKBitmap* top[3] = {na ? &m_pieceNA[0] : &m_piece[0],
                       na && m_pieceNA[1].GetSafeHandle() ? &m_pieceNA[1] : &m_piece[1],
                       na && m_pieceNA[2].GetSafeHandle() ? &m_pieceNA[2] : &m_piece[2]};
  top[0]->Draw(dc, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr);
  top[2]->Draw(dc, w - m_cell[2].cx, 0, 0, 0, 0, nullptr, nullptr, nullptr);
  const int midW = w - m_cell[0].cx - m_cell[2].cx;
  if (midW > 0) top[1]->Draw(dc, m_cell[0].cx, 0, midW, m_cell[1].cy, QKBMP_TILE, nullptr, nullptr, nullptr);
  m_piece[6].Draw(dc, 0, h - m_cell[6].cy, 0, 0, 0, nullptr, nullptr, nullptr);
  m_piece[8].Draw(dc, w - m_cell[8].cx, h - m_cell[8].cy, 0, 0, 0, nullptr, nullptr, nullptr);
  int lh = h - m_cell[0].cy - m_cell[6].cy;
  if (lh > 0) m_piece[3].Draw(dc, 0, m_cell[0].cy, m_cell[3].cx, lh, QKBMP_TILE, nullptr, nullptr, nullptr);
  int rh = h - m_cell[2].cy - m_cell[8].cy;
  if (rh > 0)
    m_piece[5].Draw(dc, w - m_cell[5].cx, m_cell[2].cy, m_cell[5].cx, rh, QKBMP_TILE, nullptr, nullptr, nullptr);
  int bw = w - m_cell[6].cx - m_cell[8].cx;
  if (bw > 0)
    m_piece[7].Draw(dc, m_cell[6].cx, h - m_cell[7].cy, bw, m_cell[7].cy, QKBMP_TILE, nullptr, nullptr, nullptr);
  ::RestoreDC(dc, saved);
  m_captionButtons.Paint(pDC);

  // Title and icon.
  CString text;
  GetWindowText(text);
  HGDIOBJ oldFont = ::SelectObject(dc, m_fontTitle.GetSafeHandle());
  ::SetTextColor(dc, m_crTitle);
  ::SetBkMode(dc, TRANSPARENT);
  SIZE ts = {0, 0};
  ::GetTextExtentPoint32A(dc, text.IsEmpty() ? " " : (LPCSTR)text, text.IsEmpty() ? 1 : text.GetLength(), &ts);
  int iconX;
  if (m_bTitleAlignLeft) {
    if (!text.IsEmpty()) ::TextOutA(dc, m_ptTitle.x, m_ptTitle.y, text, text.GetLength());
    iconX = std::min<int>(m_cell[0].cx, w / 3);
  } else {
    skin::TitlePlace place =
        skin::PlaceFrameTitle(w, m_cell[0].cx, m_cell[2].cx, m_captionButtons.GetTotalWidth(), ts.cx);
    std::string shown = (LPCSTR)text;
    if (place.cut && !shown.empty()) shown = EllipsizeText(dc, shown.c_str(), place.cutWidth, 0);
    if (!shown.empty()) ::TextOutA(dc, place.textX, (m_nTitleHeight - ts.cy) / 2, shown.c_str(), (int)shown.size());
    iconX = place.iconX;
  }
  ::SelectObject(dc, oldFont);
  if (m_bShowTitleIcon) {
    HICON icon = (HICON)::SendMessageA(m_hWnd, WM_GETICON, ICON_SMALL, 0);
    if (icon) ::DrawIconEx(dc, iconX, (m_nTitleHeight - 16) / 2 - 1, icon, 16, 16, 0, nullptr, DI_NORMAL);
  }
}

void CQKGameFrameWnd::OnPaint() {
  CPaintDC dc(this);
  if (m_bHidden) return;
  CRect rc;
  GetWindowRect(&rc);
  HRGN clip = BuildFrameRegion(rc.Width(), rc.Height());
  ::SelectClipRgn(dc.GetSafeHdc(), clip);
  ::DeleteObject(clip);
  PaintFrame(&dc, rc.Width(), rc.Height(), ::GetActiveWindow() == m_hWnd);
}

LRESULT CQKGameFrameWnd::OnPrintClient(WPARAM wParam, LPARAM) {
  HDC hdc = (HDC)wParam;
  CRect rc;
  GetWindowRect(&rc);
  int saved = ::SaveDC(hdc);
  HRGN clip = BuildFrameRegion(rc.Width(), rc.Height());
  ::ExtSelectClipRgn(hdc, clip, RGN_AND);
  ::DeleteObject(clip);
  PaintFrame(CDC::FromHandle(hdc), rc.Width(), rc.Height(), ::GetActiveWindow() == m_hWnd);
  ::RestoreDC(hdc, saved);
  return 0;
}

BOOL CQKGameFrameWnd::OnEraseBkgnd(CDC*) { return TRUE; }
void CQKGameFrameWnd::OnNcPaint() {}
void CQKGameFrameWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {}

void CQKGameFrameWnd::InvalidateFrame() {
  if (!m_hWnd) return;
  CRect rc;
  GetWindowRect(&rc);
  HRGN r = BuildFrameRegion(rc.Width(), rc.Height());
  ::InvalidateRgn(m_hWnd, r, TRUE);
  ::DeleteObject(r);
}

// ---- layout, hit testing, caption mouse -------------------------------------------------------

void CQKGameFrameWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CRect rc;
  GetWindowRect(&rc);
  m_zones = skin::MakeFrameZones(rc.Width(), rc.Height(), m_cell[3].cx, m_cell[5].cx, m_cell[7].cx, m_cell[7].cy);
  m_captionButtons.LayOut(rc.Width() - m_captionButtons.GetTotalWidth() - m_nSysBtnRight, m_nSysBtnTop);
  CFrameWnd::OnWindowPosChanged(lpwndpos);
}

CPoint CQKGameFrameWnd::ScreenToWindow(CPoint pt) const {
  CRect rc;
  GetWindowRect(&rc);
  return CPoint(pt.x - rc.left, pt.y - rc.top);
}

LRESULT CQKGameFrameWnd::OnNcHitTest(CPoint point) {
  CPoint p = ScreenToWindow(point);
  int code = skin::FrameSizingHit(m_zones, m_nWidthLock, p.x, p.y);
  if (code != skin::kHitNone) return code;
  code = m_captionButtons.HitTest(p.x, p.y);
  if (code != skin::kHitNone) return code;
  CRect rc;
  GetWindowRect(&rc);
  HRGN r = BuildFrameRegion(rc.Width(), rc.Height());
  BOOL inside = ::PtInRegion(r, p.x, p.y);
  ::DeleteObject(r);
  if (inside) return HTCAPTION;
  return CFrameWnd::OnNcHitTest(point);
}

BOOL CQKGameFrameWnd::InSysMenu(CPoint p) const {
  const skin::Box& b = m_sysMenu.box;
  HRGN r = m_sysMenu.ellipse ? ::CreateEllipticRgn(b.left, b.top, b.right, b.bottom)
                             : ::CreateRectRgn(b.left, b.top, b.right, b.bottom);
  BOOL inside = ::PtInRegion(r, p.x, p.y);
  ::DeleteObject(r);
  return inside;
}

void CQKGameFrameWnd::TrackSystemMenu(CPoint screenPoint) {
  HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
  if (!menu || !m_captionBar.GetSafeHwnd()) return;
  ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, m_captionBar.GetSafeHwnd(), nullptr);
}

void CQKGameFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  CPoint p = ScreenToWindow(point);
  if (InSysMenu(p)) {
    // A press on the icon opens the menu (without starting a drag first).
    TrackSystemMenu(point);
    return;
  }
  if (m_captionButtons.MouseDown(p.x, p.y)) return;
  CFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CQKGameFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint point) {
  CPoint p = ScreenToWindow(point);
  if (m_captionButtons.MouseUp(p.x, p.y)) return;
  CFrameWnd::OnNcLButtonUp(nHitTest, point);
}

void CQKGameFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point) {
  CPoint p = ScreenToWindow(point);
  if (m_captionButtons.MouseMove(p.x, p.y)) return;
  CFrameWnd::OnNcMouseMove(nHitTest, point);
}

void CQKGameFrameWnd::OnNcRButtonDown(UINT nHitTest, CPoint point) {
  CFrameWnd::OnNcRButtonDown(nHitTest, point);
  if (nHitTest == HTCAPTION) TrackSystemMenu(point);
}

void CQKGameFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
  if (nHitTest == HTCAPTION && m_nWidthLock == 0) {
    ToggleMaxRestore();
    return;
  }
  CFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

// ---- show states and commands ------------------------------------------------------------------

void CQKGameFrameWnd::ShowWithoutAnimation(int nCmdShow) {
  CSkinAnimationOff off;
  ShowWindow(nCmdShow);
}

void CQKGameFrameWnd::ToggleMaxRestore() {
  if (m_nWidthLock != 0) return;
  const bool zoom = !IsFrameZoomed();
  if (CWinApp* app = AfxGetApp()) app->m_nCmdShow = zoom ? SW_MAXIMIZE : SW_RESTORE;
  if (IsZoomed())
    ShowWithoutAnimation(SW_RESTORE);
  else
    ZoomFrame(zoom);
  m_captionButtons.UseAlternate(IsFrameZoomed(), m_nMaxButton);
}

void CQKGameFrameWnd::ZoomFrame(bool bZoom) {
  if (bZoom == m_bZoomed) return;
  if (IsIconic()) ShowWithoutAnimation(SW_RESTORE);
  CRect to = m_rcBeforeZoom;
  if (bZoom) {
    GetWindowRect(&m_rcBeforeZoom);
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const skin::Box box =
        skin::MaximisedBox({work.left, work.top, work.right, work.bottom}, ::GetSystemMetrics(SM_CYSCREEN));
    to.SetRect(box.left, box.top, box.right, box.bottom);
  }
  m_bZoomed = bZoom;
  SetWindowPos(nullptr, to.left, to.top, to.Width(), to.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  m_captionButtons.UseAlternate(m_bZoomed, m_nMaxButton);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CQKGameFrameWnd::OnFrameMinimize() { ShowWithoutAnimation(SW_MINIMIZE); }
void CQKGameFrameWnd::OnFrameMaxRestore() { ToggleMaxRestore(); }
void CQKGameFrameWnd::OnFrameClose() { PostMessage(WM_CLOSE); }

void CQKGameFrameWnd::OnSysCommand(UINT nID, LPARAM lParam) {
  UINT cmd = nID & 0xFFF0;
  if (m_nAboutMenuId && nID == m_nAboutMenuId) return;  // the about box belongs to the derived frame
  if (cmd == SC_MINIMIZE) {
    ShowWithoutAnimation(SW_MINIMIZE);
  } else if (cmd == SC_MAXIMIZE) {
    if (m_nWidthLock != 0)
      ShowWithoutAnimation(SW_RESTORE);
    else
      ZoomFrame(true);
  } else if (cmd == SC_RESTORE) {
    if (IsIconic() || IsZoomed())
      ShowWithoutAnimation(SW_RESTORE);
    else
      ZoomFrame(false);
  } else {
    CFrameWnd::OnSysCommand(nID, lParam);
  }
}

void CQKGameFrameWnd::OnSize(UINT nType, int cx, int cy) {
  InvalidateFrame();
  m_captionButtons.UseAlternate(IsFrameZoomed(), m_nMaxButton);
  CFrameWnd::OnSize(nType, cx, cy);
}

BOOL CQKGameFrameWnd::OnNcActivate(BOOL bActive) {
  InvalidateFrame();
  return CFrameWnd::OnNcActivate(bActive);
}

void CQKGameFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  InvalidateFrame();
  CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
}

void CQKGameFrameWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID) {
  InvalidateFrame();
  CFrameWnd::OnActivateApp(bActive, dwThreadID);
}

void CQKGameFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  RECT work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const skin::Box box =
      skin::MaximisedBox({work.left, work.top, work.right, work.bottom}, ::GetSystemMetrics(SM_CYSCREEN));
  lpMMI->ptMaxPosition.x = box.left;
  lpMMI->ptMaxPosition.y = box.top;
  lpMMI->ptMaxSize.x = box.right - box.left;
  lpMMI->ptMaxSize.y = box.bottom - box.top;
  lpMMI->ptMinTrackSize.x = m_sizeMin.cx;
  lpMMI->ptMinTrackSize.y = m_sizeMin.cy;
}

void CQKGameFrameWnd::OnDestroy() {
  if (m_pOwnedPopup) {
    if (m_pOwnedPopup->GetSafeHwnd()) m_pOwnedPopup->DestroyWindow();
    delete m_pOwnedPopup;
    m_pOwnedPopup = nullptr;
  }
  SkinRegionCacheEmpty();
  CFrameWnd::OnDestroy();
}

// ---- lobby and tooltips ---------------------------------------------------------------------------

namespace {
struct ForwardState {
  DWORD pid;
  COPYDATASTRUCT cds;
};
BOOL CALLBACK ForwardToDialog(HWND h, LPARAM l) {
  ForwardState* st = reinterpret_cast<ForwardState*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  if (pid != st->pid || ::GetWindowLongPtrA(h, GWLP_USERDATA) != SKIN_DIALOG_MARK) return TRUE;
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(h, WM_COPYDATA, 0, (LPARAM)&st->cds, SMTO_ABORTIFHUNG | SMTO_BLOCK, kForwardTimeoutMs, &result);
  return TRUE;
}
}  // namespace

void CQKGameFrameWnd::ForwardToSkinDialogs(LPARAM lParam) {
  ForwardState st;
  st.pid = ::GetCurrentProcessId();
  st.cds.dwData = LOBBY_SHOWHIDE_COPYDATA | (ULONG_PTR)(lParam & 0xFF);
  st.cds.cbData = 0;
  st.cds.lpData = nullptr;
  ::EnumWindows(ForwardToDialog, (LPARAM)&st);
}

LRESULT CQKGameFrameWnd::OnLobbyFindGame(WPARAM, LPARAM lParam) {
  if (lParam == 0) {
    ShowWindow(SW_HIDE);
    m_bHidden = TRUE;
  } else if (lParam == 1) {
    ShowWindow(SW_SHOW);
    m_bHidden = FALSE;
  } else {
    return 0;
  }
  ForwardToSkinDialogs(lParam);
  return 0;
}

INT_PTR CQKGameFrameWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  if (AfxGetMainWnd() != this) return -1;
  CRect rc;
  GetWindowRect(&rc);
  CPoint p(point.x, point.y);  // client coordinates are window coordinates here
  (void)rc;
  int hit = m_captionButtons.HitTest(p.x, p.y);
  INT_PTR id = -1;
  if (hit == kHitSetup)
    id = kIdsSetupMenu;
  else if (hit > 100 && hit <= 110)
    id = kTipFirst + (hit - 101);
  if (id < 0) return -1;
  if (pTI) {
    pTI->hwnd = m_hWnd;
    pTI->uId = (UINT_PTR)id;
    pTI->uFlags = 0;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
    m_captionButtons.GetBounds(&pTI->rect);
  }
  return id;
}

BOOL CQKGameFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  if (!pNMHDR) return FALSE;
  TOOLTIPTEXTA* a = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
  TOOLTIPTEXTW* w = reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR);
  const UINT_PTR id = pNMHDR->idFrom;
  const UINT flags = pNMHDR->code == TTN_NEEDTEXTA ? a->uFlags : w->uFlags;
  if ((flags & TTF_IDISHWND) && (HWND)id == m_hWnd) return FALSE;
  char text[80] = "";
  if (id >= kTipFirst && id < kTipFirst + 10) {
    skin::CopyTextBounded(text, sizeof text, m_szTips[id - kTipFirst]);
  } else {
    CString s;
    s.LoadString((UINT)id);
    skin::CopyTextBounded(text, sizeof text, s);
  }
  if (pNMHDR->code == TTN_NEEDTEXTA) {
    skin::CopyTextBounded(a->szText, sizeof a->szText, text);
  } else {
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, w->szText, (int)(sizeof w->szText / sizeof w->szText[0]));
    if (n <= 0) w->szText[0] = 0;
    w->szText[(sizeof w->szText / sizeof w->szText[0]) - 1] = 0;
  }
  if (pResult) *pResult = 0;
  return TRUE;
}
