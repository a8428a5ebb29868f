// The exit dialog driven as a player would: which choices it offers, what each leaves
// as the result, and how it looks.
#include <gtest/gtest.h>

#include "DialogTestUtil.h"
#include "ExitDlg.h"
#include "SkinTestEnv.h"
#include "WinProbe.h"

namespace {
const char kAsk[] = "\xC7\xEB\xC7\xF3\xCD\xAC\xD2\xE2";
const char kForce[] = "\xC7\xBF\xD0\xD0\xCD\xCB\xB3\xF6";
const char kTrust[] = "\xCD\xD0\xB9\xDC\xCD\xCB\xB3\xF6";
const char kCancel[] = "\xC8\xA1\xCF\xFB";
const char kTrustWarning[] =
    "\xD3\xCE\xCF\xB7\xD5\xFD\xD4\xDA\xBD\xF8\xD0\xD0\xD6\xD0,\xC4\xFA\xC8\xE7\xB9\xFB\xCD\xCB\xB3\xF6\xD3\xCE\xCF\xB7,"
    "\xC4\xFA\xBD\xAB\xD4\xDD\xCA\xB1\xCE\xDE\xB7\xA8\xBD\xF8\xC8\xEB\xD3\xCE\xCF\xB7\xD6\xB1\xB5\xBD\xB1\xBE\xBE\xD6"
    "\xD3\xCE\xCF\xB7\xBD\xE1\xCA\xF8\xA3\xAC\xC4\xFA\xCF\xEB\xCD\xD0\xB9\xDC\xCD\xCB\xB3\xF6\xD3\xCE\xCF\xB7\xC2\xF0"
    "\xA3\xBF";

struct Seen {
  std::vector<int> visible;
  std::string text;
  bool allInside = true;
};

// Opens the dialog with the flags, records what shows, then acts.
INT_PTR RunExit(CExitDlg& dlg, Seen* seen, const char* png, std::function<void(HWND)> act) {
  ActOnNextDialog([=](HWND h) {
    CloseLater(h);
    Pump(100);
    seen->visible = VisibleOf(h, {1004, 1003, 1028, 1152});
    seen->text = ItemText(h, 1017);
    RECT wr;
    ::GetClientRect(h, &wr);
    for (int id : seen->visible) seen->allInside = seen->allInside && Inside(wr, ItemRect(h, id));
    if (png) SaveScreenPng(h, png);
    act(h);
  });
  return dlg.DoModal();
}

class ExitDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { UseSkinTheme(); }
};

TEST_F(ExitDlgTest, ChoicesByFlagsAndTheirResults) {
  struct Case {
    int ask, trust;
    std::vector<int> visible;
    const char* click;
    int result;
    const char* png;
  } cases[] = {
      {1, 0, {1004, 1003, 1152}, kAsk, 1004, "exit_ask.png"}, {1, 0, {1004, 1003, 1152}, kForce, 1003, nullptr},
      {0, 0, {1003, 1152}, kForce, 1003, "exit_noask.png"},   {1, 1, {1028, 1152}, kTrust, 1028, "exit_trust.png"},
      {0, 1, {1028, 1152}, kCancel, 1152, nullptr},
  };
  for (const Case& c : cases) {
    CExitDlg dlg;
    dlg.m_nAskAllowed = c.ask;
    dlg.m_nTrustExit = c.trust;
    Seen seen;
    const std::string click = c.click;
    INT_PTR r = RunExit(dlg, &seen, c.png, [click](HWND h) { EXPECT_TRUE(ClickVisible(h, click)) << click; });
    EXPECT_EQ(r, IDOK) << c.click;
    EXPECT_EQ(dlg.GetResult(), c.result) << c.click;
    EXPECT_EQ(seen.visible, c.visible) << c.ask << c.trust;
    EXPECT_TRUE(seen.allInside) << c.ask << c.trust;
    if (c.trust)
      EXPECT_EQ(seen.text, kTrustWarning);
    else
      EXPECT_EQ(seen.text.rfind("\xD3\xCE\xCF\xB7\xD5\xFD\xD4\xDA\xBD\xF8\xD0\xD0\xD6\xD0", 0), 0u);
  }
}

TEST_F(ExitDlgTest, ClosingAnyOtherWayLeavesCancel) {
  struct Case {
    const char* how;
    std::function<void(HWND)> act;
  } cases[] = {
      {"close box", [](HWND h) { ::PostMessageA(h, WM_COMMAND, ID_SKINDLG_CLOSE, 0); }},
      {"WM_CLOSE", [](HWND h) { ::PostMessageA(h, WM_CLOSE, 0, 0); }},
      {"Escape", [](HWND h) { ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0); }},
      // A hidden choice cannot be taken, even by a forged command.
      {"hidden button",
       [](HWND h) {
         ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), 0);
         ::PostMessageA(h, WM_CLOSE, 0, 0);
       }},
  };
  for (const Case& c : cases) {
    CExitDlg dlg;
    Seen seen;
    INT_PTR r = RunExit(dlg, &seen, nullptr, c.act);
    EXPECT_EQ(r, IDCANCEL) << c.how;
    EXPECT_EQ(dlg.GetResult(), 1152) << c.how;
  }
}

}  // namespace
