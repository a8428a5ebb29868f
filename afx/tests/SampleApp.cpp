// A whole program on the class library: WinMain from the library, the application
// object's InitInstance/Run/ExitInstance, a frame with a splitter and a form view
// from the resource library, a modal dialog, and the message loop until the main
// window closes. Run with "auto" it closes itself and exits with 0 when all went well.
#include <afxwin.h>
#include <afxext.h>

#include "test_res.h"

namespace {

const UINT_PTR TIMER_STEP = 1;
int g_nFailures = 0;
void Check(bool ok, const char* what) {
  if (!ok) {
    g_nFailures++;
    fprintf(stderr, "sample: %s failed\n", what);
  }
}

class CSampleDoc : public CDocument {
  DECLARE_DYNCREATE(CSampleDoc)
};
IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)

class CSampleView : public CView {
  DECLARE_DYNCREATE(CSampleView)
 public:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(0, 80, 160));
  }
};
IMPLEMENT_DYNCREATE(CSampleView, CView)

class CSampleForm : public CFormView {
  DECLARE_DYNCREATE(CSampleForm)
 public:
  CSampleForm() : CFormView(IDD_FORM) {}
  CButton m_button;
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_FORMBUTTON, m_button); }
};
IMPLEMENT_DYNCREATE(CSampleForm, CFormView)

class CSampleDlg : public CDialog {
 public:
  CSampleDlg() : CDialog(IDD_SAMPLE) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetTimer(TIMER_STEP, 50, nullptr);
    return TRUE;
  }
  afx_msg void OnTimer(UINT_PTR) {
    KillTimer(TIMER_STEP);
    EndDialog(IDOK);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSampleDlg, CDialog)
  ON_WM_TIMER()
END_MESSAGE_MAP()

class CSampleFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CSampleFrame)
 public:
  CSplitterWnd m_wndSplitter;
  int m_nStep = 0;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    return m_wndSplitter.CreateStatic(this, 1, 2) &&
           m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CSampleView), CSize(400, 300), pContext) &&
           m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CSampleForm), CSize(200, 300), pContext);
  }
  afx_msg void OnTimer(UINT_PTR) {
    KillTimer(TIMER_STEP);
    CSampleDlg dlg;
    Check(dlg.DoModal() == IDOK, "modal dialog");
    PostMessage(WM_CLOSE);
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CSampleFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CSampleFrame, CFrameWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

class CSampleApp : public CWinApp {
 public:
  CSampleApp() : CWinApp("AfxSample") {}
  bool m_bAuto = false;
  BOOL InitInstance() override {
    m_bAuto = strstr(m_lpCmdLine ? m_lpCmdLine : "", "auto") != nullptr;
    HINSTANCE hRes = ::LoadLibraryA("afx_test_res.dll");
    if (hRes == nullptr) return FALSE;
    AfxSetResourceHandle(hRes);
    SetRegistryKey("Orvane\\AfxSample");
    AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CSampleDoc), RUNTIME_CLASS(CSampleFrame),
                                          RUNTIME_CLASS(CSampleView)));
    OnFileNew();
    if (m_pMainWnd == nullptr) return FALSE;
    Check(m_pMainWnd->IsWindowVisible() != FALSE, "frame shown");
    if (m_bAuto) m_pMainWnd->SetTimer(TIMER_STEP, 100, nullptr);
    return TRUE;
  }
  int ExitInstance() override {
    Check(m_pMainWnd == nullptr, "main window gone");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvane\\AfxSample");
    CWinApp::ExitInstance();
    return g_nFailures;
  }
};
CSampleApp theApp;

}  // namespace
