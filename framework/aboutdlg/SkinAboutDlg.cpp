#include "SkinAboutDlg.h"

#include <algorithm>

#include "AboutRules.h"
#include "ResLoad.h"

BEGIN_MESSAGE_MAP(CSkinAboutDlg, CSkinDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CSkinAboutDlg::CSkinAboutDlg(UINT nIconId, CWnd* pParent)
    : CSkinDialog(IDD_ABOUTBOX, pParent), m_nIconId(nIconId), m_hIcon(nullptr) {
  SetSkinName("About");
}

CSkinAboutDlg::~CSkinAboutDlg() = default;

void CSkinAboutDlg::DoDataExchange(CDataExchange* pDX) {
  CSkinDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ABOUT_TEXT1, m_text1);
  DDX_Control(pDX, IDC_ABOUT_TEXT2, m_text2);
  DDX_Text(pDX, IDC_ABOUT_TEXT1, m_strText1);
  DDX_Text(pDX, IDC_ABOUT_TEXT2, m_strText2);
}

CString CSkinAboutDlg::ProductName() {
  const char* name = GetResVersionInfo().productName;
  if (name[0]) return name;
  const char* app = AfxGetAppName();
  return app ? app : "";
}

HICON CSkinAboutDlg::LoadAboutIcon() const {
  if (!m_nIconId) return nullptr;
  // Shared icons: the module keeps them, so the dialog never destroys one.
  HINSTANCE modules[] = {AfxGetResourceHandle(), AfxGetInstanceHandle()};
  for (HINSTANCE m : modules) {
    if (!m) continue;
    if (HICON icon = (HICON)::LoadImageA(m, MAKEINTRESOURCEA(m_nIconId), IMAGE_ICON, 32, 32, LR_SHARED)) return icon;
  }
  return nullptr;
}

void CSkinAboutDlg::MakeTexts() {
  const ResVersionInfo& v = GetResVersionInfo();
  aboutbox::VersionTexts t{std::string((LPCSTR)ProductName()),
                           v.fileDescription,
                           v.programVersionText,
                           v.specialBuild,
                           v.legalCopyright,
                           v.companyName};
  auto texts = aboutbox::AboutTexts(t);
  m_strText1 = texts.first.c_str();
  m_strText2 = texts.second.c_str();
}

void CSkinAboutDlg::LayOutControls() {
  CRect inner;
  GetSkinClientRect(&inner);
  for (UINT id : {(UINT)IDC_ABOUT_ICON, (UINT)IDC_ABOUT_TEXT1, (UINT)IDC_ABOUT_TEXT2, (UINT)IDOK}) {
    CWnd* c = GetDlgItem(id);
    if (!c) continue;
    CRect r;
    c->GetWindowRect(&r);
    ScreenToClient(&r);
    c->SetWindowPos(nullptr, r.left + inner.left, r.top + inner.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The template may be taller than this box: the OK button stays inside, 5 pixels above
  // the bottom, and the texts end above it.
  CWnd* ok = GetDlgItem(IDOK);
  if (!ok) return;
  CRect okRect;
  ok->GetWindowRect(&okRect);
  ScreenToClient(&okRect);
  if (okRect.bottom > inner.bottom - 5 || okRect.right > inner.right - 5) {
    okRect.OffsetRect(std::min(0, (int)(inner.right - 5 - okRect.right)),
                      std::min(0, (int)(inner.bottom - 5 - okRect.bottom)));
    ok->SetWindowPos(nullptr, okRect.left, okRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (UINT id : {(UINT)IDC_ABOUT_TEXT1, (UINT)IDC_ABOUT_TEXT2}) {
    CWnd* c = GetDlgItem(id);
    if (!c) continue;
    CRect r;
    c->GetWindowRect(&r);
    ScreenToClient(&r);
    if (r.bottom > okRect.top - 2)
      c->SetWindowPos(nullptr, 0, 0, r.Width(), std::max(0, (int)(okRect.top - 2 - r.top)),
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

BOOL CSkinAboutDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  m_btnOK.LoadSkin(this, IDOK, GetSkinSection(), "IDOK", 0, 0, TRUE);

  m_hIcon = LoadAboutIcon();
  CWnd* iconCtrl = GetDlgItem(IDC_ABOUT_ICON);
  if (m_hIcon && iconCtrl) iconCtrl->SendMessage(STM_SETICON, (WPARAM)m_hIcon, 0);

  aboutbox::Size2 size = aboutbox::AboutWindowSize(GetBorderWidth(), GetCaptionHeight(), ExtraHeight());
  SetWindowPos(nullptr, 0, 0, size.w, size.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  MakeTexts();
  LayOutControls();

  m_text1.m_crText = GetCtrlTextColor();
  m_text2.m_crText = GetCtrlTextColor();
  if (m_hIcon && iconCtrl) iconCtrl->ShowWindow(SW_HIDE);

  if (CWnd* parent = GetParent()) CenterWindow(parent);
  UpdateData(FALSE);

  CString format;
  if (!format.LoadString(IDS_ABOUTCAPTION)) format = "%s";
  SetWindowText(aboutbox::FillOneString(std::string((LPCSTR)format), std::string((LPCSTR)ProductName())).c_str());
  return TRUE;
}

void CSkinAboutDlg::PaintClient(CDC* pDC) {
  CWnd* iconCtrl = GetDlgItem(IDC_ABOUT_ICON);
  if (!m_hIcon || !iconCtrl) return;
  CRect r;
  iconCtrl->GetWindowRect(&r);
  ScreenToClient(&r);
  ::DrawIconEx(pDC->GetSafeHdc(), r.left, r.top, m_hIcon, 32, 32, 0, nullptr, DI_NORMAL);
}

void CSkinAboutDlg::OnDestroy() {
  m_hIcon = nullptr;  // shared: the module owns it
  CSkinDialog::OnDestroy();
}
