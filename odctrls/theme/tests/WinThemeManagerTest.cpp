// The theme manager under Wine: INI mode with Tessaly.dll, package mode, error paths,
// values, bitmaps, cursors and the reload on "ChangeThemeMsg".
#include <gtest/gtest.h>

#include "ODNcMgrWnd.h"
#include "ODTheme.h"
#include "PackageFile.h"
#include "ThemeTestEnv.h"

BOOL LoadOwnerDrawnTheme(const char* path, int mode);
void UnloadOwnerDrawnTheme();

namespace {

const char kNoIni[] =
    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3\xAC\xB3\xF5\xCA\xBC\xBB\xAF\xD7\xD4\xBB"
    "\xE6\xBF\xD8\xBC\xFE\xC0\xE0\xBF\xE2\xCA\xA7\xB0\xDC\xA3\xA1";
const char kNoLibrary[] =
    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD7\xCA\xD4\xB4\xCE\xC4\xBC\xFE\xA3\xAC\xB3\xF5\xCA\xBC\xBB\xAF\xD7\xD4\xBB"
    "\xE6\xBF\xD8\xBC\xFE\xC0\xE0\xBF\xE2\xCA\xA7\xB0\xDC\xA3\xA1";
const char kNoPackageIni[] =
    "\xCE\xDE\xB7\xA8\xD4\xDA\xD7\xCA\xD4\xB4\xB0\xFC\xD6\xD0\xD5\xD2\xB5\xBD\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3"
    "\xAC\xB3\xF5\xCA\xBC\xBB\xAF\xD7\xD4\xBB\xE6\xBF\xD8\xBC\xFE\xC0\xE0\xBF\xE2\xCA\xA7\xB0\xDC\xA3\xA1";

std::vector<int> g_loaderRuns;
void FirstLoader() { g_loaderRuns.push_back(0); }
void LastLoader() { g_loaderRuns.push_back(17); }

SIZE BitmapSize(HBITMAP b) {
  BITMAP bm = {};
  ::GetObjectA(b, sizeof(bm), &bm);
  return SIZE{bm.bmWidth, bm.bmHeight};
}

COLORREF Red(int, int) { return RGB(200, 30, 30); }

class ThemeManager : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = TestFolder();
    ::CreateDirectoryA((dir_ + "themes").c_str(), nullptr);
    g_loaderRuns.clear();
    SetThemeClassLoader("AFirst", &FirstLoader);
    SetThemeClassLoader("ZLast", &LastLoader);
    TakeBoxes();
  }
  void TearDown() override {
    UnloadTheme();
    SetThemeClassLoader("AFirst", nullptr);
    SetThemeClassLoader("ZLast", nullptr);
    CODNcMgrWnd::s_crBorder = 0xFF0000;
  }
  // An INI beside Tessaly.dll (the test folder holds the library).
  std::string WriteIni(const std::string& name, const std::string& text) {
    std::string path = dir_ + name;
    WriteFileBytes(path, text);
    return path;
  }
  std::string dir_;
};

TEST_F(ThemeManager, IniModeLoadsValuesAndRunsLoadersInOrder) {
  std::string ini = WriteIni("values.ini",
                             "[ODNcMgrWnd]\r\nColorBorder=#10#20#30\r\n"
                             "[T]\r\nRed=#255#0#0\r\nWrap=#300#0#0\r\nShort=#12\r\nPlain=16711680\r\n"
                             "Word=abc\r\nEmpty=\r\nPt=(3,4)\r\nText=hello world\r\n");
  ASSERT_EQ(1, LoadTheme(ini.c_str(), ODTHEME_MODE_INI));
  EXPECT_TRUE(TakeBoxes().empty());
  EXPECT_TRUE(IsThemeLoaded());
  EXPECT_EQ((std::vector<int>{0, 17}), g_loaderRuns);
  EXPECT_EQ(RGB(10, 20, 30), CODNcMgrWnd::s_crBorder);

  struct {
    const char* key;
    int expected;
  } cases[] = {{"Red", 0x0000FF}, {"Wrap", 0x2C}, {"Short", 0x0C}, {"Plain", 0xFF0000},
               {"Word", 0},       {"Empty", -7},  {"Absent", -7}};
  for (const auto& c : cases) EXPECT_EQ(c.expected, GetThemeInt("T", c.key, -7)) << c.key;

  POINT pt = {99, 99};
  EXPECT_EQ(1, GetThemePoint("T", "Pt", &pt));
  EXPECT_EQ(3, pt.x);
  EXPECT_EQ(4, pt.y);
  pt = POINT{99, 99};
  EXPECT_EQ(0, GetThemePoint("T", "Absent", &pt));
  EXPECT_EQ(99, pt.x);

  char buf[8] = {};
  EXPECT_EQ(7u, GetThemeString("T", "Text", "", buf, sizeof(buf)));  // cut to the buffer
  EXPECT_STREQ("hello w", buf);

  // The hidden theme window carries its marks.
  HWND wnd = GetODThemeWnd().GetSafeHwnd();
  ASSERT_NE(nullptr, wnd);
  EXPECT_FALSE(::IsWindowVisible(wnd));
  EXPECT_EQ((HANDLE)0x1000, ::GetPropA(wnd, "ODCtrl"));
  EXPECT_EQ((HANDLE)0x1000, ::GetPropA(wnd, "ODThemeWnd"));

  // Loaded once: another path is ignored.
  std::string other = WriteIni("other.ini", "[T]\r\nRed=1\r\n");
  EXPECT_EQ(1, LoadTheme(other.c_str(), ODTHEME_MODE_INI));
  EXPECT_EQ(0x0000FF, GetThemeInt("T", "Red", 0));

  EXPECT_EQ(1, UnloadTheme());
  EXPECT_FALSE(::IsWindow(wnd));
  EXPECT_EQ(0, UnloadTheme());
  EXPECT_EQ(5, GetThemeInt("T", "Red", 5));  // source released
}

TEST_F(ThemeManager, ShippedThemeLoadsThroughTheStartUpCall) {
  // The start-up entry point with the INI that goes into <share>\odctrls.
  ASSERT_TRUE(LoadOwnerDrawnTheme((dir_ + "vesk_skn.ini").c_str(), 1));
  EXPECT_TRUE(TakeBoxes().empty());
  EXPECT_EQ(RGB(20, 48, 87), CODNcMgrWnd::s_crBorder);
  HBITMAP b = LoadThemeBitmap(120, "QKImage");
  EXPECT_NE(nullptr, b);
  ::DeleteObject(b);
  UnloadOwnerDrawnTheme();
  EXPECT_FALSE(IsThemeLoaded());
}

TEST_F(ThemeManager, ChangeThemeMsgReloadsTheSameSource) {
  std::string ini = WriteIni("change.ini", "[ODNcMgrWnd]\r\nColorBorder=#1#2#3\r\n");
  ASSERT_EQ(1, LoadTheme(ini.c_str(), ODTHEME_MODE_INI));
  EXPECT_EQ(RGB(1, 2, 3), CODNcMgrWnd::s_crBorder);
  WriteIni("change.ini", "[ODNcMgrWnd]\r\nColorBorder=#7#8#9\r\n");
  g_loaderRuns.clear();
  EXPECT_EQ(0, ::SendMessageA(GetODThemeWnd().GetSafeHwnd(), GetChangeThemeMsg(), 0, 0));
  EXPECT_EQ(RGB(7, 8, 9), CODNcMgrWnd::s_crBorder);
  EXPECT_EQ((std::vector<int>{0, 17}), g_loaderRuns);
  // A key the new theme leaves out keeps the class's current value.
  WriteIni("change.ini", "[Other]\r\nX=1\r\n");
  ::SendMessageA(GetODThemeWnd().GetSafeHwnd(), GetChangeThemeMsg(), 0, 0);
  EXPECT_EQ(RGB(7, 8, 9), CODNcMgrWnd::s_crBorder);
}

TEST_F(ThemeManager, MissingIniIsReportedButNotFatal) {
  EXPECT_EQ(1, LoadTheme((dir_ + "no_such.ini").c_str(), ODTHEME_MODE_INI));
  EXPECT_EQ(std::vector<std::string>{kNoIni}, TakeBoxes());
  EXPECT_EQ((std::vector<int>{0, 17}), g_loaderRuns);
  EXPECT_EQ(0xFF0000u, CODNcMgrWnd::s_crBorder);  // built-in default stays
  EXPECT_NE(nullptr, LoadThemeBitmap(120, "QKImage"));
}

TEST_F(ThemeManager, MissingLibraryFailsWithoutLoaders) {
  std::string ini = WriteIni("nolib.ini", "[Resource]\r\nResFile=Missing.dll\r\n[ODNcMgrWnd]\r\nColorBorder=1\r\n");
  EXPECT_EQ(0, LoadTheme(ini.c_str(), ODTHEME_MODE_INI));
  EXPECT_EQ(std::vector<std::string>{kNoLibrary}, TakeBoxes());
  EXPECT_TRUE(g_loaderRuns.empty());
  EXPECT_FALSE(IsThemeLoaded());
  EXPECT_EQ(0xFF0000u, CODNcMgrWnd::s_crBorder);
  EXPECT_EQ(nullptr, LoadThemeBitmap(120, "QKImage"));
}

TEST_F(ThemeManager, ResFileWithBackslashIsTakenFromTheCurrentFolder) {
  // The INI lives in themes\, the library in <cwd>\sub\: a value with a backslash is not
  // joined to the INI's folder.
  char cwd[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, cwd);
  std::string sub = std::string(cwd) + "\\sub";
  ::CreateDirectoryA(sub.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileA((dir_ + "Tessaly.dll").c_str(), (sub + "\\res.dll").c_str(), FALSE));
  std::string ini = WriteIni("themes\\slash.ini", "[Resource]\r\nResFile=sub\\res.dll\r\n");
  EXPECT_EQ(1, LoadTheme(ini.c_str(), ODTHEME_MODE_INI));
  EXPECT_TRUE(TakeBoxes().empty());
  UnloadTheme();
  // Without a backslash the library is looked for beside the INI, where there is none.
  std::string beside = WriteIni("themes\\beside.ini", "[Resource]\r\nResFile=res.dll\r\n");
  EXPECT_EQ(0, LoadTheme(beside.c_str(), ODTHEME_MODE_INI));
  EXPECT_EQ(std::vector<std::string>{kNoLibrary}, TakeBoxes());
}

TEST_F(ThemeManager, BitmapsAndCursorsFromTheLibrary) {
  std::string ini = WriteIni("res.ini", "[T]\r\nX=1\r\n");
  ASSERT_EQ(1, LoadTheme(ini.c_str(), ODTHEME_MODE_INI));
  struct {
    UINT id;
    LONG width, height;                  // 0: no bitmap
  } cases[] = {{120, 64, 16},            // QKImage resource
               {0x10000 + 120, 64, 16},  // only the low 16 bits count
               {122, 10, 10},            // ordinary bitmap resource
               {999, 0, 0}};
  for (const auto& c : cases) {
    HBITMAP b = LoadThemeBitmap(c.id, "QKImage");
    if (!c.width) {
      EXPECT_EQ(nullptr, b) << c.id;
      continue;
    }
    ASSERT_NE(nullptr, b) << c.id;
    SIZE s = BitmapSize(b);
    EXPECT_EQ(c.width, s.cx) << c.id;
    EXPECT_EQ(c.height, s.cy) << c.id;
    ::DeleteObject(b);
  }
  EXPECT_EQ(nullptr, LoadThemeBitmap(120, nullptr));
  EXPECT_NE(nullptr, LoadThemeCursor(130));
  EXPECT_EQ(nullptr, LoadThemeCursor(131));
}

class ThemePackage : public ThemeManager {
 protected:
  std::string MakePackage(const std::string& name, bool withIni) {
    std::string path = dir_ + name;
    ::DeleteFileA(path.c_str());
    CPackageFile pkg;
    EXPECT_TRUE(pkg.Open(path.c_str(), TRUE));
    if (withIni) {
      std::string ini =
          "[Resource]\r\nQKImage120=pics\\red.bmp\r\nQKImage121=missing.bmp\r\nCursor130=hand.cur\r\n"
          "[ODNcMgrWnd]\r\nColorBorder=#40#50#60\r\n";
      EXPECT_TRUE(pkg.AddEntry("qktheme.INI", (const BYTE*)ini.data(), DWORD(ini.size()), FALSE));
    }
    std::string bmp = MakeBmp(12, 6, &Red);
    EXPECT_TRUE(pkg.AddEntry("pics\\red.bmp", (const BYTE*)bmp.data(), DWORD(bmp.size()), FALSE));
    std::string cur;
    HANDLE h =
        ::CreateFileA((dir_ + "hand.cur").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      char b[4096];
      DWORD n = 0;
      while (::ReadFile(h, b, sizeof(b), &n, nullptr) && n) cur.append(b, n);
      ::CloseHandle(h);
    }
    EXPECT_FALSE(cur.empty());
    EXPECT_TRUE(pkg.AddEntry("hand.cur", (const BYTE*)cur.data(), DWORD(cur.size()), FALSE));
    return path;
  }
};

TEST_F(ThemePackage, ImagesAndCursorsByEntryName) {
  std::string path = MakePackage("theme.pkg", true);
  ASSERT_EQ(1, LoadTheme(path.c_str(), ODTHEME_MODE_PACKAGE));
  EXPECT_TRUE(TakeBoxes().empty());
  EXPECT_EQ(RGB(40, 50, 60), CODNcMgrWnd::s_crBorder);
  HBITMAP b = LoadThemeBitmap(120, "QKImage");
  ASSERT_NE(nullptr, b);
  EXPECT_EQ(12, BitmapSize(b).cx);
  ::DeleteObject(b);
  EXPECT_EQ(nullptr, LoadThemeBitmap(121, "QKImage"));  // named entry missing
  EXPECT_EQ(nullptr, LoadThemeBitmap(122, "QKImage"));  // no QKImage122 key
  EXPECT_NE(nullptr, LoadThemeCursor(130));
  EXPECT_EQ(nullptr, LoadThemeCursor(131));
  // No temporary cursor file is left in the current folder.
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA("temp.cur"));
}

// The cursor goes through a private temporary file, never through the fixed "temp.cur" of
// the current folder: another client started from the same folder may be using that name
// at the same moment, and whatever holds it there is not the theme's to delete.
TEST_F(ThemePackage, CursorLeavesTheCurrentFolderAlone) {
  std::string path = MakePackage("theme.pkg", true);
  ASSERT_EQ(1, LoadTheme(path.c_str(), ODTHEME_MODE_PACKAGE));
  char tempDir[MAX_PATH] = {};
  ASSERT_GT(::GetTempPathA(MAX_PATH, tempDir), 0u);
  const auto count = [&]() {
    int n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((std::string(tempDir) + "cur*.tmp").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do ++n;
    while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return n;
  };
  struct Case {
    const char* name;
    bool folder;
  } cases[] = {{"another's file", false}, {"a folder", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.folder) {
      ASSERT_TRUE(::CreateDirectoryA("temp.cur", nullptr));
    } else {
      HANDLE h = ::CreateFileA("temp.cur", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(INVALID_HANDLE_VALUE, h);
      DWORD n = 0;
      ::WriteFile(h, "not a cursor", 12, &n, nullptr);
      ::CloseHandle(h);
    }
    const int before = count();
    HCURSOR cursor = LoadThemeCursor(130);
    EXPECT_NE(nullptr, cursor);
    if (cursor) ::DestroyCursor(cursor);
    EXPECT_EQ(before, count()) << "the private file is removed";
    const DWORD attrs = ::GetFileAttributesA("temp.cur");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attrs) << "the current folder's temp.cur is still there";
    EXPECT_EQ(c.folder, (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0);
    if (!c.folder) {
      char text[32] = {};
      HANDLE h = ::CreateFileA("temp.cur", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(INVALID_HANDLE_VALUE, h);
      DWORD n = 0;
      ::ReadFile(h, text, sizeof text - 1, &n, nullptr);
      ::CloseHandle(h);
      EXPECT_STREQ("not a cursor", text);
      ::DeleteFileA("temp.cur");
    } else {
      ::RemoveDirectoryA("temp.cur");
    }
  }
}

TEST_F(ThemePackage, MissingPackageOrIniFails) {
  std::string missing = dir_ + "nothere.pkg";
  EXPECT_EQ(0, LoadTheme(missing.c_str(), ODTHEME_MODE_PACKAGE));
  std::vector<std::string> boxes = TakeBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_NE(std::string::npos, boxes[0].find(missing)) << boxes[0];
  EXPECT_EQ(0u, boxes[0].find("\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD7\xCA\xD4\xB4\xB0\xFC"));

  std::string noIni = MakePackage("noini.pkg", false);
  EXPECT_EQ(0, LoadTheme(noIni.c_str(), ODTHEME_MODE_PACKAGE));
  EXPECT_EQ(std::vector<std::string>{kNoPackageIni}, TakeBoxes());
  EXPECT_TRUE(g_loaderRuns.empty());
}

}  // namespace
