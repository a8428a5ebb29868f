// The skinned dialog base, its caption buttons and shape, the hyperlink static and the
// wait and notice boxes, checked through messages and pictures of the windows.
#include <gtest/gtest.h>

#include <fstream>

#include "CoolButton.h"
#include "HyperLinkStatic.h"
#include "ResLoad.h"
#include "SkinDialog.h"
#include "SkinTestEnv.h"
#include "SkinTheme.h"
#include "WaitDlg.h"
#include "WinProbe.h"

namespace {

// A plain skinned dialog on the message-box template, showing only its skin.
class CTestSkinDlg : public CSkinDialog {
 public:
  CTestSkinDlg() : CSkinDialog(29733) { SetSkinName("Test"); }
  std::vector<UINT> m_commands;
  BOOL Open() {
    if (!Create(29733, nullptr)) return FALSE;
    for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) ::ShowWindow(c, SW_HIDE);
    SetWindowText("Skin");
    SetWindowPos(nullptr, 100, 100, 300, 180, SWP_NOZORDER);
    ShowWindow(SW_SHOW);
    UpdateWindow();
    Pump(50);
    return TRUE;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    m_commands.push_back(LOWORD(wParam));
    if (LOWORD(wParam) == ID_SKINDLG_CLOSE) return TRUE;  // kept open for the test
    return CSkinDialog::OnCommand(wParam, lParam);
  }
  CPoint ToScreen(int x, int y) {
    CRect r;
    GetWindowRect(&r);
    return CPoint(r.left + x, r.top + y);
  }
  LRESULT Hit(int x, int y) {
    CPoint p = ToScreen(x, y);
    return SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  }
};

class SkinDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { UseSkinTheme(); }
};

TEST_F(SkinDialogTest, MarkedAndSizedFromTheTheme) {
  CTestSkinDlg dlg;
  ASSERT_TRUE(dlg.Open());
  EXPECT_EQ(::GetWindowLongPtrA(dlg.m_hWnd, GWLP_USERDATA), SKIN_DIALOG_MARK);
  EXPECT_EQ(dlg.GetBorderWidth(), 4);
  EXPECT_EQ(dlg.GetCaptionHeight(), 28);
  CRect inner;
  dlg.GetSkinClientRect(&inner);
  EXPECT_EQ(inner, CRect(4, 28, 296, 176));
  CRect client;
  dlg.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 300);  // no non-client area
  dlg.DestroyWindow();
}

TEST_F(SkinDialogTest, HitTestTable) {
  CTestSkinDlg dlg;
  ASSERT_TRUE(dlg.Open());
  CRect close;
  dlg.GetCaptionButtons().GetBounds(&close);
  // Close button right-aligned with SysBtnRight 6 and SysBtnTop 5.
  EXPECT_EQ(close.right, 300 - 6);
  EXPECT_EQ(close.top, 5);
  struct Case {
    int x, y;
    LRESULT want;
  } cases[] = {
      {150, 10, HTCAPTION},
      {close.left + 2, close.top + 2, HTCLOSE},
      {150, 100, HTCLIENT},
      {2, 100, HTCLIENT},  // Resize is off: the border does not size
  };
  for (const Case& c : cases) EXPECT_EQ(dlg.Hit(c.x, c.y), c.want) << c.x << "," << c.y;
  dlg.DestroyWindow();
}

TEST_F(SkinDialogTest, CaptionButtonTracksTheMouseAndCommands) {
  CTestSkinDlg dlg;
  ASSERT_TRUE(dlg.Open());
  CRect b;
  dlg.GetCaptionButtons().GetBounds(&b);
  CPoint on = dlg.ToScreen(b.left + 3, b.top + 3), off = dlg.ToScreen(100, 10);
  dlg.SendMessage(WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(on.x, on.y));
  EXPECT_EQ(dlg.GetCaptionButtons().GetState(0), 1);
  dlg.UpdateWindow();
  WindowPicture hover = Capture(dlg.m_hWnd);
  // The hover cell is the red face.
  COLORREF face = hover.At(b.left + 2, b.bottom - 3);
  EXPECT_GT(GetRValue(face), 180);
  EXPECT_LT(GetGValue(face), 120);
  dlg.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(off.x, off.y));
  EXPECT_EQ(dlg.GetCaptionButtons().GetState(0), 0);
  // Pressed elsewhere on the caption, released over the button: the command still fires.
  dlg.SendMessage(WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(on.x, on.y));
  Pump(50);
  ASSERT_FALSE(dlg.m_commands.empty());
  EXPECT_EQ(dlg.m_commands.back(), (UINT)ID_SKINDLG_CLOSE);
  dlg.DestroyWindow();
}

TEST_F(SkinDialogTest, NineCellsAndTitle) {
  CTestSkinDlg dlg;
  ASSERT_TRUE(dlg.Open());
  WindowPicture pic = Capture(dlg.m_hWnd);
  SaveScreenPng(dlg.m_hWnd, "skindialog.png");
  // Body cells light, border cells blue, caption blue with the white title in the middle.
  EXPECT_EQ(pic.At(150, 120), RGB(243, 246, 251));
  EXPECT_EQ(pic.At(6, 170), RGB(243, 246, 251));
  COLORREF side = pic.At(2, 100);
  EXPECT_GT(GetBValue(side), GetRValue(side) + 60);
  int whiteMiddle = 0, whiteLeft = 0;
  for (int y = 4; y < 24; ++y) {
    for (int x = 0; x < 100; ++x) whiteLeft += IsWhiteish(pic.At(x, y));
    for (int x = 120; x < 180; ++x) whiteMiddle += IsWhiteish(pic.At(x, y));
  }
  EXPECT_GT(whiteMiddle, 10);
  EXPECT_EQ(whiteLeft, 0);
  dlg.DestroyWindow();
}

TEST_F(SkinDialogTest, ShapeFollowsTheCornersAndOutlivesTheCache) {
  SkinRegionCacheEmpty();
  CTestSkinDlg a, b;
  ASSERT_TRUE(a.Open());
  ASSERT_TRUE(b.Open());
  EXPECT_EQ(SkinRegionCacheCount(), 1);  // one picture, one cached shape
  HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(a.m_hWnd, rgn), ERROR);
  struct Case {
    int x, y;
    bool in;
  } cases[] = {
      {0, 0, false}, {299, 0, false}, {0, 179, false},  {299, 179, false}, {150, 0, true},
      {0, 90, true}, {299, 90, true}, {150, 179, true}, {6, 6, true},      {293, 6, true},
  };
  for (const Case& c : cases) EXPECT_EQ(::PtInRegion(rgn, c.x, c.y) != 0, c.in) << c.x << "," << c.y;
  // Emptying the cache (as the frame does when it goes) leaves each dialog its own shape.
  SkinRegionCacheEmpty();
  a.SetWindowPos(nullptr, 0, 0, 320, 200, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(::GetWindowRgn(a.m_hWnd, rgn), ERROR);
  EXPECT_FALSE(::PtInRegion(rgn, 319, 0));
  EXPECT_TRUE(::PtInRegion(rgn, 319, 100));
  ::DeleteObject(rgn);
  a.DestroyWindow();
  b.DestroyWindow();
}

TEST_F(SkinDialogTest, LobbyHideAndShow) {
  CTestSkinDlg dlg;
  ASSERT_TRUE(dlg.Open());
  auto send = [&](ULONG_PTR data) {
    COPYDATASTRUCT cds = {data, 0, nullptr};
    return dlg.SendMessage(WM_COPYDATA, 0, (LPARAM)&cds);
  };
  EXPECT_FALSE(send(0x12345600));
  EXPECT_TRUE(send(0xEBEBEB00));
  EXPECT_FALSE(dlg.IsWindowVisible());
  EXPECT_TRUE(send(0xEBEBEB02));
  EXPECT_FALSE(dlg.IsWindowVisible());
  EXPECT_TRUE(send(0xEBEBEB01));
  EXPECT_TRUE(dlg.IsWindowVisible());
  dlg.DestroyWindow();
}

// A dialog section with a backgrdbmp of its own keeps that picture when inactive, even
// when the section names a backgrdbmpNA too; QKDLG's backgrdbmpNA serves only dialogs
// without a picture of their own.
TEST_F(SkinDialogTest, InactiveBackgroundOrder) {
  const std::string pics = g_ConfigPaths.themeFolder;
  char exe[MAX_PATH];
  GetModuleFolder(exe, sizeof exe, nullptr);
  static std::string base;
  base = std::string(exe) + "order_skin";
  ::CreateDirectoryA(base.c_str(), nullptr);
  ::CreateDirectoryA((base + "\\Theme").c_str(), nullptr);
  {
    std::ofstream thm(base + "\\Theme\\Vesk.thm", std::ios::binary);
    thm << "[QKDLG]\r\nbackgrdbmp=" << pics << "dialogBK.bmp\r\nbackgrdbmpNA=" << pics
        << "dialogBKNA.bmp\r\ntitleclose=" << pics << "dlgclose.bmp\r\nCaptionHeight=28\r\n"
        << "[QKDLG_Own]\r\nbackgrdbmp=" << pics << "waitBK.bmp\r\n"
        << "[QKDLG_OwnNA]\r\nbackgrdbmp=" << pics << "waitBK.bmp\r\nbackgrdbmpNA=" << pics << "dialogBKNA.bmp\r\n";
  }
  ConfigSettings settings;
  settings.alternativeFolder = base.c_str();
  BuildConfigPaths("Vesk", FALSE, &settings);
  struct Case {
    const char* skin;
    bool greyWhenInactive;
  } cases[] = {{"Own", false}, {"OwnNA", false}, {"Test", true}};
  for (const Case& c : cases) {
    CTestSkinDlg dlg;
    dlg.SetSkinName(c.skin);
    ASSERT_TRUE(dlg.Open());
    CWnd other;
    ASSERT_TRUE(
        other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr));
    other.SetActiveWindow();
    Pump(30);
    ASSERT_NE(::GetActiveWindow(), dlg.m_hWnd);
    WindowPicture pic = Capture(dlg.m_hWnd);
    COLORREF top = pic.At(60, 12);
    const bool grey = GetBValue(top) < 215 && GetBValue(top) - GetRValue(top) < 60;
    EXPECT_EQ(grey, c.greyWhenInactive) << c.skin;
    other.DestroyWindow();
    dlg.DestroyWindow();
  }
  UseSkinTheme();
}

// A resizable dialog with a maximize button.
TEST_F(SkinDialogTest, ResizableAndMaximizable) {
  UseThemeText("max_skin",
               "[QKDLG]\nbackgrdbmp=$PdialogBK.bmp\ntitleclose=$Pdlgclose.bmp\nCaptionHeight=28\n"
               "[QKDLG_Max]\nResize=1\nBorderWidth=6\nusetitlemax=1\ntitlemax=$Pdlgmax.bmp\n"
               "titlerestore=$Pdlgrestore.bmp\n");
  CTestSkinDlg dlg;
  dlg.SetSkinName("Max");
  ASSERT_TRUE(dlg.Open());
  EXPECT_EQ(dlg.GetCaptionButtons().GetCount(), 2);
  CRect row;
  dlg.GetCaptionButtons().GetBounds(&row);
  struct Case {
    int x, y;
    LRESULT want;
  } cases[] = {
      {150, 3, HTTOP},
      {150, 5, HTCAPTION},  // the top zone is 4 rows, the border 6
      {2, 100, HTLEFT},
      {297, 100, HTRIGHT},
      {150, 177, HTBOTTOM},
      {1, 1, HTTOPLEFT},
      {298, 178, HTBOTTOMRIGHT},
      {row.left + 2, row.top + 10, HTMAXBUTTON},
      {row.right - 8, row.top + 10, HTCLOSE},
      {row.right - 2, row.top, HTTOPRIGHT},  // sizing comes before the buttons
  };
  for (const Case& c : cases) EXPECT_EQ(dlg.Hit(c.x, c.y), c.want) << c.x << "," << c.y;
  // Double click on the caption maximizes; then no sizing codes; again restores.
  CPoint p = dlg.ToScreen(150, 10);
  dlg.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(p.x, p.y));
  EXPECT_TRUE(dlg.IsZoomed());
  EXPECT_NE(dlg.Hit(1, 1), HTTOPLEFT);
  dlg.SendMessage(WM_COMMAND, ID_SKINDLG_MAXRESTORE);
  EXPECT_FALSE(dlg.IsZoomed());
  dlg.DestroyWindow();
  UseSkinTheme();
}

// ---- hyperlink static --------------------------------------------------------------------

class CLinkDlg : public CDialog {
 public:
  CLinkDlg() : CDialog(29810) {}
  CHyperLinkStatic m_link;
  BOOL Open() {
    if (!Create(29810, nullptr)) return FALSE;
    m_link.SubclassDlgItem(29811, this);
    m_link.SetWindowPos(nullptr, 10, 10, 400, 60, SWP_NOZORDER);
    SetWindowPos(nullptr, 0, 0, 440, 160, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(SW_SHOW);
    return TRUE;
  }
};

TEST(HyperLinkStatic, LinksAreRecordedAndRebuiltWithTheText) {
  CLinkDlg dlg;
  ASSERT_TRUE(dlg.Open());
  static std::string opened;
  CHyperLinkStatic::s_pfnOpen = [](const char* a) { opened = a; };
  dlg.m_link.SetWindowText("See www.a.com, or <a href=\"http://b.org/x\">page B</a>.");
  dlg.m_link.UpdateWindow();
  Pump(30);
  ASSERT_EQ(dlg.m_link.GetLinkCount(), 2);
  EXPECT_EQ(dlg.m_link.GetOpenAddress(0), "http://www.a.com");
  EXPECT_EQ(dlg.m_link.GetOpenAddress(1), "http://b.org/x");
  const RECT r0 = dlg.m_link.GetLink(0)->rect;
  EXPECT_GT(r0.right - r0.left, 20);
  // Clicking the hovered link opens its address.
  RECT wr;
  dlg.m_link.GetWindowRect(&wr);
  POINT p = {wr.left + (r0.left + r0.right) / 2, wr.top + (r0.top + r0.bottom) / 2};
  ::SetCursorPos(p.x, p.y);
  EXPECT_EQ(dlg.m_link.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCLIENT);
  dlg.m_link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r0.left + r0.right) / 2, (r0.top + r0.bottom) / 2));
  EXPECT_EQ(opened, "http://www.a.com");
  ::ReleaseCapture();
  // New text: new records.
  dlg.m_link.SetWindowText("No links here");
  dlg.m_link.UpdateWindow();
  Pump(30);
  EXPECT_EQ(dlg.m_link.GetLinkCount(), 0);
  dlg.m_link.SetWindowText("<a href=\"www.c.net\">C</a>");
  dlg.m_link.UpdateWindow();
  Pump(30);
  ASSERT_EQ(dlg.m_link.GetLinkCount(), 1);
  EXPECT_EQ(dlg.m_link.GetOpenAddress(0), "http://www.c.net");
  dlg.DestroyWindow();
}

// ---- skinned buttons ------------------------------------------------------------------------

TEST(SkinnedButtons, PicturesFallbackAndSystemLook) {
  UseSkinTheme();
  CLinkDlg dlg;
  ASSERT_TRUE(dlg.Open());
  HWND b1 = ::GetDlgItem(dlg.m_hWnd, 29714), b2 = ::GetDlgItem(dlg.m_hWnd, 29715);
  RECT before;
  ::GetWindowRect(b2, &before);
  // No key anywhere: the generic picture, one cell in size, with the caption drawn on it.
  CCoolButton generic;
  EXPECT_TRUE(generic.LoadSkin(&dlg, 29714, "QKDLG_MsgBox", "IDOK"));
  EXPECT_TRUE(generic.HasImage());
  EXPECT_TRUE(generic.DrawsCaption());
  RECT r;
  ::GetWindowRect(b1, &r);
  EXPECT_EQ(r.right - r.left, 80);
  EXPECT_EQ(r.bottom - r.top, 24);
  EXPECT_EQ(::GetWindowLongA(b1, GWL_STYLE) & 0x0F, BS_OWNERDRAW);
  // No picture at all: the template size stays and the system look is drawn.
  CCoolButton bare;
  EXPECT_FALSE(bare.LoadFile(&dlg, 29715, "Z:\\no\\such\\button.bmp"));
  EXPECT_FALSE(bare.HasImage());
  EXPECT_TRUE(bare.DrawsCaption());
  ::GetWindowRect(b2, &r);
  EXPECT_EQ(r.right - r.left, before.right - before.left);
  // The table's button: a key that names a strip, or nothing at all.
  CQKBitmapButton2 table;
  EXPECT_TRUE(table.LoadSkin(29716, "Frame", "frameclose", &dlg));
  ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, 29716), &r);
  EXPECT_EQ(r.right - r.left, 26);
  CQKBitmapButton2 none;
  EXPECT_FALSE(none.LoadSkin(29811, "Frame", "nosuchkey", &dlg, 0, 0, FALSE));
  dlg.DestroyWindow();
}

// ---- wait and notice boxes -------------------------------------------------------------------

TEST(WaitBox, SkinnedWidthCancelAndScreenshot) {
  UseSkinTheme();
  CSkinWaitDlg wait("\xD5\xFD\xD4\xDA\xC1\xAC\xBD\xD3\xB7\xFE\xCE\xF1\xC6\xF7...", 1);  // 正在连接服务器...
  ASSERT_TRUE(wait.GetSafeHwnd());
  EXPECT_TRUE(wait.IsWindowVisible());
  CRect r;
  wait.GetWindowRect(&r);
  EXPECT_EQ(r.Width(), 200 + 2 * wait.GetBorderWidth());
  EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(wait.m_hWnd, 29804)));
  wait.SendMessage(WM_COMMAND, IDCANCEL);
  wait.SendMessage(WM_COMMAND, IDOK);
  EXPECT_TRUE(wait.IsCancelled());
  EXPECT_TRUE(wait.IsWindowVisible());
  Pump(100);
  EXPECT_TRUE(SaveScreenPng(wait.m_hWnd, "waitbox.png"));
  // A longer text widens the box; without Cancel it has no button and no caption strip.
  std::string longText(60, 'x');
  wait.SetText(longText.c_str(), 0);
  EXPECT_FALSE(wait.IsCancelled());
  CClientDC dc(&wait);
  CFont* old = dc.SelectObject(wait.GetFont());
  int textW = dc.GetTextExtent(longText.c_str()).cx;
  dc.SelectObject(old);
  wait.GetWindowRect(&r);
  EXPECT_EQ(r.Width(), std::max(200, textW + 56) + 2 * wait.GetBorderWidth());
  EXPECT_EQ(r.Height(), wait.GetBorderWidth() + 48 + wait.GetBorderWidth());
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(wait.m_hWnd, 29804)));
  Pump(50);
  SaveScreenPng(wait.m_hWnd, "waitbox_nocancel.png");
}

TEST(WaitBox, NoticeBoxCaptionFollowsTheButton) {
  CNoticeDlg notice("\xC7\xEB\xC9\xD4\xBA\xF2", 0);  // 请稍候
  ASSERT_TRUE(notice.GetSafeHwnd());
  EXPECT_FALSE(notice.GetStyle() & WS_CAPTION);
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(notice.m_hWnd, 29804)));
  notice.SetText("\xC7\xEB\xC9\xD4\xBA\xF2", 1);
  EXPECT_EQ(notice.GetStyle() & WS_CAPTION, (DWORD)WS_CAPTION);
  EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(notice.m_hWnd, 29804)));
  notice.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_TRUE(notice.IsCancelled());
  EXPECT_TRUE(notice.IsWindowVisible());
}

}  // namespace
