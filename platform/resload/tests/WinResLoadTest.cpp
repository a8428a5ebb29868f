// Loading and checking the resource library, language resources, module versions,
// paths, INI readers and display text, under Wine. This program carries the same
// version block as Vesk.exe; libraries of other versions sit beside it under other names.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ResLoad.h"
#include "WinProbe.h"

namespace {

struct Shown {
  std::string text;
  UINT type;
};
std::vector<Shown> g_shown;
HINSTANCE g_installed = nullptr;

int CaptureBox(const char* text, UINT type) {
  g_shown.push_back({text, type});
  return IDOK;
}
void CaptureHandle(HINSTANCE h) { g_installed = h; }

const char kGame[] = "Software\\Orvane\\Game";

void SetRegString(const std::string& key, const char* name, const std::string& value) {
  HKEY h;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(h, name, 0, REG_SZ, (const BYTE*)value.c_str(), (DWORD)value.size() + 1);
  RegCloseKey(h);
}

std::string ExeFolder() {
  char buf[MAX_PATH];
  GetModuleFolder(buf, sizeof buf, nullptr);
  return buf;
}

class ResourceLibraryInit : public ::testing::Test {
 protected:
  void SetUp() override {
    ResLoadServices s = GetResLoadServices();
    m_saved = s;
    s.messageBox = CaptureBox;
    s.setResourceHandle = CaptureHandle;
    SetResLoadServices(s);
    g_shown.clear();
    g_installed = nullptr;
  }
  void TearDown() override { SetResLoadServices(m_saved); }
  ResLoadServices m_saved{};
};

TEST_F(ResourceLibraryInit, MatchingLibraryPassesAndFillsTheVersionInformation) {
  ASSERT_EQ(InitResourceLibrary("Vesk"), 1);
  EXPECT_TRUE(g_shown.empty());
  ASSERT_NE(g_installed, nullptr);
  EXPECT_EQ(g_installed, GetModuleHandleA((ExeFolder() + "Vesk_Res.dll").c_str()));
  const ResVersionInfo& v = GetResVersionInfo();
  EXPECT_STREQ(v.programVersionText, "2.21.6.9");
  EXPECT_STREQ(v.libraryVersionText, "2.21.6.9");
  EXPECT_STREQ(v.shortVersionText, "2.21 Beta9");
  EXPECT_STREQ(v.programInternalName, "Vesk");
  EXPECT_STREQ(v.libraryInternalName, "Vesk_936_Resource");
  EXPECT_STREQ(v.productName, "Vesk");
  // The about box shows it after "Build".
  EXPECT_STREQ(v.specialBuild, " 20261211");
  EXPECT_EQ(v.libraryTranslation, MAKELONG(2052, 936));
  EXPECT_EQ(v.codePage, 936);
  EXPECT_GT(v.osVersion.dwMajorVersion, 0u);
  // The resources come from the installed module.
  char text[16] = "";
  LoadStringA(g_installed, 29936, text, sizeof text);
  EXPECT_STREQ(text, "936");
}

TEST_F(ResourceLibraryInit, FailuresShowTheirExactTextsWithTheStopIcon) {
  struct Case {
    const char* name;
    const char* text;
    bool installed;
  };
  const Case cases[] = {
      {"Missing", "Missing_Res.dll not found !", false},
      {"Fourth", "Incorrect version of Fourth_Res.dll !", true},        // 2.21.6.10
      {"Tail", "Incorrect version of Tail_Res.dll !", true},            // "Vesk_936_Resources"
      {"Other", "Incorrect version of Other_Res.dll !", true},          // "Trebbin_936_Resource"
      {"Type", "Type_Res.dll is not a valid resource file !", true},    // an application
      {"NoVer", "NoVer_Res.dll is not a valid resource file !", true},  // no version block
  };
  for (const auto& c : cases) {
    g_shown.clear();
    g_installed = nullptr;
    EXPECT_EQ(InitResourceLibrary(c.name), 0) << c.name;
    ASSERT_EQ(g_shown.size(), 1u) << c.name;
    EXPECT_EQ(g_shown[0].text, c.text);
    EXPECT_EQ(g_shown[0].type, (UINT)MB_ICONHAND) << c.name;
    // The library stays installed after a failed check.
    EXPECT_EQ(g_installed != nullptr, c.installed) << c.name;
  }
}

TEST_F(ResourceLibraryInit, FoundThroughTheProfilePathWhenNotBesideTheProgram) {
  EXPECT_EQ(LoadResourceLibrary("Away"), nullptr);
  SetRegString(std::string(kGame) + "\\Away", "Path", ExeFolder() + "away");
  HMODULE m = LoadResourceLibrary("Away");
  EXPECT_NE(m, nullptr);
  EXPECT_EQ(InitResourceLibrary("Away"), 1);
  EXPECT_TRUE(g_shown.empty());
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kGame) + "\\Away").c_str());
}

TEST(ResourceLibraryProfile, ReadThroughTheRunningApplicationsProfile) {
  // With the application running, "Path" comes from its profile (the profile name is
  // switched to the program name for the read and put back afterwards).
  CWinApp app("VeskProfileTest");
  app.SetRegistryKey("Orvane\\Game");
  LPCSTR before = app.m_pszProfileName;
  SetRegString(std::string(kGame) + "\\Away", "Path", ExeFolder() + "away");
  EXPECT_NE(LoadResourceLibrary("Away"), nullptr);
  EXPECT_EQ(app.m_pszProfileName, before);
  EXPECT_EQ(GetResLoadServices().readProfileString("Away", "Path"), ExeFolder() + "away");
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kGame) + "\\Away").c_str());
  EXPECT_EQ(LoadResourceLibrary("Away"), nullptr);
}

TEST(ResourceLibraryBox, MissingLibraryShowsARealStopBox) {
  // The default box, driven as a person would.
  std::string seen;
  bool icon = false;
  const bool shown = winprobe::ActOnModalWindow(
      []() -> HWND {
        for (const auto& w : winprobe::TopLevelWindows(GetCurrentProcessId(), true))
          if (w.className == "#32770") return w.hwnd;
        return nullptr;
      },
      [] { EXPECT_EQ(InitResourceLibrary("Nowhere"), 0); },
      [&](HWND box) {
        for (const auto& c : winprobe::ChildWindows(box)) {
          if (c.text.find("_Res.dll") != std::string::npos) seen = c.text;
          if (c.className == "Static" && (GetWindowLongA(c.hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = true;
        }
        winprobe::ClickButton(box, "1");
      });
  ASSERT_TRUE(shown) << "no box";
  EXPECT_EQ(seen, "Nowhere_Res.dll not found !");
  EXPECT_TRUE(icon);
}

TEST(ResourceVersionCheck, CheckAloneOnEachLibrary) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  struct Case {
    const char* file;
    ResLibCheck want;
  };
  const Case cases[] = {{"Vesk_Res.dll", RESLIB_OK},
                        {"Fourth_Res.dll", RESLIB_WRONG_VERSION},
                        {"Tail_Res.dll", RESLIB_WRONG_VERSION},
                        {"Other_Res.dll", RESLIB_WRONG_VERSION},
                        {"Type_Res.dll", RESLIB_NOT_VALID},
                        {"NoVer_Res.dll", RESLIB_NOT_VALID}};
  for (const auto& c : cases) {
    HMODULE m = LoadLibraryExA((ExeFolder() + c.file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m) m = LoadLibraryA((ExeFolder() + c.file).c_str());
    ASSERT_NE(m, nullptr) << c.file;
    EXPECT_EQ(CheckResourceVersions(self, m, nullptr), c.want) << c.file;
  }
}

// ---- module versions -----------------------------------------------------------------

TEST(ModuleVersion, LoadAndCompare) {
  CModuleVersion v;
  ASSERT_TRUE(v.Load((ExeFolder() + "Vesk_Res.dll").c_str()));
  EXPECT_STREQ(v.m_szVersion, "2.21.6.9");
  struct Case {
    const char* text;
    int atLeast;
  };
  const Case cases[] = {{"2.21.6.9", 1},   {"2,21,6,9", 1}, {"2.21.6.10", 0}, {"2.21.7", 0},
                        {"2.20.99.99", 1}, {"3", 0},        {"", 1}};
  for (const auto& c : cases) EXPECT_EQ(v.Compare(c.text) & 1, c.atLeast) << c.text;

  CModuleVersion self;
  ASSERT_TRUE(self.Load(""));
  EXPECT_STREQ(self.m_szVersion, "2.21.6.9");
  CModuleVersion none;
  EXPECT_FALSE(none.Load((ExeFolder() + "NoVer_Res.dll").c_str()));
  EXPECT_FALSE(none.Load("Z:\\no\\such\\file.dll"));
  EXPECT_STREQ(none.m_szVersion, "");
}

TEST(ModuleVersion, LoadFromShareDir) {
  SetRegString(std::string(kGame) + "\\VeskTestShare", "path", ExeFolder() + "away");
  CModuleVersion v;
  EXPECT_TRUE(v.LoadFromShareDir("Away_Res.dll", "VeskTestShare"));
  EXPECT_EQ(v.m_wVersion[1], 21);
  EXPECT_FALSE(v.LoadFromShareDir("Missing.dll", "VeskTestShare"));
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kGame) + "\\VeskTestShare").c_str());
}

// ---- language resources and registry -----------------------------------------------------

TEST(LanguageResources, UrlAndStringFromLangRsc) {
  std::string share = ExeFolder() + "share";
  CreateDirectoryA(share.c_str(), nullptr);
  std::string ini = share + "\\LangRsc.ini";
  WritePrivateProfileStringA("URL", "Vesk", "http://example.test/help", ini.c_str());
  WritePrivateProfileStringA("String", "29900", "\xB4\xED\xCE\xF3", ini.c_str());
  SetRegString(std::string(kGame) + "\\Share", "Path", share);
  SetRegString(std::string(kGame) + "\\share", "Path", share);
  EXPECT_EQ(GetLangRscUrl("Vesk"), "http://example.test/help");
  EXPECT_EQ(GetLangRscUrl("Missing"), "");
  EXPECT_EQ(GetLangRscString(29900), "\xB4\xED\xCE\xF3");
  EXPECT_EQ(GetLangRscString(1), "");
  HKEY h;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share", 0, KEY_WRITE, &h), ERROR_SUCCESS);
  RegDeleteValueA(h, "Path");
  RegCloseKey(h);
  EXPECT_EQ(GetLangRscUrl("Vesk"), "");
  EXPECT_EQ(GetLangRscString(29900), "");
}

TEST(Registry, StringsAreTerminatedAndDefaultsApply) {
  const std::string key = std::string(kGame) + "\\VeskTestReg";
  HKEY h;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(h, "Bare", 0, REG_SZ, (const BYTE*)"abcdef", 3);  // stored without a terminator
  std::string big(2000, 'x');
  RegSetValueExA(h, "Big", 0, REG_SZ, (const BYTE*)big.c_str(), (DWORD)big.size() + 1);
  DWORD number = 120;
  RegSetValueExA(h, "IdleSecond", 0, REG_DWORD, (const BYTE*)&number, 4);
  RegCloseKey(h);

  EXPECT_EQ(ReadRegistryString(key.c_str(), "Bare", "dflt"), "abc");
  EXPECT_EQ(ReadRegistryString(key.c_str(), "Big", "dflt"), "dflt");
  EXPECT_EQ(ReadRegistryString(key.c_str(), "Absent", "dflt"), "dflt");
  EXPECT_EQ(ReadRegistryString("Software\\No\\Such\\Key", "Path", nullptr), "");
  DWORD read = 0;
  EXPECT_TRUE(ReadRegistryDword(key.c_str(), "IdleSecond", &read, sizeof read));
  EXPECT_EQ(read, 120u);
  EXPECT_FALSE(ReadRegistryDword(key.c_str(), "Absent", &read, sizeof read));
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

// ---- paths -----------------------------------------------------------------------------

TEST(Paths, FoldersFilesAndDirectories) {
  std::string folder = ExeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  char small[4];
  EXPECT_FALSE(GetModuleFolder(small, sizeof small, nullptr));
  EXPECT_TRUE(FileExists((folder + "Vesk_Res.dll").c_str()));
  EXPECT_FALSE(FileExists((folder + "nothing.here").c_str()));
  EXPECT_FALSE(FileExists(nullptr));
  EXPECT_TRUE(IsDirectory(folder.c_str()));
  EXPECT_FALSE(IsDirectory((folder + "Vesk_Res.dll").c_str()));

  std::string deep = folder + "made\\a\\b\\c";
  EXPECT_TRUE(MakeDirectories(deep.c_str()));
  EXPECT_TRUE(IsDirectory(deep.c_str()));
  EXPECT_TRUE(MakeDirectories(deep.c_str()));  // already there: nothing to do
  // A file in the way cannot become a folder.
  HANDLE f = CreateFileA((folder + "made\\file").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
  EXPECT_FALSE(MakeDirectories((folder + "made\\file\\sub").c_str()));
}

TEST(Paths, BuildConfigPathsBesideTheProgramAndWithAnAlternativeFolder) {
  std::string folder = ExeFolder();
  folder.pop_back();
  BuildConfigPaths("Vesk", FALSE, nullptr);
  EXPECT_TRUE(g_ConfigPaths.pathsSet);
  EXPECT_EQ(std::string(g_ConfigPaths.programFolder), folder);
  EXPECT_EQ(std::string(g_ConfigPaths.programIni), folder + "\\Vesk.ini");
  EXPECT_EQ(std::string(g_ConfigPaths.themeFolder), folder + "\\Theme\\");
  EXPECT_EQ(std::string(g_ConfigPaths.themeFile), folder + "\\Theme\\Vesk.thm");

  ConfigSettings alt;
  alt.alternativeFolder = "C:\\Skins";
  BuildConfigPaths("Vesk", FALSE, &alt);
  EXPECT_STREQ(g_ConfigPaths.themeFolder, "C:\\Skins\\Theme\\");
  EXPECT_STREQ(g_ConfigPaths.themeFile, "C:\\Skins\\Theme\\Vesk.thm");

  // Platform layout asked for, but no game key: the layout beside the program.
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\VeskNoKey");
  BuildConfigPaths("VeskNoKey", TRUE, nullptr);
  EXPECT_EQ(std::string(g_ConfigPaths.themeFile), folder + "\\Theme\\VeskNoKey.thm");
  EXPECT_STREQ(g_ConfigPaths.shareFolder, "");
}

// ---- INI values and display text --------------------------------------------------------

TEST(IniValues, ColorsAndPairsFromAFile) {
  std::string ini = ExeFolder() + "values.ini";
  WritePrivateProfileStringA("S", "hex", "0xFF0000", ini.c_str());
  WritePrivateProfileStringA("S", "rgb", "255,0,0", ini.c_str());
  WritePrivateProfileStringA("S", "one", "7", ini.c_str());
  WritePrivateProfileStringA("S", "pair", "12,34", ini.c_str());
  WritePrivateProfileStringA("S", "half", "56", ini.c_str());
  EXPECT_EQ(ReadIniColor("S", "hex", 1, ini.c_str()), RGB(255, 0, 0));
  EXPECT_EQ(ReadIniColor("S", "rgb", 1, ini.c_str()), RGB(255, 0, 0));
  EXPECT_EQ(ReadIniColor("S", "one", 1, ini.c_str()), 7u);
  EXPECT_EQ(ReadIniColor("S", "none", RGB(1, 2, 3), ini.c_str()), RGB(1, 2, 3));
  int a = -1, b = -1;
  ReadIniPair("S", "pair", &a, &b, ini.c_str());
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, 34);
  ReadIniPair("S", "half", &a, &b, ini.c_str());
  EXPECT_EQ(a, 56);
  EXPECT_EQ(b, 34);
  ReadIniPair("S", "none", &a, &b, ini.c_str());
  EXPECT_EQ(a, 56);
}

bool EndsOnCharacterBoundary(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) i += IsDBCSLeadByte((BYTE)s[i]) ? 2 : 1;
  return i == s.size();
}

TEST(DisplayText, EllipsizeTextFitsAndKeepsWholeCharacters) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "\xCB\xCE\xCC\xE5");
  HGDIOBJ old = SelectObject(dc, font);
  // "游戏正在进行中请稍候" then ASCII: mixed widths
  const std::string text =
      "\xD3\xCE\xCF\xB7\xD5\xFD\xD4\xDA\xBD\xF8\xD0\xD0\xD6\xD0"
      "abc\xC7\xEB\xC9\xD4\xBA\xF2";
  SIZE full;
  GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &full);
  EXPECT_EQ(EllipsizeText(dc, text.c_str(), full.cx, 0), text);
  for (int width = full.cx - 1; width > 0; width -= 3) {
    std::string out = EllipsizeText(dc, text.c_str(), width, 2);
    ASSERT_GE(out.size(), 3u);
    ASSERT_EQ(out.substr(out.size() - 3), "...") << width;
    std::string head = out.substr(0, out.size() - 3);
    EXPECT_TRUE(EndsOnCharacterBoundary(head)) << width;
    EXPECT_EQ(text.compare(0, head.size(), head), 0) << width;
    if (!head.empty()) {
      SIZE s;
      GetTextExtentPoint32A(dc, out.c_str(), (int)out.size(), &s);
      EXPECT_LE(s.cx + 2, width) << width;
    }
  }
  EXPECT_EQ(EllipsizeText(dc, nullptr, 10, 0), "");
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
}

}  // namespace
