#include "MsgBox.h"

#include <cstdlib>
#include <cstring>

#include "SkinTheme.h"

namespace {
const UINT kIdIcon = 29812, kIdText = 29811, kIdCountdown = 29813;
const UINT kIdButton[3] = {29714, 29715, 29716};
const UINT kIdEdit = 29852, kIdPassword = 29853;
const UINT_PTR kTimerCountdown = 1;
const char* const kPromptTitle = "\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2";  // the system's "notice" caption

CString LoadText(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}

// Text size with the same breaks the text control draws with.
void MeasureText(CDialog* pDlg, CFont* pFont, const CString& text, int* width, int* height) {
  CClientDC dc(pDlg);
  CFont* old = pFont ? dc.SelectObject(pFont) : nullptr;
  int w = 0, h = 0;
  for (const std::string& line : skin::SplitMessageLines((LPCSTR)text)) {
    const std::string measured = line.empty() ? std::string(" ") : line;
    CSize size = dc.GetTextExtent(measured.c_str(), (int)measured.size());
    w = std::max<int>(w, size.cx);
    h += size.cy + 2;
  }
  if (old) dc.SelectObject(old);
  *width = w + 4;  // the control lays out piece by piece; a little room keeps every line whole
  *height = h;
}

void Place(CWnd* pWnd, const skin::Box& b) {
  if (pWnd && pWnd->GetSafeHwnd())
    pWnd->SetWindowPos(nullptr, b.left, b.top, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

void CancelChildModes() {
  CWnd* main = AfxGetMainWnd();
  if (!main || !main->GetSafeHwnd()) return;
  ::EnumChildWindows(
      main->GetSafeHwnd(),
      [](HWND h, LPARAM) -> BOOL {
        ::PostMessageA(h, WM_CANCELMODE, 0, 0);
        return TRUE;
      },
      0);
}

// ---- shared behaviour ----------------------------------------------------------------------

CMsgBoxCore::CMsgBoxCore(LPCSTR lpszText, UINT nType, int nCountdown, BOOL bInput)
    : m_strText(lpszText ? lpszText : ""),
      m_nType(nType & 0x7FFFFFFFu),
      m_nCountdown(nCountdown > 0 ? nCountdown : 0),
      m_nCountdownSeconds(m_nCountdown),
      m_dwCountdownStart(0),
      m_nButtons(1),
      m_nTimeoutResult(1),
      m_pFont(nullptr),
      m_bMasked(FALSE),
      m_bInput(bInput),
      m_nResult(0) {
  m_nReturn[0] = m_nReturn[1] = m_nReturn[2] = 0;
}

void CMsgBoxCore::Init(CDialog* pDlg, CWnd* pButtons[3], CStatic* pIcon, CStatic* pCountdown, HICON hIcon,
                       BOOL bSkinned, const RECT& inner) {
  // Buttons of the set.
  skin::MsgBoxButtons set = skin::ButtonsForStyle(m_nType);
  m_nButtons = set.count;
  for (int i = 0; i < 3; ++i) {
    m_nReturn[i] = set.result[i];
    if (i < set.count) {
      pButtons[i]->SetWindowText(LoadText(set.caption[i]));
      pButtons[i]->ShowWindow(SW_SHOW);
    } else {
      pButtons[i]->ShowWindow(SW_HIDE);
    }
  }
  // Default button.
  bool makeDefault = true;
  int def = skin::DefaultButtonIndex(m_nType, set.count, &makeDefault);
  if (makeDefault) pDlg->SendMessage(DM_SETDEFID, kIdButton[def]);
  pDlg->SendMessage(WM_NEXTDLGCTL, (WPARAM)pButtons[def]->GetSafeHwnd(), TRUE);
  m_nTimeoutResult = m_nReturn[def];

  // Geometry.
  skin::MsgBoxMetrics m;
  MeasureText(pDlg, m_pFont, m_strText, &m.textW, &m.textH);
  CRect iconRect, buttonRect;
  pIcon->GetWindowRect(&iconRect);
  pButtons[0]->GetWindowRect(&buttonRect);
  if (hIcon) {
    m.iconW = bSkinned ? std::min<int>(32, iconRect.Width()) : iconRect.Width();
    m.iconH = bSkinned ? std::min<int>(32, iconRect.Height()) : iconRect.Height();
    if (bSkinned) m.iconW = m.iconH = 32;
  }
  m.buttonW = buttonRect.Width();
  m.buttonH = buttonRect.Height();
  m.buttons = set.count;
  m.input = m_bInput;
  m.skinned = bSkinned;
  m.innerLeft = inner.left;
  m.innerTop = inner.top;
  m_place = skin::LayOutMessageBox(m);

  Place(pIcon, m_place.icon);
  Place(pDlg->GetDlgItem(kIdText), m_place.text);
  CWnd* edit = pDlg->GetDlgItem(kIdEdit);
  CWnd* password = pDlg->GetDlgItem(kIdPassword);
  if (m_bInput) {
    CWnd* used = m_bMasked ? password : edit;
    CWnd* other = m_bMasked ? edit : password;
    Place(used, m_place.entry);
    if (used) used->ShowWindow(SW_SHOW);
    if (other) other->ShowWindow(SW_HIDE);
  } else {
    if (edit) edit->ShowWindow(SW_HIDE);
    if (password) password->ShowWindow(SW_HIDE);
  }
  for (int i = 0; i < 3; ++i) Place(pButtons[i], m_place.button[i]);
  // Countdown: between the last button and the right edge, on the button row.
  const skin::Box& last = m_place.button[set.count - 1];
  CRect cd;
  pCountdown->GetWindowRect(&cd);
  int cdW = std::max<int>(16, m_place.clientW - (bSkinned ? (int)inner.left : 0) - last.right);
  skin::Box c{last.right, last.top + (last.Height() - cd.Height()) / 2, last.right + cdW,
              last.top + (last.Height() - cd.Height()) / 2 + cd.Height()};
  Place(pCountdown, c);

  // Window size: the client takes the layout, the frame keeps its non-client sizes.
  CRect wr, cr;
  pDlg->GetWindowRect(&wr);
  pDlg->GetClientRect(&cr);
  int extraW = wr.Width() - cr.Width(), extraH = wr.Height() - cr.Height();
  pDlg->SetWindowPos(nullptr, 0, 0, m_place.clientW + extraW, m_place.clientH + extraH,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_nCountdown > 0) {
    m_dwCountdownStart = ::GetTickCount();
    pDlg->SetTimer(kTimerCountdown, 1000);
    ShowCountdown(pDlg);
  }
}

void CMsgBoxCore::ShowCountdown(CDialog* pDlg) {
  CString s;
  s.Format("%d", m_nCountdown);
  CWnd* cd = pDlg->GetDlgItem(kIdCountdown);
  if (!cd) return;
  cd->SetWindowText(s);
  // The skin shows through the static, so its old digits go with a repaint beneath it.
  CRect r;
  cd->GetWindowRect(&r);
  pDlg->ScreenToClient(&r);
  pDlg->RedrawWindow(&r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

BOOL CMsgBoxCore::Tick(CDialog* pDlg) {
  if (m_nCountdown <= 0) return FALSE;
  // Ticks a busy thread missed arrive merged into one: the clock says how much time is left.
  const int left = skin::CountdownSecondsLeft(m_nCountdownSeconds, ::GetTickCount() - m_dwCountdownStart);
  if (left >= m_nCountdown) return FALSE;
  m_nCountdown = left;
  ShowCountdown(pDlg);
  if (m_nCountdown > 0) return FALSE;
  pDlg->KillTimer(kTimerCountdown);
  if (::GetCapture() && (::GetCapture() == pDlg->GetSafeHwnd() || ::IsChild(pDlg->GetSafeHwnd(), ::GetCapture())))
    ::ReleaseCapture();
  m_nResult = m_nTimeoutResult;
  pDlg->EndDialog(m_nTimeoutResult);
  return TRUE;
}

void CMsgBoxCore::Clicked(CDialog* pDlg, int k) {
  if (k < 0 || k >= m_nButtons) return;
  if (m_nCountdown > 0) pDlg->KillTimer(kTimerCountdown);
  m_nResult = m_nReturn[k];
  if (m_bInput) {
    pDlg->SendMessage(WM_COMMAND, IDOK);  // reads the entry fields and ends
  } else {
    pDlg->EndDialog(m_nResult);
  }
}

char* CMsgBoxCore::TakeAnswer() const {
  CString joined = m_strEdit + m_strPassword;
  if (joined.IsEmpty()) return nullptr;
  size_t n = (size_t)joined.GetLength();
  char* out = static_cast<char*>(std::malloc(n + 1));
  if (!out) return nullptr;
  std::memcpy(out, (LPCSTR)joined, n);
  out[n] = 0;
  return out;
}

// ---- plain box -----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMsgBoxDlg, CDialog)
  ON_WM_TIMER()
  ON_BN_CLICKED(29714, &CMsgBoxDlg::OnButton1)
  ON_BN_CLICKED(29715, &CMsgBoxDlg::OnButton2Map)
  ON_BN_CLICKED(29716, &CMsgBoxDlg::OnButton3)
END_MESSAGE_MAP()

CMsgBoxDlg::CMsgBoxDlg(LPCSTR lpszText, UINT nType, int nCountdown, BOOL bInput)
    : CDialog(IDD_MSGBOX), m_core(lpszText, nType, nCountdown, bInput) {}

CMsgBoxDlg::CMsgBoxDlg(UINT nIDText, UINT nType, int nCountdown, BOOL bInput)
    : CDialog(IDD_MSGBOX), m_core(LoadText(nIDText), nType, nCountdown, bInput) {}

void CMsgBoxDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, kIdIcon, m_icon);
  DDX_Control(pDX, kIdCountdown, m_countdown);
  DDX_Control(pDX, kIdText, m_text);
  for (int i = 0; i < 3; ++i) DDX_Control(pDX, kIdButton[i], m_button[i]);
  DDX_Text(pDX, kIdText, m_core.m_strText);
  DDX_Text(pDX, kIdEdit, m_core.m_strEdit);
  DDX_Text(pDX, kIdPassword, m_core.m_strPassword);
}

BOOL CMsgBoxDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  HICON icon = ::LoadIcon(nullptr, MAKEINTRESOURCE(skin::IconForStyle(m_core.m_nType).systemIcon));
  m_icon.SetIcon(icon);
  m_icon.ShowWindow(SW_SHOW);
  CWnd* buttons[3] = {&m_button[0], &m_button[1], &m_button[2]};
  RECT inner = {0, 0, 0, 0};
  m_core.Init(this, buttons, &m_icon, &m_countdown, icon, FALSE, inner);
  CenterWindow();
  return FALSE;  // the default button has the focus
}

void CMsgBoxDlg::OnOK() {
  // Enter without a default button ends nothing; an input box ends with the stored result.
  if (!m_core.m_bInput || m_core.m_nResult == 0) return;
  if (!UpdateData(TRUE)) return;
  EndDialog(m_core.m_nResult);
}

void CMsgBoxDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTimerCountdown) m_core.Tick(this);
}
void CMsgBoxDlg::OnButton1() { m_core.Clicked(this, 0); }
void CMsgBoxDlg::OnButton2() { m_core.Clicked(this, 1); }
void CMsgBoxDlg::OnButton3() { m_core.Clicked(this, 2); }

// ---- skinned box -----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSkinMsgBoxDlg, CSkinDialog)
  ON_WM_TIMER()
  ON_BN_CLICKED(29714, &CSkinMsgBoxDlg::OnButton1)
  ON_BN_CLICKED(29715, &CSkinMsgBoxDlg::OnButton2Map)
  ON_BN_CLICKED(29716, &CSkinMsgBoxDlg::OnButton3)
END_MESSAGE_MAP()

CSkinMsgBoxDlg::CSkinMsgBoxDlg(LPCSTR lpszText, UINT nType, int nCountdown, BOOL bInput)
    : CSkinDialog(IDD_MSGBOX2), m_core(lpszText, nType, nCountdown, bInput), m_hThemeIcon(nullptr) {
  SetSkinName("MsgBox");
}

CSkinMsgBoxDlg::CSkinMsgBoxDlg(UINT nIDText, UINT nType, int nCountdown, BOOL bInput)
    : CSkinDialog(IDD_MSGBOX2), m_core(LoadText(nIDText), nType, nCountdown, bInput), m_hThemeIcon(nullptr) {
  SetSkinName("MsgBox");
}

CSkinMsgBoxDlg::~CSkinMsgBoxDlg() {
  if (m_hThemeIcon) ::DestroyIcon(m_hThemeIcon);
}

void CSkinMsgBoxDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, kIdIcon, m_icon);
  DDX_Control(pDX, kIdCountdown, m_countdown);
  DDX_Control(pDX, kIdText, m_text);
  DDX_Text(pDX, kIdText, m_core.m_strText);
  DDX_Text(pDX, kIdEdit, m_core.m_strEdit);
  DDX_Text(pDX, kIdPassword, m_core.m_strPassword);
}

BOOL CSkinMsgBoxDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  skin::MsgBoxIcon which = skin::IconForStyle(m_core.m_nType);
  HICON icon = nullptr;
  if (!SkinThemeString(GetSkinSection(), which.key, "").empty()) {
    m_hThemeIcon = SkinLoadThemeIcon(GetSkinSection(), which.key);
    icon = m_hThemeIcon;  // a named file that cannot be read leaves the box without an icon
  } else {
    icon = ::LoadIcon(nullptr, MAKEINTRESOURCE(which.systemIcon));
    m_icon.SetIcon(icon);
  }
  m_icon.ShowWindow(m_hThemeIcon || !icon ? SW_HIDE : SW_SHOW);

  for (int i = 0; i < 3; ++i) {
    const char* key = skin::ButtonsForStyle(m_core.m_nType).key[i];
    m_button[i].LoadSkin(this, kIdButton[i], GetSkinSection(), key ? key : "IDOK", 0, 0, TRUE);
  }
  CWnd* buttons[3] = {&m_button[0], &m_button[1], &m_button[2]};
  RECT inner = {GetBorderWidth(), GetInnerTop(), 0, 0};
  m_core.Init(this, buttons, &m_icon, &m_countdown, icon, TRUE, inner);
  // The box ends only by its buttons: no close button on the caption.
  GetCaptionButtons().ShowButton(SW_HIDE, 0);
  m_text.m_crText = GetCtrlTextColor();
  if (m_core.m_nCountdown <= 0) m_countdown.ShowWindow(SW_HIDE);
  if (GetWindowTextLength() == 0) SetWindowText(kPromptTitle);
  CenterWindow(AfxGetMainWnd());
  return FALSE;
}

void CSkinMsgBoxDlg::PaintClient(CDC* pDC) {
  HICON icon = m_hThemeIcon ? m_hThemeIcon : m_icon.GetIcon();
  if (!icon || !m_icon.GetSafeHwnd()) return;
  CRect r;
  m_icon.GetWindowRect(&r);
  ScreenToClient(&r);
  ::DrawIconEx(pDC->GetSafeHdc(), r.left, r.top, icon, 32, 32, 0, nullptr, DI_NORMAL);
}

void CSkinMsgBoxDlg::OnOK() {
  if (!m_core.m_bInput || m_core.m_nResult == 0) return;
  if (!UpdateData(TRUE)) return;
  EndDialog(m_core.m_nResult);
}

void CSkinMsgBoxDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTimerCountdown) m_core.Tick(this);
}
void CSkinMsgBoxDlg::OnButton1() { m_core.Clicked(this, 0); }
void CSkinMsgBoxDlg::OnButton2() { m_core.Clicked(this, 1); }
void CSkinMsgBoxDlg::OnButton3() { m_core.Clicked(this, 2); }

// ---- the five functions ------------------------------------------------------------------------

namespace {
template <class Run>
int RunBox(LPCSTR text, UINT type, int countdown, BOOL input, BOOL masked, Run&& after) {
  if (SkinPathsSet()) {
    CSkinMsgBoxDlg box(text, type, countdown, input);
    box.m_core.m_bMasked = masked;
    INT_PTR r = box.DoModal();
    if (r != -1) {
      after(box.m_core);
      return box.m_core.m_nResult ? box.m_core.m_nResult : (int)r;
    }
    // The skin could not be made: the plain box asks instead.
  }
  CMsgBoxDlg box(text, type, countdown, input);
  box.m_core.m_bMasked = masked;
  INT_PTR r = box.DoModal();
  after(box.m_core);
  return box.m_core.m_nResult ? box.m_core.m_nResult : (int)r;
}
}  // namespace

int DoMessageBox(LPCSTR lpszText, UINT nType, int nCountdown) {
  return RunBox(lpszText, nType, nCountdown, FALSE, FALSE, [](const CMsgBoxCore&) {});
}

int DoMessageBoxId(UINT nIDText, UINT nType, int nCountdown) {
  return DoMessageBox(LoadText(nIDText), nType, nCountdown);
}

int ShowMessageBox(LPCSTR lpszText, UINT nType, int nCountdown) {
  CancelChildModes();
  return DoMessageBox(lpszText, nType, nCountdown);
}

int ShowMessageBoxId(UINT nIDText, UINT nType, int nCountdown) {
  CancelChildModes();
  return DoMessageBoxId(nIDText, nType, nCountdown);
}

int DoInputMessageBox(LPCSTR lpszText, UINT nType, int nCountdown, char** ppAnswer) {
  CancelChildModes();
  if (ppAnswer) *ppAnswer = nullptr;
  const BOOL input = ppAnswer != nullptr;
  const BOOL masked = (nType & 0x80000000u) != 0;
  return RunBox(lpszText, nType, nCountdown, input, masked, [ppAnswer](const CMsgBoxCore& core) {
    // The entries are read only when a button ended the box; a countdown leaves them empty.
    if (ppAnswer) *ppAnswer = core.TakeAnswer();
  });
}
