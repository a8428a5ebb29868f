// Dialogs from the resource library: modal loop results, Escape, DDX round trips,
// DLGINIT, WM_DISABLEMODAL, strings in GBK and profile values in the registry.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Screenshot.h"
#include "test_res.h"

namespace {

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("AfxDialogTest") {}
};
CTestApp theApp;

HINSTANCE g_hRes = nullptr;

class ResourceEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_SHOW);
    g_hRes = ::LoadLibraryA("afx_test_res.dll");
    ASSERT_NE(g_hRes, nullptr);
    AfxSetResourceHandle(g_hRes);
  }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new ResourceEnvironment);

const UINT WM_TEST_STEP = WM_APP + 10;

// The sample dialog; a step function runs once the modal loop is going.
class CSampleDlg : public CDialog {
 public:
  CSampleDlg() : CDialog(IDD_SAMPLE) {}
  CString m_strName = "\xD5\xC5\xC8\xFD";  // 张三
  int m_nNumber = 7;
  int m_bCheck = 1;
  int m_nRadio = 2;
  CEdit m_edit;
  std::function<void(CSampleDlg*)> m_step;
  int m_nComboCount = -1;
  BOOL m_bInitDone = FALSE;
  CString m_strFontFace;
  BOOL m_bFontBeforeInit = FALSE;
  void OnSetFont(CFont* pFont) override {
    LOGFONTA lf = {};
    if (pFont && pFont->GetLogFont(&lf)) m_strFontFace = lf.lfFaceName;
    m_bFontBeforeInit = !m_bInitDone;
  }

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_NAME, m_edit);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDX_Text(pDX, IDC_NUMBER, m_nNumber);
    DDX_Check(pDX, IDC_CHECK, m_bCheck);
    DDX_Radio(pDX, IDC_RADIO1, m_nRadio);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_nComboCount = (int)SendDlgItemMessage(IDC_COMBO, CB_GETCOUNT);
    m_bInitDone = TRUE;
    PostMessage(WM_TEST_STEP);
    return TRUE;
  }
  afx_msg LRESULT OnStep(WPARAM, LPARAM) {
    if (m_step) m_step(this);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSampleDlg, CDialog)
  ON_MESSAGE(WM_TEST_STEP, &CSampleDlg::OnStep)
END_MESSAGE_MAP()

TEST(DialogTest, DataExchangeRoundTrip) {
  CSampleDlg dlg;
  CString shownName, shownNumber;
  int shownCheck = -1, shownRadio3 = -1;
  DWORD defId = 0;
  dlg.m_step = [&](CSampleDlg* p) {
    // Members went into the controls ...
    p->GetDlgItemText(IDC_NAME, shownName);
    p->GetDlgItemText(IDC_NUMBER, shownNumber);
    shownCheck = p->IsDlgButtonChecked(IDC_CHECK);
    shownRadio3 = p->IsDlgButtonChecked(IDC_RADIO3);
    SaveWindowPng(p->m_hWnd, L"afx_dialog.png");
    p->SetDefID(IDCANCEL);
    defId = p->GetDefID();
    // ... and the user's edits come back on OK.
    p->m_edit.SetWindowText("\xC0\xEE\xCB\xC4");  // 李四
    p->SetDlgItemText(IDC_NUMBER, "-12");
    p->CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
    p->CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO1);
    p->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)p->GetDlgItem(IDOK)->m_hWnd);
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_STREQ(shownName, "\xD5\xC5\xC8\xFD");
  EXPECT_STREQ(shownNumber, "7");
  EXPECT_EQ(shownCheck, BST_CHECKED);
  EXPECT_EQ(shownRadio3, BST_CHECKED);
  EXPECT_STREQ(dlg.m_strName, "\xC0\xEE\xCB\xC4");
  EXPECT_EQ(dlg.m_nNumber, -12);
  EXPECT_EQ(dlg.m_bCheck, 0);
  EXPECT_EQ(dlg.m_nRadio, 0);
  EXPECT_EQ(dlg.m_nComboCount, 2);                      // strings from the template's DLGINIT
  EXPECT_STREQ(dlg.m_strFontFace, "\xCB\xCE\xCC\xE5");  // the template's font (宋体), before OnInitDialog
  EXPECT_TRUE(dlg.m_bFontBeforeInit);
  EXPECT_EQ(LOWORD(defId), IDCANCEL);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);  // the control went with the dialog
}

TEST(DialogTest, InvalidNumberKeepsTheDialogOpen) {
  CSampleDlg dlg;
  int nBoxes = 0;
  BOOL bStillOpen = FALSE;
  dlg.m_step = [&](CSampleDlg* p) {
    p->SetDlgItemText(IDC_NUMBER, "12abc");
    // The validation box is closed by a timer so the test can go on.
    p->SetTimer(1, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
      HWND hBox = ::FindWindowA("#32770", "AfxDialogTest");
      if (hBox) ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
      (void)id;
    });
    p->SendMessage(WM_COMMAND, IDOK);
    nBoxes++;
    bStillOpen = ::IsWindow(p->m_hWnd) && p->ContinueModal();
    p->KillTimer(1);
    p->EndDialog(IDCANCEL);
  };
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_TRUE(bStillOpen);
  EXPECT_EQ(nBoxes, 1);
}

TEST(DialogTest, EscapeCancelsAndEndDialogValueIsReturned) {
  CSampleDlg dlg;
  dlg.m_step = [](CSampleDlg* p) {
    p->GotoDlgCtrl(p->GetDlgItem(IDC_NAME));
    HWND hFocus = ::GetFocus();
    ::PostMessageA(hFocus ? hFocus : p->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
  };
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);

  CSampleDlg dlg2;
  dlg2.m_step = [](CSampleDlg* p) { p->EndDialog(42); };
  EXPECT_EQ(dlg2.DoModal(), 42);
}

TEST(DialogTest, MissingTemplateReturnsMinusOne) {
  CDialog dlg(9999);
  EXPECT_EQ(dlg.DoModal(), -1);
  CDialog modeless;
  EXPECT_FALSE(modeless.Create(9999));
}

class CModeless : public CDialog {
 public:
  BOOL m_bKeepEnabled = FALSE;
  int m_nDisableAsked = 0;
  afx_msg LRESULT OnDisableModal(WPARAM, LPARAM) {
    m_nDisableAsked++;
    return m_bKeepEnabled;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CModeless, CDialog)
  ON_MESSAGE(WM_DISABLEMODAL, &CModeless::OnDisableModal)
END_MESSAGE_MAP()

TEST(DialogTest, ModalLoopDisablesOtherWindowsUnlessTheyObject) {
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                             nullptr, nullptr));
  theApp.m_pMainWnd = &owner;
  CModeless stays, yields;
  stays.m_bKeepEnabled = TRUE;
  ASSERT_TRUE(stays.Create(IDD_MODELESS, &owner));
  ASSERT_TRUE(yields.Create(IDD_MODELESS, &owner));
  stays.ShowWindow(SW_SHOWNA);
  yields.ShowWindow(SW_SHOWNA);

  BOOL ownerEnabled = TRUE, staysEnabled = FALSE, yieldsEnabled = TRUE;
  CSampleDlg dlg;
  dlg.m_step = [&](CSampleDlg* p) {
    ownerEnabled = owner.IsWindowEnabled();
    staysEnabled = stays.IsWindowEnabled();
    yieldsEnabled = yields.IsWindowEnabled();
    p->EndDialog(IDOK);
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(staysEnabled);
  EXPECT_FALSE(yieldsEnabled);
  EXPECT_EQ(stays.m_nDisableAsked, 1);
  EXPECT_EQ(yields.m_nDisableAsked, 1);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_TRUE(yields.IsWindowEnabled());
  theApp.m_pMainWnd = nullptr;
  stays.DestroyWindow();
  yields.DestroyWindow();
  owner.DestroyWindow();
}

TEST(DialogTest, ModelessDialogGetsIsDialogMessageAfterChildren) {
  CModeless dlg;
  ASSERT_TRUE(dlg.Create(IDD_MODELESS));
  dlg.ShowWindow(SW_SHOW);
  CWnd* pEdit = dlg.GetDlgItem(IDC_NAME);
  ASSERT_NE(pEdit, nullptr);
  pEdit->SetFocus();
  // Escape in the modeless dialog ends up as IDCANCEL -> OnCancel -> EndDialog (hides it).
  pEdit->PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && AfxPumpMessage()) {
  }
  EXPECT_FALSE(dlg.IsWindowVisible());
  dlg.DestroyWindow();
}

TEST(ResourceTest, StringsComeFromTheResourceLibraryInGbk) {
  EXPECT_EQ(AfxGetResourceHandle(), g_hRes);
  CString s;
  ASSERT_TRUE(s.LoadString(IDS_GBK_OK));
  EXPECT_STREQ(s, "\xC8\xB7\xB6\xA8 OK");
  CString f;
  f.Format(IDS_FORMAT, 3);
  EXPECT_STREQ(f,
               "\x87\x5C"
               "3\xBC\xFE");  // 嘰3件
  EXPECT_FALSE(s.LoadString(4321));
  EXPECT_TRUE(s.IsEmpty());
  char buf[4];
  EXPECT_EQ(AfxLoadString(IDS_GBK_OK, buf, sizeof(buf)), 2);  // never half a character
  EXPECT_STREQ(buf, "\xC8\xB7");
  CString byId(MAKEINTRESOURCEA(IDS_GBK_OK));
  EXPECT_STREQ(byId, "\xC8\xB7\xB6\xA8 OK");
}

std::string ReadRegString(const char* key, const char* value) {
  char buf[256] = {0};
  DWORD cb = sizeof(buf) - 1, type = 0;
  HKEY h;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return "<no key>";
  LONG r = RegQueryValueExA(h, value, nullptr, &type, (LPBYTE)buf, &cb);
  RegCloseKey(h);
  if (r != ERROR_SUCCESS) return "<no value>";
  if (type == REG_DWORD) return std::to_string(*(DWORD*)buf);
  return buf;
}

TEST(ProfileTest, ValuesLandUnderTheRegistryKey) {
  theApp.SetRegistryKey("Orvane\\AfxTest");
  ASSERT_STREQ(theApp.m_pszProfileName, "AfxDialogTest");
  EXPECT_TRUE(theApp.WriteProfileInt("Settings", "Sound", 3));
  EXPECT_TRUE(theApp.WriteProfileString("Settings", "Name", "\xC8\xB7\xB6\xA8"));
  EXPECT_TRUE(theApp.WriteProfileString("", "Path", "C:\\game"));
  EXPECT_EQ(ReadRegString("Software\\Orvane\\AfxTest\\AfxDialogTest\\Settings", "Sound"), "3");
  EXPECT_EQ(ReadRegString("Software\\Orvane\\AfxTest\\AfxDialogTest\\Settings", "Name"), "\xC8\xB7\xB6\xA8");
  EXPECT_EQ(ReadRegString("Software\\Orvane\\AfxTest\\AfxDialogTest", "Path"), "C:\\game");
  EXPECT_EQ(theApp.GetProfileInt("Settings", "Sound", 9), 3u);
  EXPECT_EQ(theApp.GetProfileInt("Settings", "Missing", 9), 9u);
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Name"), "\xC8\xB7\xB6\xA8");
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Sound", "dflt"), "dflt");  // wrong type: default

  // The program points the profile name elsewhere for a call, then back.
  LPCSTR pszOld = theApp.m_pszProfileName;
  theApp.m_pszProfileName = "Share";
  EXPECT_TRUE(theApp.WriteProfileString("", "Path", "D:\\share"));
  theApp.m_pszProfileName = pszOld;
  EXPECT_EQ(ReadRegString("Software\\Orvane\\AfxTest\\Share", "Path"), "D:\\share");
  EXPECT_STREQ(theApp.GetProfileString("", "Path"), "C:\\game");

  BYTE data[3] = {1, 0, 2};
  EXPECT_TRUE(theApp.WriteProfileBinary("Settings", "Blob", data, 3));
  LPBYTE p = nullptr;
  UINT n = 0;
  EXPECT_TRUE(theApp.GetProfileBinary("Settings", "Blob", &p, &n));
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(p[2], 2);
  delete[] p;
  EXPECT_TRUE(theApp.WriteProfileString("Settings", "Name", nullptr));
  EXPECT_EQ(ReadRegString("Software\\Orvane\\AfxTest\\AfxDialogTest\\Settings", "Name"), "<no value>");
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvane\\AfxTest");
}

}  // namespace
