// The settings dialog: its values reach the controls and come back, the pickers change
// exactly what they should, a watcher cannot change allow-watching.
#include <gtest/gtest.h>

#include "DialogTestUtil.h"
#include "SetupDlg.h"
#include "SkinTestEnv.h"
#include "WinProbe.h"

namespace {

// Pickers answer from the test instead of opening the system's dialogs.
class CScriptedSetupDlg : public CSetupDlg {
 public:
  BOOL m_bAnswer = TRUE;
  CString m_strAnswer;
  COLORREF m_crAnswer = RGB(10, 20, 30);
  std::vector<std::string> m_filters, m_starts;
  BOOL PickColor(COLORREF& color) override {
    if (!m_bAnswer) return FALSE;
    color = m_crAnswer;
    return TRUE;
  }
  BOOL PickFile(const CString& start, const char* filter, CString& path) override {
    m_filters.push_back(filter);
    m_starts.push_back((LPCSTR)start);
    if (!m_bAnswer) return FALSE;
    path = m_strAnswer;
    return TRUE;
  }
  BOOL PickFolder(const char*, CString& folder) override {
    if (!m_bAnswer) return FALSE;
    folder = m_strAnswer;
    return TRUE;
  }
};

bool Checked(HWND h, int id) { return ::IsDlgButtonChecked(h, id) == BST_CHECKED; }
void Click(HWND h, int id) { ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(h, id)); }

class SetupDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { UseSkinTheme(); }
};

TEST_F(SetupDlgTest, ValuesAfterConstruction) {
  CSetupDlg dlg;
  EXPECT_EQ(dlg.m_bAllowWatch, 0);
  EXPECT_EQ(dlg.m_nBkMode, -1);
  EXPECT_EQ(dlg.m_bMusic, 0);
  EXPECT_EQ(dlg.m_bSound, 0);
  EXPECT_EQ(dlg.m_bTile, 0);
  EXPECT_EQ(dlg.m_bSmallCards, 0);
  EXPECT_EQ(dlg.m_bVoice, 0);
  EXPECT_EQ(dlg.m_bAnimation, 0);
  EXPECT_TRUE(dlg.m_strCaptureDir.IsEmpty());
  EXPECT_TRUE(dlg.m_strBkPicture.IsEmpty());
  EXPECT_TRUE(dlg.m_strMusicFile.IsEmpty());
}

TEST_F(SetupDlgTest, ValuesGoToTheControlsAndBack) {
  CScriptedSetupDlg dlg;
  dlg.m_bAllowWatch = 1;
  dlg.m_nBkMode = 0;
  dlg.m_bSound = 1;
  dlg.m_nSeatDir = 1;
  dlg.m_bVoice = 1;
  dlg.m_bFloatText = 1;
  dlg.m_bSmallCards = 1;
  dlg.m_strCaptureDir = "C:\\Shots";
  struct {
    bool allow, sound, music, voice, trad, anim, floatText, cw, ccw, bkDefault;
    std::string dir;
    bool allInside = true;
  } seen = {};
  ActOnNextDialog([&](HWND h) {
    CloseLater(h);
    seen.allow = Checked(h, IDC_ALLOWWATCH);
    seen.sound = Checked(h, IDC_SOUND);
    seen.music = Checked(h, IDC_MUSICON);
    seen.voice = Checked(h, IDC_VOICE);
    seen.trad = Checked(h, IDC_TRADSOUND);
    seen.anim = Checked(h, IDC_MOVECARDS);
    seen.floatText = Checked(h, IDC_FLOATTEXT);
    seen.cw = Checked(h, IDC_SEAT_CW_RADIO);
    seen.ccw = Checked(h, IDC_SEAT_CCW_RADIO);
    seen.bkDefault = Checked(h, IDC_BK_DEFAULT_RADIO);
    seen.dir = ItemText(h, IDC_CAPTUREDIR);
    RECT client;
    ::GetClientRect(h, &client);
    for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
      if (::IsWindowVisible(c) && ::GetDlgCtrlID(c) != ID_SKINDLG_CLOSE)
        seen.allInside = seen.allInside && Inside(client, ItemRect(h, ::GetDlgCtrlID(c)));
    SaveScreenPng(h, "setup.png");
    // The player changes a few things and confirms.
    ::CheckDlgButton(h, IDC_MOVECARDS, BST_CHECKED);
    ::CheckDlgButton(h, IDC_SOUND, BST_UNCHECKED);
    ::CheckRadioButton(h, IDC_SEAT_CCW_RADIO, IDC_SEAT_CW_RADIO, IDC_SEAT_CCW_RADIO);
    ::SetDlgItemTextA(h, IDC_CAPTUREDIR, "D:\\Pictures\\");
    EXPECT_TRUE(ClickVisible(h, "\xC8\xB7\xB6\xA8"));
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(seen.allow);
  EXPECT_TRUE(seen.sound);
  EXPECT_FALSE(seen.music);
  EXPECT_TRUE(seen.voice);
  EXPECT_FALSE(seen.trad);
  EXPECT_FALSE(seen.anim);
  EXPECT_TRUE(seen.floatText);
  EXPECT_TRUE(seen.cw);
  EXPECT_FALSE(seen.ccw);
  EXPECT_TRUE(seen.bkDefault);
  EXPECT_EQ(seen.dir, "C:\\Shots");
  EXPECT_TRUE(seen.allInside);
  EXPECT_EQ(dlg.m_bAnimation, 1);
  EXPECT_EQ(dlg.m_bSound, 0);
  EXPECT_EQ(dlg.m_nSeatDir, 0);
  EXPECT_EQ(dlg.m_bSmallCards, 1);  // hidden control, value kept
  EXPECT_EQ(dlg.m_nBkMode, 0);
  EXPECT_EQ(std::string((LPCSTR)dlg.m_strCaptureDir), "D:\\Pictures");
}

TEST_F(SetupDlgTest, CancelKeepsTheValues) {
  CScriptedSetupDlg dlg;
  dlg.m_bVoice = 1;
  ActOnNextDialog([&](HWND h) {
    CloseLater(h);
    ::CheckDlgButton(h, IDC_VOICE, BST_UNCHECKED);
    EXPECT_TRUE(ClickVisible(h, "\xC8\xA1\xCF\xFB"));
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_bVoice, 1);
}

TEST_F(SetupDlgTest, MusicPickerTurnsMusicOnAndCancelChangesNothing) {
  struct Case {
    BOOL answer;
    int musicAfter;
    const char* fileAfter;
  } cases[] = {{TRUE, 1, "C:\\Music\\a.mid"}, {FALSE, 0, "C:\\old.mid"}};
  for (const Case& c : cases) {
    CScriptedSetupDlg dlg;
    dlg.m_strMusicFile = "C:\\old.mid";
    dlg.m_bAnswer = c.answer;
    dlg.m_strAnswer = "C:\\Music\\a.mid";
    bool checkShown = false;
    ActOnNextDialog([&](HWND h) {
      CloseLater(h);
      Click(h, IDC_MUSIC);
      Pump(150);
      checkShown = Checked(h, IDC_MUSICON);
      ::PostMessageA(h, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_bMusic, c.musicAfter);
    EXPECT_EQ(checkShown, c.musicAfter == 1);
    EXPECT_EQ(std::string((LPCSTR)dlg.m_strMusicFile), c.fileAfter);
    ASSERT_EQ(dlg.m_filters.size(), 1u);
    EXPECT_EQ(dlg.m_filters[0], "MID files (*.mid)|*.mid|All files (*.*)|*.*||");
    EXPECT_EQ(dlg.m_starts[0], "C:\\old.mid");
  }
}

TEST_F(SetupDlgTest, BackgroundPickersSetTheMode) {
  CScriptedSetupDlg dlg;
  dlg.m_nBkMode = 0;
  dlg.m_strAnswer = "C:\\bk.bmp";
  int modeAfterColour = -9;
  ActOnNextDialog([&](HWND h) {
    CloseLater(h);
    // The buttons are hidden by the template; their commands still work.
    Click(h, IDC_BKCOLOR);
    modeAfterColour = Checked(h, IDC_BK_COLOR_RADIO) ? 1 : 0;
    Click(h, IDC_BKBMP);
    ::PostMessageA(h, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(modeAfterColour, 1);
  EXPECT_EQ(dlg.m_crBk, RGB(10, 20, 30));
  EXPECT_EQ(dlg.m_nBkMode, 2);
  EXPECT_EQ(std::string((LPCSTR)dlg.m_strBkPicture), "C:\\bk.bmp");
  EXPECT_EQ(dlg.m_filters.at(0), "Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||");
}

TEST_F(SetupDlgTest, FolderPickerAndTypedFolders) {
  CScriptedSetupDlg dlg;
  dlg.m_strAnswer = "E:\\Caps";
  std::string afterPick;
  bool openAfterBadText = false;
  ActOnNextDialog([&](HWND h) {
    CloseLater(h);
    Click(h, IDC_BTN_CAPTUREDIR);
    afterPick = ItemText(h, IDC_CAPTUREDIR);
    // Not a folder: OK keeps the dialog open.
    ::SetDlgItemTextA(h, IDC_CAPTUREDIR, "pictures?");
    ::SendMessageA(h, WM_COMMAND, IDOK, 0);
    openAfterBadText = ::IsWindowVisible(h) != 0;
    ::SetDlgItemTextA(h, IDC_CAPTUREDIR, "E:\\Caps\\Today\\");
    ::PostMessageA(h, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(afterPick, "E:\\Caps");
  EXPECT_TRUE(openAfterBadText);
  EXPECT_EQ(std::string((LPCSTR)dlg.m_strCaptureDir), "E:\\Caps\\Today");
}

TEST_F(SetupDlgTest, WatcherCannotChangeAllowWatching) {
  for (BOOL watcher : {TRUE, FALSE}) {
    CScriptedSetupDlg dlg;
    dlg.m_bWatcher = watcher;
    bool enabled = true;
    ActOnNextDialog([&](HWND h) {
      CloseLater(h);
      enabled = ::IsWindowEnabled(::GetDlgItem(h, IDC_ALLOWWATCH)) != 0;
      if (watcher) SaveScreenPng(h, "setup_watcher.png");
      ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
    dlg.DoModal();
    EXPECT_EQ(enabled, !watcher);
  }
}

TEST_F(SetupDlgTest, OutOfRangeValuesAreShownInRange) {
  CScriptedSetupDlg dlg;
  dlg.m_nSeatDir = 7;
  dlg.m_nBkMode = 9;
  dlg.m_bVoice = 5;
  ActOnNextDialog([&](HWND h) {
    CloseLater(h);
    ::PostMessageA(h, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nSeatDir, 0);
  EXPECT_EQ(dlg.m_nBkMode, 0);
  EXPECT_EQ(dlg.m_bVoice, 1);
}

}  // namespace
