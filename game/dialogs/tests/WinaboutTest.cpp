// The about boxes: the framework's and the game's, their size, texts, icon and caption.
#include <gtest/gtest.h>

#include "AboutDlg.h"
#include "DialogTestUtil.h"
#include "SkinTestEnv.h"
#include "WinProbe.h"

namespace {
const char kAbout[] = "\xB9\xD8\xD3\xDA";
const char kOK[] = "\xC8\xB7\xB6\xA8";

struct Seen {
  SIZE size = {};
  std::string title, text1, text2;
  bool iconShown = false, okInside = false, textsInside = false;
  RECT ok = {}, icon = {};
  WindowPicture pic;
};

Seen Open(CSkinAboutDlg& dlg, const char* png) {
  Seen s;
  ActOnNextDialog([&](HWND h) {
    CloseLater(h);
    Pump(100);
    RECT r;
    ::GetWindowRect(h, &r);
    s.size = {r.right - r.left, r.bottom - r.top};
    char title[128] = "";
    ::GetWindowTextA(h, title, sizeof title);
    s.title = title;
    s.text1 = ItemText(h, IDC_ABOUT_TEXT1);
    s.text2 = ItemText(h, IDC_ABOUT_TEXT2);
    s.iconShown = ItemVisible(h, IDC_ABOUT_ICON);
    RECT client;
    ::GetClientRect(h, &client);
    s.ok = ItemRect(h, IDOK);
    s.icon = ItemRect(h, IDC_ABOUT_ICON);
    s.okInside = Inside(client, s.ok);
    s.textsInside = Inside(client, ItemRect(h, IDC_ABOUT_TEXT1)) && Inside(client, ItemRect(h, IDC_ABOUT_TEXT2));
    s.pic = Capture(h);
    if (png) SaveScreenPng(h, png);
    EXPECT_TRUE(ClickVisible(h, kOK));
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  return s;
}

int IconPixels(const Seen& s) {
  int n = 0;
  for (int y = s.icon.top; y < s.icon.top + 32; ++y)
    for (int x = s.icon.left; x < s.icon.left + 32; ++x)
      if (!IsWhiteish(s.pic.At(x, y))) ++n;
  return n;
}

class AboutDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { UseSkinTheme(); }
};

TEST_F(AboutDlgTest, GameBox) {
  CAboutDlg dlg;
  Seen s = Open(dlg, "about_game.png");
  EXPECT_EQ(s.size.cx, 2 * dlg.GetBorderWidth() + 332);
  EXPECT_EQ(s.size.cy, dlg.GetBorderWidth() + dlg.GetCaptionHeight() + 125);
  EXPECT_EQ(s.title, std::string(kAbout) + (LPCSTR)CSkinAboutDlg::ProductName());
  EXPECT_EQ(s.text1.rfind(std::string((LPCSTR)CSkinAboutDlg::ProductName()) + "\n", 0), 0u);
  // This test program carries no version block: no build text, and no "Build" left dangling.
  EXPECT_EQ(s.text1.find(" Build"), std::string::npos);
  EXPECT_NE(s.text2.find('\n'), std::string::npos);
  EXPECT_FALSE(s.iconShown);  // drawn by the box instead
  EXPECT_GT(IconPixels(s), 50);
  EXPECT_TRUE(s.okInside);
  EXPECT_TRUE(s.textsInside);
  EXPECT_EQ(s.ok.bottom, s.size.cy - dlg.GetBorderWidth() - 5);
  EXPECT_NEAR((s.ok.left + s.ok.right) / 2, s.size.cx / 2, 1);
  EXPECT_EQ(dlg.m_nFlag, 0);
}

TEST_F(AboutDlgTest, FrameworkBoxSizeAndMissingIcon) {
  struct Case {
    UINT icon;
    bool placeholderShown;
    const char* png;
  } cases[] = {{29894, false, "about_framework.png"}, {4242, true, "about_noicon.png"}};
  for (const Case& c : cases) {
    CSkinAboutDlg dlg(c.icon);
    Seen s = Open(dlg, c.png);
    EXPECT_EQ(s.size.cx, 2 * dlg.GetBorderWidth() + 332);
    EXPECT_EQ(s.size.cy, dlg.GetBorderWidth() + dlg.GetCaptionHeight() + 85);
    // A loaded icon is drawn by the box; without one the placeholder stays.
    EXPECT_EQ(s.iconShown, c.placeholderShown) << c.icon;
    EXPECT_EQ(dlg.m_hIcon, nullptr);  // shared with the module: only forgotten on close
    EXPECT_TRUE(s.okInside);
  }
}

}  // namespace
