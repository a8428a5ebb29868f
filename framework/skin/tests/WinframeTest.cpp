// The game frame window: hit codes, border reservation, caption buttons, the lobby's
// find-game message, the system menu through the caption bar, tooltips and pictures.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "CoolButton.h"
#include "QKGameFrameWnd.h"
#include "ResLoad.h"
#include "SkinDialog.h"
#include "SkinTestEnv.h"
#include "SkinTheme.h"
#include "WinProbe.h"

#include <commctrl.h>

namespace {

class CTestFrame : public CQKGameFrameWnd {
 public:
  std::vector<UINT> m_sysCommands;
  BOOL Open(const char* title = "\xB6\xB7\xB5\xD8\xD6\xF7 - Vesk") {  // 斗地主
    if (!Create(nullptr, title, WS_OVERLAPPEDWINDOW, CRect(40, 30, 840, 630))) return FALSE;
    SetIcon(::LoadIcon(nullptr, IDI_APPLICATION), FALSE);
    ShowWindow(SW_SHOW);
    UpdateWindow();
    Pump(50);
    return TRUE;
  }
  LRESULT Hit(int x, int y) {
    CRect r;
    GetWindowRect(&r);
    return SendMessage(WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
  }

 protected:
  afx_msg LRESULT OnSysCommandMsg(WPARAM wParam, LPARAM lParam) {
    // Recorded only: the frame stays as it is for the test.
    (void)lParam;
    m_sysCommands.push_back((UINT)wParam & 0xFFF0);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestFrame, CQKGameFrameWnd)
  ON_MESSAGE(WM_SYSCOMMAND, &CTestFrame::OnSysCommandMsg)
END_MESSAGE_MAP()

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override { UseSkinTheme(); }
};

TEST_F(FrameTest, CreatedFromTheThemeAndMarked) {
  CTestFrame* f = new CTestFrame;
  ASSERT_TRUE(f->Open());
  EXPECT_EQ(::GetWindowLongPtrA(f->m_hWnd, GWLP_USERDATA), SKIN_FRAME_MARK);
  EXPECT_EQ(f->GetStyle() & WS_CAPTION, 0u);
  EXPECT_TRUE(f->GetStyle() & WS_MAXIMIZEBOX);
  // setup, help, minimize, maximize, close
  EXPECT_EQ(f->GetCaptionButtons().GetCount(), 5);
  EXPECT_EQ(f->GetMaxButtonIndex(), 3);
  EXPECT_TRUE(f->GetSysMenuShape().ellipse);
  EXPECT_EQ(f->GetSysMenuShape().box, (skin::Box{16, 4, 36, 24}));
  f->DestroyWindow();
}

TEST_F(FrameTest, HitTestTable) {
  CTestFrame* f = new CTestFrame;
  ASSERT_TRUE(f->Open());
  CRect row, wr;
  f->GetCaptionButtons().GetBounds(&row);
  f->GetWindowRect(&wr);
  EXPECT_EQ(row.right, 800 - 8);
  EXPECT_EQ(row.top, 5);
  const int closeX = row.right - 5, minX = row.left + 2 * 27 + 5;
  struct Case {
    int x, y;
    LRESULT want;
  } cases[] = {
      {1, 1, HTTOPLEFT},         {2, 595, HTBOTTOMLEFT},  {798, 3, HTTOPRIGHT},
      {797, 598, HTBOTTOMRIGHT}, {1, 300, HTLEFT},        {798, 300, HTRIGHT},
      {400, 1, HTTOP},           {400, 598, HTBOTTOM},    {400, 15, HTCAPTION},
      {closeX, 10, HTCLOSE},     {minX, 10, HTMINBUTTON}, {400, 300, HTCAPTION},  // no view: the uncovered frame drags
  };
  for (const Case& c : cases) EXPECT_EQ(f->Hit(c.x, c.y), c.want) << c.x << "," << c.y;
  f->DestroyWindow();
}

TEST_F(FrameTest, BordersAreReservedForTheView) {
  CTestFrame* f = new CTestFrame;
  ASSERT_TRUE(f->Open());
  CWnd view;
  ASSERT_TRUE(
      view.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), f, AFX_IDW_PANE_FIRST));
  f->RecalcLayout();
  CRect r;
  view.GetWindowRect(&r);
  f->ScreenToClient(&r);
  EXPECT_EQ(r, CRect(4, 30, 796, 596));
  view.DestroyWindow();
  f->DestroyWindow();
}

TEST_F(FrameTest, PictureOfTheFrame) {
  CTestFrame* f = new CTestFrame;
  ASSERT_TRUE(f->Open());
  f->SetActiveWindow();
  Pump(50);
  WindowPicture pic = Capture(f->m_hWnd);
  // A table-coloured view, as the game puts there.
  CWnd view;
  ASSERT_TRUE(view.Create(AfxRegisterWndClass(0, nullptr, ::CreateSolidBrush(RGB(24, 92, 64))), "",
                          WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), f, AFX_IDW_PANE_FIRST));
  f->RecalcLayout();
  EXPECT_TRUE(SaveScreenPng(f->m_hWnd, "frame.png"));
  // Corners cut away, caption blue, white title text in the caption.
  EXPECT_EQ(pic.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(pic.At(799, 0), RGB(0, 0, 0));
  COLORREF cap = pic.At(200, 20);
  EXPECT_GT(GetBValue(cap), GetRValue(cap) + 60);
  int white = 0;
  for (int y = 5; y < 26; ++y)
    for (int x = 300; x < 500; ++x) white += IsWhiteish(pic.At(x, y));
  EXPECT_GT(white, 20);
  // A title wider than the room is cut (ending in dots) short of the buttons.
  std::string longTitle(300, 'W');
  f->SetWindowText(longTitle.c_str());
  f->Invalidate();
  f->UpdateWindow();
  SaveScreenPng(f->m_hWnd, "frame_longtitle.png");
  pic = Capture(f->m_hWnd);
  CRect row;
  f->GetCaptionButtons().GetBounds(&row);
  for (int y = 5; y < 26; ++y)
    for (int x = row.left - 3; x < row.left; ++x) EXPECT_FALSE(IsWhiteish(pic.At(x, y))) << x << "," << y;
  f->DestroyWindow();
}

TEST_F(FrameTest, LobbyFindGameHidesAndShowsWithTheSkinnedDialogs) {
  CTestFrame* f = new CTestFrame;
  ASSERT_TRUE(f->Open());
  CSkinDialog dlg(29733);
  dlg.SetSkinName("Test");
  ASSERT_TRUE(dlg.Create(29733, f));
  dlg.ShowWindow(SW_SHOW);
  const UINT msg = GetLobbyFindGameMessage();
  ASSERT_NE(msg, 0u);
  f->SendMessage(msg, 0, 0);
  EXPECT_TRUE(f->IsLobbyHidden());
  EXPECT_FALSE(f->IsWindowVisible());
  EXPECT_FALSE(dlg.IsWindowVisible());
  f->SendMessage(msg, 0, 2);  // neither hide nor show
  EXPECT_TRUE(f->IsLobbyHidden());
  EXPECT_FALSE(dlg.IsWindowVisible());
  f->SendMessage(msg, 0, 1);
  EXPECT_FALSE(f->IsLobbyHidden());
  EXPECT_TRUE(f->IsWindowVisible());
  EXPECT_TRUE(dlg.IsWindowVisible());
  dlg.DestroyWindow();
  f->DestroyWindow();
}

TEST_F(FrameTest, SystemMenuCloseReachesTheFrame) {
  CTestFrame* f = new CTestFrame;
  ASSERT_TRUE(f->Open());
  HWND bar = f->GetCaptionBar().GetSafeHwnd();
  ASSERT_TRUE(bar);
  // However the platform hands the chosen item to the menu's owner, the frame gets it.
  ::SendMessageA(bar, WM_SYSCOMMAND, SC_CLOSE, 0);
  ::SendMessageA(bar, WM_COMMAND, SC_CLOSE, 0);
  Pump(50);
  EXPECT_EQ(f->m_sysCommands.size(), 2u);
  EXPECT_TRUE(::IsWindow(bar));
  // The real menu: once it is up, its last item is picked with the keyboard.
  HMENU sysMenu = ::GetSystemMenu(f->m_hWnd, FALSE);
  const UINT lastItem = ::GetMenuItemID(sysMenu, ::GetMenuItemCount(sysMenu) - 1) & 0xFFF0;
  f->m_sysCommands.clear();
  f->SetForegroundWindow();
  static bool s_menuSeen;
  s_menuSeen = false;
  ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    HWND menu = ::FindWindowA("#32768", nullptr);
    s_menuSeen = menu && ::IsWindowVisible(menu);
    if (menu) {
      ::PostMessageA(menu, WM_KEYDOWN, VK_END, 0);
      ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }
  });
  UINT_PTR guard = ::SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::EndMenu();  // never leaves the test hanging in the menu
  });
  CRect r;
  f->GetWindowRect(&r);
  f->TrackSystemMenu(CPoint(r.left + 20, r.top + 20));
  ::KillTimer(nullptr, guard);
  Pump(100);
  EXPECT_TRUE(s_menuSeen);
  ASSERT_EQ(f->m_sysCommands.size(), 1u);
  EXPECT_EQ(f->m_sysCommands[0], lastItem);
  EXPECT_TRUE(::IsWindow(bar));
  f->DestroyWindow();
}

// A theme that locks the width and names its pictures by full path.
void UseLockedTheme(int mode) {
  UseSkinTheme();
  std::ifstream in(g_ConfigPaths.themeFile, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  std::string folder = g_ConfigPaths.themeFolder, out, line;
  while (std::getline(all, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t eq = line.find('=');
    if (line.rfind("CanNotChangeWidth", 0) == 0) {
      line = "CanNotChangeWidth=" + std::to_string(mode);
    } else if (eq != std::string::npos && line.find(".bmp") != std::string::npos &&
               line.find(',') == std::string::npos) {
      line = line.substr(0, eq + 1) + folder + line.substr(eq + 1);  // "Z:\\...\\frame00.bmp"
    }
    out += line + "\r\n";
  }
  char exe[MAX_PATH];
  GetModuleFolder(exe, sizeof exe, nullptr);
  std::string base = std::string(exe) + "locked_skin";
  ::CreateDirectoryA(base.c_str(), nullptr);
  ::CreateDirectoryA((base + "\\Theme").c_str(), nullptr);
  std::ofstream(base + "\\Theme\\Vesk.thm", std::ios::binary) << out;
  static std::string s_base;
  s_base = base;
  ConfigSettings settings;
  settings.alternativeFolder = s_base.c_str();
  BuildConfigPaths("Vesk", FALSE, &settings);
}

TEST_F(FrameTest, WidthLockModes) {
  struct Case {
    int mode;
    LRESULT top, left;
  } cases[] = {{1, HTTOP, HTCAPTION}, {2, HTCAPTION, HTLEFT}};
  for (const Case& c : cases) {
    UseLockedTheme(c.mode);
    CTestFrame* f = new CTestFrame;
    ASSERT_TRUE(f->Open());  // every picture came by its full path
    EXPECT_EQ(f->GetWidthLock(), c.mode);
    EXPECT_FALSE(f->GetStyle() & WS_MAXIMIZEBOX);
    EXPECT_EQ(f->GetCaptionButtons().GetCount(), 4);  // no maximize button
    EXPECT_EQ(f->Hit(400, 1), c.top);
    EXPECT_EQ(f->Hit(1, 300), c.left);
    CRect r;
    f->GetWindowRect(&r);
    f->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(r.left + 300, r.top + 10));
    EXPECT_FALSE(f->IsZoomed());
    f->SendMessage(WM_COMMAND, ID_FRAME_MAXRESTORE);
    EXPECT_FALSE(f->IsZoomed());
    f->DestroyWindow();
  }
  UseSkinTheme();
}

TEST_F(FrameTest, TooltipsAndQuietBaseCommands) {
  CTestFrame* f = new CTestFrame;
  ASSERT_TRUE(f->Open());
  AfxGetApp()->m_pMainWnd = f;
  CRect row;
  f->GetCaptionButtons().GetBounds(&row);
  TOOLINFOA ti = {};
  ti.cbSize = sizeof ti;
  EXPECT_EQ(f->OnToolHitTest(CPoint(row.left + 3, row.top + 3), &ti), 29937);  // the setup button
  EXPECT_EQ(f->OnToolHitTest(CPoint(row.right - 3, row.top + 3), &ti), -1);
  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = ::GetDesktopWindow();  // a tool window of no id
  info.hdr.idFrom = 29937;
  info.hdr.code = TTN_NEEDTEXTA;
  f->SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
  CString want;
  want.LoadString(29937);
  EXPECT_STREQ(info.szText, want.Left(79));
  // The frame itself as a tool is declined.
  NMTTDISPINFOA self = {};
  self.hdr.hwndFrom = ::GetDesktopWindow();
  self.hdr.idFrom = (UINT_PTR)f->m_hWnd;
  self.hdr.code = TTN_NEEDTEXTA;
  self.uFlags = TTF_IDISHWND;
  f->SendMessage(WM_NOTIFY, 0, (LPARAM)&self);
  EXPECT_STREQ(self.szText, "");
  // The base setup and help commands show nothing.
  f->SendMessage(WM_COMMAND, ID_FRAME_SETUP);
  f->SendMessage(WM_COMMAND, ID_FRAME_HELP);
  Pump(50);
  int boxes = 0;
  for (const auto& w : winprobe::TopLevelWindows(::GetCurrentProcessId(), true)) boxes += w.className == "#32770";
  EXPECT_EQ(boxes, 0);
  AfxGetApp()->m_pMainWnd = nullptr;
  f->DestroyWindow();
}

}  // namespace

namespace {

TEST_F(FrameTest, AboutItemToolTipControlAndFrameBar) {
  CTestFrame* f = new CTestFrame;
  ASSERT_TRUE(f->Open());
  HMENU menu = ::GetSystemMenu(f->m_hWnd, FALSE);
  const int before = ::GetMenuItemCount(menu);
  f->AddAboutMenuItem(29937);
  EXPECT_EQ(::GetMenuItemCount(menu), before + 2);
  EXPECT_EQ(::GetMenuItemID(menu, before + 1), 29937u);
  f->AddAboutMenuItem(1);  // no such string: nothing added
  EXPECT_EQ(::GetMenuItemCount(menu), before + 2);
  // The menu's restore, minimise, maximise and close marks are drawn with the Marlett symbol
  // font; a substitute would show them as the letters "2 0 1 r".
  {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HFONT font = ::CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    HGDIOBJ old = ::SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    ::GetTextFaceA(dc, sizeof face, face);
    EXPECT_STREQ(face, "Marlett");
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::DeleteDC(dc);
  }
  // The game's about item "(&A)" owns its key: an item of the window system on the same key
  // (Wine's own about item) goes, and no separator is left dangling or doubled.
  f->AddAboutMenuItem(10018);
  const int n = ::GetMenuItemCount(menu);
  ASSERT_GT(n, 2);
  EXPECT_EQ(::GetMenuItemID(menu, n - 1), 10018u);
  int keyed[128] = {};
  for (int i = 0; i < n; ++i) {
    char text[256] = "";
    ::GetMenuStringA(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
    const char key = skin::MenuAccessKey(text);
    if (key > 0) {
      EXPECT_EQ(++keyed[(int)key], 1) << "two items on key " << key << ": " << text;
    }
    const bool sep = (::GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_SEPARATOR) != 0;
    if (sep && i > 0) {
      EXPECT_FALSE(::GetMenuState(menu, (UINT)i - 1, MF_BYPOSITION) & MF_SEPARATOR) << i;
    }
  }
  // The view's tooltip keeps working while a modal dialog disables its owner.
  CQKToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(f));
  EXPECT_EQ(tip.SendMessage(WM_DISABLEMODAL), 0);
  tip.DestroyWindow();
  {
    CFrameBar bar;  // constructed and destroyed as the main frame's member
    EXPECT_EQ(bar.GetButtonCount(), 0);
  }
  f->DestroyWindow();
}

}  // namespace
