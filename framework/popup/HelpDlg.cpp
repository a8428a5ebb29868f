#include "HelpDlg.h"

#include <afxpriv.h>

#include <algorithm>

#include "ResLoad.h"
#include "SkinTheme.h"

BEGIN_MESSAGE_MAP(CHelpDlg, CSkinDialog)
  ON_WM_VSCROLL()
  ON_WM_DESTROY()
  ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

namespace {
const int kRow = 35;  // the button row below the picture or the page
const int kLineStep = 16;
const int kDefaultBarWidth = 16;  // without "Scroll.bmp"
const int kMaxWebWindowHeight = 580;
const int kLinkWidth = 123, kLinkHeight = 17;
}  // namespace

CHelpDlg::CHelpDlg(CWnd* pParent, const char* link)
    : CSkinDialog(IDD_TIPS, pParent), m_nShowAgain(1), m_bLinkShown(FALSE), m_bPictureShown(FALSE) {
  SetSkinName("help");
  m_nWebWidth = SkinThemeInt(GetSkinSection(), "WedWidth", 780);
  m_nWebHeight = SkinThemeInt(GetSkinSection(), "WebHeight", 550);
  m_nHelpType = SkinThemeInt(GetSkinSection(), "HelpType", 0);
  m_sizePicture = CSize(0, 0);
  if (m_nHelpType == 2) {
    m_strLink = link ? link : "";
  } else if (link && *link) {
    m_strLink.Format("<A href=\"%s\">", link);
    m_bLinkShown = TRUE;
  }
}

CHelpDlg::~CHelpDlg() = default;

void CHelpDlg::DoDataExchange(CDataExchange* pDX) {
  CSkinDialog::DoDataExchange(pDX);
  if (GetDlgItem(IDC_TIPS_AGAIN)) DDX_Check(pDX, IDC_TIPS_AGAIN, m_nShowAgain);
}

BOOL CHelpDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  ModifyStyle(WS_SYSMENU | WS_BORDER, 0);
  m_link.SubclassDlgItem(IDC_TIPS_LINK, this);
  m_btnOK.LoadSkin(this, IDOK, GetSkinSection(), "IDOK", 0, 0, TRUE);
  // Without its picture or its browser the window keeps its template: the texts and the
  // close button (a broken theme still leaves a help window that can be closed).
  if (m_nHelpType == 0)
    m_bPictureShown = LayOutPicture();
  else if (m_nHelpType == 1 || m_nHelpType == 2)
    LayOutBrowser();
  CenterWindow(GetParent());
  SendMessage(DM_SETDEFID, IDOK);
  if (CWnd* ok = GetDlgItem(IDOK)) ok->SetFocus();
  return FALSE;
}

BOOL CHelpDlg::LayOutPicture() {
  std::string name = SkinThemeString(GetSkinSection(), "HelpBmp", "");
  if (name.empty() || !m_picture.LoadFile(SkinImagePath(name).c_str())) return FALSE;
  int w = 0, h = 0;
  m_picture.GetSize(w, h);
  if (w <= 0 || h <= 0) return FALSE;
  m_sizePicture = CSize(w, h);
  const int barWidth =
      m_scroll.LoadImage(SkinImagePath("Scroll.bmp").c_str()) ? m_scroll.GetCellSize().cx : kDefaultBarWidth;
  const int border = GetBorderWidth(), top = GetInnerTop();
  // The picture area: the picture's width, its height up to the rows below it.
  CRect window;
  GetWindowRect(&window);
  const int below = kRow + (m_bLinkShown ? kRow : 0);
  int innerH = std::min(h, window.Height() - top - border - below);
  if (innerH <= 0) innerH = h;
  const bool scroll = h > innerH;
  const int width = 2 * border + w + (scroll ? barWidth : 0);
  const int height = top + innerH + below + border;
  SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_rcPicture = CRect(border, top, border + w, top + innerH);
  if (scroll) {
    CRect bar(m_rcPicture.right, m_rcPicture.top, m_rcPicture.right + barWidth, m_rcPicture.bottom);
    if (m_scroll.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, bar, this, IDC_HELP_SCROLL)) {
      m_scroll.SetArrowLength(m_scroll.GetCellSize().cy > 0 ? m_scroll.GetCellSize().cy : barWidth);
      m_scroll.ShowBar(TRUE);
      SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, h - 1, (UINT)innerH, 0, 0};
      m_scroll.SetScrollInfo(&si);
    }
  }
  CRect inner(border, top, width - border, height - border);
  PlaceLinkAndCheck(inner);
  PlaceOK(width, inner.bottom);
  return TRUE;
}

// The configured help page: the language resources' "<program>_s", else the program's own
// "Help\Help.htm".
CString CHelpDlg::HelpPageUrl() const {
  CString key;
  key.Format("%s_s", AfxGetApp() && AfxGetApp()->m_pszExeName ? AfxGetApp()->m_pszExeName : "Vesk");
  std::string url = GetLangRscUrl(key);
  if (!url.empty()) return url.c_str();
  char path[MAX_PATH] = "";
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (!n || n >= MAX_PATH) return CString();
  char* slash = strrchr(path, '\\');
  if (slash) *slash = '\0';
  CString page;
  page.Format("%s\\Help\\Help.htm", path);
  return page;
}

BOOL CHelpDlg::LayOutBrowser() {
  const int border = GetBorderWidth(), top = GetInnerTop();
  const int width = m_nWebWidth + 2 * border;
  const int height =
      std::min(kMaxWebWindowHeight, border + m_nWebHeight + GetCaptionHeight() + 2 * kRow - (m_bLinkShown ? 0 : kRow));
  SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The page fills the inner area down to the rows below it, at most the web height.
  const int rows = m_bLinkShown ? 2 * kRow : kRow;
  const int pageBottom = std::min(top + m_nWebHeight, height - border - rows);
  CRect page(border, top, width - border, std::max(top, pageBottom));
  if (!m_web.Create(nullptr, "", WS_CHILD | WS_VISIBLE, page, this, IDC_HELP_WEB)) return FALSE;
  m_strPageUrl = m_nHelpType == 1 ? HelpPageUrl() : m_strLink;
  m_web.Navigate(m_strPageUrl, nullptr, nullptr, nullptr, nullptr);
  // The link and the check box in the row below the page, the close button at the bottom.
  CWnd* link = GetDlgItem(IDC_TIPS_LINK);
  CWnd* again = GetDlgItem(IDC_TIPS_AGAIN);
  const int rowTop = page.bottom + (kRow - kLinkHeight) / 2;
  int x = border + 2;
  if (link && m_bLinkShown) {
    FormatLink(link);
    link->SetWindowPos(nullptr, x, rowTop, kLinkWidth, kLinkHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    x += kLinkWidth + 8;
  } else if (link) {
    link->ShowWindow(SW_HIDE);
  }
  if (again) again->SetWindowPos(nullptr, x, rowTop, 200, kLinkHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceOK(width, height - border);
  return TRUE;
}

void CHelpDlg::FormatLink(CWnd* link) {
  m_link.m_crLink = SkinThemeColor(GetSkinSection(), "DetailURLColor", GetCtrlTextColor());
  CString tmpl, text;
  link->GetWindowText(tmpl);
  text.Format(tmpl, (LPCSTR)m_strLink, "</a>");
  link->SetWindowText(text);
}

void CHelpDlg::PlaceLinkAndCheck(const CRect& inner) {
  CWnd* link = GetDlgItem(IDC_TIPS_LINK);
  CWnd* again = GetDlgItem(IDC_TIPS_AGAIN);
  if (link && m_bLinkShown) {
    FormatLink(link);
    link->SetWindowPos(nullptr, inner.left + 4, inner.bottom - 2 * kRow + 4, inner.Width() - 8, kLinkHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (link) {
    link->ShowWindow(SW_HIDE);
  }
  if (again) {
    int y = m_bLinkShown ? inner.bottom - 30 : inner.bottom - kRow + 10;
    again->SetWindowPos(nullptr, inner.left + 4, y, 200, kLinkHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The close button centred in the bottom row that ends at `rowBottom`.
void CHelpDlg::PlaceOK(int width, int rowBottom) {
  CWnd* ok = GetDlgItem(IDOK);
  if (!ok) return;
  CRect r;
  ok->GetWindowRect(&r);
  ok->SetWindowPos(nullptr, (width - r.Width()) / 2, rowBottom - (kRow + r.Height()) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHelpDlg::OnOK() {
  UpdateData(TRUE);
  AfxHideTopLevel(GetSafeHwnd());
}

// The wheel goes to the window with the focus (the close button), which hands it up here:
// the page under the pointer scrolls. A page that hands it back up ends the round.
BOOL CHelpDlg::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  HWND under = ::WindowFromPoint(pt);
  if (!m_bWheelForwarded && m_web.GetSafeHwnd() && under && (under == m_web.m_hWnd || ::IsChild(m_web.m_hWnd, under))) {
    m_bWheelForwarded = TRUE;
    ::SendMessage(under, WM_MOUSEWHEEL, MAKEWPARAM(nFlags, (WORD)zDelta), MAKELPARAM(pt.x, pt.y));
    m_bWheelForwarded = FALSE;
    return TRUE;
  }
  return CSkinDialog::OnMouseWheel(nFlags, zDelta, pt);
}

void CHelpDlg::OnDestroy() {
  if (m_clip.GetSafeHandle()) m_clip.DeleteObject();
  CSkinDialog::OnDestroy();
}

// The picture, the bar and the page paint themselves: the skin's background stays off them.
void CHelpDlg::PrePaintClient(CDC* pDC) {
  m_nSaved = pDC->SaveDC();
  if (m_bPictureShown) pDC->ExcludeClipRect(&m_rcPicture);
  for (CWnd* child : {static_cast<CWnd*>(&m_scroll), static_cast<CWnd*>(&m_web)}) {
    if (!child->GetSafeHwnd() || !child->IsWindowVisible()) continue;
    CRect r;
    child->GetWindowRect(&r);
    ScreenToClient(&r);
    pDC->ExcludeClipRect(&r);
  }
  CWnd* ok = GetDlgItem(IDOK);
  if (!ok) return;
  if (m_clip.GetSafeHandle()) m_clip.DeleteObject();
  m_clip.CreateRectRgn(0, 0, 0, 0);
  if (::GetWindowRgn(ok->m_hWnd, (HRGN)m_clip.GetSafeHandle()) == ERROR) return;
  CRect r;
  ok->GetWindowRect(&r);
  ScreenToClient(&r);
  m_clip.OffsetRgn(r.left, r.top);
  pDC->SelectClipRgn(&m_clip, RGN_DIFF);
}

void CHelpDlg::PaintClient(CDC* pDC) {
  pDC->RestoreDC(m_nSaved);
  if (!m_bPictureShown) return;
  POINT from = {0, m_nScroll};
  m_picture.Draw(pDC, m_rcPicture.left, m_rcPicture.top, m_rcPicture.Width(), m_rcPicture.Height(), 0, &from);
}

void CHelpDlg::ScrollTo(int pos) {
  const int limit = std::max(0, (int)(m_sizePicture.cy - m_rcPicture.Height()));
  m_nScroll = std::max(0, std::min(pos, limit));
  if (m_scroll.GetSafeHwnd()) m_scroll.SetScrollPos(m_nScroll);
  InvalidateRect(&m_rcPicture, FALSE);
}

void CHelpDlg::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  const int page = m_rcPicture.Height();
  switch (nSBCode) {
    case SB_LINEUP:
      ScrollTo(m_nScroll - kLineStep);
      break;
    case SB_LINEDOWN:
      ScrollTo(m_nScroll + kLineStep);
      break;
    case SB_PAGEUP:
      ScrollTo(m_nScroll - page);
      break;
    case SB_PAGEDOWN:
      ScrollTo(m_nScroll + page);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      ScrollTo((int)nPos);
      break;
    default:
      CSkinDialog::OnVScroll(nSBCode, nPos, pScrollBar);
  }
}
