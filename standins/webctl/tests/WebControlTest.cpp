// The web-browser control stand-in hosted as the client hosts it (CWebBrowser2 through the
// afx control container): a page of the local web peer is fetched and read back, refused
// addresses never leave the control, and the events reach the host's sink.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "QKCtrls.h"
#include "WebTestSupport.h"
#include "WinProbe.h"

namespace {

std::string g_port, g_webLog, g_shots;  // from --web=, --weblog=, --shots=
const DISPID kPageText = 0x7005;
const UINT kBrowserId = 77;

std::string WinPath(const std::string& unix) {
  std::string w = "Z:" + unix;
  for (char& c : w)
    if (c == '/') c = '\\';
  return w;
}

std::wstring Shot(const char* name) {
  std::string p = WinPath(g_shots + "/" + name);
  return std::wstring(p.begin(), p.end());
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The host window and what the browser told it.
class CHostWnd : public CWnd {
 public:
  int m_nClosing = 0, m_nCompleted = 0, m_nErrors = 0;
  CString m_strTitle;
  void OnWindowClosing(BOOL, BOOL*) { ++m_nClosing; }
  void OnDocumentComplete(LPDISPATCH, VARIANT*) { ++m_nCompleted; }
  void OnNavigateError(LPDISPATCH, VARIANT*, VARIANT*, VARIANT*, BOOL*) { ++m_nErrors; }
  void OnTitleChange(LPCTSTR title) { m_strTitle = title; }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CHostWnd, CWnd)
  ON_EVENT(CHostWnd, kBrowserId, 263, OnWindowClosing, VTS_BOOL VTS_PBOOL)
  ON_EVENT(CHostWnd, kBrowserId, 259, OnDocumentComplete, VTS_DISPATCH VTS_PVARIANT)
  ON_EVENT(CHostWnd, kBrowserId, 271, OnNavigateError, VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
  ON_EVENT(CHostWnd, kBrowserId, 113, OnTitleChange, VTS_BSTR)
END_EVENTSINK_MAP()

class WebControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(HostWebControlInProcess()); }
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "web host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 480, 360,
                              nullptr, nullptr));
    ASSERT_TRUE(web.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 460, 320), &host, kBrowserId));
  }
  void TearDown() override {
    if (web.m_hWnd) web.DestroyWindow();
    if (host.m_hWnd) host.DestroyWindow();
  }
  CString Get(DISPID id) {
    CString s;
    web.InvokeHelper(id, DISPATCH_PROPERTYGET, VT_BSTR, &s, nullptr);
    return s;
  }
  CString Text() {
    CString s;
    web.InvokeHelper(kPageText, DISPATCH_METHOD, VT_BSTR, &s, nullptr);
    return s;
  }
  bool Busy() {
    BOOL b = FALSE;
    web.InvokeHelper(212, DISPATCH_PROPERTYGET, VT_BOOL, &b, nullptr);
    return b != FALSE;
  }
  CHostWnd host;
  CWebBrowser2 web;
};

TEST_F(WebControlTest, WebPageIsFetchedAndShown) {
  ASSERT_FALSE(g_port.empty()) << "no web peer (run through run_with_webpeer.sh)";
  const std::string url = "http://127.0.0.1:" + g_port + "/panel?user=tester&ticket=t42";
  ASSERT_TRUE(web.Navigate(url.c_str(), nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(PumpUntil([&] { return host.m_nCompleted == 1; })) << "no page arrived";
  EXPECT_FALSE(Busy());
  EXPECT_EQ(std::string(LocationUrl(web)), url);               // LocationURL
  EXPECT_EQ(std::string(Get(210)), "Vesk live panel");         // LocationName
  EXPECT_EQ(std::string(host.m_strTitle), "Vesk live panel");  // TitleChange
  EXPECT_NE(std::string(Text()).find("Player: tester"), std::string::npos) << (LPCSTR)Text();
  EXPECT_NE(ReadAll(g_webLog).find("GET /panel?user=tester&ticket=t42"), std::string::npos);
  CString windowText;
  web.GetWindowText(windowText);
  EXPECT_EQ(std::string(windowText), url);
  EXPECT_TRUE(winprobe::SaveSettledWindowPng(web.m_hWnd, Shot("webctl_page.png"), 5000));
}

TEST_F(WebControlTest, OtherAddressesAreRefusedWithoutARequest) {
  const std::string before = g_webLog.empty() ? "" : ReadAll(g_webLog);
  const char* refused[] = {"file:///c:/windows/win.ini", "javascript:alert(1)", "C:\\windows\\notepad.exe",
                           "\\\\127.0.0.1\\share\\a.htm", "ftp://127.0.0.1/a.htm"};
  int errors = 0;
  for (const char* url : refused) {
    ASSERT_TRUE(web.Navigate(url, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(host.m_nErrors, ++errors) << url;
    EXPECT_EQ(std::string(LocationUrl(web)), url);
    EXPECT_EQ(std::string(Text()), "This address is not opened here.") << url;
    EXPECT_FALSE(Busy());
  }
  EXPECT_EQ(host.m_nCompleted, 0);
  if (!g_webLog.empty()) EXPECT_EQ(ReadAll(g_webLog), before);
  EXPECT_TRUE(winprobe::SaveSettledWindowPng(web.m_hWnd, Shot("webctl_refused.png"), 5000));
  // A blank page and the empty address are shown at once.
  ASSERT_TRUE(web.Navigate("about:blank", nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(std::string(LocationUrl(web)), "about:blank");
  EXPECT_EQ(std::string(Text()), "");
  ASSERT_TRUE(web.Navigate("", nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(std::string(LocationUrl(web)), "");
  EXPECT_EQ(host.m_nCompleted, 2);
}

// A local help page whose close link asks the host to close (WindowClosing), clicked on
// the rendered link; its other link, to a local file, is refused.
TEST_F(WebControlTest, LocalPageLinkClosesAndFileLinkIsRefused) {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  const std::string page = std::string(dir) + "vesk_webctl_page.htm";
  {
    std::ofstream out(page, std::ios::binary);
    out << "<html><head><title>Help</title></head><body><p>Read me.</p>"
           "<a href=\"javascript:window.close()\">Close</a><a href=\"file:///c:/x.htm\">File</a></body></html>";
  }
  ASSERT_TRUE(web.Navigate(page.c_str(), nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(std::string(Get(210)), "Help");
  EXPECT_EQ(host.m_nCompleted, 1);
  // The links are drawn in blue, one a line.
  ASSERT_TRUE(winprobe::WaitPaintedAndStill(web.m_hWnd, 5000));
  const std::vector<int> rows = LinkRows(web);
  ASSERT_EQ(rows.size(), 2u) << "two links expected on the page";
  winprobe::ClickAt(web.m_hWnd, 20, rows[0] + 4);
  ASSERT_TRUE(PumpUntil([&] { return host.m_nClosing == 1; }, 5000));
  EXPECT_EQ(std::string(LocationUrl(web)), page);  // the page stays; the host closes
  winprobe::ClickAt(web.m_hWnd, 20, rows[1] + 4);
  ASSERT_TRUE(PumpUntil([&] { return host.m_nErrors == 1; }, 5000));
  EXPECT_EQ(std::string(LocationUrl(web)), "file:///c:/x.htm");
  ::DeleteFileA(page.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a.rfind("--web=", 0) == 0) g_port = a.substr(6);
    if (a.rfind("--weblog=", 0) == 0) g_webLog = WinPath(a.substr(9));
    if (a.rfind("--shots=", 0) == 0) g_shots = a.substr(8);
  }
  if (g_shots.empty()) g_shots = "/tmp";
  return RUN_ALL_TESTS();
}
