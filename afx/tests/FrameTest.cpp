// Frame, document/view, form view and static splitter, created the way the
// program does it: through a single-document template from resource id 128.
#include <afxwin.h>
#include <afxext.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Screenshot.h"
#include "test_res.h"

namespace {

std::vector<std::string> g_log;
const UINT ID_DOC_CMD = 40100;
const UINT ID_VIEW_CMD = 40101;
const UINT ID_APP_CMD = 40102;
const UINT ID_NOBODY_CMD = 40103;

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("AfxFrameTest") {}
  afx_msg void OnAppCmd() { g_log.push_back("app"); }
  afx_msg void OnDocCmdInApp() { g_log.push_back("app doc"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_APP_CMD, &CTestApp::OnAppCmd)
  ON_COMMAND(ID_DOC_CMD, &CTestApp::OnDocCmdInApp)
END_MESSAGE_MAP()
CTestApp theApp;

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)
 public:
  static int s_nAlive;
  CTestDoc() { s_nAlive++; }
  ~CTestDoc() override { s_nAlive--; }
  afx_msg void OnDocCmd() { g_log.push_back("doc"); }
  DECLARE_MESSAGE_MAP()
};
int CTestDoc::s_nAlive = 0;
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
  ON_COMMAND(ID_DOC_CMD, &CTestDoc::OnDocCmd)
END_MESSAGE_MAP()

class CTableView : public CView {
  DECLARE_DYNCREATE(CTableView)
 public:
  int m_nInitialUpdates = 0;
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(0, 96, 0));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(255, 255, 255));
    pDC->TextOut(10, 10, CString("\xD7\xC0\xC3\xE6"));  // 桌面
  }
  void OnInitialUpdate() override {
    m_nInitialUpdates++;
    CView::OnInitialUpdate();
  }
  afx_msg void OnViewCmd() { g_log.push_back("view"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTableView, CView)
BEGIN_MESSAGE_MAP(CTableView, CView)
  ON_COMMAND(ID_VIEW_CMD, &CTableView::OnViewCmd)
END_MESSAGE_MAP()

class CFormButton : public CButton {};

class CChatForm : public CFormView {
  DECLARE_DYNCREATE(CChatForm)
 public:
  CChatForm() : CFormView(IDD_FORM) {}
  CFormButton m_button;
  CEdit m_edit;
  int m_nInitialUpdates = 0;
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_FORMBUTTON, m_button);
    DDX_Control(pDX, IDC_FORMEDIT, m_edit);
  }
  void OnInitialUpdate() override {
    m_nInitialUpdates++;
    CFormView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(0, 0));
  }
};
IMPLEMENT_DYNCREATE(CChatForm, CFormView)

class CTestFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)
 public:
  CSplitterWnd m_wndSplitter;
  CStatusBar m_wndStatus;
  CDialogBar m_wndBar;
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    m_wndSplitter.m_cxSplitterGap = m_wndSplitter.m_cxSplitter = 4;
    m_wndSplitter.m_cxBorder = m_wndSplitter.m_cyBorder = 0;
    if (!m_wndSplitter.CreateStatic(this, 1, 2)) return FALSE;
    if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CTableView), CSize(300, 100), pContext)) return FALSE;
    if (!m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CChatForm), CSize(100, 100), pContext)) return FALSE;
    return TRUE;
  }
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    static const UINT indicators[] = {ID_SEPARATOR};
    if (!m_wndStatus.Create(this)) return -1;
    m_wndStatus.SetIndicators(indicators, 1);
    if (!m_wndBar.Create(this, IDD_BAR, CBRS_TOP | WS_VISIBLE, AFX_IDW_DIALOGBAR)) return -1;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

class FrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_HIDE);
    HINSTANCE hRes = ::LoadLibraryA("afx_test_res.dll");
    ASSERT_NE(hRes, nullptr);
    AfxSetResourceHandle(hRes);
    theApp.AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                                 RUNTIME_CLASS(CTableView)));
  }
  CTestFrame* Open(int nCmdShow) {
    theApp.m_nCmdShow = nCmdShow;
    theApp.OnFileNew();
    return DYNAMIC_DOWNCAST(CTestFrame, theApp.m_pMainWnd);
  }
  void Close(CTestFrame* pFrame) {
    pFrame->SendMessage(WM_CLOSE);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {  // drop the WM_QUIT the main window posts
    }
  }
};

TEST_F(FrameTest, HiddenStartKeepsTheFrameHiddenAndViewsAreReady) {
  CTestFrame* pFrame = Open(SW_HIDE);
  ASSERT_NE(pFrame, nullptr);
  EXPECT_FALSE(pFrame->IsWindowVisible());
  EXPECT_EQ(theApp.m_nCmdShow, -1);  // used up by the first show

  CTableView* pTable = DYNAMIC_DOWNCAST(CTableView, pFrame->m_wndSplitter.GetPane(0, 0));
  CChatForm* pForm = DYNAMIC_DOWNCAST(CChatForm, pFrame->m_wndSplitter.GetPane(0, 1));
  ASSERT_NE(pTable, nullptr);
  ASSERT_NE(pForm, nullptr);
  EXPECT_EQ(pFrame->GetActiveView(), pTable);
  EXPECT_EQ(pTable->m_nInitialUpdates, 1);
  EXPECT_EQ(pForm->m_nInitialUpdates, 1);
  // The form's controls now belong to the program's classes.
  EXPECT_EQ(CWnd::FromHandlePermanent(::GetDlgItem(pForm->m_hWnd, IDC_FORMBUTTON)), &pForm->m_button);
  EXPECT_EQ(pTable->GetDocument(), pFrame->GetActiveDocument());
  EXPECT_EQ(pForm->GetDocument(), pTable->GetDocument());
  EXPECT_STREQ(pTable->GetDocument()->GetTitle(), "AfxDoc");
  CString title;
  pFrame->GetWindowText(title);
  EXPECT_STREQ(title, "AfxDoc - Afx Test Frame");
  Close(pFrame);
  EXPECT_EQ(CTestDoc::s_nAlive, 0);
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

TEST_F(FrameTest, RecalcLayoutPlacesBarsAndPanes) {
  CTestFrame* pFrame = Open(SW_SHOWNORMAL);
  ASSERT_NE(pFrame, nullptr);
  EXPECT_TRUE(pFrame->IsWindowVisible());
  pFrame->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOZORDER);
  CRect client;
  pFrame->GetClientRect(&client);

  CRect status;
  pFrame->m_wndStatus.GetWindowRect(&status);
  pFrame->ScreenToClient(&status);
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(status.left, 0);
  EXPECT_EQ(status.right, client.right);
  EXPECT_GT(status.Height(), 0);

  // The dialog bar takes the top strip at its template's height.
  CRect bar;
  pFrame->m_wndBar.GetWindowRect(&bar);
  pFrame->ScreenToClient(&bar);
  EXPECT_EQ(bar.top, 0);
  EXPECT_EQ(bar.right, client.right);
  EXPECT_EQ(bar.Height(), pFrame->m_wndBar.m_sizeDefault.cy);
  EXPECT_GT(bar.Height(), 20);
  EXPECT_EQ(pFrame->m_wndBar.GetDlgCtrlID(), AFX_IDW_DIALOGBAR);
  EXPECT_NE(pFrame->m_wndBar.GetDlgItem(IDC_NAME), nullptr);
  EXPECT_EQ(pFrame->GetControlBar(AFX_IDW_DIALOGBAR), (CControlBar*)&pFrame->m_wndBar);

  CRect split;
  pFrame->m_wndSplitter.GetWindowRect(&split);
  pFrame->ScreenToClient(&split);
  EXPECT_EQ(split, CRect(0, bar.bottom, client.right, status.top));

  int cxCur = 0, cxMin = 0;
  pFrame->m_wndSplitter.GetColumnInfo(0, cxCur, cxMin);
  EXPECT_EQ(cxCur, 300);  // the size the view was created with
  pFrame->m_wndSplitter.SetColumnInfo(0, split.Width() - 160 - 4, 20);
  pFrame->m_wndSplitter.RecalcLayout();
  CRect left, right;
  pFrame->m_wndSplitter.GetPane(0, 0)->GetWindowRect(&left);
  pFrame->m_wndSplitter.GetPane(0, 1)->GetWindowRect(&right);
  pFrame->m_wndSplitter.ScreenToClient(&left);
  pFrame->m_wndSplitter.ScreenToClient(&right);
  EXPECT_EQ(left, CRect(0, 0, split.Width() - 164, split.Height()));
  EXPECT_EQ(right, CRect(split.Width() - 160, 0, split.Width(), split.Height()));

  pFrame->m_wndStatus.SetPaneText(0, "\xBE\xCD\xD0\xF7");  // 就绪
  pFrame->UpdateWindow();
  SaveWindowPng(pFrame->m_hWnd, L"afx_frame.png");
  Close(pFrame);
}

TEST_F(FrameTest, CommandsRouteViewDocumentFrameApp) {
  CTestFrame* pFrame = Open(SW_HIDE);
  ASSERT_NE(pFrame, nullptr);
  g_log.clear();
  pFrame->SendMessage(WM_COMMAND, ID_VIEW_CMD);
  pFrame->SendMessage(WM_COMMAND, ID_DOC_CMD);  // the document comes before the application
  pFrame->SendMessage(WM_COMMAND, ID_APP_CMD);
  EXPECT_EQ(g_log, (std::vector<std::string>{"view", "doc", "app"}));
  // A command from a pane's child control travels through the splitter to the frame.
  g_log.clear();
  CChatForm* pForm = (CChatForm*)pFrame->m_wndSplitter.GetPane(0, 1);
  pForm->SendMessage(WM_COMMAND, ID_DOC_CMD);
  EXPECT_EQ(g_log, std::vector<std::string>{"doc"});
  EXPECT_EQ(pFrame->SendMessage(WM_COMMAND, ID_NOBODY_CMD), 0);
  Close(pFrame);
}

TEST_F(FrameTest, ProgramTitleIsNotOverwritten) {
  CTestFrame* pFrame = Open(SW_HIDE);
  ASSERT_NE(pFrame, nullptr);
  pFrame->SetWindowText("\xB6\xB7\xB5\xD8\xD6\xF7");  // the program's own title
  pFrame->GetActiveDocument()->SetTitle("Other");
  pFrame->OnUpdateFrameTitle(TRUE);
  CString title;
  pFrame->GetWindowText(title);
  EXPECT_STREQ(title, "\xB6\xB7\xB5\xD8\xD6\xF7");
  Close(pFrame);
}

}  // namespace
