// The wait notice: sized to its text, the optional Cancel button, the theme's icon.
#include <gtest/gtest.h>

#include "DialogTestUtil.h"
#include "SkinTestEnv.h"
#include "WaitDlg.h"
#include "WinProbe.h"

namespace {
const char kWaiting[] =
    "\xD5\xFD\xD4\xDA\xB5\xC8\xB4\xFD\xD3\xCE\xCF\xB7\xCA\xFD\xBE\xDD";  // waiting for the game data
const char kCancel[] = "\xC8\xA1\xCF\xFB";

class WaitDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { UseSkinTheme(); }
};

SIZE WindowSize(HWND h) {
  RECT r;
  ::GetWindowRect(h, &r);
  return {r.right - r.left, r.bottom - r.top};
}

TEST_F(WaitDlgTest, ShortTextKeepsTheMinimumWidth) {
  CWaitDlg dlg;
  dlg.Show("x", FALSE);
  ASSERT_TRUE(dlg.IsCreated());
  Pump(50);
  HWND h = dlg.m_hWnd;
  EXPECT_TRUE(::IsWindowVisible(h));
  const int border = dlg.GetBorderWidth();
  EXPECT_EQ(WindowSize(h).cx, 200 + 2 * border);
  EXPECT_EQ(WindowSize(h).cy, 48 + 2 * border);  // no heading without the button
  EXPECT_FALSE(ItemVisible(h, IDC_WAIT_CANCEL));
  EXPECT_EQ(ItemText(h, IDC_WAIT_TEXT), "x");
  // The text sits beside the icon's place, inside the window.
  RECT text = ItemRect(h, IDC_WAIT_TEXT), icon = ItemRect(h, IDC_WAIT_ICON);
  EXPECT_EQ(text.left, border + 48);
  EXPECT_EQ(icon.left, border + 8);
  EXPECT_EQ(icon.top, border + 14);
  RECT client;
  ::GetClientRect(h, &client);
  EXPECT_TRUE(Inside(client, text));
  SaveScreenPng(h, "wait_short.png");
}

TEST_F(WaitDlgTest, ButtonShowsAndCancelOnlySetsTheFlag) {
  CWaitDlg dlg;
  dlg.Show(kWaiting, TRUE);
  Pump(50);
  HWND h = dlg.m_hWnd;
  ASSERT_TRUE(::IsWindow(h));
  ASSERT_TRUE(ItemVisible(h, IDC_WAIT_CANCEL));
  RECT button = ItemRect(h, IDC_WAIT_CANCEL), client;
  ::GetClientRect(h, &client);
  EXPECT_TRUE(Inside(client, button));
  EXPECT_NEAR((button.left + button.right) / 2, client.right / 2, 1);  // centred
  EXPECT_EQ(button.top, dlg.GetInnerTop() + 48);
  SaveScreenPng(h, "wait_button.png");
  EXPECT_FALSE(dlg.IsCancelled());
  ASSERT_TRUE(ClickVisible(h, kCancel));
  Pump(150);
  EXPECT_TRUE(dlg.IsCancelled());
  EXPECT_TRUE(::IsWindowVisible(h));  // the caller decides when it goes
  // Showing again starts over: a new wait is not cancelled.
  dlg.Show(kWaiting, FALSE);
  EXPECT_FALSE(dlg.IsCancelled());
  EXPECT_FALSE(ItemVisible(h, IDC_WAIT_CANCEL));
  EXPECT_EQ(dlg.m_hWnd, h);  // the one window is reused
}

TEST_F(WaitDlgTest, LongTextWidensTheBox) {
  CWaitDlg dlg;
  std::string text;
  for (int i = 0; i < 4; ++i) text += kWaiting;
  dlg.Show(text.c_str(), FALSE);
  HWND h = dlg.m_hWnd;
  RECT t = ItemRect(h, IDC_WAIT_TEXT), client;
  ::GetClientRect(h, &client);
  EXPECT_GT(WindowSize(h).cx, 200 + 2 * dlg.GetBorderWidth());
  EXPECT_TRUE(Inside(client, t));
  EXPECT_EQ(client.right - (t.right - 4), 8 + dlg.GetBorderWidth());  // w + 56 = 48 + w + 8
}

TEST_F(WaitDlgTest, StringIdAndThemeIcon) {
  CWaitDlg dlg;
  dlg.ShowId(3002, FALSE);
  HWND h = dlg.m_hWnd;
  CString want;
  want.LoadString(3002);
  EXPECT_FALSE(want.IsEmpty());
  EXPECT_EQ(ItemText(h, IDC_WAIT_TEXT), std::string((LPCSTR)want));
  // The theme's icon is drawn in place of the template's.
  EXPECT_NE(dlg.m_hIcon, nullptr);
  EXPECT_FALSE(ItemVisible(h, IDC_WAIT_ICON));
  Pump(50);
  WindowPicture pic = Capture(h);
  RECT icon = ItemRect(h, IDC_WAIT_ICON);
  int coloured = 0;
  for (int y = icon.top; y < icon.top + 32; ++y)
    for (int x = icon.left; x < icon.left + 32; ++x) {
      COLORREF c = pic.At(x, y);
      if (GetGValue(c) > GetRValue(c) + 40) ++coloured;  // the green clock
    }
  EXPECT_GT(coloured, 100);
}

TEST_F(WaitDlgTest, WithoutThemeIconTheTemplateIconShows) {
  CWaitDlg dlg(nullptr, "NoSuchSkin");
  dlg.Show(kWaiting, FALSE);
  EXPECT_EQ(dlg.m_hIcon, nullptr);
  EXPECT_TRUE(ItemVisible(dlg.m_hWnd, IDC_WAIT_ICON));
}

TEST_F(WaitDlgTest, DestructionTakesTheWindow) {
  HWND h = nullptr;
  {
    CWaitDlg dlg;
    dlg.Show(kWaiting, TRUE);
    h = dlg.m_hWnd;
    ASSERT_TRUE(::IsWindow(h));
  }
  EXPECT_FALSE(::IsWindow(h));
  CWaitDlg never;  // never shown: nothing to destroy
  EXPECT_FALSE(never.IsCreated());
}

}  // namespace
