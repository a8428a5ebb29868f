// Message boxes driven as a person would: texts, buttons, default button, countdown,
// input answers, Escape, the plain box before the paths are set and the skinned one after.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "MsgBox.h"
#include "ResLoad.h"
#include "SkinTestEnv.h"
#include "SkinTheme.h"
#include "WinProbe.h"

namespace {

const char* const kOk = "\xC8\xB7\xB6\xA8(&O)";      // 确定(&O)
const char* const kYes = "\xCA\xC7(&Y)";             // 是(&Y)
const char* const kNo = "\xB7\xF1(&N)";              // 否(&N)
const char* const kCancel = "\xC8\xA1\xCF\xFB(&C)";  // 取消(&C)
const char* const kRetry = "\xD6\xD8\xCA\xD4(&R)";   // 重试(&R)

struct Seen {
  bool skinned = false;
  bool caption = false;
  std::string title;
  std::vector<std::string> buttons;
  UINT defId = 0;
  std::string countdown;
  bool countdownVisible = false;
};

Seen Look(HWND dlg) {
  Seen s;
  s.skinned = ::GetWindowLongPtrA(dlg, GWLP_USERDATA) == SKIN_DIALOG_MARK;
  s.caption = (::GetWindowLongA(dlg, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  char text[256] = "";
  ::GetWindowTextA(dlg, text, sizeof text);
  s.title = text;
  s.buttons = VisibleButtons(dlg);
  s.defId = LOWORD(::SendMessageA(dlg, DM_GETDEFID, 0, 0));
  HWND cd = ::GetDlgItem(dlg, 29813);
  ::GetWindowTextA(cd, text, sizeof text);
  s.countdown = text;
  s.countdownVisible = ::IsWindowVisible(cd);
  return s;
}

void Press(HWND dlg, int id) {
  ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dlg, id));
}

// Runs before the theme is set up: the plain box serves.
TEST(MsgBox, PlainBoxBeforeThePathsAreSet) {
  ASSERT_FALSE(g_ConfigPaths.pathsSet);
  Seen seen;
  bool stayedOpen = false;
  ActOnNextDialog([&](HWND dlg) {
    seen = Look(dlg);
    // Escape and Cancel leave the box open.
    ::SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    winprobe::SendKey(dlg, VK_ESCAPE);
    Pump(100);
    stayedOpen = ::IsWindowVisible(dlg) != 0;
    Press(dlg, 29714);
  });
  EXPECT_EQ(DoMessageBox("plain", 0, 0), 1);
  EXPECT_FALSE(seen.skinned);
  EXPECT_TRUE(seen.caption);
  EXPECT_EQ(seen.title, "\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2");  // 提示信息
  EXPECT_EQ(seen.buttons, std::vector<std::string>{kOk});
  EXPECT_TRUE(stayedOpen);
}

TEST(MsgBox, SkinnedButtonSetsDefaultsAndResults) {
  UseSkinTheme();
  struct Case {
    UINT style;
    std::vector<std::string> buttons;
    UINT defId;
    int press;  // control id
    int result;
  } cases[] = {
      {0x0, {kOk}, 29714, 29714, 1},
      {0x124, {kYes, kNo}, 29715, 29714, 6},
      {0x23, {kYes, kNo, kCancel}, 29714, 29716, 2},
      {0x5, {kRetry, kCancel}, 29714, 29715, 2},
      {0x100, {kOk}, 29714, 29714, 1},
      {0x202, {"\xD6\xD5\xD6\xB9(&A)", kRetry, "\xBA\xF6\xC2\xD4(&I)"}, 29716, 29715, 4},
  };
  for (const Case& c : cases) {
    Seen seen;
    ActOnNextDialog([&](HWND dlg) {
      seen = Look(dlg);
      ::SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);  // does nothing
      Press(dlg, c.press);
    });
    EXPECT_EQ(DoMessageBox("skinned", c.style, 0), c.result) << std::hex << c.style;
    EXPECT_TRUE(seen.skinned);
    EXPECT_FALSE(seen.caption);
    EXPECT_EQ(seen.buttons, c.buttons) << std::hex << c.style;
    EXPECT_EQ(seen.defId, c.defId) << std::hex << c.style;
    EXPECT_FALSE(seen.countdownVisible);
  }
}

TEST(MsgBox, CountdownEndsWithTheDefaultButton) {
  UseSkinTheme();
  Seen seen;
  ActOnNextDialog([&](HWND dlg) { seen = Look(dlg); });
  EXPECT_EQ(DoMessageBox("countdown", 0x124, 2), 7);
  EXPECT_TRUE(seen.countdownVisible);
  EXPECT_EQ(seen.countdown, "2");
}

// A thread kept busy past the whole countdown (a table repainting on a loaded machine) gets
// the ticks it missed as one: the box ends at that tick instead of counting on from there.
TEST(MsgBox, CountdownEndsOnTimeAfterTheThreadWasBusy) {
  UseSkinTheme();
  std::vector<std::string> shownAfter;
  bool ended = false;
  ActOnNextDialog([&](HWND dlg) {
    ::Sleep(3500);  // the busy thread itself, not a wait for something
    const DWORD start = ::GetTickCount();
    while (!ended && ::GetTickCount() - start < 5000) {
      Pump(20);
      ended = !::IsWindow(dlg) || !::IsWindowVisible(dlg);
      char text[16] = "";
      if (!ended && ::GetDlgItemTextA(dlg, 29813, text, sizeof text) && text != std::string("2"))
        shownAfter.push_back(text);
    }
  });
  EXPECT_EQ(DoMessageBox("countdown", 0x124, 2), 7);
  EXPECT_TRUE(ended);
  EXPECT_EQ(shownAfter, std::vector<std::string>{}) << "the box counted on after the time was up";
}

TEST(MsgBox, InputBoxAnswers) {
  UseSkinTheme();
  bool plainShown = false, maskedShown = true;
  ActOnNextDialog([&](HWND dlg) {
    plainShown = ::IsWindowVisible(::GetDlgItem(dlg, 29852)) != 0;
    maskedShown = ::IsWindowVisible(::GetDlgItem(dlg, 29853)) != 0;
    ::SetDlgItemTextA(dlg, 29852, "\xD5\xC5\xC8\xFD abc");
    SaveScreenPng(dlg, "inputbox.png");
    Press(dlg, 29714);
  });
  char* answer = nullptr;
  EXPECT_EQ(DoInputMessageBox("\xC7\xEB\xCA\xE4\xC8\xEB\xC4\xFA\xB5\xC4\xC3\xFB\xD7\xD6\xA3\xBA", 0x41, 0, &answer), 1);
  ASSERT_NE(answer, nullptr);
  EXPECT_STREQ(answer, "\xD5\xC5\xC8\xFD abc");
  std::free(answer);
  EXPECT_TRUE(plainShown);
  EXPECT_FALSE(maskedShown);

  // Masked entry; the second button's value comes back with the text.
  ActOnNextDialog([&](HWND dlg) {
    plainShown = ::IsWindowVisible(::GetDlgItem(dlg, 29852)) != 0;
    maskedShown = ::IsWindowVisible(::GetDlgItem(dlg, 29853)) != 0;
    ::SetDlgItemTextA(dlg, 29853, "secret");
    Press(dlg, 29715);
  });
  EXPECT_EQ(DoInputMessageBox("password?", 0x80000001u, 0, &answer), 2);
  ASSERT_NE(answer, nullptr);
  EXPECT_STREQ(answer, "secret");
  std::free(answer);
  EXPECT_FALSE(plainShown);
  EXPECT_TRUE(maskedShown);

  // Nothing entered: no answer.
  ActOnNextDialog([&](HWND dlg) { Press(dlg, 29714); });
  answer = reinterpret_cast<char*>(1);
  EXPECT_EQ(DoInputMessageBox("empty", 0x1, 0, &answer), 1);
  EXPECT_EQ(answer, nullptr);

  // A countdown that runs out reads nothing, whatever was typed.
  ActOnNextDialog([&](HWND dlg) { ::SetDlgItemTextA(dlg, 29852, "typed"); });
  EXPECT_EQ(DoInputMessageBox("timeout", 0x104, 1, &answer), 7);
  EXPECT_EQ(answer, nullptr);
}

TEST(MsgBox, EveryLineOfTheTextFits) {
  UseSkinTheme();
  auto textHeight = [](const char* text) {
    int h = 0;
    ActOnNextDialog([&](HWND dlg) {
      RECT r;
      ::GetWindowRect(::GetDlgItem(dlg, 29811), &r);
      h = r.bottom - r.top;
      Press(dlg, 29714);
    });
    DoMessageBox(text, 0, 0);
    return h;
  };
  int one = textHeight("one");
  int two = textHeight("one\\ntwo");
  int three = textHeight("one\n\ntwo");
  EXPECT_GT(two, one);
  EXPECT_EQ(two - one, three - two);  // two line feeds draw (and measure) an empty line
}

// A box whose skin cannot be made still asks its question (the plain box).
TEST(MsgBox, BrokenSkinFallsBackToThePlainBox) {
  char folder[MAX_PATH];
  GetModuleFolder(folder, sizeof folder, nullptr);
  std::string base = std::string(folder) + "broken_skin";
  ::CreateDirectoryA(base.c_str(), nullptr);
  ::CreateDirectoryA((base + "\\Theme").c_str(), nullptr);
  {
    std::ofstream thm(base + "\\Theme\\Vesk.thm", std::ios::binary);
    thm << "[QKDLG]\r\nbackgrdbmp=missing.bmp\r\n";
  }
  ConfigSettings settings;
  settings.alternativeFolder = base.c_str();
  BuildConfigPaths("Vesk", FALSE, &settings);
  Seen seen;
  ActOnNextDialog([&](HWND dlg) {
    seen = Look(dlg);
    Press(dlg, 29715);
  });
  EXPECT_EQ(DoMessageBox("fallback", 0x4, 0), 7);
  EXPECT_FALSE(seen.skinned);
  EXPECT_TRUE(seen.caption);
  UseSkinTheme();
}

class CCountingWnd : public CWnd {
 public:
  int m_nCancelModes = 0;

 protected:
  afx_msg void OnCancelMode() { ++m_nCancelModes; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCountingWnd, CWnd)
  ON_WM_CANCELMODE()
END_MESSAGE_MAP()

TEST(MsgBox, ShowingCancelsModesOfTheMainWindowsChildren) {
  UseSkinTheme();
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
  CCountingWnd child, grandchild;
  ASSERT_TRUE(child.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &main, 1));
  ASSERT_TRUE(grandchild.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &child, 2));
  AfxGetApp()->m_pMainWnd = &main;
  ActOnNextDialog([&](HWND dlg) { Press(dlg, 29714); });
  DoMessageBox("no cancel", 0, 0);
  Pump(50);
  EXPECT_EQ(child.m_nCancelModes, 0);
  ActOnNextDialog([&](HWND dlg) { Press(dlg, 29714); });
  ShowMessageBox("cancel first", 0, 0);
  Pump(50);
  EXPECT_EQ(child.m_nCancelModes, 1);
  EXPECT_EQ(grandchild.m_nCancelModes, 1);
  AfxGetApp()->m_pMainWnd = nullptr;
  main.DestroyWindow();
}

TEST(MsgBox, Screenshot) {
  UseSkinTheme();
  bool saved = false;
  WindowPicture pic;
  ActOnNextDialog([&](HWND dlg) {
    Pump(200);
    saved = SaveScreenPng(dlg, "msgbox.png");
    pic = Capture(dlg);
    Press(dlg, 29715);
  });
  ShowMessageBox(
      "\xC4\xFA\xC8\xB7\xB6\xA8\xD2\xAA\xC0\xEB\xBF\xAA\xD5\xE2\xD7\xC0\xC2\xF0\xA3\xBF\n"
      "\xCF\xEA\xC7\xE9\xC7\xEB\xBF\xB4 www.example.com",
      0x124, 30);
  EXPECT_TRUE(saved);
  ASSERT_GT(pic.w, 200);
  // Caption in the theme's blue, body light, corners cut away.
  COLORREF cap = pic.At(pic.w / 2, 4);
  EXPECT_GT(GetBValue(cap), GetRValue(cap) + 60);
  EXPECT_EQ(pic.At(6, pic.h - 8), RGB(243, 246, 251));
  EXPECT_NE(pic.At(0, 0), RGB(255, 0, 255));
}

}  // namespace
