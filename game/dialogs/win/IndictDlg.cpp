#include "IndictDlg.h"

#include "SkinFit.h"

BEGIN_MESSAGE_MAP(CWaitIndictDlg, CSkinDialog)
  ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
const int kResultDrop = 100;  // the outcome moves the dialog down by this much
}  // namespace

CWaitIndictDlg::CWaitIndictDlg(CIndictSite& site, CWnd* pParent, UINT nTemplate, const char* skin)
    : CSkinDialog(nTemplate, pParent),
      m_site(site),
      m_nTextId(nTemplate == IDD_INDICT ? IDC_INDICT_TEXT : IDC_WAITINDICT_TEXT),
      m_nCountdownId(nTemplate == IDD_INDICT ? IDC_INDICT_COUNTDOWN : IDC_WAITINDICT_COUNTDOWN) {
  SetSkinName(skin);
}

BOOL CWaitIndictDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  FitTemplateIntoSkin(this);
  return TRUE;
}

// The texts sit on the skin's picture: the old text is painted over by the background.
void CWaitIndictDlg::SetItemText(UINT nID, const std::string& text) {
  CWnd* item = GetDlgItem(nID);
  if (!item) return;
  item->SetWindowText(text.c_str());
  CRect r;
  item->GetWindowRect(&r);
  ScreenToClient(&r);
  InvalidateRect(&r, TRUE);
  item->Invalidate();
}

void CWaitIndictDlg::SetMainText(const std::string& text) { SetItemText(m_nTextId, text); }

void CWaitIndictDlg::ShowCountdown() { SetItemText(m_nCountdownId, indict::CountdownText(m_nCountdown)); }

void CWaitIndictDlg::CentreOnMain() {
  CRect main = m_site.MainWindowRect(), r;
  GetWindowRect(&r);
  SetWindowPos(nullptr, main.CenterPoint().x - r.Width() / 2, main.CenterPoint().y - r.Height() / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWaitIndictDlg::Prompt(const uint8_t* frame) {
  if (!m_hWnd || !indict::CopyFrameHead(frame, m_prompt, sizeof m_prompt)) return;
  const indict::Prompt p = indict::ReadPrompt(m_prompt);
  m_nCountdown = m_nCountdownSeconds = p.seconds;
  m_dwCountdownStart = ::GetTickCount();
  ShowCountdown();
  OnPrompt();
  CentreOnMain();
  ShowWindow(SW_SHOW);
  for (UINT id : {m_nTextId, m_nCountdownId})
    if (CWnd* w = GetDlgItem(id)) w->ShowWindow(SW_SHOW);
  m_site.FlashIfInactive();
  SetTimer(IDT_COUNTDOWN, 1000, nullptr);
  SetTimer(IDT_KEEPALIVE, p.keepAliveMs, nullptr);
}

void CWaitIndictDlg::Update(const uint8_t* frame) { indict::CopyFrameHead(frame, m_fees, sizeof m_fees); }

void CWaitIndictDlg::Result(const uint8_t* frame) {
  if (!m_hWnd) return;
  m_site.FlashIfInactive();
  indict::CopyFrameHead(frame, m_result, sizeof m_result);
  KillTimer(IDT_COUNTDOWN);
  KillTimer(IDT_KEEPALIVE);
  HideChoices();
  if (indict::ReadWord(m_result, 12) == 0) {
    ShowWindow(SW_HIDE);
    return;
  }
  SetMainText(indict::ResultText(IsWaitDialog(), indict::ReadWord(m_result, 16), Complained()));
  CRect r;
  GetWindowRect(&r);
  r.OffsetRect(0, kResultDrop);
  SetWindowPos(nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_site.PlaceScoreBoardAbove(r);
}

void CWaitIndictDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == IDT_KEEPALIVE) {
    m_site.SendKeepAlive();
  } else if (nIDEvent == IDT_COUNTDOWN) {
    // The time that passed, not the ticks that arrived: a busy thread gets merged ticks.
    m_nCountdown = m_nCountdownSeconds - static_cast<int>((::GetTickCount() - m_dwCountdownStart) / 1000);
    if (m_nCountdown < 0)
      OnCountdownOver();
    else
      ShowCountdown();
  } else {
    CSkinDialog::OnTimer(nIDEvent);
  }
}

// ---- the farmers' dialog -------------------------------------------------------------------

CIndictDlg::CIndictDlg(CIndictSite& site, CWnd* pParent) : CWaitIndictDlg(site, pParent, IDD_INDICT, "Indict") {}

BOOL CIndictDlg::OnInitDialog() {
  CWaitIndictDlg::OnInitDialog();  // fits the template into the skin first
  m_btnYes.LoadSkin(this, IDC_INDICTBTN, GetSkinSection(), "IDC_INDICTBTN", 0, 0, TRUE);
  m_btnNo.LoadSkin(this, IDC_NOINDICTBTN, GetSkinSection(), "IDC_NOINDICTBTN", 0, 0, TRUE);
  return TRUE;
}

void CIndictDlg::OnPrompt() {
  SetMainText(indict::PromptText(indict::ReadWord(m_fees, 8), indict::ReadWord(m_fees, 12)));
  m_bComplained = FALSE;
  for (UINT id : {IDC_INDICTBTN, IDC_NOINDICTBTN})
    if (CWnd* w = GetDlgItem(id)) w->ShowWindow(SW_SHOW);
}

void CIndictDlg::HideChoices() {
  for (UINT id : {m_nCountdownId, (UINT)IDC_INDICTBTN, (UINT)IDC_NOINDICTBTN})
    if (CWnd* w = GetDlgItem(id)) w->ShowWindow(SW_HIDE);
}

void CIndictDlg::OnCountdownOver() {
  KillTimer(IDT_COUNTDOWN);
  m_site.SendDecline();
  SetMainText(indict::TimedOutText());
  HideChoices();
}

void CIndictDlg::Choose(bool complain) {
  KillTimer(IDT_COUNTDOWN);
  HideChoices();
  if (complain) {
    m_site.SendComplaint();
    m_bComplained = TRUE;
    SetMainText(indict::WaitServerText());
  } else {
    m_site.SendDecline();
    SetMainText(indict::DeclinedText());
  }
}

BOOL CIndictDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case IDC_INDICTBTN:
      Choose(true);
      return TRUE;
    case IDC_NOINDICTBTN:
      Choose(false);
      return TRUE;
    default:
      return CWaitIndictDlg::OnCommand(wParam, lParam);
  }
}
