// The tip window and the help window with the web-browser control stand-in: the notice's
// page and its closing, the help window's picture with the skinned scroll bar, its browser
// modes and their sizes. Screenshots in the test folder.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "HelpDlg.h"
#include "ResLoad.h"
#include "SkinTestEnv.h"
#include "TipWnd.h"
#include "WebTestSupport.h"
#include "WinProbe.h"

namespace {

const char kTipCaption[] = "\xCE\xC2\xDC\xB0\xCC\xE1\xCA\xBE";  // "温馨提示"

// A local page beside the test: a text and a link that closes the window.
std::string WritePage() {
  char folder[MAX_PATH];
  GetModuleFolder(folder, sizeof folder, nullptr);
  const std::string page = std::string(folder) + "notice.htm";
  std::ofstream out(page, std::ios::binary);
  out << "<html><head><title>Notice</title></head><body><p>The tables open at eight.</p>"
         "<a href=\"javascript:window.close()\">Close</a></body></html>";
  return page;
}

class PopupTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(HostWebControlInProcess()); }
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000, 700,
                                nullptr, nullptr));
  }
  void TearDown() override {
    if (parent.m_hWnd) parent.DestroyWindow();
  }
  CWnd parent;
};

TEST_F(PopupTest, TipWindowShowsThePageAndThePageClosesIt) {
  UseSkinTheme();
  CTipWnd tip(&parent);
  EXPECT_EQ(tip.Navigate("http://127.0.0.1/"), 0);  // no window yet
  ASSERT_EQ(tip.Open(400, 300), 1);
  CRect w;
  tip.GetWindowRect(&w);
  EXPECT_EQ(w.Size(), CSize(400, 300));
  tip.SetTitle("");
  EXPECT_EQ(std::string(tip.GetCaption()), kTipCaption);
  tip.SetTitle("News");
  EXPECT_EQ(std::string(tip.GetCaption()), std::string(kTipCaption) + " - News");
  const std::string page = WritePage();
  ASSERT_EQ(tip.Navigate(page.c_str()), 1);
  EXPECT_TRUE(tip.IsWindowVisible());
  CWebBrowser2& web = tip.GetBrowser();
  EXPECT_EQ(std::string(LocationUrl(web)), page);
  // The page fills the client area inside the frame.
  CRect client, shown;
  tip.GetClientRect(&client);
  web.GetWindowRect(&shown);
  tip.ScreenToClient(&shown);
  EXPECT_EQ(shown, client);
  ASSERT_TRUE(winprobe::WaitPaintedAndStill(tip.m_hWnd, 5000));
  EXPECT_TRUE(SaveScreenPng(tip.m_hWnd, "tip_window.png"));
  // The page's close link: the browser's WindowClosing hides the window, the page goes blank.
  const std::vector<int> links = LinkRows(web);
  ASSERT_FALSE(links.empty()) << "the close link was not drawn";
  winprobe::ClickAt(web.m_hWnd, 20, links[0] + 4);
  ASSERT_TRUE(PumpUntil([&] { return !tip.IsWindowVisible(); }));
  EXPECT_EQ(std::string(LocationUrl(web)), "about:blank");
  EXPECT_EQ(std::string(tip.GetUrl()), "about:blank");
  // The next notice opens it again.
  ASSERT_EQ(tip.Open(300, 200), 1);
  ASSERT_EQ(tip.Navigate(page.c_str()), 1);
  EXPECT_TRUE(tip.IsWindowVisible());
}

// The real theme with its pictures named by full path and the help section's keys replaced.
std::string ThemeWithHelp(const std::string& helpKeys) {
  char folder[MAX_PATH];
  GetModuleFolder(folder, sizeof folder, nullptr);
  std::ifstream in(std::string(folder) + "Theme\\Vesk.thm", std::ios::binary);
  std::string line, out;
  bool inHelp = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inHelp = line == "[QKDLG_help]";
      out += line + "\n";
      if (inHelp) out += helpKeys;
      continue;
    }
    if (inHelp) continue;
    const size_t eq = line.find('=');
    const std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
    const bool picture = value.size() > 4 && (value.compare(value.size() - 4, 4, ".bmp") == 0 ||
                                              value.compare(value.size() - 4, 4, ".ico") == 0);
    out += picture && value.find(':') == std::string::npos ? line.substr(0, eq + 1) + "$P" + value : line;
    out += "\n";
  }
  return out;
}

// Picture mode with the real theme's picture and bar: the picture is taller than its area, so
// the skinned bar scrolls it; its arrows step 16 pixels and the position stays within the picture.
TEST_F(PopupTest, HelpPictureScrollsWithTheSkinnedBar) {
  UseSkinTheme();
  const std::string pictures = g_ConfigPaths.themeFolder;
  UseThemeText("help_picture", ThemeWithHelp("HelpType=0\nHelpBmp=$Phelp.bmp\n"));
  // The bar's pictures are looked up in the theme's own folder.
  ASSERT_TRUE(::CopyFileA((pictures + "Scroll.bmp").c_str(),
                          (std::string(g_ConfigPaths.themeFolder) + "Scroll.bmp").c_str(), FALSE));
  CHelpDlg help(&parent, "http://127.0.0.1/help");
  ASSERT_TRUE(help.Create(IDD_TIPS, &parent));
  help.ShowWindow(SW_SHOW);
  ASSERT_TRUE(help.m_bPictureShown);
  CWnd* bar = help.GetDlgItem(IDC_HELP_SCROLL);
  ASSERT_NE(bar, nullptr);
  char cls[32] = "";
  ::GetClassNameA(bar->m_hWnd, cls, sizeof cls);
  EXPECT_STREQ(cls, "ODScrollBarCtrl");
  EXPECT_EQ(help.m_scroll.GetCellSize(), CSize(16, 16));  // Scroll.bmp of the theme
  CRect rb;
  bar->GetClientRect(&rb);
  EXPECT_EQ(rb.Width(), 16);
  // The down arrow, pressed with the pointer over it (the bar steps while the pointer stays).
  CPoint arrow(rb.Width() / 2, rb.bottom - 4);
  bar->ClientToScreen(&arrow);
  ::SetCursorPos(arrow.x, arrow.y);
  winprobe::ClickAt(bar->m_hWnd, rb.Width() / 2, rb.bottom - 4);
  ASSERT_TRUE(PumpUntil([&] { return help.GetScrollPosition() >= 16; }));
  EXPECT_EQ(help.GetScrollPosition() % 16, 0);
  ASSERT_TRUE(winprobe::WaitPaintedAndStill(help.m_hWnd, 5000));
  EXPECT_TRUE(SaveScreenPng(help.m_hWnd, "help_picture_scrolled.png"));
  const int limit = help.m_sizePicture.cy - help.m_rcPicture.Height();
  help.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30000), 0);
  EXPECT_EQ(help.GetScrollPosition(), limit);
  EXPECT_EQ(help.m_scroll.GetScrollPos(), limit);
  help.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), 0);
  EXPECT_EQ(help.GetScrollPosition(), std::max(0, limit - help.m_rcPicture.Height()));
  help.DestroyWindow();
}

// Browser modes from a theme of their own: the caller's address (type 2), sizes from the
// theme with the height held to 580, and the empty address; a missing picture keeps the plain template.
TEST_F(PopupTest, HelpBrowserModesAndFallback) {
  const std::string page = WritePage();
  const struct {
    const char* theme;
    const char* link;
    int height;  // 0: not checked
  } cases[] = {
      {"HelpType=2\nWedWidth=600\nWebHeight=600\n", nullptr, 580},
      {"HelpType=2\nWedWidth=500\nWebHeight=300\n", nullptr, 0},
      {"HelpType=2\n", "", 0},
  };
  int n = 0;
  for (const auto& c : cases) {
    UseThemeText(("help_web" + std::to_string(n++)).c_str(), ThemeWithHelp(c.theme));
    const std::string url = c.link ? c.link : page;
    CHelpDlg help(&parent, url.c_str());
    ASSERT_TRUE(help.Create(IDD_TIPS, &parent)) << c.theme;
    help.ShowWindow(SW_SHOW);
    CWnd* web = help.GetDlgItem(IDC_HELP_WEB);
    ASSERT_NE(web, nullptr) << c.theme;
    EXPECT_EQ(std::string(help.GetPageUrl()), url);
    EXPECT_EQ(std::string(LocationUrl(help.m_web)), url);
    EXPECT_EQ(help.GetDlgItem(IDC_HELP_SCROLL), nullptr);
    CRect w, r;
    help.GetWindowRect(&w);
    help.m_web.GetWindowRect(&r);
    EXPECT_EQ(w.Width(), help.m_nWebWidth + 2 * help.GetBorderWidth()) << c.theme;
    EXPECT_LE(r.Height(), help.m_nWebHeight);
    if (c.height) EXPECT_EQ(w.Height(), c.height) << c.theme;
    if (n == 1) {
      ASSERT_TRUE(winprobe::WaitPaintedAndStill(help.m_hWnd, 5000));
      EXPECT_TRUE(SaveScreenPng(help.m_hWnd, "help_browser.png"));
    }
    help.DestroyWindow();
  }
  // A theme whose picture is missing: the template stays, with its close button.
  UseThemeText("help_nopicture", ThemeWithHelp("HelpType=0\nHelpBmp=missing.bmp\n"));
  CHelpDlg help(&parent, "");
  ASSERT_TRUE(help.Create(IDD_TIPS, &parent));
  EXPECT_FALSE(help.m_bPictureShown);
  EXPECT_EQ(help.GetDlgItem(IDC_HELP_SCROLL), nullptr);
  EXPECT_NE(help.GetDlgItem(IDOK), nullptr);
  help.DestroyWindow();
}

// The shipped theme: F1's help window is a browser on the help page beside the program
// (without a configured page), with the introduction link below it. The wheel, which goes to
// the focused close button, scrolls the page under the pointer to its end.
TEST_F(PopupTest, ShippedThemeOpensTheHelpPageBesideTheProgram) {
  UseSkinTheme();
  char folder[MAX_PATH];
  GetModuleFolder(folder, sizeof folder, nullptr);
  const std::string dir = std::string(folder) + "Help", page = dir + "\\Help.htm";
  ::CreateDirectoryA(dir.c_str(), nullptr);
  {
    std::ofstream out(page, std::ios::binary);
    out << "<html><head><title>Help</title></head><body>";
    for (int i = 0; i < 120; ++i) out << "<p>Rule " << i << "</p>";
    out << "<a href=\"javascript:window.close()\">Close</a></body></html>";
  }
  CHelpDlg help(&parent, "http://127.0.0.1/intro.htm");
  ASSERT_TRUE(help.Create(IDD_TIPS, &parent));
  help.ShowWindow(SW_SHOW);
  EXPECT_FALSE(help.m_bPictureShown);
  ASSERT_NE(help.GetDlgItem(IDC_HELP_WEB), nullptr);
  EXPECT_EQ(std::string(help.GetPageUrl()), page);
  EXPECT_EQ(std::string(LocationUrl(help.m_web)), page);
  EXPECT_TRUE(help.GetDlgItem(IDC_TIPS_LINK)->IsWindowVisible());
  ASSERT_TRUE(winprobe::WaitPaintedAndStill(help.m_hWnd, 5000));
  EXPECT_TRUE(LinkRows(help.m_web).empty()) << "the page's last link is below its window";
  CRect shown;
  help.m_web.GetWindowRect(&shown);
  const CPoint over = shown.CenterPoint();
  CWnd* ok = help.GetDlgItem(IDOK);
  ASSERT_NE(ok, nullptr);
  for (int i = 0; i < 200 && LinkRows(help.m_web).empty(); ++i)
    ok->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-WHEEL_DELTA), MAKELPARAM(over.x, over.y));
  EXPECT_EQ(LinkRows(help.m_web).size(), 1u) << "the wheel did not scroll the page";
  help.DestroyWindow();
  ::DeleteFileA(page.c_str());
  ::RemoveDirectoryA(dir.c_str());
}

}  // namespace
