// The lobby's two calls into the resource library, driven as a person would.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ResTestUtil.h"
#include "WinProbe.h"
#include "resource.h"

using namespace restest;

namespace {

using GetPropertyFn = int (*)(char*);
using ShowPropertyFn = int (*)(const char*);

class RuleExports : public ::testing::Test {
 protected:
  void SetUp() override {
    m_module = LoadResLibrary();
    ASSERT_NE(m_module, nullptr);
    m_get = reinterpret_cast<GetPropertyFn>(GetProcAddress(m_module, "GetProperty"));
    m_show = reinterpret_cast<ShowPropertyFn>(GetProcAddress(m_module, "ShowProperty"));
    ASSERT_NE(m_get, nullptr);
    ASSERT_NE(m_show, nullptr);
    CreateDirectoryA("shots", nullptr);
  }
  void TearDown() override {
    if (m_module) FreeLibrary(m_module);
  }

  // Runs `call` (which shows a modal dialog) while `person` acts on the dialog titled `title`.
  int WithDialog(const char* title, const std::function<int()>& call, const std::function<void(HWND)>& person) {
    int result = 0;
    if (!winprobe::ActOnModalWindow(
            Utf8ToAnsi(title), [&] { result = call(); }, person))
      ADD_FAILURE() << "no dialog " << title;
    return result;
  }

  static std::string ItemText(HWND dlg, int id) {
    char buf[64] = {};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
  }
  static void SetItemText(HWND dlg, int id, const char* text) {
    SendMessageA(GetDlgItem(dlg, id), WM_SETTEXT, 0, (LPARAM)text);
  }
  // Waits until the dialog's thread has handled the clicks posted to it.
  static void Settle(HWND dlg) { EXPECT_TRUE(winprobe::WaitPostedHandled(dlg)); }
  // The dialog belongs to the other thread: copy it from the screen once it has painted.
  static void SaveShot(HWND dlg, const wchar_t* path) {
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(winprobe::SaveScreenArea(dlg, path));
  }

  HMODULE m_module = nullptr;
  GetPropertyFn m_get = nullptr;
  ShowPropertyFn m_show = nullptr;
};

TEST_F(RuleExports, GetPropertyWithDefaultsWritesTheDefaultRules) {
  char text[64] = "untouched";
  int n = WithDialog(
      "设置游戏规则", [&] { return m_get(text); },
      [&](HWND dlg) {
        Settle(dlg);
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_CHATMODE, CB_GETCOUNT, 0, 0), 4);
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_CHATMODE, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(ItemText(dlg, IDC_ROUNDS), "4");
        EXPECT_EQ(ItemText(dlg, IDC_SECONDS), "100");
        EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RECORDSCORE), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_SCOREBYROUNDS), BST_UNCHECKED);
        SaveShot(dlg, L"shots\\rules_186.png");
        winprobe::ClickButton(dlg, "1");
      });
  EXPECT_STREQ(text, "1 0 100 1 0");
  EXPECT_EQ(n, (int)strlen("1 0 100 1 0") + 1);
}

TEST_F(RuleExports, GetPropertyCancelledReturnsZero) {
  char text[64] = "untouched";
  int n = WithDialog(
      "设置游戏规则", [&] { return m_get(text); },
      [&](HWND dlg) {
        Settle(dlg);
        winprobe::ClickButton(dlg, "2");
      });
  EXPECT_EQ(n, 0);
  EXPECT_STREQ(text, "untouched");
}

TEST_F(RuleExports, RoundsOutOfRangeAreRefusedThenAccepted) {
  char text[64] = {};
  int n = WithDialog(
      "设置游戏规则", [&] { return m_get(text); },
      [&](HWND dlg) {
        Settle(dlg);
        SendDlgItemMessageA(dlg, IDC_CHATMODE, CB_SETCURSEL, 2, 0);
        winprobe::ClickButton(dlg, std::to_string(IDC_SCOREBYROUNDS));
        Settle(dlg);
        SetItemText(dlg, IDC_ROUNDS, "3");
        SetItemText(dlg, IDC_SECONDS, "30");
        winprobe::ClickButton(dlg, "1");
        // The range box appears and the dialog stays.
        HWND box = nullptr;
        for (int i = 0; i < 100 && !box; ++i, Sleep(50)) {
          for (const auto& w : winprobe::TopLevelWindows(GetCurrentProcessId(), true))
            if (w.hwnd != dlg && w.className == "#32770" && GetWindow(w.hwnd, GW_OWNER) == dlg) box = w.hwnd;
        }
        ASSERT_NE(box, nullptr) << "no range box";
        std::string boxText;
        for (const auto& c : winprobe::ChildWindows(box)) boxText += c.text + "|";
        EXPECT_NE(boxText.find("4"), std::string::npos) << boxText;
        EXPECT_NE(boxText.find("100"), std::string::npos) << boxText;
        winprobe::ClickButton(box, "1");
        Settle(dlg);
        EXPECT_TRUE(IsWindow(dlg));
        SetItemText(dlg, IDC_ROUNDS, "8");
        winprobe::ClickButton(dlg, "1");
      });
  EXPECT_STREQ(text, "1 8 30 1 2");
  EXPECT_EQ(n, 11);
}

TEST_F(RuleExports, RoundsOffWritesZeroWhateverTheFieldHolds) {
  char text[64] = {};
  WithDialog(
      "设置游戏规则", [&] { return m_get(text); },
      [&](HWND dlg) {
        Settle(dlg);
        SetItemText(dlg, IDC_ROUNDS, "77");
        winprobe::ClickButton(dlg, std::to_string(IDC_RECORDSCORE));
        Settle(dlg);
        winprobe::ClickButton(dlg, "1");
      });
  EXPECT_STREQ(text, "1 0 100 0 0");
}

TEST_F(RuleExports, SecondsOutOfRangeAreRefused) {
  char text[64] = {};
  WithDialog(
      "设置游戏规则", [&] { return m_get(text); },
      [&](HWND dlg) {
        Settle(dlg);
        SetItemText(dlg, IDC_SECONDS, "601");
        winprobe::ClickButton(dlg, "1");
        HWND box = nullptr;
        for (int i = 0; i < 100 && !box; ++i, Sleep(50))
          for (const auto& w : winprobe::TopLevelWindows(GetCurrentProcessId(), true))
            if (w.hwnd != dlg && GetWindow(w.hwnd, GW_OWNER) == dlg) box = w.hwnd;
        ASSERT_NE(box, nullptr);
        winprobe::ClickButton(box, "1");
        Settle(dlg);
        SetItemText(dlg, IDC_SECONDS, "600");
        winprobe::ClickButton(dlg, "1");
      });
  EXPECT_STREQ(text, "1 0 600 1 0");
}

struct ShownRules {
  int chat;
  UINT byRounds;
  std::string rounds, seconds;
  UINT record;
};

TEST_F(RuleExports, ShowPropertyShowsTheParsedRulesReadOnly) {
  struct Case {
    const char* text;
    ShownRules want;
  };
  const Case cases[] = {
      {"", {0, BST_UNCHECKED, "0", "100", BST_CHECKED}},
      {"1 12 45 0 3", {3, BST_CHECKED, "12", "45", BST_UNCHECKED}},
      {"1 0 200 1 1", {1, BST_UNCHECKED, "0", "200", BST_CHECKED}},
  };
  for (const auto& c : cases) {
    int r = WithDialog(
        "默认游戏规则", [&] { return m_show(c.text); },
        [&](HWND dlg) {
          Settle(dlg);
          EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_CHATMODE, CB_GETCURSEL, 0, 0), c.want.chat) << c.text;
          EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_SCOREBYROUNDS), c.want.byRounds) << c.text;
          EXPECT_EQ(ItemText(dlg, IDC_ROUNDS), c.want.rounds) << c.text;
          EXPECT_EQ(ItemText(dlg, IDC_SECONDS), c.want.seconds) << c.text;
          EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RECORDSCORE), c.want.record) << c.text;
          for (int id : {IDC_CHATMODE, IDC_SCOREBYROUNDS, IDC_ROUNDS, IDC_RECORDSCORE, IDC_SECONDS})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
          if (c.text[0]) SaveShot(dlg, L"shots\\rules_207.png");
          winprobe::ClickButton(dlg, "1");
        });
    EXPECT_EQ(r, 1);
  }
}

}  // namespace
