#include "HelpDlg.h"

#include <algorithm>

#include "SkinTheme.h"

BEGIN_MESSAGE_MAP(CHelpDlg, CSkinDialog)
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {
const int kRow = 35;  // the button row below the picture
const int kLineStep = 16;
const int kScrollWidth = 16;
}  // namespace

CHelpDlg::CHelpDlg(CWnd* pParent, const char* link)
    : CSkinDialog(IDD_HELPDLG, pParent), m_nShowAgain(1), m_bLinkShown(FALSE), m_bPictureShown(FALSE) {
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
  if (GetDlgItem(IDC_HELP_AGAIN)) DDX_Check(pDX, IDC_HELP_AGAIN, m_nShowAgain);
}

BOOL CHelpDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  ModifyStyle(WS_SYSMENU | WS_BORDER, 0);
  m_link.SubclassDlgItem(IDC_HELP_LINK, this);
  m_btnOK.LoadSkin(this, IDOK, GetSkinSection(), "IDOK", 0, 0, TRUE);
  // Without its picture the window keeps its template: the texts and the close button.
  if (m_nHelpType == 0) m_bPictureShown = LayOutPicture();
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
  const int border = GetBorderWidth(), top = GetInnerTop();
  // The inner area: the picture's width, its height up to the rows below it.
  CRect window;
  GetWindowRect(&window);
  const int below = kRow + (m_bLinkShown ? kRow : 0);
  int innerH = std::min(h, window.Height() - top - border - below);
  if (innerH <= 0) innerH = h;
  const bool scroll = h > innerH;
  const int width = 2 * border + w + (scroll ? kScrollWidth : 0);
  const int height = top + innerH + below + border;
  SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_rcPicture = CRect(border, top, border + w, top + innerH);
  if (scroll) {
    CRect bar(m_rcPicture.right, m_rcPicture.top, m_rcPicture.right + kScrollWidth, m_rcPicture.bottom);
    m_scroll.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, bar, this, IDC_HELP_SCROLL);
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, h - 1, (UINT)innerH, 0, 0};
    m_scroll.SetScrollInfo(&si);
  }
  CRect inner(border, top, width - border, height - border);
  PlaceLinkAndCheck(inner);
  if (CWnd* ok = GetDlgItem(IDOK)) {
    CRect r;
    ok->GetWindowRect(&r);
    ok->SetWindowPos(nullptr, (width - r.Width()) / 2, inner.bottom - (kRow + r.Height()) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return TRUE;
}

void CHelpDlg::PlaceLinkAndCheck(const CRect& inner) {
  CWnd* link = GetDlgItem(IDC_HELP_LINK);
  CWnd* again = GetDlgItem(IDC_HELP_AGAIN);
  if (link && m_bLinkShown) {
    CString tmpl, text;
    link->GetWindowText(tmpl);
    text.Format(tmpl, (LPCSTR)m_strLink, "</a>");
    link->SetWindowText(text);
    link->SetWindowPos(nullptr, inner.left + 4, inner.bottom - 2 * kRow + 4, inner.Width() - 8, 17,
                       SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (link) {
    link->ShowWindow(SW_HIDE);
  }
  if (again) {
    int y = m_bLinkShown ? inner.bottom - kRow - 30 + kRow : inner.bottom - kRow + 10;
    again->SetWindowPos(nullptr, inner.left + 4, y, 200, 17, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CHelpDlg::OnOK() {
  UpdateData(TRUE);
  ShowWindow(SW_HIDE);
}

void CHelpDlg::PrePaintClient(CDC* pDC) {
  m_nSaved = pDC->SaveDC();
  if (m_bPictureShown) pDC->ExcludeClipRect(&m_rcPicture);
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
