// The web-browser control stand-in hosted as the client hosts it (CWebBrowser2 through the
// afx control container): a page of the local web peer is fetched and read back, refused
// addresses never leave the control, and the events reach the host's sink.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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
  const std::string title = "Trebbin \xD6\xB1\xB2\xA5";  // "Trebbin 直播" in GBK
  EXPECT_EQ(std::string(LocationUrl(web)), url);         // LocationURL
  EXPECT_EQ(std::string(Get(210)), title);               // LocationName
  EXPECT_EQ(std::string(host.m_strTitle), title);        // TitleChange
  EXPECT_NE(std::string(Text()).find("tester"), std::string::npos) << (LPCSTR)Text();
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

// Each page's bytes are read in the charset its reply or its meta tag names: the panel is
// UTF-8 by the reply's type, the notice and the help page GBK by their meta tags, a local
// page UTF-8 by its meta tag, one that names none GBK. The host gets the texts right in its
// code page (936).
TEST_F(WebControlTest, PagesAreReadInTheirCharset) {
  ASSERT_FALSE(g_port.empty()) << "no web peer (run through run_with_webpeer.sh)";
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  const std::string local = std::string(dir) + "vesk_webctl_utf8.htm";
  const std::string plain = std::string(dir) + "vesk_webctl_gbk.htm";
  {
    std::ofstream out(local, std::ios::binary);
    out << "<html><head><meta charset=\"utf-8\"><title>\xE5\x8F\xAB\xE5\x88\x86</title></head>"  // 叫分
           "<body><p>\xE4\xBB\x8A\xE6\x99\x9A\xE5\x85\xAB\xE7\x82\xB9</p></body></html>";        // 今晚八点
    // No charset named: GBK, although these bytes ("模式") also read as UTF-8.
    std::ofstream gbk(plain, std::ios::binary);
    gbk << "<html><head><title>\xC4\xA3\xCA\xBD</title></head><body><p>\xC4\xA3\xCA\xBD</p></body></html>";
  }
  const std::string base = "http://127.0.0.1:" + g_port;
  const struct {
    std::string url;
    const char* title;
    const char* text;
  } cases[] = {
      {base + "/panel?user=u&ticket=t", "Trebbin \xD6\xB1\xB2\xA5", "\xCD\xE6\xBC\xD2\xA3\xBAu"},  // 直播, 玩家：
      {base + "/tip", "\xCF\xB5\xCD\xB3\xB9\xAB\xB8\xE6", "\xBD\xF1\xCD\xED\xB0\xCB\xB5\xE3"},  // 系统公告, 今晚八点
      {base + "/help", "Trebbin \xD3\xCE\xCF\xB7\xB0\xEF\xD6\xFA", "\xBD\xD0\xB7\xD6"},         // 游戏帮助, 叫分
      {local, "\xBD\xD0\xB7\xD6", "\xBD\xF1\xCD\xED\xB0\xCB\xB5\xE3"},
      {plain, "\xC4\xA3\xCA\xBD", "\xC4\xA3\xCA\xBD"},
  };
  int completed = 0;
  for (const auto& c : cases) {
    ASSERT_TRUE(web.Navigate(c.url.c_str(), nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(PumpUntil([&] { return host.m_nCompleted == completed + 1; })) << c.url;
    ++completed;
    EXPECT_EQ(std::string(Get(210)), c.title) << c.url;
    EXPECT_EQ(std::string(host.m_strTitle), c.title) << c.url;
    EXPECT_NE(std::string(Text()).find(c.text), std::string::npos) << c.url << ": " << (LPCSTR)Text();
  }
  ::DeleteFileA(local.c_str());
  ::DeleteFileA(plain.c_str());
}

// A page that never ends and a page of 50 MB: the fetch runs off the window's thread (the
// control is busy right after Navigate returns), ends within its bounds and shows the start.
TEST_F(WebControlTest, EndlessAndHugePagesShowTheirStart) {
  ASSERT_FALSE(g_port.empty()) << "no web peer (run through run_with_webpeer.sh)";
  const struct {
    const char* path;
    const char* start;
  } cases[] = {
      {"/endless", "The start of a page that never ends."},
      {"/huge", "The start of a page of fifty megabytes."},
  };
  int completed = 0;
  for (const auto& c : cases) {
    const std::string url = "http://127.0.0.1:" + g_port + c.path;
    ASSERT_TRUE(web.Navigate(url.c_str(), nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(Busy()) << c.path;
    ASSERT_TRUE(PumpUntil([&] { return host.m_nCompleted == completed + 1; }, 60000)) << c.path;
    ++completed;
    const std::string text = (LPCSTR)Text();
    EXPECT_EQ(text.compare(0, strlen(c.start), c.start), 0) << c.path << ": " << text.substr(0, 80);
    EXPECT_LE(text.size(), 64u * 1024) << c.path;
  }
}

// A page taller than its window scrolls with the wheel: its last link comes into view and
// is placed where it is drawn; scrolling back up hides it again, and the page stops at its ends.
TEST_F(WebControlTest, WheelScrollsALongPage) {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  const std::string page = std::string(dir) + "vesk_webctl_long.htm";
  {
    std::ofstream out(page, std::ios::binary);
    out << "<html><head><title>Long</title></head><body>";
    for (int i = 0; i < 80; ++i) out << "<p>Line " << i << "</p>";
    out << "<a href=\"javascript:window.close()\">Close</a></body></html>";
  }
  ASSERT_TRUE(web.Navigate(page.c_str(), nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(winprobe::WaitPaintedAndStill(web.m_hWnd, 5000));
  EXPECT_TRUE(LinkRows(web).empty()) << "the link is below the window";
  // Down by `notches` (up when negative), at most ten a message as a wheel sends them.
  auto wheel = [&](int notches) {
    for (int left = notches; left != 0;) {
      const int step = std::max(-10, std::min(10, left));
      web.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (short)(-WHEEL_DELTA * step)), MAKELPARAM(100, 100));
      left -= step;
    }
  };
  for (int i = 0; i < 200 && LinkRows(web).empty(); ++i) wheel(1);
  std::vector<int> rows = LinkRows(web);
  ASSERT_EQ(rows.size(), 1u) << "the wheel did not bring the link into view";
  wheel(50);  // past the end: the page stops with its end in the window
  rows = LinkRows(web);
  ASSERT_EQ(rows.size(), 1u);
  CRect rc;
  web.GetClientRect(&rc);
  EXPECT_GT(rows[0], rc.Height() / 2);
  EXPECT_TRUE(winprobe::SaveSettledWindowPng(web.m_hWnd, Shot("webctl_scrolled.png"), 5000));
  winprobe::ClickAt(web.m_hWnd, 20, rows[0] + 4);
  ASSERT_TRUE(PumpUntil([&] { return host.m_nClosing == 1; }, 5000)) << "the link is not where it is drawn";
  wheel(-500);
  EXPECT_TRUE(LinkRows(web).empty()) << "the wheel did not bring the page back to its top";
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
