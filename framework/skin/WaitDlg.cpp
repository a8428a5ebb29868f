#include "WaitDlg.h"

#include <afxpriv.h>

#include "SkinLayout.h"
#include "SkinTheme.h"

namespace {
const UINT kIdIcon = 29802, kIdText = 29803, kIdCancel = 29804;

CSize MeasureLine(CWnd* pWnd, CFont* pFont, const CString& text) {
  CClientDC dc(pWnd);
  CFont* old = pFont ? dc.SelectObject(pFont) : nullptr;
  CSize size = dc.GetTextExtent(text.IsEmpty() ? CString(" ") : text);
  if (old) dc.SelectObject(old);
  return size;
}

// The three distances of a box, measured as the template made it.
void MeasureDistances(CWnd* pDlg, CWnd* pButton, int dist[3]) {
  CRect wr, cr, br;
  pDlg->GetWindowRect(&wr);
  pDlg->GetClientRect(&cr);
  pDlg->ClientToScreen(&cr);
  pButton->GetWindowRect(&br);
  dist[0] = wr.Height() + 5;
  dist[1] = br.top - wr.top;
  dist[2] = br.top - cr.top + 5;
}
}  // namespace

// ---- skinned wait box ----------------------------------------------------------------------

CSkinWaitDlg::CSkinWaitDlg(LPCSTR lpszText, int nShowCancel, CWnd* pParent, LPCSTR lpszSkin)
    : CSkinDialog(IDD_WAITBOX, pParent),
      m_nShowCancel(nShowCancel),
      m_bCancelled(FALSE),
      m_bSecondLayout(FALSE),
      m_bCreated(FALSE),
      m_hThemeIcon(nullptr),
      m_pParent(pParent),
      m_pFont(nullptr) {
  m_nDist[0] = m_nDist[1] = m_nDist[2] = 0;
  SetSkinName(lpszSkin && *lpszSkin ? lpszSkin : "Wait");
  if (lpszText) SetText(lpszText, nShowCancel);
}

CSkinWaitDlg::~CSkinWaitDlg() {
  if (m_bCreated && m_hWnd) DestroyWindow();
  if (m_hThemeIcon) ::DestroyIcon(m_hThemeIcon);
}

void CSkinWaitDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, kIdIcon, m_icon);
  DDX_Control(pDX, kIdText, m_text);
  DDX_Text(pDX, kIdText, m_strText);
}

BOOL CSkinWaitDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  m_cancel.LoadSkin(this, kIdCancel, GetSkinSection(), "IDCANCEL", 0, 0, TRUE);
  m_text.m_crText = GetCtrlTextColor();
  MeasureDistances(this, &m_cancel, m_nDist);
  m_hThemeIcon = SkinLoadThemeIcon(GetSkinSection(), "Icon");
  return TRUE;
}

void CSkinWaitDlg::SetTextId(UINT nID, int nShowCancel, int nKeepOpen) {
  CString s;
  s.LoadString(nID);
  SetText(s, nShowCancel, nKeepOpen);
}

void CSkinWaitDlg::SetText(LPCSTR lpszText, int nShowCancel, int nKeepOpen) {
  m_strText = lpszText ? lpszText : "";
  m_nShowCancel = nShowCancel;
  m_bCancelled = FALSE;
  SetHasCaption(m_bSecondLayout || nShowCancel || nKeepOpen);
  if (!m_bCreated) {
    if (!Create(IDD_WAITBOX, m_pParent)) return;
    m_bCreated = TRUE;
  }
  // Hidden while it is laid out anew (at once: a new text must not hold the program up).
  AfxHideTopLevel(m_hWnd);
  m_text.SetWindowText(m_strText);

  const int border = GetBorderWidth();
  const int il = border, it = GetInnerTop();
  CSize text = MeasureLine(this, m_pFont ? m_pFont : GetFont(), m_strText);
  CRect button;
  m_cancel.GetWindowRect(&button);
  skin::WaitBoxSize content = skin::WaitBoxContent(text.cx, nShowCancel != 0, m_bSecondLayout != 0, button.Height(), 0);
  const int w = content.contentW + 2 * border;
  const int h = it + content.contentH + border;
  SetWindowPos(nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  GetCaptionButtons().ShowButton(SW_HIDE, 0);
  m_icon.SetWindowPos(nullptr, il + 8, it + 8, 32, 32, SWP_NOZORDER | SWP_NOACTIVATE);
  m_icon.ShowWindow(m_hThemeIcon ? SW_HIDE : SW_SHOW);
  m_text.SetWindowPos(nullptr, il + 48, it + 8 + (32 - text.cy) / 2, text.cx + 4, text.cy + 2,
                      SWP_NOZORDER | SWP_NOACTIVATE);
  if (nShowCancel) {
    m_cancel.SetWindowPos(nullptr, (w - button.Width()) / 2, it + 48, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_cancel.ShowWindow(SW_SHOW);
  } else {
    m_cancel.ShowWindow(SW_HIDE);
  }
  if (m_bHasCaption && GetWindowTextLength() == 0) SetWindowText("\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2");
  CenterWindow(m_pParent);
  ShowWindow(SW_SHOW);
  Invalidate(FALSE);
  UpdateWindow();
}

void CSkinWaitDlg::PaintClient(CDC* pDC) {
  if (!m_hThemeIcon || !m_icon.GetSafeHwnd()) return;
  CRect r;
  m_icon.GetWindowRect(&r);
  ScreenToClient(&r);
  ::DrawIconEx(pDC->GetSafeHdc(), r.left, r.top, m_hThemeIcon, 32, 32, 0, nullptr, DI_NORMAL);
}

// ---- plain notice box ----------------------------------------------------------------------

CNoticeDlg::CNoticeDlg(LPCSTR lpszText, int nShowCancel, CWnd* pParent)
    : CDialog(IDD_NOTICE, pParent),
      m_nShowCancel(nShowCancel),
      m_bCancelled(FALSE),
      m_pParent(pParent),
      m_pFont(nullptr),
      m_bCreated(FALSE),
      m_bKeepCaption(FALSE) {
  m_nDist[0] = m_nDist[1] = m_nDist[2] = 0;
  if (lpszText) SetText(lpszText, nShowCancel);
}

CNoticeDlg::~CNoticeDlg() {
  if (m_bCreated && m_hWnd) DestroyWindow();
}

void CNoticeDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, kIdCancel, m_cancel);
  DDX_Control(pDX, kIdIcon, m_icon);
  DDX_Control(pDX, kIdText, m_text);
  DDX_Text(pDX, kIdText, m_strText);
}

BOOL CNoticeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  MeasureDistances(this, &m_cancel, m_nDist);
  return TRUE;
}

void CNoticeDlg::SetTextId(UINT nID, int nShowCancel) {
  CString s;
  s.LoadString(nID);
  SetText(s, nShowCancel);
}

void CNoticeDlg::SetText(LPCSTR lpszText, int nShowCancel) {
  if (!m_bCreated) {
    if (!Create(IDD_NOTICE, m_pParent)) return;
    m_bCreated = TRUE;
  }
  m_nShowCancel = nShowCancel;
  m_bCancelled = FALSE;
  AfxHideTopLevel(m_hWnd);
  m_strText = lpszText ? lpszText : "";
  m_text.SetWindowText(m_strText);

  CSize text = MeasureLine(this, m_pFont ? m_pFont : GetFont(), m_strText);
  CRect tr;
  m_text.GetWindowRect(&tr);
  ScreenToClient(&tr);
  m_text.SetWindowPos(nullptr, 0, 0, text.cx, text.cy + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const BOOL caption = m_bKeepCaption || nShowCancel;
  ModifyStyle(caption ? 0 : WS_CAPTION, caption ? WS_CAPTION : 0, SWP_FRAMECHANGED);
  CRect wr, cr;
  GetWindowRect(&wr);
  GetClientRect(&cr);
  const int frameW = wr.Width() - cr.Width();
  const int width = tr.left + text.cx + 32 + frameW;
  int height;
  if (nShowCancel) {
    height = m_nDist[0];
    CRect br;
    m_cancel.GetWindowRect(&br);
    ScreenToClient(&br);
    m_cancel.SetWindowPos(nullptr, (width - frameW - br.Width()) / 2, br.top, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_cancel.ShowWindow(SW_SHOW);
  } else {
    height = caption ? m_nDist[1] : m_nDist[2];
    m_cancel.ShowWindow(SW_HIDE);
  }
  SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  CenterWindow(m_pParent);
  ShowWindow(SW_SHOW);
  UpdateWindow();
}
